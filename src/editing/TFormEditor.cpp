#include "editing/TFormEditor.h"
#include "app/TForm1.h"
#include "editing/TFormAssociateRTF.h"
#include "lessons/LessonLine.h"
#include "lessons/LinkedFiles.h"
#include "platform/keyboard/KeyboardLayouts.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "platform/ui/Integers.h"
#include "practice/PracticeControls.h"
#include "settings/TFormOptions.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

using korvana::Dialogs;
using korvana::MsgButtons;
using korvana::MsgIcon;
using korvana::MsgResult;
using korvana::RichEdit;

TFormEditor *FormEditor = nullptr;

namespace {

// What a term's value cannot hold and still read back as written: ">" ends
// the value, and a tag opening ("<" + two letters + "=") is found by the
// readers wherever it stands in the line. The positions of the characters
// left out: every ">" and the "=" of every tag opening.
bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

QList<int> tagTextPositions(const QString &text)
{
    QList<int> at;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'>')
            at.append(i);
        else if (text[i] == u'=' && i >= 3 && text[i - 3] == u'<' && isAsciiLetter(text[i - 2]) &&
                 isAsciiLetter(text[i - 1]))
            at.append(i);
    }
    return at;
}

const char *const kTagTextRefused = "A term cannot hold \">\" or tag text such as \"<ST=\"; it was left out.";

// Marks the editor as filling its own fields for the scope.
class ShowingScope {
public:
    explicit ShowingScope(bool &flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~ShowingScope() { m_flag = m_old; }

private:
    bool &m_flag;
    bool m_old;
};

QTextEdit *makeFieldView(QWidget *parent, const QString &name, int height)
{
    auto *view = new QTextEdit(parent);
    view->setObjectName(name);
    view->setLineWrapMode(QTextEdit::NoWrap);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setFixedHeight(height);
    view->setTabChangesFocus(true);
    return view;
}

} // namespace

TFormEditor::TFormEditor(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormEditor"));
    setWindowTitle(QStringLiteral("Lesson editor"));
    buildControls();
    FormCreate();
}

TFormEditor::~TFormEditor()
{
    // The views go with the window; detach them from the documents first.
    for (RichEdit *e : {reEdOrig, reEdPin, reEdChin, reEdNote})
        e->attachView(nullptr);
}

