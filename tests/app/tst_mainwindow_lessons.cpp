// The main window's lesson commands: opening lessons through the dialog,
// the messages of opening and saving, sessions saved and reopened, and the
// list of linked files.
#include "app/HoverLabel.h"
#include "app/LessonFileCommands.h"
#include "app/NumbersDrillRunner.h"
#include "editing/LessonEditorWindow.h"
#include "lessons/Sessions.h"
#include "platform/richtext/RichEdit.h"
#include "reference/ReaderWindow.h"
#include "support/ProgramTestCase.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include <sys/stat.h>

using namespace korvana;

namespace {
QString term(const QString &t)
{
    return QStringLiteral("<OR=%1><PI=p><CH=c><NO=><TY=w>").arg(t);
}

// Lesson files here have LF line ends.
QString writeLesson(const QString &path, const QStringList &lines)
{
    return apptest::writeLines(path, lines, QStringLiteral("\n"));
}

using apptest::readFile;
} // namespace

class TestMainWindowLessons : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.firstActivationDone = false}; }
    QString path(const QString &name) { return homePath(QStringLiteral("files/") + name); }

    // Opens the files as picked in the open dialog.
    void pick(const QStringList &files)
    {
        dialogs().openAnswers.push_back(files);
        mainWindow->lessonFiles().openLessonFiles(OpenMode::Lesson);
    }

    void programStarted() override
    {
        apptest::settings().workingDirectory = homePath(QStringLiteral("work")) + QLatin1Char('/');
    }
    void caseStarting() override { m_program->resetDialogs(); }

