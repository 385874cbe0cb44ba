// The main window's own chrome: drop-down menus, the lesson and session
// labels, dragging, and the whole main road driven through the menus.
#include "AppTestSupport.h"
#include "app/HoverLabel.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "lessons/TermGrid.h"
#include "platform/ui/Dialogs.h"

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
    auto *l = Form1->findChild<HoverLabel *>(name);
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
        CreateForms();
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }
    void cleanupTestCase()
    {
        DestroyForms();
        m_scripted.reset();
    }
    void init() { dialogs().messages.clear(); }
    void cleanup() { Form1->HideAllMenus(); }

    void menuBarLabelsStandLeftToRight()
    {
        const QList<HoverLabel *> bar = {Form1->lOpen, Form1->lblModules, Form1->lblTools, Form1->lblOptions,
                                         Form1->lblHelp};
        QCOMPARE(Form1->lOpen->text(), QStringLiteral(" File "));
        for (int i = 1; i < bar.size(); ++i)
            QCOMPARE(bar[i]->x(), bar[i - 1]->x() + bar[i - 1]->width());
        QCOMPARE(item("mlSaveSessionAs")->text(), QStringLiteral("  Save session as"));
    }

    void captionsAreWholeAndUnderlinedUnderThePointer()
    {
        // No menu item, the status line or a switch's caption is cut.
        for (HoverLabel *ml : Form1->menuItems)
            QVERIFY2(ml->width() >= ml->sizeHint().width(), qPrintable(ml->text()));
        Form1->Status(QStringLiteral("gypsy quay"));
        QVERIFY(Form1->lStatus->height() >= Form1->lStatus->fontMetrics().height());
        QLabel *caption = Form1->lblDisplPict;
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
        HoverLabel *label = Form1->lblTools;
        emit label->entered();
        QVERIFY(Form1->MenuTools->isVisible());
        QCOMPARE(Form1->MenuTools->pos(), QPoint(label->x(), label->y() + label->height()));

        // Leaving downwards, into the panel, keeps it open.
        QCursor::setPos(label->mapToGlobal(QPoint(5, label->height() + 3)));
        emit label->left();
        QVERIFY(Form1->MenuTools->isVisible());

        // Leaving upwards closes it.
        QCursor::setPos(label->mapToGlobal(QPoint(5, -2)));
        emit label->left();
        QVERIFY(!Form1->MenuTools->isVisible());
    }

    void panelStaysOpenOverItsItemsAndClosesWhenLeft()
    {
        emit Form1->lOpen->entered();
        QFrame *panel = Form1->MenuPractise;
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
        QCOMPARE(Form1->lStatus->text(),
                 QStringLiteral("Open one or more lessons (hold Shift or Ctrl when selecting)"));
        emit item("mlOpenSession")->moved(QPoint(3, 3));
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Load previously saved session  from disk"));
        // "Exit" has no hint: the status line is cleared.
        emit item("mlExit")->moved(QPoint(3, 3));
        QVERIFY(Form1->lStatus->text().isEmpty());
    }

    void aCommandClosesTheMenusFirst()
    {
        emit Form1->lOpen->entered();
        QVERIFY(Form1->MenuPractise->isVisible());
        Form1->FOpenLessons.clear();
        emit item("mlSaveLesson")->clicked();
        QVERIFY(!Form1->MenuPractise->isVisible());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("No open lessons"));
    }

    void lessonAndSessionLabels()
    {
        Form1->FCurrentLesson.clear();
        Form1->FSessionFile.clear();
        Form1->CheckLessonSessionLabels();
        QCOMPARE(Form1->lLesson->text(), QStringLiteral("NO LESSON LOADED"));
        QCOMPARE(Form1->lSession->text(), QStringLiteral("NO SESSION LOADED"));

        const QString longPath = QStringLiteral("/home/learner/Documents/Chinese/courses/second year/"
                                                "spring term/week twelve/lesson-12.kvl");
        Form1->FCurrentLesson = longPath;
        Form1->FSessionFile = QStringLiteral("/s/a.ses");
        Form1->CheckLessonSessionLabels();
        const QString shown = Form1->lLesson->text();
        QVERIFY(shown.startsWith(QStringLiteral("/...")));
        QVERIFY(shown.endsWith(QStringLiteral("/lesson-12.kvl")));
        QVERIFY(QFontMetrics(Form1->lLesson->font()).horizontalAdvance(shown) <= 220);
        QCOMPARE(Form1->lSession->text(), QStringLiteral("/s/a.ses"));
    }

    void draggingTheBackgroundMovesTheWindow()
    {
        Form1->move(100, 100);
        const QPoint before = Form1->pos();
        press(Form1, QPoint(300, 200));
        moveHeld(Form1, QPoint(320, 215));
        QCOMPARE(Form1->pos(), before + QPoint(20, 15));
        // The status line drags too.
        press(Form1->lStatus, QPoint(5, 5));
        moveHeld(Form1->lStatus, QPoint(2, 1));
        QCOMPARE(Form1->pos(), before + QPoint(17, 11));
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
        QCOMPARE(Form1->FOpenLessons, QStringList({first, second}));
        QCOMPARE(Form1->FCurrentIndex, 1);
        QCOMPARE(Form1->reOrig->text(), QStringLiteral("one"));
        QVERIFY(Form1->lLesson->text().endsWith(QStringLiteral("a-first.kvl")));

        // Step, mark the second term difficult, step on and mark the third learned.
        Form1->bNext->click();
        QCOMPARE(Form1->FCurrentIndex, 2);
        Form1->jbMarkDifficult->click();
        QCOMPARE(Form1->StringGrid1.state(1), QStringLiteral("d"));
        Form1->bNext->click();
        QCOMPARE(Form1->FCurrentIndex, 3);
        Form1->jbMarkLearned->click();
        QCOMPARE(Form1->StringGrid1.state(2), QStringLiteral("l"));

        // Save the lessons, then the session under a name without extension.
        emit item("mlSaveLesson")->clicked();
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Lessons saved"));
        const QString session = m_home.filePath(QStringLiteral("road/evening"));
        dialogs().saveAnswers.push_back(session);
        Form1->FCurrentIndex = 2;
        emit item("mlSaveSessionAs")->clicked();
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Session saved"));
        QCOMPARE(Form1->FSessionFile, session + QStringLiteral(".ses"));
        QVERIFY(QFile::exists(session + QStringLiteral(".ses")));

        // Open other lessons, then reopen the session from the menu.
        dialogs().openAnswers.push_back({second});
        emit item("mlOpen")->clicked();
        QCOMPARE(Form1->FOpenLessons, QStringList({second}));
        dialogs().openAnswers.push_back({session + QStringLiteral(".ses")});
        emit item("mlOpenSession")->clicked();
        QCOMPARE(Form1->FOpenLessons, QStringList({first, second}));
        QCOMPARE(Form1->FCurrentIndex, 2);
        QCOMPARE(Form1->reOrig->text(), QStringLiteral("two"));
        // The marks came back from the lesson files.
        QCOMPARE(Form1->StringGrid1.state(1), QStringLiteral("d"));
        QCOMPARE(Form1->StringGrid1.state(2), QStringLiteral("l"));
        QVERIFY(Form1->lSession->text().endsWith(QStringLiteral("evening.ses")));
        QVERIFY(dialogs().messages.empty());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
