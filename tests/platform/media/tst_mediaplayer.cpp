// The sound player layer: sound lengths read from WAV and MPEG headers, and
// the Qt player as it runs without an audio device (silently, timed by the
// sound's length).
#include "platform/media/QtMediaPlayer.h"
#include "platform/media/SoundDuration.h"
#include "platform/ui/Errors.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace korvana;

namespace {

QByteArray u32(quint32 v)
{
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body, quint32 claimed = 0)
{
    QByteArray c = id + u32(claimed ? claimed : quint32(body.size())) + body;
    if (body.size() & 1)
        c += '\0';
    return c;
}

// A PCM WAV of `dataBytes` bytes at `byteRate`, with `extra` chunks before
// the data.
QByteArray wav(quint32 byteRate, int dataBytes, const QByteArray &extra = {}, quint32 claimedData = 0)
{
    QByteArray fmt;
    fmt += QByteArray::fromHex("01000100"); // PCM, mono
    fmt += u32(byteRate) + u32(byteRate) + QByteArray::fromHex("01000800");
    const QByteArray body =
        "WAVE" + chunk("fmt ", fmt) + extra + chunk("data", QByteArray(dataBytes, '\x80'), claimedData);
    return "RIFF" + u32(quint32(body.size())) + body;
}

// MPEG audio frames: a header and zero bytes up to the frame's length.
QByteArray frame(const char *headerHex, int length)
{
    QByteArray f = QByteArray::fromHex(headerHex);
    f.resize(length, '\0');
    return f;
}

// MPEG 1 layer III, 128 kbit/s, 44.1 kHz, no padding: 417 bytes, 1152 samples.
QByteArray mpeg1Frames(int n)
{
    QByteArray d;
    for (int i = 0; i < n; ++i)
        d += frame("FFFB9000", 417);
    return d;
}

QByteArray id3Tag(int bodyBytes)
{
    // Sizes are stored seven bits a byte.
    QByteArray t("ID3\x03\x00\x00", 6);
    t += char((bodyBytes >> 21) & 0x7F);
    t += char((bodyBytes >> 14) & 0x7F);
    t += char((bodyBytes >> 7) & 0x7F);
    t += char(bodyBytes & 0x7F);
    return t + QByteArray(bodyBytes, 'x');
}

QString fixture(const char *name)
{
    return QStringLiteral(KORVANA_TEST_DATA "/media/") + QLatin1String(name);
}

} // namespace

