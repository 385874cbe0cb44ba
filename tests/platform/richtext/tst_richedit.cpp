// The rich-text control as a model: lines, both position countings, the
// selection and its final paragraph mark, searching, streams and copyRichText.
#include "platform/richtext/ChineseFonts.h"
#include "platform/richtext/RichEdit.h"
#include "platform/richtext/RtfWriter.h"
#include "support/ChildProcess.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

using namespace korvana;

class TestRichEdit : public QObject {
    Q_OBJECT
private slots:
    void textUsesCrLfAndSetTextSplitsAnyLineEnd();
    void addAndDeleteLines();
    void bothCountingsOnMultiLineText();
    void selectionCountingRoundTrips();
    void setSelToEndIncludesFinalMark();
    void selTextReplacesAndDeletes();
    void findTextIgnoresCaseWithinRange();
    void setTextWithRtfLoadsRichText();
    void lastLineStreamsOutWithItsLineEnd();
    void wholeFileLoadDoesNotAddEmptyLine();
    void attributesOfSelection();
    void roundTripKeepsEveryRun();
    void copiesReplaceTheSelectionInOrder();
    void copyingEachTermLineYieldsOneLineEnd();
    void lessonsAppendLineAfterLine();
    void savedLessonIsComposedLineByLine();
    void filesLoadAndSave();
    void saveOnAFullDiskKeepsTheOldFile();
    void missingFileThrowsNamingIt();
    void noLayoutWithoutView();
    void viewSharesDocumentAndSelection();
    void windowsFontsTakeInstalledFaces();
};

void TestRichEdit::textUsesCrLfAndSetTextSplitsAnyLineEnd()
{
    RichEdit re;
    QCOMPARE(re.lineCount(), 0);
    re.setText(QStringLiteral("one\r\ntwo\rthree\nfour"));
    QCOMPARE(re.text(), QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));
    QCOMPARE(re.textLength(), re.text().size());
    QCOMPARE(re.lineCount(), 4);
    QCOMPARE(re.line(2), QStringLiteral("three"));
    QCOMPARE(re.line(4), QString());
    // An empty last line is no line.
    re.setText(QStringLiteral("a\rb"));
    QCOMPARE(re.lineCount(), 2);
    re.setText(QStringLiteral("a\r\n"));
    QCOMPARE(re.lineCount(), 1);
    QCOMPARE(re.lineIndex(1), 2); // the empty line after the last line end
    QCOMPARE(re.lineIndex(2), -1);
    re.setText(QStringLiteral("a\r\n\r\nb"));
    QCOMPARE(re.lineCount(), 3);
    QCOMPARE(re.line(1), QString());
}

void TestRichEdit::addAndDeleteLines()
{
    RichEdit re;
    re.addLine(QStringLiteral("first"));
    QCOMPARE(re.text(), QStringLiteral("first\r\n"));
    QCOMPARE(re.lineCount(), 1);
    re.addLine(QStringLiteral("second"));
    QCOMPARE(re.text(), QStringLiteral("first\r\nsecond\r\n"));
    re.setText(QStringLiteral("x"));
    re.addLine(QString());
    QCOMPARE(re.text(), QStringLiteral("x\r\n"));
    QCOMPARE(re.selStart(), re.textLength()); // caret after the added line

    re.setText(QStringLiteral("a\r\nb\r\nc"));
    re.deleteLine(1);
    QCOMPARE(re.text(), QStringLiteral("a\r\nc"));
    re.deleteLine(1); // the last line: its text goes, the line end before it stays
    QCOMPARE(re.text(), QStringLiteral("a\r\n"));
    QCOMPARE(re.lineCount(), 1);
    re.deleteLine(5);
    QCOMPARE(re.text(), QStringLiteral("a\r\n"));
    re.clear();
    QCOMPARE(re.lineCount(), 0);
    QCOMPARE(re.text(), QString());
}

