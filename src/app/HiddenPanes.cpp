// The hidden panes' handlers: clicks on the panes and their boxes, the
// show-all toggle with its restore, and the hover reveal.
#include "app/HiddenPanes.h"
#include "app/MainWindowControls.h"

#include "platform/richtext/RichEdit.h"
#include "settings/MainSettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>

using korvana::Pane;

namespace {

// Sends the presses and mouse moves of one pane view to its handlers.
class PaneMouse : public QObject {
public:
    PaneMouse(HiddenPanes *panes, QTextEdit *view, Pane pane) : QObject(panes), m_panes(panes), m_pane(pane)
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
            if (m_pane != Pane::Characters)
                m_panes->paneMouseMoved(m_pane);
        }
        return false;
    }

private:
    HiddenPanes *m_panes;
    Pane m_pane;
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
                         Actions actions)
    : m_controls(controls), m_settings(settings), m_actions(std::move(actions))
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

    auto *press = new BoxPress(this);
    for (Pane p : korvana::allPanes) {
        if (QTextEdit *view = controls.panes[p].view)
            new PaneMouse(this, view, p);
        if (QCheckBox *box = controls.panes[p].box)
            box->installEventFilter(press);
    }

    window.setMouseTracking(true);
    new BackgroundMouse(this, window, controls);
}

// --- pane clicks -------------------------------------------------------------------------

void HiddenPanes::paneMousePressed(Pane pane, Qt::MouseButton button, const QPoint &pos)
{
    m_activePane = pane;
    const MainWindowControls::PaneControls &clicked = m_controls.panes[pane];
    if (m_controls.displayAction)
        m_controls.displayAction->setChecked(clicked.box && clicked.box->isChecked());
    if (button == Qt::RightButton) {
        if (m_controls.paneMenu && clicked.view)
            m_controls.paneMenu->popup(clicked.view->viewport()->mapToGlobal(pos));
    } else {
        togglePane(pane);
    }
    dropPaneRestore();
}

void HiddenPanes::paneSwitchMousePressed()
{
    dropPaneRestore();
}

void HiddenPanes::togglePane(Pane pane)
{
    m_controls.panes[pane].box->toggle();
}

// --- show all, or restore -------------------------------------------------------------

void HiddenPanes::toggleShowAll()
{
    for (const MainWindowControls::PaneControls &p : m_controls.panes) {
        if (!p.box)
            return;
    }
    // Setting a box runs its handler, which redisplays its pane; a box left
    // as it was is not redisplayed.
    if (!m_paneRestore.pending) {
        for (Pane p : korvana::allPanes)
            m_paneRestore.checked[korvana::paneIndex(p)] = m_controls.panes[p].box->isChecked();
        for (const MainWindowControls::PaneControls &p : m_controls.panes) {
            if (!p.box->isChecked())
                p.box->setChecked(true);
        }
        m_paneRestore.pending = true;
    } else {
        for (Pane p : korvana::allPanes)
            m_controls.panes[p].box->setChecked(m_paneRestore.wasChecked(p));
        m_paneRestore.pending = false;
    }
}

// --- hover reveal -----------------------------------------------------------------------
// A pane is revealed only while it is empty, so moving inside a revealed
// pane does not fill it again; each pane ends the reveal of its neighbours,
// the panes above and below it.

void HiddenPanes::paneMouseMoved(Pane pane)
{
    const MainWindowControls::PaneControls &moved = m_controls.panes[pane];
    if (m_settings.showHiddenOnHover && moved.text->text().isEmpty() && !moved.box->isChecked())
        m_actions.reveal(pane);
    const std::size_t at = korvana::paneIndex(pane);
    for (const std::size_t neighbour : {at - 1, at + 1}) {
        if (neighbour >= m_controls.panes.size())
            continue;
        if (korvana::allPanes[neighbour] == Pane::Characters)
            m_actions.hideCharacterInfo();
        const MainWindowControls::PaneControls &p = m_controls.panes[korvana::allPanes[neighbour]];
        if (!p.box->isChecked())
            p.text->clear();
    }
}

void HiddenPanes::backgroundPictureMouseMoved()
{
    m_actions.hideMenus();
    m_actions.hideCharacterInfo();
    for (Pane p : {Pane::Translation, Pane::Pinyin, Pane::Notes, Pane::Characters}) {
        if (!m_controls.panes[p].box->isChecked())
            m_controls.panes[p].text->clear();
    }
}
