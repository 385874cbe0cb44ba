// The practice area of the main window: the four panes, the mode switches,
// the marks, the navigation and the counts.
#include "app/FlashRunner.h"
#include "app/HiddenPanes.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/OptionsRoundTrip.h"
#include "app/TermMedia.h"
#include "app/WindowSkin.h"
#include "practice/PracticeKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

using korvana::Pane;

namespace {

// The window sees every key and wheel turn inside it before the focused
// control does, as its keyboard commands work wherever the focus stands.
class PracticeInput : public QObject {
public:
    explicit PracticeInput(MainWindow *window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        const QEvent::Type type = e->type();
        if (type != QEvent::KeyPress && type != QEvent::Wheel)
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || w->window() != m_window)
            return false;
        if (type == QEvent::Wheel) {
            // Handled here, so it never travels on to a parent (one turn is
            // one step) nor scrolls a pane.
            const int dy = static_cast<QWheelEvent *>(e)->angleDelta().y();
            if (dy < 0)
                m_window->onWheelDown();
            else if (dy > 0)
                m_window->onWheelUp();
            return true;
        }
        // A key that its first receiver ignores travels on to the parents;
        // only its first delivery is the window's: the focused control, or
        // the window itself when nothing inside it has the focus.
        QWidget *focus = QApplication::focusWidget();
        const bool first = focus && focus->window() == m_window ? w == focus : w == m_window;
        if (!first)
            return false;
        auto *ke = static_cast<QKeyEvent *>(e);
        m_window->onKeyDown(ke->key(), ke->modifiers());
        return m_window->onKeyPress(ke->key(), ke->text());
    }

private:
    MainWindow *m_window;
};

// The caption of a pane's "Show:" box.
QString paneCaption(Pane pane)
{
    switch (pane) {
    case Pane::Translation:
        return QStringLiteral("Translation");
    case Pane::Pinyin:
        return QStringLiteral("Pinyin");
    case Pane::Characters:
        return QStringLiteral("Characters");
    case Pane::Notes:
        return QStringLiteral("Notes");
    }
    return {};
}

QTextEdit *paneView(QWidget *parent, const QString &name)
{
    auto *view = new QTextEdit(parent);
    view->setObjectName(name);
    view->setReadOnly(true);
    view->setFocusPolicy(Qt::ClickFocus);
    return view;
}

} // namespace

