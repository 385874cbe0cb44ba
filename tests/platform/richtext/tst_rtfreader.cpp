// Reading rich text written by other programs: code pages, Unicode, fonts,
// destinations, tables, and damaged input.
#include "platform/richtext/RichEdit.h"
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfWriter.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace korvana;

class TestRtfReader : public QObject {
    Q_OBJECT
private slots:
    void gb2312Lesson();
    void big5Lesson();
    void negativeUnicodeWithTwoFallbackBytes();
    void czechInCodePage1250();
    void wordPadStyle();
    void wordStyleDestinationsFieldsTables();
    void libreOfficeLesson();
    void wordOnChineseWindows_data();
    void wordOnChineseWindows();
    void multiByteSequenceSplitByEscapesIsGathered();
    void rightToLeftTextKeepsItsOwnFontSet();
    void codePageOfEachCharset_data();
    void codePageOfEachCharset();
    void writerOutputForOtherReaders();
    void notRichTextFailsClearly();
    void damagedInputLoadsWhatItCan_data();
    void damagedInputLoadsWhatItCan();
    void deepNestingIsLimited();
};

static QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(KORVANA_TEST_DATA "/rtf/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

// Attributes of the character at message position pos.
static CharAttributes at(RichEdit &re, int pos)
{
    re.setSel(pos, pos + 1);
    return re.selAttributes();
}

static int posOf(RichEdit &re, const QString &text)
{
    const int sel = re.findText(text, 0, re.textLength());
    return sel < 0 ? -1 : re.toMessagePos(sel);
}

void TestRtfReader::gb2312Lesson()
{
    RichEdit re;
    re.fromRtf(fixture("gb2312_lesson.rtf"));
    QCOMPARE(re.lineCount(), 2);
    QCOMPARE(re.line(0), QStringLiteral("<OR=middle><PI=zh\u014Dng><CH=\u4E2D\u6587><TY=w>"));
    QCOMPARE(re.line(1), QStringLiteral("<OR=fish><CH=\u9C7C><TY=w>"));
    const CharAttributes zh = at(re, posOf(re, QStringLiteral("\u4E2D")));
    QCOMPARE(zh.fontName, QStringLiteral("\u5B8B\u4F53")); // the font name is GB2312 too
    QCOMPARE(zh.charset, 134);
    QCOMPARE(zh.sizePoints, 16.0);
    QCOMPARE(zh.color, QColor(255, 0, 0));
    const CharAttributes latin = at(re, 0);
    QCOMPARE(latin.fontName, QStringLiteral("Arial"));
    QCOMPARE(latin.sizePoints, 10.0);
    QCOMPARE(latin.charset, 0);
    const CharAttributes fish = at(re, posOf(re, QStringLiteral("\u9C7C")));
    QVERIFY(fish.bold);
    QCOMPARE(fish.color, QColor(0, 0, 255));
}

void TestRtfReader::big5Lesson()
{
    RichEdit re;
    re.fromRtf(fixture("big5_lesson.rtf"));
    QCOMPARE(re.text(), QStringLiteral("<CH=\u4E2D\u6587><OR=Chinese>\r\n<CH=\u9F8D><OR=dragon>"));
    const CharAttributes a = at(re, 4);
    QCOMPARE(a.fontName, QStringLiteral("\u7D30\u660E\u9AD4"));
    QCOMPARE(a.charset, 136);
}

void TestRtfReader::negativeUnicodeWithTwoFallbackBytes()
{
    RichEdit re;
    re.fromRtf(fixture("unicode_uc2.rtf"));
    QCOMPARE(re.text(), QStringLiteral("<CH=\u9C7C\u9F99\u4E2D><PI=l\u00F3ng><NO=\U0001F600>"));
    QCOMPARE(at(re, 4).fontName, QStringLiteral("SimSun"));
    QCOMPARE(at(re, 0).fontName, QStringLiteral("Times New Roman"));
    QCOMPARE(at(re, 0).sizePoints, 12.0);
}

void TestRtfReader::czechInCodePage1250()
{
    RichEdit re;
    re.fromRtf(fixture("cp1250_czech.rtf"));
    QCOMPARE(re.text(), QStringLiteral("<OR=P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148 "
                                       "\u00FAp\u011Bl \u010F\u00E1belsk\u00E9 \u00F3dy>"));
    QCOMPARE(at(re, 5).charset, 238);
}

void TestRtfReader::wordPadStyle()
{
    RichEdit re;
    re.fromRtf(fixture("wordpad_style.rtf"));
    // \line is a soft break inside its paragraph.
    QCOMPARE(re.text(), QStringLiteral("Centered\r\n\u041F\u0440\u0438\u0432\u0435\u0442\tx\u2028y"));
    QCOMPARE(at(re, 9).fontName, QStringLiteral("Arial Cyr"));
    QCOMPARE(at(re, 9).charset, 204);
    // The generator note under \* is not text; the centred paragraph stays centred.
    QCOMPARE(re.document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(re.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // Saved and read back, the left paragraph does not take the centring before it.
    RichEdit back;
    back.fromRtf(re.toRtf());
    QCOMPARE(back.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // Cut short, the file's last paragraph keeps the alignment it was cut in.
    back.fromRtf("{\\rtf1\\qr a\\par\\qc b");
    QCOMPARE(back.document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

void TestRtfReader::wordStyleDestinationsFieldsTables()
{
    RichEdit re;
    re.fromRtf(fixture("word_style.rtf"));
    QCOMPARE(re.text(), QStringLiteral("<CH=\u4F60\u597D><OR=hello>link\r\none\ttwo\r\nthree\tfour\r\nafter"));
    const CharAttributes zh = at(re, 4);
    QCOMPARE(zh.fontName, QStringLiteral("SimSun"));
    QCOMPARE(zh.charset, 134);
    QVERIFY(!zh.bold);
    const CharAttributes tag = at(re, 0);
    QVERIFY(tag.bold);
    QCOMPARE(tag.color, QColor(192, 0, 0));
    QCOMPARE(tag.fontName, QStringLiteral("Times New Roman"));
}

void TestRtfReader::libreOfficeLesson()
{
    RichEdit re;
    re.fromRtf(fixture("libreoffice_lesson.rtf"));
    QCOMPARE(re.lineCount(), 2);
    QCOMPARE(re.line(0), QStringLiteral("<OR=Chinese><CH=\u4E2D\u6587><TY=w>"));
    QCOMPARE(re.line(1),
             QStringLiteral("<OR=P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148><PI=zh\u014Dng>"));
    const CharAttributes zh = at(re, posOf(re, QStringLiteral("\u4E2D")));
    QCOMPARE(zh.fontName, QStringLiteral("SimSun"));
    QCOMPARE(zh.sizePoints, 16.0);
    QCOMPARE(zh.color, QColor(255, 0, 0));
    QVERIFY(zh.bold);
    const CharAttributes latin = at(re, 1);
    QCOMPARE(latin.fontName, QStringLiteral("Arial"));
    QCOMPARE(latin.sizePoints, 12.0);
    QVERIFY(!latin.bold);
}

// Word 2007 and later on Chinese Windows: paragraph defaults name a
// bidirectional font (Times New Roman, Western) and the theme's Latin and
// East Asian fonts; each run repeats them. The Chinese bytes must read in the
// East Asian font's charset, in the East Asian font, and Latin text keep its
// own font, even where a Latin run holds double-byte characters.
void TestRtfReader::wordOnChineseWindows_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cjkFont");
    QTest::addColumn<int>("cjkCharset");
    QTest::newRow("GBK") << "word_gbk_theme_fonts.rtf" << QStringLiteral("\u6D4B\u8BD5") << "SimSun" << 134;
    QTest::newRow("Big5") << "word_big5_theme_fonts.rtf" << QStringLiteral("\u6E2C\u8A66") << "PMingLiU" << 136;
    QTest::newRow("mixed line") << "word_gbk_mixed_line.rtf" << QStringLiteral("<OR=test><CH=\u6D4B\u8BD5>") << "SimSun"
                                << 134;
    // A Western document that names a Chinese font: \'e9 starts a GBK pair,
    // but in a high-ANSI run it is \u00E9 in the Western font.
    QTest::newRow("Western with a Chinese font")
        << "word_western_chinese_font.rtf" << QStringLiteral("<OR=caf\u00E9><CH=\u4E2D>") << "SimSun" << 134;
}

void TestRtfReader::wordOnChineseWindows()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(QString, cjkFont);
    QFETCH(int, cjkCharset);
    RichEdit re;
    re.fromRtf(fixture(file.toLatin1().constData()));
    QCOMPARE(re.text(), text);
    for (int i = 0; i < text.size(); ++i) {
        const CharAttributes a = at(re, i);
        if (text.at(i).unicode() < 0x2E80) {
            QCOMPARE(a.fontName, QStringLiteral("Calibri"));
        } else {
            QCOMPARE(a.fontName, cjkFont);
            QCOMPARE(a.charset, cjkCharset);
        }
        QCOMPARE(a.sizePoints, 10.5);
    }
}

void TestRtfReader::multiByteSequenceSplitByEscapesIsGathered()
{
    // A GB2312 character whose second byte is written as plain text, then one
    // whose bytes come as two escapes: both decode whole.
    RichEdit re;
    re.fromRtf("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'b0A\\'d6\\'d0}");
    QCOMPARE(re.text(), QStringLiteral("\u7646\u4E2D"));
    // Without a charset font, the document's code page decides.
    re.fromRtf("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0}");
    QCOMPARE(re.text(), QStringLiteral("\u4E2D"));
    // Text before any \f, and after \plain, is in the \deff font and its code page.
    for (const char *rtf :
         {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\'d6\\'d0}",
          "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset134 SimSun;}{\\f1 A;}}\\f1\\plain\\'d6\\'d0}"}) {
        re.fromRtf(rtf);
        QCOMPARE(re.text(), QStringLiteral("\u4E2D"));
    }
    // So it does for a font that names no charset. Text without \fs is
    // 12 points, and \plain ends the underline, as \ul0 and \ulnone do.
    rtf::Content c;
    QVERIFY(rtf::read(
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0 SimSun;}}\\f0\\ul \\'d6\\'d0\\plain a\\ul b\\ul0 c\\ul d\\ulnone e}",
        &c, nullptr));
    const QList<rtf::Run> runs = c.paragraphs.value(0).runs;
    QCOMPARE(runs.size(), 6);
    QCOMPARE(runs[0].text, QStringLiteral("\u4E2D"));
    QVERIFY(runs[0].format.underline && !runs[1].format.underline && runs[2].format.underline
            && !runs[3].format.underline && runs[4].format.underline && !runs[5].format.underline);
    QCOMPARE(runs[0].format.halfPoints, 24);
}

