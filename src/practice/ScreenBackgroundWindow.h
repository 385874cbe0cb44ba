#pragma once
#include <QWidget>

// The full-screen background that hides the desktop behind the practice.
// One instance, screenBackgroundWindow, lives for the whole run; "Screen
// background" in the menu and on the tool bar shows and hides it.
class ScreenBackgroundWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScreenBackgroundWindow(QWidget *parent = nullptr);

    // Takes the main window's background colour when it differs, then hands
    // the focus on to the keyboard reference, the tool bar and the main
    // window, so that the background stays behind them.
    void onActivate();

protected:
    bool event(QEvent *e) override;
    void showEvent(class QShowEvent *e) override;
};

extern ScreenBackgroundWindow *screenBackgroundWindow;
