// The reader: reading all of the text or the selection with the shared voice,
// stop, pause and resume, the buttons' states through activations and ends of
// speech from either window, opening files, linked files, printing through
// its seam, closing, and the menu commands that show the reader and the
// keyboard reference, these last with the hover and the voice the reader
// shares with the main window, on the whole program.
#include "app/CharacterHover.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/TermMedia.h"
#include "app/WindowChrome.h"
#include "platform/richtext/RichEdit.h"
#include "reference/KeyboardReferenceWindow.h"
#include "reference/ReaderWindow.h"
#include "support/AppTestSupport.h"
#include "support/WindowTestFixture.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>

using namespace korvana;

namespace {
QString fixture(const char *name)
{
    return QStringLiteral(KORVANA_TEST_DATA "/reader/") + QLatin1String(name);
}
} // namespace

// The reader under test, its voice and the scripted dialogs.
class ReaderCases : public QObject {
    Q_OBJECT

protected:
    QTemporaryDir m_home;
    ReaderWindow *r = nullptr;
    FakeSpeechVoice *voice = nullptr;
    virtual ScriptedDialogs &dialogs() = 0;

    bool idle() const
    {
        return r->readButton->text() == QLatin1String("Read") && !r->pauseButton->isEnabled()
               && r->pauseButton->text() == QLatin1String("Pause");
    }
    void deliverEvents() { QCoreApplication::processEvents(); }
};

class TestReader : public ReaderCases {
    Q_OBJECT

    std::unique_ptr<windowtest::Fixture> f;
    std::unique_ptr<ReaderWindow> m_reader;
    ReaderWindow::PrintHandler m_realPrinter;

