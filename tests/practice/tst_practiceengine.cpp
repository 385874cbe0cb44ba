// The practice engine over a term table in memory: counts, the check and its
// messages, the sequential walk, the random choice with a fixed seed, the
// exactly-one-left rules and the marks.
#include "lessons/TermGrid.h"
#include "platform/ui/Errors.h"
#include "practice/PracticeEngine.h"
#include "practice/RandomGenerator.h"

#include <QtTest>

using namespace korvana;

namespace {
// Rows as "type state count", e.g. "w u 0".
void fill(TermGrid &g, const QStringList &rows)
{
    g.setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList f = rows[r].split(QLatin1Char(' '));
        g.setCell(TermGrid::TermType, r, f[0]);
        g.setCell(TermGrid::TermStatus, r, f[1]);
        g.setCell(TermGrid::ShownCount, r, f.value(2, QStringLiteral("0")));
        g.setCell(TermGrid::TermLesson, r, QStringLiteral("/l/a.kvl"));
    }
}

// A display that takes every row it is asked for and records the order.
struct FakeDisplay {
    PracticeEngine *engine;
    QList<int> asked;
    QSet<int> refuse; // rows the display refuses anyway (1-based)
    PracticeEngine::ShowFn fn()
    {
        return [this](int n) {
            asked << n;
            if (refuse.contains(n))
                return false;
            engine->addShown(n - 1);
            return true;
        };
    }
};
} // namespace

class TestPracticeEngine : public QObject {
    Q_OBJECT

private slots:
    void countsLabel()
    {
        TermGrid g;
        fill(g, {"w u", "w d", "w u", "p u", "p l", "w l", "p l", "p d", "p l", "w d"});
        PracticeEngine e(g);
        const TermCounters &c = e.counters();
        // learned words, learned phrases, words left, phrases left, difficult words, difficult phrases
        QCOMPARE(c, (TermCounters{1, 3, 4, 2, 2, 1}));
        QCOMPARE(countsText(c), QStringLiteral("Words 4:1  Phrases 2:3"));
    }

    void otherTypesAndStatesCountNowhere()
    {
        TermGrid g;
        fill(g, {"x u", "w q", "W u"});
        PracticeEngine e(g);
        QCOMPARE(e.counters(), TermCounters{});
    }

    void countsFollowMarksAndOthersWrites()
    {
        TermGrid g;
        fill(g, {"w u", "p u"});
        PracticeEngine e(g);
        QCOMPARE(e.counters().wordsLeft, 1);
        e.setState(-1, QStringLiteral("l")); // no such row: nothing changes
        e.setState(0, QStringLiteral("d"));
        QCOMPARE(g.state(0), QStringLiteral("d"));
        QCOMPARE(e.counters(), (TermCounters{0, 0, 1, 1, 1, 0}));
        e.setState(1, QStringLiteral("l"));
        QCOMPARE(e.counters(), (TermCounters{0, 1, 1, 0, 1, 0}));
        // Someone else (the terms manager) writes the table: the counts
        // follow without being told.
        g.setCell(TermGrid::TermStatus, 0, QStringLiteral("l"));
        QCOMPARE(e.counters(), (TermCounters{1, 1, 0, 0, 0, 0}));
        // A table that grows is noticed without being told.
        g.setRowCount(3);
        g.setCell(TermGrid::TermType, 2, QStringLiteral("w"));
        g.setCell(TermGrid::TermStatus, 2, QStringLiteral("u"));
        QCOMPARE(e.counters().wordsLeft, 1);
    }

    void resetKeepsDifficultAndCounts()
    {
        TermGrid g;
        fill(g, {"w l 4", "w d 2", "p l 1"});
        PracticeEngine e(g);
        e.resetLearned();
        QCOMPARE((QStringList{g.state(0), g.state(1), g.state(2), g.cell(TermGrid::ShownCount, 0)}),
                 (QStringList{"u", "d", "u", "4"}));
        QCOMPARE(e.counters(), (TermCounters{0, 0, 2, 1, 1, 0}));
    }

