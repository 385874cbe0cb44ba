#include "reference/ReaderWindow.h"

#include "platform/files/SafeFiles.h"
#include "platform/richtext/RichEdit.h"
#include "platform/richtext/RtfReader.h"
#include "platform/speech/SpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "reference/PlainTextDecoding.h"
#include "settings/MainSettings.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

using korvana::Dialogs;
using korvana::MsgButtons;
using korvana::MsgIcon;
using korvana::SpeechVoice;

ReaderWindow::PrintHandler ReaderWindow::printHandler = [](QWidget *parent, QTextDocument *document,
                                                           const QString &title) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    document->print(&printer);
    return true;
};

namespace {

enum class Glyph { Read, Stop, Pause, Resume };

// The buttons' 16 x 16 glyphs, drawn rather than shipped as bitmaps.
QIcon drawGlyph(Glyph g)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x60));
    switch (g) {
    case Glyph::Read:
    case Glyph::Resume: {
        QPainterPath triangle;
        triangle.moveTo(4, 2);
        triangle.lineTo(14, 8);
        triangle.lineTo(4, 14);
        triangle.closeSubpath();
        p.drawPath(triangle);
        if (g == Glyph::Resume)
            p.drawRect(1, 2, 2, 12);
        break;
    }
    case Glyph::Stop:
        p.drawRect(3, 3, 10, 10);
        break;
    case Glyph::Pause:
        p.drawRect(4, 2, 3, 12);
        p.drawRect(9, 2, 3, 12);
        break;
    }
    return QIcon(pm);
}

QToolButton *speedButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setStyleSheet(QStringLiteral("QToolButton { background: #8080FF; padding: 2px 6px; }"));
    return b;
}

QPlainTextEdit *readOnlyBox(QWidget *parent, const char *name, const QString &hint, const QString &colour)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setReadOnly(true);
    m->setToolTip(hint);
    m->setFont(QFont(QStringLiteral("Arial"), 9));
    m->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: %1; }").arg(colour));
    return m;
}

} // namespace

ReaderWindow::ReaderWindow(korvana::ReaderHost &host, korvana::MainSettings &settings, QWidget *mainWidget,
                           QWidget *parent)
    : QWidget(parent), m_host(host), m_settings(settings), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("readerWindow"));
    setWindowTitle(QStringLiteral("Reader"));
    resize(618, 507);

    readIcon = drawGlyph(Glyph::Read);
    stopIcon = drawGlyph(Glyph::Stop);
    pauseIcon = drawGlyph(Glyph::Pause);
    resumeIcon = drawGlyph(Glyph::Resume);

    readButton = speedButton(this, "readButton", QStringLiteral("Read"));
    readButton->setIcon(readIcon);
    connect(readButton, &QToolButton::clicked, this, [this] { readButtonClicked(); });
    pauseButton = speedButton(this, "pauseButton", QStringLiteral("Pause"));
    pauseButton->setIcon(pauseIcon);
    pauseButton->setEnabled(false);
    connect(pauseButton, &QToolButton::clicked, this, [this] { pauseButtonClicked(); });

    helpLabel = new QLabel(
        QStringLiteral("Open a file or paste some text here. Reading works on entire or just selected text."), this);
    helpLabel->setObjectName(QStringLiteral("helpLabel"));
    helpLabel->setWordWrap(true);
    helpLabel->setStyleSheet(QStringLiteral("QLabel { border: 1px solid gray; border-radius: 6px; padding: 2px; }"));
    descriptionLabel = new QLabel(this);
    descriptionLabel->setObjectName(QStringLiteral("descriptionLabel"));
    descriptionLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);

    fileText = new korvana::RichEdit(this);
    fileText->setObjectName(QStringLiteral("fileText"));
    fileView = new QTextEdit(this);
    fileView->setObjectName(QStringLiteral("fileView"));
    fileView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fileView->setStyleSheet(QStringLiteral("QTextEdit { background: #FFFBF0; }"));
    fileView->viewport()->setCursor(Qt::ArrowCursor);
    fileView->viewport()->setMouseTracking(true);
    fileText->attachView(fileView);

    dictionaryBox = readOnlyBox(this, "dictionaryBox", QStringLiteral("Dictionary entries"), QStringLiteral("silver"));
    dictionaryBox->setFixedHeight(81);
    characterInfoBox =
        readOnlyBox(this, "characterInfoBox", QStringLiteral("Character information"), QStringLiteral("#C0FFC0"));
    characterInfoBox->setFixedHeight(23);
    characterInfoBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    characterInfoBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    openButton = speedButton(this, "openButton", QStringLiteral("open"));
    connect(openButton, &QToolButton::clicked, this, [this] { openButtonClicked(); });
    printButton = speedButton(this, "printButton", QStringLiteral("print"));
    connect(printButton, &QToolButton::clicked, this, [this] { printButtonClicked(); });
    closeButton = speedButton(this, "closeButton", QStringLiteral("close"));
    connect(closeButton, &QToolButton::clicked, this, [this] { closeButtonClicked(); });

    auto *top = new QHBoxLayout;
    top->addWidget(readButton);
    top->addWidget(pauseButton);
    top->addWidget(helpLabel, 1);
    top->addWidget(descriptionLabel, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(openButton);
    bottom->addWidget(printButton);
    bottom->addStretch(1);
    bottom->addWidget(closeButton);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(fileView, 1);
    column->addWidget(dictionaryBox);
    column->addWidget(characterInfoBox);
    column->addLayout(bottom);

    // The window sees keys before its controls, so Escape closes it from the
    // text too.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    fileView->viewport()->installEventFilter(this);
}

