// Loading a dictionary file into the program's dictionary, with its progress
// and failures in the main window's status line.
#include "app/DictionaryLoader.h"
#include "reference/DictionaryData.h"

DictionaryLoader::DictionaryLoader(korvana::DictionaryData &dictionary, std::function<void(const QString &)> showStatus)
    : m_dictionary(dictionary), m_showStatus(std::move(showStatus))
{
}

bool DictionaryLoader::loadDictionary(const QString &fileName)
{
    // A dictionary asked for now replaces the one left for after the first paint.
    m_pending = false;
    m_showStatus(korvana::DictionaryData::loadingStatus(fileName));
    const korvana::DictionaryData::LoadResult result = m_dictionary.load(fileName);
    // Empty once the file loaded; else the status line is the only report,
    // also at start-up, where the program goes on without a dictionary.
    m_showStatus(result.status);
    return result.loaded;
}
