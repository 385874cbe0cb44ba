#include "RtfReader.h"
#include "CodePages.h"

#include <QHash>
#include <QVector>

#include <cstring>
#include <string_view>
#include <unordered_map>

namespace korvana::rtf {

namespace {

enum class Dest { Text, Skip, FontTable, ColorTable };
enum class ByteMode { Loch, Hich, Dbch };

struct GroupState {
    Dest dest = Dest::Text;
    int font = -1;        // \f
    // Associated properties (\af, \afs, \ab, \ai) given after \hich or
    // \dbch: the font and look of high-ANSI and double-byte (East Asian)
    // text, which word processors keep apart from the Latin text's.
    int hichFont = -1;
    int dbchFont = -1;
    int dbchHalfPoints = 0;
    int dbchBold = -1, dbchItalic = -1;
    ByteMode byteMode = ByteMode::Loch;
    int halfPoints = 24;  // RTF's default size is 12 points
    int color = 0;        // \cf index; 0 automatic
    int highlight = 0;
    bool bold = false, italic = false, underline = false;
    int uc = 1;           // bytes of fallback after each \uN
    Align align = Align::Unset;
    bool starred = false; // the group began with \*
    bool fontEntry = false; // a {\fN ...;} entry inside the font table
};

struct FontInfo {
    QString name;
    int charset = 1;
};

enum Word {
    W_Unknown, W_rtf, W_urtf, W_ansi, W_mac, W_pc, W_pca, W_ansicpg, W_deff, W_uc, W_u,
    W_fonttbl, W_colortbl, W_f, W_fcharset, W_red, W_green, W_blue,
    W_fs, W_b, W_i, W_ul, W_ulnone, W_cf, W_highlight, W_cb, W_plain, W_pard,
    W_par, W_line, W_tab, W_sect, W_page, W_cell, W_nestcell, W_row, W_nestrow,
    W_ql, W_qc, W_qr, W_qj, W_loch, W_hich, W_dbch, W_af, W_afs, W_ab, W_ai, W_fldinst, W_fldrslt,
    W_bin, W_lquote, W_rquote, W_ldblquote, W_rdblquote, W_bullet, W_endash, W_emdash,
    W_emspace, W_enspace, W_qmspace, W_skipdest
};

const std::unordered_map<std::string_view, Word> &wordTable()
{
    static const std::unordered_map<std::string_view, Word> table = [] {
        std::unordered_map<std::string_view, Word> t = {
            {"rtf", W_rtf}, {"urtf", W_urtf}, {"ansi", W_ansi}, {"mac", W_mac}, {"pc", W_pc},
            {"pca", W_pca}, {"ansicpg", W_ansicpg}, {"deff", W_deff}, {"uc", W_uc}, {"u", W_u},
            {"fonttbl", W_fonttbl}, {"colortbl", W_colortbl}, {"f", W_f},
            {"fcharset", W_fcharset}, {"red", W_red}, {"green", W_green}, {"blue", W_blue},
            {"fs", W_fs}, {"b", W_b}, {"i", W_i}, {"ul", W_ul}, {"uld", W_ul}, {"uldb", W_ul},
            {"ulw", W_ul}, {"ulwave", W_ul}, {"uldash", W_ul}, {"ulth", W_ul},
            {"ulnone", W_ulnone}, {"cf", W_cf}, {"highlight", W_highlight}, {"cb", W_cb},
            {"plain", W_plain}, {"pard", W_pard}, {"par", W_par}, {"line", W_line},
            {"tab", W_tab}, {"sect", W_sect}, {"page", W_page}, {"cell", W_cell},
            {"nestcell", W_nestcell}, {"row", W_row}, {"nestrow", W_nestrow},
            {"ql", W_ql}, {"qc", W_qc}, {"qr", W_qr}, {"qj", W_qj},
            {"loch", W_loch}, {"hich", W_hich}, {"dbch", W_dbch}, {"af", W_af},
            {"afs", W_afs}, {"ab", W_ab}, {"ai", W_ai},
            {"fldinst", W_fldinst}, {"fldrslt", W_fldrslt}, {"bin", W_bin},
            {"lquote", W_lquote}, {"rquote", W_rquote}, {"ldblquote", W_ldblquote},
            {"rdblquote", W_rdblquote}, {"bullet", W_bullet}, {"endash", W_endash},
            {"emdash", W_emdash}, {"emspace", W_emspace}, {"enspace", W_enspace},
            {"qmspace", W_qmspace},
        };
        // Destinations whose text is never shown.
        for (const char *name : {
                 "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
                 "headerf", "footer", "footerl", "footerr", "footerf", "footnote",
                 "annotation", "atnid", "atnauthor", "xe", "tc", "txe", "bkmkstart",
                 "bkmkend", "listtable", "listoverridetable", "revtbl", "rsidtbl",
                 "pntext", "pntxta", "pntxtb", "listtext", "shp", "shpinst", "shptxt",
                 "nonshppict", "shppict", "themedata", "colorschememapping",
                 "latentstyles", "datastore", "xmlnstbl", "generator", "template",
                 "doccomm", "author", "title", "subject", "operator", "comment",
                 "company", "keywords", "creatim", "revtim", "printim", "buptim",
                 "userprops", "docvar", "mmathPr", "pgdsctbl", "filetbl",
                 "protusertbl", "wgrffmtfilter", "ftnsep", "ftnsepc", "ftncn",
                 "aftnsep", "aftnsepc", "aftncn", "background", "sp", "sn", "sv",
                 "objdata", "objclass", "objname", "blipuid", "falt", "panose",
                 "fldtype", "category", "manager", "hlinkbase", "passwordhash",
                 "rxe", "tcn", "formfield", "datafield", "fontemb", "fontfile"}) {
            t.emplace(name, W_skipdest);
        }
        return t;
    }();
    return table;
}

// Word processors repeat a few dozen control words hundreds of thousands of
// times; a small cache in front of the table finds them without hashing.
Word lookupWord(std::string_view word)
{
    struct Entry {
        char name[32];
        unsigned char size = 0;
        Word word = W_Unknown;
    };
    static thread_local Entry cache[256];
    const size_t n = word.size();
    const unsigned slot = (unsigned(n) * 31u + unsigned(char(word[0])) * 7u + unsigned(char(word[n - 1])) * 13u
                           + (n > 2 ? unsigned(char(word[n / 2])) : 0u)) & 255u;
    Entry &e = cache[slot];
    if (e.size == n && std::memcmp(e.name, word.data(), n) == 0)
        return e.word;
    const auto &table = wordTable();
    const auto it = table.find(word);
    const Word w = it == table.end() ? W_Unknown : it->second;
    if (n <= sizeof e.name) {
        std::memcpy(e.name, word.data(), n);
        e.size = static_cast<unsigned char>(n);
        e.word = w;
    }
    return w;
}

class Reader {
public:
    Reader(const char *data, qsizetype size) : m_p(data), m_end(data + size) {}
    void run(Content *out);
    void setSink(const ParagraphSink *sink) { m_sink = sink; }

private:
    GroupState &st() { return m_stack.last(); }
    int decodeCodePage() const;
    CharFormat currentFormat() const;
    void addByte(char c);
    void flushBytes();
    void appendText(const QString &text);
    void appendPlain(const QString &text);
    void appendChar(QChar c) { appendText(QString(c)); }
    void paragraphBreak();
    void rowEnd();
    void emitParagraph();
    void controlWord(std::string_view word, bool hasParam, int param);
    void controlSymbol(char c);
    void commitFontName();
    void flushFontBytes();
    bool skipping() const { return m_overflow > 0 || m_stack.last().dest == Dest::Skip; }
    bool consumeFallback();