void TestRichEdit::bothCountingsOnMultiLineText()
{
    RichEdit re;
    re.setText(QStringLiteral("ab\r\ncde\r\nf"));
    // Message counting: a line end is one character.
    QCOMPARE(re.lineIndex(0), 0);
    QCOMPARE(re.lineIndex(1), 3);
    QCOMPARE(re.lineIndex(2), 7);
    QCOMPARE(re.lineIndex(3), -1);
    QCOMPARE(re.lineFromChar(2), 0);
    QCOMPARE(re.lineFromChar(3), 1);
    QCOMPARE(re.lineFromChar(7), 2);
    QCOMPARE(re.lineFromChar(100), 2);
    // Selection counting: a line end is two.
    re.setSel(3, 6);
    QCOMPARE(re.selStart(), 4);
    QCOMPARE(re.selLength(), 3);
    QCOMPARE(re.selText(), QStringLiteral("cde"));
    re.setSel(1, 8);
    QCOMPARE(re.selStart(), 1);
    QCOMPARE(re.selLength(), 9);
    QCOMPARE(re.selText(), QStringLiteral("b\r\ncde\r\nf"));
    QCOMPARE(re.toSelectionPos(7), 9);
    QCOMPARE(re.toMessagePos(9), 7);
    // At the end and past it, where the final mark counts two and one.
    QCOMPARE(QList<int>({re.toSelectionPos(8), re.toSelectionPos(9), re.toMessagePos(10), re.toMessagePos(11)}),
             QList<int>({10, 12, 8, 9}));
}

void TestRichEdit::selectionCountingRoundTrips()
{
    RichEdit re;
    re.setText(QStringLiteral("ab\r\n\r\ncde\r\n"));
    const QString t = re.text();
    for (int s = 0; s <= t.size(); ++s) {
        if (s > 0 && t.at(s - 1) == QLatin1Char('\r'))
            continue; // between CR and LF is no position of the document
        const int m = re.toMessagePos(s);
        QCOMPARE(re.toSelectionPos(m), s);
        re.setSelStart(s);
        QCOMPARE(re.selStart(), s);
    }
    re.setSelStart(4);
    re.setSelLength(5);
    QCOMPARE(re.selText(), t.mid(4, 5));
}

void TestRichEdit::setSelToEndIncludesFinalMark()
{
    RichEdit re;
    re.setText(QStringLiteral("ab\r\ncd"));
    re.setSel(0, -1);
    QCOMPARE(re.selStart(), 0);
    QCOMPARE(re.selLength(), re.textLength() + 2);
    QCOMPARE(re.selText(), QStringLiteral("ab\r\ncd\r\n"));
    re.setSel(3, 5);
    QCOMPARE(re.selText(), QStringLiteral("cd"));
    re.setSelStart(0);
    re.setSelLength(re.textLength());
    QCOMPARE(re.selLength(), re.textLength()); // all of the text, not the mark
    re.setSel(-1, 0);
    QCOMPARE(re.selLength(), 0);
    QCOMPARE(re.selStart(), 0);
}

void TestRichEdit::selTextReplacesAndDeletes()
{
    RichEdit re;
    re.setText(QStringLiteral("hello world"));
    re.setSel(0, 5);
    re.setSelText(QStringLiteral("bye\r\nnow"));
    QCOMPARE(re.text(), QStringLiteral("bye\r\nnow world"));
    QCOMPARE(re.selStart(), 8);
    QCOMPARE(re.selLength(), 0);
    re.setSel(3, 5);
    re.clearSelection();
    QCOMPARE(re.text(), QStringLiteral("byeow world"));
    re.setSel(0, 3);
    re.setSelText(QString());
    QCOMPARE(re.text(), QStringLiteral("ow world"));
}

