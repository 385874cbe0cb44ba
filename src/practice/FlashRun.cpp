#include "practice/FlashRun.h"

namespace korvana {

void FlashRun::run(bool automatic, const std::function<void(bool automatic)> &flashOnce)
{
    if (m_running) {
        // Asked for from inside a running flash: that one ends at once and
        // this one runs after it.
        m_stop = true;
        m_again = automatic;
        return;
    }
    m_running = true;
    struct Reset {
        FlashRun &run;
        ~Reset() { run = FlashRun{}; }
    } reset{*this};

    std::optional<bool> next = automatic;
    while (next) {
        m_stop = false;
        m_again.reset();
        flashOnce(*next);
        next = m_again;
    }
}

} // namespace korvana
