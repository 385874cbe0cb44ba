#include "reference/Dictionary.h"

#include "platform/files/SafeFiles.h"
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"
#include "reference/StoredItems.h"

#include <algorithm>
#include <array>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Folding matters only to a term with a letter A to Z or a to z: the
// patterns of any other term (digits, punctuation) match the folded text
// exactly where they match the text itself, so it is searched as it is and
// no folded copy of the dictionary is made for it.
bool holdsLatinLetter(QStringView term)
{
    for (QChar c : term) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'))
            return true;
    }
    return false;
}

// The first position of needle in hay at or after from, or -1: what
// QStringView::indexOf gives, found eight code units at a time by the
// needle's first and last unit, so a scan of the whole dictionary runs at
// about the speed of memory.
qsizetype findText(QStringView hay, QStringView needle, qsizetype from)
{
    const qsizetype n = hay.size();
    const qsizetype m = needle.size();
    if (m <= 1 || from < 0)
        return hay.indexOf(needle, from);
    const auto *h = reinterpret_cast<const char16_t *>(hay.data());
    const auto *nd = reinterpret_cast<const char16_t *>(needle.data());
    const char16_t first = nd[0];
    // The second unit the candidates are filtered by: the last one, or for a
    // short needle the second, so that "///" or "/a" is not looked at after
    // every slash of the text but only where two units stand together.
    const qsizetype other = m <= 3 ? 1 : m - 1;
    const char16_t last = nd[other];
    const size_t restBytes = size_t(m - 1) * sizeof(char16_t);
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i vFirst = _mm_set1_epi16(short(first));
    const __m128i vLast = _mm_set1_epi16(short(last));
    for (; i + m - 1 + 8 <= n; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i + other));
        unsigned mask =
            unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, vFirst), _mm_cmpeq_epi16(b, vLast))));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            const qsizetype pos = i + bit / 2;
            if (std::memcmp(h + pos + 1, nd + 1, restBytes) == 0)
                return pos;
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; i + m <= n; ++i)
        if (h[i] == first && h[i + other] == last
            && std::memcmp(h + i + 1, nd + 1, size_t(m - 1) * sizeof(char16_t)) == 0)
            return i;
    return -1;
}

// The first position at or after from where either "/" + term or term + "/"
// begins (the position of the slash or of the term), or -1: one pass over
// the text for both, filtered eight code units at a time by each needle's
// first and second unit.
qsizetype findSlashed(QStringView hay, QStringView term, qsizetype from)
{
    const qsizetype n = hay.size();
    const qsizetype m = term.size();
    const auto *h = reinterpret_cast<const char16_t *>(hay.data());
    const auto *t = reinterpret_cast<const char16_t *>(term.data());
    const size_t termBytes = size_t(m) * sizeof(char16_t);
    // "/" + term at i, or term + "/" at i.
    auto at = [&](qsizetype i) {
        return (h[i] == u'/' && std::memcmp(h + i + 1, t, termBytes) == 0)
               || (std::memcmp(h + i, t, termBytes) == 0 && h[i + m] == u'/');
    };
    qsizetype i = std::max<qsizetype>(from, 0);
#if defined(__SSE2__)
    const __m128i vSlash = _mm_set1_epi16(short(u'/'));
    const __m128i vFirst = _mm_set1_epi16(short(t[0]));
    // The unit after the first: the term's second unit, or for a one-unit
    // term the slash after it.
    const __m128i vSecond = _mm_set1_epi16(short(m > 1 ? t[1] : u'/'));
    for (; i + m + 1 + 8 <= n; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i + 1));
        const __m128i slashFirst = _mm_and_si128(_mm_cmpeq_epi16(a, vSlash), _mm_cmpeq_epi16(b, vFirst));
        const __m128i termFirst = _mm_and_si128(_mm_cmpeq_epi16(a, vFirst), _mm_cmpeq_epi16(b, vSecond));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_or_si128(slashFirst, termFirst)));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (at(i + bit / 2))
                return i + bit / 2;
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; i + m + 1 <= n; ++i)
        if (at(i))
            return i;
    return -1;
}

