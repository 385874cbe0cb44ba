#include "practice/PracticeControls.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
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

void ClickLabel::enterEvent(QEnterEvent *e)
{
    QLabel::enterEvent(e);
    setUnderlined(true);
}

void ClickLabel::leaveEvent(QEvent *e)
{
    QLabel::leaveEvent(e);
    setUnderlined(false);
}

void ClickLabel::changeEvent(QEvent *e)
{
    QLabel::changeEvent(e);
    if (e->type() != QEvent::EnabledChange)
        return;
    if (isEnabled()) {
        setGraphicsEffect(nullptr);
    } else {
        auto *faded = new QGraphicsOpacityEffect(this);
        faded->setOpacity(0.4);
        setGraphicsEffect(faded);
    }
}

void ClickLabel::setUnderlined(bool on)
{
    QFont f = font();
    if (f.underline() == on)
        return;
    f.setUnderline(on);
    setFont(f);
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

void keepRoomWhenHidden(QWidget *control)
{
    QSizePolicy policy = control->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    control->setSizePolicy(policy);
}

} // namespace korvana
