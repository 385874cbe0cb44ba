#include "RtfWriter.h"
#include "CodePages.h"

#include <QHash>

#include <charconv>
#include <string>

namespace korvana::rtf {

namespace {

struct FontKey {
    QString family;
    int charset;
    friend bool operator==(const FontKey &, const FontKey &) = default;
};

size_t qHash(const FontKey &k, size_t seed = 0) noexcept
{
    return qHashMulti(seed, k.family, k.charset);
}

// Without a string of its own per number: a lesson writes hundreds of
// thousands of them (\uN, \f, \fs, \cf).
void appendInt(QByteArray &out, int v)
{
    char digits[16];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, v);
    out.append(digits, qsizetype(r.ptr - digits));
}

void appendInt(std::string &out, int v)
{
    char digits[16];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, v);
    out.append(digits, size_t(r.ptr - digits));
}

// Font names in the font table: plain ASCII as is, anything else in the
// font's own code page when it has one, as \uN? otherwise.
void appendFontName(QByteArray &out, const QString &name, int charset)
{
    bool ascii = true;
    for (QChar ch : name)
        if (ch.unicode() >= 0x80 || ch == QLatin1Char(';') || ch == QLatin1Char('\\') || ch == QLatin1Char('{')
            || ch == QLatin1Char('}')) {
            ascii = false;
            break;
        }
    if (ascii) {
        out += name.toLatin1();
        return;
    }
    QByteArray bytes;
    const int cp = codePageForCharset(charset);
    if (cp && CodePageDecoder::encode(name, cp, &bytes)) {
        static const char hex[] = "0123456789abcdef";
        for (char b : bytes) {
            const unsigned char u = static_cast<unsigned char>(b);
            if (u >= 0x80 || b == ';' || b == '\\' || b == '{' || b == '}') {
                out += "\\'";
                out += hex[u >> 4];
                out += hex[u & 15];
            } else {
                out += b;
            }
        }
        return;
    }
    for (QChar ch : name) {
        const char16_t u = ch.unicode();
        if (u < 0x80 && u != ';' && u != '\\' && u != '{' && u != '}') {
            out += char(u);
        } else {
            out += "\\u";
            appendInt(out, int(int16_t(u)));
            out += '?';
        }
    }
}

} // namespace

