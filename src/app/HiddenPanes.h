#pragma once
// Hidden panes: any of the four panes of the current term can be hidden by
// its box, a click on the pane, F5 to F8, the panes' popup menu or all at
// once undone by the show-all toggle (Insert). With "Show Hidden Content On
// Mouse Hover" a hidden pane shows its content while the mouse is over it,
// until the mouse moves on to a neighbouring pane or to the background.
#include "lessons/Pane.h"

#include <QObject>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QPoint;
class QWidget;
struct MainWindowControls;
namespace korvana {
struct MainSettings;
} // namespace korvana

// A QObject: the mouse watchers it installs go with it.
class HiddenPanes : public QObject {
public:
    // What the panes ask of the window.
    struct Actions {
        // Fill a pane whatever its box says, from the term or from the
        // numbers drill's number (the characters pane's reveal is the
        // character information's).
        std::function<void(korvana::Pane)> reveal;
        std::function<void()> hideCharacterInfo;
        std::function<void()> hideMenus;
    };

    // Makes the panes' popup menu and watches the panes, their boxes and the
    // window's background; the panes and their boxes must exist.
    HiddenPanes(QWidget &window, MainWindowControls &controls, const korvana::MainSettings &settings, Actions actions);

    // A press on a pane; pos in the pane view's viewport.
    void paneMousePressed(korvana::Pane pane, Qt::MouseButton button, const QPoint &pos);
    // A press on any of the four pane boxes: a pending restore is dropped.
    void paneSwitchMousePressed();
    // The hover reveal over the translation, pinyin or notes pane (the
    // characters pane's is the character information's).
    void paneMouseMoved(korvana::Pane pane);
    // The mouse over the window's background: menus closed, every reveal
    // ended.
    void backgroundPictureMouseMoved();

    // Flips the box of the pane, as F5 to F8 do.
    void togglePane(korvana::Pane pane);
    // Shows every pane, or gives the boxes back the states it saved.
    void toggleShowAll();
    void dropPaneRestore() { m_paneRestore.pending = false; }

    // The boxes' states saved by the show-all toggle, restored by the next
    // Insert while pending holds.
    struct PaneRestore {
        bool pending = false;
        std::array<bool, korvana::allPanes.size()> checked{};
        bool wasChecked(korvana::Pane pane) const { return checked[korvana::paneIndex(pane)]; }
    };
    const PaneRestore &paneRestore() const { return m_paneRestore; }
    // The pane clicked last (none before any click). The popup's commands
    // act on it.
    std::optional<korvana::Pane> activePane() const { return m_activePane; }
    void setActivePane(std::optional<korvana::Pane> pane) { m_activePane = pane; }

private:
    MainWindowControls &m_controls;
    const korvana::MainSettings &m_settings;
    Actions m_actions;

    std::optional<korvana::Pane> m_activePane;
    PaneRestore m_paneRestore;
};
