#pragma once
// Whether a flash is under way and what ends or follows it. A key, a closing
// or a new request ends the flash under way; a flash asked for while one
// runs follows it, so that the Backspace key or a step of the automatic mode
// always flashes the term now shown.
#include <functional>
#include <optional>

namespace korvana {

class FlashRun {
public:
    // Whether a flash is running now (its waits keep the queue running).
    bool running() const { return m_running; }
    // Whether the flash under way is to end at its next check.
    bool stopped() const { return m_stop; }
    void stop() { m_stop = true; }

    // Runs flashOnce(automatic) and then, as long as one was asked for meanwhile,
    // the flash asked for last. Asked for from inside a running flash, it
    // only ends that one and notes automatic for after it. However the run ends,
    // a throw included, nothing runs any more afterwards.
    void run(bool automatic, const std::function<void(bool automatic)> &flashOnce);

private:
    bool m_running = false;
    bool m_stop = false;
    std::optional<bool> m_again; // a flash asked for while one ran
};

} // namespace korvana
