#include "app/Program.h"
#include "app/KorvanaApplication.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "app/SplashWindow.h"
#include "platform/ui/MessagePump.h"
#include "platform/ui/WindowSystem.h"

#include "editing/LessonEditorWindow.h"
#include "editing/TermsManagerWindow.h"
#include "practice/ToolBarWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/KeyboardReferenceWindow.h"
#include "settings/OptionsDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

QString helpFile;

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
    MainWindow::setLoadDataAfterFirstPaint(true);
    // The editor asks the input-method services for its layouts when it is
    // first shown.
    LessonEditorWindow::fillLayoutsWhenShown = true;
    // The tool bar, hidden unless asked for, takes its pictures when shown.
    ToolBarWindow::picturesWhenShown = true;
    // Hidden windows build their insides when first shown or first read.
    OptionsDialog::buildPagesWhenNeeded = true;
    DictionaryWindow::buildWhenShown = true;
    KeyboardReferenceWindow::buildWhenShown = true;
    TermsManagerWindow::buildWhenShown = true;
    LessonEditorWindow::buildWhenShown = true;
    // Freed, in the reverse order of their making, when the run ends.
    ProgramWindows windows;

    splash->close();
    delete splash;

    MainWindow *main = windows.mainWindow.get();
    main->show();
    main->activateWindow();
    // The first activation's work (reminder, voices, flash) must not depend
    // on a window manager that activates new windows: once the loop runs, it
    // is started if activation has not started it yet (it runs only once).
    QTimer::singleShot(0, main, [main] { main->onActivate(); });
    return app.exec();
}
