#include "editing/LessonEditorWindow.h"
#include "editing/LinkedFileDialog.h"
#include "lessons/LessonLine.h"
#include "lessons/LessonOpener.h"
#include "lessons/LinkedFiles.h"
#include "platform/files/SafeFiles.h"
#include "platform/keyboard/KeyboardLayouts.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "platform/ui/Integers.h"
#include "practice/PracticeControls.h"
#include "settings/MainSettings.h"
#include "settings/OptionsDialog.h"

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
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

using korvana::Dialogs;
using korvana::MsgButtons;
using korvana::MsgIcon;
using korvana::MsgResult;
using korvana::Pane;
using korvana::RichEdit;

namespace {

// What a term's value cannot hold and still read back as written: ">" ends
// the value, and a tag opening ("<" + two letters + "=") is found by the
// readers wherever it stands in the line. The positions of the characters
// left out: every ">" and the "=" of every tag opening.
bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

QList<int> tagTextPositions(const QString &text)
{
    QList<int> at;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'>')
            at.append(i);
        else if (text[i] == u'=' && i >= 3 && text[i - 3] == u'<' && isAsciiLetter(text[i - 2])
                 && isAsciiLetter(text[i - 1]))
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

LessonEditorWindow::LessonEditorWindow(korvana::MainSettings &settings, korvana::LessonEditorHost &host,
                                       OptionsDialog &options, QWidget *mainWidget, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_host(host), m_options(options), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("lessonEditorWindow"));
    setWindowTitle(QStringLiteral("Lesson editor"));
    // The hidden stores exist from the start: the main window empties the
    // lesson before it shows the editor for a new one.
    lessonText = new RichEdit(this);
    termLineText = new RichEdit(this);
    outputText = new RichEdit(this);
    pieceText = new RichEdit(this);
    restOfLineText = new RichEdit(this);
    lessonText->setWordWrap(false);
    termLineText->setWordWrap(false);
    restOfLineText->setWordWrap(false);
    if (buildWhenShown) {
        m_controlsPending = true;
        return;
    }
    buildControls();
    onCreate();
}

LessonEditorWindow::~LessonEditorWindow()
{
    // The views go with the window; detach them from the documents first.
    for (const FieldControls &field : panes)
        if (field.text)
            field.text->attachView(nullptr);
}

bool LessonEditorWindow::buildWhenShown = false;

void LessonEditorWindow::setVisible(bool visible)
{
    if (visible && m_controlsPending) {
        m_controlsPending = false;
        buildControls();
        onCreate();
    }
    QWidget::setVisible(visible);
}

