// The numbers drill's range dialog: its controls, the keys, and what "start",
// "stop" and Escape write into the fields it is bound to.
#include "reference/TFormNumbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

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

    void controlsAsDesigned()
    {
        QCOMPARE(d->windowTitle(), QStringLiteral("Numbers"));
        QCOMPARE(d->rbn1->text(), QStringLiteral("1-100"));
        QCOMPARE(d->rbn2->text(), QStringLiteral("1-1000"));
        QCOMPARE(d->rbn3->text(), QStringLiteral("1-10 000"));
        QVERIFY(d->rbnCustom->text().isEmpty());
        QCOMPARE(d->lblFrom->text(), QStringLiteral("From"));
        QCOMPARE(d->lblTo->text(), QStringLiteral("To"));
        QCOMPARE(d->bOK->text(), QStringLiteral("start"));
        QCOMPARE(d->bCancel->text(), QStringLiteral("stop"));
        QVERIFY(d->rbn1->isChecked());
        // The radio buttons are one group.
        d->rbn3->setChecked(true);
        QVERIFY(!d->rbn1->isChecked());
    }

    void startWritesThePresetRange()
    {
        d->rbn2->setChecked(true);
        d->bOK->click();
        QVERIFY(mode);
        QCOMPARE(from, 0);
        QCOMPARE(to, 1001);
        QCOMPARE(d->result(), 1);

        d->rbn3->setChecked(true);
        d->bOK->click();
        QCOMPARE(to, 9999);
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

    void customTextIsIgnoredUnlessChosen()
    {
        d->eNrFrom->setText(QStringLiteral("500"));
        d->eNrTo->setText(QStringLiteral("600"));
        d->bOK->click();
        QCOMPARE(from, 0);
        QCOMPARE(to, 101);
        d->rbnCustom->setChecked(true);
        d->bOK->click();
        QCOMPARE(from, 500);
        QCOMPARE(to, 601);
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

    void unboundDialogOnlyCloses()
    {
        TFormNumbers other;
        other.show();
        other.bOK->click();
        QVERIFY(!other.isVisible());
        QCOMPARE(from, -1);
    }
};

QTEST_MAIN(TestNumbersDialog)
#include "tst_numbers_dialog.moc"
