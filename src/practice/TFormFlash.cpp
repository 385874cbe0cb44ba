#include "practice/TFormFlash.h"

#include <QCloseEvent>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QTextEdit>
#include <QWheelEvent>

TFormFlash *FormFlash = nullptr;

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

TFormFlash::TFormFlash(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormFlash"));
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
    make(reFlash, reFlashView, QStringLiteral("reFlash"));
    make(reMezi, reMeziView, QStringLiteral("reMezi"));
    make(reOrig, reOrigView, QStringLiteral("reOrig"));
    make(rePin, rePinView, QStringLiteral("rePin"));
    make(reNotes, reNotesView, QStringLiteral("reNotes"));
    // The flashed line fills its box exactly, with no margin around it.
    reFlash->document()->setDocumentMargin(0);
    reFlash->setAlignment(korvana::TextAlignment::Center);
    for (korvana::RichEdit *strip : {reOrig, rePin, reNotes})
        strip->setAlignment(korvana::TextAlignment::Center);
    layoutStrips();
}

TFormFlash::~TFormFlash()
{
    showPointer();
    if (m_keyboardGrabbed)
        releaseKeyboard();
}

QTextEdit *TFormFlash::viewOf(const korvana::RichEdit *edit) const
{
    if (edit == reFlash)
        return reFlashView;
    if (edit == reMezi)
        return reMeziView;
    if (edit == reOrig)
        return reOrigView;
    if (edit == rePin)
        return rePinView;
    if (edit == reNotes)
        return reNotesView;
    return nullptr;
}

void TFormFlash::setEditBackground(korvana::RichEdit *edit, const QColor &color)
{
    if (QTextEdit *view = viewOf(edit)) {
        QPalette pal = view->palette();
        pal.setColor(QPalette::Base, color);
        pal.setColor(QPalette::Window, color);
        view->setPalette(pal);
    }
}

QColor TFormFlash::editBackground(const korvana::RichEdit *edit) const
{
    const QTextEdit *view = viewOf(edit);
    return view ? view->palette().color(QPalette::Base) : QColor();
}

void TFormFlash::setBackground(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

QColor TFormFlash::background() const
{
    return palette().color(QPalette::Window);
}

void TFormFlash::setEditVisible(korvana::RichEdit *edit, bool visible)
{
    if (QTextEdit *view = viewOf(edit))
        view->setVisible(visible);
}

bool TFormFlash::editVisible(const korvana::RichEdit *edit) const
{
    const QTextEdit *view = viewOf(edit);
    return view && !view->isHidden();
}

void TFormFlash::placeFlash(const QRect &rect)
{
    reFlashView->setGeometry(rect);
}

void TFormFlash::bringToFront()
{
    if (!hasWindowSystem())
        return;
    raise();
    activateWindow();
}

void TFormFlash::layoutStrips()
{
    // Each strip is at least StripHeight high and as high as its text, so
    // the card's 25-point text keeps its descenders (the "y" of "yī").
    auto heightOf = [](korvana::RichEdit *strip) {
        return std::max(StripHeight, int(std::ceil(strip->document()->size().height())));
    };
    const int w = width();
    const int orig = heightOf(reOrig);
    const int pin = heightOf(rePin);
    const int notes = heightOf(reNotes);
    reOrigView->setGeometry(0, 0, w, orig);
    rePinView->setGeometry(0, orig, w, pin);
    reNotesView->setGeometry(0, height() - notes, w, notes);
    reMeziView->setGeometry(rect());
}

void TFormFlash::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    layoutStrips();
}

// --- input closes the window ------------------------------------------------------------

void TFormFlash::reFlashKeyDown()
{
    close();
}

void TFormFlash::reFlashMouseDown()
{
    close();
}

void TFormFlash::FormMouseWheel()
{
    close();
}

void TFormFlash::keyPressEvent(QKeyEvent *e)
{
    e->accept();
    reFlashKeyDown();
}

void TFormFlash::mousePressEvent(QMouseEvent *e)
{
    e->accept();
    reFlashMouseDown();
}

void TFormFlash::wheelEvent(QWheelEvent *e)
{
    // Handled here: the turn goes no further.
    e->accept();
    FormMouseWheel();
}

bool TFormFlash::eventFilter(QObject *watched, QEvent *e)
{
    // The edits take no input of their own: whatever reaches them closes the
    // window, as it does on the window itself.
    switch (e->type()) {
    case QEvent::KeyPress:
        reFlashKeyDown();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        reFlashMouseDown();
        return true;
    case QEvent::Wheel:
        FormMouseWheel();
        return true;
    default:
        return QWidget::eventFilter(watched, e);
    }
}

// --- showing and closing ------------------------------------------------------------------

void TFormFlash::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    FormActivate();
}

void TFormFlash::FormActivate()
{
    hidePointer();
    // Every key comes here while the window shows, wherever the focus was,
    // so that a key always closes it.
    if (!m_keyboardGrabbed && hasWindowSystem()) {
        grabKeyboard();
        m_keyboardGrabbed = true;
    }
}

void TFormFlash::hideEvent(QHideEvent *e)
{
    if (m_keyboardGrabbed) {
        releaseKeyboard();
        m_keyboardGrabbed = false;
    }
    showPointer();
    QWidget::hideEvent(e);
}

void TFormFlash::closeEvent(QCloseEvent *e)
{
    e->accept();
    emit closed();
}

// The pointer is hidden once while the window shows and shown once when it
// goes, however often it is shown or activated in between, so the pointer
// never stays hidden after the window has gone.
void TFormFlash::hidePointer()
{
    if (m_pointerHidden)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    m_pointerHidden = true;
}

void TFormFlash::showPointer()
{
    if (!m_pointerHidden)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_pointerHidden = false;
}
