// Flash mode: the current term's characters shown briefly and repeatedly,
// over the whole screen in the flash window or in the characters pane, and
// after a full-screen flash, optionally, a card with the translation, the
// pinyin and the notes.
//
// The show and hide periods are timed by flashClock. Its waits keep the
// message queue running, so the window stays responsive; a key pressed at
// any moment ends the flash, and a flash asked for while one runs (the
// Backspace key, a step of the automatic mode) ends the running one and
// follows it.
#include "app/TForm1.h"
#include "platform/ui/MessagePump.h"
#include "practice/TFormFlash.h"
#include "settings/Colors.h"
#include "settings/TFormOptions.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QLineEdit>
#include <QFontMetrics>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace {

// Every key pressed while a flash runs ends it. The key still goes on to its
// receiver: on the flash window it closes the window, in the main window it
// runs its command.
class FlashKeyWatch : public QObject {
public:
    explicit FlashKeyWatch(bool &stop) : m_stop(stop) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress)
            m_stop = true;
        return false;
    }

private:
    bool &m_stop;
};

// Puts widget right after anchor in whichever box layout under root holds
// anchor; false when none does.
bool insertAfter(QLayout *root, QWidget *anchor, QWidget *widget)
{
    if (!root)
        return false;
    if (auto *box = qobject_cast<QBoxLayout *>(root)) {
        const int at = box->indexOf(anchor);
        if (at >= 0) {
            box->insertWidget(at + 1, widget);
            return true;
        }
    }
    for (int i = 0; i < root->count(); ++i)
        if (insertAfter(root->itemAt(i)->layout(), anchor, widget))
            return true;
    return false;
}

void caretHome(korvana::RichEdit *edit)
{
    edit->setSelStart(0);
    if (QTextEdit *v = edit->view())
        v->viewport()->repaint();
}

} // namespace

void TForm1::buildFlashControls()
{
    flashClock = std::make_shared<korvana::SystemFlashClock>();
    lblFlashNow = new korvana::ClickLabel(QStringLiteral("Flash"), this);
    lblFlashNow->setObjectName(QStringLiteral("lblFlashNow"));
    lblFlashNow->setContentsMargins(8, 0, 0, 0); // parted from "Brain Flash" beside it
    connect(lblFlashNow, &korvana::ClickLabel::clicked, this, [this] { lblFlashNowClick(); });
    // Beside the flash mode's switch.
    if (!insertAfter(mainLayout, lblFlash, lblFlashNow) && bottomRow)
        bottomRow->addWidget(lblFlashNow);
}

void TForm1::lblFlashNowClick()
{
    Flash(true);
}

TFormFlash *TForm1::flashWindow()
{
    // The flash window is made after the main window, so the two meet here,
    // the first time the main window uses it.
    if (FormFlash)
        connect(FormFlash, &TFormFlash::closed, this, &TForm1::flashWindowClosed, Qt::UniqueConnection);
    return FormFlash;
}

void TForm1::flashWindowClosed()
{
    // Closing the card by input ends an automatic mode that flashes every
    // term.
    if (chbFlash->isChecked() && chbAuto->isChecked())
        chbAuto->setChecked(false);
}

// The current term's characters as the term display formatted them.
void TForm1::copyCharacters(korvana::RichEdit *target)
{
    // All of the text but the final paragraph mark.
    RichEdit2->setSelStart(0);
    RichEdit2->setSelLength(RichEdit2->textLength());
    korvana::CopyRTF(RichEdit2, target);
}

namespace {
// The staging copy: the characters in the flash colours at the Kanji size.
void stage(TFormFlash *w, TForm1 *f)
{
    w->reFlash->clear();
    w->reMezi->clear();
    f->RichEdit2->setSelStart(0);
    f->RichEdit2->setSelLength(f->RichEdit2->textLength());
    korvana::CopyRTF(f->RichEdit2, w->reMezi);
    w->setEditBackground(w->reMezi, korvana::toQColor(f->FFlashBackgroundColor));
    w->reMezi->setSel(0, -1);
    w->reMezi->setSelColor(korvana::toQColor(f->FFlashColor));
    if (f->FFontsizeKanji > 0)
        w->reMezi->setSelSize(f->FFontsizeKanji);
}

// All of the staging copy's text, without the final paragraph mark, ready to
// be copied.
void selectStaged(korvana::RichEdit *reMezi)
{
    reMezi->setSelStart(0);
    reMezi->setSelLength(reMezi->textLength());
}
} // namespace

