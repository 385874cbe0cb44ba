#pragma once
// Small controls of the practice window.
#include <QLabel>
#include <QPushButton>

class QCheckBox;

namespace korvana {

// A label that answers a left click, as the window's caption and command
// labels ("Random", "Reset", "First", ...) do.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);
    // Runs the click as the mouse would.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;
    // Underlined while the pointer is over it, as a link is.
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    // A disabled caption looks faded whatever colours a skin gives it.
    void changeEvent(QEvent *e) override;

private:
    void setUnderlined(bool on);
};

// A button with a down state that only code sets: a click runs its handler,
// and the handler decides whether it stays down.
class LatchButton : public QPushButton {
    Q_OBJECT
public:
    explicit LatchButton(const QString &text, QWidget *parent = nullptr);
    bool isDown() const { return isChecked(); }
    void setLatched(bool down) { setChecked(down); }

protected:
    void nextCheckState() override {}
};

// A mode switch is a check box with its caption label beside it. The box's
// handler runs whenever its state changes, by a click or from code, so both
// go through the same path; a click on the caption toggles the box and so
// runs the handler once.
void bindCaption(QCheckBox *box, ClickLabel *caption);

// Hidden, the control keeps its room in the layout, so that showing and
// hiding it never moves the controls around it nor resizes the window.
void keepRoomWhenHidden(QWidget *control);

} // namespace korvana
