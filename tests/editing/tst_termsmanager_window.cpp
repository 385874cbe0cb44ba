// The terms manager window driven as the user drives it: shown modally over
// lessons opened as the program opens them, terms chosen by type and state,
// marked, sorted and exported, and the states saved with the lessons; then,
// on the whole program, opened from the Tools menu, with an export into an
// open lesson reopening the lessons.
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/WindowChrome.h"
#include "editing/TermsManagerWindow.h"
#include "platform/richtext/RichEdit.h"
#include "support/AppTestSupport.h"
#include "support/ChildProcess.h"
#include "support/WindowTestFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace korvana;

namespace {

using apptest::writeLesson;

using apptest::linesOfFile;

const QString kOne = "<OR=one><PI=yi1><CH=一><NO=><TY=w>";
const QString kHello = "<OR=hello><PI=ni3 hao3><CH=你好><NO=><TY=p>";
const QString kTwo = "<OR=two><PI=er4><CH=二><NO=n><TY=w>";
const QString kThanks = "<OR=Thanks><PI=xie4xie5><NO=><TY=p>";

} // namespace

// The window under test and the ways to it.
class TermsManagerCases : public QObject {
    Q_OBJECT

protected:
    QTemporaryDir m_home;
    TermsManagerWindow *w = nullptr;
    QString m_first, m_second;

    virtual ScriptedDialogs &dialogs() = 0;
    virtual LessonStore &store() = 0;
    // Opens the lessons as the user does.
    virtual void open(const QStringList &files) = 0;
    // Shows the window modally.
    virtual void showWindow() = 0;

    QString lessonPath(const QString &name) const { return m_home.filePath("lessons/" + name); }

    // first.kvl: one (w,u), hello (p,d); second.kvl: two (w,l), Thanks (p,u).
    void openTwoLessons()
    {
        m_first = writeLesson(lessonPath("first.kvl"), {"<ST=u>" + kOne, "<ST=d>" + kHello});
        m_second = writeLesson(lessonPath("second.kvl"), {"<ST=l>" + kTwo, "<ST=u>" + kThanks});
        open({m_first, m_second});
        QCOMPARE(store().openLessons, (QStringList{m_first, m_second}));
        QCOMPARE(store().termTable.rowCount(), 4);
    }

    QStringList column(int c) const
    {
        QStringList out;
        for (int i = 0; i < w->termList->topLevelItemCount(); ++i)
            out << w->termList->topLevelItem(i)->text(c);
        return out;
    }
    QStringList selectedTranslations() const
    {
        QStringList out;
        for (int i = 0; i < w->termList->topLevelItemCount(); ++i)
            if (w->termList->topLevelItem(i)->isSelected())
                out << w->termList->topLevelItem(i)->text(1);
        return out;
    }
    void select(const QString &choice)
    {
        w->selectCombo->setCurrentText(choice);
        w->selectButtonClicked();
    }
    void deselect(const QString &choice)
    {
        w->deselectCombo->setCurrentText(choice);
        w->deselectButtonClicked();
    }
    QTreeWidgetItem *itemOf(const QString &translation) const
    {
        for (int i = 0; i < w->termList->topLevelItemCount(); ++i)
            if (w->termList->topLevelItem(i)->text(1) == translation)
                return w->termList->topLevelItem(i);
        return nullptr;
    }
    // Shows the window as the program does; the actions run while it is shown.
    void runWindow(const std::function<void()> &actions)
    {
        dialogs().onModal = [&](QDialog *d) {
            QCOMPARE(d, static_cast<QDialog *>(w));
            w->show();
            actions();
            w->closeButtonClicked();
            QVERIFY(!w->isVisible());
        };
        showWindow();
        QCOMPARE(dialogs().modalsShown, std::vector<QString>{"termsManagerWindow"});
    }
};

class TestTermsManagerWindow : public TermsManagerCases {
    Q_OBJECT

    std::unique_ptr<windowtest::Fixture> f;
    std::unique_ptr<TermsManagerWindow> m_window;

    ScriptedDialogs &dialogs() override { return f->dialogs(); }
    LessonStore &store() override { return f->store; }
    void open(const QStringList &files) override { QCOMPARE(f->openLessons(files), QStringList()); }
    void showWindow() override { Dialogs::instance().execModal(w); }

private slots:
    void initTestCase() { QVERIFY(m_home.isValid()); }

    // Every case runs on a window built at once and on one built when it
    // is first shown.
    void initTestCase_data() { windowtest::addBuiltWhenShownRows(); }

