// The lesson text and the term table: rows made per line, the readers of the
// tags, and the two editing operations on the lesson text.
#include "lessons/LessonLine.h"
#include "lessons/LessonStore.h"
#include "lessons/Pane.h"

#include <QGuiApplication>
#include <QtTest>

using namespace korvana;

class TestLessonStore : public QObject {
    Q_OBJECT

    static void appendLesson(LessonStore &s, const QStringList &lines, const QString &file)
    {
        for (const QString &l : lines)
            s.lessonText.addLine(l);
        s.loadIntoTermTable(file);
    }

private slots:
    void tagContent_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("expected");
        const QString line = QStringLiteral("<OR=hello><PI=ni3 hao3>");
        QTest::newRow("present") << line << "PI"
                                 << "ni3 hao3";
        QTest::newRow("absent") << line << "NO"
                                << "";
        QTest::newRow("unclosed") << QStringLiteral("<OR=hello") << "OR"
                                  << "";
        QTest::newRow("lower case tag is not found") << QStringLiteral("<or=hello>") << "OR"
                                                     << "";
        QTest::newRow("first occurrence wins")
            << QStringLiteral("<CH=\u4f60><CH=\u597d>") << "CH" << QStringLiteral("\u4f60");
        QTest::newRow("text after a value belongs to no tag") << QStringLiteral("<OR=a>junk<NO=>x>") << "NO"
                                                              << "";
        QTest::newRow("blanks kept") << QStringLiteral("<NO=  two words >") << "NO"
                                     << "  two words ";
    }
    void tagContent()
    {
        QFETCH(QString, line);
        QFETCH(QString, tag);
        QFETCH(QString, expected);
        QCOMPARE(korvana::tagContent(line, tag), expected);
    }

    void typeAndStateReaders()
    {
        QCOMPARE(termTypeOf(QStringLiteral("<OR=a><TY=p>")), QStringLiteral("p"));
        QCOMPARE(termTypeOf(QStringLiteral("<OR=a>")), QStringLiteral("w"));
        QCOMPARE(termTypeOf(QStringLiteral("<OR=a><ty=p>")), QStringLiteral("w"));
        QCOMPARE(termTypeOf(QStringLiteral("<OR=a><TY=")), QString());
        QCOMPARE(termStateOf(QStringLiteral("<ST=d><OR=a><ST=l>")), QStringLiteral("d"));
        QCOMPARE(termStateOf(QStringLiteral("<OR=a>")), QStringLiteral("u"));
    }

    void emptyTableKeepsOneEmptyRow()
    {
        LessonStore s;
        QCOMPARE(s.termTable.rowCount(), 1);
        s.termTable.setCell(TermGrid::ShownCount, 0, QStringLiteral("3"));
        s.termTable.setRowCount(0);
        QCOMPARE(s.termTable.rowCount(), 1);
        for (int c = 0; c < TermGrid::ColCount; ++c)
            QVERIFY(s.termTable.cell(c, 0).isEmpty());
        // Rows dropped and added again come back empty.
        s.termTable.setRowCount(3);
        s.termTable.setCell(TermGrid::TermType, 2, QStringLiteral("p"));
        s.termTable.setRowCount(2);
        s.termTable.setRowCount(3);
        QVERIFY(s.termTable.cell(TermGrid::TermType, 2).isEmpty());

        // A cell out of range is none and does not change the table; emptied,
        // the table has changed.
        const quint64 before = s.termTable.revision();
        s.termTable.setCell(TermGrid::ColCount, 0, QStringLiteral("x"));
        s.termTable.setCell(0, 3, QStringLiteral("x"));
        QVERIFY(s.termTable.cell(TermGrid::ColCount, 0).isEmpty() && s.termTable.revision() == before);
        s.termTable.clear();
        QVERIFY(s.termTable.revision() > before);
    }

    // The panes in their order on screen, each with its controls' name and
    // its field's tag in a lesson line.
    void panes()
    {
        const QStringList names{"translation", "pinyin", "characters", "notes"}, tags{"OR", "PI", "CH", "NO"};
        for (int i = 0; i < 4; ++i) {
            const Pane pane = allPanes[size_t(i)];
            QVERIFY(paneIndex(pane) == size_t(i) && paneName(pane) == names[i] && paneTag(pane) == tags[i]);
        }
    }

    void twoLessonsGiveOneRowPerLine()
    {
        LessonStore s;
        appendLesson(
            s, {QStringLiteral("<OR=one><TY=w><ST=l>"), QStringLiteral("<OR=two><TY=p>"), QStringLiteral("<OR=three>")},
            QStringLiteral("/l/first.kvl"));
        // The spare row after the last term is where the next lesson starts.
        QCOMPARE(s.termTable.rowCount(), 4);
        appendLesson(s, {QStringLiteral("<OR=four><TY=p><ST=d>"), QStringLiteral("<OR=five>")},
                     QStringLiteral("/l/second.kvl"));
        QCOMPARE(s.termTable.rowCount(), 6);
        QCOMPARE(s.termCount(), 5);

        const QStringList types = {"w", "p", "w", "p", "w"};
        const QStringList states = {"l", "u", "u", "d", "u"};
        for (int r = 0; r < 5; ++r) {
            QCOMPARE(s.termTable.cell(TermGrid::ShownCount, r), QStringLiteral("0"));
            QCOMPARE(s.termTable.type(r), types[r]);
            QCOMPARE(s.termTable.state(r), states[r]);
            QVERIFY(s.termTable.cell(TermGrid::TermKey, r).isEmpty());
        }
        QCOMPARE(s.termTable.lesson(2), QStringLiteral("/l/first.kvl"));
        QCOMPARE(s.termTable.lesson(3), QStringLiteral("/l/second.kvl"));
        QCOMPARE(s.termTable.lesson(4), QStringLiteral("/l/second.kvl"));
        QVERIFY(s.termTable.lesson(5).isEmpty());
    }

    void chineseLessonNameKept()
    {
        LessonStore s;
        const QString file = QStringLiteral("/home/x/\u8bfe\u6587/\u7b2c\u4e00\u8bfe.kvl");
        appendLesson(s, {QStringLiteral("<OR=a>"), QStringLiteral(" ")}, file);
        QCOMPARE(s.termTable.lesson(0), file);
        QCOMPARE(s.termTable.rowCount(), 2); // a blank line makes no row
    }

    void getValueSelectsTheValueOnItsLine()
    {
        LessonStore s;
        s.lessonText.setText(QStringLiteral("<OR=first><PI=yi1>\r\n<pi=er4><OR=second>\r\n<OR=third"));
        // Line 1 starts after "…>" + CR LF: selection counting.
        const int line1 = s.lessonText.toSelectionPos(s.lessonText.lineIndex(1));
        QCOMPARE(line1, 20); // 18 characters and CR LF
        QCOMPARE(s.valueAt(line1, QStringLiteral("OR")), QStringLiteral("second"));
        QCOMPARE(s.lessonText.selText(), QStringLiteral("second"));
        // The tag name is matched in any case here.
        QCOMPARE(s.valueAt(line1, QStringLiteral("PI")), QStringLiteral("er4"));
        // A tag on a later line is not this line's.
        QCOMPARE(s.valueAt(0, QStringLiteral("NO")), QString());
        QCOMPARE(s.lessonText.selStart(), 0);
        QCOMPARE(s.lessonText.selLength(), 18);
        // An unclosed value stops at its line's end.
        const int line2 = s.lessonText.toSelectionPos(s.lessonText.lineIndex(2));
        QCOMPARE(s.valueAt(line2, QStringLiteral("OR")), QStringLiteral("third"));
    }

    void removeNumberTagsTakesOutEveryNumberTag()
    {
        LessonStore s;
        s.lessonText.setText(QStringLiteral("<NR=12><OR=a>\r\n<OR=b><nr=7>\r\n<OR=c><NR=open\r\n<OR=d>"));
        s.removeNumberTags();
        QCOMPARE(s.lessonText.text(), QStringLiteral("<OR=a>\r\n<OR=b>\r\n<OR=c>\r\n<OR=d>"));
        QCOMPARE(s.lessonText.lineCount(), 4);
    }
};

QTEST_MAIN(TestLessonStore)
#include "tst_lessonstore.moc"
