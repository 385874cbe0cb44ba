// The main window's own chrome: the menu bar of labels with drop-down panels,
// the title, the exit and minimise buttons, the lesson and session labels,
// and dragging the borderless window by its background.
#include "app/HoverLabel.h"
#include "app/PathShortening.h"
#include "app/TForm1.h"
#include "editing/TFormTermsManager.h"
#include "editing/TFormVocabulary.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/WindowSystem.h"
#include "practice/TFormToolBar.h"
#include "reference/TFormAsocFile.h"
#include "reference/TFormDict.h"
#include "reference/TFormKeybRefer.h"
#include "settings/TFormAbout.h"
#include "settings/TFormSelect.h"

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
    void (TForm1::*command)();
};

struct MenuDef {
    const char *labelName;
    const char *caption;
    const char *panelName;
    std::initializer_list<ItemDef> items;
};

const MenuDef kMenus[5] = {
    {"lOpen", "File", "MenuPractise",
     {{"mlOpen", "Open lesson(s)", "Open one or more lessons (hold Shift or Ctrl when selecting)",
       &TForm1::mlOpenClick},
      {"mlSaveLesson", "Save lesson(s)", "Save learned/unlearned state of currently open lessons",
       &TForm1::mlSaveLessonClick},
      {"mlOpenSession", "Open session", "Load previously saved session  from disk", &TForm1::mlOpenSessionClick},
      {"mlSaveSession", "Save session", "Save current session  to disk", &TForm1::mlSaveSessionClick},
      {"mlSaveSessionAs", "Save session as", "Save current session  to disk under different name",
       &TForm1::mlSaveSessionAsClick},
      {"mlExit", "Exit", "", &TForm1::imgExitClick}}},
    {"lblModules", "Modules", "MenuModules",
     {{"mlNumbers", "Numbers", "Special tool for practising numbers", &TForm1::Numbers1Click}}},
    {"lblTools", "Tools", "MenuTools",
     {{"mlVocabulary", "Vocabulary", "", &TForm1::SaveAsVocabulary1Click},
      {"mlDictionary", "Dictionary", "", &TForm1::mlDictionaryClick},
      {"mlReader", "Reader", "", &TForm1::mlReaderClick},
      {"mlEditLesson", "Edit lesson", "", &TForm1::Edit2Click},
      {"mlNewLesson", "Create new lesson", "", &TForm1::Edit1Click},
      {"mlExternalEditor", "Edit in external editor", "", &TForm1::EditinWord1Click},
      {"mlTermsManager", "Terms manager", "Manage learned/unlearned/difficult terms, export",
       &TForm1::mlTermsManagerClick}}},
    {"lblOptions", "Options", "MenuOptions",
     {{"mlSkin", "Skin", "", &TForm1::ChangeSkin},
      {"mlPreferences", "Preferences", "", &TForm1::Preferences1Click},
      {"mlScreenBackground", "Screen background", "", &TForm1::ScreenBackground1Click},
      {"mlToolbar", "Toolbar", "", &TForm1::oolbar1Click}}},
    {"lblHelp", "Help", "MenuHelp",
     {{"mlHelp", "Help", "", &TForm1::Help1Click},
      {"mlKeyboardReference", "Keyboard reference", "", &TForm1::KeyboardReference1Click},
      {"mlAbout", "About", "", &TForm1::lAboutClick}}},
};

} // namespace

