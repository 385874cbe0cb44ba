// The main window's dictionary: loading the dictionary file into FDictText,
// and the searches the dictionary window runs over it.
#include "app/TForm1.h"
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"
#include "reference/Dictionary.h"

struct TForm1::DictionaryState {
    // Where the dictionary's lines start, by their first character: built
    // with every load, for the hover's lookups and the searches.
    korvana::DictionaryLineIndex lineIndex;
    korvana::DictionarySearch search;
};

TForm1::DictionaryState &TForm1::dictionary()
{
    if (!dictionaryState) {
        dictionaryState = std::make_shared<DictionaryState>();
        dictionaryState->search.useLineIndex(&dictionaryState->lineIndex);
    }
    return *dictionaryState;
}

korvana::DictionaryLineIndex &TForm1::dictionaryLineIndex()
{
    // A text put into FDictText otherwise than by a load is indexed here.
    dictionary().lineIndex.update(FDictText);
    return dictionary().lineIndex;
}

bool TForm1::LoadDict(const QString &FileName)
{
    Status(QStringLiteral("Loading ") + FileName);
    try {
        QString text = korvana::loadDictionaryText(FileName);
        FDictText = std::move(text);
        // The folded copy of the old text would only hold its memory.
        dictionary().search.clearCache();
        // Indexed now, so that no hover waits for it.
        dictionary().lineIndex.update(FDictText);
        Status(QString());
        return true;
    } catch (const std::exception &e) {
        // The text loaded before stays in use; the status line is the only
        // report, also at start-up, where the program goes on without one.
        Status(QStringLiteral("Unable to load ") + FileName + QStringLiteral(": ") + korvana::errorText(e));
        return false;
    }
}

QStringList TForm1::DictExactFind(const QString &Term, bool CaseSensitive)
{
    dictionaryLineIndex();
    return dictionary().search.exactFind(FDictText, Term, CaseSensitive);
}

QStringList TForm1::DictFindAll(const QString &Term, bool CaseSensitive, int FirstResult, int LastResult,
                                bool *PageFull)
{
    dictionaryLineIndex();
    korvana::DictionaryPage page =
        dictionary().search.findAll(FDictText, Term, CaseSensitive, FirstResult, LastResult);
    if (PageFull)
        *PageFull = page.full;
    return std::move(page.entries);
}
