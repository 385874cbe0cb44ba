#include "editing/TermsManager.h"

#include "lessons/LessonLine.h"
#include "platform/richtext/RichEdit.h"

#include <algorithm>

namespace korvana {

QString TermsListItem::column(int index) const
{
    switch (index) {
    case 0:
        return chinese;
    case 1:
        return translation;
    case 2:
        return pinyin;
    case 3:
        return notes;
    default:
        return {};
    }
}

std::vector<TermsListItem> listTerms(const RichEdit &lessonText)
{
    std::vector<TermsListItem> items;
    const int lines = lessonText.lineCount();
    items.reserve(std::size_t(std::max(lines, 0)));
    for (int i = 0; i < lines; ++i) {
        const QString line = lessonText.line(i);
        TermsListItem item;
        item.chinese = tagContent(line, QStringLiteral("CH"));
        item.translation = tagContent(line, QStringLiteral("OR"));
        item.pinyin = tagContent(line, QStringLiteral("PI"));
        item.notes = tagContent(line, QStringLiteral("NO"));
        item.row = i;
        items.push_back(item);
    }
    return items;
}

namespace {
// Only the letters a-z are folded; accented and other letters sort by their
// own codes.
char16_t foldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}
} // namespace

int compareTermsText(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = foldAscii(a[i].unicode());
        const char16_t y = foldAscii(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool termMatches(TermsChoice choice, const TermGrid &grid, int row)
{
    switch (choice) {
    case TermsChoice::All:
        return true;
    case TermsChoice::Words:
        return grid.type(row) == QLatin1String("w");
    case TermsChoice::Phrases:
        return grid.type(row) == QLatin1String("p");
    case TermsChoice::Unlearned:
        return grid.state(row) == QLatin1String("u");
    case TermsChoice::Learned:
        return grid.state(row) == QLatin1String("l");
    case TermsChoice::Difficult:
        return grid.state(row) == QLatin1String("d");
    }
    return false;
}

QString markStateFor(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("u");
    case 1:
        return QStringLiteral("l");
    case 2:
        return QStringLiteral("d");
    default:
        return {};
    }
}

int markTerms(TermGrid &grid, const std::vector<int> &rows, const QString &state)
{
    int count = 0;
    for (int row : rows) {
        if (row < 0 || row >= grid.rowCount())
            continue;
        grid.setCell(TermGrid::TermStatus, row, state);
        ++count;
    }
    return count;
}

QString operationMessage(int count)
{
    if (count <= 0)
        return QStringLiteral("No selected terms");
    return QStringLiteral("Operation performed on ") + QString::number(count) + QStringLiteral(" terms");
}

int collectTermLines(RichEdit &lessonText, const std::vector<int> &rows, RichEdit &target, const TermGrid *states)
{
    target.clear();
    const int lines = lessonText.lineCount();
    const int keepStart = lessonText.selStart();
    const int keepLength = lessonText.selLength();
    int count = 0;
    for (int row : rows) {
        if (row < 0 || row >= lines)
            continue;
        const int start = lessonText.lineIndex(row);
        // The last line runs to the end of the text, its final paragraph mark
        // included, so it too arrives with its line end.
        const int end = row + 1 < lines ? lessonText.lineIndex(row + 1) : -1;
        lessonText.setSel(start, end);
        if (lessonText.selLength() == 0)
            continue; // nothing to copy; copyRichText would take the whole text
        if (states) {
            QString state = states->state(row);
            if (state.size() != 1)
                state = QStringLiteral("u");
            target.setSelText(QLatin1String("<ST=") + state + QLatin1Char('>'));
        }
        copyRichText(&lessonText, &target);
        // Should a copy arrive without its line end, the next line would run
        // on into it and two terms would become one: end the line here.
        const int caret = target.toMessagePos(target.selStart());
        if (target.lineIndex(target.lineFromChar(caret)) != caret)
            target.setSelText(QStringLiteral("\r\n"));
        ++count;
    }
    lessonText.setSelStart(keepStart);
    lessonText.setSelLength(keepLength);
    return count;
}

void exportAsNewLesson(const RichEdit &lines, const QString &fileName)
{
    lines.saveToFile(fileName);
}

void exportIntoLesson(RichEdit &lines, const QString &fileName)
{
    RichEdit lesson;
    lesson.loadFromFile(fileName);
    if (lines.textLength() > 0) {
        // The lesson's own lines follow the exported ones.
        lesson.setSel(0, 0);
        lines.setSelStart(0);
        lines.setSelLength(lines.textLength());
        lesson.streamInSelection(lines.streamOutSelection());
    }
    lesson.saveToFile(fileName);
}

} // namespace korvana
