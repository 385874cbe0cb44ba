// The main window's own chrome: the menu bar of labels with drop-down panels,
// the title, the exit and minimise buttons, the lesson and session labels,
// and dragging the borderless window by its background.
#include "app/WindowChrome.h"
#include "app/HoverLabel.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/PathShortening.h"
#include "app/ProgramWindows.h"
#include "editing/TermsManagerWindow.h"
#include "editing/VocabularyWindow.h"
#include "platform/ui/Dialogs.h"
#include "practice/ToolBarWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/KeyboardReferenceWindow.h"
#include "reference/ReaderWindow.h"
#include "settings/AboutDialog.h"
#include "settings/SkinDialog.h"

#include <algorithm>
#include <variant>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QPushButton>

namespace {

// The chrome's designed colours.
const char *const BarStyle = "color: #C0C0C0; background: black; font-weight: bold;";
const char *const HotStyle = "color: black; background: #FF8000; font-weight: bold;";
const char *const ItemStyle = "color: #FFFBF0; background: black; font-weight: bold;";
// Only the panel itself has the border; its items (labels are frames too) not.
const char *const PanelStyle = "QFrame#%1 { background: black; border: 1px solid #FF8000; }";

// An item runs a command of the chrome's own, or one the window runs.
using ItemCommand = std::variant<void (WindowChrome::*)(), void (MainWindow::*)()>;

struct ItemDef {
    const char *name;
    const char *caption;
    const char *hint;
    ItemCommand command;
};

struct MenuDef {
    const char *labelName;
    const char *caption;
    const char *panelName;
    std::initializer_list<ItemDef> items;
};

const MenuDef kMenus[5] = {
    {"practiseMenuLabel",
     "File",
     "practiseMenu",
     {{"mlOpen", "Open lesson(s)", "Open one or more lessons (hold Shift or Ctrl when selecting)",
       &WindowChrome::openLessonsCommand},
      {"mlSaveLesson", "Save lesson(s)", "Save learned/unlearned state of currently open lessons",
       &MainWindow::saveLessonsCommand},
      {"mlOpenSession", "Open session", "Load previously saved session  from disk", &MainWindow::openSessionCommand},
      {"mlSaveSession", "Save session", "Save current session  to disk", &MainWindow::saveSessionCommand},
      {"mlSaveSessionAs", "Save session as", "Save current session  to disk under different name",
       &MainWindow::saveSessionAsCommand},
      {"mlExit", "Exit", "", &WindowChrome::exitButtonClicked}}},
    {"modulesMenuLabel",
     "Modules",
     "modulesMenu",
     {{"mlNumbers", "Numbers", "Special tool for practising numbers", &WindowChrome::numbersCommand}}},
    {"toolsMenuLabel",
     "Tools",
     "toolsMenu",
     {{"mlVocabulary", "Vocabulary", "", &WindowChrome::saveAsVocabularyCommand},
      {"mlDictionary", "Dictionary", "", &WindowChrome::dictionaryCommand},
      {"mlReader", "Reader", "", &WindowChrome::readerCommand},
      {"mlEditLesson", "Edit lesson", "", &MainWindow::editLessonCommand},
      {"mlNewLesson", "Create new lesson", "", &MainWindow::createLessonCommand},
      {"mlExternalEditor", "Edit in external editor", "", &MainWindow::editInWordProcessorCommand},
      {"mlTermsManager", "Terms manager", "Manage learned/unlearned/difficult terms, export",
       &WindowChrome::termsManagerCommand}}},
    {"optionsMenuLabel",
     "Options",
     "optionsMenu",
     {{"mlSkin", "Skin", "", &WindowChrome::changeSkinCommand},
      {"mlPreferences", "Preferences", "", &MainWindow::preferencesCommand},
      {"mlScreenBackground", "Screen background", "", &MainWindow::screenBackgroundCommand},
      {"mlToolbar", "Toolbar", "", &MainWindow::toolBarCommand}}},
    {"helpMenuLabel",
     "Help",
     "helpMenu",
     {{"mlHelp", "Help", "", &MainWindow::helpCommand},
      {"mlKeyboardReference", "Keyboard reference", "", &WindowChrome::keyboardReferenceCommand},
      {"mlAbout", "About", "", &WindowChrome::aboutCommand}}},
};

} // namespace

