// The numbers drill: the range dialog on its own (its controls, the keys, and
// what "start", "stop" and Escape write into the fields it is bound to), then
// in the main window: the menu command, the numbers drawn by each step, the
// three panes with their boxes, reading aloud, the automatic mode, and the
// way back to the lesson terms.
#include "app/NumbersDrillRunner.h"
#include "app/TermMedia.h"
#include "app/WindowChrome.h"
#include "reference/Numbers.h"
#include "reference/NumbersDialog.h"
#include "support/ProgramTestCase.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

class TestNumbersDialog : public QObject {
    Q_OBJECT

    NumbersDialog *d = nullptr;
    bool mode = false;
    int from = -1, to = -1;

private slots:
    void init()
    {
        d = new NumbersDialog;
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
        QTest::keyClicks(d->fromEdit, QStringLiteral("-20"));
        QVERIFY(d->customOption->isChecked());
        d->hundredOption->setChecked(true);
        // Any key counts, even one that types nothing.
        QTest::keyClick(d->toEdit, Qt::Key_Left);
        QVERIFY(d->customOption->isChecked());
        d->startButton->click();
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
        d->thousandOption->setChecked(true);
        d->stopButton->click();
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
            d->thousandOption->setChecked(true);
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            // Escape from an edit too: the dialog sees the key first.
            d->toEdit->setFocus();
            QTest::keyClick(d->toEdit, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
            QCOMPARE(mode, on);
            QCOMPARE(from, 3);
            QCOMPARE(to, 7);
            // The key did not choose the custom range on its way.
            QVERIFY(d->thousandOption->isChecked());
        }
    }
};

class TestMainWindowNumbers : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true}; }
    MainWindow *f = nullptr;
    FakeSpeechVoice *voice = nullptr;

    void loadLesson(const QStringList &origs)
    {
        QStringList lines;
        for (const QString &o : origs)
            lines << QStringLiteral("<OR=%1><PI=pin %1><CH=字%1><NO=note %1><TY=w><ST=u>").arg(o);
        apptest::loadLines(f, lines);
    }
    // Runs the menu command; Choose acts inside the range dialog (none: the
    // dialog is closed as by Escape).
    void numbersCommand(const std::function<void(NumbersDialog *)> &choose = {})
    {
        dialogs().onModal = [choose](QDialog *d) {
            if (choose)
                choose(qobject_cast<NumbersDialog *>(d));
        };
        f->chrome().numbersCommand();
    }
    void startCustom(const QString &from, const QString &to)
    {
        numbersCommand([&](NumbersDialog *d) {
            d->customOption->setChecked(true);
            d->fromEdit->setText(from);
            d->toEdit->setText(to);
            d->startButton->click();
        });
    }
    // What the pinyin pane must hold for a numeral: the stored lines of its
    // characters, one after another.
    QString storedPinyin(const QString &numeral) const
    {
        QString out;
        for (const QChar c : numeral)
            out += f->numbers().drill().numeralPinyin.line(numeralPinyinLine(c) - 1);
        return out;
    }
    static CharAttributes wholeAttributes(RichEdit *edit)
    {
        edit->setSelStart(0);
        edit->setSelLength(edit->textLength());
        return edit->selAttributes();
    }

    void programStarted() override
    {
        f = mainWindow;
        voice = new FakeSpeechVoice;
        apptest::state().voice.reset(voice);
    }

