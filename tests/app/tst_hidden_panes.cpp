// Hidden panes: the show-all toggle and its restore, clicks on the panes and
// their boxes, the panes' popup menu, the hover reveal with its neighbours,
// the background ending every reveal, and the numbers drill's panes.
#include "app/CharacterHover.h"
#include "app/HiddenPanes.h"
#include "app/NumbersDrillRunner.h"
#include "reference/CharacterInfoWindow.h"
#include "reference/Numbers.h"
#include "support/ProgramTestCase.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>
#include <QtTest>

using namespace korvana;

class TestHiddenPanes : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true, .shown = true}; }
    MainWindow *f = nullptr;

    void loadOneTerm()
    {
        apptest::loadLines(f, {QStringLiteral("<OR=house><PI=fang2zi><CH=房子><NO=a note><TY=w><ST=u>")});
        f->nextButtonClicked();
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("house"));
    }
    QList<QCheckBox *> boxes() const
    {
        return {apptest::control<QCheckBox>("translationSwitch"), apptest::control<QCheckBox>("pinyinSwitch"),
                apptest::control<QCheckBox>("charactersSwitch"), apptest::control<QCheckBox>("notesSwitch")};
    }
    QList<bool> checks() const
    {
        QList<bool> out;
        for (QCheckBox *b : boxes())
            out << b->isChecked();
        return out;
    }
    // Which of the four panes hold any text.
    QList<bool> filled() const
    {
        return {!apptest::control<korvana::RichEdit>("translationText")->text().isEmpty(),
                !apptest::control<korvana::RichEdit>("pinyinText")->text().isEmpty(),
                !apptest::control<korvana::RichEdit>("charactersText")->text().isEmpty(),
                !apptest::control<korvana::RichEdit>("notesText")->text().isEmpty()};
    }
    static void moveOver(QTextEdit *view)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), view->viewport()->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    }
    // A point of the window with no control over it, or (-1, -1).
    QPoint backgroundPoint() const
    {
        for (int y = f->height() - 1; y > 0; y -= 3)
            for (int x = 1; x < f->width(); x += 3) {
                QWidget *w = f->childAt(x, y);
                if (!w || w == apptest::control<QLabel>("backgroundPicture"))
                    return {x, y};
            }
        return {-1, -1};
    }
    void sendWindowMove(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), f->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(f, &e);
    }

    void programStarted() override
    {
        f = mainWindow;
        apptest::settings().showHiddenOnHover = true;
        loadOneTerm();
    }

