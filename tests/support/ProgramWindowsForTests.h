#pragma once
// The program's windows for the tests and bench programs: createWindows()
// makes them as the program does at start-up (the main window first, each
// window handed what it uses) and points these at them; destroyWindows()
// sets these to null and frees the windows in the reverse order. Both work
// without the program's message loop.
class AboutDialog;
class CharacterInfoWindow;
class DictionaryWindow;
class FlashWindow;
class KeyboardReferenceWindow;
class LessonEditorWindow;
class LinkedFileDialog;
class MainWindow;
struct ProgramState;
class NumbersDialog;
class OptionsDialog;
class PictureWindow;
class ReaderWindow;
class ReminderDialog;
class ScreenBackgroundWindow;
class SkinDialog;
class TermsManagerWindow;
class ToolBarWindow;
class VocabularyWindow;

void createWindows();
void destroyWindows();

// Each null while no windows exist.
extern ProgramState *programState;
extern MainWindow *mainWindow;
extern AboutDialog *aboutDialog;
extern VocabularyWindow *vocabularyWindow;
extern PictureWindow *pictureWindow;
extern SkinDialog *skinDialog;
extern ReaderWindow *readerWindow;
extern OptionsDialog *optionsDialog;
extern ReminderDialog *reminderDialog;
extern LessonEditorWindow *lessonEditorWindow;
extern LinkedFileDialog *linkedFileDialog;
extern KeyboardReferenceWindow *keyboardReferenceWindow;
extern FlashWindow *flashWindow;
extern CharacterInfoWindow *characterInfoWindow;
extern ScreenBackgroundWindow *screenBackgroundWindow;
extern NumbersDialog *numbersDialog;
extern ToolBarWindow *toolBarWindow;
extern DictionaryWindow *dictionaryWindow;
extern TermsManagerWindow *termsManagerWindow;
