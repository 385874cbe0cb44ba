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
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "platform/ui/MessagePump.h"
#include "practice/FlashWindow.h"
#include "settings/Colors.h"
#include "settings/OptionsDialog.h"

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

void MainWindow::buildFlashControls()
{
    flashClock = std::make_shared<korvana::SystemFlashClock>();
    flashNowLabel = new korvana::ClickLabel(QStringLiteral("Flash"), this);
    flashNowLabel->setObjectName(QStringLiteral("flashNowLabel"));
    flashNowLabel->setContentsMargins(8, 0, 0, 0); // parted from "Brain Flash" beside it
    connect(flashNowLabel, &korvana::ClickLabel::clicked, this, [this] { flashNowLabelClicked(); });
    // Beside the flash mode's switch.
    if (!insertAfter(mainLayout, flashSwitchLabel, flashNowLabel) && bottomRow)
        bottomRow->addWidget(flashNowLabel);
}

void MainWindow::flashNowLabelClicked()
{
    flash(true);
}

FlashWindow *MainWindow::connectedFlashWindow()
{
    // The flash window is made after the main window, so the two meet here,
    // the first time the main window uses it.
    if (windows.flashWindow)
        connect(windows.flashWindow.get(), &FlashWindow::closed, this, &MainWindow::flashWindowClosed,
                Qt::UniqueConnection);
    return windows.flashWindow.get();
}

void MainWindow::flashWindowClosed()
{
    // Closing the card by input ends an automatic mode that flashes every
    // term.
    if (flashSwitch->isChecked() && autoSwitch->isChecked())
        autoSwitch->setChecked(false);
}

// The current term's characters as the term display formatted them.
void MainWindow::copyCharacters(korvana::RichEdit *target)
{
    // All of the text but the final paragraph mark.
    termCharactersText->setSelStart(0);
    termCharactersText->setSelLength(termCharactersText->textLength());
    korvana::copyRichText(termCharactersText, target);
}

namespace {
// The staging copy: the characters in the flash colours at the Kanji size.
void stage(FlashWindow *w, korvana::RichEdit *characters, quint32 color, quint32 background, int kanjiFontSize)
{
    w->flashedText->clear();
    w->stagingText->clear();
    characters->setSelStart(0);
    characters->setSelLength(characters->textLength());
    korvana::copyRichText(characters, w->stagingText);
    w->setEditBackground(w->stagingText, korvana::toQColor(background));
    w->stagingText->setSel(0, -1);
    w->stagingText->setSelColor(korvana::toQColor(color));
    if (kanjiFontSize > 0)
        w->stagingText->setSelSize(kanjiFontSize);
}

// All of the staging copy's text, without the final paragraph mark, ready to
// be copied.
void selectStaged(korvana::RichEdit *stagingText)
{
    stagingText->setSelStart(0);
    stagingText->setSelLength(stagingText->textLength());
}
} // namespace

void MainWindow::activateFlash()
{
    FlashWindow *w = connectedFlashWindow();
    if (!w)
        return;
    stage(w, termCharactersText, m_flashColor, m_flashBackgroundColor, settings.kanjiFontSize);
    selectStaged(w->stagingText);
    korvana::copyRichText(w->stagingText, w->flashedText);
    w->flashedText->setAlignment(korvana::TextAlignment::Center);
    const std::pair<korvana::RichEdit *, korvana::RichEdit *> strips[] = {
        {translationText, w->translationText}, {pinyinText, w->pinyinText}, {notesText, w->notesText}};
    for (const auto &[pane, strip] : strips) {
        strip->clear();
        korvana::copyRichText(pane, strip);
        strip->setAlignment(korvana::TextAlignment::Center);
        w->setEditVisible(strip, true);
    }
    w->setEditVisible(w->flashedText, true);
    w->setEditVisible(w->stagingText, false);
}

int MainWindow::measureFlashText(QWidget *Control, const QString &Text, const QFont &Font)
{
    // The font at the staging copy's size; the font passed in is left as it
    // is.
    QFont font = Font;
    if (windows.flashWindow) {
        const double size = windows.flashWindow->stagingText->selAttributes().sizePoints;
        if (size > 0)
            font.setPointSizeF(size);
    }
    const QFontMetrics metrics(font, Control);
    return std::max(metrics.height(), metrics.boundingRect(Text).height());
}

bool MainWindow::flashStopped() const
{
    return m_flash.stop;
}

bool MainWindow::flashWait(int ms)
{
    return flashClock->wait(ms, [this] { return flashStopped(); });
}

void MainWindow::flash(bool Auto)
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