void LessonEditorWindow::buildControls()
{
    auto *layout = new QGridLayout(this);
    int row = 0;

    struct FieldSpec {
        Pane pane;
        const char *caption;
        const char *font;
        int height;
    };
    const FieldSpec specs[] = {
        {Pane::Translation, "Translation", "Times New Roman", 34},
        {Pane::Pinyin, "Pin Yin", "Arial", 34},
        {Pane::Characters, "Chinese", "SimSun", 60},
        {Pane::Notes, "Notes", "Times New Roman", 34},
    };
    for (const FieldSpec &s : specs) {
        FieldControls &controls = panes[s.pane];
        controls.text = new RichEdit(this);
        controls.text->setWordWrap(false);
        controls.view = makeFieldView(this, korvana::paneName(s.pane) + QStringLiteral("TextView"), s.height);
        controls.text->attachView(controls.view);
        QFont f(controls.view->font());
        f.setFamily(QString::fromLatin1(s.font));
        controls.view->setFont(f);
        controls.text->document()->setDefaultFont(f);
        controls.view->installEventFilter(this);
        controls.layouts = new QComboBox(this);
        controls.layouts->setToolTip(QStringLiteral("Keyboard Layout"));
        layout->addWidget(new QLabel(QString::fromLatin1(s.caption), this), row, 0);
        layout->addWidget(controls.view, row, 1, 1, 3);
        layout->addWidget(controls.layouts, row, 4);
        ++row;
        RichEdit *field = controls.text;
        connect(field, &RichEdit::changed, this, [this, field] {
            refuseTagText(field);
            fieldChanged();
        });
    }
    panes[Pane::Characters].text->setAlignment(korvana::TextAlignment::Right);

    auto *typeBox = new QGroupBox(QStringLiteral("Type:"), this);
    auto *typeLayout = new QVBoxLayout(typeBox);
    wordOption = new QRadioButton(QStringLiteral("Word"), typeBox);
    phraseOption = new QRadioButton(QStringLiteral("Phrase"), typeBox);
    typeLayout->addWidget(wordOption);
    typeLayout->addWidget(phraseOption);
    wordOption->setChecked(true);
    for (QRadioButton *b : {wordOption, phraseOption})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                typeOptionClicked();
        });

    auto *stateBox = new QGroupBox(QStringLiteral("State:"), this);
    auto *stateLayout = new QVBoxLayout(stateBox);
    learnedOption = new QRadioButton(QStringLiteral("Learned"), stateBox);
    unlearnedOption = new QRadioButton(QStringLiteral("Unlearned"), stateBox);
    difficultOption = new QRadioButton(QStringLiteral("Difficult"), stateBox);
    for (QRadioButton *b : {learnedOption, unlearnedOption, difficultOption}) {
        stateLayout->addWidget(b);
        // A changed state is a change of the term like any other, so that
        // the next move puts it back and closing asks to save it.
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on && !m_showing) {
                termModified = true;
                lessonModified = true;
            }
        });
    }
    layout->addWidget(typeBox, row, 0, 1, 2);
    layout->addWidget(stateBox, row, 2, 1, 2);
    ++row;

    auto *assoc = new QGroupBox(QStringLiteral("Associate:"), this);
    auto *assocLayout = new QGridLayout(assoc);
    soundEdit = new QLineEdit(assoc);
    pictureEdit = new QLineEdit(assoc);
    browseSoundButton = new QPushButton(QStringLiteral("..."), assoc);
    browsePictureButton = new QPushButton(QStringLiteral("..."), assoc);
    assocLayout->addWidget(new QLabel(QStringLiteral("Sound "), assoc), 0, 0);
    assocLayout->addWidget(soundEdit, 0, 1);
    assocLayout->addWidget(browseSoundButton, 0, 2);
    assocLayout->addWidget(new QLabel(QStringLiteral("Picture "), assoc), 1, 0);
    assocLayout->addWidget(pictureEdit, 1, 1);
    assocLayout->addWidget(browsePictureButton, 1, 2);
    connect(soundEdit, &QLineEdit::textChanged, this, [this] {
        refuseTagText(soundEdit);
        soundOrPictureEditChanged();
    });
    connect(pictureEdit, &QLineEdit::textChanged, this, [this] {
        refuseTagText(pictureEdit);
        soundOrPictureEditChanged();
    });
    connect(browseSoundButton, &QPushButton::clicked, this, [this] { browseSoundButtonClicked(); });
    connect(browsePictureButton, &QPushButton::clicked, this, [this] { browsePictureButtonClicked(); });
    layout->addWidget(assoc, row, 0, 1, 5);
    ++row;

    auto *links = new QGroupBox(QStringLiteral("Link RTF File"), this);
    auto *linkLayout = new QGridLayout(links);
    linkedFilesList = new QListWidget(links);
    newLinkLabel = new korvana::ClickLabel(QStringLiteral("New"), links);
    editLinkLabel = new korvana::ClickLabel(QStringLiteral("Edit"), links);
    deleteLinkLabel = new korvana::ClickLabel(QStringLiteral("Delete"), links);
    linkLayout->addWidget(linkedFilesList, 0, 0, 3, 1);
    linkLayout->addWidget(newLinkLabel, 0, 1);
    linkLayout->addWidget(editLinkLabel, 1, 1);
    linkLayout->addWidget(deleteLinkLabel, 2, 1);
    auto *note = new QLabel(QStringLiteral("RTF files are linked to the whole lesson while sounds and pictures "
                                           "are associated with  particular terms."),
                            links);
    note->setWordWrap(true);
    linkLayout->addWidget(note, 3, 0, 1, 2);
    connect(newLinkLabel, &korvana::ClickLabel::clicked, this, [this] { newLinkLabelClicked(); });
    connect(editLinkLabel, &korvana::ClickLabel::clicked, this, [this] { editLinkLabelClicked(); });
    connect(deleteLinkLabel, &korvana::ClickLabel::clicked, this, [this] { deleteLinkLabelClicked(); });
    layout->addWidget(links, row, 0, 1, 5);
    ++row;

    auto *nav = new QHBoxLayout;
    termNumberEdit = new QLineEdit(QStringLiteral("0"), this);
    termNumberEdit->setMaximumWidth(60);
    goLabel = new korvana::ClickLabel(QStringLiteral("Go"), this);
    nav->addWidget(new QLabel(QStringLiteral("Term Nr.:"), this));
    nav->addWidget(termNumberEdit);
    nav->addWidget(goLabel);
    connect(termNumberEdit, &QLineEdit::returnPressed, this, [this] { goToTermNumber(); });
    connect(goLabel, &korvana::ClickLabel::clicked, this, [this] { goLabelClicked(); });
    for (korvana::ClickLabel *l : {goLabel, newLinkLabel, editLinkLabel, deleteLinkLabel})
        l->installEventFilter(this);

    auto button = [this, nav](QPushButton *&b, const char *text, void (LessonEditorWindow::*handler)()) {
        b = new QPushButton(QString::fromLatin1(text), this);
        b->setFlat(true);
        nav->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    button(previousButton, "< previous", &LessonEditorWindow::previousButtonClicked);
    button(nextButton, "next >", &LessonEditorWindow::nextButtonClicked);
    button(newButton, "new", &LessonEditorWindow::newButtonClicked);
    button(deleteButton, "delete", &LessonEditorWindow::deleteButtonClicked);
    button(saveButton, "save", &LessonEditorWindow::saveButtonClicked);
    button(closeButton, "close", &LessonEditorWindow::closeButtonClicked);
    button(editorOptionsButton, "editor options", &LessonEditorWindow::editorOptionsButtonClicked);
    layout->addLayout(nav, row, 0, 1, 5);
    ++row;
    statusLine = new QLabel(this);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    layout->addWidget(statusLine, row, 0, 1, 5);
    m_statusTimer = new QTimer(this);
    m_statusTimer->setSingleShot(true);
    m_statusTimer->setInterval(5000);
    connect(m_statusTimer, &QTimer::timeout, statusLine, &QLabel::clear);
    buildPinyinPanel();
}

