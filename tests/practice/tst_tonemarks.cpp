// Pinyin with tone digits into pinyin with tone marks.
#include "practice/ToneMarkConverter.h"
#include "reference/Dictionary.h"

#include <QtTest>

using korvana::pinyinNumbersIntoToneMarks;
using korvana::toneMarkSyllable;

class TestToneMarks : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void everyVowelInEveryTone();
    void syllableEndsWithOneBlank();
    void onlyTheAsciiSpaceSeparates();
    void controlCharactersAreTrimmed();
    void entriesOfTheGeneratedDictionary();
};

void TestToneMarks::lines_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("breve third tones") << "ni3 hao3" << u"n\u012D h\u0103o"_qs;
    QTest::newRow("first and second") << "zhong1 guo2" << u"zh\u014Dng gu\u00F3"_qs;
    QTest::newRow("neutral tone") << "xie4 xie5" << u"xi\u00E8 xie"_qs;
    QTest::newRow("ou marks the o") << "shuo1" << u"shu\u014D"_qs;
    QTest::newRow("last vowel ui") << "gui4" << u"gu\u00EC"_qs;
    QTest::newRow("last vowel iu") << "liu2" << u"li\u00FA"_qs;
    QTest::newRow("initial a") << "ai4" << u"\u00E0i"_qs;
    QTest::newRow("initial ou") << "ou1" << u"\u014Du"_qs;
    QTest::newRow("initial e") << "er2" << u"\u00E9r"_qs;
    QTest::newRow("a beats later o") << "hao3" << u"h\u0103o"_qs;
    QTest::newRow("e beats earlier i") << "xie2" << u"xi\u00E9"_qs;
    QTest::newRow("e beats later i") << "mei2" << u"m\u00E9i"_qs;
    QTest::newRow("ou beats e") << "eou4" << u"e\u00F2u"_qs;
    QTest::newRow("no vowel r") << "r5"
                                << "r";
    QTest::newRow("no vowel m") << "m2"
                                << "m";
    QTest::newRow("u umlaut after a vowel") << u"n\u00FCe4"_qs << u"n\u00FC\u00E8"_qs;
    QTest::newRow("no tone digit") << "ni6 hao3" << u"ni6 h\u0103o"_qs;
    QTest::newRow("syllable without digit") << "ma ni3" << u"ma n\u012D"_qs;
    QTest::newRow("digit 0 is no tone") << "ma0"
                                        << "ma0";
    QTest::newRow("one-letter piece vanishes") << "ni3 a hao3" << u"n\u012D h\u0103o"_qs;
    QTest::newRow("single letter alone") << "a"
                                         << "";
    QTest::newRow("digit alone") << "3"
                                 << "";
    QTest::newRow("capital initial") << "Zhong1 guo2" << u"Zh\u014Dng gu\u00F3"_qs;
    QTest::newRow("spaces collapse") << "  ni3    hao3  " << u"n\u012D h\u0103o"_qs;
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "    "
                           << "";
    // Capitals: the vowel is chosen case-blind and marked in its capital form.
    QTest::newRow("capital a before o") << "Ao4 men2" << u"\u00C0o m\u00E9n"_qs;
    QTest::newRow("capital ou") << "Ou1 zhou1" << u"\u014Cu zh\u014Du"_qs;
    QTest::newRow("capital a, first tone") << "An1 hui1" << u"\u0100n hu\u012B"_qs;
    QTest::newRow("capital e") << "E2 guo2" << u"\u00C9 gu\u00F3"_qs;
    QTest::newRow("all capitals") << "ZHONG1" << u"ZH\u014CNG"_qs;
    // u-umlaut, however it is written, takes its own marks.
    QTest::newRow("u umlaut third") << u"n\u00FC3"_qs << u"n\u01DA"_qs;
    QTest::newRow("v as u umlaut") << "lv4" << u"l\u01DC"_qs;
    QTest::newRow("dictionary u colon") << "nu:3" << u"n\u01DA"_qs;
    QTest::newRow("u colon, first and second") << "lu:1 lu:2" << u"l\u01D6 l\u01D8"_qs;
    QTest::newRow("u colon before e") << "lu:e4" << u"l\u00FC\u00E8"_qs;
    QTest::newRow("u umlaut before e") << u"l\u00FCe4"_qs << u"l\u00FC\u00E8"_qs;
    QTest::newRow("capital u colon") << "Lu:3" << u"L\u01DA"_qs;
    QTest::newRow("capital V and U colon") << "LV4 NU:3" << u"L\u01DB N\u01D9"_qs;
    QTest::newRow("neutral u colon") << "lu:5" << u"l\u00FC"_qs;
    QTest::newRow("readings of a record") << "zhong1 zhong4" << u"zh\u014Dng zh\u00F2ng"_qs;
}

