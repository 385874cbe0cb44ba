#pragma once
#include <QString>
// The program's entry: splash, the windows in their fixed order, the message
// loop.

// Runs the whole program; returns the exit code.
int runProgram(int argc, char **argv);

// Creates the eighteen windows in their fixed order (the main window first)
// and frees them in the reverse order. Tests use these to get the program's
// windows without running its message loop.
void createWindows();
void destroyWindows();

// The help file the F1 key opens.
extern QString helpFile;
