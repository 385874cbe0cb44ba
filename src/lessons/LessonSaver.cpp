#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"
#include "platform/files/SafeFiles.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana {

LessonSaver::LessonSaver(LessonStore &store, LoadedLessons &loaded) : m_store(store), m_loaded(loaded)
{
    RichEdit2.setWordWrap(false);
    reTemp2.setWordWrap(false);
}

bool LessonSaver::rowsAgreeWithLines() const
{
    const TermGrid &grid = m_store.StringGrid1;
    const RichEdit &text = m_store.reMain;
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
    // CopyRTF copies all of its source when nothing is selected; a term whose
    // range is missing must never bring every other lesson's terms along.
    if (start < 0 || (end >= 0 && end <= start))
        return;
    source.setSel(start, end);
    if (source.selLength() <= 0)
        return;
    CopyRTF(&source, &target);
}

QByteArray LessonSaver::buildLesson(const QString &lesson)
{
    RichEdit &reMain = m_store.reMain;
    const TermGrid &grid = m_store.StringGrid1;
    RichEdit2.clear();

    int written = 0;
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (grid.lesson(r) != lesson)
            continue;
        reTemp2.clear();
        reTemp2.setText(QLatin1String("<ST=") + grid.state(r) + QLatin1Char('>'));
        CopyRTF(&reTemp2, &RichEdit2);

        const int start = reMain.lineIndex(r);
        const int next = reMain.lineIndex(r + 1);
        copyRange(reMain, start, next < 0 ? -1 : next, RichEdit2);
        ++written;
        // Each term line ends with exactly one line end, so the next term or
        // the first linked-file line starts a line of its own.
        const int caret = RichEdit2.toMessagePos(RichEdit2.selStart());
        if (RichEdit2.lineIndex(written) != caret) {
            RichEdit2.setSelText(QStringLiteral("\r\n"));
        }
    }

    for (qsizetype j = 0; j < m_store.FParFiles.size(); ++j) {
        if (m_store.FParLessons.value(j) != lesson)
            continue;
        reTemp2.clear();
        reTemp2.setText(parLine(m_store.FParFiles[j], m_store.FParDescriptions.value(j)) + QLatin1Char('\n'));
        CopyRTF(&reTemp2, &RichEdit2);
    }
    return RichEdit2.toRtf();
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
    bool holdsSomething = m_store.FParLessons.contains(lesson);
    for (int r = 0; !holdsSomething && r < m_store.StringGrid1.rowCount(); ++r)
        holdsSomething = m_store.StringGrid1.lesson(r) == lesson;
    if (!holdsSomething)
        return true;

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
    for (qsizetype j = 0; j < m_store.FParFiles.size(); ++j) {
        if (m_store.FParLessons.value(j) == lesson
            && !parLineKeeps(m_store.FParFiles[j], m_store.FParDescriptions.value(j)))
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
    return true;
}

QStringList LessonSaver::saveAll()
{
    m_reasons.clear();
    // Rows that point at the wrong lines would move terms into the wrong
    // files: then nothing is written.
    if (!rowsAgreeWithLines()) {
        for (const QString &lesson : std::as_const(m_store.FOpenLessons))
            fail(lesson, QStringLiteral("the terms and their rows disagree"));
        return m_store.FOpenLessons;
    }

    QStringList failed;
    for (const QString &lesson : std::as_const(m_store.FOpenLessons)) {
        if (!saveLesson(lesson))
            failed.append(lesson);
    }
    return failed;
}

} // namespace korvana
