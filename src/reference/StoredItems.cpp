#include "reference/StoredItems.h"

#include "platform/ui/Errors.h"
#include "platform/ui/TextDecoding.h"
#include "reference/EmbeddedStoredItems.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace korvana {

namespace {

// No file inside the program comes near this; a larger size is corrupt data,
// not a reason to try to allocate gigabytes.
constexpr quint32 MaxFileSize = 256u * 1024u * 1024u;

quint32 readLittleEndian32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

void appendLittleEndian32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

[[noreturn]] void corrupt(const char *what)
{
    throw Error(QStringLiteral("Stored item is corrupt: %1").arg(QLatin1String(what)));
}

struct InflateStream {
    z_stream z{};
    bool open = false;
    InflateStream()
    {
        if (inflateInit(&z) != Z_OK)
            corrupt("zlib cannot be initialised");
        open = true;
    }
    ~InflateStream()
    {
        if (open)
            inflateEnd(&z);
    }
};

} // namespace

QByteArray inflateStoredItem(QByteArrayView stored)
{
    if (stored.size() < 4)
        corrupt("too short");
    const quint32 streamSize = readLittleEndian32(stored.data());
    if (qint64(streamSize) > stored.size() - 4)
        corrupt("stream length exceeds the item");

    InflateStream s;
    s.z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(stored.data() + 4));
    s.z.avail_in = streamSize;

    char sizeBytes[4];
    s.z.next_out = reinterpret_cast<Bytef *>(sizeBytes);
    s.z.avail_out = 4;
    while (s.z.avail_out > 0) {
        const int rc = inflate(&s.z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END && s.z.avail_out > 0)
            corrupt("no file size");
        if (rc != Z_OK && rc != Z_STREAM_END)
            corrupt("not a zlib stream");
        if (rc == Z_OK && s.z.avail_in == 0 && s.z.avail_out > 0)
            corrupt("stream ends early");
    }
    const quint32 fileSize = readLittleEndian32(sizeBytes);
    if (fileSize > MaxFileSize)
        corrupt("file size out of range");

    QByteArray file(qsizetype(fileSize), Qt::Uninitialized);
    s.z.next_out = reinterpret_cast<Bytef *>(file.data());
    s.z.avail_out = fileSize;
    int rc = inflate(&s.z, Z_FINISH);
    if (rc != Z_STREAM_END && s.z.avail_out == 0 && (rc == Z_OK || rc == Z_BUF_ERROR)) {
        // The file's bytes are all there; only the end of the stream may be
        // left. Anything more means the file is larger than its stored size.
        char spare;
        s.z.next_out = reinterpret_cast<Bytef *>(&spare);
        s.z.avail_out = 1;
        rc = inflate(&s.z, Z_FINISH);
        if (rc == Z_STREAM_END && s.z.avail_out == 0)
            corrupt("file larger than its stored size");
        if (rc != Z_STREAM_END && s.z.avail_out == 0)
            corrupt("file larger than its stored size");
        s.z.avail_out = 0;
    }
    if (rc == Z_BUF_ERROR || (rc == Z_OK && s.z.avail_in == 0))
        corrupt("stream ends early");
    if (rc != Z_STREAM_END)
        corrupt("not a zlib stream");
    if (s.z.avail_out != 0)
        corrupt("file smaller than its stored size");
    return file;
}

QByteArray deflateStoredItem(QByteArrayView file, int level)
{
    QByteArray plain;
    plain.reserve(file.size() + 4);
    appendLittleEndian32(plain, quint32(file.size()));
    plain.append(file.data(), file.size());

    uLongf bound = compressBound(uLong(plain.size()));
    QByteArray stream(qsizetype(bound), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(stream.data()), &bound, reinterpret_cast<const Bytef *>(plain.constData()),
                  uLong(plain.size()), level)
        != Z_OK)
        throw Error(QStringLiteral("Cannot compress the stored item"));
    stream.truncate(qsizetype(bound));

    QByteArray stored;
    stored.reserve(stream.size() + 4);
    appendLittleEndian32(stored, quint32(stream.size()));
    stored.append(stream);
    return stored;
}

StoredItems StoredItems::embedded()
{
    StoredItems items;
    for (int i = 0; i < embedded::storedItemCount; ++i) {
        const auto &e = embedded::storedItems[i];
        items.append(QString::fromLatin1(e.name), QString::fromLatin1(e.fileName),
                     QByteArray::fromRawData(e.data, qsizetype(e.size)),
                     i == 1 ? StoredCompression::Max : StoredCompression::Default);
    }
    return items;
}

void StoredItems::append(const QString &name, const QString &fileName, const QByteArray &stored,
                         StoredCompression compression)
{
    m_items.push_back(StoredItem{name, fileName, stored, compression});
}

const StoredItem &StoredItems::item(int index) const
{
    if (index < 0 || index >= count())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_items[size_t(index)];
}

QByteArray StoredItems::uncompressed(int index)
{
    item(index); // range check
    StoredItem &it = m_items[size_t(index)];
    if (it.compression != StoredCompression::None) {
        it.data = inflateStoredItem(it.data);
        it.compression = StoredCompression::None;
    }
    return it.data;
}

namespace {

QString decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    QString out(units, Qt::Uninitialized);
    QChar *d = out.data();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned lo = bigEndian ? p[2 * i + 1] : p[2 * i];
        const unsigned hi = bigEndian ? p[2 * i] : p[2 * i + 1];
        d[i] = QChar(char16_t(lo | hi << 8));
    }
    return out;
}

