// The character information on hover: the character under the mouse in the
// characters pane is looked up in the character tables and the dictionary
// and shown in the popup characterInfoWindow; the reader sends its own text here too.
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/ProgramWindows.h"

#include "platform/richtext/RichEdit.h"
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"
#include "reference/DictionaryData.h"
#include "reference/ReaderWindow.h"
#include "reference/CharacterInfoWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

namespace {

// Sends the pointer's moves over the characters pane to charactersViewMouseMoved.
class CharactersPaneMouse : public QObject {
public:
    CharactersPaneMouse(MainWindow *form, QTextEdit *view) : QObject(view), m_form(form), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove)
            m_form->charactersViewMouseMoved(m_view, static_cast<QMouseEvent *>(e)->position().toPoint());
        // Off the pane straight into another program's window: nothing of
        // this program sees the pointer any more to hide the popup later.
        if (e->type() == QEvent::Leave && !QApplication::widgetAt(QCursor::pos()))
            m_form->hideCharacterInfo();
        return QObject::eventFilter(watched, e);
    }

private:
    MainWindow *m_form;
    QTextEdit *m_view;
};

void clearMemo(QWidget *memo)
{
    if (auto *p = qobject_cast<QPlainTextEdit *>(memo))
        p->clear();
    else if (auto *t = qobject_cast<QTextEdit *>(memo))
        t->clear();
}

