#pragma once
// Dragging a borderless top-level window by the controls it shows: a button
// goes down on one of them and the window follows the mouse while the left
// one is held, moved by the window system where it can and by hand where it
// refuses.
#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

namespace korvana {

class WindowDragger : public QObject {
public:
    struct Hooks {
        // After every mouse move over a watched control, the button held or not.
        std::function<void()> moved;
        // After a button went up on a watched control.
        std::function<void()> released;
    };
    explicit WindowDragger(QWidget &window, Hooks hooks = {});

    // window is dragged by control too. The presses, moves and releases on
    // control are taken here and not passed on: its parent, were it watched
    // as well, would take the same drag again in its own coordinates.
    void watch(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    QWidget &m_window;
    Hooks m_hooks;
    // Where a button went down last, in the watched control's coordinates.
    QPoint m_pressPoint;
    // The window system is moving the window for the drag under way.
    bool m_systemMove = false;
};

} // namespace korvana
