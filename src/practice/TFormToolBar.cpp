#include "practice/TFormToolBar.h"

#include "app/TForm1.h"
#include "reference/TFormAsocFile.h"
#include "reference/TFormDict.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

TFormToolBar *FormToolBar = nullptr;

namespace {
const int BarWidth = 30;
// The main window needs this much room to its right for the tool bar to
// stand there: the bar, the pixel between them and a little margin.
const int RoomOnTheRight = 34;
} // namespace

TFormToolBar::TFormToolBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormToolBar"));
    setWindowTitle(QStringLiteral("Tool bar"));
    // A small borderless window of its own that stays off the task bar.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);

    tbHideToolbar = makeButton("tbHideToolbar", 4, QStringLiteral("Hide toolbar"), QStyle::SP_TitleBarCloseButton);
    tbHideToolbar->setGeometry(13, 4, 13, 13);
    tbHideToolbar->setStyleSheet(QStringLiteral(
        "QToolButton { background: silver; border: none; }"
        "QToolButton:hover { background: yellow; }"));
    tbOpen = makeButton("tbOpen", 21, QStringLiteral("Open lesson"), QStyle::SP_DialogOpenButton);
    tbOpenSession = makeButton("tbOpenSession", 46, QStringLiteral("Open session"), QStyle::SP_DirOpenIcon);
    tbNumbers = makeButton("tbNumbers", 71, QStringLiteral("Practise numbers"), QStyle::SP_FileDialogListView);
    tbBackground = makeButton("tbBackground", 96, QStringLiteral("Screen background"), QStyle::SP_DesktopIcon);
    tbBackground->setCheckable(true);
    tbDict = makeButton("tbDict", 121, QStringLiteral("Dictionary"), QStyle::SP_FileDialogDetailedView);
    tbReader = makeButton("tbReader", 146, QStringLiteral("Reader"), QStyle::SP_FileIcon);

    connect(tbHideToolbar, &QToolButton::clicked, this, &TFormToolBar::tbHideToolbarClick);
    connect(tbOpen, &QToolButton::clicked, this, &TFormToolBar::tbOpenClick);
    connect(tbOpenSession, &QToolButton::clicked, this, &TFormToolBar::tbOpenSessionClick);
    connect(tbNumbers, &QToolButton::clicked, this, &TFormToolBar::tbNumbersClick);
    connect(tbBackground, &QToolButton::clicked, this, &TFormToolBar::tbBackgroundClick);
    connect(tbDict, &QToolButton::clicked, this, &TFormToolBar::tbDictClick);
    connect(tbReader, &QToolButton::clicked, this, &TFormToolBar::tbReaderClick);

    FormCreate();
}

QToolButton *TFormToolBar::makeButton(const char *name, int y, const QString &hint, int picture)
{
    auto *b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(3, y, 24, 24);
    b->setToolTip(hint);
    b->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(picture)));
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    // The bar's buttons never take the focus from the main window, whose
    // keys drive the practice.
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QStringLiteral(
        "QToolButton { background: maroon; border: none; }"
        "QToolButton:hover { background: yellow; }"
        "QToolButton:checked { background: #400000; border: 1px inset grey; }"));
    return b;
}

void TFormToolBar::FormCreate()
{
    resize(BarWidth, Form1 ? Form1->height() : 400);
    SetPosition();
}

int TFormToolBar::dockedLeft(int MainLeft, int MainWidth, int ScreenWidth)
{
    if (ScreenWidth - RoomOnTheRight >= MainLeft + MainWidth)
        return MainLeft + MainWidth + 1;
    return MainLeft - (BarWidth + 1);
}

void TFormToolBar::SetPosition()
{
    if (!Form1)
        return;
    QScreen *screen = Form1->screen() ? Form1->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 0;
    const QPoint to(dockedLeft(Form1->x(), Form1->width(), screenWidth), Form1->y());
    // Painting docks the bar too; moving only when it is out of place keeps
    // a paint from asking for another.
    if (pos() != to)
        move(to);
    if (height() != Form1->height())
        resize(BarWidth, Form1->height());
}

void TFormToolBar::FormActivate()
{
    SetPosition();
    if (Form1)
        Form1->FDisplayToolBar = true;
}

void TFormToolBar::FormClose()
{
    if (Form1)
        Form1->FDisplayToolBar = false;
}

void TFormToolBar::FormClick()
{
    focusMainWindow();
}

void TFormToolBar::FormPaint()
{
    SetPosition();
}

void TFormToolBar::focusMainWindow()
{
    if (!Form1)
        return;
    Form1->raise();
    Form1->activateWindow();
}

void TFormToolBar::tbHideToolbarClick()
{
    if (Form1)
        Form1->FDisplayToolBar = false;
    hide();
}

void TFormToolBar::tbOpenClick()
{
    if (!Form1)
        return;
    Form1->OpenFile(QStringLiteral("lesson"));
    focusMainWindow();
}

void TFormToolBar::tbOpenSessionClick()
{
    if (!Form1)
        return;
    Form1->mlOpenSessionClick();
    focusMainWindow();
}

void TFormToolBar::tbNumbersClick()
{
    if (!Form1)
        return;
    Form1->Numbers1Click();
    focusMainWindow();
}

void TFormToolBar::tbBackgroundClick()
{
    if (Form1)
        Form1->ScreenBackground1Click();
}

void TFormToolBar::tbDictClick()
{
    if (!FormDict)
        return;
    if (FormDict->isVisible()) {
        FormDict->close();
    } else {
        FormDict->show();
        FormDict->raise();
        FormDict->activateWindow();
    }
}

void TFormToolBar::tbReaderClick()
{
    if (!FormAsocFile)
        return;
    FormAsocFile->show();
    FormAsocFile->raise();
    FormAsocFile->activateWindow();
}

bool TFormToolBar::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

void TFormToolBar::closeEvent(QCloseEvent *e)
{
    FormClose();
    QWidget::closeEvent(e);
}

void TFormToolBar::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    FormClick();
}

void TFormToolBar::paintEvent(QPaintEvent *e)
{
    FormPaint();
    QWidget::paintEvent(e);
}

void TFormToolBar::resizeEvent(QResizeEvent *e)
{
    // The main window's curved outline: corners of 3 x 3 pixels, the outline
    // reaching one pixel past the window on each side.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 1.5, 1.5);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    QWidget::resizeEvent(e);
}

void TFormToolBar::showEvent(QShowEvent *e)
{
    // The background may have been shown while the bar was hidden (or at
    // start): its button shows whether it is up.
    if (Form1)
        tbBackground->setChecked(Form1->FDisplayScreenBackground);
    QWidget::showEvent(e);
}
