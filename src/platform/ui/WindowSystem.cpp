#include "platform/ui/WindowSystem.h"

#include <QWidget>
#include <QWindow>

namespace korvana {

QByteArray chooseQtPlatform(const QByteArray &qtQpaPlatform, const QByteArray &waylandDisplay,
                            const QByteArray &display)
{
    if (!qtQpaPlatform.isEmpty())
        return QByteArray();
    if (!waylandDisplay.isEmpty() && !display.isEmpty())
        return QByteArrayLiteral("xcb");
    return QByteArray();
}

void chooseQtPlatformForSession()
{
    const QByteArray platform =
        chooseQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

bool startSystemMove(QWidget *window)
{
    if (!window)
        return false;
    QWindow *handle = window->windowHandle();
    return handle && handle->startSystemMove();
}

} // namespace korvana