void TestRichEdit::findTextIgnoresCaseWithinRange()
{
    RichEdit re;
    re.setText(QStringLiteral("<ST=u>one\r\n<st=U>two\r\n<ST=d>three"));
    QCOMPARE(re.findText(QStringLiteral("<ST=u>"), 0, 100000000), 0);
    QCOMPARE(re.findText(QStringLiteral("<ST=u>"), 1, 100000000), 11);
    QCOMPARE(re.findText(QStringLiteral("<ST=u>"), 12, 100000000), -1);
    QCOMPARE(re.findText(QStringLiteral("<st=d>"), 0, 100000000), 22);
    // The whole hit must lie within [start, start + length).
    QCOMPARE(re.findText(QStringLiteral("two"), 0, 19), -1);
    QCOMPARE(re.findText(QStringLiteral("two"), 0, 20), 17);
    QCOMPARE(re.findText(QStringLiteral("two"), 17, 3), 17);
    QCOMPARE(re.findText(QString(), 0, 10), -1);
    // Deleting each hit and searching on from the same place takes all out.
    int pos = 0;
    int hits = 0;
    while ((pos = re.findText(QStringLiteral("<ST=U>"), pos, 100000000)) >= 0) {
        re.setSelStart(pos);
        re.setSelLength(6);
        re.clearSelection();
        ++hits;
    }
    QCOMPARE(hits, 2);
    QCOMPARE(re.text(), QStringLiteral("one\r\ntwo\r\n<ST=d>three"));
    // At line ends.
    re.setText(QStringLiteral("abc\r\ndef"));
    QCOMPARE(re.findText(QStringLiteral("c"), 0, 3), 2);
    QCOMPARE(re.findText(QStringLiteral("d"), 3, 10), 5); // start inside the line end
    QCOMPARE(re.findText(QStringLiteral("d"), 0, 5), -1); // range stops before "d"
    QCOMPARE(re.findText(QStringLiteral("c\r\nd"), 0, 8), 2);
    QCOMPARE(re.findText(QStringLiteral("c\r\nd"), 2, 4), 2); // a hit may end where the range does
    QCOMPARE(re.findText(QStringLiteral("f"), 7, 1), 7);
}

void TestRichEdit::setTextWithRtfLoadsRichText()
{
    RichEdit re;
    re.setText(QStringLiteral("{\\RTF1{\\fonttbl{\\f0 Arial;}}\\f0 rich\\par text}"));
    QCOMPARE(re.text(), QStringLiteral("rich\r\ntext"));
    re.setText(QStringLiteral("{urtf1 utf}"));
    QCOMPARE(re.text(), QStringLiteral("utf"));
    re.setText(QStringLiteral("{rtf is plain}"));
    QCOMPARE(re.text(), QStringLiteral("{rtf is plain}"));
    // Characters beyond 8 bits in a rich-text string still arrive.
    re.setText(QStringLiteral("{\\rtf1 \u4E2D}"));
    QCOMPARE(re.text(), QStringLiteral("\u4E2D"));
}

void TestRichEdit::lastLineStreamsOutWithItsLineEnd()
{
    RichEdit re, target;
    re.setText(QStringLiteral("one\r\ntwo"));
    re.setSel(re.lineIndex(1), -1);
    const QByteArray rtf = re.streamOutSelection();
    QVERIFY(rtf.contains("two\\par"));
    target.streamInSelection(rtf);
    QCOMPARE(target.text(), QStringLiteral("two\r\n"));
    QCOMPARE(target.lineCount(), 1);
    target.streamInSelection(rtf);
    QCOMPARE(target.text(), QStringLiteral("two\r\ntwo\r\n"));
    // Without the mark there is no line end.
    re.setSel(re.lineIndex(1), re.lineIndex(1) + 3);
    QVERIFY(!re.streamOutSelection().contains("two\\par"));
}

