// The reminder and the about window: the reminder's switch in the settings
// file, the links, and what closes the about window; then, on the whole
// program, the reminder at the main window's first activation and the skin
// the about window shows when the menu opens it.
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/WindowChrome.h"
#include "app/WindowSkin.h"
#include "platform/ini/IniFile.h"
#include "settings/AboutDialog.h"
#include "settings/ProgramPaths.h"
#include "settings/ReminderDialog.h"
#include "settings/SettingsFile.h"
#include "settings/Skin.h"
#include "support/ProgramTestCase.h"
#include "support/WindowTestFixture.h"

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
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
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
    std::unique_ptr<windowtest::Fixture> f;
    ReminderDialog *reminderDialog = nullptr;
    AboutDialog *aboutDialog = nullptr;
    QList<QUrl> m_opened;

    ScriptedDialogs &dialogs() { return f->dialogs(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        ShellOpen::open = [this](const QUrl &url) { m_opened.append(url); };
    }
    void init()
    {
        m_opened.clear();
        f = std::make_unique<windowtest::Fixture>();
        QDir(SettingsFile::path()).removeRecursively();
        QFile::remove(SettingsFile::path());
        reminderDialog = new ReminderDialog;
        aboutDialog = new AboutDialog(f->aboutHost, &f->mainWidget);
    }
    void cleanup()
    {
        delete aboutDialog;
        delete reminderDialog;
        f.reset();
    }

    void reminderClosedUncheckedWritesNothing()
    {
        reminderDialog->closeButton->click();
        QVERIFY(!QFile::exists(SettingsFile::path()));
        reminderDialog->show();
        reminderDialog->close();
        QVERIFY(!QFile::exists(SettingsFile::path()));
        QVERIFY(SettingsFile::showReminder());
    }

    void reminderWriteFailureIsReportedAndItStaysOpen()
    {
        const QString folder = QFileInfo(SettingsFile::path()).absolutePath();
        QDir().mkpath(folder);
        // A folder in the file's place: the write cannot succeed.
        QVERIFY(QDir().mkpath(SettingsFile::path()));
        reminderDialog->show();
        reminderDialog->dontShowAgainSwitch->setChecked(true);
        reminderDialog->closeButton->click();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Unable to write to korvana.ini"));
        QVERIFY(reminderDialog->isVisible());
        reminderDialog->close();
        QDir(SettingsFile::path()).removeRecursively();
    }

    void linksOpenThroughTheShell()
    {
        clickAt(reminderDialog->homePageLabel);
        aboutDialog->homePageLabelClicked();
        aboutDialog->supportEmailLabelClicked();
        QCOMPARE(m_opened.size(), 3);
        QCOMPARE(m_opened[0].toString(), ProgramLinks::homePage());
        QCOMPARE(m_opened[0].host(), ProgramLinks::homeHost());
        QCOMPARE(m_opened[1].query(), QStringLiteral("source=kvl"));
        QCOMPARE(m_opened[2].scheme(), QStringLiteral("mailto"));
        QCOMPARE(m_opened[2].path(), ProgramLinks::supportEmail());
        QCOMPARE(aboutDialog->supportEmailLabel->text(), ProgramLinks::supportEmail());
    }

    void aboutClosesByEscCloseAndPlainLabelsOnly()
    {
        aboutDialog->show();
        key(aboutDialog, Qt::Key_Return);
        key(aboutDialog, Qt::Key_A);
        clickAt(aboutDialog->titleLabel);
        clickAt(aboutDialog->skinNameLabel);
        clickAt(aboutDialog->creditsBox->viewport());
        QVERIFY(aboutDialog->isVisible());
        clickAt(aboutDialog->versionLabel); // the version line
        QVERIFY(!aboutDialog->isVisible());
        aboutDialog->show();
        key(aboutDialog, Qt::Key_Escape);
        QVERIFY(!aboutDialog->isVisible());
        aboutDialog->show();
        aboutDialog->closeButton->click();
        QVERIFY(!aboutDialog->isVisible());
    }

    void creditsAreSevenBlocksOfNameAndAddress()
    {
        const QStringList lines = AboutDialog::creditsText().split(QLatin1Char('\n'));
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

// The reminder and the about window as the main window shows them.
class TestReminderAboutInTheProgram : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true, .firstActivationDone = false, .programFolder = true}; }

private slots:
    void reminderSwitchedOffForGoodWithTheBoxChecked()
    {
        // First run: the reminder comes; closed with the box checked it
        // writes its switch at once.
        dialogs().onModal = [](QDialog *d) {
            QCOMPARE(d, static_cast<QDialog *>(reminderDialog));
            QVERIFY(!reminderDialog->dontShowAgainSwitch->isChecked());
            reminderDialog->dontShowAgainSwitch->setChecked(true);
            reminderDialog->closeButton->click();
        };
        mainWindow->onActivate();
        QCOMPARE(dialogs().modalsShown, std::vector<QString>{QStringLiteral("reminderDialog")});
        QCOMPARE(
            IniFile(SettingsFile::path()).readString(QStringLiteral("Options"), QStringLiteral("Show Reminder"), {}),
            QStringLiteral("0"));
        // Closing the main window leaves the switch as it is.
        mainWindow->onClose();
        QVERIFY(!SettingsFile::showReminder());

        // The next run does not show it.
        destroyWindows();
        dialogs().modalsShown.clear();
        createWindows();
        mainWindow->onActivate();
        QVERIFY(dialogs().modalsShown.empty());
    }

    void aboutShowsTheSkinChosenLast()
    {
        dialogs().onModal = [](QDialog *d) {
            d->show();
            QCOMPARE(aboutDialog->skinNameLabel->text(), mainWindow->skin().fields().skinName);
        };
        mainWindow->chrome().aboutCommand();
        QCOMPARE(dialogs().modalsShown.back(), QStringLiteral("aboutDialog"));
        QCOMPARE(aboutDialog->skinNameLabel->text(), QStringLiteral("Default Korvana Skin"));
        QCOMPARE(aboutDialog->skinAuthorLabel->text(), QString());
        aboutDialog->close();

        mainWindow->skin().fields().skinName = QStringLiteral("Night");
        mainWindow->skin().fields().skinAuthor = QStringLiteral("A. Painter");
        aboutDialog->show();
        QCOMPARE(aboutDialog->skinNameLabel->text(), QStringLiteral("Night"));
        QCOMPARE(aboutDialog->skinAuthorLabel->text(), QStringLiteral("A. Painter"));
    }
};

KORVANA_WINDOW_TEST_MAIN(TestReminderAbout, TestReminderAboutInTheProgram)
#include "tst_reminder_about.moc"
