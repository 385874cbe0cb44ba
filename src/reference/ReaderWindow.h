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
class RichEdit;
class SpeechVoice;
} // namespace korvana

// One instance, readerWindow, lives for the whole run.
class ReaderWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReaderWindow(QWidget *parent = nullptr);
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
    void printButtonClicked(); // print
    void closeButtonClicked(); // close
    void onKeyDown(int Key);
    void onActivate();
    // The mouse over the text, in the view's viewport coordinates.
    void fileViewMouseMoved(const QPoint &pos);

    // Every end of speech of the shared voice, whoever started it: back to
    // idle, unless it is the end of a speech older than the reader's latest.
    void speechEnded(int Stream);

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
    QToolButton *printButton = nullptr; // print
    QToolButton *closeButton = nullptr; // close
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

    int m_lastStream = 0; // stream number of the reader's latest speech
    QPointer<korvana::SpeechVoice> m_lastStreamVoice; // the voice that numbered it
};

extern ReaderWindow *readerWindow;
