#include "app/Program.h"
#include "app/KorvanaApplication.h"
#include "app/MainWindow.h"
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
    create(vocabularyWindow);
    create(pictureWindow);
    skinDialog = new SkinDialog(*mainWindow, mainWindow);
    connectSkinDialog(*skinDialog, *mainWindow);
    create(readerWindow);
    optionsDialog = new OptionsDialog(mainWindowOptionsHost(*mainWindow), mainWindow);
    create(reminderDialog);
    create(lessonEditorWindow);
    create(linkedFileDialog);
    create(keyboardReferenceWindow);
    create(flashWindow);
    create(characterInfoWindow);
    create(screenBackgroundWindow);
    create(numbersDialog);
    create(toolBarWindow);
    create(dictionaryWindow);
    create(termsManagerWindow);
}

void destroyWindows()
{
    destroy(termsManagerWindow);
    destroy(dictionaryWindow);
    destroy(toolBarWindow);
    destroy(numbersDialog);
    destroy(screenBackgroundWindow);
    destroy(characterInfoWindow);
    destroy(flashWindow);
    destroy(keyboardReferenceWindow);
    destroy(linkedFileDialog);
    destroy(lessonEditorWindow);
    destroy(reminderDialog);
    destroy(optionsDialog);
    destroy(readerWindow);
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
