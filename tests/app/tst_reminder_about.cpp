// The reminder and the about window: the reminder's switch in the settings
// file, the links, and what closes the about window.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Dialogs.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "settings/Skin.h"
#include "settings/TFormAbout.h"
#include "settings/TFormReminder.h"
#include "settings/TFormSelect.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

namespace {
void clickAt(QWidget *w)
{
    const QPoint at = w->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

void key(QWidget *w, int k)
{
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}
} // namespace

class TestReminderAbout : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    QList<QUrl> m_opened;

    ScriptedDialogs &dialogs() { return m_scripted->dialogs; }

    bool reminderKeyWritten() const
    {
        return IniFile(SettingsFile::path()).valueExists(QStringLiteral("Options"), QStringLiteral("Show Reminder"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_program.isValid());
        apptest::useHomeFolders(m_home);
        ProgramPaths::setProgramFolder(m_program.path() + QLatin1Char('/'));
        apptest::useFakeVoice();
        ShellOpen::open = [this](const QUrl &url) { m_opened.append(url); };
    }
    void init()
    {
        m_opened.clear();
        m_scripted = std::make_unique<ScopedScriptedDialogs>();
        QDir(SettingsFile::path()).removeRecursively();
        apptest::createFreshForms();
    }
    void cleanup()
    {
        DestroyForms();
        m_scripted.reset();
        QFile(QFileInfo(SettingsFile::path()).absolutePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                                                             QFile::ExeOwner);
    }
    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void reminderSwitchedOffForGoodWithTheBoxChecked()
    {
        // First run: the reminder comes; closed with the box checked it
        // writes its switch at once.
        dialogs().onModal = [](QDialog *d) {
            QCOMPARE(d, static_cast<QDialog *>(FormReminder));
            QVERIFY(!FormReminder->CheckBox1->isChecked());
            FormReminder->CheckBox1->setChecked(true);
            FormReminder->BitBtn1->click();
        };
        Form1->FormActivate();
        QCOMPARE(dialogs().modalsShown, std::vector<QString>{QStringLiteral("FormReminder")});
        QCOMPARE(IniFile(SettingsFile::path()).readString(QStringLiteral("Options"), QStringLiteral("Show Reminder"),
                                                          {}),
                 QStringLiteral("0"));
        // Closing the main window leaves the switch as it is.
        Form1->FormClose();
        QVERIFY(!SettingsFile::showReminder());

        // The next run does not show it.
        DestroyForms();
        dialogs().modalsShown.clear();
        CreateForms();
        Form1->FormActivate();
        QVERIFY(dialogs().modalsShown.empty());
    }

    void reminderClosedUncheckedWritesNothing()
    {
        FormReminder->BitBtn1->click();
        QVERIFY(!QFile::exists(SettingsFile::path()));
        FormReminder->show();
        FormReminder->close();
        QVERIFY(!QFile::exists(SettingsFile::path()));
        QVERIFY(SettingsFile::showReminder());
    }

    void reminderWriteFailureIsReportedAndItStaysOpen()
    {
        const QString folder = QFileInfo(SettingsFile::path()).absolutePath();
        QDir().mkpath(folder);
        // A folder in the file's place: the write cannot succeed.
        QVERIFY(QDir().mkpath(SettingsFile::path()));
        FormReminder->show();
        FormReminder->CheckBox1->setChecked(true);
        FormReminder->BitBtn1->click();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Unable to write to korvana.ini"));
        QVERIFY(FormReminder->isVisible());
        FormReminder->close();
        QDir(SettingsFile::path()).removeRecursively();
    }

    void linksOpenThroughTheShell()
    {
        clickAt(FormReminder->Label3);
        FormAbout->Label3Click();
        FormAbout->Label4Click();
        QCOMPARE(m_opened.size(), 3);
        QCOMPARE(m_opened[0].toString(), ProgramLinks::homePage());
        QCOMPARE(m_opened[0].host(), ProgramLinks::homeHost());
        QCOMPARE(m_opened[1].query(), QStringLiteral("source=kvl"));
        QCOMPARE(m_opened[2].scheme(), QStringLiteral("mailto"));
        QCOMPARE(m_opened[2].path(), ProgramLinks::supportEmail());
        QCOMPARE(FormAbout->Label4->text(), ProgramLinks::supportEmail());
    }

    void aboutShowsTheSkinChosenLast()
    {
        dialogs().onModal = [](QDialog *d) {
            d->show();
            QCOMPARE(FormAbout->lblSkinName->text(), Form1->FSkinName);
        };
        Form1->lAboutClick();
        QCOMPARE(dialogs().modalsShown.back(), QStringLiteral("FormAbout"));
        QCOMPARE(FormAbout->lblSkinName->text(), QStringLiteral("Default Korvana Skin"));
        QCOMPARE(FormAbout->lblSkinAuthor->text(), QString());
        FormAbout->close();

        Form1->FSkinName = QStringLiteral("Night");
        Form1->FSkinAuthor = QStringLiteral("A. Painter");
        FormAbout->show();
        QCOMPARE(FormAbout->lblSkinName->text(), QStringLiteral("Night"));
        QCOMPARE(FormAbout->lblSkinAuthor->text(), QStringLiteral("A. Painter"));
    }

    void aboutClosesByEscCloseAndPlainLabelsOnly()
    {
        FormAbout->show();
        key(FormAbout, Qt::Key_Return);
        key(FormAbout, Qt::Key_A);
        clickAt(FormAbout->JvLabel1);
        clickAt(FormAbout->lblSkinName);
        clickAt(FormAbout->Memo1->viewport());
        QVERIFY(FormAbout->isVisible());
        clickAt(FormAbout->Label8); // the version line
        QVERIFY(!FormAbout->isVisible());
        FormAbout->show();
        key(FormAbout, Qt::Key_Escape);
        QVERIFY(!FormAbout->isVisible());
        FormAbout->show();
        FormAbout->bClose->click();
        QVERIFY(!FormAbout->isVisible());
    }

    void creditsAreSevenBlocksOfNameAndAddress()
    {
        const QStringList lines = TFormAbout::creditsText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 7 * 2 + 6);
        for (int i = 0; i < lines.size(); ++i) {
            if (i % 3 == 2)
                QCOMPARE(lines[i], QString(41, QLatin1Char('-')));
            else if (i % 3 == 1)
                QVERIFY2(QUrl(lines[i]).scheme().startsWith(QLatin1String("http")), qPrintable(lines[i]));
        }
        QCOMPARE(lines[0], QStringLiteral("CEDICT Chinese-English Dictionary"));
        QCOMPARE(lines[3], QStringLiteral("HanDeDict Chinese-German Dictionary"));
        QCOMPARE(lines[6], QStringLiteral("Unihan Database"));
    }
};

QTEST_MAIN(TestReminderAbout)
#include "tst_reminder_about.moc"
