// The practice window driven as the user drives it: Next and Previous, the
// panes, the counts label, the check's status texts, marks, First, Last and
// Go, the mode switches and their captions, the automatic timer, the keys,
// the wheel, and steps asked for while speech runs.
#include "app/HiddenPanes.h"
#include "app/NumbersDrillRunner.h"
#include "app/TermMedia.h"
#include "settings/OptionsDialog.h"
#include "support/ProgramTestCase.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

using namespace korvana;
using apptest::status;

// No reminder, no voices: not under test here.
class TestMainWindowPractice : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true}; }
    MainWindow *f = nullptr;

    // Lesson lines straight into the lesson store, as opening a lesson leaves it.
    void load(const QStringList &lines) { apptest::loadLines(f, lines); }
    static QString term(const QString &orig, const QString &type = QStringLiteral("w"),
                        const QString &state = QStringLiteral("u"))
    {
        return QStringLiteral("<OR=%1><PI=pin %1><CH=字%1><NO=note %1><TY=%2><ST=%3>").arg(orig, type, state);
    }
    QString orig() const { return apptest::control<korvana::RichEdit>("translationText")->text(); }

    void programStarted() override { f = mainWindow; }

private slots:
    void nothingOpenSaysSo()
    {
        f->nextButtonClicked();
        QCOMPARE(status(), QStringLiteral("You must open one or more lessons or a session to practise."));
        f->firstLabelClicked();
        QCOMPARE(apptest::store().currentIndex, 0);
    }

    void nextShowsTermsInOrderAndCounts()
    {
        load({term("one"), term("two", "p"), term("three", "w", "l"), term("four", "w", "d")});
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 1);
        QCOMPARE(orig(), QStringLiteral("one"));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("pin one"));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("字one"));
        QCOMPARE(apptest::control<korvana::RichEdit>("notesText")->text(), QStringLiteral("note one"));
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QStringLiteral("1"));
        QCOMPARE(apptest::store().termTable.cell(TermGrid::ShownCount, 0), QStringLiteral("1"));
        QCOMPARE(apptest::control<QLabel>("countLabel")->text(), QStringLiteral("Words 2:1  Phrases 1:0"));
        QVERIFY(apptest::control<korvana::LatchButton>("markUnlearnedButton")->isDown());
        f->nextButtonClicked();
        f->nextButtonClicked(); // the learned row 3 is skipped
        QCOMPARE(apptest::store().currentIndex, 4);
        QVERIFY(apptest::control<korvana::LatchButton>("markDifficultButton")->isDown());
        QVERIFY(!apptest::control<korvana::LatchButton>("markUnlearnedButton")->isDown());
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 1); // wraps round
        f->previousButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 4);
    }

    void hiddenPaneStaysEmptyButCharactersAreKept()
    {
        load({term("one")});
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        f->nextButtonClicked();
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QString());
        QCOMPARE(apptest::control<korvana::RichEdit>("termCharactersText")->text(), QStringLiteral("字one"));
        f->hiddenPanes().togglePane(korvana::Pane::Characters); // shown again from the current line
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("字one"));
    }

    void untaggedLinesArePractisedAsWords()
    {
        load({QStringLiteral("<OR=plain><CH=字>")});
        apptest::control<QCheckBox>("phrasesSwitch")->setChecked(false);
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 1);
        QCOMPARE(orig(), QStringLiteral("plain"));
    }

    void marksWriteTheStateColumn()
    {
        load({term("one"), term("two")});
        f->nextButtonClicked();
        f->markDifficultButtonClicked();
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("d"));
        QVERIFY(apptest::control<korvana::LatchButton>("markDifficultButton")->isDown());
        f->markUnlearnedButtonClicked();
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("u"));
        QVERIFY(apptest::control<korvana::LatchButton>("markUnlearnedButton")->isDown()
                && !apptest::control<korvana::LatchButton>("markDifficultButton")->isDown());
        f->markLearnedButtonClicked(); // learned, and on to the next
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("l"));
        QCOMPARE(apptest::store().currentIndex, 2);
        f->markLearnedButtonClicked();
        QCOMPARE(status(), QStringLiteral("No more terms left; click \"Reset\"."));
        f->unskipLabelClicked();
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("u"));
        QCOMPARE(apptest::control<QLabel>("countLabel")->text(), QStringLiteral("Words 2:0  Phrases 0:0"));
    }

    void marksDoNothingInTheNumbersDrill()
    {
        load({term("one"), term("two")});
        f->nextButtonClicked();
        f->numbers().drill().on = true;
        f->markDifficultButtonClicked();
        f->markLearnedButtonClicked();
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("u"));
        QCOMPARE(apptest::store().currentIndex, 1);
        QVERIFY(!apptest::control<korvana::LatchButton>("markDifficultButton")->isDown());
    }

    void firstLastAndGo()
    {
        load({term("one", "w", "l"), term("two"), term("three"), term("four", "w", "l")});
        f->lastLabelClicked();
        QCOMPARE(apptest::store().currentIndex, 3);
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QStringLiteral("3"));
        f->firstLabelClicked();
        QCOMPARE(apptest::store().currentIndex, 2);
        apptest::control<QLineEdit>("termNumberEdit")->setText(QStringLiteral("3"));
        f->goLabelClicked();
        QCOMPARE(apptest::store().currentIndex, 3);
        QCOMPARE(orig(), QStringLiteral("three"));
        for (const QString &bad : {QStringLiteral("0"), QStringLiteral("9"), QStringLiteral("4"), QString()}) {
            apptest::control<QLineEdit>("termNumberEdit")->setText(bad);
            f->goLabelClicked();
            QCOMPARE(apptest::store().currentIndex, 3);
        }
    }

    void firstThatFindsNothingKeepsThePosition()
    {
        // Only difficult, only words: an unlearned word and a difficult phrase.
        load({term("word"), term("phrase", "p", "d")});
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 1);
        apptest::control<QCheckBox>("phrasesSwitch")->setChecked(false);
        apptest::control<QCheckBox>("difficultSwitch")->setChecked(true);
        f->firstLabelClicked();
        QCOMPARE(apptest::store().currentIndex, 1);
        f->lastLabelClicked();
        QCOMPARE(apptest::store().currentIndex, 1);
        QCOMPARE(orig(), QStringLiteral("word"));
        f->markDifficultButtonClicked(); // lands on the term the user sees
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("d"));
        QCOMPARE(apptest::store().termTable.state(1), QStringLiteral("d"));
    }

    void switchesWriteTheirStatusAndCaptionsToggleOnce()
    {
        load({term("one", "w", "u"), term("two")});
        f->nextButtonClicked();
        QCOMPARE(apptest::store().termTable.cell(TermGrid::ShownCount, 0), QStringLiteral("1"));
        apptest::control<korvana::ClickLabel>("difficultSwitchLabel")->click();
        QVERIFY(apptest::control<QCheckBox>("difficultSwitch")->isChecked());
        QCOMPARE(status(), QStringLiteral("Show only difficult terms ON"));
        QCOMPARE(apptest::store().termTable.cell(TermGrid::ShownCount, 0), QStringLiteral("0"));
        apptest::control<QCheckBox>("difficultSwitch")->setChecked(false); // from code: the same handler
        QCOMPARE(status(), QStringLiteral("Show only difficult terms OFF"));
        apptest::control<korvana::ClickLabel>("wordsSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Show words OFF"));
        apptest::control<korvana::ClickLabel>("phrasesSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Show phrases OFF"));
        f->nextButtonClicked();
        QCOMPARE(status(), QStringLiteral("You must check either words or phrases checkbox."));
        apptest::control<korvana::ClickLabel>("randomSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Random mode ON"));
        apptest::control<korvana::ClickLabel>("autoSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Auto mode ON"));
        QVERIFY(apptest::control<QTimer>("autoTimer")->isActive());
        apptest::control<korvana::ClickLabel>("autoSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Auto mode OFF"));
        QVERIFY(!apptest::control<QTimer>("autoTimer")->isActive());
        apptest::control<korvana::ClickLabel>("soundSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Auto play sounds ON"));
        apptest::control<korvana::ClickLabel>("pictureSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Auto display pictures ON"));
        apptest::control<korvana::ClickLabel>("flashSwitchLabel")->click();
        QCOMPARE(status(), QStringLiteral("Flash mode ON"));
    }

    void automaticIntervalFollowsTheCharacters()
    {
        load({term("one")});
        f->nextButtonClicked(); // characters "字one": 4 units
        optionsDialog->perCharacterIntervalLabel->setText(QStringLiteral("2"));
        f->startAutoTimer();
        QCOMPARE(apptest::control<QTimer>("autoTimer")->interval(), 4000);
        QVERIFY(apptest::control<QTimer>("autoTimer")->isActive());
        optionsDialog->fixedIntervalOption->setChecked(true);
        optionsDialog->fixedIntervalLabel->setText(QStringLiteral("5"));
        f->startAutoTimer();
        QCOMPARE(apptest::control<QTimer>("autoTimer")->interval(), 5000);
        // No characters: one character's time, so the automatic mode goes on.
        optionsDialog->perCharacterIntervalOption->setChecked(true);
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        f->startAutoTimer();
        QCOMPARE(apptest::control<QTimer>("autoTimer")->interval(), 1000);
        QVERIFY(apptest::control<QTimer>("autoTimer")->isActive());
        // A multiple of 0 gives no time at all: the timer rests instead of
        // ticking without end.
        optionsDialog->perCharacterIntervalLabel->setText(QStringLiteral("0"));
        f->startAutoTimer();
        QVERIFY(!apptest::control<QTimer>("autoTimer")->isActive());
    }

    void keysAndWheel()
    {
        load({term("one"), term("two"), term("three")});
        QTest::keyClick(f, Qt::Key_Right);
        QCOMPARE(apptest::store().currentIndex, 1);
        QTest::keyClick(f, Qt::Key_PageDown);
        QCOMPARE(apptest::store().currentIndex, 2);
        QTest::keyClick(f, Qt::Key_Up);
        QCOMPARE(apptest::store().currentIndex, 1);
        QTest::keyClick(f, Qt::Key_D, Qt::ShiftModifier);
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("d"));
        QTest::keyClick(f, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("l"));
        QCOMPARE(apptest::store().currentIndex, 2);
        QTest::keyClick(f, Qt::Key_F5);
        QVERIFY(!apptest::control<QCheckBox>("translationSwitch")->isChecked());
        QCOMPARE(orig(), QString());

        QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(apptest::control<QTextEdit>("notesView")->viewport(), &down);
        QCOMPARE(apptest::store().currentIndex, 3);
        QWheelEvent up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(f, &up);
        QCOMPARE(apptest::store().currentIndex, 2);
    }

    void onlyDigitsReachTheNumberField()
    {
        load({term("one"), term("two")});
        f->show();
        QApplication::setActiveWindow(f);
        apptest::control<QLineEdit>("termNumberEdit")->setFocus();
        apptest::control<QLineEdit>("termNumberEdit")->clear();
        QCOMPARE(QApplication::focusWidget(), apptest::control<QLineEdit>("termNumberEdit"));
        QTest::keyClicks(apptest::control<QLineEdit>("termNumberEdit"), QStringLiteral("2x"));
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QStringLiteral("2"));
        QTest::keyClick(apptest::control<QLineEdit>("termNumberEdit"), Qt::Key_Backspace);
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QStringLiteral("2"));
    }

    void manualStepCutsSpeechShort()
    {
        load({term("one"), term("two")});
        auto *voice = new FakeSpeechVoice;
        apptest::state().voice.reset(voice);
        f->nextButtonClicked();
        f->media().setSpeaking(true);
        voice->speak(QStringLiteral("字one"));
        f->nextButtonClicked();
        QCOMPARE(voice->skipCalls(), 1);
        QCOMPARE(apptest::store().currentIndex, 2);
    }

    void stepsAskedForDuringSpeechRunAfterIt()
    {
        load({term("one"), term("two"), term("three"), term("four")});
        auto *voice = new FakeSpeechVoice;
        apptest::state().voice.reset(voice);
        f->nextButtonClicked();
        apptest::control<QCheckBox>("autoSwitch")->setChecked(true);
        f->media().setSpeaking(true);
        voice->speak(QStringLiteral("字one"));
        int indexInside = -1;
        QTimer::singleShot(0, f, [&] {
            // Two keys while the speech runs: neither runs inside the wait,
            // and only one is kept.
            QTest::keyClick(f, Qt::Key_Right);
            QTest::keyClick(f, Qt::Key_Right);
            indexInside = apptest::store().currentIndex;
            voice->finishSpeaking();
        });
        f->nextButtonClicked();
        QCOMPARE(voice->skipCalls(), 0); // automatic mode lets it finish
        QCOMPARE(indexInside, 1);
        QCOMPARE(apptest::store().currentIndex, 3);
        QVERIFY(!f->stepRunning());
    }
};

QTEST_MAIN(TestMainWindowPractice)
#include "tst_mainwindow_practice.moc"