void TestToneMarks::lines()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(pinyinNumbersIntoToneMarks(input), expected);
}

void TestToneMarks::everyVowelInEveryTone()
{
    // Third tones take the breve (the caron only on e and u-umlaut); v is u-umlaut.
    const QString vowels = QStringLiteral("aeiouvAEIOUV");
    const QString marked = u"āáăàēéěèīíĭìōóŏòūúŭùǖǘǚǜĀÁĂÀĒÉĚÈĪÍĬÌŌÓŎÒŪÚŬÙǕǗǙǛ"_qs;
    for (int v = 0; v < vowels.size(); ++v)
        for (int tone = 1; tone <= 4; ++tone)
            QCOMPARE(toneMarkSyllable(QStringLiteral("b%1%2").arg(vowels[v]).arg(tone)),
                     QStringLiteral("b%1 ").arg(marked[v * 4 + tone - 1]));
}

void TestToneMarks::syllableEndsWithOneBlank()
{
    QCOMPARE(toneMarkSyllable(" ma1 "), u"m\u0101 "_qs);
    QCOMPARE(toneMarkSyllable("ma"), "ma ");
    QCOMPARE(toneMarkSyllable("a"), QString());
    QCOMPARE(toneMarkSyllable("   "), QString());
    QCOMPARE(toneMarkSyllable(""), QString());
}

void TestToneMarks::onlyTheAsciiSpaceSeparates()
{
    // A tab or an ideographic space does not split syllables: the piece ends
    // in "3" as a whole, so only its own vowel rule applies.
    QCOMPARE(pinyinNumbersIntoToneMarks("ni3\thao3"), u"ni3\th\u0103o"_qs);
    QCOMPARE(pinyinNumbersIntoToneMarks(u"ni3\u3000hao3"_qs), u"ni3\u3000h\u0103o"_qs);
}

void TestToneMarks::controlCharactersAreTrimmed()
{
    QCOMPARE(pinyinNumbersIntoToneMarks("\r\nma3\x01"), u"m\u0103"_qs);
    // U+00A0 is no control character: it stays, and the piece keeps its
    // digit because its last character is not one.
    QCOMPARE(pinyinNumbersIntoToneMarks(u"ma3\u00A0"_qs), u"ma3\u00A0"_qs);
}

void TestToneMarks::entriesOfTheGeneratedDictionary()
{
    const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/dict/cedict_gb.uni");
    if (!QFileInfo::exists(file))
        QSKIP("the build generated no dictionary");
    const QString text = korvana::loadDictionaryText(file);
    korvana::DictionarySearch search;
    const struct {
        const char16_t *chinese;
        const char16_t *pinyin;
    } cases[] = {
        {u"澳门", u"\u00C0o m\u00E9n"}, {u"欧洲", u"\u014Cu zh\u014Du"},
        {u"安徽", u"\u0100n hu\u012B"}, {u"女", u"n\u01DA"},
        {u"绿色", u"l\u01DC s\u00E8"},
    };
    for (const auto &c : cases) {
        QStringList shown;
        for (const QString &entry : search.exactFind(text, QString::fromUtf16(c.chinese), false))
            shown.append(korvana::dictionaryRow(entry, pinyinNumbersIntoToneMarks).pinyin);
        QVERIFY2(shown.contains(QString::fromUtf16(c.pinyin)), qPrintable(shown.join(u" | ")));
    }
}

QTEST_GUILESS_MAIN(TestToneMarks)
#include "tst_tonemarks.moc"
