#pragma once
// The dictionary: a Unicode text file with one entry per line in CEDICT's
// layout, held whole as one text and searched by plain substring scans.
//
//     中国 [Zhong1 guo2] /China/Middle Kingdom/
//
// Line 1 is a header that the searches treat like any other text. Every search
// scans the text (patterns that begin a line go through the hover's line index
// when there is one), cutting the line around each match out of it (at most
// 999 characters of it), and goes on after that line, so that a line is found
// at most once per pattern, in the order of the file.
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace korvana {

class DictionaryLineIndex;

// The kind of a search term (never empty): 'C' Chinese when its first UTF-16
// unit is above 500, else 'P' pinyin when it holds a digit, else 'E' English.
QChar classifyTerm(QStringView term);

// Trimmed the dictionary's way: every character of code 32 or less removed
// at both ends (QString::trimmed would also take other Unicode spaces).
QStringView trimControls(QStringView text);

// A to Z become a to z, every other character stays: one character for one,
// so a position in the folded text is the same position in the original.
QString foldLatinCase(QStringView text);

// The text of a dictionary file: UTF-16 (either byte order) after a
// byte-order mark or, without one, when every other byte is NUL; else 8-bit
// text; split into lines at every line break, each line in normalisation
// form C, joined again with CR LF and no break after the last line. Only a
// regular file within the size bound is read. Throws korvana::Error with a
// short reason ("too large", "no line break", "no dictionary entry", ...)
// when the file cannot be read or holds no dictionary.
QString loadDictionaryText(const QString &fileName);

// Bytes of a UTF-16 text without a byte-order mark get the mark of the byte
// order found (NULs in every other byte); any other bytes come back as they
// are.
QByteArray markUtf16WithoutBom(QByteArray bytes);

// Whether a dictionary text holds at least one entry after its header: a
// line with " [" and a "/" after it.
bool holdsAnEntry(QStringView text);

// One result row: the three columns of the result list.
struct DictionaryRow {
    QString chinese;     // up to the first " [", trimmed
    QString pinyin;      // between the brackets, tone-marked
    QString translation; // the senses joined by "; ", a leading "(...)" moved behind the first sense
};

// Splits an entry into its row. The pinyin, with every "[" and "]" removed,
// goes through toneMarks (the main window's tone-mark converter); an empty
// function leaves it as it is.
DictionaryRow dictionaryRow(QStringView entry, const std::function<QString(const QString &)> &toneMarks = {});

// The results of one page of find all.
struct DictionaryPage {
    QStringList entries; // the page's results, in search order
    // The page's last result was reached and the scan stopped there: more may
    // follow, so the next page can be asked for.
    bool full = false;
};

// The entries exact find matched, as places in the text searched: each
// entry's text is made only when it is asked for, so a long listing costs no
// string per entry until its rows are shown.
struct DictionaryMatches {
    // A shared copy of the text searched: the spans stay valid whatever
    // becomes of the dictionary afterwards.
    QString text;
    std::vector<std::pair<qsizetype, qsizetype>> spans; // start and length of each entry, in search order

    qsizetype size() const { return qsizetype(spans.size()); }
    bool isEmpty() const { return spans.empty(); }
    QString at(qsizetype i) const { return text.mid(spans[size_t(i)].first, spans[size_t(i)].second); }
    QStringList toStringList() const;
};

// The searches of the dictionary window over a dictionary text. It keeps the
// case-folded copy of the text it searched last, so that searches without
// "Case sensitive" do not fold the whole dictionary again every time; a new
// text (another QString, as a reload assigns) is noticed and folded afresh.
class DictionarySearch {
public:
    // Exact find: every entry that matches exactly, in the order of the file.
    // 'C' terms: the Chinese is the term; 'E': a sense is the term; 'P': the
    // term anywhere in the line. The term is trimmed first; an empty term
    // finds nothing.
    QStringList exactFind(const QString &text, QStringView term, bool caseSensitive);
    // The same entries as places in the text.
    DictionaryMatches exactMatches(const QString &text, QStringView term, bool caseSensitive);

    // Find all: the results firstResult..lastResult (counting from 1; a
    // firstResult of 0 counts as 1) of six patterns in turn, whole Chinese,
    // beginning of the line, whole sense, beginning of a sense, end of a
    // sense, anywhere; an entry found by an earlier pattern is not repeated.
    // The scan stops as soon as result number lastResult is found.
    DictionaryPage findAll(const QString &text, QStringView term, bool caseSensitive, int firstResult, int lastResult);

    // Lets go of the folded copy (after a new dictionary has loaded).
    void clearCache();

    // The index of line starts that the hover keeps of the dictionary text;
    // searches of that very text use it for their whole-Chinese and
    // beginning-of-line patterns. It must outlive the searches.
    void useLineIndex(const DictionaryLineIndex *index) { m_index = index; }

private:
    // Find all in one pass over the text: the LF patterns through the line
    // index, the other four from the lines holding the term. False when it
    // cannot give the same result as the pattern-by-pattern scan (no index,
    // a term with a line break, a matching line longer than an entry).
    bool findAllInOnePass(const QString &text, QStringView searched, const std::array<QString, 6> &patterns,
                          QStringView ft, bool fold, int firstResult, int lastResult, DictionaryPage &page);

    // The rest of find all for a term in most lines, after the lines that
    // begin with it (count results taken): the sense patterns in one pass
    // over the lines with a slash beside the term, then the term anywhere.
    // False as findAllInOnePass.
    bool findCommonTerm(const QString &text, QStringView searched, const std::array<QString, 6> &patterns,
                        QStringView ft, int count, int firstResult, int lastResult, DictionaryPage &page);

    // Find all pattern by pattern, each over the whole text in turn, from
    // patterns[firstPattern] on with count results already taken; a line an
    // earlier pattern matches is not listed again. From the first pattern it
    // is the plain scan the one-pass search must agree with.
    void findByPattern(const QString &text, QStringView searched, const std::array<QString, 6> &patterns,
                       size_t firstPattern, int count, int firstResult, int lastResult, DictionaryPage &page);

    // The text the matches are sought in: the text itself, or its folded copy.
    QStringView searchedText(const QString &text, bool fold);

    QString m_source; // shares the data of the text folded last, keeping it alive
    QString m_folded;
    const DictionaryLineIndex *m_index = nullptr;
};

// The page state of find all in the dictionary window: the term of the last
// new search and the numbers of the first and last result of the page to
// show (a first result of 0 marks the first page).
class DictionaryPaging {
public:
    enum class Request { NewSearch, NextPage, PreviousPage };

    QString dictSearchTerm;
    int dictPageSize = 20;
    int dictFirstResult = 0;
    int dictLastResult = 0;

    // Moves the page for a request and returns the term to search: for a new
    // search the typed term, trimmed (which becomes dictSearchTerm), for the
    // other two dictSearchTerm.
    QString move(Request request, const QString &typed = QString());

    // The page to show is not the first: "previous" can be used.
    bool previousEnabled() const { return dictFirstResult > 1; }
};

} // namespace korvana
