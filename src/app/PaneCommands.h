#pragma once
// The panes' popup commands: "Copy" and "Display" act on the pane clicked
// last.
#include <QObject>

class HiddenPanes;
struct MainWindowControls;
namespace korvana {
class RichEdit;
}

// A QObject: the popup's connections end with it.
class PaneCommands : public QObject {
public:
    // Connects the popup's commands; the popup must exist.
    PaneCommands(MainWindowControls &controls, HiddenPanes &panes);

    // "Copy": the whole pane clicked last.
    void copyCommand();
    // "Display": the show/hide switch of that pane.
    void displayCommand();
    // Copies all of pane to the clipboard and leaves nothing selected.
    static void copyPaneToClipboard(korvana::RichEdit *pane);

private:
    MainWindowControls &m_controls;
    HiddenPanes &m_panes;
};
