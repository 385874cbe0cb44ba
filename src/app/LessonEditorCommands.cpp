// The main window's side of the lesson editor: the commands that open it.
#include "app/LessonEditorCommands.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "editing/LessonEditorWindow.h"
#include "platform/ui/Dialogs.h"

using korvana::Dialogs;
using korvana::MsgButtons;

namespace {
const char *const kNoLesson = "No open lesson to edit. Either open a lesson or use Create new lesson";
}

LessonEditorCommands::LessonEditorCommands(QWidget &window, ProgramWindows &windows, LessonFileCommands &lessonFiles,
                                           std::function<void()> hideAllMenus)
    : m_window(window), m_windows(windows), m_lessonFiles(lessonFiles), m_hideAllMenus(std::move(hideAllMenus))
{
}

bool LessonEditorCommands::editorAlreadyOpen()
{
    if (!m_windows.lessonEditorWindow->isVisible())
        return false;
    Dialogs::instance().message(&m_window, QStringLiteral("Editor is already open"), MsgButtons::Ok);
    m_windows.lessonEditorWindow->raise();
    m_windows.lessonEditorWindow->activateWindow();
    return true;
}

void LessonEditorCommands::editLessonCommand()
{
    m_hideAllMenus();
    const QString &currentLesson = m_windows.state.store.currentLesson;
    if (currentLesson.isEmpty()) {
        Dialogs::instance().message(&m_window, QString::fromLatin1(kNoLesson), MsgButtons::Ok);
        return;
    }
    if (editorAlreadyOpen())
        return;
    // The lessons are saved with the session, so the editor reads the marks
    // made so far, and closing the editor reopens them from this session.
    m_lessonFiles.saveSession(LessonFileCommands::tempSessionFile());
    m_windows.lessonEditorWindow->fileName = currentLesson;
    m_windows.lessonEditorWindow->setWindowTitle(currentLesson);
    m_windows.lessonEditorWindow->show();
}

void LessonEditorCommands::createLessonCommand()
{
    m_hideAllMenus();
    // An open editor may hold unsaved edits of another lesson: it is not
    // emptied under the user.
    if (editorAlreadyOpen())
        return;
    // Closing the editor reopens the open lessons from their files, with the
    // marks not yet saved; the session is saved first, as for Edit lesson.
    if (!m_windows.state.store.openLessons.isEmpty())
        m_lessonFiles.saveSession(LessonFileCommands::tempSessionFile());
    m_windows.lessonEditorWindow->fileName.clear();
    m_windows.lessonEditorWindow->setWindowTitle(QStringLiteral("New Lesson"));
    m_windows.lessonEditorWindow->lessonText->clear();
    m_windows.lessonEditorWindow->show();
}

// The window's Tools menu runs them.
void MainWindow::editLessonCommand()
{
    m_editorCommands->editLessonCommand();
}
void MainWindow::createLessonCommand()
{
    m_editorCommands->createLessonCommand();
}
