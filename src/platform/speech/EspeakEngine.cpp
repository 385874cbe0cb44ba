#include "platform/speech/EspeakEngine.h"
#include "platform/speech/LanguageCodes.h"

#include <QDir>
#include <QFileInfo>

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>

namespace korvana {

bool SynthJob::take(std::vector<int16_t> &samples, std::vector<EngineWord> &words)
{
    std::lock_guard lock(m_mutex);
    samples.insert(samples.end(), m_samples.begin(), m_samples.end());
    m_samples.clear();
    words.insert(words.end(), m_words.begin(), m_words.end());
    m_words.clear();
    return m_finished;
}

void SynthJob::setPlayed(qint64 samples)
{
    {
        std::lock_guard lock(m_mutex);
        m_played = samples;
    }
    m_cv.notify_all();
}

void SynthJob::cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_cv.notify_all();
}

bool SynthJob::add(const int16_t *samples, int count, const std::vector<EngineWord> &words, qint64 aheadLimit)
{
    std::unique_lock lock(m_mutex);
    if (count > 0)
        m_samples.insert(m_samples.end(), samples, samples + count);
    m_made += std::max(count, 0);
    m_words.insert(m_words.end(), words.begin(), words.end());
    // A long text is made only a little ahead of what is heard, so reading a
    // whole book does not hold the whole book's sound in memory.
    m_cv.wait(lock, [&] { return m_cancelled.load() || m_made - m_played < aheadLimit; });
    return !m_cancelled.load();
}

void SynthJob::finish()
{
    std::lock_guard lock(m_mutex);
    m_finished = true;
}

namespace {

std::mutex g_registryMutex;
std::weak_ptr<EspeakEngine> g_engine;
QString g_enginePath;

// espeak-ng itself. It is set up once per process and never shut down:
// espeak_ng_Terminate can hang waiting for its own event thread, and a
// program that starts the engine keeps it for the whole run anyway. Each
// engine's worker holds g_libraryMutex for as long as it runs, so one that is
// still shutting down never overlaps the next.
std::mutex g_libraryMutex;
bool g_libraryReady = false;
QByteArray g_libraryPath;
QList<VoiceToken> g_libraryVoices;
QString g_lastVoiceId;
int g_lastWpm = -1;

// The job being synthesised; only the worker thread touches these.
SynthJob *g_job = nullptr;
int g_sampleRate = 0;

int onSynth(short *wav, int count, espeak_EVENT *events)
{
    std::vector<EngineWord> words;
    for (espeak_EVENT *e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        // After a synthesis has been cut short, espeak-ng may later report
        // a word of no text; it marks nothing and is left out.
        if (e->type == espeakEVENT_WORD && e->text_position >= 1 && e->length > 0) {
            // espeak-ng counts code points from 1; its audio position is in
            // milliseconds from the start of the text.
            words.push_back({qint64(e->audio_position) * g_sampleRate / 1000, e->text_position - 1, e->length});
        }
    }
    if (!g_job)
        return 1;
    const qint64 limit = qint64(EspeakEngine::AheadSeconds) * g_sampleRate;
    return g_job->add(reinterpret_cast<const int16_t *>(wav), wav ? count : 0, words, limit) ? 0 : 1;
}

QString statusText(espeak_ng_STATUS status)
{
    char buffer[512] = {};
    espeak_ng_GetStatusCodeMessage(status, buffer, sizeof buffer);
    return QString::fromLocal8Bit(buffer);
}

QString genderText(unsigned char gender)
{
    switch (gender) {
    case 1:
        return QStringLiteral("Male");
    case 2:
        return QStringLiteral("Female");
    default:
        return {};
    }
}

VoiceToken tokenFor(const espeak_VOICE &v)
{
    VoiceToken t;
    t.id = QString::fromUtf8(v.identifier ? v.identifier : v.name);
    t.description = QString::fromUtf8(v.name ? v.name : v.identifier);
    // The languages field is a run of (priority byte, tag, NUL), ended by a
    // zero priority; the first tag is the voice's own language.
    QString tag;
    if (v.languages && v.languages[0])
        tag = QString::fromUtf8(v.languages + 1);
    const QString code = languageCodeFor(tag);
    if (!code.isEmpty())
        t.attributes.insert(QStringLiteral("Language"), code);
    t.attributes.insert(QStringLiteral("LanguageTag"), tag);
    t.attributes.insert(QStringLiteral("Name"), t.description);
    t.attributes.insert(QStringLiteral("Vendor"), QStringLiteral("eSpeak NG"));
    const QString gender = genderText(v.gender);
    if (!gender.isEmpty())
        t.attributes.insert(QStringLiteral("Gender"), gender);
    if (v.age)
        t.attributes.insert(QStringLiteral("Age"), QString::number(v.age));
    return t;
}

} // namespace

namespace {

// espeak-ng quietly falls back to its built-in folder when the one it is
// given does not exist; a folder that was asked for must be there.
QString checkDataFolder(const QString &dataPath)
{
    if (dataPath.isEmpty())
        return {};
    const QDir dir(dataPath);
    if (QFileInfo(dir.filePath(QStringLiteral("phontab"))).isFile()
        || QFileInfo(dir.filePath(QStringLiteral("espeak-ng-data/phontab"))).isFile())
        return {};
    return QStringLiteral("The speech data folder %1 was not found.").arg(QDir::toNativeSeparators(dataPath));
}

} // namespace

