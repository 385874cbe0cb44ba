// Opening lessons into the store: rows that always match their lines, state
// tags read and removed, linked files taken out, and files that must not load
// (unreadable, not a lesson, too big) leaving the store as it was.
#include "LessonFixtures.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"
#include "platform/richtext/RtfReader.h"

#include <QGuiApplication>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace korvana;
using fixtures::term;

class TestLessonOpener : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString path(const QString &name) { return tmp.filePath(name); }

private slots:
    void stateReader_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("state");
        QTest::newRow("none") << "<OR=a>"
                              << "u";
        QTest::newRow("learned") << "<ST=l><OR=a>"
                                 << "l";
        QTest::newRow("lower-case tag") << "<OR=a><st=d>"
                                        << "d";
        QTest::newRow("first tag wins") << "<ST=d><OR=a><ST=l>"
                                        << "d";
        QTest::newRow("unknown value") << "<ST=x><OR=a>"
                                       << "u";
        QTest::newRow("empty value") << "<ST=><OR=a>"
                                     << "u";
        QTest::newRow("tag at line end") << "<OR=a><ST="
                                         << "u";
        // Only "<ST=", one character and ">" is a state tag.
        QTest::newRow("tag that lost its >") << "<ST=d<OR=a>"
                                             << "u";
        QTest::newRow("note that mentions a tag") << "<OR=a><NO=x <st=l then this>"
                                                  << "u";
    }
    void stateReader()
    {
        QFETCH(QString, line);
        QFETCH(QString, state);
        QCOMPARE(lineState(line), state);
    }

    // Blank lines get no row, nor do lines that hold only a state tag: given
    // one, the line would turn blank and leave the text while its row stayed,
    // and every later row would point one line off.
    void twoLessonsGiveMatchingRowsAndLines()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString a =
            fixtures::writeLesson(path("two/a.kvl"), {"<ST=l>" + term("one"), term("two", "p"), "", term("three"),
                                                      "   ", "<ST=u>", "<ST=d> ", "\u2028"});
        const QString b = fixtures::writeLesson(path("two/b.kvl"), {"<st=d>" + term("four"), term("five")});
        store.openLessons = {a, b};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), QStringList());

        QCOMPARE(fixtures::lines(store.lessonText),
                 (QStringList{term("one"), term("two", "p"), term("three"), term("four"), term("five")}));
        QCOMPARE(store.termTable.rowCount(), 5);
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermStatus), (QStringList{"l", "u", "u", "d", "u"}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermType), (QStringList{"w", "p", "w", "w", "w"}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermLesson), (QStringList{a, a, a, b, b}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::ShownCount), (QStringList{"0", "0", "0", "0", "0"}));
        QCOMPARE(store.currentLesson, b);
        QCOMPARE(store.loadingLesson, b);
        QVERIFY(loaded.contains(a) && loaded.contains(b));
    }

    void everyStateTagIsRemoved()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString a = fixtures::writeLesson(path("tags/a.kvl"), {"<ST=u><st=d>" + term("one") + "<ST=x>",
                                                                     "<St=L>" + term("two") + "<ST=open",
                                                                     "<ST<ST=l>=d>" + term("three") + "<ST=>>"});
        store.openLessons = {a};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), QStringList());
        // Tags never pile up, whatever their value; an unclosed one, or one of
        // ">", is no tag; a tag that taking another out makes goes too (else
        // the term would change at the next opening, after a save).
        QCOMPARE(fixtures::lines(store.lessonText),
                 (QStringList{term("one"), term("two") + "<ST=open", term("three") + "<ST=>>"}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermStatus), (QStringList{"u", "l", "l"}));
    }

    void linkedFilesListedPerLessonInLineOrder()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString a = fixtures::writeLesson(path("par/a.kvl"), {term("one"), "<PAR FILE=\"x\" DESCRIPTION=\"X\">",
                                                                    "<PAR FILE=\"y\" DESCRIPTION=\"Y\">"});
        const QString b = fixtures::writeLesson(path("par/b.kvl"), {"<par file=\"z\" description=\"Z\">", term("two")});
        store.openLessons = {a, b};
        LessonOpener opener(store, loaded);
        opener.openAll();
        QCOMPARE(store.linkedFiles, (QStringList{"x", "y", "z"}));
        QCOMPARE(store.linkedFileDescriptions, (QStringList{"X", "Y", "Z"}));
        QCOMPARE(store.linkedFileLessons, (QStringList{a, a, b}));
        QCOMPARE(store.termTable.rowCount(), 2);
    }

    void filesThatMustNotLoad()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString good = fixtures::writeLesson(path("bad/good.kvl"), {term("one")});
        // A picture picked under "All Files".
        const QString picture =
            fixtures::writeFile(path("bad/picture.png"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        // Bytes that no text encoding of a lesson gives.
        const QString binary = fixtures::writeFile(path("bad/data.bin"), QByteArray("\x01\x02\x03\x04\x05"
                                                                                    "abc\x80\x81"));
        const QString missing = path("bad/missing.kvl");
        const QString good2 = fixtures::writeLesson(path("bad/good2.kvl"), {term("two")});
        store.openLessons = {good, picture, binary, missing, good2};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), (QStringList{picture, binary, missing}));
        QCOMPARE(opener.failureReason(picture), QStringLiteral("not a lesson"));
        QCOMPARE(opener.failureReason(missing), QStringLiteral("no such file or folder"));
        // Failed files stay in the list of open lessons, but never count as
        // loaded, so the saver will not write them.
        QCOMPARE(store.openLessons.size(), 5);
        QCOMPARE(fixtures::lines(store.lessonText), (QStringList{term("one"), term("two")}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermLesson), (QStringList{good, good2}));
        QVERIFY(!loaded.contains(picture) && !loaded.contains(binary) && !loaded.contains(missing));
        QCOMPARE(store.loadingLesson, good2);

        // Rows and lines that no longer agree when a lesson comes in: it is
        // taken out again, text and rows, and named.
        store.openLessons = {good, good2};
        QCOMPARE(opener.openAll([&] {
            if (store.termTable.rowCount() == 2)
                store.termTable.setRowCount(3);
        }),
                 QStringList{good2});
        QCOMPARE(opener.failureReason(good2), QStringLiteral("could not be loaded whole"));
        QCOMPARE(fixtures::lines(store.lessonText), QStringList{term("one")});
        QCOMPARE(store.termTable.rowCount(), 2);
        QVERIFY(loaded.contains(good) && !loaded.contains(good2));
    }

    // A text with no term tag and no linked-file line (a reading text beside
    // the lessons) is no lesson; one tag in any case, or one linked-file line,
    // makes a lesson.
    void onlyLessonsAreTakenAsLessons()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString reading = fixtures::writeLesson(path("only/story.txt"), {"Once upon a time", "<b>bold</b> = 2"});
        const QString empty = fixtures::writeFile(path("only/empty.kvl"), "\n\n");
        const QString lower = fixtures::writeLesson(path("only/lower.kvl"), {"<or=one>"});
        const QString links = fixtures::writeLesson(path("only/links.kvl"), {"<PAR FILE=\"a.txt\" DESCRIPTION=\"A\">"});
        // "<par" that names no file links nothing: saved, it would empty the file.
        const QString parade = fixtures::writeLesson(path("only/parade.txt"), {"<parade> of words"});
        store.openLessons = {reading, empty, lower, links, parade};
        for (const char *tag : {"<Pi=", "<ch=", "<NO=", "<ty=", "<st="})
            store.openLessons << fixtures::writeLesson(path("only/") + tag + ".kvl", {tag + QStringLiteral("x>")});
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), (QStringList{reading, empty, parade}));
        QCOMPARE(opener.failureReason(reading), QStringLiteral("not a lesson"));
        // (a state tag alone makes a lesson with no terms)
        QCOMPARE(fixtures::lines(store.lessonText), (QStringList{"<or=one>", "<Pi=x>", "<ch=x>", "<NO=x>", "<ty=x>"}));
        QCOMPARE(store.linkedFiles, QStringList{"a.txt"});
        QVERIFY(!loaded.contains(reading) && loaded.contains(links));
    }

    // Lessons as AbiWord (\uc0\uN and a space), pandoc (\uN?) and LibreOffice
    // (\dbch\afs, \'3f fallbacks) write them, made by
    // data/lessons/make_writer_fixtures.sh: same terms, states, soft line
    // break, linked files, and a second save gives the same bytes.
    void wordProcessorLessons_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::newRow("AbiWord") << "abiword_lesson.rtf";
        QTest::newRow("pandoc") << "pandoc_lesson.rtf";
        QTest::newRow("LibreOffice") << "libreoffice_lesson.rtf";
    }
    void wordProcessorLessons()
    {
        QFETCH(QString, fixture);
        LessonStore store;
        LoadedLessons loaded;
        const QString file = fixtures::writeFile(
            path("writers/") + fixture, fixtures::readFile(QStringLiteral(KORVANA_TEST_DATA "/lessons/") + fixture));
        const QStringList terms{
            QStringLiteral("<OR=hello><PI=n\u01d0 h\u01ceo><CH=\u4f60\u597d><NO=first line\u2028second line><TY=p>"),
            QStringLiteral("<OR=world><PI=sh\u00ecji\u00e8><CH=\u4e16\u754c><NO=><TY=w>"),
            QStringLiteral(
                "<OR=P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd><PI=zh\u014dng><CH=\u4e2d><NO=><TY=w>")};
        LessonOpener opener(store, loaded);
        LessonSaver saver(store, loaded);
        QByteArray saved;
        for (int round = 0; round < 3; ++round) {
            store.openLessons = {file};
            QCOMPARE(opener.openAll(), QStringList());
            QCOMPARE(fixtures::lines(store.lessonText), terms);
            QCOMPARE(fixtures::column(store.termTable, TermGrid::TermStatus), (QStringList{"d", "u", "l"}));
            QCOMPARE(fixtures::column(store.termTable, TermGrid::TermType), (QStringList{"p", "w", "w"}));
            QCOMPARE(store.linkedFiles, (QStringList{QStringLiteral("\u8bfe\u6587.txt"), "b.rtf"}));
            QCOMPARE(store.linkedFileDescriptions, (QStringList{QStringLiteral("\u0130zmir notes"), "Second"}));
            QCOMPARE(saver.saveAll(), QStringList());
            if (round == 2)
                QCOMPARE(fixtures::readFile(file), saved);
            saved = fixtures::readFile(file);
        }
    }

    void textEncodings()
    {
        QVERIFY(isLessonData(QByteArray()));
        RichEdit doc;
        loadLessonData(doc, "<OR=caf\xe9>\r\n");
        QCOMPARE(doc.text(), QStringLiteral("<OR=caf\u00e9>\r\n"));
        loadLessonData(doc, "\xEF\xBB\xBF{\\rtf1 <OR=\\u19968?>}");
        QCOMPARE(doc.text(), QStringLiteral("<OR=\u4e00>"));
        QVERIFY_THROWS_EXCEPTION(RichTextError, loadLessonData(doc, "<OR=a>\x1f"));
    }

    // Each form a lesson's text comes in opens to the same terms; text that no
    // lesson holds does not open.
    void eachEncodingOpens_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines"); // none: not a lesson
        const QString one = QStringLiteral("<OR=\u4e00>");
        const auto utf16 = [](QStringEncoder::Encoding e, const QString &s) {
            return QByteArray(QStringEncoder(e, QStringEncoder::Flag::WriteBom).encode(s));
        };
        QTest::newRow("UTF-8 mark") << "\xEF\xBB\xBF" + one.toUtf8() << QStringList{one};
        QTest::newRow("UTF-16LE, paragraph mark")
            << utf16(QStringEncoder::Utf16LE, one + QChar(QChar::ParagraphSeparator) + one) << QStringList{one, one};
        QTest::newRow("UTF-16BE, old Mac and DOS ends")
            << utf16(QStringEncoder::Utf16BE, one + "\r" + one + "\r\n" + one) << QStringList{one, one, one};
        QTest::newRow("UTF-16, two marks") << utf16(QStringEncoder::Utf16LE, QChar(0xFEFF) + one) << QStringList{one};
        // Letters that tell Windows-1252 from its neighbours (1250 reads them
        // as \u0144 and \u015A).
        QTest::newRow("Western 8-bit") << QByteArray("<OR=caf\xe9 ni\xf1o \x8c>")
                                       << QStringList{QStringLiteral("<OR=caf\u00e9 ni\u00f1o \u0152>")};
        QTest::newRow("frame marker") << QStringLiteral("<OR=\ufdd0>").toUtf8() << QStringList{"<OR=\ufffd>"};
        QTest::newRow("rich text behind a mark and blanks, in capitals")
            << QByteArray("\xEF\xBB\xBF \r\n{\\RTF1 <OR=\\u19968?>}") << QStringList{one};
        QTest::newRow("rich text in UTF-8") << "{urtf1 " + one.toUtf8() + "}" << QStringList{one};
        QTest::newRow("UTF-16 control") << utf16(QStringEncoder::Utf16LE, one + QChar(1)) << QStringList();
        // Tabs, page and line feeds and a DOS end mark are text.
        QTest::newRow("allowed controls")
            << QByteArray("<OR=a>\t<NO=b>\f\v\x1a") << QStringList{"<OR=a>\t<NO=b>\f\v\x1a"};
        QTest::newRow("unit separator") << QByteArray("<OR=a>\x1f") << QStringList();
        QTest::newRow("NUL") << QByteArray("<OR=a>\0", 7) << QStringList();
        QTest::newRow("rich text with NUL") << QByteArray("{\\rtf1 <OR=a>\0}", 15) << QStringList();
    }
    void eachEncodingOpens()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        LessonStore store;
        LoadedLessons loaded;
        store.openLessons = {fixtures::writeFile(path("encodings/") + QTest::currentDataTag(), bytes)};
        LessonOpener opener(store, loaded);
        QCOMPARE(isLessonData(bytes), !lines.isEmpty());
        QCOMPARE(opener.openAll().size(), lines.isEmpty() ? 1 : 0);
        QCOMPARE(fixtures::lines(store.lessonText), lines);
    }

    void fileTooBigForTheLessonTextIsNotLoaded()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString small = fixtures::writeLesson(path("big/a.kvl"), {term("one")});
        // Each line is one term; together they pass the limit by a little.
        const QString line = term(QString(990, u'x'));
        QStringList many;
        for (int i = 0; i * (line.size() + 1) <= LessonStore::TextLimit; ++i)
            many.append(line);
        const QString big = fixtures::writeLesson(path("big/b.kvl"), many);
        const QString after = fixtures::writeLesson(path("big/c.kvl"), {term("three")});
        store.openLessons = {small, big, after};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), QStringList{big});
        QCOMPARE(opener.failureReason(big), QStringLiteral("over the 1,000,000-character limit"));
        QCOMPARE(fixtures::lines(store.lessonText), (QStringList{term("one"), term("three")}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermLesson), (QStringList{small, after}));
        QVERIFY(!loaded.contains(big));

        // Exactly at the limit a lesson loads; one character more and it does not.
        QStringList exact = many.mid(0, int(LessonStore::TextLimit / (line.size() + 1)));
        const qsizetype used = exact.join(QLatin1Char('\n')).size() + 1;
        exact.append(term(QString(LessonStore::TextLimit - used - term(QString()).size(), u'y')));
        QCOMPARE(exact.join(QLatin1Char('\n')).size(), LessonStore::TextLimit);
        const QString atLimit = fixtures::writeLesson(path("big/exact.kvl"), exact);
        exact.last().insert(5, u'y');
        const QString pastLimit = fixtures::writeLesson(path("big/past.kvl"), exact);
        store.openLessons = {pastLimit, atLimit};
        QCOMPARE(opener.openAll(), QStringList{pastLimit});
        QCOMPARE(opener.failureReason(pastLimit), QStringLiteral("over the 1,000,000-character limit"));
        QCOMPARE(store.lessonText.lineCount(), exact.size());
        QCOMPARE(store.termTable.rowCount(), exact.size());

        // After another lesson, the line end between them counts as well.
        exact.last().remove(5, term("one").size() + 1);
        const QString overWithSmall = fixtures::writeLesson(path("big/over.kvl"), exact);
        exact.last().remove(5, 1);
        const QString fitsWithSmall = fixtures::writeLesson(path("big/fits.kvl"), exact);
        store.openLessons = {small, overWithSmall, fitsWithSmall};
        QCOMPARE(opener.openAll(), QStringList{overWithSmall});
        QCOMPARE(opener.failureReason(overWithSmall),
                 QStringLiteral("over the 1,000,000-character limit with the lessons before it"));

        // Too many bytes to be a lesson, a named pipe: refused unread.
        const QString huge = path("big/huge.kvl");
        {
            QFile f(huge);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(LessonOpener::MaxLessonBytes + 1));
        }
        const QString pipe = path("big/pipe.kvl");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        store.openLessons = {huge, pipe, small};
        QCOMPARE(opener.openAll(), (QStringList{huge, pipe}));
        QCOMPARE(opener.failureReason(huge), QStringLiteral("over the 1,000,000-character limit"));
        QCOMPARE(opener.failureReason(pipe), QStringLiteral("not a regular file"));
        QCOMPARE(fixtures::lines(store.lessonText), QStringList{term("one")});
    }

    // Rich text read paragraph by paragraph stops where its reader says so,
    // so a lesson past the limit is never read (nor held) whole.
    void readingStopsAtTheLimit()
    {
        QByteArray rtf = "{\\rtf1 ";
        for (int i = 0; i < 1000; ++i)
            rtf += "<OR=x>\\par ";
        rtf += "}";
        int seen = 0;
        QString error;
        QVERIFY(rtf::read(
            rtf, [&seen](rtf::Paragraph &&) { return ++seen < 3; }, &error));
        QCOMPARE(seen, 3);
    }

    void lessonNamedTwiceOpensOnce()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString a = fixtures::writeLesson(path("twice/a.kvl"), {term("one")});
        const QString b = fixtures::writeLesson(path("twice/b.kvl"), {term("two")});
        store.openLessons = {a, b, tmp.path() + "/twice/./a.kvl", QDir().relativeFilePath(a)};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), QStringList());
        QCOMPARE(store.openLessons, (QStringList{a, b}));
        QCOMPARE(store.termTable.rowCount(), 2);
    }

    void emptyAndFailedLoadsLeaveOneEmptyRow()
    {
        LessonStore store;
        LoadedLessons loaded;
        store.currentLesson = QStringLiteral("before");
        const QString empty = fixtures::writeLesson(path("none/empty.kvl"), {"", "<PAR FILE=\"\" DESCRIPTION=\"\">"});
        store.openLessons = {path("none/missing.kvl")};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll().size(), 1);
        QCOMPARE(store.termTable.rowCount(), 1);
        QVERIFY(store.termTable.lesson(0).isEmpty());
        QCOMPARE(store.lessonText.lineCount(), 0);
        // Nothing loaded: the current lesson keeps its value.
        QCOMPARE(store.currentLesson, QStringLiteral("before"));

        // An empty lesson loads (and may be saved), it just has no terms; a
        // lesson after it starts on the first line.
        const QString b = fixtures::writeLesson(path("none/b.kvl"), {term("one")});
        store.openLessons = {empty, b};
        QCOMPARE(opener.openAll(), QStringList());
        QCOMPARE(fixtures::lines(store.lessonText), QStringList{term("one")});
        QVERIFY(loaded.contains(empty));
        // Saved, a lesson with nothing in it stays as it was: an empty file
        // would no longer open as a lesson.
        const QByteArray before = fixtures::readFile(empty);
        QVERIFY(LessonSaver(store, loaded).saveAll().isEmpty());
        QCOMPARE(fixtures::readFile(empty), before);
    }

    void richTextKeepsUnicodeAndFormatting()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString a = path("rtf/a.kvl");
        fixtures::writeFile(a, fixtures::readFile(QStringLiteral(KORVANA_TEST_DATA "/lessons/formatted.kvl")));
        store.openLessons = {a};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), QStringList());
        QCOMPARE(store.lessonText.lineCount(), 2);
        QCOMPARE(store.lessonText.line(0),
                 QStringLiteral("<OR=hello><PI=n\u01d0 h\u01ceo><CH=\u4f60\u597d><NO=><TY=p>"));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermStatus), (QStringList{"d", "l"}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermType), (QStringList{"p", "w"}));
        QCOMPARE(store.linkedFiles, QStringList{QStringLiteral("\u8bfe\u6587.txt")});
        // The characters keep their own colour.
        const int chPos = store.lessonText.findText(QStringLiteral("\u4f60"), 0, store.lessonText.textLength());
        store.lessonText.setSelStart(chPos);
        store.lessonText.setSelLength(1);
        QCOMPARE(store.lessonText.selAttributes().color, QColor(Qt::red));
    }
};

QTEST_MAIN(TestLessonOpener)
#include "tst_lessonopener.moc"
