// Saving through the main window when a write cannot reach the disk: on a
// full disk (a child process whose files may not grow past a small size) and
// into a protected lesson or folder (as an unprivileged user), the old file
// stays byte for byte and the failure is reported by the command's own
// message, never as a success.
#include "support/ChildProcess.h"
#include "support/ProgramTestCase.h"

#include "app/LessonFileCommands.h"
#include "app/OptionsRoundTrip.h"
#include "lessons/Sessions.h"
#include "settings/SettingsFile.h"

#include <QtTest>

using namespace korvana;
using apptest::readFile;

namespace {

QString term(int n)
{
    return QStringLiteral("<OR=term number %1><PI=ni3 hao3><CH=\u4f60\u597d><NO=a note><TY=w>").arg(n);
}

// Small enough that every new file below outgrows it, larger than what the
// first of several separate writes would have needed.
constexpr rlim_t kLimit = 1024;

} // namespace

class TestSaving : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.firstActivationDone = false}; }
    QString path(const QString &name) { return homePath(QStringLiteral("files/") + name); }

    void open(const QStringList &files)
    {
        dialogs().openAnswers.push_back(files);
        mainWindow->lessonFiles().openLessonFiles(OpenMode::Lesson);
        QVERIFY(dialogs().messages.empty());
    }

    // The message and status line a command leaves, as the child hands them back.
    static QByteArray outcome()
    {
        const auto *d = static_cast<ScriptedDialogs *>(&Dialogs::instance());
        return (d->lastMessage() + QLatin1Char('|') + apptest::status()).toUtf8();
    }

    void programStarted() override
    {
        // The unprivileged child must get through to the lessons.
        QVERIFY(childtest::setMode(m_program->home.path(), 0755));
        apptest::settings().workingDirectory = homePath(QStringLiteral("work")) + QLatin1Char('/');
    }
    void caseStarting() override { m_program->resetDialogs(); }

