#pragma once
// Writes rich text that rich-edit controls, word processors and our own
// reader read back with fonts, sizes, colours, bold, italic, underline and
// charsets intact. Text outside ASCII is written as \uN? so that no code page
// is needed to read it. The same content always gives the same bytes.

#include "RtfContent.h"

#include <QByteArray>

namespace korvana::rtf {

struct WriterDefaults {
    QString family = QStringLiteral("Arial"); // for runs without a font
    int halfPoints = 20;                      // for runs without a size
};

// Writes content; a last empty paragraph (content ending with a break) ends
// the text with \par.
QByteArray write(const Content &content, const WriterDefaults &defaults = {});

} // namespace korvana::rtf