void TestRichEdit::wholeFileLoadDoesNotAddEmptyLine()
{
    RichEdit re;
    re.fromRtf("{\\rtf1\\ansi a\\par b\\par\r\n}");
    QCOMPARE(re.text(), QStringLiteral("a\r\nb"));
    QCOMPARE(re.lineCount(), 2);
    re.fromRtf("{\\rtf1\\ansi a\\par\\par}");
    QCOMPARE(re.text(), QStringLiteral("a\r\n"));
    // What toRtf writes loads back as it was.
    for (const QString &t : {QStringLiteral("a"), QStringLiteral("a\r\n"), QStringLiteral("a\r\n\r\nb"), QString()}) {
        RichEdit src, back;
        src.setText(t);
        back.fromRtf(src.toRtf());
        QCOMPARE(back.text(), t);
    }
}

void TestRichEdit::attributesOfSelection()
{
    RichEdit re;
    re.setText(QStringLiteral("plain red"));
    re.setSel(6, 9);
    CharAttributes a;
    a.fontName = QStringLiteral("SimSun");
    a.sizePoints = 18;
    a.color = QColor(255, 0, 0);
    a.bold = true;
    a.charset = 134;
    re.setSelAttributes(a);
    const CharAttributes b = re.selAttributes();
    QCOMPARE(b.fontName, a.fontName);
    QCOMPARE(b.sizePoints, 18.0);
    QCOMPARE(b.color, a.color);
    QVERIFY(b.bold);
    QCOMPARE(b.charset, 134);
    re.setSel(0, 5);
    const CharAttributes p = re.selAttributes(); // unformatted: as the control draws it
    QCOMPARE(std::tuple(p.fontName, p.sizePoints, p.color, p.bold, p.charset),
             std::tuple(QStringLiteral("Arial"), 10.0, QColor(Qt::black), false, 1));
    re.setSelBold(true);
    re.setSelSize(12.5);
    re.setSelColor(Qt::blue);
    re.setSelFontName(QStringLiteral("Courier New"));
    re.setSelCharset(238);
    const CharAttributes q = re.selAttributes();
    QVERIFY(q.bold);
    QCOMPARE(q.sizePoints, 12.5);
    QCOMPARE(q.color, QColor(Qt::blue));
    QCOMPARE(q.fontName, QStringLiteral("Courier New"));
    QCOMPARE(q.charset, 238);
}

namespace {
struct RunInfo {
    QString text;
    QString font;
    double size;
    QColor color;
    bool bold;
    int charset;
    bool operator==(const RunInfo &o) const
    {
        return text == o.text && font == o.font && size == o.size && color == o.color && bold == o.bold
               && charset == o.charset;
    }
};
QList<RunInfo> runsOf(RichEdit &re)
{
    // Character by character through the public attributes, merged into runs.
    QList<RunInfo> runs;
    const int len = re.document()->characterCount() - 1;
    for (int i = 0; i < len; ++i) {
        re.setSel(i, i + 1);
        const CharAttributes a = re.selAttributes();
        RunInfo r{re.selText(), a.fontName, a.sizePoints, a.color, a.bold, a.charset};
        if (!runs.isEmpty()) {
            RunInfo &l = runs.last();
            if (l.font == r.font && l.size == r.size && l.color == r.color && l.bold == r.bold
                && l.charset == r.charset) {
                l.text += r.text;
                continue;
            }
        }
        runs.append(r);
    }
    return runs;
}
void format(RichEdit &re, int from, int to, const QString &font, double size, QColor c, bool bold, int charset)
{
    re.setSel(from, to);
    re.setSelAttributes(CharAttributes{font, size, c, bold, charset});
}
} // namespace

void TestRichEdit::roundTripKeepsEveryRun()
{
    RichEdit re;
    re.setText(QStringLiteral(
        "<OR=to go><PI=q\u00F9><CH=\u53BB>\r\nsecond {br\\ace} \u00E9\u010D line\r\n\U0001F600 tab\there"));
    format(re, 0, 10, QStringLiteral("Arial"), 10, QColor(0, 0, 128), false, 0);
    format(re, 10, 17, QStringLiteral("Times New Roman"), 14, QColor(200, 10, 10), true, 0);
    format(re, 17, 25, QStringLiteral("\u5B8B\u4F53"), 22, QColor(0, 128, 0), false, 134);
    format(re, 26, 40, QStringLiteral("Arial CE"), 9.5, QColor(1, 2, 3), true, 238);
    const QList<RunInfo> before = runsOf(re);
    QVERIFY(before.size() >= 4);

    RichEdit back;
    back.fromRtf(re.toRtf());
    QCOMPARE(back.text(), re.text());
    QCOMPARE(runsOf(back), before);
    // And once more through a stream of the whole selection.
    RichEdit third;
    re.setSel(0, -1);
    third.streamInSelection(re.streamOutSelection());
    QCOMPARE(third.text(), re.text() + QStringLiteral("\r\n"));
}