// --- life ----------------------------------------------------------------------------------

bool LessonEditorWindow::fillLayoutsWhenShown = false;

void LessonEditorWindow::onCreate()
{
    if (fillLayoutsWhenShown)
        m_layoutsPending = true;
    else
        fillLayoutLists();
    linkedFiles.clear();
}

bool LessonEditorWindow::event(QEvent *e)
{
    if (e->type() == QEvent::Show && m_layoutsPending) {
        m_layoutsPending = false;
        fillLayoutLists();
    }
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    else if (e->type() == QEvent::WindowDeactivate)
        // An input method switched for a field is the whole desktop's: the
        // other windows get theirs back. Coming back, the field's enter
        // handler switches again.
        korvana::KeyboardLayouts::instance().restore();
    return handled;
}

// The title bar and "close" take the same road: unsaved edits are asked
// about, and the main window reopens its lessons so that it shows them.
void LessonEditorWindow::closeEvent(QCloseEvent *e)
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
    onClose();
    QWidget::closeEvent(e);
    hide();
    emit reopenLessonsRequested();
}

void LessonEditorWindow::onClose()
{
    m_host.setEditorLoadPending(true);
}

void LessonEditorWindow::setDefaultFont(RichEdit *field, QTextEdit *view, const QString &family, double size)
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

