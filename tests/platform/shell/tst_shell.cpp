// The desktop shell layer: what a target becomes when handed to the desktop,
// a parameter text as arguments, and the installed instance.
#include "support/RecordingShell.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace korvana;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void linksStayLinksAndPathsBecomeFiles()
    {
        QCOMPARE(Shell::urlFor(QStringLiteral("https://example.org/a?b=c")).toString(),
                 QStringLiteral("https://example.org/a?b=c"));
        QCOMPARE(Shell::urlFor(QStringLiteral("mailto:me@example.org")).scheme(), QStringLiteral("mailto"));
        QCOMPARE(Shell::urlFor(QStringLiteral("/tmp/my lessons/a#1.kvl")).toLocalFile(),
                 QStringLiteral("/tmp/my lessons/a#1.kvl"));
        // One letter before the colon is a drive, not a scheme; relative
        // paths are made absolute.
        QCOMPARE(Shell::urlFor(QStringLiteral("C:x.kvl")).toLocalFile(),
                 QDir::current().absoluteFilePath(QStringLiteral("C:x.kvl")));
        QCOMPARE(Shell::urlFor(QStringLiteral("help/kvlhelp.chm")).toLocalFile(),
                 QDir::current().absoluteFilePath(QStringLiteral("help/kvlhelp.chm")));
    }

    void parameterTextIsOneArgumentOrNone()
    {
        RecordingShell shell;
        shell.startProgram(QStringLiteral("/usr/bin/editor"), QStringLiteral("/home/u/my lesson.kvl"));
        shell.startProgram(QStringLiteral("/usr/bin/editor"), QString());
        QCOMPARE(shell.requests.size(), size_t(2));
        QCOMPARE(shell.requests[0].arguments, QStringList{QStringLiteral("/home/u/my lesson.kvl")});
        QVERIFY(shell.requests[1].arguments.isEmpty());
    }

    void scopedDoubleReplacesTheDesktopAndGivesItBack()
    {
        QVERIFY(dynamic_cast<DesktopShell *>(&Shell::instance()));
        {
            ScopedRecordingShell scoped;
            scoped.shell.succeed = false;
            QVERIFY(!Shell::instance().openDocument(QStringLiteral("/tmp/y")));
            QCOMPARE(scoped.shell.requests.size(), size_t(1));
            QCOMPARE(scoped.shell.requests[0].kind, RecordingShell::Request::Open);
        }
        QVERIFY(dynamic_cast<DesktopShell *>(&Shell::instance()));
    }

    void desktopRefusesWhatCannotStart()
    {
        DesktopShell shell;
        QVERIFY(!shell.startProgram(QString(), QStringList()));
        QVERIFY(!shell.startProgram(QStringLiteral("/nonexistent/korvana-no-editor"), QStringLiteral("x")));
        QVERIFY(!shell.openDocument(QString()));
        QVERIFY(shell.findProgram(QStringLiteral("korvana-no-such-program")).isEmpty());
        QVERIFY(QFileInfo(shell.findProgram(QStringLiteral("sh"))).isExecutable());
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
