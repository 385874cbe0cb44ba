// The character information: Unihan records into their fields, variants,
// radicals, the reader's summary, the neighbour keys and the dictionary lines.
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"

#include <QtTest>

using namespace korvana;

namespace {

const QString Unihan =
    QStringLiteral("@4E00;;;1.0;YI1;1;one; a, an; alone\r\n"
                   "@4E2D;;;2.3;ZHONG1 ZHONG4;4;central; center, middle; in the midst of; hit (target); attain\r\n"
                   "@4E48;;4E48 U+5E7A;4'.2;ME5 YAO1;3;interrogative particle\r\n"
                   "@4E59;;;5.0;YI3;1;\r\n"
                   "@6771;4E1C;;75.4;DONG1;8;east, eastern, eastward\r\n"
                   "@7C73;;;120'.5;MI3;6;hulled rice\r\n"
                   "@9F9C;;;213.0;GUI1;16;turtle\r\n"
                   "@9F9D;;;214.1;YUE4;17;flute\r\n"
                   "@20000;;;1.1;HE1;2;a surrogate record\r\n"
                   "@8A9E;;2A6D6;35.6 66.6;YU3;14;x\r\n");

const QString Radicals = QStringLiteral("@1;19968;yi\r\n"
                                        "@2;20008;gun\r\n"
                                        "@4;20031;pie\r\n"
                                        "@5;20057;yi\r\n"
                                        "@34;sui\r\n"
                                        "@35;22786;sui\r\n"
                                        "@47;24027;24029;chuan\r\n"
                                        "@75;26408;mu\r\n"
                                        "@120;31992;mi\r\n"
                                        "@213;40860;gui\r\n"
                                        "@214;40864;yue");

// Stands in for the tone-mark converter: shows what it was given.
QString tones(const QString &s)
{
    return s.isEmpty() ? s : QLatin1Char('{') + s + QLatin1Char('}');
}

CharacterInfo infoOf(uint code, const QString &unihan = Unihan, const QString &radicals = Radicals)
{
    const int start = int(unihan.indexOf(unihanKey(code)));
    return characterInfo(code, QString(QChar(char16_t(code))), unihan, start, radicals, tones);
}

// A dictionary text as loaded: header first, CR LF between lines, none after
// the last.
const QString Dict = QStringLiteral("# CC-CEDICT header\r\n"
                                    "中 [zhong1] /China/Chinese/\r\n"
                                    "中国 [Zhong1 guo2] /China/Middle Kingdom/\r\n"
                                    "中国人 [Zhong1 guo2 ren2] /Chinese person/\r\n"
                                    "国 [guo2] /country/\r\n"
                                    "国人 [guo2 ren2] /compatriots/\r\n"
                                    "人 [ren2] /person/");

} // namespace

class TestCharacterInfo : public QObject {
    Q_OBJECT

private slots:
    void recordSplitsIntoItsFields()
    {
        const QString key = unihanKey(0x4E2D);
        QCOMPARE(key, QStringLiteral("@4E2D;"));
        const UnihanFields f = splitUnihanRecord(recordFrom(Unihan, int(Unihan.indexOf(key)), 1000));
        QCOMPARE(f.simplified, QString());
        QCOMPARE(f.traditional, QString());
        QCOMPARE(f.radical, QStringLiteral("2.3"));
        QCOMPARE(f.readings, QStringLiteral("ZHONG1 ZHONG4"));
        QCOMPARE(f.strokes, QStringLiteral("4"));
        // The definition keeps its own ";" and loses the line end.
        QCOMPARE(f.definition, QStringLiteral("central; center, middle; in the midst of; hit (target); attain"));
        // The key is five digits above U+FFFF and matches nothing inside
        // another record.
        QCOMPARE(unihanKey(0x20000), QStringLiteral("@20000;"));
        QCOMPARE(Unihan.indexOf(unihanKey(0x4E1C)), -1);
    }

