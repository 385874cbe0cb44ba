#pragma once
// Tone-marked pinyin in the practice panes: which characters are given the
// Latin font before a field is copied out of the term's line, and how the
// pinyin pane is coloured by tone. Pure functions; the main window applies
// them to its rich-text panes.
//
// Two tables live here and they are not the same set:
//  - the tone vowels of the Latin-font pass (a, e, i, o, u and u-umlaut in
//    four tones, the third tones in both their caron and breve forms);
//  - the tone table of the colouring, which knows the caron and the breve
//    third tones, no u-umlaut letters, and the code units of the old pinyin
//    font that lessons written with it still carry (including "Z" for a
//    third-tone a).
// The tone-mark converter has a third table of its own.
#include <QList>
#include <QString>
#include <QtGlobal>

namespace korvana {

// The pinyin pane's design font: characters in it keep their font.
inline constexpr char16_t kPinyinDesignFont[] = u"Rodur Azozaru Deravoviro";
// The font the Latin-font pass gives plain Latin letters and tone vowels.
inline constexpr char16_t kLatinFont[] = u"Times New Roman";

// True for the tone-marked vowels of the Latin-font pass.
bool isPinyinToneVowel(QChar ch);

// Whether the Latin-font pass changes a character in the font fontName: it
// does for ASCII and the tone vowels, unless the character is in the pinyin
// design font.
bool takesLatinFont(QChar ch, const QString &fontName);

// The tone (1-4) of one code unit by the colouring's table, or 0 for none.
int pinyinTone(QChar ch);

// Colour values (0x00BBGGRR) of the colouring.
inline constexpr quint32 kNeutralToneColour = 0x808080; // grey
// Colour of tone 1-4 (red, blue, black, green); the neutral grey for any
// other value.
quint32 toneColour(int tone);

// The syllable around 0-based position p of text: from just after the
// nearest blank (U+0020) before p (0 when none) to just after the nearest
// blank after p, so the syllable keeps its trailing blank (the end of the
// text when none). Only the blank delimits; [start, end) with start <= p.
struct TextRange {
    int start = 0;
    int end = 0;
    bool operator==(const TextRange &) const = default;
};
TextRange syllableRange(const QString &text, int p);

// One coloured syllable: its range and the tone that colours it, which is
// the tone of the last tone character in it (each later one recolours the
// whole syllable); lastTonePos is that character's 0-based position.
struct ToneSyllable {
    TextRange range;
    int tone = 0;
    int lastTonePos = 0;
    bool operator==(const ToneSyllable &) const = default;
};
// The syllables of text that carry a tone, in order. Whatever no syllable
// covers (syllables without a tone, extra blanks) keeps the neutral colour.
QList<ToneSyllable> toneSyllables(const QString &text);

} // namespace korvana
