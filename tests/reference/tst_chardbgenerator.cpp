// The build-time generator of the character database, run on small extracts
// of the Unicode Han database (tests/data/unihan).
#include "reference/CharacterDatabase.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace korvana;

namespace {

const QString Generator = QStringLiteral(KORVANA_SOURCE_DIR "/tools/gen_chardb.py");
const QString Fixtures = QStringLiteral(KORVANA_TEST_DATA "/unihan");

using testfiles::readFile;

// The characters of the simple rich text the generator writes: its \uN?
// escapes, with "|" for each line end.
QString rtfCharacters(const QByteArray &rtf)
{
    QString body = QString::fromLatin1(rtf.mid(rtf.indexOf("\\fs22 ") + 6));
    body.replace("\\par\n", "|");
    static const QRegularExpression escape(QStringLiteral("\\\\u(\\d+)\\?"));
    QString out;
    qsizetype last = 0;
    for (auto it = escape.globalMatch(body); it.hasNext();) {
        const auto m = it.next();
        out += body.mid(last, m.capturedStart() - last) + QChar(char16_t(m.captured(1).toInt()));
        last = m.capturedEnd();
    }
    return out + body.mid(last).chopped(2); // "}\n"
}

} // namespace

class TestCharDbGenerator : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unihanRecords();
    void unihanFileLayout();
    void radicals();
    void numbersAndPinyin();
    void storedItemsLoadIntoTheDatabase();
    void missingDataFailsClearly();

private:
    int runGenerator(const QStringList &args, QByteArray *errors = nullptr);
    QTemporaryDir m_dir;
    QString m_plain;
    QString m_items;
};

int TestCharDbGenerator::runGenerator(const QStringList &args, QByteArray *errors)
{
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        return -1;
    QProcess p;
    p.start(python, QStringList{Generator} + args);
    if (!p.waitForFinished(120000))
        return -2;
    if (errors)
        *errors = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3;
}

void TestCharDbGenerator::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_plain = m_dir.filePath("plain");
    m_items = m_dir.filePath("items");
    QByteArray errors;
    QCOMPARE(runGenerator(
                 {"--unihan-dir", Fixtures, "--plain-dir", m_plain, "--items-dir", m_items, "--expect-radicals", "0"},
                 &errors),
             0);
    QVERIFY2(errors.isEmpty(), errors.constData());
}

void TestCharDbGenerator::unihanRecords()
{
    const QList<QByteArray> lines = readFile(m_plain + "/Unihan-fin.txt").split('\n');
    auto record = [&](const QByteArray &key) -> QByteArray {
        for (const QByteArray &l : lines)
            if (l.startsWith(key + ';'))
                return l.chopped(1); // the CR
        return "(none)";
    };
    // The two records the character information is written against.
    QCOMPARE(record("@4E2D"),
             QByteArray("@4E2D;;;2.3;ZHONG1 ZHONG4;4;central; center, middle; in the midst of; hit (target); attain"));
    QCOMPARE(record("@6771"), QByteArray("@6771;4E1C;;75.4;DONG1;8;east, eastern, eastward"));
    // Traditional variant; several variants keep "U+" on all but the first;
    // the first of two total-stroke counts.
    QCOMPARE(record("@4E1C"), QByteArray("@4E1C;;6771;1.4;DONG1;5;east, eastern, eastward"));
    QCOMPARE(record("@8303"), QByteArray("@8303;8303;7BC4 U+8303;140.5;FAN4;8;surname; bee-like insect"));
    // Readings: kMandarin first, then the dictionaries' other readings, no
    // repeats, ü kept as Ü, syllabic m with its tone.
    QCOMPARE(record("@4E00"), QByteArray("@4E00;;;1.0;YI1 YI2 YI4;1;one; a, an; alone"));
    QCOMPARE(record("@5973"), QByteArray("@5973;;;38.0;N\xC3\x9C"
                                         "3 N\xC3\x9C"
                                         "4 RU3;3;woman, girl; feminine; Kangxi radical 38"));
    QCOMPARE(record("@5463"),
             QByteArray("@5463;;;30.5;M2 M4 MOU2;8;interjection indicating a question or thought (um)"));
    // ê with a combining tone mark loses the mark, not the circumflex.
    QVERIFY(record("@6B38").contains(" \xC3\x8A"
                                     "1 \xC3\x8A"
                                     "2 \xC3\x8A"
                                     "3 \xC3\x8A"
                                     "4 "));
    // A reading marked "*" in the dictionary index is still read.
    QCOMPARE(record("@379E"), QByteArray("@379E;2AA0A;;44.11;SONG2;14;semen"));
    // Two radical-stroke pairs, a simplified radical, no readings.
    QVERIFY(record("@3687").startsWith("@3687;;;35.6 66.6;ZONG1;9;draw the feet up;"));
    QVERIFY(record("@4336").startsWith("@4336;;42B7;120'.3;;9;(simplified form of"));
    QCOMPARE(record("@F900"), QByteArray("@F900;;;151.3;;10;how? what?"));
    // Definitions keep their UTF-8.
    QCOMPARE(record("@3400"), QByteArray("@3400;;;1.4;QIU1;5;(same as U+4E18 \xE4\xB8\x98) hillock or mound"));
    QVERIFY(record("@20000").startsWith("@20000;;;1.1;HE1;2;the sound made by breathing in;"));
}