ReaderWindow::~ReaderWindow() = default;

// --- the voice ------------------------------------------------------------------

SpeechVoice *ReaderWindow::voice() const
{
    return m_host.voice();
}

int ReaderWindow::runningState() const
{
    SpeechVoice *v = voice();
    return v ? v->runningState() : -1;
}

void ReaderWindow::setReadLook(bool reading)
{
    readButton->setIcon(reading ? stopIcon : readIcon);
    readButton->setText(reading ? QStringLiteral("Stop") : QStringLiteral("Read"));
}

void ReaderWindow::setPauseLook(bool paused)
{
    pauseButton->setIcon(paused ? resumeIcon : pauseIcon);
    pauseButton->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
}

void ReaderWindow::readButtonClicked()
{
    SpeechVoice *v = voice();
    switch (runningState()) {
    case SpeechVoice::Speaking:
        setReadLook(false);
        v->skip(); // its end of speech still follows
        pauseButton->setEnabled(false);
        break;
    case SpeechVoice::Done:
        setReadLook(true);
        if (!fileText->text().isEmpty()) {
            // The end of speech reaches the reader through the main window.
            emit speechStarting();
            const QString text = fileText->selLength() != 0 ? fileText->selText() : fileText->text();
            m_lastStream = v->speak(text, 1);
            m_lastStreamVoice = v;
        }
        pauseButton->setEnabled(true);
        break;
    case SpeechVoice::Paused:
        setReadLook(false);
        setPauseLook(false);
        v->resume();
        v->skip();
        pauseButton->setEnabled(false);
        break;
    default:
        break;
    }
}

void ReaderWindow::pauseButtonClicked()
{
    SpeechVoice *v = voice();
    switch (runningState()) {
    case SpeechVoice::Paused:
        setPauseLook(false);
        v->resume();
        break;
    case SpeechVoice::Speaking:
        setPauseLook(true);
        v->pause();
        break;
    default:
        break;
    }
}

void ReaderWindow::speechEnded(int stream)
{
    // A speech of the reader's cut short whose end arrives after the reader
    // has started the next one: that end is not the new speech's.
    if (m_lastStreamVoice && m_lastStreamVoice == voice() && stream < m_lastStream)
        return;
    setReadLook(false);
    pauseButton->setEnabled(false);
}

// --- files and printing -----------------------------------------------------------

void ReaderWindow::reportError(const QString &message)
{
    Dialogs::instance().message(this, message, MsgButtons::Ok, MsgIcon::Error);
}