WindowChrome::WindowChrome(MainWindow &window, MainWindowControls &controls, ProgramWindows &windows)
    : m_window(window), m_c(controls), m_windows(windows),
      // Held or not, the tool bar follows the main window.
      m_dragger(window, {.moved =
                             [this] {
                                 if (m_windows.toolBarWindow)
                                     m_windows.toolBarWindow->dockToMainWindow();
                             },
                         .released = {}})
{
}

void WindowChrome::build()
{
    for (int m = 0; m < 5; ++m) {
        const MenuDef &def = kMenus[m];
        auto *label = new HoverLabel(QLatin1Char(' ') + QLatin1String(def.caption) + QLatin1Char(' '), &m_window);
        label->setObjectName(QLatin1String(def.labelName));
        label->setStyleSheet(QLatin1String(BarStyle));
        label->adjustSize();
        auto *panel = new QFrame(&m_window);
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
                m_window.showStatus(hint);
            });
            connect(ml, &HoverLabel::left, this, [ml] { ml->setStyleSheet(QLatin1String(ItemStyle)); });
            const ItemCommand command = item.command;
            connect(ml, &HoverLabel::clicked, this, [this, command] {
                if (const auto *own = std::get_if<void (WindowChrome::*)()>(&command))
                    (this->**own)();
                else
                    (m_window.*std::get<void (MainWindow::*)()>(command))();
            });
            m_c.menuItems << ml;
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
            m_window.showStatus(QString());
        });
        connect(label, &HoverLabel::left, this, [this, m] { menuLabelLeft(m); });
        m_c.menus[m] = {label, panel};
    }
    m_c.practiseMenuLabel = m_c.menus[0].label;
    m_c.modulesMenuLabel = m_c.menus[1].label;
    m_c.toolsMenuLabel = m_c.menus[2].label;
    m_c.optionsMenuLabel = m_c.menus[3].label;
    m_c.helpMenuLabel = m_c.menus[4].label;
    m_c.practiseMenu = m_c.menus[0].panel;
    m_c.modulesMenu = m_c.menus[1].panel;
    m_c.toolsMenu = m_c.menus[2].panel;
    m_c.optionsMenu = m_c.menus[3].panel;
    m_c.helpMenu = m_c.menus[4].panel;

    m_c.titleLabel = new QLabel(QStringLiteral("Korvana"), &m_window);
    m_c.titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_c.titleLabel->setStyleSheet(QStringLiteral("font-weight: bold;"));
    // Grey, as dark or light as the skin's picture behind it needs.
    QPalette titlePalette = m_c.titleLabel->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    m_c.titleLabel->setPalette(titlePalette);
    m_c.titleLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const QString buttonStyle =
        QStringLiteral("QPushButton { background: silver; border: 1px solid grey; font-size: 7pt; padding: 0; }"
                       "QPushButton:hover { background: yellow; }");
    m_c.exitButton = new QPushButton(QStringLiteral("x"), &m_window);
    m_c.exitButton->setObjectName(QStringLiteral("exitButton"));
    m_c.minimizeButton = new QPushButton(QStringLiteral("_"), &m_window);
    m_c.minimizeButton->setObjectName(QStringLiteral("minimizeButton"));
    for (QPushButton *b : {m_c.exitButton, m_c.minimizeButton}) {
        b->setFixedSize(13, 13);
        b->setStyleSheet(buttonStyle);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_c.exitButton, &QPushButton::clicked, this, &WindowChrome::exitButtonClicked);
    connect(m_c.minimizeButton, &QPushButton::clicked, this, &WindowChrome::minimizeButtonClicked);

    m_c.lessonLabel = new HoverLabel(QStringLiteral("NO LESSON LOADED"), &m_window);
    m_c.lessonLabel->setObjectName(QStringLiteral("lessonLabel"));
    m_c.lessonLabel->setStyleSheet(QStringLiteral("color: white; background: teal; padding: 0 3px;"));
    m_c.sessionLabel = new HoverLabel(QStringLiteral("NO SESSION LOADED"), &m_window);
    m_c.sessionLabel->setObjectName(QStringLiteral("sessionLabel"));
    m_c.sessionLabel->setStyleSheet(QStringLiteral("color: white; background: maroon; padding: 0 3px;"));
    m_c.sessionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (HoverLabel *l : {m_c.lessonLabel, m_c.sessionLabel})
        l->setCursor(Qt::PointingHandCursor);
    connect(m_c.lessonLabel, &HoverLabel::clicked, this, &WindowChrome::openLessonsCommand);
    connect(m_c.sessionLabel, &HoverLabel::clicked, this, [this] { m_window.lessonFiles().openSessionCommand(); });
    connect(m_c.lessonLabel, &HoverLabel::moved, this, [this] {
        const QString &currentLesson = m_windows.state.store.currentLesson;
        m_window.showStatus(currentLesson.isEmpty()
                                ? QStringLiteral("NO LESSON LOADED")
                                : korvana::shortenPath(currentLesson, m_c.statusLabel->font(), 350));
    });
    connect(m_c.sessionLabel, &HoverLabel::moved, this, [this] {
        m_window.showStatus(
            m_window.lessonFiles().sessionFile().isEmpty()
                ? QStringLiteral("NO SESSION LOADED")
                : korvana::shortenPath(m_window.lessonFiles().sessionFile(), m_c.statusLabel->font(), 350));
    });
}