QByteArray write(const Content &content, const WriterDefaults &defaults)
{
    // Tables in order of first use, so the same content gives the same bytes.
    QList<FontKey> fonts;
    QHash<FontKey, int> fontIndex;
    QList<QColor> colors; // index + 1 is the \cf number; 0 is automatic
    QHash<QRgb, int> colorIndex;
    auto fontOf = [&](const CharFormat &f) {
        FontKey key{f.family.isEmpty() ? defaults.family : f.family, f.charset < 0 ? 1 : f.charset};
        auto it = fontIndex.constFind(key);
        if (it != fontIndex.constEnd())
            return *it;
        const int i = int(fonts.size());
        fonts.append(key);
        fontIndex.insert(key, i);
        return i;
    };
    auto colorOf = [&](const QColor &c) {
        if (!c.isValid())
            return 0;
        const QRgb rgb = c.rgb() & 0xFFFFFF;
        auto it = colorIndex.constFind(rgb);
        if (it != colorIndex.constEnd())
            return *it;
        colors.append(QColor::fromRgb(rgb));
        const int i = int(colors.size());
        colorIndex.insert(rgb, i);
        return i;
    };
    for (const Paragraph &p : content.paragraphs)
        for (const Run &r : p.runs) {
            fontOf(r.format);
            colorOf(r.format.color);
            colorOf(r.format.highlight);
        }
    if (fonts.isEmpty())
        fontOf(CharFormat());

    // Built character by character: a plain string appends one without
    // QByteArray's bookkeeping per character.
    std::string body;
    qsizetype textSize = 0;
    for (const Paragraph &p : content.paragraphs)
        for (const Run &r : p.runs)
            textSize += r.text.size();
    body.reserve(size_t(textSize * 2 + content.paragraphs.size() * 16 + 64));

    int curFont = -1, curSize = -1, curColor = -1, curHighlight = 0;
    bool curBold = false, curItalic = false, curUnderline = false;
    Align curAlign = Align::Unset;
    bool needSpace = false;
    auto word = [&](const char *w, int param, bool withParam) {
        body += w;
        if (withParam)
            appendInt(body, param);
        needSpace = true;
    };

    body += "\\pard";
    needSpace = true;
    const qsizetype count = content.paragraphs.size();
    for (qsizetype pi = 0; pi < count; ++pi) {
        const Paragraph &p = content.paragraphs.at(pi);
        const bool lastEmpty = pi == count - 1 && p.runs.isEmpty() && pi > 0;
        if (lastEmpty)
            break; // the break before it already ends the text
        Align align = p.align == Align::Left ? Align::Unset : p.align;
        if (align != curAlign) {
            if (pi > 0)
                word("\\pard", 0, false);
            if (align == Align::Center)
                word("\\qc", 0, false);
            else if (align == Align::Right)
                word("\\qr", 0, false);
            else if (align == Align::Justify)
                word("\\qj", 0, false);
            curAlign = align;
        }
        for (const Run &r : p.runs) {
            const CharFormat &f = r.format;
            const int fi = fontOf(f);
            const int size = f.halfPoints > 0 ? f.halfPoints : defaults.halfPoints;
            const int ci = colorOf(f.color);
            const int hi = colorOf(f.highlight);
            if (fi != curFont) {
                word("\\f", fi, true);
                // Word processors show East Asian text in the double-byte font
                // (\dbch\af); name it too, or they fall back to their own.
                const int cs = fonts.at(fi).charset;
                if (cs == 128 || cs == 129 || cs == 134 || cs == 136) {
                    word("\\dbch\\af", fi, true);
                    word("\\loch", 0, false);
                }
                curFont = fi;
            }
            if (size != curSize) {
                word("\\fs", size, true);
                curSize = size;
            }
            if (ci != curColor) {
                word("\\cf", ci, true);
                curColor = ci;
            }
            if (hi != curHighlight) {
                word("\\highlight", hi, true);
                curHighlight = hi;
            }
            if (f.bold != curBold) {
                word(f.bold ? "\\b" : "\\b0", 0, false);
                curBold = f.bold;
            }
            if (f.italic != curItalic) {
                word(f.italic ? "\\i" : "\\i0", 0, false);
                curItalic = f.italic;
            }
            if (f.underline != curUnderline) {
                word(f.underline ? "\\ul" : "\\ulnone", 0, false);
                curUnderline = f.underline;
            }
            for (QChar ch : r.text) {
                const char16_t u = ch.unicode();
                if (u >= 0x20 && u < 0x7F) {
                    if (needSpace) {
                        body += ' ';
                        needSpace = false;
                    }
                    if (u == '\\' || u == '{' || u == '}')
                        body += '\\';
                    body += char(u);
                } else if (u == '\t') {
                    word("\\tab", 0, false);
                } else if (u == 0x2028 || u == 0x2029) {
                    word("\\line", 0, false);
                } else if (u == 0) {
                    continue; // no text: the reader never gives it
                } else {
                    // Other control characters (form feed, vertical tab, 0x1A)
                    // go as \uN too: as bytes they would be dropped.
                    body += "\\u";
                    appendInt(body, int(int16_t(u)));
                    body += '?';
                    needSpace = false;
                }
            }
        }
        if (pi < count - 1) {
            body += "\\par\r\n";
            needSpace = false;
        }
    }

    QByteArray out;
    out.reserve(qsizetype(body.size()) + fonts.size() * 40 + colors.size() * 30 + 128);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        out += "{\\f";
        appendInt(out, int(i));
        out += "\\fnil\\fcharset";
        appendInt(out, fonts.at(i).charset);
        out += ' ';
        appendFontName(out, fonts.at(i).family, fonts.at(i).charset);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor &c : std::as_const(colors)) {
        out += "\\red";
        appendInt(out, c.red());
        out += "\\green";
        appendInt(out, c.green());
        out += "\\blue";
        appendInt(out, c.blue());
        out += ';';
    }
    out += "}\r\n";
    out.append(body.data(), qsizetype(body.size()));
    out += "}\r\n";
    return out;
}

} // namespace korvana::rtf
