// Chinese characters take Chinese glyph forms in every window and on paper,
// whatever the locale (ctest runs this under LANG=C and LANG=de_DE.UTF-8):
// 直骨角化 differ between Chinese and Japanese forms, and outside a Chinese
// locale the font matcher's fallback for Han is the Japanese font.
#include "app/LessonFileCommands.h"
#include "editing/LessonEditorWindow.h"
#include "editing/VocabularyWindow.h"
#include "platform/richtext/ChineseFonts.h"
#include "platform/richtext/RichEdit.h"
#include "reference/CharacterInfoWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/ReaderWindow.h"
#include "support/ProgramTestCase.h"

#include <QAbstractTextDocumentLayout>
#include <QGlyphRun>
#include <QPrinter>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

using namespace korvana;

namespace {

const QString Han = QStringLiteral("直骨角化");

bool isHan(QChar c)
{
    return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
}

QStringList hanFamilies(const QList<QGlyphRun> &runs)
{
    QStringList out;
    for (const QGlyphRun &r : runs)
        out << r.rawFont().familyName();
    return out;
}

// The families the Han characters of a laid-out document are drawn in.
QStringList hanFamilies(QTextDocument *doc)
{
    doc->documentLayout()->documentSize(); // lays the document out
    QStringList out;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        for (int i = 0; i < text.size(); ++i)
            if (isHan(text.at(i)))
                for (const QGlyphRun &r : b.layout()->glyphRuns(i, 1))
                    out << r.rawFont().familyName();
    }
    return out;
}

QStringList hanFamilies(const QFont &font)
{
    QTextLayout layout(QStringLiteral("ab ") + Han, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return hanFamilies(layout.glyphRuns(3, Han.size()));
}

// The families every letter of a laid-out document is drawn in, once each.
QStringList letterFamilies(QTextDocument *doc)
{
    doc->documentLayout()->documentSize();
    QStringList out;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (int i = 0; i < b.text().size(); ++i)
            if (b.text().at(i).isLetter())
                for (const QGlyphRun &r : b.layout()->glyphRuns(i, 1))
                    if (!out.contains(r.rawFont().familyName(), Qt::CaseInsensitive))
                        out << r.rawFont().familyName();
    return out;
}

// Every family is a Chinese one of the given forms ("SC" or "TC"); the
// substitutes of a missing font come back in lower case.
bool allChinese(const QStringList &families, const QString &forms)
{
    if (families.isEmpty())
        return false;
    for (const QString &f : families)
        if (!f.endsWith(QLatin1Char(' ') + forms, Qt::CaseInsensitive))
            return false;
    return true;
}

} // namespace

