// The espeak-ng voice end to end: real synthesis played by the silent
// player, so events come as the sound would reach them without a device.
#include "ManualClock.h"
#include "platform/speech/EspeakEngine.h"
#include "platform/speech/EspeakVoice.h"
#include "platform/ui/Errors.h"

#include <QSignalSpy>
#include <QtTest>

using namespace korvana;

namespace {

// Every event of a voice, in the order they arrived.
struct Recorder {
    QStringList events;
    explicit Recorder(SpeechVoice &voice)
    {
        QObject::connect(&voice, &SpeechVoice::word, &voice, [this](int stream, int pos, int len) {
            events << QStringLiteral("w%1:%2+%3").arg(stream).arg(pos).arg(len);
        });
        QObject::connect(&voice, &SpeechVoice::endStream, &voice,
                         [this](int stream) { events << QStringLiteral("e%1").arg(stream); });
    }
    int count(const QString &prefix) const
    {
        return int(std::count_if(events.begin(), events.end(), [&](const QString &e) { return e.startsWith(prefix); }));
    }
};

EspeakVoice::Options silentOptions(const ManualClock *clock = nullptr)
{
    EspeakVoice::Options o;
    o.silent = true;
    if (clock)
        o.clock = clock->clock();
    return o;
}

VoiceToken voiceWithLanguage(const QList<VoiceToken> &voices, const QString &code)
{
    VoiceToken found;
    for (const VoiceToken &v : voices)
        if (v.getAttribute("Language") == code)
            found = v; // the last one listed, as the program picks it
    return found;
}

} // namespace

class TestEspeakVoice : public QObject {
    Q_OBJECT
private slots:
    void voicesCarryLanguageCodes();
    void speaksNihaoWithTwoWordsAndOneEnd();
    void wordPositionsCountUtf16Units();
    void queuedSpeechEndsInOrder();
    void skipDuringSpeechEndsOnce();
    void pauseHoldsTheSoundUntilResume();
    void missingDataFolderLeavesSpeechOff();
    void rateMapsOntoEspeakSpeeds();
};

void TestEspeakVoice::voicesCarryLanguageCodes()
{
    EspeakVoice voice(silentOptions());
    const QList<VoiceToken> voices = voice.getVoices();
    QVERIFY(voices.size() > 10);
    // Exactly one voice claims Chinese, and it is the Mandarin one, not the
    // one that reads Latin letters as pinyin.
    int chinese = 0;
    for (const VoiceToken &v : voices) {
        QVERIFY(!v.id.isEmpty());
        QVERIFY(!v.getDescription().isEmpty());
        if (v.getAttribute("Language") == "804")
            ++chinese;
    }
    QCOMPARE(chinese, 1);
    QCOMPARE(voiceWithLanguage(voices, "804").getAttribute("LanguageTag"), QString("cmn"));
    QVERIFY(!voiceWithLanguage(voices, "409").isNull());
    // Before any choice the voice is espeak-ng's English.
    QVERIFY(voice.voice().getAttribute("LanguageTag").startsWith("en"));

    const VoiceToken before = voice.voice();
    VoiceToken bogus;
    bogus.id = "no/such-voice";
    QVERIFY(!voice.setVoice(bogus));
    QCOMPARE(voice.voice().id, before.id);
    QVERIFY(voice.setVoice(voiceWithLanguage(voices, "804")));
    QCOMPARE(voice.voice().getAttribute("LanguageTag"), QString("cmn"));
}

void TestEspeakVoice::speaksNihaoWithTwoWordsAndOneEnd()
{
    // Real time: the silent player takes as long as the sound would.
    EspeakVoice voice(silentOptions());
    QVERIFY(voice.setVoice(voiceWithLanguage(voice.getVoices(), "804")));
    voice.setRate(10);
    Recorder rec(voice);
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    QCOMPARE(voice.speak(QString::fromUtf8("你好")), 1);
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));
    QVERIFY(rec.events.isEmpty()); // nothing inside speak()
    QVERIFY(ends.wait(10000));
    QCOMPARE(rec.events.join(" "), QStringList({"w1:0+1", "w1:1+1", "e1"}).join(" "));
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
}

void TestEspeakVoice::wordPositionsCountUtf16Units()
{
    ManualClock clock;
    EspeakVoice voice(silentOptions(&clock));
    Recorder rec(voice);
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    // U+1D11E takes two UTF-16 units and one code point; "ö" two UTF-8 bytes.
    const QString text = QString::fromUtf8("Hello wörld \U0001D11E again");
    voice.speak(text);
    QVERIFY(clock.playUntil([&] { return ends.size() == 1; }));
    QVERIFY2(rec.events.contains("w1:0+5"), qPrintable(rec.events.join(' ')));
    QVERIFY2(rec.events.contains("w1:6+5"), qPrintable(rec.events.join(' ')));
    QVERIFY2(rec.events.contains("w1:15+5"), qPrintable(rec.events.join(' ')));
    QCOMPARE(text.mid(15, 5), QString("again"));
    QCOMPARE(rec.events.last(), QString("e1"));
}

void TestEspeakVoice::queuedSpeechEndsInOrder()
{
    ManualClock clock;
    EspeakVoice voice(silentOptions(&clock));
    QVERIFY(voice.setVoice(voiceWithLanguage(voice.getVoices(), "804")));
    Recorder rec(voice);
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    QCOMPARE(voice.speak(QString::fromUtf8("你好")), 1);
    QCOMPARE(voice.speak(QString()), 2); // nothing to say still ends, in turn
    QCOMPARE(voice.speak(QString::fromUtf8("再见")), 3);
    QVERIFY(clock.playUntil([&] { return ends.size() == 3; }));
    QCOMPARE(rec.events, QStringList({"w1:0+1", "w1:1+1", "e1", "e2", "w3:0+1", "w3:1+1", "e3"}));
}

