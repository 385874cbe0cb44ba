// The main window's own chrome: drop-down menus, the lesson and session
// labels, and the whole main road driven through the menus. Dragging the
// window is tested with the tool bar that follows it.
#include "app/HoverLabel.h"
#include "app/LessonFileCommands.h"
#include "app/WindowChrome.h"
#include "lessons/TermGrid.h"
#include "support/ProgramTestCase.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
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
} // namespace

class TestMenus : public apptest::ProgramTestCase {
    Q_OBJECT

    // Showing the window activates it: its first activation shows the
    // reminder, which the scripted dialogs answer.
    Start start() const override { return {.firstActivationDone = false, .shown = true}; }
    void caseStarting() override { dialogs().messages.clear(); }
    void caseEnded() override { mainWindow->hideAllMenus(); }

private slots:
    void menuBarLabelsStandLeftToRight()
    {
        const QList<HoverLabel *> bar = {
            apptest::control<HoverLabel>("practiseMenuLabel"), apptest::control<HoverLabel>("modulesMenuLabel"),
            apptest::control<HoverLabel>("toolsMenuLabel"), apptest::control<HoverLabel>("optionsMenuLabel"),
            apptest::control<HoverLabel>("helpMenuLabel")};
        QCOMPARE(apptest::control<HoverLabel>("practiseMenuLabel")->text(), QStringLiteral(" File "));
        for (int i = 1; i < bar.size(); ++i)
            QCOMPARE(bar[i]->x(), bar[i - 1]->x() + bar[i - 1]->width());
        QCOMPARE(item("mlSaveSessionAs")->text(), QStringLiteral("  Save session as"));
    }

    void captionsAreWholeAndUnderlinedUnderThePointer()
    {
        // No menu item, the status line or a switch's caption is cut.
        for (HoverLabel *ml : mainWindow->findChildren<HoverLabel *>(QRegularExpression(QStringLiteral("^ml"))))
            QVERIFY2(ml->width() >= ml->sizeHint().width(), qPrintable(ml->text()));
        mainWindow->showStatus(QStringLiteral("gypsy quay"));
        QVERIFY(apptest::control<QLabel>("statusLabel")->height()
                >= apptest::control<QLabel>("statusLabel")->fontMetrics().height());
        QLabel *caption = apptest::control<korvana::ClickLabel>("pictureSwitchLabel");
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
        HoverLabel *label = apptest::control<HoverLabel>("toolsMenuLabel");
        emit label->entered();
        QVERIFY(apptest::control<QFrame>("toolsMenu")->isVisible());
        QCOMPARE(apptest::control<QFrame>("toolsMenu")->pos(), QPoint(label->x(), label->y() + label->height()));

        // Leaving downwards, into the panel, keeps it open.
        QCursor::setPos(label->mapToGlobal(QPoint(5, label->height() + 3)));
        emit label->left();
        QVERIFY(apptest::control<QFrame>("toolsMenu")->isVisible());

        // Leaving upwards closes it.
        QCursor::setPos(label->mapToGlobal(QPoint(5, -2)));
        emit label->left();
        QVERIFY(!apptest::control<QFrame>("toolsMenu")->isVisible());
    }

    void panelStaysOpenOverItsItemsAndClosesWhenLeft()
    {
        emit apptest::control<HoverLabel>("practiseMenuLabel")->entered();
        QFrame *panel = apptest::control<QFrame>("practiseMenu");
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
        QCOMPARE(apptest::status(), QStringLiteral("Open one or more lessons (hold Shift or Ctrl when selecting)"));
        emit item("mlOpenSession")->moved(QPoint(3, 3));
        QCOMPARE(apptest::status(), QStringLiteral("Load previously saved session  from disk"));
        // "Exit" has no hint: the status line is cleared.
        emit item("mlExit")->moved(QPoint(3, 3));
        QVERIFY(apptest::status().isEmpty());
    }

