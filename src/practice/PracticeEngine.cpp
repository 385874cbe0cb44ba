#include "practice/PracticeEngine.h"
#include "platform/ui/Integers.h"
#include "practice/RandomGenerator.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace korvana {

QString checkMessage(CheckResult result)
{
    switch (result) {
    case CheckResult::Ok:
        return {};
    case CheckResult::NoLesson:
        return QStringLiteral("You must open one or more lessons or a session to practise.");
    case CheckResult::NoTypeChecked:
        return QStringLiteral("You must check either words or phrases checkbox.");
    case CheckResult::NoWordsLeft:
        return QStringLiteral("No more words left; click \"Reset\".");
    case CheckResult::NoPhrasesLeft:
        return QStringLiteral("No more phrases left; click \"Reset\".");
    case CheckResult::NoTermsLeft:
        return QStringLiteral("No more terms left; click \"Reset\".");
    case CheckResult::NoDifficultLeft:
        return QStringLiteral("No more terms left; click \"Reset\" or uncheck \"Only difficult\".");
    }
    return {};
}

QString countsText(const TermCounters &c)
{
    return QStringLiteral("Words %1:%2  Phrases %3:%4")
        .arg(c.wordsLeft)
        .arg(c.learnedWords)
        .arg(c.phrasesLeft)
        .arg(c.learnedPhrases);
}

PracticeEngine::PracticeEngine(TermGrid &grid) : m_grid(grid)
{
}

namespace {
std::uint8_t typeCode(const QString &t)
{
    if (t.size() == 1) {
        if (t[0] == u'w')
            return 0;
        if (t[0] == u'p')
            return 1;
    }
    return 2;
}

std::uint8_t stateCode(const QString &s)
{
    if (s.size() == 1) {
        switch (s[0].unicode()) {
        case u'l':
            return 0;
        case u'u':
            return 1;
        case u'd':
            return 2;
        }
    }
    return 3;
}

// A show count as the strict rule reads it; INT_MIN for text that is not a
// number (then the strict reading is repeated where the value is needed, so
// that it fails with its own message). Plain digits, the usual case, are
// read here directly.
int parseCount(const QString &text)
{
    const qsizetype n = text.size();
    if (n > 0 && n <= 9) {
        int v = 0;
        bool digits = true;
        for (QChar ch : text) {
            const char16_t c = ch.unicode();
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            v = v * 10 + int(c - u'0');
        }
        if (digits)
            return v;
    }
    const std::optional<int> v = parseInteger(text);
    return v ? *v : INT_MIN;
}
} // namespace

bool PracticeEngine::inSync() const
{
    return !m_dirty && m_seenRevision == m_grid.revision() && m_type.size() == size_t(m_grid.rowCount());
}

void PracticeEngine::sync()
{
    if (!inSync())
        rebuild();
}

void PracticeEngine::rebuild()
{
    const int rows = m_grid.rowCount();
    m_type.assign(size_t(rows), TypeOther);
    m_state.assign(size_t(rows), StateOther);
    m_shown.assign(size_t(rows), 0);
    m_counters = {};
    m_termRows = 0;
    for (int r = 0; r < rows; ++r) {
        const QString type = m_grid.type(r);
        m_type[size_t(r)] = typeCode(type);
        m_state[size_t(r)] = stateCode(m_grid.state(r));
        m_shown[size_t(r)] = parseCount(m_grid.cell(TermGrid::ShownCount, r));
        if (!type.isEmpty() || !m_grid.lesson(r).isEmpty())
            ++m_termRows;
        count(r, +1);
    }
    m_dirty = false;
    m_seenRevision = m_grid.revision();
}

void PracticeEngine::count(int row, int delta)
{
    const std::uint8_t type = m_type[size_t(row)];
    if (type == TypeOther)
        return;
    const bool word = type == TypeWord;
    switch (m_state[size_t(row)]) {
    case StateLearned:
        (word ? m_counters.learnedWords : m_counters.learnedPhrases) += delta;
        break;
    case StateUnlearned:
        (word ? m_counters.wordsLeft : m_counters.phrasesLeft) += delta;
        break;
    case StateDifficult:
        // A difficult term is also a term left.
        (word ? m_counters.difficultWords : m_counters.difficultPhrases) += delta;
        (word ? m_counters.wordsLeft : m_counters.phrasesLeft) += delta;
        break;
    default:
        break;
    }
}

const TermCounters &PracticeEngine::counters()
{
    sync();
    return m_counters;
}

bool PracticeEngine::holdsTerm()
{
    sync();
    return m_termRows > 0;
}

