// Hidden panes: the show-all toggle and its restore, clicks on the panes and
// their boxes, the panes' popup menu, the hover reveal with its neighbours,
// the background ending every reveal, and the numbers drill's panes.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/ui/Dialogs.h"
#include "reference/Numbers.h"
#include "reference/TFormHanzi.h"

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
    TForm1 *f = nullptr;

    void loadOneTerm()
    {
        apptest::loadLines(f, {QStringLiteral("<OR=house><PI=fang2zi><CH=房子><NO=a note><TY=w><ST=u>")});
        f->bNextClick();
        QCOMPARE(f->reOrig->text(), QStringLiteral("house"));
    }
    QList<QCheckBox *> boxes() const { return {f->chbOrig, f->chbPin, f->chbChin, f->chbNotes}; }
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
        return {!f->reOrig->text().isEmpty(), !f->rePin->text().isEmpty(), !f->reChin->text().isEmpty(),
                !f->reNotes->text().isEmpty()};
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
                if (!w || w == f->Image1)
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
        apptest::createFreshForms();
        f = Form1;
        f->FFirstActivation = false;
        f->FShowHiddenOnHover = true;
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        loadOneTerm();
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void insertShowsAllThenRestoresTheChoice()
    {
        f->chbPin->setChecked(false);
        f->chbNotes->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{true, false, true, false}));

        f->FormKeyDown(Qt::Key_Insert, Qt::NoModifier);
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        QCOMPARE(f->rePin->text(), QStringLiteral("fang2zi"));
        QVERIFY(f->FRollbackPending);

        f->FormKeyDown(Qt::Key_Insert, Qt::NoModifier);
        QCOMPARE(checks(), (QList<bool>{true, false, true, false}));
        QCOMPARE(filled(), (QList<bool>{true, false, true, false}));
        QVERIFY(!f->FRollbackPending);

        // With everything shown already, the toggle restores "all shown".
        f->chbPin->setChecked(true);
        f->chbNotes->setChecked(true);
        f->ToggleShowHide();
        f->ToggleShowHide();
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
    }

    void manualChangeDropsThePendingRestore()
    {
        // A click on the pinyin pane after Insert: the next Insert saves
        // again and shows all, restoring nothing.
        f->chbNotes->setChecked(false);
        f->ToggleShowHide();
        QTest::mouseClick(f->rePinView->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(f->FActivePane, 2);
        QVERIFY(!f->chbPin->isChecked());
        QVERIFY(f->rePin->text().isEmpty());
        QVERIFY(!f->FRollbackPending);
        f->ToggleShowHide();
        QCOMPARE(checks(), (QList<bool>{true, true, true, true}));
        QVERIFY(f->FRollbackPending);
        QVERIFY(!f->FSavedPin && f->FSavedNotes);

        // F5 switches the translation and drops the pending restore too.
        f->FormKeyDown(Qt::Key_F5, Qt::NoModifier);
        QVERIFY(!f->chbOrig->isChecked());
        QVERIFY(f->reOrig->text().isEmpty());
        QVERIFY(!f->FRollbackPending);

        // So does a press on a pane box, whose click toggles it as usual.
        f->ToggleShowHide();
        QVERIFY(f->FRollbackPending);
        QTest::mouseClick(f->chbChin, Qt::LeftButton, {}, QPoint(4, f->chbChin->height() / 2));
        QVERIFY(!f->FRollbackPending);
        QVERIFY(!f->chbChin->isChecked());
        QVERIFY(f->reChin->text().isEmpty());

        // A left click on a hidden pane shows it again.
        QTest::mouseClick(f->reChinView->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(f->chbChin->isChecked());
        QCOMPARE(f->reChin->text(), QStringLiteral("房子"));
        QCOMPARE(f->FActivePane, 3);
    }

    void rightClickPopsTheMenuAndSwitchesNothing()
    {
        QCOMPARE(f->popCopy->actions(), (QList<QAction *>{f->Copy1, f->N1, f->Hide1}));
        QCOMPARE(f->Copy1->text(), QStringLiteral("Copy"));
        QCOMPARE(f->Hide1->text(), QStringLiteral("Display"));
        QVERIFY(f->N1->isSeparator());

        f->chbChin->setChecked(false);
        f->ToggleShowHide(); // all shown, restore pending
        QTest::mouseClick(f->reChinView->viewport(), Qt::RightButton, {}, QPoint(7, 9));
        QCOMPARE(f->FActivePane, 3);
        QVERIFY(f->Hide1->isChecked());
        QVERIFY(f->chbChin->isChecked()); // not switched by the right button
        QVERIFY(!f->FRollbackPending);
        QVERIFY(f->popCopy->isVisible());
        QCOMPARE(f->popCopy->pos(), f->reChinView->viewport()->mapToGlobal(QPoint(7, 9)));
        f->popCopy->hide();

        f->chbNotes->setChecked(false);
        QTest::mouseClick(f->reNotesView->viewport(), Qt::RightButton, {}, QPoint(3, 3));
        QCOMPARE(f->FActivePane, 4);
        QVERIFY(!f->Hide1->isChecked());
        QVERIFY(!f->chbNotes->isChecked());
        QVERIFY(f->reNotes->text().isEmpty());
        f->popCopy->hide();
    }

    void hoverRevealsAndNeighboursEndIt()
    {
        for (QCheckBox *b : boxes())
            b->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));

        moveOver(f->reOrigView);
        QCOMPARE(f->reOrig->text(), QStringLiteral("house"));
        // Inside a revealed pane it is not filled again.
        f->reOrig->setText(QStringLiteral("kept"));
        moveOver(f->reOrigView);
        QCOMPARE(f->reOrig->text(), QStringLiteral("kept"));

        moveOver(f->rePinView);
        QCOMPARE(filled(), (QList<bool>{false, true, false, false}));
        QCOMPARE(f->rePin->text(), QStringLiteral("fang2zi"));
        moveOver(f->reOrigView); // from below: the pinyin reveal ends
        QCOMPARE(filled(), (QList<bool>{true, false, false, false}));

        f->reChin->setText(QStringLiteral("房子")); // as the characters pane's own reveal leaves it
        moveOver(f->reNotesView);
        QCOMPARE(f->reNotes->text(), QStringLiteral("a note"));
        QVERIFY(f->reChin->text().isEmpty());
        QVERIFY(!f->reOrig->text().isEmpty()); // not a neighbour of the notes
        f->reChin->setText(QStringLiteral("房子"));
        moveOver(f->rePinView);
        QCOMPARE(filled(), (QList<bool>{false, true, false, true}));
    }

    void hoverOnlyClearsShownOrSettingOff()
    {
        // Checked neighbours keep their term.
        f->chbOrig->setChecked(false);
        moveOver(f->rePinView);
        moveOver(f->reNotesView);
        QCOMPARE(filled(), (QList<bool>{false, true, true, true}));
        // With the setting off nothing is revealed, but neighbours are
        // still cleared.
        f->FShowHiddenOnHover = false;
        for (QCheckBox *b : boxes())
            b->setChecked(false);
        f->rePin->setText(QStringLiteral("left over"));
        moveOver(f->reOrigView);
        f->reChin->setText(QStringLiteral("left over"));
        moveOver(f->reNotesView);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));
    }

    void pinyinNotesAndBackgroundHideTheCharacterPopup()
    {
        for (QTextEdit *view : {f->rePinView, f->reNotesView}) {
            FormHanzi->show();
            f->FLastHoverChar = 0x623F;
            moveOver(view);
            QVERIFY(FormHanzi->isHidden());
            QCOMPARE(f->FLastHoverChar, 0);
        }
        // The translation pane leaves the popup as it is.
        FormHanzi->show();
        f->FLastHoverChar = 0x623F;
        moveOver(f->reOrigView);
        QVERIFY(FormHanzi->isVisible());
        QCOMPARE(f->FLastHoverChar, 0x623F);

        f->Image1MouseMove();
        QVERIFY(FormHanzi->isHidden());
        QCOMPARE(f->FLastHoverChar, 0);
    }

    void backgroundEndsEveryRevealAndClosesMenus()
    {
        f->chbPin->setChecked(false);
        f->chbChin->setChecked(false);
        moveOver(f->rePinView);
        f->reChin->setText(QStringLiteral("房子"));
        QCOMPARE(filled(), (QList<bool>{true, true, true, true}));
        f->menus[2].panel->show();

        // A move the window gets at a point over one of its controls is not
        // the background's.
        const QPoint overBox = f->chbOrig->mapTo(f, QPoint(2, 2));
        QCOMPARE(f->childAt(overBox), static_cast<QWidget *>(f->chbOrig));
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
        f->reTemp.fromRtf(f->charDatabase.numbersRtf());
        f->FNumbersMode = true;
        f->FNumber = 12;
        f->ShowNumber();
        const QString numeral = chineseNumeral(12);
        QCOMPARE(f->reChin->text(), numeral);
        const QString pinyin = f->rePin->text();
        QVERIFY(!pinyin.isEmpty());

        for (QCheckBox *b : boxes())
            b->setChecked(false);
        QCOMPARE(filled(), (QList<bool>{false, false, false, false}));
        moveOver(f->reOrigView);
        QCOMPARE(f->reOrig->text(), QStringLiteral("12"));
        moveOver(f->rePinView);
        QCOMPARE(f->rePin->text(), pinyin);
        QVERIFY(f->reOrig->text().isEmpty());
        // The notes pane has no number: it shows the last term's notes.
        moveOver(f->reNotesView);
        QCOMPARE(f->reNotes->text(), QStringLiteral("a note"));

        // The toggle shows the number, not the term, and restores.
        f->ToggleShowHide();
        QCOMPARE(f->reOrig->text(), QStringLiteral("12"));
        QCOMPARE(f->reChin->text(), numeral);
        QCOMPARE(f->rePin->text(), pinyin);
        f->ToggleShowHide();
        QVERIFY(f->reOrig->text().isEmpty() && f->rePin->text().isEmpty() && f->reChin->text().isEmpty());
    }
};

QTEST_MAIN(TestHiddenPanes)
#include "tst_hidden_panes.moc"
