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
// The classes of text that word processors give fonts of their own: low
// ANSI (7-bit), high ANSI, double-byte (East Asian) text, and text of the
// bidirectional (complex-script) font set.
enum class TextClass { Loch, Hich, Dbch, Complex };

struct GroupState {
    Dest dest = Dest::Text;
    // The left-to-right font set. \loch, \hich and \dbch say which class
    // the following words and text are of; \f (and \af once a class was
    // named) gives that class its font. A class without a font of its own
    // shows in \f's.
    int font = -1;
    int classFont[3] = {-1, -1, -1};
    TextClass byteMode = TextClass::Loch;
    bool classGiven = false;
    // The bidirectional font set: chosen by \rtlch, or by \fcs1 whatever the
    // direction (\fcs0 keeps right-to-left text in the left-to-right set).
    // Word writes its properties (\af, \afs, \ab, \ai) before every run,
    // and they must never reach the left-to-right text.
    bool rtl = false;
    int fcs = -1;
    int complexFont = -1;
    int complexHalfPoints = 0;
    int complexBold = -1, complexItalic = -1;
    int halfPoints = 24; // RTF's default size is 12 points
    int color = 0;       // \cf index; 0 automatic
    int highlight = 0;
    bool bold = false, italic = false, underline = false;
    int uc = 1; // bytes of fallback after each \uN
    Align align = Align::Unset;
    bool starred = false;   // the group began with \*
    bool fontEntry = false; // a {\fN ...;} entry inside the font table
};

struct FontInfo {
    QString name;
    int charset = 1;
};

enum Word {
    W_Unknown,
    W_rtf,
    W_urtf,
    W_ansi,
    W_mac,
    W_pc,
    W_pca,
    W_ansicpg,
    W_deff,
    W_uc,
    W_u,
    W_fonttbl,
    W_colortbl,
    W_f,
    W_fcharset,
    W_red,
    W_green,
    W_blue,
    W_fs,
    W_b,
    W_i,
    W_ul,
    W_ulnone,
    W_cf,
    W_highlight,
    W_cb,
    W_plain,
    W_pard,
    W_par,
    W_line,
    W_tab,
    W_sect,
    W_page,
    W_cell,
    W_nestcell,
    W_row,
    W_nestrow,
    W_ql,
    W_qc,
    W_qr,
    W_qj,
    W_loch,
    W_hich,
    W_dbch,
    W_rtlch,
    W_ltrch,
    W_fcs,
    W_af,
    W_afs,
    W_ab,
    W_ai,
    W_fldinst,
    W_fldrslt,
    W_bin,
    W_lquote,
    W_rquote,
    W_ldblquote,
    W_rdblquote,
    W_bullet,
    W_endash,
    W_emdash,
    W_emspace,
    W_enspace,
    W_qmspace,
    W_skipdest
};

