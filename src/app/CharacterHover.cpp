#include "app/CharacterHover.h"
#include "app/MainWindowControls.h"
#include "app/ProgramWindows.h"

#include "platform/richtext/RichEdit.h"
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"
#include "reference/CharacterInfoWindow.h"
#include "reference/DictionaryData.h"
#include "reference/ReaderWindow.h"
#include "reference/ReferenceData.h"
#include "settings/MainSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

using korvana::Pane;

namespace {

// Sends the pointer's moves over the characters pane to charactersViewMouseMoved.
class CharactersPaneMouse : public QObject {
public:
    CharactersPaneMouse(CharacterHover *hover, QTextEdit *view) : QObject(view), m_hover(hover), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove)
            m_hover->charactersViewMouseMoved(m_view, static_cast<QMouseEvent *>(e)->position().toPoint());
        // Off the pane straight into another program's window: nothing of
        // this program sees the pointer any more to hide the popup later.
        if (e->type() == QEvent::Leave && !QApplication::widgetAt(QCursor::pos()))
            m_hover->hideCharacterInfo();
        return QObject::eventFilter(watched, e);
    }

private:
    CharacterHover *m_hover;
    QTextEdit *m_view;
};

void clearTextBox(QWidget *box)
{
    if (auto *p = qobject_cast<QPlainTextEdit *>(box))
        p->clear();
    else if (auto *t = qobject_cast<QTextEdit *>(box))
        t->clear();
}

// Adds a line and scrolls back up by four lines, so that the first (longest)
// entries stay in view as more arrive.
void addTextBoxLine(QWidget *box, const QString &line)
{
    QScrollBar *bar = nullptr;
    int step = 1;
    if (auto *p = qobject_cast<QPlainTextEdit *>(box)) {
        p->appendPlainText(line);
        bar = p->verticalScrollBar();
    } else if (auto *t = qobject_cast<QTextEdit *>(box)) {
        t->append(line);
        bar = t->verticalScrollBar();
        step = t->fontMetrics().lineSpacing();
    }
    if (bar)
        bar->setValue(bar->value() - 4 * step);
}

QWidget *readerBox(QWidget *window, const char *name)
{
    return window ? window->findChild<QWidget *>(QLatin1String(name)) : nullptr;
}

} // namespace

CharacterHover::CharacterHover(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                               const korvana::MainSettings &settings, korvana::ReferenceData &referenceData,
                               korvana::DictionaryData &dictionary, WindowHooks hooks)
    : m_window(window), m_controls(controls), m_windows(windows), m_settings(settings), m_referenceData(referenceData),
      m_dictionary(dictionary), m_hooks(std::move(hooks))
{
}

CharacterHover::~CharacterHover()
{
    // The pane outlives the hover: its watch must not call it any more.
    delete m_paneMouse;
}

void CharacterHover::buildControls()
{
    QTextEdit *view = m_controls.panes[Pane::Characters].view;
    if (!view)
        return;
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    m_paneMouse = new CharactersPaneMouse(this, view);
    view->viewport()->installEventFilter(m_paneMouse);
}

void CharacterHover::clearCharacterInfo()
{
    CharacterInfoWindow *info = m_windows.characterInfoWindow.get();
    if (!info)
        return;
    for (QLabel *l : {info->characterLabel, info->radicalCharacterLabel, info->radicalLabel, info->strokesLabel,
                      info->mandarinLabel, info->traditionalLabel, info->simplifiedLabel, info->definitionLabel})
        l->clear();
}

void CharacterHover::hideCharacterInfo()
{
    if (m_windows.characterInfoWindow)
        m_windows.characterInfoWindow->hide();
    m_state.forget();
}

