// The dictionary window's result list on the full dictionary: an exact find
// of "1" (every entry with a first tone, tens of thousands of rows), how
// long the search and the filling take, and the resident memory before, at
// its peak, and after the list is replaced by a small result. Beside it, the
// same search without the window (the anchor: the rows' own cost is the
// difference).
//
//   bench_dictionary_window [dictionary file]
#include "app/KorvanaApplication.h"
#include "app/MainWindow.h"
#include "app/DictionaryLoader.h"
#include "reference/DictionaryData.h"
#include "app/Program.h"
#include "support/ProgramWindowsForTests.h"
#include "app/ProgramState.h"
#include "reference/DictionaryWindow.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

namespace {

// Resident memory and its peak, in MB.
double statusMb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    korvana::KorvanaApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/dict/cedict_gb.uni");
    if (!QFileInfo::exists(file)) {
        std::printf("no dictionary at %s\n", qPrintable(file));
        return 1;
    }
    createWindows();
    if (!mainWindow->dictionaryLoader().loadDictionary(file))
        return 1;
    dictionaryWindow->show();
    QCoreApplication::processEvents();

    const double start = statusMb("VmRSS:");
    QElapsedTimer t;
    t.start();
    const qsizetype entries = programState->dictionary.exactFind(QStringLiteral("1"), false).size();
    const double searchMs = t.nsecsElapsed() / 1e6;

    dictionaryWindow->searchEdit->setText(QStringLiteral("1"));
    t.start();
    dictionaryWindow->exactFindButtonClicked();
    const double findMs = t.nsecsElapsed() / 1e6;
    QCoreApplication::processEvents();
    const double filled = statusMb("VmRSS:");
    const int rows = dictionaryWindow->resultList->topLevelItemCount();

    dictionaryWindow->searchEdit->setText(QStringLiteral("\u4e2d\u56fd"));
    t.start();
    dictionaryWindow->exactFindButtonClicked();
    const double replaceMs = t.nsecsElapsed() / 1e6;
    QCoreApplication::processEvents();
    const double after = statusMb("VmRSS:");

    std::printf("exact find of 1: %d rows (%lld entries); search alone %.1f ms, search and fill %.1f ms "
                "(goal: filled under 50 ms)\n",
                rows, static_cast<long long>(entries), searchMs, findMs);
    std::printf("list replaced by 中国 in %.1f ms\n", replaceMs);
    std::printf("resident: %.0f MB before, %.0f MB filled, %.0f MB after the list was replaced (%+.0f MB; "
                "goal within 20 MB), peak %.0f MB (goal under 150 MB)\n",
                start, filled, after, after - start, statusMb("VmHWM:"));
    destroyWindows();
    return 0;
}
