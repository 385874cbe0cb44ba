// The parts of the speech layer that need no engine: voice filtering,
// language codes, event ordering, the silent player and the test double.
#include "ManualClock.h"
#include "platform/speech/LanguageCodes.h"
#include "platform/speech/PcmPlayback.h"
#include "platform/ui/Errors.h"
#include "support/FakeSpeechVoice.h"

#include <QSignalSpy>
#include <QtTest>

using namespace korvana;

namespace {

QStringList ids(const QList<VoiceToken> &voices)
{
    QStringList out;
    for (const VoiceToken &v : voices)
        out << v.id;
    return out;
}

VoiceToken voiceWith(const QString &id, const QMap<QString, QString> &attributes)
{
    VoiceToken t;
    t.id = id;
    t.description = id;
    t.attributes = attributes;
    return t;
}

} // namespace

class TestSpeechSupport : public QObject {
    Q_OBJECT
private slots:
    void languageCodes_data();
    void languageCodes();
    void filterVoices();
    void silentPlaybackKeepsTheSoundsTime();
    void eventsLeaveInOrderOnceEvenWhenHandlersPumpMessages();
    void eventInterestsFilterEvents();
    void fakeVoiceLifecycle();
    void fakeVoiceAutoFinishRespectsQueueAndPause();
    void fakeVoiceStartFailure();
};

void TestSpeechSupport::languageCodes_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("code");
    QTest::newRow("mandarin") << "cmn"
                              << "804";
    QTest::newRow("chinese") << "zh"
                             << "804";
    QTest::newRow("upper case") << "CMN"
                                << "804";
    // Voices that must not pass for the Mandarin voice.
    QTest::newRow("pinyin mandarin") << "cmn-latn-pinyin"
                                     << "";
    QTest::newRow("min nan") << "zh-min-nan"
                             << "";
    QTest::newRow("cantonese") << "yue"
                               << "C04";
    QTest::newRow("hakka") << "hak"
                           << "";
    QTest::newRow("english") << "en"
                             << "409";
    QTest::newRow("british variant") << "en-gb-x-rp"
                                     << "809";
    QTest::newRow("vietnamese variant") << "vi-vn-x-south"
                                        << "42A";
    QTest::newRow("unknown") << "xx"
                             << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSpeechSupport::languageCodes()
{
    QFETCH(QString, tag);
    QFETCH(QString, code);
    QCOMPARE(languageCodeFor(tag), code);
}

void TestSpeechSupport::filterVoices()
{
    const QList<VoiceToken> voices = {
        voiceWith("a", {{"Language", "409"}, {"Gender", "Male"}}),
        voiceWith("b", {{"Language", "804"}, {"Gender", "Female"}}),
        voiceWith("c", {{"Language", "804;409"}, {"Gender", "Male"}}),
        voiceWith("d", {{"Language", "804"}, {"Gender", "Male"}}),
    };
    QCOMPARE(ids(SpeechVoice::filterVoices(voices, {}, {})), QStringList({"a", "b", "c", "d"}));
    // Values compare exactly: "804;409" is not "804". Names ignore case.
    QCOMPARE(ids(SpeechVoice::filterVoices(voices, "language=804", {})), QStringList({"b", "d"}));
    QCOMPARE(ids(SpeechVoice::filterVoices(voices, "Language=804;Gender=Male", {})), QStringList({"d"}));
    // Optional matches come first, the others keep their order behind them.
    QCOMPARE(ids(SpeechVoice::filterVoices(voices, {}, "Gender=Female")), QStringList({"b", "a", "c", "d"}));
    QCOMPARE(ids(SpeechVoice::filterVoices(voices, "Age", {})), QStringList());
    QCOMPARE(ids(SpeechVoice::filterVoices(voices, "Gender", {})), QStringList({"a", "b", "c", "d"}));
}

void TestSpeechSupport::silentPlaybackKeepsTheSoundsTime()
{
    ManualClock clock;
    auto p = makeSilentPlayback(clock.clock());
    p->begin(1000);
    p->append(std::vector<int16_t>(1000));
    QCOMPARE(p->position(), 0);
    clock.advanceMs(500);
    QCOMPARE(p->position(), 500);

    // Paused time is not sound.
    p->pause();
    clock.advanceMs(10000);
    QCOMPARE(p->position(), 500);
    p->resume();
    clock.advanceMs(200);
    QCOMPARE(p->position(), 700);

    // Never ahead of what synthesis has made, and time spent waiting for
    // more is not counted either.
    clock.advanceMs(5000);
    QCOMPARE(p->position(), 1000);
    QVERIFY(!p->finished()); // more may come
    p->append(std::vector<int16_t>(1000));
    QCOMPARE(p->position(), 1000);
    clock.advanceMs(300);
    QCOMPARE(p->position(), 1300);
    p->endOfData();
    QVERIFY(!p->finished());
    clock.advanceMs(700);
    QVERIFY(p->finished());

    // A new sound starts from 0; an empty one is over at once.
    p->begin(1000);
    QCOMPARE(p->position(), 0);
    p->endOfData();
    QVERIFY(p->finished());
}

