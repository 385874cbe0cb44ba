// Saving lessons back: each lesson gets its own terms with their states and
// its own linked files, and a lesson is never written when that could damage
// it (it did not load, someone else changed it, the rows do not match).
#include "LessonFixtures.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;
using fixtures::term;

class TestLessonSaver : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString path(const QString &name) { return tmp.filePath(name); }

    // The saved file as the program reads it: its lines, as plain text.
    static QStringList savedLines(const QString &file)
    {
        RichEdit doc;
        doc.fromRtf(fixtures::readFile(file));
        return fixtures::lines(doc);
    }

    struct Opened {
        LessonStore store;
        LoadedLessons loaded;
        LessonOpener opener{store, loaded};
        LessonSaver saver{store, loaded};
        QStringList open(const QStringList &files)
        {
            store.openLessons = files;
            return opener.openAll();
        }
    };

private slots:
    void statesWrittenInFrontOfEachTerm()
    {
        Opened o;
        const QString a = fixtures::writeLesson(path("states/a.kvl"), {term("one"), term("two"), term("three")});
        QCOMPARE(o.open({a}), QStringList());
        o.store.termTable.setCell(TermGrid::TermStatus, 1, QStringLiteral("d"));
        QCOMPARE(o.saver.saveAll(), QStringList());
        QCOMPARE(savedLines(a),
                 (QStringList{"<ST=u>" + term("one"), "<ST=d>" + term("two"), "<ST=u>" + term("three")}));
        // Saving changes neither the lesson text nor the table.
        QCOMPARE(fixtures::lines(o.store.lessonText), (QStringList{term("one"), term("two"), term("three")}));

        // The tag is written in the look of its line.
        const QString big = fixtures::writeFile(
            path("states/big.kvl"), "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\fs40\\cf1 <OR=big>\\par}");
        QCOMPARE(o.open({big}), QStringList());
        QCOMPARE(o.saver.saveAll(), QStringList());
        RichEdit saved;
        saved.fromRtf(fixtures::readFile(big));
        saved.setSel(0, 6);
        QVERIFY(saved.selText() == "<ST=u>" && saved.selAttributes().sizePoints == 20.0);
    }

    void eachLessonGetsItsOwnTermsAndLinkedFiles()
    {
        Opened o;
        const QString a = fixtures::writeLesson(
            path("own/a.kvl"), {"<ST=l>" + term("one"), term("two"), "<PAR FILE=\"ra\" DESCRIPTION=\"Read A\">"});
        const QString b =
            fixtures::writeLesson(path("own/b.kvl"), {term("three"), "<PAR FILE=\"rb1\" DESCRIPTION=\"B1\">",
                                                      "<PAR FILE=\"rb2\" DESCRIPTION=\"B2\">"});
        QCOMPARE(o.open({a, b}), QStringList());
        QCOMPARE(o.saver.saveAll(), QStringList());
        // The last term and the first linked-file line stay on lines of their own.
        QCOMPARE(savedLines(a), (QStringList{"<ST=l>" + term("one"), "<ST=u>" + term("two"),
                                             "<PAR FILE=\"ra\" DESCRIPTION=\"Read A\">"}));
        QCOMPARE(savedLines(b), (QStringList{"<ST=u>" + term("three"), "<PAR FILE=\"rb1\" DESCRIPTION=\"B1\">",
                                             "<PAR FILE=\"rb2\" DESCRIPTION=\"B2\">"}));
    }

    void savedLessonReopensTheSameAndSavesIdenticalBytes()
    {
        Opened o;
        const QString a = path("again/a.kvl");
        fixtures::writeFile(a, fixtures::readFile(QStringLiteral(KORVANA_TEST_DATA "/lessons/formatted.kvl")));
        const QString b = fixtures::writeLesson(
            path("again/b.kvl"), {"<ST=d>" + term("x"), "<PAR FILE=\"a\" DESCRIPTION=\"A\">",
                                  "<PAR FILE=\"b\" DESCRIPTION=\"B\">", "<PAR FILE=\"c\" DESCRIPTION=\"C\">"});
        QCOMPARE(o.open({a, b}), QStringList());
        const QStringList text = fixtures::lines(o.store.lessonText);
        const QStringList states = fixtures::column(o.store.termTable, TermGrid::TermStatus);

        QCOMPARE(o.saver.saveAll(), QStringList());
        const QByteArray firstA = fixtures::readFile(a), firstB = fixtures::readFile(b);
        QCOMPARE(o.saver.saveAll(), QStringList());
        QCOMPARE(fixtures::readFile(a), firstA);
        QCOMPARE(fixtures::readFile(b), firstB);

        // Reopened any number of times: same terms, states, linked files and
        // their order, and the files stay the same.
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(o.open({a, b}), QStringList());
            QCOMPARE(fixtures::lines(o.store.lessonText), text);
            QCOMPARE(fixtures::column(o.store.termTable, TermGrid::TermStatus), states);
            QCOMPARE(o.store.linkedFiles, (QStringList{QStringLiteral("\u8bfe\u6587.txt"), "a", "b", "c"}));
            QCOMPARE(o.saver.saveAll(), QStringList());
            QCOMPARE(fixtures::readFile(a), firstA);
            QCOMPARE(fixtures::readFile(b), firstB);
        }
        // The characters' own colour went to the file and came back.
        const int chPos = o.store.lessonText.findText(QStringLiteral("\u4f60"), 0, o.store.lessonText.textLength());
        o.store.lessonText.setSelStart(chPos);
        o.store.lessonText.setSelLength(1);
        QCOMPARE(o.store.lessonText.selAttributes().color, QColor(Qt::red));
    }

    // Whatever the text of a term or a linked file holds comes back after
    // open, save and reopen: text that merely looks like a state tag, soft line
    // breaks, control characters, letters whose lower case is longer, quotes.
    void everyTermAndLinkSurvivesOpenSaveReopen()
    {
        Opened o;
        const QString a = path("survive/a.kvl");
        fixtures::writeFile(
            a, QStringLiteral("{\\rtf1\\ansi <ST=l><OR=one><NO=first\\line second><TY=w>\\par\n"
                              "<ST=d<OR=hello><PI=p><TY=w>\\par\n"
                              "<OR=a\\u12?b\\u11?c\\u26?><NO=x <st=l then this><TY=p>\\par\n"
                              "<PAR FILE=\"my description=\\u12?.txt\" DESCRIPTION=\"\\u304?zmir notes\">\\par\n"
                              "<PAR FILE=\"say \"\"this\"\".txt\" DESCRIPTION=\"a\"\"b\\u11?\">\\par}")
                   .toLatin1());
        const QStringList terms{QStringLiteral("<OR=one><NO=first\u2028second><TY=w>"), "<ST=d<OR=hello><PI=p><TY=w>",
                                QStringLiteral("<OR=a\fb\vc\u001a><NO=x <st=l then this><TY=p>")};
        const QStringList files{QStringLiteral("my description=\f.txt"), "say \"this\".txt"};
        const QStringList descriptions{QStringLiteral("\u0130zmir notes"), QStringLiteral("a\"b\v")};
        for (int round = 0; round < 3; ++round) {
            QCOMPARE(o.open({a}), QStringList());
            QCOMPARE(fixtures::lines(o.store.lessonText), terms);
            QCOMPARE(fixtures::column(o.store.termTable, TermGrid::TermStatus), (QStringList{"l", "u", "u"}));
            QCOMPARE(o.store.linkedFiles, files);
            QCOMPARE(o.store.linkedFileDescriptions, descriptions);
            QCOMPARE(o.saver.saveAll(), QStringList());
        }
        // The same from a plain-text lesson.
        const QString b = fixtures::writeFile(
            path("survive/b.kvl"), "<OR=a\fb\vc\x1a><TY=p>\r\n<PAR FILE=\"f\f\" DESCRIPTION=\"d\v\x1a\">\r\n");
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(o.open({b}), QStringList());
            QCOMPARE(fixtures::lines(o.store.lessonText), QStringList{QStringLiteral("<OR=a\fb\vc\u001a><TY=p>")});
            QCOMPARE(o.store.linkedFiles, QStringList{"f\f"});
            QCOMPARE(o.store.linkedFileDescriptions, QStringList{QStringLiteral("d\v\u001a")});
            QCOMPARE(o.saver.saveAll(), QStringList());
        }
        QCOMPARE(o.open({a}), QStringList());

        // The soft break is written back as one, and it counts as one
        // character of its line in both countings.
        QVERIFY(fixtures::readFile(a).contains("first\\line second"));
        RichEdit &re = o.store.lessonText;
        QCOMPARE(re.lineIndex(1), int(terms[0].size()) + 1);
        QCOMPARE(re.findText(QStringLiteral("<PI="), 0, re.textLength()),
                 int(terms[0].size() + 2 + terms[1].indexOf("<PI=")));
        QCOMPARE(o.store.valueAt(0, QStringLiteral("NO")), QStringLiteral("first\u2028second"));
    }

    void lessonThatDidNotLoadIsNeverWritten()
    {
        Opened o;
        const QString good = fixtures::writeLesson(path("fail/good.kvl"), {term("one")});
        const QByteArray picture("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        const QString bad = fixtures::writeFile(path("fail/picture.kvl"), picture);
        QCOMPARE(o.open({bad, good}), QStringList{bad});
        QCOMPARE(o.saver.saveAll(), QStringList{bad});
        QCOMPARE(o.saver.failureReason(bad), QStringLiteral("did not load"));
        QCOMPARE(fixtures::readFile(bad), picture);
        QCOMPARE(savedLines(good), QStringList{"<ST=u>" + term("one")});
    }

    void lessonChangedOutsideIsNotOverwritten()
    {
        Opened o;
        const QString a = fixtures::writeLesson(path("outside/a.kvl"), {term("one")});
        const QString b = fixtures::writeLesson(path("outside/b.kvl"), {term("two")});
        QCOMPARE(o.open({a, b}), QStringList());
        // Another editor saves the first lesson while it is open.
        fixtures::writeLesson(a, {term("one"), term("added elsewhere")});
        const QByteArray theirs = fixtures::readFile(a);
        QCOMPARE(o.saver.saveAll(), QStringList{a});
        QCOMPARE(o.saver.failureReason(a), QStringLiteral("changed by another program since it was opened"));
        QCOMPARE(fixtures::readFile(a), theirs);
        QCOMPARE(savedLines(b), QStringList{"<ST=u>" + term("two")});
        // Its own earlier save does not count as a change.
        QCOMPARE(o.saver.saveAll(), QStringList{a});
        QVERIFY(o.saver.saveLesson(b));
        // Held by the lesson editor it is no failure while its marks are as saved.
        o.saver.heldLessons = QStringList{b};
        QVERIFY(o.saver.saveLesson(b));
        o.saver.heldLessons.clear();
        // Grown past any lesson's size: changed as well, and not read.
        QVERIFY(QFile(b).resize(LessonOpener::MaxLessonBytes + 1));
        QVERIFY(!o.saver.saveLesson(b));
        QCOMPARE(o.saver.failureReason(b), QStringLiteral("changed by another program since it was opened"));
        // Removed meanwhile: not written back, and said so.
        QVERIFY(QFile::remove(b));
        QVERIFY(!o.saver.saveLesson(b));
        QCOMPARE(o.saver.failureReason(b), QStringLiteral("removed since it was opened"));
        QVERIFY(!QFileInfo::exists(b));
    }

    void lessonThatCannotBeWrittenIsNamedAndKept()
    {
        Opened o;
        const QString a = fixtures::writeLesson(path("unwritable/a.kvl"), {term("one")});
        const QString b = fixtures::writeLesson(path("unwritable/b.kvl"), {term("two")});
        QCOMPARE(o.open({a, b}), QStringList());
        // The first lesson's file turned into a folder: it cannot be written.
        QVERIFY(QFile::remove(a));
        QVERIFY(QDir().mkdir(a));
        QCOMPARE(o.saver.saveAll(), QStringList{a});
        QCOMPARE(o.saver.failureReason(a), QStringLiteral("is a folder"));
        QVERIFY(QFileInfo(a).isDir());
        QCOMPARE(savedLines(b), QStringList{"<ST=u>" + term("two")});
    }

    // A read-only lesson is not replaced, and says why; so does a linked
    // file that the linked-file line cannot carry.
    void readOnlyAndUnwritableLinksAreNamedWithTheirReason()
    {
        Opened o;
        const QString a = fixtures::writeLesson(path("ro/a.kvl"), {term("one")});
        // (b holds a linked file alone)
        const QString b = fixtures::writeLesson(path("ro/b.kvl"), {"<PAR FILE=\"x\" DESCRIPTION=\"a\">b\" c\">"});
        QCOMPARE(o.open({a, b}), QStringList());
        QCOMPARE(o.store.linkedFileDescriptions, QStringList{"a\">b"});
        QVERIFY(QFile::setPermissions(a, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        const QByteArray before = fixtures::readFile(a), beforeB = fixtures::readFile(b);
        QCOMPARE(o.saver.saveAll(), (QStringList{a, b}));
        QCOMPARE(o.saver.failureReason(a), QStringLiteral("read-only"));
        QCOMPARE(o.saver.failureReason(b),
                 QStringLiteral("a linked file's name or description cannot be written unchanged"));
        QCOMPARE(fixtures::readFile(a), before);
        QCOMPARE(fixtures::readFile(b), beforeB);
        // Writable again it is saved; read-only again, its file holds every mark.
        QVERIFY(QFile::setPermissions(a, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(o.saver.saveAll(), QStringList{b});
        QCOMPARE(o.saver.failureReason(a), QString());
        QVERIFY(QFile::setPermissions(a, QFileDevice::ReadOwner));
        QCOMPARE(o.saver.saveAll(), QStringList{b});
    }

    void rowsThatDoNotMatchTheTextWriteNothing()
    {
        Opened o;
        const QString a = fixtures::writeLesson(path("mismatch/a.kvl"), {term("one"), term("two")});
        const QString b = fixtures::writeLesson(path("mismatch/b.kvl"), {term("three")});
        QCOMPARE(o.open({a, b}), QStringList());
        const QByteArray before = fixtures::readFile(a);
        QVERIFY(o.saver.rowsAgreeWithLines());
        o.store.termTable.setCell(TermGrid::TermLesson, 1, QString()); // a row of no lesson
        QVERIFY(!o.saver.rowsAgreeWithLines());
        o.store.termTable.setCell(TermGrid::TermLesson, 1, a);
        o.store.lessonText.addLine(QStringLiteral("<OR=four>")); // a line of no row
        QVERIFY(!o.saver.rowsAgreeWithLines());
        o.store.lessonText.deleteLine(0);
        o.store.lessonText.deleteLine(0);
        QVERIFY(!o.saver.rowsAgreeWithLines());
        o.store.lessonText.addLine(QStringLiteral(" ")); // as many lines again, one of them blank
        QVERIFY(!o.saver.rowsAgreeWithLines());
        QCOMPARE(o.saver.saveAll(), (QStringList{a, b}));
        QCOMPARE(o.saver.failureReason(b), QStringLiteral("the terms and their rows disagree"));
        QCOMPARE(fixtures::readFile(a), before);
        o.store.termTable.clear(); // lines of text and no rows
        QVERIFY(!o.saver.rowsAgreeWithLines());
    }

    // A row whose line is missing must copy nothing, never all of the lesson
    // text (which would put every other lesson's terms into this one).
    void missingLineCopiesNothing()
    {
        Opened o;
        const QString a = fixtures::writeLesson(path("range/a.kvl"), {term("one"), term("two")});
        QCOMPARE(o.open({a}), QStringList());
        o.store.termTable.setRowCount(3);
        o.store.termTable.setCell(TermGrid::TermLesson, 2, QStringLiteral("/elsewhere.kvl"));
        o.store.termTable.setCell(TermGrid::TermStatus, 2, QStringLiteral("u"));
        RichEdit saved;
        saved.fromRtf(o.saver.buildLesson(QStringLiteral("/elsewhere.kvl")));
        QCOMPARE(fixtures::lines(saved), QStringList{"<ST=u>"});
    }

    // A lesson is built without copying each piece through the controls;
    // it must give the bytes the copies give, whatever the lessons' fonts,
    // colours, alignments and characters.
    void builtLessonIsTheCopiesByteForByte()
    {
        Opened o;
        QStringList lessons;
        for (const char *name : {"formatted.kvl", "libreoffice_lesson.rtf", "abiword_lesson.rtf", "pandoc_lesson.rtf"})
            lessons << fixtures::writeFile(
                path(QStringLiteral("bytes/") + QLatin1String(name)),
                fixtures::readFile(QStringLiteral(KORVANA_TEST_DATA "/lessons/") + QLatin1String(name)));
        lessons << fixtures::writeLesson(path("bytes/plain.kvl"), {term("one"), "<ST=l>" + term("two", "p")});
        // Last, so its justified last line ends the text and the line end
        // before its linked file is typed after it.
        lessons << fixtures::writeFile(
            path("bytes/aligned.kvl"),
            QByteArray(
                "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 SimSun;}}{\\colortbl;\\red255\\green0\\blue0;}"
                "\\qc <ST=d><OR=centred>{\\f1\\cf1\\b <CH=\\u20013?>}<TY=w>\\par\\pard <OR=a\\tab b\\line c><TY=p>\\par"
                "\\qr <OR=right\\u12?><TY=w>\\par\\qj\\i <OR=last><TY=w>\\par\\pard "
                "<PAR FILE=\"\\u35838?\\u12?.txt\" DESCRIPTION=\"x\">\\par}"));
        QCOMPARE(o.open(lessons), QStringList());
        o.store.termTable.setCell(TermGrid::TermStatus, 1, QStringLiteral("d"));
        for (const QString &lesson : std::as_const(lessons)) {
            const QByteArray built = o.saver.buildLesson(lesson);
            QCOMPARE(built, o.saver.buildLessonByCopies(lesson));
        }
    }
};

QTEST_MAIN(TestLessonSaver)
#include "tst_lessonsaver.moc"
