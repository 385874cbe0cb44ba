// Development tool: starts the program's windows, opens the given lessons as
// a session would, and saves a picture of the main window, so the layout can
// be looked at without a person at the screen. Not installed.
#include "app/KorvanaApplication.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "settings/ProgramPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    korvana::KorvanaApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.png LESSON.kvl...\n", argv[0]);
        return 2;
    }
    // The skins and the dictionary stand beside the program itself, which
    // the build puts in src/ beside this tool's folder; KORVANA_PROGRAM_FOLDER
    // names another one (a folder with skins of its own).
    const QString programFolder = qEnvironmentVariableIsSet("KORVANA_PROGRAM_FOLDER")
                                      ? qEnvironmentVariable("KORVANA_PROGRAM_FOLDER")
                                      : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/");
    if (QFileInfo(programFolder).isDir())
        korvana::ProgramPaths::setProgramFolder(QFileInfo(programFolder).absoluteFilePath());
    ProgramWindows windows;
    MainWindow *mainWindow = windows.mainWindow.get();
    mainWindow->show();
    mainWindow->onActivate();
    QStringList lessons;
    for (int i = 2; i < argc; ++i)
        lessons << QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
    mainWindow->openLessons = lessons;
    mainWindow->startIndex = 1;
    mainWindow->openLessonFiles(OpenMode::SessionFiles);
    app.processEvents();
    return mainWindow->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
