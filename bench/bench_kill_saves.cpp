// Saves killed at random moments: a child process saves a large lesson (Save
// lesson(s)), the same lesson's bytes alone (lesson-io), a session and the
// settings file over and over, alternating between two versions, and is
// killed with SIGKILL after a random delay.
// After each kill the file must be byte for byte the version before the save
// in progress (old) or the one it was writing (new), never a mix.
// Prints tries, old, new, mixed (and how many kills fell inside a save, the
// temporary files a kill left behind, and how many of those a later save
// leaves) per kind of file. Exits 1 on any mix.
//   bench_kill_saves [tries per kind, default 200]
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"
#include "lessons/Sessions.h"
#include "platform/files/SafeFiles.h"
#include "settings/Colors.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <random>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using namespace korvana;

namespace {

// Shared with the child: the number of the save it started last and of the
// one it finished last.
struct Progress {
    std::atomic<int> started;
    std::atomic<int> done;
};

struct Kind {
    const char *name;
    QString file;
    std::function<void(int)> save; // saves version k % 2
};

struct Figures {
    int tries = 0, oldFile = 0, newFile = 0, mixed = 0, inSave = 0, tempsLeft = 0;
    int tempsKept = 0, tempsAfterSave = 0;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The temporary files killed saves left beside the file, removed when asked.
int temporaries(const QString &file, bool remove)
{
    const QFileInfo info(file);
    QDir dir(info.absolutePath());
    const QStringList temps =
        dir.entryList({QLatin1Char('.') + info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    for (const QString &t : temps) {
        if (remove)
            dir.remove(t);
    }
    return int(temps.size());
}

void sleepMicroseconds(qint64 us)
{
    const timespec ts{time_t(us / 1000000), long(us % 1000000) * 1000};
    ::nanosleep(&ts, nullptr);
}

Figures run(const Kind &kind, int tries, std::mt19937 &random, Progress *progress)
{
    // The two versions as the writer itself produces them.
    kind.save(0);
    const QByteArray version0 = readAll(kind.file);
    kind.save(1);
    const QByteArray version1 = readAll(kind.file);
    QElapsedTimer timer;
    timer.start();
    constexpr int Calibration = 6;
    for (int k = 0; k < Calibration; ++k)
        kind.save(k);
    const qint64 saveUs = std::max<qint64>(timer.nsecsElapsed() / 1000 / Calibration, 100);
    kind.save(0);
    if (readAll(kind.file) != version0 || version0 == version1) {
        std::fprintf(stderr, "%s: the two versions are not stable\n", kind.name);
        std::exit(2);
    }
    int current = 0; // the version the file holds

    Figures f;
    // Kills fall anywhere in the first three saves of the child.
    std::uniform_int_distribution<qint64> delay(0, 3 * saveUs);
    const auto killOneSave = [&] {
        progress->started = current;
        progress->done = current;
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int k = current + 1;; ++k) {
                progress->started = k;
                kind.save(k);
                progress->done = k;
            }
        }
        sleepMicroseconds(delay(random));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
    };
    for (int t = 0; t < tries; ++t) {
        killOneSave();
        const int started = progress->started;
        const QByteArray &newVersion = started % 2 ? version1 : version0;
        const QByteArray &oldVersion = started % 2 ? version0 : version1;
        const QByteArray now = readAll(kind.file);
        ++f.tries;
        if (progress->done != started)
            ++f.inSave;
        f.tempsLeft += temporaries(kind.file, true);
        if (now == newVersion) {
            ++f.newFile;
            current = started;
        } else if (now == oldVersion) {
            ++f.oldFile;
            current = started - 1;
        } else {
            ++f.mixed;
            kind.save(0);
            current = 0;
        }
    }
    // Kills whose temporary files stay, then one save of this process: what
    // is still beside the file after it.
    for (int t = 0; t < std::max(1, tries / 10); ++t) {
        killOneSave();
        current = progress->started;
    }
    f.tempsKept = temporaries(kind.file, false);
    kind.save(current + 1);
    f.tempsAfterSave = temporaries(kind.file, true);
    std::printf("%-9s tries %4d  old %4d  new %4d  mixed %d   (killed inside a save: %d, "
                "temporary files left: %d, beside the file after %d more kills: %d, after the next "
                "save: %d, one save: %.1f ms, %lld bytes)\n",
                kind.name, f.tries, f.oldFile, f.newFile, f.mixed, f.inSave, f.tempsLeft, std::max(1, tries / 10),
                f.tempsKept, f.tempsAfterSave, double(saveUs) / 1000.0, static_cast<long long>(version0.size()));
    std::fflush(stdout);
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);
    const int tries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    // A large lesson: 3,000 terms, opened and saved the way the main window does.
    constexpr int Terms = 3000;
    const QString lesson = dir.filePath(QStringLiteral("large.kvl"));
    {
        QString text;
        for (int t = 0; t < Terms; ++t)
            text +=
                QStringLiteral("<OR=translation %1><PI=n\u01d0 h\u01ceo><CH=\u4f60\u597d><NO=a note><TY=w>\n").arg(t);
        QFile f(lesson);
        if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0)
            return 2;
    }
    LessonStore store;
    LoadedLessons loaded;
    LessonOpener opener(store, loaded);
    LessonSaver saver(store, loaded);
    store.openLessons = {lesson};
    if (!opener.openAll().isEmpty())
        return 2;

