#include "app/PracticeWindowHosts.h"

#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/WindowChrome.h"
#include "practice/PictureWindow.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/ToolBarWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/KeyboardReferenceWindow.h"
#include "reference/ReaderWindow.h"

namespace {
void bringForward(QWidget &w)
{
    w.raise();
    w.activateWindow();
}
} // namespace

void connectPictureWindow(PictureWindow &picture, MainWindow &main)
{
    QObject::connect(&picture, &PictureWindow::practiceKeyPressed, &main, &MainWindow::onKeyDown);
}

void connectToolBarWindow(ToolBarWindow &toolBar, MainWindow &main)
{
    QObject::connect(&toolBar, &ToolBarWindow::openLessonRequested, &main,
                     [&main] { main.lessonFiles().openLessonFiles(OpenMode::Lesson); });
    QObject::connect(&toolBar, &ToolBarWindow::openSessionRequested, &main,
                     [&main] { main.lessonFiles().openSessionCommand(); });
    QObject::connect(&toolBar, &ToolBarWindow::numbersRequested, &main, [&main] { main.chrome().numbersCommand(); });
    QObject::connect(&toolBar, &ToolBarWindow::screenBackgroundRequested, &main, &MainWindow::screenBackgroundCommand);
}

void connectScreenBackgroundWindow(ScreenBackgroundWindow &background, KeyboardReferenceWindow &keyboardReference,
                                   ToolBarWindow &toolBar)
{
    QObject::connect(&background, &ScreenBackgroundWindow::floatingWindowsForwardRequested, &toolBar,
                     [&keyboardReference, &toolBar] {
                         if (keyboardReference.isVisible())
                             bringForward(keyboardReference);
                         if (toolBar.isVisible())
                             bringForward(toolBar);
                     });
}

void connectToolBarToReference(ToolBarWindow &toolBar, ReaderWindow &reader, DictionaryWindow &dictionary)
{
    QObject::connect(&toolBar, &ToolBarWindow::dictionaryRequested, &dictionary, [&dictionary] {
        if (dictionary.isVisible()) {
            dictionary.close();
        } else {
            dictionary.show();
            bringForward(dictionary);
        }
    });
    QObject::connect(&toolBar, &ToolBarWindow::readerRequested, &reader, [&reader] {
        reader.show();
        bringForward(reader);
    });
}
