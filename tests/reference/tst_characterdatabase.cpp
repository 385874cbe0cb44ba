// The character database: loading the stored items, the failure flags, and
// record lookups through the index, on small tables and on the full data
// compiled into the program.
#include "reference/CharacterDatabase.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace korvana;

namespace {

QByteArray rtf(const char *text)
{
    return QByteArray("{\\rtf1\\ansi ") + text + "}";
}

StoredItems makeItems(const QByteArray &unihan, const QByteArray &radicals,
                      const QByteArray &numbers = rtf("y\\u299? \\par"), const QByteArray &pinyin = rtf("\\u257?"))
{
    StoredItems items;
    items.append("Unihan", "Unihan-fin.txt", unihan);
    items.append("Radicals", "radicals.txt", radicals, StoredCompression::Max);
    items.append("Numbers", "numbers.rtf", deflateStoredItem(numbers, 6));
    items.append("Pinyin", "pinyin.rtf", deflateStoredItem(pinyin, 6));
    return items;
}

const QByteArray SmallUnihan =
    "@4E00;;;1.0;YI1 YI2 YI4;1;one; a, an; alone\r\n"
    "@4E2D;;;2.3;ZHONG1 ZHONG4;4;central; center, middle; in the midst of; hit (target); attain\r\n"
    "@5973;;;38.0;N\xC3\x9C"
    "3;3;woman, girl\r\n"
    "@6771;4E1C;;75.4;DONG1;8;east, eastern, eastward\r\n"
    "@20000;;;1.1;HE1;2;the sound made by breathing in\r\n"
    "\r\n";

const QByteArray SmallRadicals = "@1;19968;yi\r\n@2;20008;gun\r\n@120;31992;mi\r\n\r\n";

// What a search of the text for the first "@" + key + ";" gives; the index
// must agree with it for every key.
int searchUnihan(const CharacterDatabase &db, char32_t cp)
{
    return int(db.unihanText().indexOf(QStringLiteral("@%1;").arg(uint(cp), 0, 16).toUpper()));
}

} // namespace

class TestCharacterDatabase : public QObject {
    Q_OBJECT
private slots:
    void loadsTextsAsTheListJoinsThem();
    void recordsByCodePoint();
    void indexAgreesWithTextSearch();
    void radicalsByNumber();
    void failedUnihanLeavesOthersLoaded();
    void failedRadicalsAndPinyin();
    void numbersAreReadAnewEachTime();
    void reloadReplacesEverything();
    void embeddedData();
    void embeddedIndexAgreesWithTextSearch();
};

void TestCharacterDatabase::loadsTextsAsTheListJoinsThem()
{
    CharacterDatabase db;
    QVERIFY(db.readDatabases(makeItems(deflateStoredItem(SmallUnihan, 6), deflateStoredItem(SmallRadicals, 9))));
    QVERIFY(db.unihanLoaded() && db.radicalsLoaded() && db.pinyinLoaded());
    QVERIFY(db.lastError().isEmpty());
    // The stored file ends with an empty line, so the last record keeps its
    // CR LF in the joined text; the UTF-8 inside is decoded as UTF-8.
    QCOMPARE(db.unihanText(), QString::fromUtf8(SmallUnihan).chopped(2));
    QVERIFY(db.unihanText().endsWith("breathing in\r\n"));
    QVERIFY(db.unihanText().contains(u"N\u00DC3"_qs));
    QCOMPARE(db.radicalsText(), QString::fromLatin1(SmallRadicals).chopped(2));
    QCOMPARE(db.pinyinRtf(), rtf("\\u257?"));
}

void TestCharacterDatabase::recordsByCodePoint()
{
    CharacterDatabase db;
    db.readDatabases(makeItems(deflateStoredItem(SmallUnihan, 6), deflateStoredItem(SmallRadicals, 9)));
    QCOMPARE(db.unihanRecord(0x4E2D),
             u"@4E2D;;;2.3;ZHONG1 ZHONG4;4;central; center, middle; in the midst of; hit (target); attain"_qs);
    QCOMPARE(db.unihanRecord(0x6771), u"@6771;4E1C;;75.4;DONG1;8;east, eastern, eastward"_qs);
    QCOMPARE(db.unihanRecord(0x20000), u"@20000;;;1.1;HE1;2;the sound made by breathing in"_qs);
    QCOMPARE(db.unihanRecordStart(0x4E00), 0);
    QCOMPARE(db.unihanRecordStart(0x4E01), -1);
    QVERIFY(db.unihanRecord(0x41).isEmpty());
    // A UTF-16 surrogate is no code point of a record.
    QCOMPARE(db.unihanRecordStart(0xD840), -1);
    QCOMPARE(db.unihanRecordStart(0), -1);
}