void TestRichEdit::copiesReplaceTheSelectionInOrder()
{
    // An empty source changes nothing; a source without a selection is
    // copied whole and stays selected; the copy replaces the target's
    // selection and leaves the caret after it, so copies append in order.
    RichEdit empty, src, dst;
    dst.setText(QStringLiteral("an old text"));
    dst.setSel(3, 6);
    copyRichText(&empty, &dst);
    QCOMPARE(dst.text(), QStringLiteral("an old text"));
    QCOMPARE(QList<int>({dst.selStart(), dst.selLength()}), QList<int>({3, 3}));
    src.setText(QStringLiteral("N\r\nW"));
    copyRichText(&src, &dst);
    QCOMPARE(QList<int>({src.selStart(), src.selLength(), dst.selStart(), dst.selLength()}), QList<int>({0, 4, 7, 0}));
    copyRichText(&src, &dst);
    QCOMPARE(dst.text(), QStringLiteral("an N\r\nWN\r\nW text"));
}

void TestRichEdit::copyingEachTermLineYieldsOneLineEnd()
{
    RichEdit store;
    store.setText(QStringLiteral("<OR=one>\r\n<OR=two>\r\n<OR=three>"));
    format(store, 0, 4, QStringLiteral("Arial"), 12, Qt::red, true, 0);
    for (int r = 0; r < store.lineCount(); ++r) {
        RichEdit pane;
        const int next = store.lineIndex(r + 1);
        store.setSel(store.lineIndex(r), next);
        copyRichText(&store, &pane);
        QCOMPARE(pane.text(), store.line(r) + QStringLiteral("\r\n"));
        QCOMPARE(pane.lineCount(), 1);
    }
    RichEdit pane;
    store.setSel(0, store.lineIndex(1));
    copyRichText(&store, &pane);
    pane.setSel(0, 1);
    QVERIFY(pane.selAttributes().bold);
    QCOMPARE(pane.selAttributes().color, QColor(Qt::red));
}

void TestRichEdit::lessonsAppendLineAfterLine()
{
    RichEdit store, lesson;
    const QStringList lessons{QStringLiteral("a1\r\na2"), QStringLiteral("b1\r\nb2\r\n"), QStringLiteral("c1")};
    for (int i = 0; i < lessons.size(); ++i) {
        lesson.setText(lessons.at(i));
        if (i > 0)
            store.addLine(QString());
        copyRichText(&lesson, &store);
        for (int l = store.lineCount() - 1; l >= 0; --l)
            if (store.line(l).trimmed().isEmpty())
                store.deleteLine(l);
    }
    QStringList lines;
    for (int l = 0; l < store.lineCount(); ++l)
        lines << store.line(l);
    QCOMPARE(lines, (QStringList{"a1", "a2", "b1", "b2", "c1"}));
}