// Adds a line and scrolls back up by four lines, so that the first (longest)
// entries stay in view as more arrive.
void addMemoLine(QWidget *memo, const QString &line)
{
    QScrollBar *bar = nullptr;
    int step = 1;
    if (auto *p = qobject_cast<QPlainTextEdit *>(memo)) {
        p->appendPlainText(line);
        bar = p->verticalScrollBar();
    } else if (auto *t = qobject_cast<QTextEdit *>(memo)) {
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

void MainWindow::buildHoverControls()
{
    if (!charactersView)
        return;
    charactersView->setMouseTracking(true);
    charactersView->viewport()->setMouseTracking(true);
    charactersView->viewport()->installEventFilter(new CharactersPaneMouse(this, charactersView));
}

void MainWindow::clearCharacterInfo()
{
    if (!windows.characterInfoWindow)
        return;
    for (QLabel *l : {windows.characterInfoWindow->characterLabel, windows.characterInfoWindow->radicalCharacterLabel,
                      windows.characterInfoWindow->radicalLabel, windows.characterInfoWindow->strokesLabel,
                      windows.characterInfoWindow->mandarinLabel, windows.characterInfoWindow->traditionalLabel,
                      windows.characterInfoWindow->simplifiedLabel, windows.characterInfoWindow->definitionLabel})
        l->clear();
}

void MainWindow::hideCharacterInfo()
{
    if (windows.characterInfoWindow)
        windows.characterInfoWindow->hide();
    m_lastHoverChar = 0;
}

void MainWindow::charactersViewMouseMoved(QTextEdit *Sender, const QPoint &Pos)
{
    if (!Sender)
        return;
    loadPendingData();
    const bool mainPane = Sender == charactersView;
    if (mainPane) {
        // Moving onto the characters ends the hover reveal of the panes
        // around it.
        if (pinyinSwitch && !pinyinSwitch->isChecked() && pinyinText)
            pinyinText->clear();
        if (notesSwitch && !notesSwitch->isChecked() && notesText)
            notesText->clear();
        if (settings.showHiddenOnHover && charactersText && charactersText->text().isEmpty() && charactersSwitch
            && !charactersSwitch->isChecked()) {
            if (m_numbers->drill().on)
                m_numbers->showNumberCharacters(true);
            else
                showCharacters(true);
        }
        // Without its tables the popup has nothing to show; the user's
        // setting is kept for the next run.
        if (!settings.hanziInfoOnHover || !referenceData.hanziInfoAvailable)
            return;
    }

    QTextDocument *doc = Sender->document();
    if (doc->isEmpty())
        return;
    QPoint hit = Pos;
    if (mainPane)
        hit.rx() += settings.kanjiFontSize - settings.kanjiFontSize / 3;
    // The caret position nearest the point.
    int P = Sender->cursorForPosition(hit).position();
    QTextBlock block = doc->findBlock(P);
    if (!block.isValid())
        return;
    int C = P - block.position();
    const QString S = block.text();
    if (C > S.size())
        return;
    QTextCursor at(doc);
    at.setPosition(P);
    QPoint Q = Sender->cursorRect(at).topLeft();
    if (mainPane) {
        // The pane's hit point is shifted right by most of a character, so
        // the character just before the nearest caret position is the one
        // under the pointer.
        if (P <= 0 || C <= 0)
            return;
    } else if (C < S.size() && (hit.x() >= Q.x() || C == 0)) {
        // The nearest caret position lies left of the point: the pointer is
        // on the left half of the character after it, which is the one
        // looked up (the one before it when the point is on its right half).
        const int length = C + 1 < S.size() && S.at(C).isHighSurrogate() && S.at(C + 1).isLowSurrogate() ? 2 : 1;
        P += length;
        C += length;
        at.setPosition(P);
        Q = Sender->cursorRect(at).topLeft();
    } else if (C <= 0) {
        return;
    }
    // The whole character before C: a character beyond U+FFFF (CJK
    // Extension B and on) is a surrogate pair, looked up by its code point.
    int first = C - 1;
    if (first > 0 && S.at(first).isLowSurrogate() && S.at(first - 1).isHighSurrogate())
        --first;
    const QString ch = S.mid(first, S.at(first).isHighSurrogate() && first + 1 < S.size()
                                            && S.at(first + 1).isLowSurrogate()
                                        ? 2
                                        : 1);
    uint Code = ch.size() == 2 ? QChar::surrogateToUcs4(ch.at(0), ch.at(1)) : ch.at(0).unicode();
    if (int(Code) == m_lastHoverChar)
        return;
    m_lastHoverChar = int(Code);
    // Far right of the last character: past the end of the line.
    if (Q.x() + 20 < hit.x())
        Code = 0;

    const auto toneMarks = [this](const QString &s) { return pinyinNumbersIntoToneMarks(s); };
    const korvana::ReferenceData &tables = referenceData;

    QWidget *dictBox = nullptr;
    if (mainPane) {
        if (!windows.characterInfoWindow)
            return;
        korvana::HanziInfo info;
        try {
            info = korvana::hanziInfo(Code, ch, tables.unihanText, tables.unihanRecordStart(Code),
                                      tables.radicalsText, toneMarks);
        } catch (const korvana::Error &e) {
            korvana::reportUnhandledError(e.message());
            return;
        }
        windows.characterInfoWindow->hexCodeLabel->setText(info.codeHex);
        windows.characterInfoWindow->characterLabel->setText(info.hanzi);
        windows.characterInfoWindow->decimalCodeLabel->setText(info.codeDec);
        if (info.found) {
            windows.characterInfoWindow->definitionLabel->setText(info.definition);
            windows.characterInfoWindow->radicalLabel->setText(info.radical);
            windows.characterInfoWindow->strokesLabel->setText(info.strokes);
            windows.characterInfoWindow->mandarinLabel->setText(info.mandarin);
            windows.characterInfoWindow->traditionalLabel->setText(info.traditional);
            windows.characterInfoWindow->simplifiedLabel->setText(info.simplified);
            windows.characterInfoWindow->radicalCharacterLabel->setText(info.radicalCharacter);
        } else {
            clearCharacterInfo();
        }
        if (Code == 0 || Code == 13) {
            clearCharacterInfo();
            hideCharacterInfo();
            return;
        }
        windows.characterInfoWindow->placeNear(this);
        windows.characterInfoWindow->show();
        windows.characterInfoWindow->raise();
        activateWindow();
        clearMemo(readerBox(windows.readerWindow.get(), "dictionaryBox"));
        clearMemo(windows.characterInfoWindow->dictionaryBox);
        dictBox = windows.characterInfoWindow->dictionaryBox;
    } else {
        QWidget *window = Sender->window();
        QWidget *characterInfoBox = readerBox(window, "characterInfoBox");
        const QString line = korvana::readerSummary(ch, tables.unihanText, tables.unihanRecordStart(Code), toneMarks);
        clearMemo(characterInfoBox);
        if (Code > 255 && characterInfoBox)
            addMemoLine(characterInfoBox, line);
        dictBox = readerBox(window, "dictionaryBox");
        clearMemo(dictBox);
        if (windows.characterInfoWindow)
            clearMemo(windows.characterInfoWindow->dictionaryBox);
    }

    if (Code == 0)
        return;
    const korvana::HoverNeighbours n = korvana::neighboursAt(S, first, ch);
    const QStringList lines = dictionary.lines(korvana::dictionaryKeys(n), toneMarks);
    if (dictBox) {
        for (const QString &line : lines)
            addMemoLine(dictBox, line);
    }
}
