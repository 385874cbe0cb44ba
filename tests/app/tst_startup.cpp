// Start-up: the windows, the first activation's choice of the Chinese voice,
// the reminder, and the status line.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/speech/FakeSpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "settings/SettingsFile.h"
#include "settings/TFormOptions.h"
#include "settings/TFormReminder.h"
#include "practice/TFormBackground.h"
#include "practice/TFormToolBar.h"
#include "practice/TformPicture.h"
#include "reference/TFormDict.h"

#include <QApplication>
#include <QCheckBox>
#include <QGraphicsEffect>
#include <QComboBox>
#include <QLabel>
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
    ScopedScriptedDialogs *m_dialogs = nullptr;

    void start(const QList<VoiceToken> &voices)
    {
        m_voices = voices;
        CreateForms();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        TForm1::voiceFactory = [this]() -> std::unique_ptr<SpeechVoice> {
            if (m_failSpeech)
                throw Error(QStringLiteral("espeak-ng data not found"));
            auto v = std::make_unique<FakeSpeechVoice>();
            v->setVoices(m_voices);
            m_voice = v.get();
            return v;
        };
    }

    void init()
    {
        m_failSpeech = false;
        m_voice = nullptr;
        m_dialogs = new ScopedScriptedDialogs;
        QFile::remove(SettingsFile::path());
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void windowsExistInOrderBeforeTheLoop()
    {
        start({});
        QVERIFY(Form1 && FormOptions && FormReminder);
        QVERIFY(Form1->FFirstActivation);
        QVERIFY(Form1->FEditorLoadPending);
        QCOMPARE(Form1->FCurrentIndex, 0);
        QCOMPARE(Form1->StringGrid1.rowCount(), 1);
        QCOMPARE(Form1->FFlashColor, quint32(0x0000FF));
    }

    void noChineseVoiceSwitchesReadingOff()
    {
        start({FakeSpeechVoice::makeVoice("en", "English", "409"),
               FakeSpeechVoice::makeVoice("cmn-tw", "Mandarin and English", "804;409")});
        Form1->FormActivate();
        QVERIFY(!Form1->chbRead->isChecked());
        QVERIFY(!Form1->chbRead->isEnabled());
        QVERIFY(Form1->jbRead->isHidden());
        // Every voice is still listed.
        QCOMPARE(FormOptions->cbVoices->count(), 2);
        QCOMPARE(FormOptions->cbVoices->itemText(1), QStringLiteral("Mandarin and English"));
        QVERIFY(!Form1->FFirstActivation);
        // Said once, the caption looks disabled, and Enter reads nothing in
        // another language's voice.
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("No Mandarin voice: reading aloud is off"));
        QVERIFY(!Form1->lblReadAloud->isEnabled() && Form1->lblReadAloud->graphicsEffect());
        apptest::loadLines(Form1, {QStringLiteral("<OR=one><CH=字><TY=w><ST=u>")});
        Form1->bNextClick();
        QTest::keyClick(Form1, Qt::Key_Return);
        QVERIFY(m_voice->spokenTexts().isEmpty());
        QVERIFY(!Form1->FSpeaking);
    }

    void closingTheMainWindowEndsTheRun()
    {
        // The real message loop: closing the main window (by its Exit item)
        // ends it, whatever other windows show, and saves the settings.
        start({});
        SettingsFile::setShowReminder(false);
        Form1->FDisplayScreenBackground = true;
        Form1->show();
        for (QWidget *w : std::initializer_list<QWidget *>{FormBackground, formPicture, FormDict, FormToolBar})
            w->show();
        QFile::remove(SettingsFile::path());
        QTimer::singleShot(0, Form1, [] { Form1->imgExitClick(); });
        QTimer guard; // a loop that never ends fails instead of hanging
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QVERIFY(QFile::exists(SettingsFile::path()));
    }

    void theLastChineseVoiceWins()
    {
        start({FakeSpeechVoice::makeVoice("a", "First Chinese", "804"),
               FakeSpeechVoice::makeVoice("en", "English", "409"),
               FakeSpeechVoice::makeVoice("b", "Second Chinese", "804")});
        Form1->chbRead->setChecked(true);
        Form1->FormActivate();
        QCOMPARE(FormOptions->cbVoices->currentIndex(), 2);
        QVERIFY(m_voice);
        QCOMPARE(m_voice->voice().id, QStringLiteral("b"));
        QVERIFY(Form1->chbRead->isEnabled());
        QVERIFY(!Form1->jbRead->isHidden());
        QCOMPARE(m_voice->eventInterests(), 33790);
    }

    void reminderFollowsItsSwitchAndSecondActivationDoesNothing()
    {
        start({FakeSpeechVoice::makeVoice("a", "Chinese", "804")});
        Form1->FormActivate();
        QCOMPARE(m_dialogs->dialogs.modalsShown.size(), size_t(1));
        QCOMPARE(m_dialogs->dialogs.modalsShown[0], QStringLiteral("FormReminder"));
        Form1->FormActivate();
        QCOMPARE(m_dialogs->dialogs.modalsShown.size(), size_t(1));
        QCOMPARE(m_voice->getVoicesCalls(), 1);
        QCOMPARE(FormOptions->cbVoices->count(), 1);
    }

    void reminderSwitchedOffIsNotShown()
    {
        SettingsFile::setShowReminder(false);
        start({});
        Form1->FormActivate();
        QVERIFY(m_dialogs->dialogs.modalsShown.empty());
    }

    void activationInsideTheReminderDoesNotRestartTheWork()
    {
        start({FakeSpeechVoice::makeVoice("a", "Chinese", "804")});
        // Closing a modal window activates the main window again while the
        // first activation is still running.
        int nested = 0;
        m_dialogs->dialogs.onModal = [&](QDialog *) {
            ++nested;
            Form1->FormActivate();
        };
        Form1->FormActivate();
        QCOMPARE(nested, 1);
        QCOMPARE(m_voice->getVoicesCalls(), 1);
        QVERIFY(!Form1->FFirstActivation);
    }

    void speechThatCannotStartLeavesTheProgramRunning()
    {
        m_failSpeech = true;
        start({});
        Form1->chbRead->setChecked(true);
        Form1->FormActivate();
        QVERIFY(!Form1->FFirstActivation);
        QVERIFY(!Form1->chbRead->isEnabled());
        QVERIFY(Form1->jbRead->isHidden());
        QVERIFY(!Form1->SpVoice);
        QVERIFY(!Form1->lStatus->text().isEmpty());
        // No error box: the program says it once in the status line.
        QVERIFY(m_dialogs->dialogs.messages.empty());
        Form1->FormActivate();
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void statusLineClearsItselfAfterTheLastMessage()
    {
        start({});
        Form1->Status(QStringLiteral("Auto mode ON"));
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Auto mode ON"));
        QVERIFY(Form1->TimerStatus->isActive());
        QCOMPARE(Form1->TimerStatus->interval(), 5000);
        Form1->Status(QStringLiteral("Lessons saved"));
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Lessons saved"));
        QVERIFY(Form1->TimerStatus->remainingTime() > 4000);
        // The tick clears the line and the timer goes on.
        Form1->TimerStatusTimer();
        QVERIFY(Form1->lStatus->text().isEmpty());
        QVERIFY(Form1->TimerStatus->isActive());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
