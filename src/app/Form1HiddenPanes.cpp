// Hidden panes: any of the four panes of the current term can be hidden by
// its box, a click on the pane, F5 to F8, the panes' popup menu or all at
// once undone by the show-all toggle (Insert). With "Show Hidden Content On
// Mouse Hover" a hidden pane shows its content while the mouse is over it,
// until the mouse moves on to a neighbouring pane or to the background.
#include "app/TForm1.h"

#include "platform/richtext/RichEdit.h"

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
    PaneMouse(TForm1 *form, QTextEdit *view, int pane) : QObject(view), m_form(form), m_pane(pane)
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
            const QPoint pos = me->position().toPoint();
            switch (m_pane) {
            case 1: m_form->reOrigMouseDown(me->button(), pos); break;
            case 2: m_form->rePinMouseDown(me->button(), pos); break;
            case 3: m_form->reChinMouseDown(me->button(), pos); break;
            case 4: m_form->reNotesMouseDown(me->button(), pos); break;
            }
        } else if (e->type() == QEvent::MouseMove) {
            // The characters pane's moves are the character information's.
            switch (m_pane) {
            case 1: m_form->reOrigMouseMove(); break;
            case 2: m_form->rePinMouseMove(); break;
            case 4: m_form->reNotesMouseMove(); break;
            }
        }
        return false;
    }

private:
    TForm1 *m_form;
    int m_pane;
};

// A press on a pane box drops a pending restore; the box then toggles as
// usual.
class BoxPress : public QObject {
public:
    explicit BoxPress(TForm1 *form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            m_form->chbOrigMouseDown();
        return false;
    }

private:
    TForm1 *m_form;
};

// Mouse moves over the window's background (the window itself, or the
// skin's picture, which lets the mouse through to it). Moves that the
// window gets from a child passing them on are not the background's.
// Watched from the application, as the window's drag handling takes the
// moves before any filter on the window installed earlier than its own.
class BackgroundMouse : public QObject {
public:
    explicit BackgroundMouse(TForm1 *form) : QObject(form), m_form(form) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == m_form && e->type() == QEvent::MouseMove) {
            const QPoint pos = static_cast<QMouseEvent *>(e)->position().toPoint();
            QWidget *under = m_form->childAt(pos);
            if (!under || under == m_form->Image1)
                m_form->Image1MouseMove();
        }
        return false;
    }

private:
    TForm1 *m_form;
};

} // namespace

void TForm1::buildHiddenPaneControls()
{
    popCopy = new QMenu(this);
    popCopy->setObjectName(QStringLiteral("popCopy"));
    Copy1 = popCopy->addAction(QStringLiteral("Copy"));
    Copy1->setObjectName(QStringLiteral("Copy1"));
    N1 = popCopy->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Hide1 = popCopy->addAction(QStringLiteral("Display"));
    Hide1->setObjectName(QStringLiteral("Hide1"));
    Hide1->setCheckable(true);

    if (reOrigView)
        new PaneMouse(this, reOrigView, 1);
    if (rePinView)
        new PaneMouse(this, rePinView, 2);
    if (reChinView)
        new PaneMouse(this, reChinView, 3);
    if (reNotesView)
        new PaneMouse(this, reNotesView, 4);

    auto *press = new BoxPress(this);
    for (QCheckBox *b : {chbOrig, chbPin, chbChin, chbNotes}) {
        if (b)
            b->installEventFilter(press);
    }

    setMouseTracking(true);
    new BackgroundMouse(this);
}

// --- pane clicks -------------------------------------------------------------------------

void TForm1::paneMouseDown(int Pane, Qt::MouseButton Button, const QPoint &Pos)
{
    QCheckBox *const boxes[] = {chbOrig, chbPin, chbChin, chbNotes};
    QTextEdit *const views[] = {reOrigView, rePinView, reChinView, reNotesView};
    FActivePane = Pane;
    QCheckBox *box = boxes[Pane - 1];
    if (Hide1)
        Hide1->setChecked(box && box->isChecked());
    if (Button == Qt::RightButton) {
        QTextEdit *view = views[Pane - 1];
        if (popCopy && view)
            popCopy->popup(view->viewport()->mapToGlobal(Pos));
    } else {
        switch (Pane) {
        case 1: OrigSwitch(); break;
        case 2: PinSwitch(); break;
        case 3: ChinSwitch(); break;
        case 4: NoteSwitch(); break;
        }
    }
    ZrusitRollback();
}

void TForm1::reOrigMouseDown(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMouseDown(1, Button, Pos);
}

void TForm1::rePinMouseDown(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMouseDown(2, Button, Pos);
}

void TForm1::reChinMouseDown(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMouseDown(3, Button, Pos);
}

void TForm1::reNotesMouseDown(Qt::MouseButton Button, const QPoint &Pos)
{
    paneMouseDown(4, Button, Pos);
}

void TForm1::chbOrigMouseDown()
{
    ZrusitRollback();
}

// --- show all, or restore -------------------------------------------------------------

void TForm1::ToggleShowHide()
{
    if (!chbOrig || !chbPin || !chbChin || !chbNotes)
        return;
    // Setting a box runs its handler, which redisplays its pane; a box left
    // as it was is not redisplayed.
    if (!FRollbackPending) {
        FSavedOrig = chbOrig->isChecked();
        FSavedPin = chbPin->isChecked();
        FSavedChin = chbChin->isChecked();
        FSavedNotes = chbNotes->isChecked();
        for (QCheckBox *b : {chbOrig, chbPin, chbChin, chbNotes}) {
            if (!b->isChecked())
                b->setChecked(true);
        }
        FRollbackPending = true;
    } else {
        chbOrig->setChecked(FSavedOrig);
        chbPin->setChecked(FSavedPin);
        chbChin->setChecked(FSavedChin);
        chbNotes->setChecked(FSavedNotes);
        FRollbackPending = false;
    }
}

// --- hover reveal -----------------------------------------------------------------------
// A pane is revealed only while it is empty, so moving inside a revealed
// pane does not fill it again; each pane ends the reveal of its neighbours.

void TForm1::reOrigMouseMove()
{
    if (FShowHiddenOnHover && reOrig->text().isEmpty() && !chbOrig->isChecked()) {
        if (FNumbersMode)
            ShowOrigNr(true);
        else
            ShowOrig2(true);
    }
    if (!chbPin->isChecked())
        rePin->clear();
}

void TForm1::rePinMouseMove()
{
    if (FShowHiddenOnHover && rePin->text().isEmpty() && !chbPin->isChecked()) {
        if (FNumbersMode)
            ShowPinNr(true);
        else
            ShowPin2(true);
    }
    hideHanziInfo();
    if (!chbOrig->isChecked())
        reOrig->clear();
    if (!chbChin->isChecked())
        reChin->clear();
}

void TForm1::reNotesMouseMove()
{
    // In the drill too: the notes of the last term shown.
    if (FShowHiddenOnHover && reNotes->text().isEmpty() && !chbNotes->isChecked())
        ShowNotes2(true);
    hideHanziInfo();
    if (!chbChin->isChecked())
        reChin->clear();
}

void TForm1::Image1MouseMove()
{
    HideAllMenus();
    hideHanziInfo();
    if (!chbOrig->isChecked())
        reOrig->clear();
    if (!chbPin->isChecked())
        rePin->clear();
    if (!chbNotes->isChecked())
        reNotes->clear();
    if (!chbChin->isChecked())
        reChin->clear();
}
