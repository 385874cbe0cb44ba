#include "practice/PracticeControls.h"

#include <QCheckBox>
#include <QMouseEvent>

namespace korvana {

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

LatchButton::LatchButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setCheckable(true);
}

void bindCaption(QCheckBox *box, ClickLabel *caption)
{
    QObject::connect(caption, &ClickLabel::clicked, box, [box] {
        if (box->isEnabled())
            box->toggle();
    });
}

} // namespace korvana