QString LessonEditorWindow::fieldFontFamily(Pane pane) const
{
    switch (pane) {
    case Pane::Pinyin:
        return QStringLiteral("Times New Roman");
    case Pane::Characters:
        return m_settings.useCharactersFont ? m_settings.charactersFont : QString();
    case Pane::Translation:
    case Pane::Notes:
        break;
    }
    return QString(); // the field keeps its own
}

void LessonEditorWindow::onActivate()
{
    if (!m_host.editorLoadPending())
        return;
    followUserLayout();
    const ShowingScope showing(m_showing);

    // Each field reads in the direction of its pane in the main window.
    for (Pane p : korvana::allPanes) {
        if (QTextEdit *mainView = m_host.paneView(p))
            panes[p].view->setLayoutDirection(mainView->layoutDirection());
        if (RichEdit *mainText = m_host.paneText(p))
            panes[p].text->setAlignment(mainText->alignment());
    }

    for (Pane p : korvana::allPanes) {
        panes[p].text->clear();
        setDefaultFont(panes[p].text, panes[p].view, fieldFontFamily(p), m_settings.fontSizes[p]);
    }
    {
        QFont f = panes[Pane::Characters].view->font();
        if (m_settings.fontSizes[Pane::Characters] > 0)
            f.setPointSize(m_settings.fontSizes[Pane::Characters]);
        if (m_settings.useCharactersFont && !m_settings.charactersFont.isEmpty())
            f.setFamily(m_settings.charactersFont);
        panes[Pane::Characters].view->setFont(f);
    }

    linkedFiles.clear();
    linkedFilesList->clear();
    fileDigest.clear();
    fileLines.clear();
    fileLinks.clear();

    if (!fileName.isEmpty()) {
        try {
            loadLesson();
        } catch (const std::exception &e) {
            // Nothing of another lesson may stay behind to be saved under
            // this file's name: the editor is emptied and put away, and the
            // load is tried again the next time it is shown.
            // Hidden before the message, so that the message's closing
            // cannot activate the editor into another attempt.
            lessonText->clear();
            linkedFiles.clear();
            linkedFilesList->clear();
            lessonModified = false;
            termModified = false;
            hide();
            Dialogs::instance().message(m_mainWidget, korvana::errorText(e), MsgButtons::Ok, MsgIcon::Error);
            return;
        }
    }

    termNumber = 1;
    showTermNumber();
    showTerm();
    lessonModified = false;
    termModified = false;
    m_host.setEditorLoadPending(false);
}

void LessonEditorWindow::loadLesson()
{
    // The bytes are read before the lesson is: a change made in between is
    // then seen as a change at the next save, never written over.
    const korvana::files::ReadResult read =
        korvana::files::readRegularFile(fileName, korvana::LessonOpener::MaxLessonBytes);
    lessonText->clear();
    lessonText->loadFromFile(fileName);
    if (lessonText->lineCount() > 0)
        readLinkedFiles();
    for (int i = lessonText->lineCount() - 1; i >= 0; --i)
        if (lessonText->line(i).trimmed().isEmpty())
            lessonText->deleteLine(i);
    // Bytes that could not be read give no digest to compare with later.
    if (read.ok())
        noteFileContents(read.data);
    else
        fileDigest.clear();
}

void LessonEditorWindow::noteFileContents(const QByteArray &bytes)
{
    fileDigest = korvana::lessonDigest(bytes);
    fileLines.clear();
    for (int i = 0; i < lessonText->lineCount(); ++i)
        fileLines.append(lessonText->line(i));
    fileLinks.clear();
    for (int i = 0; i < linkedFilesList->count(); ++i)
        fileLinks.append({linkedFiles.value(i), linkedFilesList->item(i)->text()});
}

