#include "app/EditorWindowHosts.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "app/WindowChrome.h"
#include "editing/LinkedFileDialog.h"

using korvana::Pane;

bool LessonEditorWindowHost::editorLoadPending() const
{
    return m_main.editorLoadPending();
}

void LessonEditorWindowHost::setEditorLoadPending(bool pending)
{
    m_main.setEditorLoadPending(pending);
}

korvana::RichEdit *LessonEditorWindowHost::paneText(Pane pane) const
{
    return m_main.panes[pane].text;
}

QTextEdit *LessonEditorWindowHost::paneView(Pane pane) const
{
    return m_main.panes[pane].view;
}

korvana::RichEdit &LessonEditorWindowHost::toneVowelsText()
{
    m_main.loadPendingData();
    return m_main.m_referenceData.toneVowelsText;
}

void LessonEditorWindowHost::enableButton(QAbstractButton *button)
{
    WindowChrome::enableButton(button);
}

void LessonEditorWindowHost::disableButton(QAbstractButton *button)
{
    WindowChrome::disableButton(button);
}

LinkedFileDialog &LessonEditorWindowHost::linkedFileDialog() const
{
    return *m_main.m_windows.linkedFileDialog;
}

void connectLessonEditorWindow(LessonEditorWindow &editor, MainWindow &main)
{
    QObject::connect(&editor, &LessonEditorWindow::reopenLessonsRequested, &main,
                     [&main] { main.lessonFiles().openLessonFiles(OpenMode::TempSession); });
    QObject::connect(&editor, &LessonEditorWindow::preferencesRequested, &main, &MainWindow::preferencesCommand);
}
