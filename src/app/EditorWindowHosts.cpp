#include "app/EditorWindowHosts.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "app/WindowChrome.h"
#include "editing/LinkedFileDialog.h"

bool LessonEditorWindowHost::editorLoadPending() const { return m_main.editorLoadPending(); }

void LessonEditorWindowHost::setEditorLoadPending(bool pending) { m_main.setEditorLoadPending(pending); }

korvana::RichEdit *LessonEditorWindowHost::paneText(int field) const
{
    switch (field) {
    case 1:
        return m_main.translationText;
    case 2:
        return m_main.pinyinText;
    case 3:
        return m_main.charactersText;
    case 4:
        return m_main.notesText;
    }
    return nullptr;
}

QTextEdit *LessonEditorWindowHost::paneView(int field) const
{
    switch (field) {
    case 1:
        return m_main.translationView;
    case 2:
        return m_main.pinyinView;
    case 3:
        return m_main.charactersView;
    case 4:
        return m_main.notesView;
    }
    return nullptr;
}

korvana::RichEdit &LessonEditorWindowHost::toneVowelsText()
{
    m_main.loadPendingData();
    return m_main.referenceData.toneVowelsText;
}

void LessonEditorWindowHost::enableButton(QAbstractButton *button) { WindowChrome::enableButton(button); }

void LessonEditorWindowHost::disableButton(QAbstractButton *button) { WindowChrome::disableButton(button); }

LinkedFileDialog &LessonEditorWindowHost::linkedFileDialog() const { return *m_main.windows.linkedFileDialog; }

void connectLessonEditorWindow(LessonEditorWindow &editor, MainWindow &main)
{
    QObject::connect(&editor, &LessonEditorWindow::reopenLessonsRequested, &main,
                     [&main] { main.lessonFiles().openLessonFiles(OpenMode::TempSession); });
    QObject::connect(&editor, &LessonEditorWindow::preferencesRequested, &main, &MainWindow::preferencesCommand);
}
