#pragma once
// Rich text as the reader hands it over and the writer takes it: paragraphs
// of runs, each run being text with one character format. It is what a
// stream carries between two controls, free of any document.

#include <QColor>
#include <QList>
#include <QString>

namespace korvana::rtf {

struct CharFormat {
    QString family;     // empty: the control's default font
    int charset = -1;   // Windows charset number; -1 when none was given
    int halfPoints = 0; // size in half points; 0: the control's default
    QColor color;       // invalid: automatic (the default text colour)
    QColor highlight;   // invalid: none
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const CharFormat &, const CharFormat &) = default;
};

struct Run {
    QString text;
    CharFormat format;
};

enum class Align { Unset, Left, Center, Right, Justify };

struct Paragraph {
    QList<Run> runs;
    Align align = Align::Unset;
};

// Paragraphs split at the paragraph breaks: rich text that ends with a
// break has an empty last paragraph, so "a\par" is {"a", ""}.
struct Content {
    QList<Paragraph> paragraphs;
    bool endsWithBreak() const { return paragraphs.size() > 1 && paragraphs.constLast().runs.isEmpty(); }
};

} // namespace korvana::rtf