    void checkMessages()
    {
        TermGrid g;
        PracticeEngine e(g);
        // An empty table, even with a lesson name (every file failed).
        QCOMPARE(checkMessage(e.check(true)),
                 QStringLiteral("You must open one or more lessons or a session to practise."));
        g.setRowCount(1); // a row with a type or a lesson is a term of the table
        g.setCell(TermGrid::TermType, 0, QStringLiteral("x"));
        QCOMPARE(e.check(true), CheckResult::NoTermsLeft);
        g.setCell(TermGrid::TermType, 0, QString());
        g.setCell(TermGrid::TermLesson, 0, QStringLiteral("/l/a.kvl"));
        QCOMPARE(e.check(true), CheckResult::NoTermsLeft);
        fill(g, {"w u", "p l"});
        e.tableChanged();
        QCOMPARE(e.check(false), CheckResult::NoLesson);
        QCOMPARE(e.check(true), CheckResult::Ok); // one term left
        e.filters = {true, false, false};
        QCOMPARE(e.check(true), CheckResult::Ok); // one word left
        e.filters = {false, false, false};
        QCOMPARE(checkMessage(e.check(true)), QStringLiteral("You must check either words or phrases checkbox."));
        e.filters = {false, true, false};
        QCOMPARE(checkMessage(e.check(true)), QStringLiteral("No more phrases left; click \"Reset\"."));
        e.setState(1, QStringLiteral("u"));
        QCOMPARE(e.check(true), CheckResult::Ok); // one phrase left
        e.setState(0, QStringLiteral("l"));
        e.filters = {true, true, false};
        QCOMPARE(e.check(true), CheckResult::Ok); // a phrase left, no word
        e.setState(1, QStringLiteral("l"));
        e.setState(0, QStringLiteral("l"));
        e.filters = {true, false, false};
        QCOMPARE(checkMessage(e.check(true)), QStringLiteral("No more words left; click \"Reset\"."));
        e.filters = {true, true, false};
        QCOMPARE(checkMessage(e.check(true)), QStringLiteral("No more terms left; click \"Reset\"."));
        e.setState(0, QStringLiteral("u"));
        e.filters = {true, true, true};
        QCOMPARE(checkMessage(e.check(true)),
                 QStringLiteral("No more terms left; click \"Reset\" or uncheck \"Only difficult\"."));
        // Difficult terms of either type pass, whatever the type boxes say.
        e.setState(1, QStringLiteral("d"));
        e.filters = {true, false, true};
        QCOMPARE(e.check(true), CheckResult::Ok);
        e.setState(1, QStringLiteral("l"));
        e.setState(0, QStringLiteral("d"));
        QCOMPARE(e.check(true), CheckResult::Ok);
    }

    void walkGoesInOrderAndWraps()
    {
        TermGrid g;
        fill(g, {"w u", "w l", "p u", "w u"});
        PracticeEngine e(g);
        FakeDisplay d{&e};
        QCOMPARE(e.walk(0, StepDirection::Next, d.fn()), 1);
        QCOMPARE(e.walk(1, StepDirection::Next, d.fn()), 3); // learned row 2 skipped
        QCOMPARE(e.walk(3, StepDirection::Next, d.fn()), 4);
        QCOMPARE(e.walk(4, StepDirection::Next, d.fn()), 1); // wraps
        QCOMPARE(e.walk(1, StepDirection::Previous, d.fn()), 4);
        QCOMPARE(e.walk(0, StepDirection::Previous, d.fn()), 4);
        QCOMPARE(e.walk(3, StepDirection::Previous, d.fn()), 1); // learned row 2 skipped backwards
        QCOMPARE(e.walk(9, StepDirection::Next, d.fn()), 1);     // stale position
        QCOMPARE(d.asked, (QList<int>{1, 3, 4, 1, 4, 4, 1, 1}));
        QCOMPARE(g.cell(TermGrid::ShownCount, 0), QStringLiteral("4"));
    }

    void walkAppliesTheFilters()
    {
        TermGrid g;
        fill(g, {"w u", "p u", "w d", "p d"});
        PracticeEngine e(g);
        FakeDisplay d{&e};
        e.filters = {false, true, false};
        QCOMPARE(e.walk(0, StepDirection::Next, d.fn()), 2);
        QCOMPARE(e.walk(2, StepDirection::Next, d.fn()), 4);
        e.filters = {true, true, true};
        QCOMPARE(e.walk(0, StepDirection::Next, d.fn()), 3);
        e.filters = {true, false, true};
        QCOMPARE(e.walk(3, StepDirection::Next, d.fn()), 3); // the only difficult word again, tried last
    }

