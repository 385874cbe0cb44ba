#pragma once
// Hidden panes: any of the four panes of the current term can be hidden by
// its box, a click on the pane, F5 to F8, the panes' popup menu or all at
// once undone by the show-all toggle (Insert). With "Show Hidden Content On
// Mouse Hover" a hidden pane shows its content while the mouse is over it,
// until the mouse moves on to a neighbouring pane or to the background.
// Panes are numbered 1 translation, 2 pinyin, 3 characters, 4 notes.
#include <QObject>
#include <array>
#include <functional>

class QCheckBox;
class QPoint;
class QWidget;
struct MainWindowControls;
namespace korvana {
struct MainSettings;
struct NumbersDrill;
} // namespace korvana

// A QObject: the mouse watchers it installs go with it.
class HiddenPanes : public QObject {
public:
    // What the panes ask of the window.
    struct Actions {
        // Fill a pane whatever its box says, from the term or from the
        // numbers drill's number.
        std::function<void()> showTranslation, showPinyin, showNotes, showNumberDigits, showNumberPinyin;
        std::function<void()> hideCharacterInfo;
        std::function<void()> hideMenus;
    };

    // Makes the panes' popup menu and watches the panes, their boxes and the
    // window's background; the panes and their boxes must exist.
    HiddenPanes(QWidget &window, MainWindowControls &controls, const korvana::MainSettings &settings,
                const korvana::NumbersDrill &numbers, Actions actions);

    // A press on a pane; Pos in the pane view's viewport.
    void paneMousePressed(int Pane, Qt::MouseButton Button, const QPoint &Pos);
    // A press on any of the four pane boxes: a pending restore is dropped.
    void paneSwitchMousePressed();
    // The hover reveal (the characters pane's is the character information's).
    void translationViewMouseMoved();
    void pinyinViewMouseMoved();
    void notesViewMouseMoved();
    // The mouse over the window's background: menus closed, every reveal
    // ended.
    void backgroundPictureMouseMoved();

    // Flips the box of pane 1 to 4, as F5 to F8 do; any other number does
    // nothing.
    void togglePane(int pane);
    // Shows every pane, or gives the boxes back the states it saved.
    void toggleShowAll();
    void dropPaneRestore() { m_paneRestore.pending = false; }

    // The boxes' states saved by the show-all toggle, restored by the next
    // Insert while pending holds.
    struct PaneRestore {
        bool pending = false;
        bool translation = false, pinyin = false, characters = false, notes = false;
    };
    const PaneRestore &paneRestore() const { return m_paneRestore; }
    // The pane clicked last (0 before any click). The popup's commands act
    // on it.
    int activePane() const { return m_activePane; }
    void setActivePane(int pane) { m_activePane = pane; }

private:
    // The four panes' boxes, in pane order.
    std::array<QCheckBox *, 4> boxes() const;

    MainWindowControls &controls;
    const korvana::MainSettings &settings;
    const korvana::NumbersDrill &numbers;
    Actions actions;

    int m_activePane = 0;
    PaneRestore m_paneRestore;
};