bool LessonEditorWindow::lessonIsEmpty() const
{
    if (!linkedFiles.isEmpty())
        return false;
    for (int i = 0; i < lessonText->lineCount(); ++i)
        if (!lessonText->line(i).trimmed().isEmpty())
            return false;
    return true;
}

void LessonEditorWindow::readLinkedFiles()
{
    const QList<korvana::LinkedFile> links = korvana::parseLinkedFiles(*lessonText);
    for (const korvana::LinkedFile &l : links) {
        linkedFiles.append(l.file);
        linkedFilesList->addItem(l.description);
    }
}

// --- terms -------------------------------------------------------------------------------

int LessonEditorWindow::termCount() const
{
    return std::max(lessonText->lineCount(), termNumber);
}

void LessonEditorWindow::showTermNumber()
{
    termNumberEdit->setText(QString::number(termNumber));
}

void LessonEditorWindow::showTerm()
{
    const ShowingScope showing(m_showing);
    showTermNumber();
    termLineText->clear();
    const int lines = lessonText->lineCount();
    if (termNumber >= 1 && termNumber <= lines) {
        const int start = lessonText->lineIndex(termNumber - 1);
        const int end = termNumber < lines ? lessonText->lineIndex(termNumber) : -1;
        lessonText->setSel(start, end);
        if (lessonText->selLength() > 0)
            korvana::copyRichText(lessonText, termLineText);
        lessonText->setSel(start, start);
    }
    keepRest();
    for (Pane p : korvana::allPanes)
        showField(p);

    // The type as the practice window reads it: a line without "<TY=" is a
    // word there, so it shows as one here.
    shownType.clear();
    if (termLineText->lineCount() > 0) {
        shownType = korvana::termTypeOf(termLineText->line(0));
        if (shownType.size() != 1 || !shownType[0].isLetterOrNumber())
            shownType.clear(); // nothing that could be written back as read
    }
    if (shownType == QLatin1String("p"))
        phraseOption->setChecked(true);
    else
        wordOption->setChecked(true);

    const QString state = tagValue(QStringLiteral("ST"));
    if (state == QLatin1String("l"))
        learnedOption->setChecked(true);
    else if (state == QLatin1String("d"))
        difficultOption->setChecked(true);
    else
        unlearnedOption->setChecked(true);

    soundEdit->setText(tagValue(QStringLiteral("SN")));
    pictureEdit->setText(tagValue(QStringLiteral("GR")));
    updateNavigationButtons();
}

// Everything of the current line but the tags the editor shows and writes
// anew, with its formatting: unknown tags and other text go back into the
// line as they stood. Of each field, sound and picture tag the first is the
// one shown; the type tag is the one the practice window reads; every state
// tag goes, since the editor writes the state once.
void LessonEditorWindow::keepRest()
{
    restOfLineText->clear();
    if (termLineText->lineCount() == 0)
        return;
    const QString line = termLineText->line(0);
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
    termLineText->setSel(0, int(line.size()));
    korvana::copyRichText(termLineText, restOfLineText);
    for (qsizetype i = merged.size() - 1; i >= 0; --i) {
        restOfLineText->setSel(merged[i].first, merged[i].second);
        restOfLineText->setSelText(QString());
    }
    termLineText->setSel(0, 0);
}

void LessonEditorWindow::showField(Pane pane)
{
    const QString tag = QLatin1Char('<') + korvana::paneTag(pane) + QLatin1Char('=');
    const double size = m_settings.fontSizes[pane];
    RichEdit *field = this->panes[pane].text;
    field->clear();
    const int length = termLineText->textLength();
    const int p = termLineText->findText(tag, 0, length);
    if (p < 0)
        return;
    const int from = p + 4;
    const int q = termLineText->findText(QStringLiteral(">"), from, length - from);
    if (q <= from)
        return;
    termLineText->setSelStart(from);
    termLineText->setSelLength(q - from);
    korvana::copyRichText(termLineText, field);
    field->setSel(0, -1);
    if (size > 0)
        field->setSelSize(size);
    field->setSel(0, 0);
}

