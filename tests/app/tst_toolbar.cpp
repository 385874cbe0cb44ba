// The floating tool bar: where it docks beside the main window, following
// the window as it is dragged, its show/hide state kept for the settings,
// and its buttons.
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/ui/Dialogs.h"
#include "practice/TFormToolBar.h"
#include "reference/TFormAsocFile.h"
#include "reference/TFormDict.h"

#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

namespace {
void press(QWidget *w, QPoint at)
{
    QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void moveOver(QWidget *w, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

int screenWidth()
{
    return Form1->screen()->geometry().width();
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
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toUtf8());
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
    void init()
    {
        dialogs().messages.clear();
        dialogs().modalsShown.clear();
        dialogs().fileRequests.clear();
    }

    void docksRightWhenThereIsRoomElseLeft_data()
    {
        QTest::addColumn<int>("mainLeft");
        QTest::addColumn<int>("mainWidth");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("expected");
        QTest::newRow("room on the right") << 100 << 500 << 1024 << 601;
        QTest::newRow("exactly 34 pixels left") << 490 << 500 << 1024 << 991;
        QTest::newRow("33 pixels left") << 491 << 500 << 1024 << 460;
        QTest::newRow("main window past the edge") << 900 << 500 << 1024 << 869;
        QTest::newRow("left edge, no room right") << 0 << 1000 << 1024 << -31;
    }
    void docksRightWhenThereIsRoomElseLeft()
    {
        QFETCH(int, mainLeft);
        QFETCH(int, mainWidth);
        QFETCH(int, screen);
        QFETCH(int, expected);
        QCOMPARE(TFormToolBar::dockedLeft(mainLeft, mainWidth, screen), expected);
    }

    void formIsANarrowBarOfButtons()
    {
        QCOMPARE(FormToolBar->width(), 30);
        QCOMPARE(FormToolBar->tbReader->geometry(), QRect(3, 146, 24, 24));
        QCOMPARE(FormToolBar->tbHideToolbar->geometry(), QRect(13, 4, 13, 13));
    }

    void draggingTheMainWindowTakesTheToolBarAlong()
    {
        // A left edge with just room for the bar on the right, and one past it.
        const int roomy = screenWidth() - 34 - Form1->width() - 5;
        const int tight = roomy + 40;
        Form1->move(roomy, 10);
        FormToolBar->SetPosition();
        QCOMPARE(FormToolBar->pos(), QPoint(roomy + Form1->width() + 1, 10));

        // Dragged towards the right edge: the bar jumps to the left side.
        press(Form1, QPoint(5, 5));
        moveOver(Form1, QPoint(45, 25), Qt::LeftButton);
        QCOMPARE(Form1->pos(), QPoint(tight, 30));
        QCOMPARE(FormToolBar->pos(), QPoint(tight - 31, 30));

        // And back: right side again.
        press(Form1, QPoint(50, 5));
        moveOver(Form1, QPoint(10, 5), Qt::LeftButton);
        QCOMPARE(Form1->pos(), QPoint(roomy, 30));
        QCOMPARE(FormToolBar->pos(), QPoint(roomy + Form1->width() + 1, 30));
    }

    void aMoveWithoutTheButtonDocksItToo()
    {
        const int roomy = screenWidth() - 34 - Form1->width() - 5;
        Form1->move(roomy, 10);
        FormToolBar->move(300, 300);
        moveOver(Form1, QPoint(5, 5), Qt::NoButton);
        QCOMPARE(Form1->pos(), QPoint(roomy, 10));
        QCOMPARE(FormToolBar->pos(), QPoint(roomy + Form1->width() + 1, 10));
    }

    void displayToolBarFollowsEveryWayOfShowingAndHiding()
    {
        FormToolBar->hide();
        Form1->FDisplayToolBar = false;
        Form1->oolbar1Click();
        QVERIFY(FormToolBar->isVisible());
        QVERIFY(Form1->FDisplayToolBar);
        Form1->oolbar1Click();
        QVERIFY(!FormToolBar->isVisible());
        QVERIFY(!Form1->FDisplayToolBar);

        // Activated: true; its own hide button: false.
        FormToolBar->show();
        FormToolBar->FormActivate();
        QVERIFY(Form1->FDisplayToolBar);
        FormToolBar->tbHideToolbar->click();
        QVERIFY(!FormToolBar->isVisible());
        QVERIFY(!Form1->FDisplayToolBar);

        // Closed: false as well.
        FormToolBar->show();
        Form1->FDisplayToolBar = true;
        FormToolBar->close();
        QVERIFY(!FormToolBar->isVisible());
        QVERIFY(!Form1->FDisplayToolBar);
    }

    void dictionaryButtonShowsAndClosesTheDictionary()
    {
        FormDict->hide();
        FormToolBar->tbDict->click();
        QVERIFY(FormDict->isVisible());
        FormToolBar->tbDict->click();
        QVERIFY(!FormDict->isVisible());
    }

    void readerButtonShowsTheReader()
    {
        FormAsocFile->hide();
        FormToolBar->tbReader->click();
        QVERIFY(FormAsocFile->isVisible());
        FormAsocFile->hide();
    }

    void openButtonsAskForLessonsAndSessions()
    {
        FormToolBar->tbOpen->click();
        QCOMPARE(dialogs().fileRequests.size(), size_t(1));
        QVERIFY(dialogs().fileRequests[0].filter.contains(QStringLiteral("*.kvl")));
        QVERIFY(dialogs().fileRequests[0].allowMultiple);
        FormToolBar->tbOpenSession->click();
        QCOMPARE(dialogs().fileRequests.size(), size_t(2));
        QVERIFY(dialogs().fileRequests[1].filter.contains(QStringLiteral("*.ses")));
    }

    void numbersButtonOpensTheRangeDialog()
    {
        FormToolBar->tbNumbers->click();
        QCOMPARE(dialogs().modalsShown.size(), size_t(1));
        QCOMPARE(dialogs().modalsShown[0], QStringLiteral("FormNumbers"));
    }
};

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
