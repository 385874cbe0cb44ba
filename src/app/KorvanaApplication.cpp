#include "app/KorvanaApplication.h"
#include "platform/richtext/ChineseFonts.h"
#include "platform/ui/Errors.h"

namespace korvana {

KorvanaApplication::KorvanaApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("korvana"));
    setApplicationDisplayName(QStringLiteral("Korvana"));
    // Before the splash lays out any text, so that no font's fallbacks are
    // looked up (and kept) without the Chinese ones.
    fonts::useChineseGlyphForms();
}

bool KorvanaApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportUnhandledError(errorText(e));
    } catch (...) {
        reportUnhandledError(QStringLiteral("Unexpected error"));
    }
    return false;
}

} // namespace korvana
