// The dictionary file and its searches: loading, term kinds, cutting entries
// out of the text, exact find, find all with its pages, and result rows.
#include "platform/ui/Errors.h"
#include "reference/CharacterInfo.h"
#include "reference/Dictionary.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace korvana;

namespace {

// A dictionary text as loading leaves it: CR LF between lines, none after
// the last.
QString dict(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QString chineseOf(const QString &entry)
{
    return entry.section(u' ', 0, 0);
}

QStringList chineseOf(const QStringList &entries)
{
    QStringList out;
    for (const QString &e : entries)
        out << chineseOf(e);
    return out;
}

// n entries "w<i> [x1] /<sense>/", numbered from 1.
QStringList numbered(int n, const QString &sense)
{
    QStringList lines{QStringLiteral("# header")};
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("w%1 [x1] /%2/").arg(i).arg(sense);
    return lines;
}

} // namespace

class TestDictionary : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(bytes);
        return path;
    }

private slots:
    void termKinds_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QChar>("kind");
        QTest::newRow("hanzi") << QStringLiteral("中") << QChar(u'C');
        QTest::newRow("pinyin") << QStringLiteral("ni3 hao3") << QChar(u'P');
        QTest::newRow("english") << QStringLiteral("house") << QChar(u'E');
        QTest::newRow("e acute") << QStringLiteral("é") << QChar(u'E');
        QTest::newRow("cyrillic") << QStringLiteral("Ж") << QChar(u'C');
        QTest::newRow("unit 500 is not above") << QString(QChar(500)) << QChar(u'E');
        QTest::newRow("unit 501") << QString(QChar(501)) + u'1' << QChar(u'C');
        QTest::newRow("digit anywhere") << QStringLiteral("abc9") << QChar(u'P');
        QTest::newRow("digit first") << QStringLiteral("3D") << QChar(u'P');
    }
    void termKinds()
    {
        QFETCH(QString, term);
        QFETCH(QChar, kind);
        QCOMPARE(classifyTerm(term), kind);
    }

    void trimmingAndFolding()
    {
        QCOMPARE(trimControls(u"\t \r\n ab c\r\n\x01"), QStringView(u"ab c"));
        // Only codes up to 32 go; a no-break space stays.
        QCOMPARE(trimControls(u"\u00A0x\u00A0"), QStringView(u"\u00A0x\u00A0"));
        QCOMPARE(trimControls(u" \r\n"), QStringView());
        // A to Z only, one character for one.
        QCOMPARE(foldLatinCase(u"AZaz@[ÉÄ中Zhong1"), QStringLiteral("azaz@[ÉÄ中zhong1"));
    }

    void loadingAndItsFailures()
    {
        // UTF-16 after its mark; lines joined with CR LF, none after the last.
        QByteArray le("\xFF\xFE");
        for (QChar c : QStringLiteral("# hdr\r\n中国 [Zhong1 guo2] /China/\n好 [hao3] /good/\r\n"))
            le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        QCOMPARE(loadDictionaryText(writeFile(QStringLiteral("le.uni"), le)),
                 QStringLiteral("# hdr\r\n中国 [Zhong1 guo2] /China/\r\n好 [hao3] /good/"));

        // Without its mark: NULs in every other byte tell the byte order.
        QCOMPARE(loadDictionaryText(writeFile(QStringLiteral("le-nobom.uni"), le.mid(2))),
                 QStringLiteral("# hdr\r\n中国 [Zhong1 guo2] /China/\r\n好 [hao3] /good/"));
        QByteArray be;
        for (int i = 2; i + 1 < le.size(); i += 2)
            be.append(le[i + 1]).append(le[i]);
        QCOMPARE(loadDictionaryText(writeFile(QStringLiteral("be-nobom.uni"), be)),
                 QStringLiteral("# hdr\r\n中国 [Zhong1 guo2] /China/\r\n好 [hao3] /good/"));

        // What is no dictionary is refused with a reason, never "loaded".
        const auto reasonFor = [](const QString &path) {
            try {
                loadDictionaryText(path);
            } catch (const Error &e) {
                return e.message();
            }
            return QString();
        };
        QCOMPARE(reasonFor(writeFile(QStringLiteral("one.uni"), "just one line")), QStringLiteral("no line break"));
        QCOMPARE(reasonFor(writeFile(QStringLiteral("none.uni"), "# header\nno entry here\n[ nor / here\n")),
                 QStringLiteral("no dictionary entry"));
        // The "/" must stand on the line of its " [".
        QCOMPARE(reasonFor(writeFile(QStringLiteral("split.uni"), "# header\nword [pin] no slash\nlater / here\n")),
                 QStringLiteral("no dictionary entry"));
        QVERIFY(!reasonFor(m_dir.path()).isEmpty());
        QVERIFY(!reasonFor(m_dir.filePath(QStringLiteral("gone.uni"))).isEmpty());
        // A named pipe is refused at once instead of blocking the load.
        const QString fifo = m_dir.filePath(QStringLiteral("pipe.uni"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(reasonFor(fifo), QStringLiteral("not a regular file"));
    }

    // The searches through the line index give exactly what the
    // pattern-by-pattern scan gives, on texts made to hit its corners:
    // neighbouring matches, blank-led and over-long lines, the header, case.
    void indexedSearchesMatchTheScan()
    {
        const QStringList pieces = {u"中"_qs,   u"中国"_qs, u"a"_qs,  u"A"_qs,      u"ab"_qs,
                                    u" "_qs,    u"/"_qs,    u" ["_qs, u"] "_qs,     u"\r\n"_qs,
                                    u"\r\n"_qs, u"\t"_qs,   u"x1"_qs, u"\u4e00"_qs, u"/House/"_qs};
        const QStringList terms = {u"中"_qs,  u"中国"_qs, u"a"_qs, u"A"_qs,      u"ab"_qs,   u"x1"_qs,
                                   u"a b"_qs, u"q"_qs,    u"1"_qs, u"\u4e00"_qs, u"house"_qs};
        QRandomGenerator rng(16);
        for (int round = 0; round < 400; ++round) {
            QString text;
            const int length = int(rng.bounded(60));
            for (int i = 0; i < length; ++i)
                text += pieces[int(rng.bounded(pieces.size()))];
            if (round % 10 == 0)
                text += QString(int(rng.bounded(995, 1005)), u'a') + QStringLiteral("\r\n中 a/");
            DictionaryLineIndex index;
            index.update(text);
            DictionarySearch scan, indexed;
            indexed.useLineIndex(&index);
            for (const QString &term : terms) {
                for (bool caseSensitive : {false, true}) {
                    const QString where = QStringLiteral("%1 in %2").arg(term, text.left(80));
                    const QStringList found = scan.exactFind(text, term, caseSensitive);
                    QVERIFY2(indexed.exactFind(text, term, caseSensitive) == found, qPrintable(where));
                    // The matches the window shows give the same entries.
                    const DictionaryMatches matches = indexed.exactMatches(text, term, caseSensitive);
                    QStringList shown;
                    for (qsizetype i = 0; i < matches.size(); ++i)
                        shown.append(matches.at(i));
                    QVERIFY2(shown == found && matches.toStringList() == found, qPrintable(where));
                    for (const auto &[first, last] : {std::pair{0, 3}, std::pair{4, 6}, std::pair{0, 50}}) {
                        const DictionaryPage a = scan.findAll(text, term, caseSensitive, first, last);
                        const DictionaryPage b = indexed.findAll(text, term, caseSensitive, first, last);
                        QVERIFY2(a.entries == b.entries && a.full == b.full, qPrintable(where));
                    }
                }
            }
        }
    }

    // A term in thousands of lines (one letter, a slash) is found pattern by
    // pattern after the line starts: still the scan's pages, and an entry
    // whose sense is exactly the term comes first however late it stands.
    void commonTermsMatchTheScan()
    {
        QStringList lines{QStringLiteral("# header a/")};
        for (int i = 0; i < 3000; ++i)
            lines << QStringLiteral("字%1 [zi%2] /%4 word %1/banana%3/")
                         .arg(i)
                         .arg(i % 5)
                         .arg(i % 7 ? "" : "/")
                         .arg(i % 3 == 2 ? "the" : "a");
        lines << QStringLiteral("啊 [a1] /A/") << QStringLiteral("阿 [a1] /all/") << QStringLiteral("a [a] /x/");
        // The same with a line longer than an entry that holds the term beside a slash.
        const QString text = dict(lines);
        for (const QString &t :
             {text,
              dict(lines.mid(0, 1500) + QStringList{QString(1200, u'x') + QStringLiteral("/a/")} + lines.mid(1500))}) {
            DictionaryLineIndex index;
            index.update(t);
            DictionarySearch scan, indexed;
            indexed.useLineIndex(&index);
            for (const QString &term : {u"a"_qs, u"/"_qs, u"["_qs, u"1"_qs, u"A"_qs}) {
                for (const auto &[first, last] :
                     {std::pair{0, 20}, std::pair{181, 200}, std::pair{1990, 2010}, std::pair{2990, 3010}}) {
                    const DictionaryPage a = scan.findAll(t, term, false, first, last);
                    const DictionaryPage b = indexed.findAll(t, term, false, first, last);
                    QVERIFY2(a.entries == b.entries && a.full == b.full, qPrintable(term));
                }
            }
        }
        DictionaryLineIndex index;
        index.update(text);
        DictionarySearch indexed;
        indexed.useLineIndex(&index);
        QCOMPARE(chineseOf(indexed.findAll(text, u"a", false, 0, 3).entries),
                 (QStringList{u"a"_qs, u"啊"_qs, u"字0"_qs}));
    }

    // Exact find lists its entries without copying them out of the text:
    // they outlive the text they came from, and changing one leaves the
    // text as it was.
    void exactFindEntriesOutliveTheirText()
    {
        QString text = dict({QStringLiteral("一 [yi1] /one/"), QStringLiteral("七 [qi1] /seven/")});
        const QString before = text;
        DictionarySearch s;
        QStringList found = s.exactFind(text, u"1", false);
        const DictionaryMatches matches = s.exactMatches(text, u"1", false);
        QCOMPARE(found, (QStringList{u"一 [yi1] /one/"_qs, u"七 [qi1] /seven/"_qs}));
        found[0].append(u"!"_qs);
        QCOMPARE(text, before);
        text = QString();
        QCOMPARE(found, (QStringList{u"一 [yi1] /one/!"_qs, u"七 [qi1] /seven/"_qs}));
        QCOMPARE(matches.toStringList(), (QStringList{u"一 [yi1] /one/"_qs, u"七 [qi1] /seven/"_qs}));
    }

    void exactFindByKind()
    {
        const QString text = dict({
            QStringLiteral("中国 [x] /header that looks like an entry/"),
            QStringLiteral("中国 [Zhong1 guo2] /China/"),
            QStringLiteral("中国人 [Zhong1 guo2 ren2] /Chinese person/"),
            QStringLiteral("好 [hao3] /good/"),
            QStringLiteral("找 [zhao3] /to look for/"),
            QStringLiteral("家 [jia1] /home/House/"),
            QStringLiteral("房屋 [fang2 wu1] /houses/a house/"),
            QStringLiteral("房子 [fang2 zi5] /house/"),
        });
        DictionarySearch s;
        // Chinese: the whole Chinese only, never the header line.
        QCOMPARE(s.exactFind(text, u"中国", false), QStringList{QStringLiteral("中国 [Zhong1 guo2] /China/")});
        // Pinyin: anywhere in the line, also inside a longer syllable.
        QCOMPARE(chineseOf(s.exactFind(text, u"hao3", false)), (QStringList{u"好"_qs, u"找"_qs}));
        // English: a whole sense, either case; "houses" and "a house" are not.
        QCOMPARE(chineseOf(s.exactFind(text, u"house", false)), (QStringList{u"家"_qs, u"房子"_qs}));
        QCOMPARE(chineseOf(s.exactFind(text, u"House", true)), QStringList{u"家"_qs});
        QCOMPARE(chineseOf(s.exactFind(text, u"  house \t", true)), QStringList{u"房子"_qs});
        QVERIFY(s.exactFind(text, u" \t ", false).isEmpty());
        QVERIFY(s.exactFind(text, u"zzz", false).isEmpty());
    }

    void exactFindEdges()
    {
        DictionarySearch s;
        // The last line has no line break after it.
        const QString text =
            dict({QStringLiteral("# h"), QStringLiteral("a1 [a1] /x/"), QStringLiteral("猫 [mao1] /cat/")});
        QCOMPARE(s.exactFind(text, u"猫", false), QStringList{QStringLiteral("猫 [mao1] /cat/")});
        QCOMPARE(s.exactFind(text, u"cat", false), QStringList{QStringLiteral("猫 [mao1] /cat/")});

        // Two readings of one word on neighbouring lines are both found.
        const QString readings =
            dict({QStringLiteral("# h"), QStringLiteral("行 [hang2] /row/"), QStringLiteral("行 [xing2] /to walk/"),
                  QStringLiteral("行 [heng2] /x/"), QStringLiteral("行人 [xing2 ren2] /pedestrian/")});
        QCOMPARE(s.exactFind(readings, u"行", false).size(), 3);
        QCOMPARE(s.findAll(readings, u"行", false, 0, 20).entries.size(), 4);
        // A line with several matches is listed once.
        QCOMPARE(s.exactFind(dict({QStringLiteral("h"), QStringLiteral("a [a1 a1 a1] /y/")}), u"a1", false).size(), 1);

        // Chinese terms are matched exactly even when case is ignored.
        const QString mixed =
            dict({QStringLiteral("# h"), QStringLiteral("中a [x] /lower/"), QStringLiteral("中A [x] /upper/")});
        QCOMPARE(s.exactFind(mixed, u"中A", false), QStringList{QStringLiteral("中A [x] /upper/")});
        // Entries come from the text as it is, not from its folded copy.
        QCOMPARE(s.exactFind(dict({QStringLiteral("h"), QStringLiteral("X [Y1] /Tea/")}), u"tea", false),
                 QStringList{QStringLiteral("X [Y1] /Tea/")});
    }

    void longLinesAreCut()
    {
        // An entry is at most 999 characters; the rest of the line is a
        // line of its own for the search.
        const QString longSense = QStringLiteral("a1").repeated(750);
        const QString line = QStringLiteral("长 [chang2] /") + longSense + u'/';
        const QString text = dict({QStringLiteral("# h"), line, QStringLiteral("next [n1] /y/")});
        DictionarySearch s;
        const QStringList found = s.exactFind(text, u"a1", false);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0], line.left(999));
        // Character 1000 of the line goes with the cut; the piece after it
        // runs to the line end.
        QCOMPARE(found[1], line.mid(1000));
        QCOMPARE(s.exactFind(text, u"n1", false), QStringList{QStringLiteral("next [n1] /y/")});

        // A line of exactly 1000 characters before a bare line feed is cut
        // as well, also where the search goes by the line index.
        const QString edge = QStringLiteral("边 [bian1] /") + QString(987, u'x') + QStringLiteral("/z");
        QCOMPARE(edge.size(), 1000);
        const QString edgeText = QStringLiteral("# h\n") + edge + QStringLiteral("\nnext [n1] /y/");
        DictionaryLineIndex index;
        index.update(edgeText);
        DictionarySearch indexed;
        indexed.useLineIndex(&index);
        QCOMPARE(indexed.findAll(edgeText, u"bian1", false, 0, 20).entries, QStringList{edge.left(999)});
    }

    void findAllOrderWithoutRepeats()
    {
        const QString text = dict({
            QStringLiteral("# 中 header"),
            QStringLiteral("中国人 [Zhong1 guo2 ren2] /Chinese person/"),
            QStringLiteral("在中国 [zai4 Zhong1 guo2] /in China/"),
            QStringLiteral("中国 [Zhong1 guo2] /China/"),
            QStringLiteral("夏 [xia4] /中国 (old)/"),
            QStringLiteral("华 [hua2] /中国/"),
            QStringLiteral("汉 [han4] /old name of 中国/"),
            QStringLiteral("中国 [zhong1 guo2] /middle states/"),
        });
        DictionarySearch s;
        const DictionaryPage page = s.findAll(text, u"中国", false, 0, 20);
        // Whole Chinese, beginning of line, whole sense, beginning of a sense,
        // end of a sense, anywhere; the header holds no 中国 but 中 alone.
        QCOMPARE(chineseOf(page.entries),
                 (QStringList{u"中国"_qs, u"中国"_qs, u"中国人"_qs, u"华"_qs, u"夏"_qs, u"汉"_qs, u"在中国"_qs}));
        QVERIFY(!page.full);
        DictionaryLineIndex index;
        index.update(text);
        DictionarySearch indexed;
        indexed.useLineIndex(&index);
        QCOMPARE(indexed.findAll(text, u"中国", false, 0, 20).entries, page.entries);
        // English folds A to Z unless asked not to.
        QCOMPARE(chineseOf(s.findAll(text, u"CHINA", false, 0, 20).entries), (QStringList{u"中国"_qs, u"在中国"_qs}));
        QVERIFY(s.findAll(text, u"CHINA", true, 0, 20).entries.isEmpty());
        QVERIFY(s.findAll(text, u" \t", false, 0, 20).entries.isEmpty());
        // The header is text like any other for patterns without a line feed.
        QCOMPARE(chineseOf(s.findAll(text, u"header", false, 0, 20).entries), QStringList{u"#"_qs});
    }

    void foldedCopyFollowsTheText()
    {
        DictionarySearch s;
        QString text = dict({QStringLiteral("# h"), QStringLiteral("a [a1] /Apple/")});
        QCOMPARE(s.exactFind(text, u"apple", false).size(), 1);
        // A reload assigns another text: the next search sees it, even at the
        // same length.
        text = dict({QStringLiteral("# h"), QStringLiteral("b [b1] /Pearl/")});
        QVERIFY(s.exactFind(text, u"apple", false).isEmpty());
        QCOMPARE(s.exactFind(text, u"pearl", false).size(), 1);
        // Changed in place, too.
        text.replace(QStringLiteral("Pearl"), QStringLiteral("Plum!"));
        QVERIFY(s.exactFind(text, u"pearl", false).isEmpty());
        QCOMPARE(s.exactFind(text, u"plum!", false).size(), 1);
        s.clearCache();
        QCOMPARE(s.exactFind(text, u"PLUM!", false).size(), 1);
    }

    void pagesOfTwenty()
    {
        const QString text = dict(numbered(45, QStringLiteral("tea")));
        DictionarySearch s;
        DictionaryPaging paging;
        QCOMPARE(paging.move(DictionaryPaging::Request::NewSearch, QStringLiteral("  tea ")), QStringLiteral("tea"));
        QVERIFY(!paging.previousEnabled());
        DictionaryPage page =
            s.findAll(text, paging.dictSearchTerm, false, paging.dictFirstResult, paging.dictLastResult);
        QCOMPARE(page.entries.size(), 20);
        QCOMPARE(chineseOf(page.entries.first()), QStringLiteral("w1"));
        QCOMPARE(chineseOf(page.entries.last()), QStringLiteral("w20"));
        QVERIFY(page.full);

        paging.move(DictionaryPaging::Request::NextPage);
        QVERIFY(paging.previousEnabled());
        page = s.findAll(text, paging.dictSearchTerm, false, paging.dictFirstResult, paging.dictLastResult);
        QCOMPARE(chineseOf(page.entries.first()), QStringLiteral("w21"));
        QCOMPARE(chineseOf(page.entries.last()), QStringLiteral("w40"));
        QVERIFY(page.full);

        paging.move(DictionaryPaging::Request::NextPage);
        page = s.findAll(text, paging.dictSearchTerm, false, paging.dictFirstResult, paging.dictLastResult);
        QCOMPARE(chineseOf(page.entries), (QStringList{u"w41"_qs, u"w42"_qs, u"w43"_qs, u"w44"_qs, u"w45"_qs}));
        QVERIFY(!page.full);

        paging.move(DictionaryPaging::Request::PreviousPage);
        QCOMPARE(paging.dictFirstResult, 21);
        QCOMPARE(paging.dictLastResult, 40);
        paging.move(DictionaryPaging::Request::PreviousPage);
        QCOMPARE(paging.dictFirstResult, 0);
        QCOMPARE(paging.dictLastResult, 20);
        QVERIFY(!paging.previousEnabled());
        page = s.findAll(text, paging.dictSearchTerm, false, paging.dictFirstResult, paging.dictLastResult);
        QCOMPARE(chineseOf(page.entries.first()), QStringLiteral("w1"));

        // A page size chosen in between takes effect at the next move; a new
        // search starts at the first page, and the pages keep its term.
        paging.dictPageSize = 50;
        paging.move(DictionaryPaging::Request::NextPage);
        QCOMPARE(paging.dictFirstResult, 21);
        QCOMPARE(paging.dictLastResult, 70);
        paging.move(DictionaryPaging::Request::NewSearch, QStringLiteral("cup"));
        QCOMPARE(paging.dictLastResult, 50);
        QCOMPARE(paging.move(DictionaryPaging::Request::NextPage, QStringLiteral("ignored")), QStringLiteral("cup"));
    }

    void exactMultipleOfThePageSize()
    {
        // 40 results: the second page is full, so a next page is offered, and
        // it is empty.
        const QString text = dict(numbered(40, QStringLiteral("ink")));
        DictionarySearch s;
        QVERIFY(s.findAll(text, u"ink", false, 21, 40).full);
        const DictionaryPage last = s.findAll(text, u"ink", false, 41, 60);
        QVERIFY(last.entries.isEmpty());
        QVERIFY(!last.full);
    }

    void resultRows_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("pinyin");
        QTest::addColumn<QString>("translation");
        QTest::newRow("plain") << QStringLiteral("中国 [Zhong1 guo2] /China/Middle Kingdom/") << QStringLiteral("中国")
                               << QStringLiteral("<Zhong1 guo2>") << QStringLiteral("China; Middle Kingdom");
        QTest::newRow("qualifier then senses")
            << QStringLiteral("高 [gao1] /(of a person) tall/high/") << QStringLiteral("高") << QStringLiteral("<gao1>")
            << QStringLiteral("tall (of a person); high");
        QTest::newRow("qualifier, one sense") << QStringLiteral("音 [yin1] /(music) note/") << QStringLiteral("音")
                                              << QStringLiteral("<yin1>") << QStringLiteral("note (music)");
        QTest::newRow("all qualifier") << QStringLiteral("x [x1] /(abc)/") << QStringLiteral("x")
                                       << QStringLiteral("<x1>") << QStringLiteral("(abc)");
        QTest::newRow("no bracket") << QStringLiteral("no pinyin here /a/b/") << QString() << QString()
                                    << QStringLiteral("no pinyin here ; a; b");
        QTest::newRow("last line, no closing slash") << QStringLiteral("猫 [mao1] /cat/kitty") << QStringLiteral("猫")
                                                     << QStringLiteral("<mao1>") << QStringLiteral("cat; kitty");
        QTest::newRow("empty senses collapse") << QStringLiteral("y [y1] //a// b/") << QStringLiteral("y")
                                               << QStringLiteral("<y1>") << QStringLiteral("; a; ;  b");
        QTest::newRow("brackets inside the pinyin")
            << QStringLiteral("z [a[b]c] /s/") << QStringLiteral("z") << QStringLiteral("<abc>") << QStringLiteral("s");
    }
    void resultRows()
    {
        QFETCH(QString, entry);
        QFETCH(QString, chinese);
        QFETCH(QString, pinyin);
        QFETCH(QString, translation);
        // The converter marks what it was given, so the test sees exactly the
        // text handed to it.
        const DictionaryRow row =
            dictionaryRow(entry, [](const QString &p) { return p.isEmpty() ? p : u'<' + p + u'>'; });
        QCOMPARE(row.chinese, chinese);
        QCOMPARE(row.pinyin, pinyin);
        QCOMPARE(row.translation, translation);
    }
};

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