void TFormEditor::buildControls()
{
    reLes = new RichEdit(this);
    reLine = new RichEdit(this);
    reMezi = new RichEdit(this);
    reUF = new RichEdit(this);
    reRest = new RichEdit(this);
    reLes->setWordWrap(false);
    reLine->setWordWrap(false);
    reRest->setWordWrap(false);

    auto *layout = new QGridLayout(this);
    int row = 0;

    struct FieldSpec {
        RichEdit **edit;
        QTextEdit **view;
        QComboBox **layouts;
        const char *name;
        const char *caption;
        const char *font;
        int height;
    };
    const FieldSpec specs[] = {
        {&reEdOrig, &reEdOrigView, &cbOrig, "reEdOrig", "Translation", "Times New Roman", 34},
        {&reEdPin, &reEdPinView, &cbPin, "reEdPin", "Pin Yin", "Arial", 34},
        {&reEdChin, &reEdChinView, &cbChin, "reEdChin", "Chinese", "SimSun", 60},
        {&reEdNote, &reEdNoteView, &cbNote, "reEdNote", "Notes", "Times New Roman", 34},
    };
    for (const FieldSpec &s : specs) {
        *s.edit = new RichEdit(this);
        (*s.edit)->setWordWrap(false);
        *s.view = makeFieldView(this, QString::fromLatin1(s.name) + QStringLiteral("View"), s.height);
        (*s.edit)->attachView(*s.view);
        QFont f((*s.view)->font());
        f.setFamily(QString::fromLatin1(s.font));
        (*s.view)->setFont(f);
        (*s.edit)->document()->setDefaultFont(f);
        (*s.view)->installEventFilter(this);
        *s.layouts = new QComboBox(this);
        (*s.layouts)->setToolTip(QStringLiteral("Keyboard Layout"));
        layout->addWidget(new QLabel(QString::fromLatin1(s.caption), this), row, 0);
        layout->addWidget(*s.view, row, 1, 1, 3);
        layout->addWidget(*s.layouts, row, 4);
        ++row;
        RichEdit *field = *s.edit;
        connect(field, &RichEdit::changed, this, [this, field] {
            refuseTagText(field);
            reEdOrigChange();
        });
    }
    reEdChin->setAlignment(korvana::TextAlignment::Right);

    auto *typeBox = new QGroupBox(QStringLiteral("Type:"), this);
    auto *typeLayout = new QVBoxLayout(typeBox);
    rbWord = new QRadioButton(QStringLiteral("Word"), typeBox);
    rbPhrase = new QRadioButton(QStringLiteral("Phrase"), typeBox);
    typeLayout->addWidget(rbWord);
    typeLayout->addWidget(rbPhrase);
    rbWord->setChecked(true);
    for (QRadioButton *b : {rbWord, rbPhrase})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rbWordClick();
        });

    auto *stateBox = new QGroupBox(QStringLiteral("State:"), this);
    auto *stateLayout = new QVBoxLayout(stateBox);
    rbLearned = new QRadioButton(QStringLiteral("Learned"), stateBox);
    rbUnlearned = new QRadioButton(QStringLiteral("Unlearned"), stateBox);
    rbDifficult = new QRadioButton(QStringLiteral("Difficult"), stateBox);
    for (QRadioButton *b : {rbLearned, rbUnlearned, rbDifficult}) {
        stateLayout->addWidget(b);
        // A changed state is a change of the term like any other, so that
        // the next move puts it back and closing asks to save it.
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on && !m_showing) {
                FTermModified = true;
                FLessonModified = true;
            }
        });
    }
    layout->addWidget(typeBox, row, 0, 1, 2);
    layout->addWidget(stateBox, row, 2, 1, 2);
    ++row;

    auto *assoc = new QGroupBox(QStringLiteral("Associate:"), this);
    auto *assocLayout = new QGridLayout(assoc);
    edSound = new QLineEdit(assoc);
    edPicture = new QLineEdit(assoc);
    SpeedButton1 = new QPushButton(QStringLiteral("..."), assoc);
    SpeedButton2 = new QPushButton(QStringLiteral("..."), assoc);
    assocLayout->addWidget(new QLabel(QStringLiteral("Sound "), assoc), 0, 0);
    assocLayout->addWidget(edSound, 0, 1);
    assocLayout->addWidget(SpeedButton1, 0, 2);
    assocLayout->addWidget(new QLabel(QStringLiteral("Picture "), assoc), 1, 0);
    assocLayout->addWidget(edPicture, 1, 1);
    assocLayout->addWidget(SpeedButton2, 1, 2);
    connect(edSound, &QLineEdit::textChanged, this, [this] {
        refuseTagText(edSound);
        edSoundChange();
    });
    connect(edPicture, &QLineEdit::textChanged, this, [this] {
        refuseTagText(edPicture);
        edSoundChange();
    });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    layout->addWidget(assoc, row, 0, 1, 5);
    ++row;

    auto *links = new QGroupBox(QStringLiteral("Link RTF File"), this);
    auto *linkLayout = new QGridLayout(links);
    lbLink = new QListWidget(links);
    lblNew = new korvana::ClickLabel(QStringLiteral("New"), links);
    lblEdit = new korvana::ClickLabel(QStringLiteral("Edit"), links);
    lblDelete = new korvana::ClickLabel(QStringLiteral("Delete"), links);
    linkLayout->addWidget(lbLink, 0, 0, 3, 1);
    linkLayout->addWidget(lblNew, 0, 1);
    linkLayout->addWidget(lblEdit, 1, 1);
    linkLayout->addWidget(lblDelete, 2, 1);
    auto *note = new QLabel(QStringLiteral("RTF files are linked to the whole lesson while sounds and pictures "
                                           "are associated with  particular terms."),
                            links);
    note->setWordWrap(true);
    linkLayout->addWidget(note, 3, 0, 1, 2);
    connect(lblNew, &korvana::ClickLabel::clicked, this, [this] { bOpenLinkClick(); });
    connect(lblEdit, &korvana::ClickLabel::clicked, this, [this] { lblEditClick(); });
    connect(lblDelete, &korvana::ClickLabel::clicked, this, [this] { lblDeleteClick(); });
    layout->addWidget(links, row, 0, 1, 5);
    ++row;

    auto *nav = new QHBoxLayout;
    eNr = new QLineEdit(QStringLiteral("0"), this);
    eNr->setMaximumWidth(60);
    lblGo = new korvana::ClickLabel(QStringLiteral("Go"), this);
    nav->addWidget(new QLabel(QStringLiteral("Term Nr.:"), this));
    nav->addWidget(eNr);
    nav->addWidget(lblGo);
    connect(eNr, &QLineEdit::returnPressed, this, [this] { GoToNumber(); });
    connect(lblGo, &korvana::ClickLabel::clicked, this, [this] { lblGoClick(); });
    for (korvana::ClickLabel *l : {lblGo, lblNew, lblEdit, lblDelete})
        l->installEventFilter(this);

    auto button = [this, nav](QPushButton *&b, const char *text, void (TFormEditor::*handler)()) {
        b = new QPushButton(QString::fromLatin1(text), this);
        b->setFlat(true);
        nav->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    button(bPrevious, "< previous", &TFormEditor::bPreviousClick);
    button(bNext, "next >", &TFormEditor::bNextClick);
    button(bNew, "new", &TFormEditor::bNewClick);
    button(bDelete, "delete", &TFormEditor::bDeleteClick);
    button(bSave, "save", &TFormEditor::bSaveClick);
    button(bClose, "close", &TFormEditor::bCloseClick);
    button(bEditorOptions, "editor options", &TFormEditor::bEditorOptionsClick);
    layout->addLayout(nav, row, 0, 1, 5);
    buildPinyinPanel();
}

