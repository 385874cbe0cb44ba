// The hidden panes' handlers: clicks on the panes and their boxes, the
// show-all toggle with its restore, and the hover reveal.
#include "app/HiddenPanes.h"
#include "app/MainWindowControls.h"

#include "platform/richtext/RichEdit.h"
#include "practice/NumbersDrill.h"
#include "settings/MainSettings.h"

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
    PaneMouse(HiddenPanes *panes, QTextEdit *view, int pane) : QObject(panes), m_panes(panes), m_pane(pane)
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
            m_panes->paneMousePressed(m_pane, me->button(), me->position().toPoint());
        } else if (e->type() == QEvent::MouseMove) {
            // The characters pane's moves are the character information's.
            switch (m_pane) {
            case 1: m_panes->translationViewMouseMoved(); break;
            case 2: m_panes->pinyinViewMouseMoved(); break;
            case 4: m_panes->notesViewMouseMoved(); break;
            }
        }
        return false;
    }

private:
    HiddenPanes *m_panes;
    int m_pane;
};

// A press on a pane box drops a pending restore; the box then toggles as
// usual.
class BoxPress : public QObject {
public:
    explicit BoxPress(HiddenPanes *panes) : QObject(panes), m_panes(panes) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            m_panes->paneSwitchMousePressed();
        return false;
    }

private:
    HiddenPanes *m_panes;
};

// Mouse moves over the window's background (the window itself, or the
// skin's picture, which lets the mouse through to it). Moves that the
// window gets from a child passing them on are not the background's.
// Watched from the application, as the window's drag handling takes the
// moves before any filter on the window installed earlier than its own.
class BackgroundMouse : public QObject {
public:
    BackgroundMouse(HiddenPanes *panes, QWidget &window, const MainWindowControls &controls)
        : QObject(panes), m_panes(panes), m_window(window), m_controls(controls)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == &m_window && e->type() == QEvent::MouseMove) {
            const QPoint pos = static_cast<QMouseEvent *>(e)->position().toPoint();
            QWidget *under = m_window.childAt(pos);
            if (!under || under == m_controls.backgroundPicture)
                m_panes->backgroundPictureMouseMoved();
        }
        return false;
    }

private:
    HiddenPanes *m_panes;
    QWidget &m_window;
    const MainWindowControls &m_controls;
};

} // namespace

HiddenPanes::HiddenPanes(QWidget &window, MainWindowControls &controls, const korvana::MainSettings &settings,
                         const korvana::NumbersDrill &numbers, Actions actions)
    : controls(controls), settings(settings), numbers(numbers), actions(std::move(actions))
{
    controls.paneMenu = new QMenu(&window);
    controls.paneMenu->setObjectName(QStringLiteral("paneMenu"));
    controls.copyAction = controls.paneMenu->addAction(QStringLiteral("Copy"));
    controls.copyAction->setObjectName(QStringLiteral("copyAction"));
    controls.paneMenuSeparator = controls.paneMenu->addSeparator();
    controls.paneMenuSeparator->setObjectName(QStringLiteral("paneMenuSeparator"));
    controls.displayAction = controls.paneMenu->addAction(QStringLiteral("Display"));
    controls.displayAction->setObjectName(QStringLiteral("displayAction"));
    controls.displayAction->setCheckable(true);

    if (controls.translationView)
        new PaneMouse(this, controls.translationView, 1);
    if (controls.pinyinView)
        new PaneMouse(this, controls.pinyinView, 2);
    if (controls.charactersView)
        new PaneMouse(this, controls.charactersView, 3);
    if (controls.notesView)
        new PaneMouse(this, controls.notesView, 4);

    auto *press = new BoxPress(this);
    for (QCheckBox *b : boxes()) {
        if (b)
            b->installEventFilter(press);
    }

    window.setMouseTracking(true);
    new BackgroundMouse(this, window, controls);
}

std::array<QCheckBox *, 4> HiddenPanes::boxes() const
{
    return {controls.translationSwitch, controls.pinyinSwitch, controls.charactersSwitch, controls.notesSwitch};
}

// --- pane clicks -------------------------------------------------------------------------

