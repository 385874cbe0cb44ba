// The terms manager's work on the lesson store: listing terms, ordering,
// choosing by type and state, marking, and exporting lines to lesson files
// without ever damaging a lesson already on disk.
#include "editing/TermsManager.h"
#include "lessons/TermGrid.h"
#include "platform/richtext/RichEdit.h"
#include "support/ChildProcess.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

namespace {

using testfiles::readFile;
using testfiles::writeFile;

QStringList linesOf(const RichEdit &r)
{
    QStringList out;
    for (int i = 0; i < r.lineCount(); ++i)
        out << r.line(i);
    return out;
}

const QString kOne = "<OR=one><PI=yi1><CH=一><NO=n1><TY=w>";
const QString kHello = "<OR=hello><PI=ni3 hao3><CH=你好><NO=><TY=p>";
const QString kTwo = "<OR=Two><PI=er4><NO=x><TY=w>";

} // namespace

class TestTermsManager : public QObject {
    Q_OBJECT

private slots:
    void listsEveryLineWithItsRow()
    {
        RichEdit text;
        text.setText(QStringList{kOne, kHello, kTwo, "<or=lower><CH=>"}.join("\r\n"));
        const auto items = listTerms(text);
        QCOMPARE(int(items.size()), 4);
        QCOMPARE(items[0].chinese, QString("一"));
        QCOMPARE(items[0].translation, QString("one"));
        QCOMPARE(items[0].pinyin, QString("yi1"));
        QCOMPARE(items[0].notes, QString("n1"));
        QCOMPARE(items[1].pinyin, QString("ni3 hao3")); // blanks in a value are kept
        // No "CH" tag: an empty first column, the other values still read.
        QCOMPARE(items[2].chinese, QString());
        QCOMPARE(items[2].translation, QString("Two"));
        // Tag names are matched exactly: a lower-case tag is no tag.
        QCOMPARE(items[3].translation, QString());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(items[std::size_t(i)].row, i);
        QCOMPARE((QStringList{items[0].column(0), items[0].column(1), items[0].column(2), items[0].column(3)}),
                 (QStringList{"一", "one", "yi1", "n1"}));

        RichEdit empty;
        QVERIFY(listTerms(empty).empty());
    }

    void ordersWithOnlyAsciiLettersFolded()
    {
        QCOMPARE(compareTermsText("ni3 HAO3", "Ni3 hao3"), 0);
        QVERIFY(compareTermsText("apple", "Banana") < 0);
        QVERIFY(compareTermsText("Banana", "apple") > 0);
        QVERIFY(compareTermsText("ma", "mama") < 0); // a start comes first
        QVERIFY(compareTermsText("", "a") < 0);
        // Letters are folded to capitals, so "_" (after "Z") follows them.
        QVERIFY(compareTermsText("a", "_") < 0);
        QVERIFY(compareTermsText("zi4", "_") < 0); // z too
        QCOMPARE(compareTermsText("zi4", "ZI4"), 0);
        // Other letters keep their own codes: no folding beyond A-Z.
        QVERIFY(compareTermsText("Ä", "ä") != 0);
        QVERIFY(compareTermsText("z", "ā") < 0);
    }

    void choicesCompareExactlyAndEmptyCellsAreNeither()
    {
        TermGrid g;
        g.setRowCount(2);
        g.setCell(TermGrid::TermType, 0, "W");
        g.setCell(TermGrid::TermStatus, 0, "L");
        for (TermsChoice c : {TermsChoice::Words, TermsChoice::Phrases, TermsChoice::Unlearned, TermsChoice::Learned,
                              TermsChoice::Difficult}) {
            QVERIFY(!termMatches(c, g, 0));
            QVERIFY(!termMatches(c, g, 1));
        }
        QVERIFY(termMatches(TermsChoice::All, g, 1));
        // Each choice takes its own value and no other.
        g.setRowCount(3);
        g.setCell(TermGrid::TermType, 2, "p");
        g.setCell(TermGrid::TermStatus, 2, "d");
        QList<TermsChoice> taken;
        for (TermsChoice c : {TermsChoice::All, TermsChoice::Words, TermsChoice::Phrases, TermsChoice::Unlearned,
                              TermsChoice::Learned, TermsChoice::Difficult})
            if (termMatches(c, g, 2))
                taken << c;
        QCOMPARE(taken, (QList<TermsChoice>{TermsChoice::All, TermsChoice::Phrases, TermsChoice::Difficult}));
    }