// The length of the entry cut from lineStart: up to the next line feed
// within CutLength characters, else CutLength - 1 characters (or the rest of
// the text).
qsizetype cutLength(QStringView searched, qsizetype lineStart)
{
    const qsizetype window = std::min(CutLength, searched.size() - lineStart);
    const qsizetype lineFeed = searched.mid(lineStart, window).indexOf(QChar(LF));
    return lineFeed >= 0 ? lineFeed : std::min(CutLength - 1, window);
}

// The LFs of the lines that begin with first, ascending; with fold, also of
// those that begin with its capital (the index holds the unfolded text).
std::vector<qsizetype> lineStarts(const DictionaryLineIndex &index, QChar first, bool fold)
{
    const std::vector<qsizetype> &same = index.linesStartingWith(first.unicode());
    if (!fold || first.unicode() < u'a' || first.unicode() > u'z')
        return same;
    const std::vector<qsizetype> &capital = index.linesStartingWith(char16_t(first.unicode() - 32));
    std::vector<qsizetype> both(same.size() + capital.size());
    std::merge(same.begin(), same.end(), capital.begin(), capital.end(), both.begin());
    return both;
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
        const qsizetype match = findText(searched, pattern, rest);
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

QChar classifyTerm(QStringView term)
{
    if (!term.isEmpty() && term.front().unicode() > 500)
        return u'C';
    for (QChar c : term)
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

QByteArray markUtf16WithoutBom(QByteArray bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (bytes.size() < 4 || (u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF))
        return bytes;
    // Dictionary text is mostly ASCII (pinyin, senses, brackets), so UTF-16
    // shows as a NUL in every other byte; 8-bit text holds no NULs at all.
    const qsizetype sample = std::min<qsizetype>(bytes.size(), 65536) & ~qsizetype(1);
    qsizetype evenNuls = 0, oddNuls = 0;
    for (qsizetype i = 0; i < sample; i += 2) {
        evenNuls += u[i] == 0;
        oddNuls += u[i + 1] == 0;
    }
    const qsizetype pairs = sample / 2;
    if (oddNuls * 4 >= pairs && evenNuls * 8 < oddNuls)
        return QByteArray("\xFF\xFE", 2) + bytes; // little-endian
    if (evenNuls * 4 >= pairs && oddNuls * 8 < evenNuls)
        return QByteArray("\xFE\xFF", 2) + bytes; // big-endian
    return bytes;
}

bool holdsAnEntry(QStringView text)
{
    // An entry after the header: a line with " [" and a "/" after it.
    for (qsizetype from = text.indexOf(LF); from >= 0;) {
        const qsizetype open = text.indexOf(u" [", from);
        if (open < 0)
            return false;
        const qsizetype lineStart = text.lastIndexOf(LF, open);
        if (lineStart < 0) {
            from = open + 1; // still in the header
            continue;
        }
        // The slash is sought in the line only: a file without any would
        // otherwise be scanned to its end once for every line.
        const qsizetype lineEnd = text.indexOf(LF, open);
        const QStringView rest = lineEnd < 0 ? text.sliced(open) : text.sliced(open, lineEnd - open);
        if (rest.contains(u'/'))
            return true;
        from = lineEnd;
    }
    return false;
}

namespace {

// Whether the bytes of a dictionary file (with its byte-order mark, if any)
// hold a line break before the NUL that ends the text, found without
// decoding them: a file of hundreds of megabytes without one is refused
// before it is turned into text several times its size.
bool mayHoldLineBreak(QByteArrayView bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    const bool littleEndian = bytes.size() >= 2 && u[0] == 0xFF && u[1] == 0xFE;
    const bool bigEndian = bytes.size() >= 2 && u[0] == 0xFE && u[1] == 0xFF;
    if (littleEndian || bigEndian) {
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
            const char16_t c = littleEndian ? char16_t(u[i] | u[i + 1] << 8) : char16_t(u[i] << 8 | u[i + 1]);
            if (c == 0)
                return false;
            if ((c >= 0x0A && c <= 0x0D) || c == 0x2028 || c == 0x2029)
                return true;
        }
        return false;
    }
    // 8-bit text: LF, VT, FF, CR, or the first byte of U+2028/U+2029 in UTF-8.
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = u[i];
        if (c == 0)
            return false;
        if ((c >= 0x0A && c <= 0x0D) || c == 0xE2)
            return true;
    }
    return false;
}

} // namespace