    const char *m_p;
    const char *m_end;
    QVector<GroupState> m_stack;
    int m_overflow = 0;       // groups opened beyond the nesting limit
    int m_docCodePage = 1252;
    bool m_utf8 = false;      // \urtf: raw text bytes are UTF-8
    int m_deff = -1;
    int m_skipFallback = 0;   // fallback bytes still to drop after \uN
    QHash<int, FontInfo> m_fonts;
    int m_fontEntry = -1;
    QByteArray m_fontName;     // bytes of the font name being read
    QString m_fontNameText;    // the part of it already decoded
    QList<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;
    QByteArray m_bytes;
    int m_bytesCodePage = 0;
    CodePageDecoder m_decoder;
    Content *m_out = nullptr;
    Paragraph m_para;
    bool m_rootClosed = false;
    const ParagraphSink *m_sink = nullptr; // takes each paragraph instead of m_out
    bool m_stopped = false;                // the sink asked to stop
};

// The font that text in the current byte mode is shown in.
static int activeFont(const GroupState &s)
{
    if (s.byteMode == ByteMode::Dbch && s.dbchFont >= 0)
        return s.dbchFont;
    if (s.byteMode == ByteMode::Hich && s.hichFont >= 0)
        return s.hichFont;
    return s.font;
}

int Reader::decodeCodePage() const
{
    const GroupState &s = m_stack.last();
    const int font = activeFont(s);
    auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd()) {
        const int cp = codePageForCharset(it->charset);
        if (cp)
            return cp;
    }
    return m_docCodePage;
}

CharFormat Reader::currentFormat() const
{
    const GroupState &s = m_stack.last();
    CharFormat f;
    int font = activeFont(s);
    if (!m_fonts.contains(font))
        font = s.font;
    auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd()) {
        f.family = it->name;
        f.charset = it->charset;
    }
    const bool dbch = s.byteMode == ByteMode::Dbch;
    f.halfPoints = dbch && s.dbchHalfPoints > 0 ? s.dbchHalfPoints : s.halfPoints;
    if (s.color > 0 && s.color < m_colors.size())
        f.color = m_colors.at(s.color);
    if (s.highlight > 0 && s.highlight < m_colors.size())
        f.highlight = m_colors.at(s.highlight);
    f.bold = dbch && s.dbchBold >= 0 ? s.dbchBold != 0 : s.bold;
    f.italic = dbch && s.dbchItalic >= 0 ? s.dbchItalic != 0 : s.italic;
    f.underline = s.underline;
    return f;
}

