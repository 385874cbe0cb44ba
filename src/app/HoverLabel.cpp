#include "app/HoverLabel.h"

#include <QMouseEvent>

HoverLabel::HoverLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setMouseTracking(true);
}

void HoverLabel::enterEvent(QEnterEvent *e)
{
    QLabel::enterEvent(e);
    emit entered();
}

void HoverLabel::leaveEvent(QEvent *e)
{
    QLabel::leaveEvent(e);
    emit left();
}

void HoverLabel::mouseMoveEvent(QMouseEvent *e)
{
    QLabel::mouseMoveEvent(e);
    emit moved(e->position().toPoint());
}

void HoverLabel::mousePressEvent(QMouseEvent *e)
{
    QLabel::mousePressEvent(e);
    if (e->button() == Qt::LeftButton)
        emit pressed(e->position().toPoint());
}

void HoverLabel::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) {
        emit released(e->position().toPoint());
        if (rect().contains(e->position().toPoint()))
            emit clicked();
    }
}
