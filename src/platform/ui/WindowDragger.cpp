#include "platform/ui/WindowDragger.h"

#include "platform/ui/WindowSystem.h"

#include <QMouseEvent>
#include <QWidget>

namespace korvana {

WindowDragger::WindowDragger(QWidget &window, Hooks hooks) : m_window(window), m_hooks(std::move(hooks))
{
}

void WindowDragger::watch(QWidget *control)
{
    control->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        const auto *me = static_cast<QMouseEvent *>(e);
        m_pressPoint = me->position().toPoint();
        // The window system moves the window when it can (Wayland lets
        // nothing else move it); the moves below are for when it refuses.
        // Its move follows the left button, the one that drags.
        if (me->button() == Qt::LeftButton)
            m_systemMove = startSystemMove(&m_window);
        return true;
    }
    case QEvent::MouseMove: {
        const auto *me = static_cast<QMouseEvent *>(e);
        if ((me->buttons() & Qt::LeftButton) && !m_systemMove) {
            // The window follows the mouse, keeping the press point under it.
            const QPoint by = me->position().toPoint() - m_pressPoint;
            m_window.move(m_window.pos() + by);
        }
        if (m_hooks.moved)
            m_hooks.moved();
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_systemMove = false;
        if (m_hooks.released)
            m_hooks.released();
        return true;
    default:
        return QObject::eventFilter(watched, e);
    }
}

} // namespace korvana