void MainWindow::buildPracticeControls()
{
    m_practice = std::make_unique<korvana::PracticeEngine>(m_termTable);
    // Opening lessons rebuilds the lesson text; the table rows follow it.
    connect(m_lessonText.document(), &QTextDocument::contentsChanged, this, [this] { termTableChanged(); });
    connect(&m_lessonText, &korvana::RichEdit::changed, this, [this] { termTableChanged(); });

    // Each pane's document is named "<pane>Text", its view "<pane>View" and
    // its box "<pane>Switch".
    auto makeEdit = [this](korvana::RichEdit *&edit, QTextEdit **view, const QString &pane) {
        edit = new korvana::RichEdit(this);
        edit->setObjectName(pane + QStringLiteral("Text"));
        if (view) {
            *view = paneView(this, pane + QStringLiteral("View"));
            edit->attachView(*view);
        }
    };
    for (Pane p : korvana::allPanes)
        makeEdit(panes[p].text, &panes[p].view, korvana::paneName(p));
    makeEdit(termLineText, nullptr, QStringLiteral("termLine"));
    makeEdit(termCharactersText, nullptr, QStringLiteral("termCharacters"));

    auto box = [this](QCheckBox *&b, const QString &name, const QString &text, bool checked,
                      void (MainWindow::*handler)()) {
        b = new QCheckBox(text, this);
        b->setObjectName(name);
        b->setChecked(checked);
        // After the start state is set, so that only later changes run it.
        connect(b, &QCheckBox::toggled, this, [this, handler] { (this->*handler)(); });
    };
    // The handler: a member of the window, or a function.
    auto label = [this](korvana::ClickLabel *&l, const QString &name, const QString &text, auto handler) {
        l = new korvana::ClickLabel(text, this);
        l->setObjectName(name);
        connect(l, &korvana::ClickLabel::clicked, this, handler);
    };

    // The mode boxes carry no text: their caption labels stand beside them.
    box(autoSwitch, QStringLiteral("autoSwitch"), QString(), false, &MainWindow::autoSwitchClicked);
    box(randomSwitch, QStringLiteral("randomSwitch"), QString(), false, &MainWindow::randomSwitchClicked);
    box(wordsSwitch, QStringLiteral("wordsSwitch"), QString(), true, &MainWindow::wordsSwitchClicked);
    box(phrasesSwitch, QStringLiteral("phrasesSwitch"), QString(), true, &MainWindow::phrasesSwitchClicked);
    box(difficultSwitch, QStringLiteral("difficultSwitch"), QString(), false, &MainWindow::difficultSwitchClicked);
    box(soundSwitch, QStringLiteral("soundSwitch"), QString(), false, &MainWindow::soundSwitchClicked);
    box(pictureSwitch, QStringLiteral("pictureSwitch"), QString(), false, &MainWindow::pictureSwitchClicked);
    box(flashSwitch, QStringLiteral("flashSwitch"), QString(), false, &MainWindow::flashSwitchClicked);
    label(autoSwitchLabel, QStringLiteral("autoSwitchLabel"), QStringLiteral("Auto"),
          &MainWindow::autoSwitchLabelClicked);
    label(randomSwitchLabel, QStringLiteral("randomSwitchLabel"), QStringLiteral("Random"),
          &MainWindow::randomSwitchLabelClicked);
    label(wordsSwitchLabel, QStringLiteral("wordsSwitchLabel"), QStringLiteral("Words"),
          &MainWindow::wordsSwitchLabelClicked);
    label(phrasesSwitchLabel, QStringLiteral("phrasesSwitchLabel"), QStringLiteral("Phrases"),
          &MainWindow::phrasesSwitchLabelClicked);
    label(difficultSwitchLabel, QStringLiteral("difficultSwitchLabel"), QStringLiteral("Only difficult"),
          &MainWindow::difficultSwitchLabelClicked);
    soundSwitchLabel = new korvana::ClickLabel(QStringLiteral("Play sounds"), this);
    soundSwitchLabel->setObjectName(QStringLiteral("soundSwitchLabel"));
    korvana::bindCaption(soundSwitch, soundSwitchLabel);
    pictureSwitchLabel = new korvana::ClickLabel(QStringLiteral("Display pictures"), this);
    pictureSwitchLabel->setObjectName(QStringLiteral("pictureSwitchLabel"));
    korvana::bindCaption(pictureSwitch, pictureSwitchLabel);
    flashSwitchLabel = new korvana::ClickLabel(QStringLiteral("Brain Flash"), this);
    flashSwitchLabel->setObjectName(QStringLiteral("flashSwitchLabel"));
    korvana::bindCaption(flashSwitch, flashSwitchLabel);

    for (Pane p : korvana::allPanes) {
        QCheckBox *&b = panes[p].box;
        b = new QCheckBox(paneCaption(p), this);
        b->setObjectName(korvana::paneName(p) + QStringLiteral("Switch"));
        b->setChecked(true);
        connect(b, &QCheckBox::toggled, this, [this, p] { paneSwitchClicked(p); });
    }

    label(unskipLabel, QStringLiteral("unskipLabel"), QStringLiteral("Reset"), &MainWindow::unskipLabelClicked);
    unskipLabel->setToolTip(QStringLiteral("Mark all as unlearned"));
    label(firstLabel, QStringLiteral("firstLabel"), QStringLiteral("First"), &MainWindow::firstLabelClicked);
    label(lastLabel, QStringLiteral("lastLabel"), QStringLiteral("Last"), &MainWindow::lastLabelClicked);
    label(goLabel, QStringLiteral("goLabel"), QStringLiteral("Go"), &MainWindow::goLabelClicked);
    label(viewPictureLabel, QStringLiteral("viewPictureLabel"), QStringLiteral("View"),
          [this] { m_media->togglePicture(); });
    viewPictureLabel->setToolTip(QStringLiteral("Display Associated Picture File"));
    viewPictureLabel->hide();
    korvana::keepRoomWhenHidden(viewPictureLabel);
    label(playSoundLabel, QStringLiteral("playSoundLabel"), QStringLiteral("Play"), [this] { m_media->toggleSound(); });
    playSoundLabel->setToolTip(QStringLiteral("Play Associated Sound File"));
    playSoundLabel->hide();
    korvana::keepRoomWhenHidden(playSoundLabel);

    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    countLabel->setToolTip(QStringLiteral("Not learned : Learned"));
    // Growing counts must not widen the window over the docked tool bar:
    // the label takes the row's free room, whatever its text.
    countLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    countLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    previousButton = new QPushButton(QStringLiteral("Previous"), this);
    previousButton->setObjectName(QStringLiteral("previousButton"));
    connect(previousButton, &QPushButton::clicked, this, [this] { previousButtonClicked(); });
    nextButton = new QPushButton(QStringLiteral("Next"), this);
    nextButton->setObjectName(QStringLiteral("nextButton"));
    connect(nextButton, &QPushButton::clicked, this, [this] { nextButtonClicked(); });
    markLearnedButton = new QPushButton(QStringLiteral("Learned"), this);
    markLearnedButton->setObjectName(QStringLiteral("markLearnedButton"));
    markLearnedButton->setToolTip(QStringLiteral("Mark as learned"));
    connect(markLearnedButton, &QPushButton::clicked, this, [this] { markLearnedButtonClicked(); });
    markUnlearnedButton = new korvana::LatchButton(QStringLiteral("Unlearned"), this);
    markUnlearnedButton->setObjectName(QStringLiteral("markUnlearnedButton"));
    markUnlearnedButton->setToolTip(QStringLiteral("Mark as unlearned"));
    connect(markUnlearnedButton, &QPushButton::clicked, this, [this] { markUnlearnedButtonClicked(); });
    markDifficultButton = new korvana::LatchButton(QStringLiteral("Difficult"), this);
    markDifficultButton->setObjectName(QStringLiteral("markDifficultButton"));
    markDifficultButton->setToolTip(QStringLiteral("Mark as difficult"));
    connect(markDifficultButton, &QPushButton::clicked, this, [this] { markDifficultButtonClicked(); });
    const QString markStyle =
        QStringLiteral("QPushButton { background: silver; } QPushButton:hover { background: yellow; }"
                       " QPushButton:checked { background: lime; }");
    for (QPushButton *b : {markLearnedButton, static_cast<QPushButton *>(markUnlearnedButton),
                           static_cast<QPushButton *>(markDifficultButton)})
        b->setStyleSheet(markStyle);

    connect(autoTimer, &QTimer::timeout, this, [this] { autoTimerTimeout(); });

    // Layout: the panes stacked top to bottom, the switches and commands in
    // rows beneath them.
    auto *paneColumn = new QVBoxLayout;
    for (const PaneControls &p : panes)
        paneColumn->addWidget(p.view);

    // "[Options]" beside the automatic mode opens the options on its page.
    autoOptionsLabel = new korvana::ClickLabel(QStringLiteral("[Options]"), this);
    autoOptionsLabel->setObjectName(QStringLiteral("autoOptionsLabel"));
    connect(autoOptionsLabel, &korvana::ClickLabel::clicked, this, [this] { m_options->autoOptionsLabelClicked(); });
    // The switches stand in three frames: Mode (order), Show (filters) and
    // Auto (what each shown term brings along).
    QHBoxLayout *modeRow = m_skin->buildFrame(modeFrame, modeFrameLabel, QStringLiteral("modeFrame"),
                                              QStringLiteral("modeFrameLabel"), QStringLiteral("Mode:"));
    QHBoxLayout *showRow = m_skin->buildFrame(panesFrame, panesFrameLabel, QStringLiteral("panesFrame"),
                                              QStringLiteral("panesFrameLabel"), QStringLiteral("Show:"));
    QHBoxLayout *autoRow = m_skin->buildFrame(autoFrame, autoFrameLabel, QStringLiteral("autoFrame"),
                                              QStringLiteral("autoFrameLabel"), QStringLiteral("Auto:"));
    if (bottomRow && readSwitch) {
        bottomRow->removeWidget(readSwitch);
        bottomRow->removeWidget(readAloudLabel);
    }
    const struct {
        QHBoxLayout *row;
        QCheckBox *box;
        QWidget *caption;
    } pairs[] = {{modeRow, randomSwitch, randomSwitchLabel},       {modeRow, autoSwitch, autoSwitchLabel},
                 {showRow, wordsSwitch, wordsSwitchLabel},         {showRow, phrasesSwitch, phrasesSwitchLabel},
                 {showRow, difficultSwitch, difficultSwitchLabel}, {autoRow, pictureSwitch, pictureSwitchLabel},
                 {autoRow, soundSwitch, soundSwitchLabel},         {autoRow, readSwitch, readAloudLabel},
                 {autoRow, flashSwitch, flashSwitchLabel}};
    for (const auto &[row, b, l] : pairs) {
        if (!b)
            continue;
        row->addSpacing(6);
        row->addWidget(b);
        row->addWidget(l);
        if (l == autoSwitchLabel)
            row->addWidget(autoOptionsLabel);
    }
    auto *switches = new QVBoxLayout;
    switches->setSpacing(3);
    auto *modeAndShow = new QHBoxLayout;
    modeAndShow->addLayout(modeRow);
    modeAndShow->addSpacing(8);
    modeAndShow->addLayout(showRow);
    modeAndShow->addStretch();
    auto *autoLine = new QHBoxLayout;
    autoLine->addLayout(autoRow);
    autoLine->addStretch();
    switches->addLayout(modeAndShow);
    switches->addLayout(autoLine);

    auto *paneBoxes = new QHBoxLayout;
    for (const PaneControls &p : panes)
        paneBoxes->addWidget(p.box);
    paneBoxes->addStretch();
    paneBoxes->addWidget(viewPictureLabel);
    paneBoxes->addWidget(playSoundLabel);

    auto *commands = new QHBoxLayout;
    for (QWidget *w :
         std::initializer_list<QWidget *>{previousButton, nextButton, markLearnedButton, markUnlearnedButton,
                                          markDifficultButton, unskipLabel, firstLabel, lastLabel, goLabel})
        commands->addWidget(w);
    if (termNumberEdit)
        commands->addWidget(termNumberEdit);
    commands->addWidget(countLabel, 1);

    if (mainLayout) {
        mainLayout->addLayout(paneColumn, 1);
        mainLayout->addLayout(paneBoxes);
        mainLayout->addLayout(switches);
        mainLayout->addLayout(commands);
    }

    qApp->installEventFilter(new PracticeInput(this));
}