void TForm1::buildMenus()
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
                Status(hint);
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
            Status(QString());
        });
        connect(label, &HoverLabel::left, this, [this, m] { menuLabelLeft(m); });
        menus[m] = {label, panel};
    }
    lOpen = menus[0].label;
    lblModules = menus[1].label;
    lblTools = menus[2].label;
    lblOptions = menus[3].label;
    lblHelp = menus[4].label;
    MenuPractise = menus[0].panel;
    MenuModules = menus[1].panel;
    MenuTools = menus[2].panel;
    MenuOptions = menus[3].panel;
    MenuHelp = menus[4].panel;

    Label10 = new QLabel(QStringLiteral("Korvana"), this);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setStyleSheet(QStringLiteral("color: grey; font-weight: bold;"));
    Label10->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const QString buttonStyle = QStringLiteral(
        "QPushButton { background: silver; border: 1px solid grey; font-size: 7pt; padding: 0; }"
        "QPushButton:hover { background: yellow; }");
    janColorButton1 = new QPushButton(QStringLiteral("x"), this);
    janColorButton1->setObjectName(QStringLiteral("janColorButton1"));
    janColorButton2 = new QPushButton(QStringLiteral("_"), this);
    janColorButton2->setObjectName(QStringLiteral("janColorButton2"));
    for (QPushButton *b : {janColorButton1, janColorButton2}) {
        b->setFixedSize(13, 13);
        b->setStyleSheet(buttonStyle);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(janColorButton1, &QPushButton::clicked, this, &TForm1::imgExitClick);
    connect(janColorButton2, &QPushButton::clicked, this, &TForm1::imgMinimizeClick);

    lLesson = new HoverLabel(QStringLiteral("NO LESSON LOADED"), this);
    lLesson->setObjectName(QStringLiteral("lLesson"));
    lLesson->setStyleSheet(QStringLiteral("color: white; background: teal; padding: 0 3px;"));
    lSession = new HoverLabel(QStringLiteral("NO SESSION LOADED"), this);
    lSession->setObjectName(QStringLiteral("lSession"));
    lSession->setStyleSheet(QStringLiteral("color: white; background: maroon; padding: 0 3px;"));
    lSession->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (HoverLabel *l : {lLesson, lSession})
        l->setCursor(Qt::PointingHandCursor);
    connect(lLesson, &HoverLabel::clicked, this, &TForm1::mlOpenClick);
    connect(lSession, &HoverLabel::clicked, this, &TForm1::mlOpenSessionClick);
    connect(lLesson, &HoverLabel::moved, this, [this] {
        Status(FCurrentLesson.isEmpty()
                   ? QStringLiteral("NO LESSON LOADED")
                   : korvana::shortenPath(FCurrentLesson, lStatus->font(), 350));
    });
    connect(lSession, &HoverLabel::moved, this, [this] {
        Status(FSessionFile.isEmpty()
                   ? QStringLiteral("NO SESSION LOADED")
                   : korvana::shortenPath(FSessionFile, lStatus->font(), 350));
    });
}

void TForm1::seraditmenu()
{
    int left = 4;
    for (const Menu &m : menus) {
        m.label->move(left, 2);
        left += m.label->width();
    }
    Label10->setGeometry(width() - 140, 2, 100, 16);
    janColorButton2->move(width() - 36, 4);
    janColorButton1->move(width() - 20, 4);
}

void TForm1::menuLabelEntered(int m)
{
    const Menu &menu = menus[m];
    menu.panel->move(menu.label->x(), menu.label->y() + menu.label->height());
    menu.panel->show();
    menu.panel->raise();
}

void TForm1::menuLabelLeft(int m)
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

void TForm1::menuPanelLeft(int m)
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

void TForm1::HideAllMenus()
{
    for (const Menu &m : menus) {
        if (!m.label)
            continue;
        m.label->setStyleSheet(QLatin1String(BarStyle));
        m.panel->hide();
    }
}

void TForm1::CheckLessonSessionLabels()
{
    lLesson->setText(FCurrentLesson.isEmpty() ? QStringLiteral("NO LESSON LOADED")
                                              : korvana::shortenPath(FCurrentLesson, lLesson->font(), 220));
    lSession->setText(FSessionFile.isEmpty() ? QStringLiteral("NO SESSION LOADED")
                                             : korvana::shortenPath(FSessionFile, lSession->font(), 220));
}

void TForm1::Enable(QAbstractButton *Button)
{
    Button->setStyleSheet(QStringLiteral("background: #8080FF;"));
    Button->setEnabled(true);
}

