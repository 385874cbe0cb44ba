#include "reference/PlainTextDecoding.h"

#include "platform/richtext/CodePages.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <uchardet.h>
#include <vector>

namespace korvana {

namespace {

// A decoding, clean when every byte decoded: not so for UTF-16 with a lone
// surrogate, or a legacy encoding with a byte sequence it does not define.
struct Decoding {
    QString text;
    bool clean = false;
};

Decoding decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    QStringDecoder d(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    Decoding r;
    r.text = d.decode(bytes);
    r.clean = !d.hasError() && bytes.size() % 2 == 0;
    return r;
}

// Valid UTF-8 to its last byte: a sequence cut short at the end of the file
// is an error (a decoder reading a stream would wait for its rest).
bool isCompleteUtf8(QByteArrayView bytes, QString *text)
{
    QStringDecoder d(QStringConverter::Utf8);
    *text = d.decode(bytes);
    if (d.hasError())
        return false;
    // Walk back over the continuation bytes at the end to the last lead byte
    // and check that its sequence is whole.
    qsizetype i = bytes.size();
    int continuations = 0;
    while (i > 0 && continuations < 4 && (uchar(bytes[i - 1]) & 0xC0) == 0x80) {
        --i;
        ++continuations;
    }
    if (i == 0)
        return continuations == 0;
    const uchar lead = uchar(bytes[i - 1]);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    return length == continuations + 1;
}

// Decodes with iconv; an invalid or incomplete sequence becomes U+FFFD and
// decoding goes on after its first byte. False when iconv has no such
// encoding.
bool decodeWithIconv(const QByteArray &bytes, const char *encoding, QString *out, qsizetype *errors = nullptr)
{
    iconv_t cd = iconv_open("UTF-16LE", encoding);
    if (cd == iconv_t(-1))
        return false;
    QString text;
    text.reserve(bytes.size());
    QByteArray buffer(65536, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    qsizetype bad = 0;
    while (inLeft > 0) {
        char *outPtr = buffer.data();
        size_t outLeft = size_t(buffer.size());
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        const qsizetype produced = buffer.size() - qsizetype(outLeft);
        text.append(reinterpret_cast<const QChar *>(buffer.constData()), produced / 2);
        if (r == size_t(-1) && err != E2BIG) {
            text.append(QChar(QChar::ReplacementCharacter));
            ++bad;
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    *out = std::move(text);
    if (errors)
        *errors = bad;
    return true;
}

Decoding decodeStrictly(const QByteArray &bytes, const char *encoding)
{
    Decoding r;
    qsizetype errors = 0;
    r.clean = decodeWithIconv(bytes, encoding, &r.text, &errors) && errors == 0;
    return r;
}

// The Han characters a Chinese text is mostly made of: the first level of
// GB2312 (the 3755 commonest simplified characters) and the first level of
// Big5 (the 5401 commonest traditional ones), taken from the system's own
// tables once. A text in GB18030 is judged by the first, one in Big5 by the
// second: garbage read from the other encoding's bytes lands mostly outside
// them.
class CommonHan {
public:
    enum Set { Simplified = 1, Traditional = 2, Either = 3 };
    static const CommonHan &instance()
    {
        static const CommonHan table;
        return table;
    }
    bool contains(char32_t c, Set set) const { return c >= First && c < First + Count && (m_sets[c - First] & set); }

private:
    static constexpr char32_t First = 0x4E00;
    static constexpr char32_t Count = 0xA000 - 0x4E00;
    std::vector<quint8> m_sets = std::vector<quint8>(Count, 0);

    CommonHan()
    {
        addPairs("GB2312", Simplified, 0xB0, 0xD7, 0xA1, 0xFE, 0xFF);
        addPairs("BIG5", Traditional, 0xA4, 0xC6, 0x40, 0x7E, 0xA1);
    }
    // Every two-byte code with its lead in [lead0, lead1] and its trail in
    // [trail0, trail1] or in [trail2, 0xFE].
    void addPairs(const char *encoding, Set set, int lead0, int lead1, int trail0, int trail1, int trail2)
    {
        QByteArray pairs;
        for (int lead = lead0; lead <= lead1; ++lead) {
            for (int trail = trail0; trail <= 0xFE; ++trail) {
                if (trail > trail1 && trail < trail2)
                    continue;
                // A line break after each code keeps a code the table lacks
                // from pairing with its neighbour.
                pairs.append(char(lead)).append(char(trail)).append('\n');
            }
        }
        QString text;
        if (!decodeWithIconv(pairs, encoding, &text))
            return;
        for (QChar c : std::as_const(text))
            if (c.unicode() >= First && c.unicode() < First + Count)
                m_sets[c.unicode() - First] |= set;
    }
};

bool isHan(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF)
           || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3007;
}

// What cannot stand in a text file: a decoding error, a control character
// other than the usual white space, a code point that is unassigned,
// private or a noncharacter.
bool isBad(char32_t c)
{
    if (c == QChar::ReplacementCharacter || QChar::isNonCharacter(c))
        return true;
    switch (QChar::category(c)) {
    case QChar::Other_NotAssigned:
    case QChar::Other_PrivateUse:
    case QChar::Other_Surrogate:
        return true;
    case QChar::Other_Control:
        return !(c == '\t' || c == '\n' || c == '\r' || c == '\f');
    default:
        return false;
    }
}

bool isAsciiText(char32_t c)
{
    return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The punctuation, symbols and pinyin letters that Chinese texts hold
// besides Han and ASCII.
bool isChineseNonHan(char32_t c)
{
    static const QString pinyin = QStringLiteral("āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüÜêÊ");
    return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF65) || (c >= 0xFFE0 && c <= 0xFFE6)
           || (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) || (c >= 0x3100 && c <= 0x312F) || c == 0xB7
           || c == 0xD7 || c == 0xF7 || c == 0xB0 || c == 0xA7 || (c < 0x10000 && pinyin.contains(QChar(char16_t(c))));
}

constexpr qsizetype JudgedChars = 1 << 16;

// Calls f with each code point of the first JudgedChars of text; a lone
// surrogate comes as itself.
template <typename F>
void forEachCodePoint(const QString &text, F f)
{
    const qsizetype end = std::min(text.size(), JudgedChars);
    for (qsizetype i = 0; i < end; ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (!f(c))
            return;
    }
}

// How much a decoding looks like text, whatever its language: common
// scripts gain, and what no text holds costs far more than any one
// character gains, so the wrong byte order of UTF-16 (which turns line
// breaks and blanks into unassigned or odd code points, and much of Chinese
// into surrogates and private use) loses to the right one.
double textScore(const QString &text)
{
    const CommonHan &table = CommonHan::instance();
    const auto common = [&](char32_t c) { return table.contains(c, CommonHan::Either); };
    double score = 0;
    forEachCodePoint(text, [&](char32_t c) {
        if (isBad(c))
            score -= 5;
        else if (isAsciiText(c) || common(c))
            score += common(c) ? 1.5 : 1;
        else if ((c >= 0x4E00 && c <= 0x9FFF) || c >= 0x20000 || isChineseNonHan(c))
            score += 0.5;
        else if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0xAC00 && c <= 0xD7A3))
            score += 1; // kana, Hangul syllables
        else if ((c >= 0xC0 && c <= 0x24F) || (c >= 0x370 && c <= 0x3FF) || (c >= 0x400 && c <= 0x4FF))
            score += 0.5; // accented Latin, Greek, Cyrillic
        return true;
    });
    return score;
}

// A decoding that reads as Chinese: nothing but ASCII, Han and the
// punctuation of Chinese texts, with at least one common Han character and
// most of what is not ASCII common. Zero when it does not; otherwise its
// weight, so that the likelier of two readings wins.
double chineseScore(const Decoding &d, CommonHan::Set commonSet)
{
    if (!d.clean)
        return 0;
    const CommonHan &table = CommonHan::instance();
    qsizetype ascii = 0, commonHan = 0, punctuation = 0, rareHan = 0;
    bool chinese = true;
    forEachCodePoint(d.text, [&](char32_t c) {
        if (isAsciiText(c))
            ++ascii;
        else if (table.contains(c, commonSet))
            ++commonHan;
        else if (isHan(c))
            ++rareHan;
        else if (isChineseNonHan(c))
            ++punctuation;
        else
            chinese = false;
        return chinese;
    });
    if (!chinese || commonHan == 0 || commonHan + punctuation < rareHan)
        return 0;
    return 1.5 * double(commonHan) + double(punctuation) + 0.5 * double(ascii);
}

// How far a Windows-1252 reading is Western prose. A note when every byte
// above ASCII is a letter (or one of the code page's quotes, dashes and
// signs) inside a word that also holds ASCII letters, as in "café" or
// "Voilà", and the ASCII letters are at least as many. Prose, which no
// Chinese reading may override, when it is also no longer than three bytes
// or has ASCII letters the larger part and at least three of them: the
// bytes of Chinese text pair up above ASCII instead, while UTF-16 of two Han
// characters can look like a short note ("深圳" is "\xF1m3W").
enum class Latin { None, Note, Prose };
Latin latinReading(QByteArrayView bytes)
{
    static const QByteArray signs("\x80\x85\x91\x92\x93\x94\x96\x97\xA0\xA1\xA3\xA9\xAB\xB0\xBB\xBF", 16);
    const auto isHighLetter = [](uchar b) { return b >= 0xC0 && b != 0xD7 && b != 0xF7; };
    const auto isAsciiLetter = [](uchar b) { return (b | 0x20) >= 'a' && (b | 0x20) <= 'z'; };
    qsizetype asciiLetters = 0, high = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f')
            return Latin::None;
        if (!isAsciiLetter(b) && !isHighLetter(b)) {
            if (b >= 0x80) {
                if (!signs.contains(char(b)))
                    return Latin::None;
                ++high;
            }
            ++i;
            continue;
        }
        // One word: its high letters need an ASCII letter beside them.
        bool hasAscii = false, hasHigh = false;
        for (; i < bytes.size() && (isAsciiLetter(uchar(bytes[i])) || isHighLetter(uchar(bytes[i]))); ++i) {
            if (isAsciiLetter(uchar(bytes[i]))) {
                hasAscii = true;
                ++asciiLetters;
            } else {
                hasHigh = true;
                ++high;
            }
        }
        if (hasHigh && !hasAscii)
            return Latin::None;
    }
    if (asciiLetters == 0 || asciiLetters < high)
        return Latin::None;
    if (bytes.size() <= 3 || (asciiLetters >= 3 && 2 * asciiLetters >= 3 * high))
        return Latin::Prose;
    return Latin::Note;
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

bool isJapaneseOrKorean(const QString &charset)
{
    for (const char *name : {"SHIFT_JIS", "EUC-JP", "ISO-2022-JP", "EUC-KR", "UHC", "CP949", "ISO-2022-KR", "JOHAB"})
        if (charset == QLatin1String(name))
            return true;
    return false;
}

// Japanese prose holds kana and Korean prose Hangul; a text of Han alone
// that the detector calls Japanese or Korean is likelier Chinese.
bool holdsKanaOrHangul(const QString &text)
{
    bool found = false;
    forEachCodePoint(text, [&](char32_t c) {
        found = (c >= 0x3040 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F) || (c >= 0x1100 && c <= 0x11FF)
                || (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7A3);
        return !found;
    });
    return found;
}

// The detector needs more text than a short note gives it to tell the
// single-byte code pages apart; a few valid UTF-8 letters are no proof.
constexpr qsizetype ShortText = 256;

// The likeliest reading of bytes as Chinese text, in GB18030, Big5-HKSCS
// or (when withUtf16) UTF-16 without a mark; false when none reads as
// Chinese.
bool readsAsChinese(const QByteArray &bytes, bool withUtf16, DecodedText *out)
{
    struct Candidate {
        Decoding decoding;
        CommonHan::Set common;
        const char *name;
    };
    std::vector<Candidate> candidates;
    candidates.push_back({decodeStrictly(bytes, "GB18030"), CommonHan::Simplified, "GB18030"});
    candidates.push_back({decodeStrictly(bytes, "BIG5-HKSCS"), CommonHan::Traditional, "Big5-HKSCS"});
    if (withUtf16) {
        candidates.push_back({decodeUtf16(bytes, false), CommonHan::Either, "UTF-16LE"});
        candidates.push_back({decodeUtf16(bytes, true), CommonHan::Either, "UTF-16BE"});
    }
    double bestScore = 0;
    const Candidate *best = nullptr;
    for (const Candidate &c : candidates) {
        const double score = chineseScore(c.decoding, c.common);
        if (score > bestScore) {
            bestScore = score;
            best = &c;
        }
    }
    if (!best)
        return false;
    *out = {best->decoding.text, QString::fromLatin1(best->name)};
    return true;
}

// Whether the letters beyond ASCII of a short UTF-8 text are stray: nothing
// beyond ASCII but letters below U+0800, and none of them in a word,
// neither beside an ASCII letter nor among three or more of their own. One
// or two GBK characters can be valid UTF-8 (一 reads as "һ", 谢谢 as "лл"),
// while real words in Cyrillic, Greek or accented Latin are longer or mixed.
bool holdsOnlyStrayLetters(const QString &text)
{
    qsizetype run = 0;
    bool afterAscii = false, stray = true;
    forEachCodePoint(text, [&](char32_t c) {
        const bool asciiLetter = c < 0x80 && QChar::isLetter(c);
        if (c >= 0x800 || (c >= 0x80 && !QChar::isLetter(c))) {
            stray = false; // and a sign such as "°" is written as itself
        } else if (c >= 0x80) {
            stray = !afterAscii && ++run < 3;
        } else {
            if (asciiLetter && run > 0)
                stray = false;
            run = 0;
        }
        afterAscii = asciiLetter;
        return stray;
    });
    return stray;
}

} // namespace

DecodedText decodePlainText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), QStringLiteral("UTF-8")};
    if (bytes.startsWith("\xFF\xFE"))
        return {decodeUtf16(QByteArrayView(bytes).sliced(2), false).text, QStringLiteral("UTF-16LE")};
    if (bytes.startsWith("\xFE\xFF"))
        return {decodeUtf16(QByteArrayView(bytes).sliced(2), true).text, QStringLiteral("UTF-16BE")};

    // UTF-16 without a mark (checked first: its NULs are valid UTF-8). The
    // byte order is the one that reads as text: counting the NULs on either
    // side would be fooled by every character of the form U+xx00, such as
    // 一 (U+4E00), whose NUL lies on the other side from a Latin letter's.
    const bool evenSize = bytes.size() % 2 == 0;
    if (evenSize && bytes.contains('\0')) {
        Decoding le = decodeUtf16(bytes, false);
        Decoding be = decodeUtf16(bytes, true);
        if (textScore(be.text) > textScore(le.text))
            return {std::move(be.text), QStringLiteral("UTF-16BE")};
        return {std::move(le.text), QStringLiteral("UTF-16LE")};
    }

    QString text;
    if (isCompleteUtf8(bytes, &text)) {
        DecodedText chinese;
        if (bytes.size() < ShortText && text.size() < bytes.size() && holdsOnlyStrayLetters(text)
            && readsAsChinese(bytes, false, &chinese))
            return chinese;
        return {text, QStringLiteral("UTF-8")};
    }

    const QString charset = guessedCharset(bytes);
    if (isJapaneseOrKorean(charset)) {
        // Japanese and Korean prose is detected with confidence.
        const Decoding d = decodeStrictly(bytes, charset.toLatin1().constData());
        if (d.clean && holdsKanaOrHangul(d.text))
            return {d.text, charset};
    }

    // For a program whose users read Chinese, a text that reads cleanly as
    // Chinese in one of its encodings is far likelier Chinese than the
    // Cyrillic or Western text the detector may guess for a few bytes (or
    // for a line that is mostly Latin). Short UTF-16 without a mark and
    // without a NUL (中文) is one of them. Bytes that read as Western words
    // are left to the detector: "caf\xE9" is also two Han characters in
    // UTF-16, "\xC6gir" one in Big5.
    const Latin latin = latinReading(bytes);
    if (latin != Latin::Prose) {
        DecodedText chinese;
        if (readsAsChinese(bytes, evenSize, &chinese))
            return chinese;
    }

    // A short Western note is more often Windows-1252 than the rarer code
    // page the detector picks from a handful of accented letters.
    const bool westernNote = latin != Latin::None && bytes.size() < ShortText;
    if (!westernNote && !charset.isEmpty() && charset != QLatin1String("ASCII")
        && charset != QLatin1String("WINDOWS-1252") && charset != QLatin1String("ISO-8859-1")) {
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
