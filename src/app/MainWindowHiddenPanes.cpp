// Hidden panes: any of the four panes of the current term can be hidden by
// its box, a click on the pane, F5 to F8, the panes' popup menu or all at
// once undone by the show-all toggle (Insert). With "Show Hidden Content On
// Mouse Hover" a hidden pane shows its content while the mouse is over it,
// until the mouse moves on to a neighbouring pane or to the background.
#include "app/MainWindow.h"
#include "app/CharacterHover.h"
#include "app/NumbersDrillRunner.h"

#include "platform/richtext/RichEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>

namespace {

// Sends the presses and mouse moves of one pane view to its handlers.
class PaneMouse : public QObject {
public:
    PaneMouse(MainWindow *form, QTextEdit *view, int pane) : QObject(view), m_form(form), m_pane(pane)
    {
        view->setMouseTracking(true);
        view->viewport()->setMouseTracking(true);
        // The panes' own popup stands in for the view's context menu.
        view->setContextMenuPolicy(Qt::PreventContextMenu);
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(e);
            const QPoint pos = me->position().toPoint();
            switch (m_pane) {
            case 1: m_form->translationViewMousePressed(me->button(), pos); break;
            case 2: m_form->pinyinViewMousePressed(me->button(), pos); break;
            case 3: m_form->charactersViewMousePressed(me->button(), pos); break;
            case 4: m_form->notesViewMousePressed(me->button(), pos); break;
            }
        } else if (e->type() == QEvent::MouseMove) {
            // The characters pane's moves are the character information's.
            switch (m_pane) {
            case 1: m_form->translationViewMouseMoved(); break;
            case 2: m_form->pinyinViewMouseMoved(); break;
            case 4: m_form->notesViewMouseMoved(); break;
            }
        }
        return false;
    }

private:
    MainWindow *m_form;
    int m_pane;
};

// A press on a pane box drops a pending restore; the box then toggles as
// usual.
class BoxPress : public QObject {
public:
    explicit BoxPress(MainWindow *form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            m_form->paneSwitchMousePressed();
        return false;
    }

private:
    MainWindow *m_form;
};

// Mouse moves over the window's background (the window itself, or the
// skin's picture, which lets the mouse through to it). Moves that the
// window gets from a child passing them on are not the background's.
// Watched from the application, as the window's drag handling takes the
// moves before any filter on the window installed earlier than its own.
class BackgroundMouse : public QObject {
public:
    BackgroundMouse(MainWindow *form, const MainWindowControls &controls)
        : QObject(form), m_form(form), m_controls(controls)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == m_form && e->type() == QEvent::MouseMove) {
            const QPoint pos = static_cast<QMouseEvent *>(e)->position().toPoint();
            QWidget *under = m_form->childAt(pos);
            if (!under || under == m_controls.backgroundPicture)
                m_form->backgroundPictureMouseMoved();
        }
        return false;
    }

private:
    MainWindow *m_form;
    const MainWindowControls &m_controls;
};

} // namespace

void MainWindow::buildHiddenPaneControls()
{
    paneMenu = new QMenu(this);
    paneMenu->setObjectName(QStringLiteral("paneMenu"));
    copyAction = paneMenu->addAction(QStringLiteral("Copy"));
    copyAction->setObjectName(QStringLiteral("copyAction"));
    paneMenuSeparator = paneMenu->addSeparator();
    paneMenuSeparator->setObjectName(QStringLiteral("paneMenuSeparator"));
    displayAction = paneMenu->addAction(QStringLiteral("Display"));
    displayAction->setObjectName(QStringLiteral("displayAction"));
    displayAction->setCheckable(true);

    if (translationView)
        new PaneMouse(this, translationView, 1);
    if (pinyinView)
        new PaneMouse(this, pinyinView, 2);
    if (charactersView)
        new PaneMouse(this, charactersView, 3);
    if (notesView)
        new PaneMouse(this, notesView, 4);

    auto *press = new BoxPress(this);
    for (QCheckBox *b : {translationSwitch, pinyinSwitch, charactersSwitch, notesSwitch}) {
        if (b)
            b->installEventFilter(press);
    }

    setMouseTracking(true);
    new BackgroundMouse(this, *this);
}

// --- pane clicks -------------------------------------------------------------------------

