// The show and hide periods are timed by the flash clock. Its waits keep the
// message queue running, so the window stays responsive; a key pressed at
// any moment ends the flash, and a flash asked for while one runs (the
// Backspace key, a step of the automatic mode) ends the running one and
// follows it.
#include "app/FlashRunner.h"
#include "app/MainWindowControls.h"
#include "app/ProgramWindows.h"
#include "platform/ui/MessagePump.h"
#include "practice/FlashWindow.h"
#include "settings/Colors.h"
#include "settings/MainSettings.h"
#include "settings/OptionsDialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

using korvana::Pane;

namespace {

// Every key pressed while a flash runs ends it. The key still goes on to its
// receiver: on the flash window it closes the window, in the main window it
// runs its command.
class FlashKeyWatch : public QObject {
public:
    explicit FlashKeyWatch(korvana::FlashRun &run) : m_run(run) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress)
            m_run.stop();
        return false;
    }

private:
    korvana::FlashRun &m_run;
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

FlashRunner::FlashRunner(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                         const korvana::MainSettings &settings, PaneFill fill)
    : m_window(window), m_controls(controls), m_windows(windows), m_settings(settings), m_fill(std::move(fill)),
      m_clock(std::make_shared<korvana::SystemFlashClock>())
{
}

void FlashRunner::buildControls()
{
    korvana::ClickLabel *&flashNowLabel = m_controls.flashNowLabel;
    flashNowLabel = new korvana::ClickLabel(QStringLiteral("Flash"), &m_window);
    flashNowLabel->setObjectName(QStringLiteral("flashNowLabel"));
    flashNowLabel->setContentsMargins(8, 0, 0, 0); // parted from "Brain Flash" beside it
    connect(flashNowLabel, &korvana::ClickLabel::clicked, this, [this] { flashNowLabelClicked(); });
    // Beside the flash mode's switch.
    if (!insertAfter(m_controls.mainLayout, m_controls.flashSwitchLabel, flashNowLabel) && m_controls.bottomRow)
        m_controls.bottomRow->addWidget(flashNowLabel);
}

void FlashRunner::flashNowLabelClicked()
{
    flash(true);
}

FlashWindow *FlashRunner::connectedFlashWindow()
{
    // The flash window is made after the main window, so the two meet here,
    // the first time the main window uses it.
    if (m_windows.flashWindow)
        connect(m_windows.flashWindow.get(), &FlashWindow::closed, this, &FlashRunner::flashWindowClosed,
                Qt::UniqueConnection);
    return m_windows.flashWindow.get();
}

void FlashRunner::flashWindowClosed()
{
    // Closing the card by input ends an automatic mode that flashes every
    // term.
    if (m_controls.flashSwitch->isChecked() && m_controls.autoSwitch->isChecked())
        m_controls.autoSwitch->setChecked(false);
}

// The current term's characters as the term display formatted them.
void FlashRunner::copyCharacters(korvana::RichEdit *target)
{
    // All of the text but the final paragraph mark.
    m_controls.termCharactersText->setSelStart(0);
    m_controls.termCharactersText->setSelLength(m_controls.termCharactersText->textLength());
    korvana::copyRichText(m_controls.termCharactersText, target);
}

namespace {
// The staging copy: the characters in the flash colours at the characters size.
void stage(FlashWindow *w, korvana::RichEdit *characters, quint32 color, quint32 background, int charactersFontSize)
{
    w->flashedText->clear();
    w->stagingText->clear();
    characters->setSelStart(0);
    characters->setSelLength(characters->textLength());
    korvana::copyRichText(characters, w->stagingText);
    w->setEditBackground(w->stagingText, korvana::toQColor(background));
    w->stagingText->setSel(0, -1);
    w->stagingText->setSelColor(korvana::toQColor(color));
    if (charactersFontSize > 0)
        w->stagingText->setSelSize(charactersFontSize);
}

// All of the staging copy's text, without the final paragraph mark, ready to
// be copied.
void selectStaged(korvana::RichEdit *stagingText)
{
    stagingText->setSelStart(0);
    stagingText->setSelLength(stagingText->textLength());
}
} // namespace

void FlashRunner::activateFlash()
{
    FlashWindow *w = connectedFlashWindow();
    if (!w)
        return;
    stage(w, m_controls.termCharactersText, m_color, m_backgroundColor, m_settings.fontSizes[Pane::Characters]);
    selectStaged(w->stagingText);
    korvana::copyRichText(w->stagingText, w->flashedText);
    w->flashedText->setAlignment(korvana::TextAlignment::Center);
    for (const FlashWindow::Strip &strip : w->strips) {
        strip.text->clear();
        korvana::copyRichText(m_controls.panes[strip.pane].text, strip.text);
        strip.text->setAlignment(korvana::TextAlignment::Center);
        w->setEditVisible(strip.text, true);
    }
    w->setEditVisible(w->flashedText, true);
    w->setEditVisible(w->stagingText, false);
}

int FlashRunner::measureFlashText(QWidget *control, const QString &text, const QFont &baseFont)
{
    // The font at the staging copy's size; the font passed in is left as it
    // is.
    QFont font = baseFont;
    if (m_windows.flashWindow) {
        const double size = m_windows.flashWindow->stagingText->selAttributes().sizePoints;
        if (size > 0)
            font.setPointSizeF(size);
    }
    const QFontMetrics metrics(font, control);
    return std::max(metrics.height(), metrics.boundingRect(text).height());
}

