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

// Marked forms of a, e, i, o, u for tones 1 to 4.
constexpr char16_t MarkedVowels[5][4] = {
    {0x0101, 0x00E1, 0x0103, 0x00E0}, // a
    {0x0113, 0x00E9, 0x011B, 0x00E8}, // e
    {0x012B, 0x00ED, 0x012D, 0x00EC}, // i
    {0x014D, 0x00F3, 0x014F, 0x00F2}, // o
    {0x016B, 0x00FA, 0x016D, 0x00F9}, // u
};

int plainVowelIndex(QChar c)
{
    switch (c.unicode()) {
    case u'a': return 0;
    case u'e': return 1;
    case u'i': return 2;
    case u'o': return 3;
    case u'u': return 4;
    default: return -1;
    }
}

bool canCarryMark(QChar c)
{
    return plainVowelIndex(c) >= 0 || c.unicode() == 0x00FC; // ü
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

    qsizetype pos = -1;
    if (const qsizetype a = t.indexOf(u'a'); a >= 0)
        pos = a;
    if (const qsizetype e = t.indexOf(u'e'); e >= 0)
        pos = e;
    if (const qsizetype ou = t.indexOf(u"ou"); ou >= 0)
        pos = ou;
    if (pos < 0) {
        for (qsizetype i = t.size() - 1; i >= 0; --i) {
            if (canCarryMark(t.at(i))) {
                pos = i;
                break;
            }
        }
    }

    t.chop(1);
    if (pos >= 0 && pos < t.size() && tone <= 4) {
        const int v = plainVowelIndex(t.at(pos));
        if (v >= 0)
            t[pos] = QChar(MarkedVowels[v][tone - 1]);
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
