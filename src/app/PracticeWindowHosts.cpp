#include "app/PracticeWindowHosts.h"

#include "app/MainWindow.h"
#include "practice/PictureWindow.h"

void connectPictureWindow(PictureWindow &picture, MainWindow &main)
{
    QObject::connect(&picture, &PictureWindow::practiceKeyPressed, &main, &MainWindow::onKeyDown);
}
