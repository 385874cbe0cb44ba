// The vocabulary lay-out on its own: which terms come out, in what order,
// with which fields and separators, what formatting survives, and how a
// table row without a line ends the build.
#include "editing/VocabularyBuilder.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace korvana;

namespace {

QString term(const QString &orig, const QString &pin, const QString &chars, const QString &type = "w",
             const QString &notes = QString())
{
    return QStringLiteral("<OR=%1><PI=%2><CH=%3><NO=%4><TY=%5>").arg(orig, pin, chars, notes, type);
}

// The store as opening lessons leaves it: one line per term, one row per line.
struct Store {
    RichEdit lessonText;
    TermGrid grid;

    void load(const QStringList &lines, const QString &lesson = "/lessons/one.kvl")
    {
        lessonText.setText(lines.join("\r\n"));
        grid.setRowCount(int(lines.size()));
        for (int r = 0; r < lines.size(); ++r) {
            const int ty = int(lines[r].indexOf("<TY="));
            grid.setCell(TermGrid::ShownCount, r, "0");
            grid.setCell(TermGrid::TermType, r, ty >= 0 ? lines[r].mid(ty + 4, 1) : "w");
            grid.setCell(TermGrid::TermStatus, r, "u");
            grid.setCell(TermGrid::TermLesson, r, lesson);
        }
    }
};

// The paragraphs of the built document (the last, empty one after the final
// paragraph end left out).
QStringList paragraphs(const RichEdit &out)
{
    QStringList p = out.text().split("\r\n");
    if (!p.isEmpty() && p.last().isEmpty())
        p.removeLast();
    return p;
}

QTextCharFormat formatAt(const RichEdit &edit, int pos)
{
    QTextCursor c(edit.document());
    c.setPosition(pos + 1);
    return c.charFormat();
}

} // namespace

class TestVocabularyBuilder : public QObject {
    Q_OBJECT

