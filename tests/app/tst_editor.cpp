// The lesson editor: loading a lesson with its links, showing and moving
// between terms (browsing changes nothing), new and deleted terms, putting
// terms back with what the editor does not edit, refused tag text, writing
// the lesson file (also when the write fails part-way), the link commands,
// closing by "close" and by the title bar, and the main window's commands
// that open the editor.
#include "AppTestSupport.h"
#include "support/ChildProcess.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "editing/TFormAssociateRTF.h"
#include "editing/TFormEditor.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using namespace korvana;

namespace {
QString term(const QString &t, const QString &type = QStringLiteral("w"), const QString &rest = QString())
{
    return QStringLiteral("<OR=%1><PI=p%1><CH=c%1><NO=n%1><TY=%2>%3").arg(t, type, rest);
}

// Lesson files here have LF line ends.
QString writeLesson(const QString &path, const QStringList &lines)
{
    return apptest::writeLines(path, lines, QStringLiteral("\n"));
}

using apptest::readFile;

// The lines of a lesson file as the program reads them.
QStringList linesOf(const QString &path)
{
    RichEdit doc;
    doc.loadFromFile(path);
    QStringList lines;
    for (int i = 0; i < doc.lineCount(); ++i)
        lines << doc.line(i);
    return lines;
}

QString plainLine(RichEdit *e, int i) { return e->line(i); }

// Attributes of the characters [from, from + 1) of an edit.
CharAttributes charAt(RichEdit *e, int from)
{
    e->setSelStart(from);
    e->setSelLength(1);
    return e->selAttributes();
}
} // namespace

