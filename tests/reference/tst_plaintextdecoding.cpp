// The reader's decoding of plain-text files: every file of the fixture table
// (tests/data/reader/encodings, written by make_fixtures.py beside it) shows
// its own text.
#include "reference/PlainTextDecoding.h"

#include <QFile>
#include <QtTest>

using namespace korvana;

class TestPlainTextDecoding : public QObject {
    Q_OBJECT

private slots:
    void eachFixtureShowsItsText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        const QString folder = QStringLiteral(KORVANA_TEST_DATA "/reader/encodings/");
        QFile cases(folder + QStringLiteral("cases.tsv"));
        QVERIFY(cases.open(QIODevice::ReadOnly));
        int rows = 0;
        while (!cases.atEnd()) {
            const QString line = QString::fromUtf8(cases.readLine()).chopped(1);
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            QVERIFY(tab > 0);
            const QString name = line.left(tab);
            QTest::newRow(qPrintable(name))
                << folder + name << line.mid(tab + 1).replace(QLatin1String("\\n"), QLatin1String("\n"));
            ++rows;
        }
        QVERIFY(rows > 0);
    }
    void eachFixtureShowsItsText()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const DecodedText d = decodePlainText(f.readAll());
        QVERIFY2(d.text == expected, qPrintable(d.encoding + QLatin1String(": ") + d.text));
    }
};

QTEST_GUILESS_MAIN(TestPlainTextDecoding)
#include "tst_plaintextdecoding.moc"
