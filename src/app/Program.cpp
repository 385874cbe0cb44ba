#include "app/Program.h"
#include "app/EditorWindowHosts.h"
#include "app/KorvanaApplication.h"
#include "app/MainWindow.h"
#include "app/PracticeWindowHosts.h"
#include "app/ReferenceWindowHosts.h"
#include "app/SettingsWindowHosts.h"
#include "app/SplashWindow.h"
#include "platform/richtext/ChineseFonts.h"
#include "platform/ui/MessagePump.h"
#include "platform/ui/WindowSystem.h"

#include "editing/LinkedFileDialog.h"
#include "editing/LessonEditorWindow.h"
#include "editing/TermsManagerWindow.h"
#include "editing/VocabularyWindow.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/FlashWindow.h"
#include "practice/ToolBarWindow.h"
#include "practice/PictureWindow.h"
#include "reference/ReaderWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/CharacterInfoWindow.h"
#include "reference/KeyboardReferenceWindow.h"
#include "reference/NumbersDialog.h"
#include "settings/AboutDialog.h"
#include "settings/OptionsDialog.h"
#include "settings/ReminderDialog.h"
#include "settings/SkinDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <memory>

QString helpFile;

namespace {
template <typename T>
void create(T *&instance)
{
    instance = new T;
}

template <typename T>
void destroy(T *&instance)
{
    delete instance;
    instance = nullptr;
}

// What the about window asks of the main window; lives as long as it.
std::unique_ptr<MainWindowAboutHost> aboutHost;
// What the lesson editor asks of the main window; made before the editor and
// freed after it.
std::unique_ptr<LessonEditorWindowHost> lessonEditorHost;
// What the reference windows ask of the main window; each lives a little
// longer than its window.
std::unique_ptr<ReaderWindowHost> readerWindowHost;
std::unique_ptr<DictionaryWindowHost> dictionaryWindowHost;
} // namespace

void createWindows()
{
    // Every window draws Chinese text in Chinese glyph forms (done once; the
    // application start-up has usually done it already).
    korvana::fonts::useChineseGlyphForms();
    // The main window comes first: its creation reads the settings and loads
    // the data every other window relies on, while no other window exists.
    create(mainWindow);
    aboutHost = std::make_unique<MainWindowAboutHost>(*mainWindow);
    aboutDialog = new AboutDialog(*aboutHost, mainWindow);
    vocabularyWindow = new VocabularyWindow(*mainWindow, mainWindow->store, mainWindow);
    pictureWindow = new PictureWindow(mainWindow);
    connectPictureWindow(*pictureWindow, *mainWindow);
    skinDialog = new SkinDialog(*mainWindow, mainWindow);
    connectSkinDialog(*skinDialog, *mainWindow);
    readerWindowHost = std::make_unique<ReaderWindowHost>(*mainWindow);
    readerWindow = new ReaderWindow(*readerWindowHost, *mainWindow, mainWindow);
    QObject::connect(readerWindow, &ReaderWindow::speechStarting, mainWindow, &MainWindow::connectVoice);
    optionsDialog = new OptionsDialog(mainWindowOptionsHost(*mainWindow), mainWindow);
    create(reminderDialog);
    lessonEditorHost = std::make_unique<LessonEditorWindowHost>(*mainWindow);
    lessonEditorWindow = new LessonEditorWindow(*mainWindow, *lessonEditorHost, mainWindow);
    connectLessonEditorWindow(*lessonEditorWindow, *mainWindow);
    create(linkedFileDialog);
    keyboardReferenceWindow = new KeyboardReferenceWindow(mainWindow);
    create(flashWindow);
    create(characterInfoWindow);
    screenBackgroundWindow = new ScreenBackgroundWindow(*mainWindow, mainWindow);
    create(numbersDialog);
    toolBarWindow = new ToolBarWindow(*mainWindow, mainWindow);
    connectToolBarWindow(*toolBarWindow, *mainWindow);
    dictionaryWindowHost = std::make_unique<DictionaryWindowHost>(*mainWindow);
    dictionaryWindow = new DictionaryWindow(*dictionaryWindowHost, *mainWindow, mainWindow);
    termsManagerWindow = new TermsManagerWindow(*mainWindow, mainWindow->store, mainWindow);
    QObject::connect(termsManagerWindow, &TermsManagerWindow::reopenLessonsRequested, mainWindow,
                     [w = mainWindow] { w->openLessonFiles(QStringLiteral("session-files")); });
    QObject::connect(termsManagerWindow, &TermsManagerWindow::countTermsRequested, mainWindow,
                     &MainWindow::countTerms);
}

void destroyWindows()
{
    destroy(termsManagerWindow);
    destroy(dictionaryWindow);
    dictionaryWindowHost.reset();
    destroy(toolBarWindow);
    destroy(numbersDialog);
    destroy(screenBackgroundWindow);
    destroy(characterInfoWindow);
    destroy(flashWindow);
    destroy(keyboardReferenceWindow);
    destroy(linkedFileDialog);
    destroy(lessonEditorWindow);
    lessonEditorHost.reset();
    destroy(reminderDialog);
    destroy(optionsDialog);
    destroy(readerWindow);
    readerWindowHost.reset();
    destroy(skinDialog);
    destroy(pictureWindow);
    destroy(vocabularyWindow);
    destroy(aboutDialog);
    aboutHost.reset();
    destroy(mainWindow);
}

int runProgram(int argc, char **argv)
{
    // The platform is chosen before the application object, which loads it.
    korvana::chooseQtPlatformForSession();
    // Qt needs its application object before any window, so it comes before
    // the splash.
    korvana::KorvanaApplication app(argc, argv);

    auto *splash = new SplashWindow;
    splash->show();
    splash->repaint();
    korvana::MessagePump::processPending();

    helpFile = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvlhelp.chm"));

    // The dictionary and the character database load after the main
    // window's first paint: the window shows as soon as it can.
    MainWindow::loadDataAfterFirstPaint = true;
    // The editor asks the input-method services for its layouts when it is
    // first shown.
    LessonEditorWindow::fillLayoutsWhenShown = true;
    // The tool bar, hidden unless asked for, takes its pictures when shown.
    ToolBarWindow::picturesWhenShown = true;
    OptionsDialog::buildPagesWhenNeeded = true;
    DictionaryWindow::buildWhenShown = true;
    KeyboardReferenceWindow::buildWhenShown = true;
    TermsManagerWindow::buildWhenShown = true;
    LessonEditorWindow::buildWhenShown = true;
    createWindows();

    splash->close();
    delete splash;

    mainWindow->show();
    mainWindow->activateWindow();
    // The first activation's work (reminder, voices, flash) must not depend
    // on a window manager that activates new windows: once the loop runs, it
    // is started if activation has not started it yet (it runs only once).
    QTimer::singleShot(0, mainWindow, [] { mainWindow->onActivate(); });
    const int code = app.exec();
    destroyWindows();
    return code;
}