void TestRichEdit::savedLessonIsComposedLineByLine()
{
    // A state tag, then the term line with its line end, for each term; then
    // a linked-file line; the file reads back with exactly those lines.
    RichEdit store, lesson, temp;
    store.setText(QStringLiteral("{\\rtf1 <OR=a>\\par\\qc <OR=b>\\par\\pard <OR=c>}"));
    format(store, 2, 4, QStringLiteral("SimSun"), 15, Qt::red, true, 134);
    // A range is what its selection streams out; an empty one has nothing.
    for (const auto &[from, to] : {std::pair(-1, 3), {2, 2}, {9, 5}, {7, -1}}) {
        store.setSel(from, to);
        QCOMPARE(rtf::write(store.rangeContent(from, to)),
                 store.selLength() > 0 ? store.streamOutSelection() : rtf::write({}));
    }
    for (int r = 0; r < store.lineCount(); ++r) {
        temp.clear();
        temp.setText(QStringLiteral("<ST=u>"));
        copyRichText(&temp, &lesson);
        store.setSel(store.lineIndex(r), r + 1 < store.lineCount() ? store.lineIndex(r + 1) : -1);
        copyRichText(&store, &lesson);
    }
    temp.clear();
    temp.setText(QStringLiteral("<PAR FILE=\"x.txt\" DESCRIPTION=\"x\">\n"));
    copyRichText(&temp, &lesson);
    // Built without the controls, the same pieces save as the copies do.
    CopiedRichText built;
    QCOMPARE(built.toRtf(), RichEdit().toRtf());
    for (int r = 0; r < store.lineCount(); ++r) {
        QVERIFY(built.addPlainPiece(QStringLiteral("<ST=u>")));
        built.addPiece(store.rangeContent(store.lineIndex(r), r + 1 < store.lineCount() ? store.lineIndex(r + 1) : -1));
    }
    QVERIFY(built.addPlainPiece(QStringLiteral("<PAR FILE=\"x.txt\" DESCRIPTION=\"x\">\n")));
    QCOMPARE(built.toRtf(), lesson.toRtf());
    const QString expected =
        QStringLiteral("<ST=u><OR=a>\r\n<ST=u><OR=b>\r\n<ST=u><OR=c>\r\n<PAR FILE=\"x.txt\" DESCRIPTION=\"x\">\r\n");
    QCOMPARE(lesson.text(), expected);
    lesson.setSel(8, 9);
    QCOMPARE(lesson.selAttributes().fontName, QStringLiteral("SimSun"));
    QCOMPARE(lesson.selAttributes().charset, 134);
    // Built directly, a plain line holding a break other than LF is left to
    // the copies, which break it as the control does.
    for (const QString &text : {QStringLiteral("a\rb"), QStringLiteral("a\u2029b")})
        QVERIFY(!CopiedRichText().addPlainPiece(text));
    QVERIFY(CopiedRichText().addPlainPiece(QStringLiteral("a\nb")));
    // A line end typed after a line leaves the caret at the next line's start.
    CopiedRichText typed;
    QVERIFY(typed.addPlainPiece(QStringLiteral("<OR=a>")));
    typed.addLineEnd();
    QVERIFY(typed.caretAtLineStart() && typed.caretLine() == 1);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("saved.kvl"));
    lesson.saveToFile(file);
    RichEdit back;
    back.loadFromFile(file);
    QCOMPARE(back.text(), expected);
    QCOMPARE(back.lineCount(), 4);
    // Saving twice writes the same file.
    back.saveToFile(dir.filePath(QStringLiteral("again.kvl")));
    QFile a(file), b(dir.filePath(QStringLiteral("again.kvl")));
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
}