void Reader::addByte(char c)
{
    const int cp = m_utf8 && static_cast<unsigned char>(c) >= 0x80 ? 65001 : decodeCodePage();
    if (!m_bytes.isEmpty() && cp != m_bytesCodePage)
        flushBytes();
    m_bytesCodePage = cp;
    m_bytes.append(c);
}

void Reader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    QString text = m_decoder.decode(m_bytes, m_bytesCodePage);
    m_bytes.clear();
    appendText(text);
}

static inline bool isSpecial(char16_t u)
{
    return u == 0 || u == '\n' || u == '\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1;
}

void Reader::appendText(const QString &text)
{
    if (text.isEmpty())
        return;
    // Line ends and paragraph separators are paragraph breaks wherever they
    // come from (\uN, UTF-8 text); the document's frame markers would corrupt
    // the document and NUL is no text. Other control characters (form feed,
    // vertical tab, 0x1A) and the line separator of \line are text like any
    // other, so they survive a save and a reload.
    qsizetype i = 0;
    while (i < text.size() && !isSpecial(text.at(i).unicode()))
        ++i;
    if (i < text.size()) {
        qsizetype from = 0;
        for (qsizetype k = 0; k < text.size(); ++k) {
            const char16_t u = text.at(k).unicode();
            if (!isSpecial(u))
                continue;
            appendPlain(text.mid(from, k - from));
            from = k + 1;
            if (u == '\n' || u == '\r' || u == 0x2029)
                paragraphBreak();
            else if (u == 0xFDD0 || u == 0xFDD1)
                appendPlain(QString(QChar(0xFFFD)));
        }
        appendPlain(text.mid(from));
        return;
    }
    appendPlain(text);
}

void Reader::appendPlain(const QString &text)
{
    if (text.isEmpty())
        return;
    CharFormat f = currentFormat();
    if (!m_para.runs.isEmpty() && m_para.runs.last().format == f)
        m_para.runs.last().text += text;
    else
        m_para.runs.append(Run{text, std::move(f)});
}

