#pragma once
// A clock the test moves by hand, for the silent player: sound advances only
// when the test says so. It counts how often it was read, which tells the
// test that the voice has looked at its playback since.
#include "platform/speech/PcmPlayback.h"

#include <atomic>
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
};
