#pragma once
// The espeak-ng library behind the speech voice. espeak-ng keeps its state in
// globals and is not thread-safe, so one engine per process owns it, and one
// worker thread makes every call into it: start-up, the voice list and
// synthesis. The GUI thread hands it jobs and reads their results; it never
// waits for the worker except for start-up, which the worker does first.
#include "platform/speech/SpeechVoice.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace korvana {

// A word as the engine reports it: code points of the UTF-8 text, from 0,
// and where in the sound it starts.
struct EngineWord {
    qint64 sample;
    int codePoint;
    int codePoints;
};

// One text to synthesise. The worker fills it; the GUI thread takes the
// sound and words out as playback needs them.
class SynthJob {
public:
    SynthJob(QByteArray utf8, QString voiceId, int wordsPerMinute)
        : utf8(std::move(utf8)), voiceId(std::move(voiceId)), wordsPerMinute(wordsPerMinute)
    {
    }

    const QByteArray utf8;
    const QString voiceId;
    const int wordsPerMinute;

    // GUI side: moves what has been made since the last call into the
    // arguments; returns true once synthesis has ended (then nothing more
    // will come).
    bool take(std::vector<int16_t> &samples, std::vector<EngineWord> &words);
    // GUI side: how far playback has got, so the worker stays not too far
    // ahead of it.
    void setPlayed(qint64 samples);
    void cancel();
    bool cancelled() const { return m_cancelled.load(); }

    // Worker side.
    // Returns false when the job was cancelled meanwhile.
    bool add(const int16_t *samples, int count, const std::vector<EngineWord> &words, qint64 aheadLimit);
    void finish();

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<int16_t> m_samples;
    std::vector<EngineWord> m_words;
    qint64 m_made = 0;
    qint64 m_played = 0;
    bool m_finished = false;
    std::atomic<bool> m_cancelled{false};
};

class EspeakEngine {
public:
    // The process's engine for `dataPath` (empty: espeak-ng's own data
    // folder), started on first use and stopped when the last user lets go.
    static std::shared_ptr<EspeakEngine> acquire(const QString &dataPath);
    ~EspeakEngine();

    EspeakEngine(const EspeakEngine &) = delete;
    EspeakEngine &operator=(const EspeakEngine &) = delete;

    // Blocks until start-up has ended. Empty when the engine runs;
    // otherwise why it could not start.
    QString waitStarted();
    bool hasStarted();

    // Valid after a successful start.
    QList<VoiceToken> voices() const { return m_voices; }
    int sampleRate() const { return m_sampleRate; }

    void submit(const std::shared_ptr<SynthJob> &job);

    // Words per minute for a rate from -10 to 10: 0 is espeak-ng's normal
    // speed, the ends its slowest and fastest.
    static int wordsPerMinute(int rate);

    // How far synthesis may run ahead of playback, in seconds of sound.
    static constexpr int AheadSeconds = 10;

private:
    explicit EspeakEngine(QString dataPath, QString refusal);
    void run();
    QString start();
    void synthesize(SynthJob &job);

    const QString m_dataPath;
    QString m_refusal;

    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_started = false;
    QString m_startError;
    std::deque<std::shared_ptr<SynthJob>> m_jobs;
    std::shared_ptr<SynthJob> m_current;
    bool m_quit = false;

    // Written by the worker before m_started is set, read-only after.
    QList<VoiceToken> m_voices;
    int m_sampleRate = 0;

    std::thread m_thread;
};

} // namespace korvana