    void recordNeedsALineEndWithinReach()
    {
        const QString text = QStringLiteral("@4E00;;;1.0;YI1;1;one\r\n@4E01;;;1.1;DING1;2;man");
        QCOMPARE(recordFrom(text, 0, 1000).toString(), QStringLiteral("@4E00;;;1.0;YI1;1;one\r\n"));
        // Cut to the limit before its LF: nothing.
        QVERIFY(recordFrom(text, 0, 10).isEmpty());
        // The last record without a line end: nothing either.
        QVERIFY(recordFrom(text, int(text.indexOf(QStringLiteral("@4E01"))), 1000).isEmpty());
        QVERIFY(recordFrom(text, -1, 1000).isEmpty());
        // A record cut short has empty fields rather than stray text.
        const UnihanFields f = splitUnihanRecord(QStringView(u"@4E00;;;1.0"));
        QCOMPARE(f.radical, QString());
        QCOMPARE(f.definition, QStringLiteral("1.0"));
    }

    void fullInformationOfACharacter()
    {
        const CharacterInfo i = infoOf(0x4E2D);
        QVERIFY(i.found);
        QCOMPARE(i.character, QStringLiteral("中"));
        QCOMPARE(i.codeHex, QStringLiteral("4E2D"));
        QCOMPARE(i.codeDec, QStringLiteral("20013"));
        QCOMPARE(i.strokes, QStringLiteral("4"));
        QCOMPARE(i.mandarin, QStringLiteral("{zhong1 zhong4}")); // lower-cased for the converter
        QCOMPARE(i.radicalCharacter, QStringLiteral("丨"));
        QCOMPARE(i.radical, QStringLiteral("gun (nr. 2) + 3 strokes"));
        QVERIFY(i.definition.startsWith(QStringLiteral("central; center")));

        const CharacterInfo dong = infoOf(0x6771);
        QCOMPARE(dong.simplified, QStringLiteral("东"));
        QCOMPARE(dong.traditional, QString());
        QCOMPARE(dong.radical, QStringLiteral("mu (nr. 75) + 4 strokes"));
    }

    void radicalsSimplifiedSingularAndDoubled()
    {
        QCOMPARE(infoOf(0x7C73).radical, QStringLiteral("mi (nr. 120) simp. + 5 strokes"));
        QCOMPARE(infoOf(0x7C73).radicalCharacter, QString(QChar(31992)));
        // One additional stroke: "stroke"; none: "strokes".
        QCOMPARE(radicalInfo(QStringLiteral("4'.1"), Radicals).text, QStringLiteral("pie (nr. 4) simp. + 1 stroke"));
        QCOMPARE(infoOf(0x4E59).radical, QStringLiteral("yi (nr. 5) + 0 strokes"));
        // Two pairs: radical 35, and everything after the first "." as the
        // extra strokes, whose number is the 6.
        QCOMPARE(infoOf(0x8A9E).radical, QStringLiteral("sui (nr. 35) + 6 66.6 strokes"));
        // The table's last record has no line end; it is still found whole.
        QCOMPARE(infoOf(0x9F9D).radical, QStringLiteral("yue (nr. 214) + 1 stroke"));
        QCOMPARE(infoOf(0x9F9D).radicalCharacter, QString(QChar(40864)));
        // Its neighbour is an ordinary record.
        QCOMPARE(infoOf(0x9F9C).radicalCharacter, QString(QChar(40860)));
        // So is one that ends exactly at the reach.
        QCOMPARE(radicalInfo(QStringLiteral("1.0"), QStringLiteral("@1;19968;") + QString(91, u'y')).character,
                 QStringLiteral("\u4E00"));
    }