    void aCommandClosesTheMenusFirst()
    {
        emit apptest::control<HoverLabel>("practiseMenuLabel")->entered();
        QVERIFY(apptest::control<QFrame>("practiseMenu")->isVisible());
        apptest::store().openLessons.clear();
        emit item("mlSaveLesson")->clicked();
        QVERIFY(!apptest::control<QFrame>("practiseMenu")->isVisible());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("No open lessons"));
    }

    void lessonAndSessionLabels()
    {
        apptest::store().currentLesson.clear();
        mainWindow->lessonFiles().setSessionFile({});
        mainWindow->chrome().updateLessonSessionLabels();
        QCOMPARE(apptest::control<HoverLabel>("lessonLabel")->text(), QStringLiteral("NO LESSON LOADED"));
        QCOMPARE(apptest::control<HoverLabel>("sessionLabel")->text(), QStringLiteral("NO SESSION LOADED"));

        const QString longPath = QStringLiteral("/home/learner/Documents/Chinese/courses/second year/"
                                                "spring term/week twelve/lesson-12.kvl");
        apptest::store().currentLesson = longPath;
        mainWindow->lessonFiles().setSessionFile(QStringLiteral("/s/a.ses"));
        mainWindow->chrome().updateLessonSessionLabels();
        const QString shown = apptest::control<HoverLabel>("lessonLabel")->text();
        QVERIFY(shown.startsWith(QStringLiteral("/...")));
        QVERIFY(shown.endsWith(QStringLiteral("/lesson-12.kvl")));
        QVERIFY(QFontMetrics(apptest::control<HoverLabel>("lessonLabel")->font()).horizontalAdvance(shown) <= 220);
        QCOMPARE(apptest::control<HoverLabel>("sessionLabel")->text(), QStringLiteral("/s/a.ses"));
    }

    void mainRoadThroughTheMenus()
    {
        const QString first = writeLesson(homePath(QStringLiteral("road/a-first.kvl")),
                                          {QStringLiteral("<OR=one><PI=yi1><CH=\u4e00><NO=><TY=w>"),
                                           QStringLiteral("<OR=two><PI=er4><CH=\u4e8c><NO=><TY=w>")});
        const QString second = writeLesson(homePath(QStringLiteral("road/b-second.kvl")),
                                           {QStringLiteral("<OR=three><PI=san1><CH=\u4e09><NO=><TY=w>")});

        // Open both lessons from the File menu.
        dialogs().openAnswers.push_back({second, first});
        emit item("mlOpen")->clicked();
        QCOMPARE(apptest::store().openLessons, QStringList({first, second}));
        QCOMPARE(apptest::store().currentIndex, 1);
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("one"));
        QVERIFY(apptest::control<HoverLabel>("lessonLabel")->text().endsWith(QStringLiteral("a-first.kvl")));

        // Step, mark the second term difficult, step on and mark the third learned.
        apptest::control<QPushButton>("nextButton")->click();
        QCOMPARE(apptest::store().currentIndex, 2);
        apptest::control<korvana::LatchButton>("markDifficultButton")->click();
        QCOMPARE(apptest::store().termTable.state(1), QStringLiteral("d"));
        apptest::control<QPushButton>("nextButton")->click();
        QCOMPARE(apptest::store().currentIndex, 3);
        apptest::control<QPushButton>("markLearnedButton")->click();
        QCOMPARE(apptest::store().termTable.state(2), QStringLiteral("l"));

        // Save the lessons, then the session under a name without extension.
        emit item("mlSaveLesson")->clicked();
        QCOMPARE(apptest::status(), QStringLiteral("Lessons saved"));
        const QString session = homePath(QStringLiteral("road/evening"));
        dialogs().saveAnswers.push_back(session);
        apptest::store().currentIndex = 2;
        emit item("mlSaveSessionAs")->clicked();
        QCOMPARE(apptest::status(), QStringLiteral("Session saved"));
        QCOMPARE(mainWindow->lessonFiles().sessionFile(), session + QStringLiteral(".ses"));
        QVERIFY(QFile::exists(session + QStringLiteral(".ses")));

        // Open other lessons, then reopen the session from the menu.
        dialogs().openAnswers.push_back({second});
        emit item("mlOpen")->clicked();
        QCOMPARE(apptest::store().openLessons, QStringList({second}));
        dialogs().openAnswers.push_back({session + QStringLiteral(".ses")});
        emit item("mlOpenSession")->clicked();
        QCOMPARE(apptest::store().openLessons, QStringList({first, second}));
        QCOMPARE(apptest::store().currentIndex, 2);
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("two"));
        // The marks came back from the lesson files.
        QCOMPARE(apptest::store().termTable.state(1), QStringLiteral("d"));
        QCOMPARE(apptest::store().termTable.state(2), QStringLiteral("l"));
        QVERIFY(apptest::control<HoverLabel>("sessionLabel")->text().endsWith(QStringLiteral("evening.ses")));
        QVERIFY(dialogs().messages.empty());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
