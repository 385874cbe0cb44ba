#pragma once
// Reads RTF as written by rich-edit controls, WordPad, word processors and
// LibreOffice: the character formatting the program uses (font, size,
// colour, bold, italic, underline, highlight, charset), paragraphs and their
// alignment, text in any Windows code page or as \uN. Destinations it does not
// show (pictures, style sheets, document information, field instructions,
// anything under \*) are skipped, tables become one line per row with the
// cells separated by tabs, and field results are kept.
//
// Damaged input never crashes or hangs the reader: it reads up to where the
// data ends, ignores what it cannot understand and limits group nesting.

#include "RtfContent.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace korvana::rtf {

// True when data starts (after blanks) as rich text does: "{\rtf", "{\urtf"
// or "{urtf", in any case.
bool looksLikeRtf(const char *data, qsizetype size);
inline bool looksLikeRtf(const QByteArray &data)
{
    return looksLikeRtf(data.constData(), data.size());
}

// Parses data. Returns false with *error set when it is not rich text at all;
// otherwise fills *content with everything readable, even from truncated or
// damaged data.
bool read(const QByteArray &data, Content *content, QString *error);

// Hands each paragraph to sink as soon as it is read, instead of collecting
// them; when sink returns false the reading stops there, so a caller with a
// limit need not read (or hold) the rest of a huge document.
using ParagraphSink = std::function<bool(Paragraph &&)>;
bool read(const QByteArray &data, const ParagraphSink &sink, QString *error);

// The deepest group nesting that is read; deeper groups are skipped whole.
constexpr int kMaxGroupDepth = 128;

} // namespace korvana::rtf
