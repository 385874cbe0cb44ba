// The main window's dictionary: loading the dictionary file into FDictText,
// and the searches the dictionary window runs over it.
#include "app/TForm1.h"
#include "reference/Dictionary.h"

struct TForm1::DictionaryState {
    korvana::DictionarySearch search;
};

TForm1::DictionaryState &TForm1::dictionary()
{
    if (!dictionaryState)
        dictionaryState = std::make_shared<DictionaryState>();
    return *dictionaryState;
}

void TForm1::LoadDict(const QString &FileName)
{
    Status(QStringLiteral("Loading ") + FileName);
    try {
        QString text = korvana::loadDictionaryText(FileName);
        FDictText = std::move(text);
        // The folded copy of the old text would only hold its memory.
        dictionary().search.clearCache();
        Status(QString());
    } catch (const std::exception &) {
        // The text loaded before stays in use; the status line is the only
        // report, also at start-up, where the program goes on without one.
        Status(QStringLiteral("Unable to load ") + FileName);
    }
}

QStringList TForm1::DictExactFind(const QString &Term, bool CaseSensitive)
{
    return dictionary().search.exactFind(FDictText, Term, CaseSensitive);
}

QStringList TForm1::DictFindAll(const QString &Term, bool CaseSensitive, int FirstResult, int LastResult,
                                bool *PageFull)
{
    korvana::DictionaryPage page =
        dictionary().search.findAll(FDictText, Term, CaseSensitive, FirstResult, LastResult);
    if (PageFull)
        *PageFull = page.full;
    return std::move(page.entries);
}
