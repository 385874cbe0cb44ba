#pragma once
// Opening lessons: every file of the list of open lessons is read into the
// lesson store, its linked-file lines taken out into the linked-file lists,
// its terms appended to the lesson text and given their rows.
//
// A learner's lesson files must never be damaged, so each file's load is all
// or nothing: the file is read and taken apart paragraph by paragraph into
// scratch lists, and only a file that loaded whole is appended to the store.
// A file that is not a lesson (a picture or a reading text picked under "All
// Files"), that cannot be read, or that would take the lesson text past its
// limit is not loaded at all, and the saver never writes a lesson that did
// not load.
#include "lessons/LinkedFiles.h"
#include "platform/richtext/RichEdit.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace korvana {

class LessonStore;

// The lessons that loaded, each with a digest of its file's bytes as they
// were read (or last written by the program). A lesson missing here failed to
// load; a lesson whose file no longer matches its digest was changed by
// someone else since.
using LoadedLessons = QHash<QString, QByteArray>;

QByteArray lessonDigest(const QByteArray &bytes);

// The state of a lesson line: the value of its first state tag ("<ST=" in any
// case, one character, ">"): "l" or "d"; anything else, or no tag, is "u".
QString lineState(const QString &line);

// Whether bytes can be a lesson: rich text, or text that decodes (UTF-16 with
// a byte-order mark, UTF-8, or an 8-bit text without control bytes); never
// anything holding NUL bytes outside UTF-16.
bool isLessonData(const QByteArray &bytes);

// Loads bytes that isLessonData accepted into doc, as rich text or as plain
// text. Throws RichTextError when the rich text cannot be read.
void loadLessonData(RichEdit &doc, const QByteArray &bytes);

// The names once each, in their order: a name that stands for the same file as
// an earlier one (same absolute, clean path) is dropped.
QStringList uniqueLessonNames(const QStringList &names);

class LessonOpener {
public:
    LessonOpener(LessonStore &store, LoadedLessons &loaded);

    // Files larger than this are refused unread. No lesson within the lesson
    // text's limit comes near it: a plain-text lesson at the limit is at most
    // 7 MB, and the program's own rich text about 9 bytes a character plus
    // its formatting.
    static constexpr qint64 MaxLessonBytes = qint64(64) << 20;

    // Empties the store and loads every file of openLessons (each once) in
    // list order. Returns the names of the files that did not load. Files
    // that fail stay in openLessons. afterEachFile runs after every file,
    // loaded or not.
    QStringList openAll(const std::function<void()> &afterEachFile = {});

    // Appends one file to the store; false (and the store unchanged) when it
    // does not load.
    bool appendLesson(const QString &file);

    // Why a file of the last openAll did not load, in a short phrase ("not a
    // lesson", "over the 1,000,000-character limit", "permission denied").
    QString failureReason(const QString &file) const;

private:
    struct Parts;
    bool fail(const QString &file, const QString &reason);

    LessonStore &m_store;
    LoadedLessons &m_loaded;
    QHash<QString, QString> m_reasons;
    int m_termLines = 0; // term lines of the lesson text so far
};

} // namespace korvana