private slots:
    void pickedLessonsLoadInNameOrderIgnoringCase()
    {
        const QString b = writeLesson(path("order/b.kvl"), {term("from b")});
        const QString a =
            writeLesson(path("order/A.kvl"), {term("from A"), "<PAR FILE=\"r.txt\" DESCRIPTION=\"Read\">"});
        mainWindow->lessonFiles().setSessionFile(QStringLiteral("/some/session.ses"));
        mainWindow->numbers().drill().on = true;
        pick({b, a});

        const FileDialogRequest &req = dialogs().fileRequests.back();
        QCOMPARE(req.filter, QStringLiteral("Korvana Lessons|*.kvl|All Files|*.*"));
        QVERIFY(req.allowMultiple);
        QCOMPARE(req.initialDir, apptest::settings().workingDirectory);
        QVERIFY(req.fileName.isEmpty());

        QCOMPARE(apptest::store().openLessons, (QStringList{a, b}));
        QCOMPARE(apptest::store().lessonText.line(0), term("from A"));
        QCOMPARE(apptest::store().termTable.lesson(1), b);
        QVERIFY(mainWindow->lessonFiles().sessionFile().isEmpty());
        QVERIFY(!mainWindow->numbers().drill().on);
        QVERIFY(dialogs().messages.empty());
        // The linked file is listed, selected, with its Open label.
        QCOMPARE(apptest::control<QListWidget>("linkedFilesList")->count(), 1);
        QCOMPARE(apptest::control<QListWidget>("linkedFilesList")->item(0)->text(), QStringLiteral("Read"));
        QCOMPARE(apptest::control<QListWidget>("linkedFilesList")->currentRow(), 0);
        QVERIFY(!apptest::control<QListWidget>("linkedFilesList")->isHidden());
        QVERIFY(!apptest::control<QLabel>("openLinkedFileLabel")->isHidden());
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QString::number(apptest::store().currentIndex));
    }

    void cancelledDialogChangesNothing()
    {
        const QString a = writeLesson(path("cancel/a.kvl"), {term("kept")});
        pick({a});
        dialogs().openAnswers.clear();
        mainWindow->lessonFiles().openLessonFiles(OpenMode::Lesson);
        QCOMPARE(apptest::store().openLessons, QStringList{a});
        QCOMPARE(apptest::store().lessonText.line(0), term("kept"));
        // No linked files: the list and its label are hidden.
        QVERIFY(apptest::control<QListWidget>("linkedFilesList")->isHidden());
        QVERIFY(apptest::control<QLabel>("openLinkedFileLabel")->isHidden());
    }

    void filesThatFailAreNamedInOneMessage()
    {
        const QString good = writeLesson(path("fail/good.kvl"), {term("one")});
        const QString missing = path("fail/missing.kvl");
        const QString pic = apptest::writeFile(path("fail/photo.jpg"), QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0", 11));
        pick({good, missing, pic});
        QCOMPARE(dialogs().messages.size(), size_t(1));
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Some files were not loaded:\n") + missing
                                              + " (no such file or folder)\n" + pic + " (not a lesson)\n");
        QCOMPARE(apptest::store().openLessons.size(), 3);
        QCOMPARE(apptest::store().currentLesson, good);

        // Saving then leaves the picture alone and says so.
        mainWindow->lessonFiles().saveLessons();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Some lessons couldn't be saved:\n\n") + missing
                                              + " (did not load)\n" + pic + " (did not load)");
        QCOMPARE(readFile(pic), QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0", 11));
    }

    void theScreenShowsWhatIsOpen()
    {
        // The editor closed on a new lesson with no lesson ever open.
        apptest::store().openLessons.clear();
        apptest::store().startIndex = 0;
        mainWindow->createLessonCommand();
        lessonEditorWindow->close();
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QStringLiteral("0"));

        pick({writeLesson(path("shown/a.kvl"), {term("A")})});
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text(), QStringLiteral("A"));
        pick({writeLesson(path("shown/text.kvl"), {"only a text"})});
        QCOMPARE(apptest::control<HoverLabel>("lessonLabel")->text(), QStringLiteral("NO LESSON LOADED"));
        QCOMPARE(apptest::control<korvana::RichEdit>("translationText")->text()
                     + apptest::control<korvana::RichEdit>("charactersText")->text(),
                 QString());
    }

    void longListsOfFailedFilesAreCut()
    {
        // A session passed around without its lessons: thousands of names.
        QStringList missing;
        for (int i = 0; i < 5000; ++i)
            missing.append(path(QStringLiteral("gone/%1.kvl").arg(i)));
        apptest::store().openLessons = missing;
        apptest::store().startIndex = 1;
        dialogs().messages.clear();
        mainWindow->lessonFiles().openLessonFiles(OpenMode::SessionFiles);
        QCOMPARE(dialogs().messages.size(), size_t(1));
        QString listed;
        for (int i = 0; i < 20; ++i)
            listed += missing[i] + " (no such file or folder)\n";
        QCOMPARE(dialogs().lastMessage(),
                 QStringLiteral("Some files were not loaded:\n") + listed + QStringLiteral("\u2026 and 4980 more\n"));
        mainWindow->lessonFiles().saveLessons();
        QVERIFY(dialogs().lastMessage().startsWith(QStringLiteral("Some lessons couldn't be saved:\n\n") + missing[0]
                                                   + " (did not load)\n"));
        QVERIFY(
            dialogs().lastMessage().endsWith(missing[19] + QStringLiteral(" (did not load)\n\u2026 and 4980 more")));
    }

    void savingLessons()
    {
        apptest::store().openLessons.clear();
        mainWindow->lessonFiles().saveLessons();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("No open lessons"));

        const QString a = writeLesson(path("save/a.kvl"), {term("one"), term("two")});
        pick({a});
        apptest::store().termTable.setCell(TermGrid::TermStatus, 1, QStringLiteral("d"));
        dialogs().messages.clear();
        mainWindow->lessonFiles().saveLessonsCommand();
        QVERIFY(dialogs().messages.empty());
        QCOMPARE(apptest::status(), QStringLiteral("Lessons saved"));
        QVERIFY(readFile(a).startsWith("{\\rtf"));

        // Changed by another program since: not overwritten, and no "saved".
        writeLesson(a, {term("theirs")});
        apptest::control<QLabel>("statusLabel")->clear();
        mainWindow->lessonFiles().saveLessons();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Some lessons couldn't be saved:\n\n") + a
                                              + " (changed by another program since it was opened)");
        QVERIFY(apptest::status() != QStringLiteral("Lessons saved"));
        QCOMPARE(readFile(a), term("theirs").toUtf8());
    }

    void sessionRoundTrip()
    {
        QStringList lessons;
        for (const QString &n : {"s1", "s2", "s3"})
            lessons << writeLesson(path("session/" + n + ".kvl"), {term(n + "a"), term(n + "b")});
        pick(lessons);
        apptest::store().currentIndex = 5;

        // A name typed without an extension gets ".ses".
        const QString typed = path("session/mine");
        dialogs().saveAnswers.push_back(typed);
        mainWindow->lessonFiles().saveSessionAsCommand();
        const FileDialogRequest &req = dialogs().fileRequests.back();
        QCOMPARE(req.filter, QStringLiteral("Korvana Sessions|*.ses|All Files|*.*"));
        QCOMPARE(req.initialDir, apptest::settings().workingDirectory);
        QVERIFY(req.overwritePrompt);
        QCOMPARE(mainWindow->lessonFiles().sessionFile(), typed + ".ses");
        QCOMPARE(apptest::status(), QStringLiteral("Session saved"));
        const QString text = QString::fromUtf8(readFile(typed + ".ses"));
        QVERIFY2(text.contains("[Session]\nPosition=5\n"), qPrintable(text));
        QVERIFY(text.contains("[Lessons]\n0=" + lessons[0] + "\n1=" + lessons[1] + "\n2=" + lessons[2]));

        // Something else opened, then the session again.
        pick({writeLesson(path("session/other.kvl"), {term("other")})});
        QVERIFY(mainWindow->lessonFiles().sessionFile().isEmpty());
        dialogs().openAnswers.push_back({typed + ".ses"});
        mainWindow->lessonFiles().openSessionCommand();
        QVERIFY(!dialogs().fileRequests.back().allowMultiple);
        QCOMPARE(mainWindow->lessonFiles().sessionFile(), typed + ".ses");
        QCOMPARE(apptest::store().openLessons, lessons);
        QCOMPARE(apptest::store().startIndex, 5);
        QCOMPARE(apptest::store().lessonText.lineCount(), 6);
        QCOMPARE(apptest::store().lessonText.line(4), term("s3a"));
        // Practice goes on at the fifth term.
        QCOMPARE(apptest::store().currentIndex, 5);
        QCOMPARE(apptest::control<QLineEdit>("termNumberEdit")->text(), QStringLiteral("5"));
    }

    void sessionListingALessonTwiceOpensItOnce()
    {
        const QString a = writeLesson(path("twice/a.kvl"), {term("one")});
        const QString ses = path("twice/t.ses");
        writeSession(ses, {a, a}, 1);
        dialogs().openAnswers.push_back({ses});
        mainWindow->lessonFiles().openSessionCommand();
        QCOMPARE(apptest::store().openLessons, QStringList{a});
        QCOMPARE(apptest::store().lessonText.lineCount(), 1);
    }

    // A file that is no session (empty, unreadable, without [Lessons]) says
    // so and keeps the open lessons with their marks; a session whose list of
    // lessons is empty opens none.
    void openingSomethingThatIsNoSession()
    {
        const QString a = writeLesson(path("nosession/a.kvl"), {term("one")});
        pick({a});
        apptest::store().termTable.setCell(TermGrid::TermStatus, 0, QStringLiteral("d"));
        mainWindow->lessonFiles().setSessionFile(QStringLiteral("/kept.ses"));
        const QString empty = apptest::writeLines(path("nosession/empty.ses"), {}, "\n");
        const QString text = apptest::writeLines(path("nosession/notes.ses"), {"[Other]", "a=b"}, "\n");
        QDir().mkpath(path("nosession/folder.ses"));
        const QStringList bad{empty, text, path("nosession/folder.ses")};
        const QStringList messages{empty + " is not a session file", text + " is not a session file",
                                   path("nosession/folder.ses") + " cannot be read (is a folder)"};
        for (qsizetype i = 0; i < bad.size(); ++i) {
            dialogs().openAnswers.push_back({bad[i]});
            mainWindow->lessonFiles().openSessionCommand();
            QCOMPARE(dialogs().lastMessage(), messages[i]);
            QCOMPARE(apptest::store().openLessons, QStringList{a});
            QCOMPARE(apptest::store().termTable.state(0), QStringLiteral("d"));
            QCOMPARE(mainWindow->lessonFiles().sessionFile(), QStringLiteral("/kept.ses"));
        }

        const QString none =
            apptest::writeLines(path("nosession/none.ses"), {"[Session]", "Position=1", "[Lessons]"}, "\n");
        dialogs().openAnswers.push_back({none});
        mainWindow->lessonFiles().openSessionCommand();
        QVERIFY(apptest::store().openLessons.isEmpty());
        QCOMPARE(apptest::store().lessonText.lineCount(), 0);
        QCOMPARE(mainWindow->lessonFiles().sessionFile(), none);
    }

    void saveSessionUnderItsName()
    {
        apptest::store().openLessons.clear();
        mainWindow->lessonFiles().setSessionFile({});
        mainWindow->lessonFiles().saveSessionCommand();
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("You must open one or more lessons to save a session"));

        pick({writeLesson(path("named/a.kvl"), {term("one")})});
        // A relative name lives in the working folder.
        mainWindow->lessonFiles().setSessionFile(QStringLiteral("rel.ses"));
        mainWindow->lessonFiles().saveSessionCommand();
        QCOMPARE(mainWindow->lessonFiles().sessionFile(), apptest::settings().workingDirectory + "rel.ses");
        QCOMPARE(apptest::status(), QStringLiteral("Session saved"));
        QCOMPARE(readSession(mainWindow->lessonFiles().sessionFile()).lessons, apptest::store().openLessons);

        // A folder in the way: the session cannot be written.
        QDir().mkpath(path("named/blocked.ses"));
        mainWindow->lessonFiles().setSessionFile(path("named/blocked.ses"));
        mainWindow->lessonFiles().saveSessionCommand();
        QCOMPARE(apptest::status(), QStringLiteral("Unable to save session"));
    }

    void editorReopeningKeepsTheSession()
    {
        const QString a = writeLesson(path("temp/a.kvl"), {term("one"), term("two")});
        pick({a});
        mainWindow->lessonFiles().setSessionFile(QStringLiteral("/kept/session.ses"));
        apptest::store().startIndex = 2;
        writeLesson(a, {term("edited"), term("two")});
        mainWindow->lessonFiles().openLessonFiles(OpenMode::TempSession);
        QCOMPARE(mainWindow->lessonFiles().sessionFile(), QStringLiteral("/kept/session.ses"));
        QCOMPARE(apptest::store().lessonText.line(0), term("edited"));
        QVERIFY(LessonFileCommands::tempSessionFile().startsWith(homePath(QStringLiteral("data/korvana/"))));
    }

    void windowKeepsItsSizeWhateverItShows()
    {
        mainWindow->show();
        QCoreApplication::processEvents();
        const QSize designed = mainWindow->size();
        const QRect readButton = apptest::control<QPushButton>("readButton")->geometry();
        auto same = [&] {
            QCoreApplication::processEvents();
            return mainWindow->size() == designed
                   && apptest::control<QPushButton>("readButton")->geometry() == readButton;
        };
        // A lesson with linked reading files, then one without.
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many << term(QString::number(i));
        pick({writeLesson(path("shape/linked.kvl"), many + QStringList{"<PAR FILE=\"r.txt\" DESCRIPTION=\"Read\">"})});
        QVERIFY(apptest::control<QListWidget>("linkedFilesList")->isVisible());
        QVERIFY(same());
        pick({writeLesson(path("shape/plain.kvl"), {term("one")})});
        QVERIFY(!apptest::control<QListWidget>("linkedFilesList")->isVisible());
        QVERIFY(same());
        // Counts and status texts of any length, the Read button hidden (no
        // Mandarin voice).
        apptest::control<QLabel>("countLabel")
            ->setText(QStringLiteral("Words 123456:654321  Phrases 123456:654321 ").repeated(4));
        mainWindow->showStatus(QStringLiteral("A status text far longer than the window is wide. ").repeated(10));
        apptest::control<QPushButton>("readButton")->hide();
        QVERIFY(same());
        apptest::control<QPushButton>("readButton")->show();
    }

    void linkedFilesOpenInTheReader()
    {
        const QString reading = writeLesson(path("links/texts/story.txt"), {QStringLiteral("\u6545\u4e8b")});
        const QString a =
            writeLesson(path("links/a.kvl"), {term("one"), "<PAR FILE=\"texts/story.txt\" DESCRIPTION=\"Story\">",
                                              "<PAR FILE=\"gone.txt\" DESCRIPTION=\"Gone\">",
                                              "<PAR FILE=\"pipe.txt\" DESCRIPTION=\"Pipe\">"});
        const QString pipe = path("links/pipe.txt");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        pick({a});
        QCOMPARE(apptest::control<QListWidget>("linkedFilesList")->count(), 3);

        // The pointer over an item names its file; over no item clears.
        apptest::control<QListWidget>("linkedFilesList")->resize(165, 60);
        const QRect first = apptest::control<QListWidget>("linkedFilesList")
                                ->visualItemRect(apptest::control<QListWidget>("linkedFilesList")->item(0));
        mainWindow->lessonFiles().linkedFilesListMouseMoved(first.center());
        QCOMPARE(apptest::status(), reading);
        mainWindow->lessonFiles().linkedFilesListMouseMoved(QPoint(5, 58));
        QVERIFY(apptest::status().isEmpty());

        // Found beside its lesson, whatever the current folder.
        apptest::control<QListWidget>("linkedFilesList")->setCurrentRow(0);
        mainWindow->lessonFiles().linkedFilesListDoubleClicked();
        QVERIFY(dialogs().messages.empty());
        QCOMPARE(readerWindow->windowTitle(), reading);
        auto *re = readerWindow->findChild<RichEdit *>(QStringLiteral("fileText"));
        QVERIFY(re);
        QCOMPARE(re->line(0), QStringLiteral("\u6545\u4e8b"));
        readerWindow->hide();

        apptest::control<QListWidget>("linkedFilesList")->setCurrentRow(1);
        mainWindow->lessonFiles().linkedFilesListDoubleClicked();
        QCOMPARE(dialogs().lastMessage(),
                 QStringLiteral("File ") + QDir::current().absoluteFilePath("gone.txt") + " not found");
        // A pipe is there, but it is no file to read.
        apptest::control<QListWidget>("linkedFilesList")->setCurrentRow(2);
        mainWindow->lessonFiles().linkedFilesListDoubleClicked();
        QCOMPARE(dialogs().lastMessage(),
                 QStringLiteral("Cannot open ") + pipe + QStringLiteral(": not a regular file"));
    }
};

QTEST_MAIN(TestMainWindowLessons)
#include "tst_mainwindow_lessons.moc"
