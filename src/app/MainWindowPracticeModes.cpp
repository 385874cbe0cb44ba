// Mode switches, marks, navigation and the automatic mode's timer.
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/ProgramWindows.h"
#include "platform/ui/Integers.h"
#include "practice/AutoInterval.h"
#include "practice/RandomGenerator.h"
#include "settings/OptionsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

using korvana::Pane;

namespace {
QString onOff(const QString &what, bool on)
{
    return what + (on ? QStringLiteral(" ON") : QStringLiteral(" OFF"));
}
} // namespace

// --- mode switches ---------------------------------------------------------------

void MainWindow::autoSwitchClicked()
{
    if (autoSwitch->isChecked()) {
        showStatus(QStringLiteral("Auto mode ON"));
        // The first tick works out the interval; the first step comes one
        // whole interval later.
        m_autoTimerHandler = AutoTimerHandler::StartTimer;
        autoTimer->setInterval(1);
        autoTimer->start();
    } else {
        m_autoTimerHandler = AutoTimerHandler::None;
        autoTimer->stop();
        showStatus(QStringLiteral("Auto mode OFF"));
    }
}

void MainWindow::randomSwitchClicked()
{
    korvana::RandomGenerator::instance().randomize();
    showStatus(onOff(QStringLiteral("Random mode"), randomSwitch->isChecked()));
}

void MainWindow::wordsSwitchClicked()
{
    m_practice->filters.words = wordsSwitch->isChecked();
    // Random order then treats every row as not yet shown.
    m_practice->resetShownCounts();
    showStatus(onOff(QStringLiteral("Show words"), wordsSwitch->isChecked()));
}

void MainWindow::phrasesSwitchClicked()
{
    m_practice->filters.phrases = phrasesSwitch->isChecked();
    m_practice->resetShownCounts();
    showStatus(onOff(QStringLiteral("Show phrases"), phrasesSwitch->isChecked()));
}

void MainWindow::difficultSwitchClicked()
{
    m_practice->filters.onlyDifficult = difficultSwitch->isChecked();
    m_practice->resetShownCounts();
    showStatus(onOff(QStringLiteral("Show only difficult terms"), difficultSwitch->isChecked()));
}

// A caption toggles its box; the box's handler runs from the change.
void MainWindow::autoSwitchLabelClicked()
{
    autoSwitch->toggle();
}

void MainWindow::randomSwitchLabelClicked()
{
    randomSwitch->toggle();
}

void MainWindow::wordsSwitchLabelClicked()
{
    wordsSwitch->toggle();
}

void MainWindow::phrasesSwitchLabelClicked()
{
    phrasesSwitch->toggle();
}

void MainWindow::difficultSwitchLabelClicked()
{
    difficultSwitch->toggle();
}

void MainWindow::soundSwitchClicked()
{
    showStatus(onOff(QStringLiteral("Auto play sounds"), soundSwitch->isChecked()));
}

void MainWindow::pictureSwitchClicked()
{
    showStatus(onOff(QStringLiteral("Auto display pictures"), pictureSwitch->isChecked()));
}

void MainWindow::flashSwitchClicked()
{
    showStatus(onOff(QStringLiteral("Flash mode"), flashSwitch->isChecked()));
}

// --- pane switches -------------------------------------------------------------------

void MainWindow::paneSwitchClicked(Pane pane)
{
    // In the numbers drill the panes show the number; the drill has no notes.
    if (!m_numbers->drill().on)
        showPane(pane, false);
    else if (pane != Pane::Notes)
        m_numbers->showNumberPane(pane, false);
}

void MainWindow::revealPane(Pane pane)
{
    // The drill has no notes: its notes pane shows the last term's.
    if (m_numbers->drill().on && pane != Pane::Notes)
        m_numbers->showNumberPane(pane, true);
    else
        showPane(pane, true);
}

// --- marks ------------------------------------------------------------------------------
// The drill's numbers are no terms: while it runs the marks do nothing.

