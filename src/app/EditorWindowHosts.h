#pragma once
// The main window's side of the lesson editor: what the editor asks of the
// main window, and the editor's requests connected to the main window's
// commands.
#include "editing/LessonEditorWindow.h"

class MainWindow;

class LessonEditorWindowHost : public korvana::LessonEditorHost {
public:
    explicit LessonEditorWindowHost(MainWindow &main) : m_main(main) {}

    bool editorLoadPending() const override;
    void setEditorLoadPending(bool pending) override;
    korvana::RichEdit *paneText(korvana::Pane pane) const override;
    QTextEdit *paneView(korvana::Pane pane) const override;
    korvana::RichEdit &toneVowelsText() override;
    void enableButton(QAbstractButton *button) override;
    void disableButton(QAbstractButton *button) override;
    LinkedFileDialog &linkedFileDialog() const override;

private:
    MainWindow &m_main;
};

// Closing the editor reopens the main window's lessons from the session
// saved when the editor opened; "editor options" opens the preferences.
void connectLessonEditorWindow(LessonEditorWindow &editor, MainWindow &main);
