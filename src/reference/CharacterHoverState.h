#pragma once
// Which character the hover is on: the character under the pointer in a line
// of text, whether it is another one than the character looked up last, and
// what the popup and the reader show for it. The views measure where the
// pointer and the caret are; everything decided from those figures is here.
#include <QString>
#include <QStringView>

namespace korvana {

// The pointer moved onto a character.
struct HoverMove {
    // Another character than the one looked up last; for the same one nothing
    // is looked up or shown again.
    bool changed = false;
    QString character; // the whole character: a surrogate pair beyond U+FFFF
    int index = 0;     // where it starts in its line
    uint code = 0;     // its code point; 0 when the pointer lies past the line's end

    // The popup shows the character; past the line's end or on a line break
    // it is hidden.
    bool showsPopup() const { return code != 0 && code != 13; }
    // The reader's one-line summary is for characters beyond Latin-1.
    bool showsSummary() const { return code > 255; }
    // Its dictionary words are looked up, a Latin letter's too.
    bool looksUpWords() const { return code != 0; }
};

class CharacterHoverState {
public:
    // How far right of the pointer the characters pane is hit: most of a
    // character of the pane's font size, so that the caret position nearest
    // the hit point lies just after the character under the pointer.
    static int paneHitShift(int fontSize) { return fontSize - fontSize / 3; }

    // The column of line just after the character under the pointer, or -1
    // when the pointer is on none. column is the caret position nearest the
    // hit point; hitRightOfCaret whether the hit point lies at or right of
    // that caret position. A shifted hit (the characters pane) is on the
    // character before column. Elsewhere a hit right of the caret is on the
    // left half of the character after it, and one left of it on the right
    // half of the character before it.
    static int characterEnd(QStringView line, int column, bool hitRightOfCaret, bool shiftedHit);

    // The pointer, hit at hitX, is on the character of line that ends at end
    // (from characterEnd), whose caret position after it stands at caretX.
    // More than 20 pixels right of that caret, it lies past the line's end.
    // The character is remembered, so that the next move onto it changes
    // nothing; past the line's end, the character before stays remembered.
    HoverMove moveOnto(QStringView line, int end, int caretX, int hitX);

    // Forgets the character, so that the next one under the pointer is
    // looked up afresh (the popup was hidden, the text under it replaced).
    void forget() { m_lastCode = 0; }
    // The code of the character looked up last; 0 for none.
    int lastCode() const { return m_lastCode; }
    // Takes code as looked up last, as a move onto it would.
    void remember(int code) { m_lastCode = code; }

private:
    int m_lastCode = 0;
};

} // namespace korvana
