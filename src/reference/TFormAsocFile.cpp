#include "reference/TFormAsocFile.h"

#include "app/TForm1.h"
#include "platform/files/SafeFiles.h"
#include "platform/richtext/RichEdit.h"
#include "platform/richtext/RtfReader.h"
#include "platform/speech/SpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "reference/PlainTextDecoding.h"

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

TFormAsocFile *FormAsocFile = nullptr;

using korvana::Dialogs;
using korvana::MsgButtons;
using korvana::MsgIcon;
using korvana::SpeechVoice;

TFormAsocFile::PrintHandler TFormAsocFile::printHandler = [](QWidget *parent, QTextDocument *document,
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

QPlainTextEdit *memo(QWidget *parent, const char *name, const QString &hint, const QString &colour)
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

TFormAsocFile::TFormAsocFile(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormAsocFile"));
    setWindowTitle(QStringLiteral("Reader"));
    resize(618, 507);

    imgRead = drawGlyph(Glyph::Read);
    imgStop = drawGlyph(Glyph::Stop);
    imgPause = drawGlyph(Glyph::Pause);
    imgResume = drawGlyph(Glyph::Resume);

    bRead = speedButton(this, "bRead", QStringLiteral("Read"));
    bRead->setIcon(imgRead);
    connect(bRead, &QToolButton::clicked, this, [this] { bReadClick(); });
    bPause = speedButton(this, "bPause", QStringLiteral("Pause"));
    bPause->setIcon(imgPause);
    bPause->setEnabled(false);
    connect(bPause, &QToolButton::clicked, this, [this] { bPauseClick(); });

    JvLabel1 = new QLabel(
        QStringLiteral("Open a file or paste some text here. Reading works on entire or just selected text."), this);
    JvLabel1->setObjectName(QStringLiteral("JvLabel1"));
    JvLabel1->setWordWrap(true);
    JvLabel1->setStyleSheet(QStringLiteral("QLabel { border: 1px solid gray; border-radius: 6px; padding: 2px; }"));
    TntLabel1 = new QLabel(this);
    TntLabel1->setObjectName(QStringLiteral("TntLabel1"));
    TntLabel1->setAlignment(Qt::AlignRight | Qt::AlignTop);

    RichEdit1 = new korvana::RichEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1View = new QTextEdit(this);
    RichEdit1View->setObjectName(QStringLiteral("RichEdit1View"));
    RichEdit1View->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1View->setStyleSheet(QStringLiteral("QTextEdit { background: #FFFBF0; }"));
    RichEdit1View->viewport()->setCursor(Qt::ArrowCursor);
    RichEdit1View->viewport()->setMouseTracking(true);
    RichEdit1->attachView(RichEdit1View);

    mDict = memo(this, "mDict", QStringLiteral("Dictionary entries"), QStringLiteral("silver"));
    mDict->setFixedHeight(81);
    mUnihan = memo(this, "mUnihan", QStringLiteral("Character information"), QStringLiteral("#C0FFC0"));
    mUnihan->setFixedHeight(23);
    mUnihan->setLineWrapMode(QPlainTextEdit::NoWrap);
    mUnihan->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    bOpen = speedButton(this, "bOpen", QStringLiteral("open"));
    connect(bOpen, &QToolButton::clicked, this, [this] { bOpenClick(); });
    BitBtn2 = speedButton(this, "BitBtn2", QStringLiteral("print"));
    connect(BitBtn2, &QToolButton::clicked, this, [this] { Button2Click(); });
    BitBtn1 = speedButton(this, "BitBtn1", QStringLiteral("close"));
    connect(BitBtn1, &QToolButton::clicked, this, [this] { Button1Click(); });

    auto *top = new QHBoxLayout;
    top->addWidget(bRead);
    top->addWidget(bPause);
    top->addWidget(JvLabel1, 1);
    top->addWidget(TntLabel1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(bOpen);
    bottom->addWidget(BitBtn2);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(RichEdit1View, 1);
    column->addWidget(mDict);
    column->addWidget(mUnihan);
    column->addLayout(bottom);

    // The window sees keys before its controls, so Escape closes it from the
    // text too.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    RichEdit1View->viewport()->installEventFilter(this);
}

TFormAsocFile::~TFormAsocFile() = default;

// --- the voice ------------------------------------------------------------------

SpeechVoice *TFormAsocFile::voice() const
{
    return Form1 ? Form1->SpVoice.get() : nullptr;
}

int TFormAsocFile::runningState() const
{
    SpeechVoice *v = voice();
    return v ? v->runningState() : -1;
}

void TFormAsocFile::setReadLook(bool reading)
{
    bRead->setIcon(reading ? imgStop : imgRead);
    bRead->setText(reading ? QStringLiteral("Stop") : QStringLiteral("Read"));
}

void TFormAsocFile::setPauseLook(bool paused)
{
    bPause->setIcon(paused ? imgResume : imgPause);
    bPause->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
}

void TFormAsocFile::bReadClick()
{
    SpeechVoice *v = voice();
    switch (runningState()) {
    case SpeechVoice::Speaking:
        setReadLook(false);
        v->skip(); // its end of speech still follows
        bPause->setEnabled(false);
        break;
    case SpeechVoice::Done:
        setReadLook(true);
        if (!RichEdit1->text().isEmpty()) {
            // The end of speech reaches the reader through the main window.
            Form1->connectVoice();
            const QString text = RichEdit1->selLength() != 0 ? RichEdit1->selText() : RichEdit1->text();
            m_lastStream = v->speak(text, 1);
            m_lastStreamVoice = v;
        }
        bPause->setEnabled(true);
        break;
    case SpeechVoice::Paused:
        setReadLook(false);
        setPauseLook(false);
        v->resume();
        v->skip();
        bPause->setEnabled(false);
        break;
    default:
        break;
    }
}

void TFormAsocFile::bPauseClick()
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

void TFormAsocFile::speechEnded(int Stream)
{
    // A speech of the reader's cut short whose end arrives after the reader
    // has started the next one: that end is not the new speech's.
    if (m_lastStreamVoice && m_lastStreamVoice == voice() && Stream < m_lastStream)
        return;
    setReadLook(false);
    bPause->setEnabled(false);
}

// --- files and printing -----------------------------------------------------------

void TFormAsocFile::reportError(const QString &message)
{
    Dialogs::instance().message(this, message, MsgButtons::Ok, MsgIcon::Error);
}

void TFormAsocFile::bOpenClick()
{
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("All files|*.*|Text files|*.txt|RTF files|*.rtf");
    if (Form1)
        request.initialDir = Form1->FWorkingDirectory;
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
    TntLabel1->clear();
    showFile(bytes);
    RichEdit1View->setFocus();
    scrollToTop();
}

bool TFormAsocFile::readFile(const QString &name, QByteArray *bytes)
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
        Dialogs::instance().message(this,
                                    QStringLiteral("File ") + name +
                                        QStringLiteral(" is too large for the reader (over %1 MB)")
                                            .arg(ReaderMaxBytes / (1024 * 1024)),
                                    MsgButtons::Ok);
        return false;
    default:
        Dialogs::instance().message(this, QStringLiteral("Cannot open ") + name + QStringLiteral(": ") + read.reason,
                                    MsgButtons::Ok);
        return false;
    }
}

