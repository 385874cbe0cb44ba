#include "platform/keyboard/KeyboardLayouts.h"
#include "platform/keyboard/XkbKeyboardLayouts.h"

namespace korvana {

namespace {
std::unique_ptr<KeyboardLayouts> &slot()
{
    static std::unique_ptr<KeyboardLayouts> backend;
    return backend;
}
} // namespace

KeyboardLayouts::~KeyboardLayouts() = default;

KeyboardLayouts &KeyboardLayouts::instance()
{
    std::unique_ptr<KeyboardLayouts> &backend = slot();
    if (!backend) {
        XkbKeyboardLayouts::Options options;
        options.runner = XkbKeyboardLayouts::setxkbmapRunner();
        // Switching changes the keyboard of the whole display, so only on request.
        options.allowSwitch = qEnvironmentVariableIntValue("KORVANA_XKB_SWITCH") == 1;
        backend = std::make_unique<XkbKeyboardLayouts>(std::move(options));
    }
    return *backend;
}

void KeyboardLayouts::setInstance(std::unique_ptr<KeyboardLayouts> backend) { slot() = std::move(backend); }

} // namespace korvana
