#include "lessons/LessonStore.h"
#include "lessons/LessonLine.h"

namespace korvana {

namespace {
// Blanks, control characters and soft line breaks.
bool isBlank(QChar c)
{
    return c.unicode() <= u' ' || c == QChar::LineSeparator;
}
} // namespace

QString trimControls(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

LessonStore::LessonStore()
{
    lessonText.setWordWrap(false);
}

int LessonStore::termCount() const
{
    return lessonText.lineCount();
}

void LessonStore::loadIntoTermTable(const QString &lessonFile)
{
    const int first = termTable.rowCount() - 1;
    const int last = lessonText.lineCount() - 1;
    if (last < first)
        return;
    for (int i = first; i <= last; ++i) {
        const QString line = lessonText.line(i);
        if (trimControls(line).isEmpty())
            continue;
        const int row = termTable.rowCount() - 1;
        termTable.setCell(TermGrid::ShownCount, row, QStringLiteral("0"));
        termTable.setCell(TermGrid::TermType, row, termTypeOf(line));
        termTable.setCell(TermGrid::TermLesson, row, lessonFile);
        termTable.setCell(TermGrid::TermStatus, row, termStateOf(line));
        termTable.setRowCount(termTable.rowCount() + 1);
    }
}

QString LessonStore::valueAt(int startPos, const QString &tag)
{
    const int lineNo = lessonText.lineFromChar(lessonText.toMessagePos(startPos));
    const int lineStart = lessonText.toSelectionPos(lessonText.lineIndex(lineNo));
    const QString rest = lessonText.line(lineNo).mid(qMax(0, startPos - lineStart));
    const int lineLen = int(rest.size());

    const int tagPos = lessonText.findText(QLatin1Char('<') + tag + QLatin1Char('='), startPos, lineLen);
    if (tagPos < 0) {
        lessonText.setSelStart(startPos);
        lessonText.setSelLength(lineLen);
        return {};
    }
    const int valueFrom = tagPos - startPos + int(tag.size()) + 2;
    qsizetype close = rest.indexOf(QLatin1Char('>'), valueFrom);
    if (close < 0)
        close = lineLen;
    lessonText.setSelStart(startPos + valueFrom);
    lessonText.setSelLength(int(close) - valueFrom);
    return lessonText.selText();
}

void LessonStore::removeNumberTags()
{
    const QString open = QStringLiteral("<NR=");
    for (;;) {
        const int pos = lessonText.findText(open, 0, lessonText.textLength());
        if (pos < 0)
            return;
        const int lineNo = lessonText.lineFromChar(lessonText.toMessagePos(pos));
        const int lineStart = lessonText.toSelectionPos(lessonText.lineIndex(lineNo));
        const QString text = lessonText.line(lineNo);
        const int inLine = pos - lineStart;
        qsizetype close = text.indexOf(QLatin1Char('>'), inLine + open.size());
        const int end = close < 0 ? int(text.size()) : int(close) + 1;
        // Each round deletes at least the four characters of "<NR=", so the
        // loop always ends.
        lessonText.setSelStart(pos);
        lessonText.setSelLength(end - inLine);
        lessonText.setSelText(QString());
    }
}

void LessonStore::clear()
{
    lessonText.clear();
    termTable.clear();
    linkedFiles.clear();
    linkedFileLessons.clear();
    linkedFileDescriptions.clear();
}

} // namespace korvana
