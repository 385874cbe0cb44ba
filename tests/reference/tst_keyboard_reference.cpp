// The keyboard reference: its two columns line for line, where it parks, the
// drag by either memo with the left button only, focus back to the main
// window after a drag, and its close button.
#include "reference/KeyboardReferenceWindow.h"
#include "support/WindowTestFixture.h"

#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

using namespace korvana;

class TestKeyboardReference : public QObject {
    Q_OBJECT

    std::unique_ptr<windowtest::Fixture> f;
    std::unique_ptr<KeyboardReferenceWindow> k;

    static QStringList memoLines(QTextEdit *m)
    {
        QStringList lines;
        for (QTextBlock b = m->document()->begin(); b.isValid(); b = b.next())
            lines << b.text();
        return lines;
    }

private slots:
    // Every case runs on a window built at once and on one built when it
    // was first shown.
    void initTestCase_data() { windowtest::addBuiltWhenShownRows(); }

    void init()
    {
        QFETCH_GLOBAL(bool, builtWhenShown);
        f = std::make_unique<windowtest::Fixture>();
        KeyboardReferenceWindow::buildWhenShown = builtWhenShown;
        k = std::make_unique<KeyboardReferenceWindow>(&f->mainWidget);
        KeyboardReferenceWindow::buildWhenShown = false;
        QCOMPARE(!k->commandsBox, builtWhenShown);
        if (builtWhenShown) {
            k->show();
            k->hide();
        }
    }

    void cleanup()
    {
        k.reset();
        f.reset();
    }

    void columnsLineUpAndTheWindowParks()
    {
        // Each command stands beside its key, with the blank rows between
        // the groups in both columns alike.
        const QStringList commands = memoLines(k->commandsBox);
        const QStringList keys = memoLines(k->keysBox);
        QCOMPARE(commands.size(), 15);
        QCOMPARE(keys.size(), 15);
        for (int i = 0; i < 15; ++i)
            QCOMPARE(commands[i].isEmpty(), keys[i].isEmpty());
        QCOMPARE(commands[12], QStringLiteral("Play sound (if available)"));
        QCOMPARE(keys[12], QStringLiteral("Space, \"p\" "));

        // The commands are right-aligned: every non-empty line ends at the
        // same x, next to its key.
        k->show();
        QSet<int> ends;
        for (QTextBlock b = k->commandsBox->document()->begin(); b.isValid(); b = b.next()) {
            if (b.text().isEmpty())
                continue;
            QTextCursor c(b);
            c.movePosition(QTextCursor::EndOfBlock);
            ends.insert(k->commandsBox->cursorRect(c).left());
        }
        QCOMPARE(ends.size(), 1);
        QVERIFY(*ends.begin() > k->commandsBox->viewport()->width() - 12);

        const QSize size(446, 226);
        QCOMPARE(KeyboardReferenceWindow::parkedPosition(QRect(0, 0, 1920, 1080), size), QPoint(1472, 2));
        QCOMPARE(KeyboardReferenceWindow::parkedPosition(QRect(1920, 100, 1280, 1024), size), QPoint(1920 + 832, 102));
    }

    void dragsWithTheLeftButtonFromEitherMemo()
    {
        k->move(300, 200);
        k->show();
        QWidget *area = k->keysBox->viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(40, 30));
        QMouseEvent move(QEvent::MouseMove, QPointF(55, 20), area->mapToGlobal(QPointF(55, 20)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(area, &move);
        QCOMPARE(k->pos(), QPoint(315, 190));

        // Without the button held the window stays put.
        QMouseEvent hover(QEvent::MouseMove, QPointF(90, 90), area->mapToGlobal(QPointF(90, 90)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(area, &hover);
        QCOMPARE(k->pos(), QPoint(315, 190));

        // The other memo, by its own press point.
        QWidget *other = k->commandsBox->viewport();
        QTest::mousePress(other, Qt::LeftButton, {}, QPoint(5, 5));
        QMouseEvent drag(QEvent::MouseMove, QPointF(1, 9), other->mapToGlobal(QPointF(1, 9)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(other, &drag);
        QCOMPARE(k->pos(), QPoint(311, 194));
    }

    void theCloseButtonStartsNoDragAndHides()
    {
        k->move(300, 200);
        k->show();
        QTest::mousePress(k->closeButton, Qt::LeftButton, {}, QPoint(3, 3));
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 11), k->closeButton->mapToGlobal(QPointF(10, 11)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(k->closeButton, &move);
        QCOMPARE(k->pos(), QPoint(300, 200));
        QTest::mouseRelease(k->closeButton, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!k->isVisible());
    }

    void afterADragTheMainWindowHasTheFocus()
    {
        f->mainWidget.show();
        k->show();
        k->activateWindow();
        QTest::mousePress(k->commandsBox->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(k->commandsBox->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), &f->mainWidget);
        // It stays above the main window it was dragged over.
        QVERIFY(k->windowHandle() && f->mainWidget.windowHandle());
        QCOMPARE(k->windowHandle()->transientParent(), f->mainWidget.windowHandle());
    }
};

QTEST_MAIN(TestKeyboardReference)
#include "tst_keyboard_reference.moc"
