// The practice engine's commands: Next, Previous, the counts and the check.
#include "app/TForm1.h"
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

void syncFilters(TForm1 *f)
{
    f->practice->filters.words = f->chbWords->isChecked();
    f->practice->filters.phrases = f->chbPhrases->isChecked();
    f->practice->filters.onlyDifficult = f->chbDifficult->isChecked();
}
} // namespace

void TForm1::bNextClick()
{
    NextTerm(QStringLiteral("next"));
}

void TForm1::bPreviousClick()
{
    NextTerm(QStringLiteral("previous"));
}

void TForm1::TermTableChanged()
{
    if (practice)
        practice->tableChanged();
}

void TForm1::CountTerms()
{
    syncFilters(this);
    lblCount->setText(korvana::countsText(practice->counters()));
}

bool TForm1::Check()
{
    syncFilters(this);
    const korvana::CheckResult result = practice->check(!FCurrentLesson.isEmpty());
    if (result == korvana::CheckResult::Ok)
        return true;
    Status(korvana::checkMessage(result));
    return false;
}

int TForm1::LastLeft(const QString &Kind)
{
    return practice->lastLeft(Kind);
}

void TForm1::NextTerm(const QString &Direction)
{
    const auto direction =
        Direction == u"previous" ? korvana::StepDirection::Previous : korvana::StepDirection::Next;
    // A step asked for while one waits for speech or sound runs after it,
    // never inside it.
    stepGate.run(direction, [this](korvana::StepDirection d) {
        timer1Handler = Timer1Handler::None;
        Timer1->stop();

        // Automatic practice lets the term finish; a manual step cuts it short.
        const bool letFinish = chbAuto->isChecked();
        korvana::MediaWait media;
        media.speaking = [this] {
            // The speech's end clears FSpeaking; a voice that has nothing left
            // to say ends the wait too, so a flag left set cannot hold it.
            return FSpeaking && SpVoice && SpVoice->runningState() != korvana::SpeechVoice::Done;
        };
        media.cutSpeech = [this] { SpVoice->skip(); };
        media.soundPlaying = [this] { return SoundPlaying(); };
        media.stopSound = [this] { StopSound(); };
        media.wait(letFinish, letFinish ? korvana::MessagePump::DefaultBoundMs : CutShortBoundMs);
        // Deliver an end of speech that was posted as the wait ended.
        if (FSpeaking)
            korvana::MessagePump::processPending();

        if (FNumbersMode) {
            NewNumber();
            return;
        }
        CountTerms();
        if (!Check())
            return;

        const int start = FCurrentIndex;
        auto show = [this](int n) {
            FCurrentIndex = n;
            return ShowTerm2(n);
        };
        int shown = 0;
        try {
            shown = chbNahodne->isChecked()
                        ? practice->chooseRandom(start, show, korvana::RandomGenerator::instance())
                        : practice->walk(start, d, show);
        } catch (...) {
            FCurrentIndex = start;
            throw;
        }
        if (shown == 0) {
            // Nothing may be shown: the previous term stays.
            FCurrentIndex = start;
            return;
        }
        FCurrentIndex = shown;
        eLineNr->setText(QString::number(shown));
        CheckLessonSessionLabels();
        if (chbAuto->isChecked())
            SetTimer();
    });
}
