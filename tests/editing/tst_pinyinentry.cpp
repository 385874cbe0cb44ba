// The parts of pinyin and input-language entry that need no window: the tone
// vowel table and the building of the keyboard-layout lists.
#include "editing/PinyinEntry.h"
#include "support/FakeKeyboardLayouts.h"

#include <QtTest>

using namespace korvana;

class TestPinyinEntry : public QObject {
    Q_OBJECT

    static QStringList names(const QList<KeyboardLayoutItem> &items)
    {
        QStringList n;
        for (const KeyboardLayoutItem &i : items)
            n << i.name;
        return n;
    }

private slots:
    void toneVowels()
    {
        // Every vowel and tone lands where the panel's columns and rows say.
        const char16_t expected[6][4] = {{0x0101, 0x00E1, 0x01CE, 0x00E0}, {0x0113, 0x00E9, 0x011B, 0x00E8},
                                         {0x012B, 0x00ED, 0x01D0, 0x00EC}, {0x014D, 0x00F3, 0x01D2, 0x00F2},
                                         {0x016B, 0x00FA, 0x01D4, 0x00F9}, {0x01D6, 0x01D8, 0x01DA, 0x01DC}};
        for (int vowel = 0; vowel < 6; ++vowel)
            for (int tone = 1; tone <= 4; ++tone)
                QCOMPARE(toneVowel(toneVowelIndex(vowel, tone)), QChar(expected[vowel][tone - 1]));
        QCOMPARE(toneVowel(3), QChar(0x01CE)); // a with caron, not the breve
        QVERIFY(toneVowel(0).isNull());
        QVERIFY(toneVowel(25).isNull());

        // The images of a and e are numbered in their own order; no image
        // has a name outside 1-24.
        QStringList names;
        for (int i = 0; i <= 25; ++i)
            names << toneImageName(i).remove(QStringLiteral("toneImage"));
        QCOMPARE(names.join(','), QStringLiteral(",1,6,7,8,2,3,4,5,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,"));
    }

    void installedLayoutsAreCappedAndCutAtNul()
    {
        FakeKeyboardLayouts fake;
        QList<QPair<LayoutHandle, QString>> many;
        for (int i = 1; i <= 45; ++i)
            many.append({LayoutHandle(100 + i), QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0'))});
        many[0].second = QStringLiteral("ENU") + QChar(0) + QStringLiteral("junk");
        fake.setLayouts(many);
        const QList<KeyboardLayoutItem> items = installedKeyboardLayouts(fake);
        QCOMPARE(fake.lastMaxCount(), 41);
        QCOMPARE(items.size(), 41);
        QCOMPARE(items.first().name, QStringLiteral("ENU"));
        QCOMPARE(items.last().handle, LayoutHandle(141));
        // Only the first 41 in the platform's order are considered.
        QVERIFY(!names(keyboardLayoutChoices(items)).contains(QStringLiteral("L42")));
    }

    void choicesSortedOnePerNameWithoutEmpties()
    {
        const QList<KeyboardLayoutItem> installed = {
            {"DEU", 1}, {"chs", 2}, {"", 3}, {"ENU", 4}, {"CHS", 5}, {"deu", 6}, {"", 7}, {"Csy", 8},
        };
        const QList<KeyboardLayoutItem> choices = keyboardLayoutChoices(installed);
        QCOMPARE(names(choices), (QStringList{"chs", "Csy", "DEU", "ENU"}));
        // Of two layouts with one name, the one the platform listed first.
        QCOMPARE(choices[0].handle, LayoutHandle(2));
        QCOMPARE(choices[2].handle, LayoutHandle(1));
        QVERIFY(keyboardLayoutChoices({{"", 1}}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPinyinEntry)
#include "tst_pinyinentry.moc"
