#include "reference/KeyboardReferenceWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

namespace {

QTextEdit *readOnlyBox(QWidget *parent, const char *name, const QRect &geometry, const QStringList &lines,
                       Qt::Alignment alignment, const QString &colour, bool bold)
{
    auto *m = new QTextEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setGeometry(geometry);
    m->setReadOnly(true);
    m->setFrameShape(QFrame::NoFrame);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setLineWrapMode(QTextEdit::NoWrap);
    m->setAcceptRichText(false);
    m->setContextMenuPolicy(Qt::NoContextMenu);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(12);
    font.setBold(bold);
    m->setFont(font);
    m->setStyleSheet(QStringLiteral("QTextEdit { background: black; color: %1; }").arg(colour));
    m->setPlainText(lines.join(QLatin1Char('\n')));
    // Every line takes the column's alignment (a QTextEdit: the plain-text
    // edit lays every block out left-aligned whatever its format says).
    QTextCursor c(m->document());
    c.select(QTextCursor::Document);
    QTextBlockFormat f;
    f.setAlignment(alignment);
    c.mergeBlockFormat(f);
    return m;
}

} // namespace

KeyboardReferenceWindow::KeyboardReferenceWindow(QWidget *mainWidget, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_mainWidget(mainWidget),
      m_dragger(*this, {.moved = {}, .released = [this] { dragEnded(); }})
{
    setObjectName(QStringLiteral("keyboardReferenceWindow"));
    setWindowTitle(QStringLiteral("Keyboard Reference"));
    setFixedSize(446, 226);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    if (buildWhenShown)
        m_controlsPending = true;
    else
        buildControls();
    onCreate();
}

bool KeyboardReferenceWindow::buildWhenShown = false;

void KeyboardReferenceWindow::setVisible(bool visible)
{
    if (visible && m_controlsPending) {
        m_controlsPending = false;
        buildControls();
    }
    QWidget::setVisible(visible);
}

void KeyboardReferenceWindow::buildControls()
{
    commandsBox = readOnlyBox(this, "commandsBox", QRect(8, 2, 217, 223), commandLines(), Qt::AlignRight,
                              QStringLiteral("white"), false);
    keysBox = readOnlyBox(this, "keysBox", QRect(233, 2, 193, 223), keyLines(), Qt::AlignLeft,
                          QStringLiteral("#FFFBF0"), true);
    for (QTextEdit *m : {commandsBox, keysBox}) {
        m_dragger.watch(m);
        m_dragger.watch(m->viewport());
    }

    closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setGeometry(width() - 13, 0, 13, 13);
    closeButton->setStyleSheet(
        QStringLiteral("QToolButton { background: silver; border: none; } QToolButton:hover { background: yellow; }"));
    connect(closeButton, &QToolButton::clicked, this, [this] { closeButtonClicked(); });
}

QStringList KeyboardReferenceWindow::commandLines()
{
    return {QStringLiteral("Next term"),
            QStringLiteral("Previous term"),
            QStringLiteral("Read"),
            QStringLiteral("Mark as learned"),
            QStringLiteral("Mark as difficult"),
            QString(),
            QStringLiteral("Show/hide translation"),
            QStringLiteral("Show/hide pronounciation"),
            QStringLiteral("Show/hide original"),
            QStringLiteral("Show/hide notes"),
            QStringLiteral("Toggle unvisible fields"),
            QString(),
            QStringLiteral("Play sound (if available)"),
            QStringLiteral("Display graphics (if available)"),
            QStringLiteral("Brain Flash/Fullscreen")};
}

QStringList KeyboardReferenceWindow::keyLines()
{
    return {QStringLiteral("right/down arrows, PgDn"),
            QStringLiteral("left/up arrows, PgUp  "),
            QStringLiteral("Enter "),
            QStringLiteral("Del"),
            QStringLiteral("\"d\""),
            QString(),
            QStringLiteral("F5 "),
            QStringLiteral("F6 "),
            QStringLiteral("F7 "),
            QStringLiteral("F8 "),
            QStringLiteral("Insert"),
            QString(),
            QStringLiteral("Space, \"p\" "),
            QStringLiteral("\"g\""),
            QStringLiteral("Backspace")};
}

QPoint KeyboardReferenceWindow::parkedPosition(const QRect &screen, const QSize &size)
{
    return QPoint(screen.x() + screen.width() - 2 - size.width(), screen.y() + 2);
}

void KeyboardReferenceWindow::onCreate()
{
    // The window has no caption bar or frame of its own, so only the black
    // client area shows.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        move(parkedPosition(screen->geometry(), size()));
}

void KeyboardReferenceWindow::dragEnded()
{
    // The practice keys keep working with the reference in view.
    keepAboveMainWindow();
    m_mainWidget->activateWindow();
    m_mainWidget->setFocus(Qt::OtherFocusReason);
    raise();
}

void KeyboardReferenceWindow::keepAboveMainWindow()
{
    // A window transient for the main window is kept above it by the window
    // manager, also when the main window is activated after a drag over it.
    if (!m_mainWidget->windowHandle())
        return;
    if (!windowHandle())
        create();
    if (windowHandle()->transientParent() != m_mainWidget->windowHandle())
        windowHandle()->setTransientParent(m_mainWidget->windowHandle());
}

void KeyboardReferenceWindow::showEvent(QShowEvent *e)
{
    keepAboveMainWindow();
    QWidget::showEvent(e);
}

void KeyboardReferenceWindow::closeButtonClicked()
{
    hide();
}
