#pragma once
// The keyboard reference: a small frameless window listing the practice
// window's keys, parked at the top right corner of the screen and dragged
// anywhere by its text. The keys themselves are the main window's.
#include <QStringList>
#include <QWidget>

class QTextEdit;
class QToolButton;

// One instance lives for the whole run.
class KeyboardReferenceWindow : public QWidget {
    Q_OBJECT
public:
    // mainWidget: the main window, which the reference stays above and gives
    // the focus back to after a drag.
    explicit KeyboardReferenceWindow(QWidget *mainWidget, QWidget *parent = nullptr);

    // Set, the two text boxes and the close button are built when the window is
    // first shown rather than with it: nothing outside the window reads them.
    static bool buildWhenShown;
    void setVisible(bool visible) override;

    // The two columns, line for line: the commands and their keys.
    static QStringList commandLines();
    static QStringList keyLines();

    // Where the window is parked: 2 pixels below the top edge of `screen` and
    // 2 pixels short of its right edge.
    static QPoint parkedPosition(const QRect &screen, const QSize &size);

    // Handlers.
    void onCreate();
    void startDrag(const QPoint &pos);                          // mouse down on a box
    void dragTo(Qt::MouseButtons buttons, const QPoint &pos);  // mouse move on a box
    void endDrag();                                            // mouse up on a box
    void closeButtonClicked();

    QTextEdit *commandsBox = nullptr;
    QTextEdit *keysBox = nullptr;
    QToolButton *closeButton = nullptr;

    // The point, in the keys box's coordinates, where the left button went down.
    int dragX = 0;
    int dragY = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    bool m_systemMove = false; // the window system is moving the window
    void keepAboveMainWindow();
    void buildControls();

    QWidget *m_mainWidget;
    bool m_controlsPending = false;
};
