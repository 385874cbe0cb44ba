#include "reference/Dictionary.h"

#include "platform/ui/Errors.h"
#include "reference/StoredItems.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace korvana {

namespace {

constexpr char16_t LF = u'\n';
// An entry is cut to this many characters; the rest of a longer line stays
// in the text and is found like a line of its own.
constexpr qsizetype CutLength = 1000;
// Far more than any dictionary; a file beyond it is refused rather than read
// whole into memory (a wrong file picked in the dictionary chooser).
constexpr qint64 MaxDictionaryBytes = qint64(256) * 1024 * 1024;

bool isControlOrBlank(QChar c)
{
    return c.unicode() <= 32;
}

// Calls onMatch(lineStart, length) for every match of pattern in searched,
// with the line around the match cut out as the dictionary cuts it: from
// after the line feed before the match (never before what is left of the
// text) for up to 999 characters, up to the next line feed. The search then
// goes on after the line. The line feed that ended a taken line stays
// searchable, so the very next line can still be matched by a pattern that
// begins with a line feed (whole-Chinese and beginning-of-line searches
// would otherwise miss an entry that follows another match directly).
// onMatch returns false to stop the scan.
template <typename OnMatch>
void scanLines(QStringView searched, QStringView pattern, OnMatch onMatch)
{
    const qsizetype n = searched.size();
    qsizetype rest = 0; // where what is left of the text begins
    while (rest < n) {
        const qsizetype match = searched.indexOf(pattern, rest);
        if (match < 0)
            return;
        qsizetype p = match;
        while (p >= rest && searched[p] != LF)
            --p;
        const qsizetype lineStart = p + 1;
        const qsizetype window = std::min(CutLength, n - lineStart);
        const qsizetype lineFeed = searched.mid(lineStart, window).indexOf(QChar(LF));
        const qsizetype length = lineFeed >= 0 ? lineFeed : std::min(CutLength - 1, window);
        if (!onMatch(lineStart, length))
            return;
        rest = lineFeed >= 0 ? lineStart + lineFeed : lineStart + CutLength;
    }
}

} // namespace

QChar ClassifyTerm(QStringView Term)
{
    if (!Term.isEmpty() && Term.front().unicode() > 500)
        return u'C';
    for (QChar c : Term)
        if (c >= u'0' && c <= u'9')
            return u'P';
    return u'E';
}

QStringView trimControls(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isControlOrBlank(text[begin]))
        ++begin;
    while (end > begin && isControlOrBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString foldLatinCase(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    const QChar *in = text.data();
    QChar *out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = in[i].unicode();
        out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    return folded;
}

QString loadDictionaryText(const QString &fileName)
{
    QFile file(fileName);
    if (QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open %1").arg(fileName));
    if (file.size() > MaxDictionaryBytes)
        throw Error(QStringLiteral("%1 is too large for a dictionary").arg(fileName));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()));
    return loadWideStringListText(bytes);
}

DictionaryRow dictionaryRow(QStringView entry, const std::function<QString(const QString &)> &toneMarks)
{
    DictionaryRow row;
    QStringView rest = entry;

    const qsizetype open = rest.indexOf(u" [");
    if (open >= 0) {
        row.chinese = trimControls(rest.left(open + 1)).toString();
        rest = rest.mid(open + 1);
    }

    QString pinyin;
    const qsizetype close = rest.indexOf(u"] ");
    if (close >= 0) {
        pinyin = trimControls(rest.left(close + 1)).toString();
        rest = rest.mid(close + 1);
    }
    pinyin.remove(u'[');
    pinyin.remove(u']');
    row.pinyin = toneMarks ? toneMarks(pinyin) : pinyin;

    QString s = trimControls(rest).toString();
    if (s.startsWith(u'/'))
        s.remove(0, 1);
    if (s.endsWith(u'/'))
        s.chop(1);
    for (qsizetype slash; (slash = s.indexOf(u'/')) >= 0;)
        s = trimControls(QString(s.left(slash) + QStringLiteral("; ") + s.mid(slash + 1))).toString();

    // A qualifier in front, "(music) note", reads better behind the first
    // sense: "note (music)".
    if (s.startsWith(u'(')) {
        const qsizetype paren = s.indexOf(u')');
        if (paren < s.size() - 1) {
            const QString qualifier = s.left(paren + 1);
            s = trimControls(QStringView(s).mid(paren + 1)).toString();
            const qsizetype semicolon = s.indexOf(u';');
            if (semicolon >= 0)
                s = s.left(semicolon) + u' ' + qualifier + s.mid(semicolon);
            else
                s = trimControls(QString(s + u' ' + qualifier)).toString();
        }
    }
    row.translation = trimControls(s).toString();
    return row;
}

