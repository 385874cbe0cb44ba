#include "practice/ToolBarWindow.h"

#include "settings/MainSettings.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

bool ToolBarWindow::picturesWhenShown = false;

namespace {
const int BarWidth = 30;
// The main window needs this much room to its right for the tool bar to
// stand there: the bar, the pixel between them and a little margin.
const int RoomOnTheRight = 34;
} // namespace

ToolBarWindow::ToolBarWindow(korvana::MainSettings &settings, QWidget *mainWidget, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("toolBarWindow"));
    setWindowTitle(QStringLiteral("Tool bar"));
    // A small borderless window of its own that stays off the task bar.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);

    hideToolBarButton =
        makeButton("hideToolBarButton", 4, QStringLiteral("Hide toolbar"), QStyle::SP_TitleBarCloseButton);
    hideToolBarButton->setGeometry(13, 4, 13, 13);
    hideToolBarButton->setStyleSheet(QStringLiteral("QToolButton { background: silver; border: none; }"
                                                    "QToolButton:hover { background: yellow; }"));
    openButton = makeButton("openButton", 21, QStringLiteral("Open lesson"), QStyle::SP_DialogOpenButton);
    openSessionButton = makeButton("openSessionButton", 46, QStringLiteral("Open session"), QStyle::SP_DirOpenIcon);
    numbersButton = makeButton("numbersButton", 71, QStringLiteral("Practise numbers"), QStyle::SP_FileDialogListView);
    screenBackgroundButton =
        makeButton("screenBackgroundButton", 96, QStringLiteral("Screen background"), QStyle::SP_DesktopIcon);
    screenBackgroundButton->setCheckable(true);
    dictionaryButton =
        makeButton("dictionaryButton", 121, QStringLiteral("Dictionary"), QStyle::SP_FileDialogDetailedView);
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
    b->setStyleSheet(QStringLiteral("QToolButton { background: maroon; border: none; }"
                                    "QToolButton:hover { background: yellow; }"
                                    "QToolButton:checked { background: #400000; border: 1px inset grey; }"));
    return b;
}

void ToolBarWindow::onCreate()
{
    resize(BarWidth, m_mainWidget->height());
    dockToMainWindow();
}

int ToolBarWindow::dockedLeft(int mainLeft, int mainWidth, int screenWidth)
{
    if (screenWidth - RoomOnTheRight >= mainLeft + mainWidth)
        return mainLeft + mainWidth + 1;
    return mainLeft - (BarWidth + 1);
}

void ToolBarWindow::dockToMainWindow()
{
    QScreen *screen = m_mainWidget->screen() ? m_mainWidget->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 0;
    const QPoint to(dockedLeft(m_mainWidget->x(), m_mainWidget->width(), screenWidth), m_mainWidget->y());
    // Painting docks the bar too; moving only when it is out of place keeps
    // a paint from asking for another.
    if (pos() != to)
        move(to);
    if (height() != m_mainWidget->height())
        resize(BarWidth, m_mainWidget->height());
}

void ToolBarWindow::onActivate()
{
    dockToMainWindow();
    m_settings.displayToolBar = true;
}

void ToolBarWindow::onClose()
{
    m_settings.displayToolBar = false;
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
    m_mainWidget->raise();
    m_mainWidget->activateWindow();
}

void ToolBarWindow::hideToolBarButtonClicked()
{
    m_settings.displayToolBar = false;
    hide();
}

void ToolBarWindow::openButtonClicked()
{
    emit openLessonRequested();
    focusMainWindow();
}

void ToolBarWindow::openSessionButtonClicked()
{
    emit openSessionRequested();
    focusMainWindow();
}

void ToolBarWindow::numbersButtonClicked()
{
    emit numbersRequested();
    focusMainWindow();
}

void ToolBarWindow::screenBackgroundButtonClicked()
{
    emit screenBackgroundRequested();
}

void ToolBarWindow::dictionaryButtonClicked()
{
    emit dictionaryRequested();
}

void ToolBarWindow::readerButtonClicked()
{
    emit readerRequested();
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
    screenBackgroundButton->setChecked(m_settings.displayScreenBackground);
    for (const auto &[button, picture] : m_pendingPictures)
        button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(picture)));
    m_pendingPictures.clear();
    QWidget::showEvent(e);
}
