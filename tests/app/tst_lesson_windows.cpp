// One lesson open in the practice window and in the lesson editor at once:
// marks made while the editor is open, outside changes to the editor's file,
// the bytes of a lesson saved again unchanged, an untouched new lesson, a
// failed open, the default working folder and the term number after the
// editor closes.
#include "AppTestSupport.h"
#include "support/ChildProcess.h"
#include "app/Program.h"
#include "app/HoverLabel.h"
#include "app/MainWindow.h"
#include "editing/LessonEditorWindow.h"
#include "editing/TermsManagerWindow.h"
#include "platform/ini/IniFile.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>
#include <QtTest>

using namespace korvana;

namespace {
QString term(const QString &t) { return QStringLiteral("<OR=%1><PI=p%1><CH=c%1><NO=><TY=w>").arg(t); }

QStringList linesOf(const QString &path)
{
    RichEdit doc;
    doc.loadFromFile(path);
    QStringList lines;
    for (int i = 0; i < doc.lineCount(); ++i)
        lines << doc.line(i);
    return lines;
}

QStringList states(const MainWindow *f)
{
    QStringList s;
    for (int r = 0; r < f->termTable.rowCount(); ++r)
        s << f->termTable.state(r);
    return s;
}
} // namespace

class TestLessonWindows : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    ScriptedDialogs &dialogs() { return m_scripted->dialogs; }
    LessonEditorWindow *ed() { return lessonEditorWindow; }
    QString path(const QString &name) { return m_home.filePath(QStringLiteral("files/") + name); }

    void open(const QStringList &files)
    {
        dialogs().openAnswers.push_back(files);
        mainWindow->openLessonFiles(QStringLiteral("lesson"));
    }
    // "Edit lesson" on the current term's lesson, the editor activated.
    void editCurrentLesson()
    {
        mainWindow->editLessonCommand();
        QVERIFY(ed()->isVisible());
        ed()->onActivate();
    }
    // Marks row r difficult with the practice window's button.
    void markDifficult(int r)
    {
        mainWindow->currentIndex = r + 1;
        mainWindow->markDifficultButtonClicked();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        apptest::useFakeVoice();
    }
    void init()
    {
        m_scripted = std::make_unique<ScopedScriptedDialogs>();
        apptest::createFreshWindows();
        mainWindow->firstActivation = false;
    }
    void cleanup()
    {
        destroyWindows();
        m_scripted.reset();
    }

    void marksMadeWhileTheEditorIsOpenSurviveItsClosing_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("save");
        QTest::newRow("no edit") << QString() << false;
        QTest::newRow("edit not saved") << "lost" << false;
        QTest::newRow("edit saved") << "B!" << true;
    }
    void marksMadeWhileTheEditorIsOpenSurviveItsClosing()
    {
        QFETCH(QString, edit);
        QFETCH(bool, save);
        const QString l = apptest::writeLesson(path("marks/l.kvl"), {term("A"), term("B")});
        const QString m = apptest::writeLesson(path("marks/m.kvl"), {term("M")});
        open({l, m});
        mainWindow->currentLesson = l;
        editCurrentLesson();
        markDifficult(0);
        markDifficult(2);
        QCOMPARE(states(mainWindow), (QStringList{"d", "u", "d"}));

        // Meanwhile the editor owns l: the practice window's save leaves it
        // to the editor and says so; m is saved.
        mainWindow->saveLessonsCommand();
        QCOMPARE(dialogs().lastMessage(),
                 "Some lessons couldn't be saved:\n\n" + l + " (open in the lesson editor)");
        QCOMPARE(linesOf(m), QStringList{"<ST=d>" + term("M")});

        if (!edit.isEmpty()) {
            ed()->nextButtonClicked();
            ed()->translationText->setText(edit);
            dialogs().messageAnswers.push_back(save ? MsgResult::Yes : MsgResult::No);
        }
        ed()->closeButtonClicked();
        QVERIFY(!ed()->isVisible());
        QCOMPARE(states(mainWindow), (QStringList{"d", "u", "d"}));
        mainWindow->saveLessonsCommand();
        QCOMPARE(mainWindow->statusLabel->text(), QStringLiteral("Lessons saved"));
        QCOMPARE(linesOf(l).first(), "<ST=d>" + term("A"));
        QVERIFY(linesOf(l).last().contains(save ? "<OR=B!>" : "<OR=B>"));
    }

    void theEditorTakesInAddedTermsAndNeverWritesOverOtherChanges()
    {
        const QString l = apptest::writeLesson(path("outside/l.kvl"), {term("A"), term("B")});
        const QString m = apptest::writeLesson(path("outside/m.kvl"), {term("X")});
        open({l, m});
        mainWindow->currentLesson = l;
        editCurrentLesson();
        ed()->translationText->setText(QStringLiteral("A!"));

        // Another program adds a line after l's terms, then the terms
        // manager puts X in front of them. Both end up in the editor and in
        // the file.
        QFile f(l);
        QVERIFY(f.open(QIODevice::Append));
        f.write(("\r\n" + term("Z")).toUtf8());
        f.close();
        dialogs().onModal = [&](QDialog *) {
            auto *w = termsManagerWindow;
            w->show();
            for (int i = 0; i < w->termList->topLevelItemCount(); ++i)
                w->termList->topLevelItem(i)->setSelected(w->termList->topLevelItem(i)->text(1) == "X");
            w->exportCombo->setCurrentText(QStringLiteral("Append to a lesson"));
            dialogs().openAnswers.push_back({l});
            w->exportButtonClicked();
            w->closeButtonClicked();
        };
        mainWindow->termsManagerCommand();
        ed()->saveButtonClicked();
        const QStringList expected{"<ST=u>" + term("X"), "<OR=A!><PI=pA><CH=cA><NO=><TY=w><ST=u>", term("B"),
                                   term("Z")};
        QCOMPARE(linesOf(l), expected);
        QCOMPARE(ed()->termNumber, 2);
        QCOMPARE(ed()->translationText->text(), QStringLiteral("A!"));

        // A second program instance saves l: the editor never writes over
        // it. Kept in the editor, the edit survives the refusal and closing;
        // or it goes to another lesson.
        apptest::writeLesson(l, {"<ST=d>" + term("X"), "<ST=u><OR=A!>", "<ST=u>" + term("B"), "<ST=u>" + term("Z")});
        const QByteArray theirs = apptest::readFile(l);
        ed()->translationText->setText(QStringLiteral("A?"));
        dialogs().messageAnswers = {MsgResult::No, MsgResult::Yes, MsgResult::No};
        ed()->saveButtonClicked();
        QVERIFY(dialogs().lastMessage().startsWith("The lesson file was changed by another program"));
        ed()->closeButtonClicked();
        QVERIFY(ed()->isVisible());
        QVERIFY(ed()->lessonModified);
        QCOMPARE(ed()->translationText->text(), QStringLiteral("A?"));
        QCOMPARE(apptest::readFile(l), theirs);

        const QString mine = path("outside/mine.kvl");
        dialogs().saveAnswers.push_back(mine);
        ed()->saveButtonClicked();
        QCOMPARE(apptest::readFile(l), theirs);
        QCOMPARE(linesOf(mine).at(1), QStringLiteral("<OR=A?><PI=pA><CH=cA><NO=><TY=w><ST=u>"));
        QCOMPARE(ed()->fileName, mine);
    }

    void aLessonSavedAgainUnchangedKeepsItsBytes()
    {
        // Written by the editor, opened, edited again without a change.
        const QString l = path("bytes/l.kvl");
        QDir().mkpath(QFileInfo(l).absolutePath());
        mainWindow->createLessonCommand();
        ed()->onActivate();
        for (const QString &t : {"A", "B"}) {
            ed()->translationText->setText(t);
            ed()->newButtonClicked();
        }
        dialogs().saveAnswers.push_back(l);
        ed()->saveButtonClicked();
        ed()->closeButtonClicked();
        const QByteArray written = apptest::readFile(l);
        open({l});
        editCurrentLesson();
        ed()->closeButtonClicked();
        mainWindow->saveLessonsCommand();
        QCOMPARE(apptest::readFile(l), written);

        // Saved with a mark: the state tag in the look of its line, and no
        // paragraph added; saved again unchanged, the same bytes.
        markDifficult(1);
        mainWindow->saveLessonsCommand();
        RichEdit doc;
        doc.loadFromFile(l);
        QCOMPARE(doc.document()->blockCount(), 2);
        doc.setSel(doc.lineIndex(1), doc.lineIndex(1) + 1);
        const CharAttributes tag = doc.selAttributes();
        doc.setSel(doc.lineIndex(1) + 6, doc.lineIndex(1) + 7);
        QCOMPARE(tag.sizePoints, doc.selAttributes().sizePoints);
        const QByteArray marked = apptest::readFile(l);
        open({l});
        mainWindow->saveLessonsCommand();
        editCurrentLesson();
        ed()->saveButtonClicked();
        ed()->closeButtonClicked();
        QCOMPARE(apptest::readFile(l), marked);
    }

    void aFailedOpenLeavesNothingOfTheClosedLessonOnScreen()
    {
        // The editor closed on a new lesson with no lesson ever open.
        mainWindow->createLessonCommand();
        ed()->onActivate();
        ed()->closeButtonClicked();
        QCOMPARE(mainWindow->termNumberEdit->text(), QStringLiteral("0"));

        const QString a = apptest::writeLesson(path("fail/a.kvl"), {term("A")});
        open({a});
        QCOMPARE(mainWindow->translationText->text(), QStringLiteral("A"));
        open({apptest::writeLesson(path("fail/text.kvl"), {"only a text"})});
        QCOMPARE(mainWindow->lessonLabel->text(), QStringLiteral("NO LESSON LOADED"));
        QCOMPARE(mainWindow->translationText->text(), QString());
        QCOMPARE(mainWindow->charactersText->text(), QString());
        QCOMPARE(mainWindow->termNumberEdit->text(), QStringLiteral("0"));
    }

    void theWorkingFolderDefaultsToOneTheUserMayWrite()
    {
        const QString locked = m_home.filePath(QStringLiteral("program/"));
        QDir().mkpath(locked);
        QVERIFY(childtest::setMode(m_home.path(), 0755) && childtest::setMode(locked, 0555));
        const QString ini = apptest::writeLines(m_home.filePath("ini/kept.ini"), {"[Options]", "Working Directory=/kept/"},
                                                QStringLiteral("\n"));
        QVERIFY(childtest::setMode(m_home.filePath("ini"), 0755) && childtest::setMode(ini, 0644));
        auto workingFolder = [](const QString &program, const QString &iniFile) {
            ProgramPaths::setProgramFolder(program);
            MainSettings s;
            TextDirections d;
            readSettings(IniFile(iniFile), s, d);
            ProgramPaths::setProgramFolder(QString());
            return s.workingDirectory.toUtf8();
        };
        qputenv("HOME", "/home/learner");
        const QByteArray got = childtest::asUnprivilegedUser([&] {
            return workingFolder(locked, "/nonexistent/korvana.ini") + "|" + workingFolder(locked, ini);
        });
        QCOMPARE(got, QByteArray("/home/learner/|/kept/"));
        QCOMPARE(workingFolder(m_home.path(), "/nonexistent/korvana.ini"), (m_home.path() + "/").toUtf8());
    }
};

QTEST_MAIN(TestLessonWindows)
#include "tst_lesson_windows.moc"
