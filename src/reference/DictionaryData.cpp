#include "reference/DictionaryData.h"

#include "platform/ui/Errors.h"

namespace korvana {

DictionaryData::DictionaryData()
{
    m_search.useLineIndex(&m_lineIndex);
}

QString DictionaryData::loadingStatus(const QString &fileName)
{
    return QStringLiteral("Loading ") + fileName;
}

DictionaryData::LoadResult DictionaryData::load(const QString &fileName)
{
    try {
        QString text = loadDictionaryText(fileName);
        m_text = std::move(text);
        // The folded copy of the old text would only hold its memory.
        m_search.clearCache();
        // Indexed now, so that no hover waits for it.
        m_lineIndex.update(m_text);
        return {true, QString()};
    } catch (const std::exception &e) {
        // The text loaded before stays in use.
        return {false, QStringLiteral("Unable to load ") + fileName + QStringLiteral(": ") + errorText(e)};
    }
}

const DictionaryLineIndex &DictionaryData::lineIndex()
{
    if (m_beforeRead)
        m_beforeRead();
    // A text put in use by setText is indexed here.
    m_lineIndex.update(m_text);
    return m_lineIndex;
}

QStringList DictionaryData::exactFind(const QString &term, bool caseSensitive)
{
    lineIndex();
    return m_search.exactFind(m_text, term, caseSensitive);
}

DictionaryMatches DictionaryData::exactMatches(const QString &term, bool caseSensitive)
{
    lineIndex();
    return m_search.exactMatches(m_text, term, caseSensitive);
}

QStringList DictionaryData::findAll(const QString &term, bool caseSensitive, int firstResult, int lastResult,
                                    bool *pageFull)
{
    lineIndex();
    DictionaryPage page = m_search.findAll(m_text, term, caseSensitive, firstResult, lastResult);
    if (pageFull)
        *pageFull = page.full;
    return std::move(page.entries);
}

QStringList DictionaryData::lines(const QStringList &keys, const ToneMarker &toneMarks)
{
    // First, as it may load the text searched.
    const DictionaryLineIndex &index = lineIndex();
    return dictionaryLines(m_text, keys, toneMarks, &index);
}

} // namespace korvana
