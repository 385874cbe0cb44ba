#include "reference/Numbers.h"

#include "platform/ui/Integers.h"

namespace korvana {

namespace {

constexpr char16_t NumeralChars[14] = {
    u'\u3007', u'\u4E00', u'\u4E8C', u'\u4E09', u'\u56DB', u'\u4E94', u'\u516D',
    u'\u4E03', u'\u516B', u'\u4E5D', u'\u5341', u'\u767E', u'\u5343', u'\u4E07',
};
constexpr int Ten = 10, Hundred = 11, Thousand = 12;

// The stored pinyin's order: the digits 1..9, then 十, 〇, 百, 千, 万.
constexpr char16_t PinyinOrder[14] = {
    u'\u4E00', u'\u4E8C', u'\u4E09', u'\u56DB', u'\u4E94', u'\u516D', u'\u4E03',
    u'\u516B', u'\u4E5D', u'\u5341', u'\u3007', u'\u767E', u'\u5343', u'\u4E07',
};
const char16_t *const Syllables[14] = {
    u"y\u012B", u"\u00E8r",  u"s\u0101n", u"s\u00EC",   u"w\u01D4",  u"li\u00F9",  u"q\u012B",
    u"b\u0101", u"ji\u01D4", u"sh\u00ED", u"l\u00EDng", u"b\u01CEi", u"qi\u0101n", u"w\u00E0n",
};

QChar digit(int d)
{
    return QChar(NumeralChars[d]);
}

// Tens and units after a hundred or a thousand: the tens always carry their
// digit (一十), unlike a number below 100.
void appendTensAndUnits(QString &out, int tens, int units)
{
    out += digit(tens);
    out += QChar(NumeralChars[Ten]);
    if (units != 0)
        out += digit(units);
}

} // namespace

QChar numeralChar(int index)
{
    if (index < 0 || index > 13)
        return {};
    return QChar(NumeralChars[index]);
}

QString chineseNumeral(int number)
{
    if (number < 0 || number > NumeralMaximum)
        return {};
    QString out;
    if (number < 10) {
        out += digit(number);
    } else if (number < 100) {
        const int d1 = number / 10, d2 = number % 10;
        if (d1 != 1)
            out += digit(d1);
        out += QChar(NumeralChars[Ten]);
        if (d2 != 0)
            out += digit(d2);
    } else if (number < 1000) {
        const int d1 = number / 100, d2 = number / 10 % 10, d3 = number % 10;
        out += digit(d1);
        out += QChar(NumeralChars[Hundred]);
        if (d2 == 0) {
            if (d3 != 0) {
                out += digit(0);
                out += digit(d3);
            }
        } else {
            appendTensAndUnits(out, d2, d3);
        }
    } else {
        const int d1 = number / 1000, d2 = number / 100 % 10, d3 = number / 10 % 10, d4 = number % 10;
        out += digit(d1);
        out += QChar(NumeralChars[Thousand]);
        if (d2 != 0) {
            out += digit(d2);
            out += QChar(NumeralChars[Hundred]);
        }
        if (d3 == 0) {
            // One 〇 stands for however many zeros come before the units.
            if (d4 != 0) {
                out += digit(0);
                out += digit(d4);
            }
        } else {
            if (d2 == 0)
                out += digit(0);
            appendTensAndUnits(out, d3, d4);
        }
    }
    return out;
}

int numeralPinyinLine(QChar c)
{
    for (int i = 0; i < 14; ++i) {
        if (c.unicode() == PinyinOrder[i])
            return i + 1;
    }
    return 0;
}

QString numeralPinyin(const QString &numeralText)
{
    QString out;
    for (const QChar c : numeralText) {
        if (const int line = numeralPinyinLine(c)) {
            out += QString::fromUtf16(Syllables[line - 1]);
            out += QLatin1Char(' ');
        }
    }
    return out;
}

NumberRange numberRange(NumberPreset preset, const QString &fromText, const QString &toText)
{
    // The presets' upper bounds are one past the numbers their captions
    // name, as the drill's range is exclusive at the top.
    NumberRange r;
    switch (preset) {
    case NumberPreset::Hundred:
        r.to = 101;
        break;
    case NumberPreset::Thousand:
        r.to = 1001;
        break;
    case NumberPreset::TenThousand:
        r.to = 10001;
        break;
    case NumberPreset::Custom: {
        r.from = parseInteger(fromText).value_or(0);
        const std::optional<int> to = parseInteger(toText);
        // To is inclusive in the dialog. Both sums are taken in 64 bits so
        // that a bound near the top of the integer range cannot wrap round.
        const qint64 upper = (to && *to > r.from) ? qint64(*to) + 1 : qint64(r.from) + 100;
        r.to = int(qMin<qint64>(upper, NumeralMaximum + 1));
        break;
    }
    }
    // Cut to the numerals the drill can write, both ends included: the top
    // is exclusive, so 9999 itself stays drawable.
    if (r.from < 0)
        r.from = 0;
    if (r.to > NumeralMaximum + 1)
        r.to = NumeralMaximum + 1;
    if (r.from >= r.to)
        r = {0, NumeralMaximum + 1};
    return r;
}

int numberInRange(const NumberRange &range, const std::function<int(int)> &random)
{
    if (range.to <= range.from)
        return range.from;
    return range.from + random(range.to - range.from);
}

} // namespace korvana
