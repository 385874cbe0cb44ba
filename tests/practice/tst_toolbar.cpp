// The floating tool bar: where it docks and its show/hide state kept for the
// settings; then, on the whole program, docking beside the main window and
// following its drags, the menu command, and its buttons.
#include "practice/ToolBarWindow.h"
#include "reference/DictionaryWindow.h"
#include "reference/ReaderWindow.h"
#include "support/ProgramTestCase.h"
#include "support/WindowTestFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

namespace {
void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, QWidget *w = mainWindow)
{
    const Qt::MouseButton button = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A left edge leaving just room for the bar on the main window's right.
int roomyLeft()
{
    return mainWindow->screen()->geometry().width() - 34 - mainWindow->width();
}
} // namespace

class TestToolBar : public QObject {
    Q_OBJECT

    std::unique_ptr<windowtest::Fixture> f;
    std::unique_ptr<ToolBarWindow> t;

private slots:
    void init()
    {
        f = std::make_unique<windowtest::Fixture>();
        t = std::make_unique<ToolBarWindow>(f->settings, &f->mainWidget);
    }
    void cleanup()
    {
        t.reset();
        f.reset();
    }

    void docksRightWhenThereIsRoomElseLeft()
    {
        QCOMPARE(ToolBarWindow::dockedLeft(100, 500, 1024), 601);
        QCOMPARE(ToolBarWindow::dockedLeft(490, 500, 1024), 991); // exactly 34 pixels to spare
        QCOMPARE(ToolBarWindow::dockedLeft(491, 500, 1024), 460);
        QCOMPARE(ToolBarWindow::dockedLeft(0, 1000, 1024), -31);
    }

    void displayToolBarFollowsEveryWayOfShowingAndHiding()
    {
        t->show();
        t->onActivate();
        QVERIFY(f->settings.displayToolBar);
        t->hideToolBarButton->click();
        QVERIFY(!t->isVisible());
        QVERIFY(!f->settings.displayToolBar);

        t->show();
        f->settings.displayToolBar = true;
        t->close();
        QVERIFY(!f->settings.displayToolBar);

        // Shown again, its background button says whether the background is up.
        f->settings.displayScreenBackground = true;
        t->show();
        QVERIFY(t->screenBackgroundButton->isChecked());
        t->hide();
        f->settings.displayScreenBackground = false;
        t->show();
        QVERIFY(!t->screenBackgroundButton->isChecked());
        t->hide();
    }
};

// The tool bar beside the main window of the whole program.
class TestToolBarInTheProgram : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.firstActivationDone = false, .shown = true}; }

private slots:
    void draggingTheMainWindowTakesTheToolBarAlong()
    {
        const int roomy = roomyLeft();
        mainWindow->move(roomy, 10);
        toolBarWindow->move(300, 300);
        // A move without the button docks it too.
        mouse(QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        QCOMPARE(mainWindow->pos(), QPoint(roomy, 10));
        QCOMPARE(toolBarWindow->pos(), QPoint(roomy + mainWindow->width() + 1, 10));

        // Dragged one pixel too far right: the bar goes to the left side.
        mouse(QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
        mouse(QEvent::MouseMove, QPoint(6, 25), Qt::LeftButton);
        QCOMPARE(mainWindow->pos(), QPoint(roomy + 1, 30));
        QCOMPARE(toolBarWindow->pos(), QPoint(roomy + 1 - 31, 30));

        // And back.
        mouse(QEvent::MouseButtonPress, QPoint(50, 5), Qt::LeftButton);
        mouse(QEvent::MouseMove, QPoint(49, 5), Qt::LeftButton);
        QCOMPARE(toolBarWindow->pos(), QPoint(roomy + mainWindow->width() + 1, 30));

        // The status line drags the window too.
        QLabel *status = apptest::control<QLabel>("statusLabel");
        mouse(QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, status);
        mouse(QEvent::MouseMove, QPoint(2, 1), Qt::LeftButton, status);
        QCOMPARE(mainWindow->pos(), QPoint(roomy - 3, 26));
    }

    void mainWindowKeepsItsSizeAndTheBarFollowsEveryMove()
    {
        toolBarWindow->show();
        const QSize size = mainWindow->size();
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QStringLiteral("0"));
        // Five digits fit the term-number field.
        apptest::control<QLineEdit>("termNumberEdit")->setText(QStringLiteral("29999"));
        const QLineEdit *e = apptest::control<QLineEdit>("termNumberEdit");
        QVERIFY(e->width() >= e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
        // Counts of a usual length are shown whole.
        apptest::control<QLabel>("countLabel")->setText(QStringLiteral("Words 120:35  Phrases 40:2"));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QVERIFY(apptest::control<QLabel>("countLabel")->width()
                >= apptest::control<QLabel>("countLabel")
                       ->fontMetrics()
                       .horizontalAdvance(apptest::control<QLabel>("countLabel")->text()));
        // Long counts do not widen the window over the bar.
        apptest::control<QLabel>("countLabel")
            ->setText(QStringLiteral("12345 : 67890   (12345 words, 67890 phrases, 99999 difficult)"));
        mainWindow->showStatus(QStringLiteral("A status message far longer than the window is wide, ").repeated(3));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(mainWindow->size(), size);
        // Moved or resized by anyone (the window manager too), the bar docks
        // again and is as tall as the window.
        const int roomy = roomyLeft();
        mainWindow->move(roomy - 40, 40);
        QCOMPARE(toolBarWindow->pos(), QPoint(roomy - 40 + mainWindow->width() + 1, 40));
        mainWindow->resize(mainWindow->width(), mainWindow->height() + 30);
        QCOMPARE(toolBarWindow->height(), mainWindow->height());
        mainWindow->resize(size);
        QCOMPARE(toolBarWindow->height(), mainWindow->height());
    }

    void theMenuCommandShowsAndHidesIt()
    {
        toolBarWindow->hide();
        mainWindow->toolBarCommand();
        QVERIFY(toolBarWindow->isVisible());
        QVERIFY(apptest::settings().displayToolBar);
        mainWindow->toolBarCommand();
        QVERIFY(!toolBarWindow->isVisible());
        QVERIFY(!apptest::settings().displayToolBar);
    }

    void buttonsReachTheirWindows()
    {
        dialogs().modalsShown.clear(); // the reminder at the first activation
        dictionaryWindow->hide();
        toolBarWindow->dictionaryButton->click();
        QVERIFY(dictionaryWindow->isVisible());
        toolBarWindow->dictionaryButton->click();
        QVERIFY(!dictionaryWindow->isVisible());

        toolBarWindow->readerButton->click();
        QVERIFY(readerWindow->isVisible());
        readerWindow->hide();

        toolBarWindow->numbersButton->click();
        QCOMPARE(dialogs().modalsShown, std::vector<QString>{QStringLiteral("numbersDialog")});

        toolBarWindow->openButton->click();
        toolBarWindow->openSessionButton->click();
        QCOMPARE(dialogs().fileRequests.size(), size_t(2));
        QVERIFY(dialogs().fileRequests[0].filter.contains(QStringLiteral("*.kvl")));
        QVERIFY(dialogs().fileRequests[1].filter.contains(QStringLiteral("*.ses")));
    }
};

KORVANA_WINDOW_TEST_MAIN(TestToolBar, TestToolBarInTheProgram)
#include "tst_toolbar.moc"
