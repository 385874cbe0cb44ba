// The main window's side of the dictionary: loading a dictionary file into
// the program's dictionary, with its progress and failures in the status line.
#include "app/MainWindow.h"
#include "reference/DictionaryData.h"

bool MainWindow::loadDictionary(const QString &FileName)
{
    // A dictionary asked for now replaces the one left for after the first paint.
    m_dictionaryPending = false;
    showStatus(korvana::DictionaryData::loadingStatus(FileName));
    const korvana::DictionaryData::LoadResult result = dictionary.load(FileName);
    // Empty once the file loaded; else the status line is the only report,
    // also at start-up, where the program goes on without a dictionary.
    showStatus(result.status);
    return result.loaded;
}
