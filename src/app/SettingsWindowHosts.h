#pragma once
// The main window's side of the settings windows: what they ask of it and
// what they act on. ProgramWindows hands these to the windows it
// creates.
#include "settings/AboutDialog.h"
#include "settings/OptionsDialog.h"

class MainWindow;
class SkinDialog;

// The about window shows the skin the main window wears.
class MainWindowAboutHost : public korvana::AboutHost {
public:
    explicit MainWindowAboutHost(const MainWindow &window) : m_window(window) {}
    QString skinName() const override;
    QString skinAuthor() const override;

private:
    const MainWindow &m_window;
};

// The options dialog acts on the main window's settings and flash colours,
// samples its characters pane and colours the screen background window.
korvana::OptionsHost mainWindowOptionsHost(MainWindow &window);

// A skin chosen in the skin dialog is applied to the main window.
void connectSkinDialog(SkinDialog &dialog, MainWindow &window);
