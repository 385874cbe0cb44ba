// The main window's side of the lesson editor: the commands that open it.
#include "app/MainWindow.h"
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
    if (!lessonEditorWindow || !lessonEditorWindow->isVisible() || lessonEditorWindow->fileName.isEmpty())
        return {};
    const QString held = QFileInfo(lessonEditorWindow->fileName).absoluteFilePath();
    QStringList lessons;
    for (const QString &lesson : openLessons)
        if (QFileInfo(lesson).absoluteFilePath() == held)
            lessons.append(lesson);
    return lessons;
}

bool MainWindow::editorAlreadyOpen()
{
    if (!lessonEditorWindow || !lessonEditorWindow->isVisible())
        return false;
    Dialogs::instance().message(this, QStringLiteral("Editor is already open"), MsgButtons::Ok);
    lessonEditorWindow->raise();
    lessonEditorWindow->activateWindow();
    return true;
}

void MainWindow::editLessonCommand()
{
    hideAllMenus();
    if (currentLesson.isEmpty()) {
        Dialogs::instance().message(this, QString::fromLatin1(kNoLesson), MsgButtons::Ok);
        return;
    }
    if (!lessonEditorWindow || editorAlreadyOpen())
        return;
    // The lessons are saved with the session, so the editor reads the marks
    // made so far, and closing the editor reopens them from this session.
    saveSession(tempSessionFile());
    lessonEditorWindow->fileName = currentLesson;
    lessonEditorWindow->setWindowTitle(currentLesson);
    lessonEditorWindow->show();
}

void MainWindow::createLessonCommand()
{
    hideAllMenus();
    // An open editor may hold unsaved edits of another lesson: it is not
    // emptied under the user.
    if (!lessonEditorWindow || editorAlreadyOpen())
        return;
    // Closing the editor reopens the open lessons from their files, with the
    // marks not yet saved; the session is saved first, as for Edit lesson.
    if (!openLessons.isEmpty())
        saveSession(tempSessionFile());
    lessonEditorWindow->fileName.clear();
    lessonEditorWindow->setWindowTitle(QStringLiteral("New Lesson"));
    lessonEditorWindow->lessonText->clear();
    lessonEditorWindow->show();
}
