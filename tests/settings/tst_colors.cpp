#include "platform/ui/Errors.h"
#include "settings/Colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSet>
#include <QtTest>

using namespace korvana;

class TestColors : public QObject {
    Q_OBJECT

private slots:
    void nameTableIsConsistent();
    void valuesWithoutNameAreHex_data();
    void valuesWithoutNameAreHex();
    void everyWrittenValueReadsBack();
    void textThatIsNoColour();
    void skinColours_data();
    void skinColours();
    void paintColours();
    void readableColours();
};

void TestColors::nameTableIsConsistent()
{
    QSet<QString> names;
    QSet<quint32> values;
    int system = 0;
    for (const ColorName &row : colorNames()) {
        const QString name = QString::fromLatin1(row.name);
        QCOMPARE(colorToString(row.value), name);
        QCOMPARE(parseColor(name.toUpper()), std::optional<quint32>(row.value));
        names.insert(name.toLower());
        values.insert(row.value);
        if (row.value & colors::SystemColorFlag) {
            ++system;
            QVERIFY((row.value & ~colors::SystemColorFlag) <= 30);
            QVERIFY((row.value & ~colors::SystemColorFlag) != 25);
        }
    }
    const qsizetype rows = qsizetype(colorNames().size());
    QCOMPARE(names.size(), rows);  // no name twice, in any letter case
    QCOMPARE(values.size(), rows); // so every value has exactly one name
    QCOMPARE(system, 30);
    QCOMPARE(colorToString(0x8000000F), QString("clBtnFace"));
    QCOMPARE(colorToString(0x80000000), QString("clScrollBar"));
    QCOMPARE(colorToString(0x8000001E), QString("clMenuBar"));
    QCOMPARE(colorToString(0x1FFFFFFF), QString("clNone"));
    QCOMPARE(colorToString(0x20000000), QString("clDefault"));
}

void TestColors::valuesWithoutNameAreHex_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("screen background") << quint32(0x00404000) << "$00404000";
    QTest::newRow("upper case") << quint32(0x00abcdef) << "$00ABCDEF";
    QTest::newRow("system index 25") << quint32(0x80000019) << "$80000019";
    QTest::newRow("all bits") << quint32(0xFFFFFFFF) << "$FFFFFFFF";
}

void TestColors::valuesWithoutNameAreHex()
{
    QFETCH(quint32, value);
    QFETCH(QString, text);
    QCOMPARE(colorToString(value), text);
    QCOMPARE(parseColor(text), std::optional<quint32>(value));
}

void TestColors::everyWrittenValueReadsBack()
{
    // Values around the places where signed and unsigned readings part.
    const quint32 samples[] = {0, 0x7FFFFFFF, 0x80000000, 0x80000005, 0x8000001F, 0xFFFFFFFE, 0x00FF00FF, 0x01000000};
    for (quint32 v : samples)
        QCOMPARE(parseColor(colorToString(v)), std::optional<quint32>(v));
    QCOMPARE(parseColor("255"), std::optional<quint32>(colors::clRed));
    QCOMPARE(parseColor("-2147483643"), std::optional<quint32>(0x80000005));
    QCOMPARE(parseColor("0xFF0000"), std::optional<quint32>(colors::clBlue));
}

void TestColors::textThatIsNoColour()
{
    QCOMPARE(parseColor("white"), std::nullopt);
    QCOMPARE(parseColor(""), std::nullopt);
    QCOMPARE(parseColor("$100000000"), std::nullopt);
    try {
        stringToColor("white");
        QFAIL("a word is no colour");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QString("'white' is not a valid integer value"));
    }
}