bool isLineBreak(char16_t c)
{
    return c == 0x0A || c == 0x0B || c == 0x0C || c == 0x0D || c == 0x2028 || c == 0x2029;
}

// Characters below U+0300 are all stable under normalisation form C, so a
// line made of them only is already normalised; this spares the normaliser
// nearly every line of the program's tables.
bool mayNeedNormalising(const QChar *p, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        if (p[i].unicode() >= 0x300)
            return true;
    return false;
}

// Characters that start a stretch of text whose normalisation form C does
// not depend on anything before them: starters (combining class 0) that no
// canonical composition takes as its second character and whose own
// decomposition begins with a starter. Only characters of the basic plane,
// so a surrogate pair is never split. Built once, when a long line first
// needs normalising.
const std::vector<bool> &normalisationBoundaries()
{
    static const std::vector<bool> boundaries = [] {
        std::vector<bool> safe(0x10000, false);
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (QChar::isSurrogate(c) || QChar::combiningClass(c) != 0)
                continue;
            if (QChar::decompositionTag(c) == QChar::Canonical) {
                const QString d = QChar::decomposition(c);
                if (d.isEmpty() || QChar::combiningClass(d.at(0).unicode()) != 0)
                    continue;
            }
            safe[c] = true;
        }
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (QChar::decompositionTag(c) != QChar::Canonical)
                continue;
            const QList<uint> d = QChar::decomposition(c).toUcs4();
            if (d.size() == 2 && d[1] < 0x10000)
                safe[d[1]] = false;
        }
        // Hangul syllables compose with the vowel and final jamo by rule,
        // not by the decomposition table.
        for (char32_t c = 0x1161; c <= 0x1175; ++c)
            safe[c] = false;
        for (char32_t c = 0x11A8; c <= 0x11C2; ++c)
            safe[c] = false;
        return safe;
    }();
    return boundaries;
}

QString normalisedC(QStringView text)
{
    return text.toString().normalized(QString::NormalizationForm_C);
}

// Lines up to this long go to the normaliser whole; longer ones in pieces of
// about this length.
constexpr qsizetype ShortLine = 64;
// A stretch without a single boundary longer than this is a run of combining
// marks far beyond any script's use (Unicode's stream-safe text format caps
// such runs at 30); it is kept as it stands, since the normaliser's
// reordering of a run grows with the square of its length.
constexpr qsizetype LongestStretch = 32;

// The line in normalisation form C, in time proportional to its length: the
// normaliser's cost grows with the square of what it is given (its reordering
// of marks far more steeply than its composing), so a long line goes to it in
// pieces cut before boundary characters, where normalising the pieces one by
// one gives the same text as normalising the whole.
QString normalisedLine(QStringView line)
{
    if (line.size() <= ShortLine)
        return normalisedC(line);
    const std::vector<bool> &boundary = normalisationBoundaries();
    QString out;
    out.reserve(line.size());
    const qsizetype n = line.size();
    qsizetype pieceStart = 0;
    qsizetype i = 0;
    while (i < n) {
        // One stretch: from i up to the next boundary.
        qsizetype end = i + 1;
        while (end < n && !boundary[line[end].unicode()])
            ++end;
        if (end - i > LongestStretch) {
            out.append(normalisedC(line.sliced(pieceStart, i - pieceStart)));
            out.append(line.sliced(i, end - i));
            pieceStart = end;
        } else if (end - pieceStart >= ShortLine || end == n) {
            out.append(normalisedC(line.sliced(pieceStart, end - pieceStart)));
            pieceStart = end;
        }
        i = end;
    }
    if (pieceStart < n)
        out.append(normalisedC(line.sliced(pieceStart)));
    return out;
}

template <typename Emit>
void splitLines(const QString &text, Emit onLine)
{
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = p[i].unicode();
        if (!isLineBreak(c)) {
            ++i;
            continue;
        }
        onLine(QStringView(p + start, i - start));
        i += (c == 0x0D && i + 1 < n && p[i + 1].unicode() == 0x0A) ? 2 : 1;
        start = i;
    }
    if (start < n)
        onLine(QStringView(p + start, n - start));
}

} // namespace

QString decodeWideStringListBytes(QByteArrayView bytes)
{
    QString text;
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    if (bytes.size() >= 2 && u[0] == 0xFF && u[1] == 0xFE) {
        text = decodeUtf16(bytes.sliced(2), false);
    } else if (bytes.size() >= 2 && u[0] == 0xFE && u[1] == 0xFF) {
        text = decodeUtf16(bytes.sliced(2), true);
    } else {
        text = decodeUtf8OrWindows1252(bytes);
    }
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

QStringList loadWideStringList(QByteArrayView bytes)
{
    QStringList lines;
    splitLines(decodeWideStringListBytes(bytes), [&](QStringView line) {
        if (mayNeedNormalising(line.data(), line.size()))
            lines.append(normalisedLine(line));
        else
            lines.append(line.toString());
    });
    return lines;
}

QString loadWideStringListText(QByteArrayView bytes)
{
    const QString text = decodeWideStringListBytes(bytes);
    QString out;
    out.reserve(text.size() + 2);
    bool first = true;
    splitLines(text, [&](QStringView line) {
        if (!first)
            out.append(u"\r\n");
        first = false;
        if (mayNeedNormalising(line.data(), line.size()))
            out.append(normalisedLine(line));
        else
            out.append(line);
    });
    return out;
}

} // namespace korvana
