// The main window's own chrome: the menu bar of labels with drop-down panels,
// the title, the exit and minimise buttons, the lesson and session labels,
// and dragging the borderless window by its background.
#include "app/HoverLabel.h"
#include "app/PathShortening.h"
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/ProgramWindows.h"
#include "editing/TermsManagerWindow.h"
#include "editing/VocabularyWindow.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/WindowSystem.h"
#include "practice/ToolBarWindow.h"
#include "reference/ReaderWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/KeyboardReferenceWindow.h"
#include "settings/AboutDialog.h"
#include "settings/SkinDialog.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// Colours of the chrome, as the window has always drawn them.
const char *const BarStyle = "color: #C0C0C0; background: black; font-weight: bold;";
const char *const HotStyle = "color: black; background: #FF8000; font-weight: bold;";
const char *const ItemStyle = "color: #FFFBF0; background: black; font-weight: bold;";
// Only the panel itself has the border; its items (labels are frames too) not.
const char *const PanelStyle = "QFrame#%1 { background: black; border: 1px solid #FF8000; }";

struct ItemDef {
    const char *name;
    const char *caption;
    const char *hint;
    void (MainWindow::*command)();
};

struct MenuDef {
    const char *labelName;
    const char *caption;
    const char *panelName;
    std::initializer_list<ItemDef> items;
};

const MenuDef kMenus[5] = {
    {"practiseMenuLabel", "File", "practiseMenu",
     {{"mlOpen", "Open lesson(s)", "Open one or more lessons (hold Shift or Ctrl when selecting)",
       &MainWindow::openLessonsCommand},
      {"mlSaveLesson", "Save lesson(s)", "Save learned/unlearned state of currently open lessons",
       &MainWindow::saveLessonsCommand},
      {"mlOpenSession", "Open session", "Load previously saved session  from disk", &MainWindow::openSessionCommand},
      {"mlSaveSession", "Save session", "Save current session  to disk", &MainWindow::saveSessionCommand},
      {"mlSaveSessionAs", "Save session as", "Save current session  to disk under different name",
       &MainWindow::saveSessionAsCommand},
      {"mlExit", "Exit", "", &MainWindow::exitButtonClicked}}},
    {"modulesMenuLabel", "Modules", "modulesMenu",
     {{"mlNumbers", "Numbers", "Special tool for practising numbers", &MainWindow::numbersCommand}}},
    {"toolsMenuLabel", "Tools", "toolsMenu",
     {{"mlVocabulary", "Vocabulary", "", &MainWindow::saveAsVocabularyCommand},
      {"mlDictionary", "Dictionary", "", &MainWindow::dictionaryCommand},
      {"mlReader", "Reader", "", &MainWindow::readerCommand},
      {"mlEditLesson", "Edit lesson", "", &MainWindow::editLessonCommand},
      {"mlNewLesson", "Create new lesson", "", &MainWindow::createLessonCommand},
      {"mlExternalEditor", "Edit in external editor", "", &MainWindow::editInWordProcessorCommand},
      {"mlTermsManager", "Terms manager", "Manage learned/unlearned/difficult terms, export",
       &MainWindow::termsManagerCommand}}},
    {"optionsMenuLabel", "Options", "optionsMenu",
     {{"mlSkin", "Skin", "", &MainWindow::changeSkinCommand},
      {"mlPreferences", "Preferences", "", &MainWindow::preferencesCommand},
      {"mlScreenBackground", "Screen background", "", &MainWindow::screenBackgroundCommand},
      {"mlToolbar", "Toolbar", "", &MainWindow::toolBarCommand}}},
    {"helpMenuLabel", "Help", "helpMenu",
     {{"mlHelp", "Help", "", &MainWindow::helpCommand},
      {"mlKeyboardReference", "Keyboard reference", "", &MainWindow::keyboardReferenceCommand},
      {"mlAbout", "About", "", &MainWindow::aboutCommand}}},
};

} // namespace

