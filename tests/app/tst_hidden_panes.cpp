// Hidden panes: the show-all toggle and its restore, clicks on the panes and
// their boxes, the panes' popup menu, the hover reveal with its neighbours,
// the background ending every reveal, and the numbers drill's panes.
#include "support/AppTestSupport.h"
#include "app/Program.h"
#include "app/MainWindow.h"
#include "support/ScriptedDialogs.h"
#include "reference/Numbers.h"
#include "reference/CharacterInfoWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using namespace korvana;

class TestHiddenPanes : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    MainWindow *f = nullptr;

    void loadOneTerm()
    {
        apptest::loadLines(f, {QStringLiteral("<OR=house><PI=fang2zi><CH=房子><NO=a note><TY=w><ST=u>")});
        f->nextButtonClicked();
        QCOMPARE(f->translationText->text(), QStringLiteral("house"));
    }
    QList<QCheckBox *> boxes() const
    {
        return {f->translationSwitch, f->pinyinSwitch, f->charactersSwitch, f->notesSwitch};
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
        return {!f->translationText->text().isEmpty(), !f->pinyinText->text().isEmpty(),
                !f->charactersText->text().isEmpty(), !f->notesText->text().isEmpty()};
    }
    static void moveOver(QTextEdit *view)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), view->viewport()->mapToGlobal(QPointF(5, 5)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    }
    // A point of the window with no control over it, or (-1, -1).
    QPoint backgroundPoint() const
    {
        for (int y = f->height() - 1; y > 0; y -= 3)
            for (int x = 1; x < f->width(); x += 3) {
                QWidget *w = f->childAt(x, y);
                if (!w || w == f->backgroundPicture)
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
        apptest::createFreshWindows();
        f = mainWindow;
        f->firstActivation = false;
        f->settings.showHiddenOnHover = true;
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        loadOneTerm();
    }

    void cleanup()
    {
        destroyWindows();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void insertShowsAllThenRestoresTheChoice()
    {
        f->pinyinSwitch->setChecked(false);
        f->notesSwitch->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{true, false, true, false}));

        f->onKeyDown(Qt::Key_Insert, Qt::NoModifier);
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        QCOMPARE(f->pinyinText->text(), QStringLiteral("fang2zi"));
        QVERIFY(f->paneRestorePending);

        f->onKeyDown(Qt::Key_Insert, Qt::NoModifier);
        QCOMPARE(checks(), (QList<bool>{true, false, true, false}));
        QCOMPARE(filled(), (QList<bool>{true, false, true, false}));
        QVERIFY(!f->paneRestorePending);

        // With everything shown already, the toggle restores "all shown".
        f->pinyinSwitch->setChecked(true);
        f->notesSwitch->setChecked(true);
        f->toggleShowAll();
        f->toggleShowAll();
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
    }

    void manualChangeDropsThePendingRestore()
    {
        // A click on the pinyin pane after Insert: the next Insert saves
        // again and shows all, restoring nothing.
        f->notesSwitch->setChecked(false);
        f->toggleShowAll();
        QTest::mouseClick(f->pinyinView->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(f->activePane, 2);
        QVERIFY(!f->pinyinSwitch->isChecked());
        QVERIFY(f->pinyinText->text().isEmpty());
        QVERIFY(!f->paneRestorePending);
        f->toggleShowAll();
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QVERIFY(f->paneRestorePending);
        QVERIFY(!f->savedPinyinSwitch && f->savedNotesSwitch);

        // F5 switches the translation and drops the pending restore too.
        f->onKeyDown(Qt::Key_F5, Qt::NoModifier);
        QVERIFY(!f->translationSwitch->isChecked());
        QVERIFY(f->translationText->text().isEmpty());
        QVERIFY(!f->paneRestorePending);

        // So does a press on a pane box, whose click toggles it as usual.
        f->toggleShowAll();
        QVERIFY(f->paneRestorePending);
        QTest::mouseClick(f->charactersSwitch, Qt::LeftButton, {}, QPoint(4, f->charactersSwitch->height() / 2));
        QVERIFY(!f->paneRestorePending);
        QVERIFY(!f->charactersSwitch->isChecked());
        QVERIFY(f->charactersText->text().isEmpty());

        // A left click on a hidden pane shows it again.
        QTest::mouseClick(f->charactersView->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(f->charactersSwitch->isChecked());
        QCOMPARE(f->charactersText->text(), QStringLiteral("房子"));
        QCOMPARE(f->activePane, 3);
    }

    void rightClickPopsTheMenuAndSwitchesNothing()
    {
        QCOMPARE(f->paneMenu->actions(), (QList<QAction *>{f->copyAction, f->paneMenuSeparator, f->displayAction}));
        QCOMPARE(f->copyAction->text(), QStringLiteral("Copy"));
        QCOMPARE(f->displayAction->text(), QStringLiteral("Display"));
        QVERIFY(f->paneMenuSeparator->isSeparator());

        f->charactersSwitch->setChecked(false);
        f->toggleShowAll(); // all shown, restore pending
        QTest::mouseClick(f->charactersView->viewport(), Qt::RightButton, {}, QPoint(7, 9));
        QCOMPARE(f->activePane, 3);
        QVERIFY(f->displayAction->isChecked());
        QVERIFY(f->charactersSwitch->isChecked()); // not switched by the right button
        QVERIFY(!f->paneRestorePending);
        QVERIFY(f->paneMenu->isVisible());
        QCOMPARE(f->paneMenu->pos(), f->charactersView->viewport()->mapToGlobal(QPoint(7, 9)));
        f->paneMenu->hide();

        f->notesSwitch->setChecked(false);
        QTest::mouseClick(f->notesView->viewport(), Qt::RightButton, {}, QPoint(3, 3));
        QCOMPARE(f->activePane, 4);
        QVERIFY(!f->displayAction->isChecked());
        QVERIFY(!f->notesSwitch->isChecked());
        QVERIFY(f->notesText->text().isEmpty());
        f->paneMenu->hide();
    }

    void hoverRevealsAndNeighboursEndIt()
    {
        for (QCheckBox *b : boxes())
            b->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));

        moveOver(f->translationView);
        QCOMPARE(f->translationText->text(), QStringLiteral("house"));
        // Inside a revealed pane it is not filled again.
        f->translationText->setText(QStringLiteral("kept"));
        moveOver(f->translationView);
        QCOMPARE(f->translationText->text(), QStringLiteral("kept"));

        moveOver(f->pinyinView);
        QCOMPARE(filled(), (QList<bool>{false, true, false, false}));
        QCOMPARE(f->pinyinText->text(), QStringLiteral("fang2zi"));
        moveOver(f->translationView); // from below: the pinyin reveal ends
        QCOMPARE(filled(), (QList<bool>{true, false, false, false}));

        f->charactersText->setText(QStringLiteral("房子")); // as the characters pane's own reveal leaves it
        moveOver(f->notesView);
        QCOMPARE(f->notesText->text(), QStringLiteral("a note"));
        QVERIFY(f->charactersText->text().isEmpty());
        QVERIFY(!f->translationText->text().isEmpty()); // not a neighbour of the notes
        f->charactersText->setText(QStringLiteral("房子"));
        moveOver(f->pinyinView);
        QCOMPARE(filled(), (QList<bool>{false, true, false, true}));
    }

    void hoverOnlyClearsShownOrSettingOff()
    {
        // Checked neighbours keep their term.
        f->translationSwitch->setChecked(false);
        moveOver(f->pinyinView);
        moveOver(f->notesView);
        QCOMPARE(filled(), (QList<bool>{false, true, true, true}));
        // With the setting off nothing is revealed, but neighbours are
        // still cleared.
        f->settings.showHiddenOnHover = false;
        for (QCheckBox *b : boxes())
            b->setChecked(false);
        f->pinyinText->setText(QStringLiteral("left over"));
        moveOver(f->translationView);
        f->charactersText->setText(QStringLiteral("left over"));
        moveOver(f->notesView);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));
    }

    void pinyinNotesAndBackgroundHideTheCharacterPopup()
    {
        for (QTextEdit *view : {f->pinyinView, f->notesView}) {
            characterInfoWindow->show();
            f->lastHoverChar = 0x623F;
            moveOver(view);
            QVERIFY(characterInfoWindow->isHidden());
            QCOMPARE(f->lastHoverChar, 0);
        }
        // The translation pane leaves the popup as it is.
        characterInfoWindow->show();
        f->lastHoverChar = 0x623F;
        moveOver(f->translationView);
        QVERIFY(characterInfoWindow->isVisible());
        QCOMPARE(f->lastHoverChar, 0x623F);

        f->backgroundPictureMouseMoved();
        QVERIFY(characterInfoWindow->isHidden());
        QCOMPARE(f->lastHoverChar, 0);
    }

    void backgroundEndsEveryRevealAndClosesMenus()
    {
        f->pinyinSwitch->setChecked(false);
        f->charactersSwitch->setChecked(false);
        moveOver(f->pinyinView);
        f->charactersText->setText(QStringLiteral("房子"));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        f->menus[2].panel->show();

        // A move the window gets at a point over one of its controls is not
        // the background's.
        const QPoint overBox = f->translationSwitch->mapTo(f, QPoint(2, 2));
        QCOMPARE(f->childAt(overBox), static_cast<QWidget *>(f->translationSwitch));
        sendWindowMove(overBox);
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        QVERIFY(f->menus[2].panel->isVisible());

        const QPoint p = backgroundPoint();
        QVERIFY(p.x() >= 0);
        sendWindowMove(p);
        QCOMPARE(filled(), (QList<bool>{true, false, false, true}));
        QVERIFY(f->menus[2].panel->isHidden());
    }

    void numbersDrillRevealsTheNumber()
    {
        f->scratchText.fromRtf(f->referenceData.database().numbersRtf());
        f->numbersMode = true;
        f->number = 12;
        f->showNumber();
        const QString numeral = chineseNumeral(12);
        QCOMPARE(f->charactersText->text(), numeral);
        const QString pinyin = f->pinyinText->text();
        QVERIFY(!pinyin.isEmpty());

        for (QCheckBox *b : boxes())
            b->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));
        moveOver(f->translationView);
        QCOMPARE(f->translationText->text(), QStringLiteral("12"));
        moveOver(f->pinyinView);
        QCOMPARE(f->pinyinText->text(), pinyin);
        QVERIFY(f->translationText->text().isEmpty());
        // The notes pane has no number: it shows the last term's notes.
        moveOver(f->notesView);
        QCOMPARE(f->notesText->text(), QStringLiteral("a note"));

        // The toggle shows the number, not the term, and restores.
        f->toggleShowAll();
        QCOMPARE(f->translationText->text(), QStringLiteral("12"));
        QCOMPARE(f->charactersText->text(), numeral);
        QCOMPARE(f->pinyinText->text(), pinyin);
        f->toggleShowAll();
        QVERIFY(f->translationText->text().isEmpty() && f->pinyinText->text().isEmpty()
                && f->charactersText->text().isEmpty());
    }
};

QTEST_MAIN(TestHiddenPanes)
#include "tst_hidden_panes.moc"
