// The tone tables of the pinyin pane and the syllables its colouring finds.
#include "practice/ToneColours.h"

#include <QRandomGenerator>
#include <QtTest>

#include <vector>

using namespace korvana;

namespace {

// The colouring as the pane's loop describes it: everything neutral, then
// for every tone character in order its whole syllable in that tone's colour.
// The fast path must leave exactly this behind.
std::vector<quint32> colourPerCharacter(const QString &text)
{
    std::vector<quint32> colours(size_t(text.size()), kNeutralToneColour);
    for (int i = 0; i < text.size(); ++i) {
        if (const int tone = pinyinTone(text[i])) {
            const TextRange r = syllableRange(text, i);
            for (int j = r.start; j < r.end; ++j)
                colours[size_t(j)] = toneColour(tone);
        }
    }
    return colours;
}

std::vector<quint32> colourFromSyllables(const QString &text)
{
    std::vector<quint32> colours(size_t(text.size()), kNeutralToneColour);
    for (const ToneSyllable &s : toneSyllables(text))
        for (int j = s.range.start; j < s.range.end; ++j)
            colours[size_t(j)] = toneColour(s.tone);
    return colours;
}

} // namespace

class TestToneColours : public QObject {
    Q_OBJECT

private slots:
    void toneVowelsOfTheLatinPass()
    {
        const char16_t vowels[] = {0x0101, 0x00E1, 0x0103, 0x00E0, 0x0113, 0x00E9, 0x011B, 0x00E8, 0x012B, 0x00ED,
                                   0x01D0, 0x00EC, 0x014D, 0x00F3, 0x01D2, 0x00F2, 0x016B, 0x00FA, 0x01D4, 0x00F9,
                                   0x01D6, 0x01D8, 0x01DA, 0x01DC,
                                   // the other form of each third tone: hǎo must not mix fonts
                                   0x01CE, 0x012D, 0x014F, 0x016D};
        for (char16_t v : vowels)
            QVERIFY2(isPinyinToneVowel(QChar(v)), qPrintable(QString::number(v, 16)));
        // Plain letters and the bare umlaut are not tone vowels.
        QVERIFY(!isPinyinToneVowel(QChar(u'a')));
        QVERIFY(!isPinyinToneVowel(QChar(0x00FC)));
    }

    void latinFontChoice()
    {
        const QString arial = QStringLiteral("Arial");
        const QString design = QString::fromUtf16(kPinyinDesignFont);
        QVERIFY(takesLatinFont(QChar(u'n'), arial));
        QVERIFY(takesLatinFont(QChar(u'>'), arial));
        QVERIFY(takesLatinFont(QChar(0x7F), arial));
        QVERIFY(takesLatinFont(QChar(0x0103), arial));
        QVERIFY(!takesLatinFont(QChar(0x0080), arial));
        QVERIFY(takesLatinFont(QChar(0x01CE), arial));
        QVERIFY(!takesLatinFont(QChar(0x5B57), arial)); // a Chinese character
        QVERIFY(!takesLatinFont(QChar(u'n'), design));
        QVERIFY(!takesLatinFont(QChar(0x0103), design));
    }