void CharacterHover::charactersViewMouseMoved(QTextEdit *sender, const QPoint &pos)
{
    if (!sender)
        return;
    m_hooks.loadPendingData();
    const bool mainPane = sender == m_controls.panes[Pane::Characters].view;
    if (mainPane) {
        // Moving onto the characters ends the hover reveal of the panes
        // around it.
        for (Pane neighbour : {Pane::Pinyin, Pane::Notes}) {
            const MainWindowControls::PaneControls &p = m_controls.panes[neighbour];
            if (p.box && !p.box->isChecked() && p.text)
                p.text->clear();
        }
        const MainWindowControls::PaneControls &characters = m_controls.panes[Pane::Characters];
        if (m_settings.showHiddenOnHover && characters.text && characters.text->text().isEmpty() && characters.box
            && !characters.box->isChecked()) {
            m_hooks.revealCharacters();
        }
        // Without its tables the popup has nothing to show; the user's
        // setting is kept for the next run.
        if (!m_settings.characterInfoOnHover || !m_referenceData.characterInfoAvailable)
            return;
    }

    QTextDocument *doc = sender->document();
    if (doc->isEmpty())
        return;
    QPoint hit = pos;
    if (mainPane)
        hit.rx() += korvana::CharacterHoverState::paneHitShift(m_settings.fontSizes[Pane::Characters]);
    // The caret position nearest the point.
    const int p = sender->cursorForPosition(hit).position();
    QTextBlock block = doc->findBlock(p);
    if (!block.isValid())
        return;
    const int c = p - block.position();
    const QString lineText = block.text();
    // The view measures the caret positions; which character they make and
    // whether it is a new one is the hover state's to say.
    QTextCursor at(doc);
    at.setPosition(p);
    const int end =
        korvana::CharacterHoverState::characterEnd(lineText, c, hit.x() >= sender->cursorRect(at).x(), mainPane);
    if (end < 0)
        return;
    at.setPosition(block.position() + end);
    const korvana::HoverMove move = m_state.moveOnto(lineText, end, sender->cursorRect(at).x(), hit.x());
    if (!move.changed)
        return;
    const uint code = move.code;
    const QString &ch = move.character;

    const auto toneMarks = [this](const QString &s) { return m_hooks.toneMarks(s); };
    const korvana::ReferenceData &tables = m_referenceData;

    QWidget *dictBox = nullptr;
    if (mainPane) {
        if (!m_windows.characterInfoWindow)
            return;
        korvana::CharacterInfo info;
        try {
            info = korvana::characterInfo(code, ch, tables.unihanText, tables.unihanRecordStart(code),
                                          tables.radicalsText, toneMarks);
        } catch (const korvana::Error &e) {
            korvana::reportUnhandledError(e.message());
            return;
        }
        m_windows.characterInfoWindow->hexCodeLabel->setText(info.codeHex);
        m_windows.characterInfoWindow->characterLabel->setText(info.character);
        m_windows.characterInfoWindow->decimalCodeLabel->setText(info.codeDec);
        if (info.found) {
            m_windows.characterInfoWindow->definitionLabel->setText(info.definition);
            m_windows.characterInfoWindow->radicalLabel->setText(info.radical);
            m_windows.characterInfoWindow->strokesLabel->setText(info.strokes);
            m_windows.characterInfoWindow->mandarinLabel->setText(info.mandarin);
            m_windows.characterInfoWindow->traditionalLabel->setText(info.traditional);
            m_windows.characterInfoWindow->simplifiedLabel->setText(info.simplified);
            m_windows.characterInfoWindow->radicalCharacterLabel->setText(info.radicalCharacter);
        } else {
            clearCharacterInfo();
        }
        if (!move.showsPopup()) {
            clearCharacterInfo();
            hideCharacterInfo();
            return;
        }
        m_windows.characterInfoWindow->placeNear(&m_window);
        m_windows.characterInfoWindow->show();
        m_windows.characterInfoWindow->raise();
        m_window.activateWindow();
        clearTextBox(readerBox(m_windows.readerWindow.get(), "dictionaryBox"));
        clearTextBox(m_windows.characterInfoWindow->dictionaryBox);
        dictBox = m_windows.characterInfoWindow->dictionaryBox;
    } else {
        QWidget *window = sender->window();
        QWidget *characterInfoBox = readerBox(window, "characterInfoBox");
        const QString line = korvana::readerSummary(ch, tables.unihanText, tables.unihanRecordStart(code), toneMarks);
        clearTextBox(characterInfoBox);
        if (move.showsSummary() && characterInfoBox)
            addTextBoxLine(characterInfoBox, line);
        dictBox = readerBox(window, "dictionaryBox");
        clearTextBox(dictBox);
        if (m_windows.characterInfoWindow)
            clearTextBox(m_windows.characterInfoWindow->dictionaryBox);
    }

    if (!move.looksUpWords())
        return;
    const korvana::HoverNeighbours n = korvana::neighboursAt(lineText, move.index, ch);
    const QStringList lines = m_dictionary.lines(korvana::dictionaryKeys(n), toneMarks);
    if (dictBox) {
        for (const QString &line : lines)
            addTextBoxLine(dictBox, line);
    }
}
