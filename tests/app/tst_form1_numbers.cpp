// The numbers drill: the range dialog on its own (its controls, the keys, and
// what "start", "stop" and Escape write into the fields it is bound to), then
// in the main window: the menu command, the numbers drawn by each step, the
// three panes with their boxes, reading aloud, the automatic mode, and the
// way back to the lesson terms.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/speech/FakeSpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "reference/Numbers.h"
#include "reference/TFormNumbers.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QApplication>
#include <QtTest>

using namespace korvana;

class TestNumbersDialog : public QObject {
    Q_OBJECT

    TFormNumbers *d = nullptr;
    bool mode = false;
    int from = -1, to = -1;

private slots:
    void init()
    {
        d = new TFormNumbers;
        mode = false;
        from = to = -1;
        d->bind(&mode, &from, &to);
    }
    void cleanup()
    {
        delete d;
        d = nullptr;
    }

    void keysInTheEditsChooseTheCustomRange()
    {
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d));
        QTest::keyClicks(d->eNrFrom, QStringLiteral("-20"));
        QVERIFY(d->rbnCustom->isChecked());
        d->rbn1->setChecked(true);
        // Any key counts, even one that types nothing.
        QTest::keyClick(d->eNrTo, Qt::Key_Left);
        QVERIFY(d->rbnCustom->isChecked());
        d->bOK->click();
        // To is worked out from -20 before From is raised to 0.
        QVERIFY(mode);
        QCOMPARE(from, 0);
        QCOMPARE(to, 80);
        QVERIFY(!d->isVisible());
    }

    void stopSwitchesOffAndKeepsTheRange()
    {
        mode = true;
        from = 10;
        to = 20;
        d->rbn2->setChecked(true);
        d->bCancel->click();
        QVERIFY(!mode);
        QCOMPARE(from, 10);
        QCOMPARE(to, 20);
        QCOMPARE(d->result(), 2);
    }

    void escapeChangesNothing()
    {
        for (const bool on : {true, false}) {
            mode = on;
            from = 3;
            to = 7;
            d->rbn2->setChecked(true);
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            // Escape from an edit too: the dialog sees the key first.
            d->eNrTo->setFocus();
            QTest::keyClick(d->eNrTo, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
            QCOMPARE(mode, on);
            QCOMPARE(from, 3);
            QCOMPARE(to, 7);
            // The key did not choose the custom range on its way.
            QVERIFY(d->rbn2->isChecked());
        }
    }

};