// --- life ----------------------------------------------------------------------------------

void TFormEditor::FormCreate()
{
    fillLayoutLists();
    FLinkFiles.clear();
}

bool TFormEditor::event(QEvent *e)
{
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    else if (e->type() == QEvent::WindowDeactivate)
        // An input method switched for a field is the whole desktop's: the
        // other windows get theirs back. Coming back, the field's enter
        // handler switches again.
        korvana::KeyboardLayouts::instance().restore();
    return handled;
}

// The title bar and "close" take the same road: unsaved edits are asked
// about, and the main window reopens its lessons so that it shows them.
void TFormEditor::closeEvent(QCloseEvent *e)
{
    if (m_closing) {
        e->ignore();
        return;
    }
    m_closing = true;
    const bool go = mayClose();
    m_closing = false;
    if (!go) {
        e->ignore();
        return;
    }
    // The input method is the whole desktop's: the user's own comes back.
    korvana::KeyboardLayouts::instance().restore();
    FormClose();
    QWidget::closeEvent(e);
    hide();
    if (Form1)
        Form1->OpenFile(QStringLiteral("tempsession"));
}

void TFormEditor::FormClose()
{
    if (Form1)
        Form1->FEditorLoadPending = true;
}

void TFormEditor::setDefaultFont(RichEdit *field, QTextEdit *view, const QString &family, double size)
{
    QFont f = field->document()->defaultFont();
    if (!family.isEmpty())
        f.setFamily(family);
    if (size > 0)
        f.setPointSizeF(size);
    field->document()->setDefaultFont(f);
    if (view)
        view->setCurrentCharFormat(QTextCharFormat());
}

