#include "practice/FlashTiming.h"
#include "platform/ui/Integers.h"
#include "platform/ui/MessagePump.h"

#include <QObject>
#include <QTimer>
#include <algorithm>

namespace korvana {

bool SystemFlashClock::wait(int ms, const std::function<bool()> &stopped)
{
    auto isStopped = [&stopped] { return stopped && stopped(); };
    if (isStopped())
        return false;
    if (ms < 0)
        return true;
    QElapsedTimer clock;
    clock.start();
    // A precise timer wakes the pumping wait right when the period is over;
    // the pump's own polling only covers a stop that comes without an event.
    QObject context;
    QTimer::singleShot(ms + 1, Qt::PreciseTimer, &context, [] {});
    MessagePump::waitUntil([&] { return isStopped() || clock.elapsed() > ms; }, ms + 100);
    return !isStopped();
}

int flashDelayMs(const QString &delayText)
{
    const int ms = strToInt(delayText);
    return ms < 0 ? -1 : std::min(ms, FlashLimits::MaxWaitMs);
}

int flashCycles(const QString &repeatText)
{
    const int n = strToInt(repeatText);
    if (n < 0)
        return 0;
    return n >= FlashLimits::MaxCycles ? FlashLimits::MaxCycles : n + 1;
}

int flashPeriodMs(const QString &intervalText)
{
    return flashDelayMs(intervalText);
}

int flashFontSize(int characters)
{
    static constexpr int sizes[] = {300, 250, 200, 150, 120, 100, 90, 80};
    if (characters < 1 || characters > 8)
        return 50;
    return sizes[characters - 1];
}

} // namespace korvana
