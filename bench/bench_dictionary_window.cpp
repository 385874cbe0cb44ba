// The dictionary window's result list on the full dictionary: an exact find
// of "1" (every entry with a first tone, tens of thousands of rows), how
// long the search and the filling take, a sort of that listing by pinyin,
// one page of find all, and the resident memory before, at its peak, and
// after the list is replaced by a small result. Beside each, the same search
// without the window (the anchor: the rows' own cost is the difference).
//
//   bench_dictionary_window [dictionary file]
#include "app/DictionaryLoader.h"
#include "app/KorvanaApplication.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ProgramState.h"
#include "reference/DictionaryData.h"
#include "reference/DictionaryWindow.h"
#include "support/ProgramWindowsForTests.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
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

double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

int shownRows()
{
    return dictionaryWindow->resultList->model()->rowCount();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    korvana::KorvanaApplication app(argc, argv);
    const QString file = argc > 1
                             ? QString::fromLocal8Bit(argv[1])
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
    // The first search indexes and folds the text: not part of any figure.
    programState->dictionary.exactMatches(QStringLiteral("1"), false);

    const double start = statusMb("VmRSS:");
    QElapsedTimer t;
    t.start();
    const qsizetype entries = programState->dictionary.exactMatches(QStringLiteral("1"), false).size();
    const double searchMs = ms(t);

    dictionaryWindow->searchEdit->setText(QStringLiteral("1"));
    t.start();
    dictionaryWindow->exactFindButtonClicked();
    const double findMs = ms(t);
    QCoreApplication::processEvents();
    const double drawnMs = ms(t);
    const double filled = statusMb("VmRSS:");
    const int rows = shownRows();

    t.start();
    dictionaryWindow->resultListColumnClicked(1);
    const double sortMs = ms(t);
    QCoreApplication::processEvents();
    const double sortDrawnMs = ms(t);

    // A letter typed in the list looks for a row whose Chinese begins with
    // it, through every row when none does.
    t.start();
    dictionaryWindow->resultList->keyboardSearch(QStringLiteral("Q"));
    const double typedMs = ms(t);

    dictionaryWindow->searchEdit->setText(QStringLiteral("\u4e2d\u56fd"));
    t.start();
    dictionaryWindow->exactFindButtonClicked();
    const double replaceMs = ms(t);
    QCoreApplication::processEvents();
    const double after = statusMb("VmRSS:");

    // Find all, one page of 100 results of a one-letter term (its first
    // search folds the text: left out of the figure, as above).
    dictionaryWindow->paging.dictPageSize = 100;
    programState->dictionary.findAll(QStringLiteral("a"), false, 1, 100);
    t.start();
    const qsizetype pageEntries = programState->dictionary.findAll(QStringLiteral("a"), false, 1, 100).size();
    const double pageSearchMs = ms(t);
    dictionaryWindow->searchEdit->setText(QStringLiteral("a"));
    t.start();
    dictionaryWindow->findAllButtonClicked(dictionaryWindow->findAllButton);
    const double pageMs = ms(t);
    QCoreApplication::processEvents();
    const double pageDrawnMs = ms(t);
    const int pageRows = shownRows();

    std::printf("exact find of 1: %d rows (%lld entries); search alone %.1f ms, search and fill %.1f ms "
                "(goal: filled under 50 ms), drawn %.1f ms\n",
                rows, static_cast<long long>(entries), searchMs, findMs, drawnMs);
    std::printf("sort %d rows by pinyin: %.1f ms, drawn %.1f ms\n", rows, sortMs, sortDrawnMs);
    std::printf("a letter typed in the sorted list: %.1f ms\n", typedMs);
    std::printf("list replaced by 中国 in %.1f ms\n", replaceMs);
    std::printf("find all of a, page of 100: %d rows (%lld entries); search alone %.1f ms, search and fill %.1f ms, "
                "drawn %.1f ms\n",
                pageRows, static_cast<long long>(pageEntries), pageSearchMs, pageMs, pageDrawnMs);
    std::printf("resident: %.0f MB before, %.0f MB filled, %.0f MB after the list was sorted and replaced (%+.0f MB; "
                "goal within 20 MB), peak %.0f MB (goal under 150 MB)\n",
                start, filled, after, after - start, statusMb("VmHWM:"));
    destroyWindows();
    return 0;
}