void Reader::paragraphBreak()
{
    flushBytes();
    m_para.align = st().align;
    emitParagraph();
}

void Reader::emitParagraph()
{
    if (m_sink) {
        if (!(*m_sink)(std::move(m_para)))
            m_stopped = true;
    } else {
        m_out->paragraphs.append(std::move(m_para));
    }
    m_para = Paragraph();
}

void Reader::rowEnd()
{
    flushBytes();
    // The last cell's separator would leave a tab at the end of the line.
    if (!m_para.runs.isEmpty() && m_para.runs.last().text.endsWith(QLatin1Char('\t'))) {
        m_para.runs.last().text.chop(1);
        if (m_para.runs.last().text.isEmpty())
            m_para.runs.removeLast();
    }
    paragraphBreak();
}

// Font names are in the font's own charset.
void Reader::flushFontBytes()
{
    if (m_fontName.isEmpty())
        return;
    int cp = 0;
    if (m_fontEntry >= 0)
        cp = codePageForCharset(m_fonts.value(m_fontEntry).charset);
    if (!cp)
        cp = m_docCodePage;
    m_fontNameText += m_decoder.decode(m_fontName, cp);
    m_fontName.clear();
}

void Reader::commitFontName()
{
    flushFontBytes();
    const QString name = m_fontNameText.trimmed();
    m_fontNameText.clear();
    if (m_fontEntry < 0 || name.isEmpty())
        return;
    m_fonts[m_fontEntry].name = name;
}

// After \uN the next uc characters are the fallback for readers without
// Unicode; true when the current token is one of them and must be dropped.
bool Reader::consumeFallback()
{
    if (m_skipFallback <= 0)
        return false;
    --m_skipFallback;
    return true;
}

void Reader::controlSymbol(char c)
{
    switch (c) {
    case '\\': case '{': case '}':
        if (consumeFallback() || skipping())
            return;
        if (st().dest == Dest::FontTable) { m_fontName.append(c); return; }
        if (st().dest == Dest::Text) addByte(c);
        return;
    case '~':
        if (consumeFallback() || skipping() || st().dest != Dest::Text) return;
        flushBytes(); appendChar(QChar(0x00A0));
        return;
    case '_':
        if (consumeFallback() || skipping() || st().dest != Dest::Text) return;
        flushBytes(); appendChar(QChar(0x2011));
        return;
    case '*':
        st().starred = true;
        return;
    case '\n': case '\r':
        if (consumeFallback() || skipping() || st().dest != Dest::Text) return;
        paragraphBreak();
        return;
    case '\t':
        if (consumeFallback() || skipping() || st().dest != Dest::Text) return;
        flushBytes(); appendChar(QLatin1Char('\t'));
        return;
    default:
        consumeFallback();
        return; // \- \| \: and unknown symbols show nothing
    }
}