void WindowChrome::arrangeMenus()
{
    int left = 4;
    for (const MainWindowControls::Menu &m : m_c.menus) {
        m.label->move(left, 2);
        left += m.label->width();
    }
    m_c.titleLabel->setGeometry(m_window.width() - 140, 2, 100, 16);
    m_c.minimizeButton->move(m_window.width() - 36, 4);
    m_c.exitButton->move(m_window.width() - 20, 4);
}

void WindowChrome::menuLabelEntered(int m)
{
    const MainWindowControls::Menu &menu = m_c.menus[m];
    menu.panel->move(menu.label->x(), menu.label->y() + menu.label->height());
    menu.panel->show();
    menu.panel->raise();
}

void WindowChrome::menuLabelLeft(int m)
{
    const MainWindowControls::Menu &menu = m_c.menus[m];
    // Leaving downwards, towards the panel, keeps the menu open; leaving up
    // or sideways closes it.
    const int bottom = menu.label->mapToGlobal(QPoint(0, menu.label->height())).y();
    if (QCursor::pos().y() < bottom) {
        menu.panel->hide();
        menu.label->setStyleSheet(QLatin1String(BarStyle));
    }
}

void WindowChrome::menuPanelLeft(int m)
{
    const MainWindowControls::Menu &menu = m_c.menus[m];
    // Moving onto one of its items also "leaves" the panel; it stays open
    // while the pointer is still inside it.
    const QRect onScreen(menu.panel->mapToGlobal(QPoint(0, 0)), menu.panel->size());
    if (onScreen.contains(QCursor::pos()))
        return;
    menu.panel->hide();
    menu.label->setStyleSheet(QLatin1String(BarStyle));
}

void WindowChrome::hideAllMenus()
{
    for (const MainWindowControls::Menu &m : m_c.menus) {
        if (!m.label)
            continue;
        m.label->setStyleSheet(QLatin1String(BarStyle));
        m.panel->hide();
    }
}