void TestCharacterDatabase::indexAgreesWithTextSearch()
{
    // Keys where no record starts: inside a definition, in lower case, with a
    // leading zero, without the ";", and a record repeated later. The index
    // must find exactly what a search of the text for the key finds.
    const QByteArray tricky = "@4E00;;;1.0;YI1;1;see @4E2D; also @4e8c; and @04E8C;\r\n"
                              "@4E2D;;;2.3;ZHONG1;4;central\r\n"
                              "@4E8C;;;7.0;ER4;2;two @5341\r\n"
                              "@5341;;;24.0;SHI2;2;ten\r\n"
                              "@4E00;;;1.0;YI1;1;repeated\r\n"
                              "@0;;;;;;zero\r\n"
                              "\r\n";
    CharacterDatabase db;
    QVERIFY(db.readDatabases(makeItems(deflateStoredItem(tricky, 6), deflateStoredItem(SmallRadicals, 9))));
    for (char32_t cp : {0x4E00u, 0x4E2Du, 0x4E8Cu, 0x5341u, 0x4E8Du, 0x0u, 0x4Eu})
        QCOMPARE(db.unihanRecordStart(cp), searchUnihan(db, cp));
    // The key inside the first record's definition comes first.
    QVERIFY(db.unihanRecordStart(0x4E2D) < db.unihanText().indexOf("\r\n@4E2D"));
    QCOMPARE(db.unihanRecordStart(0x4E00), 0);
}

void TestCharacterDatabase::radicalsByNumber()
{
    CharacterDatabase db;
    db.readDatabases(makeItems(deflateStoredItem(SmallUnihan, 6),
                               deflateStoredItem("@1;19968;yi\r\n@12;20843;ba\r\n@120;31992;mi\r\n\r\n", 9)));
    QCOMPARE(db.radicalRecord(1), u"@1;19968;yi"_qs);
    QCOMPARE(db.radicalRecord(12), u"@12;20843;ba"_qs);
    QCOMPARE(db.radicalRecord(120), u"@120;31992;mi"_qs);
    QVERIFY(db.radicalRecord(2).isEmpty());
    QCOMPARE(db.radicalRecordStart(-1), -1);
    // Taken as written in a radical field: "120" goes through the index, any
    // other form is searched in the text as the key it makes.
    QCOMPARE(db.radicalRecordStart(u"120"), db.radicalsText().indexOf("@120;"));
    QCOMPARE(db.radicalRecordStart(u"012"), -1);
    QCOMPARE(db.radicalRecordStart(u""), -1);
    QCOMPARE(db.radicalRecordStart(u"1;19968"), 0);
    // The last record ends with a line break, so it reads like the others.
    QVERIFY(db.radicalsText().endsWith("@120;31992;mi\r\n"));
}

void TestCharacterDatabase::failedUnihanLeavesOthersLoaded()
{
    CharacterDatabase db;
    QVERIFY(!db.readDatabases(
        makeItems(QByteArray("\x10\x00\x00\x00not zlib at all!", 20), deflateStoredItem(SmallRadicals, 9))));
    QVERIFY(!db.unihanLoaded());
    QVERIFY(!db.tablesLoaded());
    QVERIFY(db.unihanText().isEmpty());
    QCOMPARE(db.unihanRecordStart(0x4E00), -1);
    QVERIFY(db.lastError().contains("corrupt"));
    QVERIFY(db.radicalsLoaded());
    QCOMPARE(db.radicalRecord(2), u"@2;20008;gun"_qs);
    QVERIFY(db.pinyinLoaded());
}

void TestCharacterDatabase::failedRadicalsAndPinyin()
{
    CharacterDatabase db;
    StoredItems items;
    items.append("Unihan", "Unihan-fin.txt", deflateStoredItem(SmallUnihan, 6));
    items.append("Radicals", "radicals.txt", QByteArray("\x00\x00", 2));
    // No "Numbers" or "Pinyin" at all.
    QVERIFY(!db.readDatabases(items));
    QVERIFY(db.unihanLoaded());
    QVERIFY(!db.radicalsLoaded());
    QVERIFY(!db.pinyinLoaded());
    QVERIFY(db.radicalsText().isEmpty());
    QVERIFY(db.pinyinRtf().isEmpty());
    QVERIFY(db.numbersRtf().isEmpty());
    QVERIFY(!db.unihanRecord(0x4E2D).isEmpty());
}

void TestCharacterDatabase::numbersAreReadAnewEachTime()
{
    CharacterDatabase db;
    db.readDatabases(
        makeItems(deflateStoredItem(SmallUnihan, 6), deflateStoredItem(SmallRadicals, 9), rtf("y\\u299? \\par")));
    QCOMPARE(db.numbersRtf(), rtf("y\\u299? \\par"));
    QCOMPARE(db.numbersRtf(), rtf("y\\u299? \\par"));
}

