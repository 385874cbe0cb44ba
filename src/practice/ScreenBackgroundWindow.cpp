#include "practice/ScreenBackgroundWindow.h"

#include "settings/Colors.h"
#include "settings/MainSettings.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
void bringForward(QWidget *w)
{
    w->raise();
    w->activateWindow();
}
} // namespace

ScreenBackgroundWindow::ScreenBackgroundWindow(korvana::MainSettings &settings, QWidget *mainWidget, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_mainWidget(mainWidget)
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
    const QColor wanted = korvana::toQColor(m_settings.screenBackgroundColor);
    if (palette().color(QPalette::Window) != wanted) {
        QPalette p = palette();
        p.setColor(QPalette::Window, wanted);
        setPalette(p);
    }
    emit floatingWindowsForwardRequested();
    bringForward(m_mainWidget);
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
    QScreen *s = m_mainWidget->screen() ? m_mainWidget->screen() : QGuiApplication::primaryScreen();
    if (s)
        setGeometry(s->geometry());
    QWidget::showEvent(e);
}