CheckResult PracticeEngine::check(bool lessonOpen)
{
    // A lesson name alone is not enough: an open in which every file failed
    // leaves the name of the last one tried and no term at all.
    if (!lessonOpen || !holdsTerm())
        return CheckResult::NoLesson;
    const TermCounters &c = counters();
    const PracticeFilters &f = filters;
    if (!f.words && !f.phrases)
        return CheckResult::NoTypeChecked;
    if (!f.phrases && c.wordsLeft < 1)
        return CheckResult::NoWordsLeft;
    if (!f.words && c.phrasesLeft < 1)
        return CheckResult::NoPhrasesLeft;
    if (f.words && f.phrases && c.wordsLeft + c.phrasesLeft < 1)
        return CheckResult::NoTermsLeft;
    // Difficult terms of both types count, whatever the type boxes say.
    if (f.onlyDifficult && c.difficultWords + c.difficultPhrases < 1)
        return CheckResult::NoDifficultLeft;
    return CheckResult::Ok;
}

int PracticeEngine::lastLeft(LastLeftKind kind)
{
    sync();
    int wantType = -1; // -1: any type
    bool difficultOnly = false;
    switch (kind) {
    case LastLeftKind::Phrase:
        wantType = TypePhrase;
        break;
    case LastLeftKind::Word:
        wantType = TypeWord;
        break;
    case LastLeftKind::Term:
        break;
    case LastLeftKind::DifficultPhrase:
        wantType = TypePhrase;
        difficultOnly = true;
        break;
    case LastLeftKind::DifficultWord:
        wantType = TypeWord;
        difficultOnly = true;
        break;
    case LastLeftKind::DifficultTerm:
        difficultOnly = true;
        break;
    }
    for (size_t r = 0; r < m_type.size(); ++r) {
        if (wantType >= 0 && m_type[r] != wantType)
            continue;
        const bool match = difficultOnly ? m_state[r] == StateDifficult : m_state[r] != StateLearned;
        if (match)
            return int(r) + 1;
    }
    return 0;
}

bool PracticeEngine::typeChecked(std::uint8_t type) const
{
    // The display refuses only a checked-off word or phrase; a row of any
    // other type is shown.
    if (type == TypeWord)
        return filters.words;
    if (type == TypePhrase)
        return filters.phrases;
    return true;
}

bool PracticeEngine::stateAccepted(std::uint8_t state) const
{
    return filters.onlyDifficult ? state == StateDifficult : state != StateLearned;
}

bool PracticeEngine::accepts(int row)
{
    sync();
    if (row < 0 || row >= int(m_type.size()))
        return false;
    return stateAccepted(m_state[size_t(row)]) && typeChecked(m_type[size_t(row)]);
}

int PracticeEngine::shownCountOf(int row)
{
    const int v = m_shown[size_t(row)];
    if (v != INT_MIN)
        return v;
    return strToInt(m_grid.cell(TermGrid::ShownCount, row));
}

void PracticeEngine::setState(int row, const QString &state)
{
    if (row < 0 || row >= m_grid.rowCount())
        return;
    const bool upToDate = inSync();
    m_grid.setCell(TermGrid::TermStatus, row, state);
    if (!upToDate)
        return;
    count(row, -1);
    m_state[size_t(row)] = stateCode(state);
    count(row, +1);
    m_seenRevision = m_grid.revision();
}

int PracticeEngine::addShown(int row)
{
    const int value = strToInt(m_grid.cell(TermGrid::ShownCount, row)) + 1;
    const bool upToDate = inSync();
    m_grid.setCell(TermGrid::ShownCount, row, QString::number(value));
    if (upToDate && row >= 0 && row < int(m_shown.size())) {
        m_shown[size_t(row)] = value;
        m_seenRevision = m_grid.revision();
    }
    return value;
}

void PracticeEngine::resetShownCounts()
{
    const QString zero = QStringLiteral("0");
    const bool upToDate = inSync();
    for (int r = 0; r < m_grid.rowCount(); ++r)
        m_grid.setCell(TermGrid::ShownCount, r, zero);
    if (upToDate) {
        std::fill(m_shown.begin(), m_shown.end(), 0);
        m_seenRevision = m_grid.revision();
    }
}

void PracticeEngine::resetLearned()
{
    sync();
    const QString unlearned = QStringLiteral("u");
    for (int r = 0; r < m_grid.rowCount(); ++r) {
        if (m_grid.state(r) == u"l")
            setState(r, unlearned);
    }
}

