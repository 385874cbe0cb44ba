// The practice area of the main window: the four panes, the mode switches,
// the marks, the navigation and the counts.
#include "app/TForm1.h"
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

namespace {

// The window sees every key and wheel turn inside it before the focused
// control does, as its keyboard commands work wherever the focus stands.
class PracticeInput : public QObject {
public:
    explicit PracticeInput(TForm1 *form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        const QEvent::Type type = e->type();
        if (type != QEvent::KeyPress && type != QEvent::Wheel)
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || w->window() != m_form)
            return false;
        if (type == QEvent::Wheel) {
            // Handled here, so it never travels on to a parent (one turn is
            // one step) nor scrolls a pane.
            const int dy = static_cast<QWheelEvent *>(e)->angleDelta().y();
            if (dy < 0)
                m_form->FormMouseWheelDown();
            else if (dy > 0)
                m_form->FormMouseWheelUp();
            return true;
        }
        // A key that its first receiver ignores travels on to the parents;
        // only its first delivery is the window's: the focused control, or
        // the window itself when nothing inside it has the focus.
        QWidget *focus = QApplication::focusWidget();
        const bool first = focus && focus->window() == m_form ? w == focus : w == m_form;
        if (!first)
            return false;
        auto *ke = static_cast<QKeyEvent *>(e);
        m_form->FormKeyDown(ke->key(), ke->modifiers());
        return m_form->FormKeyPress(ke->key(), ke->text());
    }

private:
    TForm1 *m_form;
};

QTextEdit *paneView(QWidget *parent, const QString &name)
{
    auto *view = new QTextEdit(parent);
    view->setObjectName(name + QStringLiteral("View"));
    view->setReadOnly(true);
    view->setFocusPolicy(Qt::ClickFocus);
    return view;
}

} // namespace

