#pragma once
#include <QWidget>

namespace korvana {
struct MainSettings;
}

// The full-screen background that hides the desktop behind the practice.
// One instance lives for the whole run; "Screen
// background" in the menu and on the tool bar shows and hides it.
class ScreenBackgroundWindow : public QWidget {
    Q_OBJECT
public:
    // The background takes its colour from settings and stands behind
    // mainWidget, on its screen.
    ScreenBackgroundWindow(korvana::MainSettings &settings, QWidget *mainWidget, QWidget *parent = nullptr);

    // Takes the main window's background colour when it differs, then hands
    // the focus on to the keyboard reference, the tool bar and the main
    // window, so that the background stays behind them.
    void onActivate();

signals:
    // Raised on activation before the main window comes forward: the floating
    // windows that show (the keyboard reference, the tool bar) come forward
    // first, so that the background stays behind them.
    void floatingWindowsForwardRequested();

protected:
    bool event(QEvent *e) override;
    void showEvent(class QShowEvent *e) override;

private:
    korvana::MainSettings &m_settings;
    QWidget *m_mainWidget;
};