    void irregularRadicalRecords()
    {
        // No code field: the name alone, no character.
        const RadicalInfo sui = radicalInfo(QStringLiteral("34.2"), Radicals);
        QCOMPARE(sui.character, QString());
        QCOMPARE(sui.text, QStringLiteral("sui (nr. 34) + 2 strokes"));
        // A second code stands before the name, taken as it stands.
        const RadicalInfo chuan = radicalInfo(QStringLiteral("47.0"), Radicals);
        QCOMPARE(chuan.character, QString(QChar(24027)));
        QCOMPARE(chuan.text, QStringLiteral("24029;chuan (nr. 47) + 0 strokes"));
        // A radical the table lacks shows no other radical's record.
        const RadicalInfo none = radicalInfo(QStringLiteral("99.1"), Radicals);
        QCOMPARE(none.character, QString());
        QCOMPARE(none.text, QStringLiteral(" (nr. 99) + 1 stroke"));
        // "@1;" must not be taken for "@120;" nor "@12;" for "@120;".
        QCOMPARE(radicalInfo(QStringLiteral("12.0"), Radicals).character, QString());
        // A code that is no number is an error, not a wrong character.
        try {
            radicalInfo(QStringLiteral("1.0"), QStringLiteral("@1;q1;yi\r\n"));
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QStringLiteral("'q1' is not a valid integer value"));
        }
    }

    void variantFields()
    {
        QCOMPARE(variantCharacters(QString()), QString());
        QCOMPARE(variantCharacters(QStringLiteral("4E1C")), QStringLiteral("东"));
        QCOMPARE(variantCharacters(QStringLiteral("4E48 U+5E7A")), QStringLiteral("么幺"));
        QCOMPARE(variantCharacters(QStringLiteral("4E48 U+5E7A U+9EBC")), QStringLiteral("么幺麼"));
        // Above U+FFFF: the whole character, as a surrogate pair.
        const QString far = variantCharacters(QStringLiteral("4E48 U+2A6D6"));
        QCOMPARE(far.size(), 3);
        QCOMPARE(far.toUcs4().value(1), 0x2A6D6u);
        QCOMPARE(infoOf(0x8A9E).traditional.toUcs4(), QList<uint>{0x2A6D6u});
        QCOMPARE(infoOf(0x4E48).traditional, QStringLiteral("么幺"));
        for (const QString &bad : {QStringLiteral("4EZZ"), QStringLiteral("4E48  U+5E7A")}) {
            bool thrown = false;
            try {
                variantCharacters(bad);
            } catch (const Error &e) {
                thrown = e.message().endsWith(QStringLiteral("is not a valid integer value"));
            }
            QVERIFY2(thrown, qPrintable(bad));
        }
    }

    void characterWithoutRecord()
    {
        const CharacterInfo a = infoOf('A');
        QVERIFY(!a.found);
        QCOMPARE(a.codeHex, QStringLiteral("41"));
        QCOMPARE(a.codeDec, QStringLiteral("65"));
        QCOMPARE(a.definition, QString());
        QCOMPARE(a.radical, QString());
        // A surrogate half has no record, though the table holds U+20000.
        QVERIFY(!infoOf(0xD840).found);
    }

    void readerSummaryLine()
    {
        const int start = int(Unihan.indexOf(unihanKey(0x6771)));
        QCOMPARE(readerSummary(QStringLiteral("東"), Unihan, start, tones),
                 QStringLiteral("東 [") + tones(QStringLiteral("dong1")) + QStringLiteral("] east, eastern, eastward"));
        QCOMPARE(readerSummary(QStringLiteral("x"), Unihan, -1, tones), QStringLiteral("x []"));
        // An empty definition leaves no trailing blank.
        const int yi = int(Unihan.indexOf(unihanKey(0x4E59)));
        QCOMPARE(readerSummary(QStringLiteral("乙"), Unihan, yi, tones),
                 QStringLiteral("乙 [") + tones(QStringLiteral("yi3")) + QLatin1Char(']'));
    }

    void neighboursAndKeys()
    {
        const QString line = QStringLiteral("我是中国人民");
        const QStringList keys = dictionaryKeys(neighboursAt(line, 2, line[2]));
        QCOMPARE(keys,
                 (QStringList{QStringLiteral("\n我是中国 "), QStringLiteral("\n是中国人 "), QStringLiteral("\n我是中 "),
                              QStringLiteral("\n是中国 "), QStringLiteral("\n中国人 "), QStringLiteral("\n是中 "),
                              QStringLiteral("\n中国 "), QStringLiteral("\n中 ")}));
        // At the start of the line only the keys without earlier neighbours.
        QCOMPARE(dictionaryKeys(neighboursAt(line, 0, line[0])),
                 (QStringList{QStringLiteral("\n我是中 "), QStringLiteral("\n我是 "), QStringLiteral("\n我 ")}));
        // Latin letters, digits and blanks are no neighbours; 255 and above are.
        const QString mixed = QStringLiteral("a 中") + QChar(0xFF) + QStringLiteral("1");
        const HoverNeighbours n = neighboursAt(mixed, 2, mixed[2]);
        QVERIFY(n.before1.isNull() && n.before2.isNull() && n.after2.isNull());
        QCOMPARE(n.after1, QString(QChar(0xFF)));
        QCOMPARE(dictionaryKeys(n).size(), 2);
        // Characters beyond U+FFFF are whole, as the looked-up one and as
        // neighbours.
        const QString ext = QStringLiteral("𠀀中𪚥人");
        QCOMPARE(dictionaryKeys(neighboursAt(ext, 2, QStringLiteral("中"))).first(), QStringLiteral("\n𠀀中𪚥人 "));
        QCOMPARE(dictionaryKeys(neighboursAt(ext, 3, QStringLiteral("𪚥"))).first(), QStringLiteral("\n𠀀中𪚥人 "));
    }

    void dictionaryEntriesIntoLines()
    {
        const QString line = dictionaryLine(QStringView(u"中国 [Zhong1 guo2] /China/Middle Kingdom/\r\nnext"), tones);
        QCOMPARE(line, QStringLiteral("中国 [") + tones(QStringLiteral("Zhong1 guo2"))
                           + QStringLiteral("] China; Middle Kingdom"));
        // The last line has no line end: its closing "/" becomes a trailing ";".
        QCOMPARE(dictionaryLine(QStringView(u"人 [ren2] /person/"), {}), QStringLiteral("人 [ren2] person;"));
        // No brackets, nothing to convert; an empty entry is no line.
        QCOMPARE(dictionaryLine(QStringView(u"人 /a/b/\r\n"), tones), QStringLiteral("人 a; b"));
        QCOMPARE(dictionaryLine(QStringView(u"\r\n"), tones), QString());
        // A bracket without its pair is left alone.
        QCOMPARE(dictionaryLine(QStringView(u"x ]a[ /b/\r\n"), {}), QStringLiteral("x ]a[ b"));
    }

    void dictionaryLookupLongestFirst()
    {
        const QString line = QStringLiteral("中国人");
        const QStringList keys = dictionaryKeys(neighboursAt(line, 1, line[1]));
        const QStringList lines = dictionaryLines(Dict, keys, {});
        QCOMPARE(lines,
                 (QStringList{QStringLiteral("中国人 [Zhong1 guo2 ren2] Chinese person"),
                              QStringLiteral("中国 [Zhong1 guo2] China; Middle Kingdom"),
                              QStringLiteral("国人 [guo2 ren2] compatriots"), QStringLiteral("国 [guo2] country")}));
        // The header line is never found; a text without entries finds nothing.
        QVERIFY(dictionaryLines(Dict, {QStringLiteral("\n# ")}, {}).isEmpty());
        QVERIFY(dictionaryLines(QString(), keys, {}).isEmpty());
        // The entry of the last line, with nothing cut from its end.
        QCOMPARE(dictionaryLines(Dict, {QStringLiteral("\n人 ")}, {}),
                 QStringList{QStringLiteral("人 [ren2] person;")});
    }

    void lineIndexFindsWhatTheScanFinds()
    {
        DictionaryLineIndex index;
        index.update(Dict);
        const QStringList keys{QStringLiteral("\n中 "),   QStringLiteral("\n中国 "), QStringLiteral("\n中国人 "),
                               QStringLiteral("\n国人 "), QStringLiteral("\n人 "),   QStringLiteral("\n人民 "),
                               QStringLiteral("\n# "),    QStringLiteral("\n国 ")};
        for (const QString &key : keys)
            QCOMPARE(index.find(key), Dict.indexOf(key));
        QCOMPARE(dictionaryLines(Dict, keys, tones, &index), dictionaryLines(Dict, keys, tones));
        // Another text is indexed afresh, not answered from the old one.
        // (its entry after an empty line)
        const QString other = QStringLiteral("h\r\n\n人 [ren2] /someone/");
        index.update(other);
        QCOMPARE(index.find(QStringLiteral("\n人 ")), other.indexOf(QStringLiteral("\n人 ")));
        QCOMPARE(index.find(QStringLiteral("\n中 ")), -1);
        // So is a new text of the same length.
        QString same = Dict;
        same.replace(QStringLiteral("\n中"), QStringLiteral("\n申"));
        index.update(Dict);
        index.update(same);
        QCOMPARE(index.find(QStringLiteral("\n申 ")), same.indexOf(QStringLiteral("\n申 ")));
        QCOMPARE(index.find(QStringLiteral("\n中 ")), -1);
        index.update(QString());
        QCOMPARE(index.find(QStringLiteral("\n人 ")), -1);
    }
};

QTEST_GUILESS_MAIN(TestCharacterInfo)
#include "tst_characterinfo.moc"
