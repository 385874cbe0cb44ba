#pragma once
// What the program asks of the desktop's window system: which of Qt's
// platforms to run on, and moving a borderless window with the mouse.
#include <QByteArray>

class QWidget;

namespace korvana {

// The Qt platform to ask for, given the environment's QT_QPA_PLATFORM,
// WAYLAND_DISPLAY and DISPLAY; empty to leave the choice to Qt.
//
// Wayland lets no program place or move its own top-level windows, and the
// program's windows are placed by the program: the main window is dragged by
// its background, the tool bar docks beside it, the keyboard reference parks
// at the screen's corner. So in a Wayland session that also offers an X
// server (XWayland), the program runs on X11. A user who chose a platform
// keeps it.
QByteArray chooseQtPlatform(const QByteArray &qtQpaPlatform, const QByteArray &waylandDisplay,
                            const QByteArray &display);

// Applies chooseQtPlatform to this process's environment. Must run before
// the application object is made.
void chooseQtPlatformForSession();

// Starts moving window (a top-level widget) with the mouse whose left button
// has just gone down on it. The window system moves it, as it moves windows
// by their title bars (edge snapping, screens), under X11 window managers and
// Wayland alike. Returns false when the window system refuses (no window
// manager, an offscreen platform): then the caller moves the window by hand.
bool startSystemMove(QWidget *window);

} // namespace korvana
