// The practice window's building blocks that need no window: the program's
// random sequence, the key table, the guards against nested steps (with
// their bounded waits) and nested flashes, and the automatic interval.
#include "platform/ui/Errors.h"
#include "practice/AutoInterval.h"
#include "practice/FlashRun.h"
#include "practice/PracticeEngine.h"
#include "practice/PracticeKeys.h"
#include "practice/RandomGenerator.h"
#include "practice/StepGate.h"

#include <QTimer>
#include <QtTest>

using namespace korvana;

class TestPracticeBasics : public QObject {
    Q_OBJECT

private slots:
    void randomFollowsTheLinearCongruence()
    {
        // Values worked out by hand from seed' = seed * 134775813 + 1 and
        // value = (seed' * n) >> 32.
        RandomGenerator g;
        g.setSeed(0);
        QCOMPARE(g.random(100), 0);
        QCOMPARE(g.random(100), 3);
        QCOMPARE(g.random(100), 86);
        QCOMPARE(g.random(100), 20);
        g.setSeed(12345);
        QCOMPARE(g.random(7), 2);
        QCOMPARE(g.random(7), 2);
        QCOMPARE(g.random(7), 0);
        QCOMPARE(g.seed(), quint32(342459380));
        // No range still moves the sequence on.
        g.setSeed(0);
        QCOMPARE((QList<int>{g.random(0), g.random(-5), int(g.seed())}), (QList<int>{0, 0, 134775814}));
    }

    void keysGiveTheirCommands()
    {
        using K = KeyCommand;
        const QList<QPair<int, KeyCommand>> keys = {
            {Qt::Key_Right, K::Next},         {Qt::Key_Down, K::Next},
            {Qt::Key_PageDown, K::Next},      {Qt::Key_Left, K::Previous},
            {Qt::Key_Up, K::Previous},        {Qt::Key_PageUp, K::Previous},
            {Qt::Key_Return, K::ReadAloud},   {Qt::Key_Enter, K::ReadAloud},
            {Qt::Key_Delete, K::MarkLearned}, {Qt::Key_S, K::MarkLearned},
            {Qt::Key_D, K::MarkDifficult},    {Qt::Key_Space, K::PlaySound},
            {Qt::Key_P, K::PlaySound},        {Qt::Key_G, K::TogglePicture},
            {Qt::Key_Backspace, K::FlashNow}, {Qt::Key_Insert, K::ShowAllPanes},
            {Qt::Key_F1, K::HelpContents},    {Qt::Key_F5, K::ToggleTranslation},
            {Qt::Key_F6, K::TogglePinyin},    {Qt::Key_F7, K::ToggleCharacters},
            {Qt::Key_F8, K::ToggleNotes},     {Qt::Key_X, K::None},
            {Qt::Key_Escape, K::None},        {Qt::Key_F9, K::None}};
        for (const auto &[key, command] : keys)
            QCOMPARE(keyCommand(key, {}), command);
        // F5 to F8 toggle the panes in their order; no other command toggles one.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(toggledPane(keyCommand(Qt::Key_F5 + i, {})), std::optional(allPanes[size_t(i)]));
        QCOMPARE(toggledPane(K::TogglePicture), std::nullopt);
    }

    void modifiersMatterOnlyForO()
    {
        QCOMPARE(keyCommand(Qt::Key_S, Qt::ControlModifier), KeyCommand::MarkLearned);
        QCOMPARE(keyCommand(Qt::Key_D, Qt::ShiftModifier), KeyCommand::MarkDifficult);
        QCOMPARE(keyCommand(Qt::Key_O, {}), KeyCommand::None);
        QCOMPARE(keyCommand(Qt::Key_O, Qt::ShiftModifier), KeyCommand::None);
        QCOMPARE(keyCommand(Qt::Key_O, Qt::ControlModifier), KeyCommand::OpenLessons);
    }

    void onlyDigitsAreTyped()
    {
        QVERIFY(!dropsTypedCharacter(Qt::Key_5, QStringLiteral("5")));
        QVERIFY(dropsTypedCharacter(Qt::Key_A, QStringLiteral("a")));
        QVERIFY(dropsTypedCharacter(Qt::Key_Space, QStringLiteral(" ")));
        QVERIFY(dropsTypedCharacter(Qt::Key_Backspace, QString()));
        QVERIFY(dropsTypedCharacter(Qt::Key_Return, QStringLiteral("\r")));
        QVERIFY(dropsTypedCharacter(Qt::Key_Enter, QStringLiteral("\r")));
        QVERIFY(dropsTypedCharacter(Qt::Key_Escape, QStringLiteral("\x1b")));
        QVERIFY(dropsTypedCharacter(Qt::Key_5, QStringLiteral("5a"))); // every character must be a digit
        QVERIFY(!dropsTypedCharacter(Qt::Key_Tab, QStringLiteral("\t")));
        QVERIFY(!dropsTypedCharacter(Qt::Key_Backtab, QStringLiteral("\t")));
        // Keys that type nothing reach the control.
        QVERIFY(!dropsTypedCharacter(Qt::Key_Delete, QStringLiteral("\x7f")));
        QVERIFY(!dropsTypedCharacter(Qt::Key_Left, QString()));
        QVERIFY(!dropsTypedCharacter(Qt::Key_F5, QString()));
    }