void TestRtfReader::rightToLeftTextKeepsItsOwnFontSet()
{
    // \rtlch or \fcs1 chooses the bidirectional set, whose \af \afs \ab \ai
    // (and \f \fs \b \i while chosen) never reach left-to-right text.
    rtf::Content c;
    QVERIFY(rtf::read(
        "{\\rtf1{\\fonttbl{\\f0 Latin;}{\\f1\\fcharset177 Hebrew;}{\\f2\\fcharset178 Arabic;}}\\f0\\fs20"
        "\\rtlch\\af1\\afs30\\ab\\ai \\'e0\\f2\\fs40\\b0 \\'c7\\ltrch\\'e0\\fcs1 \\'e1\\rtlch\\fcs0\\ab \\'e0}",
        &c, nullptr));
    QStringList runs;
    for (const rtf::Run &r : c.paragraphs.value(0).runs)
        runs
            << QStringLiteral("%1 %2 %3 %4").arg(r.text, r.format.family).arg(r.format.charset).arg(r.format.halfPoints)
                   + (r.format.bold ? " b" : "") + (r.format.italic ? " i" : "");
    QCOMPARE(runs, QStringList({"\u05D0 Hebrew 177 30 b i", "\u0627 Arabic 178 40 i", "\u00E0 Latin 1 40",
                                "\u0644 Arabic 178 40 i", "\u00E0 Latin 1 40"}));
}