class TestMediaPlayer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &data)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void wavLengths()
    {
        QCOMPARE(soundFileDurationMs(fixture("short.wav")), qint64(100)); // 800 bytes at 8000 a second
        QCOMPARE(soundDurationMs(wav(16000, 8000)), qint64(500));
        // Other chunks before the data, one of odd size (padded), are stepped over.
        QCOMPARE(soundDurationMs(wav(1000, 250, chunk("LIST", "abc") + chunk("fact", "1234"))), qint64(250));
        // A data chunk claiming more than the file holds counts what is there.
        QCOMPARE(soundDurationMs(wav(1000, 300, {}, 0xFFFFFFFF)), qint64(300));
        // No format chunk, or a zero byte rate: no length.
        QCOMPARE(soundDurationMs("RIFF" + u32(16) + "WAVE" + chunk("data", QByteArray(8, 0))), qint64(-1));
        QCOMPARE(soundDurationMs(wav(0, 100)), qint64(-1));
    }

    void mpegLengths()
    {
        // 100 frames of 1152 samples at 44.1 kHz: 2612 ms.
        QCOMPARE(soundDurationMs(mpeg1Frames(100)), qint64(2612));
        // An ID3 tag in front and one at the end change nothing.
        QCOMPARE(soundDurationMs(id3Tag(300) + mpeg1Frames(100) + "TAG" + QByteArray(125, ' ')), qint64(2612));
        // Padded frames are one byte longer.
        QByteArray padded;
        for (int i = 0; i < 10; ++i)
            padded += frame("FFFB9200", 418);
        QCOMPARE(soundDurationMs(padded), qint64(261));
        // MPEG 2 layer III at 22.05 kHz, 64 kbit/s: 208 bytes, 576 samples a frame.
        QByteArray mpeg2;
        for (int i = 0; i < 50; ++i)
            mpeg2 += frame("FFF38000", 208);
        QCOMPARE(soundDurationMs(mpeg2), qint64(1306));
        // Frames of different bit rates add up by their own lengths:
        // 10 at 128 kbit/s and 10 at 64 kbit/s (208 bytes) last the same.
        QByteArray vbr = mpeg1Frames(10);
        for (int i = 0; i < 10; ++i)
            vbr += frame("FFFB5000", 208);
        QCOMPARE(soundDurationMs(vbr), qint64(522));
        // A last frame cut short is not counted.
        QCOMPARE(soundDurationMs(mpeg1Frames(10) + frame("FFFB9000", 100)), qint64(261));
    }

    void otherDataHasNoLength()
    {
        QCOMPARE(soundDurationMs(QByteArray()), qint64(-1));
        QCOMPARE(soundDurationMs("just some text, not a sound"), qint64(-1));
        QCOMPARE(soundFileDurationMs(fixture("tiny.jpg")), qint64(-1));
        QCOMPARE(soundFileDurationMs(m_dir.filePath("missing.wav")), qint64(-1));
        // A lone sync pattern that the next "frame" does not confirm.
        QCOMPARE(soundDurationMs(QByteArray(50, 'a') + frame("FFFB9000", 417) + QByteArray(500, 'b')), qint64(-1));
        // Free-format and reserved headers cannot be walked.
        QCOMPARE(soundDurationMs(frame("FFFB0000", 417) + frame("FFFB0000", 417)), qint64(-1));
        QCOMPARE(soundDurationMs(frame("FFEB9000", 417) + frame("FFEB9000", 417)), qint64(-1));
    }

    void silentPlayerPlaysForTheSoundsLength()
    {
        QtMediaPlayer player(QtMediaPlayer::Output::Silent);
        QSignalSpy finished(&player, &MediaPlayer::finished);
        player.setFileName(fixture("short.wav"));
        player.open();
        QVERIFY(player.silent());
        QCOMPARE(player.duration(), qint64(100));
        QCOMPARE(player.mode(), MediaPlayer::Mode::Stopped);
        player.play();
        QCOMPARE(player.mode(), MediaPlayer::Mode::Playing);
        QVERIFY(finished.isEmpty()); // it ends from the message loop, not inside play()
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(player.mode(), MediaPlayer::Mode::Stopped);
        // Played again from the start.
        player.play();
        QVERIFY(player.playing());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.size(), 2);
    }

    void stopEndsAtOnceAndOnlyOnce()
    {
        QtMediaPlayer player(QtMediaPlayer::Output::Silent);
        QSignalSpy finished(&player, &MediaPlayer::finished);
        player.setFileName(writeFile("long.wav", wav(1000, 60000))); // a minute
        player.open();
        player.play();
        player.stop();
        QCOMPARE(player.mode(), MediaPlayer::Mode::Stopped);
        QCOMPARE(finished.size(), 1);
        player.stop();
        QCoreApplication::processEvents();
        QCOMPARE(finished.size(), 1);
        // Play while playing: the running play ends, the new one starts.
        player.play();
        player.play();
        QCOMPARE(finished.size(), 2);
        QVERIFY(player.playing());
        // Naming another file closes the open one, stopping its sound.
        player.setFileName(fixture("short.wav"));
        QCOMPARE(finished.size(), 3);
        QVERIFY(!player.playing());
        QCOMPARE(player.duration(), qint64(-1));
        QVERIFY_THROWS_EXCEPTION(Error, player.play());
    }

    void filesThatCannotBePlayedFailToOpen()
    {
        QtMediaPlayer player(QtMediaPlayer::Output::Silent);
        QVERIFY_THROWS_EXCEPTION(Error, player.play()); // nothing open
        player.setFileName(m_dir.filePath("missing.wav"));
        QVERIFY_THROWS_EXCEPTION(Error, player.open());
        player.setFileName(QString());
        QVERIFY_THROWS_EXCEPTION(Error, player.open());
        player.setFileName(m_dir.path()); // a folder
        QVERIFY_THROWS_EXCEPTION(Error, player.open());
        // Without a device a sound is only as good as its known length.
        player.setFileName(writeFile("noise.mp3", QByteArray(2000, 'n')));
        QVERIFY_THROWS_EXCEPTION(Error, player.open());
        QVERIFY_THROWS_EXCEPTION(Error, player.play());
        QCOMPARE(player.mode(), MediaPlayer::Mode::Stopped);
        // A failed open leaves the player usable for the next file.
        player.setFileName(fixture("short.wav"));
        player.open();
        player.play();
        QVERIFY(player.playing());
    }

    void playerGoingAwayWhilePlayingSaysNothing()
    {
        auto *player = new QtMediaPlayer(QtMediaPlayer::Output::Silent);
        int finished = 0;
        connect(player, &MediaPlayer::finished, this, [&] { ++finished; });
        player->setFileName(fixture("short.wav"));
        player->open();
        player->play();
        delete player;
        QCOMPARE(finished, 0);
    }
};

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