std::shared_ptr<EspeakEngine> EspeakEngine::acquire(const QString &dataPath)
{
    // A missing folder never reaches the library and holds nothing.
    const QString missing = checkDataFolder(dataPath);
    if (!missing.isEmpty())
        return std::shared_ptr<EspeakEngine>(new EspeakEngine(dataPath, missing));
    std::lock_guard lock(g_registryMutex);
    if (auto existing = g_engine.lock()) {
        if (g_enginePath == dataPath)
            return existing;
        // espeak-ng can hold one data folder at a time.
        return std::shared_ptr<EspeakEngine>(new EspeakEngine(
            dataPath, QStringLiteral("The speech engine is in use with the data folder %1.").arg(g_enginePath)));
    }
    std::shared_ptr<EspeakEngine> engine(new EspeakEngine(dataPath, QString()));
    g_engine = engine;
    g_enginePath = dataPath;
    return engine;
}

EspeakEngine::EspeakEngine(QString dataPath, QString refusal)
    : m_dataPath(std::move(dataPath)), m_refusal(std::move(refusal))
{
    if (!m_refusal.isEmpty()) {
        m_started = true;
        m_startError = m_refusal;
        return;
    }
    m_thread = std::thread([this] { run(); });
}

EspeakEngine::~EspeakEngine()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        for (auto &job : m_jobs)
            job->cancel();
        if (m_current)
            m_current->cancel();
    }
    m_cv.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

QString EspeakEngine::waitStarted()
{
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [this] { return m_started; });
    return m_startError;
}

bool EspeakEngine::hasStarted()
{
    std::lock_guard lock(m_mutex);
    return m_started;
}

void EspeakEngine::submit(const std::shared_ptr<SynthJob> &job)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_refusal.isEmpty() || m_quit) {
            job->finish();
            return;
        }
        m_jobs.push_back(job);
    }
    m_cv.notify_all();
}

int EspeakEngine::wordsPerMinute(int rate)
{
    rate = SpeechVoice::clampRate(rate);
    if (rate <= 0)
        return espeakRATE_NORMAL + rate * (espeakRATE_NORMAL - espeakRATE_MINIMUM) / 10;
    return espeakRATE_NORMAL + rate * (espeakRATE_MAXIMUM - espeakRATE_NORMAL) / 10;
}

QString EspeakEngine::start()
{
    const QByteArray path = m_dataPath.isEmpty() ? QByteArray() : QFile::encodeName(m_dataPath);
    if (g_libraryReady) {
        if (path != g_libraryPath)
            return QStringLiteral("The speech engine is in use with another data folder.");
    } else {
        espeak_ng_InitializePath(path.isEmpty() ? nullptr : path.constData());
        espeak_ng_ERROR_CONTEXT context = nullptr;
        espeak_ng_STATUS status = espeak_ng_Initialize(&context);
        if (status != ENS_OK) {
            espeak_ng_ClearErrorContext(&context);
            return QStringLiteral("The speech engine could not start: %1").arg(statusText(status));
        }
        status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 100, nullptr);
        if (status != ENS_OK)
            return QStringLiteral("The speech engine could not start: %1").arg(statusText(status));
        espeak_SetSynthCallback(onSynth);
        g_libraryVoices.clear();
        if (const espeak_VOICE **list = espeak_ListVoices(nullptr)) {
            for (int i = 0; list[i]; ++i)
                g_libraryVoices.append(tokenFor(*list[i]));
        }
        g_libraryPath = path;
        g_libraryReady = true;
    }
    m_sampleRate = espeak_ng_GetSampleRate();
    g_sampleRate = m_sampleRate;
    m_voices = g_libraryVoices;
    return {};
}

void EspeakEngine::run()
{
    std::lock_guard library(g_libraryMutex);
    const QString error = start();
    {
        std::lock_guard lock(m_mutex);
        m_startError = error;
        m_started = true;
    }
    m_cv.notify_all();

    for (;;) {
        std::shared_ptr<SynthJob> job;
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait(lock, [this] { return m_quit || !m_jobs.empty(); });
            if (m_quit)
                break;
            job = m_jobs.front();
            m_jobs.pop_front();
            m_current = job;
        }
        if (error.isEmpty() && !job->cancelled())
            synthesize(*job);
        job->finish();
        std::lock_guard lock(m_mutex);
        m_current.reset();
    }
    {
        std::lock_guard lock(m_mutex);
        for (auto &job : m_jobs)
            job->finish();
        m_jobs.clear();
    }
}

void EspeakEngine::synthesize(SynthJob &job)
{
    if (!job.voiceId.isEmpty() && job.voiceId != g_lastVoiceId) {
        if (espeak_SetVoiceByName(job.voiceId.toUtf8().constData()) == EE_OK) {
            g_lastVoiceId = job.voiceId;
            g_lastWpm = -1; // a new voice starts at its own speed
        }
    }
    if (job.wordsPerMinute != g_lastWpm) {
        espeak_SetParameter(espeakRATE, job.wordsPerMinute, 0);
        g_lastWpm = job.wordsPerMinute;
    }
    g_job = &job;
    espeak_Synth(job.utf8.constData(), size_t(job.utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                 nullptr);
    g_job = nullptr;
}

} // namespace korvana
