#pragma once
// The speech voice the program reads aloud with: voices with their language,
// a rate, asynchronous speaking, stop, pause and resume, and the word and
// end-of-stream events that highlighting and the waits for speech rely on.
//
// Speak never blocks. Every speak() is answered by exactly one endStream(),
// whether the text was spoken to the end or cut short by skip(); events
// arrive on the GUI thread while the message loop runs, in the order the
// sound reaches them.
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

namespace korvana {

// One installed voice. Copies are cheap and refer to the same voice.
struct VoiceToken {
    QString id; // unique per voice; empty for "no voice"
    QString description;
    QMap<QString, QString> attributes; // "Language", "Name", "Gender", "Age", "Vendor"

    QString getDescription() const { return description; }
    // The attribute's value; empty when the voice does not have it.
    QString getAttribute(const QString &name) const { return attributes.value(name); }
    bool isNull() const { return id.isEmpty(); }
    bool operator==(const VoiceToken &o) const { return id == o.id; }
};

class SpeechVoice : public QObject {
    Q_OBJECT
public:
    // Event interest bits. Word and end-of-stream events are sent only while
    // their bit is set; every bit is set until setEventInterests says
    // otherwise.
    static constexpr int EndStreamInterest = 0x4;
    static constexpr int WordInterest = 0x20;
    static constexpr int AllEvents = 33790;

    // The running states reported by runningState().
    static constexpr int Paused = 0;
    static constexpr int Done = 1;
    static constexpr int Speaking = 2;

    static constexpr int MinRate = -10;
    static constexpr int MaxRate = 10;

    explicit SpeechVoice(QObject *parent = nullptr);
    ~SpeechVoice() override;

    virtual void setEventInterests(int interests) { m_interests = interests; }
    int eventInterests() const { return m_interests; }

    // The installed voices in the engine's order, those not matching
    // `required` left out and those matching `optional` first. Both are
    // lists of "Name=Value" separated by ";"; attribute names ignore case,
    // values compare exactly. Throws korvana::Error when the speech engine
    // cannot start.
    virtual QList<VoiceToken> getVoices(const QString &required = {}, const QString &optional = {}) = 0;

    // Makes later speech use `token`. Never throws: on any failure the voice
    // stays as it was and false is returned.
    virtual bool setVoice(const VoiceToken &token) = 0;
    virtual VoiceToken voice() const = 0;

    // Speed from -10 (slowest) to 10 (fastest), 0 the normal speed. Values
    // outside the range are clamped.
    virtual int rate() const = 0;
    virtual void setRate(int rate) = 0;

    // Queues `text` behind any speech still running and returns at once
    // with the stream number that its events carry (1 for the first).
    virtual int speak(const QString &text, int flags = 1) = 0;

    // Stops: the speech running now and every queued one end at once, each
    // still followed by its endStream(). Clears a pause.
    virtual void skip() = 0;

    // Hold and continue the sound. pause() with nothing speaking does
    // nothing, so a pause can never hold back speech started later.
    virtual void pause() = 0;
    virtual void resume() = 0;

    // Speaking (2), Done (1: nothing left to speak) or Paused (0).
    virtual int runningState() const = 0;

    // Helpers shared by every implementation.
    static int clampRate(int rate);
    static QList<VoiceToken> filterVoices(const QList<VoiceToken> &voices, const QString &required,
                                          const QString &optional);

signals:
    // `charPosition` and `length` count UTF-16 units of the text given to
    // speak(), from 0.
    void word(int stream, int charPosition, int length);
    void endStream(int stream);

protected:
    // Events go out through one queue, so that they leave in the order they
    // were posted even when a handler speaks, skips or runs a nested message
    // loop. post() hands them out from the message loop; deliverPosted()
    // hands them out now.
    void postWord(int stream, int charPosition, int length);
    void postEndStream(int stream);
    void deliverPosted();
    // Drops the word events not yet handed out for `stream`.
    void dropPostedWords(int stream);

private:
    struct Posted {
        int stream;
        int charPosition; // -1 for end of stream
        int length;
    };
    void scheduleDelivery();

    int m_interests = AllEvents;
    QList<Posted> m_posted;
    bool m_deliveryScheduled = false;
};

} // namespace korvana