void MainWindow::buildMenus()
{
    for (int m = 0; m < 5; ++m) {
        const MenuDef &def = kMenus[m];
        auto *label = new HoverLabel(QLatin1Char(' ') + QLatin1String(def.caption) + QLatin1Char(' '), this);
        label->setObjectName(QLatin1String(def.labelName));
        label->setStyleSheet(QLatin1String(BarStyle));
        label->adjustSize();
        auto *panel = new QFrame(this);
        panel->setObjectName(QLatin1String(def.panelName));
        panel->setStyleSheet(QString::fromLatin1(PanelStyle).arg(QLatin1String(def.panelName)));
        panel->setFixedWidth(150);
        panel->hide();
        panel->installEventFilter(this);
        int y = 2;
        for (const ItemDef &item : def.items) {
            auto *ml = new HoverLabel(QStringLiteral("  ") + QLatin1String(item.caption), panel);
            ml->setObjectName(QLatin1String(item.name));
            ml->setStyleSheet(QLatin1String(ItemStyle));
            ml->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            ml->setGeometry(2, y, 146, 20);
            y += 20;
            const QString hint = QLatin1String(item.hint);
            ml->setStatusTip(hint);
            connect(ml, &HoverLabel::moved, this, [this, ml, hint] {
                ml->setStyleSheet(QLatin1String(HotStyle));
                showStatus(hint);
            });
            connect(ml, &HoverLabel::left, this, [ml] { ml->setStyleSheet(QLatin1String(ItemStyle)); });
            const auto command = item.command;
            connect(ml, &HoverLabel::clicked, this, [this, command] { (this->*command)(); });
            menuItems << ml;
        }
        panel->setFixedHeight(y + 2);
        // 150 pixels, or wider where an item's caption needs it in this
        // font, so that no caption is cut.
        int width = 150;
        for (HoverLabel *ml : panel->findChildren<HoverLabel *>())
            width = std::max(width, ml->sizeHint().width() + 4);
        panel->setFixedWidth(width);
        for (HoverLabel *ml : panel->findChildren<HoverLabel *>())
            ml->resize(width - 4, ml->height());
        connect(label, &HoverLabel::entered, this, [this, m] { menuLabelEntered(m); });
        connect(label, &HoverLabel::moved, this, [this, label] {
            label->setStyleSheet(QLatin1String(HotStyle));
            showStatus(QString());
        });
        connect(label, &HoverLabel::left, this, [this, m] { menuLabelLeft(m); });
        menus[m] = {label, panel};
    }
    practiseMenuLabel = menus[0].label;
    modulesMenuLabel = menus[1].label;
    toolsMenuLabel = menus[2].label;
    optionsMenuLabel = menus[3].label;
    helpMenuLabel = menus[4].label;
    practiseMenu = menus[0].panel;
    modulesMenu = menus[1].panel;
    toolsMenu = menus[2].panel;
    optionsMenu = menus[3].panel;
    helpMenu = menus[4].panel;

    titleLabel = new QLabel(QStringLiteral("Korvana"), this);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    titleLabel->setStyleSheet(QStringLiteral("font-weight: bold;"));
    // Grey, as dark or light as the skin's picture behind it needs.
    QPalette titlePalette = titleLabel->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    titleLabel->setPalette(titlePalette);
    titleLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const QString buttonStyle = QStringLiteral(
        "QPushButton { background: silver; border: 1px solid grey; font-size: 7pt; padding: 0; }"
        "QPushButton:hover { background: yellow; }");
    exitButton = new QPushButton(QStringLiteral("x"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    minimizeButton = new QPushButton(QStringLiteral("_"), this);
    minimizeButton->setObjectName(QStringLiteral("minimizeButton"));
    for (QPushButton *b : {exitButton, minimizeButton}) {
        b->setFixedSize(13, 13);
        b->setStyleSheet(buttonStyle);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::exitButtonClicked);
    connect(minimizeButton, &QPushButton::clicked, this, &MainWindow::minimizeButtonClicked);

    lessonLabel = new HoverLabel(QStringLiteral("NO LESSON LOADED"), this);
    lessonLabel->setObjectName(QStringLiteral("lessonLabel"));
    lessonLabel->setStyleSheet(QStringLiteral("color: white; background: teal; padding: 0 3px;"));
    sessionLabel = new HoverLabel(QStringLiteral("NO SESSION LOADED"), this);
    sessionLabel->setObjectName(QStringLiteral("sessionLabel"));
    sessionLabel->setStyleSheet(QStringLiteral("color: white; background: maroon; padding: 0 3px;"));
    sessionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (HoverLabel *l : {lessonLabel, sessionLabel})
        l->setCursor(Qt::PointingHandCursor);
    connect(lessonLabel, &HoverLabel::clicked, this, &MainWindow::openLessonsCommand);
    connect(sessionLabel, &HoverLabel::clicked, this, &MainWindow::openSessionCommand);
    connect(lessonLabel, &HoverLabel::moved, this, [this] {
        showStatus(currentLesson.isEmpty()
                   ? QStringLiteral("NO LESSON LOADED")
                   : korvana::shortenPath(currentLesson, statusLabel->font(), 350));
    });
    connect(sessionLabel, &HoverLabel::moved, this, [this] {
        showStatus(m_sessionFile.isEmpty()
                   ? QStringLiteral("NO SESSION LOADED")
                   : korvana::shortenPath(m_sessionFile, statusLabel->font(), 350));
    });
}

void MainWindow::arrangeMenus()
{
    int left = 4;
    for (const Menu &m : menus) {
        m.label->move(left, 2);
        left += m.label->width();
    }
    titleLabel->setGeometry(width() - 140, 2, 100, 16);
    minimizeButton->move(width() - 36, 4);
    exitButton->move(width() - 20, 4);
}

void MainWindow::menuLabelEntered(int m)
{
    const Menu &menu = menus[m];
    menu.panel->move(menu.label->x(), menu.label->y() + menu.label->height());
    menu.panel->show();
    menu.panel->raise();
}

void MainWindow::menuLabelLeft(int m)
{
    const Menu &menu = menus[m];
    // Leaving downwards, towards the panel, keeps the menu open; leaving up
    // or sideways closes it.
    const int bottom = menu.label->mapToGlobal(QPoint(0, menu.label->height())).y();
    if (QCursor::pos().y() < bottom) {
        menu.panel->hide();
        menu.label->setStyleSheet(QLatin1String(BarStyle));
    }
}

void MainWindow::menuPanelLeft(int m)
{
    const Menu &menu = menus[m];
    // Moving onto one of its items also "leaves" the panel; it stays open
    // while the pointer is still inside it.
    const QRect onScreen(menu.panel->mapToGlobal(QPoint(0, 0)), menu.panel->size());
    if (onScreen.contains(QCursor::pos()))
        return;
    menu.panel->hide();
    menu.label->setStyleSheet(QLatin1String(BarStyle));
}

void MainWindow::hideAllMenus()
{
    for (const Menu &m : menus) {
        if (!m.label)
            continue;
        m.label->setStyleSheet(QLatin1String(BarStyle));
        m.panel->hide();
    }
}

void MainWindow::updateLessonSessionLabels()
{
    lessonLabel->setText(currentLesson.isEmpty() ? QStringLiteral("NO LESSON LOADED")
                                              : korvana::shortenPath(currentLesson, lessonLabel->font(), 220));
    sessionLabel->setText(m_sessionFile.isEmpty() ? QStringLiteral("NO SESSION LOADED")
                                             : korvana::shortenPath(m_sessionFile, sessionLabel->font(), 220));
}

void MainWindow::enableButton(QAbstractButton *Button)
{
    Button->setStyleSheet(QStringLiteral("background: #8080FF;"));
    Button->setEnabled(true);
}

void MainWindow::disableButton(QAbstractButton *Button)
{
    Button->setStyleSheet(QString());
    Button->setEnabled(false);
}

void MainWindow::exitButtonClicked()
{
    hideAllMenus();
    close();
}

void MainWindow::minimizeButtonClicked()
{
    showMinimized();
}

void MainWindow::openLessonsCommand()
{
    hideAllMenus();
    openLessonFiles(QStringLiteral("lesson"));
}

// Tools whose windows arrive later; each closes the menus as every command does.
void MainWindow::numbersCommand()
{
    hideAllMenus();
    m_numbers->showNumbersDialog();
}
void MainWindow::saveAsVocabularyCommand()
{
    hideAllMenus();
    korvana::Dialogs::instance().execModal(windows.vocabularyWindow.get());
}
void MainWindow::dictionaryCommand()
{
    hideAllMenus();
    // Modeless: the main window stays usable beside it.
    windows.dictionaryWindow->show();
    windows.dictionaryWindow->raise();
    windows.dictionaryWindow->activateWindow();
}
void MainWindow::termsManagerCommand()
{
    hideAllMenus();
    // Modal: the list is rebuilt from the lesson text each time it is shown,
    // and only the term table's states change while it is open.
    if (windows.termsManagerWindow)
        korvana::Dialogs::instance().execModal(windows.termsManagerWindow.get());
}
void MainWindow::changeSkinCommand()
{
    hideAllMenus();
    if (windows.skinDialog) {
        windows.skinDialog->show();
        windows.skinDialog->raise();
        windows.skinDialog->activateWindow();
    }
}
void MainWindow::aboutCommand()
{
    hideAllMenus();
    if (windows.aboutDialog)
        korvana::Dialogs::instance().execModal(windows.aboutDialog.get());
}

void MainWindow::readerCommand()
{
    hideAllMenus();
    if (windows.readerWindow) {
        windows.readerWindow->show();
        windows.readerWindow->raise();
        windows.readerWindow->activateWindow();
    }
}

void MainWindow::keyboardReferenceCommand()
{
    hideAllMenus();
    if (windows.keyboardReferenceWindow) {
        windows.keyboardReferenceWindow->show();
        windows.keyboardReferenceWindow->raise();
    }
}

// --- dragging the borderless window -------------------------------------------------

void MainWindow::makeDraggable(QWidget *control)
{
    control->installEventFilter(this);
    control->setMouseTracking(true);
}

void MainWindow::startDrag(QWidget *, QPoint pos)
{
    dragX = pos.x();
    dragY = pos.y();
    // The window system moves the window when it can (Wayland lets nothing
    // else move it); the moves below are for when it refuses.
    m_systemMove = korvana::startSystemMove(this);
}

void MainWindow::dragTo(QWidget *, QPoint pos, Qt::MouseButtons buttons)
{
    if ((buttons & Qt::LeftButton) && !m_systemMove)
        move(x() - (dragX - pos.x()), y() - (dragY - pos.y()));
    // Held or not, the tool bar follows the main window.
    if (windows.toolBarWindow)
        windows.toolBarWindow->dockToMainWindow();
}

void MainWindow::endDrag()
{
    m_systemMove = false;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *e)
{
    for (int m = 0; m < 5; ++m) {
        if (watched == menus[m].panel && e->type() == QEvent::Leave) {
            menuPanelLeft(m);
            return false;
        }
    }
    auto *control = qobject_cast<QWidget *>(watched);
    if (control && (control == this || control == titleLabel || control == statusPanel || control == statusLabel)) {
        // Handled here and not passed on to the parent, which would take the
        // same drag again in its own coordinates.
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto *me = static_cast<QMouseEvent *>(e);
            if (me->button() == Qt::LeftButton)
                startDrag(control, me->position().toPoint());
            return true;
        }
        case QEvent::MouseMove: {
            auto *me = static_cast<QMouseEvent *>(e);
            dragTo(control, me->position().toPoint(), me->buttons());
            return true;
        }
        case QEvent::MouseButtonRelease:
            endDrag();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, e);
}