    void init()
    {
        QFETCH_GLOBAL(bool, builtWhenShown);
        f = std::make_unique<windowtest::Fixture>();
        TermsManagerWindow::buildWhenShown = builtWhenShown;
        m_window = std::make_unique<TermsManagerWindow>(f->settings, f->store, &f->mainWidget);
        TermsManagerWindow::buildWhenShown = false;
        w = m_window.get();
        QCOMPARE(!w->termList, builtWhenShown);
    }
    void cleanup()
    {
        m_window.reset();
        f.reset();
    }

    void withNoLessonEverythingSaysNoSelectedTerms()
    {
        runWindow([&] {
            QCOMPARE(w->windowTitle(), QString("Terms Manager"));
            QCOMPARE(w->termList->topLevelItemCount(), 0);
            QCOMPARE(w->selectedCountLabel->text(), QString("0/0"));
            w->markAsButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("No selected terms"));
            w->exportButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("No selected terms"));
            QCOMPARE(dialogs().messages.size(), std::size_t(2));
            QVERIFY(dialogs().fileRequests.empty()); // no save dialog
        });
    }

    void listsTermsAndChoicesAddUp()
    {
        openTwoLessons();
        runWindow([&] {
            QCOMPARE(column(0), (QStringList{"一", "你好", "二", ""})); // no "CH": empty
            QCOMPARE(column(1), (QStringList{"one", "hello", "two", "Thanks"}));
            QCOMPARE(column(2), (QStringList{"yi1", "ni3 hao3", "er4", "xie4xie5"}));
            QCOMPARE(column(3), (QStringList{"", "", "n", ""}));
            QCOMPARE(w->selectedCountLabel->text(), QString("0/4"));
            // Phrases italic, difficult red, learned grey, others as the list.
            QVERIFY(!itemOf("one")->font(0).italic());
            QVERIFY(itemOf("hello")->font(0).italic());
            QCOMPARE(itemOf("hello")->foreground(1).color(), QColor(0xFF, 0, 0));
            QCOMPARE(itemOf("two")->foreground(1).color(), QColor(0x80, 0x80, 0x80));
            QCOMPARE(itemOf("one")->foreground(1).style(), Qt::NoBrush);

            // Words, then Difficult: every word and the difficult phrase.
            select("Words");
            QCOMPARE(selectedTranslations(), (QStringList{"one", "two"}));
            select("Difficult");
            QCOMPARE(selectedTranslations(), (QStringList{"one", "hello", "two"}));
            QCOMPARE(w->selectedCountLabel->text(), QString("3/4"));
            // Deselecting "Learned" leaves those not learned.
            deselect("Learned");
            QCOMPARE(selectedTranslations(), (QStringList{"one", "hello"}));
            deselect("All");
            QCOMPARE(selectedTranslations(), QStringList());
            select("Phrases");
            QCOMPARE(selectedTranslations(), (QStringList{"hello", "Thanks"}));
            select("All");
            QCOMPARE(w->selectedCountLabel->text(), QString("4/4"));
        });
    }

    void markingWritesTheStateColumnAndSavesWithTheLessons()
    {
        openTwoLessons();
        const QString lessonText = store().lessonText.text();
        runWindow([&] {
            select("Unlearned");
            select("Difficult");
            QCOMPARE(selectedTranslations(), (QStringList{"one", "hello", "Thanks"}));
            w->markAsCombo->setCurrentText("Learned");
            w->markAsButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("Operation performed on 3 terms"));
            // The list is rebuilt: nothing selected, the marked terms in grey.
            QCOMPARE(w->selectedCountLabel->text(), QString("0/4"));
            for (const QString t : {"one", "hello", "Thanks"})
                QCOMPARE(itemOf(t)->foreground(1).color(), QColor(0x80, 0x80, 0x80));
            QVERIFY(itemOf("hello")->font(0).italic());

            select("Phrases");
            w->markAsCombo->setCurrentText("Difficult");
            w->markAsButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("Operation performed on 2 terms"));
        });
        QCOMPARE(store().termTable.state(0), QString("l"));
        QCOMPARE(store().termTable.state(1), QString("d"));
        QCOMPARE(store().termTable.state(2), QString("l"));
        QCOMPARE(store().termTable.state(3), QString("d"));
        // Only the state column changes; the lesson text is only read.
        QCOMPARE(store().lessonText.text(), lessonText);
        QCOMPARE(store().termTable.type(1), QString("p"));

        QCOMPARE(f->saveLessons(), QStringList());
        QCOMPARE(linesOfFile(m_first), (QStringList{"<ST=l>" + kOne, "<ST=d>" + kHello}));
        QCOMPARE(linesOfFile(m_second), (QStringList{"<ST=l>" + kTwo, "<ST=d>" + kThanks}));
    }

    void sortingOrdersTheExportAndIgnoresLetterCase()
    {
        openTwoLessons();
        const QString out = m_home.filePath("out/sorted");
        QDir().mkpath(m_home.filePath("out"));
        runWindow([&] {
            w->termListColumnClicked(1);
            QCOMPARE(w->sortColumn, 1);
            QCOMPARE(column(1), (QStringList{"hello", "one", "Thanks", "two"}));
            // Sorting keeps what was selected; a second click keeps the order.
            itemOf("two")->setSelected(true);
            itemOf("one")->setSelected(true);
            w->termListColumnClicked(1);
            QCOMPARE(column(1), (QStringList{"hello", "one", "Thanks", "two"}));
            QCOMPARE(selectedTranslations(), (QStringList{"one", "two"}));
            select("Phrases");
            dialogs().saveAnswers.push_back(out);
            w->exportButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("Operation performed on 4 terms"));
        });
        const FileDialogRequest &r = dialogs().fileRequests.back();
        QCOMPARE(r.filter, QString("Korvana Lessons|*.kvl|All Files|*.*"));
        QCOMPARE(r.defaultExt, QString("kvl"));
        QVERIFY(r.overwritePrompt);
        // The extension is added; the lines go out in the sorted order, each
        // with its term's state from the term table.
        QCOMPARE(linesOfFile(out + ".kvl"),
                 (QStringList{"<ST=d>" + kHello, "<ST=u>" + kOne, "<ST=u>" + kThanks, "<ST=l>" + kTwo}));
    }

    void sortingTreatsCaseAsEqualAndKeepsOrder()
    {
        const QString lesson = writeLesson(lessonPath("case.kvl"), {"<OR=b><PI=mb><CH=1>", "<OR=a><PI=MA><CH=2>",
                                                                    "<OR=c><PI=la><CH=3>", "<OR=d><PI=ma><CH=4>"});
        open({lesson});
        runWindow([&] {
            // "MA" and "ma" are equal and keep their order; "la" comes
            // before both whatever the case of the letters.
            w->termListColumnClicked(2);
            QCOMPARE(column(1), (QStringList{"c", "a", "d", "b"}));
            // Showing the window again restores the lesson order.
            w->hide();
            w->show();
            QCOMPARE(column(1), (QStringList{"b", "a", "c", "d"}));
            QCOMPARE(w->sortColumn, 2);
        });
    }

    void exportWithoutSortingKeepsLessonOrderAndCancelWritesNothing()
    {
        openTwoLessons();
        const QString out = m_home.filePath("plain.kvl");
        QFile::remove(out); // written by the other row
        runWindow([&] {
            itemOf("Thanks")->setSelected(true);
            itemOf("one")->setSelected(true);
            // Cancelled: nothing written, no message.
            const std::size_t before = dialogs().messages.size();
            w->exportButtonClicked();
            QCOMPARE(dialogs().messages.size(), before);
            QVERIFY(!QFile::exists(out));

            dialogs().saveAnswers.push_back(out);
            w->exportButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("Operation performed on 2 terms"));
        });
        QCOMPARE(linesOfFile(out), (QStringList{"<ST=u>" + kOne, "<ST=u>" + kThanks}));
    }

    void appendPutsTermsFirstAndKeepsTheLessonsLinks()
    {
        const QString par = "<PAR FILE=\"story.txt\" DESCRIPTION=\"A story\">";
        const QString target =
            writeLesson(m_home.filePath("target.kvl"), {"<ST=u><OR=x><CH=甲><TY=w>", "<ST=l><OR=y><CH=乙><TY=w>", par});
        openTwoLessons();
        runWindow([&] {
            itemOf("two")->setSelected(true);
            itemOf("hello")->setSelected(true);
            w->exportCombo->setCurrentText("Append to a lesson");
            // The lesson is chosen with an open dialog: no question about
            // replacing it.
            dialogs().openAnswers.push_back({target});
            w->exportButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("Operation performed on 2 terms"));
            QVERIFY(dialogs().fileRequests.back().fileMustExist);
            QVERIFY(dialogs().saveAnswers.empty());

            // Appending to a lesson that cannot be read reports it and
            // creates nothing.
            const QString missing = m_home.filePath("nothing-here.kvl");
            dialogs().openAnswers.push_back({missing});
            w->exportButtonClicked();
            QCOMPARE(dialogs().messages.back().icon, MsgIcon::Error);
            QVERIFY(dialogs().lastMessage().contains("not exported"));
            QVERIFY(!QFile::exists(missing));
        });
        QCOMPARE(linesOfFile(target), (QStringList{"<ST=d>" + kHello, "<ST=l>" + kTwo, "<ST=u><OR=x><CH=甲><TY=w>",
                                                   "<ST=l><OR=y><CH=乙><TY=w>", par}));

        // The appended lesson opens with its new terms first, marks and all.
        open({target});
        QCOMPARE(store().termTable.rowCount(), 4);
        QCOMPARE(store().termTable.type(0), QString("p"));
        QCOMPARE(store().termTable.state(0), QString("d"));
        QCOMPARE(store().termTable.state(1), QString("l"));
        QCOMPARE(store().termTable.state(3), QString("l"));
    }

    void exportFailingPartWayKeepsTheLessonAndSaysSo()
    {
        const QString big = "<OR=" + QString(20000, 'x') + "><PI=><CH=大><NO=><TY=w>";
        open({writeLesson(lessonPath("big.kvl"), {"<ST=d>" + big})});
        const QString target = writeLesson(m_home.filePath("full/target.kvl"), {"<ST=u>" + kOne});
        const QByteArray before = apptest::readFile(target);
        runWindow([&] {
            select("All");
            for (int mode : {0, 1}) {
                const QString said = QString::fromUtf8(childtest::withFileSizeLimit(4096, [&] {
                    w->exportCombo->setCurrentIndex(mode);
                    if (mode == 0)
                        dialogs().saveAnswers.push_back(target);
                    else
                        dialogs().openAnswers.push_back({target});
                    w->exportButtonClicked();
                    return dialogs().lastMessage().toUtf8();
                }));
                QVERIFY2(said.startsWith("The terms were not exported") && said.contains("too large"),
                         qPrintable(said));
                QCOMPARE(apptest::readFile(target), before);
            }
        });
        QCOMPARE(QDir(m_home.filePath("full")).entryList(QDir::Files | QDir::Hidden), QStringList{"target.kvl"});
    }

    void escapeCloses()
    {
        dialogs().onModal = [&](QDialog *) {
            w->show();
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(!w->isVisible());
        };
        showWindow();
        QCOMPARE(dialogs().modalsShown.size(), std::size_t(1));
    }
};