void TestCharacterDatabase::reloadReplacesEverything()
{
    CharacterDatabase db;
    QVERIFY(db.readDatabases(makeItems(deflateStoredItem(SmallUnihan, 6), deflateStoredItem(SmallRadicals, 9))));
    QVERIFY(!db.readDatabases(makeItems(QByteArray("bad"), deflateStoredItem("@7;3;x\r\n", 9))));
    QVERIFY(db.unihanText().isEmpty());
    QCOMPARE(db.unihanRecordStart(0x4E00), -1);
    QCOMPARE(db.radicalRecordStart(1), -1);
    QCOMPARE(db.radicalRecord(7), u"@7;3;x"_qs);
}

void TestCharacterDatabase::embeddedData()
{
    CharacterDatabase db;
    QVERIFY(db.readDatabases());
    QVERIFY(db.unihanLoaded() && db.radicalsLoaded() && db.pinyinLoaded());

    // The two records as the character information expects them.
    QCOMPARE(db.unihanRecord(0x4E2D),
             u"@4E2D;;;2.3;ZHONG1 ZHONG4;4;central; center, middle; in the midst of; hit (target); attain"_qs);
    QCOMPARE(db.unihanRecord(0x6771), u"@6771;4E1C;;75.4;DONG1;8;east, eastern, eastward"_qs);
    QVERIFY(db.unihanRecord(0x5973).contains(u"N\u00DC3"_qs));
    // Ideographs beyond the BMP have records, as do the compatibility ones.
    QVERIFY(db.unihanRecord(0x20000).startsWith(u"@20000;"));
    QVERIFY(db.unihanRecord(0x2F800).startsWith(u"@2F800;"));
    QVERIFY(db.unihanRecord(0xF900).startsWith(u"@F900;"));
    QCOMPARE(db.unihanRecordStart(0x41), -1);
    QVERIFY(db.unihanText().startsWith("@3400;"));
    QVERIFY(db.unihanText().endsWith("\r\n"));
    QVERIFY(!db.unihanText().endsWith("\r\n\r\n"));

    // "@" starts records and nothing else.
    const QString &text = db.unihanText();
    qsizetype records = 0;
    for (qsizetype at = text.indexOf(u'@'); at >= 0; at = text.indexOf(u'@', at + 1)) {
        QVERIFY2(at == 0 || text.at(at - 1) == u'\n', qPrintable(QString::number(at)));
        ++records;
    }
    QCOMPARE(records, text.count(QLatin1String("\r\n")));
    QVERIFY(records > 90000);

    // 214 radicals in order, each with a decimal code and a name.
    const QStringList radicals = db.radicalsText().split("\r\n");
    QCOMPARE(radicals.size(), 215);
    QVERIFY(radicals.last().isEmpty());
    for (int n = 1; n <= 214; ++n) {
        const QStringList f = radicals.at(n - 1).split(u';');
        QCOMPARE(f.size(), 3);
        QCOMPARE(f[0], QStringLiteral("@%1").arg(n));
        QVERIFY(f[1].toUInt() >= 0x4E00);
        QVERIFY(!f[2].isEmpty());
        QCOMPARE(db.radicalRecord(n), radicals.at(n - 1));
    }
    QCOMPARE(db.radicalRecord(1), u"@1;19968;yi"_qs);
    QCOMPARE(db.radicalRecord(2), u"@2;20008;gun"_qs);
    QCOMPARE(db.radicalRecord(38), u"@38;22899;n\u00FC"_qs);
    QCOMPARE(db.radicalRecord(214), u"@214;40864;yue"_qs);
    QVERIFY(db.radicalRecord(215).isEmpty());

    QVERIFY(db.pinyinRtf().startsWith("{\\rtf1"));
    QVERIFY(db.numbersRtf().startsWith("{\\rtf1"));
}

void TestCharacterDatabase::embeddedIndexAgreesWithTextSearch()
{
    CharacterDatabase db;
    QVERIFY(db.readDatabases());
    // U+4E00's key matches its own record only: "@" + "4E00" + ";" cannot be
    // a prefix of "@4E00x;" or appear inside another key.
    const int at = db.unihanRecordStart(0x4E00);
    QVERIFY(at > 0);
    QCOMPARE(db.unihanText().count(QLatin1String("@4E00;")), 1);
    QCOMPARE(at, searchUnihan(db, 0x4E00));

    QRandomGenerator random(20240607);
    for (int i = 0; i < 300; ++i) {
        const char32_t cp = 0x3400 + random.bounded(0x2FA20 - 0x3400);
        QCOMPARE(db.unihanRecordStart(cp), searchUnihan(db, cp));
    }
}

QTEST_APPLESS_MAIN(TestCharacterDatabase)
#include "tst_characterdatabase.moc"
