#pragma once
// The character information shown for the character under the mouse: the
// fields of its Unihan record, its radical from the radicals table, and the
// dictionary entries of the words it forms with its neighbours. Plain text
// work over the loaded tables, so that the popup and the reader only place
// the results.
//
// The tables are the texts of CharacterDatabase (records "@KEY;..." joined by
// CR LF) and the dictionary text (entries "汉字 [han4 zi4] /sense/sense/"
// joined by CR LF, a header on the first line).
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

namespace korvana {

// Pinyin with tone digits into tone marks (the main window's converter).
using ToneMarker = std::function<QString(const QString &)>;

// The Unihan search key of a UTF-16 code: "@" + upper-case hex + ";".
QString unihanKey(uint code);

// Up to maxChars characters of text from start, cut just after the first LF
// (the line end is kept); empty when no LF lies within them. A start of -1
// (nothing found) gives an empty text.
QStringView recordFrom(QStringView text, int start, int maxChars);

// The fields of one Unihan record, as the record text (starting with its key)
// holds them. A field the record lacks is empty.
struct UnihanFields {
    QString simplified; // "4E48 U+5E7A"
    QString traditional;
    QString radical;    // "2.3", "120'.5", "35.6 66.6"
    QString readings;   // "ZHONG1 ZHONG4"
    QString strokes;    // "4"
    QString definition; // the rest of the record, without its line end
};
UnihanFields splitUnihanRecord(QStringView record);

// The characters named by a variant field: one hex code, or several
// separated by blanks, each after the first written "U+XXXX". Codes above
// U+FFFF give their surrogate pair. Throws korvana::Error ("'$..' is not a
// valid integer value") for an item that is not hexadecimal.
QString variantCharacters(const QString &field);

// The radical part of the information: the radical's character and the text
// "name (nr. N) + X strokes" (" simp. + " when the radical is written in its
// simplified form). radicalsText is searched for the record of the number.
struct RadicalInfo {
    QString character;
    QString text;
};
// Throws korvana::Error when the radical record's code is not a number.
RadicalInfo radicalInfo(const QString &radicalField, QStringView radicalsText);

// Everything the popup shows about one character.
struct CharacterInfo {
    QString character; // the character itself
    QString codeHex;   // upper case, no leading zeros
    QString codeDec;
    bool found = false; // a Unihan record exists; the fields below are empty otherwise
    QString strokes;
    QString mandarin; // the readings, tone-marked
    QString traditional;
    QString simplified;
    QString radicalCharacter;
    QString radical;
    QString definition;
};
// The information of code (shown as character) from the Unihan record that starts
// at recordStart in unihanText (-1: none). Throws korvana::Error for a
// malformed number in the record or in its radical's record.
CharacterInfo characterInfo(uint code, const QString &character, QStringView unihanText, int recordStart,
                            QStringView radicalsText, const ToneMarker &toneMarks);

// The reader's one-line summary: the character, its readings in brackets and
// its definition, trimmed ("中 [zhōng zhòng] central; ..."; "x []" when the
// character has no record).
QString readerSummary(const QString &character, QStringView unihanText, int recordStart, const ToneMarker &toneMarks);

// The character looked up (c) and its neighbours in its line: two before and
// two after, each a whole character (a surrogate pair for one beyond U+FFFF).
// A neighbour outside the line, or whose code is below 255, is absent
// (null), so a key never mixes Chinese with Latin letters or blanks.
struct HoverNeighbours {
    QString c;
    QString before2, before1, after1, after2; // null when absent
};
// index is the 0-based position of the character's first UTF-16 unit in
// line; c is the character looked up there (null when the point lay past the
// line's end).
HoverNeighbours neighboursAt(QStringView line, int index, const QString &c);

// The dictionary search keys for a character with its neighbours, longest
// first: LF + characters + blank; keys that need an absent neighbour are left
// out.
QStringList dictionaryKeys(const HoverNeighbours &n);

// One dictionary entry as a line of the popup: the text from just after its
// key's LF, as a "/"-separated entry turned into "Chinese [tone-marked
// pinyin] sense; sense". Empty when nothing is left of it.
QString dictionaryLine(QStringView entryText, const ToneMarker &toneMarks);

// Where the lines of a dictionary text start, by their first character, so
// that a key is found without scanning the whole text (eight keys for every
// new character under the mouse would scan millions of characters each).
// It finds exactly what a search of the text for the key's first occurrence
// finds. The text indexed last is kept (shared, not copied) and a different
// text is indexed afresh.
class DictionaryLineIndex {
public:
    // Indexes text unless it is the text indexed last.
    void update(const QString &text);
    // First position of key (an LF and what follows it) in the indexed
    // text, or -1.
    qsizetype find(QStringView key) const;
    // Whether text is the text indexed last (the same buffer).
    bool indexes(const QString &text) const
    {
        return text.size() == m_source.size() && text.constData() == m_source.constData();
    }
    // The positions of the LFs followed by c, ascending.
    const std::vector<qsizetype> &linesStartingWith(char16_t c) const;

private:
    QString m_source;
    QHash<char16_t, std::vector<qsizetype>> m_starts; // LF positions, by the character after them
};

// The lines of every key found in dictText (first occurrence each), in key
// order. With an index, it must have been updated with dictText.
QStringList dictionaryLines(QStringView dictText, const QStringList &keys, const ToneMarker &toneMarks,
                            const DictionaryLineIndex *index = nullptr);

} // namespace korvana
