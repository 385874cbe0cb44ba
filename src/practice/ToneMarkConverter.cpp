#include "practice/ToneMarkConverter.h"

namespace korvana {

namespace {

// Trims as the program trims everywhere: blanks and control characters
// (everything up to U+0020), nothing else.
QString trimmed(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

// Marked forms of a, e, i, o, u and u-umlaut for tones 1 to 4, lower case and
// capital. Third tones of a, i, o, u take the breve; u-umlaut takes its own
// caron forms.
constexpr char16_t MarkedVowels[6][4] = {
    {0x0101, 0x00E1, 0x0103, 0x00E0}, // a
    {0x0113, 0x00E9, 0x011B, 0x00E8}, // e
    {0x012B, 0x00ED, 0x012D, 0x00EC}, // i
    {0x014D, 0x00F3, 0x014F, 0x00F2}, // o
    {0x016B, 0x00FA, 0x016D, 0x00F9}, // u
    {0x01D6, 0x01D8, 0x01DA, 0x01DC}, // u-umlaut
};
constexpr char16_t MarkedCapitals[6][4] = {
    {0x0100, 0x00C1, 0x0102, 0x00C0}, // A
    {0x0112, 0x00C9, 0x011A, 0x00C8}, // E
    {0x012A, 0x00CD, 0x012C, 0x00CC}, // I
    {0x014C, 0x00D3, 0x014E, 0x00D2}, // O
    {0x016A, 0x00DA, 0x016C, 0x00D9}, // U
    {0x01D5, 0x01D7, 0x01D9, 0x01DB}, // U-umlaut
};

constexpr char16_t UUmlaut = 0x00FC;
constexpr char16_t CapitalUUmlaut = 0x00DC;

// Index of a markable vowel in the tables above, whatever its case; -1 for
// anything else.
int vowelIndex(QChar c)
{
    switch (c.unicode()) {
    case u'a':
    case u'A':
        return 0;
    case u'e':
    case u'E':
        return 1;
    case u'i':
    case u'I':
        return 2;
    case u'o':
    case u'O':
        return 3;
    case u'u':
    case u'U':
        return 4;
    case UUmlaut:
    case CapitalUUmlaut:
        return 5;
    default:
        return -1;
    }
}

bool isCapital(QChar c)
{
    return (c.unicode() >= u'A' && c.unicode() <= u'Z') || c.unicode() == CapitalUUmlaut;
}

// The dictionary writes u-umlaut as "u:" and keyboards as "v"; both read as
// the letter itself, so that it can carry its mark.
QString spellUUmlaut(QString t)
{
    t.replace(QStringLiteral("u:"), QString(QChar(UUmlaut)));
    t.replace(QStringLiteral("U:"), QString(QChar(CapitalUUmlaut)));
    t.replace(u'v', QChar(UUmlaut));
    t.replace(u'V', QChar(CapitalUUmlaut));
    return t;
}

} // namespace

QString toneMarkSyllable(const QString &token)
{
    QString t = trimmed(token);
    if (t.size() <= 1)
        return {};
    const QChar last = t.back();
    if (last < u'1' || last > u'5')
        return t + QLatin1Char(' ');
    const int tone = last.unicode() - u'0';
    t.chop(1);
    t = spellUUmlaut(t);

    // The vowel to mark is chosen case-blind: proper nouns begin with a
    // capital ("Ao4 men2").
    qsizetype pos = -1;
    if (const qsizetype a = t.indexOf(u'a', 0, Qt::CaseInsensitive); a >= 0)
        pos = a;
    if (const qsizetype e = t.indexOf(u'e', 0, Qt::CaseInsensitive); e >= 0)
        pos = e;
    if (const qsizetype ou = t.indexOf(u"ou", 0, Qt::CaseInsensitive); ou >= 0)
        pos = ou;
    if (pos < 0) {
        for (qsizetype i = t.size() - 1; i >= 0; --i) {
            if (vowelIndex(t.at(i)) >= 0) {
                pos = i;
                break;
            }
        }
    }

    if (pos >= 0 && tone <= 4) {
        const QChar c = t.at(pos);
        const int v = vowelIndex(c);
        if (v >= 0)
            t[pos] = QChar(isCapital(c) ? MarkedCapitals[v][tone - 1] : MarkedVowels[v][tone - 1]);
    }
    return t + QLatin1Char(' ');
}

QString pinyinNumbersIntoToneMarks(const QString &text)
{
    QString s = trimmed(text);
    QString result;
    qsizetype from = 0;
    for (qsizetype blank = s.indexOf(u' '); blank >= 0; blank = s.indexOf(u' ', from)) {
        result += toneMarkSyllable(s.mid(from, blank - from + 1));
        from = blank + 1;
    }
    result += toneMarkSyllable(s.mid(from));
    return trimmed(result);
}

} // namespace korvana
