// The main window's commands that reach outside it: editing the lesson in a
// word processor or another editor, the help file, the screen background
// and tool bar toggles.
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"

#include "platform/shell/Shell.h"
#include "platform/shell/WordProcessor.h"
#include "platform/ui/Dialogs.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/ToolBarWindow.h"
#include "settings/ProgramPaths.h"

#include <QFileInfo>
#include <QToolButton>

using korvana::Dialogs;
using korvana::MsgButtons;
using korvana::Shell;

namespace {
const char *const kNoLesson = "No open lesson to edit. Either open a lesson or use Create new lesson";
const char *const kOpenError = "Error opening file";
const char *const kHelpFile = "kvlhelp.chm";
} // namespace

// --- editing the lesson outside the program -------------------------------------

void MainWindow::editInWordProcessorCommand()
{
    hideAllMenus();
    if (m_currentLesson.isEmpty()) {
        Dialogs::instance().message(this, QLatin1String(kNoLesson), MsgButtons::Ok);
        return;
    }
    if (m_settings.editInWordProcessor) {
        // A lesson that is gone is the file's fault; a desktop with no
        // program for rich text is the editor's, and the lesson is fine.
        if (!QFileInfo(m_currentLesson).isFile())
            Dialogs::instance().message(this, QLatin1String(kOpenError), MsgButtons::Ok);
        else if (!korvana::WordProcessor::open(m_currentLesson))
            Dialogs::instance().message(this,
                                        QStringLiteral("Cannot start the editor for ") + m_currentLesson
                                            + QStringLiteral("\nNo word processor on this desktop opens rich text"
                                                             " files: install one (LibreOffice Writer), or choose"
                                                             " an external editor under Preferences, External Editor."),
                                        MsgButtons::Ok);
        return;
    }
    // The chosen editor gets the lesson's path as its parameter.
    if (!Shell::instance().startProgram(m_settings.externalEditor, m_currentLesson))
        Dialogs::instance().message(this, QStringLiteral("Cannot start the editor ") + m_settings.externalEditor,
                                    MsgButtons::Ok);
}

// --- help ----------------------------------------------------------------------------

void MainWindow::helpCommand()
{
    hideAllMenus();
    showHelpContents();
}

void MainWindow::showHelpContents()
{
    // The copy beside the program; without one the command does nothing.
    const QString help = korvana::ProgramPaths::dataFile(QLatin1String(kHelpFile));
    if (QFileInfo(help).isFile())
        Shell::instance().openDocument(help);
}

// --- screen background and tool bar -------------------------------------------------

void MainWindow::screenBackgroundCommand()
{
    hideAllMenus();
    QToolButton *button = m_windows.toolBarWindow ? m_windows.toolBarWindow->screenBackgroundButton : nullptr;
    if (m_settings.displayScreenBackground) {
        m_settings.displayScreenBackground = false;
        if (m_windows.screenBackgroundWindow)
            m_windows.screenBackgroundWindow->close();
        if (button)
            button->setChecked(false);
        raise();
        activateWindow();
    } else {
        m_settings.displayScreenBackground = true;
        if (m_windows.screenBackgroundWindow) {
            m_windows.screenBackgroundWindow->show();
            // Its activation puts it behind the program's other windows;
            // do that now, whether or not the desktop activates it.
            m_windows.screenBackgroundWindow->onActivate();
        }
        if (button)
            button->setChecked(true);
    }
}

void MainWindow::toolBarCommand()
{
    hideAllMenus();
    if (m_windows.toolBarWindow->isVisible()) {
        m_settings.displayToolBar = false;
        m_windows.toolBarWindow->hide();
    } else {
        m_settings.displayToolBar = true;
        m_windows.toolBarWindow->show();
        m_windows.toolBarWindow->dockToMainWindow();
    }
}
