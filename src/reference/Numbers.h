#pragma once
// Chinese numerals for the numbers drill: the numeral text of a whole number
// from 0 to 9999, the line of each numeral character in the stored pinyin of
// the numerals, and the range the drill draws its numbers from.
#include <QChar>
#include <QString>
#include <functional>

namespace korvana {

// The highest number the drill ever shows; the numeral text is written only
// up to it (十, 百 and 千, never 万).
inline constexpr int NumeralMaximum = 9999;

// The numeral character of index: 0..9 the digits (〇 for 0), 10 十, 11 百,
// 12 千, 13 万. A null character outside 0..13.
QChar numeralChar(int index);

// The numeral text of number as the drill shows it: 10 十, 15 十五,
// 105 一百〇五, 1010 一千〇一十. Empty for a number outside 0..9999.
QString chineseNumeral(int number);

// The line (1..14) of a numeral character in the stored pinyin of the
// numerals, whose order is 一 二 三 四 五 六 七 八 九 十 〇 百 千 万; 0 for any
// other character.
int numeralPinyinLine(QChar c);

// The syllables of a numeral text, each followed by one blank, in the same
// order as the pinyin pane shows them ("一百〇五" gives "yī bǎi líng wǔ ").
QString numeralPinyin(const QString &numeralText);

// The range of the drill: from inclusive, to exclusive, except that a range
// whose bounds meet gives from every time.
struct NumberRange {
    int from = 0;
    int to = 0;
    bool operator==(const NumberRange &) const = default;
};

enum class NumberPreset { Hundred, Thousand, TenThousand, Custom };

// The range the dialog's choice gives. A custom range reads its two texts by
// the program's whole-number rule; text that is not a number never fails:
// a bad "From" gives 0 and a bad "To" from + 100. The bounds are then cut to
// 0..9999 (both included), and a from past the top gives the widest range.
NumberRange numberRange(NumberPreset preset, const QString &fromText = {}, const QString &toText = {});

// A number of the range: from plus a draw in [0, to - from) by random, which
// gets the count of values; from when the bounds meet.
int numberInRange(const NumberRange &range, const std::function<int(int)> &random);

} // namespace korvana
