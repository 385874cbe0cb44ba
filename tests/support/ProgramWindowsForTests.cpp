#include "support/ProgramWindowsForTests.h"

#include "app/ProgramWindows.h"

#include <memory>

ProgramState *programState = nullptr;
MainWindow *mainWindow = nullptr;
AboutDialog *aboutDialog = nullptr;
VocabularyWindow *vocabularyWindow = nullptr;
PictureWindow *pictureWindow = nullptr;
SkinDialog *skinDialog = nullptr;
ReaderWindow *readerWindow = nullptr;
OptionsDialog *optionsDialog = nullptr;
ReminderDialog *reminderDialog = nullptr;
LessonEditorWindow *lessonEditorWindow = nullptr;
LinkedFileDialog *linkedFileDialog = nullptr;
KeyboardReferenceWindow *keyboardReferenceWindow = nullptr;
FlashWindow *flashWindow = nullptr;
CharacterInfoWindow *characterInfoWindow = nullptr;
ScreenBackgroundWindow *screenBackgroundWindow = nullptr;
NumbersDialog *numbersDialog = nullptr;
ToolBarWindow *toolBarWindow = nullptr;
DictionaryWindow *dictionaryWindow = nullptr;
TermsManagerWindow *termsManagerWindow = nullptr;

namespace {
std::unique_ptr<ProgramWindows> windows;

void pointAt(ProgramWindows *w)
{
    programState = w ? &w->state : nullptr;
    mainWindow = w ? w->mainWindow.get() : nullptr;
    aboutDialog = w ? w->aboutDialog.get() : nullptr;
    vocabularyWindow = w ? w->vocabularyWindow.get() : nullptr;
    pictureWindow = w ? w->pictureWindow.get() : nullptr;
    skinDialog = w ? w->skinDialog.get() : nullptr;
    readerWindow = w ? w->readerWindow.get() : nullptr;
    optionsDialog = w ? w->optionsDialog.get() : nullptr;
    reminderDialog = w ? w->reminderDialog.get() : nullptr;
    lessonEditorWindow = w ? w->lessonEditorWindow.get() : nullptr;
    linkedFileDialog = w ? w->linkedFileDialog.get() : nullptr;
    keyboardReferenceWindow = w ? w->keyboardReferenceWindow.get() : nullptr;
    flashWindow = w ? w->flashWindow.get() : nullptr;
    characterInfoWindow = w ? w->characterInfoWindow.get() : nullptr;
    screenBackgroundWindow = w ? w->screenBackgroundWindow.get() : nullptr;
    numbersDialog = w ? w->numbersDialog.get() : nullptr;
    toolBarWindow = w ? w->toolBarWindow.get() : nullptr;
    dictionaryWindow = w ? w->dictionaryWindow.get() : nullptr;
    termsManagerWindow = w ? w->termsManagerWindow.get() : nullptr;
}
} // namespace

void createWindows()
{
    destroyWindows();
    windows = std::make_unique<ProgramWindows>();
    pointAt(windows.get());
}

void destroyWindows()
{
    pointAt(nullptr);
    windows.reset();
}