void TForm1::Disable(QAbstractButton *Button)
{
    Button->setStyleSheet(QString());
    Button->setEnabled(false);
}

void TForm1::imgExitClick()
{
    HideAllMenus();
    close();
}

void TForm1::imgMinimizeClick()
{
    showMinimized();
}

void TForm1::mlOpenClick()
{
    HideAllMenus();
    OpenFile(QStringLiteral("lesson"));
}

// Tools whose windows arrive later; each closes the menus as every command does.
void TForm1::Numbers1Click()
{
    HideAllMenus();
    ShowNumbersDialog();
}
void TForm1::SaveAsVocabulary1Click()
{
    HideAllMenus();
    korvana::Dialogs::instance().execModal(FormVocabulary);
}
void TForm1::mlDictionaryClick()
{
    HideAllMenus();
    // Modeless: the main window stays usable beside it.
    FormDict->show();
    FormDict->raise();
    FormDict->activateWindow();
}
void TForm1::mlTermsManagerClick()
{
    HideAllMenus();
    // Modal: the list is rebuilt from the lesson text each time it is shown,
    // and only the term table's states change while it is open.
    if (FormTermsManager)
        korvana::Dialogs::instance().execModal(FormTermsManager);
}
void TForm1::ChangeSkin()
{
    HideAllMenus();
    if (FormSelect) {
        FormSelect->show();
        FormSelect->raise();
        FormSelect->activateWindow();
    }
}
void TForm1::lAboutClick()
{
    HideAllMenus();
    if (FormAbout)
        korvana::Dialogs::instance().execModal(FormAbout);
}

void TForm1::mlReaderClick()
{
    HideAllMenus();
    if (FormAsocFile) {
        FormAsocFile->show();
        FormAsocFile->raise();
        FormAsocFile->activateWindow();
    }
}

void TForm1::KeyboardReference1Click()
{
    HideAllMenus();
    if (FormKeybRefer) {
        FormKeybRefer->show();
        FormKeybRefer->raise();
    }
}

// --- dragging the borderless window -------------------------------------------------

void TForm1::makeDraggable(QWidget *control)
{
    control->installEventFilter(this);
    control->setMouseTracking(true);
}

void TForm1::ZacinaDrag(QWidget *, QPoint pos)
{
    FDragX = pos.x();
    FDragY = pos.y();
    // The window system moves the window when it can (Wayland lets nothing
    // else move it); the moves below are for when it refuses.
    m_systemMove = korvana::startSystemMove(this);
}

void TForm1::BeziDrag(QWidget *, QPoint pos, Qt::MouseButtons buttons)
{
    if ((buttons & Qt::LeftButton) && !m_systemMove)
        move(x() - (FDragX - pos.x()), y() - (FDragY - pos.y()));
    // Held or not, the tool bar follows the main window.
    if (FormToolBar)
        FormToolBar->SetPosition();
}

void TForm1::KonciDrag()
{
    m_systemMove = false;
}

bool TForm1::eventFilter(QObject *watched, QEvent *e)
{
    for (int m = 0; m < 5; ++m) {
        if (watched == menus[m].panel && e->type() == QEvent::Leave) {
            menuPanelLeft(m);
            return false;
        }
    }
    auto *control = qobject_cast<QWidget *>(watched);
    if (control && (control == this || control == Label10 || control == PanelStatus || control == lStatus)) {
        // Handled here and not passed on to the parent, which would take the
        // same drag again in its own coordinates.
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto *me = static_cast<QMouseEvent *>(e);
            if (me->button() == Qt::LeftButton)
                ZacinaDrag(control, me->position().toPoint());
            return true;
        }
        case QEvent::MouseMove: {
            auto *me = static_cast<QMouseEvent *>(e);
            BeziDrag(control, me->position().toPoint(), me->buttons());
            return true;
        }
        case QEvent::MouseButtonRelease:
            KonciDrag();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, e);
}