    ScriptedDialogs &dialogs() override { return f->dialogs(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        m_realPrinter = ReaderWindow::printHandler;
    }

    void init()
    {
        f = std::make_unique<windowtest::Fixture>();
        voice = f->fakeVoice();
        m_reader = windowtest::makeReader(*f);
        r = m_reader.get();
    }

    void cleanup()
    {
        m_reader.reset();
        f.reset();
        ReaderWindow::printHandler = m_realPrinter;
    }

    // --- reading -------------------------------------------------------------

    void readsTheSelectionOrElseTheWholeText()
    {
        QVERIFY(idle());
        r->fileText->setText(QStringLiteral("你好。再见。\r\nSecond line"));
        r->readButtonClicked();
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("你好。再见。\r\nSecond line")});
        QCOMPARE(r->readButton->text(), QStringLiteral("Stop"));
        QVERIFY(r->pauseButton->isEnabled());

        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());

        r->fileText->setSelStart(3);
        r->fileText->setSelLength(3);
        r->readButtonClicked();
        QCOMPARE(voice->spokenTexts().last(), QStringLiteral("再见。"));
        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());
    }

    void emptyTextOrNoVoice()
    {
        // Nothing to read: the buttons look started, nothing is spoken and
        // no end of speech follows; the next press does the same again.
        for (int press = 0; press < 2; ++press) {
            r->readButtonClicked();
            QVERIFY(voice->spokenTexts().isEmpty());
            QCOMPARE(r->readButton->text(), QStringLiteral("Stop"));
            QVERIFY(r->pauseButton->isEnabled());
            deliverEvents();
            QCOMPARE(r->readButton->text(), QStringLiteral("Stop"));
        }
        // Without a voice the buttons do nothing.
        r->speechEnded(0);
        f->voice.reset();
        r->fileText->setText(QStringLiteral("一二三"));
        r->readButtonClicked();
        r->pauseButtonClicked();
        QVERIFY(idle());
    }

    void stopPauseResumeAndActivation()
    {
        r->fileText->setText(QStringLiteral("一二三"));
        r->readButtonClicked();
        r->readButtonClicked(); // Stop
        QCOMPARE(voice->skipCalls(), 1);
        QVERIFY(idle());
        deliverEvents(); // the skipped speech's end changes nothing more
        QVERIFY(idle());

        r->readButtonClicked();
        r->pauseButtonClicked();
        QCOMPARE(voice->runningState(), int(SpeechVoice::Paused));
        QCOMPARE(r->pauseButton->text(), QStringLiteral("Resume"));
        QCOMPARE(r->readButton->text(), QStringLiteral("Stop"));
        r->pauseButtonClicked(); // resumes
        QCOMPARE(voice->runningState(), int(SpeechVoice::Speaking));
        QCOMPARE(r->pauseButton->text(), QStringLiteral("Pause"));

        // Each activation disables Pause, also while speech runs.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(r, &activate);
        QVERIFY(!r->pauseButton->isEnabled());
        QCOMPARE(voice->runningState(), int(SpeechVoice::Speaking));

        r->pauseButtonClicked();
        r->readButtonClicked(); // from a pause: resume, then skip the rest
        QCOMPARE(voice->resumeCalls(), 2);
        QCOMPARE(voice->skipCalls(), 2);
        QCOMPARE(voice->runningState(), int(SpeechVoice::Done));
        QVERIFY(idle());

        // With nothing spoken, Pause does nothing.
        r->pauseButtonClicked();
        QCOMPARE(voice->pauseCalls(), 2);
        QCOMPARE(r->pauseButton->text(), QStringLiteral("Pause"));
    }

    void aStaleEndDoesNotResetANewReading()
    {
        r->fileText->setText(QStringLiteral("一二三"));
        r->readButtonClicked();
        r->readButtonClicked(); // Stop: its end is still on its way
        r->readButtonClicked(); // Read again before it arrives
        QCOMPARE(voice->pendingStreams().size(), 1);
        deliverEvents();
        QCOMPARE(r->readButton->text(), QStringLiteral("Stop"));
        QVERIFY(r->pauseButton->isEnabled());
        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());
    }

    // --- files ---------------------------------------------------------------------

    void openingAFile()
    {
        r->descriptionLabel->setText(QStringLiteral("from a lesson"));
        r->fileText->setText(QStringLiteral("kept"));

        r->openButtonClicked(); // cancelled
        QCOMPARE(dialogs().fileRequests.size(), size_t(1));
        QCOMPARE(dialogs().fileRequests[0].filter, QStringLiteral("All files|*.*|Text files|*.txt|RTF files|*.rtf"));
        QCOMPARE(r->fileText->text(), QStringLiteral("kept"));

        const QString missing = m_home.filePath(QStringLiteral("gone.txt"));
        dialogs().openAnswers.push_back({missing});
        r->openButtonClicked();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("File ") + missing + QStringLiteral(" not found"));
        QCOMPARE(r->fileText->text(), QStringLiteral("kept"));
        QCOMPARE(r->windowTitle(), QStringLiteral("Reader"));

        dialogs().openAnswers.push_back({fixture("story.txt")});
        r->openButtonClicked();
        QCOMPARE(r->windowTitle(), fixture("story.txt"));
        QVERIFY(r->descriptionLabel->text().isEmpty());
        QCOMPARE(r->fileText->line(0), QStringLiteral("第一句。第二句。"));
        QCOMPARE(r->fileText->selStart(), 0);

        dialogs().openAnswers.push_back({fixture("story.rtf")});
        r->openButtonClicked();
        QCOMPARE(r->fileText->text(), QStringLiteral("Rich story\r\nsecond line"));
        QCOMPARE(dialogs().messages.size(), size_t(1));
    }

    void chineseTextFilesInTheirOwnEncodings()
    {
        // GB18030 and Big5, the usual encodings of Chinese text files, and
        // UTF-16 without its mark.
        dialogs().openAnswers.push_back({fixture("gb18030.txt")});
        r->openButtonClicked();
        QCOMPARE(r->fileText->line(0), QStringLiteral("我是中国人。今天天气很好，我们一起去公园散步吧。"));
        dialogs().openAnswers.push_back({fixture("big5.txt")});
        r->openButtonClicked();
        QCOMPARE(r->fileText->line(1), QStringLiteral("學習漢語不難，只要每天練習，就能進步。"));
        // A byte no GB18030 text holds shows as U+FFFD, the rest reads on.
        QFile gb(fixture("gb18030.txt"));
        QVERIFY(gb.open(QIODevice::ReadOnly));
        const QString damaged = m_home.filePath(QStringLiteral("damaged.txt"));
        QFile d(damaged);
        QVERIFY(d.open(QIODevice::WriteOnly));
        d.write(gb.readAll().insert(4, '\x80'));
        d.close();
        dialogs().openAnswers.push_back({damaged});
        r->openButtonClicked();
        QCOMPARE(r->fileText->line(0), QStringLiteral("我是\uFFFD中国人。今天天气很好，我们一起去公园散步吧。"));
        const QString utf16 = m_home.filePath(QStringLiteral("utf16.txt"));
        QFile f(utf16);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QString text = QStringLiteral("第一句。\n第二句。");
        f.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        f.close();
        dialogs().openAnswers.push_back({utf16});
        r->openButtonClicked();
        QCOMPARE(r->fileText->line(1), QStringLiteral("第二句。"));
        // Big-endian, with more NULs on the even bytes (the line break) than
        // on the odd ones (一).
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (QChar c : QStringLiteral("一句。\r\n二句。"))
            f.write(QByteArray(1, char(c.unicode() >> 8)) + char(c.unicode() & 0xFF));
        f.close();
        dialogs().openAnswers.push_back({utf16});
        r->openButtonClicked();
        QCOMPARE(r->fileText->line(1), QStringLiteral("二句。"));
        // Latin-1 text that is no UTF-8 reads as Windows-1252.
        const QString latin = m_home.filePath(QStringLiteral("latin.txt"));
        QFile l(latin);
        QVERIFY(l.open(QIODevice::WriteOnly));
        l.write("Caf\xE9 cr\xE8me \x80 5\n");
        l.close();
        dialogs().openAnswers.push_back({latin});
        r->openButtonClicked();
        QCOMPARE(r->fileText->line(0), QStringLiteral("Café crème € 5"));
        QVERIFY(dialogs().messages.empty());
    }

    // A pipe, a device and a file over the size bound, named by a lesson or
    // chosen, are refused at once with a message. Run in a child process
    // with a time limit, so that a hang fails this test, not the suite.

    void specialFilesAreRefusedAtOnce()
    {
        if (qEnvironmentVariableIsEmpty("KORVANA_READER_CHILD")) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("KORVANA_READER_CHILD"), QStringLiteral("1"));
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("specialFilesAreRefusedAtOnce")});
            QVERIFY(child.waitForStarted());
            if (!child.waitForFinished(60000)) {
                child.kill();
                child.waitForFinished();
                QFAIL("opening a special file hung the reader");
            }
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
            return;
        }
        const QString fifo = m_home.filePath(QStringLiteral("pipe.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString big = m_home.filePath(QStringLiteral("big.txt"));
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(ReaderWindow::ReaderMaxBytes + 1));
        f.close();
        r->fileText->setText(QStringLiteral("kept"));
        for (const QString &name : {fifo, QStringLiteral("/dev/zero"), big}) {
            r->openLinkedFile(name, QStringLiteral("linked"));
            QVERIFY2(dialogs().lastMessage().contains(name), qPrintable(dialogs().lastMessage()));
            dialogs().openAnswers.push_back({name});
            r->openButtonClicked();
            QCOMPARE(r->fileText->text(), QStringLiteral("kept"));
        }
        QCOMPARE(dialogs().lastMessage(),
                 QStringLiteral("File ") + big + QStringLiteral(" is too large for the reader (over 16 MB)"));
    }

    void aLinkedFileOpensWithItsDescription()
    {
        r->fileText->setText(QStringLiteral("old"));
        r->openLinkedFile(fixture("story.txt"), QStringLiteral("The story"));
        QVERIFY(r->isVisible());
        QCOMPARE(r->windowTitle(), fixture("story.txt"));
        QCOMPARE(r->descriptionLabel->text(), QStringLiteral("The story"));
        QCOMPARE(r->fileText->line(1), QStringLiteral("Second line of the story."));
        QCOMPARE(r->fileText->selStart(), 0);
        QCOMPARE(r->fileText->selLength(), 0);

        const QString none = m_home.filePath(QStringLiteral("none.txt"));
        r->openLinkedFile(none, QString());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("File ") + none + QStringLiteral(" not found"));
        QCOMPARE(r->fileText->line(1), QStringLiteral("Second line of the story."));
    }

    void printsTheWholeTextUntitled()
    {
        r->fileText->setText(QStringLiteral("第一句\r\n第二句"));
        r->fileText->setSelStart(2);
        r->fileText->setSelLength(1);
        QString printed;
        QString title = QStringLiteral("unset");
        ReaderWindow::printHandler = [&](QWidget *, QTextDocument *doc, const QString &t) {
            printed = doc->toPlainText();
            title = t;
            return true;
        };
        r->printButtonClicked();
        QCOMPARE(printed, QStringLiteral("第一句\n第二句"));
        QVERIFY(title.isEmpty());

        // A failing printer is reported and the window goes on.
        ReaderWindow::printHandler = [](QWidget *, QTextDocument *, const QString &) -> bool {
            throw std::runtime_error("printer offline");
        };
        r->printButtonClicked();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("printer offline"));
        QCOMPARE(r->fileText->text(), QStringLiteral("第一句\r\n第二句"));
    }

    // --- the window ----------------------------------------------------------------

    void closingHidesWithoutStoppingSpeech()
    {
        r->fileText->setText(QStringLiteral("一二三"));
        r->show();
        r->readButtonClicked();
        QTest::keyClick(r->fileView, Qt::Key_Escape);
        QVERIFY(!r->isVisible());
        QCOMPARE(voice->runningState(), int(SpeechVoice::Speaking));

        r->show();
        QTest::keyClick(r->fileView, Qt::Key_A); // other keys still reach the text
        QVERIFY(r->isVisible());
        QVERIFY(r->fileText->text().contains(QLatin1Char('a')));
        r->closeButton->click();
        QVERIFY(!r->isVisible());
        QCOMPARE(voice->skipCalls(), 0);
    }
};