void TestEspeakVoice::skipDuringSpeechEndsOnce()
{
    ManualClock clock;
    EspeakVoice voice(silentOptions(&clock));
    QVERIFY(voice.setVoice(voiceWithLanguage(voice.getVoices(), "804")));
    Recorder rec(voice);
    QSignalSpy words(&voice, &SpeechVoice::word);
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    voice.speak(QString::fromUtf8("你好，我是学生。今天天气很好。"));
    voice.speak(QString::fromUtf8("再见")); // queued behind: stopped too
    // The clock stands still, so speech stays at its first word.
    QVERIFY(words.wait(10000));
    QCOMPARE(rec.events, QStringList({"w1:0+1"}));
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));

    voice.skip();
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
    clock.advanceMs(60000); // the rest of the sound must not come
    QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 2, 10000);

    // The voice goes on working; the skipped speech sends nothing more.
    voice.speak(QString::fromUtf8("你好"));
    QVERIFY(clock.playUntil([&] { return ends.size() == 3; }));
    QCOMPARE(rec.events.join(" "), QStringList({"w1:0+1", "e1", "e2", "w3:0+1", "w3:1+1", "e3"}).join(" "));
}

void TestEspeakVoice::pauseHoldsTheSoundUntilResume()
{
    ManualClock clock;
    EspeakVoice voice(silentOptions(&clock));
    QVERIFY(voice.setVoice(voiceWithLanguage(voice.getVoices(), "804")));
    Recorder rec(voice);
    QSignalSpy words(&voice, &SpeechVoice::word);
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    voice.speak(QString::fromUtf8("你好"));
    QVERIFY(words.wait(10000));
    voice.pause();
    QCOMPARE(voice.runningState(), int(SpeechVoice::Paused));
    clock.advanceMs(60000); // far past the end of the sound, but paused
    voice.resume();
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));
    // Let playback be looked at a few times: the paused minute must not
    // count, so the second word (about 0.3 s in) has not come yet.
    QVERIFY(clock.waitReads(4));
    QCOMPARE(rec.events, QStringList({"w1:0+1"}));
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));

    QVERIFY(clock.playUntil([&] { return ends.size() == 1; }));
    QCOMPARE(rec.events.join(" "), QStringList({"w1:0+1", "w1:1+1", "e1"}).join(" "));
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
    voice.pause(); // nothing speaking: no pause to hold later speech
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
}

void TestEspeakVoice::missingDataFolderLeavesSpeechOff()
{
    qputenv("KORVANA_ESPEAK_DATA", QByteArray(KORVANA_TEST_DATA "/no-such-espeak-data"));
    EspeakVoice::Options options = EspeakVoice::defaultOptions();
    qunsetenv("KORVANA_ESPEAK_DATA");
    options.silent = true;
    EspeakVoice voice(options);
    try {
        voice.getVoices();
        QFAIL("getVoices did not throw");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains("no-such-espeak-data"), qPrintable(e.message()));
    }
    QVERIFY(voice.voice().isNull());
    QVERIFY(!voice.setVoice(VoiceToken{"sit/cmn", "Chinese", {}}));
    // Anything spoken regardless still ends, so no wait hangs on it.
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    QCOMPARE(voice.speak(QString::fromUtf8("你好")), 1);
    QVERIFY(ends.wait(10000));
    QCOMPARE(ends.size(), 1);
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));

    // A working voice can be made afterwards.
    EspeakVoice working(silentOptions());
    QVERIFY(!working.getVoices().isEmpty());
}

void TestEspeakVoice::rateMapsOntoEspeakSpeeds()
{
    QCOMPARE(EspeakEngine::wordsPerMinute(0), 175);
    QCOMPARE(EspeakEngine::wordsPerMinute(-10), 80);
    QCOMPARE(EspeakEngine::wordsPerMinute(10), 450);
    QCOMPARE(EspeakEngine::wordsPerMinute(99), 450);
    for (int r = -10; r < 10; ++r)
        QVERIFY(EspeakEngine::wordsPerMinute(r) < EspeakEngine::wordsPerMinute(r + 1));

    // A faster rate gives a shorter sound: at -10 the second word of 你好
    // comes later than at 10.
    auto secondWordAfterMs = [](int rate) -> int {
        ManualClock clock;
        EspeakVoice voice(silentOptions(&clock));
        voice.setVoice(voiceWithLanguage(voice.getVoices(), "804"));
        voice.setRate(rate);
        QSignalSpy words(&voice, &SpeechVoice::word);
        voice.speak(QString::fromUtf8("你好"));
        int ms = 0;
        words.wait(10000); // the first word, at the start
        while (words.size() < 2 && ms < 5000) {
            ms += 50;
            clock.advanceMs(50);
            if (!clock.waitReads())
                return -1;
        }
        return ms;
    };
    const int slow = secondWordAfterMs(-10);
    const int fast = secondWordAfterMs(10);
    QVERIFY(fast > 0);
    QVERIFY2(fast < slow, qPrintable(QString("fast %1 ms, slow %2 ms").arg(fast).arg(slow)));
}

QTEST_GUILESS_MAIN(TestEspeakVoice)
#include "tst_espeakvoice.moc"
