#include "platform/speech/EspeakVoice.h"
#include "platform/speech/EspeakEngine.h"
#include "platform/ui/Errors.h"

#include <QMediaDevices>

#include <algorithm>

namespace korvana {

namespace {

constexpr int TickMs = 10;

// The UTF-16 offset of every code point of `text`, and of its end: espeak-ng
// counts code points, callers count UTF-16 units.
std::vector<int> utf16Offsets(const QString &text)
{
    std::vector<int> out;
    out.reserve(size_t(text.size()) + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.push_back(int(i));
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    out.push_back(int(text.size()));
    return out;
}

VoiceToken defaultVoice(const QList<VoiceToken> &voices)
{
    // espeak-ng's own default voice is "en".
    for (const VoiceToken &v : voices)
        if (v.id == u"en" || v.id.endsWith(u"/en"))
            return v;
    for (const VoiceToken &v : voices)
        if (v.getAttribute(QStringLiteral("LanguageTag")).startsWith(u"en"))
            return v;
    return voices.isEmpty() ? VoiceToken() : voices.first();
}

} // namespace

EspeakVoice::Options EspeakVoice::defaultOptions()
{
    Options o;
    o.dataPath = qEnvironmentVariable("KORVANA_ESPEAK_DATA");
    o.silent = qEnvironmentVariable("KORVANA_SILENT_AUDIO") == u"1";
    return o;
}

EspeakVoice::EspeakVoice(QObject *parent) : EspeakVoice(defaultOptions(), parent)
{
}

EspeakVoice::EspeakVoice(const Options &options, QObject *parent) : SpeechVoice(parent), m_options(options)
{
    if (!m_options.clock)
        m_options.clock = PcmPlayback::steadyClock();
    // Start-up runs on the worker while the program goes on.
    m_engine = EspeakEngine::acquire(m_options.dataPath);

    QAudioDevice device;
    if (!m_options.silent)
        device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        m_playback = makeSilentPlayback(m_options.clock);
    else
        m_playback = makeDevicePlayback(device, m_options.clock);

    m_timer.setInterval(TickMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &EspeakVoice::tick);
}

EspeakVoice::~EspeakVoice()
{
    m_timer.stop();
    for (Utterance &u : m_queue)
        if (u.job)
            u.job->cancel();
    m_queue.clear();
    m_playback->stop();
}

QString EspeakVoice::ensureStarted() const
{
    if (!m_startChecked) {
        m_startError = m_engine->waitStarted();
        if (m_startError.isEmpty())
            m_voice = defaultVoice(m_engine->voices());
        m_startChecked = true;
    }
    return m_startError;
}

QList<VoiceToken> EspeakVoice::getVoices(const QString &required, const QString &optional)
{
    const QString error = ensureStarted();
    if (!error.isEmpty())
        throw Error(error);
    return filterVoices(m_engine->voices(), required, optional);
}

bool EspeakVoice::setVoice(const VoiceToken &token)
{
    try {
        if (!ensureStarted().isEmpty())
            return false;
        for (const VoiceToken &v : m_engine->voices()) {
            if (v.id == token.id) {
                m_voice = v;
                return true;
            }
        }
    } catch (...) {
    }
    return false;
}

VoiceToken EspeakVoice::voice() const
{
    ensureStarted();
    return m_voice;
}

int EspeakVoice::speak(const QString &text, int flags)
{
    if (flags & PurgeBeforeSpeak)
        skip();
    Utterance u;
    u.stream = ++m_lastStream;
    u.utf16At = utf16Offsets(text);
    if (ensureStarted().isEmpty() && !text.isEmpty()) {
        u.job = std::make_shared<SynthJob>(text.toUtf8(), m_voice.id, EspeakEngine::wordsPerMinute(m_rate));
        m_engine->submit(u.job);
    }
    // A text that cannot be spoken still ends, in its turn, with its
    // end-of-stream event: callers wait for it.
    m_queue.push_back(std::move(u));
    if (!m_paused)
        m_timer.start();
    return m_lastStream;
}

void EspeakVoice::skip()
{
    if (m_queue.empty())
        return;
    for (Utterance &u : m_queue) {
        if (u.job)
            u.job->cancel();
        dropPostedWords(u.stream);
        postEndStream(u.stream);
    }
    m_queue.clear();
    m_playback->stop();
    m_timer.stop();
    // A pause belongs to the speech it held; nothing is left to resume.
    m_paused = false;
}

void EspeakVoice::pause()
{
    if (m_queue.empty() || m_paused)
        return;
    m_paused = true;
    if (m_queue.front().begun)
        m_playback->pause();
    m_timer.stop();
}

void EspeakVoice::resume()
{
    if (!m_paused)
        return;
    m_paused = false;
    if (!m_queue.empty() && m_queue.front().begun)
        m_playback->resume();
    m_timer.start();
}

int EspeakVoice::runningState() const
{
    if (m_queue.empty())
        return Done;
    return m_paused ? Paused : Speaking;
}

void EspeakVoice::takeSynthesis(Utterance &u)
{
    if (u.made)
        return;
    if (!u.job) {
        u.made = true;
        m_playback->endOfData();
        return;
    }
    std::vector<int16_t> samples;
    std::vector<EngineWord> words;
    u.made = u.job->take(samples, words);
    if (!samples.empty())
        m_playback->append(samples);
    const int last = int(u.utf16At.size()) - 1;
    for (const EngineWord &w : words) {
        const int from = std::clamp(w.codePoint, 0, last);
        const int to = std::clamp(w.codePoint + std::max(w.codePoints, 0), from, last);
        u.words.push_back({w.sample, u.utf16At[size_t(from)], u.utf16At[size_t(to)] - u.utf16At[size_t(from)]});
    }
    if (u.made)
        m_playback->endOfData();
}

void EspeakVoice::tick()
{
    while (!m_queue.empty()) {
        Utterance &u = m_queue.front();
        if (u.job && !m_engine->hasStarted())
            return;
        if (!u.begun) {
            m_playback->begin(m_engine->sampleRate());
            u.begun = true;
        }
        takeSynthesis(u);
        const qint64 heard = m_playback->position();
        if (u.job)
            u.job->setPlayed(heard);
        const bool over = u.made && m_playback->finished();
        // Words are sent as the sound reaches them; at the end, any that the
        // engine placed at the very end go too.
        while (u.nextWord < u.words.size() && (over || u.words[u.nextWord].sample <= heard)) {
            const Word &w = u.words[u.nextWord++];
            postWord(u.stream, w.charPosition, w.length);
        }
        if (!over)
            break;
        postEndStream(u.stream);
        m_playback->stop();
        m_queue.pop_front();
    }
    if (m_queue.empty())
        m_timer.stop();
    deliverPosted();
}

} // namespace korvana