void Reader::controlWord(std::string_view word, bool hasParam, int param)
{
    const Word w = lookupWord(word);
    GroupState &s = st();

    // A group that starts with \* is an optional destination; we show none of
    // them (field instructions, bookmarks, generator notes and the like).
    if (s.starred) {
        s.starred = false;
        s.dest = Dest::Skip;
        return;
    }
    if (w == W_skipdest || w == W_fldinst) {
        s.dest = Dest::Skip;
        return;
    }
    if (w == W_bin) {
        // Binary data follows the word directly; it is never text.
        const qsizetype n = hasParam && param > 0 ? param : 0;
        m_p += std::min<qsizetype>(n, m_end - m_p);
        return;
    }
    if (w == W_uc) {
        s.uc = hasParam ? std::clamp(param, 0, 16) : 1;
        return;
    }
    if (w == W_u) {
        if (skipping() || !hasParam) return;
        if (consumeFallback()) return;
        int code = param;
        if (code < 0) code += 65536;
        if (code < 0 || code > 0xFFFF) code = 0; // no UTF-16 unit: shows nothing
        if (s.dest == Dest::FontTable) {
            flushFontBytes();
            if (code != 0)
                m_fontNameText += QChar(char16_t(code & 0xFFFF));
            m_skipFallback = s.uc;
            return;
        }
        if (s.dest == Dest::Text) {
            flushBytes();
            if (code != 0)
                appendChar(QChar(char16_t(code & 0xFFFF)));
        }
        m_skipFallback = s.uc;
        return;
    }
    // Every other word is one character of a \uN fallback.
    if (consumeFallback())
        return;
    if (m_overflow > 0)
        return;

    switch (w) {
    case W_rtf: return;
    case W_urtf: m_utf8 = true; return;
    case W_ansi: m_docCodePage = 1252; return;
    case W_mac: m_docCodePage = 10000; return;
    case W_pc: m_docCodePage = 437; return;
    case W_pca: m_docCodePage = 850; return;
    case W_ansicpg:
        if (hasParam && param > 0) m_docCodePage = param;
        return;
    case W_deff:
        if (hasParam) { m_deff = param; if (s.font < 0) s.font = param; }
        return;
    case W_fonttbl: s.dest = Dest::FontTable; return;
    case W_colortbl: s.dest = Dest::ColorTable; return;
    default: break;
    }

    if (s.dest == Dest::Skip)
        return;
    if (s.dest == Dest::FontTable) {
        if (w == W_f && hasParam) {
            commitFontName();
            m_fontEntry = param;
            if (!m_fonts.contains(param))
                m_fonts.insert(param, FontInfo());
            s.fontEntry = true;
        } else if (w == W_fcharset && hasParam && m_fontEntry >= 0) {
            m_fonts[m_fontEntry].charset = param;
        }
        return;
    }
    if (s.dest == Dest::ColorTable) {
        const int v = hasParam ? std::clamp(param, 0, 255) : 0;
        if (w == W_red) m_red = v;
        else if (w == W_green) m_green = v;
        else if (w == W_blue) m_blue = v;
        return;
    }

    // Text destination: formatting and special characters.
    switch (w) {
    case W_f:
        if (hasParam) { flushBytes(); s.font = param; }
        return;
    case W_af:
        if (!hasParam) return;
        flushBytes();
        if (s.byteMode == ByteMode::Dbch) s.dbchFont = param;
        else if (s.byteMode == ByteMode::Hich) s.hichFont = param;
        return;
    case W_afs:
        if (s.byteMode != ByteMode::Dbch) return;
        flushBytes();
        s.dbchHalfPoints = hasParam && param > 0 ? std::min(param, 3276) : 0;
        return;
    case W_ab:
        if (s.byteMode != ByteMode::Dbch) return;
        flushBytes();
        s.dbchBold = !hasParam || param != 0;
        return;
    case W_ai:
        if (s.byteMode != ByteMode::Dbch) return;
        flushBytes();
        s.dbchItalic = !hasParam || param != 0;
        return;
    case W_loch: flushBytes(); s.byteMode = ByteMode::Loch; return;
    case W_hich: flushBytes(); s.byteMode = ByteMode::Hich; return;
    case W_dbch: flushBytes(); s.byteMode = ByteMode::Dbch; return;
    case W_fs:
        flushBytes();
        s.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
        return;
    case W_b: flushBytes(); s.bold = !hasParam || param != 0; return;
    case W_i: flushBytes(); s.italic = !hasParam || param != 0; return;
    case W_ul: flushBytes(); s.underline = !hasParam || param != 0; return;
    case W_ulnone: flushBytes(); s.underline = false; return;
    case W_cf: flushBytes(); s.color = hasParam ? std::max(param, 0) : 0; return;
    case W_highlight: case W_cb:
        flushBytes(); s.highlight = hasParam ? std::max(param, 0) : 0; return;
    case W_plain:
        flushBytes();
        s.font = m_deff;
        s.hichFont = s.dbchFont = -1;
        s.dbchHalfPoints = 0;
        s.dbchBold = s.dbchItalic = -1;
        s.byteMode = ByteMode::Loch;
        s.halfPoints = 24;
        s.color = s.highlight = 0;
        s.bold = s.italic = s.underline = false;
        return;
    case W_pard: flushBytes(); s.align = Align::Unset; return;
    case W_ql: s.align = Align::Left; return;
    case W_qc: s.align = Align::Center; return;
    case W_qr: s.align = Align::Right; return;
    case W_qj: s.align = Align::Justify; return;
    case W_par: case W_sect: case W_page:
        paragraphBreak();
        return;
    case W_line:
        // A soft line break stays inside its paragraph: a lesson line is a
        // paragraph, whatever its look.
        flushBytes(); appendChar(QChar(QChar::LineSeparator)); return;
    case W_row: case W_nestrow:
        rowEnd();
        return;
    case W_tab: case W_cell: case W_nestcell:
        flushBytes(); appendChar(QLatin1Char('\t')); return;
    case W_lquote: flushBytes(); appendChar(QChar(0x2018)); return;
    case W_rquote: flushBytes(); appendChar(QChar(0x2019)); return;
    case W_ldblquote: flushBytes(); appendChar(QChar(0x201C)); return;
    case W_rdblquote: flushBytes(); appendChar(QChar(0x201D)); return;
    case W_bullet: flushBytes(); appendChar(QChar(0x2022)); return;
    case W_endash: flushBytes(); appendChar(QChar(0x2013)); return;
    case W_emdash: flushBytes(); appendChar(QChar(0x2014)); return;
    case W_emspace: flushBytes(); appendChar(QChar(0x2003)); return;
    case W_enspace: flushBytes(); appendChar(QChar(0x2002)); return;
    case W_qmspace: flushBytes(); appendChar(QChar(0x2005)); return;
    default:
        return;
    }
}

static inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
static inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
static inline int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void Reader::run(Content *out)
{
    m_out = out;
    m_stack.reserve(kMaxGroupDepth + 1);
    m_stack.append(GroupState()); // outside the root group
    int depth = 0;
    while (m_p < m_end && !m_rootClosed && !m_stopped) {
        const char c = *m_p;
        if (c == '{') {
            ++m_p;
            m_skipFallback = 0;
            if (m_overflow > 0 || depth >= kMaxGroupDepth) {
                ++m_overflow;
                continue;
            }
            flushBytes();
            GroupState next = st();
            next.starred = false;
            next.fontEntry = false;
            m_stack.append(next);
            ++depth;
            // "{urtf" without a backslash is taken as "{\urtf".
            if (depth == 1 && m_end - m_p >= 4 && qstrnicmp(m_p, "urtf", 4) == 0) {
                m_utf8 = true;
                m_p += 4;
                while (m_p < m_end && isDigit(*m_p)) ++m_p;
                if (m_p < m_end && *m_p == ' ') ++m_p;
            }
            continue;
        }
        if (c == '}') {
            ++m_p;
            m_skipFallback = 0;
            if (m_overflow > 0) { --m_overflow; continue; }
            flushBytes();
            const GroupState closing = st();
            if (closing.dest == Dest::FontTable && (closing.fontEntry || m_stack.size() > 2))
                commitFontName();
            if (m_stack.size() > 1)
                m_stack.removeLast();
            if (closing.dest == Dest::FontTable && st().dest != Dest::FontTable)
                m_fontEntry = -1;
            --depth;
            if (depth <= 0)
                m_rootClosed = true;
            continue;
        }
        if (c == '\\') {
            ++m_p;
            if (m_p >= m_end) break;
            const char n = *m_p;
            if (isLetter(n)) {
                const char *start = m_p;
                while (m_p < m_end && isLetter(*m_p) && m_p - start < 32) ++m_p;
                std::string_view word(start, size_t(m_p - start));
                while (m_p < m_end && isLetter(*m_p)) ++m_p; // overlong words are cut
                bool neg = false, hasParam = false;
                long long value = 0;
                if (m_p < m_end && *m_p == '-' && m_p + 1 < m_end && isDigit(m_p[1])) { neg = true; ++m_p; }
                int digits = 0;
                while (m_p < m_end && isDigit(*m_p)) {
                    if (digits < 10) value = value * 10 + (*m_p - '0');
                    ++digits;
                    ++m_p;
                    hasParam = true;
                }
                if (neg) value = -value;
                value = std::clamp<long long>(value, -2147483647LL, 2147483647LL);
                if (m_p < m_end && *m_p == ' ') ++m_p;
                if (depth == 0) continue; // nothing counts outside the root group
                controlWord(word, hasParam, int(value));
                continue;
            }
            if (n == '\'') {
                ++m_p;
                int hi = m_p < m_end ? hexValue(*m_p) : -1;
                int lo = m_p + 1 < m_end ? hexValue(m_p[1]) : -1;
                if (hi < 0 || lo < 0)
                    continue; // a broken escape: what follows is read as text
                m_p += 2;
                if (consumeFallback() || skipping() || depth == 0) continue;
                const char byte = char(hi * 16 + lo);
                if (st().dest == Dest::FontTable) m_fontName.append(byte);
                else if (st().dest == Dest::Text) {
                    // \'hh is a byte of the code page, never UTF-8.
                    const int cp = decodeCodePage();
                    if (!m_bytes.isEmpty() && cp != m_bytesCodePage) flushBytes();
                    m_bytesCodePage = cp;
                    m_bytes.append(byte);
                }
                continue;
            }
            ++m_p;
            if (depth == 0) continue;
            controlSymbol(n);
            continue;
        }
        ++m_p;
        if (c == '\r' || c == '\n' || c == '\0')
            continue;
        if (depth == 0)
            continue;
        if (consumeFallback() || skipping())
            continue;
        switch (st().dest) {
        case Dest::Text:
            if (c == '\t') { flushBytes(); appendChar(QLatin1Char('\t')); }
            else if (static_cast<unsigned char>(c) >= 0x20) addByte(c);
            break;
        case Dest::FontTable:
            if (c == ';') commitFontName();
            else m_fontName.append(c);
            break;
        case Dest::ColorTable:
            if (c == ';') {
                if (m_red < 0 && m_green < 0 && m_blue < 0)
                    m_colors.append(QColor());
                else
                    m_colors.append(QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
                m_red = m_green = m_blue = -1;
            }
            break;
        case Dest::Skip:
            break;
        }
    }
    if (m_stopped)
        return;
    flushBytes();
    m_para.align = m_stack.last().align;
    if (!m_stopped)
        emitParagraph();
}

} // namespace