void TestRichEdit::filesLoadAndSave()
{
    QTemporaryDir dir;
    const QString rtfFile = dir.filePath(QStringLiteral("lesson.kvl"));
    RichEdit re;
    re.setText(QStringLiteral("<OR=one><CH=\u4E00>\r\n<OR=two>"));
    format(re, 0, 8, QStringLiteral("Arial"), 16, Qt::darkGreen, true, 0);
    re.saveToFile(rtfFile);
    RichEdit back;
    back.loadFromFile(rtfFile);
    QCOMPARE(back.text(), re.text());
    back.setSel(0, 1);
    QCOMPARE(back.selAttributes().sizePoints, 16.0);

    // Plain text: not UTF-8 is Windows-1252; a mark names UTF-8 or either UTF-16.
    const QString txt = dir.filePath(QStringLiteral("plain.txt"));
    const std::pair<QByteArray, QString> plain[] = {
        {QByteArray("caf\xE9\r\nline"), QStringLiteral("caf\u00E9\r\nline")},
        {QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD\n"), QStringLiteral("\u4E2D\r\n")},
        {QByteArray("\xFE\xFF\x4E\x00\x00\x0A", 6), QStringLiteral("\u4E00\r\n")},
        {QByteArray("\xFF\xFE\x00\x4E\x0A\x00", 6), QStringLiteral("\u4E00\r\n")},
    };
    for (const auto &[bytes, text] : plain) {
        QFile f(txt);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush());
        f.close();
        back.loadFromFile(txt);
        QCOMPARE(back.text(), text);
    }

    QVERIFY_THROWS_EXCEPTION(RichTextError, re.saveToFile(dir.filePath(QStringLiteral("no/such/dir/x.kvl"))));
}

void TestRichEdit::saveOnAFullDiskKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lesson.kvl"));
    RichEdit re;
    re.setText(QStringLiteral("<OR=old>"));
    re.saveToFile(file);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines << QStringLiteral("<OR=term %1><CH=\u4F60\u597D>").arg(i);
    re.setText(lines.join(QStringLiteral("\r\n")));
    const qsizetype size = re.toRtf().size();
    QVERIFY(size > 2048 && size < 16384); // past the limit, within a buffered writer's buffer
    // Past the limit the write fails part-way, as on a full disk.
    QCOMPARE(childtest::withFileSizeLimit(2048,
                                          [&] {
                                              re.saveToFile(file);
                                              return QByteArray("saved");
                                          }),
             QByteArray("<exception> Cannot write \"") + QFile::encodeName(file) + "\": file too large for the disk");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"lesson.kvl"});
}

void TestRichEdit::missingFileThrowsNamingIt()
{
    RichEdit re;
    re.setText(QStringLiteral("kept"));
    try {
        re.loadFromFile(QStringLiteral("/nonexistent/lesson.kvl"));
        QFAIL("no error");
    } catch (const RichTextError &e) {
        QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("/nonexistent/lesson.kvl")));
    }
    QCOMPARE(re.text(), QStringLiteral("kept"));
    // A named pipe or a device is refused at once, not waited on.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("lesson.kvl"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &special : {fifo, QStringLiteral("/dev/zero")})
        QVERIFY_THROWS_EXCEPTION(RichTextError, re.loadFromFile(special));
    QCOMPARE(re.text(), QStringLiteral("kept"));
}

void TestRichEdit::noLayoutWithoutView()
{
    RichEdit re;
    re.setText(QStringLiteral("a\r\nb"));
    re.addLine(QStringLiteral("c"));
    re.setSel(0, -1);
    RichEdit other;
    copyRichText(&re, &other);
    other.findText(QStringLiteral("b"), 0, 100);
    other.deleteLine(0);
    // A layout would lay the text out again after every edit of a store.
    QVERIFY(re.document()->findChildren<QAbstractTextDocumentLayout *>().isEmpty());
    QVERIFY(other.document()->findChildren<QAbstractTextDocumentLayout *>().isEmpty());
}