QStringView DictionarySearch::searchedText(const QString &text, bool fold)
{
    if (!fold)
        return text;
    // Holding the text in m_source keeps its buffer alive, so the same buffer
    // address means the same, unchanged text.
    if (m_source.constData() != text.constData() || m_source.size() != text.size()
        || m_folded.size() != text.size()) {
        m_source = text;
        m_folded = foldLatinCase(text);
    }
    return m_folded;
}

void DictionarySearch::clearCache()
{
    m_source = QString();
    m_folded = QString();
}

QStringList DictionarySearch::exactFind(const QString &text, QStringView term, bool caseSensitive)
{
    QStringList results;
    const QStringView t = trimControls(term);
    if (t.isEmpty())
        return results;
    const QChar kind = ClassifyTerm(t);
    const bool fold = !caseSensitive && kind != u'C';
    const QString folded = fold ? foldLatinCase(t) : t.toString();

    QString pattern;
    if (kind == u'C')
        pattern = QChar(LF) + folded + u' ';
    else if (kind == u'E')
        pattern = u'/' + folded + u'/';
    else
        pattern = folded;

    const QStringView searched = searchedText(text, fold);
    const QStringView original = text;
    scanLines(searched, pattern, [&](qsizetype start, qsizetype length) {
        const QStringView entry = trimControls(original.mid(start, length));
        if (!entry.isEmpty())
            results.append(entry.toString());
        return true;
    });
    return results;
}

DictionaryPage DictionarySearch::findAll(const QString &text, QStringView term, bool caseSensitive,
                                         int firstResult, int lastResult)
{
    DictionaryPage page;
    const QStringView t = trimControls(term);
    if (t.isEmpty())
        return page;
    const QChar kind = ClassifyTerm(t);
    const bool fold = !caseSensitive && kind != u'C';
    const QString ft = fold ? foldLatinCase(t) : t.toString();

    const std::array<QString, 6> patterns = {
        QChar(LF) + ft + u' ', // the Chinese is the term
        QChar(LF) + ft,        // the line begins with it
        u'/' + ft + u'/',      // a sense is the term
        u'/' + ft,             // a sense begins with it
        ft + u'/',             // a sense ends with it
        ft,                    // anywhere
    };

    const QStringView searched = searchedText(text, fold);
    const QStringView original = text;
    int count = 0;
    QString line; // line feed + the line as searched, for the repeat test
    for (size_t k = 0; k < patterns.size(); ++k) {
        bool stopped = false;
        scanLines(searched, patterns[k], [&](qsizetype start, qsizetype length) {
            const QStringView entry = trimControls(original.mid(start, length));
            if (entry.isEmpty())
                return true;
            line = QChar(LF);
            line += trimControls(searched.mid(start, length));
            for (size_t earlier = 0; earlier < k; ++earlier)
                if (line.contains(patterns[earlier]))
                    return true; // listed by an earlier pattern already
            ++count;
            if (count >= firstResult && count <= lastResult)
                page.entries.append(entry.toString());
            if (count == lastResult) {
                stopped = true;
                return false;
            }
            return true;
        });
        if (stopped) {
            page.full = true;
            break;
        }
    }
    return page;
}

QString DictionaryPaging::move(Request request, const QString &typed)
{
    switch (request) {
    case Request::NewSearch:
        DictSearchTerm = trimControls(typed).toString();
        DictFirstResult = 0;
        DictLastResult = DictPageSize;
        break;
    case Request::NextPage:
        DictFirstResult = DictLastResult + 1;
        DictLastResult = DictFirstResult + DictPageSize - 1;
        break;
    case Request::PreviousPage:
        DictFirstResult -= DictPageSize;
        if (DictFirstResult <= 1) {
            DictFirstResult = 0;
            DictLastResult = DictPageSize;
        } else {
            DictLastResult = DictFirstResult + DictPageSize - 1;
        }
        break;
    }
    return DictSearchTerm;
}

} // namespace korvana
