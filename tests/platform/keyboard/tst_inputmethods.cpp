// The input-method backend: names of engines, what the IBus tools' answers
// mean, taking the input method over and giving it back, and a real fcitx5
// started on a private session bus without a display, with keyboard engines.
#include "platform/keyboard/Fcitx5Controller.h"
#include "platform/keyboard/IBusController.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace korvana;

// Fcitx's (ss) pairs: the client properties of an input context.
struct StringPair {
    QString first, second;
};
Q_DECLARE_METATYPE(StringPair)
QDBusArgument &operator<<(QDBusArgument &a, const StringPair &p)
{
    a.beginStructure();
    a << p.first << p.second;
    a.endStructure();
    return a;
}
const QDBusArgument &operator>>(const QDBusArgument &a, StringPair &p)
{
    a.beginStructure();
    a >> p.first >> p.second;
    a.endStructure();
    return a;
}

namespace {
// An input method that answers from a script and records the switches asked.
struct ScriptedInputMethod : InputMethodController {
    QString current = "en-engine";
    QStringList refuses, switches;
    bool answers = true;
    QString framework() const override { return "scripted"; }
    std::optional<QList<InputMethodEngine>> configuredEngines() override
    {
        if (!answers)
            return std::nullopt;
        return QList<InputMethodEngine>{{"zh-engine", "zh_CN"}, {"ja-engine", "ja"}, {"en-engine", "en_US"}};
    }
    std::optional<QString> currentEngine() override { return answers ? std::optional(current) : std::nullopt; }
    Switch switchTo(const QString &engine) override
    {
        switches << engine;
        if (!answers)
            return Switch::Unreachable;
        if (refuses.contains(engine))
            return Switch::Refused;
        current = engine;
        return Switch::Done;
    }
};
} // namespace

class TestInputMethods : public QObject {
    Q_OBJECT

private slots:
    void engineNames()
    {
        // code=name pairs: territories first, then the bare language, else the code itself.
        const QString languages =
            "zh_CN=CHS zh_SG=CHS zh=CHS zh_TW=CHT zh-TW=CHT zh_HK=CHT zh_mo=CHT yue=YUE = en_GB.UTF-8=ENG de_DE=DEU "
            "en=ENU en_gb=ENG en_au=ENA en_ca=ENC en_ie=ENI en_nz=ENZ de=DEU de_ch=DES de_at=DEA fr=FRA fr_ca=FRC "
            "fr_be=FRB fr_ch=FRS es=ESP es_mx=ESM it=ITA pt=PTB pt_pt=PTG nl=NLD da=DAN nb=NOR no=NOR sv=SVE fi=FIN "
            "is=ISL pl=PLK cs=CSY sk=SKY hu=HUN sl=SLV hr=HRV sr=SRB ro=ROM bg=BGR el=ELL tr=TRK ru=RUS uk=UKR be=BEL "
            "lt=LTH lv=LVI et=ETI he=HEB ar=ARA fa=FAR hi=HIN th=THA vi=VIT ja=JPN ko=KOR";
        for (const QString &pair : languages.split(u' '))
            QCOMPARE(InputMethodLayouts::languageAbbreviation(pair.section(u'=', 0, 0)), pair.section(u'=', 1));
        // Keyboard engines go by their layout, whatever language they claim.
        QCOMPARE(InputMethodLayouts::engineAbbreviation({"xkb:gb:extd:eng", "en"}), QStringLiteral("ENG"));
        QCOMPARE(InputMethodLayouts::engineAbbreviation({"keyboard-de-nodeadkeys", ""}), QStringLiteral("DEU"));
        QCOMPARE(InputMethodLayouts::engineAbbreviation({"libpinyin", "zh_CN"}), QStringLiteral("CHS"));
    }

