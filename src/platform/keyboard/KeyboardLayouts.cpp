#include "platform/keyboard/KeyboardLayouts.h"
#include "platform/keyboard/Fcitx5Controller.h"
#include "platform/keyboard/IBusController.h"
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
    // Chinese is typed through an input method where one runs: Fcitx 5 first
    // (it can also stand in for an IBus daemon), then IBus.
    if (!backend) {
        if (std::unique_ptr<InputMethodController> c = Fcitx5Controller::detect())
            backend = std::make_unique<InputMethodLayouts>(std::move(c));
        else if ((c = IBusController::detect()))
            backend = std::make_unique<InputMethodLayouts>(std::move(c));
    }
    if (!backend) {
        XkbKeyboardLayouts::Options options;
        options.runner = XkbKeyboardLayouts::setxkbmapRunner();
        // Switching changes the keyboard of the whole display, so only on request.
        options.allowSwitch = qEnvironmentVariableIntValue("KORVANA_XKB_SWITCH") == 1;
        backend = std::make_unique<XkbKeyboardLayouts>(std::move(options));
    }
    return *backend;
}

void KeyboardLayouts::setInstance(std::unique_ptr<KeyboardLayouts> backend)
{
    slot() = std::move(backend);
}

} // namespace korvana
