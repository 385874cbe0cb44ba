// Flash timing without a window: the size table, the strict and bounded
// reading of the flash texts, and the clock's waits, which keep the message
// queue running and end as soon as they are stopped.
#include "platform/ui/Errors.h"
#include "practice/FlashTiming.h"

#include <QTimer>
#include <QtTest>

using namespace korvana;

class TestFlashTiming : public QObject {
    Q_OBJECT

private slots:
    void sizeTable()
    {
        const int expected[] = {50, 300, 250, 200, 150, 120, 100, 90, 80, 50, 50};
        for (int n = 0; n <= 10; ++n)
            QCOMPARE(flashFontSize(n), expected[n]);
        QCOMPARE(flashFontSize(-1), 50);
    }

    void textsAreReadAsCountsAndBoundedWaits()
    {
        QCOMPARE(flashCycles(QStringLiteral("0")), 1);
        QCOMPARE(flashCycles(QStringLiteral(" 20")), 21);
        QCOMPARE(flashCycles(QStringLiteral("$10")), 17);
        QCOMPARE(flashCycles(QStringLiteral("-1")), 0);
        QCOMPARE((QList<int>{flashCycles("998"), flashCycles("999"), flashCycles("1000"), flashCycles("2147483647")}),
                 (QList<int>{999, 1000, 1000, FlashLimits::MaxCycles}));
        QCOMPARE((QList<int>{flashDelayMs("0"), flashDelayMs("9999"), flashDelayMs("10001"), FlashLimits::MaxWaitMs}),
                 (QList<int>{0, 9999, 10000, 10000}));
        QCOMPARE(flashDelayMs(QStringLiteral("1000")), 1000);
        QCOMPARE(flashDelayMs(QStringLiteral("-7")), -1);
        QCOMPARE(flashPeriodMs(QStringLiteral("40")), 40);
        QCOMPARE(flashPeriodMs(QStringLiteral("999999999")), FlashLimits::MaxWaitMs);
    }

    void badTextsFailStrictly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("trailing") << QStringLiteral("40ms");
        QTest::newRow("fraction") << QStringLiteral("1.5");
        QTest::newRow("too big") << QStringLiteral("2147483648");
    }
    void badTextsFailStrictly()
    {
        QFETCH(QString, text);
        const QString message = QStringLiteral("'%1' is not a valid integer value").arg(text);
        for (auto read : {&flashDelayMs, &flashCycles, &flashPeriodMs}) {
            try {
                read(text);
                QFAIL("no error");
            } catch (const Error &e) {
                QCOMPARE(e.message(), message);
            }
        }
    }

    void stoppedClockDoesNotWait()
    {
        SystemFlashClock clock;
        int asked = 0;
        QVERIFY(!clock.wait(FlashLimits::MaxWaitMs, [&] {
            ++asked;
            return true;
        }));
        QCOMPARE(asked, 1);
        QVERIFY(clock.wait(-1, [] { return false; }));
        QVERIFY(clock.wait(-1, {}));
    }

    void stopArrivingAsAnEventEndsTheWait()
    {
        // The stop comes from an event handled inside the wait, so the wait
        // keeps the queue running; it ends long before its period.
        SystemFlashClock clock;
        bool stop = false;
        bool handled = false;
        QTimer::singleShot(0, [&] {
            handled = true;
            stop = true;
        });
        QVERIFY(!clock.wait(FlashLimits::MaxWaitMs, [&] { return stop; }));
        QVERIFY(handled);
    }
};

QTEST_MAIN(TestFlashTiming)
#include "tst_flashtiming.moc"
