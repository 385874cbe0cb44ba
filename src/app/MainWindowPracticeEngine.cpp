// The practice engine's commands: Next, Previous, the counts and the check.
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/TermMedia.h"
#include "app/WindowChrome.h"
#include "platform/ui/MessagePump.h"
#include "practice/RandomGenerator.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {
// A manual step has cut the speech and the sound short; their end comes
// quickly, and a device that never reports it must not hold the step long.
constexpr int CutShortBoundMs = 5000;

void syncFilters(korvana::PracticeEngine &practice, const MainWindowControls &c)
{
    practice.filters.words = c.wordsSwitch->isChecked();
    practice.filters.phrases = c.phrasesSwitch->isChecked();
    practice.filters.onlyDifficult = c.difficultSwitch->isChecked();
}
} // namespace

void MainWindow::nextButtonClicked()
{
    nextTerm(korvana::StepDirection::Next);
}

void MainWindow::previousButtonClicked()
{
    nextTerm(korvana::StepDirection::Previous);
}

void MainWindow::termTableChanged()
{
    if (m_practice)
        m_practice->tableChanged();
}

void MainWindow::countTerms()
{
    syncFilters(*m_practice, *this);
    countLabel->setText(korvana::countsText(m_practice->counters()));
}

bool MainWindow::canPractise()
{
    syncFilters(*m_practice, *this);
    const korvana::CheckResult result = m_practice->check(!m_currentLesson.isEmpty());
    if (result == korvana::CheckResult::Ok)
        return true;
    showStatus(korvana::checkMessage(result));
    return false;
}

void MainWindow::nextTerm(korvana::StepDirection direction)
{
    // A step asked for while one waits for speech or sound runs after it,
    // never inside it.
    m_stepGate.run(direction, [this](korvana::StepDirection d) {
        m_autoTimerHandler = AutoTimerHandler::None;
        autoTimer->stop();

        // Automatic practice lets the term finish; a manual step cuts it short.
        const bool letFinish = autoSwitch->isChecked();
        korvana::MediaWait media;
        media.speaking = [this] {
            // The speech's end clears speaking; a voice that has nothing left
            // to say ends the wait too, so a flag left set cannot hold it.
            return m_media->speaking() && m_voice && m_voice->runningState() != korvana::SpeechVoice::Done;
        };
        media.cutSpeech = [this] { m_voice->skip(); };
        media.soundPlaying = [this] { return m_media->soundPlaying(); };
        media.stopSound = [this] { m_media->stopSound(); };
        media.wait(letFinish, letFinish ? korvana::MessagePump::DefaultBoundMs : CutShortBoundMs);
        // Deliver an end of speech that was posted as the wait ended.
        if (m_media->speaking())
            korvana::MessagePump::processPending();

        if (m_numbers->drill().on) {
            m_numbers->newNumber();
            return;
        }
        countTerms();
        if (!canPractise())
            return;

        const int start = m_currentIndex;
        auto show = [this](int n) {
            m_currentIndex = n;
            return showTerm(n);
        };
        int shown = 0;
        try {
            shown = randomSwitch->isChecked()
                        ? m_practice->chooseRandom(start, show, korvana::RandomGenerator::instance())
                        : m_practice->walk(start, d, show);
        } catch (...) {
            m_currentIndex = start;
            throw;
        }
        if (shown == 0) {
            // Nothing may be shown: the previous term stays.
            m_currentIndex = start;
            return;
        }
        m_currentIndex = shown;
        termNumberEdit->setText(QString::number(shown));
        m_chrome->updateLessonSessionLabels();
        if (autoSwitch->isChecked())
            startAutoTimer();
    });
}