    void toneTable_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("tone");
        // The Unicode letters, then the old pinyin font's code units.
        const QList<QList<int>> tones = {{0x0101, 0x0113, 0x012B, 0x014D, 0x016B, 0x82, 0x86, 0x8A, 0x8E, 0x92, 0x96},
                                         {0x00E1, 0x00E9, 0x00ED, 0x00F3, 0x00FA, 0x87, 0x8B, 0x8F, 0x93, 0x97, 0x9B},
                                         {0x01CE, 0x011B, 0x01D0, 0x01D2, 0x01D4, 0x5A, 0x84, 0x88, 0x8C, 0x90, 0x94,
                                          0x9C,
                                          // breve third tones of older lessons and the converter
                                          0x0103, 0x012D, 0x014F, 0x016D, 0x0102, 0x012C, 0x014E, 0x016C},
                                         {0x00E0, 0x00E8, 0x00EC, 0x00F2, 0x00F9, 0x85, 0x89, 0x8D, 0x91, 0x95, 0x99}};
        for (int t = 0; t < 4; ++t)
            for (int code : tones[t])
                QTest::addRow("%04x", code) << code << t + 1;
        for (int code : {0x01D6, 0x01D8, 0x01DA, 0x01DC, 0x83, 0x98, 0x9A, int('z'), int('a'), 0x00FC, 0x20})
            QTest::addRow("%04x none", code) << code << 0;
    }
    void toneTable()
    {
        QFETCH(int, code);
        QFETCH(int, tone);
        QCOMPARE(pinyinTone(QChar(char16_t(code))), tone);
    }

    void syllableAroundAPosition()
    {
        const QString text = QStringLiteral("n\u01D0 h\u01CEo");
        QCOMPARE(syllableRange(text, 1), (TextRange{0, 3})); // keeps its trailing blank
        QCOMPARE(syllableRange(text, 4), (TextRange{3, 6})); // runs to the end
        QCOMPARE(syllableRange(QStringLiteral("n\u01D0h\u01CEo"), 3), (TextRange{0, 5}));
        // Only the blank delimits: line ends, tabs and punctuation do not.
        QCOMPARE(syllableRange(QStringLiteral("a,b\tc\r\nd e"), 2), (TextRange{0, 9}));
        // Two blanks: the second one belongs to no syllable before it.
        QCOMPARE(syllableRange(QStringLiteral("ma  mo"), 0), (TextRange{0, 3}));
        QCOMPARE(syllableRange(QStringLiteral("ma  mo"), 4), (TextRange{4, 6}));
        QCOMPARE(syllableRange(QString(), 0), (TextRange{0, 0}));
    }

    void syllablesThatCarryATone()
    {
        // n-i3 h-a3-o: both black, the first with its blank.
        QCOMPARE(toneSyllables(QStringLiteral("n\u01D0 h\u01CEo")),
                 (QList<ToneSyllable>{{{0, 3}, 3, 1}, {{3, 6}, 3, 4}}));
        // ma1 ma2 without a blank: one unit in the colour of the last mark.
        QCOMPARE(toneSyllables(QStringLiteral("m\u0101m\u00E1")), (QList<ToneSyllable>{{{0, 4}, 2, 3}}));
        // No mark, u-umlaut with a mark: nothing coloured.
        QVERIFY(toneSyllables(QStringLiteral("de l\u01DA")).isEmpty());
        QCOMPARE(toneSyllables(QStringLiteral("  d\u00E0  ")), (QList<ToneSyllable>{{{2, 5}, 4, 3}}));
        // Red, blue, black and green (0x00BBGGRR); anything else neutral.
        QCOMPARE((QList<quint32>{toneColour(1), toneColour(2), toneColour(3), toneColour(4), toneColour(0)}),
                 (QList<quint32>{0x0000FF, 0xFF0000, 0x000000, 0x008000, kNeutralToneColour}));
    }

    // The one-pass syllable list colours every character as the per-character
    // loop does, whatever the mix of blanks, marks and other characters.
    void syllablesAgreeWithThePerCharacterLoop()
    {
        const char16_t alphabet[] = {u' ',   u' ',   u'a',   u'n',   u'Z',   u'\r', u'\n', 0x0101,
                                     0x00E1, 0x01CE, 0x00E0, 0x0103, 0x01DA, 0x8E,  0x9B,  0x83};
        QRandomGenerator rng(20240611);
        for (int round = 0; round < 2000; ++round) {
            QString text;
            const int length = int(rng.bounded(12));
            for (int i = 0; i < length; ++i)
                text += QChar(alphabet[rng.bounded(int(std::size(alphabet)))]);
            QVERIFY2(colourFromSyllables(text) == colourPerCharacter(text), qPrintable(text));
            for (const ToneSyllable &s : toneSyllables(text)) {
                QCOMPARE(pinyinTone(text[s.lastTonePos]), s.tone);
                QVERIFY(s.range.start <= s.lastTonePos && s.lastTonePos < s.range.end);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestToneColours)
#include "tst_tonecolours.moc"
