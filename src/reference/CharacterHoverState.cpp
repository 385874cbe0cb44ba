#include "reference/CharacterHoverState.h"

namespace korvana {

namespace {

bool pairAt(QStringView line, int i)
{
    return i >= 0 && i + 1 < line.size() && line.at(i).isHighSurrogate() && line.at(i + 1).isLowSurrogate();
}

} // namespace

int CharacterHoverState::characterEnd(QStringView line, int column, bool hitRightOfCaret, bool shiftedHit)
{
    if (column < 0 || column > line.size())
        return -1;
    if (!shiftedHit && column < line.size() && (hitRightOfCaret || column == 0))
        return column + (pairAt(line, column) ? 2 : 1);
    return column > 0 ? column : -1;
}

HoverMove CharacterHoverState::moveOnto(QStringView line, int end, int caretX, int hitX)
{
    HoverMove move;
    if (end <= 0 || end > line.size())
        return move;
    // A character beyond U+FFFF (CJK Extension B and on) is a surrogate
    // pair, looked up by its code point.
    int first = end - 1;
    if (first > 0 && line.at(first).isLowSurrogate() && line.at(first - 1).isHighSurrogate())
        --first;
    move.index = first;
    move.character = line.mid(first, pairAt(line, first) ? 2 : 1).toString();
    const uint code = move.character.size() == 2 ? QChar::surrogateToUcs4(move.character.at(0), move.character.at(1))
                                                 : move.character.at(0).unicode();
    if (int(code) == m_lastCode)
        return move;
    move.changed = true;
    m_lastCode = int(code);
    move.code = caretX + 20 < hitX ? 0 : code;
    return move;
}

} // namespace korvana
