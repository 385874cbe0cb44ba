// What one new character under the mouse costs: its Unihan record and radical
// (through the loaded index, and by a plain search of the whole table) and the
// dictionary lines of its words, over the tables the program carries and the
// default dictionary (<build>/src/dict/cedict_gb.uni, or the file given).
// Prints its figures.
#include "practice/ToneMarkConverter.h"
#include "reference/CharacterDatabase.h"
#include "reference/CharacterInfo.h"
#include "reference/Dictionary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

using namespace korvana;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    CharacterDatabase db;
    if (!db.readDatabases()) {
        std::printf("character tables not loaded\n");
        return 1;
    }
    const QString file = argc > 1
                             ? QString::fromLocal8Bit(argv[1])
                             : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/dict/cedict_gb.uni");
    QString dict;
    try {
        dict = loadDictionaryText(file);
    } catch (const std::exception &e) {
        std::printf("no dictionary (%s): dictionary lines skipped\n", e.what());
    }
    const ToneMarker toneMarks = [](const QString &s) { return pinyinNumbersIntoToneMarks(s); };

    // A line of common characters, looked up at random positions.
    const QString line = QStringLiteral("我们是中国人学习汉语的时候每天都要认真地读书写字听说");
    const int rounds = 200;
    QRandomGenerator rng(7);
    std::vector<int> at(rounds);
    for (int &i : at)
        i = int(rng.bounded(line.size()));

    DictionaryLineIndex dictIndex;
    QElapsedTimer indexTime;
    indexTime.start();
    dictIndex.update(dict);
    const double indexMs = indexTime.nsecsElapsed() / 1e6;
    auto run = [&](bool indexed, int withDict) {
        QElapsedTimer t;
        t.start();
        qsizetype sink = 0;
        for (int i : at) {
            const uint code = line[i].unicode();
            const int start = indexed ? db.unihanRecordStart(code) : int(db.unihanText().indexOf(unihanKey(code)));
            const CharacterInfo info =
                characterInfo(code, QString(line[i]), db.unihanText(), start, db.radicalsText(), toneMarks);
            sink += info.definition.size();
            if (withDict)
                sink += dictionaryLines(dict, dictionaryKeys(neighboursAt(line, i, line[i])), toneMarks,
                                        withDict == 2 ? &dictIndex : nullptr)
                            .size();
        }
        return std::pair<double, qsizetype>(t.nsecsElapsed() / 1000.0 / rounds, sink);
    };
    const auto [indexed, s1] = run(true, 0);
    const auto [searched, s2] = run(false, 0);
    const auto [whole, s3] = run(true, 1);
    const auto [wholeIndexed, s4] = run(true, 2);
    std::printf("unihan %lld chars, dictionary %lld chars\n", (long long)db.unihanText().size(),
                (long long)dict.size());
    std::printf("record + radical, indexed:       %8.1f us per character\n", indexed);
    std::printf("record + radical, plain search:  %8.1f us per character\n", searched);
    std::printf("whole lookup, dictionary scanned: %7.1f us per character\n", whole);
    std::printf("whole lookup, dictionary indexed: %7.1f us per character (index built in %.1f ms)\n", wholeIndexed,
                indexMs);
    // The index must find what the scan finds.
    return (s1 == s2 && s3 == s4) ? 0 : 2;
}