void ReaderWindow::openButtonClicked()
{
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("All files|*.*|Text files|*.txt|RTF files|*.rtf");
    request.initialDir = m_settings.workingDirectory;
    request.allowMultiple = false;
    request.fileMustExist = true;
    const QStringList chosen = Dialogs::instance().openFiles(this, request);
    if (chosen.isEmpty())
        return;
    const QString name = chosen.first();
    QByteArray bytes;
    if (!readFile(name, &bytes))
        return;
    setWindowTitle(name);
    descriptionLabel->clear();
    showFile(bytes);
    fileView->setFocus();
    scrollToTop();
}

bool ReaderWindow::readFile(const QString &name, QByteArray *bytes)
{
    // Any file can be chosen or named by a lesson: a pipe or a device must
    // not hang the program, nor a huge file fill its memory.
    korvana::files::ReadResult read = korvana::files::readRegularFile(name, ReaderMaxBytes);
    switch (read.status) {
    case korvana::files::ReadStatus::Ok:
        *bytes = std::move(read.data);
        return true;
    case korvana::files::ReadStatus::Missing:
        Dialogs::instance().message(this, QStringLiteral("File ") + name + QStringLiteral(" not found"),
                                    MsgButtons::Ok);
        return false;
    case korvana::files::ReadStatus::TooLarge:
        Dialogs::instance().message(
            this,
            QStringLiteral("File ") + name
                + QStringLiteral(" is too large for the reader (over %1 MB)").arg(ReaderMaxBytes / (1024 * 1024)),
            MsgButtons::Ok);
        return false;
    default:
        Dialogs::instance().message(this, QStringLiteral("Cannot open ") + name + QStringLiteral(": ") + read.reason,
                                    MsgButtons::Ok);
        return false;
    }
}

void ReaderWindow::showFile(const QByteArray &bytes)
{
    fileText->clear();
    // Hover results belong to the text they were found in.
    dictionaryBox->clear();
    characterInfoBox->clear();
    m_host.forgetLastHoverChar();
    try {
        if (korvana::rtf::looksLikeRtf(bytes))
            fileText->fromRtf(bytes);
        else
            fileText->setText(korvana::decodePlainText(bytes).text);
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
}

void ReaderWindow::scrollToTop()
{
    fileText->setSelStart(0);
    // Bounded by the line count, so a view that cannot scroll ends the loop.
    for (int i = fileText->lineCount(); i >= 0 && fileText->firstVisibleLine() > 0; --i)
        fileText->lineScroll(-1);
}

void ReaderWindow::openLinkedFile(const QString &fullName, const QString &description)
{
    QByteArray bytes;
    if (!readFile(fullName, &bytes))
        return;
    setWindowTitle(fullName);
    descriptionLabel->setText(description);
    showFile(bytes);
    fileText->setSelStart(0);
    scrollToTop();
    show();
    raise();
}

void ReaderWindow::printButtonClicked()
{
    try {
        printHandler(this, fileText->document(), QString());
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
}

// --- the window -----------------------------------------------------------------------

void ReaderWindow::closeButtonClicked()
{
    // Speech goes on while the window is hidden.
    hide();
}

void ReaderWindow::onKeyDown(int key)
{
    if (key == 27)
        hide();
}

void ReaderWindow::onActivate()
{
    pauseButton->setEnabled(false);
}

void ReaderWindow::fileViewMouseMoved(const QPoint &pos)
{
    // The main window looks up the character under the pointer and fills
    // dictionaryBox and characterInfoBox.
    m_host.charactersViewMouseMoved(fileView, pos);
}

bool ReaderWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return QWidget::event(e);
}

bool ReaderWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
        onKeyDown(27);
        return true;
    }
    if (e->type() == QEvent::MouseMove && watched == fileView->viewport())
        fileViewMouseMoved(static_cast<QMouseEvent *>(e)->position().toPoint());
    return QWidget::eventFilter(watched, e);
}

void ReaderWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        onKeyDown(27);
        return;
    }
    QWidget::keyPressEvent(e);
}

void ReaderWindow::showEvent(QShowEvent *e)
{
    // Centred on the main window each time it is shown.
    if (!e->spontaneous()) {
        const QRect main = m_mainWidget->frameGeometry();
        const QRect frame(QPoint(0, 0), frameGeometry().size());
        move(main.center() - frame.center());
    }
    QWidget::showEvent(e);
}
