#pragma once
// The main window's own chrome: the menu bar of labels with drop-down panels
// and the commands they run, the title, the exit and minimise buttons, the
// lesson and session labels, and dragging the borderless window by its
// background with the docked tool bar following.
#include "app/MainWindowControls.h"
#include "platform/ui/WindowDragger.h"

#include <QObject>

class MainWindow;
class ProgramWindows;
class QAbstractButton;

class WindowChrome : public QObject {
public:
    // The menu commands run on window; the tools' windows come from windows.
    WindowChrome(MainWindow &window, MainWindowControls &controls, ProgramWindows &windows);

    // Makes the menu bar, the title, the exit and minimise buttons and the
    // lesson and session labels.
    void build();
    void arrangeMenus();
    void hideAllMenus();
    void updateLessonSessionLabels();
    // The window is dragged by control (the window, its title or status line).
    void makeDraggable(QWidget *control);
    // However the window got moved or resized, the docked tool bar stands
    // beside it again.
    void dockToolBar();

    // The buttons the program marks as usable and unusable.
    static void enableButton(QAbstractButton *button);
    static void disableButton(QAbstractButton *button);

    // Commands of the menus and of the chrome's buttons and labels; each
    // closes the menus first.
    void exitButtonClicked();
    void minimizeButtonClicked();
    void openLessonsCommand();
    void numbersCommand();
    void saveAsVocabularyCommand();
    void dictionaryCommand();
    void readerCommand();
    void termsManagerCommand();
    void changeSkinCommand();
    void keyboardReferenceCommand();
    void aboutCommand();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void menuLabelEntered(int menu);
    void menuLabelLeft(int menu);
    void menuPanelLeft(int menu);

    MainWindow &m_window;
    MainWindowControls &m_c;
    ProgramWindows &m_windows;
    korvana::WindowDragger m_dragger;
};