    void marksOnlyRowsOfTheTable()
    {
        QCOMPARE((QStringList{markStateFor(0), markStateFor(1), markStateFor(2), markStateFor(3)}),
                 (QStringList{"u", "l", "d", QString()}));
        QCOMPARE(operationMessage(0), QStringLiteral("No selected terms"));
        QCOMPARE(operationMessage(1), QStringLiteral("Operation performed on 1 terms"));

        TermGrid g;
        g.setRowCount(3);
        for (int r = 0; r < 3; ++r)
            g.setCell(TermGrid::TermStatus, r, "u");
        const quint64 before = g.revision();
        QCOMPARE(markTerms(g, {2, 0, 3, 7, -1}, "l"), 2);
        QCOMPARE(g.state(0), QString("l"));
        QCOMPARE(g.state(1), QString("u"));
        QCOMPARE(g.state(2), QString("l"));
        // The practice engine notices the change through the revision.
        QVERIFY(g.revision() > before);
        QCOMPARE(g.cell(TermGrid::ShownCount, 0), QString());
    }

    void collectsLinesInTheGivenOrderEachOnItsOwnLine()
    {
        RichEdit text;
        text.setText(QStringList{kOne, kHello, kTwo}.join("\r\n"));
        text.setSel(3, 5);
        const int keepStart = text.selStart();
        RichEdit out;
        out.setText("old scratch");
        // The last line of the text, which has no line end of its own,
        // comes first and must not run into the next one.
        QCOMPARE(collectTermLines(text, {2, 0, 3, 9}, out), 2);
        QCOMPARE(linesOf(out), (QStringList{kTwo, kOne}));
        QCOMPARE(text.selStart(), keepStart);
        QCOMPARE(text.selLength(), 2);
        QCOMPARE(linesOf(text), (QStringList{kOne, kHello, kTwo})); // lesson text untouched

        QCOMPARE(collectTermLines(text, {}, out), 0);
        QCOMPARE(out.textLength(), 0);
        // Each line with its state, "u" where the table has none.
        TermGrid states;
        states.setRowCount(2);
        states.setCell(TermGrid::TermStatus, 0, "d");
        QCOMPARE(collectTermLines(text, {0, 1}, out, &states), 2);
        QCOMPARE(linesOf(out), (QStringList{"<ST=d>" + kOne, "<ST=u>" + kHello}));
    }

    void keepsEachValuesFormatting()
    {
        RichEdit text;
        text.setText(QStringList{kOne, kHello}.join("\r\n"));
        // Colour the translation "hello" of the second line.
        const int start = text.lineIndex(1) + 4;
        text.setSel(start, start + 5);
        text.setSelColor(QColor(0, 0, 255));
        RichEdit out;
        collectTermLines(text, {1}, out);
        out.setSel(4, 9);
        QCOMPARE(out.selText(), QString("hello"));
        QCOMPARE(out.selAttributes().color, QColor(0, 0, 255));
    }

    void appendingPutsTheTermsFirstAndNeverMakesALesson()
    {
        QTemporaryDir dir;
        RichEdit text;
        text.setText(kOne);
        RichEdit out;
        collectTermLines(text, {0}, out);
        RichEdit lesson;
        const QString existing = dir.filePath("lesson.kvl");
        writeFile(existing, QStringList{kHello, kTwo}.join("\r\n").toUtf8());
        exportIntoLesson(out, existing);
        lesson.loadFromFile(existing);
        QCOMPARE(linesOf(lesson), (QStringList{kOne, kHello, kTwo}));
        const QString missing = dir.filePath("missing.kvl");
        QVERIFY_THROWS_EXCEPTION(RichTextError, exportIntoLesson(out, missing));
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"lesson.kvl"});
    }

    void aFailedWriteLeavesTheLessonAsItWas()
    {
        QTemporaryDir dir;
        RichEdit text;
        text.setText(kOne);
        RichEdit out;
        collectTermLines(text, {0}, out);

        // A lesson in a folder that cannot be written to keeps its bytes. The
        // writes run as an unprivileged user: root ignores the folder's mode.
        QVERIFY(childtest::setMode(dir.path(), 0755));
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        const QString locked = dir.filePath("locked/lesson.kvl");
        const QByteArray original = QStringList{kHello, kTwo}.join("\r\n").toUtf8();
        writeFile(locked, original);
        QVERIFY(childtest::setMode(locked, 0644) && childtest::setMode(dir.filePath("locked"), 0555));
        const auto refused = [&](auto exportTo) {
            return childtest::asUnprivilegedUser([&] {
                try {
                    exportTo(out, locked);
                } catch (const RichTextError &) {
                    return QByteArray("refused");
                }
                return QByteArray("written");
            });
        };
        QCOMPARE(refused(exportIntoLesson), QByteArray("refused"));
        QCOMPARE(readFile(locked), original);
        QCOMPARE(refused(exportAsNewLesson), QByteArray("refused"));
        QCOMPARE(readFile(locked), original);
        QVERIFY(childtest::setMode(dir.filePath("locked"), 0755));
    }
};

QTEST_MAIN(TestTermsManager)
#include "tst_termsmanager.moc"
