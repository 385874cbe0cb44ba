// The keyboard reference: its two columns line for line, where it parks, the
// drag by either memo with the left button only, focus back to the main
// window after a drag, and its close button.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/ui/Dialogs.h"
#include "reference/TFormKeybRefer.h"

#include <QTextEdit>
#include <QWindow>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

class TestKeybRefer : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    TFormKeybRefer *k = nullptr;

    static QStringList memoLines(QTextEdit *m)
    {
        QStringList lines;
        for (QTextBlock b = m->document()->begin(); b.isValid(); b = b.next())
            lines << b.text();
        return lines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        apptest::createFreshForms();
        Form1->FFirstActivation = false;
        k = FormKeybRefer;
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void columnsLineUpAndTheWindowParks()
    {
        // Each command stands beside its key, with the blank rows between
        // the groups in both columns alike.
        const QStringList commands = memoLines(k->Memo1);
        const QStringList keys = memoLines(k->Memo2);
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
        for (QTextBlock b = k->Memo1->document()->begin(); b.isValid(); b = b.next()) {
            if (b.text().isEmpty())
                continue;
            QTextCursor c(b);
            c.movePosition(QTextCursor::EndOfBlock);
            ends.insert(k->Memo1->cursorRect(c).left());
        }
        QCOMPARE(ends.size(), 1);
        QVERIFY(*ends.begin() > k->Memo1->viewport()->width() - 12);

        const QSize size(446, 226);
        QCOMPARE(TFormKeybRefer::parkedPosition(QRect(0, 0, 1920, 1080), size), QPoint(1472, 2));
        QCOMPARE(TFormKeybRefer::parkedPosition(QRect(1920, 100, 1280, 1024), size), QPoint(1920 + 832, 102));
    }

    void dragsWithTheLeftButtonFromEitherMemo()
    {
        k->move(300, 200);
        k->show();
        QWidget *area = k->Memo2->viewport();
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
        QWidget *other = k->Memo1->viewport();
        QTest::mousePress(other, Qt::LeftButton, {}, QPoint(5, 5));
        QMouseEvent drag(QEvent::MouseMove, QPointF(1, 9), other->mapToGlobal(QPointF(1, 9)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(other, &drag);
        QCOMPARE(k->pos(), QPoint(311, 194));
    }

    void theCloseButtonStartsNoDragAndHides()
    {
        k->show();
        k->FDragX = 7;
        k->FDragY = 8;
        QTest::mousePress(k->tbHideToolbar, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(QPoint(k->FDragX, k->FDragY), QPoint(7, 8));
        QTest::mouseRelease(k->tbHideToolbar, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!k->isVisible());
    }

    void afterADragTheMainWindowHasTheFocus()
    {
        Form1->show();
        k->show();
        k->activateWindow();
        QTest::mousePress(k->Memo1->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(k->Memo1->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget *>(Form1));
        // It stays above the main window it was dragged over.
        QVERIFY(k->windowHandle() && Form1->windowHandle());
        QCOMPARE(k->windowHandle()->transientParent(), Form1->windowHandle());
    }
};

QTEST_MAIN(TestKeybRefer)
#include "tst_keybrefer.moc"