void TFormEditor::FormActivate()
{
    if (!Form1 || !Form1->FEditorLoadPending)
        return;
    const ShowingScope showing(m_showing);

    // Each field reads in the direction of its pane in the main window.
    const struct {
        RichEdit *field;
        QTextEdit *view;
        RichEdit *pane;
        QTextEdit *paneView;
    } panes[] = {{reEdOrig, reEdOrigView, Form1->reOrig, Form1->reOrigView},
                 {reEdPin, reEdPinView, Form1->rePin, Form1->rePinView},
                 {reEdChin, reEdChinView, Form1->reChin, Form1->reChinView},
                 {reEdNote, reEdNoteView, Form1->reNotes, Form1->reNotesView}};
    for (const auto &p : panes) {
        if (p.paneView)
            p.view->setLayoutDirection(p.paneView->layoutDirection());
        if (p.pane)
            p.field->setAlignment(p.pane->alignment());
    }

    reEdOrig->clear();
    setDefaultFont(reEdOrig, reEdOrigView, QString(), Form1->FFontsizeTranslation);
    reEdPin->clear();
    setDefaultFont(reEdPin, reEdPinView, QStringLiteral("Times New Roman"), Form1->FFontsizePinyin);
    reEdChin->clear();
    setDefaultFont(reEdChin, reEdChinView, Form1->FSetKanjiFont ? Form1->FKanjiFont : QString(),
                   Form1->FFontsizeKanji);
    {
        QFont f = reEdChinView->font();
        if (Form1->FFontsizeKanji > 0)
            f.setPointSize(Form1->FFontsizeKanji);
        if (Form1->FSetKanjiFont && !Form1->FKanjiFont.isEmpty())
            f.setFamily(Form1->FKanjiFont);
        reEdChinView->setFont(f);
    }
    reEdNote->clear();
    setDefaultFont(reEdNote, reEdNoteView, QString(), Form1->FFontsizeNotes);

    FLinkFiles.clear();
    lbLink->clear();

    if (!FFileName.isEmpty()) {
        try {
            OpenFile();
        } catch (const std::exception &e) {
            // Nothing of another lesson may stay behind to be saved under
            // this file's name: the editor is emptied and put away, and the
            // load is tried again the next time it is shown.
            // Hidden before the message, so that the message's closing
            // cannot activate the editor into another attempt.
            reLes->clear();
            FLinkFiles.clear();
            lbLink->clear();
            FLessonModified = false;
            FTermModified = false;
            hide();
            Dialogs::instance().message(Form1, korvana::errorText(e), MsgButtons::Ok, MsgIcon::Error);
            return;
        }
    }

    FTermNumber = 1;
    ShowNumbers();
    ShowTerm();
    FLessonModified = false;
    FTermModified = false;
    Form1->FEditorLoadPending = false;
}

void TFormEditor::OpenFile()
{
    reLes->clear();
    reLes->loadFromFile(FFileName);
    if (reLes->lineCount() > 0)
        ReadParTags();
    for (int i = reLes->lineCount() - 1; i >= 0; --i)
        if (reLes->line(i).trimmed().isEmpty())
            reLes->deleteLine(i);
}

void TFormEditor::ReadParTags()
{
    const QList<korvana::LinkedFile> links = korvana::ReadParTags(*reLes);
    for (const korvana::LinkedFile &l : links) {
        FLinkFiles.append(l.file);
        lbLink->addItem(l.description);
    }
}

// --- terms -------------------------------------------------------------------------------

int TFormEditor::termCount() const { return std::max(reLes->lineCount(), FTermNumber); }

void TFormEditor::ShowNumbers() { eNr->setText(QString::number(FTermNumber)); }

void TFormEditor::ShowTerm()
{
    const ShowingScope showing(m_showing);
    ShowNumbers();
    reLine->clear();
    const int lines = reLes->lineCount();
    if (FTermNumber >= 1 && FTermNumber <= lines) {
        const int start = reLes->lineIndex(FTermNumber - 1);
        const int end = FTermNumber < lines ? reLes->lineIndex(FTermNumber) : -1;
        reLes->setSel(start, end);
        if (reLes->selLength() > 0)
            korvana::CopyRTF(reLes, reLine);
        reLes->setSel(start, start);
    }
    keepRest();
    ShowOrig();
    ShowPin();
    ShowChin();
    ShowNotes();

    // The type as the practice window reads it: a line without "<TY=" is a
    // word there, so it shows as one here.
    FShownType.clear();
    if (reLine->lineCount() > 0) {
        FShownType = korvana::termTypeOf(reLine->line(0));
        if (FShownType.size() != 1 || !FShownType[0].isLetterOrNumber())
            FShownType.clear(); // nothing that could be written back as read
    }
    if (FShownType == QLatin1String("p"))
        rbPhrase->setChecked(true);
    else
        rbWord->setChecked(true);

    const QString state = GetValue(QStringLiteral("ST"));
    if (state == QLatin1String("l"))
        rbLearned->setChecked(true);
    else if (state == QLatin1String("d"))
        rbDifficult->setChecked(true);
    else
        rbUnlearned->setChecked(true);

    edSound->setText(GetValue(QStringLiteral("SN")));
    edPicture->setText(GetValue(QStringLiteral("GR")));
    CheckButtons();
}

