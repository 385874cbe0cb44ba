#pragma once
// Keeps practice steps from running one inside another.
//
// A step waits for speech and sound while the message queue keeps running,
// so a click, key, wheel turn or timer tick can ask for another step in the
// middle of it. Such a request is not run there: the latest one is kept and
// run when the running step has ended. Every wait is bounded.
#include "practice/PracticeEngine.h"

#include <functional>
#include <optional>

namespace korvana {

class StepGate {
public:
    using Step = std::function<void(StepDirection)>;

    // Runs step(direction) now, or keeps the request when a step is running
    // (a later request replaces a kept one). Returns whether it ran now.
    bool run(StepDirection direction, const Step &step);

    bool running() const { return m_running; }
    std::optional<StepDirection> pending() const { return m_pending; }

private:
    bool m_running = false;
    std::optional<StepDirection> m_pending;
};

// What a step waits for before it moves on.
struct MediaWait {
    std::function<bool()> speaking;     // speech started by the window runs
    std::function<void()> cutSpeech;    // ends it at once
    std::function<bool()> soundPlaying; // the term's sound plays
    std::function<void()> stopSound;

    // In automatic mode (letFinish) the speech and the sound are let run to
    // their end; otherwise both are cut short first. Each wait pumps the
    // message queue and gives up after boundMs. Returns false when a wait
    // gave up.
    bool wait(bool letFinish, int boundMs) const;
};

} // namespace korvana
