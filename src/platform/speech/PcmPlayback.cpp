#include "platform/speech/PcmPlayback.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QIODevice>

#include <algorithm>

namespace korvana {

PcmPlayback::Clock PcmPlayback::steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->nsecsElapsed(); };
}

namespace {

constexpr qint64 NsPerSecond = 1000000000;

class SilentPlayback final : public PcmPlayback {
public:
    explicit SilentPlayback(Clock clock) : m_clock(std::move(clock)) {}

    void begin(int sampleRate) override
    {
        m_rate = std::max(sampleRate, 1);
        m_made = 0;
        m_playedNs = 0;
        m_last = m_clock();
        m_paused = false;
        m_ended = false;
    }
    void append(const std::vector<int16_t> &samples) override { m_made += qint64(samples.size()); }
    void endOfData() override { m_ended = true; }
    qint64 position() override
    {
        advance();
        return std::min(m_made, m_playedNs * m_rate / NsPerSecond);
    }
    bool finished() override { return m_ended && position() >= m_made; }
    void pause() override
    {
        advance();
        m_paused = true;
    }
    void resume() override
    {
        advance();
        m_paused = false;
    }
    void stop() override
    {
        m_made = 0;
        m_playedNs = 0;
        m_ended = true;
    }

private:
    void advance()
    {
        const qint64 now = m_clock();
        if (!m_paused) {
            // Time spent waiting for synthesis is not sound: the clock never
            // runs ahead of what has been made.
            const qint64 madeNs = (m_made * NsPerSecond + m_rate - 1) / m_rate;
            m_playedNs += std::clamp(now - m_last, qint64(0), std::max(madeNs - m_playedNs, qint64(0)));
        }
        m_last = now;
    }

    Clock m_clock;
    int m_rate = 1;
    qint64 m_made = 0;
    qint64 m_playedNs = 0;
    qint64 m_last = 0;
    bool m_paused = false;
    bool m_ended = false;
};

class DevicePlayback final : public PcmPlayback {
public:
    DevicePlayback(const QAudioDevice &device, Clock clock) : m_device(device), m_clock(std::move(clock)) {}