// The reader with the main window of the whole program: one voice for both,
// the hover looked up by the main window, and its menu commands.
class TestReaderInTheProgram : public ReaderCases {
    Q_OBJECT

    std::unique_ptr<apptest::FreshProgram> m_program;
    ScriptedDialogs &dialogs() override { return m_program->dialogs(); }

private slots:
    void init()
    {
        m_program = std::make_unique<apptest::FreshProgram>();
        voice = new FakeSpeechVoice;
        apptest::state().voice.reset(voice);
        r = readerWindow;
    }
    void cleanup() { m_program.reset(); }

    void anEndOfSpeechResetsBothWindows()
    {
        // The reader's speech ends: the main window's Read button is idle too.
        r->fileText->setText(QStringLiteral("一二三"));
        r->readButtonClicked();
        mainWindow->media().setSpeaking(true);
        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());
        QVERIFY(!mainWindow->media().speaking());

        // The main window's speech ends: the reader is back to idle.
        r->readButtonClicked();
        mainWindow->media().connectVoice();
        voice->speak(QStringLiteral("字"), 1);
        QVERIFY(voice->finishSpeaking()); // the reader's
        r->readButton->setText(QStringLiteral("Stop"));
        r->pauseButton->setEnabled(true);
        QVERIFY(voice->finishSpeaking()); // the main window's
        QVERIFY(idle());
    }

    void openingAnotherFileClearsTheHoverResults()
    {
        r->dictionaryBox->setPlainText(QStringLiteral("中国 [Zhōng guó] China"));
        r->characterInfoBox->setPlainText(QStringLiteral("中 [zhōng] middle"));
        mainWindow->hover().setLastHoverChar(0x4E2D);
        dialogs().openAnswers.push_back({fixture("story.txt")});
        r->openButtonClicked();
        QVERIFY(r->dictionaryBox->toPlainText().isEmpty());
        QVERIFY(r->characterInfoBox->toPlainText().isEmpty());
        // The same character in the new text is looked up again.
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0);
    }

    void hoverFillsTheReadersBoxes()
    {
        r->fileText->setText(QStringLiteral("我好"));
        r->show();
        apptest::settings().characterInfoOnHover = false; // governs the main window's pane only
        QTextCursor after(r->fileView->document());
        after.setPosition(2);
        const QRect caret = r->fileView->cursorRect(after);
        QTest::mouseMove(r->fileView->viewport(), QPoint(caret.left() - 2, caret.center().y()));
        QVERIFY2(r->characterInfoBox->toPlainText().startsWith(QStringLiteral("好")),
                 qPrintable(r->characterInfoBox->toPlainText()));
    }

    void menuCommandsShowTheWindows()
    {
        mainWindow->setGeometry(100, 100, 800, 600);
        mainWindow->chrome().readerCommand();
        QVERIFY(r->isVisible());
        QCOMPARE(r->size(), QSize(618, 507));
        QCOMPARE(r->frameGeometry().center(), mainWindow->frameGeometry().center());

        QVERIFY(!keyboardReferenceWindow->isVisible());
        mainWindow->chrome().keyboardReferenceCommand();
        QVERIFY(keyboardReferenceWindow->isVisible());
    }
};

KORVANA_WINDOW_TEST_MAIN(TestReader, TestReaderInTheProgram)
#include "tst_reader.moc"
