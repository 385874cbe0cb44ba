// Commands of the main window that reach outside it: editing the lesson in a
// word processor or another editor, the help file, the screen background
// toggle and the panes' popup.
#include "AppTestSupport.h"
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
#include <QTemporaryDir>
#include <QToolButton>
#include <QApplication>
#include <QtTest>

using namespace korvana;
using Request = RecordingShell::Request;

namespace {
const QString kOpenError = QStringLiteral("Error opening file");

// Selecting a whole pane takes its final paragraph mark along, which the
// clipboard carries as a line end.
QString copied()
{
    QString t = QGuiApplication::clipboard()->text();
    if (t.endsWith(QLatin1String("\r\n")))
        t.chop(2);
    return t;
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    QString m_lesson;
    QString kWriter;  // a LibreOffice that can show windows
    QString m_nogui;  // the server-only build, without window plug-ins
    static QString touch(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    std::unique_ptr<ScopedRecordingShell> m_shell;
    ScriptedDialogs &dialogs() { return m_scripted->dialogs; }
    RecordingShell &shell() { return m_shell->shell; }

private slots:
    void initTestCase()
    {
        apptest::useHomeFolders(m_home);
        ProgramPaths::setProgramFolder(m_program.path());
        QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("my lessons")));
        m_lesson = m_home.filePath(QStringLiteral("my lessons/first lesson.kvl"));
        QFile f(m_lesson);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        kWriter = touch(m_home.filePath(QStringLiteral("lo/program/soffice")));
        touch(m_home.filePath(QStringLiteral("lo/program/libvclplug_genlo.so")));
        m_nogui = touch(m_home.filePath(QStringLiteral("lo-nogui/program/soffice")));
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

    void editingOutsideWithoutALessonOnlySaysSo()
    {
        for (bool inWord : {true, false}) {
            Form1->FEditInWord = inWord;
            Form1->FCurrentLesson.clear();
            Form1->EditinWord1Click();
            QCOMPARE(dialogs().lastMessage(),
                     QStringLiteral("No open lesson to edit. Either open a lesson or use Create new lesson"));
            QVERIFY(shell().requests.empty());
        }
    }

    void wordProcessorIsWriterElseTheDesktopsProgram()
    {
        Form1->FEditInWord = true;
        shell().programs.insert(QStringLiteral("soffice"), kWriter);
        Form1->EditinWord1Click();
        shell().programs.clear();
        Form1->EditinWord1Click();
        QVERIFY(dialogs().messages.empty());
        QCOMPARE(shell().requests.size(), size_t(2));
        QCOMPARE(shell().requests[0].kind, Request::Start);
        QCOMPARE(shell().requests[0].target, kWriter);
        QCOMPARE(shell().requests[0].arguments, (QStringList{QStringLiteral("--writer"), m_lesson}));
        QCOMPARE(shell().requests[1].kind, Request::Open);
        QCOMPARE(shell().requests[1].target, m_lesson);

        // A LibreOffice that cannot show a window is passed over.
        shell().requests.clear();
        shell().programs.insert(QStringLiteral("soffice"), m_nogui);
        Form1->EditinWord1Click();
        QCOMPARE(shell().requests.size(), size_t(1));
        QCOMPARE(shell().requests[0].kind, Request::Open);
        QVERIFY(dialogs().messages.empty());
    }

    void wordProcessorFailuresAreReported()
    {
        Form1->FEditInWord = true;
        shell().succeed = false;
        shell().programs.insert(QStringLiteral("soffice"), kWriter);
        Form1->EditinWord1Click();
        QCOMPARE(shell().requests.size(), size_t(2)); // Writer, then the desktop
        QCOMPARE(dialogs().messages.size(), size_t(1));
        QCOMPARE(dialogs().lastMessage(), kOpenError);

        // A missing lesson would open as an empty document: a failure too.
        shell().succeed = true;
        shell().requests.clear();
        Form1->FCurrentLesson = m_home.filePath(QStringLiteral("gone.kvl"));
        Form1->EditinWord1Click();
        QVERIFY(shell().requests.empty());
        QCOMPARE(dialogs().messages.size(), size_t(2));
        QCOMPARE(dialogs().lastMessage(), kOpenError);
    }

    void externalEditorGetsThePathWholeAndAFailureIsTold()
    {
        Form1->FEditInWord = false;
        Form1->FExternalEditor = QStringLiteral("/opt/editors/my editor");
        Form1->EditinWord1Click();
        QVERIFY(dialogs().messages.empty());
        shell().succeed = false;
        Form1->EditinWord1Click();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Cannot start the editor /opt/editors/my editor"));
        QCOMPARE(shell().requests.size(), size_t(2));
        QCOMPARE(shell().requests[1].target, QStringLiteral("/opt/editors/my editor"));
        QCOMPARE(shell().requests[1].arguments, QStringList{m_lesson});
    }

    void helpOpensOnlyAnExistingHelpFile()
    {
        const QString help = QDir(m_program.path()).filePath(QStringLiteral("kvlhelp.chm"));
        Form1->Help1Click();
        QVERIFY(shell().requests.empty());
        QFile f(help);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        Form1->Help1Click();
        QCOMPARE(shell().requests.size(), size_t(1));
        QCOMPARE(shell().requests[0].kind, Request::Open);
        QCOMPARE(QFileInfo(shell().requests[0].target).canonicalFilePath(), QFileInfo(help).canonicalFilePath());
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : Form1, Qt::Key_F1); // F1 opens it as well
        QCOMPARE(shell().requests.size(), size_t(2));
        QCOMPARE(shell().requests[1].target, shell().requests[0].target);
        QVERIFY(dialogs().messages.empty());
    }

