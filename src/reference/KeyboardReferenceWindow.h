#pragma once
// The keyboard reference: a small frameless window listing the practice
// window's keys, parked at the top right corner of the screen and dragged
// anywhere by its text. The keys themselves are the main window's.
#include "platform/ui/WindowDragger.h"

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

    // Set, the two memos and the close button are built when the window is
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
    void closeButtonClicked();

    QTextEdit *commandsBox = nullptr;
    QTextEdit *keysBox = nullptr;
    QToolButton *closeButton = nullptr;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void keepAboveMainWindow();
    void dragEnded();
    void buildControls();

    QWidget *m_mainWidget;
    bool m_controlsPending = false;
    // The window is dragged by either box.
    korvana::WindowDragger m_dragger;
};
