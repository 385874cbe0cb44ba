// The main window's commands that reach outside it: editing the lesson in a
// word processor or another editor, the help file, the screen background
// and tool bar toggles, and the panes' popup ("Copy", "Display").
#include "app/TForm1.h"

#include "platform/richtext/RichEdit.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"
#include "practice/TFormBackground.h"
#include "practice/TFormToolBar.h"
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

void TForm1::buildCommandControls()
{
    if (Copy1)
        connect(Copy1, &QAction::triggered, this, &TForm1::Copy1Click);
    if (Hide1)
        connect(Hide1, &QAction::triggered, this, &TForm1::Hide1Click);
}

// --- editing the lesson outside the program -------------------------------------

bool TForm1::openLessonInWordProcessor(const QString &FileName)
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

bool TForm1::officeCanShowWindows(const QString &Soffice)
{
    // LibreOffice draws its windows through plug-ins (X11, GTK, Qt, KDE)
    // beside its program; the "nogui" build has none, starts without a
    // window and leaves the user waiting for nothing.
    const QFileInfo program(QFileInfo(Soffice).canonicalFilePath());
    if (!program.exists())
        return false;
    return !program.dir().entryList({QStringLiteral("libvclplug_*")}, QDir::Files).isEmpty();
}

void TForm1::EditinWord1Click()
{
    HideAllMenus();
    if (FCurrentLesson.isEmpty()) {
        Dialogs::instance().message(this, QLatin1String(kNoLesson), MsgButtons::Ok);
        return;
    }
    if (FEditInWord) {
        if (!openLessonInWordProcessor(FCurrentLesson))
            Dialogs::instance().message(this, QLatin1String(kOpenError), MsgButtons::Ok);
        return;
    }
    // The chosen editor gets the lesson's path as its parameter.
    if (!Shell::instance().startProgram(FExternalEditor, FCurrentLesson))
        Dialogs::instance().message(this, QStringLiteral("Cannot start the editor ") + FExternalEditor,
                                    MsgButtons::Ok);
}

// --- help ----------------------------------------------------------------------------

void TForm1::Help1Click()
{
    HideAllMenus();
    ShowHelpContents();
}

void TForm1::ShowHelpContents()
{
    // The copy beside the program; without one the command does nothing.
    const QString help = korvana::ProgramPaths::dataFile(QLatin1String(kHelpFile));
    if (QFileInfo(help).isFile())
        Shell::instance().openDocument(help);
}

// --- screen background and tool bar -------------------------------------------------

void TForm1::ScreenBackground1Click()
{
    HideAllMenus();
    QToolButton *button = FormToolBar ? FormToolBar->tbBackground : nullptr;
    if (FDisplayScreenBackground) {
        FDisplayScreenBackground = false;
        if (FormBackground)
            FormBackground->close();
        if (button)
            button->setChecked(false);
        raise();
        activateWindow();
    } else {
        FDisplayScreenBackground = true;
        if (FormBackground) {
            FormBackground->show();
            // Its activation puts it behind the program's other windows;
            // do that now, whether or not the desktop activates it.
            FormBackground->FormActivate();
        }
        if (button)
            button->setChecked(true);
    }
}

void TForm1::oolbar1Click()
{
    HideAllMenus();
    if (!FormToolBar)
        return;
    if (FormToolBar->isVisible()) {
        FDisplayToolBar = false;
        FormToolBar->hide();
    } else {
        FDisplayToolBar = true;
        FormToolBar->show();
        FormToolBar->SetPosition();
    }
}

// --- the panes' popup -------------------------------------------------------------------

void TForm1::CopyPaneToClipboard(korvana::RichEdit *Pane)
{
    if (!Pane)
        return;
    Pane->setSel(0, -1);
    Pane->copy();
    Pane->setSelLength(0);
}

void TForm1::Copy1Click()
{
    switch (FActivePane) {
    case 1: CopyPaneToClipboard(reOrig); break;
    case 2: CopyPaneToClipboard(rePin); break;
    case 3: CopyPaneToClipboard(reChin); break;
    case 4: CopyPaneToClipboard(reNotes); break;
    default: break;
    }
}

void TForm1::Hide1Click()
{
    switch (FActivePane) {
    case 1: OrigSwitch(); break;
    case 2: PinSwitch(); break;
    case 3: ChinSwitch(); break;
    case 4: NoteSwitch(); break;
    default: break;
    }
}
