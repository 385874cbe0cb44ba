#pragma once
// The program's windows. They are made once, in a fixed order (the main
// window first), each handed the objects it uses, and freed in the reverse
// order; the adapters that answer the lower windows' host interfaces live
// here too, each made before the window that uses it and freed after it.
#include "app/ProgramState.h"

#include <memory>

class AboutDialog;
class CharacterInfoWindow;
class DictionaryWindow;
class DictionaryWindowHost;
class FlashWindow;
class KeyboardReferenceWindow;
class LessonEditorWindow;
class LessonEditorWindowHost;
class LinkedFileDialog;
class MainWindow;
class MainWindowAboutHost;
class NumbersDialog;
class OptionsDialog;
class PictureWindow;
class ReaderWindow;
class ReaderWindowHost;
class ReminderDialog;
class ScreenBackgroundWindow;
class SkinDialog;
class TermsManagerWindow;
class ToolBarWindow;
class VocabularyWindow;

class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    // Made before the windows and freed after them.
    ProgramState state;

    // In the order of their making. Each is null while it is being made and
    // freed, and before that and after it: the main window, made first and
    // freed last, meets the others null while it starts and ends.
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<AboutDialog> aboutDialog;
    std::unique_ptr<VocabularyWindow> vocabularyWindow;
    std::unique_ptr<PictureWindow> pictureWindow;
    std::unique_ptr<SkinDialog> skinDialog;
    std::unique_ptr<ReaderWindow> readerWindow;
    std::unique_ptr<OptionsDialog> optionsDialog;
    std::unique_ptr<ReminderDialog> reminderDialog;
    std::unique_ptr<LessonEditorWindow> lessonEditorWindow;
    std::unique_ptr<LinkedFileDialog> linkedFileDialog;
    std::unique_ptr<KeyboardReferenceWindow> keyboardReferenceWindow;
    std::unique_ptr<FlashWindow> flashWindow;
    std::unique_ptr<CharacterInfoWindow> characterInfoWindow;
    std::unique_ptr<ScreenBackgroundWindow> screenBackgroundWindow;
    std::unique_ptr<NumbersDialog> numbersDialog;
    std::unique_ptr<ToolBarWindow> toolBarWindow;
    std::unique_ptr<DictionaryWindow> dictionaryWindow;
    std::unique_ptr<TermsManagerWindow> termsManagerWindow;

private:
    std::unique_ptr<MainWindowAboutHost> m_aboutHost;
    std::unique_ptr<LessonEditorWindowHost> m_lessonEditorHost;
    std::unique_ptr<ReaderWindowHost> m_readerWindowHost;
    std::unique_ptr<DictionaryWindowHost> m_dictionaryWindowHost;
};
