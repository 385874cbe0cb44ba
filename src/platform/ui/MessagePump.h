#pragma once
// The one way the program waits while keeping the message queue running.
//
// Some commands wait for speech or a sound to end while clicks, keys, timer
// ticks and speech events keep arriving. Every such wait goes through
// MessagePump::waitUntil, which is bounded in time and counts how deeply
// waits are nested, so a caller can refuse to start a step inside a waiting
// one.
#include <functional>

namespace korvana {

class MessagePump {
public:
    // Runs the message queue until done() returns true or boundMs have
    // passed. Returns done()'s final value. done() is checked after every
    // batch of events and at least every pollMs.
    static bool waitUntil(const std::function<bool()> &done, int boundMs, int pollMs = 10);

    // Handles the events that are waiting now, without blocking.
    static void processPending();

    // The bound used for waits on speech and sound when a caller has none.
    static constexpr int DefaultBoundMs = 120000;
};

} // namespace korvana
