#pragma once
// The program's dictionary: the text of the dictionary file in use, its
// line index and the search helper with its case-folded copy, loaded and
// searched here for every window that reads it.
#include "reference/CharacterInfo.h"
#include "reference/Dictionary.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace korvana {

class DictionaryData {
public:
    DictionaryData();
    DictionaryData(const DictionaryData &) = delete;
    DictionaryData &operator=(const DictionaryData &) = delete;

    // What a load did: whether the file loaded, and the status line to show
    // after it (empty when it loaded).
    struct LoadResult {
        bool loaded = false;
        QString status;
    };
    // The status line to show while fileName loads.
    static QString loadingStatus(const QString &fileName);
    // Loads a dictionary file. A file that cannot be read leaves the text
    // loaded before, and the result's status says why.
    LoadResult load(const QString &fileName);

    // The text in use (empty before the first load).
    const QString &text() const { return m_text; }
    // Puts a text in use without a file; it is indexed at its first search.
    void setText(const QString &text) { m_text = text; }

    // Runs before every search and lookup (not before text()): the owner
    // of a load left for later makes it here, so that no reader finds the
    // dictionary not yet loaded. It may call load.
    void setBeforeRead(std::function<void()> beforeRead) { m_beforeRead = std::move(beforeRead); }

    // Exact find and one page of find all over the text (see
    // DictionarySearch); pageFull tells whether the page's last result was
    // reached, so that a next page may follow.
    QStringList exactFind(const QString &term, bool caseSensitive);
    DictionaryMatches exactMatches(const QString &term, bool caseSensitive);
    QStringList findAll(const QString &term, bool caseSensitive, int firstResult, int lastResult,
                        bool *pageFull = nullptr);

    // The lines of the hover's keys, found through the line index.
    QStringList lines(const QStringList &keys, const ToneMarker &toneMarks);

    // The line index of the text, indexed afresh when the text was replaced
    // otherwise than by load. Runs the hook of setBeforeRead first.
    const DictionaryLineIndex &lineIndex();

private:
    QString m_text;
    // Where the dictionary's lines start, by their first character: built
    // with every load, for the hover's lookups and the searches.
    DictionaryLineIndex m_lineIndex;
    DictionarySearch m_search;
    std::function<void()> m_beforeRead;
};

} // namespace korvana
