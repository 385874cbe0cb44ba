#pragma once
// The main window's side of the lesson editor: the commands that open it,
// each saving the open lessons with a temporary session first, so that the
// editor reads the marks made so far and closing it reopens them.
#include <functional>

class LessonFileCommands;
class ProgramWindows;
class QWidget;

class LessonEditorCommands {
public:
    // window is the main window, the parent of the messages.
    LessonEditorCommands(QWidget &window, ProgramWindows &windows, LessonFileCommands &lessonFiles,
                         std::function<void()> hideAllMenus);

    void editLessonCommand();
    void createLessonCommand();
    // Says "Editor is already open" and brings the editor forward when it
    // is showing; false when it is not.
    bool editorAlreadyOpen();

private:
    QWidget &m_window;
    ProgramWindows &m_windows;
    LessonFileCommands &m_lessonFiles;
    std::function<void()> m_hideAllMenus;
};
