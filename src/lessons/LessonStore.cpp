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
    reMain.setWordWrap(false);
    reMain.setTextLimit(TextLimit);
}

int LessonStore::termCount() const
{
    return reMain.lineCount();
}

void LessonStore::NacistDoStringgridu(const QString &lessonFile)
{
    const int first = StringGrid1.rowCount() - 1;
    const int last = reMain.lineCount() - 1;
    if (last < first)
        return;
    for (int i = first; i <= last; ++i) {
        const QString line = reMain.line(i);
        if (trimControls(line).isEmpty())
            continue;
        const int row = StringGrid1.rowCount() - 1;
        StringGrid1.setCell(TermGrid::ShownCount, row, QStringLiteral("0"));
        StringGrid1.setCell(TermGrid::TermType, row, termTypeOf(line));
        StringGrid1.setCell(TermGrid::TermLesson, row, lessonFile);
        StringGrid1.setCell(TermGrid::TermStatus, row, termStateOf(line));
        StringGrid1.setRowCount(StringGrid1.rowCount() + 1);
    }
}

QString LessonStore::GetValue(int startPos, const QString &tag)
{
    const int lineNo = reMain.lineFromChar(reMain.toMessagePos(startPos));
    const int lineStart = reMain.toSelectionPos(reMain.lineIndex(lineNo));
    const QString rest = reMain.line(lineNo).mid(qMax(0, startPos - lineStart));
    const int lineLen = int(rest.size());

    const int tagPos = reMain.findText(QLatin1Char('<') + tag + QLatin1Char('='), startPos, lineLen);
    if (tagPos < 0) {
        reMain.setSelStart(startPos);
        reMain.setSelLength(lineLen);
        return {};
    }
    const int valueFrom = tagPos - startPos + int(tag.size()) + 2;
    qsizetype close = rest.indexOf(QLatin1Char('>'), valueFrom);
    if (close < 0)
        close = lineLen;
    reMain.setSelStart(startPos + valueFrom);
    reMain.setSelLength(int(close) - valueFrom);
    return reMain.selText();
}

void LessonStore::VymazatCisla()
{
    const QString open = QStringLiteral("<NR=");
    for (;;) {
        const int pos = reMain.findText(open, 0, reMain.textLength());
        if (pos < 0)
            return;
        const int lineNo = reMain.lineFromChar(reMain.toMessagePos(pos));
        const int lineStart = reMain.toSelectionPos(reMain.lineIndex(lineNo));
        const QString text = reMain.line(lineNo);
        const int inLine = pos - lineStart;
        qsizetype close = text.indexOf(QLatin1Char('>'), inLine + open.size());
        const int end = close < 0 ? int(text.size()) : int(close) + 1;
        // Each round deletes at least the four characters of "<NR=", so the
        // loop always ends.
        reMain.setSelStart(pos);
        reMain.setSelLength(end - inLine);
        reMain.setSelText(QString());
    }
}

void LessonStore::clear()
{
    reMain.clear();
    StringGrid1.clear();
    FParFiles.clear();
    FParLessons.clear();
    FParDescriptions.clear();
}

} // namespace korvana
