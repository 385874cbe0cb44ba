#include "platform/speech/SpeechVoice.h"

#include <QPointer>

#include <algorithm>

namespace korvana {

SpeechVoice::SpeechVoice(QObject *parent) : QObject(parent)
{
}

SpeechVoice::~SpeechVoice() = default;

int SpeechVoice::clampRate(int rate)
{
    return std::clamp(rate, MinRate, MaxRate);
}

namespace {

using Conditions = QList<QPair<QString, QString>>;

Conditions parseConditions(const QString &text)
{
    Conditions out;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            out.append({part.trimmed(), QString()});
        else
            out.append({part.left(eq).trimmed(), part.mid(eq + 1)});
    }
    return out;
}

bool matches(const VoiceToken &token, const Conditions &conditions)
{
    for (const auto &[name, value] : conditions) {
        bool found = false;
        for (auto it = token.attributes.cbegin(); it != token.attributes.cend(); ++it) {
            if (it.key().compare(name, Qt::CaseInsensitive) == 0) {
                // A condition without "=" asks only that the attribute exists.
                found = value.isNull() || it.value() == value;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

} // namespace

QList<VoiceToken> SpeechVoice::filterVoices(const QList<VoiceToken> &voices, const QString &required,
                                            const QString &optional)
{
    const Conditions req = parseConditions(required);
    const Conditions opt = parseConditions(optional);
    QList<VoiceToken> preferred, rest;
    for (const VoiceToken &v : voices) {
        if (!matches(v, req))
            continue;
        if (!opt.isEmpty() && matches(v, opt))
            preferred.append(v);
        else
            rest.append(v);
    }
    return preferred + rest;
}

void SpeechVoice::postWord(int stream, int charPosition, int length)
{
    m_posted.append({stream, charPosition, length});
    scheduleDelivery();
}

void SpeechVoice::postEndStream(int stream)
{
    m_posted.append({stream, -1, 0});
    scheduleDelivery();
}

void SpeechVoice::dropPostedWords(int stream)
{
    m_posted.removeIf([stream](const Posted &p) { return p.stream == stream && p.charPosition >= 0; });
}

void SpeechVoice::scheduleDelivery()
{
    if (m_deliveryScheduled)
        return;
    m_deliveryScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_deliveryScheduled = false;
            deliverPosted();
        },
        Qt::QueuedConnection);
}

void SpeechVoice::deliverPosted()
{
    // Each event leaves the queue before it is sent: a handler that runs a
    // nested loop delivers the rest itself, in order, and none twice.
    QPointer<SpeechVoice> self(this);
    while (self && !m_posted.isEmpty()) {
        const Posted p = m_posted.takeFirst();
        if (p.charPosition < 0) {
            if (m_interests & EndStreamInterest)
                emit endStream(p.stream);
        } else if (m_interests & WordInterest) {
            emit word(p.stream, p.charPosition, p.length);
        }
    }
}

} // namespace korvana