void WindowChrome::updateLessonSessionLabels()
{
    const QString &currentLesson = m_windows.state.store.currentLesson;
    const QString &sessionFile = m_window.lessonFiles().sessionFile();
    m_c.lessonLabel->setText(currentLesson.isEmpty()
                                 ? QStringLiteral("NO LESSON LOADED")
                                 : korvana::shortenPath(currentLesson, m_c.lessonLabel->font(), 220));
    m_c.sessionLabel->setText(sessionFile.isEmpty() ? QStringLiteral("NO SESSION LOADED")
                                                    : korvana::shortenPath(sessionFile, m_c.sessionLabel->font(), 220));
}

void WindowChrome::enableButton(QAbstractButton *button)
{
    button->setStyleSheet(QStringLiteral("background: #8080FF;"));
    button->setEnabled(true);
}

void WindowChrome::disableButton(QAbstractButton *button)
{
    button->setStyleSheet(QString());
    button->setEnabled(false);
}

void WindowChrome::exitButtonClicked()
{
    hideAllMenus();
    m_window.close();
}

void WindowChrome::minimizeButtonClicked()
{
    m_window.showMinimized();
}

void WindowChrome::openLessonsCommand()
{
    hideAllMenus();
    m_window.lessonFiles().openLessonFiles(OpenMode::Lesson);
}

// Tools that have windows of their own; each closes the menus as every command does.
void WindowChrome::numbersCommand()
{
    hideAllMenus();
    m_window.numbers().showNumbersDialog();
}
void WindowChrome::saveAsVocabularyCommand()
{
    hideAllMenus();
    korvana::Dialogs::instance().execModal(m_windows.vocabularyWindow.get());
}
void WindowChrome::dictionaryCommand()
{
    hideAllMenus();
    // Modeless: the main window stays usable beside it.
    m_windows.dictionaryWindow->show();
    m_windows.dictionaryWindow->raise();
    m_windows.dictionaryWindow->activateWindow();
}
void WindowChrome::termsManagerCommand()
{
    hideAllMenus();
    // Modal: the list is rebuilt from the lesson text each time it is shown,
    // and only the term table's states change while it is open.
    if (m_windows.termsManagerWindow)
        korvana::Dialogs::instance().execModal(m_windows.termsManagerWindow.get());
}
void WindowChrome::changeSkinCommand()
{
    hideAllMenus();
    if (m_windows.skinDialog) {
        m_windows.skinDialog->show();
        m_windows.skinDialog->raise();
        m_windows.skinDialog->activateWindow();
    }
}
void WindowChrome::aboutCommand()
{
    hideAllMenus();
    if (m_windows.aboutDialog)
        korvana::Dialogs::instance().execModal(m_windows.aboutDialog.get());
}

void WindowChrome::readerCommand()
{
    hideAllMenus();
    if (m_windows.readerWindow) {
        m_windows.readerWindow->show();
        m_windows.readerWindow->raise();
        m_windows.readerWindow->activateWindow();
    }
}

void WindowChrome::keyboardReferenceCommand()
{
    hideAllMenus();
    if (m_windows.keyboardReferenceWindow) {
        m_windows.keyboardReferenceWindow->show();
        m_windows.keyboardReferenceWindow->raise();
    }
}

// --- dragging the borderless window -------------------------------------------------

void WindowChrome::makeDraggable(QWidget *control)
{
    m_dragger.watch(control);
    control->setMouseTracking(true);
}

void WindowChrome::dockToolBar()
{
    // However the window got moved or resized (a drag, the window manager,
    // a new screen), the bar stands beside it again.
    if (m_windows.toolBarWindow && m_windows.toolBarWindow->isVisible())
        m_windows.toolBarWindow->dockToMainWindow();
}

bool WindowChrome::eventFilter(QObject *watched, QEvent *e)
{
    for (int m = 0; m < 5; ++m) {
        if (watched == m_c.menus[m].panel && e->type() == QEvent::Leave) {
            menuPanelLeft(m);
            return false;
        }
    }
    return QObject::eventFilter(watched, e);
}
