#pragma once
// A speech voice for tests: the test sets the voices and decides when words
// are spoken and when speech ends, so code that speaks can be tested without
// a speech engine and without waiting for sound.
#include "platform/speech/SpeechVoice.h"

#include <QStringList>

namespace korvana {

class FakeSpeechVoice : public SpeechVoice {
    Q_OBJECT
public:
    explicit FakeSpeechVoice(QObject *parent = nullptr);

    // A voice whose "Language" attribute is `language` (none when null).
    static VoiceToken makeVoice(const QString &id, const QString &description, const QString &language = {});

    void setVoices(const QList<VoiceToken> &voices) { m_voices = voices; }
    // getVoices() throws korvana::Error with `message` while it is not empty,
    // as when the speech engine cannot start.
    void setStartError(const QString &message) { m_startError = message; }
    // Every speak() ends by itself, from the message loop, once it is the
    // oldest pending one and no pause holds it; off by default.
    void setAutoFinish(bool on) { m_autoFinish = on; }

    QList<VoiceToken> getVoices(const QString &required = {}, const QString &optional = {}) override;
    bool setVoice(const VoiceToken &token) override;
    VoiceToken voice() const override { return m_voice; }
    int rate() const override { return m_rate; }
    void setRate(int rate) override { m_rate = clampRate(rate); }
    int speak(const QString &text, int flags = 1) override;
    void skip() override;
    void pause() override;
    void resume() override;
    int runningState() const override;

    // What the code under test did.
    QStringList spokenTexts() const { return m_spoken; }
    int getVoicesCalls() const { return m_getVoicesCalls; }
    int skipCalls() const { return m_skipCalls; }
    int pauseCalls() const { return m_pauseCalls; }
    int resumeCalls() const { return m_resumeCalls; }
    // Speak calls whose end-of-stream has not been sent yet, oldest first.
    QList<int> pendingStreams() const { return m_pending; }

    // Drive the speech now (events go out before these return).
    // A word of the oldest pending speech; false when nothing is pending.
    bool speakWord(int charPosition, int length);
    // Ends the oldest pending speech; false when nothing is pending.
    bool finishSpeaking();

private:
    void scheduleAutoFinish(int stream);

    QList<VoiceToken> m_voices;
    QString m_startError;
    VoiceToken m_voice;
    int m_rate = 0;
    bool m_autoFinish = false;
    bool m_paused = false;
    QStringList m_spoken;
    QList<int> m_pending;
    int m_lastStream = 0;
    int m_getVoicesCalls = 0;
    int m_skipCalls = 0;
    int m_pauseCalls = 0;
    int m_resumeCalls = 0;
};

} // namespace korvana