void TestCharDbGenerator::unihanFileLayout()
{
    const QByteArray file = readFile(m_plain + "/Unihan-fin.txt");
    QVERIFY(file.endsWith("\r\n\r\n"));
    QVERIFY(!file.endsWith("\r\n\r\n\r\n"));
    QVERIFY(!file.startsWith("\xEF\xBB\xBF"));
    QList<QByteArray> lines = file.split('\n');
    QCOMPARE(lines.takeLast(), QByteArray());
    QCOMPARE(lines.takeLast(), QByteArray("\r"));
    QCOMPARE(lines.size(), 18);
    uint previous = 0;
    for (const QByteArray &l : lines) {
        QVERIFY(l.endsWith('\r'));
        QVERIFY(l.startsWith('@'));
        QCOMPARE(l.count('@'), 1);
        QVERIFY(l.count(';') >= 6);
        bool ok = false;
        const uint cp = l.mid(1, l.indexOf(';') - 1).toUInt(&ok, 16);
        QVERIFY(ok);
        QVERIFY2(cp > previous, l.constData());
        previous = cp;
    }
}

void TestCharDbGenerator::radicals()
{
    // Rows with an apostrophe (simplified forms) are not radicals of the
    // table; names come from the ideograph's first reading without its tone.
    QCOMPARE(readFile(m_plain + "/radicals.txt"),
             QByteArray("@1;19968;yi\r\n@2;20008;gun\r\n@38;22899;n\xC3\xBC\r\n@75;26408;mu\r\n"
                        "@120;31992;mi\r\n\r\n"));

    // The real table must have 214 rows; the extract does not.
    QByteArray errors;
    QCOMPARE(runGenerator({"--unihan-dir", Fixtures, "--plain-dir", m_dir.filePath("strict")}, &errors), 1);
    QVERIFY(errors.contains("holds 5 radicals, expected 214"));
}

void TestCharDbGenerator::numbersAndPinyin()
{
    // Fourteen lines of one syllable and one blank each, as Unicode text.
    const QString numbers = rtfCharacters(readFile(m_plain + "/numbers.rtf"));
    QCOMPARE(numbers.count(u'|'), 13);
    QVERIFY(numbers.startsWith(u"y\u012B |\u00E8r |s\u0101n |"_qs));
    QVERIFY(numbers.endsWith(u"|b\u0103i |qi\u0101n |w\u00E0n "_qs));
    // The 24 tone vowels in the order of the editor's buttons.
    const QString vowels = rtfCharacters(readFile(m_plain + "/pinyin.rtf"));
    QCOMPARE(vowels.size(), 24);
    QCOMPARE(vowels.left(4), u"\u0101\u00E1\u01CE\u00E0"_qs);
    QCOMPARE(vowels.right(4), u"\u01D6\u01D8\u01DA\u01DC"_qs);
}

void TestCharDbGenerator::storedItemsLoadIntoTheDatabase()
{
    StoredItems items;
    const char *names[] = {"Unihan", "Radicals", "Numbers", "Pinyin"};
    for (int i = 0; i < 4; ++i) {
        const QByteArray stored = readFile(QStringLiteral("%1/item%2.bin").arg(m_items).arg(i));
        QVERIFY(stored.size() > 6);
        QCOMPARE(qsizetype(qFromLittleEndian<quint32>(stored.constData())), stored.size() - 4);
        // Default level everywhere but the radicals, which use the maximum.
        QCOMPARE(quint8(stored[4]), quint8(0x78));
        QCOMPARE(quint8(stored[5]), quint8(i == 1 ? 0xDA : 0x9C));
        items.append(names[i], QString(), stored);
    }
    CharacterDatabase db;
    QVERIFY(db.readDatabases(items));
    QVERIFY(db.pinyinLoaded());
    QCOMPARE(db.unihanText(), QString::fromUtf8(readFile(m_plain + "/Unihan-fin.txt")).chopped(2));
    QCOMPARE(db.unihanRecord(0x6771), u"@6771;4E1C;;75.4;DONG1;8;east, eastern, eastward"_qs);
    QCOMPARE(db.radicalRecord(38), u"@38;22899;n\u00FC"_qs);
    QCOMPARE(db.numbersRtf(), readFile(m_plain + "/numbers.rtf"));
    QCOMPARE(db.pinyinRtf(), readFile(m_plain + "/pinyin.rtf"));
}

void TestCharDbGenerator::missingDataFailsClearly()
{
    QTemporaryDir empty;
    QByteArray errors;
    QCOMPARE(runGenerator({"--unihan-dir", empty.path(), "--cpp", empty.filePath("x.cpp")}, &errors), 1);
    QVERIFY(errors.contains("Unihan_Readings.txt not found"));
    QVERIFY(errors.contains("unicode-data"));
    QVERIFY(!QFile::exists(empty.filePath("x.cpp")));
}

QTEST_APPLESS_MAIN(TestCharDbGenerator)
#include "tst_chardbgenerator.moc"