QString LessonEditorWindow::tagValue(const QString &tag)
{
    // Read as Unicode: sound and picture paths may hold any character.
    const QString text = termLineText->text();
    const int p = text.indexOf(QLatin1Char('<') + tag + QLatin1Char('='), 0, Qt::CaseInsensitive);
    if (p < 0)
        return QString();
    const int q = text.indexOf(QLatin1Char('>'), p + 4);
    if (q < 0)
        return QString();
    return text.mid(p + 4, q - p - 4);
}

void LessonEditorWindow::updateNavigationButtons()
{
    auto look = [this](QPushButton *b, bool on) {
        if (on)
            m_host.enableButton(b);
        else
            m_host.disableButton(b);
    };
    look(previousButton, termNumber >= 2);
    look(nextButton, termCount() - 1 >= termNumber);
    look(deleteButton, termCount() >= 2);
}

void LessonEditorWindow::previousButtonClicked()
{
    if (termNumber <= 1)
        return;
    if (termModified)
        storeTerm();
    --termNumber;
    showTerm();
}

void LessonEditorWindow::nextButtonClicked()
{
    if (termCount() <= termNumber)
        return;
    const int before = lessonText->lineCount();
    if (termModified)
        storeTerm();
    // An emptied term taken out: the next one has its number now.
    if (lessonText->lineCount() >= before)
        ++termNumber;
    showTerm();
}

void LessonEditorWindow::goToTermNumber()
{
    int n = korvana::parseInteger(termNumberEdit->text()).value_or(0);
    if (n < 1 || n > termCount())
        return;
    // A jump leaves the term as Previous and Next do: its edits go back
    // into the lesson first, so they are neither lost nor written over the
    // term jumped to.
    if (termModified && n != termNumber) {
        const int before = lessonText->lineCount();
        storeTerm();
        if (lessonText->lineCount() < before && n > termNumber)
            --n; // the emptied term left was taken out
    }
    if (n < 1 || n > termCount())
        return;
    termNumber = n;
    showTerm();
}

void LessonEditorWindow::goLabelClicked()
{
    goToTermNumber();
}

void LessonEditorWindow::newButtonClicked()
{
    if (termModified)
        storeTerm();
    const ShowingScope showing(m_showing);
    termNumber = lessonText->lineCount() + 1;
    showTermNumber();
    termLineText->clear();
    restOfLineText->clear();
    shownType.clear();
    for (const FieldControls &field : panes)
        field.text->clear();
    soundEdit->clear();
    pictureEdit->clear();
    panes[Pane::Translation].view->setFocus();
    updateNavigationButtons();
}

void LessonEditorWindow::deleteButtonClicked()
{
    if (Dialogs::instance().message(this, QStringLiteral("Delete term?"), MsgButtons::YesNo, MsgIcon::Question)
        != MsgResult::Yes)
        return;
    if (termNumber >= 1 && termNumber <= lessonText->lineCount())
        lessonText->deleteLine(termNumber - 1);
    if (termNumber > lessonText->lineCount())
        --termNumber;
    if (termNumber < 1)
        termNumber = 1;
    showTerm();
    lessonModified = true;
}

void LessonEditorWindow::storeTerm()
{
    const int lines = lessonText->lineCount();
    const bool existing = termNumber >= 1 && termNumber <= lines;
    bool empty = soundEdit->text().trimmed().isEmpty() && pictureEdit->text().trimmed().isEmpty()
                 && restOfLineText->text().trimmed().isEmpty();
    for (const FieldControls &field : panes)
        empty = empty && field.text->text().trimmed().isEmpty();
    if (empty) {
        // The practice window would show it as an empty card.
        if (existing) {
            lessonText->deleteLine(termNumber - 1);
            lessonModified = true;
        }
        termModified = false;
        return;
    }

    buildTermLine();
    if (existing) {
        const int start = lessonText->lineIndex(termNumber - 1);
        lessonText->setSel(start, start + lessonText->line(termNumber - 1).length());
    } else {
        // A started term: it becomes the lesson's last line.
        QTextCursor c(lessonText->document());
        c.movePosition(QTextCursor::End);
        if (!c.block().text().isEmpty())
            c.insertBlock();
        lessonText->setSel(c.position(), c.position());
        termNumber = lessonText->lineCount() + 1;
    }
    korvana::copyRichText(termLineText, lessonText);
    lessonText->setSel(0, 0);
    termModified = false;
}

