// The panes' popup commands.
#include "app/PaneCommands.h"
#include "app/HiddenPanes.h"
#include "app/MainWindowControls.h"

#include "platform/richtext/RichEdit.h"

#include <QAction>

PaneCommands::PaneCommands(MainWindowControls &controls, HiddenPanes &panes) : controls(controls), panes(panes)
{
    if (controls.copyAction)
        connect(controls.copyAction, &QAction::triggered, this, &PaneCommands::copyCommand);
    if (controls.displayAction)
        connect(controls.displayAction, &QAction::triggered, this, &PaneCommands::displayCommand);
}

void PaneCommands::copyPaneToClipboard(korvana::RichEdit *Pane)
{
    if (!Pane)
        return;
    Pane->setSel(0, -1);
    Pane->copy();
    Pane->setSelLength(0);
}

void PaneCommands::copyCommand()
{
    switch (panes.activePane()) {
    case 1: copyPaneToClipboard(controls.translationText); break;
    case 2: copyPaneToClipboard(controls.pinyinText); break;
    case 3: copyPaneToClipboard(controls.charactersText); break;
    case 4: copyPaneToClipboard(controls.notesText); break;
    default: break;
    }
}

void PaneCommands::displayCommand()
{
    // No pane clicked yet: nothing to switch.
    panes.togglePane(panes.activePane());
}