const std::unordered_map<std::string_view, Word> &wordTable()
{
    static const std::unordered_map<std::string_view, Word> table = [] {
        std::unordered_map<std::string_view, Word> t = {
            {"rtf", W_rtf},
            {"urtf", W_urtf},
            {"ansi", W_ansi},
            {"mac", W_mac},
            {"pc", W_pc},
            {"pca", W_pca},
            {"ansicpg", W_ansicpg},
            {"deff", W_deff},
            {"uc", W_uc},
            {"u", W_u},
            {"fonttbl", W_fonttbl},
            {"colortbl", W_colortbl},
            {"f", W_f},
            {"fcharset", W_fcharset},
            {"red", W_red},
            {"green", W_green},
            {"blue", W_blue},
            {"fs", W_fs},
            {"b", W_b},
            {"i", W_i},
            {"ul", W_ul},
            {"uld", W_ul},
            {"uldb", W_ul},
            {"ulw", W_ul},
            {"ulwave", W_ul},
            {"uldash", W_ul},
            {"ulth", W_ul},
            {"ulnone", W_ulnone},
            {"cf", W_cf},
            {"highlight", W_highlight},
            {"cb", W_cb},
            {"plain", W_plain},
            {"pard", W_pard},
            {"par", W_par},
            {"line", W_line},
            {"tab", W_tab},
            {"sect", W_sect},
            {"page", W_page},
            {"cell", W_cell},
            {"nestcell", W_nestcell},
            {"row", W_row},
            {"nestrow", W_nestrow},
            {"ql", W_ql},
            {"qc", W_qc},
            {"qr", W_qr},
            {"qj", W_qj},
            {"loch", W_loch},
            {"hich", W_hich},
            {"dbch", W_dbch},
            {"rtlch", W_rtlch},
            {"ltrch", W_ltrch},
            {"fcs", W_fcs},
            {"af", W_af},
            {"afs", W_afs},
            {"ab", W_ab},
            {"ai", W_ai},
            {"fldinst", W_fldinst},
            {"fldrslt", W_fldrslt},
            {"bin", W_bin},
            {"lquote", W_lquote},
            {"rquote", W_rquote},
            {"ldblquote", W_ldblquote},
            {"rdblquote", W_rdblquote},
            {"bullet", W_bullet},
            {"endash", W_endash},
            {"emdash", W_emdash},
            {"emspace", W_emspace},
            {"enspace", W_enspace},
            {"qmspace", W_qmspace},
        };
        // Destinations whose text is never shown.
        for (const char *name : {"stylesheet",
                                 "info",
                                 "pict",
                                 "object",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "bkmkstart",
                                 "bkmkend",
                                 "listtable",
                                 "listoverridetable",
                                 "revtbl",
                                 "rsidtbl",
                                 "pntext",
                                 "pntxta",
                                 "pntxtb",
                                 "listtext",
                                 "shp",
                                 "shpinst",
                                 "shptxt",
                                 "nonshppict",
                                 "shppict",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "xmlnstbl",
                                 "generator",
                                 "template",
                                 "doccomm",
                                 "author",
                                 "title",
                                 "subject",
                                 "operator",
                                 "comment",
                                 "company",
                                 "keywords",
                                 "creatim",
                                 "revtim",
                                 "printim",
                                 "buptim",
                                 "userprops",
                                 "docvar",
                                 "mmathPr",
                                 "pgdsctbl",
                                 "filetbl",
                                 "protusertbl",
                                 "wgrffmtfilter",
                                 "ftnsep",
                                 "ftnsepc",
                                 "ftncn",
                                 "aftnsep",
                                 "aftnsepc",
                                 "aftncn",
                                 "background",
                                 "sp",
                                 "sn",
                                 "sv",
                                 "objdata",
                                 "objclass",
                                 "objname",
                                 "blipuid",
                                 "falt",
                                 "panose",
                                 "fldtype",
                                 "category",
                                 "manager",
                                 "hlinkbase",
                                 "passwordhash",
                                 "rxe",
                                 "tcn",
                                 "formfield",
                                 "datafield",
                                 "fontemb",
                                 "fontfile"}) {
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
                           + (n > 2 ? unsigned(char(word[n / 2])) : 0u))
                          & 255u;
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
    const GroupState &st() const { return m_stack.last(); }
    int codePageOfFont(int font) const;
    TextClass classOfByte(unsigned char b, int *codePage) const;
    CharFormat formatOf(TextClass cls) const;
    void addByte(char c, bool escaped);
    void flushBytes();
    void appendText(const QString &text, TextClass cls);
    void appendPlain(const QString &text, TextClass cls);
    void appendChar(QChar c);
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
    int m_overflow = 0; // groups opened beyond the nesting limit
    int m_docCodePage = 1252;
    bool m_utf8 = false; // \urtf: raw text bytes are UTF-8
    int m_deff = -1;
    int m_skipFallback = 0; // fallback bytes still to drop after \uN
    QHash<int, FontInfo> m_fonts;
    int m_fontEntry = -1;
    QByteArray m_fontName;  // bytes of the font name being read
    QString m_fontNameText; // the part of it already decoded
    QList<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;
    QByteArray m_bytes;
    int m_bytesCodePage = 0;
    TextClass m_bytesClass = TextClass::Loch;
    bool m_trailPending = false; // the last byte began a double-byte character
    CodePageDecoder m_decoder;
    Content *m_out = nullptr;
    Paragraph m_para;
    bool m_rootClosed = false;
    const ParagraphSink *m_sink = nullptr; // takes each paragraph instead of m_out
    bool m_stopped = false;                // the sink asked to stop
};

static bool complexSelected(const GroupState &s)
{
    return s.fcs == 1 || (s.fcs < 0 && s.rtl);
}

// The class that the writer declared for the text that follows.
static TextClass declaredClass(const GroupState &s)
{
    return complexSelected(s) ? TextClass::Complex : s.byteMode;
}

static int fontOfClass(const GroupState &s, TextClass cls)
{
    if (cls == TextClass::Complex)
        return s.complexFont >= 0 ? s.complexFont : s.font;
    const int f = s.classFont[int(cls)];
    return f >= 0 ? f : s.font;
}

// A font's \fcharset decides its bytes' code page, else the document's.
int Reader::codePageOfFont(int font) const
{
    auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd()) {
        const int cp = codePageForCharset(it->charset);
        if (cp)
            return cp;
    }
    return m_docCodePage;
}