int PracticeEngine::walk(int start, StepDirection direction, const ShowFn &show)
{
    sync();
    const int rows = int(m_type.size());
    if (rows == 0)
        return 0;
    const bool next = direction == StepDirection::Next;
    // The first row tried and how many: a start inside the table is tried
    // last; one outside it (none shown yet, or a stale number) starts at an
    // end and every row is tried once.
    int row = 0;
    if (start >= 1 && start <= rows)
        row = next ? start % rows : (start - 2 + rows) % rows;
    else
        row = next ? 0 : rows - 1;

    int lastReaching = -1; // last row that the display would have read
    int lastCalled = -1;
    for (int tries = 0; tries < rows; ++tries) {
        const std::uint8_t state = m_state[size_t(row)];
        if (stateAccepted(state)) {
            lastReaching = row;
            if (typeChecked(m_type[size_t(row)])) {
                lastCalled = row;
                if (show(row + 1))
                    return row + 1;
                // The display may change the table (a show count); keep
                // reading the same copy, which it updates.
                sync();
            }
        }
        row = next ? (row + 1) % rows : (row - 1 + rows) % rows;
    }
    // A row refused only for its type still leaves its line as the one the
    // panes read, so the last such row of the walk goes to the display.
    if (lastReaching >= 0 && lastReaching != lastCalled && show(lastReaching + 1))
        return lastReaching + 1;
    return 0;
}

int PracticeEngine::chooseRandom(int start, const ShowFn &show, RandomGenerator &random)
{
    const TermCounters c = counters();
    const PracticeFilters f = filters;

    // Exactly one term left of the kind being practised: take it without
    // drawing; each later rule overrides an earlier one.
    std::optional<LastLeftKind> kind;
    if (!f.words && c.phrasesLeft == 1)
        kind = LastLeftKind::Phrase;
    if (!f.phrases && c.wordsLeft == 1)
        kind = LastLeftKind::Word;
    if (f.words && f.phrases && c.wordsLeft + c.phrasesLeft == 1)
        kind = LastLeftKind::Term;
    if (f.onlyDifficult && !f.words && c.difficultPhrases == 1)
        kind = LastLeftKind::DifficultPhrase;
    if (f.onlyDifficult && !f.phrases && c.difficultWords == 1)
        kind = LastLeftKind::DifficultWord;
    if (f.onlyDifficult && f.words && f.phrases && c.difficultWords + c.difficultPhrases == 1)
        kind = LastLeftKind::DifficultTerm;
    if (kind) {
        const int term = lastLeft(*kind);
        return term > 0 && show(term) ? term : 0;
    }

    // The rows the display would take, other than the current one, shown
    // least often so far. One pass finds the least count and how many rows
    // have it; the row drawn is then found without listing them all, since
    // the display nearly always takes it.
    const int rows = int(m_type.size());
    const int current = start - 1;
    bool takes[4][4] = {};
    for (std::uint8_t st = 0; st < 4; ++st)
        for (std::uint8_t ty = 0; ty < 3; ++ty)
            takes[st][ty] = stateAccepted(st) && typeChecked(ty);
    const std::uint8_t *state = m_state.data();
    const std::uint8_t *type = m_type.data();
    const int *shownCounts = m_shown.data();
    auto eligible = [&](int r) { return takes[state[r]][type[r]] && r != current; };
    auto shownOf = [&](int r) {
        const int v = shownCounts[r];
        return v != INT_MIN ? v : shownCountOf(r);
    };
    int minimum = INT_MAX;
    int ties = 0;
    for (int r = 0; r < rows; ++r) {
        if (!eligible(r))
            continue;
        const int shown = shownOf(r);
        if (shown < minimum) {
            minimum = shown;
            ties = 0;
        }
        ties += shown == minimum;
    }
    std::vector<int> least; // listed only once the display refuses a row
    if (ties > 0) {
        const int k = random.random(ties);
        int row = -1;
        for (int r = 0, seen = 0; r < rows; ++r) {
            if (eligible(r) && shownOf(r) == minimum && seen++ == k) {
                row = r;
                break;
            }
        }
        if (show(row + 1))
            return row + 1;
        // A refused row changes nothing; the copy is read again all the same.
        state = m_state.data();
        type = m_type.data();
        shownCounts = m_shown.data();
        least.reserve(size_t(ties));
        for (int r = 0; r < std::min(rows, int(m_type.size())); ++r)
            if (eligible(r) && shownOf(r) == minimum)
                least.push_back(r);
        if (size_t(k) < least.size()) {
            least[size_t(k)] = least.back();
            least.pop_back();
        }
    }
    const bool othersEligible = ties > 0;
    while (!least.empty()) {
        const size_t k = size_t(random.random(int(least.size())));
        const int row = least[k];
        if (show(row + 1))
            return row + 1;
        least[k] = least.back();
        least.pop_back();
    }
    if (!othersEligible && accepts(current) && show(current + 1))
        return current + 1;
    return 0;
}

} // namespace korvana