void TestSpeechSupport::eventsLeaveInOrderOnceEvenWhenHandlersPumpMessages()
{
    FakeSpeechVoice voice;
    QStringList seen;
    connect(&voice, &SpeechVoice::word, this,
            [&](int stream, int pos, int len) { seen << QStringLiteral("w%1:%2+%3").arg(stream).arg(pos).arg(len); });
    connect(&voice, &SpeechVoice::endStream, this, [&](int stream) {
        seen << QStringLiteral("e%1").arg(stream);
        // Waits for speech pump messages inside these handlers.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    });
    QCOMPARE(voice.speak("a"), 1);
    QCOMPARE(voice.speak("b"), 2);
    QCOMPARE(voice.speak("c"), 3);
    QVERIFY(voice.speakWord(0, 1));
    voice.skip();
    // Stopping answers later, from the message loop, not inside skip().
    QCOMPARE(seen, QStringList({"w1:0+1"}));
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
    QTRY_COMPARE(seen, QStringList({"w1:0+1", "e1", "e2", "e3"}));
    QCoreApplication::processEvents();
    QCOMPARE(seen.size(), 4);
    // Nothing left to stop: no stray end of stream.
    voice.skip();
    QCoreApplication::processEvents();
    QCOMPARE(seen.size(), 4);
}

void TestSpeechSupport::eventInterestsFilterEvents()
{
    FakeSpeechVoice voice;
    QSignalSpy words(&voice, &SpeechVoice::word);
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    voice.setEventInterests(SpeechVoice::WordInterest);
    voice.speak("x");
    voice.speakWord(0, 1);
    voice.finishSpeaking();
    QCOMPARE(words.size(), 1);
    QCOMPARE(ends.size(), 0);
    voice.setEventInterests(SpeechVoice::AllEvents);
    voice.speak("y");
    voice.speakWord(0, 1);
    voice.finishSpeaking();
    QCOMPARE(words.size(), 2);
    QCOMPARE(ends.size(), 1);
    QCOMPARE(ends.at(0).at(0).toInt(), 2);
}

void TestSpeechSupport::fakeVoiceLifecycle()
{
    FakeSpeechVoice voice;
    const VoiceToken en = FakeSpeechVoice::makeVoice("en", "English", "409");
    const VoiceToken zh = FakeSpeechVoice::makeVoice("zh", "Chinese", "804");
    voice.setVoices({en, zh});
    QCOMPARE(voice.getVoices().size(), 2);
    QCOMPARE(voice.getVoices().at(1).getAttribute("Language"), QString("804"));
    QVERIFY(voice.setVoice(zh));
    QVERIFY(!voice.setVoice(FakeSpeechVoice::makeVoice("xx", "Other", "804")));
    QCOMPARE(voice.voice().id, QString("zh")); // a failed set leaves the voice

    voice.setRate(15);
    QCOMPARE(voice.rate(), 10);
    voice.setRate(-11);
    QCOMPARE(voice.rate(), -10);

    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
    voice.pause(); // nothing to pause
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
    voice.speak("你好");
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));
    voice.pause();
    QCOMPARE(voice.runningState(), int(SpeechVoice::Paused));
    voice.resume();
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));
    voice.pause();
    QSignalSpy ends(&voice, &SpeechVoice::endStream);
    voice.skip(); // ends a paused speech too, and the pause with it
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));
    QVERIFY(ends.wait(1000));
    QCOMPARE(ends.size(), 1);
    voice.speak("再见");
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));
    QCOMPARE(voice.spokenTexts(), QStringList({"你好", "再见"}));
    QCOMPARE(voice.pendingStreams(), QList<int>({2}));
}

void TestSpeechSupport::fakeVoiceAutoFinishRespectsQueueAndPause()
{
    FakeSpeechVoice voice;
    voice.setAutoFinish(true);
    QList<int> ends;
    connect(&voice, &SpeechVoice::endStream, this, [&](int s) { ends << s; });
    voice.speak("a");
    voice.speak("b");
    QCOMPARE(voice.runningState(), int(SpeechVoice::Speaking));
    QTRY_COMPARE(ends, QList<int>({1, 2}));
    QCOMPARE(voice.runningState(), int(SpeechVoice::Done));

    voice.speak("c");
    voice.pause();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(ends, QList<int>({1, 2})); // held by the pause
    voice.resume();
    QTRY_COMPARE(ends, QList<int>({1, 2, 3}));
}

void TestSpeechSupport::fakeVoiceStartFailure()
{
    FakeSpeechVoice voice;
    voice.setVoices({FakeSpeechVoice::makeVoice("zh", "Chinese", "804")});
    voice.setStartError("no speech engine");
    try {
        voice.getVoices();
        QFAIL("getVoices did not throw");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QString("no speech engine"));
    }
    QVERIFY(!voice.setVoice(FakeSpeechVoice::makeVoice("zh", "Chinese", "804")));
    QCOMPARE(voice.getVoicesCalls(), 1);
}

QTEST_GUILESS_MAIN(TestSpeechSupport)
#include "tst_speechsupport.moc"