bool FlashRunner::flashWait(int ms)
{
    return m_clock->wait(ms, [this] { return m_run.stopped(); });
}

void FlashRunner::flash(bool automatic)
{
    m_run.run(automatic, [this](bool once) { flashOnce(once); });
}

void FlashRunner::resetColors()
{
    m_backgroundColor = 0;
    m_color = 0x0000FF;
}

void FlashRunner::bindColors(korvana::OptionsHost &host)
{
    host.flashColor = &m_color;
    host.flashBackgroundColor = &m_backgroundColor;
}

void FlashRunner::flashOnce(bool automatic)
{
    if (m_controls.termCharactersText->text().isEmpty()) {
        // Nothing to flash, but a card left up by the previous term must not
        // stand for this one: in the automatic mode it shows this term
        // without characters, otherwise it goes.
        if (m_windows.flashWindow && m_windows.flashWindow->isVisible()) {
            if (m_controls.autoSwitch->isChecked() && m_controls.flashSwitch->isChecked()) {
                m_windows.flashWindow->flashedText->clear();
                fillFlashCard();
            } else {
                m_windows.flashWindow->close();
            }
        }
        return;
    }

    // Every number this flash needs is read before anything changes, so a
    // bad one leaves the screen as it was.
    m_windows.optionsDialog->buildPages();
    const bool fullScreen = m_windows.optionsDialog->flashFullScreenSwitch->isChecked();
    const bool withAuto = m_controls.autoSwitch->isChecked() && m_controls.flashSwitch->isChecked();
    const int delay = automatic ? -1 : korvana::flashDelayMs(m_windows.optionsDialog->flashDelayEdit->text());
    // In the automatic mode a full-screen flash shows the term at once and
    // leaves the card, without cycles.
    const int cycles =
        fullScreen && withAuto ? 0 : korvana::flashCycles(m_windows.optionsDialog->flashRepeatEdit->text());
    const int period = cycles > 0 ? korvana::flashPeriodMs(m_windows.optionsDialog->flashIntervalEdit->text()) : -1;
    FlashWindow *w = fullScreen ? connectedFlashWindow() : nullptr;
    if (fullScreen && !w)
        return;

    FlashKeyWatch keys(m_run);
    if (!flashWait(delay))
        return;

    if (!fullScreen) {
        if (m_windows.flashWindow)
            stage(m_windows.flashWindow.get(), m_controls.termCharactersText, m_color, m_backgroundColor,
                  m_settings.fontSizes[Pane::Characters]);
        // In the characters pane: each cycle hides the characters for one
        // period and shows them for the next.
        for (int i = 0; i < cycles && !m_run.stopped(); ++i) {
            korvana::MessagePump::processPending();
            if (m_run.stopped())
                break;
            m_controls.panes[Pane::Characters].text->clear();
            caretHome(m_controls.panes[Pane::Characters].text);
            if (!flashWait(period))
                break;
            copyCharacters(m_controls.panes[Pane::Characters].text);
            caretHome(m_controls.panes[Pane::Characters].text);
            if (!flashWait(period))
                break;
        }
        // However the flash ended, the pane shows what its switch says.
        m_controls.panes[Pane::Characters].text->clear();
        if (m_controls.panes[Pane::Characters].box->isChecked())
            copyCharacters(m_controls.panes[Pane::Characters].text);
        caretHome(m_controls.panes[Pane::Characters].text);
        return;
    }

    stage(w, m_controls.termCharactersText, m_color, m_backgroundColor, m_settings.fontSizes[Pane::Characters]);
    for (const FlashWindow::Strip &strip : w->strips) {
        w->setEditVisible(strip.text, false);
        strip.text->clear();
    }
    QScreen *screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
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
    w->stagingText->setSelColor(korvana::toQColor(m_color));
    const QColor background = korvana::toQColor(m_backgroundColor);
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
        if (m_run.stopped() || closedByInput())
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

    if (m_windows.optionsDialog->flashKeepOpenSwitch->isChecked()
        || (m_controls.autoSwitch->isChecked() && m_controls.flashSwitch->isChecked())) {
        fillFlashCard();
    } else {
        w->close();
        m_window.update();
    }
}

// The card under the flashed characters: translation, pinyin and notes in
// the inverse of the flash colours, whatever the panes' switches say.
void FlashRunner::fillFlashCard()
{
    FlashWindow *w = m_windows.flashWindow.get();
    for (const FlashWindow::Strip &strip : w->strips) {
        m_fill(strip.pane, true);
        strip.text->clear();
        korvana::copyRichText(m_controls.panes[strip.pane].text, strip.text);
        m_fill(strip.pane, false);

        w->setEditBackground(strip.text, korvana::toQColor(m_color));
        strip.text->setSel(0, -1);
        strip.text->setSelSize(25);
        strip.text->setSelColor(korvana::toQColor(m_backgroundColor));
        strip.text->setAlignment(korvana::TextAlignment::Center);
        strip.text->setSelStart(0);
        w->setEditVisible(strip.text, !strip.text->text().isEmpty());
    }
    w->layoutStrips();
}