void TForm1::ActivateFlash()
{
    TFormFlash *w = flashWindow();
    if (!w)
        return;
    stage(w, this);
    selectStaged(w->reMezi);
    korvana::CopyRTF(w->reMezi, w->reFlash);
    w->reFlash->setAlignment(korvana::TextAlignment::Center);
    const std::pair<korvana::RichEdit *, korvana::RichEdit *> strips[] = {
        {reOrig, w->reOrig}, {rePin, w->rePin}, {reNotes, w->reNotes}};
    for (const auto &[pane, strip] : strips) {
        strip->clear();
        korvana::CopyRTF(pane, strip);
        strip->setAlignment(korvana::TextAlignment::Center);
        w->setEditVisible(strip, true);
    }
    w->setEditVisible(w->reFlash, true);
    w->setEditVisible(w->reMezi, false);
}

int TForm1::MeasureFlashText(QWidget *Control, const QString &Text, const QFont &Font)
{
    // The font at the staging copy's size; the font passed in is left as it
    // is.
    QFont font = Font;
    if (FormFlash) {
        const double size = FormFlash->reMezi->selAttributes().sizePoints;
        if (size > 0)
            font.setPointSizeF(size);
    }
    const QFontMetrics metrics(font, Control);
    return std::max(metrics.height(), metrics.boundingRect(Text).height());
}

bool TForm1::flashStopped() const
{
    return m_flash.stop;
}

bool TForm1::flashWait(int ms)
{
    return flashClock->wait(ms, [this] { return flashStopped(); });
}

void TForm1::Flash(bool Auto)
{
    if (m_flash.running) {
        // Asked for from inside a running flash: that one ends at once and
        // this one runs after it.
        m_flash.stop = true;
        m_flash.again = Auto;
        return;
    }
    m_flash.running = true;
    struct Reset {
        FlashState &state;
        ~Reset() { state = FlashState{}; }
    } reset{m_flash};

    std::optional<bool> next = Auto;
    while (next) {
        m_flash.stop = false;
        m_flash.again.reset();
        flashOnce(*next);
        next = m_flash.again;
    }
}

