#include "practice/ToolBarWindow.h"

#include "app/MainWindow.h"
#include "reference/ReaderWindow.h"
#include "reference/DictionaryWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

ToolBarWindow *toolBarWindow = nullptr;

bool ToolBarWindow::picturesWhenShown = false;

namespace {
const int BarWidth = 30;
// The main window needs this much room to its right for the tool bar to
// stand there: the bar, the pixel between them and a little margin.
const int RoomOnTheRight = 34;
} // namespace

ToolBarWindow::ToolBarWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("toolBarWindow"));
    setWindowTitle(QStringLiteral("Tool bar"));
    // A small borderless window of its own that stays off the task bar.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);

    hideToolBarButton
        = makeButton("hideToolBarButton", 4, QStringLiteral("Hide toolbar"), QStyle::SP_TitleBarCloseButton);
    hideToolBarButton->setGeometry(13, 4, 13, 13);
    hideToolBarButton->setStyleSheet(QStringLiteral(
        "QToolButton { background: silver; border: none; }"
        "QToolButton:hover { background: yellow; }"));
    openButton = makeButton("openButton", 21, QStringLiteral("Open lesson"), QStyle::SP_DialogOpenButton);
    openSessionButton = makeButton("openSessionButton", 46, QStringLiteral("Open session"), QStyle::SP_DirOpenIcon);
    numbersButton = makeButton("numbersButton", 71, QStringLiteral("Practise numbers"), QStyle::SP_FileDialogListView);
    screenBackgroundButton
        = makeButton("screenBackgroundButton", 96, QStringLiteral("Screen background"), QStyle::SP_DesktopIcon);
    screenBackgroundButton->setCheckable(true);
    dictionaryButton
        = makeButton("dictionaryButton", 121, QStringLiteral("Dictionary"), QStyle::SP_FileDialogDetailedView);
    readerButton = makeButton("readerButton", 146, QStringLiteral("Reader"), QStyle::SP_FileIcon);

    connect(hideToolBarButton, &QToolButton::clicked, this, &ToolBarWindow::hideToolBarButtonClicked);
    connect(openButton, &QToolButton::clicked, this, &ToolBarWindow::openButtonClicked);
    connect(openSessionButton, &QToolButton::clicked, this, &ToolBarWindow::openSessionButtonClicked);
    connect(numbersButton, &QToolButton::clicked, this, &ToolBarWindow::numbersButtonClicked);
    connect(screenBackgroundButton, &QToolButton::clicked, this, &ToolBarWindow::screenBackgroundButtonClicked);
    connect(dictionaryButton, &QToolButton::clicked, this, &ToolBarWindow::dictionaryButtonClicked);
    connect(readerButton, &QToolButton::clicked, this, &ToolBarWindow::readerButtonClicked);

    onCreate();
}

QToolButton *ToolBarWindow::makeButton(const char *name, int y, const QString &hint, int picture)
{
    auto *b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(3, y, 24, 24);
    b->setToolTip(hint);
    if (picturesWhenShown)
        m_pendingPictures.emplace_back(b, picture);
    else
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

void ToolBarWindow::onCreate()
{
    resize(BarWidth, mainWindow ? mainWindow->height() : 400);
    dockToMainWindow();
}

int ToolBarWindow::dockedLeft(int MainLeft, int MainWidth, int ScreenWidth)
{
    if (ScreenWidth - RoomOnTheRight >= MainLeft + MainWidth)
        return MainLeft + MainWidth + 1;
    return MainLeft - (BarWidth + 1);
}

void ToolBarWindow::dockToMainWindow()
{
    if (!mainWindow)
        return;
    QScreen *screen = mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 0;
    const QPoint to(dockedLeft(mainWindow->x(), mainWindow->width(), screenWidth), mainWindow->y());
    // Painting docks the bar too; moving only when it is out of place keeps
    // a paint from asking for another.
    if (pos() != to)
        move(to);
    if (height() != mainWindow->height())
        resize(BarWidth, mainWindow->height());
}

void ToolBarWindow::onActivate()
{
    dockToMainWindow();
    if (mainWindow)
        mainWindow->displayToolBar = true;
}

void ToolBarWindow::onClose()
{
    if (mainWindow)
        mainWindow->displayToolBar = false;
}

void ToolBarWindow::onClick()
{
    focusMainWindow();
}

void ToolBarWindow::onPaint()
{
    dockToMainWindow();
}

void ToolBarWindow::focusMainWindow()
{
    if (!mainWindow)
        return;
    mainWindow->raise();
    mainWindow->activateWindow();
}

void ToolBarWindow::hideToolBarButtonClicked()
{
    if (mainWindow)
        mainWindow->displayToolBar = false;
    hide();
}

void ToolBarWindow::openButtonClicked()
{
    if (!mainWindow)
        return;
    mainWindow->openLessonFiles(QStringLiteral("lesson"));
    focusMainWindow();
}

void ToolBarWindow::openSessionButtonClicked()
{
    if (!mainWindow)
        return;
    mainWindow->openSessionCommand();
    focusMainWindow();
}

void ToolBarWindow::numbersButtonClicked()
{
    if (!mainWindow)
        return;
    mainWindow->numbersCommand();
    focusMainWindow();
}

void ToolBarWindow::screenBackgroundButtonClicked()
{
    if (mainWindow)
        mainWindow->screenBackgroundCommand();
}

void ToolBarWindow::dictionaryButtonClicked()
{
    if (!dictionaryWindow)
        return;
    if (dictionaryWindow->isVisible()) {
        dictionaryWindow->close();
    } else {
        dictionaryWindow->show();
        dictionaryWindow->raise();
        dictionaryWindow->activateWindow();
    }
}

void ToolBarWindow::readerButtonClicked()
{
    if (!readerWindow)
        return;
    readerWindow->show();
    readerWindow->raise();
    readerWindow->activateWindow();
}

bool ToolBarWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return QWidget::event(e);
}

void ToolBarWindow::closeEvent(QCloseEvent *e)
{
    onClose();
    QWidget::closeEvent(e);
}

void ToolBarWindow::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    onClick();
}

void ToolBarWindow::paintEvent(QPaintEvent *e)
{
    onPaint();
    QWidget::paintEvent(e);
}

void ToolBarWindow::resizeEvent(QResizeEvent *e)
{
    // The main window's curved outline: corners of 3 x 3 pixels, the outline
    // reaching one pixel past the window on each side.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 1.5, 1.5);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    QWidget::resizeEvent(e);
}

void ToolBarWindow::showEvent(QShowEvent *e)
{
    // The background may have been shown while the bar was hidden (or at
    // start): its button shows whether it is up.
    if (mainWindow)
        screenBackgroundButton->setChecked(mainWindow->displayScreenBackground);
    for (const auto &[button, picture] : m_pendingPictures)
        button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(picture)));
    m_pendingPictures.clear();
    QWidget::showEvent(e);
}
