// The main window's commands that reach outside it: editing the lesson in a
// word processor or another editor, the help file, the screen background
// and tool bar toggles, and the panes' popup ("Copy", "Display").
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"

#include "platform/richtext/RichEdit.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/ToolBarWindow.h"
#include "settings/ProgramPaths.h"

#include <QAction>
#include <QDir>
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

void MainWindow::buildCommandControls()
{
    if (copyAction)
        connect(copyAction, &QAction::triggered, this, &MainWindow::copyCommand);
    if (displayAction)
        connect(displayAction, &QAction::triggered, this, &MainWindow::displayCommand);
}

// --- editing the lesson outside the program -------------------------------------

bool MainWindow::openLessonInWordProcessor(const QString &FileName)
{
    // A word processor handed a missing file opens an empty document, which
    // would look like success: the lesson must be there first.
    if (!QFileInfo(FileName).isFile())
        return false;
    Shell &shell = Shell::instance();
    const QString writer = shell.findProgram(QStringLiteral("soffice"));
    if (!writer.isEmpty() && officeCanShowWindows(writer)
        && shell.startProgram(writer, QStringList{QStringLiteral("--writer"), FileName}))
        return true;
    return shell.openDocument(FileName);
}

bool MainWindow::officeCanShowWindows(const QString &Soffice)
{
    // LibreOffice draws its windows through plug-ins (X11, GTK, Qt, KDE)
    // beside its program; the "nogui" build has none, starts without a
    // window and leaves the user waiting for nothing.
    const QFileInfo program(QFileInfo(Soffice).canonicalFilePath());
    if (!program.exists())
        return false;
    return !program.dir().entryList({QStringLiteral("libvclplug_*")}, QDir::Files).isEmpty();
}

void MainWindow::editInWordProcessorCommand()
{
    hideAllMenus();
    if (currentLesson.isEmpty()) {
        Dialogs::instance().message(this, QLatin1String(kNoLesson), MsgButtons::Ok);
        return;
    }
    if (settings.editInWordProcessor) {
        // A lesson that is gone is the file's fault; a desktop with no
        // program for rich text is the editor's, and the lesson is fine.
        if (!QFileInfo(currentLesson).isFile())
            Dialogs::instance().message(this, QLatin1String(kOpenError), MsgButtons::Ok);
        else if (!openLessonInWordProcessor(currentLesson))
            Dialogs::instance().message(this,
                                        QStringLiteral("Cannot start the editor for ") + currentLesson
                                            + QStringLiteral("\nNo word processor on this desktop opens rich text"
                                                             " files: install one (LibreOffice Writer), or choose"
                                                             " an external editor under Preferences, External Editor."),
                                        MsgButtons::Ok);
        return;
    }
    // The chosen editor gets the lesson's path as its parameter.
    if (!Shell::instance().startProgram(settings.externalEditor, currentLesson))
        Dialogs::instance().message(this, QStringLiteral("Cannot start the editor ") + settings.externalEditor,
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
    QToolButton *button = windows.toolBarWindow ? windows.toolBarWindow->screenBackgroundButton : nullptr;
    if (settings.displayScreenBackground) {
        settings.displayScreenBackground = false;
        if (windows.screenBackgroundWindow)
            windows.screenBackgroundWindow->close();
        if (button)
            button->setChecked(false);
        raise();
        activateWindow();
    } else {
        settings.displayScreenBackground = true;
        if (windows.screenBackgroundWindow) {
            windows.screenBackgroundWindow->show();
            // Its activation puts it behind the program's other windows;
            // do that now, whether or not the desktop activates it.
            windows.screenBackgroundWindow->onActivate();
        }
        if (button)
            button->setChecked(true);
    }
}

void MainWindow::toolBarCommand()
{
    hideAllMenus();
    if (!windows.toolBarWindow)
        return;
    if (windows.toolBarWindow->isVisible()) {
        settings.displayToolBar = false;
        windows.toolBarWindow->hide();
    } else {
        settings.displayToolBar = true;
        windows.toolBarWindow->show();
        windows.toolBarWindow->dockToMainWindow();
    }
}

// --- the panes' popup -------------------------------------------------------------------

void MainWindow::copyPaneToClipboard(korvana::RichEdit *Pane)
{
    if (!Pane)
        return;
    Pane->setSel(0, -1);
    Pane->copy();
    Pane->setSelLength(0);
}

void MainWindow::copyCommand()
{
    switch (m_activePane) {
    case 1: copyPaneToClipboard(translationText); break;
    case 2: copyPaneToClipboard(pinyinText); break;
    case 3: copyPaneToClipboard(charactersText); break;
    case 4: copyPaneToClipboard(notesText); break;
    default: break;
    }
}

void MainWindow::displayCommand()
{
    switch (m_activePane) {
    case 1: toggleTranslation(); break;
    case 2: togglePinyin(); break;
    case 3: toggleCharacters(); break;
    case 4: toggleNotes(); break;
    default: break;
    }
}