void HiddenPanes::paneMousePressed(int Pane, Qt::MouseButton Button, const QPoint &Pos)
{
    QTextEdit *const views[] = {controls.translationView, controls.pinyinView, controls.charactersView,
                                controls.notesView};
    m_activePane = Pane;
    QCheckBox *box = boxes()[Pane - 1];
    if (controls.displayAction)
        controls.displayAction->setChecked(box && box->isChecked());
    if (Button == Qt::RightButton) {
        QTextEdit *view = views[Pane - 1];
        if (controls.paneMenu && view)
            controls.paneMenu->popup(view->viewport()->mapToGlobal(Pos));
    } else {
        togglePane(Pane);
    }
    dropPaneRestore();
}

void HiddenPanes::paneSwitchMousePressed()
{
    dropPaneRestore();
}

void HiddenPanes::togglePane(int pane)
{
    if (pane >= 1 && pane <= 4)
        boxes()[pane - 1]->toggle();
}

// --- show all, or restore -------------------------------------------------------------

void HiddenPanes::toggleShowAll()
{
    if (!controls.translationSwitch || !controls.pinyinSwitch || !controls.charactersSwitch || !controls.notesSwitch)
        return;
    // Setting a box runs its handler, which redisplays its pane; a box left
    // as it was is not redisplayed.
    if (!m_paneRestore.pending) {
        m_paneRestore.translation = controls.translationSwitch->isChecked();
        m_paneRestore.pinyin = controls.pinyinSwitch->isChecked();
        m_paneRestore.characters = controls.charactersSwitch->isChecked();
        m_paneRestore.notes = controls.notesSwitch->isChecked();
        for (QCheckBox *b : boxes()) {
            if (!b->isChecked())
                b->setChecked(true);
        }
        m_paneRestore.pending = true;
    } else {
        controls.translationSwitch->setChecked(m_paneRestore.translation);
        controls.pinyinSwitch->setChecked(m_paneRestore.pinyin);
        controls.charactersSwitch->setChecked(m_paneRestore.characters);
        controls.notesSwitch->setChecked(m_paneRestore.notes);
        m_paneRestore.pending = false;
    }
}

// --- hover reveal -----------------------------------------------------------------------
// A pane is revealed only while it is empty, so moving inside a revealed
// pane does not fill it again; each pane ends the reveal of its neighbours.

void HiddenPanes::translationViewMouseMoved()
{
    if (settings.showHiddenOnHover && controls.translationText->text().isEmpty()
        && !controls.translationSwitch->isChecked()) {
        if (numbers.on)
            actions.showNumberDigits();
        else
            actions.showTranslation();
    }
    if (!controls.pinyinSwitch->isChecked())
        controls.pinyinText->clear();
}

void HiddenPanes::pinyinViewMouseMoved()
{
    if (settings.showHiddenOnHover && controls.pinyinText->text().isEmpty() && !controls.pinyinSwitch->isChecked()) {
        if (numbers.on)
            actions.showNumberPinyin();
        else
            actions.showPinyin();
    }
    actions.hideCharacterInfo();
    if (!controls.translationSwitch->isChecked())
        controls.translationText->clear();
    if (!controls.charactersSwitch->isChecked())
        controls.charactersText->clear();
}

void HiddenPanes::notesViewMouseMoved()
{
    // In the drill too: the notes of the last term shown.
    if (settings.showHiddenOnHover && controls.notesText->text().isEmpty() && !controls.notesSwitch->isChecked())
        actions.showNotes();
    actions.hideCharacterInfo();
    if (!controls.charactersSwitch->isChecked())
        controls.charactersText->clear();
}

void HiddenPanes::backgroundPictureMouseMoved()
{
    actions.hideMenus();
    actions.hideCharacterInfo();
    if (!controls.translationSwitch->isChecked())
        controls.translationText->clear();
    if (!controls.pinyinSwitch->isChecked())
        controls.pinyinText->clear();
    if (!controls.notesSwitch->isChecked())
        controls.notesText->clear();
    if (!controls.charactersSwitch->isChecked())
        controls.charactersText->clear();
}
