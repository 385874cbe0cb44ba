#include "support/FakeSpeechVoice.h"
#include "platform/ui/Errors.h"

namespace korvana {

FakeSpeechVoice::FakeSpeechVoice(QObject *parent) : SpeechVoice(parent)
{
}

VoiceToken FakeSpeechVoice::makeVoice(const QString &id, const QString &description, const QString &language)
{
    VoiceToken t;
    t.id = id;
    t.description = description;
    t.attributes.insert(QStringLiteral("Name"), description);
    if (!language.isNull())
        t.attributes.insert(QStringLiteral("Language"), language);
    return t;
}

QList<VoiceToken> FakeSpeechVoice::getVoices(const QString &required, const QString &optional)
{
    ++m_getVoicesCalls;
    if (!m_startError.isEmpty())
        throw Error(m_startError);
    return filterVoices(m_voices, required, optional);
}

bool FakeSpeechVoice::setVoice(const VoiceToken &token)
{
    if (!m_startError.isEmpty() || !m_voices.contains(token))
        return false;
    m_voice = token;
    return true;
}

int FakeSpeechVoice::speak(const QString &text, int /*flags*/)
{
    const int stream = ++m_lastStream;
    m_spoken.append(text);
    m_pending.append(stream);
    if (m_autoFinish) {
        scheduleAutoFinish(stream);
    }
    return stream;
}

void FakeSpeechVoice::skip()
{
    ++m_skipCalls;
    for (int stream : std::as_const(m_pending)) {
        dropPostedWords(stream);
        postEndStream(stream);
    }
    m_pending.clear();
    m_paused = false;
}

void FakeSpeechVoice::pause()
{
    ++m_pauseCalls;
    if (!m_pending.isEmpty())
        m_paused = true;
}

void FakeSpeechVoice::resume()
{
    ++m_resumeCalls;
    if (!m_paused)
        return;
    m_paused = false;
    if (m_autoFinish && !m_pending.isEmpty()) {
        scheduleAutoFinish(m_pending.first());
    }
}

void FakeSpeechVoice::scheduleAutoFinish(int stream)
{
    // From the message loop, as a real voice would, and only if this speech
    // is still the oldest and not paused by then (a skip may have ended it).
    QMetaObject::invokeMethod(
        this,
        [this, stream] {
            if (!m_paused && !m_pending.isEmpty() && m_pending.first() == stream)
                finishSpeaking();
        },
        Qt::QueuedConnection);
}

int FakeSpeechVoice::runningState() const
{
    if (m_pending.isEmpty())
        return Done;
    return m_paused ? Paused : Speaking;
}

bool FakeSpeechVoice::speakWord(int charPosition, int length)
{
    if (m_pending.isEmpty())
        return false;
    postWord(m_pending.first(), charPosition, length);
    deliverPosted();
    return true;
}

bool FakeSpeechVoice::finishSpeaking()
{
    if (m_pending.isEmpty())
        return false;
    const int stream = m_pending.takeFirst();
    if (m_pending.isEmpty())
        m_paused = false;
    postEndStream(stream);
    deliverPosted();
    if (m_autoFinish && !m_pending.isEmpty() && !m_paused) {
        scheduleAutoFinish(m_pending.first());
    }
    return true;
}

} // namespace korvana
