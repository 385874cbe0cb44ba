// The floating tool bar: docking beside the main window and following its
// drags, its show/hide state kept for the settings, and its buttons.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/ui/Dialogs.h"
#include "practice/TFormToolBar.h"
#include "reference/TFormAsocFile.h"
#include "reference/TFormDict.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

namespace {
void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(type, at, Form1->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(Form1, &e);
}

// A left edge leaving just room for the bar on the main window's right.
int roomyLeft()
{
    return Form1->screen()->geometry().width() - 34 - Form1->width();
}
} // namespace

class TestToolBar : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    ScriptedDialogs &dialogs() { return m_scripted->dialogs; }

private slots:
    void initTestCase()
    {
        apptest::useHomeFolders(m_home);
        m_scripted = std::make_unique<ScopedScriptedDialogs>();
        CreateForms();
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }
    void cleanupTestCase()
    {
        DestroyForms();
        m_scripted.reset();
    }

    void docksRightWhenThereIsRoomElseLeft()
    {
        QCOMPARE(TFormToolBar::dockedLeft(100, 500, 1024), 601);
        QCOMPARE(TFormToolBar::dockedLeft(490, 500, 1024), 991); // exactly 34 pixels to spare
        QCOMPARE(TFormToolBar::dockedLeft(491, 500, 1024), 460);
        QCOMPARE(TFormToolBar::dockedLeft(0, 1000, 1024), -31);
    }

    void draggingTheMainWindowTakesTheToolBarAlong()
    {
        const int roomy = roomyLeft();
        Form1->move(roomy, 10);
        FormToolBar->move(300, 300);
        // A move without the button docks it too.
        mouse(QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        QCOMPARE(Form1->pos(), QPoint(roomy, 10));
        QCOMPARE(FormToolBar->pos(), QPoint(roomy + Form1->width() + 1, 10));

        // Dragged one pixel too far right: the bar goes to the left side.
        mouse(QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
        mouse(QEvent::MouseMove, QPoint(6, 25), Qt::LeftButton);
        QCOMPARE(Form1->pos(), QPoint(roomy + 1, 30));
        QCOMPARE(FormToolBar->pos(), QPoint(roomy + 1 - 31, 30));

        // And back.
        mouse(QEvent::MouseButtonPress, QPoint(50, 5), Qt::LeftButton);
        mouse(QEvent::MouseMove, QPoint(49, 5), Qt::LeftButton);
        QCOMPARE(FormToolBar->pos(), QPoint(roomy + Form1->width() + 1, 30));
    }

    void mainWindowKeepsItsSizeAndTheBarFollowsEveryMove()
    {
        FormToolBar->show();
        const QSize size = Form1->size();
        QCOMPARE(Form1->eLineNr->text(), QStringLiteral("0"));
        // Five digits fit the term-number field.
        Form1->eLineNr->setText(QStringLiteral("29999"));
        const QLineEdit *e = Form1->eLineNr;
        QVERIFY(e->width() >= e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
        // Counts of a usual length are shown whole.
        Form1->lblCount->setText(QStringLiteral("Words 120:35  Phrases 40:2"));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QVERIFY(Form1->lblCount->width()
                >= Form1->lblCount->fontMetrics().horizontalAdvance(Form1->lblCount->text()));
        // Long counts do not widen the window over the bar.
        Form1->lblCount->setText(QStringLiteral("12345 : 67890   (12345 words, 67890 phrases, 99999 difficult)"));
        Form1->Status(QStringLiteral("A status message far longer than the window is wide, ").repeated(3));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(Form1->size(), size);
        // Moved or resized by anyone (the window manager too), the bar docks
        // again and is as tall as the window.
        const int roomy = roomyLeft();
        Form1->move(roomy - 40, 40);
        QCOMPARE(FormToolBar->pos(), QPoint(roomy - 40 + Form1->width() + 1, 40));
        Form1->resize(Form1->width(), Form1->height() + 30);
        QCOMPARE(FormToolBar->height(), Form1->height());
        Form1->resize(size);
        QCOMPARE(FormToolBar->height(), Form1->height());
    }

    void displayToolBarFollowsEveryWayOfShowingAndHiding()
    {
        FormToolBar->hide();
        Form1->oolbar1Click();
        QVERIFY(FormToolBar->isVisible());
        QVERIFY(Form1->FDisplayToolBar);
        Form1->oolbar1Click();
        QVERIFY(!FormToolBar->isVisible());
        QVERIFY(!Form1->FDisplayToolBar);

        FormToolBar->show();
        FormToolBar->FormActivate();
        QVERIFY(Form1->FDisplayToolBar);
        FormToolBar->tbHideToolbar->click();
        QVERIFY(!FormToolBar->isVisible());
        QVERIFY(!Form1->FDisplayToolBar);

        FormToolBar->show();
        Form1->FDisplayToolBar = true;
        FormToolBar->close();
        QVERIFY(!Form1->FDisplayToolBar);

        // Shown again, its background button says whether the background is up.
        Form1->FDisplayScreenBackground = true;
        FormToolBar->show();
        QVERIFY(FormToolBar->tbBackground->isChecked());
        FormToolBar->hide();
        Form1->FDisplayScreenBackground = false;
        FormToolBar->show();
        QVERIFY(!FormToolBar->tbBackground->isChecked());
        FormToolBar->hide();
    }

    void buttonsReachTheirWindows()
    {
        dialogs().modalsShown.clear(); // the reminder at the first activation
        FormDict->hide();
        FormToolBar->tbDict->click();
        QVERIFY(FormDict->isVisible());
        FormToolBar->tbDict->click();
        QVERIFY(!FormDict->isVisible());

        FormToolBar->tbReader->click();
        QVERIFY(FormAsocFile->isVisible());
        FormAsocFile->hide();

        FormToolBar->tbNumbers->click();
        QCOMPARE(dialogs().modalsShown, std::vector<QString>{QStringLiteral("FormNumbers")});

        FormToolBar->tbOpen->click();
        FormToolBar->tbOpenSession->click();
        QCOMPARE(dialogs().fileRequests.size(), size_t(2));
        QVERIFY(dialogs().fileRequests[0].filter.contains(QStringLiteral("*.kvl")));
        QVERIFY(dialogs().fileRequests[1].filter.contains(QStringLiteral("*.ses")));
    }
};

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
