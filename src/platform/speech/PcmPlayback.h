#pragma once
// Plays the synthesised sound of one text and says how far it has got, so
// that word events can be sent as the sound reaches them. Without an audio
// device a silent player keeps the same time as real playback would.
#include <QAudioDevice>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace korvana {

class PcmPlayback {
public:
    // Monotonic nanoseconds.
    using Clock = std::function<qint64()>;

    virtual ~PcmPlayback() = default;

    // Starts a new sound (16-bit mono at `sampleRate`) at position 0.
    virtual void begin(int sampleRate) = 0;
    // More of the sound, as synthesis makes it.
    virtual void append(const std::vector<int16_t> &samples) = 0;
    // No more sound will come.
    virtual void endOfData() = 0;
    // Samples heard so far. Called regularly; also keeps the device fed.
    virtual qint64 position() = 0;
    // Every sample has been heard since endOfData().
    virtual bool finished() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Drops the sound at once.
    virtual void stop() = 0;

    static Clock steadyClock();
};

// Plays nothing: the position advances with `clock` at the sound's real
// speed, never beyond the sound made so far.
std::unique_ptr<PcmPlayback> makeSilentPlayback(PcmPlayback::Clock clock);
// Plays through `device`; falls back to silence when the device fails.
std::unique_ptr<PcmPlayback> makeDevicePlayback(const QAudioDevice &device, PcmPlayback::Clock clock);

} // namespace korvana
