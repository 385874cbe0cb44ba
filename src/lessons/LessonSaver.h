#pragma once
// Saving lessons: every open lesson is written back to its own file from the
// lesson store, each term line preceded by its state tag from the term table,
// then the lesson's linked-file lines.
//
// A lesson is written only when that is safe: the store's rows and lines must
// agree, the lesson must have loaded, and its file must still be the one that
// was loaded (an outside editor may have saved it since). Each file is
// written through a temporary file renamed over the old one, so a failed
// write leaves the old lesson whole. A read-only lesson file is left alone.
#include "lessons/LessonOpener.h"
#include "platform/richtext/RichEdit.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvana {

class LessonStore;

class LessonSaver {
public:
    LessonSaver(LessonStore &store, LoadedLessons &loaded);

    // Writes every open lesson; returns those that could not be written.
    QStringList saveAll();

    // Writes one lesson; false when it was not written.
    bool saveLesson(const QString &lesson);

    // Why a lesson was not written, in a short phrase ("did not load",
    // "changed by another program since it was opened", "read-only", "disk
    // full", ...).
    QString failureReason(const QString &lesson) const;

    // The rich text of one lesson as it is written: each state tag and term
    // line as copyRichText would carry them into an empty control, one after
    // another, without the control.
    QByteArray buildLesson(const QString &lesson);
    // The same bytes, built by copying each piece through pieceText into
    // outputText; taken for pieces the faster build cannot carry.
    QByteArray buildLessonByCopies(const QString &lesson);

    // Whether the term table has exactly one row per line of the lesson text.
    bool rowsAgreeWithLines() const;

    RichEdit outputText; // the lesson being written
    RichEdit pieceText;  // each state tag and linked-file line on its way in

    // The term states each lesson's file holds, in the order of its rows, as
    // they were read or last written. A lesson whose rows still have these
    // states is not written again: its file already says all the store
    // knows, in whichever program's or window's own bytes.
    QHash<QString, QStringList> fileStates;
    // Lessons another window has open for editing and will write itself:
    // left alone here, so neither window undoes the other's work.
    QStringList heldLessons;

    // The states of the rows of one lesson, in row order.
    QStringList statesOf(const QString &lesson) const;

private:
    // Copies [start, end) of source (message counting) to target's caret;
    // an empty or missing range copies nothing.
    static void copyRange(RichEdit &source, int start, int end, RichEdit &target);

    bool fail(const QString &lesson, const QString &reason);

    LessonStore &m_store;
    LoadedLessons &m_loaded;
    QHash<QString, QString> m_reasons;
};

} // namespace korvana
