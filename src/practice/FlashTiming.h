#pragma once
// Timing of flash mode: the clock its show and hide periods are measured by,
// and the rules that turn the options dialog's flash texts into periods,
// cycles and sizes.
//
// A flash waits before its first show and then shows and hides the
// characters for a set period each. Those waits keep the message queue
// running, so the window stays responsive and a key press can end the flash
// at any moment; every wait is bounded.
#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace korvana {

// The time source of flashing. Tests put in a clock of their own, so that
// no test has to wait for real time to pass.
class FlashClock {
public:
    virtual ~FlashClock() = default;

    // Lets more than ms milliseconds pass, keeping the message queue running,
    // and returns true; returns false as soon as stopped() is true (checked
    // first, so a flash stopped already does not wait at all). A negative ms
    // returns at once.
    virtual bool wait(int ms, const std::function<bool()> &stopped) = 0;
};

// The monotonic clock of the running program.
class SystemFlashClock final : public FlashClock {
public:
    bool wait(int ms, const std::function<bool()> &stopped) override;
};

// Limits of the flash texts. The options dialog's arrows stay well inside
// them (up to 3 seconds of delay, 100 ms periods, 101 cycles), but its edits
// take any text, and a typed "999999999" must not hold the program for days.
struct FlashLimits {
    static constexpr int MaxWaitMs = 10000;
    static constexpr int MaxCycles = 1000;
};

// The wait before the first show, from the "Delay" text: strict whole
// number ("'%s' is not a valid integer value" otherwise); negative means no
// wait; at most FlashLimits::MaxWaitMs.
int flashDelayMs(const QString &delayText);

// The number of show/hide cycles from the "Repeat" text: the value plus one,
// none for a negative value, at most FlashLimits::MaxCycles. Strict reading.
int flashCycles(const QString &repeatText);

// Each show and each hide period from the "Interval" text, bounded as the
// delay is. Strict reading.
int flashPeriodMs(const QString &intervalText);

// Point size of the full-screen characters by how many there are: the
// fewer, the larger.
int flashFontSize(int characters);

} // namespace korvana