    void aStepAskedForDuringAStepRunsAfterIt()
    {
        StepGate gate;
        QList<QString> log;
        int depth = 0, deepest = 0;
        StepGate::Step step = [&](StepDirection d) {
            ++depth;
            deepest = qMax(deepest, depth);
            log << (d == StepDirection::Next ? QStringLiteral("next") : QStringLiteral("previous"));
            if (log.size() == 1) {
                // Three requests arrive while the first step waits: only the
                // latest is kept.
                QVERIFY(!gate.run(StepDirection::Next, step));
                QVERIFY(!gate.run(StepDirection::Next, step));
                QVERIFY(!gate.run(StepDirection::Previous, step));
            }
            --depth;
        };
        QVERIFY(gate.run(StepDirection::Next, step));
        QCOMPARE(log, (QList<QString>{QStringLiteral("next"), QStringLiteral("previous")}));
        QCOMPARE(deepest, 1);
        QVERIFY(!gate.running());
        QVERIFY(!gate.pending());
    }

    void aFailedStepLeavesTheGateOpen()
    {
        StepGate gate;
        bool thrown = false;
        try {
            gate.run(StepDirection::Next, [&](StepDirection) {
                gate.run(StepDirection::Next, [](StepDirection) {});
                throw Error(QStringLiteral("'x' is not a valid integer value"));
            });
        } catch (const Error &) {
            thrown = true;
        }
        QVERIFY(thrown);
        QVERIFY(!gate.running());
        QVERIFY(!gate.pending());
        int runs = 0;
        QVERIFY(gate.run(StepDirection::Next, [&](StepDirection) { ++runs; }));
        QCOMPARE(runs, 1);
    }

    void aFlashAskedForDuringAFlashEndsItAndFollows()
    {
        FlashRun run;
        QList<bool> ran;
        std::function<void(bool)> flash = [&](bool automatic) {
            QVERIFY(run.running() && !run.stopped());
            ran << automatic;
            if (ran.size() == 1) {
                run.run(true, flash);
                QVERIFY(run.stopped());
                run.run(false, flash); // the latest request is the one that follows
            }
        };
        run.run(true, flash);
        QCOMPARE(ran, (QList<bool>{true, false}));
        QVERIFY(!run.running() && !run.stopped());
    }

    void manualStepCutsSpeechAndSoundShort()
    {
        bool speaking = true, playing = true;
        int cuts = 0, stops = 0;
        MediaWait w;
        w.speaking = [&] { return speaking; };
        w.cutSpeech = [&] {
            ++cuts;
            QTimer::singleShot(0, [&] { speaking = false; }); // the end arrives as an event
        };
        w.soundPlaying = [&] { return playing; };
        w.stopSound = [&] {
            ++stops;
            QTimer::singleShot(0, [&] { playing = false; });
        };
        QVERIFY(w.wait(false, 60000));
        QCOMPARE(cuts, 1);
        QCOMPARE(stops, 1);
        QVERIFY(!speaking && !playing);
    }

    void automaticStepLetsThemFinish()
    {
        bool speaking = true, playing = true;
        int cuts = 0, stops = 0;
        QList<QString> order;
        MediaWait w;
        w.speaking = [&] { return speaking; };
        w.cutSpeech = [&] { ++cuts; };
        w.soundPlaying = [&] { return playing; };
        w.stopSound = [&] { ++stops; };
        QTimer::singleShot(0, [&] {
            order << QStringLiteral("speech ended");
            speaking = false;
            QTimer::singleShot(0, [&] {
                order << QStringLiteral("sound ended");
                playing = false;
            });
        });
        QVERIFY(w.wait(true, 60000));
        QCOMPARE(cuts, 0);
        QCOMPARE(stops, 0);
        QCOMPARE(order.size(), 2);
    }

    void aWaitThatNeverEndsGivesUp()
    {
        MediaWait w;
        w.speaking = [] { return true; };
        w.cutSpeech = [] {};
        QVERIFY(!w.wait(false, 0));
    }

    void automaticInterval()
    {
        QCOMPARE(autoIntervalMs(true, 3, QStringLiteral("2"), QStringLiteral("9")), 3000);
        QCOMPARE(autoIntervalMs(false, 3, QStringLiteral("x"), QStringLiteral("5")), 5000);
        QCOMPARE(autoIntervalMs(true, 0, QStringLiteral("2"), QStringLiteral("5")), 0);
        QCOMPARE(autoIntervalMs(true, 2, QStringLiteral("-4"), QStringLiteral("5")), 0);
        QCOMPARE(autoIntervalMs(true, 1000, QStringLiteral("2000000000"), QStringLiteral("5")), INT_MAX);
        try {
            autoIntervalMs(false, 1, QStringLiteral("1"), QStringLiteral("3s"));
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("'3s' is not a valid integer value"));
        }
    }
};

QTEST_MAIN(TestPracticeBasics)
#include "tst_practicebasics.moc"