class TestForm1Numbers : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    TForm1 *f = nullptr;
    FakeSpeechVoice *voice = nullptr;

    void loadLesson(const QStringList &origs)
    {
        QStringList lines;
        for (const QString &o : origs)
            lines << QStringLiteral("<OR=%1><PI=pin %1><CH=字%1><NO=note %1><TY=w><ST=u>").arg(o);
        f->reMain.setText(lines.join(QStringLiteral("\r\n")));
        f->StringGrid1.clear();
        f->NacistDoStringgridu(QStringLiteral("/lessons/a.kvl"));
        f->StringGrid1.setRowCount(f->StringGrid1.rowCount() - 1);
        f->FCurrentIndex = 0;
        f->FCurrentLesson = QStringLiteral("/lessons/a.kvl");
    }
    // Runs the menu command; Choose acts inside the range dialog (none: the
    // dialog is closed as by Escape).
    void numbersCommand(const std::function<void(TFormNumbers *)> &choose = {})
    {
        m_dialogs->dialogs.onModal = [choose](QDialog *d) {
            if (choose)
                choose(qobject_cast<TFormNumbers *>(d));
        };
        f->Numbers1Click();
    }
    void startCustom(const QString &from, const QString &to)
    {
        numbersCommand([&](TFormNumbers *d) {
            d->rbnCustom->setChecked(true);
            d->eNrFrom->setText(from);
            d->eNrTo->setText(to);
            d->bOK->click();
        });
    }
    // What the pinyin pane must hold for a numeral: the stored lines of its
    // characters, one after another.
    QString storedPinyin(const QString &numeral) const
    {
        QString out;
        for (const QChar c : numeral)
            out += f->reTemp.line(numeralPinyinLine(c) - 1);
        return out;
    }
    static CharAttributes wholeAttributes(RichEdit *edit)
    {
        edit->setSelStart(0);
        edit->setSelLength(edit->textLength());
        return edit->selAttributes();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        apptest::useFakeVoice();
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        apptest::createFreshForms();
        f = Form1;
        f->FFirstActivation = false;
        voice = new FakeSpeechVoice;
        f->SpVoice.reset(voice);
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void startShowsANumberInThePanes()
    {
        loadLesson({QStringLiteral("one")});
        f->bNextClick();
        f->menus[1].panel->show();
        numbersCommand([](TFormNumbers *d) { d->bOK->click(); }); // "1-100"
        QCOMPARE(m_dialogs->dialogs.modalsShown, std::vector<QString>{QStringLiteral("FormNumbers")});
        QVERIFY(f->menus[1].panel->isHidden());
        QVERIFY(f->FNumbersMode);
        QCOMPARE(f->FNumberFrom, 0);
        QCOMPARE(f->FNumberTo, 101);
        QVERIFY(f->FNumber >= 0 && f->FNumber <= 100);

        const QString numeral = chineseNumeral(f->FNumber);
        QCOMPARE(f->reOrig->text(), QString::number(f->FNumber));
        QCOMPARE(f->FNumberText, numeral);
        QCOMPARE(f->RichEdit2->text(), numeral);
        QCOMPARE(f->reChin->text(), numeral);
        QCOMPARE(f->rePin->text(), storedPinyin(numeral));
        QVERIFY(f->reNotes->text().isEmpty());
        // The lesson term's position is left alone.
        QCOMPARE(f->FCurrentIndex, 1);
    }

    void panesFollowTheNumber()
    {
        startCustom(QStringLiteral("9999"), QString());
        QCOMPARE(f->FNumber, 9999);
        // The stored syllables were loaded: 14 lines, each ending in a blank.
        QCOMPARE(f->reTemp.lineCount(), 14);
        QCOMPARE(f->reTemp.line(10), QStringLiteral("líng "));

        f->FNumber = 1010;
        f->ShowNumber();
        QCOMPARE(f->reOrig->text(), QStringLiteral("1010"));
        QCOMPARE(f->reChin->text(), QStringLiteral("一千〇一十"));
        QCOMPARE(f->rePin->text(), QStringLiteral("yī qiān líng yī shí "));
        f->FNumber = 68;
        f->ShowNumber();
        QCOMPARE(f->rePin->text(), QStringLiteral("liù shí bā "));
        f->FNumber = 2345;
        f->ShowNumber();
        QCOMPARE(f->rePin->text(), storedPinyin(QStringLiteral("二千三百四十五")));
        QCOMPARE(f->rePin->text().count(QLatin1Char(' ')), 7);

        // The characters take the Kanji settings.
        f->FFontsizeKanji = 30;
        f->FSetKanjiFont = true;
        f->FKanjiFont = QStringLiteral("Noto Sans CJK SC");
        f->FRotateKanji = true;
        f->FBoldKanji = true;
        f->FSetKanjiColor = true;
        f->FKanjiColor = 0x0000FF; // red
        f->ShowNumber();
        QCOMPARE(f->reChin->selStart(), 0);
        QCOMPARE(f->reChin->selLength(), 0);
        const CharAttributes a = wholeAttributes(f->reChin);
        QCOMPARE(a.sizePoints, 30.0);
        QCOMPARE(a.fontName, QStringLiteral("Noto Sans CJK SC")); // "Rotate Kanji" keeps the font
        QVERIFY(a.bold);
        QCOMPARE(a.color, QColor(Qt::red));
        // Only the size without the Kanji font setting.
        f->FSetKanjiFont = false;
        f->ShowNumber();
        const CharAttributes plain = wholeAttributes(f->reChin);
        QCOMPARE(plain.sizePoints, 30.0);
        QVERIFY(!plain.bold);
        QVERIFY(!plain.fontName.startsWith(QLatin1Char('@')));
    }

    void pinyinKeepsTheStoredFonts()
    {
        startCustom(QStringLiteral("9999"), QString());
        // Syllables in two fonts, as the stored item writes its tone vowels.
        f->reTemp.fromRtf(QByteArrayLiteral(
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}}"
            "\\pard\\plain\\f0\\fs22 one \\par\\f1\\fs40 two \\par\\f0\\fs22 three }"));
        f->FNumber = 21; // 二十一: lines 2, 10, 1
        f->ShowChinNr(false);
        f->ShowPinNr(false);
        // Line 10 is missing: it adds nothing, and never all of reTemp.
        QCOMPARE(f->rePin->text(), QStringLiteral("two one "));
        f->rePin->setSel(0, 3);
        QCOMPARE(f->rePin->selAttributes().fontName, QStringLiteral("Courier New"));
        QCOMPARE(f->rePin->selAttributes().sizePoints, 20.0);
        f->rePin->setSel(4, 7);
        QCOMPARE(f->rePin->selAttributes().fontName, QStringLiteral("Times New Roman"));

        // The last line has no line break to stop at.
        f->FNumber = 3;
        f->ShowNumber();
        QCOMPARE(f->rePin->text(), QStringLiteral("three "));
        f->reTemp.clear();
        f->ShowNumber();
        QVERIFY(f->rePin->text().isEmpty());
        QCOMPARE(f->reChin->text(), QStringLiteral("三"));
    }

    void paneBoxesWorkOnTheNumber()
    {
        loadLesson({QStringLiteral("one")});
        f->bNextClick();
        startCustom(QStringLiteral("9999"), QString());
        f->chbOrig->setChecked(false);
        QVERIFY(f->reOrig->text().isEmpty());
        f->chbOrig->setChecked(true);
        QCOMPARE(f->reOrig->text(), QStringLiteral("9999"));
        f->chbPin->setChecked(false);
        QVERIFY(f->rePin->text().isEmpty());
        f->chbPin->setChecked(true);
        QCOMPARE(f->rePin->text(), storedPinyin(f->FNumberText));
        f->chbNotes->setChecked(false);
        f->chbNotes->setChecked(true);
        QVERIFY(f->reNotes->text().isEmpty()); // not the lesson term's notes

        // A hidden characters pane stays empty while Read still has the text.
        f->chbChin->setChecked(false);
        QVERIFY(f->reChin->text().isEmpty());
        f->bNextClick();
        QVERIFY(f->reChin->text().isEmpty());
        QCOMPARE(f->RichEdit2->text(), QStringLiteral("九千九百九十九"));
        f->jbReadclick();
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("九千九百九十九")});
        QVERIFY(voice->finishSpeaking());
        QVERIFY(!f->FSpeaking);
        // The hover reveal forces it.
        f->ShowChinNr(true);
        QCOMPARE(f->reChin->text(), QStringLiteral("九千九百九十九"));
        f->chbChin->setChecked(true);
        QCOMPARE(f->reChin->text(), QStringLiteral("九千九百九十九"));
    }

    void everyStepDrawsANumber()
    {
        startCustom(QStringLiteral("9999"), QString());
        auto redrawn = [this](const std::function<void()> &step) {
            f->FNumber = -1;
            f->reOrig->clear();
            step();
            return f->FNumber == 9999 && f->reOrig->text() == u"9999";
        };
        QVERIFY(redrawn([this] { f->bNextClick(); }));
        QVERIFY(redrawn([this] { f->bPreviousClick(); }));
        QVERIFY(redrawn([this] { f->lblFirstClick(); }));
        QVERIFY(redrawn([this] { f->lblLastClick(); }));
        QVERIFY(redrawn([this] { f->lblGoClick(); }));
        // Escape in the dialog keeps the drill and its range: a new number.
        QVERIFY(redrawn([this] { numbersCommand(); }));
        QVERIFY(f->FNumbersMode);
        QCOMPARE(f->FNumberFrom, 9999);
        QCOMPARE(f->FNumberTo, 10000);
        QCOMPARE(m_dialogs->dialogs.modalsShown.size(), size_t(2));
    }

    void readAloudAndAutomaticModeGoOn()
    {
        startCustom(QStringLiteral("3"), QStringLiteral("3")); // 3..102
        QCOMPARE(f->FNumberFrom, 3);
        QCOMPARE(f->FNumberTo, 103);
        f->chbRead->setChecked(true);
        f->bNextClick();
        QVERIFY(f->FNumber >= 3 && f->FNumber <= 102);
        QCOMPARE(voice->spokenTexts().size(), 1);
        QCOMPARE(voice->spokenTexts().constFirst(), chineseNumeral(f->FNumber));
        QVERIFY(voice->finishSpeaking());
        f->chbRead->setChecked(false);

        // The step stops the automatic timer; the number re-arms it.
        f->chbAuto->setChecked(true);
        f->bNextClick();
        QVERIFY(f->Timer1->isActive());
        QCOMPARE(f->timer1Handler, TForm1::Timer1Handler::Next);
        f->Timer1Timer(); // a tick is a step
        QVERIFY(f->Timer1->isActive());
        QVERIFY(f->FNumber >= 3 && f->FNumber <= 102);
        f->chbAuto->setChecked(false);
    }

    void stopGoesBackToTheLessonTerms()
    {
        // Nothing open: the engine says why.
        startCustom(QStringLiteral("9999"), QString());
        numbersCommand([](TFormNumbers *d) { d->bCancel->click(); });
        QVERIFY(!f->FNumbersMode);
        QCOMPARE(f->lStatus->text(),
                 QStringLiteral("You must open one or more lessons or a session to practise."));
        // The range and the last number stay.
        QCOMPARE(f->FNumberFrom, 9999);
        QCOMPARE(f->FNumber, 9999);

        loadLesson({QStringLiteral("one"), QStringLiteral("two")});
        startCustom(QStringLiteral("9999"), QString());
        numbersCommand([](TFormNumbers *d) { d->bCancel->click(); });
        QCOMPARE(f->FCurrentIndex, 1);
        QCOMPARE(f->reOrig->text(), QStringLiteral("one"));
        // Escape while the drill is off: the next term.
        numbersCommand();
        QVERIFY(!f->FNumbersMode);
        QCOMPARE(f->reOrig->text(), QStringLiteral("two"));
    }
};

// Both classes in one program: the dialog's library also holds windows that
// need the main window, so the dialog is tested where the whole program links.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestNumbersDialog dialog;
    TestForm1Numbers form;
    int failed = QTest::qExec(&dialog, argc, argv);
    failed += QTest::qExec(&form, argc, argv);
    return failed;
}
#include "tst_form1_numbers.moc"
