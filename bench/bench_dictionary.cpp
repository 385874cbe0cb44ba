// Loading the default dictionary (done at every start), its memory, and the
// dictionary window's searches over it. Prints its figures.
//
//   bench_dictionary [dictionary file]
//
// Without an argument it takes the dictionary the build generated,
// <build>/src/dict/cedict_gb.uni. Every search is timed with the line index
// the main window builds at load and without it (the pattern-by-pattern
// scan), and beside it GNU grep -c as a whole process over the same text in
// UTF-8, asked the widest pattern of the search.
#include "practice/ToneMarkConverter.h"
#include "reference/CharacterInfo.h"
#include "reference/Dictionary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

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

// grep -c as the user would run it: a whole process, median of 5 runs.
double grepMs(const QString &utf8File, const QStringList &args, QString *count)
{
    return timeMs(5, [&] {
        QProcess grep;
        grep.start(QStringLiteral("grep"), QStringList{QStringLiteral("-c")} + args + QStringList{utf8File});
        grep.waitForFinished(-1);
        *count = QString::fromUtf8(grep.readAllStandardOutput()).trimmed();
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString file = argc > 1
                             ? QString::fromLocal8Bit(argv[1])
                             : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/dict/cedict_gb.uni");
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
    std::printf("memory: text %.1f MB, resident grew by %.1f MB while loading\n", double(text.size()) * 2 / 1e6,
                double(rssLoaded - rssBefore) / 1024);

    // The line index the main window builds with every load.
    DictionaryLineIndex index;
    const double indexMs = timeMs(1, [&] { index.update(text); });
    std::printf("line index: %.1f ms; load with the index: %.1f ms\n", indexMs, loadMs + indexMs);

    // The first hover after start: the index is built already.
    const ToneMarker toneMarks = [](const QString &s) { return pinyinNumbersIntoToneMarks(s); };
    const QString line = QStringLiteral("我是中国人");
    const QStringList keys = dictionaryKeys(neighboursAt(line, 2, line[2]));
    const double hoverMs = timeMs(1, [&] { dictionaryLines(text, keys, toneMarks, &index); });
    DictionaryLineIndex lazy;
    const double lazyHoverMs = timeMs(1, [&] {
        lazy.update(text);
        dictionaryLines(text, keys, toneMarks, &lazy);
    });
    std::printf("first hover (中 in 我是中国人): %.2f ms; building the index at that hover instead: %.2f ms\n", hoverMs,
                lazyHoverMs);

    QTemporaryDir dir;
    const QString utf8File = dir.filePath(QStringLiteral("dictionary.utf8"));
    {
        QFile out(utf8File);
        if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0)
            return 1;
    }

    DictionarySearch scan;    // pattern by pattern over the whole text
    DictionarySearch indexed; // with the line index
    indexed.useLineIndex(&index);
    // The first search without "Case sensitive" folds the whole text once.
    const double foldMs = timeMs(1, [&] { scan.exactFind(text, u"zzzz", false); });
    indexed.exactFind(text, u"zzzz", false);
    std::printf("first case-folding search (folds the text): %.1f ms\n", foldMs);
    std::printf("memory: the folded copy holds %.1f MB more\n", double(text.size()) * 2 / 1e6);

    struct Case {
        const char *what;
        QString term;
        bool caseSensitive;
        QStringList grepArgs; // the widest pattern of the search
    };
    const QString F = QStringLiteral("-F"), I = QStringLiteral("-i");
    const std::vector<Case> exact = {
        {"exact find, Chinese 中国", QStringLiteral("中国"), false, {QStringLiteral("^中国 ")}},
        {"exact find, pinyin hao3", QStringLiteral("hao3"), false, {I, F, QStringLiteral("hao3")}},
        {"exact find, English house", QStringLiteral("house"), false, {I, F, QStringLiteral("/house/")}},
        {"exact find, English house, case sensitive", QStringLiteral("house"), true, {F, QStringLiteral("/house/")}},
        {"exact find, pinyin 1 (a full listing)", QStringLiteral("1"), false, {F, QStringLiteral("1")}},
    };
    bool same = true;
    for (const Case &c : exact) {
        // The window's exact find: the matches as places in the text, each
        // row making its entry only when shown; the scan makes every entry.
        QStringList a;
        DictionaryMatches b;
        const double before = timeMs(5, [&] { a = scan.exactFind(text, c.term, c.caseSensitive); });
        const double now = timeMs(5, [&] { b = indexed.exactMatches(text, c.term, c.caseSensitive); });
        QString grepCount;
        const double grep = grepMs(utf8File, c.grepArgs, &grepCount);
        same = same && a == b.toStringList();
        std::printf("%s: %.2f ms (scan %.2f ms), %lld entries; grep -c %.2f ms, %s lines\n", c.what, now, before,
                    static_cast<long long>(b.size()), grep, qPrintable(grepCount));
    }

    const std::vector<Case> all = {
        {"find all, Chinese 中", QStringLiteral("中"), false, {F, QStringLiteral("中")}},
        {"find all, English water", QStringLiteral("water"), false, {I, F, QStringLiteral("water")}},
        {"find all, pinyin ma1", QStringLiteral("ma1"), false, {I, F, QStringLiteral("ma1")}},
        {"find all, English xylophone (few results)",
         QStringLiteral("xylophone"),
         false,
         {I, F, QStringLiteral("xylophone")}},
        {"find all, no result", QStringLiteral("qqqqqq"), false, {I, F, QStringLiteral("qqqqqq")}},
        // Short, common terms: one letter, one digit, punctuation, the
        // commonest character.
        {"find all, 一", QStringLiteral("\u4e00"), false, {F, QStringLiteral("\u4e00")}},
        {"find all, a", QStringLiteral("a"), false, {I, F, QStringLiteral("a")}},
        {"find all, i", QStringLiteral("i"), false, {I, F, QStringLiteral("i")}},
        {"find all, 1", QStringLiteral("1"), false, {I, F, QStringLiteral("1")}},
        {"find all, /", QStringLiteral("/"), false, {I, F, QStringLiteral("/")}},
        {"find all, [", QStringLiteral("["), false, {I, F, QStringLiteral("[")}},
        {"find all, (", QStringLiteral("("), false, {I, F, QStringLiteral("(")}},
        {"find all, to", QStringLiteral("to"), false, {I, F, QStringLiteral("to")}},
        {"find all, the", QStringLiteral("the"), false, {I, F, QStringLiteral("the")}},
    };
    for (const Case &c : all) {
        QString grepCount;
        const double grep = grepMs(utf8File, c.grepArgs, &grepCount);
        for (int first : {0, 181}) {
            const int last = first == 0 ? 20 : first + 19;
            DictionaryPage a, b;
            const double before = timeMs(5, [&] { a = scan.findAll(text, c.term, c.caseSensitive, first, last); });
            const double now = timeMs(5, [&] { b = indexed.findAll(text, c.term, c.caseSensitive, first, last); });
            same = same && a.entries == b.entries && a.full == b.full;
            std::printf("%s, results %d-%d: %.2f ms (scan %.2f ms), %lld on the page%s; grep -c %.2f ms, %s lines\n",
                        c.what, std::max(first, 1), last, now, before, static_cast<long long>(b.entries.size()),
                        b.full ? ", more may follow" : "", grep, qPrintable(grepCount));
        }
    }
    std::printf(same ? "indexed and scanned searches agree\n" : "INDEXED AND SCANNED SEARCHES DIFFER\n");
    return same ? 0 : 2;
}