QString loadDictionaryText(const QString &fileName)
{
    files::ReadResult read = files::readRegularFile(fileName, MaxDictionaryBytes);
    if (!read.ok())
        throw Error(read.reason);
    const QByteArray bytes = markUtf16WithoutBom(std::move(read.data));
    if (!mayHoldLineBreak(bytes))
        throw Error(QStringLiteral("no line break"));
    QString text = loadWideStringListText(bytes);
    if (!text.contains(LF))
        throw Error(QStringLiteral("no line break"));
    if (!holdsAnEntry(text))
        throw Error(QStringLiteral("no dictionary entry"));
    return text;
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
    if (m_source.constData() != text.constData() || m_source.size() != text.size() || m_folded.size() != text.size()) {
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

QStringList DictionaryMatches::toStringList() const
{
    QStringList entries;
    entries.reserve(size());
    for (const auto &[start, length] : spans)
        entries.append(text.mid(start, length));
    return entries;
}

QStringList DictionarySearch::exactFind(const QString &text, QStringView term, bool caseSensitive)
{
    return exactMatches(text, term, caseSensitive).toStringList();
}

DictionaryMatches DictionarySearch::exactMatches(const QString &text, QStringView term, bool caseSensitive)
{
    DictionaryMatches results;
    results.text = text;
    const QStringView t = trimControls(term);
    if (t.isEmpty())
        return results;
    const QChar kind = classifyTerm(t);
    const bool fold = !caseSensitive && kind != u'C' && holdsLatinLetter(t);
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
    if (kind == u'C' && m_index && m_index->indexes(text)) {
        // Only the lines that begin with the term's first character can
        // match; the index lists them in the order of the file.
        for (qsizetype lf : m_index->linesStartingWith(folded.front().unicode())) {
            if (!searched.mid(lf).startsWith(pattern))
                continue;
            const QStringView entry = trimControls(original.mid(lf + 1, cutLength(searched, lf + 1)));
            if (!entry.isEmpty())
                results.spans.emplace_back(entry.data() - original.data(), entry.size());
        }
        return results;
    }
    scanLines(searched, pattern, [&](qsizetype start, qsizetype length) {
        const QStringView entry = trimControls(original.mid(start, length));
        if (!entry.isEmpty())
            results.spans.emplace_back(entry.data() - original.data(), entry.size());
        return true;
    });
    return results;
}

DictionaryPage DictionarySearch::findAll(const QString &text, QStringView term, bool caseSensitive, int firstResult,
                                         int lastResult)
{
    DictionaryPage page;
    const QStringView t = trimControls(term);
    if (t.isEmpty())
        return page;
    const QChar kind = classifyTerm(t);
    const bool fold = !caseSensitive && kind != u'C' && holdsLatinLetter(t);
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
    if (findAllInOnePass(text, searched, patterns, ft, fold, firstResult, lastResult, page))
        return page;
    findByPattern(text, searched, patterns, 0, 0, firstResult, lastResult, page);
    return page;
}

void DictionarySearch::findByPattern(const QString &text, QStringView searched, const std::array<QString, 6> &patterns,
                                     size_t firstPattern, int count, int firstResult, int lastResult,
                                     DictionaryPage &page)
{
    const QStringView original = text;
    QString line; // line feed + the line as searched, for the repeat test
    for (size_t k = firstPattern; k < patterns.size(); ++k) {
        // A pattern that is an earlier one again ("//" for "/") finds only
        // repeats.
        if (std::find(patterns.begin(), patterns.begin() + qsizetype(k), patterns[k])
            != patterns.begin() + qsizetype(k))
            continue;
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
}

bool DictionarySearch::findAllInOnePass(const QString &text, QStringView searched,
                                        const std::array<QString, 6> &patterns, QStringView ft, bool fold,
                                        int firstResult, int lastResult, DictionaryPage &page)
{
    if (!m_index || !m_index->indexes(text) || ft.isEmpty() || ft.contains(QChar(LF)))
        return false;
    const QStringView original = text;
    int count = 0;
    // Lists an entry as the pattern-by-pattern scan counts it; false once the
    // page's last result is reached.
    auto take = [&](qsizetype start, qsizetype length) {
        const QStringView entry = trimControls(original.mid(start, length));
        if (entry.isEmpty())
            return true;
        ++count;
        if (count >= firstResult && count <= lastResult)
            page.entries.append(entry.toString());
        if (count == lastResult) {
            page.full = true;
            return false;
        }
        return true;
    };

    // The Chinese is the term, then the line begins with it: the lines the
    // index has for the term's first character.
    const std::vector<qsizetype> starts = lineStarts(*m_index, ft.front(), fold);
    QString line;
    for (int k = 0; k < 2; ++k) {
        for (qsizetype lf : starts) {
            if (!searched.mid(lf).startsWith(patterns[k]))
                continue;
            const qsizetype length = cutLength(searched, lf + 1);
            if (k == 1) {
                line = QChar(LF);
                line += trimControls(searched.mid(lf + 1, length));
                if (line.contains(patterns[0]))
                    continue;
            }
            if (!take(lf + 1, length))
                return true;
        }
    }

    // The other four patterns all hold the term: one pass over the lines
    // that hold it, each listed under the first of the four it holds. A line
    // that begins with the term (trimmed) was listed above, or counts as a
    // repeat of it.
    const qsizetype need = qsizetype(lastResult) - count;
    std::array<std::vector<std::pair<qsizetype, qsizetype>>, 4> lines;
    const qsizetype n = searched.size();
    // A common term (one letter, a digit, punctuation) is in most lines, and
    // sorting them all costs more than finding the page pattern by pattern,
    // where the page fills long before the text ends.
    constexpr int commonTermLines = 1024;
    int linesSeen = 0;
    for (qsizetype t = findText(searched, ft, 0); t >= 0;) {
        if (++linesSeen > commonTermLines)
            return findCommonTerm(text, searched, patterns, ft, count, firstResult, lastResult, page);
        const qsizetype start = t > 0 ? searched.lastIndexOf(QChar(LF), t - 1) + 1 : 0;
        qsizetype end = searched.indexOf(QChar(LF), t);
        if (end < 0)
            end = n;
        if (end - start > CutLength - 1) {
            // A line longer than an entry is cut in pieces that depend on
            // where each pattern matched: only the full scan gives them.
            page = DictionaryPage();
            return false;
        }
        const QStringView whole = searched.mid(start, end - start);
        if (!trimControls(whole).startsWith(ft)) {
            int k = 3;
            for (int p = 2; p < 5; ++p) {
                if (whole.contains(patterns[size_t(p)])) {
                    k = p - 2;
                    break;
                }
            }
            if (qsizetype(lines[size_t(k)].size()) < need)
                lines[size_t(k)].emplace_back(start, end - start);
            if (k == 0 && qsizetype(lines[0].size()) >= need)
                break; // the page is made of whole-sense lines alone
        }
        if (end >= n)
            break;
        t = findText(searched, ft, end + 1);
    }
    for (const auto &found : lines)
        for (const auto &[start, length] : found)
            if (!take(start, length))
                return true;
    return true;
}

bool DictionarySearch::findCommonTerm(const QString &text, QStringView searched, const std::array<QString, 6> &patterns,
                                      QStringView ft, int count, int firstResult, int lastResult, DictionaryPage &page)
{
    const QStringView original = text;
    const qsizetype need = qsizetype(lastResult) - count;
    const qsizetype n = searched.size();
    // The whole-sense, beginning-of-a-sense and end-of-a-sense lines all hold
    // a slash beside the term, which is rare even where the term is not. A
    // line that begins with the term (trimmed) was listed through the line
    // index, or counts as a repeat of such a line.
    std::array<std::vector<std::pair<qsizetype, qsizetype>>, 3> lines;
    // Calls onLine(start, length, whole) for each line from the one holding
    // position t on, next(from) finding the next position; false when a line
    // is longer than an entry (only the full scan cuts it as it must).
    auto eachLine = [&](qsizetype t, auto next, auto onLine) {
        while (t >= 0) {
            const qsizetype start = t > 0 ? searched.lastIndexOf(QChar(LF), t - 1) + 1 : 0;
            qsizetype end = searched.indexOf(QChar(LF), t);
            if (end < 0)
                end = n;
            if (end - start > CutLength - 1)
                return false;
            const QStringView whole = searched.mid(start, end - start);
            if (!trimControls(whole).startsWith(ft) && !onLine(start, end - start, whole))
                return true;
            if (end >= n)
                return true;
            t = next(end + 1);
        }
        return true;
    };
    // One pass over the lines with a slash beside the term, each listed
    // under the first of the three it holds. Once the page is full without
    // the end-of-a-sense lines, only whole-sense lines can still change it:
    // the rest of the text is searched for those alone.
    bool senseBeginningsDone = false;
    bool ok = eachLine(
        findSlashed(searched, ft, 0),
        [&](qsizetype from) {
            return senseBeginningsDone ? findText(searched, patterns[2], from) : findSlashed(searched, ft, from);
        },
        [&](qsizetype start, qsizetype length, QStringView whole) {
            const size_t k = whole.contains(patterns[2]) ? 0 : whole.contains(patterns[3]) ? 1 : 2;
            if (k == 0 || !senseBeginningsDone) {
                if (qsizetype(lines[k].size()) < need)
                    lines[k].emplace_back(start, length);
                senseBeginningsDone = qsizetype(lines[0].size() + lines[1].size()) >= need;
            }
            return qsizetype(lines[0].size()) < need;
        });
    if (!ok) {
        page = DictionaryPage();
        return false;
    }
    for (const auto &found : lines) {
        for (const auto &[start, length] : found) {
            const QStringView entry = trimControls(original.mid(start, length));
            ++count;
            if (count >= firstResult && count <= lastResult)
                page.entries.append(entry.toString());
            if (count == lastResult) {
                page.full = true;
                return true;
            }
        }
    }
    // Then the term anywhere else, from the start of the text: a common term
    // fills the page within its first lines.
    findByPattern(text, searched, patterns, 5, count, firstResult, lastResult, page);
    return true;
}

QString DictionaryPaging::move(Request request, const QString &typed)
{
    switch (request) {
    case Request::NewSearch:
        dictSearchTerm = trimControls(typed).toString();
        dictFirstResult = 0;
        dictLastResult = dictPageSize;
        break;
    case Request::NextPage:
        dictFirstResult = dictLastResult + 1;
        dictLastResult = dictFirstResult + dictPageSize - 1;
        break;
    case Request::PreviousPage:
        dictFirstResult -= dictPageSize;
        if (dictFirstResult <= 1) {
            dictFirstResult = 0;
            dictLastResult = dictPageSize;
        } else {
            dictLastResult = dictFirstResult + dictPageSize - 1;
        }
        break;
    }
    return dictSearchTerm;
}

} // namespace korvana
