// Session files: the two sections written and read back, other sections
// kept, and the names a session file may be given.
#include "LessonFixtures.h"
#include "lessons/Sessions.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

class TestSessions : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;

private slots:
    void roundTripKeepsOrderAndOtherSections()
    {
        const QString file = tmp.filePath("s1.ses");
        fixtures::writeFile(file, "[Mine]\nkeep=1\n[Lessons]\n0=/old/one.kvl\n5=/old/two.kvl\n");
        const QString longName = "/l/" + QString(1500, u'n') + ".kvl";
        writeSession(file, {"/l/\u8bfe.kvl", "/l/b.kvl", longName}, 5);
        const QString text = QString::fromUtf8(fixtures::readFile(file));
        QVERIFY(text.contains("[Mine]\nkeep=1\n"));
        QVERIFY(!text.contains("/old/"));
        QVERIFY2(text.indexOf("[Session]\nPosition=5\n") >= 0, qPrintable(text));
        QVERIFY(text.indexOf("0=/l/\u8bfe.kvl\n1=/l/b.kvl\n2=" + longName) > text.indexOf("[Lessons]"));

        const SessionContents s = readSession(file);
        QCOMPARE(s.lessons, (QStringList{"/l/\u8bfe.kvl", "/l/b.kvl", longName}));
        QCOMPARE(s.position, 5);

        // Saved again: the two sections replaced, nothing piles up.
        writeSession(file, {"/l/c.kvl"}, 1);
        QCOMPARE(readSession(file).lessons, QStringList{"/l/c.kvl"});
        QCOMPARE(QString::fromUtf8(fixtures::readFile(file)).count("[Lessons]"), 1);
    }

    void readingTakesEveryEntryWhateverItsKey()
    {
        const QString file = tmp.filePath("s2.ses");
        fixtures::writeFile(file, "[Lessons]\nb=/x/second=name.kvl\na=/x/first.kvl\n");
        const SessionContents s = readSession(file);
        QCOMPARE(s.lessons, (QStringList{"/x/second=name.kvl", "/x/first.kvl"}));
        QCOMPARE(s.position, 1); // no Position: the first term
        // The list alone makes a session file; a position alone does not.
        SessionContents opened;
        QString problem;
        QVERIFY(openSessionFile(file, &opened, &problem));
        QCOMPARE(opened.lessons, s.lessons);
        fixtures::writeFile(file, "[Session]\nPosition=2\n");
        QVERIFY(!openSessionFile(file, &opened, &problem));
        QCOMPARE(problem, QDir::toNativeSeparators(file) + " is not a session file");
        const QString gone = tmp.filePath("gone.ses");
        QVERIFY(!openSessionFile(gone, &opened, &problem));
        QCOMPARE(problem, QDir::toNativeSeparators(gone) + " cannot be read (no such file or folder)");
        fixtures::writeFile(file, "[Session]\nPosition=abc\n[Lessons]\n");
        QCOMPARE(readSession(file).position, 1);
        QVERIFY(readSession(file).lessons.isEmpty());
    }

    void unwritableSessionThrows()
    {
        const QString dir = tmp.filePath("adir.ses");
        QDir().mkpath(dir);
        QVERIFY_THROWS_EXCEPTION(std::exception, writeSession(dir, {"/a.kvl"}, 1));
    }

    void sessionNames()
    {
        // An absolute name is taken as it stands: ".." after a link is not the link's folder.
        QCOMPARE(sessionPath("/abs/link/../s.ses", "/work/"), QStringLiteral("/abs/link/../s.ses"));
        QCOMPARE(sessionPath("s.ses", "/work/"), QStringLiteral("/work/s.ses"));
        QCOMPARE(sessionPath("./s.ses", "/work/"), QStringLiteral("/work/s.ses"));
        // No separator at the end of the working folder: one is put in.
        QCOMPARE(sessionPath("s.ses", "/work"), QStringLiteral("/work/s.ses"));
        QCOMPARE(sessionPath("C:\\x\\s.ses", "/work"), QStringLiteral("/work/C:\\x\\s.ses"));
        QCOMPARE(withSessionExtension("/a/mine"), QStringLiteral("/a/mine.ses"));
        QCOMPARE(withSessionExtension("/a/mine.ses"), QStringLiteral("/a/mine.ses"));
        QCOMPARE(withSessionExtension("/a.b/mine"), QStringLiteral("/a.b/mine.ses"));
        QCOMPARE(withSessionExtension(""), QString());
    }
};

QTEST_MAIN(TestSessions)
#include "tst_sessions.moc"