void TestRtfReader::codePageOfEachCharset_data()
{
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    // Each byte sample reads differently in the neighbouring code pages; a
    // lead byte at each end of its range takes an ASCII trail byte, and a
    // lead byte without its trail reads as U+FFFD.
    QTest::newRow("0 ANSI, whatever the document's")
        << 0 << QByteArray("\\ansicpg1251\\'e9\\'80\\'f1\\'8c") << QStringLiteral("\u00E9\u20AC\u00F1\u0152");
    QTest::newRow("1 default: the document's") << 1 << QByteArray("\\ansicpg1251\\'e9") << QStringLiteral("\u0439");
    QTest::newRow("2 symbol") << 2 << QByteArray("\\ansicpg1251\\'e9") << QStringLiteral("\u00E9");
    QTest::newRow("134 GB2312, upper-case hex")
        << 134 << QByteArray("\\'D6\\'d0\\'FE\\'40\\'81\\'40\\'d6") << QStringLiteral("\u4E2D\uFA0C\u4E02\uFFFD");
    QTest::newRow("128 Shift-JIS") << 128 << QByteArray("\\'81\\'40\\'88\\'9f\\'9f\\'40\\'e0\\'40\\'fc\\'40\\'81")
                                   << QStringLiteral("\u3000\u4E9C\u6A97\u6F3E\u9ADC\uFFFD");
    QTest::newRow("129 Hangul") << 129 << QByteArray("\\'81\\'41\\'b0\\'a1\\'b0")
                                << QStringLiteral("\uAC02\uAC00\uFFFD");
    QTest::newRow("130 Johab") << 130
                               << QByteArray(
                                      "\\'84\\'44\\'88\\'61\\'d3\\'61\\'d9\\'31\\'de\\'31\\'e0\\'31\\'f9\\'31\\'88")
                               << QStringLiteral("\u3133\uAC00\uD750\u3000\u30A1\u4F3D\u798D\uFFFD");
    QTest::newRow("136 Big5") << 136 << QByteArray("\\'a4\\'A4\\'a1\\'40\\'a4") << QStringLiteral("\u4E2D\u3000\uFFFD");
    QTest::newRow("238 Central European") << 238 << QByteArray("\\'f8") << QStringLiteral("\u0159");
    QTest::newRow("204 Cyrillic") << 204 << QByteArray("\\'c6") << QStringLiteral("\u0416");
    QTest::newRow("161 Greek") << 161 << QByteArray("\\'e1") << QStringLiteral("\u03B1");
    QTest::newRow("162 Turkish") << 162 << QByteArray("\\'fe") << QStringLiteral("\u015F");
    QTest::newRow("163 Vietnamese") << 163 << QByteArray("\\'d0") << QStringLiteral("\u0110");
    QTest::newRow("177 Hebrew") << 177 << QByteArray("\\'e0") << QStringLiteral("\u05D0");
    QTest::newRow("178 Arabic") << 178 << QByteArray("\\'c7") << QStringLiteral("\u0627");
    QTest::newRow("186 Baltic") << 186 << QByteArray("\\'e0") << QStringLiteral("\u0105");
    QTest::newRow("222 Thai") << 222 << QByteArray("\\'a1") << QStringLiteral("\u0E01");
    QTest::newRow("77 Mac Roman") << 77 << QByteArray("\\'8e") << QStringLiteral("\u00E9");
    QTest::newRow("254 PC 437") << 254 << QByteArray("\\'9b") << QStringLiteral("\u00A2");
    QTest::newRow("255 OEM 850") << 255 << QByteArray("\\'9b") << QStringLiteral("\u00F8");
    QTest::newRow("0 euro sign alone") << 0 << QByteArray("\\'80") << QStringLiteral("\u20AC");
    QTest::newRow("undefined byte kept") << 0 << QByteArray("\\'81") << QStringLiteral("\u0081");
}

