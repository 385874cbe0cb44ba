// The input-method backend: names of engines, what the IBus tools' answers
// mean, and Fcitx 5 on a private session bus: through a stand-in of its D-Bus
// controller (languages, refusals), and a real fcitx5 started without a
// display with its keyboard engines only.
#include "platform/keyboard/Fcitx5Controller.h"
#include "platform/keyboard/IBusController.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

using namespace korvana;

struct FcitxItem {
    QString name, layout;
};
struct FcitxEngine {
    QString unique, name, native, icon, label, language;
    bool configurable = false;
};
Q_DECLARE_METATYPE(FcitxItem)
Q_DECLARE_METATYPE(FcitxEngine)

QDBusArgument &operator<<(QDBusArgument &a, const FcitxItem &i)
{
    a.beginStructure();
    a << i.name << i.layout;
    a.endStructure();
    return a;
}
const QDBusArgument &operator>>(const QDBusArgument &a, FcitxItem &i)
{
    a.beginStructure();
    a >> i.name >> i.layout;
    a.endStructure();
    return a;
}
QDBusArgument &operator<<(QDBusArgument &a, const FcitxEngine &e)
{
    a.beginStructure();
    a << e.unique << e.name << e.native << e.icon << e.label << e.language << e.configurable;
    a.endStructure();
    return a;
}
const QDBusArgument &operator>>(const QDBusArgument &a, FcitxEngine &e)
{
    a.beginStructure();
    a >> e.unique >> e.name >> e.native >> e.icon >> e.label >> e.language >> e.configurable;
    a.endStructure();
    return a;
}

// The Fcitx 5 controller as the backend sees it; "mozc" is configured but
// refuses to become active. Runs in its own thread, as a daemon would.
class FakeFcitx : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.fcitx.Fcitx.Controller1")
public:
    QString current() const { QMutexLocker l(&m_lock); return m_current; }
    QStringList switches() const { QMutexLocker l(&m_lock); return m_switches; }
public slots:
    QString CurrentInputMethod() const { return current(); }
    void SetCurrentIM(const QString &name)
    {
        QMutexLocker l(&m_lock);
        m_switches << name;
        if (name != QLatin1String("mozc"))
            m_current = name;
    }
    QString CurrentInputMethodGroup() const { return QStringLiteral("Work"); }
    QString InputMethodGroupInfo(const QString &group, QList<FcitxItem> &items) const
    {
        if (group == QLatin1String("Work"))
            items = {{"pinyin", ""}, {"keyboard-us", ""}, {"chewing", ""}, {"rime", ""}, {"mozc", ""}, {"keyboard-gb-extd", ""}};
        return QStringLiteral("us");
    }
    QList<FcitxEngine> AvailableInputMethods() const
    {
        return {{"keyboard-us", "English (US)", "", "", "en", "en", false}, {"pinyin", "Pinyin", "", "", "拼", "zh_CN", true},
                {"rime", "Rime", "", "", "ㄓ", "zh", true},              {"chewing", "Chewing", "", "", "酷", "zh_TW", true},
                {"mozc", "Mozc", "", "", "あ", "ja", true}};
    }

private:
    mutable QMutex m_lock;
    QString m_current = QStringLiteral("keyboard-us");
    QStringList m_switches;
};

class TestInputMethods : public QObject {
    Q_OBJECT

