// The character information on hover: the character under the mouse in the
// characters pane is looked up in the character tables and the dictionary
// and shown in the popup FormHanzi; the reader sends its own text here too.
#include "app/TForm1.h"

#include "platform/richtext/RichEdit.h"
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"
#include "reference/TFormAsocFile.h"
#include "reference/TFormHanzi.h"

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

// Sends the pointer's moves over the characters pane to reChinMouseMove.
class CharactersPaneMouse : public QObject {
public:
    CharactersPaneMouse(TForm1 *form, QTextEdit *view) : QObject(view), m_form(form), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove)
            m_form->reChinMouseMove(m_view, static_cast<QMouseEvent *>(e)->position().toPoint());
        // Off the pane straight into another program's window: nothing of
        // this program sees the pointer any more to hide the popup later.
        if (e->type() == QEvent::Leave && !QApplication::widgetAt(QCursor::pos()))
            m_form->hideHanziInfo();
        return QObject::eventFilter(watched, e);
    }

private:
    TForm1 *m_form;
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

void TForm1::buildHoverControls()
{
    if (!reChinView)
        return;
    reChinView->setMouseTracking(true);
    reChinView->viewport()->setMouseTracking(true);
    reChinView->viewport()->installEventFilter(new CharactersPaneMouse(this, reChinView));
}

void TForm1::ClearHanziInfo()
{
    if (!FormHanzi)
        return;
    for (QLabel *l : {FormHanzi->lHanzi, FormHanzi->lrRadCh, FormHanzi->luRad, FormHanzi->luStrok,
                      FormHanzi->luMand, FormHanzi->luTrad, FormHanzi->luSimp, FormHanzi->luDef})
        l->clear();
}

void TForm1::hideHanziInfo()
{
    if (FormHanzi)
        FormHanzi->hide();
    FLastHoverChar = 0;
}

void TForm1::reChinMouseMove(QTextEdit *Sender, const QPoint &Pos)
{
    if (!Sender)
        return;
    const bool mainPane = Sender == reChinView;
    if (mainPane) {
        // Moving onto the characters ends the hover reveal of the panes
        // around it.
        if (chbPin && !chbPin->isChecked() && rePin)
            rePin->clear();
        if (chbNotes && !chbNotes->isChecked() && reNotes)
            reNotes->clear();
        if (FShowHiddenOnHover && reChin && reChin->text().isEmpty() && chbChin && !chbChin->isChecked()) {
            if (FNumbersMode)
                ShowChinNr(true);
            else
                ShowChin2(true);
        }
        // Without its tables the popup has nothing to show; the user's
        // setting is kept for the next run.
        if (!FShowHanziInfo || !FHanziInfoAvailable)
            return;
    }

    QTextDocument *doc = Sender->document();
    if (doc->isEmpty())
        return;
    QPoint hit = Pos;
    if (mainPane)
        hit.rx() += FFontsizeKanji - FFontsizeKanji / 3;
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
        ++P;
        ++C;
        at.setPosition(P);
        Q = Sender->cursorRect(at).topLeft();
    } else if (C <= 0) {
        return;
    }
    const QChar ch = S.at(C - 1);
    uint Code = ch.unicode();
    if (int(Code) == FLastHoverChar)
        return;
    FLastHoverChar = int(Code);
    // Far right of the last character: past the end of the line.
    if (Q.x() + 20 < hit.x())
        Code = 0;

    const auto toneMarks = [this](const QString &s) { return PinyinNumbersIntoToneMarks(s); };
    // The loaded table has an index; a text put there otherwise is searched.
    auto recordStart = [this](uint code) -> int {
        if (code == 0)
            return -1;
        const QString &loaded = charDatabase.unihanText();
        if (FUnihanText.size() == loaded.size() && FUnihanText.constData() == loaded.constData())
            return charDatabase.unihanRecordStart(code);
        return int(FUnihanText.indexOf(korvana::unihanKey(code)));
    };

    QWidget *dictBox = nullptr;
    if (mainPane) {
        if (!FormHanzi)
            return;
        korvana::HanziInfo info;
        try {
            info = korvana::hanziInfo(Code, QString(ch), FUnihanText, recordStart(Code), FRadicalsText, toneMarks);
        } catch (const korvana::Error &e) {
            korvana::reportUnhandledError(e.message());
            return;
        }
        FormHanzi->lKodHex->setText(info.codeHex);
        FormHanzi->lHanzi->setText(info.hanzi);
        FormHanzi->lKodDec->setText(info.codeDec);
        if (info.found) {
            FormHanzi->luDef->setText(info.definition);
            FormHanzi->luRad->setText(info.radical);
            FormHanzi->luStrok->setText(info.strokes);
            FormHanzi->luMand->setText(info.mandarin);
            FormHanzi->luTrad->setText(info.traditional);
            FormHanzi->luSimp->setText(info.simplified);
            FormHanzi->lrRadCh->setText(info.radicalCharacter);
        } else {
            ClearHanziInfo();
        }
        if (Code == 0 || Code == 13) {
            ClearHanziInfo();
            hideHanziInfo();
            return;
        }
        FormHanzi->SetPosition(this);
        FormHanzi->show();
        FormHanzi->raise();
        activateWindow();
        clearMemo(readerBox(FormAsocFile, "mDict"));
        clearMemo(FormHanzi->TntMemo1);
        dictBox = FormHanzi->TntMemo1;
    } else {
        QWidget *window = Sender->window();
        QWidget *mUnihan = readerBox(window, "mUnihan");
        const QString line = korvana::readerSummary(QString(ch), FUnihanText, recordStart(Code), toneMarks);
        clearMemo(mUnihan);
        if (Code > 255 && mUnihan)
            addMemoLine(mUnihan, line);
        dictBox = readerBox(window, "mDict");
        clearMemo(dictBox);
        if (FormHanzi)
            clearMemo(FormHanzi->TntMemo1);
    }

    if (Code == 0)
        return;
    const korvana::HoverNeighbours n = korvana::neighboursAt(S, C - 1, QChar(char16_t(Code)));
    const QStringList lines =
        korvana::dictionaryLines(FDictText, korvana::dictionaryKeys(n), toneMarks, &dictionaryLineIndex());
    if (dictBox) {
        for (const QString &line : lines)
            addMemoLine(dictBox, line);
    }
}
