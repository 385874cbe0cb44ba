#pragma once
// The reader: a text or rich-text file (or pasted text) read aloud by the
// main window's voice, all of it or only the selection, with pause and
// resume; it prints the text, and the character under the mouse is looked up
// by the main window's character information.
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QTextDocument;
class QTextEdit;
class QToolButton;

namespace korvana {
struct MainSettings;
class RichEdit;
class SpeechVoice;

// What the reader asks of the main window: the voice it shares, and the
// character lookup under the mouse.
class ReaderHost {
public:
    virtual ~ReaderHost() = default;
    // The shared voice; null before the first activation or when there is
    // no speech engine. The main window may replace it at any time.
    virtual SpeechVoice *voice() = 0;
    // Looks up the character under pos (viewport coordinates of view) and
    // fills the "dictionaryBox" and "characterInfoBox" of view's window.
    virtual void charactersViewMouseMoved(QTextEdit *view, const QPoint &pos) = 0;
    // Forgets the character looked up last, so that the next one under the
    // mouse is looked up afresh.
    virtual void forgetLastHoverChar() = 0;
};
} // namespace korvana

// One instance lives for the whole run.
class ReaderWindow : public QWidget {
    Q_OBJECT
public:
    // settings: the starting folder of the open dialog; mainWidget: the
    // window the reader is centred on when shown.
    ReaderWindow(korvana::ReaderHost &host, korvana::MainSettings &settings, QWidget *mainWidget,
                 QWidget *parent = nullptr);
    ~ReaderWindow() override;

    // Prints `document` as one job titled `title`; returns false when the
    // user cancelled. Throws on failure. Tests replace it; the default asks
    // for a printer in the print dialog.
    using PrintHandler = std::function<bool(QWidget *parent, QTextDocument *document, const QString &title)>;
    static PrintHandler printHandler;

    // The largest file the reader loads; a text of this size already takes
    // long to lay out.
    static constexpr qint64 ReaderMaxBytes = qint64(16) * 1024 * 1024;

    // A linked reading file of the open lessons: caption the full name, the
    // label its description, the caret at the start, the window shown. A
    // file that is missing, no regular file or too large is refused at once
    // with a message, and the reader stays as it was.
    void openLinkedFile(const QString &fullName, const QString &description);

    // Handlers.
    void openButtonClicked();
    void readButtonClicked();
    void pauseButtonClicked();
    void printButtonClicked();
    void closeButtonClicked();
    void onKeyDown(int key);
    void onActivate();
    // The mouse over the text, in the view's viewport coordinates.
    void fileViewMouseMoved(const QPoint &pos);

    // Every end of speech of the shared voice, whoever started it: back to
    // idle, unless it is the end of a speech older than the reader's latest.
    void speechEnded(int stream);

signals:
    // The reader is about to speak on the shared voice: its ends of speech
    // must reach speechEnded before the speech starts.
    void speechStarting();

public:
    // Controls.
    QToolButton *readButton = nullptr;
    QToolButton *pauseButton = nullptr;
    QLabel *helpLabel = nullptr;
    QLabel *descriptionLabel = nullptr;
    korvana::RichEdit *fileText = nullptr;
    QTextEdit *fileView = nullptr;
    QPlainTextEdit *dictionaryBox = nullptr;
    QPlainTextEdit *characterInfoBox = nullptr;
    QToolButton *openButton = nullptr;
    QToolButton *printButton = nullptr;
    QToolButton *closeButton = nullptr;
    QIcon readIcon, stopIcon, pauseIcon, resumeIcon;

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    // The voice shared with the main window; null before the first
    // activation or when there is no speech engine.
    korvana::SpeechVoice *voice() const;
    // -1 when there is no voice.
    int runningState() const;
    void setReadLook(bool reading);
    void setPauseLook(bool paused);
    void scrollToTop();
    void reportError(const QString &message);
    // Reads a file chosen or linked, within the reader's size bound; false,
    // after saying why, when it cannot be shown.
    bool readFile(const QString &name, QByteArray *bytes);
    // Shows a file's bytes: rich text, or plain text in the encoding found.
    void showFile(const QByteArray &bytes);

    korvana::ReaderHost &m_host;
    korvana::MainSettings &m_settings;
    QWidget *m_mainWidget;
    int m_lastStream = 0;                             // stream number of the reader's latest speech
    QPointer<korvana::SpeechVoice> m_lastStreamVoice; // the voice that numbered it
};
