#pragma once
// Lays the terms of the lesson text out as a vocabulary table: one term per
// paragraph of the output document, the chosen fields in the chosen order,
// joined by a separator, optionally numbered, sorted and labelled with the
// lesson each term came from. Fields keep the rich-text formatting the lesson
// gave them; only the characters may take the characters font of the settings.
//
// The builder reads the lesson text and the term table and never changes
// their content (the lesson text's selection is put back as it was).
#include "lessons/Pane.h"
#include "lessons/TermGrid.h"
#include "platform/richtext/RichEdit.h"

#include <QString>
#include <array>
#include <functional>

namespace korvana {

struct VocabularyColumn {
    Pane pane = Pane::Translation;
    bool checked = false;
};

struct VocabularyOptions {
    bool words = true;
    bool phrases = false;
    // The display order, position 0 first.
    std::array<VocabularyColumn, 4> columns{
        {{Pane::Translation, true}, {Pane::Pinyin, true}, {Pane::Characters, true}, {Pane::Notes, false}}};
    QString separatorText = QStringLiteral("^t");
    bool sorted = false;
    bool numbered = false;
    bool lessons = false;
    // The characters settings of the main window.
    bool setCharactersFont = false;
    QString charactersFont;
    bool rotateCharacters = false;
    bool boldCharacters = false;
};

// The caption of a pane's field in the display list.
QString vocabularyFieldCaption(Pane pane);
// The separator the text of the separator box stands for: every "^t" (exact
// case) becomes a tab; an empty result is a single tab.
QString vocabularySeparator(const QString &text);
// The sort key as compared: case folded, so that letter case never decides
// whatever collation the locale offers.
bool vocabularyKeyLess(const QString &a, const QString &b);

class VocabularyBuilder {
public:
    VocabularyBuilder();

    // Builds into out, which is emptied first. Returns false when the build
    // stopped at a row of the table that has no line in the lesson text
    // (what was built up to there stays), true when every row was laid out.
    bool build(RichEdit &lessonText, const TermGrid &table, RichEdit &out, const VocabularyOptions &options);

    // Called once per row of the lay-out pass, before the row is read.
    std::function<void()> onRow;

    // Work areas: the term line being read, the characters being restyled,
    // and the work copy of the term table (when sorting, column 0 holds the
    // row's index in the term table and column 1 its sort key).
    RichEdit lineText;
    RichEdit restyleText;
    TermGrid workTable;

    // Field readers on the line held in lineText. typeTag gives the first
    // character of the type value (a null character when there is none).
    // readField returns the plain text of the pane's field; with output set
    // it instead appends the field to the output document, preceded by the
    // separator when the field is not empty and position > 0.
    QChar typeTag();
    QString readField(Pane pane, bool output, int position);

private:
    // Selects the value of tag in lineText; false when the line lacks it (or
    // no ">" closes it). The value may be empty.
    bool selectValue(const QString &tag);
    void copyLine(RichEdit &lessonText, int line);
    void type(const QString &text);

    RichEdit *m_out = nullptr;
    const VocabularyOptions *m_options = nullptr;
    QString m_separator;
};

} // namespace korvana
