#pragma once
// The character database the program carries inside itself: the Unihan
// extract (one record per ideograph), the table of the 214 radicals, and the
// rich text of the numeral pinyin and of the 24 tone vowels.
//
// Unihan record:  "@" HEX ";" simplified ";" traditional ";" radical.strokes
//                 ";" READINGS ";" total strokes ";" definition
// Radical record: "@" number ";" code point in decimal ";" name
//
// The texts are kept exactly as loaded (lines joined by CR LF, none after the
// last line), because the character information reads records straight out of
// them. Finding a record by searching 3 million characters on every new
// character under the mouse is wasteful, so loading also builds an index from
// key to record start; a lookup through it gives the same position as a
// search of the text for the first "@" + key + ";" would.
#include "reference/StoredItems.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

namespace korvana {

class CharacterDatabase {
public:
    // Indexes of the stored items.
    enum Item { UnihanItem = 0, RadicalsItem = 1, NumbersItem = 2, PinyinItem = 3 };

    CharacterDatabase() = default;

    // Loads the items compiled into the program. See readDatabases(StoredItems).
    bool readDatabases();

    // Loads "Unihan" into unihanText(), "Radicals" into radicalsText() and the
    // rich text of "Pinyin" into pinyinRtf(), each on its own: a failure of
    // one leaves its text empty and its flag false and does not stop the
    // others. Keeps the items so that numbersRtf() can read "Numbers" later.
    // Returns whether both text tables loaded (the character information
    // needs both).
    bool readDatabases(StoredItems items);

    bool unihanLoaded() const { return m_unihanLoaded; }
    bool radicalsLoaded() const { return m_radicalsLoaded; }
    bool pinyinLoaded() const { return m_pinyinLoaded; }
    // Both tables loaded: the character information can be shown.
    bool tablesLoaded() const { return m_unihanLoaded && m_radicalsLoaded; }
    // The message of the first load error, empty when there was none.
    QString lastError() const { return m_lastError; }

    const QString &unihanText() const { return m_unihanText; }
    const QString &radicalsText() const { return m_radicalsText; }
    // Rich text of the 24 tone vowels, one line; empty when it failed to load.
    const QByteArray &pinyinRtf() const { return m_pinyinRtf; }
    // Rich text of the 14 numeral syllables, one per line, read anew on every
    // call (the numbers drill reloads it each time it starts); empty when the
    // item cannot be read.
    QByteArray numbersRtf() const;

    // Position in unihanText() of "@" + upper-case hex code + ";", or -1.
    int unihanRecordStart(char32_t codePoint) const;
    // The record of a code point up to its line end (CR LF not included);
    // empty when there is none.
    QStringView unihanRecord(char32_t codePoint) const;

    // Position in radicalsText() of "@" + number + ";", or -1. The text form
    // takes the number as written in a radical field ("120"); a form the
    // index does not hold is searched for in the text.
    int radicalRecordStart(int number) const;
    int radicalRecordStart(QStringView number) const;
    QStringView radicalRecord(int number) const;

private:
    using Index = std::vector<std::pair<quint32, int>>;
    static Index buildIndex(const QString &text, int base);
    static int find(const Index &index, quint32 key);
    static QStringView lineAt(const QString &text, int start);

    QString m_unihanText;
    QString m_radicalsText;
    QByteArray m_pinyinRtf;
    Index m_unihanIndex;
    Index m_radicalsIndex;
    StoredItems m_items;
    bool m_unihanLoaded = false;
    bool m_radicalsLoaded = false;
    bool m_pinyinLoaded = false;
    QString m_lastError;
};

} // namespace korvana
