#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"
#include "platform/files/SafeFiles.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana {

LessonSaver::LessonSaver(LessonStore &store, LoadedLessons &loaded) : m_store(store), m_loaded(loaded)
{
    outputText.setWordWrap(false);
    pieceText.setWordWrap(false);
}

bool LessonSaver::rowsAgreeWithLines() const
{
    const TermGrid &grid = m_store.termTable;
    const RichEdit &text = m_store.lessonText;
    // With no terms the table keeps one row of empty cells.
    int rows = grid.rowCount();
    if (rows == 1 && grid.lesson(0).isEmpty())
        rows = 0;
    for (int r = 0; r < rows; ++r) {
        if (grid.lesson(r).isEmpty())
            return false;
    }
    if (rows == 0)
        return trimControls(text.text()).isEmpty();
    if (text.lineCount() != rows)
        return false;
    for (int r = 0; r < rows; ++r) {
        if (trimControls(text.line(r)).isEmpty())
            return false;
    }
    return true;
}

void LessonSaver::copyRange(RichEdit &source, int start, int end, RichEdit &target)
{
    // copyRichText copies all of its source when nothing is selected; a term whose
    // range is missing must never bring every other lesson's terms along.
    if (start < 0 || (end >= 0 && end <= start))
        return;
    source.setSel(start, end);
    if (source.selLength() <= 0)
        return;
    copyRichText(&source, &target);
}

namespace {

// The state tag as a piece in the look (font, size, colour, alignment) of the
// first character of the line it opens, so the tag reads back in the size of
// its line; an empty or missing line leaves the plain default look (an empty
// content).
rtf::Content stateTagInLineLook(const RichEdit &lessonText, int start, const QString &lineText, const QString &tag)
{
    if (start < 0 || lineText.isEmpty())
        return {};
    rtf::Content look = lessonText.rangeContent(start, start + 1);
    if (look.paragraphs.isEmpty() || look.paragraphs.first().runs.isEmpty())
        return {};
    rtf::Paragraph p = look.paragraphs.first();
    p.runs = {rtf::Run{tag, p.runs.first().format}};
    return rtf::Content{{p}};
}

} // namespace

QStringList LessonSaver::statesOf(const QString &lesson) const
{
    QStringList states;
    for (int r = 0; r < m_store.termTable.rowCount(); ++r)
        if (m_store.termTable.lesson(r) == lesson)
            states.append(m_store.termTable.state(r));
    return states;
}

QByteArray LessonSaver::buildLesson(const QString &lesson)
{
    RichEdit &lessonText = m_store.lessonText;
    const TermGrid &grid = m_store.termTable;
    CopiedRichText output;

    // Every term and linked-file line starts a line of its own; the last
    // line gets no line end, so no empty paragraph is added at the end.
    int written = 0;
    auto startLine = [&] {
        if (written > 0 && (output.caretLine() != written || !output.caretAtLineStart()))
            output.addLineEnd();
        ++written;
    };
    int lastStart = -1, lastEnd = -1;
    int previousRow = -2, previousNext = -1; // where the line after the last one taken starts
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (grid.lesson(r) != lesson)
            continue;
        startLine();
        const int start = r == previousRow + 1 ? previousNext : lessonText.lineIndex(r);
        const int next = lessonText.lineIndex(r + 1);
        previousRow = r;
        previousNext = next;
        const QString tag = QLatin1String("<ST=") + grid.state(r) + QLatin1Char('>');
        rtf::Content tagPiece = stateTagInLineLook(lessonText, start, lessonText.line(r), tag);
        if (!tagPiece.paragraphs.isEmpty())
            output.addPiece(std::move(tagPiece));
        else if (!output.addPlainPiece(tag))
            return buildLessonByCopies(lesson);
        const int end = next < 0 ? -1 : next;
        // As copyRange: a missing or empty range copies nothing.
        if (start >= 0 && (end < 0 || end > start)) {
            output.addPiece(lessonText.rangeContent(start, end));
            lastStart = start;
            lastEnd = end;
        }
    }

    for (qsizetype j = 0; j < m_store.linkedFiles.size(); ++j) {
        if (m_store.linkedFileLessons.value(j) != lesson)
            continue;
        startLine();
        if (!output.addPlainPiece(parLine(m_store.linkedFiles[j], m_store.linkedFileDescriptions.value(j))))
            return buildLessonByCopies(lesson);
    }
    // A term line copied with its line end leaves an empty last line.
    output.dropEmptyLastLine();
    const QByteArray rtf = output.toRtf();
    if (rtf.isEmpty())
        return buildLessonByCopies(lesson);
    // The lesson text's selection ends on the last term line copied, as the
    // copies leave it.
    if (lastStart >= 0)
        lessonText.setSel(lastStart, lastEnd);
    return rtf;
}

