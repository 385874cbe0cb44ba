#pragma once
// The main window's controls: what its build functions make and its handlers
// work on. The window inherits them privately: nothing outside the window
// reaches them, and tests find them by their object names, as a skin does.
#include "lessons/Pane.h"
#include "practice/PracticeControls.h"

#include <QColor>
#include <QList>

class HoverLabel;
class QAction;
class QCheckBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTextEdit;
class QTimer;
class QVBoxLayout;
class QWidget;
namespace korvana {
class MediaPlayer;
class RichEdit;
} // namespace korvana

struct MainWindowControls {
    // The window's layout: controls of each subsystem are added to it by
    // their own build function (buildLessonControls, ...).
    QVBoxLayout *mainLayout = nullptr;
    QHBoxLayout *bottomRow = nullptr;

    // The menu bar: each menu's label and its drop-down panel.
    struct Menu {
        HoverLabel *label = nullptr;
        QFrame *panel = nullptr;
    };
    Menu menus[5];
    HoverLabel *practiseMenuLabel = nullptr, *modulesMenuLabel = nullptr, *toolsMenuLabel = nullptr,
               *optionsMenuLabel = nullptr, *helpMenuLabel = nullptr;
    QFrame *practiseMenu = nullptr, *modulesMenu = nullptr, *toolsMenu = nullptr, *optionsMenu = nullptr,
           *helpMenu = nullptr;
    QList<HoverLabel *> menuItems; // every item of every panel, in table order
    QLabel *titleLabel = nullptr;
    QPushButton *exitButton = nullptr;
    QPushButton *minimizeButton = nullptr;
    HoverLabel *lessonLabel = nullptr;
    HoverLabel *sessionLabel = nullptr;
    QWidget *statusPanel = nullptr;
    QLabel *statusLabel = nullptr;
    QTimer *statusTimer = nullptr;

    // The linked files of the open lessons and the term number box.
    QListWidget *linkedFilesList = nullptr;
    QLabel *openLinkedFileLabel = nullptr;
    QLineEdit *termNumberEdit = nullptr;

    // The four panes, each a document with its view and the "Show:" box that
    // hides it; the current term's line and its formatted characters
    // (documents only).
    struct PaneControls {
        korvana::RichEdit *text = nullptr;
        QTextEdit *view = nullptr;
        QCheckBox *box = nullptr;
    };
    korvana::PaneArray<PaneControls> panes;
    korvana::RichEdit *termLineText = nullptr;
    korvana::RichEdit *termCharactersText = nullptr;
    // Mode switches; each box's handler runs on every change of its state,
    // by a click, by its caption label or from code.
    QCheckBox *autoSwitch = nullptr, *randomSwitch = nullptr, *wordsSwitch = nullptr, *phrasesSwitch = nullptr,
              *difficultSwitch = nullptr;
    QCheckBox *pictureSwitch = nullptr, *soundSwitch = nullptr, *flashSwitch = nullptr;
    korvana::ClickLabel *autoSwitchLabel = nullptr, *randomSwitchLabel = nullptr, *wordsSwitchLabel = nullptr,
                        *phrasesSwitchLabel = nullptr, *difficultSwitchLabel = nullptr, *soundSwitchLabel = nullptr,
                        *pictureSwitchLabel = nullptr, *flashSwitchLabel = nullptr;
    korvana::ClickLabel *unskipLabel = nullptr, *firstLabel = nullptr, *lastLabel = nullptr, *goLabel = nullptr;
    korvana::ClickLabel *viewPictureLabel = nullptr, *playSoundLabel = nullptr;
    korvana::ClickLabel *autoOptionsLabel = nullptr; // "[Options]" beside the automatic mode
    korvana::ClickLabel *flashNowLabel = nullptr;    // "Flash": flashes the current term at once
    QLabel *countLabel = nullptr;
    QPushButton *nextButton = nullptr, *previousButton = nullptr, *markLearnedButton = nullptr;
    korvana::LatchButton *markUnlearnedButton = nullptr, *markDifficultButton = nullptr;
    QTimer *autoTimer = nullptr;

    // Reading aloud and the term's sound (the player is owned by the window).
    QCheckBox *readSwitch = nullptr;
    korvana::ClickLabel *readAloudLabel = nullptr;
    QPushButton *readButton = nullptr;
    korvana::MediaPlayer *soundPlayer = nullptr;

    // The panes' popup menu: "Copy", a separator and "Display" (checkable:
    // checked when the clicked pane's box is). A right press on a pane pops
    // it up; the pane views make no context menu of their own.
    QMenu *paneMenu = nullptr;
    QAction *copyAction = nullptr, *paneMenuSeparator = nullptr, *displayAction = nullptr;

    // What a skin colours: the background picture behind every control (made
    // by the first skin that brings one, filling the window) and the three
    // frames that group the mode switches, with their captions "Mode:",
    // "Show:" and "Auto:".
    QLabel *backgroundPicture = nullptr;
    QFrame *modeFrame = nullptr, *panesFrame = nullptr, *autoFrame = nullptr;
    QLabel *modeFrameLabel = nullptr, *panesFrameLabel = nullptr, *autoFrameLabel = nullptr;
};
