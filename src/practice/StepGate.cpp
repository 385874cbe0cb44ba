#include "practice/StepGate.h"
#include "platform/ui/MessagePump.h"

namespace korvana {

bool StepGate::run(StepDirection direction, const Step &step)
{
    if (m_running) {
        m_pending = direction;
        return false;
    }
    m_running = true;
    struct Reset {
        StepGate *gate;
        ~Reset()
        {
            gate->m_running = false;
            // A failed step drops what was asked for during it.
            gate->m_pending.reset();
        }
    } reset{this};

    std::optional<StepDirection> next = direction;
    while (next) {
        m_pending.reset();
        step(*next);
        next = m_pending;
    }
    return true;
}

bool MediaWait::wait(bool letFinish, int boundMs) const
{
    bool ok = true;
    if (speaking && speaking()) {
        if (!letFinish && cutSpeech)
            cutSpeech();
        ok = MessagePump::waitUntil([this] { return !speaking(); }, boundMs) && ok;
    }
    if (soundPlaying && soundPlaying()) {
        if (!letFinish && stopSound)
            stopSound();
        ok = MessagePump::waitUntil([this] { return !soundPlaying(); }, boundMs) && ok;
    }
    return ok;
}

} // namespace korvana
