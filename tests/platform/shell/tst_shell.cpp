// The desktop shell layer: how a target becomes the link handed to the
// desktop, how a parameter text becomes arguments, the test double and the
// installed instance.
#include "platform/shell/RecordingShell.h"
#include "platform/shell/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace korvana;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void linksStayLinksAndPathsBecomeFiles_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("localFile"); // empty for a link
        QTest::newRow("web link") << "https://example.org/a?b=c" << "https" << "";
        QTest::newRow("mail link") << "mailto:someone@example.org" << "mailto" << "";
        QTest::newRow("absolute path with blanks") << "/tmp/my lessons/l 1.kvl" << "file"
                                                   << "/tmp/my lessons/l 1.kvl";
        // A drive letter is not a scheme: such a path is a (relative) file.
        QTest::newRow("drive letter") << "C:lesson.kvl" << "file"
                                      << QDir::current().absoluteFilePath(QStringLiteral("C:lesson.kvl"));
        QTest::newRow("relative path") << "help/kvlhelp.chm" << "file"
                                       << QDir::current().absoluteFilePath(QStringLiteral("help/kvlhelp.chm"));
        QTest::newRow("hash in a file name") << "/tmp/a#1.kvl" << "file" << "/tmp/a#1.kvl";
    }
    void linksStayLinksAndPathsBecomeFiles()
    {
        QFETCH(QString, target);
        QFETCH(QString, scheme);
        QFETCH(QString, localFile);
        const QUrl url = Shell::urlFor(target);
        QCOMPARE(url.scheme(), scheme);
        if (localFile.isEmpty())
            QCOMPARE(url.toString(), target);
        else
            QCOMPARE(url.toLocalFile(), QDir::cleanPath(localFile));
    }

    void parameterTextIsOneArgumentOrNone()
    {
        RecordingShell shell;
        QVERIFY(shell.startProgram(QStringLiteral("/usr/bin/editor"), QStringLiteral("/home/u/my lesson.kvl")));
        QVERIFY(shell.startProgram(QStringLiteral("/usr/bin/editor"), QString()));
        QCOMPARE(shell.requests.size(), size_t(2));
        QCOMPARE(shell.requests[0].kind, RecordingShell::Request::Start);
        QCOMPARE(shell.requests[0].target, QStringLiteral("/usr/bin/editor"));
        QCOMPARE(shell.requests[0].arguments, QStringList{QStringLiteral("/home/u/my lesson.kvl")});
        QVERIFY(shell.requests[1].arguments.isEmpty());
    }

    void recordingShellAnswersAsTold()
    {
        RecordingShell shell;
        shell.succeed = false;
        shell.programs.insert(QStringLiteral("soffice"), QStringLiteral("/opt/lo/soffice"));
        QVERIFY(!shell.openDocument(QStringLiteral("/tmp/x.chm")));
        QCOMPARE(shell.requests.size(), size_t(1));
        QCOMPARE(shell.requests[0].kind, RecordingShell::Request::Open);
        QCOMPARE(shell.requests[0].target, QStringLiteral("/tmp/x.chm"));
        QCOMPARE(shell.findProgram(QStringLiteral("soffice")), QStringLiteral("/opt/lo/soffice"));
        QVERIFY(shell.findProgram(QStringLiteral("winword")).isEmpty());
    }

    void scopedDoubleReplacesTheDesktopAndGivesItBack()
    {
        QVERIFY(dynamic_cast<DesktopShell *>(&Shell::instance()));
        {
            ScopedRecordingShell scoped;
            QCOMPARE(&Shell::instance(), static_cast<Shell *>(&scoped.shell));
            Shell::instance().openDocument(QStringLiteral("/tmp/y"));
            QCOMPARE(scoped.shell.requests.size(), size_t(1));
        }
        QVERIFY(dynamic_cast<DesktopShell *>(&Shell::instance()));
    }

    void desktopRefusesWhatCannotStart()
    {
        DesktopShell shell;
        QVERIFY(!shell.startProgram(QString(), QStringList()));
        QVERIFY(!shell.startProgram(QStringLiteral("/nonexistent/korvana-no-such-editor"), QStringLiteral("x")));
        QVERIFY(!shell.openDocument(QString()));
        QVERIFY(shell.findProgram(QStringLiteral("korvana-no-such-program")).isEmpty());
        const QString sh = shell.findProgram(QStringLiteral("sh"));
        QVERIFY(QFileInfo(sh).isAbsolute());
        QVERIFY(QFileInfo(sh).isExecutable());
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