private slots:
    void fullDiskKeepsEveryOldFileAndSaysSo()
    {
        // Save lesson(s): a lesson of 40 terms, one marked difficult.
        QStringList terms;
        for (int i = 0; i < 40; ++i)
            terms << term(i);
        const QString lesson = apptest::writeLines(path("full/forty.kvl"), terms, QStringLiteral("\n"));
        open({lesson});
        apptest::store().termTable.setCell(TermGrid::TermStatus, 3, QStringLiteral("d"));
        const QByteArray oldLesson = readFile(lesson);
        QCOMPARE(childtest::withFileSizeLimit(kLimit,
                                              [] {
                                                  mainWindow->lessonFiles().saveLessonsCommand();
                                                  return outcome();
                                              }),
                 ("Some lessons couldn't be saved:\n\n" + lesson + " (file too large for the disk)|Saving lessons...")
                     .toUtf8());
        QCOMPARE(readFile(lesson), oldLesson);

        // Save session: the new session (long lesson names) outgrows the
        // limit, its [Session] section alone would not.
        QStringList lessons;
        for (const char *n : {"a", "b", "c", "d"})
            lessons << apptest::writeLines(path("full/" + QString(250, u'x') + "/" + n + ".kvl"), {term(1)},
                                           QStringLiteral("\n"));
        open(lessons);
        const QString session = path("full/s.ses");
        const QByteArray oldSession = "[Session]\nPosition=1\n\n[Lessons]\n0=/old.kvl\n";
        apptest::writeLines(session, {QString::fromUtf8(oldSession)}, {});
        mainWindow->lessonFiles().setSessionFile(session);
        apptest::store().currentIndex = 3;
        QCOMPARE(childtest::withFileSizeLimit(kLimit,
                                              [] {
                                                  mainWindow->lessonFiles().saveSessionCommand();
                                                  return apptest::status().toUtf8();
                                              }),
                 QByteArray("Unable to save session"));
        QCOMPARE(readFile(session), oldSession);

        // Closing: the settings file (33 lines) keeps all its old values when
        // the new file (a long editor path) cannot be written whole.
        QStringList ini{"[Options]", "Auto save lessons on exit=0", "Working Directory=/home/me/",
                        "Dictionary=/home/me/dict.uni", "Skin=Blue"};
        for (const char *k : {"Fontsize-Translation", "Fontsize-Pinyin", "Fontsize-Kanji", "Fontsize-Notes"})
            ini << QString::fromLatin1(k) + "=13";
        for (const char *k : {"Show Pinyin tones in color", "Show reading progress", "Sound file excludes synthesis",
                              "Set Kanji Font", "Bold Kanji", "Rotate Kanji", "Set Kanji Color",
                              "Set Kanji Background Color", "Display Screen Background", "Display ToolBar",
                              "Edit in Word", "Show Hanzi Info", "Show Hidden Content On Mouse Hover"})
            ini << QString::fromLatin1(k) + "=1";
        ini << "Kanji Font=KaiTi"
            << "Kanji Color=clRed"
            << "Kanji Background Color=clWhite"
            << "Screen Background Color=clBlack"
            << "External Editor="
            << ""
            << "[Text Direction]";
        for (const char *k : {"Hanzi Left to Right", "Translation Left to Right", "Pronounciation Left to Right",
                              "Notes Left to Right"})
            ini << QString::fromLatin1(k) + "=0";
        const QString settings = apptest::writeLines(SettingsFile::path(), ini, QStringLiteral("\n"));
        const QByteArray oldSettings = readFile(settings);
        QCOMPARE(oldSettings.count('\n'), 32);
        apptest::settings().externalEditor = "/opt/" + QString(1500, u'e');
        apptest::settings().autoSaveLessons = false;
        QCOMPARE(childtest::withFileSizeLimit(
                     kLimit,
                     [] {
                         mainWindow->onClose();
                         return static_cast<ScriptedDialogs &>(Dialogs::instance()).lastMessage().toUtf8();
                     }),
                 QByteArray(
                     "Unable to open file korvana.ini, current settings were not saved (file too large for the disk)"));
        QCOMPARE(readFile(settings), oldSettings);

        // Without the limit the same commands succeed: the limit was what failed.
        open({lesson});
        mainWindow->lessonFiles().saveLessonsCommand();
        QCOMPARE(apptest::status(), QStringLiteral("Lessons saved"));
        QVERIFY(readFile(lesson).size() > qsizetype(kLimit));
        QVERIFY(readFile(lesson).size() < 16384); // within a buffered writer's buffer
        QVERIFY(SettingsFile::save(apptest::settings(), mainWindow->options().textDirections()));
        QVERIFY(readFile(settings).size() > qsizetype(kLimit));
    }

    void readOnlyLessonRefusedWritableOneInLockedFolderSaved()
    {
        // A read-only lesson in a folder the user may write to.
        const QString lesson = apptest::writeLines(path("ro/file/a.kvl"), {term(1), term(2)}, QStringLiteral("\n"));
        QVERIFY(childtest::setMode(homePath("files"), 0755) && childtest::setMode(path("ro"), 0755));
        QVERIFY(childtest::setMode(path("ro/file"), 0777));
        QVERIFY(childtest::setMode(lesson, 0444));
        // A writable lesson in a read-only folder: written in place, as a
        // word processor would.
        const QString inLocked = apptest::writeLines(path("ro/locked/b.kvl"), {term(3)}, QStringLiteral("\n"));
        QVERIFY(childtest::setMode(inLocked, 0666));
        QVERIFY(childtest::setMode(path("ro/locked"), 0555));
        // The other user keeps its copies of old content in a cache of its own.
        const QString otherCache = homePath("other-cache");
        QVERIFY(QDir().mkpath(otherCache) && childtest::setMode(otherCache, 0777));
        auto saveAsOtherUser = [&] {
            return childtest::asUnprivilegedUser([&] {
                qputenv("XDG_CACHE_HOME", QFile::encodeName(otherCache));
                mainWindow->lessonFiles().saveLessonsCommand();
                return outcome();
            });
        };

        const auto markAndSave = [&](const QString &file) {
            open({file});
            // A mark to write: a lesson saved unchanged is not rewritten.
            apptest::store().termTable.setCell(TermGrid::TermStatus, 0, QStringLiteral("d"));
            return saveAsOtherUser();
        };
        const QByteArray old = readFile(lesson);
        QCOMPARE(markAndSave(lesson),
                 ("Some lessons couldn't be saved:\n\n" + lesson + " (read-only)|Saving lessons...").toUtf8());
        QCOMPARE(readFile(lesson), old);
        QVERIFY(markAndSave(inLocked).endsWith("|Lessons saved"));
        QVERIFY(readFile(inLocked).contains("<ST=d>"));
        QCOMPARE(QDir(path("ro/file")).entryList(QDir::Files | QDir::Hidden), QStringList{"a.kvl"});
        QCOMPARE(QDir(path("ro/locked")).entryList(QDir::Files | QDir::Hidden), QStringList{"b.kvl"});
        childtest::setMode(path("ro/locked"), 0755);
    }
};

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