void TFormAsocFile::showFile(const QByteArray &bytes)
{
    RichEdit1->clear();
    // Hover results belong to the text they were found in.
    mDict->clear();
    mUnihan->clear();
    if (Form1)
        Form1->FLastHoverChar = 0;
    try {
        if (korvana::rtf::looksLikeRtf(bytes))
            RichEdit1->fromRtf(bytes);
        else
            RichEdit1->setText(korvana::decodePlainText(bytes).text);
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
}

void TFormAsocFile::scrollToTop()
{
    RichEdit1->setSelStart(0);
    // Bounded by the line count, so a view that cannot scroll ends the loop.
    for (int i = RichEdit1->lineCount(); i >= 0 && RichEdit1->firstVisibleLine() > 0; --i)
        RichEdit1->lineScroll(-1);
}

void TFormAsocFile::openLinkedFile(const QString &fullName, const QString &description)
{
    QByteArray bytes;
    if (!readFile(fullName, &bytes))
        return;
    setWindowTitle(fullName);
    TntLabel1->setText(description);
    showFile(bytes);
    RichEdit1->setSelStart(0);
    scrollToTop();
    show();
    raise();
}

void TFormAsocFile::Button2Click()
{
    try {
        printHandler(this, RichEdit1->document(), QString());
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
}

// --- the window -----------------------------------------------------------------------

void TFormAsocFile::Button1Click()
{
    // Speech goes on while the window is hidden.
    hide();
}

void TFormAsocFile::FormKeyDown(int Key)
{
    if (Key == 27)
        hide();
}

void TFormAsocFile::FormActivate()
{
    bPause->setEnabled(false);
}

void TFormAsocFile::RichEdit1MouseMove(const QPoint &pos)
{
    // The main window looks up the character under the pointer and fills
    // mDict and mUnihan.
    if (Form1)
        Form1->reChinMouseMove(RichEdit1View, pos);
}

bool TFormAsocFile::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

bool TFormAsocFile::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
        FormKeyDown(27);
        return true;
    }
    if (e->type() == QEvent::MouseMove && watched == RichEdit1View->viewport())
        RichEdit1MouseMove(static_cast<QMouseEvent *>(e)->position().toPoint());
    return QWidget::eventFilter(watched, e);
}

void TFormAsocFile::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        FormKeyDown(27);
        return;
    }
    QWidget::keyPressEvent(e);
}

void TFormAsocFile::showEvent(QShowEvent *e)
{
    // Centred on the main window each time it is shown.
    if (Form1 && !e->spontaneous()) {
        const QRect main = Form1->frameGeometry();
        const QRect frame(QPoint(0, 0), frameGeometry().size());
        move(main.center() - frame.center());
    }
    QWidget::showEvent(e);
}