// Everything of the current line but the tags the editor shows and writes
// anew, with its formatting: unknown tags and other text go back into the
// line as they stood. Of each field, sound and picture tag the first is the
// one shown; the type tag is the one the practice window reads; every state
// tag goes, since the editor writes the state once.
void TFormEditor::keepRest()
{
    reRest->clear();
    if (reLine->lineCount() == 0)
        return;
    const QString line = reLine->line(0);
    QList<std::pair<int, int>> cut;
    auto cutTag = [&](qsizetype at) {
        const qsizetype end = line.indexOf(QLatin1Char('>'), at + 4);
        if (at >= 0 && end >= 0)
            cut.append({int(at), int(end) + 1});
    };
    for (const char *tag : {"<OR=", "<PI=", "<CH=", "<NO=", "<SN=", "<GR=", "<ST="})
        cutTag(line.indexOf(QLatin1String(tag), 0, Qt::CaseInsensitive));
    cutTag(line.indexOf(QLatin1String("<TY=")));
    for (qsizetype at = line.indexOf(QLatin1String("<ST="), 0, Qt::CaseInsensitive); at >= 0;
         at = line.indexOf(QLatin1String("<ST="), at + 1, Qt::CaseInsensitive))
        if (at + 5 < line.size() && line[at + 5] == u'>')
            cut.append({int(at), int(at) + 6});
    std::sort(cut.begin(), cut.end());
    QList<std::pair<int, int>> merged;
    for (const auto &c : cut) {
        if (!merged.isEmpty() && c.first <= merged.last().second)
            merged.last().second = std::max(merged.last().second, c.second);
        else
            merged.append(c);
    }
    int kept = line.size();
    for (const auto &c : merged)
        kept -= c.second - c.first;
    if (kept <= 0)
        return;
    reLine->setSel(0, int(line.size()));
    korvana::CopyRTF(reLine, reRest);
    for (qsizetype i = merged.size() - 1; i >= 0; --i) {
        reRest->setSel(merged[i].first, merged[i].second);
        reRest->setSelText(QString());
    }
    reLine->setSel(0, 0);
}

void TFormEditor::showField(RichEdit *field, const QString &tag, double size)
{
    field->clear();
    const int length = reLine->textLength();
    const int p = reLine->findText(tag, 0, length);
    if (p < 0)
        return;
    const int from = p + 4;
    const int q = reLine->findText(QStringLiteral(">"), from, length - from);
    if (q <= from)
        return;
    reLine->setSelStart(from);
    reLine->setSelLength(q - from);
    korvana::CopyRTF(reLine, field);
    field->setSel(0, -1);
    if (size > 0)
        field->setSelSize(size);
    field->setSel(0, 0);
}

void TFormEditor::ShowOrig() { showField(reEdOrig, QStringLiteral("<OR="), Form1 ? Form1->FFontsizeTranslation : 0); }
void TFormEditor::ShowPin() { showField(reEdPin, QStringLiteral("<PI="), Form1 ? Form1->FFontsizePinyin : 0); }
void TFormEditor::ShowChin() { showField(reEdChin, QStringLiteral("<CH="), Form1 ? Form1->FFontsizeKanji : 0); }
void TFormEditor::ShowNotes() { showField(reEdNote, QStringLiteral("<NO="), Form1 ? Form1->FFontsizeNotes : 0); }

QString TFormEditor::GetValue(const QString &Tag)
{
    // Read as Unicode: sound and picture paths may hold any character.
    const QString text = reLine->text();
    const int p = text.indexOf(QLatin1Char('<') + Tag + QLatin1Char('='), 0, Qt::CaseInsensitive);
    if (p < 0)
        return QString();
    const int q = text.indexOf(QLatin1Char('>'), p + 4);
    if (q < 0)
        return QString();
    return text.mid(p + 4, q - p - 4);
}