class TestEditor : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    ScriptedDialogs *dialogs() { return &m_scripted->dialogs; }
    QString path(const QString &name) { return m_home.filePath(QStringLiteral("files/") + name); }
    TFormEditor *ed() { return FormEditor; }

    // Shows the editor on a lesson file (empty name: a new lesson) as the
    // main window's commands leave it, and activates it.
    void edit(const QString &file)
    {
        ed()->FFileName = file;
        ed()->reLes->clear();
        ed()->setWindowTitle(file.isEmpty() ? QStringLiteral("New Lesson") : file);
        Form1->FEditorLoadPending = true;
        ed()->FormActivate();
    }

    void type(RichEdit *field, const QString &text) { field->setText(text); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        CreateForms();
        if (!Form1->lbSoubory)
            Form1->buildLessonControls();
        Form1->FWorkingDirectory = m_home.filePath(QStringLiteral("work")) + QLatin1Char('/');
        Form1->FFontsizeTranslation = 11;
        Form1->FFontsizePinyin = 12;
        Form1->FFontsizeKanji = 24;
        Form1->FFontsizeNotes = 10;
    }
    void cleanupTestCase() { DestroyForms(); }

    void init() { m_scripted = std::make_unique<ScopedScriptedDialogs>(); }
    void cleanup()
    {
        ed()->hide();
        m_scripted.reset();
    }

    void loadingTakesOutLinksAndBlankLinesAndShowsTheFirstTerm()
    {
        const QString f = writeLesson(path("load/a.kvl"),
                                      {term("A", "w", "<ST=d><SN=声音 1.mp3><GR=a.jpg>"), "   ",
                                       "<PAR FILE=\"a.rtf\" DESCRIPTION=\"first\">", term("B", "p"),
                                       "  <par file=\"b.rtf\" description=\"second\">", "",
                                       "<PAR FILE=\"\" DESCRIPTION=\"dropped\">", term("C", "x")});
        edit(f);
        QCOMPARE(ed()->reLes->lineCount(), 3);
        QCOMPARE(plainLine(ed()->reLes, 1), term("B", "p"));
        QCOMPARE(ed()->FLinkFiles, (QStringList{"a.rtf", "b.rtf"}));
        QCOMPARE(ed()->lbLink->count(), 2);
        QCOMPARE(ed()->lbLink->item(1)->text(), QStringLiteral("second"));

        QCOMPARE(ed()->FTermNumber, 1);
        QCOMPARE(ed()->eNr->text(), QStringLiteral("1"));
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("A"));
        QCOMPARE(ed()->reEdPin->text(), QStringLiteral("pA"));
        QCOMPARE(ed()->reEdChin->text(), QStringLiteral("cA"));
        QCOMPARE(ed()->reEdNote->text(), QStringLiteral("nA"));
        QVERIFY(ed()->rbWord->isChecked());
        QVERIFY(ed()->rbDifficult->isChecked());
        QCOMPARE(ed()->edSound->text(), QStringLiteral("声音 1.mp3"));
        QCOMPARE(ed()->edPicture->text(), QStringLiteral("a.jpg"));
        // Showing the term is no change of the lesson.
        QVERIFY(!ed()->FLessonModified);
        QVERIFY(!ed()->FTermModified);
        QVERIFY(!Form1->FEditorLoadPending);
        QVERIFY(!ed()->bPrevious->isEnabled());
        QVERIFY(ed()->bNext->isEnabled());
        QVERIFY(ed()->bDelete->isEnabled());

        // Back to the editor from another window: nothing is reloaded.
        type(ed()->reEdOrig, QStringLiteral("edited"));
        ed()->FormActivate();
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("edited"));
        QVERIFY(ed()->FTermModified);
        QVERIFY(ed()->FLessonModified);
    }

    void typeStateAndSizesAreReadFromTheLine()
    {
        // A line without a type tag is a word, as the practice window reads it.
        const QString f = writeLesson(path("show/a.kvl"),
                                      {"<OR=A><PI=pA><CH=cA><NO=nA>", term("B", "p", "<ST=zz>"),
                                       "<ST=l><OR=C><PI=><CH=c><NO=><TY=w><ST=d>"});
        edit(f);
        QVERIFY(ed()->rbWord->isChecked());
        QVERIFY(ed()->rbUnlearned->isChecked());
        ed()->bNextClick();
        QVERIFY(ed()->rbPhrase->isChecked());
        QVERIFY(ed()->rbUnlearned->isChecked());
        // The first state tag counts.
        ed()->bNextClick();
        QVERIFY(ed()->rbLearned->isChecked());
        QVERIFY(ed()->reEdPin->text().isEmpty());
        QVERIFY(ed()->edSound->text().isEmpty());
        QCOMPARE(ed()->reEdChin->text(), QStringLiteral("c"));
        QCOMPARE(charAt(ed()->reEdChin, 0).sizePoints, 24.0);
        QVERIFY(!ed()->bNext->isEnabled());
    }

    void storedSizeGivesWayToTheFieldSize()
    {
        RichEdit src;
        src.setText(term("big"));
        src.setSel(0, -1);
        src.setSelSize(30);
        const QString f = path("show/sized.kvl");
        QDir().mkpath(QFileInfo(f).absolutePath());
        src.saveToFile(f);
        edit(f);
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("big"));
        QCOMPARE(charAt(ed()->reEdOrig, 0).sizePoints, 11.0);
        QCOMPARE(charAt(ed()->reEdPin, 0).sizePoints, 12.0);
        QCOMPARE(charAt(ed()->reEdNote, 0).sizePoints, 10.0);
    }

    void movingPutsEditedTermsBack()
    {
        const QString f = writeLesson(path("move/a.kvl"), {term("A"), term("B", "p"), term("C")});
        edit(f);
        ed()->bPreviousClick(); // at the first term: nothing
        QCOMPARE(ed()->FTermNumber, 1);
        ed()->bNextClick();
        type(ed()->reEdOrig, QStringLiteral("changed"));
        ed()->rbLearned->setChecked(true);
        ed()->edSound->setText(QStringLiteral("  s.wav  "));
        ed()->bNextClick();
        QCOMPARE(plainLine(ed()->reLes, 1), QStringLiteral("<OR=changed><PI=pB><CH=cB><NO=nB><TY=p><ST=l><SN=s.wav>"));
        QCOMPARE(plainLine(ed()->reLes, 0), term("A"));
        QCOMPARE(plainLine(ed()->reLes, 2), term("C"));
        QCOMPARE(ed()->reLes->lineCount(), 3);
        ed()->bNextClick(); // at the last term: nothing
        QCOMPARE(ed()->FTermNumber, 3);

        // Closing after edits asks; Cancel keeps the editor open.
        ed()->show();
        dialogs()->messageAnswers.push_back(MsgResult::Cancel);
        ed()->bCloseClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Lesson was modified, save?"));
        QCOMPARE(dialogs()->messages.back().buttons, MsgButtons::YesNoCancel);
        QVERIFY(ed()->isVisible());
        QCOMPARE(linesOf(f), (QStringList{term("A"), term("B", "p"), term("C")}));
    }

    void browsingRewritesNothingAndAnEditKeepsWhatItDoesNotEdit()
    {
        const QStringList lesson = {"<OR=A><PI=pA><CH=cA><NO=nA>", term("B", "x", "<NR=5> trailing text"),
                                    "<ST=d>" + term("C", "p", "<ST=d>")};
        const QString f = writeLesson(path("browse/a.kvl"), lesson);
        const QByteArray bytes = readFile(f);
        Form1->FOpenLessons.clear();
        edit(f);
        ed()->show();
        ed()->bNextClick();
        ed()->bNextClick();
        ed()->eNr->setText(QStringLiteral("1"));
        ed()->lblGoClick();
        ed()->bNextClick();
        ed()->bPreviousClick();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(plainLine(ed()->reLes, i), lesson.at(i));
        ed()->bCloseClick();
        QVERIFY(!ed()->isVisible());
        QVERIFY(dialogs()->messages.empty()); // nothing changed, nothing asked
        QCOMPARE(readFile(f), bytes);

        // An edited line keeps its type as the practice window reads it, and
        // everything in it that the editor does not edit.
        edit(f);
        type(ed()->reEdOrig, QStringLiteral("A2"));
        ed()->bNextClick();
        QVERIFY(ed()->rbWord->isChecked()); // "x" is no phrase
        type(ed()->reEdNote, QStringLiteral("nB2"));
        ed()->bNextClick();
        ed()->rbLearned->setChecked(true);
        ed()->bSaveClick();
        QCOMPARE(linesOf(f), (QStringList{"<OR=A2><PI=pA><CH=cA><NO=nA><TY=w><ST=u>",
                                          "<OR=B><PI=pB><CH=cB><NO=nB2><TY=x><ST=u><NR=5> trailing text",
                                          "<OR=C><PI=pC><CH=cC><NO=nC><TY=p><ST=l>"}));
    }

    void aChangeOfStateOrTypeAloneIsAChange()
    {
        const QString f = writeLesson(path("state/a.kvl"), {term("A"), term("B")});
        Form1->FOpenLessons.clear();
        edit(f);
        ed()->show();
        ed()->rbDifficult->setChecked(true);
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->bCloseClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Lesson was modified, save?"));
        QCOMPARE(linesOf(f).value(0), QStringLiteral("<OR=A><PI=pA><CH=cA><NO=nA><TY=w><ST=d>"));

        edit(f);
        ed()->show();
        ed()->bNextClick();
        ed()->rbPhrase->setChecked(true);
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->bCloseClick();
        QCOMPARE(dialogs()->messages.size(), size_t(2));
        QCOMPARE(linesOf(f).value(1), QStringLiteral("<OR=B><PI=pB><CH=cB><NO=nB><TY=p><ST=u>"));
    }

    void tagTextIsRefusedInTheFields()
    {
        const QString f = writeLesson(path("tags/a.kvl"), {term("A")});
        edit(f);
        type(ed()->reEdOrig, QString());
        ed()->reEdOrigView->setFocus();
        QTest::keyClicks(ed()->reEdOrigView, QStringLiteral("a > b"));
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("a  b"));
        QCOMPARE(dialogs()->lastMessage(),
                 QStringLiteral("A term cannot hold \">\" or tag text such as \"<ST=\"; it was left out."));
        type(ed()->reEdNote, QStringLiteral("see <ST=l>"));
        QCOMPARE(ed()->reEdNote->text(), QStringLiteral("see <STl"));
        ed()->edSound->setText(QStringLiteral("a<sn=b>.mp3"));
        QCOMPARE(ed()->edSound->text(), QStringLiteral("a<snb.mp3"));
        QCOMPARE(dialogs()->messages.size(), size_t(3));
        QVERIFY(ed()->SaveLesson());

        // The line reads back as it was written.
        edit(f);
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("a  b"));
        QCOMPARE(ed()->reEdNote->text(), QStringLiteral("see <STl"));
        QCOMPARE(ed()->edSound->text(), QStringLiteral("a<snb.mp3"));
        QVERIFY(ed()->rbUnlearned->isChecked());
    }

    void emptyTermsAreNotWritten()
    {
        // A new lesson saved untouched holds no term.
        edit(QString());
        const QString target = path("empty/new.kvl");
        QDir().mkpath(QFileInfo(target).absolutePath());
        dialogs()->saveAnswers.push_back(target);
        ed()->bSaveClick();
        QVERIFY(QFile::exists(target));
        QCOMPARE(linesOf(target), QStringList());

        // "new", a state and "save": no empty term is added.
        const QString f = writeLesson(path("empty/a.kvl"), {term("A"), term("B")});
        edit(f);
        ed()->bNewClick();
        ed()->rbDifficult->setChecked(true);
        ed()->bSaveClick();
        QCOMPARE(linesOf(f), (QStringList{term("A"), term("B")}));

        // A term whose every field the user empties leaves the lesson.
        ed()->eNr->setText(QStringLiteral("1"));
        ed()->lblGoClick();
        for (RichEdit *field : {ed()->reEdOrig, ed()->reEdPin, ed()->reEdChin, ed()->reEdNote})
            type(field, QString());
        ed()->bNextClick();
        QCOMPARE(ed()->reLes->lineCount(), 1);
        QCOMPARE(ed()->FTermNumber, 1);
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("B"));
    }

    void fieldsAreWrittenAtOneSize()
    {
        // Typed into a new lesson, and edited after being shown at the
        // fields' own sizes (11, 12, 24, 10): always the translation's size.
        auto sizes = [this] {
            const QString line = plainLine(ed()->reLes, 0);
            QList<double> out;
            for (const char *tag : {"<OR=", "<PI=", "<CH=", "<NO="})
                out << charAt(ed()->reLes, int(line.indexOf(QLatin1String(tag))) + 4).sizePoints;
            return out;
        };
        edit(QString());
        for (RichEdit *field : {ed()->reEdOrig, ed()->reEdPin, ed()->reEdChin, ed()->reEdNote})
            type(field, QStringLiteral("x"));
        ed()->bNewClick();
        QCOMPARE(sizes(), (QList<double>{11, 11, 11, 11}));
        ed()->bPreviousClick();
        ed()->reEdOrigView->setFocus();
        QTest::keyClicks(ed()->reEdOrigView, QStringLiteral("y"));
        ed()->bNewClick();
        QCOMPARE(plainLine(ed()->reLes, 0), QStringLiteral("<OR=yx><PI=x><CH=x><NO=x><TY=w><ST=u>"));
        QCOMPARE(sizes(), (QList<double>{11, 11, 11, 11}));
    }

    void dialogsStartInTheLessonsFolderOrTheWorkingFolder()
    {
        const QString f = writeLesson(path("dirs/a.kvl"), {term("A")});
        edit(f);
        ed()->SpeedButton1Click();
        ed()->SpeedButton2Click();
        ed()->bOpenLinkClick();
        QCOMPARE(dialogs()->fileRequests.size(), size_t(3));
        for (const FileDialogRequest &r : dialogs()->fileRequests)
            QCOMPARE(r.initialDir, QFileInfo(f).absolutePath() + QLatin1Char('/'));
        edit(QString());
        ed()->SpeedButton1Click();
        type(ed()->reEdOrig, QStringLiteral("new"));
        ed()->bSaveClick();
        QCOMPARE(dialogs()->fileRequests.size(), size_t(5));
        QCOMPARE(dialogs()->fileRequests.at(3).initialDir, Form1->FWorkingDirectory);
        QCOMPARE(dialogs()->fileRequests.at(4).initialDir, Form1->FWorkingDirectory);
    }

    void goToNumberJumpsOnlyToExistingTermsAndKeepsEdits()
    {
        const QString f = writeLesson(path("go/a.kvl"), {term("A"), term("B"), term("C")});
        edit(f);
        for (const char *bad : {"0", "-1", "4", "abc", ""}) {
            ed()->eNr->setText(QString::fromLatin1(bad));
            ed()->lblGoClick();
            QCOMPARE(ed()->FTermNumber, 1);
            QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("A"));
        }
        type(ed()->reEdOrig, QStringLiteral("A2"));
        ed()->eNr->setText(QStringLiteral(" 3"));
        emit ed()->eNr->returnPressed();
        QCOMPARE(ed()->FTermNumber, 3);
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("C"));
        // The term left keeps its edit; the term jumped to is untouched.
        QCOMPARE(plainLine(ed()->reLes, 0), QStringLiteral("<OR=A2><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
        QCOMPARE(plainLine(ed()->reLes, 2), term("C"));
    }

    void newTermKeepsTypeAndStateAndBecomesTheLastLine()
    {
        const QString f = writeLesson(path("new/a.kvl"), {term("A", "p", "<ST=d>"), term("B", "p", "<ST=d>")});
        edit(f);
        ed()->bNewClick();
        QCOMPARE(ed()->FTermNumber, 3);
        QCOMPARE(ed()->eNr->text(), QStringLiteral("3"));
        QVERIFY(ed()->reEdOrig->text().isEmpty());
        QVERIFY(ed()->edSound->text().isEmpty());
        QVERIFY(ed()->rbPhrase->isChecked());
        QVERIFY(ed()->rbDifficult->isChecked());
        QVERIFY(!ed()->bNext->isEnabled());
        QVERIFY(ed()->bPrevious->isEnabled());
        type(ed()->reEdOrig, QStringLiteral("C"));
        ed()->bPreviousClick();
        QCOMPARE(ed()->reLes->lineCount(), 3);
        QCOMPARE(plainLine(ed()->reLes, 2), QStringLiteral("<OR=C><PI=><CH=><NO=><TY=p><ST=d>"));
        QCOMPARE(ed()->FTermNumber, 2);
        ed()->bNextClick();
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("C"));
    }

    void deletingAsksAndNeverEmptiesTheLesson()
    {
        const QString f = writeLesson(path("del/a.kvl"), {term("A"), term("B")});
        edit(f);
        ed()->bNextClick();
        ed()->FLessonModified = false;
        dialogs()->messageAnswers.push_back(MsgResult::No);
        ed()->bDeleteClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Delete term?"));
        QCOMPARE(ed()->reLes->lineCount(), 2);
        QVERIFY(!ed()->FLessonModified);

        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->bDeleteClick();
        QCOMPARE(ed()->reLes->lineCount(), 1);
        QCOMPARE(ed()->FTermNumber, 1);
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("A"));
        QVERIFY(ed()->FLessonModified);
        QVERIFY(!ed()->bDelete->isEnabled());
        QVERIFY(!ed()->bNext->isEnabled());

        // A started term is dropped without touching the lesson's lines.
        ed()->bNewClick();
        QVERIFY(ed()->bDelete->isEnabled());
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->bDeleteClick();
        QCOMPARE(ed()->reLes->lineCount(), 1);
        QCOMPARE(ed()->FTermNumber, 1);
        // Term A was only shown after the first deletion: it is not rewritten.
        QCOMPARE(plainLine(ed()->reLes, 0), term("A"));
    }

    void builtLineHasTagsInOrderWithColouredPieces()
    {
        edit(QString());
        ed()->rbWord->setChecked(true);
        ed()->rbUnlearned->setChecked(true);
        ed()->edSound->setText(QStringLiteral("   "));
        ed()->edPicture->setText(QStringLiteral(" p.jpg "));
        ed()->AppendCurrentTerm();
        const QString line = QStringLiteral("<OR=><PI=><CH=><NO=><TY=w><ST=u><GR=p.jpg>");
        QCOMPARE(plainLine(ed()->reLine, 0), line);
        QCOMPARE(ed()->reLine->lineCount(), 1);
        QCOMPARE(charAt(ed()->reLine, 0).color, QColor(0, 0, 0));             // "<"
        QCOMPARE(charAt(ed()->reLine, 1).color, QColor(255, 0, 0));           // "OR"
        QCOMPARE(charAt(ed()->reLine, line.indexOf("TY")).color, QColor(0, 0, 255));
        QCOMPARE(charAt(ed()->reLine, line.indexOf("ST")).color, QColor(0, 128, 0));
        QCOMPARE(charAt(ed()->reLine, line.indexOf("GR")).color, QColor(128, 128, 128));
        QCOMPARE(charAt(ed()->reLine, 1).fontName, QStringLiteral("Times New Roman"));

        // With no state button checked no state is written.
        for (QRadioButton *b : {ed()->rbLearned, ed()->rbUnlearned, ed()->rbDifficult}) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
        ed()->rbPhrase->setChecked(true);
        ed()->edPicture->clear();
        ed()->AppendCurrentTerm();
        QCOMPARE(plainLine(ed()->reLine, 0), QStringLiteral("<OR=><PI=><CH=><NO=><TY=p>"));

        // A field is one line: Return typed into it adds no line end, and
        // a field that holds two lines all the same is written on one.
        ed()->reEdNoteView->setFocus();
        QTest::keyClicks(ed()->reEdNoteView, QStringLiteral("ab"));
        QTest::keyClick(ed()->reEdNoteView, Qt::Key_Return);
        QTest::keyClicks(ed()->reEdNoteView, QStringLiteral("c"));
        QCOMPARE(ed()->reEdNote->lineCount(), 1);
        type(ed()->reEdOrig, QStringLiteral("x\ny"));
        ed()->AppendCurrentTerm();
        QCOMPARE(ed()->reLine->lineCount(), 1);
        QVERIFY(plainLine(ed()->reLine, 0).startsWith(QStringLiteral("<OR=x y><PI=><CH=><NO=abc><TY=p>")));
    }

    void formattingSurvivesAndCharactersAreStoredAtTranslationSize()
    {
        edit(QString());
        type(ed()->reEdOrig, QStringLiteral("redblue"));
        ed()->reEdOrig->setSel(0, 3);
        ed()->reEdOrig->setSelColor(QColor(255, 0, 0));
        ed()->reEdOrig->setSel(3, 7);
        ed()->reEdOrig->setSelColor(QColor(0, 0, 255));
        ed()->reEdOrig->setSelFontName(QStringLiteral("Courier New"));
        type(ed()->reEdChin, QStringLiteral("你好"));
        ed()->reEdChin->setSel(0, -1);
        ed()->reEdChin->setSelSize(24);
        ed()->SaveTerm();
        QCOMPARE(plainLine(ed()->reLes, 0), QStringLiteral("<OR=redblue><PI=><CH=你好><NO=><TY=w><ST=u>"));
        const int ch = plainLine(ed()->reLes, 0).indexOf(QStringLiteral("你"));
        QCOMPARE(charAt(ed()->reLes, ch).sizePoints, 11.0);
        // The field itself is back at the characters' size.
        QCOMPARE(charAt(ed()->reEdChin, 0).sizePoints, 24.0);

        ed()->bNewClick();
        ed()->bPreviousClick();
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("redblue"));
        QCOMPARE(charAt(ed()->reEdOrig, 0).color, QColor(255, 0, 0));
        QCOMPARE(charAt(ed()->reEdOrig, 4).color, QColor(0, 0, 255));
        QCOMPARE(charAt(ed()->reEdOrig, 4).fontName, QStringLiteral("Courier New"));
        QCOMPARE(charAt(ed()->reEdOrig, 4).sizePoints, 11.0);
        QCOMPARE(charAt(ed()->reEdChin, 1).sizePoints, 24.0);
    }

    void newLessonIsSavedThroughTheDialog()
    {
        edit(QString());
        QCOMPARE(ed()->reLes->lineCount(), 0);
        QCOMPARE(ed()->FTermNumber, 1);
        QVERIFY(ed()->rbWord->isChecked());
        QVERIFY(ed()->rbUnlearned->isChecked());
        QVERIFY(!ed()->bPrevious->isEnabled());
        QVERIFY(!ed()->bNext->isEnabled());
        QVERIFY(!ed()->bDelete->isEnabled());
        type(ed()->reEdOrig, QStringLiteral("hello"));

        // Cancelled: nothing written, still a new lesson.
        QVERIFY(!ed()->SaveLesson());
        QCOMPARE(dialogs()->fileRequests.back().filter, QStringLiteral("Korvana Files|*.kvl|All Files|*.*"));
        QCOMPARE(dialogs()->fileRequests.back().defaultExt, QStringLiteral("kvl"));
        QCOMPARE(ed()->windowTitle(), QStringLiteral("New Lesson"));
        QVERIFY(ed()->FFileName.isEmpty());
        QVERIFY(ed()->FLessonModified);

        const QString target = path("saved/new");
        QDir().mkpath(QFileInfo(target).absolutePath());
        dialogs()->saveAnswers.push_back(target);
        ed()->bSaveClick();
        QCOMPARE(ed()->FFileName, target + QStringLiteral(".kvl"));
        QCOMPARE(ed()->windowTitle(), ed()->FFileName);
        QVERIFY(!ed()->FLessonModified);
        QVERIFY(!ed()->FTermModified);
        QCOMPARE(linesOf(ed()->FFileName), QStringList{QStringLiteral("<OR=hello><PI=><CH=><NO=><TY=w><ST=u>")});
        QVERIFY(readFile(ed()->FFileName).startsWith("{\\rtf"));

        // A lesson with a name is written without asking.
        const size_t asked = dialogs()->fileRequests.size();
        ed()->bSaveClick();
        QCOMPARE(dialogs()->fileRequests.size(), asked);
    }

    void linksAreEditedAndWrittenAfterTheTerms()
    {
        const QString f = writeLesson(path("links/a.kvl"), {"<PAR FILE=\"a.rtf\" DESCRIPTION=\"A\">", term("A"),
                                                           "<PAR FILE=\"b.rtf\" DESCRIPTION=\"B\">"});
        edit(f);
        // "New": the open dialog cancelled shows no link dialog.
        ed()->lblNew->click();
        QCOMPARE(dialogs()->fileRequests.back().filter, QStringLiteral("RTF Files|*.rtf|All Files|*.*"));
        QVERIFY(dialogs()->modalsShown.empty());

        // The link dialog cancelled changes nothing.
        dialogs()->openAnswers.push_back({path("links/c.rtf")});
        dialogs()->onModal = [](QDialog *) { FormAssociateRTF->ePopis->setText(QStringLiteral("ignored")); };
        ed()->bOpenLinkClick();
        QCOMPARE(dialogs()->modalsShown.back(), QStringLiteral("FormAssociateRTF"));
        QCOMPARE(ed()->lbLink->count(), 2);
        QVERIFY(!ed()->FLessonModified);

        // A description the lesson would read back cut, and an empty file
        // name, are refused with a message and the dialog shown again.
        dialogs()->openAnswers.push_back({path("links/c.rtf")});
        dialogs()->modalAnswers = {1, 1, 1};
        int shown = 0;
        dialogs()->onModal = [&](QDialog *) {
            ++shown;
            if (shown == 1) {
                QCOMPARE(FormAssociateRTF->eFileName->text(), path("links/c.rtf"));
                QVERIFY(FormAssociateRTF->ePopis->text().isEmpty());
                FormAssociateRTF->ePopis->setText(QStringLiteral("Say \"hi\" now"));
            } else if (shown == 2) {
                QCOMPARE(FormAssociateRTF->ePopis->text(), QStringLiteral("Say \"hi\" now")); // kept to correct
                FormAssociateRTF->ePopis->setText(QStringLiteral("Say \"hi\""));
                FormAssociateRTF->eFileName->setText(QStringLiteral("  "));
            } else {
                FormAssociateRTF->eFileName->setText(path("links/c.rtf"));
            }
        };
        ed()->bOpenLinkClick();
        QCOMPARE(shown, 3);
        QCOMPARE(dialogs()->messages.size(), size_t(2));
        QVERIFY(dialogs()->messages.at(0).text.startsWith(QStringLiteral("The description cannot be stored")));
        QCOMPARE(dialogs()->messages.at(1).text, QStringLiteral("Enter the name of the file to link"));
        QCOMPARE(ed()->FLinkFiles.last(), path("links/c.rtf"));
        QCOMPARE(ed()->lbLink->item(2)->text(), QStringLiteral("Say \"hi\""));
        QVERIFY(ed()->FLessonModified);

        // Edit and Delete need a selected link.
        ed()->lbLink->clearSelection();
        ed()->lblEditClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("No file selected"));
        ed()->lblDeleteClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("No file selected"));

        ed()->lbLink->setCurrentRow(0);
        dialogs()->modalAnswers.push_back(1);
        dialogs()->onModal = [](QDialog *) {
            QCOMPARE(FormAssociateRTF->eFileName->text(), QStringLiteral("a.rtf"));
            QCOMPARE(FormAssociateRTF->ePopis->text(), QStringLiteral("A"));
            FormAssociateRTF->ePopis->clear();
            FormAssociateRTF->eFileName->setText(QStringLiteral("a2.rtf"));
        };
        ed()->lblEditClick();
        QCOMPARE(ed()->FLinkFiles.first(), QStringLiteral("a2.rtf"));
        QVERIFY(ed()->lbLink->item(0)->text().isEmpty());

        ed()->lbLink->setCurrentRow(1);
        dialogs()->messageAnswers.push_back(MsgResult::No);
        ed()->lblDeleteClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Delete Link B?"));
        QCOMPARE(ed()->lbLink->count(), 3);
        ed()->lbLink->setCurrentRow(0);
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->lblDeleteClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Delete Link ?"));
        QCOMPARE(ed()->FLinkFiles, (QStringList{"b.rtf", path("links/c.rtf")}));
        QCOMPARE(ed()->lbLink->count(), 2);

        QVERIFY(ed()->SaveLesson());
        const QStringList lines = linesOf(f);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1), QStringLiteral("<PAR FILE=\"b.rtf\" DESCRIPTION=\"B\">"));
        QCOMPARE(lines.at(2), QStringLiteral("<PAR FILE=\"%1\" DESCRIPTION=\"Say \"\"hi\"\"\">").arg(path("links/c.rtf")));

        // Loaded again, every link reads back as it was typed.
        edit(f);
        QCOMPARE(ed()->lbLink->count(), 2);
        QCOMPARE(ed()->lbLink->item(1)->text(), QStringLiteral("Say \"hi\""));
        QCOMPARE(ed()->reLes->lineCount(), 1);
    }

    void linkDialogEndsWithItsButtonsAndEscape()
    {
        TFormAssociateRTF *d = FormAssociateRTF;
        d->open();
        QTest::keyClick(d, Qt::Key_Escape);
        QCOMPARE(d->result(), 2);
        QVERIFY(!d->isVisible());
        // OK on a link that could not be read back stays in the dialog.
        d->eFileName->clear();
        d->open();
        d->bOK->click();
        QVERIFY(d->isVisible());
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Enter the name of the file to link"));
        d->eFileName->setText(QStringLiteral("a.rtf"));
        d->ePopis->setText(QStringLiteral("\" quoted"));
        d->bOK->click();
        QVERIFY(d->isVisible());
        d->ePopis->setText(QStringLiteral("fine"));
        d->bOK->click();
        QCOMPARE(d->result(), 1);
        d->open();
        d->bCancel->click();
        QCOMPARE(d->result(), 2);
    }

    void closingSavesAsAskedAndReopensTheLessons()
    {
        const QString f = writeLesson(path("close/a.kvl"), {term("A"), term("B")});
        Form1->FOpenLessons = QStringList{f};
        Form1->OpenFile(QStringLiteral("session-files"));
        edit(f);
        ed()->show();
        type(ed()->reEdOrig, QStringLiteral("A!"));
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->bCloseClick();
        QVERIFY(!ed()->isVisible());
        QVERIFY(Form1->FEditorLoadPending);
        QCOMPARE(linesOf(f).first(), QStringLiteral("<OR=A!><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
        // The main window shows the edited lesson.
        QCOMPARE(Form1->reMain.line(0), QStringLiteral("<OR=A!><PI=pA><CH=cA><NO=nA><TY=w>"));

        // No: nothing is saved, the window still closes.
        edit(f);
        ed()->show();
        type(ed()->reEdOrig, QStringLiteral("lost"));
        dialogs()->messageAnswers.push_back(MsgResult::No);
        ed()->bCloseClick();
        QVERIFY(!ed()->isVisible());
        QCOMPARE(linesOf(f).first(), QStringLiteral("<OR=A!><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));

        // Yes, then the save dialog of a new lesson cancelled: the edits stay.
        edit(QString());
        ed()->show();
        type(ed()->reEdOrig, QStringLiteral("unsaved"));
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->bCloseClick();
        QVERIFY(ed()->isVisible());
        QCOMPARE(ed()->reEdOrig->text(), QStringLiteral("unsaved"));

        // The title bar takes the same road: it asks, Cancel keeps the
        // editor open, Yes saves and the main window shows the lesson.
        edit(f);
        ed()->show();
        type(ed()->reEdOrig, QStringLiteral("kept too"));
        dialogs()->messageAnswers = {MsgResult::Cancel, MsgResult::Yes};
        QVERIFY(!ed()->close());
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Lesson was modified, save?"));
        QVERIFY(ed()->isVisible());
        QVERIFY(ed()->close());
        QVERIFY(!ed()->isVisible());
        QVERIFY(Form1->FEditorLoadPending);
        QCOMPARE(linesOf(f).first(), QStringLiteral("<OR=kept too><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
        QCOMPARE(Form1->reMain.line(0), QStringLiteral("<OR=kept too><PI=pA><CH=cA><NO=nA><TY=w>"));
    }

    void aFailedWriteKeepsTheEditorOpenAndSaysSo()
    {
        const QString blocker = writeLesson(path("fail/blocker"), {"x"});
        const QString f = writeLesson(path("fail/a.kvl"), {term("A")});
        edit(f);
        ed()->FFileName = blocker + QStringLiteral("/a.kvl"); // a folder that cannot exist
        ed()->show();
        type(ed()->reEdOrig, QStringLiteral("changed"));
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->bCloseClick();
        QVERIFY(ed()->isVisible());
        QVERIFY(ed()->FLessonModified);
        QVERIFY(dialogs()->lastMessage().contains(QStringLiteral("not saved")));
        QCOMPARE(readFile(blocker), QByteArray("x"));
    }

    void aWriteFailingPartWayKeepsTheOldLessonAndSaysSo()
    {
        const QString f = writeLesson(path("full/a.kvl"), {term("A"), term("B")});
        const QByteArray before = readFile(f);
        edit(f);
        const QString said = QString::fromUtf8(childtest::withFileSizeLimit(4096, [this] {
            type(ed()->reEdOrig, QString(20000, QLatin1Char('x')));
            ed()->bSaveClick();
            return (dialogs()->lastMessage() + (ed()->FLessonModified ? "|modified" : "|clear")).toUtf8();
        }));
        QVERIFY2(said.startsWith(QStringLiteral("The lesson was not saved")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("too large")), qPrintable(said));
        QVERIFY(said.endsWith(QStringLiteral("|modified")));
        QCOMPARE(readFile(f), before);
        QCOMPARE(QDir(path("full")).entryList(QDir::Files | QDir::Hidden), QStringList{"a.kvl"});
    }

    void aLessonThatCannotBeReadStaysPendingAndLeavesNothingToSave()
    {
        const QString good = writeLesson(path("unread/good.kvl"), {term("G")});
        edit(good);
        ed()->show();
        // The editor is already put away when the message shows.
        bool hiddenAtMessage = false;
        dialogs()->onMessage = [&](const ScriptedDialogs::Shown &) { hiddenAtMessage = !ed()->isVisible(); };
        edit(path("unread/missing.kvl"));
        QCOMPARE(dialogs()->messages.size(), size_t(1));
        QVERIFY(hiddenAtMessage);
        QVERIFY(Form1->FEditorLoadPending);
        QVERIFY(!ed()->isVisible());
        QCOMPARE(ed()->reLes->lineCount(), 0);
        QCOMPARE(ed()->lbLink->count(), 0);
    }

    void mainWindowCommandsOpenTheEditor()
    {
        Form1->FCurrentLesson.clear();
        Form1->Edit2Click();
        QCOMPARE(dialogs()->lastMessage(),
                 QStringLiteral("No open lesson to edit. Either open a lesson or use Create new lesson"));
        QVERIFY(!ed()->isVisible());

        const QString f = writeLesson(path("cmd/a.kvl"), {term("A")});
        Form1->FOpenLessons = QStringList{f};
        Form1->OpenFile(QStringLiteral("session-files"));
        QCOMPARE(Form1->FCurrentLesson, f);
        QFile::remove(TForm1::tempSessionFile());
        Form1->Edit2Click();
        QVERIFY(QFile::exists(TForm1::tempSessionFile()));
        QVERIFY(ed()->isVisible());
        QCOMPARE(ed()->FFileName, f);
        QCOMPARE(ed()->windowTitle(), f);

        // Already open: said, and no session is written.
        QFile::remove(TForm1::tempSessionFile());
        Form1->Edit2Click();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Editor is already open"));
        QVERIFY(!QFile::exists(TForm1::tempSessionFile()));
        Form1->Edit1Click();
        QCOMPARE(ed()->FFileName, f);

        ed()->hide();
        ed()->reLes->setText(term("stale"));
        Form1->Edit1Click();
        QVERIFY(ed()->isVisible());
        QVERIFY(ed()->FFileName.isEmpty());
        QCOMPARE(ed()->windowTitle(), QStringLiteral("New Lesson"));
        QCOMPARE(ed()->reLes->lineCount(), 0);
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