    void begin(int sampleRate) override
    {
        stop();
        m_rate = std::max(sampleRate, 1);
        m_fed = 0;
        m_made = 0;
        m_offset = 0;
        m_ended = false;
        m_fedAllAt = -1;
        m_lastHeard = -1;
        m_progressAt = -1;
        m_paused = false;
        QAudioFormat format;
        format.setSampleRate(m_rate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!m_device.isNull() && m_device.isFormatSupported(format)) {
            m_sink = std::make_unique<QAudioSink>(m_device, format);
            // A short buffer keeps what is heard close to what was handed
            // over, so word events, the end and a stop come in time.
            m_sink->setBufferSize(qsizetype(m_rate) * 2 / 5);
            m_io = m_sink->start();
            if (!m_io || m_sink->error() != QAudio::NoError) {
                m_sink.reset();
                m_io = nullptr;
            }
        }
        if (!m_sink)
            useFallback();
        else
            m_fallback.reset();
    }
    void append(const std::vector<int16_t> &samples) override
    {
        if (m_fallback)
            return m_fallback->append(samples);
        m_pending.append(reinterpret_cast<const char *>(samples.data()), qsizetype(samples.size() * 2));
        m_made += qint64(samples.size());
    }
    void endOfData() override
    {
        if (m_fallback)
            return m_fallback->endOfData();
        m_ended = true;
    }
    qint64 position() override
    {
        if (m_fallback)
            return m_offset + m_fallback->position();
        feed();
        const qint64 heard = heardByDevice();
        if ((m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError) || stalled(heard)) {
            // The device went away: go on in silence from where it was.
            switchToSilenceAt(heard);
            return m_offset + m_fallback->position();
        }
        return heard;
    }
    bool finished() override
    {
        if (m_fallback)
            return m_fallback->finished();
        const qint64 heard = position();
        if (m_fallback)
            return m_fallback->finished();
        if (!m_ended || !m_pending.isEmpty())
            return false;
        if (heard >= m_made || m_sink->state() == QAudio::IdleState)
            return true;
        // Backends differ in how exactly they count; once everything has been
        // handed over, the sound is over when its remaining length has passed.
        const qint64 now = m_clock();
        if (m_fedAllAt < 0)
            m_fedAllAt = now;
        const qint64 remainingNs = (m_made - heard) * NsPerSecond / m_rate;
        return now - m_fedAllAt > remainingNs + NsPerSecond / 2;
    }
    void pause() override
    {
        if (m_fallback)
            return m_fallback->pause();
        m_paused = true;
        m_sink->suspend();
    }
    void resume() override
    {
        if (m_fallback)
            return m_fallback->resume();
        m_fedAllAt = -1;
        m_paused = false;
        m_progressAt = -1;
        m_sink->resume();
    }
    void stop() override
    {
        if (m_sink)
            m_sink->stop();
        m_sink.reset();
        m_io = nullptr;
        m_pending.clear();
        if (m_fallback)
            m_fallback->stop();
    }

private:
    // A device that takes sound but plays none of it for StallNs (a sink
    // removed under the stream reports no error on some backends) counts
    // as gone, or the end of the speech would never come.
    static constexpr qint64 StallNs = 2 * NsPerSecond;
    bool stalled(qint64 heard)
    {
        const qint64 now = m_clock();
        const bool waiting = heard < m_fed / 2; // handed over, not yet heard
        if (m_paused || !waiting || heard != m_lastHeard || m_progressAt < 0) {
            m_lastHeard = heard;
            m_progressAt = now;
            return false;
        }
        return now - m_progressAt > StallNs;
    }
    qint64 heardByDevice() const
    {
        // What the device was given, less what still waits in its buffer:
        // the sound server counts a sample as processed when it takes it,
        // up to its whole buffer (a second or more) before it is heard.
        const qint64 queued = std::max<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree());
        const qint64 processed = m_sink->processedUSecs() * m_rate / 1000000;
        return std::max<qint64>(0, std::min(processed, (m_fed - queued) / 2));
    }
    void feed()
    {
        while (!m_pending.isEmpty() && m_io) {
            const qsizetype room = std::min<qsizetype>(m_sink->bytesFree(), m_pending.size()) & ~qsizetype(1);
            if (room <= 0)
                break;
            const qint64 written = m_io->write(m_pending.constData(), room);
            if (written <= 0)
                break;
            m_pending.remove(0, written);
            m_fed += written;
        }
    }
    void useFallback()
    {
        m_fallback = makeSilentPlayback(m_clock);
        m_fallback->begin(m_rate);
    }
    void switchToSilenceAt(qint64 heard)
    {
        const qint64 made = m_made;
        const bool ended = m_ended;
        m_sink.reset();
        m_io = nullptr;
        m_pending.clear();
        useFallback();
        // Only the part not yet heard is left to time.
        m_fallback->append(std::vector<int16_t>(size_t(std::max(made - heard, qint64(0)))));
        if (ended)
            m_fallback->endOfData();
        m_offset = heard;
    }

    QAudioDevice m_device;
    Clock m_clock;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_io = nullptr;
    std::unique_ptr<PcmPlayback> m_fallback;
    QByteArray m_pending;
    int m_rate = 1;
    qint64 m_fed = 0;  // bytes
    qint64 m_made = 0; // samples
    qint64 m_offset = 0;
    qint64 m_fedAllAt = -1;
    qint64 m_lastHeard = -1;
    qint64 m_progressAt = -1;
    bool m_paused = false;
    bool m_ended = false;
};

} // namespace

std::unique_ptr<PcmPlayback> makeSilentPlayback(PcmPlayback::Clock clock)
{
    return std::make_unique<SilentPlayback>(std::move(clock));
}

std::unique_ptr<PcmPlayback> makeDevicePlayback(const QAudioDevice &device, PcmPlayback::Clock clock)
{
    return std::make_unique<DevicePlayback>(device, std::move(clock));
}

} // namespace korvana
