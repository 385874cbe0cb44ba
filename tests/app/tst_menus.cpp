// The main window's own chrome: drop-down menus, the lesson and session
// labels, dragging, and the whole main road driven through the menus.
#include "support/AppTestSupport.h"
#include "app/HoverLabel.h"
#include "app/Program.h"
#include "app/MainWindow.h"
#include "lessons/TermGrid.h"
#include "support/ScriptedDialogs.h"

#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QEnterEvent>
#include <QtTest>

using namespace korvana;

namespace {
using apptest::writeLesson;

HoverLabel *item(const QString &name)
{
    auto *l = mainWindow->findChild<HoverLabel *>(name);
    if (!l)
        qFatal("no menu item %s", qPrintable(name));
    return l;
}

void press(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void moveHeld(QWidget *w, QPoint at)
{
    QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}
} // namespace

class TestMenus : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    ScriptedDialogs &dialogs() { return m_scripted->dialogs; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        // Showing the window activates it: its first activation shows the
        // reminder, which the scripted dialogs answer.
        m_scripted = std::make_unique<ScopedScriptedDialogs>();
        createWindows();
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
    }
    void cleanupTestCase()
    {
        destroyWindows();
        m_scripted.reset();
    }
    void init() { dialogs().messages.clear(); }
    void cleanup() { mainWindow->hideAllMenus(); }

    void menuBarLabelsStandLeftToRight()
    {
        const QList<HoverLabel *> bar
            = {mainWindow->practiseMenuLabel, mainWindow->modulesMenuLabel, mainWindow->toolsMenuLabel,
               mainWindow->optionsMenuLabel, mainWindow->helpMenuLabel};
        QCOMPARE(mainWindow->practiseMenuLabel->text(), QStringLiteral(" File "));
        for (int i = 1; i < bar.size(); ++i)
            QCOMPARE(bar[i]->x(), bar[i - 1]->x() + bar[i - 1]->width());
        QCOMPARE(item("mlSaveSessionAs")->text(), QStringLiteral("  Save session as"));
    }

