// Commands of the main window that reach outside it: editing the lesson in a
// word processor or another editor, the help file, the screen background
// toggle and the panes' popup.
#include "app/HiddenPanes.h"
#include "platform/richtext/RichEdit.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/ToolBarWindow.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"
#include "support/ProgramTestCase.h"
#include "support/RecordingShell.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QToolButton>
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

class TestCommands : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.firstActivationDone = false, .shown = true, .programFolder = true}; }
    QString m_lesson;
    QString kWriter; // a LibreOffice that can show windows
    QString m_nogui; // the server-only build, without window plug-ins
    // An empty file in the temporary home.
    QString touch(const QString &name) { return apptest::writeFile(homePath(name), {}); }
    std::unique_ptr<ScopedRecordingShell> m_shell;
    RecordingShell &shell() { return m_shell->shell; }

    void programStarted() override
    {
        m_lesson = touch(QStringLiteral("my lessons/first lesson.kvl"));
        kWriter = touch(QStringLiteral("lo/program/soffice"));
        touch(QStringLiteral("lo/program/libvclplug_genlo.so"));
        m_nogui = touch(QStringLiteral("lo-nogui/program/soffice"));
    }
    void caseStarting() override
    {
        m_shell = std::make_unique<ScopedRecordingShell>();
        dialogs().messages.clear();
        apptest::store().currentLesson = m_lesson;
    }
    void caseEnded() override { m_shell.reset(); }