void TestRtfReader::codePageOfEachCharset()
{
    QFETCH(int, charset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    RichEdit re;
    re.fromRtf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset" + QByteArray::number(charset) + " X;}}\\f0 " + bytes + "}");
    QCOMPARE(re.text(), text);
}

void TestRtfReader::writerOutputForOtherReaders()
{
    // What other readers rely on, byte for byte: plain 7-bit RTF, \uN? for
    // all else (signed above U+7FFF), every font with its charset (its name
    // in the charset's code page where it holds it) and the
    // East Asian ones named for double-byte text too, colours in the colour
    // table (none for the automatic colour), each paragraph's alignment. A
    // paragraph without one takes the control's. The optional hyphen, the
    // no-break space and hyphen go as \uN too.
    RichEdit re;
    re.setAlignment(TextAlignment::Center);
    re.fromRtf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}{\\f1\\fcharset129 Gulim;}{\\f2\\fcharset136 "
        "PMingLiU;}{\\f3\\fcharset238 Arial CE;}{\\f4\\fcharset0 \\u23435?\\u20307? A;}{\\f5\\fcharset134 "
        "\\'cb\\'ce\\'cc\\'e5 B;}}"
        "{\\colortbl;\\red10\\green20\\blue30;\\green200;}\\f0\\fs21 a\\par\\qr\\f1\\b b\\par\\pard\\qj\\f2\\b0\\i c"
        "\\par\\pard\\ql\\f3\\uldb\\cf1\\cb2 d\\par\\pard\\plain\\f4 "
        "\\u8217?\\u20013?\\tab\\u233?\\-\\~\\_\\{\\}\\\\\\line"
        "\\f5\\u-29715?\\par}");
    QCOMPARE(
        re.toRtf(),
        QByteArray(
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}"
            "{\\f1\\fnil\\fcharset129 Gulim;}{\\f2\\fnil\\fcharset136 PMingLiU;}{\\f3\\fnil\\fcharset238 Arial "
            "CE;}{\\f4\\fnil\\fcharset0 \\u23435?\\u20307? A;}{\\f5\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5 B;}}\r\n"
            "{\\colortbl ;\\red10\\green20\\blue30;\\red0\\green200\\blue0;}\r\n"
            "\\pard\\qc\\f0\\dbch\\af0\\loch\\fs21\\cf0 a\\par\r\n"
            "\\pard\\qr\\f1\\dbch\\af1\\loch\\b b\\par\r\n"
            "\\pard\\qj\\f2\\dbch\\af2\\loch\\b0\\i c\\par\r\n"
            "\\pard\\f3\\cf1\\highlight2\\ul d\\par\r\n"
            "\\pard\\qc\\f4\\fs24\\cf0\\highlight0\\i0\\ulnone\\u8217?\\u20013?\\tab\\u233?\\u173?\\u160?\\u8209?"
            "\\{\\}\\\\\\line"
            "\\f5\\dbch\\af5\\loch\\u-29715?\\par\r\n}\r\n"));
    // Read back, it writes the same bytes again.
    RichEdit back;
    back.fromRtf(re.toRtf());
    QCOMPARE(back.toRtf(), re.toRtf());
}