void MainWindow::flashOnce(bool Auto)
{
    if (termCharactersText->text().isEmpty()) {
        // Nothing to flash, but a card left up by the previous term must not
        // stand for this one: in the automatic mode it shows this term
        // without characters, otherwise it goes.
        if (windows.flashWindow && windows.flashWindow->isVisible()) {
            if (autoSwitch->isChecked() && flashSwitch->isChecked()) {
                windows.flashWindow->flashedText->clear();
                fillFlashCard();
            } else {
                windows.flashWindow->close();
            }
        }
        return;
    }

    // Every number this flash needs is read before anything changes, so a
    // bad one leaves the screen as it was.
    windows.optionsDialog->buildPages();
    const bool fullScreen = windows.optionsDialog->flashFullScreenSwitch->isChecked();
    const bool withAuto = autoSwitch->isChecked() && flashSwitch->isChecked();
    const int delay = Auto ? -1 : korvana::flashDelayMs(windows.optionsDialog->flashDelayEdit->text());
    // In the automatic mode a full-screen flash shows the term at once and
    // leaves the card, without cycles.
    const int cycles
        = fullScreen && withAuto ? 0 : korvana::flashCycles(windows.optionsDialog->flashRepeatEdit->text());
    const int period = cycles > 0 ? korvana::flashPeriodMs(windows.optionsDialog->flashIntervalEdit->text()) : -1;
    FlashWindow *w = fullScreen ? connectedFlashWindow() : nullptr;
    if (fullScreen && !w)
        return;

    FlashKeyWatch keys(m_flash.stop);
    if (!flashWait(delay))
        return;

    if (!fullScreen) {
        if (windows.flashWindow)
            stage(windows.flashWindow.get(), termCharactersText, m_flashColor, m_flashBackgroundColor,
                  settings.kanjiFontSize);
        // In the characters pane: each cycle hides the characters for one
        // period and shows them for the next.
        for (int i = 0; i < cycles && !flashStopped(); ++i) {
            korvana::MessagePump::processPending();
            if (flashStopped())
                break;
            charactersText->clear();
            caretHome(charactersText);
            if (!flashWait(period))
                break;
            copyCharacters(charactersText);
            caretHome(charactersText);
            if (!flashWait(period))
                break;
        }
        // However the flash ended, the pane shows what its switch says.
        charactersText->clear();
        if (charactersSwitch->isChecked())
            copyCharacters(charactersText);
        caretHome(charactersText);
        return;
    }

    stage(w, termCharactersText, m_flashColor, m_flashBackgroundColor, settings.kanjiFontSize);
    for (korvana::RichEdit *strip : {w->translationText, w->pinyinText, w->notesText}) {
        w->setEditVisible(strip, false);
        strip->clear();
    }
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 800, 600);
    w->setGeometry(screenRect);
    w->showFullScreen();
    w->bringToFront();
    w->setEditVisible(w->flashedText, false);

    // The fewer the characters, the larger they stand.
    w->stagingText->setSel(0, -1);
    w->stagingText->setSelSize(korvana::flashFontSize(int(w->stagingText->text().toUcs4().size())));
    int height = measureFlashText(w, w->stagingText->text(), w->stagingView->font());

    w->stagingText->setSel(0, -1);
    w->stagingText->setSelColor(korvana::toQColor(m_flashColor));
    const QColor background = korvana::toQColor(m_flashBackgroundColor);
    w->setEditBackground(w->flashedText, background);
    w->setBackground(background);
    w->stagingText->setAlignment(korvana::TextAlignment::Center);
    selectStaged(w->stagingText);
    korvana::copyRichText(w->stagingText, w->flashedText);
    w->flashedText->setAlignment(korvana::TextAlignment::Center);
    // Glyphs from a fallback font can stand taller than the measured line;
    // the box grows to hold them rather than cut them.
    height = std::max(height, int(std::ceil(w->flashedText->document()->size().height())));
    w->placeFlash(QRect(0, (screenRect.height() - height) / 3, screenRect.width(), height));

    // Input closes the window; then the flash is over.
    auto closedByInput = [w] { return !w->isVisible(); };
    for (int i = 0; i < cycles; ++i) {
        korvana::MessagePump::processPending();
        if (flashStopped() || closedByInput())
            break;
        w->setEditVisible(w->flashedText, true);
        if (!flashWait(period) || closedByInput())
            break;
        w->setEditVisible(w->flashedText, false);
        if (!flashWait(period) || closedByInput())
            break;
    }
    if (closedByInput())
        return;
    w->setEditVisible(w->flashedText, true);

    if (windows.optionsDialog->flashKeepOpenSwitch->isChecked()
        || (autoSwitch->isChecked() && flashSwitch->isChecked())) {
        fillFlashCard();
    } else {
        w->close();
        update();
    }
}

// The card under the flashed characters: translation, pinyin and notes in
// the inverse of the flash colours, whatever the panes' switches say.
void MainWindow::fillFlashCard()
{
    FlashWindow *w = windows.flashWindow.get();
    struct Strip {
        void (MainWindow::*fill)(bool);
        korvana::RichEdit *pane;
        korvana::RichEdit *strip;
    };
    const Strip strips[] = {{&MainWindow::showTranslation, translationText, w->translationText},
                            {&MainWindow::showPinyin, pinyinText, w->pinyinText},
                            {&MainWindow::showNotes, notesText, w->notesText}};
    for (const Strip &s : strips) {
        (this->*s.fill)(true);
        s.strip->clear();
        korvana::copyRichText(s.pane, s.strip);
        (this->*s.fill)(false);

        w->setEditBackground(s.strip, korvana::toQColor(m_flashColor));
        s.strip->setSel(0, -1);
        s.strip->setSelSize(25);
        s.strip->setSelColor(korvana::toQColor(m_flashBackgroundColor));
        s.strip->setAlignment(korvana::TextAlignment::Center);
        s.strip->setSelStart(0);
        w->setEditVisible(s.strip, !s.strip->text().isEmpty());
    }
    w->layoutStrips();
}
