#pragma once
// The speech voice on espeak-ng. Synthesis runs on the engine's worker
// thread into 16-bit sound with the positions of its words; the sound plays
// through the default audio output (or a silent player that keeps its time
// when there is none), and word and end-of-stream events are sent on the GUI
// thread as playback reaches them.
#include "platform/speech/PcmPlayback.h"
#include "platform/speech/SpeechVoice.h"

#include <QTimer>

#include <deque>
#include <memory>
#include <vector>

namespace korvana {

class EspeakEngine;
class SynthJob;

class EspeakVoice : public SpeechVoice {
    Q_OBJECT
public:
    struct Options {
        // espeak-ng's data folder (the folder holding "phontab", or its
        // parent); empty for the library's own. A folder that is named but
        // missing stops the engine from starting.
        QString dataPath;
        // Play nothing and keep the sound's time by the clock instead.
        bool silent = false;
        // The clock of the silent player; a steady clock when empty.
        PcmPlayback::Clock clock;
    };

    // The data folder from KORVANA_ESPEAK_DATA, and silence when
    // KORVANA_SILENT_AUDIO is "1" or there is no audio output.
    static Options defaultOptions();

    explicit EspeakVoice(QObject *parent = nullptr);
    explicit EspeakVoice(const Options &options, QObject *parent = nullptr);
    ~EspeakVoice() override;

    QList<VoiceToken> getVoices(const QString &required = {}, const QString &optional = {}) override;
    bool setVoice(const VoiceToken &token) override;
    VoiceToken voice() const override;
    int rate() const override { return m_rate; }
    void setRate(int rate) override { m_rate = clampRate(rate); }
    int speak(const QString &text, int flags = 1) override;
    void skip() override;
    void pause() override;
    void resume() override;
    int runningState() const override;

    // The speak() flag that drops what is queued before speaking.
    static constexpr int PurgeBeforeSpeak = 2;

private:
    struct Word {
        qint64 sample;
        int charPosition;
        int length;
    };
    struct Utterance {
        int stream = 0;
        std::vector<int> utf16At;      // UTF-16 offset of each code point, and of the end
        std::shared_ptr<SynthJob> job; // none when there is nothing to synthesise
        std::vector<Word> words;
        size_t nextWord = 0;
        bool begun = false;
        bool made = false;
    };

    // Empty when the engine runs, else why not; waits for its start-up.
    QString ensureStarted() const;
    void tick();
    void takeSynthesis(Utterance &u);

    Options m_options;
    std::shared_ptr<EspeakEngine> m_engine;
    std::unique_ptr<PcmPlayback> m_playback;
    QTimer m_timer;
    std::deque<Utterance> m_queue;
    int m_lastStream = 0;
    int m_rate = 0;
    bool m_paused = false;

    mutable bool m_startChecked = false;
    mutable QString m_startError;
    mutable VoiceToken m_voice;
};

} // namespace korvana