void TForm1::flashOnce(bool Auto)
{
    if (RichEdit2->text().isEmpty()) {
        // Nothing to flash, but a card left up by the previous term must not
        // stand for this one: in the automatic mode it shows this term
        // without characters, otherwise it goes.
        if (FormFlash && FormFlash->isVisible()) {
            if (chbAuto->isChecked() && chbFlash->isChecked()) {
                FormFlash->reFlash->clear();
                fillFlashCard();
            } else {
                FormFlash->close();
            }
        }
        return;
    }

    // Every number this flash needs is read before anything changes, so a
    // bad one leaves the screen as it was.
    const bool fullScreen = FormOptions->chbFlashFullScreen->isChecked();
    const bool withAuto = chbAuto->isChecked() && chbFlash->isChecked();
    const int delay = Auto ? -1 : korvana::flashDelayMs(FormOptions->edDelay->text());
    // In the automatic mode a full-screen flash shows the term at once and
    // leaves the card, without cycles.
    const int cycles = fullScreen && withAuto ? 0 : korvana::flashCycles(FormOptions->edRepeat->text());
    const int period = cycles > 0 ? korvana::flashPeriodMs(FormOptions->edInterval->text()) : -1;
    TFormFlash *w = fullScreen ? flashWindow() : nullptr;
    if (fullScreen && !w)
        return;

    FlashKeyWatch keys(m_flash.stop);
    if (!flashWait(delay))
        return;

    if (!fullScreen) {
        if (FormFlash)
            stage(FormFlash, this);
        // In the characters pane: each cycle hides the characters for one
        // period and shows them for the next.
        for (int i = 0; i < cycles && !flashStopped(); ++i) {
            korvana::MessagePump::processPending();
            if (flashStopped())
                break;
            reChin->clear();
            caretHome(reChin);
            if (!flashWait(period))
                break;
            copyCharacters(reChin);
            caretHome(reChin);
            if (!flashWait(period))
                break;
        }
        // However the flash ended, the pane shows what its switch says.
        reChin->clear();
        if (chbChin->isChecked())
            copyCharacters(reChin);
        caretHome(reChin);
        return;
    }

    stage(w, this);
    for (korvana::RichEdit *strip : {w->reOrig, w->rePin, w->reNotes}) {
        w->setEditVisible(strip, false);
        strip->clear();
    }
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 800, 600);
    w->setGeometry(screenRect);
    w->showFullScreen();
    w->bringToFront();
    w->setEditVisible(w->reFlash, false);

    // The fewer the characters, the larger they stand.
    w->reMezi->setSel(0, -1);
    w->reMezi->setSelSize(korvana::flashFontSize(int(w->reMezi->text().toUcs4().size())));
    int height = MeasureFlashText(w, w->reMezi->text(), w->reMeziView->font());

    w->reMezi->setSel(0, -1);
    w->reMezi->setSelColor(korvana::toQColor(FFlashColor));
    const QColor background = korvana::toQColor(FFlashBackgroundColor);
    w->setEditBackground(w->reFlash, background);
    w->setBackground(background);
    w->reMezi->setAlignment(korvana::TextAlignment::Center);
    selectStaged(w->reMezi);
    korvana::CopyRTF(w->reMezi, w->reFlash);
    w->reFlash->setAlignment(korvana::TextAlignment::Center);
    // Glyphs from a fallback font can stand taller than the measured line;
    // the box grows to hold them rather than cut them.
    height = std::max(height, int(std::ceil(w->reFlash->document()->size().height())));
    w->placeFlash(QRect(0, (screenRect.height() - height) / 3, screenRect.width(), height));

    // Input closes the window; then the flash is over.
    auto closedByInput = [w] { return !w->isVisible(); };
    for (int i = 0; i < cycles; ++i) {
        korvana::MessagePump::processPending();
        if (flashStopped() || closedByInput())
            break;
        w->setEditVisible(w->reFlash, true);
        if (!flashWait(period) || closedByInput())
            break;
        w->setEditVisible(w->reFlash, false);
        if (!flashWait(period) || closedByInput())
            break;
    }
    if (closedByInput())
        return;
    w->setEditVisible(w->reFlash, true);

    if (FormOptions->chbKeepOpen->isChecked() || (chbAuto->isChecked() && chbFlash->isChecked())) {
        fillFlashCard();
    } else {
        w->close();
        update();
    }
}

// The card under the flashed characters: translation, pinyin and notes in
// the inverse of the flash colours, whatever the panes' switches say.
void TForm1::fillFlashCard()
{
    TFormFlash *w = FormFlash;
    struct Strip {
        void (TForm1::*fill)(bool);
        korvana::RichEdit *pane;
        korvana::RichEdit *strip;
    };
    const Strip strips[] = {{&TForm1::ShowOrig2, reOrig, w->reOrig},
                            {&TForm1::ShowPin2, rePin, w->rePin},
                            {&TForm1::ShowNotes2, reNotes, w->reNotes}};
    for (const Strip &s : strips) {
        (this->*s.fill)(true);
        s.strip->clear();
        korvana::CopyRTF(s.pane, s.strip);
        (this->*s.fill)(false);

        w->setEditBackground(s.strip, korvana::toQColor(FFlashColor));
        s.strip->setSel(0, -1);
        s.strip->setSelSize(25);
        s.strip->setSelColor(korvana::toQColor(FFlashBackgroundColor));
        s.strip->setAlignment(korvana::TextAlignment::Center);
        s.strip->setSelStart(0);
        w->setEditVisible(s.strip, !s.strip->text().isEmpty());
    }
    w->layoutStrips();
}
