#include "practice/FlashWindow.h"

#include <QCloseEvent>
#include <QTextDocument>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QTextEdit>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

QTextEdit *flashView(QWidget *parent, const QString &name)
{
    auto *view = new QTextEdit(parent);
    view->setObjectName(name + QStringLiteral("View"));
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setLineWrapMode(QTextEdit::NoWrap);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setTextInteractionFlags(Qt::NoTextInteraction);
    view->setFocusPolicy(Qt::NoFocus);
    view->hide();
    return view;
}

// Platforms without a window system (the tests run on one) have no keyboard
// to grab and no stacking of windows.
bool hasWindowSystem()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

FlashWindow::FlashWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("flashWindow"));
    setWindowTitle(QStringLiteral("Flash"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Closing the flash window never ends the program, even when it is the
    // only window showing.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackground(Qt::black);

    auto make = [this](korvana::RichEdit *&edit, QTextEdit *&view, const QString &name) {
        edit = new korvana::RichEdit(this);
        edit->setObjectName(name);
        view = flashView(this, name);
        edit->attachView(view);
        edit->setWordWrap(false);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    };
    make(flashedText, flashedView, QStringLiteral("flashedText"));
    make(stagingText, stagingView, QStringLiteral("stagingText"));
    for (Strip &strip : strips)
        make(strip.text, strip.view, korvana::paneName(strip.pane) + QStringLiteral("Text"));
    // The flashed line fills its box exactly, with no margin around it.
    flashedText->document()->setDocumentMargin(0);
    flashedText->setAlignment(korvana::TextAlignment::Center);
    for (const Strip &strip : strips)
        strip.text->setAlignment(korvana::TextAlignment::Center);
    layoutStrips();
}

FlashWindow::~FlashWindow()
{
    showPointer();
    if (m_keyboardGrabbed)
        releaseKeyboard();
}

QTextEdit *FlashWindow::viewOf(const korvana::RichEdit *edit) const
{
    if (edit == flashedText)
        return flashedView;
    if (edit == stagingText)
        return stagingView;
    for (const Strip &strip : strips)
        if (edit == strip.text)
            return strip.view;
    return nullptr;
}

const FlashWindow::Strip *FlashWindow::strip(korvana::Pane pane) const
{
    for (const Strip &strip : strips)
        if (strip.pane == pane)
            return &strip;
    return nullptr;
}

void FlashWindow::setEditBackground(korvana::RichEdit *edit, const QColor &color)
{
    if (QTextEdit *view = viewOf(edit)) {
        QPalette pal = view->palette();
        pal.setColor(QPalette::Base, color);
        pal.setColor(QPalette::Window, color);
        view->setPalette(pal);
    }
}

QColor FlashWindow::editBackground(const korvana::RichEdit *edit) const
{
    const QTextEdit *view = viewOf(edit);
    return view ? view->palette().color(QPalette::Base) : QColor();
}

void FlashWindow::setBackground(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

QColor FlashWindow::background() const
{
    return palette().color(QPalette::Window);
}

void FlashWindow::setEditVisible(korvana::RichEdit *edit, bool visible)
{
    if (QTextEdit *view = viewOf(edit))
        view->setVisible(visible);
}

bool FlashWindow::editVisible(const korvana::RichEdit *edit) const
{
    const QTextEdit *view = viewOf(edit);
    return view && !view->isHidden();
}

void FlashWindow::placeFlash(const QRect &rect)
{
    flashedView->setGeometry(rect);
}

void FlashWindow::bringToFront()
{
    if (!hasWindowSystem())
        return;
    raise();
    activateWindow();
}

void FlashWindow::layoutStrips()
{
    // Each strip is at least StripHeight high and as high as its text, so
    // the card's 25-point text keeps its descenders (the "y" of "yī").
    auto heightOf = [](korvana::RichEdit *strip) {
        return std::max(StripHeight, int(std::ceil(strip->document()->size().height())));
    };
    // The notes stand at the bottom, the others one under the other from
    // the top.
    int top = 0;
    for (const Strip &strip : strips) {
        const int h = heightOf(strip.text);
        if (strip.pane == korvana::Pane::Notes) {
            strip.view->setGeometry(0, height() - h, width(), h);
        } else {
            strip.view->setGeometry(0, top, width(), h);
            top += h;
        }
    }
    stagingView->setGeometry(rect());
}

void FlashWindow::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    layoutStrips();
}

// --- input closes the window ------------------------------------------------------------

void FlashWindow::flashedTextKeyPressed()
{
    close();
}

void FlashWindow::flashedTextMousePressed()
{
    close();
}

void FlashWindow::onWheel()
{
    close();
}

void FlashWindow::keyPressEvent(QKeyEvent *e)
{
    e->accept();
    flashedTextKeyPressed();
}

void FlashWindow::mousePressEvent(QMouseEvent *e)
{
    e->accept();
    flashedTextMousePressed();
}

void FlashWindow::wheelEvent(QWheelEvent *e)
{
    // Handled here: the turn goes no further.
    e->accept();
    onWheel();
}

bool FlashWindow::eventFilter(QObject *watched, QEvent *e)
{
    // The edits take no input of their own: whatever reaches them closes the
    // window, as it does on the window itself.
    switch (e->type()) {
    case QEvent::KeyPress:
        flashedTextKeyPressed();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        flashedTextMousePressed();
        return true;
    case QEvent::Wheel:
        onWheel();
        return true;
    default:
        return QWidget::eventFilter(watched, e);
    }
}

// --- showing and closing ------------------------------------------------------------------

void FlashWindow::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    onActivate();
}

void FlashWindow::onActivate()
{
    hidePointer();
    // Every key comes here while the window shows, wherever the focus was,
    // so that a key always closes it.
    if (!m_keyboardGrabbed && hasWindowSystem()) {
        grabKeyboard();
        m_keyboardGrabbed = true;
    }
}

void FlashWindow::hideEvent(QHideEvent *e)
{
    if (m_keyboardGrabbed) {
        releaseKeyboard();
        m_keyboardGrabbed = false;
    }
    showPointer();
    QWidget::hideEvent(e);
}

void FlashWindow::closeEvent(QCloseEvent *e)
{
    e->accept();
    emit closed();
}

// The pointer is hidden once while the window shows and shown once when it
// goes, however often it is shown or activated in between, so the pointer
// never stays hidden after the window has gone.
void FlashWindow::hidePointer()
{
    if (m_pointerHidden)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    m_pointerHidden = true;
}

void FlashWindow::showPointer()
{
    if (!m_pointerHidden)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_pointerHidden = false;
}