bool MainWindow::onKeyPress(int key, const QString &text)
{
    return korvana::dropsTypedCharacter(key, text);
}

void MainWindow::onKeyDown(int key, Qt::KeyboardModifiers shift)
{
    using korvana::KeyCommand;
    const KeyCommand command = korvana::keyCommand(key, shift);
    switch (command) {
    case KeyCommand::None:
        break;
    case KeyCommand::Next:
        nextButtonClicked();
        break;
    case KeyCommand::ReadAloud:
        m_media->readButtonClicked();
        break;
    case KeyCommand::Previous:
        previousButtonClicked();
        break;
    case KeyCommand::MarkLearned:
        markLearnedButtonClicked();
        break;
    case KeyCommand::PlaySound:
        m_media->toggleSound();
        break;
    case KeyCommand::TogglePicture:
        m_media->togglePicture();
        break;
    case KeyCommand::MarkDifficult:
        markDifficultButtonClicked();
        break;
    case KeyCommand::FlashNow:
        m_flash->flash(true);
        break;
    case KeyCommand::ShowAllPanes:
        m_hiddenPanes->toggleShowAll();
        break;
    case KeyCommand::HelpContents:
        showHelpContents();
        break;
    case KeyCommand::ToggleTranslation:
    case KeyCommand::TogglePinyin:
    case KeyCommand::ToggleCharacters:
    case KeyCommand::ToggleNotes:
        m_hiddenPanes->togglePane(*korvana::toggledPane(command));
        m_hiddenPanes->dropPaneRestore();
        break;
    case KeyCommand::OpenLessons:
        m_lessonFiles->openLessonFiles(OpenMode::Lesson);
        break;
    }
}

void MainWindow::onWheelDown()
{
    nextButtonClicked();
}

void MainWindow::onWheelUp()
{
    previousButtonClicked();
}
