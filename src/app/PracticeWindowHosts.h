#pragma once
// The practice windows ask the main window to act through their signals;
// these connect them to its commands.
class MainWindow;
class PictureWindow;
class ToolBarWindow;

void connectPictureWindow(PictureWindow &picture, MainWindow &main);
void connectToolBarWindow(ToolBarWindow &toolBar, MainWindow &main);