QByteArray LessonSaver::buildLessonByCopies(const QString &lesson)
{
    RichEdit &lessonText = m_store.lessonText;
    const TermGrid &grid = m_store.termTable;
    outputText.clear();

    // Every term and linked-file line starts a line of its own; the last
    // line gets no line end, so no empty paragraph is added at the end.
    int written = 0;
    auto startLine = [&] {
        if (written > 0 && outputText.lineIndex(written) != outputText.toMessagePos(outputText.selStart()))
            outputText.setSelText(QStringLiteral("\r\n"));
        ++written;
    };
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (grid.lesson(r) != lesson)
            continue;
        startLine();
        const int start = lessonText.lineIndex(r);
        const int next = lessonText.lineIndex(r + 1);
        // The state tag is written in the look of the line it opens.
        pieceText.clear();
        const QString tag = QLatin1String("<ST=") + grid.state(r) + QLatin1Char('>');
        const rtf::Content tagPiece = stateTagInLineLook(lessonText, start, lessonText.line(r), tag);
        if (tagPiece.paragraphs.isEmpty())
            pieceText.setText(tag);
        else
            pieceText.streamInContent(tagPiece);
        copyRichText(&pieceText, &outputText);
        copyRange(lessonText, start, next < 0 ? -1 : next, outputText);
    }

    for (qsizetype j = 0; j < m_store.linkedFiles.size(); ++j) {
        if (m_store.linkedFileLessons.value(j) != lesson)
            continue;
        startLine();
        pieceText.clear();
        pieceText.setText(parLine(m_store.linkedFiles[j], m_store.linkedFileDescriptions.value(j)));
        copyRichText(&pieceText, &outputText);
    }
    // A term line copied with its line end leaves an empty last line.
    {
        QTextCursor end(outputText.document());
        end.movePosition(QTextCursor::End);
        if (end.block().text().isEmpty() && end.block().previous().isValid())
            end.deletePreviousChar();
    }
    return outputText.toRtf();
}

bool LessonSaver::fail(const QString &lesson, const QString &reason)
{
    m_reasons.insert(lesson, reason);
    return false;
}

QString LessonSaver::failureReason(const QString &lesson) const
{
    return m_reasons.value(lesson);
}

bool LessonSaver::saveLesson(const QString &lesson)
{
    // A lesson that did not load has no rows: writing it would empty it.
    const auto it = m_loaded.constFind(lesson);
    if (it == m_loaded.constEnd())
        return fail(lesson, QStringLiteral("did not load"));

    // A lesson with no term and no linked file has nothing to keep: written,
    // it would be an empty file that no longer opens as a lesson.
    bool holdsSomething = m_store.linkedFileLessons.contains(lesson);
    for (int r = 0; !holdsSomething && r < m_store.termTable.rowCount(); ++r)
        holdsSomething = m_store.termTable.lesson(r) == lesson;
    if (!holdsSomething)
        return true;
    const auto known = fileStates.constFind(lesson);
    const bool statesKnown = known != fileStates.constEnd() && known.value() == statesOf(lesson);
    if (heldLessons.contains(lesson))
        return statesKnown || fail(lesson, QStringLiteral("open in the lesson editor"));

    // Someone else saved the file since it was loaded: keep their version.
    // (A pipe or device put in its place is refused without waiting on it.)
    {
        const files::ReadResult current = files::readRegularFile(lesson, LessonOpener::MaxLessonBytes);
        if (current.status == files::ReadStatus::Missing)
            return fail(lesson, QStringLiteral("removed since it was opened"));
        if (current.status == files::ReadStatus::TooLarge || (current.ok() && lessonDigest(current.data) != it.value()))
            return fail(lesson, QStringLiteral("changed by another program since it was opened"));
        if (!current.ok())
            return fail(lesson, current.reason);
    }
    // The file as it was read or written already holds every state: there is
    // nothing to write, so a read-only file is no error either.
    if (statesKnown)
        return true;
    // A file nobody may write is read-only on purpose (a teacher's copy):
    // it is not replaced behind its owner's back.
    {
        const QByteArray name = QFile::encodeName(lesson);
        struct stat st {};
        if (::stat(name.constData(), &st) == 0 && (st.st_mode & 0222) == 0)
            return fail(lesson, QStringLiteral("read-only"));
        if (::access(name.constData(), W_OK) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
            return fail(lesson, QStringLiteral("read-only"));
    }
    for (qsizetype j = 0; j < m_store.linkedFiles.size(); ++j) {
        if (m_store.linkedFileLessons.value(j) == lesson
            && !parLineKeeps(m_store.linkedFiles[j], m_store.linkedFileDescriptions.value(j)))
            return fail(lesson, QStringLiteral("a linked file's name or description cannot be written unchanged"));
    }

    QByteArray rtf;
    try {
        rtf = buildLesson(lesson);
    } catch (const std::exception &e) {
        return fail(lesson, QString::fromStdString(e.what()));
    }

    QString reason;
    if (!files::writeFileAtomically(lesson, rtf, &reason))
        return fail(lesson, reason);
    m_loaded.insert(lesson, lessonDigest(rtf));
    fileStates.insert(lesson, statesOf(lesson));
    return true;
}

QStringList LessonSaver::saveAll()
{
    m_reasons.clear();
    // Rows that point at the wrong lines would move terms into the wrong
    // files: then nothing is written.
    if (!rowsAgreeWithLines()) {
        for (const QString &lesson : std::as_const(m_store.openLessons))
            fail(lesson, QStringLiteral("the terms and their rows disagree"));
        return m_store.openLessons;
    }

    QStringList failed;
    for (const QString &lesson : std::as_const(m_store.openLessons)) {
        if (!saveLesson(lesson))
            failed.append(lesson);
    }
    return failed;
}

} // namespace korvana