    void ibusToolAnswers()
    {
        QList<IBusController::Run> answers = {{true, 1, "No engine is set.\n", ""},
                                              {true, 1, "No engine is set.\n", "IBUS_IS_BUS (bus)' failed"},
                                              {true, 1, "", "Can't connect to IBus.\n"},
                                              {false, -1, "", ""},
                                              {true, 1, "", "setxkbmap failed"},
                                              {true, 0, "xkb:us::eng\n", ""},
                                              {true, 0, "", ""},
                                              {true, 0, "libpinyin\n", ""},
                                              {true, 0, "(ibus:7): GLib-WARNING **: x\nlibpinyin\n", ""},
                                              {false, -1, "", ""},
                                              {true, 0, "", ""},
                                              {true, 1, "", "Can't connect to IBus.\n"},
                                              {true, 1, "error: no such engine\n", ""}};
        QStringList switches; // the engine named to the tool each time
        IBusController ibus([&](const QString &, const QStringList &args) {
            switches << args.mid(1);
            return answers.takeFirst();
        });
        QCOMPARE(ibus.currentEngine(), std::optional<QString>(QString()));
        QCOMPARE(ibus.currentEngine(), std::nullopt); // the daemon went away
        QCOMPARE(ibus.currentEngine(), std::nullopt);
        QCOMPARE(ibus.currentEngine(), std::nullopt); // timed out
        // The tool fails when it cannot reset the X keymap; reading back decides.
        QCOMPARE(ibus.switchTo("xkb:us::eng"), InputMethodController::Switch::Done);
        QCOMPARE(ibus.switchTo("anthy"), InputMethodController::Switch::Refused);
        // The engine is the last line the tool prints.
        QCOMPARE(ibus.currentEngine(), std::optional<QString>("libpinyin"));
        // No daemon when switching, or when reading back; then any other failure.
        QCOMPARE(ibus.switchTo("anthy"), InputMethodController::Switch::Unreachable);
        QCOMPARE(ibus.switchTo("anthy"), InputMethodController::Switch::Unreachable);
        QCOMPARE(ibus.currentEngine(), std::nullopt);
        QCOMPARE(switches, (QStringList{"xkb:us::eng", "anthy", "anthy", "anthy"}));
        QCOMPARE(IBusController::parseEngineList("['xkb:us::eng', '', 'it\\'s', 'libpinyin', 'xkb:us::eng']\n"),
                 (QStringList{"xkb:us::eng", "it's", "libpinyin"}));
        // An engine listed twice keeps its first language; only an engine's own
        // name and language count.
        QCOMPARE(IBusController::parseRegistryLanguages(
                     "<engines><name>x</name><engine><name>libpinyin</name><language>zh_CN</language></engine>"
                     "<engine><name>libpinyin</name><language>en</language></engine>"
                     "<engine><name>anthy</name><layout><name>jp</name></layout></engine></engines>"),
                 (QHash<QString, QString>{{"libpinyin", "zh_CN"}, {"anthy", ""}}));
        // The preloaded engines, with their languages from the registry.
        QHash<QString, IBusController::Run> tools = {
            {"get org.freedesktop.ibus.general preload-engines", {true, 0, "['xkb:us::eng', 'libpinyin']\n", ""}},
            {"read-cache",
             {true, 0, "<engines><engine><name>libpinyin</name><language>zh_CN</language></engine></engines>", ""}},
            {"engine", {true, 0, "anthy\n", ""}}};
        IBusController configured([&](const QString &program, const QStringList &args) {
            return tools.value(program == "ibus" ? args.value(0) : args.join(' '));
        });
        QCOMPARE(configured.configuredEngines(),
                 std::optional(QList<InputMethodEngine>{{"xkb:us::eng", ""}, {"libpinyin", "zh_CN"}}));
        // Nothing preloaded, no registry: the engine set now; no engine set:
        // no engines, not a nameless one; no daemon: none.
        tools["get org.freedesktop.ibus.general preload-engines"] = {true, 0, "@as []\n", ""};
        tools["read-cache"] = {true, 1, "", "Can't connect to IBus.\n"};
        QCOMPARE(configured.configuredEngines(), std::optional(QList<InputMethodEngine>{{"anthy", ""}}));
        tools["engine"] = {true, 1, "No engine is set.\n", ""};
        QCOMPARE(configured.configuredEngines(), std::optional(QList<InputMethodEngine>{}));
        tools["engine"] = tools["read-cache"];
        QCOMPARE(configured.configuredEngines(), std::nullopt);
        // The tools run in the C locale, within the time allowed, and must end normally.
        const IBusController::Runner run = IBusController::processRunner(5000);
        const IBusController::Run r = run("sh", {"-c", "echo $LC_ALL; echo bad >&2; exit 3"});
        QCOMPARE((QStringList{QString::number(r.finished), QString::number(r.exitCode), r.out, r.err}),
                 (QStringList{"1", "3", "C\n", "bad\n"}));
        QVERIFY(!run("sh", {"-c", "kill -9 $$"}).finished && !run("korvana-no-such-tool", {}).finished);
        QVERIFY(!IBusController::processRunner(50)("sleep", {"5"}).finished);
    }

    void noEngineSetIsNoEngine()
    {
        // Nothing to give back when nothing was set before.
        auto owned = std::make_unique<ScriptedInputMethod>();
        owned->current.clear();
        ScriptedInputMethod &im = *owned;
        InputMethodLayouts layouts(std::move(owned));
        QVERIFY(layouts.activate(1));
        layouts.restore();
        QCOMPARE(im.switches, QStringList{"zh-engine"});
    }