void TFormEditor::CheckButtons()
{
    auto look = [](QPushButton *b, bool on) {
        if (!Form1) {
            b->setEnabled(on);
            return;
        }
        if (on)
            Form1->Enable(b);
        else
            Form1->Disable(b);
    };
    look(bPrevious, FTermNumber >= 2);
    look(bNext, termCount() - 1 >= FTermNumber);
    look(bDelete, termCount() >= 2);
}

void TFormEditor::bPreviousClick()
{
    if (FTermNumber <= 1)
        return;
    if (FTermModified)
        SaveTerm();
    --FTermNumber;
    ShowTerm();
}

void TFormEditor::bNextClick()
{
    if (termCount() <= FTermNumber)
        return;
    const int before = reLes->lineCount();
    if (FTermModified)
        SaveTerm();
    // An emptied term taken out: the next one has its number now.
    if (reLes->lineCount() >= before)
        ++FTermNumber;
    ShowTerm();
}

void TFormEditor::GoToNumber()
{
    int n = korvana::parseInteger(eNr->text()).value_or(0);
    if (n < 1 || n > termCount())
        return;
    // A jump leaves the term as Previous and Next do: its edits go back
    // into the lesson first, so they are neither lost nor written over the
    // term jumped to.
    if (FTermModified && n != FTermNumber) {
        const int before = reLes->lineCount();
        SaveTerm();
        if (reLes->lineCount() < before && n > FTermNumber)
            --n; // the emptied term left was taken out
    }
    if (n < 1 || n > termCount())
        return;
    FTermNumber = n;
    ShowTerm();
}

void TFormEditor::lblGoClick() { GoToNumber(); }

void TFormEditor::bNewClick()
{
    if (FTermModified)
        SaveTerm();
    const ShowingScope showing(m_showing);
    FTermNumber = reLes->lineCount() + 1;
    ShowNumbers();
    reLine->clear();
    reRest->clear();
    FShownType.clear();
    reEdOrig->clear();
    reEdPin->clear();
    reEdChin->clear();
    reEdNote->clear();
    edSound->clear();
    edPicture->clear();
    reEdOrigView->setFocus();
    CheckButtons();
}

void TFormEditor::bDeleteClick()
{
    if (Dialogs::instance().message(this, QStringLiteral("Delete term?"), MsgButtons::YesNo, MsgIcon::Question) !=
        MsgResult::Yes)
        return;
    if (FTermNumber >= 1 && FTermNumber <= reLes->lineCount())
        reLes->deleteLine(FTermNumber - 1);
    if (FTermNumber > reLes->lineCount())
        --FTermNumber;
    if (FTermNumber < 1)
        FTermNumber = 1;
    ShowTerm();
    FLessonModified = true;
}

void TFormEditor::SaveTerm()
{
    const int lines = reLes->lineCount();
    const bool existing = FTermNumber >= 1 && FTermNumber <= lines;
    bool empty = edSound->text().trimmed().isEmpty() && edPicture->text().trimmed().isEmpty() &&
                 reRest->text().trimmed().isEmpty();
    for (RichEdit *field : {reEdOrig, reEdPin, reEdChin, reEdNote})
        empty = empty && field->text().trimmed().isEmpty();
    if (empty) {
        // The practice window would show it as an empty card.
        if (existing) {
            reLes->deleteLine(FTermNumber - 1);
            FLessonModified = true;
        }
        FTermModified = false;
        return;
    }

    AppendCurrentTerm();
    if (existing) {
        const int start = reLes->lineIndex(FTermNumber - 1);
        reLes->setSel(start, start + reLes->line(FTermNumber - 1).length());
    } else {
        // A started term: it becomes the lesson's last line.
        QTextCursor c(reLes->document());
        c.movePosition(QTextCursor::End);
        if (!c.block().text().isEmpty())
            c.insertBlock();
        reLes->setSel(c.position(), c.position());
        FTermNumber = reLes->lineCount() + 1;
    }
    korvana::CopyRTF(reLine, reLes);
    reLes->setSel(0, 0);
    FTermModified = false;
}

void TFormEditor::bSaveClick()
{
    try {
        SaveLesson();
    } catch (const std::exception &e) {
        Dialogs::instance().message(this, korvana::errorText(e), MsgButtons::Ok, MsgIcon::Error);
    }
}

