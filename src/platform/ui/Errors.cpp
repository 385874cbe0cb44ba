#include "platform/ui/Errors.h"
#include "platform/ui/Dialogs.h"

namespace korvana {

QString errorText(const std::exception &e)
{
    if (auto *k = dynamic_cast<const Error *>(&e))
        return k->message();
    return QString::fromUtf8(e.what());
}

void reportUnhandledError(const QString &text)
{
    Dialogs::instance().message(nullptr, text, MsgButtons::Ok, MsgIcon::Error);
}

} // namespace korvana