    void captionsAreWholeAndUnderlinedUnderThePointer()
    {
        // No menu item, the status line or a switch's caption is cut.
        for (HoverLabel *ml : mainWindow->menuItems)
            QVERIFY2(ml->width() >= ml->sizeHint().width(), qPrintable(ml->text()));
        mainWindow->showStatus(QStringLiteral("gypsy quay"));
        QVERIFY(mainWindow->statusLabel->height() >= mainWindow->statusLabel->fontMetrics().height());
        QLabel *caption = mainWindow->pictureSwitchLabel;
        QVERIFY(!caption->font().underline());
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), caption->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(caption, &enter);
        QVERIFY(caption->font().underline());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(caption, &leave);
        QVERIFY(!caption->font().underline());
    }

    void panelOpensBelowItsLabelAndClosesWhenLeftUpwards()
    {
        HoverLabel *label = mainWindow->toolsMenuLabel;
        emit label->entered();
        QVERIFY(mainWindow->toolsMenu->isVisible());
        QCOMPARE(mainWindow->toolsMenu->pos(), QPoint(label->x(), label->y() + label->height()));

        // Leaving downwards, into the panel, keeps it open.
        QCursor::setPos(label->mapToGlobal(QPoint(5, label->height() + 3)));
        emit label->left();
        QVERIFY(mainWindow->toolsMenu->isVisible());

        // Leaving upwards closes it.
        QCursor::setPos(label->mapToGlobal(QPoint(5, -2)));
        emit label->left();
        QVERIFY(!mainWindow->toolsMenu->isVisible());
    }

    void panelStaysOpenOverItsItemsAndClosesWhenLeft()
    {
        emit mainWindow->practiseMenuLabel->entered();
        QFrame *panel = mainWindow->practiseMenu;
        QCursor::setPos(panel->mapToGlobal(QPoint(10, 10)));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(panel, &leave);
        QVERIFY(panel->isVisible());
        QCursor::setPos(panel->mapToGlobal(QPoint(panel->width() + 20, 10)));
        QCoreApplication::sendEvent(panel, &leave);
        QVERIFY(!panel->isVisible());
    }

    void itemHintsShowInTheStatusLine()
    {
        emit item("mlOpen")->moved(QPoint(3, 3));
        QCOMPARE(mainWindow->statusLabel->text(),
                 QStringLiteral("Open one or more lessons (hold Shift or Ctrl when selecting)"));
        emit item("mlOpenSession")->moved(QPoint(3, 3));
        QCOMPARE(mainWindow->statusLabel->text(), QStringLiteral("Load previously saved session  from disk"));
        // "Exit" has no hint: the status line is cleared.
        emit item("mlExit")->moved(QPoint(3, 3));
        QVERIFY(mainWindow->statusLabel->text().isEmpty());
    }

    void aCommandClosesTheMenusFirst()
    {
        emit mainWindow->practiseMenuLabel->entered();
        QVERIFY(mainWindow->practiseMenu->isVisible());
        mainWindow->openLessons.clear();
        emit item("mlSaveLesson")->clicked();
        QVERIFY(!mainWindow->practiseMenu->isVisible());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("No open lessons"));
    }

    void lessonAndSessionLabels()
    {
        mainWindow->currentLesson.clear();
        mainWindow->sessionFile.clear();
        mainWindow->updateLessonSessionLabels();
        QCOMPARE(mainWindow->lessonLabel->text(), QStringLiteral("NO LESSON LOADED"));
        QCOMPARE(mainWindow->sessionLabel->text(), QStringLiteral("NO SESSION LOADED"));

        const QString longPath = QStringLiteral("/home/learner/Documents/Chinese/courses/second year/"
                                                "spring term/week twelve/lesson-12.kvl");
        mainWindow->currentLesson = longPath;
        mainWindow->sessionFile = QStringLiteral("/s/a.ses");
        mainWindow->updateLessonSessionLabels();
        const QString shown = mainWindow->lessonLabel->text();
        QVERIFY(shown.startsWith(QStringLiteral("/...")));
        QVERIFY(shown.endsWith(QStringLiteral("/lesson-12.kvl")));
        QVERIFY(QFontMetrics(mainWindow->lessonLabel->font()).horizontalAdvance(shown) <= 220);
        QCOMPARE(mainWindow->sessionLabel->text(), QStringLiteral("/s/a.ses"));
    }

    void draggingTheBackgroundMovesTheWindow()
    {
        mainWindow->move(100, 100);
        const QPoint before = mainWindow->pos();
        press(mainWindow, QPoint(300, 200));
        moveHeld(mainWindow, QPoint(320, 215));
        QCOMPARE(mainWindow->pos(), before + QPoint(20, 15));
        // The status line drags too.
        press(mainWindow->statusLabel, QPoint(5, 5));
        moveHeld(mainWindow->statusLabel, QPoint(2, 1));
        QCOMPARE(mainWindow->pos(), before + QPoint(17, 11));
    }

    void mainRoadThroughTheMenus()
    {
        const QString first = writeLesson(m_home.filePath(QStringLiteral("road/a-first.kvl")),
                                          {QStringLiteral("<OR=one><PI=yi1><CH=\u4e00><NO=><TY=w>"),
                                           QStringLiteral("<OR=two><PI=er4><CH=\u4e8c><NO=><TY=w>")});
        const QString second = writeLesson(m_home.filePath(QStringLiteral("road/b-second.kvl")),
                                           {QStringLiteral("<OR=three><PI=san1><CH=\u4e09><NO=><TY=w>")});

        // Open both lessons from the File menu.
        dialogs().openAnswers.push_back({second, first});
        emit item("mlOpen")->clicked();
        QCOMPARE(mainWindow->openLessons, QStringList({first, second}));
        QCOMPARE(mainWindow->currentIndex, 1);
        QCOMPARE(mainWindow->translationText->text(), QStringLiteral("one"));
        QVERIFY(mainWindow->lessonLabel->text().endsWith(QStringLiteral("a-first.kvl")));

        // Step, mark the second term difficult, step on and mark the third learned.
        mainWindow->nextButton->click();
        QCOMPARE(mainWindow->currentIndex, 2);
        mainWindow->markDifficultButton->click();
        QCOMPARE(mainWindow->termTable.state(1), QStringLiteral("d"));
        mainWindow->nextButton->click();
        QCOMPARE(mainWindow->currentIndex, 3);
        mainWindow->markLearnedButton->click();
        QCOMPARE(mainWindow->termTable.state(2), QStringLiteral("l"));

        // Save the lessons, then the session under a name without extension.
        emit item("mlSaveLesson")->clicked();
        QCOMPARE(mainWindow->statusLabel->text(), QStringLiteral("Lessons saved"));
        const QString session = m_home.filePath(QStringLiteral("road/evening"));
        dialogs().saveAnswers.push_back(session);
        mainWindow->currentIndex = 2;
        emit item("mlSaveSessionAs")->clicked();
        QCOMPARE(mainWindow->statusLabel->text(), QStringLiteral("Session saved"));
        QCOMPARE(mainWindow->sessionFile, session + QStringLiteral(".ses"));
        QVERIFY(QFile::exists(session + QStringLiteral(".ses")));

        // Open other lessons, then reopen the session from the menu.
        dialogs().openAnswers.push_back({second});
        emit item("mlOpen")->clicked();
        QCOMPARE(mainWindow->openLessons, QStringList({second}));
        dialogs().openAnswers.push_back({session + QStringLiteral(".ses")});
        emit item("mlOpenSession")->clicked();
        QCOMPARE(mainWindow->openLessons, QStringList({first, second}));
        QCOMPARE(mainWindow->currentIndex, 2);
        QCOMPARE(mainWindow->translationText->text(), QStringLiteral("two"));
        // The marks came back from the lesson files.
        QCOMPARE(mainWindow->termTable.state(1), QStringLiteral("d"));
        QCOMPARE(mainWindow->termTable.state(2), QStringLiteral("l"));
        QVERIFY(mainWindow->sessionLabel->text().endsWith(QStringLiteral("evening.ses")));
        QVERIFY(dialogs().messages.empty());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