void TForm1::buildPracticeControls()
{
    practice = std::make_unique<korvana::PracticeEngine>(StringGrid1);
    // Opening lessons rebuilds the lesson text; the table rows follow it.
    connect(reMain.document(), &QTextDocument::contentsChanged, this, [this] { TermTableChanged(); });
    connect(&reMain, &korvana::RichEdit::changed, this, [this] { TermTableChanged(); });

    auto makeEdit = [this](korvana::RichEdit *&edit, QTextEdit **view, const QString &name) {
        edit = new korvana::RichEdit(this);
        edit->setObjectName(name);
        if (view) {
            *view = paneView(this, name);
            edit->attachView(*view);
        }
    };
    makeEdit(reOrig, &reOrigView, QStringLiteral("reOrig"));
    makeEdit(rePin, &rePinView, QStringLiteral("rePin"));
    makeEdit(reChin, &reChinView, QStringLiteral("reChin"));
    makeEdit(reNotes, &reNotesView, QStringLiteral("reNotes"));
    makeEdit(reLine, nullptr, QStringLiteral("reLine"));
    makeEdit(RichEdit2, nullptr, QStringLiteral("RichEdit2"));

    auto box = [this](QCheckBox *&b, const QString &name, const QString &text, bool checked,
                      void (TForm1::*handler)()) {
        b = new QCheckBox(text, this);
        b->setObjectName(name);
        b->setChecked(checked);
        // After the start state is set, so that only later changes run it.
        connect(b, &QCheckBox::toggled, this, [this, handler] { (this->*handler)(); });
    };
    auto label = [this](korvana::ClickLabel *&l, const QString &name, const QString &text,
                        void (TForm1::*handler)()) {
        l = new korvana::ClickLabel(text, this);
        l->setObjectName(name);
        connect(l, &korvana::ClickLabel::clicked, this, [this, handler] { (this->*handler)(); });
    };

    // The mode boxes carry no text: their caption labels stand beside them.
    box(chbAuto, QStringLiteral("chbAuto"), QString(), false, &TForm1::chbAutoClick);
    box(chbNahodne, QStringLiteral("chbNahodne"), QString(), false, &TForm1::chbNahodneClick);
    box(chbWords, QStringLiteral("chbWords"), QString(), true, &TForm1::chbWordsClick);
    box(chbPhrases, QStringLiteral("chbPhrases"), QString(), true, &TForm1::chbPhrasesClick);
    box(chbDifficult, QStringLiteral("chbDifficult"), QString(), false, &TForm1::chbDifficultClick);
    box(chbSound, QStringLiteral("chbSound"), QString(), false, &TForm1::chbSoundClick);
    box(chbPicture, QStringLiteral("chbPicture"), QString(), false, &TForm1::chbPictureClick);
    box(chbFlash, QStringLiteral("chbFlash"), QString(), false, &TForm1::chbFlashClick);
    label(lblModeAuto, QStringLiteral("lblModeAuto"), QStringLiteral("Auto"), &TForm1::lblModeAutoClick);
    label(lblRandom, QStringLiteral("lblRandom"), QStringLiteral("Random"), &TForm1::lblRandomClick);
    label(lblWords, QStringLiteral("lblWords"), QStringLiteral("Words"), &TForm1::lblWordsClick);
    label(lblPhrase, QStringLiteral("lblPhrase"), QStringLiteral("Phrases"), &TForm1::lblPhraseClick);
    label(lblDifficult, QStringLiteral("lblDifficult"), QStringLiteral("Only difficult"), &TForm1::lblDifficultClick);
    lblPlaySounds = new korvana::ClickLabel(QStringLiteral("Play sounds"), this);
    lblPlaySounds->setObjectName(QStringLiteral("lblPlaySounds"));
    korvana::bindCaption(chbSound, lblPlaySounds);
    lblDisplPict = new korvana::ClickLabel(QStringLiteral("Display pictures"), this);
    lblDisplPict->setObjectName(QStringLiteral("lblDisplPict"));
    korvana::bindCaption(chbPicture, lblDisplPict);
    lblFlash = new korvana::ClickLabel(QStringLiteral("Brain Flash"), this);
    lblFlash->setObjectName(QStringLiteral("lblFlash"));
    korvana::bindCaption(chbFlash, lblFlash);

    box(chbOrig, QStringLiteral("chbOrig"), QStringLiteral("Translation"), true, &TForm1::chbOrigClick);
    box(chbPin, QStringLiteral("chbPin"), QStringLiteral("Pinyin"), true, &TForm1::chbPinClick);
    box(chbChin, QStringLiteral("chbChin"), QStringLiteral("Characters"), true, &TForm1::chbChinClick);
    box(chbNotes, QStringLiteral("chbNotes"), QStringLiteral("Notes"), true, &TForm1::chbNotesClick);

    label(lblUnskip, QStringLiteral("lblUnskip"), QStringLiteral("Reset"), &TForm1::lblUnskipClick);
    lblUnskip->setToolTip(QStringLiteral("Mark all as unlearned"));
    label(lblFirst, QStringLiteral("lblFirst"), QStringLiteral("First"), &TForm1::lblFirstClick);
    label(lblLast, QStringLiteral("lblLast"), QStringLiteral("Last"), &TForm1::lblLastClick);
    label(lblGo, QStringLiteral("lblGo"), QStringLiteral("Go"), &TForm1::lblGoClick);
    label(lblView, QStringLiteral("lblView"), QStringLiteral("View"), &TForm1::imgPictureClick);
    lblView->setToolTip(QStringLiteral("Display Associated Picture File"));
    lblView->hide();
    label(lblPlay, QStringLiteral("lblPlay"), QStringLiteral("Play"), &TForm1::imgSoundClick);
    lblPlay->setToolTip(QStringLiteral("Play Associated Sound File"));
    lblPlay->hide();

    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setToolTip(QStringLiteral("Not learned : Learned"));
    // Growing counts must not widen the window over the docked tool bar:
    // the label takes the row's free room, whatever its text.
    lblCount->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    bPrevious = new QPushButton(QStringLiteral("Previous"), this);
    bPrevious->setObjectName(QStringLiteral("bPrevious"));
    connect(bPrevious, &QPushButton::clicked, this, [this] { bPreviousClick(); });
    bNext = new QPushButton(QStringLiteral("Next"), this);
    bNext->setObjectName(QStringLiteral("bNext"));
    connect(bNext, &QPushButton::clicked, this, [this] { bNextClick(); });
    jbMarkLearned = new QPushButton(QStringLiteral("Learned"), this);
    jbMarkLearned->setObjectName(QStringLiteral("jbMarkLearned"));
    jbMarkLearned->setToolTip(QStringLiteral("Mark as learned"));
    connect(jbMarkLearned, &QPushButton::clicked, this, [this] { lblNoMoreClick(); });
    jbMarkUnlearned = new korvana::LatchButton(QStringLiteral("Unlearned"), this);
    jbMarkUnlearned->setObjectName(QStringLiteral("jbMarkUnlearned"));
    jbMarkUnlearned->setToolTip(QStringLiteral("Mark as unlearned"));
    connect(jbMarkUnlearned, &QPushButton::clicked, this, [this] { jbMarkUnlearnedclick(); });
    jbMarkDifficult = new korvana::LatchButton(QStringLiteral("Difficult"), this);
    jbMarkDifficult->setObjectName(QStringLiteral("jbMarkDifficult"));
    jbMarkDifficult->setToolTip(QStringLiteral("Mark as difficult"));
    connect(jbMarkDifficult, &QPushButton::clicked, this, [this] { jbMarkDifficultclick(); });
    const QString markStyle = QStringLiteral(
        "QPushButton { background: silver; } QPushButton:hover { background: yellow; }"
        " QPushButton:checked { background: lime; }");
    for (QPushButton *b : {jbMarkLearned, static_cast<QPushButton *>(jbMarkUnlearned),
                           static_cast<QPushButton *>(jbMarkDifficult)})
        b->setStyleSheet(markStyle);

    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    // Layout: the panes stacked top to bottom, the switches and commands in
    // rows beneath them.
    auto *panes = new QVBoxLayout;
    for (QTextEdit *v : {reOrigView, rePinView, reChinView, reNotesView})
        panes->addWidget(v);

    // "[Options]" beside the automatic mode opens the options on its page.
    lSetAuto = new korvana::ClickLabel(QStringLiteral("[Options]"), this);
    lSetAuto->setObjectName(QStringLiteral("lSetAuto"));
    connect(lSetAuto, &korvana::ClickLabel::clicked, this, [this] { lSetAutoClick(); });
    // The switches stand in three frames: Mode (order), Show (filters) and
    // Auto (what each shown term brings along).
    QHBoxLayout *modeRow = buildSkinFrame(shMode, lblMode, QStringLiteral("shMode"), QStringLiteral("lblMode"),
                                          QStringLiteral("Mode:"));
    QHBoxLayout *showRow = buildSkinFrame(shShow, lblShow, QStringLiteral("shShow"), QStringLiteral("lblShow"),
                                          QStringLiteral("Show:"));
    QHBoxLayout *autoRow = buildSkinFrame(shAuto, lblAuto, QStringLiteral("shAuto"), QStringLiteral("lblAuto"),
                                          QStringLiteral("Auto:"));
    if (bottomRow && chbRead) {
        bottomRow->removeWidget(chbRead);
        bottomRow->removeWidget(lblReadAloud);
    }
    const struct {
        QHBoxLayout *row;
        QCheckBox *box;
        QWidget *caption;
    } pairs[] = {{modeRow, chbNahodne, lblRandom},    {modeRow, chbAuto, lblModeAuto},
                 {showRow, chbWords, lblWords},       {showRow, chbPhrases, lblPhrase},
                 {showRow, chbDifficult, lblDifficult}, {autoRow, chbPicture, lblDisplPict},
                 {autoRow, chbSound, lblPlaySounds},  {autoRow, chbRead, lblReadAloud},
                 {autoRow, chbFlash, lblFlash}};
    for (const auto &[row, b, l] : pairs) {
        if (!b)
            continue;
        row->addSpacing(6);
        row->addWidget(b);
        row->addWidget(l);
        if (l == lblModeAuto)
            row->addWidget(lSetAuto);
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
    for (QCheckBox *b : {chbOrig, chbPin, chbChin, chbNotes})
        paneBoxes->addWidget(b);
    paneBoxes->addStretch();
    paneBoxes->addWidget(lblView);
    paneBoxes->addWidget(lblPlay);

    auto *commands = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{bPrevious, bNext, jbMarkLearned, jbMarkUnlearned,
                                                       jbMarkDifficult, lblUnskip, lblFirst, lblLast, lblGo})
        commands->addWidget(w);
    if (eLineNr)
        commands->addWidget(eLineNr);
    commands->addWidget(lblCount, 1);

    if (mainLayout) {
        mainLayout->addLayout(panes, 1);
        mainLayout->addLayout(paneBoxes);
        mainLayout->addLayout(switches);
        mainLayout->addLayout(commands);
    }

    qApp->installEventFilter(new PracticeInput(this));
}