void MainWindow::paneMousePressed(int Pane, Qt::MouseButton Button, const QPoint &Pos)
{
    QCheckBox *const boxes[] = {translationSwitch, pinyinSwitch, charactersSwitch, notesSwitch};
    QTextEdit *const views[] = {translationView, pinyinView, charactersView, notesView};
    m_activePane = Pane;
    QCheckBox *box = boxes[Pane - 1];
    if (displayAction)
        displayAction->setChecked(box && box->isChecked());
    if (Button == Qt::RightButton) {
        QTextEdit *view = views[Pane - 1];
        if (paneMenu && view)
            paneMenu->popup(view->viewport()->mapToGlobal(Pos));
    } else {
        switch (Pane) {
        case 1: toggleTranslation(); break;
        case 2: togglePinyin(); break;
        case 3: toggleCharacters(); break;
        case 4: toggleNotes(); break;
        }
    }
    dropPaneRestore();
}

void MainWindow::translationViewMousePressed(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMousePressed(1, Button, Pos);
}

void MainWindow::pinyinViewMousePressed(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMousePressed(2, Button, Pos);
}

void MainWindow::charactersViewMousePressed(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMousePressed(3, Button, Pos);
}

void MainWindow::notesViewMousePressed(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMousePressed(4, Button, Pos);
}

void MainWindow::paneSwitchMousePressed()
{
    dropPaneRestore();
}

// --- show all, or restore -------------------------------------------------------------

void MainWindow::toggleShowAll()
{
    if (!translationSwitch || !pinyinSwitch || !charactersSwitch || !notesSwitch)
        return;
    // Setting a box runs its handler, which redisplays its pane; a box left
    // as it was is not redisplayed.
    if (!m_paneRestore.pending) {
        m_paneRestore.translation = translationSwitch->isChecked();
        m_paneRestore.pinyin = pinyinSwitch->isChecked();
        m_paneRestore.characters = charactersSwitch->isChecked();
        m_paneRestore.notes = notesSwitch->isChecked();
        for (QCheckBox *b : {translationSwitch, pinyinSwitch, charactersSwitch, notesSwitch}) {
            if (!b->isChecked())
                b->setChecked(true);
        }
        m_paneRestore.pending = true;
    } else {
        translationSwitch->setChecked(m_paneRestore.translation);
        pinyinSwitch->setChecked(m_paneRestore.pinyin);
        charactersSwitch->setChecked(m_paneRestore.characters);
        notesSwitch->setChecked(m_paneRestore.notes);
        m_paneRestore.pending = false;
    }
}

// --- hover reveal -----------------------------------------------------------------------
// A pane is revealed only while it is empty, so moving inside a revealed
// pane does not fill it again; each pane ends the reveal of its neighbours.

void MainWindow::translationViewMouseMoved()
{
    if (settings.showHiddenOnHover && translationText->text().isEmpty() && !translationSwitch->isChecked()) {
        if (m_numbers->drill().on)
            m_numbers->showNumberDigits(true);
        else
            showTranslation(true);
    }
    if (!pinyinSwitch->isChecked())
        pinyinText->clear();
}

void MainWindow::pinyinViewMouseMoved()
{
    if (settings.showHiddenOnHover && pinyinText->text().isEmpty() && !pinyinSwitch->isChecked()) {
        if (m_numbers->drill().on)
            m_numbers->showNumberPinyin(true);
        else
            showPinyin(true);
    }
    m_hover->hideCharacterInfo();
    if (!translationSwitch->isChecked())
        translationText->clear();
    if (!charactersSwitch->isChecked())
        charactersText->clear();
}

void MainWindow::notesViewMouseMoved()
{
    // In the drill too: the notes of the last term shown.
    if (settings.showHiddenOnHover && notesText->text().isEmpty() && !notesSwitch->isChecked())
        showNotes(true);
    m_hover->hideCharacterInfo();
    if (!charactersSwitch->isChecked())
        charactersText->clear();
}

void MainWindow::backgroundPictureMouseMoved()
{
    hideAllMenus();
    m_hover->hideCharacterInfo();
    if (!translationSwitch->isChecked())
        translationText->clear();
    if (!pinyinSwitch->isChecked())
        pinyinText->clear();
    if (!notesSwitch->isChecked())
        notesText->clear();
    if (!charactersSwitch->isChecked())
        charactersText->clear();
}