class TestChineseGlyphs : public apptest::ProgramTestCase {
    Q_OBJECT

private slots:
    void charactersPane_data()
    {
        QTest::addColumn<QByteArray>("lesson");
        QTest::addColumn<QString>("forms");
        QTest::addColumn<QString>("serif"); // a family the characters must be in, or empty
        QTest::newRow("SimSun") << QByteArray("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}"
                                              "{\\f1\\fnil\\fcharset0 Times New Roman;}}\\f1 <CH=\\f0 "
                                              "\\'d6\\'b1\\'b9\\'c7\\'bd\\'c7\\'bb\\'af\\f1 ><OR=x>\\par}")
                                << "SC"
                                << "Noto Serif CJK SC";
        QTest::newRow("no font") << (QStringLiteral("<CH=") + Han + QStringLiteral("><OR=x>")).toUtf8() << "SC"
                                 << "";
        QTest::newRow("Big5") << QByteArray("{\\rtf1\\ansi\\ansicpg950{\\fonttbl{\\f0\\fswiss\\fcharset136 Arial;}}"
                                            "\\f0 <CH=\\'aa\\'bd\\'b0\\'a9\\'a8\\'a4\\'a4\\'c6><OR=x>\\par}")
                              << "TC"
                              << "Noto Serif CJK TC";
        // Each style of missing Windows font to the installed one of its
        // forms: Ming (traditional Song), Hei (sans, in a Big5 run too), Kai
        // (Song when no Kai font is installed) and the vertical "@" names.
        const QByteArray gb = "\\'d6\\'b1\\'b9\\'c7\\'bd\\'c7\\'bb\\'af";
        auto lesson = [](const char *font, int charset, const QByteArray &bytes) {
            return "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset" + QByteArray::number(charset) + ' ' + font
                   + ";}}\\f0 <CH=" + bytes + "><OR=x>\\par}";
        };
        QTest::newRow("MingLiU") << lesson("MingLiU", 136, "\\'aa\\'bd\\'b0\\'a9\\'a8\\'a4\\'a4\\'c6") << "TC"
                                 << "Noto Serif CJK TC";
        QTest::newRow("Microsoft JhengHei")
            << lesson("Microsoft JhengHei", 136, "\\'aa\\'bd\\'b0\\'a9\\'a8\\'a4\\'a4\\'c6") << "TC"
            << "Noto Sans CJK TC";
        QTest::newRow("MingLiU, Unicode text") << lesson("MingLiU", 0, "\\u30452?\\u-25944?\\u-30254?\\u21270?") << "TC"
                                               << "Noto Serif CJK TC";
        QTest::newRow("KaiTi") << lesson("KaiTi", 134, gb) << "SC"
                               << "Noto Serif CJK SC";
        QTest::newRow("@SimSun") << lesson("@SimSun", 134, gb) << "SC"
                                 << "Noto Serif CJK SC";
        QTest::newRow("@SimHei") << lesson("@SimHei", 134, gb) << "SC"
                                 << "Noto Sans CJK SC";
    }
    void charactersPane()
    {
        QFETCH(QByteArray, lesson);
        QFETCH(QString, forms);
        QFETCH(QString, serif);
        const QString path = apptest::writeFile(homePath(QStringLiteral("lesson.kvl")), lesson);
        apptest::store().openLessons = QStringList{path};
        apptest::store().startIndex = 1;
        mainWindow->openLessonFiles(OpenMode::SessionFiles);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), Han);
        const QStringList families = hanFamilies(apptest::control<korvana::RichEdit>("charactersText")->document());
        QVERIFY2(allChinese(families, forms), qPrintable(families.join(QLatin1Char(','))));
        if (!serif.isEmpty())
            QCOMPARE(families.first().toLower(), serif.toLower());
        // The translation's Latin letters keep a Latin font.
        QTextLayout *latin = apptest::control<korvana::RichEdit>("translationText")->document()->begin().layout();
        apptest::control<korvana::RichEdit>("translationText")->document()->documentLayout()->documentSize();
        const QStringList latinFamilies = hanFamilies(latin->glyphRuns(0, 1));
        QVERIFY(!latinFamilies.isEmpty());
        QVERIFY2(!latinFamilies.first().contains(QLatin1String("CJK"), Qt::CaseInsensitive),
                 qPrintable(latinFamilies.first()));
    }

    void toneVowelsInTheFontOfTheirSyllable()
    {
        // The caron third tones (ǎ ǐ ǒ ǔ ǚ ǜ) in the serif font of the
        // words around them: in the pinyin pane after the Latin-font pass,
        // in a lesson's own serif font, and in the vocabulary document.
        const QString serif = fonts::toneVowelSerifFamily();
        QVERIFY2(!serif.isEmpty(), "no serif font with every tone vowel: fonts-liberation2 (scripts/install-deps.sh)");
        const QByteArray lesson =
            "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\froman Liberation Serif;}}"
            "\\f0 <OR=\\f1 water shu\\u464?\\f0 ><PI=n\\u464? h\\u462?o m\\u233?i y\\u466?u "
            "l\\u476?><CH=x>\\par}";
        const QString path = apptest::writeFile(homePath(QStringLiteral("tones.kvl")), lesson);
        apptest::store().openLessons = QStringList{path};
        apptest::store().startIndex = 1;
        mainWindow->openLessonFiles(OpenMode::SessionFiles);
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), u"nǐ hǎo méi yǒu lǜ"_qs);
        // (Substitutes come back in lower case.)
        for (RichEdit *pane : {apptest::control<korvana::RichEdit>("pinyinText"),
                               apptest::control<korvana::RichEdit>("translationText")})
            QCOMPARE(letterFamilies(pane->document()).join(u',').toLower(), serif.toLower());
        vocabularyWindow->vocabularyText->fromRtf(lesson);
        QCOMPARE(letterFamilies(vocabularyWindow->vocabularyText->document()).join(u',').toLower(), serif.toLower());
        // Arial, the editor's pinyin font and the controls' own, likewise.
        QTextDocument arial;
        arial.setDefaultFont(QFont(QStringLiteral("Arial")));
        arial.setPlainText(u"nǐ hǎo méi yǒu lǜ"_qs);
        QCOMPARE(letterFamilies(&arial).size(), 1);
    }

    void otherWindows()
    {
        lessonEditorWindow->panes[korvana::Pane::Characters].text->setText(Han);
        QStringList families = hanFamilies(lessonEditorWindow->panes[korvana::Pane::Characters].text->document());
        QVERIFY2(allChinese(families, "SC"), qPrintable("editor: " + families.join(QLatin1Char(','))));
        families = hanFamilies(dictionaryWindow->resultList->font());
        QVERIFY2(allChinese(families, "SC"), qPrintable("dictionary: " + families.join(QLatin1Char(','))));
        families = hanFamilies(characterInfoWindow->characterLabel->font());
        QVERIFY2(allChinese(families, "SC"), qPrintable("hover: " + families.join(QLatin1Char(','))));
        readerWindow->fileText->setText(QStringLiteral("Reader ") + Han);
        families = hanFamilies(readerWindow->fileText->document());
        QVERIFY2(allChinese(families, "SC"), qPrintable("reader: " + families.join(QLatin1Char(','))));
    }

    void printedVocabulary()
    {
        vocabularyWindow->vocabularyText->setText(QStringLiteral("zhi gu jiao hua\t") + Han);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("voc.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        vocabularyWindow->vocabularyText->document()->print(&printer);
        const QByteArray bytes = apptest::readFile(pdf);
        QStringList cjk;
        static const QRegularExpression baseFont(QStringLiteral("/BaseFont\\s*/(?:[A-Z]{6}\\+)?([^\\s/<>]+)"));
        for (const auto &m : baseFont.globalMatch(QString::fromLatin1(bytes)))
            if (m.captured(1).contains(QLatin1String("CJK")))
                cjk << m.captured(1);
        QVERIFY2(!cjk.isEmpty(), bytes.left(200).constData());
        for (const QString &name : std::as_const(cjk))
            QVERIFY2(name.contains(QLatin1String("CJKsc")), qPrintable(cjk.join(QLatin1Char(','))));
    }
};

QTEST_MAIN(TestChineseGlyphs)
#include "tst_chinese_glyphs.moc"