void TestColors::skinColours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("value");
    QTest::newRow("ivory") << "#fffff0" << quint32(0xF0FFFF);
    QTest::newRow("green") << "#00ff00" << quint32(0x00FF00);
    QTest::newRow("red first") << "#FF0000" << quint32(0x0000FF);
    QTest::newRow("not hex") << "#zz0000" << quint32(0);
    QTest::newRow("empty") << "" << quint32(0);
    QTest::newRow("first character not looked at") << "x123456" << quint32(0x563412);
    QTest::newRow("short") << "#abc" << quint32(0x00CAB);
}

void TestColors::skinColours()
{
    QFETCH(QString, text);
    QFETCH(quint32, value);
    QCOMPARE(htmlColorToColor(text), value);
}

void TestColors::paintColours()
{
    QCOMPARE(toQColor(colors::clRed), QColor(255, 0, 0));
    QCOMPARE(toQColor(0x00404000), QColor(0, 64, 64));
    QCOMPARE(fromQColor(QColor(0, 64, 64)), quint32(0x00404000));
    QCOMPARE(fromQColor(toQColor(0x00123456)), quint32(0x00123456));
    QCOMPARE(toQColor(colors::clNone).alpha(), 0);
    QVERIFY(!toQColor(colors::clDefault).isValid());
    // System colours follow the desktop's palette.
    const QPalette palette = QGuiApplication::palette();
    QCOMPARE(toQColor(colors::clBtnFace), palette.color(QPalette::Active, QPalette::Button));
    QCOMPARE(toQColor(colors::clWindowText), palette.color(QPalette::Active, QPalette::Text));
    QCOMPARE(toQColor(0x8000000D), palette.color(QPalette::Active, QPalette::Highlight));
    // The last system colour (menu bar) and one past it.
    QCOMPARE(toQColor(0x8000001E), palette.color(QPalette::Active, QPalette::Window));
    QCOMPARE(toQColor(0x8000001F), QColor(Qt::black));
}

void TestColors::readableColours()
{
    // The WCAG's own figures.
    QCOMPARE(qRound(contrastRatio(Qt::black, Qt::white) * 100), 2100);
    QCOMPARE(qRound(contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) * 100), 448);
    QCOMPARE(qRound(contrastRatio(Qt::white, QColor(0x76, 0x76, 0x76)) * 100), 454);
    QCOMPARE(qRound(contrastRatio(Qt::green, Qt::black) * 100), 1530);
    QCOMPARE(qRound(contrastRatio(Qt::black, Qt::blue) * 100), 244);

    const struct {
        QColor color;
        QList<QColor> backgrounds;
        QColor expected; // invalid: no colour reads
    } cases[] = {
        {Qt::black, {QColor(0xff, 0xf6, 0xe6)}, Qt::black},                // reads: kept
        {Qt::black, {Qt::black}, QColor(0x97, 0x97, 0x97)},                // black on black: lightened to 7 : 1
        {QColor(0x80, 0x80, 0x80), {Qt::white}, QColor(0x58, 0x58, 0x58)}, // grey darkened to 7 : 1
        {Qt::black, {Qt::black, Qt::white}, QColor()},                     // a picture both dark and light
    };
    for (const auto &c : cases) {
        const std::optional<QColor> got = readableColor(c.color, c.backgrounds);
        QCOMPARE(got.has_value(), c.expected.isValid());
        if (got) {
            QCOMPARE(*got, c.expected);
            QVERIFY(worstContrast(*got, c.backgrounds) >= ReadableContrast);
        }
    }

    // A picture's colours are cell means, within the picture: a half that
    // differs is a colour of its own.
    QImage picture(16, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    QCOMPARE(pictureColors(picture, QRect(-4, 0, 40, 8), 8), (QList<QColor>{Qt::white, Qt::black}));
    QCOMPARE(pictureColors(picture, QRect(0, 0, 4, 4), 8), QList<QColor>{Qt::white}); // less than a cell is one
    // What a caption stands on is their mean, channel by channel.
    QCOMPARE(meanColor({QColor(10, 200, 0), QColor(20, 0, 0)}), QColor(15, 100, 0));
}

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
