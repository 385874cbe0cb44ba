#pragma once
// The practice windows ask the main window to act through their signals;
// these connect them to its commands.
class DictionaryWindow;
class KeyboardReferenceWindow;
class MainWindow;
class PictureWindow;
class ReaderWindow;
class ScreenBackgroundWindow;
class ToolBarWindow;

void connectPictureWindow(PictureWindow &picture, MainWindow &main);
void connectToolBarWindow(ToolBarWindow &toolBar, MainWindow &main);

// The screen background, when activated, brings the keyboard reference and
// the tool bar forward where they show, in that order.
void connectScreenBackgroundWindow(ScreenBackgroundWindow &background, KeyboardReferenceWindow &keyboardReference,
                                   ToolBarWindow &toolBar);

// The tool bar's dictionary button shows the dictionary, or closes it when it
// shows; its reader button shows the reader.
void connectToolBarToReference(ToolBarWindow &toolBar, ReaderWindow &reader, DictionaryWindow &dictionary);
