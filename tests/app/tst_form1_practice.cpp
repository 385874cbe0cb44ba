// The practice window driven as the user drives it: Next and Previous, the
// panes, the counts label, the check's status texts, marks, First, Last and
// Go, the mode switches and their captions, the automatic timer, the keys,
// the wheel, and steps asked for while speech runs.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/speech/FakeSpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "settings/TFormOptions.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

using namespace korvana;

class TestForm1Practice : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    TForm1 *f = nullptr;

    // Lesson lines straight into the lesson store, as opening a lesson leaves it.
    void load(const QStringList &lines) { apptest::loadLines(f, lines); }
    static QString term(const QString &orig, const QString &type = QStringLiteral("w"),
                        const QString &state = QStringLiteral("u"))
    {
        return QStringLiteral("<OR=%1><PI=pin %1><CH=字%1><NO=note %1><TY=%2><ST=%3>").arg(orig, type, state);
    }
    QString status() const { return f->lStatus->text(); }
    QString orig() const { return f->reOrig->text(); }

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
        f->FFirstActivation = false; // no reminder, no voices: not under test here
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void nothingOpenSaysSo()
    {
        f->bNextClick();
        QCOMPARE(status(), QStringLiteral("You must open one or more lessons or a session to practise."));
        f->lblFirstClick();
        QCOMPARE(f->FCurrentIndex, 0);
    }

    void nextShowsTermsInOrderAndCounts()
    {
        load({term("one"), term("two", "p"), term("three", "w", "l"), term("four", "w", "d")});
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 1);
        QCOMPARE(orig(), QStringLiteral("one"));
        QCOMPARE(f->rePin->text(), QStringLiteral("pin one"));
        QCOMPARE(f->reChin->text(), QStringLiteral("字one"));
        QCOMPARE(f->reNotes->text(), QStringLiteral("note one"));
        QCOMPARE(f->eLineNr->text(), QStringLiteral("1"));
        QCOMPARE(f->StringGrid1.cell(TermGrid::ShownCount, 0), QStringLiteral("1"));
        QCOMPARE(f->lblCount->text(), QStringLiteral("Words 2:1  Phrases 1:0"));
        QVERIFY(f->jbMarkUnlearned->isDown());
        f->bNextClick();
        f->bNextClick(); // the learned row 3 is skipped
        QCOMPARE(f->FCurrentIndex, 4);
        QVERIFY(f->jbMarkDifficult->isDown());
        QVERIFY(!f->jbMarkUnlearned->isDown());
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 1); // wraps round
        f->bPreviousClick();
        QCOMPARE(f->FCurrentIndex, 4);
    }

    void hiddenPaneStaysEmptyButCharactersAreKept()
    {
        load({term("one")});
        f->chbChin->setChecked(false);
        f->bNextClick();
        QCOMPARE(f->reChin->text(), QString());
        QCOMPARE(f->RichEdit2->text(), QStringLiteral("字one"));
        f->ChinSwitch(); // shown again from the current line
        QCOMPARE(f->reChin->text(), QStringLiteral("字one"));
    }

    void untaggedLinesArePractisedAsWords()
    {
        load({QStringLiteral("<OR=plain><CH=字>")});
        f->chbPhrases->setChecked(false);
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 1);
        QCOMPARE(orig(), QStringLiteral("plain"));
    }

    void marksWriteTheStateColumn()
    {
        load({term("one"), term("two")});
        f->bNextClick();
        f->jbMarkDifficultclick();
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("d"));
        QVERIFY(f->jbMarkDifficult->isDown());
        f->jbMarkUnlearnedclick();
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("u"));
        QVERIFY(f->jbMarkUnlearned->isDown() && !f->jbMarkDifficult->isDown());
        f->lblNoMoreClick(); // learned, and on to the next
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("l"));
        QCOMPARE(f->FCurrentIndex, 2);
        f->lblNoMoreClick();
        QCOMPARE(status(), QStringLiteral("No more terms left; click \"Reset\"."));
        f->lblUnskipClick();
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("u"));
        QCOMPARE(f->lblCount->text(), QStringLiteral("Words 2:0  Phrases 0:0"));
    }

    void marksDoNothingInTheNumbersDrill()
    {
        load({term("one"), term("two")});
        f->bNextClick();
        f->FNumbersMode = true;
        f->jbMarkDifficultclick();
        f->lblNoMoreClick();
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("u"));
        QCOMPARE(f->FCurrentIndex, 1);
        QVERIFY(!f->jbMarkDifficult->isDown());
    }

    void firstLastAndGo()
    {
        load({term("one", "w", "l"), term("two"), term("three"), term("four", "w", "l")});
        f->lblLastClick();
        QCOMPARE(f->FCurrentIndex, 3);
        QCOMPARE(f->eLineNr->text(), QStringLiteral("3"));
        f->lblFirstClick();
        QCOMPARE(f->FCurrentIndex, 2);
        f->eLineNr->setText(QStringLiteral("3"));
        f->lblGoClick();
        QCOMPARE(f->FCurrentIndex, 3);
        QCOMPARE(orig(), QStringLiteral("three"));
        for (const QString &bad : {QStringLiteral("0"), QStringLiteral("9"), QStringLiteral("4"), QString()}) {
            f->eLineNr->setText(bad);
            f->lblGoClick();
            QCOMPARE(f->FCurrentIndex, 3);
        }
    }

    void firstThatFindsNothingKeepsThePosition()
    {
        // Only difficult, only words: an unlearned word and a difficult phrase.
        load({term("word"), term("phrase", "p", "d")});
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 1);
        f->chbPhrases->setChecked(false);
        f->chbDifficult->setChecked(true);
        f->lblFirstClick();
        QCOMPARE(f->FCurrentIndex, 1);
        f->lblLastClick();
        QCOMPARE(f->FCurrentIndex, 1);
        QCOMPARE(orig(), QStringLiteral("word"));
        f->jbMarkDifficultclick(); // lands on the term the user sees
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("d"));
        QCOMPARE(f->StringGrid1.state(1), QStringLiteral("d"));
    }

    void switchesWriteTheirStatusAndCaptionsToggleOnce()
    {
        load({term("one", "w", "u"), term("two")});
        f->bNextClick();
        QCOMPARE(f->StringGrid1.cell(TermGrid::ShownCount, 0), QStringLiteral("1"));
        f->lblDifficult->click();
        QVERIFY(f->chbDifficult->isChecked());
        QCOMPARE(status(), QStringLiteral("Show only difficult terms ON"));
        QCOMPARE(f->StringGrid1.cell(TermGrid::ShownCount, 0), QStringLiteral("0"));
        f->chbDifficult->setChecked(false); // from code: the same handler
        QCOMPARE(status(), QStringLiteral("Show only difficult terms OFF"));
        f->lblWords->click();
        QCOMPARE(status(), QStringLiteral("Show words OFF"));
        f->lblPhrase->click();
        QCOMPARE(status(), QStringLiteral("Show phrases OFF"));
        f->bNextClick();
        QCOMPARE(status(), QStringLiteral("You must check either words or phrases checkbox."));
        f->lblRandom->click();
        QCOMPARE(status(), QStringLiteral("Random mode ON"));
        f->lblModeAuto->click();
        QCOMPARE(status(), QStringLiteral("Auto mode ON"));
        QVERIFY(f->Timer1->isActive());
        f->lblModeAuto->click();
        QCOMPARE(status(), QStringLiteral("Auto mode OFF"));
        QVERIFY(!f->Timer1->isActive());
        f->lblPlaySounds->click();
        QCOMPARE(status(), QStringLiteral("Auto play sounds ON"));
        f->lblDisplPict->click();
        QCOMPARE(status(), QStringLiteral("Auto display pictures ON"));
        f->lblFlash->click();
        QCOMPARE(status(), QStringLiteral("Flash mode ON"));
    }

    void automaticIntervalFollowsTheCharacters()
    {
        load({term("one")});
        f->bNextClick(); // characters "字one": 4 units
        FormOptions->stNasobekInterval->setText(QStringLiteral("2"));
        f->SetTimer();
        QCOMPARE(f->Timer1->interval(), 4000);
        QVERIFY(f->Timer1->isActive());
        FormOptions->rbFixedTime->setChecked(true);
        FormOptions->stInterval->setText(QStringLiteral("5"));
        f->SetTimer();
        QCOMPARE(f->Timer1->interval(), 5000);
        // No characters: one character's time, so the automatic mode goes on.
        FormOptions->rbNasobekZnaku->setChecked(true);
        f->chbChin->setChecked(false);
        f->SetTimer();
        QCOMPARE(f->Timer1->interval(), 1000);
        QVERIFY(f->Timer1->isActive());
        // A multiple of 0 gives no time at all: the timer rests instead of
        // ticking without end.
        FormOptions->stNasobekInterval->setText(QStringLiteral("0"));
        f->SetTimer();
        QVERIFY(!f->Timer1->isActive());
    }

    void keysAndWheel()
    {
        load({term("one"), term("two"), term("three")});
        QTest::keyClick(f, Qt::Key_Right);
        QCOMPARE(f->FCurrentIndex, 1);
        QTest::keyClick(f, Qt::Key_PageDown);
        QCOMPARE(f->FCurrentIndex, 2);
        QTest::keyClick(f, Qt::Key_Up);
        QCOMPARE(f->FCurrentIndex, 1);
        QTest::keyClick(f, Qt::Key_D, Qt::ShiftModifier);
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("d"));
        QTest::keyClick(f, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f->StringGrid1.state(0), QStringLiteral("l"));
        QCOMPARE(f->FCurrentIndex, 2);
        QTest::keyClick(f, Qt::Key_F5);
        QVERIFY(!f->chbOrig->isChecked());
        QCOMPARE(orig(), QString());

        QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(f->reNotesView->viewport(), &down);
        QCOMPARE(f->FCurrentIndex, 3);
        QWheelEvent up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(f, &up);
        QCOMPARE(f->FCurrentIndex, 2);
    }

    void onlyDigitsReachTheNumberField()
    {
        load({term("one"), term("two")});
        f->show();
        QApplication::setActiveWindow(f);
        f->eLineNr->setFocus();
        f->eLineNr->clear();
        QCOMPARE(QApplication::focusWidget(), f->eLineNr);
        QTest::keyClicks(f->eLineNr, QStringLiteral("2x"));
        QCOMPARE(f->eLineNr->text(), QStringLiteral("2"));
        QTest::keyClick(f->eLineNr, Qt::Key_Backspace);
        QCOMPARE(f->eLineNr->text(), QStringLiteral("2"));
    }

    void manualStepCutsSpeechShort()
    {
        load({term("one"), term("two")});
        auto *voice = new FakeSpeechVoice;
        f->SpVoice.reset(voice);
        f->bNextClick();
        f->FSpeaking = true;
        voice->speak(QStringLiteral("字one"));
        f->bNextClick();
        QCOMPARE(voice->skipCalls(), 1);
        QCOMPARE(f->FCurrentIndex, 2);
    }

    void stepsAskedForDuringSpeechRunAfterIt()
    {
        load({term("one"), term("two"), term("three"), term("four")});
        auto *voice = new FakeSpeechVoice;
        f->SpVoice.reset(voice);
        f->bNextClick();
        f->chbAuto->setChecked(true);
        f->FSpeaking = true;
        voice->speak(QStringLiteral("字one"));
        int indexInside = -1;
        QTimer::singleShot(0, f, [&] {
            // Two keys while the speech runs: neither runs inside the wait,
            // and only one is kept.
            QTest::keyClick(f, Qt::Key_Right);
            QTest::keyClick(f, Qt::Key_Right);
            indexInside = f->FCurrentIndex;
            voice->finishSpeaking();
        });
        f->bNextClick();
        QCOMPARE(voice->skipCalls(), 0); // automatic mode lets it finish
        QCOMPARE(indexInside, 1);
        QCOMPARE(f->FCurrentIndex, 3);
        QVERIFY(!f->stepGate.running());
    }
};

QTEST_MAIN(TestForm1Practice)
#include "tst_form1_practice.moc"
