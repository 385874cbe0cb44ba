// Stored items (length, zlib stream of size + file) and the wide string
// list's reading rule.
#include "platform/ui/Errors.h"
#include "reference/StoredItems.h"

#include <QtEndian>
#include <QtTest>
#include <zlib.h>

using namespace korvana;

namespace {

QByteArray le32(quint32 v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
    return b;
}

// A stored item made by hand, so that sizes can be made to lie.
QByteArray handMadeItem(quint32 claimedSize, const QByteArray &file)
{
    QByteArray plain = le32(claimedSize) + file;
    uLongf bound = compressBound(uLong(plain.size()));
    QByteArray stream(qsizetype(bound), '\0');
    compress2(reinterpret_cast<Bytef *>(stream.data()), &bound, reinterpret_cast<const Bytef *>(plain.constData()),
              uLong(plain.size()), 6);
    stream.truncate(qsizetype(bound));
    return le32(quint32(stream.size())) + stream;
}

void expectCorrupt(const QByteArray &stored)
{
    try {
        inflateStoredItem(stored);
        QFAIL("corrupt item was accepted");
    } catch (const Error &e) {
        QVERIFY(e.message().startsWith("Stored item is corrupt"));
    }
}

} // namespace

class TestStoredItems : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsEveryByte();
    void layoutAndZlibHeaders();
    void corruptItemsAreRejected();
    void itemsByIndex();
    void byteOrderMarks();
    void eightBitTextIsUtf8WithFallback();
    void textEndsAtFirstNul();
    void lineBreaks_data();
    void lineBreaks();
    void linesAreNormalisedToC();
};

void TestStoredItems::roundTripKeepsEveryByte()
{
    QByteArray file;
    for (int i = 0; i < 70000; ++i)
        file.append(char((i * 7919) >> 3));
    QCOMPARE(inflateStoredItem(deflateStoredItem(file, 6)), file);
    QCOMPARE(inflateStoredItem(deflateStoredItem(QByteArray(), 9)), QByteArray());
}

void TestStoredItems::layoutAndZlibHeaders()
{
    const QByteArray file = "@1;19968;yi\r\n";
    const QByteArray normal = deflateStoredItem(file, Z_DEFAULT_COMPRESSION);
    const QByteArray max = deflateStoredItem(file, 9);
    // 32-bit little-endian stream length, then the stream itself.
    QCOMPARE(qsizetype(qFromLittleEndian<quint32>(normal.constData())), normal.size() - 4);
    QCOMPARE(quint8(normal[4]), quint8(0x78));
    QCOMPARE(quint8(normal[5]), quint8(0x9C));
    QCOMPARE(quint8(max[5]), quint8(0xDA));
    // The stream holds the file's size before the file.
    QCOMPARE(inflateStoredItem(handMadeItem(quint32(file.size()), file)), file);
}

void TestStoredItems::corruptItemsAreRejected()
{
    const QByteArray file(5000, 'x');
    const QByteArray good = handMadeItem(5000, file);

    expectCorrupt(QByteArray());
    expectCorrupt(QByteArray("\x01\x00", 2));
    expectCorrupt(QByteArray("\x01\x00\x00", 3));
    // Stream length larger than the item, even by one byte.
    expectCorrupt(le32(quint32(good.size())) + good.mid(4));
    expectCorrupt(le32(quint32(good.size() - 3)) + good.mid(4));
    // Stream cut short.
    expectCorrupt(le32(quint32(good.size() - 14)) + good.mid(4, good.size() - 14));
    // Not zlib at all.
    expectCorrupt(le32(8) + QByteArray("garbage!"));
    // Stored size disagrees with the file, both ways.
    expectCorrupt(handMadeItem(4999, file));
    expectCorrupt(handMadeItem(5001, file));
    // An absurd size is not allocated.
    expectCorrupt(handMadeItem(0xFFFFFFF0u, file));
    // A damaged byte inside the stream is caught by zlib's check.
    QByteArray damaged = good;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x55);
    expectCorrupt(damaged);
}

void TestStoredItems::itemsByIndex()
{
    StoredItems items;
    items.append("A", "a.txt", deflateStoredItem("first", 6));
    items.append("B", "b.txt", QByteArray("broken"));
    QCOMPARE(items.count(), 2);
    QCOMPARE(items.item(1).name, QString("B"));
    QVERIFY_THROWS_EXCEPTION(Error, items.item(2));
    QVERIFY_THROWS_EXCEPTION(Error, items.item(-1));

    QCOMPARE(items.uncompressed(0), QByteArray("first"));
    // Inflated in place: the item now holds the file and says so.
    QCOMPARE(items.item(0).compression, StoredCompression::None);
    QCOMPARE(items.item(0).data, QByteArray("first"));
    QCOMPARE(items.uncompressed(0), QByteArray("first"));

    QVERIFY_THROWS_EXCEPTION(Error, items.uncompressed(1));
    QCOMPARE(items.item(1).data, QByteArray("broken"));
    QCOMPARE(items.item(1).compression, StoredCompression::Default);
}

