// Tone-marked pinyin in the main window: the Latin font given to a field of
// the term's line, and the pinyin pane coloured by tone when the setting
// asks for it.
#include "app/PinyinTones.h"
#include "platform/richtext/RichEdit.h"
#include "practice/ToneColours.h"
#include "support/ProgramTestCase.h"

#include <QtTest>
#include <functional>

using namespace korvana;

namespace {

CharAttributes charAt(RichEdit *edit, int pos)
{
    edit->setSelStart(pos);
    edit->setSelLength(1);
    return edit->selAttributes();
}

QColor colourAt(RichEdit *edit, int pos)
{
    return charAt(edit, pos).color;
}

QString fontAt(RichEdit *edit, int pos)
{
    return charAt(edit, pos).fontName;
}

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kBlack(0, 0, 0), kGreen(0, 128, 0), kGrey(128, 128, 128);
const QString kTimes = QStringLiteral("Times New Roman");
const QString kArial = QStringLiteral("Arial");

} // namespace

class TestMainWindowTones : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true}; }
    MainWindow *f = nullptr;

    // One lesson line in the store, as opening a lesson leaves it.
    void load(const QString &line) { apptest::loadLines(f, {line}); }
    // One term with the given pinyin, loaded and shown.
    void showPinyin(const QString &pinyin)
    {
        load(QStringLiteral("<OR=x><PI=%1><CH=字><TY=w><ST=u>").arg(pinyin));
        QVERIFY(f->showTerm(1));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), pinyin);
    }
    // The whole lesson text in one font or colour, as a lesson's rich text may have it.
    void formatLesson(const std::function<void(RichEdit &)> &format)
    {
        apptest::store().lessonText.setSel(0, -1);
        format(apptest::store().lessonText);
    }

    // Colours of the pinyin pane, character by character.
    QList<QColor> paneColours()
    {
        QList<QColor> colours;
        for (int i = 0; i < apptest::control<korvana::RichEdit>("pinyinText")->text().size(); ++i)
            colours.append(colourAt(apptest::control<korvana::RichEdit>("pinyinText"), i));
        return colours;
    }

    void programStarted() override
    {
        f = mainWindow;
        apptest::settings().showToneColours = true;
    }

