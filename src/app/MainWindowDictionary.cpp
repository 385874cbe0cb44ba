// The main window's dictionary: loading the dictionary file into dictionaryText,
// and the searches the dictionary window runs over it.
#include "app/MainWindow.h"
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"
#include "reference/Dictionary.h"

struct MainWindow::DictionaryState {
    // Where the dictionary's lines start, by their first character: built
    // with every load, for the hover's lookups and the searches.
    korvana::DictionaryLineIndex lineIndex;
    korvana::DictionarySearch search;
};

MainWindow::DictionaryState &MainWindow::dictionary()
{
    if (!dictionaryState) {
        dictionaryState = std::make_shared<DictionaryState>();
        dictionaryState->search.useLineIndex(&dictionaryState->lineIndex);
    }
    return *dictionaryState;
}

korvana::DictionaryLineIndex &MainWindow::dictionaryLineIndex()
{
    loadPendingData();
    // A text put into dictionaryText otherwise than by a load is indexed here.
    dictionary().lineIndex.update(dictionaryText);
    return dictionary().lineIndex;
}

bool MainWindow::loadDictionary(const QString &FileName)
{
    // A dictionary asked for now replaces the one left for after the first paint.
    m_dictionaryPending = false;
    showStatus(QStringLiteral("Loading ") + FileName);
    try {
        QString text = korvana::loadDictionaryText(FileName);
        dictionaryText = std::move(text);
        // The folded copy of the old text would only hold its memory.
        dictionary().search.clearCache();
        // Indexed now, so that no hover waits for it.
        dictionary().lineIndex.update(dictionaryText);
        showStatus(QString());
        return true;
    } catch (const std::exception &e) {
        // The text loaded before stays in use; the status line is the only
        // report, also at start-up, where the program goes on without one.
        showStatus(QStringLiteral("Unable to load ") + FileName + QStringLiteral(": ") + korvana::errorText(e));
        return false;
    }
}

QStringList MainWindow::dictionaryExactFind(const QString &Term, bool CaseSensitive)
{
    dictionaryLineIndex();
    return dictionary().search.exactFind(dictionaryText, Term, CaseSensitive);
}

QStringList MainWindow::dictionaryFindAll(const QString &Term, bool CaseSensitive, int FirstResult, int LastResult,
                                bool *PageFull)
{
    dictionaryLineIndex();
    korvana::DictionaryPage page =
        dictionary().search.findAll(dictionaryText, Term, CaseSensitive, FirstResult, LastResult);
    if (PageFull)
        *PageFull = page.full;
    return std::move(page.entries);
}