// The window opened from the Tools menu of the whole program, whose lessons
// are opened again after an export into one of them.
class TestTermsManagerWindowInTheProgram : public TermsManagerCases {
    Q_OBJECT

    std::unique_ptr<apptest::FreshProgram> m_program;

    ScriptedDialogs &dialogs() override { return m_program->dialogs(); }
    LessonStore &store() override { return apptest::store(); }
    void open(const QStringList &files) override
    {
        dialogs().openAnswers.push_back(files);
        mainWindow->openLessonFiles(OpenMode::Lesson);
    }
    void showWindow() override { mainWindow->chrome().termsManagerCommand(); }

private slots:
    void initTestCase_data() { windowtest::addBuiltWhenShownRows(); }

    void init()
    {
        QFETCH_GLOBAL(bool, builtWhenShown);
        TermsManagerWindow::buildWhenShown = builtWhenShown;
        m_program = std::make_unique<apptest::FreshProgram>();
        TermsManagerWindow::buildWhenShown = false;
        w = termsManagerWindow;
        QCOMPARE(!w->termList, builtWhenShown);
    }
    void cleanup() { m_program.reset(); }

    void exportIntoAnOpenLessonIsReloadedWithTheMarks()
    {
        openTwoLessons();
        runWindow([&] {
            itemOf("one")->setSelected(true);
            w->markAsCombo->setCurrentText("Learned"); // a mark not saved yet
            w->markAsButtonClicked();
            itemOf("Thanks")->setSelected(true);
            w->exportCombo->setCurrentText("Append to a lesson");
            dialogs().openAnswers.push_back({m_first});
            w->exportButtonClicked();
            QCOMPARE(dialogs().lastMessage(), QString("Operation performed on 1 terms"));
            // The list shows the lesson text as it now stands.
            QCOMPARE(column(1), (QStringList{"Thanks", "one", "hello", "two", "Thanks"}));
        });
        QCOMPARE(store().termTable.rowCount(), 5);
        QCOMPARE(store().termTable.state(1), QString("l")); // the mark kept
        mainWindow->saveLessons();
        QCOMPARE(linesOfFile(m_first), (QStringList{"<ST=u>" + kThanks, "<ST=l>" + kOne, "<ST=d>" + kHello}));
        QCOMPARE(linesOfFile(m_second), (QStringList{"<ST=l>" + kTwo, "<ST=u>" + kThanks}));
    }
};

KORVANA_WINDOW_TEST_MAIN(TestTermsManagerWindow, TestTermsManagerWindowInTheProgram)
#include "tst_termsmanager_window.moc"