void MainWindow::markLearnedButtonClicked()
{
    if (m_numbers->drill().on)
        return;
    if (m_currentIndex >= 1 && m_currentIndex <= m_termTable.rowCount())
        m_practice->setState(m_currentIndex - 1, QStringLiteral("l"));
    nextButtonClicked();
}

void MainWindow::markUnlearnedButtonClicked()
{
    if (m_numbers->drill().on)
        return;
    if (m_currentIndex >= 1 && m_currentIndex <= m_termTable.rowCount())
        m_practice->setState(m_currentIndex - 1, QStringLiteral("u"));
    markDifficultButton->setLatched(false);
    markUnlearnedButton->setLatched(true);
}

void MainWindow::markDifficultButtonClicked()
{
    if (m_numbers->drill().on)
        return;
    if (m_currentIndex >= 1 && m_currentIndex <= m_termTable.rowCount())
        m_practice->setState(m_currentIndex - 1, QStringLiteral("d"));
    markDifficultButton->setLatched(true);
    markUnlearnedButton->setLatched(false);
}

void MainWindow::unskipLabelClicked()
{
    // Difficult marks and show counts stay.
    m_practice->resetLearned();
    if (m_termTable.rowCount() >= 1)
        countTerms();
}

// --- jumps --------------------------------------------------------------------------------
// They show a term directly: no waits, no timer, no labels. Errors inside
// them are dropped, and a jump that finds nothing leaves the position as it
// was, so the next mark never lands on a term the user did not see.

void MainWindow::jumpToEnd(korvana::StepDirection direction)
{
    if (m_numbers->drill().on) {
        m_numbers->newNumber();
        return;
    }
    const int old = m_currentIndex;
    try {
        countTerms();
        if (!canPractise())
            return;
        // From 0 the walk tries every row: upwards from the first for First,
        // downwards from the last for Last.
        const int shown = m_practice->walk(0, direction, [this](int n) {
            m_currentIndex = n;
            return showTerm(n);
        });
        m_currentIndex = shown ? shown : old;
        if (shown)
            termNumberEdit->setText(QString::number(shown));
    } catch (...) {
        m_currentIndex = old;
    }
}

void MainWindow::firstLabelClicked()
{
    jumpToEnd(korvana::StepDirection::Next);
}

void MainWindow::lastLabelClicked()
{
    jumpToEnd(korvana::StepDirection::Previous);
}

void MainWindow::goLabelClicked()
{
    if (m_numbers->drill().on) {
        m_numbers->newNumber();
        return;
    }
    const int old = m_currentIndex;
    try {
        m_currentIndex = korvana::strToInt(termNumberEdit->text());
        if (!showTerm(m_currentIndex))
            m_currentIndex = old;
    } catch (...) {
        m_currentIndex = old;
    }
}

// --- the automatic timer -----------------------------------------------------------------

void MainWindow::startAutoTimer()
{
    autoTimer->stop();
    m_windows.optionsDialog->buildPages();
    const int interval =
        // A term without characters gets one character's time, so that the
        // automatic mode goes on past it.
        korvana::autoIntervalMs(m_windows.optionsDialog->perCharacterIntervalOption->isChecked(),
                                std::max(1, int(panes[Pane::Characters].text->text().size())),
                                m_windows.optionsDialog->perCharacterIntervalLabel->text(),
                                m_windows.optionsDialog->fixedIntervalLabel->text());
    m_autoTimerHandler = AutoTimerHandler::Next;
    autoTimer->setInterval(interval);
    // An interval of 0 would tick without end: automatic stepping then rests
    // until a term is shown by hand.
    if (interval > 0)
        autoTimer->start();
}

void MainWindow::autoTimerTimeout()
{
    switch (m_autoTimerHandler) {
    case AutoTimerHandler::None:
        break;
    case AutoTimerHandler::StartTimer:
        startAutoTimer();
        break;
    case AutoTimerHandler::Next:
        nextButtonClicked();
        break;
    }
}