private slots:
    void syllablesTakeTheColourOfTheirTone()
    {
        // ma1 ma2 de la4 lü3: red with its blank, blue with its blank, grey,
        // green with its blank, grey (no u-umlaut in the colouring).
        showPinyin(QStringLiteral("m\u0101 m\u00E1 de l\u00E0 l\u01DA"));
        const QList<QColor> expected = {kRed,  kRed,  kRed,   kBlue,  kBlue,  kBlue, kGrey,
                                        kGrey, kGrey, kGreen, kGreen, kGreen, kGrey, kGrey};
        // The caret is back at the start with nothing selected.
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->selStart(), 0);
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->selLength(), 0);
        QCOMPARE(paneColours(), expected);
    }

    void aRunWithoutBlanksTakesItsLastMark()
    {
        showPinyin(QStringLiteral("m\u0101m\u00E1 Zh\u014Dng Zi"));
        const QList<QColor> expected = {kBlue,  kBlue, kBlue, kBlue, kBlue,       // ma1ma2 and its blank
                                        kRed,   kRed,  kRed,  kRed,  kRed,  kRed, // Zhong1: the mark overrides Z
                                        kBlack, kBlack};                          // Zi: Z is a third tone
        QCOMPARE(paneColours(), expected);
    }

    void coloursOffKeepTheLessonsColours()
    {
        apptest::settings().showToneColours = false;
        load(QStringLiteral("<OR=x><PI=m\u0101 de><TY=w><ST=u>"));
        formatLesson([](RichEdit &e) { e.setSelColor(QColor(0, 128, 128)); });
        QVERIFY(f->showTerm(1));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("m\u0101 de"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(colourAt(apptest::control<korvana::RichEdit>("pinyinText"), i), QColor(0, 128, 128));
        // Switched on, the same term is recoloured when the pane is shown again.
        apptest::settings().showToneColours = true;
        f->showPane(korvana::Pane::Pinyin, true);
        QCOMPARE(colourAt(apptest::control<korvana::RichEdit>("pinyinText"), 0), kRed);
        QCOMPARE(colourAt(apptest::control<korvana::RichEdit>("pinyinText"), 3), kGrey);
    }

    void syllableColouringCoversOneSyllable()
    {
        apptest::control<korvana::RichEdit>("pinyinText")->setText(QStringLiteral("ni hao ma"));
        apptest::control<korvana::RichEdit>("pinyinText")->setSel(0, -1);
        apptest::control<korvana::RichEdit>("pinyinText")->setSelColor(kGrey);
        f->tones().colorPinyinSyllable(4, 5); // the a of hao
        const QList<QColor> expected = {kGrey, kGrey, kGrey, kGreen, kGreen, kGreen, kGreen, kGrey, kGrey};
        QCOMPARE(paneColours(), expected);
        f->tones().colorPinyinSyllable(0, 1);  // no such tone: nothing changes
        f->tones().colorPinyinSyllable(1, 99); // past the text: nothing changes
        QCOMPARE(paneColours(), expected);
    }

    void latinFontPassOverAField()
    {
        RichEdit edit;
        const QString text = QStringLiteral("<PI=h\u0103o h\u01CEo 字 ab>");
        edit.setText(text);
        edit.setSel(0, -1);
        edit.setSelFontName(kArial);
        // "ab" are in the pinyin design font.
        const int ab = int(text.indexOf(QStringLiteral("ab")));
        edit.setSelStart(ab);
        edit.setSelLength(2);
        edit.setSelFontName(QString::fromUtf16(kPinyinDesignFont));
        edit.setSelStart(1);

        const int from = 4, to = int(text.size()) - 1; // the value up to its ">"
        f->tones().applyLatinFont(&edit, from, to);

        for (int i = 0; i < from; ++i)
            QCOMPARE(fontAt(&edit, i), kArial); // before the span: untouched
        const int han = int(text.indexOf(QChar(0x5B57)));
        for (int i = from; i <= to; ++i) {
            QString expected = kTimes; // the caron a too, like its h and o
            if (i == han)
                expected = kArial; // not a tone vowel of the pass, not ASCII
            else if (i == ab || i == ab + 1)
                expected = QString::fromUtf16(kPinyinDesignFont);
            QVERIFY2(fontAt(&edit, i) == expected, qPrintable(QStringLiteral("at %1").arg(i)));
        }
    }

    void latinFontPassBounds()
    {
        RichEdit edit;
        edit.setText(QStringLiteral("abc"));
        edit.setSel(0, -1);
        edit.setSelFontName(kArial);
        f->tones().applyLatinFont(&edit, 2, 1); // an empty span
        QCOMPARE(fontAt(&edit, 2), kArial);
        edit.setSelStart(1);
        edit.setSelLength(1);
        f->tones().applyLatinFont(&edit, 2, 50); // runs past the end: stops there
        QCOMPARE(edit.selStart(), 1);            // the caller's selection is kept
        QCOMPARE(edit.selLength(), 1);
        QCOMPARE(edit.text(), QStringLiteral("abc"));
        QCOMPARE(fontAt(&edit, 1), kArial);
        QCOMPARE(fontAt(&edit, 2), kTimes);
    }

    void shownFieldsAreInTheLatinFont()
    {
        load(QStringLiteral("<OR=one 字><PI=y\u012B><CH=字><NO=n><TY=w><ST=u>"));
        formatLesson([](RichEdit &e) { e.setSelFontName(kArial); });
        QVERIFY(f->showTerm(1));
        QCOMPARE(fontAt(apptest::control<korvana::RichEdit>("translationText"), 0), kTimes);
        QCOMPARE(fontAt(apptest::control<korvana::RichEdit>("translationText"), 4),
                 kArial); // the Chinese character keeps its font
        QCOMPARE(fontAt(apptest::control<korvana::RichEdit>("pinyinText"), 1), kTimes); // the tone vowel
        QCOMPARE(fontAt(apptest::control<korvana::RichEdit>("notesText"), 0), kTimes);
        QCOMPARE(fontAt(apptest::control<korvana::RichEdit>("charactersText"), 0),
                 fontAt(apptest::control<korvana::RichEdit>("termCharactersText"), 0)); // characters have no Latin pass
        QVERIFY(fontAt(apptest::control<korvana::RichEdit>("charactersText"), 0) != kTimes);
    }
};

QTEST_MAIN(TestMainWindowTones)
#include "tst_mainwindow_tones.moc"