    QStringList build(Store &s, const VocabularyOptions &o, bool *complete = nullptr)
    {
        VocabularyBuilder b;
        RichEdit out;
        const bool done = b.build(s.lessonText, s.grid, out, o);
        if (complete)
            *complete = done;
        return paragraphs(out);
    }

private slots:
    void separatorText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("separator");
        QTest::newRow("default") << "^t"
                                 << "\t";
        QTest::newRow("mixed") << "^t; ^t"
                               << "\t; \t";
        QTest::newRow("capital T stays") << "^T"
                                         << "^T";
        QTest::newRow("empty") << ""
                               << "\t";
        QTest::newRow("plain") << " | "
                               << " | ";
    }
    void separatorText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, separator);
        QCOMPARE(vocabularySeparator(typed), separator);
    }

    void defaultsLayOutWordsOnly()
    {
        Store s;
        s.load({term("one", "yi1", "一"), term("hello", "ni3 hao3", "你好", "p"), term("two", "", "二"),
                term("three", "san1", "三", "w", "a note")});
        QCOMPARE(build(s, VocabularyOptions{}), QStringList({"one\tyi1\t一", "two\t二", "three\tsan1\t三"}));
    }

    void typesAndNumbering()
    {
        Store s;
        s.load({term("a", "", "", "p"), term("b", "", "", "w"), term("c", "", "", "p"), "<OR=d><PI=><CH=>",
                term("e", "", "", "x")});
        VocabularyOptions o;
        o.words = false;
        o.phrases = true;
        o.numbered = true;
        // A term that is neither word nor phrase, or has no type, always comes out.
        QCOMPARE(build(s, o), QStringList({"1\ta", "2\tc", "3\td", "4\te"}));
        o.phrases = false;
        QCOMPARE(build(s, o), QStringList({"1\td", "2\te"}));
    }

    void displayOrderAndUncheckedFirstColumn()
    {
        Store s;
        s.load({term("zeta", "yi1", "一", "w", "n1"), term("two", "", "二", "w", "")});
        VocabularyOptions o;
        o.sorted = true; // with the first item unchecked, the lesson order stays
        o.columns = {{{Pane::Translation, false}, {Pane::Notes, true}, {Pane::Characters, true}, {Pane::Pinyin, true}}};
        o.separatorText = ";";
        // Every non-empty field but one at position 0 gets a separator, so an
        // unchecked first item leaves one in front of the paragraph.
        QCOMPARE(build(s, o), QStringList({";n1;一;yi1", ";二"}));
    }

    void sortedByFirstColumn()
    {
        Store s;
        s.load({term("banana", "b1", "香蕉"), term("Apple", "a1", "苹果"), term("", "k", "空"),
                term("apple", "a2", "苹果二"), term("cherry", "c", "樱桃"), term("APPLE", "a3", "苹果三")});
        VocabularyOptions o;
        o.columns[1].checked = false;
        o.columns[2].checked = false;
        o.sorted = true;
        o.numbered = true;
        o.lessons = true;
        s.grid.setCell(TermGrid::TermLesson, 4, "C:\\Lessons\\second.kvl");
        // Case is ignored, equal keys keep their lesson order, an empty key
        // comes first; the lesson name travels with its row.
        QCOMPARE(build(s, o), QStringList({"1\t\tone.kvl", "2\tApple\tone.kvl", "3\tapple\tone.kvl",
                                           "4\tAPPLE\tone.kvl", "5\tbanana\tone.kvl", "6\tcherry\tsecond.kvl"}));
        // The work copy holds the row index and the key; the table is untouched.
        VocabularyBuilder b;
        RichEdit out;
        QVERIFY(b.build(s.lessonText, s.grid, out, o));
        QTextCharFormat lessonFont = formatAt(out, int(out.text().indexOf("second")));
        QCOMPARE(lessonFont.fontFamilies().toStringList().value(0), QString("Arial"));
        QCOMPARE(lessonFont.fontPointSize(), 9.0);
        QCOMPARE(b.workTable.cell(TermGrid::TermKey, 0), QString("2"));
        QCOMPARE(b.workTable.cell(TermGrid::ShownCount, 5), QString("cherry"));
        QCOMPARE(s.grid.cell(TermGrid::ShownCount, 0), QString("0"));
        QCOMPARE(s.grid.cell(TermGrid::TermKey, 0), QString());
    }

    void tagsFoundInAnyCaseAnywhere()
    {
        Store s;
        s.load({"<ty=w><ch=字><pi=zi4><or=letter>", "<OR=open", "<TY=w><OR=a>b>"});
        const QStringList got = build(s, VocabularyOptions{});
        // An unclosed value is no value; text after a closing ">" is no value's.
        QCOMPARE(got, QStringList({"letter\tzi4\t字", "", "a"}));
    }

    void fieldsKeepTheirFormattingAndCharactersFontApplies()
    {
        Store s;
        s.lessonText.setText(
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 SimHei;}}{\\colortbl;\\red255\\green0\\blue0;}"
            "\\f0 <OR=\\cf1 red\\cf0 ><PI=hong2><CH=\\f1\\fs48 \\u32418?\\f0\\fs20 ><NO=><TY=w>\\par}");
        s.grid.setRowCount(1);
        s.grid.setCell(TermGrid::TermType, 0, "w");
        s.grid.setCell(TermGrid::TermLesson, 0, "/l.kvl");
        VocabularyOptions o;
        VocabularyBuilder b;
        RichEdit out;
        QVERIFY(b.build(s.lessonText, s.grid, out, o));
        QCOMPARE(paragraphs(out), QStringList({QString::fromUtf8("red\thong2\t红")}));
        QCOMPARE(formatAt(out, 0).foreground().color(), QColor(Qt::red));
        const int ch = int(out.text().indexOf(QString::fromUtf8("红")));
        QCOMPARE(formatAt(out, ch).fontPointSize(), 24.0);
        QCOMPARE(formatAt(out, ch).fontFamilies().toStringList().value(0), QString("SimHei"));

        o.setCharactersFont = true;
        o.charactersFont = "KaiTi";
        o.rotateCharacters = true;
        o.boldCharacters = true;
        QVERIFY(b.build(s.lessonText, s.grid, out, o));
        const QTextCharFormat f = formatAt(out, ch);
        // "Rotate" keeps the font itself, as the practice panes do: Linux has
        // no "@" vertical forms.
        QCOMPARE(f.fontFamilies().toStringList().value(0), QString("KaiTi"));
        QCOMPARE(f.fontWeight(), int(QFont::Bold));
        QCOMPARE(f.fontPointSize(), 24.0); // the size stays as the lesson has it
        QVERIFY(formatAt(out, 0).fontWeight() != int(QFont::Bold));
        QCOMPARE(formatAt(out, 0).foreground().color(), QColor(Qt::red));
    }

    void rowWithoutLineStopsTheBuild()
    {
        Store s;
        s.load({term("one", "yi1", "一"), term("two", "er4", "二")});
        s.grid.setRowCount(4);
        VocabularyBuilder b;
        int rows = 0;
        b.onRow = [&] { ++rows; };
        RichEdit out;
        QVERIFY(!b.build(s.lessonText, s.grid, out, VocabularyOptions{}));
        QCOMPARE(paragraphs(out), QStringList({"one\tyi1\t一", "two\ter4\t二"}));
        QCOMPARE(rows, 3); // the row that ended it was counted
    }

    void lessonTextLeftAsItWas()
    {
        Store s;
        s.load({term("one", "yi1", "一"), term("two", "er4", "二")});
        // A trailing line end gives an empty line: an empty paragraph, not a
        // second copy of the lesson text.
        s.lessonText.setText(s.lessonText.text() + "\r\n");
        s.grid.setRowCount(3);
        s.lessonText.setSelStart(5);
        s.lessonText.setSelLength(3);
        const QString before = s.lessonText.text();
        VocabularyOptions o;
        o.numbered = true;
        o.sorted = true;
        QStringList got = build(s, o);
        QCOMPARE(got, QStringList({"1\t", "2\tone\tyi1\t一", "3\ttwo\ter4\t二"}));
        QCOMPARE(s.lessonText.text(), before);
        QCOMPARE(s.lessonText.selStart(), 5);
        QCOMPARE(s.lessonText.selLength(), 3);
    }
};

QTEST_MAIN(TestVocabularyBuilder)
#include "tst_vocabulary_builder.moc"