void TestRichEdit::viewSharesDocumentAndSelection()
{
    RichEdit re;
    re.setText(QStringLiteral("line one\r\nline two\r\nline three"));
    re.setSel(5, 8);
    QTextEdit view;
    re.attachView(&view);
    QCOMPARE(view.document(), re.document());
    QCOMPARE(view.textCursor().selectedText(), QStringLiteral("one"));
    QTextCursor c = view.textCursor();
    c.setPosition(9);
    c.setPosition(13, QTextCursor::KeepAnchor);
    view.setTextCursor(c);
    QCOMPARE(re.selStart(), 10);
    QCOMPARE(re.selText(), QStringLiteral("line"));
    view.resize(300, 200);
    view.show();
    QCOMPARE(re.charFromPos(re.posFromChar(9) + QPoint(1, 1)), 9);
    QCOMPARE(re.firstVisibleLine(), 0);
    QCOMPARE(re.lineIndex(-1), 9); // the caret's line
    QCOMPARE(re.lineFromChar(-1), 1);
    re.setWordWrap(false);
    QCOMPARE(view.lineWrapMode(), QTextEdit::NoWrap);
    re.setSelBold(true);
    QVERIFY(re.selAttributes().bold);
    re.copy();
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->text(), QStringLiteral("line"));
    QCOMPARE(copied->data(QStringLiteral("text/rtf")), re.streamOutSelection());
    QCOMPARE(copied->data(QStringLiteral("application/rtf")), re.streamOutSelection());
    re.attachView(nullptr);
    QCOMPARE(re.selText(), QStringLiteral("line"));
    QVERIFY(view.document() != re.document());
    QCOMPARE(re.posFromChar(3), QPoint(0, 0));
    // Scrolling by lines, from the first line shown.
    re.setAlignment(TextAlignment::Right);
    re.setText(QStringLiteral("x\r\n").repeated(60));
    QCOMPARE(re.document()->lastBlock().blockFormat().alignment(), Qt::AlignRight);
    re.attachView(&view);
    re.lineScroll(10);
    re.lineScroll(-3);
    QCOMPARE(re.firstVisibleLine(), 7);
}

void TestRichEdit::windowsFontsTakeInstalledFaces()
{
    // Each missing Windows font, and its vertical "@" form, is drawn in the
    // installed face of its style and forms (Kai falls back to Song).
    fonts::useChineseGlyphForms();
    const std::pair<const char *, const char *> faces[] = {
        {"SimSun|宋体|NSimSun|新宋体|SimSun-ExtB|STSong|华文宋体|FangSong|仿宋|FangSong_GB2312|仿宋_GB2312|STFangsong|"
         "华文仿宋|KaiTi|楷体|KaiTi_GB2312|楷体_GB2312|STKaiti|华文楷体",
         "Noto Serif CJK SC"},
        {"SimHei|黑体|Microsoft YaHei|微软雅黑|Microsoft YaHei UI|DengXian|等线|STHeiti|华文黑体|STXihei|华文细黑",
         "Noto Sans CJK SC"},
        {"MingLiU|細明體|PMingLiU|新細明體|MingLiU-ExtB|PMingLiU-ExtB|MingLiU_HKSCS|細明體_HKSCS|DFKai-SB|標楷體",
         "Noto Serif CJK TC"},
        {"Microsoft JhengHei|微軟正黑體|Microsoft JhengHei UI", "Noto Sans CJK TC"},
        {"Times New Roman|Times|Tinos", "Liberation Serif"},
        {"Arial|Helvetica|Arimo", "Liberation Sans"},
    };
    for (const auto &[names, face] : faces)
        for (const QString &name : QString::fromUtf8(names).split(u'|'))
            for (const QString &asked : {name, u'@' + name})
                QCOMPARE(asked + u'=' + QFont::substitutes(asked).value(0).toLower(),
                         asked + u'=' + QString::fromLatin1(face).toLower());
    // A Big5 run's Han characters take traditional forms after its font,
    // and the Latin letters the face its missing font stands for.
    QCOMPARE(fonts::familiesForRun(QStringLiteral("SimSun"), 134), QStringList{"SimSun"});
    QCOMPARE(fonts::familiesForRun(QStringLiteral("Noto Serif CJK TC"), 136), QStringList{"Noto Serif CJK TC"});
    QCOMPARE(fonts::familiesForRun(QStringLiteral("Microsoft JhengHei"), 136),
             (QStringList{"Microsoft JhengHei", "noto sans cjk tc"}));
    QCOMPARE(fonts::familiesForRun(QStringLiteral("Arial"), 136),
             (QStringList{"Arial", "Liberation Sans", "Noto Serif CJK TC"}));
}

QTEST_MAIN(TestRichEdit)
#include "tst_richedit.moc"