void TestRtfReader::notRichTextFailsClearly()
{
    rtf::Content c;
    QString error;
    QVERIFY(!rtf::read("plain words", &c, &error));
    QCOMPARE(error, QStringLiteral("The data is not rich text (it does not begin with \"{\\rtf\")."));
    for (const char *yes : {"\xEF\xBB\xBF \t\r\n{\\RTF", "{\\urtf", "{URTF"})
        QVERIFY(rtf::looksLikeRtf(QByteArray(yes)));
    for (const char *no : {"\xEF\xBB{\\rtf", "{\\rtx1", "{\\urtx", "{urtx", "x{\\rtf"})
        QVERIFY(!rtf::looksLikeRtf(QByteArray(no)));
    // Read paragraph by paragraph, until the reader of them has enough.
    QStringList seen;
    const rtf::ParagraphSink sink = [&](rtf::Paragraph &&p) { return (seen << p.runs.value(0).text).size() < 2; };
    QString sinkError;
    QVERIFY(!rtf::read("plain words", sink, &sinkError));
    QCOMPARE(sinkError, error);
    QVERIFY(rtf::read("{\\rtf1 a\\par b\\par c}", sink, nullptr));
    QCOMPARE(seen, QStringList({"a", "b"}));
    RichEdit re;
    re.setText(QStringLiteral("kept"));
    QVERIFY_THROWS_EXCEPTION(RichTextError, re.fromRtf("plain words"));
    QVERIFY_THROWS_EXCEPTION(RichTextError, re.streamInSelection(QByteArray()));
    QCOMPARE(re.text(), QStringLiteral("kept"));
}

