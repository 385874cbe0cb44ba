#pragma once
// A clock the test moves by hand, for the silent player: sound advances only
// when the test says so. It counts how often it was read, which tells the
// test that the voice has looked at its playback since.
#include "platform/speech/PcmPlayback.h"

#include <QTest>

#include <atomic>
#include <functional>
#include <memory>

struct ManualClock {
    struct State {
        std::atomic<qint64> ns{0};
        std::atomic<int> reads{0};
    };
    std::shared_ptr<State> state = std::make_shared<State>();

    korvana::PcmPlayback::Clock clock() const
    {
        auto s = state;
        return [s] {
            ++s->reads;
            return s->ns.load();
        };
    }
    void advanceMs(qint64 ms) { state->ns += ms * 1000000; }
    int reads() const { return state->reads.load(); }

    // Waits (running the message loop, bounded) until the clock has been
    // read `times` more times.
    bool waitReads(int times = 2) const
    {
        const int target = reads() + times;
        return QTest::qWaitFor([&] { return reads() >= target; }, 10000);
    }

    // Moves time on in steps of `stepMs`, letting the voice catch up after
    // each, until done() or 60 s of sound have passed. A single big jump
    // would find the sound not yet made, and a silent player does not count
    // time spent waiting for synthesis.
    bool playUntil(const std::function<bool()> &done, int stepMs = 100) const
    {
        for (int ms = 0; ms < 60000 && !done(); ms += stepMs) {
            const_cast<ManualClock *>(this)->advanceMs(stepMs);
            if (!waitReads())
                return false;
        }
        return done();
    }
};
