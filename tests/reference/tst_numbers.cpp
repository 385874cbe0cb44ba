// Chinese numerals of the numbers drill, the numerals' pinyin order and the
// drill's range.
#include "reference/Numbers.h"

#include <QtTest>
#include <climits>

using namespace korvana;

namespace {
// An independent reading of a numeral text back into its value: a digit
// waits for the unit after it; 十 alone counts as 一十; 〇 only fills a gap.
int valueOf(const QString &numeral, bool *ok)
{
    const QString digits = QStringLiteral("〇一二三四五六七八九");
    int total = 0, pending = -1;
    *ok = !numeral.isEmpty();
    for (const QChar c : numeral) {
        const int d = int(digits.indexOf(c));
        if (d > 0) {
            if (pending >= 0)
                *ok = false; // two digits in a row
            pending = d;
            continue;
        }
        if (d == 0) {
            if (numeral.size() > 1 && pending >= 0)
                *ok = false; // 〇 right after a digit
            continue;
        }
        const int unit = c == u'十' ? 10 : c == u'百' ? 100 : c == u'千' ? 1000 : 0;
        if (unit == 0) {
            *ok = false;
            continue;
        }
        if (pending < 0 && unit == 10 && total != 0)
            *ok = false; // after 百 or 千 the tens carry their digit (一十)
        total += (pending < 0 ? (unit == 10 ? 1 : 0) : pending) * unit;
        if (pending < 0 && unit != 10)
            *ok = false; // 百 and 千 always carry their digit
        pending = -1;
    }
    if (pending > 0)
        total += pending;
    return total;
}
} // namespace

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void numeralCharacters()
    {
        const char16_t expected[] = {0x3007, 0x4E00, 0x4E8C, 0x4E09, 0x56DB, 0x4E94, 0x516D,
                                     0x4E03, 0x516B, 0x4E5D, 0x5341, 0x767E, 0x5343, 0x4E07};
        for (int i = 0; i < 14; ++i)
            QCOMPARE(numeralChar(i).unicode(), expected[i]);
        QVERIFY(numeralChar(-1).isNull());
        QVERIFY(numeralChar(14).isNull());
    }

    void numeralText_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("numeral");
        QTest::addColumn<QString>("pinyin");
        const struct {
            int n;
            const char *chars;
            const char *pinyin;
        } rows[] = {
            {0, "〇", "líng"},
            {7, "七", "qī"},
            {10, "十", "shí"},
            {15, "十五", "shí wǔ"},
            {40, "四十", "sì shí"},
            {100, "一百", "yī bǎi"},
            {105, "一百〇五", "yī bǎi líng wǔ"},
            {110, "一百一十", "yī bǎi yī shí"},
            {999, "九百九十九", "jiǔ bǎi jiǔ shí jiǔ"},
            {1000, "一千", "yī qiān"},
            {1005, "一千〇五", "yī qiān líng wǔ"},
            {1010, "一千〇一十", "yī qiān líng yī shí"},
            {1105, "一千一百〇五", "yī qiān yī bǎi líng wǔ"},
            {2345, "二千三百四十五", "èr qiān sān bǎi sì shí wǔ"},
            // One 〇 for the gap, whether one or two digits are missing.
            {3050, "三千〇五十", "sān qiān líng wǔ shí"},
            {3005, "三千〇五", "sān qiān líng wǔ"},
            {3210, "三千二百一十", "sān qiān èr bǎi yī shí"},
            {9999, "九千九百九十九", "jiǔ qiān jiǔ bǎi jiǔ shí jiǔ"},
            {68, "六十八", "liù shí bā"},
        };
        for (const auto &r : rows)
            QTest::addRow("%d", r.n) << r.n << QString::fromUtf8(r.chars) << QString::fromUtf8(r.pinyin);
    }

    void numeralText()
    {
        QFETCH(int, number);
        QFETCH(QString, numeral);
        QFETCH(QString, pinyin);
        QCOMPARE(chineseNumeral(number), numeral);
        // Each syllable is followed by one blank, the last one too.
        QCOMPARE(numeralPinyin(numeral), pinyin + QLatin1Char(' '));
    }

    void everyNumberReadsBackToItself()
    {
        for (int n = 0; n <= NumeralMaximum; ++n) {
            const QString text = chineseNumeral(n);
            bool ok = false;
            const int value = valueOf(text, &ok);
            if (!ok || value != n)
                QFAIL(qPrintable(QStringLiteral("%1 gives %2").arg(n).arg(text)));
            QVERIFY(!text.contains(u'万'));
        }
        QVERIFY(chineseNumeral(-1).isEmpty());
        QVERIFY(chineseNumeral(NumeralMaximum + 1).isEmpty());
    }

    void pinyinLinesFollowTheStoredOrder()
    {
        const QString order = QStringLiteral("一二三四五六七八九十〇百千万");
        for (int i = 0; i < order.size(); ++i)
            QCOMPARE(numeralPinyinLine(order[i]), i + 1);
        QCOMPARE(numeralPinyinLine(u'a'), 0);
        QCOMPARE(numeralPinyinLine(u'两'), 0);
        QCOMPARE(numeralPinyin(QStringLiteral("万x")), QStringLiteral("wàn "));
    }

    void presetRangesAreOnePastTheirCaption()
    {
        QCOMPARE(numberRange(NumberPreset::Hundred), (NumberRange{0, 101}));
        QCOMPARE(numberRange(NumberPreset::Thousand), (NumberRange{0, 1001}));
        // Both ends are drawn: 0 and 9999, the top numeral the drill writes.
        QCOMPARE(numberRange(NumberPreset::TenThousand), (NumberRange{0, 10000}));
        // A preset ignores the custom texts.
        QCOMPARE(numberRange(NumberPreset::Hundred, QStringLiteral("50"), QStringLiteral("60")), (NumberRange{0, 101}));
    }

    void customRange_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("plain") << "20"
                               << "30" << 20 << 31;
        QTest::newRow("equal bounds") << "5"
                                      << "5" << 5 << 105;
        QTest::newRow("To below From") << "50"
                                       << "10" << 50 << 150;
        QTest::newRow("empty From") << ""
                                    << "50" << 0 << 51;
        QTest::newRow("negative From, empty To") << "-20"
                                                 << "" << 0 << 80;
        QTest::newRow("From above the top") << "12000"
                                            << "" << 0 << 10000;
        QTest::newRow("From just above the top") << "10000"
                                                 << "20000" << 0 << 10000;
        QTest::newRow("To above the top") << "9000"
                                          << "20000" << 9000 << 10000;
        QTest::newRow("From at the top") << "9999"
                                         << "" << 9999 << 10000;
        QTest::newRow("hexadecimal") << "$10"
                                     << "0x20" << 16 << 33;
        QTest::newRow("blanks and sign") << "  +7"
                                         << " 8" << 7 << 9;
        QTest::newRow("not numbers") << "abc"
                                     << "1e3" << 0 << 100;
        QTest::newRow("trailing junk") << "7x"
                                       << "12" << 0 << 13;
        QTest::newRow("out of 32 bits") << "99999999999"
                                        << "" << 0 << 100;
        // Sums near the top of the integer range must not wrap round.
        QTest::newRow("To at INT_MAX") << "5" << QString::number(INT_MAX) << 5 << 10000;
        QTest::newRow("From at INT_MAX") << QString::number(INT_MAX) << "" << 0 << 10000;
    }

    void customRange()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, low);
        QFETCH(int, high);
        QCOMPARE(numberRange(NumberPreset::Custom, from, to), (NumberRange{low, high}));
    }

    void drawsStayInsideTheRange()
    {
        QList<int> asked;
        auto lowest = [&asked](int n) {
            asked << n;
            return 0;
        };
        auto highest = [&asked](int n) {
            asked << n;
            return n - 1;
        };
        const NumberRange hundred = numberRange(NumberPreset::Hundred);
        QCOMPARE(numberInRange(hundred, lowest), 0);
        QCOMPARE(numberInRange(hundred, highest), 100);
        QCOMPARE(numberInRange(numberRange(NumberPreset::TenThousand), highest), 9999); // "1-10 000"
        QCOMPARE(numberInRange({20, 31}, highest), 30);
        QCOMPARE(asked, (QList<int>{101, 101, 10000, 11}));

        // Bounds that meet give From without a draw.
        asked.clear();
        QCOMPARE(numberInRange({9999, 9999}, highest), 9999);
        QCOMPARE(numberInRange({7, 3}, highest), 7);
        QVERIFY(asked.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
