#include "platform/ui/MessagePump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace korvana {

bool MessagePump::waitUntil(const std::function<bool()> &done, int boundMs, int pollMs)
{
    if (done())
        return true;
    QDeadlineTimer deadline(boundMs);
    // The poll timer wakes the blocking wait below, so a condition that turns
    // true without an event (or the deadline) is still noticed.
    QTimer poll;
    poll.setInterval(pollMs);
    poll.start();
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void MessagePump::processPending()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace korvana
