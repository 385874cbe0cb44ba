#pragma once
// The character database as the program uses it: the tables with their
// lookup index, whether the character information can be shown this run, the
// tables that information reads, and the 24 tone vowels of the editor's
// pinyin entry. The program may leave the loading for later (after the first
// window is painted); whatever reads these loads them first.
#include "platform/richtext/RichEdit.h"
#include "reference/CharacterDatabase.h"

#include <QString>

namespace korvana {

class ReferenceData {
public:
    // Loads the character database compiled into the program, now.
    void load();
    // Leaves the loading to loadPending().
    void deferLoading() { m_pending = true; }
    bool loadIsPending() const { return m_pending; }
    // Loads the database if its loading was left for later.
    void loadPending();

    // The tables as loaded, with their index.
    const CharacterDatabase &database() const { return m_database; }
    // Position of the record of a code point in unihanText, or -1 (always for
    // 0). The loaded table goes through its index; another text put there is
    // searched.
    int unihanRecordStart(uint code) const;

    // The tables the character information reads: the loaded ones.
    QString unihanText;
    QString radicalsText;
    // False for this run when the character tables could not be loaded; the
    // user's "Show Hanzi Info" setting is left as it is.
    bool characterInfoAvailable = true;
    RichEdit toneVowelsText; // the 24 tone-marked vowels, for the editor's pinyin entry

private:
    CharacterDatabase m_database;
    bool m_pending = false;
};

} // namespace korvana