private slots:
    void insertShowsAllThenRestoresTheChoice()
    {
        apptest::control<QCheckBox>("pinyinSwitch")->setChecked(false);
        apptest::control<QCheckBox>("notesSwitch")->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{true, false, true, false}));

        f->onKeyDown(Qt::Key_Insert, Qt::NoModifier);
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("fang2zi"));
        QVERIFY(f->hiddenPanes().paneRestore().pending);

        f->onKeyDown(Qt::Key_Insert, Qt::NoModifier);
        QCOMPARE(checks(), (QList<bool>{true, false, true, false}));
        QCOMPARE(filled(), (QList<bool>{true, false, true, false}));
        QVERIFY(!f->hiddenPanes().paneRestore().pending);

        // With everything shown already, the toggle restores "all shown".
        apptest::control<QCheckBox>("pinyinSwitch")->setChecked(true);
        apptest::control<QCheckBox>("notesSwitch")->setChecked(true);
        f->hiddenPanes().toggleShowAll();
        f->hiddenPanes().toggleShowAll();
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
    }

    void manualChangeDropsThePendingRestore()
    {
        // A click on the pinyin pane after Insert: the next Insert saves
        // again and shows all, restoring nothing.
        apptest::control<QCheckBox>("notesSwitch")->setChecked(false);
        f->hiddenPanes().toggleShowAll();
        QTest::mouseClick(apptest::control<QTextEdit>("pinyinView")->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(f->hiddenPanes().activePane() == korvana::Pane::Pinyin);
        QVERIFY(!apptest::control<QCheckBox>("pinyinSwitch")->isChecked());
        QVERIFY(apptest::control<korvana::RichEdit>("pinyinText")->text().isEmpty());
        QVERIFY(!f->hiddenPanes().paneRestore().pending);
        f->hiddenPanes().toggleShowAll();
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QVERIFY(f->hiddenPanes().paneRestore().pending);
        const HiddenPanes::PaneRestore &restore = f->hiddenPanes().paneRestore();
        QVERIFY(!restore.wasChecked(korvana::Pane::Pinyin) && restore.wasChecked(korvana::Pane::Notes));

        // F5 switches the translation and drops the pending restore too.
        f->onKeyDown(Qt::Key_F5, Qt::NoModifier);
        QVERIFY(!apptest::control<QCheckBox>("translationSwitch")->isChecked());
        QVERIFY(apptest::control<korvana::RichEdit>("translationText")->text().isEmpty());
        QVERIFY(!f->hiddenPanes().paneRestore().pending);

        // So does a press on a pane box, whose click toggles it as usual.
        f->hiddenPanes().toggleShowAll();
        QVERIFY(f->hiddenPanes().paneRestore().pending);
        QTest::mouseClick(apptest::control<QCheckBox>("charactersSwitch"), Qt::LeftButton, {},
                          QPoint(4, apptest::control<QCheckBox>("charactersSwitch")->height() / 2));
        QVERIFY(!f->hiddenPanes().paneRestore().pending);
        QVERIFY(!apptest::control<QCheckBox>("charactersSwitch")->isChecked());
        QVERIFY(apptest::control<korvana::RichEdit>("charactersText")->text().isEmpty());

        // A left click on a hidden pane shows it again.
        QTest::mouseClick(apptest::control<QTextEdit>("charactersView")->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(apptest::control<QCheckBox>("charactersSwitch")->isChecked());
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("房子"));
        QVERIFY(f->hiddenPanes().activePane() == korvana::Pane::Characters);
    }

    void rightClickPopsTheMenuAndSwitchesNothing()
    {
        QCOMPARE(
            apptest::control<QMenu>("paneMenu")->actions(),
            (QList<QAction *>{apptest::control<QAction>("copyAction"), apptest::control<QAction>("paneMenuSeparator"),
                              apptest::control<QAction>("displayAction")}));
        QCOMPARE(apptest::control<QAction>("copyAction")->text(), QStringLiteral("Copy"));
        QCOMPARE(apptest::control<QAction>("displayAction")->text(), QStringLiteral("Display"));
        QVERIFY(apptest::control<QAction>("paneMenuSeparator")->isSeparator());

        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        f->hiddenPanes().toggleShowAll(); // all shown, restore pending
        QTest::mouseClick(apptest::control<QTextEdit>("charactersView")->viewport(), Qt::RightButton, {}, QPoint(7, 9));
        QVERIFY(f->hiddenPanes().activePane() == korvana::Pane::Characters);
        QVERIFY(apptest::control<QAction>("displayAction")->isChecked());
        QVERIFY(apptest::control<QCheckBox>("charactersSwitch")->isChecked()); // not switched by the right button
        QVERIFY(!f->hiddenPanes().paneRestore().pending);
        QVERIFY(apptest::control<QMenu>("paneMenu")->isVisible());
        QCOMPARE(apptest::control<QMenu>("paneMenu")->pos(),
                 apptest::control<QTextEdit>("charactersView")->viewport()->mapToGlobal(QPoint(7, 9)));
        apptest::control<QMenu>("paneMenu")->hide();

        apptest::control<QCheckBox>("notesSwitch")->setChecked(false);
        QTest::mouseClick(apptest::control<QTextEdit>("notesView")->viewport(), Qt::RightButton, {}, QPoint(3, 3));
        QVERIFY(f->hiddenPanes().activePane() == korvana::Pane::Notes);
        QVERIFY(!apptest::control<QAction>("displayAction")->isChecked());
        QVERIFY(!apptest::control<QCheckBox>("notesSwitch")->isChecked());
        QVERIFY(apptest::control<korvana::RichEdit>("notesText")->text().isEmpty());
        apptest::control<QMenu>("paneMenu")->hide();
    }

    void hoverRevealsAndNeighboursEndIt()
    {
        for (QCheckBox *b : boxes())
            b->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));

        moveOver(apptest::control<QTextEdit>("translationView"));
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("house"));
        // Inside a revealed pane it is not filled again.
        apptest::control<korvana::RichEdit>("translationText")->setText(QStringLiteral("kept"));
        moveOver(apptest::control<QTextEdit>("translationView"));
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("kept"));

        moveOver(apptest::control<QTextEdit>("pinyinView"));
        QCOMPARE(filled(), (QList<bool>{false, true, false, false}));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QStringLiteral("fang2zi"));
        moveOver(apptest::control<QTextEdit>("translationView")); // from below: the pinyin reveal ends
        QCOMPARE(filled(), (QList<bool>{true, false, false, false}));

        apptest::control<korvana::RichEdit>("charactersText")
            ->setText(QStringLiteral("房子")); // as the characters pane's own reveal leaves it
        moveOver(apptest::control<QTextEdit>("notesView"));
        QCOMPARE(apptest::control<korvana::RichEdit>("notesText")->text(), QStringLiteral("a note"));
        QVERIFY(apptest::control<korvana::RichEdit>("charactersText")->text().isEmpty());
        QVERIFY(
            !apptest::control<korvana::RichEdit>("translationText")->text().isEmpty()); // not a neighbour of the notes
        apptest::control<korvana::RichEdit>("charactersText")->setText(QStringLiteral("房子"));
        moveOver(apptest::control<QTextEdit>("pinyinView"));
        QCOMPARE(filled(), (QList<bool>{false, true, false, true}));
    }

    void hoverOnlyClearsShownOrSettingOff()
    {
        // Checked neighbours keep their term.
        apptest::control<QCheckBox>("translationSwitch")->setChecked(false);
        moveOver(apptest::control<QTextEdit>("pinyinView"));
        moveOver(apptest::control<QTextEdit>("notesView"));
        QCOMPARE(filled(), (QList<bool>{false, true, true, true}));
        // With the setting off nothing is revealed, but neighbours are
        // still cleared.
        apptest::settings().showHiddenOnHover = false;
        for (QCheckBox *b : boxes())
            b->setChecked(false);
        apptest::control<korvana::RichEdit>("pinyinText")->setText(QStringLiteral("left over"));
        moveOver(apptest::control<QTextEdit>("translationView"));
        apptest::control<korvana::RichEdit>("charactersText")->setText(QStringLiteral("left over"));
        moveOver(apptest::control<QTextEdit>("notesView"));
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));
    }

    void pinyinNotesAndBackgroundHideTheCharacterPopup()
    {
        for (QTextEdit *view : {apptest::control<QTextEdit>("pinyinView"), apptest::control<QTextEdit>("notesView")}) {
            characterInfoWindow->show();
            f->hover().setLastHoverChar(0x623F);
            moveOver(view);
            QVERIFY(characterInfoWindow->isHidden());
            QCOMPARE(f->hover().lastHoverChar(), 0);
        }
        // The translation pane leaves the popup as it is.
        characterInfoWindow->show();
        f->hover().setLastHoverChar(0x623F);
        moveOver(apptest::control<QTextEdit>("translationView"));
        QVERIFY(characterInfoWindow->isVisible());
        QCOMPARE(f->hover().lastHoverChar(), 0x623F);

        f->hiddenPanes().backgroundPictureMouseMoved();
        QVERIFY(characterInfoWindow->isHidden());
        QCOMPARE(f->hover().lastHoverChar(), 0);
    }

    void backgroundEndsEveryRevealAndClosesMenus()
    {
        apptest::control<QCheckBox>("pinyinSwitch")->setChecked(false);
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        moveOver(apptest::control<QTextEdit>("pinyinView"));
        apptest::control<korvana::RichEdit>("charactersText")->setText(QStringLiteral("房子"));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        apptest::control<QFrame>("toolsMenu")->show();

        // A move the window gets at a point over one of its controls is not
        // the background's.
        const QPoint overBox = apptest::control<QCheckBox>("translationSwitch")->mapTo(f, QPoint(2, 2));
        QCOMPARE(f->childAt(overBox), static_cast<QWidget *>(apptest::control<QCheckBox>("translationSwitch")));
        sendWindowMove(overBox);
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        QVERIFY(apptest::control<QFrame>("toolsMenu")->isVisible());

        const QPoint p = backgroundPoint();
        QVERIFY(p.x() >= 0);
        sendWindowMove(p);
        QCOMPARE(filled(), (QList<bool>{true, false, false, true}));
        QVERIFY(apptest::control<QFrame>("toolsMenu")->isHidden());
    }

    void numbersDrillRevealsTheNumber()
    {
        f->numbers().drill().numeralPinyin.fromRtf(apptest::state().referenceData.database().numbersRtf());
        f->numbers().drill().on = true;
        f->numbers().drill().number = 12;
        f->numbers().showNumber();
        const QString numeral = chineseNumeral(12);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), numeral);
        const QString pinyin = apptest::control<korvana::RichEdit>("pinyinText")->text();
        QVERIFY(!pinyin.isEmpty());

        for (QCheckBox *b : boxes())
            b->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));
        moveOver(apptest::control<QTextEdit>("translationView"));
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("12"));
        moveOver(apptest::control<QTextEdit>("pinyinView"));
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), pinyin);
        QVERIFY(apptest::control<korvana::RichEdit>("translationText")->text().isEmpty());
        // The notes pane has no number: it shows the last term's notes.
        moveOver(apptest::control<QTextEdit>("notesView"));
        QCOMPARE(apptest::control<korvana::RichEdit>("notesText")->text(), QStringLiteral("a note"));

        // The toggle shows the number, not the term, and restores.
        f->hiddenPanes().toggleShowAll();
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("12"));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), numeral);
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), pinyin);
        f->hiddenPanes().toggleShowAll();
        QVERIFY(apptest::control<korvana::RichEdit>("translationText")->text().isEmpty()
                && apptest::control<korvana::RichEdit>("pinyinText")->text().isEmpty()
                && apptest::control<korvana::RichEdit>("charactersText")->text().isEmpty());
    }
};

QTEST_MAIN(TestHiddenPanes)
#include "tst_hidden_panes.moc"