    QStringList lessonsA, lessonsB;
    for (int i = 0; i < 40; ++i) {
        lessonsA << QStringLiteral("/home/me/lessons/first/lesson%1.kvl").arg(i);
        lessonsB << QStringLiteral("/home/me/lessons/second/other%1.kvl").arg(i);
    }
    const QString session = dir.filePath(QStringLiteral("study.ses"));
    {
        QFile f(session);
        if (!f.open(QIODevice::WriteOnly) || f.write("[Mine]\nkept=1\n") < 0)
            return 2;
    }

    MainSettings settings[2];
    TextDirections directions[2];
    SettingsFile::load(settings[0], directions[0]);
    settings[1] = settings[0];
    settings[1].autoSaveLessons = true;
    settings[1].selectedSkin = QStringLiteral("Blue");
    settings[1].fontSizes[Pane::Characters] = 36;
    settings[1].charactersColor = colors::clRed;
    settings[1].externalEditor = QStringLiteral("/usr/bin/editor");
    settings[1].screenBackgroundColor = colors::clBlack;
    directions[1].leftToRight[Pane::Notes] = false;

    const auto saveLesson = [&](int k) {
        for (int r = 0; r < store.termTable.rowCount(); ++r)
            store.termTable.setCell(TermGrid::TermStatus, r, k % 2 && r % 3 == 0 ? "d" : "u");
        // The file on disk is the one this saver last wrote or read.
        loaded.insert(lesson, lessonDigest(readAll(lesson)));
        if (!saver.saveLesson(lesson))
            ::_exit(3);
    };
    // Most of a lesson save is building the rich text; the same bytes written
    // alone put most kills inside the write itself.
    QByteArray lessonBytes[2];
    for (int k = 0; k < 2; ++k) {
        saveLesson(k);
        lessonBytes[k] = readAll(lesson);
    }
    const QString copy = dir.filePath(QStringLiteral("copy.kvl"));

    const Kind kinds[] = {
        {"lesson", lesson, saveLesson},
        {"lesson-io", copy,
         [&](int k) {
             if (!files::writeFileAtomically(copy, lessonBytes[k % 2]))
                 ::_exit(3);
         }},
        {"session", session, [&](int k) { writeSession(session, k % 2 ? lessonsB : lessonsA, k % 2 ? 17 : 3); }},
        {"settings", SettingsFile::path(),
         [&](int k) {
             if (!SettingsFile::save(settings[k % 2], directions[k % 2]))
                 ::_exit(3);
         }},
    };

    auto *progress = static_cast<Progress *>(
        ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (progress == MAP_FAILED)
        return 2;
    new (progress) Progress{};

    const auto seed = unsigned(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937 random(seed);
    std::printf("kill test: %d kills per kind of file, SIGKILL after a random delay (seed %u)\n", tries, seed);
    bool mixed = false;
    for (const Kind &kind : kinds)
        mixed |= run(kind, tries, random, progress).mixed > 0;
    return mixed ? 1 : 0;
}