bool looksLikeRtf(const char *data, qsizetype size)
{
    qsizetype i = 0;
    if (size >= 3 && static_cast<unsigned char>(data[0]) == 0xEF
        && static_cast<unsigned char>(data[1]) == 0xBB && static_cast<unsigned char>(data[2]) == 0xBF)
        i = 3;
    while (i < size && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    const qsizetype left = size - i;
    if (left >= 5 && qstrnicmp(data + i, "{\\rtf", 5) == 0) return true;
    if (left >= 6 && qstrnicmp(data + i, "{\\urtf", 6) == 0) return true;
    if (left >= 5 && qstrnicmp(data + i, "{urtf", 5) == 0) return true;
    return false;
}

bool read(const QByteArray &data, Content *content, QString *error)
{
    content->paragraphs.clear();
    if (!looksLikeRtf(data)) {
        if (error)
            *error = QStringLiteral("The data is not rich text (it does not begin with \"{\\rtf\").");
        return false;
    }
    qsizetype start = data.indexOf('{');
    Reader reader(data.constData() + start, data.size() - start);
    reader.run(content);
    return true;
}

bool read(const QByteArray &data, const ParagraphSink &sink, QString *error)
{
    if (!looksLikeRtf(data)) {
        if (error)
            *error = QStringLiteral("The data is not rich text (it does not begin with \"{\\rtf\").");
        return false;
    }
    const qsizetype start = data.indexOf('{');
    Content unused;
    Reader reader(data.constData() + start, data.size() - start);
    reader.setSink(&sink);
    reader.run(&unused);
    return true;
}

} // namespace korvana::rtf
