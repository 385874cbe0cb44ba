// The lesson editor's writer: a term line built from the fields, with its
// tags coloured, and the whole lesson file with its linked-file lines.
#include "editing/LessonEditorWindow.h"
#include "lessons/LessonOpener.h"
#include "lessons/LinkedFiles.h"
#include "platform/files/SafeFiles.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "settings/MainSettings.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <algorithm>

using korvana::Pane;
using korvana::RichEdit;

namespace {

QColor pieceColour(int mode)
{
    switch (mode) {
    case 1:
        return QColor(0xFF, 0x00, 0x00); // tag names
    case 2:
        return QColor(0x00, 0x00, 0xFF); // type
    case 3:
        return QColor(0x00, 0x80, 0x00); // state
    case 4:
        return QColor(0x80, 0x80, 0x80); // sound and picture
    default:
        return QColor(0x00, 0x00, 0x00);
    }
}

// Every tag piece is written in this font, whatever the fields use.
constexpr double kPieceSize = 11;
const char *const kPieceFont = "Times New Roman";

} // namespace

void LessonEditorWindow::appendColouredText(const QString &text, int mode)
{
    if (text.isEmpty())
        return;
    pieceText->clear();
    pieceText->setText(text);
    pieceText->setSel(0, -1);
    pieceText->setSelFontName(QString::fromLatin1(kPieceFont));
    pieceText->setSelSize(kPieceSize);
    pieceText->setSelColor(pieceColour(mode));
    // The piece without the final paragraph mark, so pieces follow one
    // another on one line.
    pieceText->setSelStart(0);
    pieceText->setSelLength(pieceText->textLength());
    korvana::copyRichText(pieceText, termLineText);
}

// Copies a field's text with its formatting to the end of termLineText, at size.
// A field is one line; should it hold more, its lines are joined by blanks,
// since a line end would split the term in two.
void LessonEditorWindow::copyFieldInto(RichEdit *field, double size)
{
    const int keepStart = field->selStart();
    const int keepLength = field->selLength();
    bool first = true;
    for (int i = 0; i < field->lineCount(); ++i) {
        const int length = field->line(i).length();
        if (length == 0)
            continue;
        if (!first)
            termLineText->setSelText(QStringLiteral(" "));
        first = false;
        const int start = field->lineIndex(i);
        field->setSel(start, start + length);
        const int from = termLineText->selStart();
        korvana::copyRichText(field, termLineText);
        const int to = termLineText->selStart();
        termLineText->setSelStart(from);
        termLineText->setSelLength(to - from);
        termLineText->setSelSize(size);
        termLineText->setSelStart(to);
    }
    field->setSelStart(keepStart);
    field->setSelLength(keepLength);
}

void LessonEditorWindow::buildTermLine()
{
    termLineText->clear();
    // Every field is written at one size, the translation's, whatever size
    // its text was typed or shown at; the term display sets each pane's own
    // size, and a vocabulary built from the lesson stays even.
    const double size =
        m_settings.fontSizes[Pane::Translation] > 0 ? m_settings.fontSizes[Pane::Translation] : kPieceSize;

    for (Pane p : korvana::allPanes) {
        appendColouredText(p == Pane::Translation ? QStringLiteral("<") : QStringLiteral("><"), 0);
        appendColouredText(korvana::paneTag(p), 1);
        appendColouredText(QStringLiteral("="), 0);
        copyFieldInto(panes[p].text, size);
    }

    // A type the user left as shown is written as it was read, so the
    // practice window reads the same type after the save as before it.
    const bool typeAsShown = !shownType.isEmpty() && phraseOption->isChecked() == (shownType == QLatin1String("p"));
    const QString type = typeAsShown ? shownType : wordOption->isChecked() ? QStringLiteral("w") : QStringLiteral("p");
    appendColouredText(QStringLiteral("><TY=") + type + QLatin1Char('>'), 2);
    if (learnedOption->isChecked())
        appendColouredText(QStringLiteral("<ST=l>"), 3);
    else if (unlearnedOption->isChecked())
        appendColouredText(QStringLiteral("<ST=u>"), 3);
    else if (difficultOption->isChecked())
        appendColouredText(QStringLiteral("<ST=d>"), 3);

    const QString sound = soundEdit->text().trimmed();
    if (!sound.isEmpty())
        appendColouredText(QStringLiteral("<SN=") + sound + QLatin1Char('>'), 4);
    const QString picture = pictureEdit->text().trimmed();
    if (!picture.isEmpty())
        appendColouredText(QStringLiteral("<GR=") + picture + QLatin1Char('>'), 4);

    // What the line held besides the editor's tags follows them unchanged.
    if (restOfLineText->lineCount() > 0 && !restOfLineText->line(0).isEmpty()) {
        restOfLineText->setSel(0, int(restOfLineText->line(0).size()));
        korvana::copyRichText(restOfLineText, termLineText);
        restOfLineText->setSel(0, 0);
    }
}