    QProcess m_bus;
    QString m_address;
    QThread m_thread;
    FakeFcitx *m_fake = nullptr;

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<FcitxItem>();
        qDBusRegisterMetaType<QList<FcitxItem>>();
        qDBusRegisterMetaType<FcitxEngine>();
        qDBusRegisterMetaType<QList<FcitxEngine>>();
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            return; // the cases that need a bus say so
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForStarted(5000));
        while (!m_bus.canReadLine() && m_bus.waitForReadyRead(10000)) {
        }
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
    }
    void cleanupTestCase()
    {
        m_thread.quit();
        m_thread.wait();
        delete m_fake;
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void engineNames()
    {
        const QList<QPair<QString, QString>> languages = {{"zh_CN", "CHS"}, {"zh_SG", "CHS"}, {"zh", "CHS"}, {"zh_TW", "CHT"},
                                                          {"zh_HK", "CHT"}, {"en", "ENU"},    {"en_GB", "ENG"}, {"de_DE", "DEU"},
                                                          {"de_CH", "DES"}, {"ja", "JPN"},    {"yue", "YUE"},   {"", ""}};
        for (const auto &[code, name] : languages)
            QCOMPARE(InputMethodLayouts::languageAbbreviation(code), name);
        // Keyboard engines go by their layout, whatever language they claim.
        QCOMPARE(InputMethodLayouts::engineAbbreviation({"xkb:gb:extd:eng", "en"}), QStringLiteral("ENG"));
        QCOMPARE(InputMethodLayouts::engineAbbreviation({"keyboard-de-nodeadkeys", ""}), QStringLiteral("DEU"));
        QCOMPARE(InputMethodLayouts::engineAbbreviation({"libpinyin", "zh_CN"}), QStringLiteral("CHS"));
    }

    void ibusToolAnswers()
    {
        QList<IBusController::Run> answers;
        QList<QStringList> asked;
        IBusController ibus([&](const QString &program, const QStringList &args) {
            asked << (QStringList{program} + args);
            return answers.isEmpty() ? IBusController::Run{} : answers.takeFirst();
        });
        answers = {{true, 1, "No engine is set.\n", ""}, {true, 1, "No engine is set.\n", "IBUS_IS_BUS (bus)' failed"},
                   {true, 1, "", "Can't connect to IBus.\n"}, {true, 0, "libpinyin\n", ""}, {false, -1, "", ""}};
        QCOMPARE(ibus.currentEngine(), std::optional<QString>(QString()));
        QCOMPARE(ibus.currentEngine(), std::nullopt); // the daemon went away
        QCOMPARE(ibus.currentEngine(), std::nullopt);
        QCOMPARE(ibus.currentEngine(), std::optional<QString>("libpinyin"));
        QCOMPARE(ibus.currentEngine(), std::nullopt); // timed out
        // The tool fails when it cannot reset the X keymap; reading back decides.
        answers = {{true, 1, "", "setxkbmap failed"}, {true, 0, "xkb:us::eng\n", ""}, {true, 0, "", ""}, {true, 0, "libpinyin\n", ""}};
        QCOMPARE(ibus.switchTo("xkb:us::eng"), InputMethodController::Switch::Done);
        QCOMPARE(ibus.switchTo("anthy"), InputMethodController::Switch::Refused);
        QCOMPARE(asked.last(), (QStringList{"ibus", "engine"}));

        QCOMPARE(IBusController::parseEngineList("['xkb:us::eng', 'libpinyin', 'xkb:us::eng']\n"),
                 (QStringList{"xkb:us::eng", "libpinyin"}));
        QVERIFY(IBusController::parseEngineList("@as []").isEmpty());
        const QHash<QString, QString> languages = IBusController::parseRegistryLanguages(
            "<ibus><component><name>org.freedesktop.IBus.Libpinyin</name><engines>"
            "<engine><name>libpinyin</name><language>zh_CN</language></engine>"
            "<engine><name>libbopomofo</name><longname>x</longname><language>zh_TW</language></engine>"
            "</engines></component></ibus>");
        QCOMPARE(languages, (QHash<QString, QString>{{"libpinyin", "zh_CN"}, {"libbopomofo", "zh_TW"}}));
    }

    void fcitxThroughItsController()
    {
        if (m_address.isEmpty())
            QSKIP("dbus-daemon is not installed (Debian package dbus)");
        QDBusConnection client = QDBusConnection::connectToBus(m_address, "client");
        QCOMPARE(Fcitx5Controller::detect(client), nullptr); // not running yet

        QDBusConnection daemon = QDBusConnection::connectToBus(m_address, "fcitx");
        m_fake = new FakeFcitx;
        m_fake->moveToThread(&m_thread);
        m_thread.start();
        QVERIFY(daemon.registerObject("/controller", m_fake, QDBusConnection::ExportAllSlots));
        QVERIFY(daemon.registerService("org.fcitx.Fcitx5"));

        std::unique_ptr<Fcitx5Controller> found = Fcitx5Controller::detect(client);
        QVERIFY(found);
        InputMethodLayouts layouts(std::move(found));
        QCOMPARE(layouts.engines().size(), 6);
        QStringList names;
        for (LayoutHandle h : layouts.layoutList(41))
            names << layouts.abbreviatedName(h);
        QCOMPARE(names, (QStringList{"CHS", "ENU", "CHT", "CHS", "JPN", "ENG"}));
        QCOMPARE(layouts.layoutList(2).size(), 2);

        QVERIFY(layouts.activate(1));
        QCOMPARE(m_fake->current(), QStringLiteral("pinyin"));
        QVERIFY(layouts.activate(3));
        QCOMPARE(m_fake->current(), QStringLiteral("chewing"));
        // An engine that will not become active is asked for once only.
        QVERIFY(!layouts.activate(5));
        QVERIFY(!layouts.activate(5));
        QCOMPARE(m_fake->switches().count("mozc"), 1);
        QCOMPARE(layouts.activeLayout(), LayoutHandle(5));
        QVERIFY(layouts.canSwitch());
        layouts.restore();
        QCOMPARE(m_fake->current(), QStringLiteral("keyboard-us"));
        layouts.restore(); // nothing taken over: nothing to give back
        QCOMPARE(m_fake->switches().size(), 4);

        // Fcitx quits: the editor goes on, and stops asking it.
        daemon.unregisterService("org.fcitx.Fcitx5");
        QElapsedTimer t;
        t.start();
        QVERIFY(!layouts.activate(2));
        QVERIFY(!layouts.canSwitch());
        QVERIFY(!layouts.activate(1));
        layouts.restore();
        QVERIFY(t.elapsed() < 3000);
        QCOMPARE(m_fake->switches().size(), 4);
    }

    void realFcitx5()
    {
        if (m_address.isEmpty() || QStandardPaths::findExecutable("fcitx5").isEmpty())
            QSKIP("fcitx5 or dbus-daemon is not installed (scripts/install-deps.sh with KORVANA_TEST_DEPS=1)");
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QVERIFY(QDir().mkpath(home.filePath("config/fcitx5")));
        QFile profile(home.filePath("config/fcitx5/profile"));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write("[Groups/0]\nName=Work\nDefault Layout=us\nDefaultIM=keyboard-us\n\n"
                      "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n[Groups/0/Items/1]\nName=keyboard-cn\nLayout=\n\n"
                      "[Groups/0/Items/2]\nName=keyboard-de\nLayout=\n\n[GroupOrder]\n0=Work\n");
        profile.close();
        QProcess fcitx;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *v : {"DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(v);
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
        fcitx.setProcessEnvironment(env);
        fcitx.start("fcitx5", {"--disable=all", "--enable=dbus,dbusfrontend,keyboard"});
        QVERIFY(fcitx.waitForStarted(5000));
        const auto stop = qScopeGuard([&] {
            fcitx.kill();
            fcitx.waitForFinished(5000);
        });
        QDBusConnection app = QDBusConnection::connectToBus(m_address, "app");
        // Fcitx takes a moment to claim its name; at most 20 s.
        QElapsedTimer wait;
        wait.start();
        std::unique_ptr<Fcitx5Controller> found;
        while (!(found = Fcitx5Controller::detect(app)) && wait.elapsed() < 20000)
            QThread::msleep(100);
        QVERIFY(found);
        // Fcitx switches the focused input context: this connection's, as a
        // window of the program would have.
        QDBusMessage create = QDBusMessage::createMethodCall("org.fcitx.Fcitx5", "/org/freedesktop/portal/inputmethod",
                                                             "org.fcitx.Fcitx.InputMethod1", "CreateInputContext");
        create << QVariant::fromValue(QList<FcitxItem>{{"program", "korvana"}});
        const QDBusMessage context = app.call(create, QDBus::Block, 5000);
        QCOMPARE(context.type(), QDBusMessage::ReplyMessage);
        const QString contextPath = context.arguments().value(0).value<QDBusObjectPath>().path();
        const QDBusMessage focused = app.call(
            QDBusMessage::createMethodCall("org.fcitx.Fcitx5", contextPath, "org.fcitx.Fcitx.InputContext1", "FocusIn"),
            QDBus::Block, 5000);
        QCOMPARE(focused.type(), QDBusMessage::ReplyMessage);

        InputMethodLayouts layouts(std::move(found));
        QStringList names;
        for (LayoutHandle h : layouts.layoutList(41))
            names << layouts.abbreviatedName(h);
        QCOMPARE(names, (QStringList{"ENU", "CHS", "DEU"}));
        QCOMPARE(layouts.controller().currentEngine(), std::optional<QString>("keyboard-us"));
        QVERIFY(layouts.activate(2));
        QCOMPARE(layouts.controller().currentEngine(), std::optional<QString>("keyboard-cn"));
        QVERIFY(layouts.activate(3));
        layouts.restore();
        QCOMPARE(layouts.controller().currentEngine(), std::optional<QString>("keyboard-us"));

        fcitx.kill();
        QVERIFY(fcitx.waitForFinished(5000));
        QElapsedTimer t;
        t.start();
        QVERIFY(!layouts.activate(2));
        QVERIFY(!layouts.canSwitch());
        QVERIFY(t.elapsed() < 5000);
    }
};

QTEST_GUILESS_MAIN(TestInputMethods)
#include "tst_inputmethods.moc"
