// Flash mode driven as the user drives it: full-screen flashes with their
// sizes, cycles, delay and card, flashes in the characters pane, keys that end
// a flash, the automatic mode's card, bad numbers, a flash asked for while one
// runs, and the pointer. Time is a fake clock: no test waits for real time.
#include "app/FlashRunner.h"
#include "platform/ui/Errors.h"
#include "practice/FlashWindow.h"
#include "settings/OptionsDialog.h"
#include "support/ProgramTestCase.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTextEdit>
#include <QtMath>
#include <QtTest>

using namespace korvana;

namespace {

// Lets time pass at once. Each wait is recorded, and `during` runs inside it
// as events arriving while it lasts would.
class FakeFlashClock : public FlashClock {
public:
    QList<int> waits;
    std::function<void(int index)> during;

    bool wait(int ms, const std::function<bool()> &stopped) override
    {
        if (stopped && stopped())
            return false;
        if (ms < 0)
            return true;
        waits << ms;
        if (during)
            during(int(waits.size()) - 1);
        return !(stopped && stopped());
    }
};

int overrideCursorDepth()
{
    // Counts the override cursors on the stack, putting them back after.
    QList<QCursor> taken;
    while (QGuiApplication::overrideCursor()) {
        taken.prepend(*QGuiApplication::overrideCursor());
        QGuiApplication::restoreOverrideCursor();
    }
    for (const QCursor &c : taken)
        QGuiApplication::setOverrideCursor(c);
    return int(taken.size());
}

} // namespace

class TestMainWindowFlash : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true}; }
    MainWindow *f = nullptr;
    FlashWindow *w = nullptr;
    std::shared_ptr<FakeFlashClock> clock;

    void load(const QStringList &lines) { apptest::loadLines(f, lines); }
    static QString term(const QString &chars, const QString &orig = QStringLiteral("one"),
                        const QString &notes = QStringLiteral("a note"), const QString &type = QStringLiteral("w"))
    {
        return QStringLiteral("<OR=%1><PI=yi1><CH=%2><NO=%3><TY=%4><ST=u>").arg(orig, chars, notes, type);
    }
    // Shows term 1 without flashing, as the term display leaves it.
    void showFirst(const QString &line)
    {
        load({line});
        QVERIFY(f->showTerm(1));
    }
    static double sizeOf(RichEdit *edit)
    {
        edit->setSel(0, 1);
        return edit->selAttributes().sizePoints;
    }

    void programStarted() override
    {
        f = mainWindow;
        w = flashWindow;
        clock = std::make_shared<FakeFlashClock>();
        f->flash().setFlashClock(clock);
    }
    void afterProgram() override { QCOMPARE(overrideCursorDepth(), 0); } // the pointer never stays hidden

