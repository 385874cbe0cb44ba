#include "practice/ToneColours.h"

#include <algorithm>
#include <array>

namespace korvana {

namespace {

// a, e, i, o, u, u-umlaut, each in tones 1 to 4, and the other way of
// writing the third tones (the caron a, the breve i, o, u that the
// tone-mark converter and older lessons use): a third-tone vowel in another
// font than its syllable's letters shows in every screenshot.
constexpr std::array<char16_t, 28> kToneVowels = {
    0x0101, 0x00E1, 0x0103, 0x00E0, // a (third tone with the breve)
    0x0113, 0x00E9, 0x011B, 0x00E8, // e
    0x012B, 0x00ED, 0x01D0, 0x00EC, // i
    0x014D, 0x00F3, 0x01D2, 0x00F2, // o
    0x016B, 0x00FA, 0x01D4, 0x00F9, // u
    0x01D6, 0x01D8, 0x01DA, 0x01DC, // u-umlaut
    0x01CE, 0x012D, 0x014F, 0x016D, // caron a, breve i, o, u
};

struct ToneEntry {
    char16_t code;
    int tone;
};

// The colouring's table: the Unicode letters, then the code units the old
// pinyin font used for its marked vowels.
constexpr ToneEntry kToneTable[] = {
    {0x0101, 1},
    {0x0113, 1},
    {0x012B, 1},
    {0x014D, 1},
    {0x016B, 1},
    {0x00E1, 2},
    {0x00E9, 2},
    {0x00ED, 2},
    {0x00F3, 2},
    {0x00FA, 2},
    {0x01CE, 3},
    {0x011B, 3},
    {0x01D0, 3},
    {0x01D2, 3},
    {0x01D4, 3},
    // The breve third tones, which the tone-mark converter writes and
    // lessons may hold, and their capitals.
    {0x0103, 3},
    {0x012D, 3},
    {0x014F, 3},
    {0x016D, 3},
    {0x0102, 3},
    {0x012C, 3},
    {0x014E, 3},
    {0x016C, 3},
    {0x00E0, 4},
    {0x00E8, 4},
    {0x00EC, 4},
    {0x00F2, 4},
    {0x00F9, 4},
    {0x82, 1},
    {0x86, 1},
    {0x8A, 1},
    {0x8E, 1},
    {0x92, 1},
    {0x96, 1},
    {0x87, 2},
    {0x8B, 2},
    {0x8F, 2},
    {0x93, 2},
    {0x97, 2},
    {0x9B, 2},
    {0x5A, 3},
    {0x84, 3},
    {0x88, 3},
    {0x8C, 3},
    {0x90, 3},
    {0x94, 3},
    {0x9C, 3},
    {0x85, 4},
    {0x89, 4},
    {0x8D, 4},
    {0x91, 4},
    {0x95, 4},
    {0x99, 4},
};

constexpr QChar kBlank = QLatin1Char(' ');

} // namespace

bool isPinyinToneVowel(QChar ch)
{
    return std::find(kToneVowels.begin(), kToneVowels.end(), ch.unicode()) != kToneVowels.end();
}

bool takesLatinFont(QChar ch, const QString &fontName)
{
    if (fontName == QStringView(kPinyinDesignFont))
        return false;
    return ch.unicode() < 128 || isPinyinToneVowel(ch);
}

int pinyinTone(QChar ch)
{
    for (const ToneEntry &e : kToneTable)
        if (e.code == ch.unicode())
            return e.tone;
    return 0;
}

quint32 toneColour(int tone)
{
    switch (tone) {
    case 1:
        return 0x0000FF; // red
    case 2:
        return 0xFF0000; // blue
    case 3:
        return 0x000000; // black
    case 4:
        return 0x008000; // green
    default:
        return kNeutralToneColour;
    }
}

TextRange syllableRange(const QString &text, int p)
{
    const int length = int(text.size());
    p = std::clamp(p, 0, length);
    TextRange r;
    r.start = p > 0 ? int(text.lastIndexOf(kBlank, p - 1)) + 1 : 0;
    const qsizetype blank = p < length ? text.indexOf(kBlank, p + 1) : -1;
    r.end = blank < 0 ? length : int(blank) + 1;
    return r;
}

QList<ToneSyllable> toneSyllables(const QString &text)
{
    QList<ToneSyllable> result;
    const int length = int(text.size());
    int start = 0;
    while (start < length) {
        if (text[start] == kBlank) {
            ++start;
            continue;
        }
        qsizetype blank = text.indexOf(kBlank, start);
        const int runEnd = blank < 0 ? length : int(blank);
        ToneSyllable s;
        for (int i = start; i < runEnd; ++i) {
            if (const int tone = pinyinTone(text[i])) {
                s.tone = tone;
                s.lastTonePos = i;
            }
        }
        if (s.tone != 0) {
            s.range = {start, blank < 0 ? length : runEnd + 1};
            result.append(s);
        }
        start = runEnd + 1;
    }
    return result;
}

} // namespace korvana