private slots:
    void editingOutsideWithoutALessonOnlySaysSo()
    {
        for (bool inWord : {true, false}) {
            apptest::settings().editInWordProcessor = inWord;
            apptest::store().currentLesson.clear();
            mainWindow->editInWordProcessorCommand();
            QCOMPARE(dialogs().lastMessage(),
                     QStringLiteral("No open lesson to edit. Either open a lesson or use Create new lesson"));
            QVERIFY(shell().requests.empty());
        }
    }

    void wordProcessorIsWriterElseTheDesktopsProgram()
    {
        apptest::settings().editInWordProcessor = true;
        shell().programs.insert(QStringLiteral("soffice"), kWriter);
        mainWindow->editInWordProcessorCommand();
        shell().programs.clear();
        mainWindow->editInWordProcessorCommand();
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
        mainWindow->editInWordProcessorCommand();
        QCOMPARE(shell().requests.size(), size_t(1));
        QCOMPARE(shell().requests[0].kind, Request::Open);
        QVERIFY(dialogs().messages.empty());
    }

    void wordProcessorFailuresAreReported()
    {
        apptest::settings().editInWordProcessor = true;
        shell().succeed = false;
        shell().programs.insert(QStringLiteral("soffice"), kWriter);
        mainWindow->editInWordProcessorCommand();
        QCOMPARE(shell().requests.size(), size_t(2)); // Writer, then the desktop
        QCOMPARE(dialogs().messages.size(), size_t(1));
        // The lesson is fine: the editor is what could not start.
        QVERIFY(dialogs().lastMessage().startsWith(QStringLiteral("Cannot start the editor for ") + m_lesson + '\n'));

        // A missing lesson would open as an empty document: a failure too.
        shell().succeed = true;
        shell().requests.clear();
        apptest::store().currentLesson = homePath(QStringLiteral("gone.kvl"));
        mainWindow->editInWordProcessorCommand();
        QVERIFY(shell().requests.empty());
        QCOMPARE(dialogs().messages.size(), size_t(2));
        QCOMPARE(dialogs().lastMessage(), kOpenError);
    }

    void messageBoxesShowTheirTitle()
    {
        // The real box: wide enough for its title beside the buttons that
        // desktops put in a title bar, however short its text.
        Dialogs::setInstance(nullptr);
        int width = 0;
        QString title;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            width = box->width();
            title = box->windowTitle();
            box->accept();
        });
        Dialogs::instance().message(mainWindow, kOpenError, MsgButtons::Ok);
        Dialogs::setInstance(&dialogs());
        QVERIFY(!title.isEmpty());
        QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
        titleFont.setBold(true);
        QVERIFY2(width >= QFontMetrics(titleFont).horizontalAdvance(title) + 150, qPrintable(QString::number(width)));
    }

    void externalEditorGetsThePathWholeAndAFailureIsTold()
    {
        apptest::settings().editInWordProcessor = false;
        apptest::settings().externalEditor = QStringLiteral("/opt/editors/my editor");
        mainWindow->editInWordProcessorCommand();
        QVERIFY(dialogs().messages.empty());
        shell().succeed = false;
        mainWindow->editInWordProcessorCommand();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Cannot start the editor /opt/editors/my editor"));
        QCOMPARE(shell().requests.size(), size_t(2));
        QCOMPARE(shell().requests[1].target, QStringLiteral("/opt/editors/my editor"));
        QCOMPARE(shell().requests[1].arguments, QStringList{m_lesson});
    }

    void helpOpensOnlyAnExistingHelpFile()
    {
        const QString help = programFolderPath(QStringLiteral("kvlhelp.chm"));
        mainWindow->helpCommand();
        QVERIFY(shell().requests.empty());
        apptest::writeFile(help, {});
        mainWindow->helpCommand();
        QCOMPARE(shell().requests.size(), size_t(1));
        QCOMPARE(shell().requests[0].kind, Request::Open);
        QCOMPARE(QFileInfo(shell().requests[0].target).canonicalFilePath(), QFileInfo(help).canonicalFilePath());
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : mainWindow, Qt::Key_F1); // F1 opens it as well
        QCOMPARE(shell().requests.size(), size_t(2));
        QCOMPARE(shell().requests[1].target, shell().requests[0].target);
        QVERIFY(dialogs().messages.empty());
    }

    void backgroundTogglesWithTheToolBarButtonAndTakesItsColour()
    {
        apptest::settings().displayScreenBackground = false;
        apptest::settings().screenBackgroundColor = colors::clTeal;
        mainWindow->screenBackgroundCommand();
        QVERIFY(apptest::settings().displayScreenBackground);
        QVERIFY(screenBackgroundWindow->isVisible());
        QVERIFY(toolBarWindow->screenBackgroundButton->isChecked());
        QCOMPARE(screenBackgroundWindow->palette().color(QPalette::Window), toQColor(colors::clTeal));

        // The tool bar's button goes through the same command.
        toolBarWindow->screenBackgroundButton->click();
        QVERIFY(!apptest::settings().displayScreenBackground);
        QVERIFY(!screenBackgroundWindow->isVisible());
        QVERIFY(!toolBarWindow->screenBackgroundButton->isChecked());

        // A colour changed meanwhile is taken at the next activation.
        apptest::settings().screenBackgroundColor = 0x000000FF;
        toolBarWindow->screenBackgroundButton->click();
        QVERIFY(screenBackgroundWindow->isVisible());
        QCOMPARE(screenBackgroundWindow->palette().color(QPalette::Window), QColor(255, 0, 0));
        mainWindow->screenBackgroundCommand();
    }

    void copyTakesTheWholePaneClickedLastAndLeavesNoSelection()
    {
        apptest::control<korvana::RichEdit>("charactersText")->setText(QStringLiteral("first\r\nsecond"));
        apptest::control<korvana::RichEdit>("notesText")->setText(QStringLiteral("a note"));
        apptest::control<korvana::RichEdit>("charactersText")->setSel(2, 4);
        mainWindow->hiddenPanes().setActivePane(korvana::Pane::Characters);
        apptest::control<QAction>("copyAction")->trigger();
        QCOMPARE(copied(), QStringLiteral("first\r\nsecond"));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selLength(), 0);
        mainWindow->hiddenPanes().setActivePane(korvana::Pane::Notes);
        apptest::control<QAction>("copyAction")->trigger();
        QCOMPARE(copied(), QStringLiteral("a note"));

        // No pane clicked yet: nothing is copied.
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        mainWindow->hiddenPanes().setActivePane(std::nullopt);
        apptest::control<QAction>("copyAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }

    void displaySwitchesThePaneClickedLast()
    {
        for (QCheckBox *b :
             {apptest::control<QCheckBox>("translationSwitch"), apptest::control<QCheckBox>("pinyinSwitch"),
              apptest::control<QCheckBox>("charactersSwitch"), apptest::control<QCheckBox>("notesSwitch")})
            b->setChecked(true);
        mainWindow->hiddenPanes().setActivePane(korvana::Pane::Pinyin);
        apptest::control<QAction>("displayAction")->trigger();
        QVERIFY(!apptest::control<QCheckBox>("pinyinSwitch")->isChecked());
        QVERIFY(apptest::control<QCheckBox>("notesSwitch")->isChecked());
        apptest::control<QAction>("displayAction")->trigger();
        QVERIFY(apptest::control<QCheckBox>("pinyinSwitch")->isChecked());
        mainWindow->hiddenPanes().setActivePane(std::nullopt);
        apptest::control<QAction>("displayAction")->trigger();
        for (QCheckBox *b :
             {apptest::control<QCheckBox>("translationSwitch"), apptest::control<QCheckBox>("pinyinSwitch"),
              apptest::control<QCheckBox>("charactersSwitch"), apptest::control<QCheckBox>("notesSwitch")})
            QVERIFY(b->isChecked());
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
