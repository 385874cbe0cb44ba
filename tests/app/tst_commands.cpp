// Commands of the main window that reach outside it: editing the lesson in a
// word processor or another editor, the help file, the screen background
// toggle and the panes' popup.
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/richtext/RichEdit.h"
#include "platform/shell/RecordingShell.h"
#include "platform/ui/Dialogs.h"
#include "practice/TFormBackground.h"
#include "practice/TFormToolBar.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

namespace {
const QString kNoLesson =
    QStringLiteral("No open lesson to edit. Either open a lesson or use Create new lesson");

// Selecting a whole pane takes its final paragraph mark along, which the
// clipboard then carries as a line end.
QString copied()
{
    QString t = QGuiApplication::clipboard()->text();
    if (t.endsWith(QLatin1String("\r\n")))
        t.chop(2);
    return t;
}
}

class TestCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    QString m_lesson;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    std::unique_ptr<ScopedRecordingShell> m_shell;
    ScriptedDialogs &dialogs() { return m_scripted->dialogs; }
    RecordingShell &shell() { return m_shell->shell; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(m_program.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toUtf8());
        ProgramPaths::setProgramFolder(m_program.path());
        QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("my lessons")));
        m_lesson = m_home.filePath(QStringLiteral("my lessons/first lesson.kvl"));
        QFile f(m_lesson);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<OR=house><PI=fang2zi><CH=x><TY=w><ST=u>");
        f.close();
        m_scripted = std::make_unique<ScopedScriptedDialogs>();
        CreateForms();
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }
    void cleanupTestCase()
    {
        DestroyForms();
        m_scripted.reset();
        ProgramPaths::setProgramFolder(QString());
    }
    void init()
    {
        m_shell = std::make_unique<ScopedRecordingShell>();
        dialogs().messages.clear();
        Form1->FCurrentLesson = m_lesson;
    }
    void cleanup() { m_shell.reset(); }

    // --- editing outside ------------------------------------------------------------

    void editingOutsideWithoutALessonOnlySaysSo()
    {
        for (bool inWord : {true, false}) {
            Form1->FEditInWord = inWord;
            Form1->FExternalEditor = QStringLiteral("/usr/bin/editor");
            Form1->FCurrentLesson.clear();
            dialogs().messages.clear();
            Form1->EditinWord1Click();
            QCOMPARE(dialogs().messages.size(), size_t(1));
            QCOMPARE(dialogs().lastMessage(), kNoLesson);
            QVERIFY(shell().requests.empty());
        }
    }

    void wordProcessorIsWriterWhenInstalled()
    {
        Form1->FEditInWord = true;
        shell().programs.insert(QStringLiteral("soffice"), QStringLiteral("/opt/lo/program/soffice"));
        Form1->EditinWord1Click();
        QVERIFY(dialogs().messages.empty());
        QCOMPARE(shell().requests.size(), size_t(1));
        const auto &r = shell().requests[0];
        QCOMPARE(r.kind, RecordingShell::Request::Start);
        QCOMPARE(r.target, QStringLiteral("/opt/lo/program/soffice"));
        QCOMPARE(r.arguments, (QStringList{QStringLiteral("--writer"), m_lesson}));
    }

    void wordProcessorFallsBackToTheDesktopsProgram()
    {
        Form1->FEditInWord = true;
        Form1->EditinWord1Click();
        QVERIFY(dialogs().messages.empty());
        QCOMPARE(shell().requests.size(), size_t(1));
        QCOMPARE(shell().requests[0].kind, RecordingShell::Request::Open);
        QCOMPARE(shell().requests[0].target, m_lesson);
    }

    void wordProcessorFailureIsReported()
    {
        Form1->FEditInWord = true;
        shell().succeed = false;
        shell().programs.insert(QStringLiteral("soffice"), QStringLiteral("/opt/lo/program/soffice"));
        Form1->EditinWord1Click();
        // Writer would not start, nor the desktop's program: one message.
        QCOMPARE(shell().requests.size(), size_t(2));
        QCOMPARE(dialogs().messages.size(), size_t(1));
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Error opening file"));
    }

    void missingLessonFileIsAFailureNotAnEmptyDocument()
    {
        Form1->FEditInWord = true;
        Form1->FCurrentLesson = m_home.filePath(QStringLiteral("gone.kvl"));
        Form1->EditinWord1Click();
        QVERIFY(shell().requests.empty());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Error opening file"));
    }

    void externalEditorGetsThePathWholeAndFailsQuietly()
    {
        Form1->FEditInWord = false;
        Form1->FExternalEditor = QStringLiteral("/opt/editors/my editor");
        shell().succeed = false;
        shell().programs.insert(QStringLiteral("soffice"), QStringLiteral("/opt/lo/program/soffice"));
        Form1->EditinWord1Click();
        QVERIFY(dialogs().messages.empty());
        QCOMPARE(shell().requests.size(), size_t(1));
        QCOMPARE(shell().requests[0].kind, RecordingShell::Request::Start);
        QCOMPARE(shell().requests[0].target, QStringLiteral("/opt/editors/my editor"));
        QCOMPARE(shell().requests[0].arguments, QStringList{m_lesson});
    }

    // --- help ------------------------------------------------------------------------

    void helpOpensOnlyAnExistingHelpFile()
    {
        const QString help = QDir(m_program.path()).filePath(QStringLiteral("kvlhelp.chm"));
        QFile::remove(help);
        Form1->Help1Click();
        QVERIFY(shell().requests.empty());
        QVERIFY(dialogs().messages.empty());

        QFile f(help);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        Form1->Help1Click();
        QCOMPARE(shell().requests.size(), size_t(1));
        QCOMPARE(shell().requests[0].kind, RecordingShell::Request::Open);
        QCOMPARE(QFileInfo(shell().requests[0].target).canonicalFilePath(), QFileInfo(help).canonicalFilePath());
        QFile::remove(help);
    }

    // --- screen background ------------------------------------------------------------

    void backgroundTogglesWithTheToolBarButton()
    {
        Form1->FDisplayScreenBackground = false;
        FormBackground->hide();
        Form1->FScreenBackgroundColor = colors::clTeal;

        Form1->ScreenBackground1Click();
        QVERIFY(Form1->FDisplayScreenBackground);
        QVERIFY(FormBackground->isVisible());
        QVERIFY(FormToolBar->tbBackground->isChecked());
        QCOMPARE(FormBackground->palette().color(QPalette::Window), toQColor(colors::clTeal));

        // The tool bar's own button goes through the same command.
        FormToolBar->tbBackground->click();
        QVERIFY(!Form1->FDisplayScreenBackground);
        QVERIFY(!FormBackground->isVisible());
        QVERIFY(!FormToolBar->tbBackground->isChecked());

        FormToolBar->tbBackground->click();
        QVERIFY(Form1->FDisplayScreenBackground);
        QVERIFY(FormBackground->isVisible());
        QVERIFY(FormToolBar->tbBackground->isChecked());
        Form1->ScreenBackground1Click();
        QVERIFY(!FormBackground->isVisible());
    }

    void backgroundTakesAChangedColourWhenActivated()
    {
        Form1->FScreenBackgroundColor = 0x000000FF; // red
        FormBackground->FormActivate();
        QCOMPARE(FormBackground->palette().color(QPalette::Window), QColor(255, 0, 0));
        Form1->FScreenBackgroundColor = 0x00404000;
        FormBackground->FormActivate();
        QCOMPARE(FormBackground->palette().color(QPalette::Window), QColor(0, 0x40, 0x40));
    }

    // --- the panes' popup -------------------------------------------------------------

    void copyTakesTheWholePaneAndLeavesNoSelection()
    {
        Form1->reChin->setText(QStringLiteral("first\r\nsecond"));
        Form1->reChin->setSel(2, 4);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        Form1->FActivePane = 3;
        Form1->Copy1->trigger();
        QCOMPARE(copied(), QStringLiteral("first\r\nsecond"));
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));
        QCOMPARE(Form1->reChin->selLength(), 0);

        // No pane clicked yet: nothing is copied.
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        Form1->FActivePane = 0;
        Form1->Copy1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }

    void copyActsOnThePaneClickedLast()
    {
        Form1->reNotes->setText(QStringLiteral("a note"));
        Form1->reOrig->setText(QStringLiteral("house"));
        Form1->FActivePane = 4;
        Form1->Copy1->trigger();
        QCOMPARE(copied(), QStringLiteral("a note"));
        Form1->FActivePane = 1;
        Form1->Copy1->trigger();
        QCOMPARE(copied(), QStringLiteral("house"));
    }

    void displaySwitchesThePaneClickedLast()
    {
        Form1->chbPin->setChecked(true);
        Form1->chbNotes->setChecked(true);
        Form1->FActivePane = 2;
        Form1->Hide1->trigger();
        QVERIFY(!Form1->chbPin->isChecked());
        QVERIFY(Form1->chbNotes->isChecked());
        Form1->Hide1->trigger();
        QVERIFY(Form1->chbPin->isChecked());

        Form1->FActivePane = 0;
        Form1->Hide1->trigger();
        for (QCheckBox *b : {Form1->chbOrig, Form1->chbPin, Form1->chbChin, Form1->chbNotes})
            QVERIFY(b->isChecked());
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
