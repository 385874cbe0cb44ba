#include "app/ProgramWindows.h"
#include "app/EditorWindowHosts.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/PracticeWindowHosts.h"
#include "app/ReferenceWindowHosts.h"
#include "app/SettingsWindowHosts.h"
#include "app/TermMedia.h"
#include "platform/richtext/ChineseFonts.h"

#include "editing/LessonEditorWindow.h"
#include "editing/LinkedFileDialog.h"
#include "editing/TermsManagerWindow.h"
#include "editing/VocabularyWindow.h"
#include "practice/FlashWindow.h"
#include "practice/PictureWindow.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/ToolBarWindow.h"
#include "reference/CharacterInfoWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/KeyboardReferenceWindow.h"
#include "reference/NumbersDialog.h"
#include "reference/ReaderWindow.h"
#include "settings/AboutDialog.h"
#include "settings/OptionsDialog.h"
#include "settings/ReminderDialog.h"
#include "settings/SkinDialog.h"

ProgramWindows::ProgramWindows()
{
    // Every window draws Chinese text in Chinese glyph forms (done once; the
    // application start-up has usually done it already).
    korvana::fonts::useChineseGlyphForms();
    // The main window comes first: its creation reads the settings and loads
    // the data every other window relies on, while no other window exists.
    mainWindow = std::make_unique<MainWindow>(*this);
    MainWindow *main = mainWindow.get();
    m_aboutHost = std::make_unique<MainWindowAboutHost>(*main);
    aboutDialog = std::make_unique<AboutDialog>(*m_aboutHost, main);
    vocabularyWindow = std::make_unique<VocabularyWindow>(state.settings, state.store, main);
    pictureWindow = std::make_unique<PictureWindow>(main);
    connectPictureWindow(*pictureWindow, *main);
    skinDialog = std::make_unique<SkinDialog>(state.settings, main);
    connectSkinDialog(*skinDialog, *main);
    m_readerWindowHost = std::make_unique<ReaderWindowHost>(*main);
    readerWindow = std::make_unique<ReaderWindow>(*m_readerWindowHost, state.settings, main);
    QObject::connect(readerWindow.get(), &ReaderWindow::speechStarting, main, [main] { main->media().connectVoice(); });
    optionsDialog = std::make_unique<OptionsDialog>(mainWindowOptionsHost(*main), main);
    reminderDialog = std::make_unique<ReminderDialog>();
    m_lessonEditorHost = std::make_unique<LessonEditorWindowHost>(*main);
    lessonEditorWindow =
        std::make_unique<LessonEditorWindow>(state.settings, *m_lessonEditorHost, *optionsDialog, main);
    connectLessonEditorWindow(*lessonEditorWindow, *main);
    linkedFileDialog = std::make_unique<LinkedFileDialog>();
    keyboardReferenceWindow = std::make_unique<KeyboardReferenceWindow>(main);
    flashWindow = std::make_unique<FlashWindow>();
    characterInfoWindow = std::make_unique<CharacterInfoWindow>();
    screenBackgroundWindow = std::make_unique<ScreenBackgroundWindow>(state.settings, main);
    numbersDialog = std::make_unique<NumbersDialog>();
    toolBarWindow = std::make_unique<ToolBarWindow>(state.settings, main);
    connectToolBarWindow(*toolBarWindow, *main);
    connectScreenBackgroundWindow(*screenBackgroundWindow, *keyboardReferenceWindow, *toolBarWindow);
    m_dictionaryWindowHost = std::make_unique<DictionaryWindowHost>(*main);
    dictionaryWindow = std::make_unique<DictionaryWindow>(*m_dictionaryWindowHost, state.settings, main);
    connectToolBarToReference(*toolBarWindow, *readerWindow, *dictionaryWindow);
    termsManagerWindow = std::make_unique<TermsManagerWindow>(state.settings, state.store, main);
    QObject::connect(termsManagerWindow.get(), &TermsManagerWindow::reopenLessonsRequested, main,
                     [main] { main->lessonFiles().openLessonFiles(OpenMode::SessionFiles); });
    QObject::connect(termsManagerWindow.get(), &TermsManagerWindow::countTermsRequested, main, &MainWindow::countTerms);
}

ProgramWindows::~ProgramWindows()
{
    termsManagerWindow.reset();
    dictionaryWindow.reset();
    m_dictionaryWindowHost.reset();
    toolBarWindow.reset();
    numbersDialog.reset();
    screenBackgroundWindow.reset();
    characterInfoWindow.reset();
    flashWindow.reset();
    keyboardReferenceWindow.reset();
    linkedFileDialog.reset();
    lessonEditorWindow.reset();
    m_lessonEditorHost.reset();
    reminderDialog.reset();
    optionsDialog.reset();
    readerWindow.reset();
    m_readerWindowHost.reset();
    skinDialog.reset();
    pictureWindow.reset();
    vocabularyWindow.reset();
    aboutDialog.reset();
    m_aboutHost.reset();
    mainWindow.reset();
}
