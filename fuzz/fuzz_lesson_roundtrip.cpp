// Feeds arbitrary bytes as a lesson file through the whole way a lesson goes:
// opened into the lesson store, saved back to its file, opened again. The
// second opening must give the same terms (text, type and state of each) and
// the same linked files as the first, and saving again the same bytes.
#include "FuzzSupport.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"

#include <cstdint>

using namespace korvana;

namespace {

struct Opened {
    LessonStore store;
    LoadedLessons loaded;
    LessonOpener opener{store, loaded};
    LessonSaver saver{store, loaded};

    bool open(const QString &file)
    {
        store.openLessons = {file};
        return opener.openAll().isEmpty();
    }

    // What the user practises: each term's line with its type and state.
    QStringList terms() const
    {
        QStringList out;
        for (int i = 0; i < store.lessonText.lineCount(); ++i) {
            out.append(store.lessonText.line(i) + u'|' + store.termTable.type(i) + u'|'
                       + store.termTable.state(i) + u'|' + store.termTable.lesson(i));
        }
        out.append(QString::number(store.termTable.rowCount()));
        return out;
    }

    // The linked files with their descriptions.
    QStringList links() const
    {
        QStringList out;
        for (qsizetype j = 0; j < store.linkedFiles.size(); ++j)
            out.append(store.linkedFiles[j] + u'|' + store.linkedFileLessons.value(j) + u'|'
                       + store.linkedFileDescriptions.value(j));
        return out;
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    fuzz::startApplication(argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::writeScratch(QStringLiteral("lesson.kvl"), bytes);

    Opened first;
    if (!first.open(path))
        return 0; // not a lesson: refused, and never written
    const QStringList terms = first.terms();
    if (!first.saver.saveAll().isEmpty()) {
        // A linked file that the line cannot carry unchanged (read from
        // someone else's file) is refused by name, and the file stays.
        fuzz::checkEqual(first.saver.failureReason(path),
                         QStringLiteral("a linked file's name or description cannot be written unchanged"),
                         "a lesson that opened saves, or says why not");
        fuzz::check(fuzz::readScratch(path) == bytes, "a lesson that is not saved is left as it was");
        return 0;
    }
    const QByteArray saved = fuzz::readScratch(path);

    Opened second;
    fuzz::check(second.open(path), "a saved lesson opens");
    fuzz::checkEqual(second.terms(), terms, "a saved lesson opens with the same terms");
    fuzz::checkEqual(second.links(), first.links(), "a saved lesson opens with the same linked files");
    fuzz::check(second.saver.saveAll().isEmpty(), "a reopened lesson saves");
    fuzz::check(fuzz::readScratch(path) == saved, "saving a reopened lesson writes the same bytes");
    return 0;
}