void TestStoredItems::byteOrderMarks()
{
    const QByteArray le("\xFF\xFE"
                        "A\x00\x2D\x4E\n\x00",
                        8);
    QCOMPARE(loadWideStringList(le), QStringList{u"A\u4E2D"_qs});
    const QByteArray be("\xFE\xFF"
                        "\x00"
                        "A\x4E\x2D\x00\n",
                        8);
    QCOMPARE(loadWideStringList(be), QStringList{u"A\u4E2D"_qs});
    // A lone odd byte at the end of UTF-16 text is not a character.
    QCOMPARE(loadWideStringList(le + 'B'), QStringList{u"A\u4E2D"_qs});
}

void TestStoredItems::eightBitTextIsUtf8WithFallback()
{
    QCOMPARE(loadWideStringList("@5973;;;38.0;N\xC3\x9C"
                                "3;3;woman"),
             QStringList{u"@5973;;;38.0;N\u00DC3;3;woman"_qs});
    // Not valid UTF-8: read as Windows-1252, so nothing is lost.
    QCOMPARE(loadWideStringList("@38;22899;n\xFC\r\n\x80\x93"),
             (QStringList{u"@38;22899;n\u00FC"_qs, u"\u20AC\u201C"_qs}));
}

void TestStoredItems::textEndsAtFirstNul()
{
    QCOMPARE(loadWideStringList(QByteArray("one\r\ntwo\0three\r\nfour", 21)), (QStringList{"one", "two"}));
    QCOMPARE(loadWideStringListText(QByteArray("\0abc", 4)), QString());
}

void TestStoredItems::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("joined");

    QTest::newRow("crlf") << "a\r\nb" << QStringList{"a", "b"} << "a\r\nb";
    QTest::newRow("break at the end adds no line") << "a\r\nb\r\n" << QStringList{"a", "b"} << "a\r\nb";
    QTest::newRow("empty last line kept") << "a\r\n\r\n" << QStringList{"a", ""} << "a\r\n";
    QTest::newRow("lf cr is two breaks") << "a\n\rb" << QStringList{"a", "", "b"} << "a\r\n\r\nb";
    QTest::newRow("lone cr") << "a\rb" << QStringList{"a", "b"} << "a\r\nb";
    QTest::newRow("vt and ff") << "a\vb\fc" << QStringList{"a", "b", "c"} << "a\r\nb\r\nc";
    QTest::newRow("unicode separators") << u"a\u2028b\u2029c"_qs << QStringList{"a", "b", "c"} << "a\r\nb\r\nc";
    QTest::newRow("next line is no break") << u"a\u0085b"_qs << QStringList{u"a\u0085b"_qs} << u"a\u0085b"_qs;
    QTest::newRow("empty") << "" << QStringList{} << "";
    QTest::newRow("only a break") << "\r\n" << QStringList{""} << "";
}

void TestStoredItems::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QFETCH(QString, joined);
    const QByteArray utf8 = text.toUtf8();
    QCOMPARE(loadWideStringList(utf8), lines);
    QCOMPARE(loadWideStringListText(utf8), joined);
    QCOMPARE(loadWideStringListText(utf8), lines.join("\r\n"));
}

void TestStoredItems::linesAreNormalisedToC()
{
    // e + combining circumflex + combining macron: the circumflex composes,
    // the macron stays combining.
    const QString decomposed = u"E\u0302\u0304 a\u0301\r\nplain"_qs;
    const QStringList expected{u"\u00CA\u0304 \u00E1"_qs, "plain"};
    QCOMPARE(loadWideStringList(decomposed.toUtf8()), expected);
    QCOMPARE(loadWideStringListText(decomposed.toUtf8()), expected.join("\r\n"));
    // Singletons decompose under form C too: the Angstrom sign becomes Å,
    // the CJK compatibility ideograph its unified twin.
    QCOMPARE(loadWideStringListText(u"\u212B \uF900"_qs.toUtf8()), u"\u00C5 \u8C48"_qs);
    // The fourth tone's grave is the first combining mark of all.
    QCOMPARE(loadWideStringListText(u"a\u0300"_qs.toUtf8()), u"\u00E0"_qs);
}

QTEST_APPLESS_MAIN(TestStoredItems)
#include "tst_storeditems.moc"
