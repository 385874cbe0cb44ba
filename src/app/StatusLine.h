#pragma once
// The main window's status line: one message at the foot of the window that
// clears itself 5 seconds after the last one was written.
#include "app/MainWindowControls.h"

class QString;

class StatusLine {
public:
    // Makes the line (statusPanel, statusLabel, statusTimer) in window.
    StatusLine(QWidget &window, MainWindowControls &controls);

    void show(const QString &text);
    // The timer's tick.
    void timerTimeout();

private:
    MainWindowControls &m_c;
};
