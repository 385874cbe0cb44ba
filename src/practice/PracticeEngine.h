#pragma once
// The practice engine: which term comes next, in the order of the lesson text
// or at random, and how many terms are left.
//
// It works on the term table (show count, type and state of each row) and
// keeps a compact copy of those three columns with the six counters, so that
// a step costs no full pass over the table's text cells. The copy is rebuilt
// after the table was changed by others (its revision moved on, or
// tableChanged() was called); the engine's own writes (show counts, marks,
// Reset, filter changes) go through it and keep it exact.
//
// Showing a term is the caller's: the engine asks a ShowFn, which gets a
// 1-based term number and answers whether the term was shown.
#include "lessons/TermGrid.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace korvana {

class RandomGenerator;

struct TermCounters {
    int learnedWords = 0;
    int learnedPhrases = 0;
    int wordsLeft = 0;   // unlearned and difficult words
    int phrasesLeft = 0; // unlearned and difficult phrases
    int difficultWords = 0;
    int difficultPhrases = 0;
    bool operator==(const TermCounters &) const = default;
};

// The mode boxes the engine reads.
struct PracticeFilters {
    bool words = true;          // words may be shown
    bool phrases = true;        // phrases may be shown
    bool onlyDifficult = false; // only terms marked difficult
};

enum class StepDirection { Next, Previous };

// The kind of term lastLeft looks for: of one type or either, and among
// the terms not learned or only the difficult ones.
enum class LastLeftKind { Phrase, Word, Term, DifficultPhrase, DifficultWord, DifficultTerm };

// Why practice cannot go on; Ok when it can.
enum class CheckResult { Ok, NoLesson, NoTypeChecked, NoWordsLeft, NoPhrasesLeft, NoTermsLeft, NoDifficultLeft };

// The status line text of a check result; empty for Ok.
QString checkMessage(CheckResult result);

// "Words 3:0  Phrases 1:1": not learned, then learned, of each type.
QString countsText(const TermCounters &c);

class PracticeEngine {
public:
    using ShowFn = std::function<bool(int term)>;

    explicit PracticeEngine(TermGrid &grid);

    PracticeFilters filters;

    // The table was changed by someone else; the next look rebuilds the copy.
    void tableChanged() { m_dirty = true; }

    // Exact counters of the table as it is now.
    const TermCounters &counters();
    // Whether any row of the table holds a term (the table keeps an empty
    // row when no lesson is open).
    bool holdsTerm();

    // Whether practice can go on. lessonOpen: a lesson has been loaded.
    CheckResult check(bool lessonOpen);

    // 1-based position of the first row of kind; 0 when none is.
    int lastLeft(LastLeftKind kind);

    // Whether the term display would take the row (0-based) by its state,
    // the "Only difficult" filter and the type boxes.
    bool accepts(int row);

    // --- writes that keep the copy exact -------------------------------------
    // The state cell of row (0-based): "l", "u" or "d".
    void setState(int row, const QString &state);
    // Counts one more showing: the show count read strictly, plus one,
    // written back. Throws korvana::Error when the cell is not a number.
    int addShown(int row);
    // Every show count back to "0".
    void resetShownCounts();
    // Every learned row back to unlearned (difficult rows stay).
    void resetLearned();

    // --- choosing the next term -----------------------------------------------
    // Sequential walk from start (1-based; outside the table means from the
    // first row going next, from the last going previous): tries each row
    // once, the start row last, and returns the term shown, or 0.
    int walk(int start, StepDirection direction, const ShowFn &show);

    // Random choice from start (the current term). The exactly-one-left rules
    // take their row without drawing; otherwise one of the rows the display
    // would take, other than the current one, with the least show count, is
    // drawn, each at most once. With none, the current row is shown again when
    // it alone may be shown. Returns the term shown, or 0.
    int chooseRandom(int start, const ShowFn &show, RandomGenerator &random);

private:
    enum : std::uint8_t { TypeWord = 0, TypePhrase = 1, TypeOther = 2 };
    enum : std::uint8_t { StateLearned = 0, StateUnlearned = 1, StateDifficult = 2, StateOther = 3 };
    static constexpr int InvalidCount = -1; // the cell is not a whole number

    void sync();
    void rebuild();
    // The copy matches the table: no outside change since it was made.
    bool inSync() const;
    void count(int row, int delta);
    bool typeChecked(std::uint8_t type) const;
    bool stateAccepted(std::uint8_t state) const;
    int shownCountOf(int row); // throws for a cell that is not a number

    TermGrid &m_grid;
    bool m_dirty = true;
    quint64 m_seenRevision = 0; // the table's revision the copy reflects
    std::vector<std::uint8_t> m_type;
    std::vector<std::uint8_t> m_state;
    std::vector<int> m_shown;
    TermCounters m_counters;
    int m_termRows = 0;
};

} // namespace korvana