void TestRtfReader::damagedInputLoadsWhatItCan_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("truncated in text") << QByteArray("{\\rtf1 abc\\par de") << QStringLiteral("abc\r\nde");
    QTest::newRow("truncated in word") << QByteArray("{\\rtf1 abc\\pa") << QStringLiteral("abc");
    QTest::newRow("truncated escape") << QByteArray("{\\rtf1 abc\\'d") << QStringLiteral("abcd");
    QTest::newRow("truncated font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << QString();
    QTest::newRow("text after the root group") << QByteArray("{\\rtf1 a}b}c") << QStringLiteral("a");
    QTest::newRow("huge \\bin") << QByteArray("{\\rtf1 a\\bin2147483647 xyz}") << QStringLiteral("a");
    QTest::newRow("\\bin") << QByteArray("{\\rtf1 a\\bin3 {}\\b}") << QStringLiteral("ab");
    QTest::newRow("row without its last cell")
        << QByteArray("{\\rtf1 a\\cell b\\row c\\cell\\row d}") << QStringLiteral("a\tb\r\nc\r\nd");
    QTest::newRow("huge numbers") << QByteArray("{\\rtf1\\fs99999999999999\\u99999999999 ?a\\cf-5 b\\f-3 c}")
                                  << QStringLiteral("abc");
    QTest::newRow("bad colour and font numbers")
        << QByteArray("{\\rtf1\\cf7\\highlight9\\f42 x}") << QStringLiteral("x");
    QTest::newRow("control characters") << QByteArray("{\\rtf1 a\\u1?\\u8232?b\\u0?\\u8233?\\u-1025?}")
                                        << QStringLiteral("a\u0001\u2028b\r\n\uFBFF");
    QTest::newRow("control symbols") << QByteArray("{\\rtf1 a\\\nb\\\rc\\\td\te\\u20013\\|x\\sect y\\page z}")
                                     << QStringLiteral("a\r\nb\r\nc\td\te\u4E2Dx\r\ny\r\nz");
    QTest::newRow("no fallback after \\uN")
        << QByteArray("{\\rtf1\\uc0\\u19968\\u20108\\rquote s}") << QStringLiteral("\u4E00\u4E8C\u2019s");
    QTest::newRow("typographic words") << QByteArray(
        "{\\rtf1 a\\emdash b\\endash c\\bullet\\ldblquote d\\rdblquote\\emspace\\enspace\\qmspace\\lquote}")
                                       << QStringLiteral("a\u2014b\u2013c\u2022\u201Cd\u201D\u2003\u2002\u2005\u2018");
    QTest::newRow("document code pages") << QByteArray(
        "{\\rtf1\\pc \\'9b\\pca \\'9b\\mac \\'8e\\ansi \\'8e\\ansicpg9 \\'80}")
                                         << QStringLiteral("\u00A2\u00F8\u00E9\u017D\u20AC");
    QTest::newRow("UTF-8 text, escapes in the code page")
        << QByteArray("{\\urtf1 \xE4\xB8\xAD\\'e9\xE4}") << QStringLiteral("\u4E2D\u00E9\uFFFD");
    // Destinations whose text never shows, even without \*.
    QByteArray hidden = "{\\rtf1 a";
    for (const QByteArray &d :
         QByteArray(
             "stylesheet info pict object header headerl headerr headerf footer footerl footerr footerf footnote "
             "annotation atnid atnauthor xe tc txe bkmkstart bkmkend listtable listoverridetable revtbl rsidtbl "
             "pntext pntxta pntxtb listtext shp shpinst shptxt nonshppict shppict themedata colorschememapping "
             "latentstyles datastore xmlnstbl generator template doccomm author title subject operator comment "
             "company keywords creatim revtim printim buptim userprops docvar mmathPr pgdsctbl filetbl "
             "protusertbl wgrffmtfilter ftnsep ftnsepc ftncn aftnsep aftnsepc aftncn background sp sn sv objdata "
             "objclass objname blipuid falt panose fldtype category manager hlinkbase passwordhash rxe tcn "
             "formfield datafield fontemb fontfile fldinst")
             .split(' '))
        hidden += "{\\" + d + " x\\par y}";
    QTest::newRow("unshown destinations") << hidden + "b}" << QStringLiteral("ab");
    QTest::newRow("frame markers") << QByteArray("{\\rtf1 \\u-560?x}") << QStringLiteral("\uFFFDx");
    QTest::newRow("overlong word") << QByteArray("{\\rtf1 \\") + QByteArray(5000, 'a') + QByteArray(" ok}")
                                   << QStringLiteral("ok");
}

void TestRtfReader::damagedInputLoadsWhatItCan()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    RichEdit re;
    re.fromRtf(rtf);
    QCOMPARE(re.text(), text);
}

void TestRtfReader::deepNestingIsLimited()
{
    // Far deeper than any real document: the groups beyond the limit are
    // skipped, the text around them is kept.
    QByteArray deep = "{\\rtf1 start";
    deep += QByteArray(100000, '{') + "lost" + QByteArray(100000, '}');
    deep += " end}";
    RichEdit re;
    re.fromRtf(deep);
    QCOMPARE(re.text(), QStringLiteral("start end"));
    QByteArray ok =
        "{\\rtf1 " + QByteArray(rtf::kMaxGroupDepth - 2, '{') + "kept" + QByteArray(rtf::kMaxGroupDepth - 2, '}') + "}";
    re.fromRtf(ok);
    QCOMPARE(re.text(), QStringLiteral("kept"));
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