// As Word reads a text byte: 7-bit bytes are low ANSI, a byte that starts a
// double-byte character (in the code page of the run's declared font, or of
// the document when the double-byte font shares it) is double-byte text,
// any other is high ANSI; text of the bidirectional set stays in its font.
TextClass Reader::classOfByte(unsigned char b, int *codePage) const
{
    const GroupState &s = st();
    if (complexSelected(s)) {
        *codePage = codePageOfFont(fontOfClass(s, TextClass::Complex));
        return TextClass::Complex;
    }
    if (b < 0x80) {
        *codePage = codePageOfFont(fontOfClass(s, TextClass::Loch));
        return TextClass::Loch;
    }
    const int declaredCp = codePageOfFont(fontOfClass(s, s.byteMode));
    const int dbchCp = codePageOfFont(fontOfClass(s, TextClass::Dbch));
    if (isLeadByte(dbchCp, b) && (isLeadByte(declaredCp, b) || dbchCp == m_docCodePage)) {
        *codePage = dbchCp;
        return TextClass::Dbch;
    }
    if (isLeadByte(declaredCp, b)) {
        *codePage = declaredCp; // a double-byte character in the run's own font
        return s.byteMode;
    }
    *codePage = codePageOfFont(fontOfClass(s, TextClass::Hich));
    return TextClass::Hich;
}

CharFormat Reader::formatOf(TextClass cls) const
{
    const GroupState &s = st();
    CharFormat f;
    int font = fontOfClass(s, cls);
    if (!m_fonts.contains(font))
        font = s.font;
    auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd()) {
        f.family = it->name;
        f.charset = it->charset;
    }
    const bool complex = cls == TextClass::Complex;
    f.halfPoints = complex && s.complexHalfPoints > 0 ? s.complexHalfPoints : s.halfPoints;
    if (s.color > 0 && s.color < m_colors.size())
        f.color = m_colors.at(s.color);
    if (s.highlight > 0 && s.highlight < m_colors.size())
        f.highlight = m_colors.at(s.highlight);
    f.bold = complex && s.complexBold >= 0 ? s.complexBold != 0 : s.bold;
    f.italic = complex && s.complexItalic >= 0 ? s.complexItalic != 0 : s.italic;
    f.underline = s.underline;
    return f;
}

