#pragma once
// The terms manager's work, apart from its window: the list of every open
// term, its ordering, choosing terms by type and state, marking their states
// in the term table and exporting their lines as a lesson file.
//
// A term is known by its row: the 0-based line of the lesson text, which is
// also its row in the term table.
#include "lessons/TermGrid.h"

#include <QString>
#include <vector>

namespace korvana {

class RichEdit;

// One entry of the list: the four tag values shown and the term's row.
struct TermsListItem {
    QString chinese;     // "CH"
    QString translation; // "OR"
    QString pinyin;      // "PI"
    QString notes;       // "NO"
    int row = 0;

    // The text of a list column: 0 Chinese, 1 Translation, 2 Pinyin, 3 Notes.
    QString column(int index) const;
};

// Every line of the lesson text as a list entry, in lesson-text order. A
// missing tag gives an empty value.
std::vector<TermsListItem> listTerms(const RichEdit &lessonText);

// Orders two texts for the list: character by character, the letters a-z
// taken as A-Z and every other character by its code; a text that is the
// start of a longer one comes first. Negative, 0 or positive.
int compareTermsText(const QString &a, const QString &b);

// The choices of the select and deselect lists, in their order.
enum class TermsChoice { All = 0, Words, Phrases, Unlearned, Learned, Difficult };

// Whether the term of row falls under the choice. Types and states are
// compared exactly (lower case); an empty cell is neither.
bool termMatches(TermsChoice choice, const TermGrid &grid, int row);

// The state written for the "Mark As" item at index: "u", "l" or "d";
// empty for an index outside the list.
QString markStateFor(int index);

// Writes state into the state column of each row; returns how many rows
// were counted. Rows outside the table are not counted.
int markTerms(TermGrid &grid, const std::vector<int> &rows, const QString &state);

// "Operation performed on N terms", or "No selected terms" for 0.
QString operationMessage(int count);

// Copies the lines of rows, in the given order and with their formatting,
// one after another into target (emptied first). Every line arrives on a
// line of its own, the last line of the lesson text included. With states,
// each line starts with its row's state tag, as the lesson saver writes it
// ("u" for a row without a state), since the lesson text holds none. Rows
// outside the lesson text are skipped. The lesson text's selection is kept.
// Returns the number of lines copied.
int collectTermLines(RichEdit &lessonText, const std::vector<int> &rows, RichEdit &target,
                     const TermGrid *states = nullptr);

// Writes lines as a new lesson, replacing fileName whole. Throws
// RichTextError when the file cannot be written; an existing file is then
// left as it was.
void exportAsNewLesson(const RichEdit &lines, const QString &fileName);

// Puts lines in front of the lesson fileName: its own term and linked-file
// lines follow them unchanged. Throws RichTextError when the lesson cannot be
// read or written; the lesson on disk is then left as it was.
void exportIntoLesson(RichEdit &lines, const QString &fileName);

} // namespace korvana