bool LessonEditorWindow::takeInOutsideChanges()
{
    if (fileName.isEmpty() || fileDigest.isEmpty())
        return true;
    const korvana::files::ReadResult read =
        korvana::files::readRegularFile(fileName, korvana::LessonOpener::MaxLessonBytes);
    if (read.status == korvana::files::ReadStatus::Missing)
        return true; // nothing there to write over
    if (read.ok() && korvana::lessonDigest(read.data) == fileDigest)
        return true;

    if (!read.ok() || !korvana::isLessonData(read.data))
        return false;
    RichEdit theirs;
    theirs.setWordWrap(false);
    QList<korvana::LinkedFile> theirLinks;
    try {
        korvana::loadLessonData(theirs, read.data);
        if (theirs.lineCount() > 0)
            theirLinks = korvana::parseLinkedFiles(theirs);
    } catch (const std::exception &) {
        return false;
    }
    for (int i = theirs.lineCount() - 1; i >= 0; --i)
        if (theirs.line(i).trimmed().isEmpty())
            theirs.deleteLine(i);
    if (theirLinks != fileLinks)
        return false;

    // The lesson as the editor read it must stand whole among the file's
    // lines now; what stands before and after it was added.
    QStringList lines;
    for (int i = 0; i < theirs.lineCount(); ++i)
        lines.append(theirs.line(i));
    const qsizetype kept = fileLines.size();
    qsizetype at = -1;
    for (qsizetype k = 0; at < 0 && k + kept <= lines.size(); ++k)
        if (lines.mid(k, kept) == fileLines)
            at = k;
    if (at < 0)
        return false;
    const int before = int(at);
    const int after = int(lines.size() - at - kept);

    if (after > 0) {
        QTextCursor end(lessonText->document());
        end.movePosition(QTextCursor::End);
        if (!end.block().text().isEmpty())
            end.insertBlock();
        lessonText->setSel(end.position(), end.position());
        theirs.setSel(theirs.lineIndex(before + int(kept)), -1);
        korvana::copyRichText(&theirs, lessonText);
    }
    if (before > 0) {
        lessonText->setSel(0, 0);
        theirs.setSel(0, theirs.lineIndex(before));
        korvana::copyRichText(&theirs, lessonText);
        termNumber += before;
    }
    lessonText->setSel(0, 0);
    // The lesson now holds the file as it is plus the editor's own changes.
    fileDigest = korvana::lessonDigest(read.data);
    fileLines = lines;
    showTermNumber();
    updateNavigationButtons();
    return true;
}

bool LessonEditorWindow::saveLesson()
{
    // Only a changed term is rewritten; an emptied one taken out leaves the
    // term after it (or the new last term) to show.
    if (termModified) {
        const int before = lessonText->lineCount();
        storeTerm();
        if (lessonText->lineCount() < before) {
            termNumber = std::clamp(termNumber, 1, std::max(lessonText->lineCount(), 1));
            showTerm();
        }
    }

    if (lessonIsEmpty()) {
        // Written, such a file would not open as a lesson.
        korvana::Dialogs::instance().message(this, QStringLiteral("The lesson has no terms: there is nothing to save."),
                                             korvana::MsgButtons::Ok);
        if (!fileName.isEmpty())
            return false; // the file keeps its terms; the emptied lesson stays in the editor
        lessonModified = false;
        return true;
    }
    // Someone else's version of the file is never written over: the user
    // may keep theirs as another lesson, or keep it in the editor.
    bool saveAs = false;
    if (!takeInOutsideChanges()) {
        if (korvana::Dialogs::instance().message(
                this,
                QStringLiteral("The lesson file was changed by another program since the editor opened it, "
                               "so it was not saved over.\nSave your version as another lesson?"),
                korvana::MsgButtons::YesNo, korvana::MsgIcon::Warning)
            != korvana::MsgResult::Yes)
            return false;
        saveAs = true;
    }

    outputText->clear();
    if (lessonText->textLength() > 0)
        outputText->fromRtf(lessonText->toRtf());
    pieceText->clear();
    for (int i = 0; i < linkedFilesList->count(); ++i)
        outputText->addLine(korvana::parLine(linkedFiles.value(i), linkedFilesList->item(i)->text()));

    QString target = saveAs ? QString() : fileName;
    if (target.isEmpty()) {
        korvana::FileDialogRequest request;
        request.filter = QStringLiteral("Korvana Files|*.kvl|All Files|*.*");
        request.initialDir = m_settings.workingDirectory;
        request.defaultExt = QStringLiteral("kvl");
        request.overwritePrompt = true;
        target = korvana::Dialogs::instance().saveFile(this, request);
        if (target.isEmpty())
            return false;
        if (QFileInfo(target).suffix().isEmpty())
            target += QStringLiteral(".kvl");
    }

    // Written through a temporary file renamed over the lesson, so a failed
    // write leaves the lesson on disk whole.
    try {
        outputText->saveToFile(target);
    } catch (const korvana::RichTextError &e) {
        throw korvana::Error(QStringLiteral("The lesson was not saved; the file on disk is unchanged.\n")
                             + QString::fromStdString(e.what()));
    }

    fileName = target;
    noteFileContents(outputText->toRtf());
    setWindowTitle(fileName);
    lessonModified = false;
    return true;
}
