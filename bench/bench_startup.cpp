// Start-up: from starting the program to its main window painted on the
// screen, beside a minimal Qt program that shows one empty window, each
// started as a process of its own in the same run (median of 9 starts each),
// and the time until the dictionary and the character database are loaded.
//
//   bench_startup [other bench_startup]
//
// Given another build's bench_startup (the build before), its program is
// started in the same run too.
#include "app/MainWindow.h"
#include "app/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// In a started child: prints the clock when the watched window has been
// painted for the first time, then quits.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget **window) : m_window(window) {}
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (!m_done && e->type() == QEvent::Paint && *m_window && watched == *m_window) {
            m_done = true;
            // After this paint has reached the screen.
            QTimer::singleShot(0, qApp, [] {
                std::printf("painted %lld\n", static_cast<long long>(monotonicNs()));
                std::fflush(stdout);
                // Whatever start-up left for after the first paint runs
                // before the loop ends; its end is the second figure.
                QTimer::singleShot(0, qApp, [] {
                    std::printf("settled %lld\n", static_cast<long long>(monotonicNs()));
                    std::fflush(stdout);
                    qApp->quit();
                });
            });
        }
        return false;
    }

private:
    QWidget **m_window;
    bool m_done = false;
};

QWidget *watchedWindow = nullptr;
QWidget **watched = nullptr;

void watchStartup()
{
    if (watched)
        qApp->installEventFilter(new FirstPaint(watched));
}
Q_COREAPP_STARTUP_FUNCTION(watchStartup)

struct Start {
    double painted = 0, settled = 0;
};

// Starts this program (or another build's) in a mode, and reads its clock.
bool startOnce(const QString &program, const QString &mode, Start *s)
{
    QProcess p;
    const qint64 t0 = monotonicNs();
    p.start(program, {mode});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return false;
    qint64 painted = 0, settled = 0;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        if (line.startsWith("painted "))
            painted = line.mid(8).toLongLong();
        else if (line.startsWith("settled "))
            settled = line.mid(8).toLongLong();
    }
    if (!painted)
        return false;
    s->painted = (painted - t0) / 1e6;
    s->settled = ((settled ? settled : painted) - t0) / 1e6;
    return true;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--minimal") == 0) {
        watched = &watchedWindow;
        QApplication app(argc, argv);
        QWidget w;
        watchedWindow = &w;
        w.resize(760, 520);
        w.show();
        return app.exec();
    }
    if (argc > 1 && qstrcmp(argv[1], "--program") == 0) {
        static QWidget *window = nullptr;
        watched = &window;
        // The main window is watched from its creation on.
        struct Poll : QObject {
            bool eventFilter(QObject *o, QEvent *) override
            {
                if (!window)
                    window = qobject_cast<MainWindow *>(o);
                return false;
            }
        };
        static Poll poll;
        struct Install {
            static void now() { qApp->installEventFilter(&poll); }
        };
        qAddPreRoutine(Install::now);
        return runProgram(argc, argv);
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    // No reminder at the first activation: start-up only.
    QDir().mkpath(home.filePath(QStringLiteral("korvana")));
    QFile ini(home.filePath(QStringLiteral("korvana/korvana.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Options]\nShow Reminder=0\n") < 0)
        return 1;
    ini.close();
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString before = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    struct Row {
        const char *what;
        QString program, mode;
        std::vector<double> painted, settled;
    };
    std::vector<Row> rows = {{"minimal Qt window", self, QStringLiteral("--minimal"), {}, {}},
                             {"this build", self, QStringLiteral("--program"), {}, {}}};
    if (!before.isEmpty())
        rows.push_back({"the build before", before, QStringLiteral("--program"), {}, {}});
    // Interleaved, so that the machine's load falls on all alike.
    for (int i = 0; i < 9; ++i) {
        for (Row &r : rows) {
            Start s;
            if (!startOnce(r.program, r.mode, &s)) {
                std::fprintf(stderr, "%s did not start\n", r.what);
                return 1;
            }
            r.painted.push_back(s.painted);
            r.settled.push_back(s.settled);
        }
    }
    const double minimal = median(rows[0].painted);
    for (const Row &r : rows)
        std::printf("%-18s main window painted %6.1f ms (%.1fx the minimal window), all loaded %6.1f ms\n", r.what,
                    median(r.painted), median(r.painted) / minimal, median(r.settled));
    std::printf("goal: this build at most the build before, and at most 4x the minimal window\n");
    return 0;
}
