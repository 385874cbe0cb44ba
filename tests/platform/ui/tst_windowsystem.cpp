// The Qt platform chosen from the session's environment.
#include "platform/ui/WindowSystem.h"

#include <QtTest>

class TestWindowSystem : public QObject {
    Q_OBJECT
private slots:
    void platformChoice_data()
    {
        QTest::addColumn<QByteArray>("qpa");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("chosen");
        QTest::newRow("Wayland with XWayland")
            << QByteArray() << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("xcb");
        QTest::newRow("Wayland alone") << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray();
        QTest::newRow("X11 alone") << QByteArray() << QByteArray() << QByteArray(":0") << QByteArray();
        QTest::newRow("no display") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("user chose wayland")
            << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0") << QByteArray();
        QTest::newRow("user chose offscreen")
            << QByteArray("offscreen") << QByteArray("wayland-0") << QByteArray(":0") << QByteArray();
    }
    void platformChoice()
    {
        QFETCH(QByteArray, qpa);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, chosen);
        QCOMPARE(korvana::chooseQtPlatform(qpa, wayland, display), chosen);
    }
};

QTEST_GUILESS_MAIN(TestWindowSystem)
#include "tst_windowsystem.moc"
