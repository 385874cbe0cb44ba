#include "app/PracticeWindowHosts.h"

#include "app/MainWindow.h"
#include "practice/PictureWindow.h"
#include "practice/ToolBarWindow.h"

void connectPictureWindow(PictureWindow &picture, MainWindow &main)
{
    QObject::connect(&picture, &PictureWindow::practiceKeyPressed, &main, &MainWindow::onKeyDown);
}

void connectToolBarWindow(ToolBarWindow &toolBar, MainWindow &main)
{
    QObject::connect(&toolBar, &ToolBarWindow::openLessonRequested, &main,
                     [&main] { main.openLessonFiles(QStringLiteral("lesson")); });
    QObject::connect(&toolBar, &ToolBarWindow::openSessionRequested, &main, &MainWindow::openSessionCommand);
    QObject::connect(&toolBar, &ToolBarWindow::numbersRequested, &main, &MainWindow::numbersCommand);
    QObject::connect(&toolBar, &ToolBarWindow::screenBackgroundRequested, &main, &MainWindow::screenBackgroundCommand);
}
