// Loading the default dictionary (done at every start), its memory, and the
// dictionary window's searches over it. Prints its figures.
//
//   bench_dictionary [dictionary file]
//
// Without an argument it takes the dictionary the build generated,
// <build>/src/dict/cedict_gb.uni.
#include "reference/Dictionary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace korvana;

namespace {

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Median of several runs, in milliseconds.
double timeMs(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QCoreApplication::applicationDirPath()
                                        + QStringLiteral("/../src/dict/cedict_gb.uni");
    if (!QFileInfo::exists(file)) {
        std::printf("no dictionary at %s (was it generated?)\n", qPrintable(file));
        return 1;
    }
    std::printf("dictionary: %s, %.1f MB on disk\n", qPrintable(QFileInfo(file).canonicalFilePath()),
                double(QFileInfo(file).size()) / 1e6);

    // Start-up load: the file read, decoded, split and joined, as the main
    // window does once when it is created.
    const long rssBefore = residentKb();
    QString text = loadDictionaryText(file);
    const long rssLoaded = residentKb();
    const double loadMs = timeMs(7, [&] { text = loadDictionaryText(file); });
    std::printf("load: %.1f ms (median of 7), %lld characters, %lld lines\n", loadMs,
                static_cast<long long>(text.size()), static_cast<long long>(text.count(u'\n') + 1));
    std::printf("memory: text %.1f MB, resident grew by %.1f MB while loading\n",
                double(text.size()) * 2 / 1e6, double(rssLoaded - rssBefore) / 1024);

    DictionarySearch search;
    struct Case {
        const char *what;
        QString term;
        bool caseSensitive;
    };
    const std::vector<Case> exact = {
        {"exact find, Chinese 中国", QStringLiteral("中国"), false},
        {"exact find, pinyin hao3", QStringLiteral("hao3"), false},
        {"exact find, English house", QStringLiteral("house"), false},
        {"exact find, English house, case sensitive", QStringLiteral("house"), true},
    };
    // The first search without "Case sensitive" folds the whole text once.
    const double foldMs = timeMs(1, [&] { search.exactFind(text, u"zzzz", false); });
    std::printf("first case-folding search (folds the text): %.1f ms\n", foldMs);
    // Resident memory says little here: the freed buffers of the timed loads
    // are reused. The folded copy is one more text of the same size.
    std::printf("memory: the folded copy holds %.1f MB more\n", double(text.size()) * 2 / 1e6);

    for (const Case &c : exact) {
        qsizetype found = 0;
        const double ms = timeMs(5, [&] { found = search.exactFind(text, c.term, c.caseSensitive).size(); });
        std::printf("%s: %.2f ms, %lld entries\n", c.what, ms, static_cast<long long>(found));
    }

    const std::vector<Case> all = {
        {"find all, Chinese 中", QStringLiteral("中"), false},
        {"find all, English water", QStringLiteral("water"), false},
        {"find all, pinyin ma1", QStringLiteral("ma1"), false},
        {"find all, English xylophone (few results: all six scans)", QStringLiteral("xylophone"), false},
        {"find all, no result (all six scans)", QStringLiteral("qqqqqq"), false},
    };
    for (const Case &c : all) {
        for (int first : {0, 181}) {
            const int last = first == 0 ? 20 : first + 19;
            DictionaryPage page;
            const double ms = timeMs(5, [&] { page = search.findAll(text, c.term, c.caseSensitive, first, last); });
            std::printf("%s, results %d-%d: %.2f ms, %lld on the page%s\n", c.what, std::max(first, 1), last, ms,
                        static_cast<long long>(page.entries.size()), page.full ? ", more may follow" : "");
        }
    }
    return 0;
}
