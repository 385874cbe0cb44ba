#include "app/KorvanaApplication.h"
#include "platform/ui/Errors.h"

namespace korvana {

KorvanaApplication::KorvanaApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("korvana"));
    setApplicationDisplayName(QStringLiteral("Korvana"));
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
