// Dragging the borderless main window by its background under a real X
// server with a window manager: real pointer events (xdotool), the window
// system's own move, the docked tool bar following.
#include "practice/ToolBarWindow.h"
#include "support/AppTestSupport.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t spawn(const QList<QByteArray> &argv)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char *> args;
        for (const QByteArray &a : argv)
            args.push_back(const_cast<char *>(a.constData()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

// An X server of its own (Xvfb) with openbox, for this test only, so a
// developer's desktop is never touched. Each start is awaited through the
// servers' own ready signals, not by sleeping.
struct XSession {
    pid_t xvfb = 0;
    pid_t wm = 0;
    QByteArray display;
    QString why;

    XSession()
    {
        for (const char *tool : {"Xvfb", "openbox", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                why = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
                return;
            }
        }
        // Xvfb writes its display number to the descriptor once it accepts
        // connections.
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        xvfb = spawn(
            {"Xvfb", "-displayfd", QByteArray::number(ready[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        ::close(ready[1]);
        char number[16] = {};
        const ssize_t n = ::read(ready[0], number, sizeof number - 1);
        ::close(ready[0]);
        if (n <= 0) {
            why = QStringLiteral("Xvfb did not start");
            return;
        }
        display = ":" + QByteArray(number, int(n)).trimmed();
        qputenv("DISPLAY", display);
        // openbox runs its start-up command once it manages the screen.
        const QByteArray fifo = QDir::tempPath().toUtf8() + "/korvana-openbox-" + QByteArray::number(::getpid());
        ::mkfifo(fifo.constData(), 0600);
        wm = spawn({"openbox", "--sm-disable", "--startup", "sh -c 'echo up > " + fifo + "'"});
        const int fd = ::open(fifo.constData(), O_RDONLY);
        char up[8];
        const bool started = fd >= 0 && ::read(fd, up, sizeof up) > 0;
        if (fd >= 0)
            ::close(fd);
        ::unlink(fifo.constData());
        if (!started)
            why = QStringLiteral("openbox did not start");
    }
    ~XSession()
    {
        for (pid_t pid : {wm, xvfb}) {
            if (pid > 0) {
                ::kill(pid, SIGTERM);
                ::waitpid(pid, nullptr, 0);
            }
        }
    }
    bool ok() const { return why.isEmpty() && !display.isEmpty(); }
};

XSession *x;

// Notes the first mouse press any widget receives.
struct PressWatch : QObject {
    bool seen = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            seen = true;
        return false;
    }
};

} // namespace

class TestWindowDrag : public QObject {
    Q_OBJECT

    // Runs xdotool and lets the program take the events it caused.
    static bool xdotool(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral("xdotool"), args);
        if (!p.waitForFinished(10000) || p.exitCode() != 0)
            return false;
        QCoreApplication::processEvents();
        return true;
    }

private slots:
    void dragMovesWindowAndDockedToolBar()
    {
        if (!x->ok())
            QSKIP(qPrintable(QStringLiteral("needs a real X server with a window manager: ") + x->why));
        apptest::FreshProgram program(false);
        // The window manager activates the window: no reminder over it.
        korvana::SettingsFile::setShowReminder(false);
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
        toolBarWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(toolBarWindow));
        mainWindow->move(60, 80);
        QTRY_COMPARE(mainWindow->pos(), QPoint(60, 80));

        const QPoint grab = apptest::control<QWidget>("statusPanel")
                                ->mapToGlobal(QPoint(apptest::control<QWidget>("statusPanel")->width() / 2, 4));
        QWidget *under = QApplication::widgetAt(grab);
        QVERIFY(under == apptest::control<QWidget>("statusPanel") || under == apptest::control<QLabel>("statusLabel"));
        const QPoint delta(150, 90);
        QVERIFY(xdotool({"mousemove", "--sync", QString::number(grab.x()), QString::number(grab.y())}));
        PressWatch press;
        qApp->installEventFilter(&press);
        QVERIFY(xdotool({"mousedown", "1"}));
        // The program asks the window manager to move the window when it
        // takes the press; the pointer moves only after that.
        QTRY_VERIFY(press.seen);
        qApp->removeEventFilter(&press);
        for (int step = 1; step <= 3; ++step) {
            const QPoint to = grab + delta * step / 3;
            QVERIFY(xdotool({"mousemove", "--sync", QString::number(to.x()), QString::number(to.y())}));
        }
        QVERIFY(xdotool({"mouseup", "1"}));

        QTRY_COMPARE(mainWindow->pos(), QPoint(60, 80) + delta);
        const int screenWidth = mainWindow->screen()->geometry().width();
        QTRY_COMPARE(
            toolBarWindow->pos(),
            QPoint(ToolBarWindow::dockedLeft(mainWindow->x(), mainWindow->width(), screenWidth), mainWindow->y()));
    }
};

int main(int argc, char **argv)
{
    XSession session;
    x = &session;
    qputenv("QT_QPA_PLATFORM", session.ok() ? "xcb" : "offscreen");
    QApplication app(argc, argv);
    TestWindowDrag test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_drag.moc"