    void backgroundTogglesWithTheToolBarButtonAndTakesItsColour()
    {
        Form1->FDisplayScreenBackground = false;
        Form1->FScreenBackgroundColor = colors::clTeal;
        Form1->ScreenBackground1Click();
        QVERIFY(Form1->FDisplayScreenBackground);
        QVERIFY(FormBackground->isVisible());
        QVERIFY(FormToolBar->tbBackground->isChecked());
        QCOMPARE(FormBackground->palette().color(QPalette::Window), toQColor(colors::clTeal));

        // The tool bar's button goes through the same command.
        FormToolBar->tbBackground->click();
        QVERIFY(!Form1->FDisplayScreenBackground);
        QVERIFY(!FormBackground->isVisible());
        QVERIFY(!FormToolBar->tbBackground->isChecked());

        // A colour changed meanwhile is taken at the next activation.
        Form1->FScreenBackgroundColor = 0x000000FF;
        FormToolBar->tbBackground->click();
        QVERIFY(FormBackground->isVisible());
        QCOMPARE(FormBackground->palette().color(QPalette::Window), QColor(255, 0, 0));
        Form1->ScreenBackground1Click();
    }

    void copyTakesTheWholePaneClickedLastAndLeavesNoSelection()
    {
        Form1->reChin->setText(QStringLiteral("first\r\nsecond"));
        Form1->reNotes->setText(QStringLiteral("a note"));
        Form1->reChin->setSel(2, 4);
        Form1->FActivePane = 3;
        Form1->Copy1->trigger();
        QCOMPARE(copied(), QStringLiteral("first\r\nsecond"));
        QCOMPARE(Form1->reChin->selLength(), 0);
        Form1->FActivePane = 4;
        Form1->Copy1->trigger();
        QCOMPARE(copied(), QStringLiteral("a note"));

        // No pane clicked yet: nothing is copied.
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        Form1->FActivePane = 0;
        Form1->Copy1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }

    void displaySwitchesThePaneClickedLast()
    {
        for (QCheckBox *b : {Form1->chbOrig, Form1->chbPin, Form1->chbChin, Form1->chbNotes})
            b->setChecked(true);
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
