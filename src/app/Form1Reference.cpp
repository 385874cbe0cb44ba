// The main window's reference data: the character database loaded at start.
#include "app/TForm1.h"
#include "practice/ToneMarkConverter.h"

void TForm1::ReadDatabases()
{
    charDatabase.readDatabases();
    FUnihanText = charDatabase.unihanText();
    FRadicalsText = charDatabase.radicalsText();
    // Without both tables the character information has nothing to show; it
    // is switched off for this run only, so a damaged build does not change
    // the user's settings for good.
    FHanziInfoAvailable = charDatabase.tablesLoaded();
    try {
        if (charDatabase.pinyinLoaded())
            rePinyin.fromRtf(charDatabase.pinyinRtf());
    } catch (const std::exception &) {
        // The editor's vowel buttons stay empty; nothing to report.
        rePinyin.clear();
    }
}

QString TForm1::PinyinNumbersIntoToneMarks(const QString &S) const
{
    return korvana::pinyinNumbersIntoToneMarks(S);
}