    void walkWithNothingToShowEndsAndReplaysTheLastTypeRefusal()
    {
        // Only words, only difficult: an unlearned word and a difficult phrase.
        TermGrid g;
        fill(g, {"w u", "p d"});
        PracticeEngine e(g);
        e.filters = {true, false, true};
        FakeDisplay d{&e};
        d.refuse = {2};
        QCOMPARE(e.walk(2, StepDirection::Next, d.fn()), 0);
        // The phrase is offered once, as the row the display last read.
        QCOMPARE(d.asked, (QList<int>{2}));
        QCOMPARE(g.cell(TermGrid::ShownCount, 1), QStringLiteral("0"));
        e.filters = {};
        d.refuse = {1, 2};
        QCOMPARE(e.walk(2, StepDirection::Next, d.fn()), 0);
        QCOMPARE(d.asked, (QList<int>{2, 1, 2})); // each row the display refuses itself is offered once
    }

    void randomDrawsAmongTheLeastShown()
    {
        TermGrid g;
        fill(g, {"w u 5", "w u 3", "w u 4", "w l 0", "p u 3"});
        PracticeEngine e(g);
        e.filters = {true, false, false};
        RandomGenerator rng;
        for (quint32 seed = 0; seed < 20; ++seed) {
            rng.setSeed(seed);
            FakeDisplay d{&e};
            d.refuse = {2};
            // Row 2 is the least shown but refused: nothing else is that low,
            // so the choice ends rather than drawing for ever.
            QCOMPARE(e.chooseRandom(1, d.fn(), rng), 0);
            QCOMPARE(d.asked, (QList<int>{2}));
        }
        rng.setSeed(7);
        FakeDisplay d{&e};
        QCOMPARE(e.chooseRandom(1, d.fn(), rng), 2);
        QCOMPARE(g.cell(TermGrid::ShownCount, 1), QStringLiteral("4"));
    }

    void randomMovesOnWhenTheCurrentRowIsLeastShown()
    {
        TermGrid g;
        fill(g, {"w u 0", "w u 2", "w u 2", "w u 3"});
        PracticeEngine e(g);
        RandomGenerator rng;
        QSet<int> seen;
        for (quint32 seed = 0; seed < 50; ++seed) {
            rng.setSeed(seed);
            for (int r = 1; r < 4; ++r)
                g.setCell(TermGrid::ShownCount, r, QStringLiteral("2"));
            g.setCell(TermGrid::ShownCount, 3, QStringLiteral("3"));
            e.tableChanged();
            FakeDisplay d{&e};
            const int n = e.chooseRandom(1, d.fn(), rng);
            QVERIFY(n == 2 || n == 3);
            seen << n;
        }
        // Both of the least shown rows come up, drawn by the generator.
        QCOMPARE(seen, (QSet<int>{2, 3}));
    }

    // The draw finds its row without listing the least shown rows; it must
    // ask the display for the very rows, in the very order, that listing
    // them and drawing from the list gives, refusals included.
    void randomDrawsAsFromTheListOfLeastShown()
    {
        TermGrid g;
        fill(g, {"w u 1", "w u 0", "p u 0", "w l 0", "w d 0", "p u 0", "w u 2", "w u 0", "p d 0", "x u 0"});
        PracticeEngine e(g);
        RandomGenerator rng, ref;
        for (quint32 seed = 0; seed < 40; ++seed) {
            FakeDisplay d{&e};
            d.refuse = {QList<int>{2, 3, 5, 6, 8, 9}.value(int(seed % 6)), 8};
            const int current = int(seed % 10) + 1;
            QList<int> expected; // listed, drawn, refused rows taken out
            QList<int> least;
            for (int r = 0; r < g.rowCount(); ++r)
                if (r != current - 1 && g.state(r) != u"l" && g.cell(TermGrid::ShownCount, r) == u"0")
                    least << r + 1;
            ref.setSeed(seed);
            while (!least.isEmpty()) {
                const int k = ref.random(int(least.size()));
                expected << least[k];
                if (!d.refuse.contains(least[k]))
                    break;
                least[k] = least.last();
                least.removeLast();
            }
            rng.setSeed(seed);
            e.chooseRandom(current, d.fn(), rng);
            QCOMPARE(d.asked, expected);
            fill(g, {"w u 1", "w u 0", "p u 0", "w l 0", "w d 0", "p u 0", "w u 2", "w u 0", "p d 0", "x u 0"});
            e.tableChanged();
        }
    }

    void randomShowsTheCurrentRowWhenItAloneIsLeft()
    {
        TermGrid g;
        fill(g, {"w l", "w u 7", "w l", "w u 1"});
        PracticeEngine e(g);
        RandomGenerator rng;
        FakeDisplay d{&e};
        // Two rows left: the one other than the current is taken.
        QCOMPARE(e.chooseRandom(2, d.fn(), rng), 4);
        e.setState(3, QStringLiteral("l"));
        QCOMPARE(e.chooseRandom(2, d.fn(), rng), 2); // exactly one term left
        e.setState(1, QStringLiteral("l"));
        QCOMPARE(e.chooseRandom(2, d.fn(), rng), 0);
    }

