// Mode switches, marks, navigation and the automatic mode's timer.
#include "app/TForm1.h"
#include "platform/ui/Integers.h"
#include "practice/AutoInterval.h"
#include "practice/RandomGenerator.h"
#include "settings/TFormOptions.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QLineEdit>
#include <QTimer>

namespace {
QString onOff(const QString &what, bool on)
{
    return what + (on ? QStringLiteral(" ON") : QStringLiteral(" OFF"));
}
} // namespace

// --- mode switches ---------------------------------------------------------------

void TForm1::chbAutoClick()
{
    if (chbAuto->isChecked()) {
        Status(QStringLiteral("Auto mode ON"));
        // The first tick works out the interval; the first step comes one
        // whole interval later.
        timer1Handler = Timer1Handler::SetTimer;
        Timer1->setInterval(1);
        Timer1->start();
    } else {
        timer1Handler = Timer1Handler::None;
        Timer1->stop();
        Status(QStringLiteral("Auto mode OFF"));
    }
}

void TForm1::chbNahodneClick()
{
    korvana::RandomGenerator::instance().randomize();
    Status(onOff(QStringLiteral("Random mode"), chbNahodne->isChecked()));
}

void TForm1::chbWordsClick()
{
    practice->filters.words = chbWords->isChecked();
    // Random order then treats every row as not yet shown.
    practice->resetShownCounts();
    Status(onOff(QStringLiteral("Show words"), chbWords->isChecked()));
}

void TForm1::chbPhrasesClick()
{
    practice->filters.phrases = chbPhrases->isChecked();
    practice->resetShownCounts();
    Status(onOff(QStringLiteral("Show phrases"), chbPhrases->isChecked()));
}

void TForm1::chbDifficultClick()
{
    practice->filters.onlyDifficult = chbDifficult->isChecked();
    practice->resetShownCounts();
    Status(onOff(QStringLiteral("Show only difficult terms"), chbDifficult->isChecked()));
}

// A caption toggles its box; the box's handler runs from the change.
void TForm1::lblModeAutoClick()
{
    chbAuto->toggle();
}

void TForm1::lblRandomClick()
{
    chbNahodne->toggle();
}

void TForm1::lblWordsClick()
{
    chbWords->toggle();
}

void TForm1::lblPhraseClick()
{
    chbPhrases->toggle();
}

void TForm1::lblDifficultClick()
{
    chbDifficult->toggle();
}

void TForm1::chbSoundClick()
{
    Status(onOff(QStringLiteral("Auto play sounds"), chbSound->isChecked()));
}

void TForm1::chbPictureClick()
{
    Status(onOff(QStringLiteral("Auto display pictures"), chbPicture->isChecked()));
}

void TForm1::chbFlashClick()
{
    Status(onOff(QStringLiteral("Flash mode"), chbFlash->isChecked()));
}

// --- pane switches -------------------------------------------------------------------

// In the numbers drill the panes show the number; the drill has no notes.

void TForm1::chbOrigClick()
{
    if (FNumbersMode)
        ShowOrigNr(false);
    else
        ShowOrig2(false);
}

void TForm1::chbPinClick()
{
    if (FNumbersMode)
        ShowPinNr(false);
    else
        ShowPin2(false);
}

void TForm1::chbChinClick()
{
    if (FNumbersMode)
        ShowChinNr(false);
    else
        ShowChin2(false);
}

void TForm1::chbNotesClick()
{
    if (!FNumbersMode)
        ShowNotes2(false);
}

void TForm1::OrigSwitch()
{
    chbOrig->toggle();
}

void TForm1::PinSwitch()
{
    chbPin->toggle();
}

void TForm1::ChinSwitch()
{
    chbChin->toggle();
}

void TForm1::NoteSwitch()
{
    chbNotes->toggle();
}

void TForm1::ZrusitRollback()
{
    FRollbackPending = false;
}

// --- marks ------------------------------------------------------------------------------
// The drill's numbers are no terms: while it runs the marks do nothing.

void TForm1::lblNoMoreClick()
{
    if (FNumbersMode)
        return;
    if (FCurrentIndex >= 1 && FCurrentIndex <= StringGrid1.rowCount())
        practice->setState(FCurrentIndex - 1, QStringLiteral("l"));
    bNextClick();
}

void TForm1::jbMarkUnlearnedclick()
{
    if (FNumbersMode)
        return;
    if (FCurrentIndex >= 1 && FCurrentIndex <= StringGrid1.rowCount())
        practice->setState(FCurrentIndex - 1, QStringLiteral("u"));
    jbMarkDifficult->setLatched(false);
    jbMarkUnlearned->setLatched(true);
}

void TForm1::jbMarkDifficultclick()
{
    if (FNumbersMode)
        return;
    if (FCurrentIndex >= 1 && FCurrentIndex <= StringGrid1.rowCount())
        practice->setState(FCurrentIndex - 1, QStringLiteral("d"));
    jbMarkDifficult->setLatched(true);
    jbMarkUnlearned->setLatched(false);
}

void TForm1::lblUnskipClick()
{
    // Difficult marks and show counts stay.
    practice->resetLearned();
    if (StringGrid1.rowCount() >= 1)
        CountTerms();
}

// --- jumps --------------------------------------------------------------------------------
// They show a term directly: no waits, no timer, no labels. Errors inside
// them are dropped, and a jump that finds nothing leaves the position as it
// was, so the next mark never lands on a term the user did not see.

void TForm1::jumpToEnd(korvana::StepDirection direction)
{
    if (FNumbersMode) {
        NewNumber();
        return;
    }
    const int old = FCurrentIndex;
    try {
        CountTerms();
        if (!Check())
            return;
        // From 0 the walk tries every row: upwards from the first for First,
        // downwards from the last for Last.
        const int shown = practice->walk(0, direction, [this](int n) {
            FCurrentIndex = n;
            return ShowTerm2(n);
        });
        FCurrentIndex = shown ? shown : old;
        if (shown)
            eLineNr->setText(QString::number(shown));
    } catch (...) {
        FCurrentIndex = old;
    }
}

void TForm1::lblFirstClick()
{
    jumpToEnd(korvana::StepDirection::Next);
}

void TForm1::lblLastClick()
{
    jumpToEnd(korvana::StepDirection::Previous);
}

void TForm1::lblGoClick()
{
    if (FNumbersMode) {
        NewNumber();
        return;
    }
    const int old = FCurrentIndex;
    try {
        FCurrentIndex = korvana::strToInt(eLineNr->text());
        if (!ShowTerm2(FCurrentIndex))
            FCurrentIndex = old;
    } catch (...) {
        FCurrentIndex = old;
    }
}

// --- the automatic timer -----------------------------------------------------------------

void TForm1::SetTimer()
{
    Timer1->stop();
    const int interval =
        // A term without characters gets one character's time, so that the
        // automatic mode goes on past it.
        korvana::autoIntervalMs(FormOptions->rbNasobekZnaku->isChecked(), std::max(1, int(reChin->text().size())),
                                FormOptions->stNasobekInterval->text(), FormOptions->stInterval->text());
    timer1Handler = Timer1Handler::Next;
    Timer1->setInterval(interval);
    // An interval of 0 would tick without end: automatic stepping then rests
    // until a term is shown by hand.
    if (interval > 0)
        Timer1->start();
}

void TForm1::Timer1Timer()
{
    switch (timer1Handler) {
    case Timer1Handler::None:
        break;
    case Timer1Handler::SetTimer:
        SetTimer();
        break;
    case Timer1Handler::Next:
        bNextClick();
        break;
    }
}
