#pragma once
// All open lessons as one store: the lesson text (one term per line, every
// open lesson in load order) and the term table (one row per line), with the
// lists of open lessons and linked reading files. A term is known everywhere
// by its line number: row r of the table belongs to line r of the text.
#include "lessons/TermGrid.h"
#include "platform/richtext/RichEdit.h"

#include <QStringList>

namespace korvana {

class LessonStore {
public:
    // The lesson text never holds more characters than this.
    static constexpr int TextLimit = 1000000;

    LessonStore();

    RichEdit lessonText; // the lesson text; never shown
    TermGrid termTable;  // the term table; never shown

    QStringList openLessons;            // lesson files in load order (failed ones stay)
    QStringList linkedFiles;            // linked reading files ...
    QStringList linkedFileLessons;      // ... and the lesson each came from
    QStringList linkedFileDescriptions; // ... and its description (the list box items)
    QString loadingLesson;              // lesson file tried last; empty when none ever was
    QString currentLesson;              // lesson of the current term
    int currentIndex = 0;               // current term, 1-based; 0 before the first
    int startIndex = 0;                 // term where practice starts after loading

    // Number of terms: lines of the lesson text.
    int termCount() const;

    // Appends one table row for each line of the lesson text from line
    // RowCount - 1 to the last, skipping blank lines, each row's lesson being
    // lessonFile. While lessons load the table keeps one spare empty row
    // after the last term.
    void loadIntoTermTable(const QString &lessonFile);

    // The value of tag in the line of the lesson text that starts at startPos
    // (selection counting). The value is left selected in the lesson text.
    // When the line lacks the tag the result is empty and the whole line is
    // selected. A value with no closing ">" on its line runs to the line end.
    QString valueAt(int startPos, const QString &tag);

    // Removes every "<NR=...>" tag from the lesson text. A "<NR=" that no ">"
    // follows on its line is removed to the end of its line (never past it).
    void removeNumberTags();

    // Empties the lesson text, the table and the linked-file lists.
    void clear();
};

// The one trim of every lesson text: blanks and control characters at both
// ends, and soft line breaks (a line of nothing else is blank).
QString trimControls(const QString &s);

} // namespace korvana
