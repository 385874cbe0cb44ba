// The main window's lesson commands: opening lessons through the dialog,
// the messages of opening and saving, sessions saved and reopened, and the
// list of linked files.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "lessons/Sessions.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "reference/TFormAsocFile.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

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

class TestForm1Lessons : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    ScriptedDialogs *dialogs() { return &m_scripted->dialogs; }
    QString path(const QString &name) { return m_home.filePath(QStringLiteral("files/") + name); }

    // Opens the files as picked in the open dialog.
    void pick(const QStringList &files)
    {
        dialogs()->openAnswers.push_back(files);
        Form1->OpenFile(QStringLiteral("lesson"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        CreateForms();
        if (!Form1->lbSoubory)
            Form1->buildLessonControls();
        Form1->FWorkingDirectory = m_home.filePath(QStringLiteral("work")) + QLatin1Char('/');
    }
    void cleanupTestCase() { DestroyForms(); }

    void init() { m_scripted = std::make_unique<ScopedScriptedDialogs>(); }
    void cleanup() { m_scripted.reset(); }

    void pickedLessonsLoadInNameOrderIgnoringCase()
    {
        const QString b = writeLesson(path("order/b.kvl"), {term("from b")});
        const QString a = writeLesson(path("order/A.kvl"), {term("from A"), "<PAR FILE=\"r.txt\" DESCRIPTION=\"Read\">"});
        Form1->FSessionFile = QStringLiteral("/some/session.ses");
        Form1->FNumbersMode = true;
        pick({b, a});

        const FileDialogRequest &req = dialogs()->fileRequests.back();
        QCOMPARE(req.filter, QStringLiteral("Korvana Lessons|*.kvl|All Files|*.*"));
        QVERIFY(req.allowMultiple);
        QCOMPARE(req.initialDir, Form1->FWorkingDirectory);
        QVERIFY(req.fileName.isEmpty());

        QCOMPARE(Form1->FOpenLessons, (QStringList{a, b}));
        QCOMPARE(Form1->reMain.line(0), term("from A"));
        QCOMPARE(Form1->StringGrid1.lesson(1), b);
        QVERIFY(Form1->FSessionFile.isEmpty());
        QVERIFY(!Form1->FNumbersMode);
        QVERIFY(dialogs()->messages.empty());
        // The linked file is listed, selected, with its Open label.
        QCOMPARE(Form1->lbSoubory->count(), 1);
        QCOMPARE(Form1->lbSoubory->item(0)->text(), QStringLiteral("Read"));
        QCOMPARE(Form1->lbSoubory->currentRow(), 0);
        QVERIFY(!Form1->lbSoubory->isHidden());
        QVERIFY(!Form1->lblOpen->isHidden());
        QCOMPARE(Form1->eLineNr->text(), QString::number(Form1->FCurrentIndex));
    }

    void cancelledDialogChangesNothing()
    {
        const QString a = writeLesson(path("cancel/a.kvl"), {term("kept")});
        pick({a});
        dialogs()->openAnswers.clear();
        Form1->OpenFile(QStringLiteral("lesson"));
        QCOMPARE(Form1->FOpenLessons, QStringList{a});
        QCOMPARE(Form1->reMain.line(0), term("kept"));
        // No linked files: the list and its label are hidden.
        QVERIFY(Form1->lbSoubory->isHidden());
        QVERIFY(Form1->lblOpen->isHidden());
    }

    void filesThatFailAreNamedInOneMessage()
    {
        const QString good = writeLesson(path("fail/good.kvl"), {term("one")});
        const QString missing = path("fail/missing.kvl");
        QFile pic(path("fail/photo.jpg"));
        QVERIFY(pic.open(QIODevice::WriteOnly));
        pic.write(QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0", 11));
        pic.close();
        pick({good, missing, pic.fileName()});
        QCOMPARE(dialogs()->messages.size(), size_t(1));
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Some files were not loaded:\n") + missing
                                               + " (no such file or folder)\n" + pic.fileName() + " (not a lesson)\n");
        QCOMPARE(Form1->FOpenLessons.size(), 3);
        QCOMPARE(Form1->FCurrentLesson, good);

        // Saving then leaves the picture alone and says so.
        Form1->SaveLessons();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Some lessons couldn't be saved:\n\n") + missing
                                               + " (did not load)\n" + pic.fileName() + " (did not load)");
        QCOMPARE(readFile(pic.fileName()), QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0", 11));
    }

    void savingLessons()
    {
        Form1->FOpenLessons.clear();
        Form1->SaveLessons();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("No open lessons"));

        const QString a = writeLesson(path("save/a.kvl"), {term("one"), term("two")});
        pick({a});
        Form1->StringGrid1.setCell(TermGrid::TermStatus, 1, QStringLiteral("d"));
        dialogs()->messages.clear();
        Form1->mlSaveLessonClick();
        QVERIFY(dialogs()->messages.empty());
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Lessons saved"));
        QVERIFY(readFile(a).startsWith("{\\rtf"));

        // Changed by another program since: not overwritten, and no "saved".
        writeLesson(a, {term("theirs")});
        Form1->lStatus->clear();
        Form1->SaveLessons();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Some lessons couldn't be saved:\n\n") + a
                                               + " (changed by another program since it was opened)");
        QVERIFY(Form1->lStatus->text() != QStringLiteral("Lessons saved"));
        QCOMPARE(readFile(a), term("theirs").toUtf8());
    }

    void sessionRoundTrip()
    {
        QStringList lessons;
        for (const QString &n : {"s1", "s2", "s3"})
            lessons << writeLesson(path("session/" + n + ".kvl"), {term(n + "a"), term(n + "b")});
        pick(lessons);
        Form1->FCurrentIndex = 5;

        // A name typed without an extension gets ".ses".
        const QString typed = path("session/mine");
        dialogs()->saveAnswers.push_back(typed);
        Form1->mlSaveSessionAsClick();
        const FileDialogRequest &req = dialogs()->fileRequests.back();
        QCOMPARE(req.filter, QStringLiteral("Korvana Sessions|*.ses|All Files|*.*"));
        QCOMPARE(req.initialDir, Form1->FWorkingDirectory);
        QVERIFY(req.overwritePrompt);
        QCOMPARE(Form1->FSessionFile, typed + ".ses");
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Session saved"));
        const QString text = QString::fromUtf8(readFile(typed + ".ses"));
        QVERIFY2(text.contains("[Session]\nPosition=5\n"), qPrintable(text));
        QVERIFY(text.contains("[Lessons]\n0=" + lessons[0] + "\n1=" + lessons[1] + "\n2=" + lessons[2]));

        // Something else opened, then the session again.
        pick({writeLesson(path("session/other.kvl"), {term("other")})});
        QVERIFY(Form1->FSessionFile.isEmpty());
        dialogs()->openAnswers.push_back({typed + ".ses"});
        Form1->mlOpenSessionClick();
        QVERIFY(!dialogs()->fileRequests.back().allowMultiple);
        QCOMPARE(Form1->FSessionFile, typed + ".ses");
        QCOMPARE(Form1->FOpenLessons, lessons);
        QCOMPARE(Form1->FStartIndex, 5);
        QCOMPARE(Form1->reMain.lineCount(), 6);
        QCOMPARE(Form1->reMain.line(4), term("s3a"));
        // Practice goes on at the fifth term.
        QCOMPARE(Form1->FCurrentIndex, 5);
        QCOMPARE(Form1->eLineNr->text(), QStringLiteral("5"));
    }

    void sessionListingALessonTwiceOpensItOnce()
    {
        const QString a = writeLesson(path("twice/a.kvl"), {term("one")});
        const QString ses = path("twice/t.ses");
        writeSession(ses, {a, a}, 1);
        dialogs()->openAnswers.push_back({ses});
        Form1->mlOpenSessionClick();
        QCOMPARE(Form1->FOpenLessons, QStringList{a});
        QCOMPARE(Form1->reMain.lineCount(), 1);
    }

    // A file that is no session (empty, unreadable, without [Lessons]) says
    // so and keeps the open lessons with their marks; a session whose list of
    // lessons is empty opens none.
    void openingSomethingThatIsNoSession()
    {
        const QString a = writeLesson(path("nosession/a.kvl"), {term("one")});
        pick({a});
        Form1->StringGrid1.setCell(TermGrid::TermStatus, 0, QStringLiteral("d"));
        Form1->FSessionFile = QStringLiteral("/kept.ses");
        const QString empty = apptest::writeLines(path("nosession/empty.ses"), {}, "\n");
        const QString text = apptest::writeLines(path("nosession/notes.ses"), {"[Other]", "a=b"}, "\n");
        QDir().mkpath(path("nosession/folder.ses"));
        const QStringList bad{empty, text, path("nosession/folder.ses")};
        const QStringList messages{empty + " is not a session file", text + " is not a session file",
                                   path("nosession/folder.ses") + " cannot be read (is a folder)"};
        for (qsizetype i = 0; i < bad.size(); ++i) {
            dialogs()->openAnswers.push_back({bad[i]});
            Form1->mlOpenSessionClick();
            QCOMPARE(dialogs()->lastMessage(), messages[i]);
            QCOMPARE(Form1->FOpenLessons, QStringList{a});
            QCOMPARE(Form1->StringGrid1.state(0), QStringLiteral("d"));
            QCOMPARE(Form1->FSessionFile, QStringLiteral("/kept.ses"));
        }

        const QString none = apptest::writeLines(path("nosession/none.ses"), {"[Session]", "Position=1", "[Lessons]"}, "\n");
        dialogs()->openAnswers.push_back({none});
        Form1->mlOpenSessionClick();
        QVERIFY(Form1->FOpenLessons.isEmpty());
        QCOMPARE(Form1->reMain.lineCount(), 0);
        QCOMPARE(Form1->FSessionFile, none);
    }

    void saveSessionUnderItsName()
    {
        Form1->FOpenLessons.clear();
        Form1->FSessionFile.clear();
        Form1->mlSaveSessionClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("You must open one or more lessons to save a session"));

        pick({writeLesson(path("named/a.kvl"), {term("one")})});
        // A relative name lives in the working folder.
        Form1->FSessionFile = QStringLiteral("rel.ses");
        Form1->mlSaveSessionClick();
        QCOMPARE(Form1->FSessionFile, Form1->FWorkingDirectory + "rel.ses");
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Session saved"));
        QCOMPARE(readSession(Form1->FSessionFile).lessons, Form1->FOpenLessons);

        // A folder in the way: the session cannot be written.
        QDir().mkpath(path("named/blocked.ses"));
        Form1->FSessionFile = path("named/blocked.ses");
        Form1->mlSaveSessionClick();
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Unable to save session"));
    }

    void editorReopeningKeepsTheSession()
    {
        const QString a = writeLesson(path("temp/a.kvl"), {term("one"), term("two")});
        pick({a});
        Form1->FSessionFile = QStringLiteral("/kept/session.ses");
        Form1->FStartIndex = 2;
        writeLesson(a, {term("edited"), term("two")});
        Form1->OpenFile(QStringLiteral("tempsession"));
        QCOMPARE(Form1->FSessionFile, QStringLiteral("/kept/session.ses"));
        QCOMPARE(Form1->reMain.line(0), term("edited"));
        QVERIFY(TForm1::tempSessionFile().startsWith(m_home.filePath(QStringLiteral("data/korvana/"))));
    }

    void linkedFilesOpenInTheReader()
    {
        const QString reading = writeLesson(path("links/texts/story.txt"), {QStringLiteral("\u6545\u4e8b")});
        const QString a = writeLesson(path("links/a.kvl"), {term("one"), "<PAR FILE=\"texts/story.txt\" DESCRIPTION=\"Story\">",
                                                             "<PAR FILE=\"gone.txt\" DESCRIPTION=\"Gone\">"});
        pick({a});
        QCOMPARE(Form1->lbSoubory->count(), 2);

        // The pointer over an item names its file; over no item clears.
        Form1->lbSoubory->resize(165, 60);
        const QRect first = Form1->lbSoubory->visualItemRect(Form1->lbSoubory->item(0));
        Form1->lbSouboryMouseMove(first.center());
        QCOMPARE(Form1->lStatus->text(), reading);
        Form1->lbSouboryMouseMove(QPoint(5, 58));
        QVERIFY(Form1->lStatus->text().isEmpty());

        // Found beside its lesson, whatever the current folder.
        Form1->lbSoubory->setCurrentRow(0);
        Form1->lbSouboryDblClick();
        QVERIFY(dialogs()->messages.empty());
        QCOMPARE(FormAsocFile->windowTitle(), reading);
        auto *re = FormAsocFile->findChild<RichEdit *>(QStringLiteral("RichEdit1"));
        QVERIFY(re);
        QCOMPARE(re->line(0), QStringLiteral("\u6545\u4e8b"));
        FormAsocFile->hide();

        Form1->lbSoubory->setCurrentRow(1);
        Form1->lbSouboryDblClick();
        QCOMPARE(dialogs()->lastMessage(),
                 QStringLiteral("File ") + QDir::current().absoluteFilePath("gone.txt") + " not found");
    }
};

QTEST_MAIN(TestForm1Lessons)
#include "tst_form1_lessons.moc"
