// The main window's side of the lesson editor: the commands that open it.
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "editing/LessonEditorWindow.h"
#include "platform/ui/Dialogs.h"

#include <QFileInfo>

using korvana::Dialogs;
using korvana::MsgButtons;

namespace {
const char *const kNoLesson = "No open lesson to edit. Either open a lesson or use Create new lesson";
}

QStringList MainWindow::lessonsHeldByEditor() const
{
    if (!windows.lessonEditorWindow || !windows.lessonEditorWindow->isVisible()
        || windows.lessonEditorWindow->fileName.isEmpty())
        return {};
    const QString held = QFileInfo(windows.lessonEditorWindow->fileName).absoluteFilePath();
    QStringList lessons;
    for (const QString &lesson : openLessons)
        if (QFileInfo(lesson).absoluteFilePath() == held)
            lessons.append(lesson);
    return lessons;
}

bool MainWindow::editorAlreadyOpen()
{
    if (!windows.lessonEditorWindow || !windows.lessonEditorWindow->isVisible())
        return false;
    Dialogs::instance().message(this, QStringLiteral("Editor is already open"), MsgButtons::Ok);
    windows.lessonEditorWindow->raise();
    windows.lessonEditorWindow->activateWindow();
    return true;
}

void MainWindow::editLessonCommand()
{
    hideAllMenus();
    if (currentLesson.isEmpty()) {
        Dialogs::instance().message(this, QString::fromLatin1(kNoLesson), MsgButtons::Ok);
        return;
    }
    if (!windows.lessonEditorWindow || editorAlreadyOpen())
        return;
    // The lessons are saved with the session, so the editor reads the marks
    // made so far, and closing the editor reopens them from this session.
    saveSession(tempSessionFile());
    windows.lessonEditorWindow->fileName = currentLesson;
    windows.lessonEditorWindow->setWindowTitle(currentLesson);
    windows.lessonEditorWindow->show();
}

void MainWindow::createLessonCommand()
{
    hideAllMenus();
    // An open editor may hold unsaved edits of another lesson: it is not
    // emptied under the user.
    if (!windows.lessonEditorWindow || editorAlreadyOpen())
        return;
    // Closing the editor reopens the open lessons from their files, with the
    // marks not yet saved; the session is saved first, as for Edit lesson.
    if (!openLessons.isEmpty())
        saveSession(tempSessionFile());
    windows.lessonEditorWindow->fileName.clear();
    windows.lessonEditorWindow->setWindowTitle(QStringLiteral("New Lesson"));
    windows.lessonEditorWindow->lessonText->clear();
    windows.lessonEditorWindow->show();
}
