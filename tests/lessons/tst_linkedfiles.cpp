// Linked-file lines: reading their attributes, taking them out of a lesson,
// and finding the files they name.
#include "LessonFixtures.h"
#include "lessons/LinkedFiles.h"
#include "platform/richtext/RichEdit.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

class TestLinkedFiles : public QObject {
    Q_OBJECT
private slots:
    void attribute_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString plain = QStringLiteral("<PAR FILE=\"a b.txt\" DESCRIPTION=\"First text\">");
        QTest::newRow("file") << plain << "file"
                              << "a b.txt";
        QTest::newRow("description") << plain << "description"
                                     << "First text";
        QTest::newRow("names in any case") << QStringLiteral("<par file=\"x.rtf\" description=\"d\">") << "FILE"
                                           << "x.rtf";
        QTest::newRow("missing attribute") << QStringLiteral("<PAR FILE=\"x.rtf\">") << "description"
                                           << "";
        QTest::newRow("no closing quote") << QStringLiteral("<PAR FILE=\"x.rtf DESCRIPTION=d>") << "file"
                                          << "";
        QTest::newRow("empty value") << QStringLiteral("<PAR FILE=\"\" DESCRIPTION=\"d\">") << "file"
                                     << "";
        // Stored lessons rely on this reading: the description stops at a
        // quote followed by a blank.
        QTest::newRow("quote and blank cut the description")
            << QStringLiteral("<PAR FILE=\"f\" DESCRIPTION=\"say\" hi\">") << "description"
            << "say";
        QTest::newRow("doubled quotes become one")
            << QStringLiteral("<PAR FILE=\"f\" DESCRIPTION=\"a\"\"b\">") << "description"
            << "a\"b";
        // Found on the line itself, ignoring case: a letter whose lower case is
        // longer moves nothing.
        QTest::newRow("longer lower case") << QStringLiteral("<PAR FILE=\"f\" DESCRIPTION=\"\u0130zmir notes\">")
                                           << "description" << QStringLiteral("\u0130zmir notes");
        // A name inside a quoted value is part of the value.
        QTest::newRow("name inside a file name")
            << QStringLiteral("<PAR FILE=\"my description=x.txt\" DESCRIPTION=\"d\">") << "description"
            << "d";
        QTest::newRow("unicode kept") << QStringLiteral("<PAR FILE=\"\u8bfe\u6587.txt\" DESCRIPTION=\"\u6587\">")
                                      << "file" << QStringLiteral("\u8bfe\u6587.txt");
        // Lower-cased, a capital dotted I takes two characters.
        QTest::newRow("description after a capital dotted I")
            << QStringLiteral("<PAR FILE=\"\u0130zmir.txt\" DESCRIPTION=\"d\">") << "description"
            << "d";
    }
    void attribute()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(linkedFileAttribute(line, name), expected);
    }

    void writtenLineReadsBack()
    {
        // Quotes inside a value are doubled and come back single; what the
        // reading rule cannot carry is known before it is written.
        QCOMPARE(parLine(QStringLiteral("a\"b\"\".txt"), QStringLiteral("\"q\"")),
                 QStringLiteral("<PAR FILE=\"a\"\"b\"\"\"\".txt\" DESCRIPTION=\"\"\"q\"\"\">"));
        QVERIFY(parLineKeeps(QStringLiteral("a\"b\"\".txt"), QStringLiteral("\"q\"")));
        QVERIFY(parLineKeeps(QStringLiteral("my description=x.txt"), QStringLiteral("\u0130zmir file=")));
        QVERIFY(!parLineKeeps(QStringLiteral("f"), QStringLiteral("say \"hi\" now")));
        QVERIFY(!parLineKeeps(QStringLiteral("f"), QStringLiteral("a\">b")));
        QVERIFY(!parLineKeeps(QStringLiteral(" f"), QStringLiteral("d")));
        for (QChar end : {QChar(u'\r'), QChar(u'\n'), QChar(QChar::ParagraphSeparator)})
            QVERIFY(!parLineKeeps(QStringLiteral("f"), QStringLiteral("two") + end) && !parLineKeeps(end, "d"));

        const QString line = parLine(QStringLiteral("/x/r.txt"), QStringLiteral("Reading one"));
        QCOMPARE(line, QStringLiteral("<PAR FILE=\"/x/r.txt\" DESCRIPTION=\"Reading one\">"));
        QCOMPARE(linkedFileAttribute(line, QStringLiteral("file")), QStringLiteral("/x/r.txt"));
        QCOMPARE(linkedFileAttribute(line, QStringLiteral("description")), QStringLiteral("Reading one"));
    }

    void parLinesTakenOutInOrder()
    {
        RichEdit doc;
        doc.setText(QStringLiteral("<PAR FILE=\"a\" DESCRIPTION=\"A\">\n<OR=one>\n<OR=two>\n"
                                   "  <par file=\"b\" description=\"B\">\n<PAR FILE=\"\" DESCRIPTION=\"gone\">\n"
                                   "<Par File=\"c\" Description=\"C\">"));
        const QList<LinkedFile> links = parseLinkedFiles(doc);
        QCOMPARE(links, (QList<LinkedFile>{{"a", "A"}, {"b", "B"}, {"c", "C"}}));
        // Every linked-file line left the lesson, the empty one as well.
        QCOMPARE(fixtures::lines(doc), (QStringList{"<OR=one>", "<OR=two>"}));
    }

    void relativeNamesResolveAgainstTheLessonFirst()
    {
        QTemporaryDir tmp;
        const QString lessonDir = tmp.filePath(QStringLiteral("lessons"));
        const QString otherDir = tmp.filePath(QStringLiteral("current"));
        fixtures::writeFile(lessonDir + "/read.txt", "lesson's");
        fixtures::writeFile(otherDir + "/read.txt", "current's");
        fixtures::writeFile(otherDir + "/only.txt", "x");
        const QString lesson = lessonDir + "/one.kvl";

        QCOMPARE(resolveLinkedFile("read.txt", lesson, otherDir), lessonDir + "/read.txt");
        QCOMPARE(resolveLinkedFile("only.txt", lesson, otherDir), otherDir + "/only.txt");
        // A name written on Windows.
        fixtures::writeFile(lessonDir + "/sub/deep.txt", "x");
        QCOMPARE(resolveLinkedFile("sub\\deep.txt", lesson, otherDir), lessonDir + "/sub/deep.txt");
        // Missing everywhere: named against the current folder.
        QCOMPARE(resolveLinkedFile("none.txt", lesson, otherDir), otherDir + "/none.txt");
        QCOMPARE(resolveLinkedFile(otherDir + "/only.txt", lesson, lessonDir), otherDir + "/only.txt");
    }
};

QTEST_MAIN(TestLinkedFiles)
#include "tst_linkedfiles.moc"