private slots:
    void startShowsANumberInThePanes()
    {
        loadLesson({QStringLiteral("one")});
        f->nextButtonClicked();
        apptest::control<QFrame>("modulesMenu")->show();
        numbersCommand([](NumbersDialog *d) { d->startButton->click(); }); // "1-100"
        QCOMPARE(dialogs().modalsShown, std::vector<QString>{QStringLiteral("numbersDialog")});
        QVERIFY(apptest::control<QFrame>("modulesMenu")->isHidden());
        QVERIFY(f->numbers().drill().on);
        QCOMPARE(f->numbers().drill().from, 0);
        QCOMPARE(f->numbers().drill().to, 101);
        QVERIFY(f->numbers().drill().number >= 0 && f->numbers().drill().number <= 100);

        const QString numeral = chineseNumeral(f->numbers().drill().number);
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(),
                 QString::number(f->numbers().drill().number));
        QCOMPARE(f->numbers().drill().numeral, numeral);
        QCOMPARE(apptest::control<korvana::RichEdit>("termCharactersText")->text(), numeral);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), numeral);
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), storedPinyin(numeral));
        QVERIFY(apptest::control<korvana::RichEdit>("notesText")->text().isEmpty());
        // The lesson term's position is left alone.
        QCOMPARE(apptest::store().currentIndex, 1);
    }

    void panesFollowTheNumber()
    {
        startCustom(QStringLiteral("9999"), QString());
        QCOMPARE(f->numbers().drill().number, 9999);
        // The stored syllables were loaded: 14 lines, each ending in a blank.
        QCOMPARE(f->numbers().drill().numeralPinyin.lineCount(), 14);
        QCOMPARE(f->numbers().drill().numeralPinyin.line(10), QStringLiteral("líng "));

        f->numbers().drill().number = 1010;
        f->numbers().showNumber();
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("1010"));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("一千〇一十"));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("yī qiān líng yī shí "));
        f->numbers().drill().number = 68;
        f->numbers().showNumber();
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("liù shí bā "));
        f->numbers().drill().number = 2345;
        f->numbers().showNumber();
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(),
                 storedPinyin(QStringLiteral("二千三百四十五")));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text().count(QLatin1Char(' ')), 7);

        // The characters take the Kanji settings.
        apptest::settings().fontSizes[Pane::Characters] = 30;
        apptest::settings().useCharactersFont = true;
        apptest::settings().charactersFont = QStringLiteral("Noto Sans CJK SC");
        apptest::settings().rotateCharacters = true;
        apptest::settings().boldCharacters = true;
        apptest::settings().useCharactersColor = true;
        apptest::settings().charactersColor = 0x0000FF; // red
        f->numbers().showNumber();
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selStart(), 0);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selLength(), 0);
        const CharAttributes a = wholeAttributes(apptest::control<korvana::RichEdit>("charactersText"));
        QCOMPARE(a.sizePoints, 30.0);
        QCOMPARE(a.fontName, QStringLiteral("Noto Sans CJK SC")); // "Rotate Kanji" keeps the font
        QVERIFY(a.bold);
        QCOMPARE(a.color, QColor(Qt::red));
        // Only the size without the Kanji font setting.
        apptest::settings().useCharactersFont = false;
        f->numbers().showNumber();
        const CharAttributes plain = wholeAttributes(apptest::control<korvana::RichEdit>("charactersText"));
        QCOMPARE(plain.sizePoints, 30.0);
        QVERIFY(!plain.bold);
        QVERIFY(!plain.fontName.startsWith(QLatin1Char('@')));
    }

    void pinyinKeepsTheStoredFonts()
    {
        startCustom(QStringLiteral("9999"), QString());
        // Syllables in two fonts, as the stored item writes its tone vowels.
        f->numbers().drill().numeralPinyin.fromRtf(
            QByteArrayLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}}"
                              "\\pard\\plain\\f0\\fs22 one \\par\\f1\\fs40 two \\par\\f0\\fs22 three }"));
        f->numbers().drill().number = 21; // 二十一: lines 2, 10, 1
        f->numbers().showNumberPane(korvana::Pane::Characters, false);
        f->numbers().showNumberPane(korvana::Pane::Pinyin, false);
        // Line 10 is missing: it adds nothing, and never all of scratchText.
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("two one "));
        apptest::control<korvana::RichEdit>("pinyinText")->setSel(0, 3);
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->selAttributes().fontName,
                 QStringLiteral("Courier New"));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->selAttributes().sizePoints, 20.0);
        apptest::control<korvana::RichEdit>("pinyinText")->setSel(4, 7);
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->selAttributes().fontName,
                 QStringLiteral("Times New Roman"));

        // The last line has no line break to stop at.
        f->numbers().drill().number = 3;
        f->numbers().showNumber();
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("three "));
        f->numbers().drill().numeralPinyin.clear();
        f->numbers().showNumber();
        QVERIFY(apptest::control<korvana::RichEdit>("pinyinText")->text().isEmpty());
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("三"));
    }

    void paneBoxesWorkOnTheNumber()
    {
        loadLesson({QStringLiteral("one")});
        f->nextButtonClicked();
        startCustom(QStringLiteral("9999"), QString());
        apptest::control<QCheckBox>("translationSwitch")->setChecked(false);
        QVERIFY(apptest::control<korvana::RichEdit>("translationText")->text().isEmpty());
        apptest::control<QCheckBox>("translationSwitch")->setChecked(true);
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("9999"));
        apptest::control<QCheckBox>("pinyinSwitch")->setChecked(false);
        QVERIFY(apptest::control<korvana::RichEdit>("pinyinText")->text().isEmpty());
        apptest::control<QCheckBox>("pinyinSwitch")->setChecked(true);
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), storedPinyin(f->numbers().drill().numeral));
        apptest::control<QCheckBox>("notesSwitch")->setChecked(false);
        apptest::control<QCheckBox>("notesSwitch")->setChecked(true);
        QVERIFY(apptest::control<korvana::RichEdit>("notesText")->text().isEmpty()); // not the lesson term's notes

        // A hidden characters pane stays empty while Read still has the text.
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        QVERIFY(apptest::control<korvana::RichEdit>("charactersText")->text().isEmpty());
        f->nextButtonClicked();
        QVERIFY(apptest::control<korvana::RichEdit>("charactersText")->text().isEmpty());
        QCOMPARE(apptest::control<korvana::RichEdit>("termCharactersText")->text(), QStringLiteral("九千九百九十九"));
        f->media().readButtonClicked();
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("九千九百九十九")});
        QVERIFY(voice->finishSpeaking());
        QVERIFY(!f->media().speaking());
        // The hover reveal forces it.
        f->numbers().showNumberPane(korvana::Pane::Characters, true);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("九千九百九十九"));
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(true);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("九千九百九十九"));
    }

    void everyStepDrawsANumber()
    {
        startCustom(QStringLiteral("9999"), QString());
        auto redrawn = [this](const std::function<void()> &step) {
            f->numbers().drill().number = -1;
            apptest::control<korvana::RichEdit>("translationText")->clear();
            step();
            return f->numbers().drill().number == 9999
                   && apptest::control<korvana::RichEdit>("translationText")->text() == u"9999";
        };
        QVERIFY(redrawn([this] { f->nextButtonClicked(); }));
        QVERIFY(redrawn([this] { f->previousButtonClicked(); }));
        QVERIFY(redrawn([this] { f->firstLabelClicked(); }));
        QVERIFY(redrawn([this] { f->lastLabelClicked(); }));
        QVERIFY(redrawn([this] { f->goLabelClicked(); }));
        // Escape in the dialog keeps the drill and its range: a new number.
        QVERIFY(redrawn([this] { numbersCommand(); }));
        QVERIFY(f->numbers().drill().on);
        QCOMPARE(f->numbers().drill().from, 9999);
        QCOMPARE(f->numbers().drill().to, 10000);
        QCOMPARE(dialogs().modalsShown.size(), size_t(2));
    }

    void readAloudAndAutomaticModeGoOn()
    {
        startCustom(QStringLiteral("3"), QStringLiteral("3")); // 3..102
        QCOMPARE(f->numbers().drill().from, 3);
        QCOMPARE(f->numbers().drill().to, 103);
        apptest::control<QCheckBox>("readSwitch")->setChecked(true);
        f->nextButtonClicked();
        QVERIFY(f->numbers().drill().number >= 3 && f->numbers().drill().number <= 102);
        QCOMPARE(voice->spokenTexts().size(), 1);
        QCOMPARE(voice->spokenTexts().constFirst(), chineseNumeral(f->numbers().drill().number));
        QVERIFY(voice->finishSpeaking());
        apptest::control<QCheckBox>("readSwitch")->setChecked(false);

        // The step stops the automatic timer; the number re-arms it.
        apptest::control<QCheckBox>("autoSwitch")->setChecked(true);
        f->nextButtonClicked();
        QVERIFY(apptest::control<QTimer>("autoTimer")->isActive());
        QCOMPARE(f->autoTimerHandler(), MainWindow::AutoTimerHandler::Next);
        f->autoTimerTimeout(); // a tick is a step
        QVERIFY(apptest::control<QTimer>("autoTimer")->isActive());
        QVERIFY(f->numbers().drill().number >= 3 && f->numbers().drill().number <= 102);
        apptest::control<QCheckBox>("autoSwitch")->setChecked(false);
    }

    void stopGoesBackToTheLessonTerms()
    {
        // Nothing open: the engine says why.
        startCustom(QStringLiteral("9999"), QString());
        numbersCommand([](NumbersDialog *d) { d->stopButton->click(); });
        QVERIFY(!f->numbers().drill().on);
        QCOMPARE(apptest::status(), QStringLiteral("You must open one or more lessons or a session to practise."));
        // The range and the last number stay.
        QCOMPARE(f->numbers().drill().from, 9999);
        QCOMPARE(f->numbers().drill().number, 9999);

        loadLesson({QStringLiteral("one"), QStringLiteral("two")});
        startCustom(QStringLiteral("9999"), QString());
        numbersCommand([](NumbersDialog *d) { d->stopButton->click(); });
        QCOMPARE(apptest::store().currentIndex, 1);
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("one"));
        // Escape while the drill is off: the next term.
        numbersCommand();
        QVERIFY(!f->numbers().drill().on);
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("two"));
    }
};

// Both classes in one program: the dialog's library also holds windows that
// need the main window, so the dialog is tested where the whole program links.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestNumbersDialog dialog;
    TestMainWindowNumbers form;
    int failed = QTest::qExec(&dialog, argc, argv);
    failed += QTest::qExec(&form, argc, argv);
    return failed;
}
#include "tst_mainwindow_numbers.moc"
