// Start-up: the windows, the first activation's choice of the Chinese voice,
// the reminder, and the status line.
#include "app/FlashRunner.h"
#include "app/StatusLine.h"
#include "app/TermMedia.h"
#include "app/WindowChrome.h"
#include "platform/files/SafeFiles.h"
#include "platform/ui/Errors.h"
#include "practice/PictureWindow.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/ToolBarWindow.h"
#include "reference/DictionaryData.h"
#include "reference/DictionaryWindow.h"
#include "settings/OptionsDialog.h"
#include "settings/ReminderDialog.h"
#include "settings/SettingsFile.h"
#include "support/AppTestSupport.h"
#include "support/ChildProcess.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsEffect>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace korvana;

class TestStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    FakeSpeechVoice *m_voice = nullptr;
    QList<VoiceToken> m_voices;
    bool m_failSpeech = false;
    std::unique_ptr<ScopedScriptedDialogs> m_dialogs;

    void start(const QList<VoiceToken> &voices)
    {
        m_voices = voices;
        createWindows();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        MainWindow::setVoiceFactory([this]() -> std::unique_ptr<SpeechVoice> {
            if (m_failSpeech)
                throw Error(QStringLiteral("espeak-ng data not found"));
            auto v = std::make_unique<FakeSpeechVoice>();
            v->setVoices(m_voices);
            m_voice = v.get();
            return v;
        });
    }

    void init()
    {
        m_failSpeech = false;
        m_voice = nullptr;
        m_dialogs = std::make_unique<ScopedScriptedDialogs>();
        QFile::remove(SettingsFile::path());
    }

    void cleanup()
    {
        destroyWindows();
        m_dialogs.reset();
    }

    void windowsExistInOrderBeforeTheLoop()
    {
        start({});
        QVERIFY(mainWindow && optionsDialog && reminderDialog);
        QVERIFY(mainWindow->firstActivation());
        QVERIFY(mainWindow->editorLoadPending());
        QCOMPARE(apptest::store().currentIndex, 0);
        QCOMPARE(apptest::store().termTable.rowCount(), 1);
        QCOMPARE(mainWindow->flash().flashColor(), quint32(0x0000FF));
    }

    // The program leaves the dictionary, the character database and the
    // first activation's work for after the main window's first paint; a
    // search before then loads the data.
    void dataLoadsAfterTheFirstPaintOrWhenFirstNeeded()
    {
        const QString dict = apptest::writeFile(m_home.filePath(QStringLiteral("small.uni")),
                                                "# header\n\xe4\xb8\xad\xe5\x9b\xbd [Zhong1 guo2] /China/\n");
        struct Reset {
            ~Reset() { MainWindow::setLoadDataAfterFirstPaint(false); }
        } reset;
        for (bool painted : {false, true}) {
            MainWindow::setLoadDataAfterFirstPaint(true);
            start({});
            QVERIFY(apptest::state().dictionary.text().isEmpty());
            QVERIFY(apptest::state().referenceData.unihanText.isEmpty());
            apptest::settings().dictionaryFile = dict;
            if (painted) {
                // The first activation's work waits for the paint too.
                mainWindow->show();
                mainWindow->onActivate();
                QVERIFY(mainWindow->firstActivation());
                QTRY_VERIFY(!apptest::state().dictionary.text().isEmpty());
                QTRY_VERIFY(!mainWindow->firstActivation());
            } else {
                QCOMPARE(apptest::state().dictionary.exactFind(QStringLiteral("\u4e2d\u56fd"), false).size(), 1);
            }
            QVERIFY(!apptest::state().referenceData.unihanText.isEmpty());
            destroyWindows();
        }
    }

    void noChineseVoiceSwitchesReadingOff()
    {
        start({FakeSpeechVoice::makeVoice("en", "English", "409"),
               FakeSpeechVoice::makeVoice("cmn-tw", "Mandarin and English", "804;409")});
        mainWindow->onActivate();
        QVERIFY(!apptest::control<QCheckBox>("readSwitch")->isChecked());
        QVERIFY(!apptest::control<QCheckBox>("readSwitch")->isEnabled());
        QVERIFY(apptest::control<QPushButton>("readButton")->isHidden());
        // Every voice is still listed.
        QCOMPARE(optionsDialog->voiceCombo->count(), 2);
        QCOMPARE(optionsDialog->voiceCombo->itemText(1), QStringLiteral("Mandarin and English"));
        QVERIFY(!mainWindow->firstActivation());
        // Said once, the caption looks disabled, and Enter reads nothing in
        // another language's voice.
        QCOMPARE(apptest::status(), QStringLiteral("No Mandarin voice: reading aloud is off"));
        QVERIFY(!apptest::control<korvana::ClickLabel>("readAloudLabel")->isEnabled()
                && apptest::control<korvana::ClickLabel>("readAloudLabel")->graphicsEffect());
        apptest::loadLines(mainWindow, {QStringLiteral("<OR=one><CH=字><TY=w><ST=u>")});
        mainWindow->nextButtonClicked();
        QTest::keyClick(mainWindow, Qt::Key_Return);
        QVERIFY(m_voice->spokenTexts().isEmpty());
        QVERIFY(!mainWindow->media().speaking());
    }

    void closingTheMainWindowEndsTheRun()
    {
        // The real message loop: closing the main window (by its Exit item)
        // ends it, whatever other windows show, and saves the settings.
        start({});
        SettingsFile::setShowReminder(false);
        apptest::settings().displayScreenBackground = true;
        mainWindow->show();
        for (QWidget *w :
             std::initializer_list<QWidget *>{screenBackgroundWindow, pictureWindow, dictionaryWindow, toolBarWindow})
            w->show();
        QFile::remove(SettingsFile::path());
        QTimer::singleShot(0, mainWindow, [] { mainWindow->chrome().exitButtonClicked(); });
        QTimer guard; // a loop that never ends fails instead of hanging
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QVERIFY(QFile::exists(SettingsFile::path()));
    }

    void closingHidesTheWindowsBeforeTheWrites()
    {
        // The windows leave the screen first; the settings are written
        // after, before the run ends. A settings file that cannot be
        // written (a folder in its place) is said while that happens.
        start({});
        SettingsFile::setShowReminder(false);
        mainWindow->show();
        dictionaryWindow->show();
        QVERIFY(QFile::remove(SettingsFile::path()) && QDir().mkpath(SettingsFile::path()));
        QStringList visibleWhileWriting;
        m_dialogs->dialogs.onMessage = [&](const ScriptedDialogs::Shown &) {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible())
                    visibleWhileWriting << w->objectName();
        };
        QTimer::singleShot(0, mainWindow, [] { mainWindow->chrome().exitButtonClicked(); });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(QDir().rmdir(SettingsFile::path()));
        QCOMPARE(m_dialogs->dialogs.messages.size(), size_t(1));
        QCOMPARE(visibleWhileWriting, QStringList());
    }

    void theLastChineseVoiceWins()
    {
        start({FakeSpeechVoice::makeVoice("a", "First Chinese", "804"),
               FakeSpeechVoice::makeVoice("en", "English", "409"),
               FakeSpeechVoice::makeVoice("b", "Second Chinese", "804")});
        apptest::control<QCheckBox>("readSwitch")->setChecked(true);
        mainWindow->onActivate();
        QCOMPARE(optionsDialog->voiceCombo->currentIndex(), 2);
        QVERIFY(m_voice);
        QCOMPARE(m_voice->voice().id, QStringLiteral("b"));
        QVERIFY(apptest::control<QCheckBox>("readSwitch")->isEnabled());
        QVERIFY(!apptest::control<QPushButton>("readButton")->isHidden());
        QCOMPARE(m_voice->eventInterests(), 33790);
    }

    void reminderFollowsItsSwitchAndSecondActivationDoesNothing()
    {
        start({FakeSpeechVoice::makeVoice("a", "Chinese", "804")});
        mainWindow->onActivate();
        QCOMPARE(m_dialogs->dialogs.modalsShown.size(), size_t(1));
        QCOMPARE(m_dialogs->dialogs.modalsShown[0], QStringLiteral("reminderDialog"));
        mainWindow->onActivate();
        QCOMPARE(m_dialogs->dialogs.modalsShown.size(), size_t(1));
        QCOMPARE(m_voice->getVoicesCalls(), 1);
        QCOMPARE(optionsDialog->voiceCombo->count(), 1);
    }

    void interruptedSaveIsToldAtStartAndAtTheNextSave()
    {
        // Two names make a save write into the file; a kill part-way leaves
        // a copy of the old content, which the user must be able to find.
        SettingsFile::setShowReminder(false);
        const QString lesson = m_home.filePath("lo.kvl");
        QVERIFY(files::writeFileAtomically(lesson, "old"));
        QVERIFY(
            ::link(QFile::encodeName(lesson).constData(), QFile::encodeName(m_home.filePath("backup.kvl")).constData())
            == 0);
        auto killedSave = [&] {
            return childtest::killedAtFileSize(4096, [&] {
                files::writeFileAtomically(lesson, QByteArray(10000, 'n'));
                return QByteArray("finished");
            });
        };
        QCOMPARE(killedSave(), childtest::kChildFailed);
        start({});
        mainWindow->onActivate();
        QCOMPARE(m_dialogs->dialogs.messages.size(), size_t(1));
        const QString told = m_dialogs->dialogs.messages[0].text;
        QVERIFY2(told.contains(lesson) && told.contains(files::saveCopyFolder()), qPrintable(told));

        QCOMPARE(killedSave(), childtest::kChildFailed);
        QVERIFY(files::writeFileAtomically(lesson, "whole"));
        QTRY_COMPARE(m_dialogs->dialogs.messages.size(), size_t(2));
        QVERIFY(m_dialogs->dialogs.messages[1].text.contains(lesson));
    }

    void activationInsideTheReminderDoesNotRestartTheWork()
    {
        start({FakeSpeechVoice::makeVoice("a", "Chinese", "804")});
        // Closing a modal window activates the main window again while the
        // first activation is still running.
        int nested = 0;
        m_dialogs->dialogs.onModal = [&](QDialog *) {
            ++nested;
            mainWindow->onActivate();
        };
        mainWindow->onActivate();
        QCOMPARE(nested, 1);
        QCOMPARE(m_voice->getVoicesCalls(), 1);
        QVERIFY(!mainWindow->firstActivation());
    }

    void speechThatCannotStartLeavesTheProgramRunning()
    {
        m_failSpeech = true;
        start({});
        apptest::control<QCheckBox>("readSwitch")->setChecked(true);
        mainWindow->onActivate();
        QVERIFY(!mainWindow->firstActivation());
        QVERIFY(!apptest::control<QCheckBox>("readSwitch")->isEnabled());
        QVERIFY(apptest::control<QPushButton>("readButton")->isHidden());
        QVERIFY(!apptest::state().voice);
        QVERIFY(!apptest::status().isEmpty());
        // No error box: the program says it once in the status line.
        QVERIFY(m_dialogs->dialogs.messages.empty());
        mainWindow->onActivate();
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void statusLineClearsItselfAfterTheLastMessage()
    {
        start({});
        mainWindow->showStatus(QStringLiteral("Auto mode ON"));
        QCOMPARE(apptest::status(), QStringLiteral("Auto mode ON"));
        QVERIFY(apptest::control<QTimer>("statusTimer")->isActive());
        QCOMPARE(apptest::control<QTimer>("statusTimer")->interval(), 5000);
        mainWindow->showStatus(QStringLiteral("Lessons saved"));
        QCOMPARE(apptest::status(), QStringLiteral("Lessons saved"));
        QVERIFY(apptest::control<QTimer>("statusTimer")->remainingTime() > 4000);
        // The tick clears the line and the timer goes on.
        mainWindow->statusLine().timerTimeout();
        QVERIFY(apptest::status().isEmpty());
        QVERIFY(apptest::control<QTimer>("statusTimer")->isActive());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