    void randomWithNoEligibleOtherRowAndFiltersEnds()
    {
        TermGrid g;
        fill(g, {"w u", "p u", "w u"});
        PracticeEngine e(g);
        e.filters = {true, true, true}; // nothing difficult
        RandomGenerator rng;
        FakeDisplay d{&e};
        QCOMPARE(e.chooseRandom(1, d.fn(), rng), 0);
        QVERIFY(d.asked.isEmpty());
    }

    void exactlyOneLeftRules()
    {
        TermGrid g;
        fill(g, {"w l", "p l", "w l", "p u", "w d"});
        PracticeEngine e(g);
        RandomGenerator rng;
        rng.setSeed(1);
        FakeDisplay d{&e};
        e.filters = {false, true, false};
        QCOMPARE(e.chooseRandom(4, d.fn(), rng), 4); // the one phrase, the current one
        e.filters = {true, true, true};
        QCOMPARE(e.chooseRandom(5, d.fn(), rng), 5); // the one difficult term
        e.filters = {false, true, true};
        // No difficult phrase: "Phrase" matches (one left) and is refused by
        // the display under "Only difficult": the choice ends.
        FakeDisplay refusing{&e};
        refusing.refuse = {4};
        QCOMPARE(e.chooseRandom(1, refusing.fn(), rng), 0);
        QCOMPARE(refusing.asked, (QList<int>{4}));
        e.filters = {true, false, false};
        QCOMPARE(e.chooseRandom(1, d.fn(), rng), 5); // the one word, not the current one
        QCOMPARE(rng.seed(), 1u);                    // each taken without drawing
    }

    void lastLeftKinds()
    {
        TermGrid g;
        fill(g, {"w l", "p u", "w u", "p d", "w d"});
        PracticeEngine e(g);
        using L = LastLeftKind;
        QCOMPARE(
            (QList<int>{e.lastLeft(L::Phrase), e.lastLeft(L::Word), e.lastLeft(L::Term), e.lastLeft(L::DifficultPhrase),
                        e.lastLeft(L::DifficultWord), e.lastLeft(L::DifficultTerm)}),
            (QList<int>{2, 3, 2, 4, 5, 4}));
        e.setState(1, QStringLiteral("l")); // a difficult phrase is still left
        QCOMPARE(e.lastLeft(LastLeftKind::Phrase), 4);
        e.setState(3, QStringLiteral("u"));
        QCOMPARE(e.lastLeft(LastLeftKind::DifficultPhrase), 0);
        e.setState(0, QStringLiteral("u"));
        QCOMPARE(e.lastLeft(LastLeftKind::Term), 1);
    }

    void badShowCountFailsWithTheStrictMessage()
    {
        TermGrid g;
        fill(g, {"w u abc", "w u 0"});
        PracticeEngine e(g);
        try {
            e.addShown(0);
            QFAIL("no error");
        } catch (const Error &err) {
            QCOMPARE(err.message(), QStringLiteral("'abc' is not a valid integer value"));
        }
        RandomGenerator rng;
        FakeDisplay d{&e};
        QVERIFY_THROWS_EXCEPTION(Error, e.chooseRandom(2, d.fn(), rng));
        // Counts in another form of the whole-number rule are read as such.
        g.setCell(TermGrid::ShownCount, 0, QStringLiteral("$10"));
        e.tableChanged();
        QCOMPARE(e.addShown(0), 17);
    }

    void filterResetClearsShowCounts()
    {
        TermGrid g;
        fill(g, {"w u 3", "p u 9", "w u 5"});
        PracticeEngine e(g);
        e.counters();
        e.resetShownCounts();
        QCOMPARE(g.cell(TermGrid::ShownCount, 0), QStringLiteral("0"));
        QCOMPARE(g.cell(TermGrid::ShownCount, 1), QStringLiteral("0"));
        // The draw reads the new counts: with seed 0 it takes the first of rows 2 and 3.
        RandomGenerator rng;
        FakeDisplay d{&e};
        QCOMPARE(e.chooseRandom(1, d.fn(), rng), 2);
    }
};

QTEST_MAIN(TestPracticeEngine)
#include "tst_practiceengine.moc"
