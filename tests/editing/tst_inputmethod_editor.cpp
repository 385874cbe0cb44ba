// The lesson editor against a real IBus daemon on a private session bus: the
// engines listed by language, each field switching to its engine, the user's
// engine given back, and a daemon that dies under the editor.
#include "platform/keyboard/InputMethodLayouts.h"
#include "support/AppTestSupport.h"
#include "support/WindowTestFixture.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <QtTest>

using namespace korvana;

namespace {
// Runs an IBus-side tool to completion (bounded) in the C locale; its output.
QString tool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(10000))
        p.kill();
    p.waitForFinished(1000);
    return QString::fromUtf8(p.readAll()).trimmed();
}
QString activeEngine()
{
    return tool("ibus", {"engine"}).section('\n', -1);
}

void enter(QTextEdit *field)
{
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(field, &in);
}
} // namespace

class TestInputMethodEditor : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QProcess m_bus, m_daemon;
    std::unique_ptr<windowtest::Fixture> f;
    std::unique_ptr<LessonEditorWindow> m_editor;
    LessonEditorWindow *ed() { return m_editor.get(); }

private slots:
    void initTestCase()
    {
        for (const char *program : {"ibus", "ibus-daemon", "dbus-daemon", "gsettings"})
            if (QStandardPaths::findExecutable(program).isEmpty())
                QSKIP(
                    qPrintable(QStringLiteral("%1 is not installed: the Debian packages ibus, ibus-libpinyin, dbus and "
                                              "dconf-service come with scripts/install-deps.sh (KORVANA_TEST_DEPS=1)")
                                   .arg(program)));
        if (!QFile::exists("/usr/share/ibus/component/libpinyin.xml"))
            QSKIP("ibus-libpinyin is not installed (scripts/install-deps.sh with KORVANA_TEST_DEPS=1)");
        QVERIFY(m_home.isValid());
        // Everything the bus, dconf and the daemon keep goes into the test's home.
        apptest::useHomeFolders(m_home);
        const QString runtime = m_home.filePath("runtime");
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CACHE_HOME", m_home.filePath("cache").toUtf8());
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        for (const char *v : {"DISPLAY", "WAYLAND_DISPLAY", "IBUS_ADDRESS", "GSETTINGS_BACKEND", "LC_ALL"})
            qunsetenv(v);
        // A learner whose desktop is not Chinese: nothing may follow the locale.
        qputenv("LANG", "de_DE.UTF-8");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForStarted(5000));
        while (!m_bus.canReadLine() && m_bus.waitForReadyRead(10000)) {
        }
        const QByteArray address = m_bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);

        tool("gsettings", {"set", "org.freedesktop.ibus.general", "preload-engines", "['xkb:us::eng', 'libpinyin']"});
        QCOMPARE(tool("gsettings", {"get", "org.freedesktop.ibus.general", "preload-engines"}),
                 QStringLiteral("['xkb:us::eng', 'libpinyin']"));
        m_daemon.start("ibus-daemon", {"--replace", "--panel=disable"});
        QVERIFY(m_daemon.waitForStarted(5000));
        // The daemon takes a moment to answer; at most 20 s.
        QElapsedTimer wait;
        wait.start();
        for (QString out; (out = tool("ibus", {"engine"})).contains("onnect") || out.contains("IBUS_IS_BUS");) {
            QVERIFY2(wait.elapsed() < 20000, qPrintable(out));
            QThread::msleep(100);
        }
        tool("ibus", {"engine", "xkb:us::eng"});
        QCOMPARE(activeEngine(), QStringLiteral("xkb:us::eng"));

        KeyboardLayouts::setInstance(nullptr); // the program picks its own backend
        auto *im = dynamic_cast<InputMethodLayouts *>(&KeyboardLayouts::instance());
        QVERIFY(im);
        QCOMPARE(im->controller().framework(), QStringLiteral("IBus"));
        f = std::make_unique<windowtest::Fixture>();
        m_editor = windowtest::makeEditor(*f);
        f->editorHost.loadPending = true;
        ed()->fileName.clear();
        ed()->onActivate();
        ed()->show();
    }
    void cleanupTestCase()
    {
        m_editor.reset();
        f.reset();
        KeyboardLayouts::setInstance(nullptr);
        for (QProcess *p : {&m_daemon, &m_bus}) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    void init() { f->resetDialogs(); }

    void fieldsSwitchToTheirEngines()
    {
        for (QComboBox *cb :
             {ed()->panes[korvana::Pane::Translation].layouts, ed()->panes[korvana::Pane::Pinyin].layouts,
              ed()->panes[korvana::Pane::Characters].layouts, ed()->panes[korvana::Pane::Notes].layouts}) {
            QCOMPARE(cb->count(), 2);
            QCOMPARE(cb->itemText(0), QStringLiteral("CHS"));
            QCOMPARE(cb->itemText(1), QStringLiteral("ENU"));
        }
        // Only the characters start on Chinese; the others on the engine
        // the user had when the editor opened.
        QCOMPARE(ed()->panes[korvana::Pane::Characters].layouts->currentText(), QStringLiteral("CHS"));
        for (QComboBox *cb : {ed()->panes[korvana::Pane::Translation].layouts,
                              ed()->panes[korvana::Pane::Pinyin].layouts, ed()->panes[korvana::Pane::Notes].layouts})
            QCOMPARE(cb->currentText(), QStringLiteral("ENU"));
        enter(ed()->panes[korvana::Pane::Characters].view);
        QCOMPARE(activeEngine(), QStringLiteral("libpinyin"));
        enter(ed()->panes[korvana::Pane::Notes].view);
        QCOMPARE(activeEngine(), QStringLiteral("xkb:us::eng"));
        enter(ed()->panes[korvana::Pane::Characters].view);
        enter(ed()->panes[korvana::Pane::Translation].view);
        QCOMPARE(activeEngine(), QStringLiteral("xkb:us::eng"));
        enter(ed()->panes[korvana::Pane::Characters].view);
        QCOMPARE(activeEngine(), QStringLiteral("libpinyin"));
    }

    void theUsersEngineComesBack()
    {
        QEvent away(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(ed(), &away);
        QCOMPARE(activeEngine(), QStringLiteral("xkb:us::eng"));
        // Elsewhere the user picks pinyin; the editor takes over again on
        // entering a field and gives pinyin back when it closes.
        tool("ibus", {"engine", "libpinyin"});
        enter(ed()->panes[korvana::Pane::Translation].view);
        QCOMPARE(activeEngine(), QStringLiteral("xkb:us::eng"));
        ed()->close();
        QCOMPARE(activeEngine(), QStringLiteral("libpinyin"));
    }

    void aDeadDaemonDoesNotStopTheEditor()
    {
        ed()->show();
        enter(ed()->panes[korvana::Pane::Translation].view);
        QCOMPARE(activeEngine(), QStringLiteral("xkb:us::eng"));
        m_daemon.kill();
        QVERIFY(m_daemon.waitForFinished(5000));
        QElapsedTimer t;
        t.start();
        enter(ed()->panes[korvana::Pane::Characters].view);
        enter(ed()->panes[korvana::Pane::Pinyin].view);
        QVERIFY(ed()->activeField == korvana::Pane::Pinyin);
        QVERIFY(!KeyboardLayouts::instance().canSwitch());
        ed()->close();
        QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    }
};

QTEST_MAIN(TestInputMethodEditor)
#include "tst_inputmethod_editor.moc"
