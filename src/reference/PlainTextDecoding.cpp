#include "reference/PlainTextDecoding.h"

#include "platform/richtext/CodePages.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <uchardet.h>

namespace korvana {

namespace {

QString decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    QStringDecoder d(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return d.decode(bytes);
}

// NUL bytes by their parity: 8-bit text holds none, while UTF-16 has one
// in every line break and blank (and in every Latin letter), on the odd
// bytes when little-endian and on the even ones when big-endian.
struct NulCount {
    qsizetype even = 0;
    qsizetype odd = 0;
};
NulCount countNuls(QByteArrayView bytes)
{
    NulCount n;
    const qsizetype size = std::min<qsizetype>(bytes.size(), 1 << 20);
    for (qsizetype i = 0; i < size; ++i)
        if (bytes[i] == 0)
            (i % 2 ? n.odd : n.even) += 1;
    return n;
}

// Decodes with iconv; an invalid or incomplete sequence becomes U+FFFD and
// decoding goes on after its first byte. Empty when iconv has no such
// encoding.
bool decodeWithIconv(const QByteArray &bytes, const char *encoding, QString *out)
{
    iconv_t cd = iconv_open("UTF-16LE", encoding);
    if (cd == iconv_t(-1))
        return false;
    QString text;
    text.reserve(bytes.size());
    QByteArray buffer(65536, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char *outPtr = buffer.data();
        size_t outLeft = size_t(buffer.size());
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        const qsizetype produced = buffer.size() - qsizetype(outLeft);
        text.append(reinterpret_cast<const QChar *>(buffer.constData()), produced / 2);
        if (r == size_t(-1) && err != E2BIG) {
            text.append(QChar(QChar::ReplacementCharacter));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    *out = std::move(text);
    return true;
}

QString guessedCharset(const QByteArray &bytes)
{
    uchardet_t detector = uchardet_new();
    if (!detector)
        return {};
    QString name;
    if (uchardet_handle_data(detector, bytes.constData(), size_t(bytes.size())) == 0) {
        uchardet_data_end(detector);
        name = QString::fromLatin1(uchardet_get_charset(detector));
    }
    uchardet_delete(detector);
    return name.toUpper();
}

} // namespace

DecodedText decodePlainText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), QStringLiteral("UTF-8")};
    if (bytes.startsWith("\xFF\xFE"))
        return {decodeUtf16(QByteArrayView(bytes).sliced(2), false), QStringLiteral("UTF-16LE")};
    if (bytes.startsWith("\xFE\xFF"))
        return {decodeUtf16(QByteArrayView(bytes).sliced(2), true), QStringLiteral("UTF-16BE")};

    // UTF-16 without a mark (checked first: its NULs are valid UTF-8).
    if (const NulCount nuls = countNuls(bytes); nuls.even + nuls.odd > 0 && bytes.size() % 2 == 0) {
        const bool bigEndian = nuls.even > nuls.odd;
        return {decodeUtf16(bytes, bigEndian), bigEndian ? QStringLiteral("UTF-16BE") : QStringLiteral("UTF-16LE")};
    }

    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {text, QStringLiteral("UTF-8")};

    const QString charset = guessedCharset(bytes);
    if (!charset.isEmpty() && charset != QLatin1String("ASCII") && charset != QLatin1String("WINDOWS-1252")
        && charset != QLatin1String("ISO-8859-1")) {
        // GB18030 is a superset of GBK and GB2312, which the detector may
        // name for the same text.
        const QByteArray name = (charset == QLatin1String("GB2312") || charset == QLatin1String("GBK"))
                                    ? QByteArray("GB18030")
                                    : charset.toLatin1();
        if (decodeWithIconv(bytes, name.constData(), &text))
            return {text, QString::fromLatin1(name)};
    }
    CodePageDecoder cp;
    return {cp.decode(bytes, 1252), QStringLiteral("Windows-1252")};
}

} // namespace korvana
