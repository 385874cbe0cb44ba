#include "practice/ScreenBackgroundWindow.h"

#include "app/MainWindow.h"
#include "practice/ToolBarWindow.h"
#include "reference/KeyboardReferenceWindow.h"
#include "settings/Colors.h"

#include <QGuiApplication>
#include <QScreen>

ScreenBackgroundWindow *screenBackgroundWindow = nullptr;

namespace {
void bringForward(QWidget *w)
{
    w->raise();
    w->activateWindow();
}
} // namespace

ScreenBackgroundWindow::ScreenBackgroundWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("screenBackgroundWindow"));
    setWindowTitle(QStringLiteral("Background"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QPalette p = palette();
    p.setColor(QPalette::Window, korvana::toQColor(0x00404000));
    setPalette(p);
    setAutoFillBackground(true);
    if (QScreen *s = QGuiApplication::primaryScreen())
        setGeometry(s->geometry());
}

void ScreenBackgroundWindow::onActivate()
{
    if (mainWindow) {
        const QColor wanted = korvana::toQColor(mainWindow->screenBackgroundColor);
        if (palette().color(QPalette::Window) != wanted) {
            QPalette p = palette();
            p.setColor(QPalette::Window, wanted);
            setPalette(p);
        }
    }
    if (keyboardReferenceWindow && keyboardReferenceWindow->isVisible())
        bringForward(keyboardReferenceWindow);
    if (toolBarWindow && toolBarWindow->isVisible())
        bringForward(toolBarWindow);
    if (mainWindow)
        bringForward(mainWindow);
}

bool ScreenBackgroundWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return QWidget::event(e);
}

void ScreenBackgroundWindow::showEvent(QShowEvent *e)
{
    // Fills the screen the main window is on.
    QScreen *s = mainWindow && mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (s)
        setGeometry(s->geometry());
    QWidget::showEvent(e);
}
