#include "practice/TFormBackground.h"

#include "app/TForm1.h"
#include "practice/TFormToolBar.h"
#include "reference/TFormKeybRefer.h"
#include "settings/Colors.h"

#include <QGuiApplication>
#include <QScreen>

TFormBackground *FormBackground = nullptr;

namespace {
void bringForward(QWidget *w)
{
    w->raise();
    w->activateWindow();
}
} // namespace

TFormBackground::TFormBackground(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormBackground"));
    setWindowTitle(QStringLiteral("Background"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QPalette p = palette();
    p.setColor(QPalette::Window, korvana::toQColor(0x00404000));
    setPalette(p);
    setAutoFillBackground(true);
    if (QScreen *s = QGuiApplication::primaryScreen())
        setGeometry(s->geometry());
}

void TFormBackground::FormActivate()
{
    if (Form1) {
        const QColor wanted = korvana::toQColor(Form1->FScreenBackgroundColor);
        if (palette().color(QPalette::Window) != wanted) {
            QPalette p = palette();
            p.setColor(QPalette::Window, wanted);
            setPalette(p);
        }
    }
    if (FormKeybRefer && FormKeybRefer->isVisible())
        bringForward(FormKeybRefer);
    if (FormToolBar && FormToolBar->isVisible())
        bringForward(FormToolBar);
    if (Form1)
        bringForward(Form1);
}

bool TFormBackground::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

void TFormBackground::showEvent(QShowEvent *e)
{
    // Fills the screen the main window is on.
    QScreen *s = Form1 && Form1->screen() ? Form1->screen() : QGuiApplication::primaryScreen();
    if (s)
        setGeometry(s->geometry());
    QWidget::showEvent(e);
}