private slots:
    void fullScreenSizeColoursAndPlace_data()
    {
        QTest::addColumn<QString>("chars");
        QTest::addColumn<double>("size");
        QTest::newRow("one") << QStringLiteral("一") << 300.0;
        QTest::newRow("eight") << QStringLiteral("一二三四五六七八") << 80.0;
        QTest::newRow("nine") << QStringLiteral("一二三四五六七八九") << 50.0;
        QTest::newRow("wide character counts once") << QStringLiteral("𠀀") << 300.0;
    }
    void fullScreenSizeColoursAndPlace()
    {
        QFETCH(QString, chars);
        QFETCH(double, size);
        showFirst(term(chars));
        f->flash().setFlashBackgroundColor(0xFF0000); // blue
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("-1"));
        f->flash().flash(true);
        QVERIFY(w->isVisible());
        QCOMPARE(w->flashedText->text(), chars);
        QCOMPARE(sizeOf(w->flashedText), size);
        QCOMPARE(w->flashedText->selAttributes().color, QColor(Qt::red));
        QCOMPARE(w->background(), QColor(Qt::blue));
        QCOMPARE(w->editBackground(w->flashedText), QColor(Qt::blue));
        const QRect screen = f->screen()->geometry();
        const QRect box = w->flashedView->geometry();
        QCOMPARE(box.width(), screen.width());
        QCOMPARE(box.top(), (screen.height() - box.height()) / 3);
        QVERIFY(box.height() >= f->flash().measureFlashText(w, chars, w->stagingView->font()));
    }

    void cyclesDelayAndClosing()
    {
        showFirst(term(QStringLiteral("字")));
        optionsDialog->flashKeepOpenSwitch->setChecked(false);
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("0"));
        optionsDialog->flashDelayEdit->setText(QStringLiteral("250"));
        QList<bool> shown;
        clock->during = [&](int) { shown << (w->isVisible() && w->editVisible(w->flashedText)); };
        f->flash().flash(false); // the delay first, with nothing shown yet
        QCOMPARE(clock->waits, (QList<int>{250, 40, 40}));
        QCOMPARE(shown, (QList<bool>{false, true, false}));
        QVERIFY(!w->isVisible()); // closed by itself without "Keep open"

        clock->waits.clear();
        shown.clear();
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("20"));
        optionsDialog->flashIntervalEdit->setText(QStringLiteral("15"));
        f->flash().flash(true); // no delay
        QCOMPARE(clock->waits, QList<int>(42, 15));
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(shown[i], i % 2 == 0);

        clock->waits.clear();
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("-3"));
        optionsDialog->flashDelayEdit->setText(QStringLiteral("-1"));
        f->flash().flash(false);
        QVERIFY(clock->waits.isEmpty());
    }

    void cardShowsOnlyStripsWithText()
    {
        showFirst(term(QStringLiteral("字"), QStringLiteral("character"), QString()));
        apptest::control<QCheckBox>("translationSwitch")->setChecked(false); // the card shows it even so
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("0"));
        f->flash().flash(true);
        QVERIFY(w->isVisible() && w->editVisible(w->flashedText));
        QCOMPARE(w->strip(Pane::Translation)->text->text(), QStringLiteral("character"));
        QCOMPARE(w->strip(Pane::Pinyin)->text->text(), QStringLiteral("yi1"));
        QVERIFY(w->editVisible(w->strip(Pane::Translation)->text) && w->editVisible(w->strip(Pane::Pinyin)->text));
        QVERIFY(!w->editVisible(w->strip(Pane::Notes)->text));
        QCOMPARE(w->strip(Pane::Pinyin)->view->y(), w->strip(Pane::Translation)->view->geometry().bottom() + 1);
        // The inverse of the flash colours, at size 25.
        QCOMPARE(sizeOf(w->strip(Pane::Translation)->text), 25.0);
        QCOMPARE(w->strip(Pane::Translation)->text->selAttributes().color, QColor(Qt::black));
        QCOMPARE(w->editBackground(w->strip(Pane::Translation)->text), QColor(Qt::red));
        // The main window's pane keeps its switch.
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QString());

        // The next flash starts from empty strips.
        showFirst(term(QStringLiteral("字"), QString(), QStringLiteral("only notes")));
        f->flash().flash(true);
        QVERIFY(!w->editVisible(w->strip(Pane::Translation)->text));
        QVERIFY(w->editVisible(w->strip(Pane::Notes)->text));
        QCOMPARE(w->strip(Pane::Notes)->view->geometry().bottom(), w->height() - 1); // at the bottom
    }

    void keysEndAFlash()
    {
        showFirst(term(QStringLiteral("字")));
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("20"));
        // On the flash window: the cycles end and the window closes.
        clock->during = [&](int i) {
            if (i == 3)
                QTest::keyClick(w, Qt::Key_A);
        };
        f->flash().flash(true);
        QCOMPARE(clock->waits.size(), 4);
        QVERIFY(!w->isVisible());
        QVERIFY(!f->flash().flashRunning());

        // In the main window, in a hide period: the card stands with the
        // characters shown again.
        clock->waits.clear();
        clock->during = [&](int i) {
            if (i == 1)
                QTest::keyClick(f, Qt::Key_A);
        };
        f->flash().flash(true);
        QCOMPARE(clock->waits.size(), 2);
        QVERIFY(w->isVisible() && w->editVisible(w->flashedText) && w->editVisible(w->strip(Pane::Translation)->text));
        w->close();

        // In the pane, in a hide period: the characters are not left blank.
        optionsDialog->flashFullScreenSwitch->setChecked(false);
        clock->waits.clear();
        clock->during = [&](int i) {
            if (i == 2)
                QTest::keyClick(f, Qt::Key_A);
        };
        f->flash().flash(true);
        QCOMPARE(clock->waits.size(), 3);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("字"));
    }

    void mouseAndWheelCloseTheWindowAndThePointerComesBack()
    {
        showFirst(term(QStringLiteral("字")));
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("-1"));
        f->flash().flash(true);
        f->flash().flash(true); // shown again while open: still hidden only once
        QCOMPARE(overrideCursorDepth(), 1);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        QTest::mouseClick(w->flashedView->viewport(), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(overrideCursorDepth(), 0);

        f->flash().flash(true);
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->strip(Pane::Translation)->view->viewport(), &wheel);
        QVERIFY(!w->isVisible());
    }

    void automaticModeShowsTheCardAtOnceAndInputEndsIt()
    {
        load({term(QStringLiteral("字")),
              term(QStringLiteral("一句话"), QStringLiteral("p"), QString(), QStringLiteral("p"))});
        apptest::control<QCheckBox>("flashSwitch")->setChecked(true);
        apptest::control<QCheckBox>("autoSwitch")->setChecked(true);
        optionsDialog->flashDelayEdit->setText(QStringLiteral("300"));
        // A word chosen for flashing: the delay, then the card without cycles.
        f->nextButtonClicked();
        QCOMPARE(clock->waits, (QList<int>{300}));
        QVERIFY(w->isVisible() && w->editVisible(w->strip(Pane::Translation)->text));
        // A phrase not chosen for flashing still flashes, at once.
        f->nextButtonClicked();
        QCOMPARE(clock->waits, (QList<int>{300}));
        QCOMPARE(w->flashedText->text(), QStringLiteral("一句话"));
        QVERIFY(w->isVisible());

        QTest::keyClick(w, Qt::Key_Space);
        QVERIFY(!w->isVisible());
        QVERIFY(!apptest::control<QCheckBox>("autoSwitch")->isChecked());
        QCOMPARE(apptest::status(), QStringLiteral("Auto mode OFF"));
    }

    void termWithoutCharactersReplacesTheCardAndAutomaticModeGoesOn()
    {
        load({term(QStringLiteral("字"), QStringLiteral("first")), term(QString(), QStringLiteral("second"))});
        apptest::control<QCheckBox>("flashSwitch")->setChecked(true);
        apptest::control<QCheckBox>("autoSwitch")->setChecked(true);
        f->nextButtonClicked();
        QVERIFY(w->isVisible());
        QCOMPARE(w->strip(Pane::Translation)->text->text(), QStringLiteral("first"));
        f->nextButtonClicked(); // no characters
        QCOMPARE(apptest::store().currentIndex, 2);
        QVERIFY(w->isVisible());
        QCOMPARE(w->flashedText->text(), QString());
        QCOMPARE(w->strip(Pane::Translation)->text->text(), QStringLiteral("second"));
        QVERIFY(apptest::control<QCheckBox>("autoSwitch")->isChecked());
        QVERIFY(apptest::control<QTimer>("autoTimer")->isActive()); // the next step will come
        // The card's strips hold their 25-point text whole, descenders too.
        for (QTextEdit *v : {w->strip(Pane::Translation)->view, w->strip(Pane::Pinyin)->view})
            QVERIFY(v->viewport()->height() >= qCeil(v->document()->size().height()));
    }

    void termDisplayFlashesChosenTypesOnly()
    {
        load({term(QStringLiteral("字")),
              term(QStringLiteral("一句话"), QStringLiteral("p"), QString(), QStringLiteral("p"))});
        apptest::control<QCheckBox>("flashSwitch")->setChecked(true);
        optionsDialog->flashKeepOpenSwitch->setChecked(false);
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("0"));
        f->nextButtonClicked();
        QCOMPARE(clock->waits, (QList<int>{1000, 40, 40}));
        clock->waits.clear();
        f->nextButtonClicked(); // a phrase
        QCOMPARE(apptest::store().currentIndex, 2);
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        f->nextButtonClicked(); // a word, with the characters pane hidden
        QVERIFY(clock->waits.isEmpty());
    }

    void paneFlashBlinksAndEndsAsTheSwitchSays()
    {
        showFirst(term(QStringLiteral("你好")));
        optionsDialog->flashFullScreenSwitch->setChecked(false);
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("1"));
        QStringList pane;
        clock->during = [&](int) { pane << apptest::control<korvana::RichEdit>("charactersText")->text(); };
        f->flash().flash(true);
        QCOMPARE(pane, (QStringList{QString(), QStringLiteral("你好"), QString(), QStringLiteral("你好")}));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("你好"));
        QVERIFY(!w->isVisible());

        // A hidden pane: the characters flash, then the pane is empty again.
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        pane.clear();
        f->flash().flash(true);
        QCOMPARE(pane[1], QStringLiteral("你好"));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QString());
    }

    void flashAskedForDuringAFlashFollowsIt()
    {
        showFirst(term(QStringLiteral("字")));
        optionsDialog->flashFullScreenSwitch->setChecked(false);
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("1"));
        clock->during = [&](int i) {
            if (i == 1) // Backspace, handled while the queue runs
                f->onKeyDown(Qt::Key_Backspace, Qt::NoModifier);
        };
        f->flash().flash(true);
        // The first flash ended after its second period; the second ran whole.
        QCOMPARE(clock->waits.size(), 2 + 4);
        QVERIFY(!f->flash().flashRunning());
    }

    void badNumbersFailBeforeAnythingShows()
    {
        showFirst(term(QStringLiteral("字")));
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("abc"));
        try {
            f->flash().flash(true);
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QStringLiteral("'abc' is not a valid integer value"));
        }
        QVERIFY(!w->isVisible());
        QVERIFY(!f->flash().flashRunning());

        // Each number is read only when it is used.
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("-1"));
        optionsDialog->flashIntervalEdit->setText(QStringLiteral("x"));
        optionsDialog->flashDelayEdit->setText(QStringLiteral("1.5"));
        f->flash().flash(true);
        QVERIFY(w->isVisible());
        w->close();
        QVERIFY_THROWS_EXCEPTION(Error, f->flash().flash(false));
        optionsDialog->flashRepeatEdit->setText(QStringLiteral("0"));
        QVERIFY_THROWS_EXCEPTION(Error, f->flash().flash(true));
    }

    void flashLabelBackspaceAndActivation()
    {
        showFirst(term(QStringLiteral("字"), QStringLiteral("character"), QStringLiteral("note")));
        f->flash().activateFlash();
        QVERIFY(!w->isVisible());
        QCOMPARE(w->flashedText->text(), QStringLiteral("字"));
        QCOMPARE(sizeOf(w->stagingText), double(apptest::settings().fontSizes[Pane::Characters]));
        QCOMPARE(w->strip(Pane::Notes)->text->text(), QStringLiteral("note"));
        QVERIFY(w->editVisible(w->flashedText) && w->editVisible(w->strip(Pane::Translation)->text)
                && !w->editVisible(w->stagingText));

        optionsDialog->flashRepeatEdit->setText(QStringLiteral("0"));
        QCOMPARE(apptest::control<korvana::ClickLabel>("flashNowLabel")->text(), QStringLiteral("Flash"));
        apptest::control<korvana::ClickLabel>("flashNowLabel")->click();
        QCOMPARE(clock->waits, (QList<int>{40, 40}));
        w->close();
        QTest::keyClick(f, Qt::Key_Backspace);
        QCOMPARE(clock->waits.size(), 4);
        w->close();

        // No characters, no flash.
        showFirst(QStringLiteral("<OR=one><TY=w><ST=u>"));
        f->flash().flash(true);
        QCOMPARE(clock->waits.size(), 4);
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestMainWindowFlash)
#include "tst_mainwindow_flash.moc"
