// Figures of the practice engine on a table of 100,000 terms: one step in
// order, one at random, and the counts (a full recount after the table was
// changed by others, and the counts kept between steps).
#include "lessons/TermGrid.h"
#include "practice/PracticeEngine.h"
#include "practice/RandomGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace korvana;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int terms = 100000;
    TermGrid grid;
    grid.setRowCount(terms);
    for (int r = 0; r < terms; ++r) {
        grid.setCell(TermGrid::ShownCount, r, QString::number(r % 5));
        grid.setCell(TermGrid::TermType, r, r % 3 ? QStringLiteral("w") : QStringLiteral("p"));
        grid.setCell(TermGrid::TermStatus, r,
                     r % 7 == 0    ? QStringLiteral("l")
                     : r % 11 == 0 ? QStringLiteral("d")
                                   : QStringLiteral("u"));
        grid.setCell(TermGrid::TermLesson, r, QStringLiteral("/lessons/lesson%1.kvl").arg(r / 1000));
    }
    PracticeEngine engine(grid);
    RandomGenerator &rng = RandomGenerator::instance();
    rng.setSeed(2024);
    auto show = [&](int n) {
        engine.addShown(n - 1);
        return true;
    };

    QElapsedTimer t;
    const int reps = 200;

    t.start();
    for (int i = 0; i < 20; ++i) {
        engine.tableChanged();
        engine.counters();
    }
    const double recount = t.nsecsElapsed() / 20 / 1e6;

    t.start();
    for (int i = 0; i < reps; ++i)
        engine.counters();
    const double kept = t.nsecsElapsed() / double(reps) / 1e6;

    int current = 0;
    t.start();
    for (int i = 0; i < reps; ++i) {
        engine.counters();
        engine.check(true);
        current = engine.walk(current, StepDirection::Next, show);
    }
    const double inOrder = t.nsecsElapsed() / double(reps) / 1e6;

    t.start();
    for (int i = 0; i < reps; ++i) {
        engine.counters();
        engine.check(true);
        current = engine.chooseRandom(current, show, rng);
    }
    const double random = t.nsecsElapsed() / double(reps) / 1e6;

    // "Only difficult" with phrases only: a walk that passes over most rows.
    engine.filters = {false, true, true};
    t.start();
    for (int i = 0; i < reps; ++i)
        current = engine.walk(current, StepDirection::Next, show);
    const double sparse = t.nsecsElapsed() / double(reps) / 1e6;

    std::printf("terms: %d\n", terms);
    std::printf("countTerms, full recount after an outside change: %.3f ms\n", recount);
    std::printf("countTerms, counts kept between steps:            %.6f ms\n", kept);
    std::printf("Next in order (count, check, walk, show count):   %.4f ms\n", inOrder);
    std::printf("Next at random (least shown of all eligible):     %.4f ms\n", random);
    std::printf("Next in order, sparse filter (only difficult):    %.4f ms\n", sparse);
    return 0;
}
