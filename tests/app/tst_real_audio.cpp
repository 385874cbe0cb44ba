// Real playback, end to end: the term's WAV and MP3 sounds through Qt
// Multimedia and espeak-ng's Mandarin voice through the audio sink, heard by
// recording the PulseAudio sink's monitor with parec. Skips when no
// PulseAudio server is reachable (scripts/start-audio.sh starts one with a
// null sink for the test run).
#include "app/TermMedia.h"
#include "platform/media/QtMediaPlayer.h"
#include "platform/media/SoundDuration.h"
#include "platform/speech/EspeakVoice.h"
#include "platform/speech/PcmPlayback.h"
#include "settings/OptionsDialog.h"
#include "support/AppTestSupport.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMediaDevices>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtMath>
#include <QtTest>

#include <cmath>

using namespace korvana;

namespace {

const int Rate = 16000; // the recording's sample rate
const int Loud = 1000;  // a sample above this is sound, below it silence

QString pactl(const QStringList &args, bool *ok = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("pactl"), args);
    const bool done = p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!done)
        p.kill();
    if (ok)
        *ok = done;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// What the sink played, as 16-bit mono samples, with the time each batch
// came in so that "at once" can be measured.
class Recorder {
public:
    explicit Recorder(const QString &sink)
    {
        m_parec.start(QStringLiteral("parec"),
                      {QStringLiteral("-d"), sink + QStringLiteral(".monitor"), QStringLiteral("--raw"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(Rate),
                       QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
        m_clock.start();
    }
    ~Recorder()
    {
        m_parec.kill();
        m_parec.waitForFinished(2000);
    }
    // The monitor delivers (silence while nothing plays) once recording runs.
    bool started() { return m_parec.waitForStarted(5000) && waitForSamples(Rate / 10); }
    bool waitForSamples(qint64 count)
    {
        QElapsedTimer t;
        t.start();
        while (samples() < count && t.elapsed() < 5000) {
            m_parec.waitForReadyRead(100);
            take();
        }
        return samples() >= count;
    }
    // Records on for ms more of the sink's own time.
    void recordFor(int ms) { waitForSamples(samples() + qint64(ms) * Rate / 1000); }
    void take()
    {
        m_data += m_parec.readAllStandardOutput();
        QCoreApplication::processEvents();
    }
    qint64 samples() const { return m_data.size() / 2; }
    qint16 at(qint64 i) const { return qFromLittleEndian<qint16>(m_data.constData() + 2 * i); }
    // First and last loud sample from `from` on; -1 when all is silent.
    qint64 firstLoud(qint64 from = 0) const
    {
        for (qint64 i = from; i < samples(); ++i)
            if (std::abs(at(i)) > Loud)
                return i;
        return -1;
    }
    qint64 lastLoud() const
    {
        for (qint64 i = samples() - 1; i >= 0; --i)
            if (std::abs(at(i)) > Loud)
                return i;
        return -1;
    }
    // Milliseconds of sound: the 10 ms blocks that hold a loud sample.
    qint64 loudMs() const
    {
        const qint64 block = Rate / 100;
        qint64 loud = 0;
        for (qint64 b = 0; b + block <= samples(); b += block) {
            for (qint64 i = b; i < b + block; ++i) {
                if (std::abs(at(i)) > Loud) {
                    ++loud;
                    break;
                }
            }
        }
        return loud * 10;
    }
    // Milliseconds between the first and the last loud sample.
    qint64 loudSpanMs() const
    {
        const qint64 first = firstLoud();
        return first < 0 ? 0 : (lastLoud() - first) * 1000 / Rate;
    }

private:
    QProcess m_parec;
    QByteArray m_data;
    QElapsedTimer m_clock;
};

// A sine tone of `ms` milliseconds as a 16-bit mono WAV at 22050 Hz.
QByteArray toneWav(int ms)
{
    const int rate = 22050;
    const int n = rate * ms / 1000;
    QByteArray pcm(n * 2, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        qToLittleEndian<qint16>(qint16(12000 * std::sin(2 * M_PI * 440 * i / rate)), pcm.data() + 2 * i);
    auto u32 = [](quint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    auto u16 = [](quint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray fmt = u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16);
    QByteArray body = "WAVE" + QByteArray("fmt ") + u32(16) + fmt + QByteArray("data") + u32(pcm.size()) + pcm;
    return "RIFF" + u32(body.size()) + body;
}

} // namespace

class TestRealAudio : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_sink;
    QString m_wav;  // 1.2 s
    QString m_long; // 4 s

    QString write(const QString &name, const QByteArray &data)
    {
        return apptest::writeFile(m_dir.filePath(name), data);
    }

    // Plays `file` on the device to its end, recording; returns the wall
    // time from play() to finished().
    qint64 playToTheEnd(const QString &file, Recorder &rec)
    {
        QtMediaPlayer player(QtMediaPlayer::Output::Device);
        QSignalSpy finished(&player, &MediaPlayer::finished);
        player.setFileName(file);
        player.open();
        QElapsedTimer t;
        t.start();
        player.play();
        while (finished.isEmpty() && t.elapsed() < 20000)
            rec.recordFor(20);
        const qint64 elapsed = t.elapsed();
        rec.recordFor(300); // what the sink still held
        return finished.size() == 1 ? elapsed : -1;
    }

private slots:
    void initTestCase()
    {
        bool ok = false;
        pactl({QStringLiteral("info")}, &ok);
        if (!ok)
            QSKIP("No PulseAudio server reachable: real-audio tests skipped (scripts/start-audio.sh starts one)");
        m_sink = pactl({QStringLiteral("get-default-sink")});
        QVERIFY(!m_sink.isEmpty());
        QVERIFY(m_dir.isValid());
        m_wav = write(QStringLiteral("tone.wav"), toneWav(1200));
        m_long = write(QStringLiteral("long.wav"), toneWav(4000));
    }

    void wavAndMp3ArePlayedWholeAndTheEndComesWithTheSound()
    {
        const QString mp3 = QStringLiteral(KORVANA_TEST_DATA "/media/tone.mp3");
        for (const QString &file : {m_wav, mp3}) {
            const qint64 expected = soundFileDurationMs(file);
            QVERIFY(expected > 1000);
            Recorder rec(m_sink);
            QVERIFY(rec.started());
            const qint64 elapsed = playToTheEnd(file, rec);
            const qint64 heard = rec.loudMs();
            qInfo("%s: %lld ms long, heard %lld ms, finished after %lld ms", qPrintable(QFileInfo(file).fileName()),
                  expected, heard, elapsed);
            QVERIFY2(rec.firstLoud() >= 0, "nothing but silence reached the sink");
            QVERIFY(qAbs(heard - expected) <= expected / 10 + 60);
            // The end is told when the sound has ended, not before, not long after.
            QVERIFY(elapsed >= expected - 100);
            QVERIFY(elapsed <= expected + 1500);
        }
    }

    void stopEndsPlaybackAtOnce()
    {
        Recorder rec(m_sink);
        QVERIFY(rec.started());
        QtMediaPlayer player(QtMediaPlayer::Output::Device);
        QSignalSpy finished(&player, &MediaPlayer::finished);
        player.setFileName(m_long);
        player.open();
        player.play();
        const qint64 before = rec.samples();
        // Bounded by the clock too: a monitor that delivers nothing must
        // fail the test, not hang it.
        QElapsedTimer t;
        t.start();
        while (rec.firstLoud(before) < 0 && rec.samples() - before < 5 * Rate && t.elapsed() < 10000)
            rec.recordFor(20);
        QVERIFY2(rec.firstLoud(before) >= 0, "the sound never started");
        rec.recordFor(500);
        const qint64 stoppedAt = rec.samples();
        player.stop();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!player.playing());
        rec.recordFor(1000);
        const qint64 tailMs = (rec.lastLoud() - stoppedAt) * 1000 / Rate;
        qInfo("sound went on %lld ms after stop()", tailMs);
        QVERIFY(tailMs < 250);
    }

    void practiceStepWaitsForTheSoundBesideTheLesson()
    {
        // A lesson with its sound beside it, practised in the automatic mode
        // with the real player: the next step comes when the sound has ended.
        TermMedia::setMediaPlayerFactory(
            [] { return std::unique_ptr<MediaPlayer>(new QtMediaPlayer(QtMediaPlayer::Output::Device)); });
        apptest::FreshProgram program;
        MainWindow *f = mainWindow;
        const QString lesson = QDir(m_dir.path()).filePath(QStringLiteral("lesson.kvl"));
        apptest::loadLines(
            f,
            {QStringLiteral("<OR=one><CH=一><TY=w><ST=u><SN=tone.wav>"), QStringLiteral("<OR=two><CH=二><TY=w><ST=u>")},
            lesson);
        apptest::control<QCheckBox>("soundSwitch")->setChecked(true);
        // Automatic steps far apart: only the test's own steps run.
        optionsDialog->fixedIntervalOption->setChecked(true);
        optionsDialog->fixedIntervalLabel->setText(QStringLiteral("600"));
        apptest::control<QCheckBox>("autoSwitch")->setChecked(true);
        Recorder rec(m_sink);
        QVERIFY(rec.started());
        QElapsedTimer t;
        t.start();
        f->nextButtonClicked();
        QVERIFY(f->media().soundPlaying());
        QCOMPARE(apptest::control<korvana::ClickLabel>("playSoundLabel")->toolTip(), m_wav);
        f->nextButtonClicked(); // waits for the sound
        const qint64 waited = t.elapsed();
        QCOMPARE(apptest::store().currentIndex, 2);
        rec.recordFor(300);
        qInfo("the step waited %lld ms for a 1200 ms sound; heard %lld ms", waited, rec.loudMs());
        QVERIFY(waited >= 1100 && waited <= 3000);
        QVERIFY(qAbs(rec.loudMs() - 1200) <= 180);
    }

    void mandarinSentenceIsSpokenThroughTheSink()
    {
        EspeakVoice::Options options = EspeakVoice::defaultOptions();
        options.silent = false;
        EspeakVoice voice(options);
        VoiceToken mandarin;
        for (const VoiceToken &v : voice.getVoices())
            if (v.getAttribute(QStringLiteral("Language")) == QLatin1String("804"))
                mandarin = v;
        QVERIFY(voice.setVoice(mandarin));
        QSignalSpy ended(&voice, &SpeechVoice::endStream);
        Recorder rec(m_sink);
        QVERIFY(rec.started());
        QElapsedTimer t;
        t.start();
        const qint64 startSample = rec.samples();
        voice.speak(QStringLiteral("我们明天早上去北京看朋友。"), 1);
        while (ended.isEmpty() && t.elapsed() < 20000)
            rec.recordFor(20);
        const qint64 endSample = rec.samples();
        rec.recordFor(1500);
        QCOMPARE(ended.size(), 1);
        const qint64 heard = rec.loudSpanMs();
        // Sink time from the start of speech to the end event, against the
        // last sound heard.
        const qint64 endAt = (endSample - startSample) * 1000 / Rate;
        const qint64 lastAt = (rec.lastLoud() - startSample) * 1000 / Rate;
        qInfo("speech heard for %lld ms; its end came %lld ms after speak(), the first sound at %lld ms, the last at "
              "%lld ms",
              heard, endAt, (rec.firstLoud(startSample) - startSample) * 1000 / Rate, lastAt);
        QVERIFY2(rec.firstLoud() >= 0, "the voice reached the sink as silence");
        QVERIFY(heard > 1000);
        // The end of speech is told when the sound has been heard, not before.
        QVERIFY(endAt >= lastAt - 150);
        QVERIFY(endAt <= lastAt + 1000);
    }

    void pausedPlaybackOutlastingTheStallTimeGoesOnAfterResume()
    {
        // The device playback under a clock the test moves: a pause longer
        // than the time after which a device that plays nothing counts as
        // gone, polled while paused and not, must not end in silence.
        qint64 skew = 0;
        const PcmPlayback::Clock steady = PcmPlayback::steadyClock();
        std::unique_ptr<PcmPlayback> playback =
            makeDevicePlayback(QMediaDevices::defaultAudioOutput(), [&] { return steady() + skew; });
        std::vector<int16_t> tone(Rate * 4);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = int16_t(12000 * std::sin(2 * M_PI * 440 * double(i) / Rate));
        Recorder rec(m_sink);
        QVERIFY(rec.started());
        playback->begin(Rate);
        playback->append(tone);
        playback->endOfData();
        QElapsedTimer t;
        t.start();
        while (rec.firstLoud() < 0 && t.elapsed() < 10000) {
            playback->position();
            rec.recordFor(20);
        }
        QVERIFY2(rec.firstLoud() >= 0, "the sound never started");
        playback->pause();
        rec.recordFor(500);
        playback->position();
        skew += 3 * 1000000000LL;
        playback->position();
        skew += 3 * 1000000000LL;
        const qint64 resumedAt = rec.samples();
        playback->resume();
        t.restart();
        while (rec.firstLoud(resumedAt) < 0 && t.elapsed() < 5000) {
            playback->position();
            rec.recordFor(20);
        }
        QVERIFY2(rec.firstLoud(resumedAt) >= 0, "silence after resume(): the pause was taken for a lost device");
        playback->stop();
    }

    void sinkThatDisappearsDuringPlaybackNeitherHangsNorCrashes()
    {
        // The sink itself goes while a sound plays and a sentence is read;
        // it comes back afterwards for whatever runs next.
        const QString modules = pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("modules")});
        QString module;
        for (const QString &line : modules.split(QLatin1Char('\n')))
            if (line.contains(QStringLiteral("sink_name=") + m_sink))
                module = line.section(QLatin1Char('\t'), 0, 0);
        if (module.isEmpty())
            QSKIP("the default sink is not a null sink this test may remove");
        struct Restore {
            QString sink;
            ~Restore()
            {
                pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                       QStringLiteral("sink_name=") + sink});
                pactl({QStringLiteral("set-default-sink"), sink});
            }
        } restore{m_sink};

        Recorder rec(m_sink);
        QVERIFY(rec.started());
        QtMediaPlayer player(QtMediaPlayer::Output::Device);
        QSignalSpy finished(&player, &MediaPlayer::finished);
        player.setFileName(m_long);
        player.open();
        EspeakVoice::Options options = EspeakVoice::defaultOptions();
        options.silent = false;
        EspeakVoice voice(options);
        QSignalSpy ended(&voice, &SpeechVoice::endStream);
        QElapsedTimer t;
        t.start();
        player.play();
        voice.speak(QStringLiteral("我们明天早上去北京看朋友。"), 1);
        while (rec.firstLoud() < 0 && t.elapsed() < 5000)
            rec.recordFor(20);
        QVERIFY2(rec.firstLoud() >= 0, "nothing reached the sink");
        bool ok = false;
        pactl({QStringLiteral("unload-module"), module}, &ok);
        QVERIFY(ok);
        // Both end within their length and the player's margin, and the
        // program goes on.
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty() && !ended.isEmpty(), 4000 + QtMediaPlayer::EndMarginMs + 3000);
        qInfo("sound and speech ended %lld ms after the start, the sink gone", t.elapsed());
        QVERIFY(!player.playing());
        QCOMPARE(ended.size(), 1);
    }
};

QTEST_MAIN(TestRealAudio)
#include "tst_real_audio.moc"
