// The main window's reference data: the character database loaded at start.
#include "app/MainWindow.h"
#include "practice/ToneMarkConverter.h"

void MainWindow::readDatabases()
{
    charDatabase.readDatabases();
    unihanText = charDatabase.unihanText();
    radicalsText = charDatabase.radicalsText();
    // Without both tables the character information has nothing to show; it
    // is switched off for this run only, so a damaged build does not change
    // the user's settings for good.
    hanziInfoAvailable = charDatabase.tablesLoaded();
    try {
        if (charDatabase.pinyinLoaded())
            toneVowelsText.fromRtf(charDatabase.pinyinRtf());
    } catch (const std::exception &) {
        // The editor's vowel buttons stay empty; nothing to report.
        toneVowelsText.clear();
    }
}

QString MainWindow::pinyinNumbersIntoToneMarks(const QString &S) const
{
    return korvana::pinyinNumbersIntoToneMarks(S);
}
