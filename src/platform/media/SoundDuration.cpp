#include "platform/media/SoundDuration.h"

#include <QFile>

namespace korvana {

namespace {

quint32 le32(const QByteArray &d, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(d.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// RIFF WAVE: the data chunk's bytes at the format chunk's byte rate. A data
// chunk that claims more than the file holds (a recording cut short, or a
// stream written with an unknown length) counts what is there.
qint64 wavDuration(const QByteArray &d)
{
    if (d.size() < 12 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE")
        return -1;
    quint32 byteRate = 0;
    qint64 dataBytes = -1;
    qsizetype at = 12;
    while (at + 8 <= d.size()) {
        const QByteArray id = d.mid(at, 4);
        const qint64 size = le32(d, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= d.size())
            byteRate = le32(d, body + 8);
        else if (id == "data")
            dataBytes = qMin<qint64>(size, d.size() - body);
        if (byteRate && dataBytes >= 0)
            break;
        at = body + size + (size & 1); // chunks are padded to even sizes
    }
    if (!byteRate || dataBytes < 0)
        return -1;
    return dataBytes * 1000 / byteRate;
}

struct Frame {
    int length = 0;     // bytes, header included
    int samples = 0;    // per channel
    int sampleRate = 0; // Hz
};

// One MPEG audio frame header at `at`; length 0 when there is none.
Frame mpegFrame(const QByteArray &d, qsizetype at)
{
    Frame f;
    if (at + 4 > d.size())
        return f;
    const auto *p = reinterpret_cast<const uchar *>(d.constData() + at);
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return f;
    const int version = (p[1] >> 3) & 3;     // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
    const int layer = 4 - ((p[1] >> 1) & 3); // 1, 2 or 3; 4 is reserved
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    if (version == 1 || layer == 4 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return f; // reserved values, or free format, whose frames cannot be walked
    static const int kbps[5][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // MPEG 1, layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // MPEG 1, layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // MPEG 1, layer III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // MPEG 2 and 2.5, layer I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // MPEG 2 and 2.5, layers II and III
    };
    static const int rates[3] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const int row = mpeg1 ? layer - 1 : (layer == 1 ? 3 : 4);
    const int bitrate = kbps[row][bitrateIndex] * 1000;
    f.sampleRate = rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    if (layer == 1) {
        f.length = (12 * bitrate / f.sampleRate + padding) * 4;
        f.samples = 384;
    } else if (layer == 2 || mpeg1) {
        f.length = 144 * bitrate / f.sampleRate + padding;
        f.samples = 1152;
    } else {
        f.length = 72 * bitrate / f.sampleRate + padding;
        f.samples = 576;
    }
    if (f.length < 4)
        f.length = 0;
    return f;
}

// MPEG audio: the sum of its frames' lengths in time, so files of varying
// bit rate are timed right too. The first frame must be confirmed by the one
// after it (or end the file), so that stray sync bytes in other data are not
// taken for sound.
qint64 mpegDuration(const QByteArray &d)
{
    qsizetype at = 0;
    if (d.size() >= 10 && d.startsWith("ID3")) {
        const auto *p = reinterpret_cast<const uchar *>(d.constData());
        const qint64 tag = (qint64(p[6] & 0x7F) << 21) | (p[7] & 0x7F) << 14 | (p[8] & 0x7F) << 7 | (p[9] & 0x7F);
        at = 10 + tag + ((p[5] & 0x10) ? 10 : 0);
    }
    const qsizetype searchEnd = qMin<qsizetype>(d.size(), at + 4096);
    qsizetype first = -1;
    for (qsizetype i = at; i < searchEnd && first < 0; ++i) {
        const Frame f = mpegFrame(d, i);
        if (!f.length || i + f.length > d.size())
            continue;
        if (i + f.length == d.size() || mpegFrame(d, i + f.length).length)
            first = i;
    }
    if (first < 0)
        return -1;
    double seconds = 0;
    for (qsizetype i = first;;) {
        const Frame f = mpegFrame(d, i);
        if (!f.length || i + f.length > d.size())
            break; // the end, a trailing tag, or a frame cut short
        seconds += double(f.samples) / f.sampleRate;
        i += f.length;
    }
    return qint64(seconds * 1000 + 0.5);
}

} // namespace

qint64 soundDurationMs(const QByteArray &data)
{
    const qint64 wav = wavDuration(data);
    return wav >= 0 ? wav : mpegDuration(data);
}

qint64 soundFileDurationMs(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return soundDurationMs(file.readAll());
}

} // namespace korvana
