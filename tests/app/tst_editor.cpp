// The lesson editor: loading a lesson with its links, showing and moving
// between terms, new and deleted terms, putting terms back, writing the
// lesson file, the link commands, closing, and the main window's commands
// that open the editor.
#include "AppTestSupport.h"
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
        const QString f = writeLesson(path("show/a.kvl"),
                                      {term("A", "x"), term("B", "w", "<ST=zz>"),
                                       "<ST=l><OR=C><PI=><CH=c><NO=><TY=w><ST=d>"});
        edit(f);
        QVERIFY(ed()->rbPhrase->isChecked());
        QVERIFY(ed()->rbUnlearned->isChecked());
        ed()->bNextClick();
        QVERIFY(ed()->rbWord->isChecked());
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

    void movingPutsEditedTermsBackAndBrowsingCountsAsAChange()
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

        // A change of state alone is a change of the term.
        ed()->FTermModified = false;
        ed()->rbDifficult->setChecked(true);
        QVERIFY(ed()->FTermModified);
        ed()->bPreviousClick();
        QCOMPARE(plainLine(ed()->reLes, 2), QStringLiteral("<OR=C><PI=pC><CH=cC><NO=nC><TY=w><ST=d>"));

        // Closing after browsing asks; Cancel keeps the editor open.
        ed()->show();
        dialogs()->messageAnswers.push_back(MsgResult::Cancel);
        ed()->bCloseClick();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Lesson was modified, save?"));
        QCOMPARE(dialogs()->messages.back().buttons, MsgButtons::YesNoCancel);
        QVERIFY(ed()->isVisible());
        QCOMPARE(linesOf(f), (QStringList{term("A"), term("B", "p"), term("C")}));
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
        // Term A was shown after the first deletion, so "new" put it back.
        QCOMPARE(plainLine(ed()->reLes, 0), QStringLiteral("<OR=A><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
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
        QCOMPARE(plainLine(ed()->reLes, 0), QStringLiteral("<OR=redblue><PI=><CH=你好><NO=><TY=p><ST=u>"));
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
        QVERIFY(ed()->rbPhrase->isChecked());
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
        QCOMPARE(linesOf(ed()->FFileName), QStringList{QStringLiteral("<OR=hello><PI=><CH=><NO=><TY=p><ST=u>")});
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

        // A description the line cannot carry (a quote before a blank) is
        // refused, not cut short in the file.
        dialogs()->openAnswers.push_back({path("links/c.rtf")});
        dialogs()->modalAnswers.push_back(1);
        dialogs()->onModal = [](QDialog *) { FormAssociateRTF->ePopis->setText(QStringLiteral("Say \"hi\" now")); };
        ed()->bOpenLinkClick();
        QVERIFY(dialogs()->lastMessage().startsWith(QStringLiteral("The link was not kept")));
        QCOMPARE(ed()->lbLink->count(), 2);
        QVERIFY(!ed()->FLessonModified);

        dialogs()->openAnswers.push_back({path("links/c.rtf")});
        dialogs()->modalAnswers.push_back(1);
        dialogs()->onModal = [this](QDialog *) {
            QCOMPARE(FormAssociateRTF->eFileName->text(), path("links/c.rtf"));
            QVERIFY(FormAssociateRTF->ePopis->text().isEmpty());
            FormAssociateRTF->ePopis->setText(QStringLiteral("Say \"hi\"!"));
        };
        ed()->bOpenLinkClick();
        QCOMPARE(ed()->FLinkFiles.last(), path("links/c.rtf"));
        QCOMPARE(ed()->lbLink->item(2)->text(), QStringLiteral("Say \"hi\"!"));
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
        QCOMPARE(lines.at(2), QStringLiteral("<PAR FILE=\"%1\" DESCRIPTION=\"Say \"\"hi\"\"!\">").arg(path("links/c.rtf")));

        // Loaded again: the quotes come back as they were.
        edit(f);
        QCOMPARE(ed()->lbLink->count(), 2);
        QCOMPARE(ed()->lbLink->item(1)->text(), QStringLiteral("Say \"hi\"!"));
        QCOMPARE(ed()->reLes->lineCount(), 1);
    }

    void linkDialogEndsWithItsButtonsAndEscape()
    {
        TFormAssociateRTF *d = FormAssociateRTF;
        d->open();
        QTest::keyClick(d, Qt::Key_Escape);
        QCOMPARE(d->result(), 2);
        QVERIFY(!d->isVisible());
        d->open();
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

        // The title bar closes without a question.
        edit(f);
        ed()->show();
        type(ed()->reEdOrig, QStringLiteral("lost too"));
        const size_t asked = dialogs()->messages.size();
        ed()->close();
        QVERIFY(Form1->FEditorLoadPending);
        QCOMPARE(dialogs()->messages.size(), asked);
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