void TFormEditor::bCloseClick() { close(); }

bool TFormEditor::mayClose()
{
    if (FLessonModified) {
        const MsgResult answer = Dialogs::instance().message(this, QStringLiteral("Lesson was modified, save?"),
                                                             MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgResult::Cancel)
            return false;
        if (answer == MsgResult::Yes) {
            // Not written - the save dialog cancelled or the write failed:
            // the editor stays open with the edits rather than losing them.
            try {
                if (!SaveLesson())
                    return false;
            } catch (const std::exception &e) {
                Dialogs::instance().message(this, korvana::errorText(e), MsgButtons::Ok, MsgIcon::Error);
                return false;
            }
        }
    }
    return true;
}

// The lesson's own folder while one is open, else the working folder.
QString TFormEditor::folderForDialogs() const
{
    if (!FFileName.isEmpty())
        return QFileInfo(FFileName).absolutePath() + QLatin1Char('/');
    return Form1 ? Form1->FWorkingDirectory : QString();
}

QString TFormEditor::chooseFile(const QString &filter)
{
    korvana::FileDialogRequest request;
    request.filter = filter;
    request.initialDir = folderForDialogs();
    request.allowMultiple = false;
    request.fileMustExist = true;
    const QStringList chosen = Dialogs::instance().openFiles(this, request);
    return chosen.isEmpty() ? QString() : QFileInfo(chosen.first()).absoluteFilePath();
}

void TFormEditor::SpeedButton1Click()
{
    const QString f = chooseFile(QStringLiteral("Sound Files|*.mp3;*.wav|All Files|*.*"));
    if (!f.isEmpty())
        edSound->setText(f);
}

void TFormEditor::SpeedButton2Click()
{
    const QString f = chooseFile(QStringLiteral("Picture Files|*.jpg;*.jpeg;*.bmp|All Files|*.*"));
    if (!f.isEmpty())
        edPicture->setText(f);
}

void TFormEditor::reEdOrigChange()
{
    if (m_showing)
        return;
    FTermModified = true;
    FLessonModified = true;
}

void TFormEditor::edSoundChange()
{
    if (m_showing)
        return;
    FTermModified = true;
    FLessonModified = true;
}

void TFormEditor::rbWordClick()
{
    if (m_showing)
        return;
    FTermModified = true;
    FLessonModified = true;
}

