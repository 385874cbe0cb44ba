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
        store.FOpenLessons = {file};
        return opener.openAll().isEmpty();
    }

    // What the user practises: each term's line with its type and state.
    QStringList terms() const
    {
        QStringList out;
        for (int i = 0; i < store.reMain.lineCount(); ++i) {
            out.append(store.reMain.line(i) + u'|' + store.StringGrid1.type(i) + u'|'
                       + store.StringGrid1.state(i) + u'|' + store.StringGrid1.lesson(i));
        }
        out.append(QString::number(store.StringGrid1.rowCount()));
        return out;
    }

    // The linked files with their descriptions. Nothing in a linked-file
    // line is escaped, so where the file name or the description holds a
    // double quote the description may read back cut or moved (stored
    // lessons rely on that reading); such a description is left out of the
    // comparison, never its file.
    static bool quoted(const Opened &o, qsizetype j)
    {
        return o.store.FParFiles.value(j).contains(u'"') || o.store.FParDescriptions.value(j).contains(u'"');
    }
    QStringList links(const Opened &first) const
    {
        QStringList out;
        for (qsizetype j = 0; j < store.FParFiles.size(); ++j) {
            const bool quoted = Opened::quoted(first, j);
            out.append(store.FParFiles[j] + u'|' + store.FParLessons.value(j) + u'|'
                       + (quoted ? QString() : store.FParDescriptions.value(j)));
        }
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
    fuzz::check(first.saver.saveAll().isEmpty(), "a lesson that opened saves");
    const QByteArray saved = fuzz::readScratch(path);

    Opened second;
    fuzz::check(second.open(path), "a saved lesson opens");
    fuzz::checkEqual(second.terms(), terms, "a saved lesson opens with the same terms");
    fuzz::checkEqual(second.links(first), first.links(first),
                     "a saved lesson opens with the same linked files");
    fuzz::check(second.saver.saveAll().isEmpty(), "a reopened lesson saves");
    bool anyQuoted = false;
    for (qsizetype j = 0; j < first.store.FParFiles.size(); ++j)
        anyQuoted = anyQuoted || Opened::quoted(first, j);
    if (!anyQuoted)
        fuzz::check(fuzz::readScratch(path) == saved, "saving a reopened lesson writes the same bytes");
    return 0;
}