bool TForm1::FormKeyPress(int Key, const QString &Text)
{
    return korvana::dropsTypedCharacter(Key, Text);
}

void TForm1::FormKeyDown(int Key, Qt::KeyboardModifiers Shift)
{
    using korvana::KeyCommand;
    switch (korvana::keyCommand(Key, Shift)) {
    case KeyCommand::None:
        break;
    case KeyCommand::Next:
        bNextClick();
        break;
    case KeyCommand::ReadAloud:
        jbReadclick();
        break;
    case KeyCommand::Previous:
        bPreviousClick();
        break;
    case KeyCommand::MarkLearned:
        lblNoMoreClick();
        break;
    case KeyCommand::PlaySound:
        imgSoundClick();
        break;
    case KeyCommand::TogglePicture:
        imgPictureClick();
        break;
    case KeyCommand::MarkDifficult:
        jbMarkDifficultclick();
        break;
    case KeyCommand::FlashNow:
        Flash(true);
        break;
    case KeyCommand::ShowAllPanes:
        ToggleShowHide();
        break;
    case KeyCommand::HelpContents:
        ShowHelpContents();
        break;
    case KeyCommand::SwitchOrig:
        OrigSwitch();
        ZrusitRollback();
        break;
    case KeyCommand::SwitchPin:
        PinSwitch();
        ZrusitRollback();
        break;
    case KeyCommand::SwitchChin:
        ChinSwitch();
        ZrusitRollback();
        break;
    case KeyCommand::SwitchNotes:
        NoteSwitch();
        ZrusitRollback();
        break;
    case KeyCommand::OpenLessons:
        OpenFile(QStringLiteral("lesson"));
        break;
    }
}

void TForm1::FormMouseWheelDown()
{
    bNextClick();
}

void TForm1::FormMouseWheelUp()
{
    bPreviousClick();
}