// Bytes of one class and code page are gathered and decoded together, so
// that a double-byte character split over escapes and raw text reads whole.
void Reader::addByte(char c, bool escaped)
{
    if (m_trailPending) {
        m_trailPending = false;
        m_bytes.append(c);
        return;
    }
    const auto b = static_cast<unsigned char>(c);
    int cp = 0;
    TextClass cls;
    if (m_utf8 && !escaped && b >= 0x80) {
        cls = declaredClass(st());
        cp = 65001;
    } else {
        cls = classOfByte(b, &cp);
    }
    if (!m_bytes.isEmpty() && (cp != m_bytesCodePage || cls != m_bytesClass))
        flushBytes();
    m_bytesCodePage = cp;
    m_bytesClass = cls;
    m_bytes.append(c);
    m_trailPending = isLeadByte(cp, b);
}

void Reader::appendChar(QChar c)
{
    appendText(QString(c), declaredClass(st()));
}

void Reader::flushBytes()
{
    m_trailPending = false;
    if (m_bytes.isEmpty())
        return;
    QString text = m_decoder.decode(m_bytes, m_bytesCodePage);
    m_bytes.clear();
    appendText(text, m_bytesClass);
}

static inline bool isSpecial(char16_t u)
{
    return u == 0 || u == '\n' || u == '\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1;
}

void Reader::appendText(const QString &text, TextClass cls)
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
            appendPlain(text.mid(from, k - from), cls);
            from = k + 1;
            if (u == '\n' || u == '\r' || u == 0x2029)
                paragraphBreak();
            else if (u == 0xFDD0 || u == 0xFDD1)
                appendPlain(QString(QChar(0xFFFD)), cls);
        }
        appendPlain(text.mid(from), cls);
        return;
    }
    appendPlain(text, cls);
}

