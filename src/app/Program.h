#pragma once
#include <QString>
// The program's entry: splash, the windows in their fixed order, the message
// loop.

// Runs the whole program; returns the exit code.
int runProgram(int argc, char **argv);

// The help file the F1 key opens.
extern QString helpFile;
