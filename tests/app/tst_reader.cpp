// The reader: reading all of the text or the selection with the shared voice,
// stop, pause and resume, the buttons' states through activations and ends of
// speech from either window, opening files, linked files, printing through
// its seam, closing, and the menu commands that show the reader and the
// keyboard reference.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/richtext/RichEdit.h"
#include "platform/speech/FakeSpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "reference/TFormAsocFile.h"
#include "reference/TFormKeybRefer.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QPlainTextEdit>
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

class TestReader : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    TFormAsocFile *r = nullptr;
    FakeSpeechVoice *voice = nullptr;
    TFormAsocFile::PrintHandler m_realPrinter;

    ScriptedDialogs &dialogs() { return m_dialogs->dialogs; }
    bool idle() const
    {
        return r->bRead->text() == QLatin1String("Read") && !r->bPause->isEnabled()
               && r->bPause->text() == QLatin1String("Pause");
    }
    void deliverEvents() { QCoreApplication::processEvents(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        apptest::useFakeVoice();
        m_realPrinter = TFormAsocFile::printHandler;
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        apptest::createFreshForms();
        Form1->FFirstActivation = false;
        voice = new FakeSpeechVoice;
        Form1->SpVoice.reset(voice);
        r = FormAsocFile;
    }

    void cleanup()
    {
        DestroyForms();
        TFormAsocFile::printHandler = m_realPrinter;
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    // --- reading -------------------------------------------------------------

    void readsTheSelectionOrElseTheWholeText()
    {
        QVERIFY(idle());
        r->RichEdit1->setText(QStringLiteral("你好。再见。\r\nSecond line"));
        r->bReadClick();
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("你好。再见。\r\nSecond line")});
        QCOMPARE(r->bRead->text(), QStringLiteral("Stop"));
        QVERIFY(r->bPause->isEnabled());

        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());

        r->RichEdit1->setSelStart(3);
        r->RichEdit1->setSelLength(3);
        r->bReadClick();
        QCOMPARE(voice->spokenTexts().last(), QStringLiteral("再见。"));
        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());
    }

    void emptyTextOrNoVoice()
    {
        // Nothing to read: the buttons look started, nothing is spoken and
        // no end of speech follows; the next press does the same again.
        for (int press = 0; press < 2; ++press) {
            r->bReadClick();
            QVERIFY(voice->spokenTexts().isEmpty());
            QCOMPARE(r->bRead->text(), QStringLiteral("Stop"));
            QVERIFY(r->bPause->isEnabled());
            deliverEvents();
            QCOMPARE(r->bRead->text(), QStringLiteral("Stop"));
        }
        // Without a voice the buttons do nothing.
        r->speechEnded(0);
        Form1->SpVoice.reset();
        r->RichEdit1->setText(QStringLiteral("一二三"));
        r->bReadClick();
        r->bPauseClick();
        QVERIFY(idle());
    }

    void stopPauseResumeAndActivation()
    {
        r->RichEdit1->setText(QStringLiteral("一二三"));
        r->bReadClick();
        r->bReadClick(); // Stop
        QCOMPARE(voice->skipCalls(), 1);
        QVERIFY(idle());
        deliverEvents(); // the skipped speech's end changes nothing more
        QVERIFY(idle());

        r->bReadClick();
        r->bPauseClick();
        QCOMPARE(voice->runningState(), int(SpeechVoice::Paused));
        QCOMPARE(r->bPause->text(), QStringLiteral("Resume"));
        QCOMPARE(r->bRead->text(), QStringLiteral("Stop"));
        r->bPauseClick(); // resumes
        QCOMPARE(voice->runningState(), int(SpeechVoice::Speaking));
        QCOMPARE(r->bPause->text(), QStringLiteral("Pause"));

        // Each activation disables Pause, also while speech runs.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(r, &activate);
        QVERIFY(!r->bPause->isEnabled());
        QCOMPARE(voice->runningState(), int(SpeechVoice::Speaking));

        r->bPauseClick();
        r->bReadClick(); // from a pause: resume, then skip the rest
        QCOMPARE(voice->resumeCalls(), 2);
        QCOMPARE(voice->skipCalls(), 2);
        QCOMPARE(voice->runningState(), int(SpeechVoice::Done));
        QVERIFY(idle());

        // With nothing spoken, Pause does nothing.
        r->bPauseClick();
        QCOMPARE(voice->pauseCalls(), 2);
        QCOMPARE(r->bPause->text(), QStringLiteral("Pause"));
    }

    // --- one voice for both windows --------------------------------------------

    void anEndOfSpeechResetsBothWindows()
    {
        // The reader's speech ends: the main window's Read button is idle too.
        r->RichEdit1->setText(QStringLiteral("一二三"));
        r->bReadClick();
        Form1->FSpeaking = true;
        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());
        QVERIFY(!Form1->FSpeaking);

        // The main window's speech ends: the reader is back to idle.
        r->bReadClick();
        Form1->connectVoice();
        voice->speak(QStringLiteral("字"), 1);
        QVERIFY(voice->finishSpeaking()); // the reader's
        r->bRead->setText(QStringLiteral("Stop"));
        r->bPause->setEnabled(true);
        QVERIFY(voice->finishSpeaking()); // the main window's
        QVERIFY(idle());
    }

    void aStaleEndDoesNotResetANewReading()
    {
        r->RichEdit1->setText(QStringLiteral("一二三"));
        r->bReadClick();
        r->bReadClick(); // Stop: its end is still on its way
        r->bReadClick(); // Read again before it arrives
        QCOMPARE(voice->pendingStreams().size(), 1);
        deliverEvents();
        QCOMPARE(r->bRead->text(), QStringLiteral("Stop"));
        QVERIFY(r->bPause->isEnabled());
        QVERIFY(voice->finishSpeaking());
        QVERIFY(idle());
    }

    // --- files ---------------------------------------------------------------------

    void openingAFile()
    {
        r->TntLabel1->setText(QStringLiteral("from a lesson"));
        r->RichEdit1->setText(QStringLiteral("kept"));

        r->bOpenClick(); // cancelled
        QCOMPARE(dialogs().fileRequests.size(), size_t(1));
        QCOMPARE(dialogs().fileRequests[0].filter, QStringLiteral("All files|*.*|Text files|*.txt|RTF files|*.rtf"));
        QCOMPARE(r->RichEdit1->text(), QStringLiteral("kept"));

        const QString missing = m_home.filePath(QStringLiteral("gone.txt"));
        dialogs().openAnswers.push_back({missing});
        r->bOpenClick();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("File ") + missing + QStringLiteral(" not found"));
        QCOMPARE(r->RichEdit1->text(), QStringLiteral("kept"));
        QCOMPARE(r->windowTitle(), QStringLiteral("Reader"));

        dialogs().openAnswers.push_back({fixture("story.txt")});
        r->bOpenClick();
        QCOMPARE(r->windowTitle(), fixture("story.txt"));
        QVERIFY(r->TntLabel1->text().isEmpty());
        QCOMPARE(r->RichEdit1->line(0), QStringLiteral("第一句。第二句。"));
        QCOMPARE(r->RichEdit1->selStart(), 0);

        dialogs().openAnswers.push_back({fixture("story.rtf")});
        r->bOpenClick();
        QCOMPARE(r->RichEdit1->text(), QStringLiteral("Rich story\r\nsecond line"));
        QCOMPARE(dialogs().messages.size(), size_t(1));
    }

    void chineseTextFilesInTheirOwnEncodings()
    {
        // GB18030 and Big5, the usual encodings of Chinese text files, and
        // UTF-16 without its mark.
        dialogs().openAnswers.push_back({fixture("gb18030.txt")});
        r->bOpenClick();
        QCOMPARE(r->RichEdit1->line(0), QStringLiteral("我是中国人。今天天气很好，我们一起去公园散步吧。"));
        dialogs().openAnswers.push_back({fixture("big5.txt")});
        r->bOpenClick();
        QCOMPARE(r->RichEdit1->line(1), QStringLiteral("學習漢語不難，只要每天練習，就能進步。"));
        const QString utf16 = m_home.filePath(QStringLiteral("utf16.txt"));
        QFile f(utf16);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QString text = QStringLiteral("第一句。\n第二句。");
        f.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        f.close();
        dialogs().openAnswers.push_back({utf16});
        r->bOpenClick();
        QCOMPARE(r->RichEdit1->line(1), QStringLiteral("第二句。"));
        // Latin-1 text that is no UTF-8 reads as Windows-1252.
        const QString latin = m_home.filePath(QStringLiteral("latin.txt"));
        QFile l(latin);
        QVERIFY(l.open(QIODevice::WriteOnly));
        l.write("Caf\xE9 cr\xE8me \x80 5\n");
        l.close();
        dialogs().openAnswers.push_back({latin});
        r->bOpenClick();
        QCOMPARE(r->RichEdit1->line(0), QStringLiteral("Café crème € 5"));
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
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(TFormAsocFile::ReaderMaxBytes + 1));
        f.close();
        r->RichEdit1->setText(QStringLiteral("kept"));
        for (const QString &name : {fifo, QStringLiteral("/dev/zero"), big}) {
            r->openLinkedFile(name, QStringLiteral("linked"));
            QVERIFY2(dialogs().lastMessage().contains(name), qPrintable(dialogs().lastMessage()));
            dialogs().openAnswers.push_back({name});
            r->bOpenClick();
            QCOMPARE(r->RichEdit1->text(), QStringLiteral("kept"));
        }
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("File ") + big + QStringLiteral(" is too large for the reader (over 16 MB)"));
    }

    void openingAnotherFileClearsTheHoverResults()
    {
        r->mDict->setPlainText(QStringLiteral("中国 [Zhōng guó] China"));
        r->mUnihan->setPlainText(QStringLiteral("中 [zhōng] middle"));
        Form1->FLastHoverChar = 0x4E2D;
        dialogs().openAnswers.push_back({fixture("story.txt")});
        r->bOpenClick();
        QVERIFY(r->mDict->toPlainText().isEmpty());
        QVERIFY(r->mUnihan->toPlainText().isEmpty());
        // The same character in the new text is looked up again.
        QCOMPARE(Form1->FLastHoverChar, 0);
    }

    void aLinkedFileOpensWithItsDescription()
    {
        r->RichEdit1->setText(QStringLiteral("old"));
        r->openLinkedFile(fixture("story.txt"), QStringLiteral("The story"));
        QVERIFY(r->isVisible());
        QCOMPARE(r->windowTitle(), fixture("story.txt"));
        QCOMPARE(r->TntLabel1->text(), QStringLiteral("The story"));
        QCOMPARE(r->RichEdit1->line(1), QStringLiteral("Second line of the story."));
        QCOMPARE(r->RichEdit1->selStart(), 0);
        QCOMPARE(r->RichEdit1->selLength(), 0);

        const QString none = m_home.filePath(QStringLiteral("none.txt"));
        r->openLinkedFile(none, QString());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("File ") + none + QStringLiteral(" not found"));
        QCOMPARE(r->RichEdit1->line(1), QStringLiteral("Second line of the story."));
    }

    void printsTheWholeTextUntitled()
    {
        r->RichEdit1->setText(QStringLiteral("第一句\r\n第二句"));
        r->RichEdit1->setSelStart(2);
        r->RichEdit1->setSelLength(1);
        QString printed;
        QString title = QStringLiteral("unset");
        TFormAsocFile::printHandler = [&](QWidget *, QTextDocument *doc, const QString &t) {
            printed = doc->toPlainText();
            title = t;
            return true;
        };
        r->Button2Click();
        QCOMPARE(printed, QStringLiteral("第一句\n第二句"));
        QVERIFY(title.isEmpty());

        // A failing printer is reported and the window goes on.
        TFormAsocFile::printHandler = [](QWidget *, QTextDocument *, const QString &) -> bool {
            throw std::runtime_error("printer offline");
        };
        r->Button2Click();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("printer offline"));
        QCOMPARE(r->RichEdit1->text(), QStringLiteral("第一句\r\n第二句"));
    }

    void hoverFillsTheReadersBoxes()
    {
        r->RichEdit1->setText(QStringLiteral("我好"));
        r->show();
        Form1->FShowHanziInfo = false; // governs the main window's pane only
        QTextCursor after(r->RichEdit1View->document());
        after.setPosition(2);
        const QRect caret = r->RichEdit1View->cursorRect(after);
        QTest::mouseMove(r->RichEdit1View->viewport(), QPoint(caret.left() - 2, caret.center().y()));
        QVERIFY2(r->mUnihan->toPlainText().startsWith(QStringLiteral("好")), qPrintable(r->mUnihan->toPlainText()));
    }

    // --- the window ----------------------------------------------------------------

    void closingHidesWithoutStoppingSpeech()
    {
        r->RichEdit1->setText(QStringLiteral("一二三"));
        r->show();
        r->bReadClick();
        QTest::keyClick(r->RichEdit1View, Qt::Key_Escape);
        QVERIFY(!r->isVisible());
        QCOMPARE(voice->runningState(), int(SpeechVoice::Speaking));

        r->show();
        QTest::keyClick(r->RichEdit1View, Qt::Key_A); // other keys still reach the text
        QVERIFY(r->isVisible());
        QVERIFY(r->RichEdit1->text().contains(QLatin1Char('a')));
        r->BitBtn1->click();
        QVERIFY(!r->isVisible());
        QCOMPARE(voice->skipCalls(), 0);
    }

    void menuCommandsShowTheWindows()
    {
        Form1->setGeometry(100, 100, 800, 600);
        Form1->mlReaderClick();
        QVERIFY(r->isVisible());
        QCOMPARE(r->size(), QSize(618, 507));
        QCOMPARE(r->frameGeometry().center(), Form1->frameGeometry().center());

        QVERIFY(!FormKeybRefer->isVisible());
        Form1->KeyboardReference1Click();
        QVERIFY(FormKeybRefer->isVisible());
    }
};

QTEST_MAIN(TestReader)
#include "tst_reader.moc"
