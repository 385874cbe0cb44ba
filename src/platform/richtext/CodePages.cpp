#include "CodePages.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace korvana {

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252; // ANSI
    case 2:
        return 1252; // symbol fonts: bytes are taken as they come
    case 77:
        return 10000; // Mac Roman
    case 128:
        return 932; // Shift-JIS
    case 129:
        return 949; // Hangul
    case 130:
        return 1361; // Johab
    case 134:
        return 936; // GB2312 / GBK
    case 136:
        return 950; // Big5
    case 161:
        return 1253; // Greek
    case 162:
        return 1254; // Turkish
    case 163:
        return 1258; // Vietnamese
    case 177:
        return 1255; // Hebrew
    case 178:
        return 1256; // Arabic
    case 186:
        return 1257; // Baltic
    case 204:
        return 1251; // Cyrillic
    case 222:
        return 874; // Thai
    case 238:
        return 1250; // Central European
    case 254:
        return 437; // PC 437
    case 255:
        return 850; // OEM
    default:
        return 0;
    }
}

bool isLeadByte(int codePage, unsigned char b)
{
    switch (codePage) {
    case 932:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
        return b >= 0x81 && b <= 0xFE;
    case 1361:
        return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
    default:
        return false;
    }
}

static const char *iconvName(int codePage)
{
    switch (codePage) {
    case 437:
        return "CP437";
    case 850:
        return "CP850";
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 1361:
        return "CP1361";
    case 10000:
        return "MACINTOSH";
    case 20936:
        return "GB2312";
    case 54936:
        return "GB18030";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

static void *const kNoConverter = reinterpret_cast<void *>(-1);

CodePageDecoder::CodePageDecoder() = default;

CodePageDecoder::~CodePageDecoder()
{
    for (void *cd : std::as_const(m_converters))
        if (cd != kNoConverter)
            iconv_close(static_cast<iconv_t>(cd));
}

void *CodePageDecoder::converterFor(int codePage)
{
    auto it = m_converters.constFind(codePage);
    if (it != m_converters.constEnd())
        return *it;
    void *cd = kNoConverter;
    if (const char *name = iconvName(codePage)) {
        iconv_t h = iconv_open("UTF-16LE", name);
        if (h != reinterpret_cast<iconv_t>(-1))
            cd = h;
    }
    m_converters.insert(codePage, cd);
    return cd;
}

QString CodePageDecoder::decode(const char *data, qsizetype size, int codePage)
{
    QString out;
    if (size <= 0)
        return out;
    // Plain ASCII reads the same in every code page we meet in rich text.
    bool ascii = true;
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(data, size);

    void *cdv = converterFor(codePage == 0 ? 1252 : codePage);
    if (cdv == kNoConverter)
        cdv = converterFor(1252);
    if (cdv == kNoConverter)
        return QString::fromLatin1(data, size);
    iconv_t cd = static_cast<iconv_t>(cdv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);

    std::vector<char> buf(static_cast<size_t>(size) * 4 + 16);
    char *in = const_cast<char *>(data);
    size_t inLeft = static_cast<size_t>(size);
    out.reserve(size);
    while (inLeft > 0) {
        char *o = buf.data();
        size_t oLeft = buf.size();
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        const size_t produced = buf.size() - oLeft;
        out.append(reinterpret_cast<const QChar *>(buf.data()), qsizetype(produced / 2));
        if (r != size_t(-1)) {
            // Some converters (Hebrew, Vietnamese) hold back a character that
            // a combining mark might still change; let it out.
            o = buf.data();
            oLeft = buf.size();
            iconv(cd, nullptr, nullptr, &o, &oLeft);
            out.append(reinterpret_cast<const QChar *>(buf.data()), qsizetype((buf.size() - oLeft) / 2));
            break;
        }
        if (errno == E2BIG)
            continue;
        // An undefined byte (0x81 in CP1252) or a broken sequence: single-byte
        // pages keep the byte as Latin-1 so no text is lost, multi-byte pages
        // mark the bad byte and resynchronise on the next one.
        const unsigned char bad = static_cast<unsigned char>(*in);
        const bool multiByte = codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950
                               || codePage == 1361 || codePage == 54936 || codePage == 65001;
        out.append(multiByte ? QChar(0xFFFD) : QChar(bad));
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

bool CodePageDecoder::encode(const QString &text, int codePage, QByteArray *out)
{
    out->clear();
    const char *name = iconvName(codePage == 0 ? 1252 : codePage);
    if (!name)
        return false;
    iconv_t cd = iconv_open(name, "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.constData()));
    size_t inLeft = size_t(text.size()) * 2;
    std::vector<char> buf(size_t(text.size()) * 4 + 16);
    char *o = buf.data();
    size_t oLeft = buf.size();
    size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    iconv_close(cd);
    if (r == size_t(-1) || inLeft != 0)
        return false;
    out->append(buf.data(), qsizetype(buf.size() - oLeft));
    return true;
}

} // namespace korvana
