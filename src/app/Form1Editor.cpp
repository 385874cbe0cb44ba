// The main window's side of the lesson editor: the commands that open it.
#include "app/TForm1.h"
#include "editing/TFormEditor.h"
#include "platform/ui/Dialogs.h"

using korvana::Dialogs;
using korvana::MsgButtons;

namespace {
const char *const kNoLesson = "No open lesson to edit. Either open a lesson or use Create new lesson";
}

bool TForm1::editorAlreadyOpen()
{
    if (!FormEditor || !FormEditor->isVisible())
        return false;
    Dialogs::instance().message(this, QStringLiteral("Editor is already open"), MsgButtons::Ok);
    FormEditor->raise();
    FormEditor->activateWindow();
    return true;
}

void TForm1::Edit2Click()
{
    HideAllMenus();
    if (FCurrentLesson.isEmpty()) {
        Dialogs::instance().message(this, QString::fromLatin1(kNoLesson), MsgButtons::Ok);
        return;
    }
    if (!FormEditor || editorAlreadyOpen())
        return;
    // The lessons are saved with the session, so the editor reads the marks
    // made so far, and closing the editor reopens them from this session.
    SaveSession(tempSessionFile());
    FormEditor->FFileName = FCurrentLesson;
    FormEditor->setWindowTitle(FCurrentLesson);
    FormEditor->show();
}

void TForm1::Edit1Click()
{
    HideAllMenus();
    // An open editor may hold unsaved edits of another lesson: it is not
    // emptied under the user.
    if (!FormEditor || editorAlreadyOpen())
        return;
    // Closing the editor reopens the open lessons from their files; saving
    // them first keeps the marks made since they were opened.
    if (!FOpenLessons.isEmpty())
        SaveSession(tempSessionFile());
    FormEditor->FFileName.clear();
    FormEditor->setWindowTitle(QStringLiteral("New Lesson"));
    FormEditor->reLes->clear();
    FormEditor->show();
}
