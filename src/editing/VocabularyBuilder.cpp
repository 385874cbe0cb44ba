#include "editing/VocabularyBuilder.h"

#include <QCollator>
#include <algorithm>
#include <vector>

namespace korvana {

QString vocabularyFieldCaption(Pane pane)
{
    switch (pane) {
    case Pane::Translation:
        return QStringLiteral("Translation");
    case Pane::Pinyin:
        return QStringLiteral("Pin yin");
    case Pane::Characters:
        return QStringLiteral("Chinese");
    case Pane::Notes:
        return QStringLiteral("Notes");
    }
    return QString();
}

QString vocabularySeparator(const QString &text)
{
    QString s = text;
    s.replace(QLatin1String("^t"), QLatin1String("\t"), Qt::CaseSensitive);
    return s.isEmpty() ? QStringLiteral("\t") : s;
}

bool vocabularyKeyLess(const QString &a, const QString &b)
{
    // Folding first makes the comparison blind to letter case even where the
    // locale's collation (or its C fallback) would tell cases apart.
    static const QCollator collator = [] {
        QCollator c{QLocale()};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a.toCaseFolded(), b.toCaseFolded()) < 0;
}

VocabularyBuilder::VocabularyBuilder()
{
    lineText.setWordWrap(false);
    restyleText.setWordWrap(false);
}

bool VocabularyBuilder::selectValue(const QString &tag)
{
    const int len = lineText.textLength();
    const int at = lineText.findText(tag, 0, len);
    if (at < 0)
        return false;
    const int start = at + int(tag.size());
    const int close = lineText.findText(QStringLiteral(">"), start, len - start);
    if (close < 0)
        return false;
    lineText.setSelStart(start);
    lineText.setSelLength(close - start);
    return true;
}

void VocabularyBuilder::copyLine(RichEdit &lessonText, int line)
{
    lineText.clear();
    const int start = lessonText.lineIndex(line);
    if (start < 0)
        return;
    const int next = lessonText.lineIndex(line + 1);
    lessonText.setSel(start, next < 0 ? -1 : next);
    // An empty range must not reach the copy: with nothing selected it would
    // take the whole lesson text.
    if (lessonText.selLength() > 0)
        copyRichText(&lessonText, &lineText);
}

void VocabularyBuilder::type(const QString &text)
{
    m_out->setSelText(text);
}

QChar VocabularyBuilder::typeTag()
{
    if (!selectValue(QStringLiteral("<TY=")))
        return QChar();
    const QString value = lineText.selText();
    return value.isEmpty() ? QChar() : value.at(0);
}

QString VocabularyBuilder::readField(Pane pane, bool output, int position)
{
    if (!selectValue(QLatin1Char('<') + paneTag(pane) + QLatin1Char('=')))
        return QString();
    const QString value = lineText.selText();
    if (!output || value.isEmpty())
        return value;
    if (position > 0)
        type(m_separator);
    if (pane != Pane::Characters) {
        copyRichText(&lineText, m_out);
        return value;
    }
    restyleText.clear();
    copyRichText(&lineText, &restyleText);
    if (m_options->setCharactersFont) {
        restyleText.setSelStart(0);
        restyleText.setSelLength(restyleText.textLength()); // all but the final paragraph end
        // As in the practice panes, "Rotate Kanji" keeps the chosen font: its
        // vertical "@" form does not exist on Linux, and a document naming
        // it would show and print the characters in another font.
        restyleText.setSelFontName(m_options->charactersFont);
        if (m_options->boldCharacters)
            restyleText.setSelBold(true);
    }
    copyRichText(&restyleText, m_out);
    return value;
}

namespace {
// The file-name part of a lesson path, written with either kind of separator.
QString fileNamePart(const QString &path)
{
    const int cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}
} // namespace

bool VocabularyBuilder::build(RichEdit &lessonText, const TermGrid &table, RichEdit &out,
                              const VocabularyOptions &options)
{
    m_out = &out;
    m_options = &options;
    m_separator = vocabularySeparator(options.separatorText);
    const int keepStart = lessonText.selStart();
    const int keepLength = lessonText.selLength();
    out.clear();

    workTable = table;
    const int rows = workTable.rowCount();
    if (options.sorted) {
        const VocabularyColumn first = options.columns[0];
        for (int r = 0; r < rows; ++r) {
            copyLine(lessonText, r);
            const QString key = first.checked ? readField(first.pane, false, 0) : QString();
            workTable.setCell(TermGrid::ShownCount, r, key);
            workTable.setCell(TermGrid::TermKey, r, QString::number(r));
        }
        using Row = std::array<QString, TermGrid::ColCount>;
        std::vector<Row> sorted(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < TermGrid::ColCount; ++c)
                sorted[size_t(r)][size_t(c)] = workTable.cell(c, r);
        std::stable_sort(sorted.begin(), sorted.end(), [](const Row &a, const Row &b) {
            return vocabularyKeyLess(a[TermGrid::ShownCount], b[TermGrid::ShownCount]);
        });
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < TermGrid::ColCount; ++c)
                workTable.setCell(c, r, sorted[size_t(r)][size_t(c)]);
    }

    bool complete = true;
    int number = 1;
    for (int r = 0; r < rows; ++r) {
        if (onRow)
            onRow();
        lineText.clear();
        const int line = options.sorted ? workTable.cell(TermGrid::TermKey, r).toInt() : r;
        if (lessonText.lineIndex(line) < 0) {
            complete = false;
            break;
        }
        copyLine(lessonText, line);

        const QChar kind = typeTag();
        if ((kind == QLatin1Char('p') && !options.phrases) || (kind == QLatin1Char('w') && !options.words))
            continue;

        if (options.numbered)
            type(QString::number(number) + m_separator);
        for (int p = 0; p < 4; ++p) {
            if (options.columns[size_t(p)].checked)
                readField(options.columns[size_t(p)].pane, true, p);
        }
        if (options.lessons) {
            // The lesson names stay small and plain; the font is left so for
            // whatever is typed after them.
            out.setSelFontName(QStringLiteral("Arial"));
            out.setSelSize(9);
            type(m_separator + fileNamePart(workTable.cell(TermGrid::TermLesson, r)));
        }
        ++number;
        type(QStringLiteral("\r"));
    }

    lessonText.setSelStart(keepStart);
    lessonText.setSelLength(keepLength);
    m_out = nullptr;
    m_options = nullptr;
    return complete;
}

} // namespace korvana
