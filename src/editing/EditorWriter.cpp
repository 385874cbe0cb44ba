// The lesson editor's writer: a term line built from the fields, with its
// tags coloured, and the whole lesson file with its linked-file lines.
#include "app/TForm1.h"
#include "editing/TFormEditor.h"
#include "lessons/LinkedFiles.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"

#include <QFileInfo>

#include <algorithm>
#include <QRadioButton>
#include <QLineEdit>
#include <QListWidget>

using korvana::RichEdit;

namespace {

// Colours of the pieces, by mode.
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

void TFormEditor::AppendColouredText(const QString &Text, int Mode)
{
    if (Text.isEmpty())
        return;
    reUF->clear();
    reUF->setText(Text);
    reUF->setSel(0, -1);
    reUF->setSelFontName(QString::fromLatin1(kPieceFont));
    reUF->setSelSize(kPieceSize);
    reUF->setSelColor(pieceColour(Mode));
    // The piece without the final paragraph mark, so pieces follow one
    // another on one line.
    reUF->setSelStart(0);
    reUF->setSelLength(reUF->textLength());
    korvana::CopyRTF(reUF, reLine);
}

// Copies a field's text with its formatting to the end of reLine, at size.
// A field is one line; should it hold more, its lines are joined by blanks,
// since a line end would split the term in two.
void TFormEditor::copyFieldInto(RichEdit *field, double size)
{
    const int keepStart = field->selStart();
    const int keepLength = field->selLength();
    bool first = true;
    for (int i = 0; i < field->lineCount(); ++i) {
        const int length = field->line(i).length();
        if (length == 0)
            continue;
        if (!first)
            reLine->setSelText(QStringLiteral(" "));
        first = false;
        const int start = field->lineIndex(i);
        field->setSel(start, start + length);
        const int from = reLine->selStart();
        korvana::CopyRTF(field, reLine);
        const int to = reLine->selStart();
        reLine->setSelStart(from);
        reLine->setSelLength(to - from);
        reLine->setSelSize(size);
        reLine->setSelStart(to);
    }
    field->setSelStart(keepStart);
    field->setSelLength(keepLength);
}

void TFormEditor::AppendCurrentTerm()
{
    reLine->clear();
    // Every field is written at one size, the translation's, whatever size
    // its text was typed or shown at; the term display sets each pane's own
    // size, and a vocabulary built from the lesson stays even.
    const double size = Form1 && Form1->FFontsizeTranslation > 0 ? Form1->FFontsizeTranslation : kPieceSize;

    AppendColouredText(QStringLiteral("<"), 0);
    AppendColouredText(QStringLiteral("OR"), 1);
    AppendColouredText(QStringLiteral("="), 0);
    copyFieldInto(reEdOrig, size);

    AppendColouredText(QStringLiteral("><"), 0);
    AppendColouredText(QStringLiteral("PI"), 1);
    AppendColouredText(QStringLiteral("="), 0);
    copyFieldInto(reEdPin, size);

    AppendColouredText(QStringLiteral("><"), 0);
    AppendColouredText(QStringLiteral("CH"), 1);
    AppendColouredText(QStringLiteral("="), 0);
    copyFieldInto(reEdChin, size);

    AppendColouredText(QStringLiteral("><"), 0);
    AppendColouredText(QStringLiteral("NO"), 1);
    AppendColouredText(QStringLiteral("="), 0);
    copyFieldInto(reEdNote, size);

    // A type the user left as shown is written as it was read, so the
    // practice window reads the same type as before.
    const bool typeAsShown =
        !FShownType.isEmpty() && rbPhrase->isChecked() == (FShownType == QLatin1String("p"));
    const QString type = typeAsShown ? FShownType : rbWord->isChecked() ? QStringLiteral("w") : QStringLiteral("p");
    AppendColouredText(QStringLiteral("><TY=") + type + QLatin1Char('>'), 2);
    if (rbLearned->isChecked())
        AppendColouredText(QStringLiteral("<ST=l>"), 3);
    else if (rbUnlearned->isChecked())
        AppendColouredText(QStringLiteral("<ST=u>"), 3);
    else if (rbDifficult->isChecked())
        AppendColouredText(QStringLiteral("<ST=d>"), 3);

    const QString sound = edSound->text().trimmed();
    if (!sound.isEmpty())
        AppendColouredText(QStringLiteral("<SN=") + sound + QLatin1Char('>'), 4);
    const QString picture = edPicture->text().trimmed();
    if (!picture.isEmpty())
        AppendColouredText(QStringLiteral("<GR=") + picture + QLatin1Char('>'), 4);

    // What the line held besides the editor's tags follows them unchanged.
    if (reRest->lineCount() > 0 && !reRest->line(0).isEmpty()) {
        reRest->setSel(0, int(reRest->line(0).size()));
        korvana::CopyRTF(reRest, reLine);
        reRest->setSel(0, 0);
    }
}

bool TFormEditor::SaveLesson()
{
    // Only a changed term is rewritten; an emptied one taken out leaves the
    // term after it (or the new last term) to show.
    if (FTermModified) {
        const int before = reLes->lineCount();
        SaveTerm();
        if (reLes->lineCount() < before) {
            FTermNumber = std::clamp(FTermNumber, 1, std::max(reLes->lineCount(), 1));
            ShowTerm();
        }
    }

    reMezi->clear();
    if (reLes->textLength() > 0)
        reMezi->fromRtf(reLes->toRtf());
    reUF->clear();
    for (int i = 0; i < lbLink->count(); ++i)
        reMezi->addLine(korvana::parLine(FLinkFiles.value(i), lbLink->item(i)->text()));

    QString target = FFileName;
    if (target.isEmpty()) {
        korvana::FileDialogRequest request;
        request.filter = QStringLiteral("Korvana Files|*.kvl|All Files|*.*");
        if (Form1)
            request.initialDir = Form1->FWorkingDirectory;
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
        reMezi->saveToFile(target);
    } catch (const korvana::RichTextError &e) {
        throw korvana::Error(QStringLiteral("The lesson was not saved; the file on disk is unchanged.\n") +
                             QString::fromStdString(e.what()));
    }

    FFileName = target;
    setWindowTitle(FFileName);
    FLessonModified = false;
    return true;
}