    void takingOverAndGivingBack()
    {
        auto owned = std::make_unique<ScriptedInputMethod>();
        ScriptedInputMethod &im = *owned;
        InputMethodLayouts layouts(std::move(owned));
        im.refuses = {"ja-engine"};
        // Handles count from 1 to the number of engines.
        QCOMPARE(layouts.layoutList(2), (QList<LayoutHandle>{1, 2}));
        QCOMPARE(layouts.abbreviatedName(3), QStringLiteral("ENU"));
        QVERIFY(layouts.abbreviatedName(4).isEmpty() && layouts.abbreviatedName(0).isEmpty());
        QVERIFY(!layouts.activate(4) && !layouts.activate(0));
        QVERIFY(layouts.activate(1));
        QCOMPARE(layouts.userLayout(), LayoutHandle(3)); // still the one the user had
        // A refused engine is asked for once; the choice is still recorded.
        QVERIFY(!layouts.activate(2));
        QVERIFY(!layouts.activate(2));
        QCOMPARE(layouts.activeLayout(), LayoutHandle(2));
        QVERIFY(layouts.canSwitch());
        layouts.restore();
        layouts.restore(); // nothing taken over, nothing to give back
        QCOMPARE(im.switches, (QStringList{"zh-engine", "ja-engine", "en-engine"}));
        // The user changed engines meanwhile: that one comes back next time.
        im.current = "zh-engine";
        QVERIFY(layouts.activate(3));
        layouts.restore();
        QCOMPARE(im.current, QStringLiteral("zh-engine"));
        QCOMPARE(layouts.userLayout(), LayoutHandle(1)); // the first engine is found too
        // Quitting gives it back too.
        QVERIFY(layouts.activate(3));
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        QCOMPARE(im.current, QStringLiteral("zh-engine"));
        // Gone: nothing more is asked of it.
        im.answers = false;
        im.switches.clear();
        QVERIFY(!layouts.activate(1));
        QVERIFY(!layouts.canSwitch());
        QVERIFY(!layouts.activate(3));
        layouts.restore();
        QVERIFY(im.switches.isEmpty());
        InputMethodLayouts silent(std::make_unique<ScriptedInputMethod>(im)); // never answered at all
        QVERIFY(silent.layoutList(41).isEmpty() && !silent.canSwitch() && silent.userLayout() == 0);
    }

    void realFcitx5()
    {
        for (const char *program : {"dbus-daemon", "fcitx5"})
            if (QStandardPaths::findExecutable(program).isEmpty())
                QSKIP(
                    qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh with KORVANA_TEST_DEPS=1)")
                                   .arg(program)));
        QTemporaryDir home;
        QVERIFY(home.isValid() && QDir().mkpath(home.filePath("config/fcitx5")));
        QFile profile(home.filePath("config/fcitx5/profile"));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write(
            "[Groups/0]\nName=Work\nDefault Layout=us\nDefaultIM=keyboard-us\n\n"
            "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n[Groups/0/Items/1]\nName=keyboard-cn\nLayout=\n\n"
            "[Groups/0/Items/2]\nName=keyboard-de\nLayout=\n\n[GroupOrder]\n0=Work\n");
        profile.close();

        QProcess bus, fcitx;
        const auto stop = qScopeGuard([&] {
            for (QProcess *p : {&fcitx, &bus}) {
                p->kill();
                p->waitForFinished(5000);
            }
        });
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(bus.waitForStarted(5000));
        while (!bus.canReadLine() && bus.waitForReadyRead(10000)) {
        }
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        QVERIFY(!address.isEmpty());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        fcitx.setProcessEnvironment(env);
        fcitx.start("fcitx5", {"--disable=all", "--enable=dbus,dbusfrontend,keyboard"});
        QVERIFY(fcitx.waitForStarted(5000));

        QDBusConnection app = QDBusConnection::connectToBus(address, "app");
        // Fcitx takes a moment to claim its name; at most 20 s.
        QElapsedTimer wait;
        wait.start();
        std::unique_ptr<Fcitx5Controller> found;
        while (!(found = Fcitx5Controller::detect(app)) && wait.elapsed() < 20000)
            QThread::msleep(100);
        QVERIFY(found);
        // Fcitx switches the focused input context: this connection's, as a
        // window of the program would have.
        qDBusRegisterMetaType<StringPair>();
        qDBusRegisterMetaType<QList<StringPair>>();
        QDBusMessage create = QDBusMessage::createMethodCall("org.fcitx.Fcitx5", "/org/freedesktop/portal/inputmethod",
                                                             "org.fcitx.Fcitx.InputMethod1", "CreateInputContext");
        create << QVariant::fromValue(QList<StringPair>{{"program", "korvana"}});
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
        QCOMPARE(layouts.engines().at(1), (InputMethodEngine{"keyboard-cn", "zh"}));
        QCOMPARE(layouts.controller().currentEngine(), std::optional<QString>("keyboard-us"));
        QVERIFY(layouts.activate(2));
        QCOMPARE(layouts.controller().currentEngine(), std::optional<QString>("keyboard-cn"));
        QVERIFY(layouts.activate(3));
        layouts.restore();
        QCOMPARE(layouts.controller().currentEngine(), std::optional<QString>("keyboard-us"));
        QCOMPARE(layouts.controller().switchTo("no-such-engine"), InputMethodController::Switch::Refused);

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