void LessonEditorWindow::saveButtonClicked()
{
    try {
        saveLesson();
    } catch (const std::exception &e) {
        Dialogs::instance().message(this, korvana::errorText(e), MsgButtons::Ok, MsgIcon::Error);
    }
}

void LessonEditorWindow::closeButtonClicked()
{
    close();
}

bool LessonEditorWindow::mayClose()
{
    if (lessonModified) {
        const MsgResult answer = Dialogs::instance().message(this, QStringLiteral("Lesson was modified, save?"),
                                                             MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgResult::Cancel)
            return false;
        if (answer == MsgResult::Yes) {
            // Not written - the save dialog cancelled or the write failed:
            // the editor stays open with the edits rather than losing them.
            try {
                if (!saveLesson())
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
QString LessonEditorWindow::folderForDialogs() const
{
    if (!fileName.isEmpty())
        return QFileInfo(fileName).absolutePath() + QLatin1Char('/');
    return m_settings.workingDirectory;
}

QString LessonEditorWindow::chooseFile(const QString &filter)
{
    korvana::FileDialogRequest request;
    request.filter = filter;
    request.initialDir = folderForDialogs();
    request.allowMultiple = false;
    request.fileMustExist = true;
    const QStringList chosen = Dialogs::instance().openFiles(this, request);
    return chosen.isEmpty() ? QString() : QFileInfo(chosen.first()).absoluteFilePath();
}

void LessonEditorWindow::browseSoundButtonClicked()
{
    const QString f = chooseFile(QStringLiteral("Sound Files|*.mp3;*.wav|All Files|*.*"));
    if (!f.isEmpty())
        soundEdit->setText(f);
}

void LessonEditorWindow::browsePictureButtonClicked()
{
    const QString f = chooseFile(QStringLiteral("Picture Files|*.jpg;*.jpeg;*.bmp|All Files|*.*"));
    if (!f.isEmpty())
        pictureEdit->setText(f);
}

void LessonEditorWindow::fieldChanged()
{
    if (m_showing)
        return;
    termModified = true;
    lessonModified = true;
}

void LessonEditorWindow::soundOrPictureEditChanged()
{
    if (m_showing)
        return;
    termModified = true;
    lessonModified = true;
}

void LessonEditorWindow::typeOptionClicked()
{
    if (m_showing)
        return;
    termModified = true;
    lessonModified = true;
}

void LessonEditorWindow::refuseTagText(RichEdit *field)
{
    if (m_showing || m_refusing)
        return;
    QTextDocument *doc = field->document();
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
    showStatus(QString::fromLatin1(kTagTextRefused));
}

void LessonEditorWindow::refuseTagText(QLineEdit *edit)
{
    if (m_showing || m_refusing)
        return;
    QString text = edit->text();
    const QList<int> at = tagTextPositions(text);
    if (at.isEmpty())
        return;
    int cursor = edit->cursorPosition();
    for (qsizetype k = at.size() - 1; k >= 0; --k) {
        text.remove(at[k], 1);
        if (at[k] < cursor)
            --cursor;
    }
    m_refusing = true;
    edit->setText(text);
    edit->setCursorPosition(cursor);
    m_refusing = false;
    showStatus(QString::fromLatin1(kTagTextRefused));
}

void LessonEditorWindow::showStatus(const QString &text)
{
    statusLine->setText(text);
    m_statusTimer->start();
}

void LessonEditorWindow::editorOptionsButtonClicked()
{
    // The options dialog opens on its "Editor" page.
    m_options.buildPages();
    for (QTreeWidget *tree : m_options.findChildren<QTreeWidget *>()) {
        const QList<QTreeWidgetItem *> found =
            tree->findItems(QStringLiteral("Editor"), Qt::MatchExactly | Qt::MatchRecursive);
        if (!found.isEmpty())
            tree->setCurrentItem(found.first());
    }
    emit preferencesRequested();
}

// --- linked files ----------------------------------------------------------------------------

// Shows the link dialog until it ends with Cancel or with a link that the
// lesson can store and read back as typed.
bool LessonEditorWindow::runLinkDialog()
{
    LinkedFileDialog &linkedFileDialog = m_host.linkedFileDialog();
    for (;;) {
        if (Dialogs::instance().execModal(&linkedFileDialog) != 1)
            return false;
        const QString problem = linkedFileDialog.linkProblem();
        if (problem.isEmpty())
            return true;
        Dialogs::instance().message(this, problem, MsgButtons::Ok, MsgIcon::Warning);
    }
}

void LessonEditorWindow::newLinkLabelClicked()
{
    const QString f = chooseFile(QStringLiteral("RTF Files|*.rtf|All Files|*.*"));
    if (f.isEmpty())
        return;
    LinkedFileDialog &linkedFileDialog = m_host.linkedFileDialog();
    linkedFileDialog.fileNameEdit->setText(f);
    linkedFileDialog.descriptionEdit->clear();
    if (!runLinkDialog())
        return;
    linkedFiles.append(linkedFileDialog.fileNameEdit->text());
    linkedFilesList->addItem(linkedFileDialog.descriptionEdit->text());
    lessonModified = true;
}

namespace {
int selectedRow(QListWidget *list)
{
    const int i = list->currentRow();
    return i >= 0 && list->item(i)->isSelected() ? i : -1;
}
} // namespace

void LessonEditorWindow::editLinkLabelClicked()
{
    const int i = selectedRow(linkedFilesList);
    if (i < 0) {
        Dialogs::instance().message(this, QStringLiteral("No file selected"), MsgButtons::Ok);
        return;
    }
    LinkedFileDialog &linkedFileDialog = m_host.linkedFileDialog();
    linkedFileDialog.fileNameEdit->setText(linkedFiles.value(i));
    linkedFileDialog.descriptionEdit->setText(linkedFilesList->item(i)->text());
    if (!runLinkDialog())
        return;
    linkedFiles[i] = linkedFileDialog.fileNameEdit->text();
    linkedFilesList->item(i)->setText(linkedFileDialog.descriptionEdit->text());
    lessonModified = true;
}

void LessonEditorWindow::deleteLinkLabelClicked()
{
    const int i = selectedRow(linkedFilesList);
    if (i < 0) {
        Dialogs::instance().message(this, QStringLiteral("No file selected"), MsgButtons::Ok);
        return;
    }
    const QString question = QStringLiteral("Delete Link ") + linkedFilesList->item(i)->text() + QLatin1Char('?');
    if (Dialogs::instance().message(this, question, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
        return;
    linkedFiles.removeAt(i);
    delete linkedFilesList->takeItem(i);
    lessonModified = true;
}

// --- pinyin and input-language entry ----------------------------------------------------------

// insertToneVowel, the fields' enter handlers and the keyboard-layout lists are in
// PinyinEntry.cpp.

bool LessonEditorWindow::eventFilter(QObject *watched, QEvent *e)
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
    const auto watchedField =
        std::find_if(panes.begin(), panes.end(), [watched](const FieldControls &f) { return f.view == watched; });
    if (e->type() == QEvent::FocusIn) {
        if (watchedField != panes.end())
            fieldEntered(korvana::allPanes[std::size_t(watchedField - panes.begin())]);
        return false;
    }
    if (e->type() == QEvent::KeyPress) {
        // A term is one line: a line end typed into a field would split it.
        auto *k = static_cast<QKeyEvent *>(e);
        if (watchedField != panes.end()) {
            fieldKeyPressed(watchedField->text);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
                return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}