void Reader::appendPlain(const QString &text, TextClass cls)
{
    if (text.isEmpty())
        return;
    CharFormat f = formatOf(cls);
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
    case '\\':
    case '{':
    case '}':
        if (consumeFallback() || skipping())
            return;
        if (st().dest == Dest::FontTable) {
            m_fontName.append(c);
            return;
        }
        if (st().dest == Dest::Text)
            addByte(c, true);
        return;
    case '~':
        if (consumeFallback() || skipping() || st().dest != Dest::Text)
            return;
        flushBytes();
        appendChar(QChar(0x00A0));
        return;
    case '_':
        if (consumeFallback() || skipping() || st().dest != Dest::Text)
            return;
        flushBytes();
        appendChar(QChar(0x2011));
        return;
    case '-': // the optional hyphen, kept so that a save writes it back
        if (consumeFallback() || skipping() || st().dest != Dest::Text)
            return;
        flushBytes();
        appendChar(QChar(0x00AD));
        return;
    case '*':
        st().starred = true;
        return;
    case '\n':
    case '\r':
        if (consumeFallback() || skipping() || st().dest != Dest::Text)
            return;
        paragraphBreak();
        return;
    case '\t':
        if (consumeFallback() || skipping() || st().dest != Dest::Text)
            return;
        flushBytes();
        appendChar(QLatin1Char('\t'));
        return;
    default:
        consumeFallback();
        return; // \| \: and unknown symbols show nothing
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
        if (skipping() || !hasParam)
            return;
        if (consumeFallback())
            return;
        int code = param;
        if (code < 0)
            code += 65536;
        if (code < 0 || code > 0xFFFF)
            code = 0; // no UTF-16 unit: shows nothing
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
    case W_rtf:
        return;
    case W_urtf:
        m_utf8 = true;
        return;
    case W_ansi:
        m_docCodePage = 1252;
        return;
    case W_mac:
        m_docCodePage = 10000;
        return;
    case W_pc:
        m_docCodePage = 437;
        return;
    case W_pca:
        m_docCodePage = 850;
        return;
    case W_ansicpg:
        if (hasParam && param > 0)
            m_docCodePage = param;
        return;
    case W_deff:
        if (hasParam) {
            m_deff = param;
            if (s.font < 0)
                s.font = param;
        }
        return;
    case W_fonttbl:
        s.dest = Dest::FontTable;
        return;
    case W_colortbl:
        s.dest = Dest::ColorTable;
        return;
    default:
        break;
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
        if (w == W_red)
            m_red = v;
        else if (w == W_green)
            m_green = v;
        else if (w == W_blue)
            m_blue = v;
        return;
    }

    // Text destination: formatting and special characters.
    switch (w) {
    case W_f:
        if (!hasParam)
            return;
        flushBytes();
        if (complexSelected(s)) {
            s.complexFont = param;
        } else {
            s.font = param;
            if (s.classGiven)
                s.classFont[int(s.byteMode)] = param;
        }
        return;
    // The associated properties belong to the set or class chosen last; with
    // neither named they are the bidirectional set's.
    case W_af:
        if (!hasParam)
            return;
        flushBytes();
        if (complexSelected(s) || !s.classGiven)
            s.complexFont = param;
        else
            s.classFont[int(s.byteMode)] = param;
        return;
    case W_afs: {
        flushBytes();
        const int hp = hasParam && param > 0 ? std::min(param, 3276) : 0;
        if (complexSelected(s) || !s.classGiven)
            s.complexHalfPoints = hp;
        else
            s.halfPoints = hp > 0 ? hp : 24;
        return;
    }
    case W_ab:
    case W_ai: {
        flushBytes();
        const bool on = !hasParam || param != 0;
        if (complexSelected(s) || !s.classGiven)
            (w == W_ab ? s.complexBold : s.complexItalic) = on;
        else
            (w == W_ab ? s.bold : s.italic) = on;
        return;
    }
    case W_loch:
    case W_hich:
    case W_dbch:
        flushBytes();
        s.byteMode = w == W_loch ? TextClass::Loch : w == W_hich ? TextClass::Hich : TextClass::Dbch;
        s.classGiven = true;
        return;
    case W_rtlch:
    case W_ltrch:
        flushBytes();
        s.rtl = w == W_rtlch;
        s.fcs = -1;
        return;
    case W_fcs:
        flushBytes();
        s.fcs = hasParam && param == 1 ? 1 : 0;
        return;
    // Size, bold and italic are the left-to-right set's, and the
    // bidirectional set's too while that is chosen.
    case W_fs:
        flushBytes();
        s.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
        if (complexSelected(s))
            s.complexHalfPoints = s.halfPoints;
        return;
    case W_b:
    case W_i: {
        flushBytes();
        const bool on = !hasParam || param != 0;
        (w == W_b ? s.bold : s.italic) = on;
        if (complexSelected(s))
            (w == W_b ? s.complexBold : s.complexItalic) = on;
        return;
    }
    case W_ul:
        flushBytes();
        s.underline = !hasParam || param != 0;
        return;
    case W_ulnone:
        flushBytes();
        s.underline = false;
        return;
    case W_cf:
        flushBytes();
        s.color = hasParam ? std::max(param, 0) : 0;
        return;
    case W_highlight:
    case W_cb:
        flushBytes();
        s.highlight = hasParam ? std::max(param, 0) : 0;
        return;
    case W_plain:
        flushBytes();
        s.font = m_deff;
        s.classFont[0] = s.classFont[1] = s.classFont[2] = -1;
        s.byteMode = TextClass::Loch;
        s.classGiven = false;
        s.rtl = false;
        s.fcs = -1;
        s.complexFont = -1;
        s.complexHalfPoints = 0;
        s.complexBold = s.complexItalic = -1;
        s.halfPoints = 24;
        s.color = s.highlight = 0;
        s.bold = s.italic = s.underline = false;
        return;
    case W_pard:
        flushBytes();
        s.align = Align::Unset;
        return;
    case W_ql:
        s.align = Align::Left;
        return;
    case W_qc:
        s.align = Align::Center;
        return;
    case W_qr:
        s.align = Align::Right;
        return;
    case W_qj:
        s.align = Align::Justify;
        return;
    case W_par:
    case W_sect:
    case W_page:
        paragraphBreak();
        return;
    case W_line:
        // A soft line break stays inside its paragraph: a lesson line is a
        // paragraph, whatever its look.
        flushBytes();
        appendChar(QChar(QChar::LineSeparator));
        return;
    case W_row:
    case W_nestrow:
        rowEnd();
        return;
    case W_tab:
    case W_cell:
    case W_nestcell:
        flushBytes();
        appendChar(QLatin1Char('\t'));
        return;
    case W_lquote:
        flushBytes();
        appendChar(QChar(0x2018));
        return;
    case W_rquote:
        flushBytes();
        appendChar(QChar(0x2019));
        return;
    case W_ldblquote:
        flushBytes();
        appendChar(QChar(0x201C));
        return;
    case W_rdblquote:
        flushBytes();
        appendChar(QChar(0x201D));
        return;
    case W_bullet:
        flushBytes();
        appendChar(QChar(0x2022));
        return;
    case W_endash:
        flushBytes();
        appendChar(QChar(0x2013));
        return;
    case W_emdash:
        flushBytes();
        appendChar(QChar(0x2014));
        return;
    case W_emspace:
        flushBytes();
        appendChar(QChar(0x2003));
        return;
    case W_enspace:
        flushBytes();
        appendChar(QChar(0x2002));
        return;
    case W_qmspace:
        flushBytes();
        appendChar(QChar(0x2005));
        return;
    default:
        return;
    }
}

static inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
static inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
static inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
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
                while (m_p < m_end && isDigit(*m_p))
                    ++m_p;
                if (m_p < m_end && *m_p == ' ')
                    ++m_p;
            }
            continue;
        }
        if (c == '}') {
            ++m_p;
            m_skipFallback = 0;
            if (m_overflow > 0) {
                --m_overflow;
                continue;
            }
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
            if (m_p >= m_end)
                break;
            const char n = *m_p;
            if (isLetter(n)) {
                const char *start = m_p;
                while (m_p < m_end && isLetter(*m_p) && m_p - start < 32)
                    ++m_p;
                std::string_view word(start, size_t(m_p - start));
                while (m_p < m_end && isLetter(*m_p))
                    ++m_p; // overlong words are cut
                bool neg = false, hasParam = false;
                long long value = 0;
                if (m_p < m_end && *m_p == '-' && m_p + 1 < m_end && isDigit(m_p[1])) {
                    neg = true;
                    ++m_p;
                }
                int digits = 0;
                while (m_p < m_end && isDigit(*m_p)) {
                    if (digits < 10)
                        value = value * 10 + (*m_p - '0');
                    ++digits;
                    ++m_p;
                    hasParam = true;
                }
                if (neg)
                    value = -value;
                value = std::clamp<long long>(value, -2147483647LL, 2147483647LL);
                if (m_p < m_end && *m_p == ' ')
                    ++m_p;
                if (depth == 0)
                    continue; // nothing counts outside the root group
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
                if (consumeFallback() || skipping() || depth == 0)
                    continue;
                const char byte = char(hi * 16 + lo);
                if (st().dest == Dest::FontTable)
                    m_fontName.append(byte);
                else if (st().dest == Dest::Text)
                    addByte(byte, true); // \'hh is a byte of the code page, never UTF-8
                continue;
            }
            ++m_p;
            if (depth == 0)
                continue;
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
            if (c == '\t') {
                flushBytes();
                appendChar(QLatin1Char('\t'));
            } else if (static_cast<unsigned char>(c) >= 0x20)
                addByte(c, false);
            break;
        case Dest::FontTable:
            if (c == ';')
                commitFontName();
            else
                m_fontName.append(c);
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
    if (size >= 3 && static_cast<unsigned char>(data[0]) == 0xEF && static_cast<unsigned char>(data[1]) == 0xBB
        && static_cast<unsigned char>(data[2]) == 0xBF)
        i = 3;
    while (i < size && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    const qsizetype left = size - i;
    if (left >= 5 && qstrnicmp(data + i, "{\\rtf", 5) == 0)
        return true;
    if (left >= 6 && qstrnicmp(data + i, "{\\urtf", 6) == 0)
        return true;
    if (left >= 5 && qstrnicmp(data + i, "{urtf", 5) == 0)
        return true;
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