void TFormEditor::refuseTagText(RichEdit *Field)
{
    if (m_showing || m_refusing)
        return;
    QTextDocument *doc = Field->document();
    const QList<int> at = tagTextPositions(doc->toPlainText());
    if (at.isEmpty())
        return;
    m_refusing = true;
    QTextCursor c(doc);
    c.beginEditBlock();
    for (qsizetype k = at.size() - 1; k >= 0; --k) {
        c.setPosition(at[k]);
        c.setPosition(at[k] + 1, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    c.endEditBlock();
    m_refusing = false;
    Dialogs::instance().message(this, QString::fromLatin1(kTagTextRefused), MsgButtons::Ok, MsgIcon::Warning);
}

void TFormEditor::refuseTagText(QLineEdit *Edit)
{
    if (m_showing || m_refusing)
        return;
    QString text = Edit->text();
    const QList<int> at = tagTextPositions(text);
    if (at.isEmpty())
        return;
    int cursor = Edit->cursorPosition();
    for (qsizetype k = at.size() - 1; k >= 0; --k) {
        text.remove(at[k], 1);
        if (at[k] < cursor)
            --cursor;
    }
    m_refusing = true;
    Edit->setText(text);
    Edit->setCursorPosition(cursor);
    m_refusing = false;
    Dialogs::instance().message(this, QString::fromLatin1(kTagTextRefused), MsgButtons::Ok, MsgIcon::Warning);
}

void TFormEditor::bEditorOptionsClick()
{
    if (FormOptions) {
        // The options dialog opens on its "Editor" page.
        for (QTreeWidget *tree : FormOptions->findChildren<QTreeWidget *>()) {
            const QList<QTreeWidgetItem *> found =
                tree->findItems(QStringLiteral("Editor"), Qt::MatchExactly | Qt::MatchRecursive);
            if (!found.isEmpty())
                tree->setCurrentItem(found.first());
        }
    }
    if (Form1)
        Form1->Preferences1Click();
}

// --- linked files ----------------------------------------------------------------------------

// Shows the link dialog until it ends with Cancel or with a link that the
// lesson can store and read back as typed.
bool TFormEditor::runLinkDialog()
{
    for (;;) {
        if (Dialogs::instance().execModal(FormAssociateRTF) != 1)
            return false;
        const QString problem = FormAssociateRTF->linkProblem();
        if (problem.isEmpty())
            return true;
        Dialogs::instance().message(this, problem, MsgButtons::Ok, MsgIcon::Warning);
    }
}

void TFormEditor::bOpenLinkClick()
{
    const QString f = chooseFile(QStringLiteral("RTF Files|*.rtf|All Files|*.*"));
    if (f.isEmpty() || !FormAssociateRTF)
        return;
    FormAssociateRTF->eFileName->setText(f);
    FormAssociateRTF->ePopis->clear();
    if (!runLinkDialog())
        return;
    FLinkFiles.append(FormAssociateRTF->eFileName->text());
    lbLink->addItem(FormAssociateRTF->ePopis->text());
    FLessonModified = true;
}

namespace {
int selectedRow(QListWidget *list)
{
    const int i = list->currentRow();
    return i >= 0 && list->item(i)->isSelected() ? i : -1;
}
} // namespace

void TFormEditor::lblEditClick()
{
    const int i = selectedRow(lbLink);
    if (i < 0) {
        Dialogs::instance().message(this, QStringLiteral("No file selected"), MsgButtons::Ok);
        return;
    }
    if (!FormAssociateRTF)
        return;
    FormAssociateRTF->eFileName->setText(FLinkFiles.value(i));
    FormAssociateRTF->ePopis->setText(lbLink->item(i)->text());
    if (!runLinkDialog())
        return;
    FLinkFiles[i] = FormAssociateRTF->eFileName->text();
    lbLink->item(i)->setText(FormAssociateRTF->ePopis->text());
    FLessonModified = true;
}

void TFormEditor::lblDeleteClick()
{
    const int i = selectedRow(lbLink);
    if (i < 0) {
        Dialogs::instance().message(this, QStringLiteral("No file selected"), MsgButtons::Ok);
        return;
    }
    const QString question = QStringLiteral("Delete Link ") + lbLink->item(i)->text() + QLatin1Char('?');
    if (Dialogs::instance().message(this, question, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
        return;
    FLinkFiles.removeAt(i);
    delete lbLink->takeItem(i);
    FLessonModified = true;
}

// --- pinyin and input-language entry ----------------------------------------------------------

// InsertPin2, the fields' enter handlers and the keyboard-layout lists are in
// PinyinEntry.cpp.

bool TFormEditor::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Enter || e->type() == QEvent::Leave) {
        // The link labels underline while the mouse is over them.
        if (auto *label = qobject_cast<QLabel *>(watched)) {
            QFont f = label->font();
            f.setUnderline(e->type() == QEvent::Enter);
            label->setFont(f);
        }
        return false;
    }
    if (e->type() == QEvent::FocusIn) {
        if (watched == reEdOrigView)
            reEdOrigEnter();
        else if (watched == reEdPinView)
            reEdPinEnter();
        else if (watched == reEdChinView)
            reEdChinEnter();
        else if (watched == reEdNoteView)
            reEdNoteEnter();
        return false;
    }
    if (e->type() == QEvent::KeyPress) {
        // A term is one line: a line end typed into a field would split it.
        auto *k = static_cast<QKeyEvent *>(e);
        if (watched == reEdOrigView)
            reEdPinKeyDown(reEdOrig);
        else if (watched == reEdPinView)
            reEdPinKeyDown(reEdPin);
        else if (watched == reEdChinView)
            reEdPinKeyDown(reEdChin);
        else if (watched == reEdNoteView)
            reEdPinKeyDown(reEdNote);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
            (watched == reEdOrigView || watched == reEdPinView || watched == reEdChinView ||
             watched == reEdNoteView))
            return true;
    }
    return QWidget::eventFilter(watched, e);
}
