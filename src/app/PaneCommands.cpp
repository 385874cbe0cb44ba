// The panes' popup commands.
#include "app/PaneCommands.h"
#include "app/HiddenPanes.h"
#include "app/MainWindowControls.h"

#include "platform/richtext/RichEdit.h"

#include <QAction>

PaneCommands::PaneCommands(MainWindowControls &controls, HiddenPanes &panes) : m_controls(controls), m_panes(panes)
{
    if (controls.copyAction)
        connect(controls.copyAction, &QAction::triggered, this, &PaneCommands::copyCommand);
    if (controls.displayAction)
        connect(controls.displayAction, &QAction::triggered, this, &PaneCommands::displayCommand);
}

void PaneCommands::copyPaneToClipboard(korvana::RichEdit *pane)
{
    if (!pane)
        return;
    pane->setSel(0, -1);
    pane->copy();
    pane->setSelLength(0);
}

void PaneCommands::copyCommand()
{
    if (const std::optional<korvana::Pane> pane = m_panes.activePane())
        copyPaneToClipboard(m_controls.panes[*pane].text);
}

void PaneCommands::displayCommand()
{
    // No pane clicked yet: nothing to switch.
    if (const std::optional<korvana::Pane> pane = m_panes.activePane())
        m_panes.togglePane(*pane);
}
