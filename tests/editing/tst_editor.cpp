// The lesson editor: loading a lesson with its links, showing and moving
// between terms (browsing changes nothing), new and deleted terms, putting
// terms back with what the editor does not edit, refused tag text, writing
// the lesson file (also when the write fails part-way), the link commands,
// closing by "close" and by the title bar; then, on the whole program, the
// lessons reopened after closing, one lesson open in the practice window and
// the editor at once, and the main window's commands that open the editor.
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/WindowChrome.h"
#include "editing/LessonEditorWindow.h"
#include "editing/LinkedFileDialog.h"
#include "editing/TermsManagerWindow.h"
#include "platform/richtext/RichEdit.h"
#include "support/AppTestSupport.h"
#include "support/ChildProcess.h"
#include "support/WindowTestFixture.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>
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

QString plainLine(RichEdit *e, int i)
{
    return e->line(i);
}

// Attributes of the characters [from, from + 1) of an edit.
CharAttributes charAt(RichEdit *e, int from)
{
    e->setSelStart(from);
    e->setSelLength(1);
    return e->selAttributes();
}
} // namespace

// The editor under test and the ways to it.
class EditorCases : public QObject {
    Q_OBJECT

protected:
    QTemporaryDir m_home;
    LessonEditorWindow *m_editor = nullptr;
    virtual ScriptedDialogs *dialogs() = 0;
    // Whether the editor loads its lesson at its next activation, as the
    // main window keeps it.
    virtual bool editorLoadPending() = 0;
    virtual void setEditorLoadPending() = 0;
    QString path(const QString &name) { return m_home.filePath(QStringLiteral("files/") + name); }
    LessonEditorWindow *ed() { return m_editor; }

    // Shows the editor on a lesson file (empty name: a new lesson) as the
    // main window's commands leave it, and activates it.
    void edit(const QString &file)
    {
        ed()->fileName = file;
        ed()->lessonText->clear();
        ed()->setWindowTitle(file.isEmpty() ? QStringLiteral("New Lesson") : file);
        setEditorLoadPending();
        ed()->onActivate();
    }

    void type(RichEdit *field, const QString &text) { field->setText(text); }

    void useFieldSizesAndWorkingFolder(MainSettings &settings)
    {
        settings.workingDirectory = m_home.filePath(QStringLiteral("work")) + QLatin1Char('/');
        settings.fontSizes[Pane::Translation] = 11;
        settings.fontSizes[Pane::Pinyin] = 12;
        settings.fontSizes[Pane::Characters] = 24;
        settings.fontSizes[Pane::Notes] = 10;
    }
};

class TestEditor : public EditorCases {
    Q_OBJECT

    std::unique_ptr<windowtest::Fixture> fx;
    std::unique_ptr<LessonEditorWindow> m_window;
    LinkedFileDialog *linkedFileDialog = nullptr;
    ScriptedDialogs *dialogs() override { return &fx->dialogs(); }
    bool editorLoadPending() override { return fx->editorHost.loadPending; }
    void setEditorLoadPending() override { fx->editorHost.loadPending = true; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        fx = std::make_unique<windowtest::Fixture>();
        // As the program makes it: fields and controls built when first
        // shown (the other editor tests build them at once).
        LessonEditorWindow::buildWhenShown = true;
        m_window = windowtest::makeEditor(*fx);
        LessonEditorWindow::buildWhenShown = false;
        m_editor = m_window.get();
        QVERIFY(!m_editor->panes[korvana::Pane::Translation].view && m_editor->lessonText);
        m_editor->show();
        m_editor->hide();
        linkedFileDialog = &fx->linkedFileDialog();
        useFieldSizesAndWorkingFolder(fx->settings);
    }
    void cleanupTestCase()
    {
        m_window.reset();
        fx.reset();
    }

    void init() { fx->resetDialogs(); }
    void cleanup() { ed()->hide(); }

    void loadingTakesOutLinksAndBlankLinesAndShowsTheFirstTerm()
    {
        const QString f = writeLesson(path("load/a.kvl"), {term("A", "w", "<ST=d><SN=声音 1.mp3><GR=a.jpg>"), "   ",
                                                           "<PAR FILE=\"a.rtf\" DESCRIPTION=\"first\">", term("B", "p"),
                                                           "  <par file=\"b.rtf\" description=\"second\">", "",
                                                           "<PAR FILE=\"\" DESCRIPTION=\"dropped\">", term("C", "x")});
        edit(f);
        QCOMPARE(ed()->lessonText->lineCount(), 3);
        QCOMPARE(plainLine(ed()->lessonText, 1), term("B", "p"));
        QCOMPARE(ed()->linkedFiles, (QStringList{"a.rtf", "b.rtf"}));
        QCOMPARE(ed()->linkedFilesList->count(), 2);
        QCOMPARE(ed()->linkedFilesList->item(1)->text(), QStringLiteral("second"));

        QCOMPARE(ed()->termNumber, 1);
        QCOMPARE(ed()->termNumberEdit->text(), QStringLiteral("1"));
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("A"));
        QCOMPARE(ed()->panes[korvana::Pane::Pinyin].text->text(), QStringLiteral("pA"));
        QCOMPARE(ed()->panes[korvana::Pane::Characters].text->text(), QStringLiteral("cA"));
        QCOMPARE(ed()->panes[korvana::Pane::Notes].text->text(), QStringLiteral("nA"));
        QVERIFY(ed()->wordOption->isChecked());
        QVERIFY(ed()->difficultOption->isChecked());
        QCOMPARE(ed()->soundEdit->text(), QStringLiteral("声音 1.mp3"));
        QCOMPARE(ed()->pictureEdit->text(), QStringLiteral("a.jpg"));
        // Showing the term is no change of the lesson.
        QVERIFY(!ed()->lessonModified);
        QVERIFY(!ed()->termModified);
        QVERIFY(!editorLoadPending());
        QVERIFY(!ed()->previousButton->isEnabled());
        QVERIFY(ed()->nextButton->isEnabled());
        QVERIFY(ed()->deleteButton->isEnabled());

        // Back to the editor from another window: nothing is reloaded.
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("edited"));
        ed()->onActivate();
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("edited"));
        QVERIFY(ed()->termModified);
        QVERIFY(ed()->lessonModified);
    }

    void typeStateAndSizesAreReadFromTheLine()
    {
        // A line without a type tag is a word, as the practice window reads it.
        const QString f =
            writeLesson(path("show/a.kvl"), {"<OR=A><PI=pA><CH=cA><NO=nA><sn=a.wav><st=d>", term("B", "p", "<ST=zz>"),
                                             "<ST=l><OR=C><PI=><CH=c><NO=><TY=w><ST=d>"});
        edit(f);
        QVERIFY(ed()->wordOption->isChecked());
        QVERIFY(ed()->difficultOption->isChecked()); // tags read in either case
        QCOMPARE(ed()->soundEdit->text(), QStringLiteral("a.wav"));
        ed()->nextButtonClicked();
        QVERIFY(ed()->phraseOption->isChecked());
        QVERIFY(ed()->unlearnedOption->isChecked());
        QVERIFY(ed()->nextButton->isEnabled());
        // The first state tag counts.
        ed()->nextButtonClicked();
        QVERIFY(ed()->learnedOption->isChecked());
        QVERIFY(ed()->panes[korvana::Pane::Pinyin].text->text().isEmpty());
        QVERIFY(ed()->soundEdit->text().isEmpty());
        QCOMPARE(ed()->panes[korvana::Pane::Characters].text->text(), QStringLiteral("c"));
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Characters].text, 0).sizePoints, 24.0);
        QVERIFY(!ed()->nextButton->isEnabled());
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
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("big"));
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Translation].text, 0).sizePoints, 11.0);
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Pinyin].text, 0).sizePoints, 12.0);
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Notes].text, 0).sizePoints, 10.0);
        // The characters are shown in the chosen characters font only while it is used.
        fx->settings.charactersFont = QStringLiteral("KaiTi");
        for (bool use : {false, true}) {
            fx->settings.useCharactersFont = use;
            edit(f);
            const auto &chars = ed()->panes[korvana::Pane::Characters];
            QCOMPARE(chars.text->document()->defaultFont().family() == "KaiTi", use);
            QCOMPARE(chars.view->font().family() == "KaiTi", use);
        }
        fx->settings.useCharactersFont = false;
    }

    void movingPutsEditedTermsBack()
    {
        const QString f = writeLesson(path("move/a.kvl"), {term("A"), term("B", "p"), term("C")});
        edit(f);
        ed()->previousButtonClicked(); // at the first term: nothing
        QCOMPARE(ed()->termNumber, 1);
        ed()->nextButtonClicked();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("changed"));
        ed()->learnedOption->setChecked(true);
        ed()->soundEdit->setText(QStringLiteral("  s.wav  "));
        ed()->nextButtonClicked();
        QCOMPARE(plainLine(ed()->lessonText, 1),
                 QStringLiteral("<OR=changed><PI=pB><CH=cB><NO=nB><TY=p><ST=l><SN=s.wav>"));
        QCOMPARE(plainLine(ed()->lessonText, 0), term("A"));
        QCOMPARE(plainLine(ed()->lessonText, 2), term("C"));
        QCOMPARE(ed()->lessonText->lineCount(), 3);
        ed()->nextButtonClicked(); // at the last term: nothing
        QCOMPARE(ed()->termNumber, 3);

        // Closing after edits asks; Cancel keeps the editor open.
        ed()->show();
        dialogs()->messageAnswers.push_back(MsgResult::Cancel);
        ed()->closeButtonClicked();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Lesson was modified, save?"));
        QCOMPARE(dialogs()->messages.back().buttons, MsgButtons::YesNoCancel);
        QVERIFY(ed()->isVisible());
        QCOMPARE(apptest::linesOfFile(f), (QStringList{term("A"), term("B", "p"), term("C")}));
        // Removed meanwhile: written again where it was, nothing asked.
        QVERIFY(QFile::remove(f));
        QVERIFY(ed()->saveLesson());
        QCOMPARE(apptest::linesOfFile(f).value(1),
                 QStringLiteral("<OR=changed><PI=pB><CH=cB><NO=nB><TY=p><ST=l><SN=s.wav>"));
    }

    void browsingRewritesNothingAndAnEditKeepsWhatItDoesNotEdit()
    {
        const QStringList lesson = {"<OR=A><PI=pA><CH=cA><NO=nA><TY=>", term("B", "x", "<NR=5> trailing text"),
                                    "<ST=d>" + term("C", "p", "<ST=d>")};
        const QString f = writeLesson(path("browse/a.kvl"), lesson);
        const QByteArray bytes = readFile(f);
        edit(f);
        ed()->show();
        ed()->nextButtonClicked();
        ed()->nextButtonClicked();
        ed()->termNumberEdit->setText(QStringLiteral("1"));
        ed()->goLabelClicked();
        ed()->nextButtonClicked();
        ed()->previousButtonClicked();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(plainLine(ed()->lessonText, i), lesson.at(i));
        ed()->closeButtonClicked();
        QVERIFY(!ed()->isVisible());
        QVERIFY(dialogs()->messages.empty()); // nothing changed, nothing asked
        QCOMPARE(readFile(f), bytes);

        // An edited line keeps its type as the practice window reads it, and
        // everything in it that the editor does not edit.
        edit(f);
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("A2"));
        ed()->nextButtonClicked();
        QVERIFY(ed()->wordOption->isChecked()); // "x" is no phrase
        type(ed()->panes[korvana::Pane::Notes].text, QStringLiteral("nB2"));
        ed()->nextButtonClicked();
        ed()->learnedOption->setChecked(true);
        ed()->saveButtonClicked();
        QCOMPARE(apptest::linesOfFile(f), (QStringList{"<OR=A2><PI=pA><CH=cA><NO=nA><TY=w><ST=u>",
                                                       "<OR=B><PI=pB><CH=cB><NO=nB2><TY=x><ST=u><NR=5> trailing text",
                                                       "<OR=C><PI=pC><CH=cC><NO=nC><TY=p><ST=l>"}));
    }

    void aChangeOfStateOrTypeAloneIsAChange()
    {
        const QString f =
            writeLesson(path("state/a.kvl"), {term("A", "w", "<SN=1.wav>"), term("B", "w", "<GR=1.jpg>")});
        edit(f);
        ed()->show();
        ed()->difficultOption->setChecked(true);
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->closeButtonClicked();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Lesson was modified, save?"));
        QCOMPARE(apptest::linesOfFile(f).value(0), QStringLiteral("<OR=A><PI=pA><CH=cA><NO=nA><TY=w><ST=d><SN=1.wav>"));

        edit(f);
        ed()->show();
        ed()->nextButtonClicked();
        ed()->phraseOption->setChecked(true);
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->closeButtonClicked();
        QCOMPARE(dialogs()->messages.size(), size_t(2));
        QCOMPARE(apptest::linesOfFile(f).value(1), QStringLiteral("<OR=B><PI=pB><CH=cB><NO=nB><TY=p><ST=u><GR=1.jpg>"));

        // So is a sound or a picture alone.
        edit(f);
        ed()->show();
        ed()->soundEdit->setText(QStringLiteral("a.wav"));
        ed()->nextButtonClicked();
        ed()->pictureEdit->setText(QStringLiteral("b.jpg"));
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->closeButtonClicked();
        QCOMPARE(dialogs()->messages.size(), size_t(3));
        QCOMPARE(apptest::linesOfFile(f), (QStringList{"<OR=A><PI=pA><CH=cA><NO=nA><TY=w><ST=d><SN=a.wav>",
                                                       "<OR=B><PI=pB><CH=cB><NO=nB><TY=p><ST=u><GR=b.jpg>"}));
    }

    void tagTextIsRefusedInTheFields()
    {
        const QString f = writeLesson(path("tags/a.kvl"), {term("A")});
        edit(f);
        type(ed()->panes[korvana::Pane::Translation].text, QString());
        // Said in the status line, never in a box that would take the keys
        // typed next: every other character lands in the field.
        ed()->panes[korvana::Pane::Translation].view->setFocus();
        QTest::keyClicks(ed()->panes[korvana::Pane::Translation].view, QStringLiteral("big > small x>yz"));
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("big  small xyz"));
        QCOMPARE(ed()->statusLine->text(),
                 QStringLiteral("A term cannot hold \">\" or tag text such as \"<ST=\"; it was left out."));
        ed()->statusLine->clear();
        type(ed()->panes[korvana::Pane::Notes].text, QStringLiteral("see <ST=l>"));
        QCOMPARE(ed()->panes[korvana::Pane::Notes].text->text(), QStringLiteral("see <STl"));
        QVERIFY(!ed()->statusLine->text().isEmpty());
        ed()->soundEdit->setFocus();
        QTest::keyClicks(ed()->soundEdit, QStringLiteral("a<sn=b>.mp3"));
        QCOMPARE(ed()->soundEdit->text(), QStringLiteral("a<snb.mp3"));
        QVERIFY(dialogs()->messages.empty());
        QVERIFY(ed()->saveLesson());

        // The line reads back as it was written.
        edit(f);
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("big  small xyz"));
        QCOMPARE(ed()->panes[korvana::Pane::Notes].text->text(), QStringLiteral("see <STl"));
        QCOMPARE(ed()->soundEdit->text(), QStringLiteral("a<snb.mp3"));
        QVERIFY(ed()->unlearnedOption->isChecked());
    }

    void emptyTermsAreNotWritten()
    {
        // A new lesson saved untouched holds no term: written, it would not
        // open. Nothing is asked or written, and the user is told why.
        edit(QString());
        const QString target = path("empty/new.kvl");
        QDir().mkpath(QFileInfo(target).absolutePath());
        dialogs()->saveAnswers.push_back(target);
        ed()->saveButtonClicked();
        QVERIFY(!QFile::exists(target));
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("The lesson has no terms: there is nothing to save."));

        // "new", a state and "save": no empty term is added.
        const QString f = writeLesson(path("empty/a.kvl"), {term("A"), term("B")});
        edit(f);
        ed()->newButtonClicked();
        ed()->difficultOption->setChecked(true);
        ed()->saveButtonClicked();
        QCOMPARE(apptest::linesOfFile(f), (QStringList{term("A"), term("B")}));

        // A term whose every field the user empties leaves the lesson.
        ed()->termNumberEdit->setText(QStringLiteral("1"));
        ed()->goLabelClicked();
        for (const auto &pane : ed()->panes)
            type(pane.text, QString());
        ed()->nextButtonClicked();
        QCOMPARE(ed()->lessonText->lineCount(), 1);
        QCOMPARE(ed()->termNumber, 1);
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("B"));
        // So does a last term emptied and saved: the term before it shows.
        ed()->newButtonClicked();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("C"));
        ed()->previousButtonClicked();
        ed()->nextButtonClicked();
        for (const auto &pane : ed()->panes)
            type(pane.text, QString());
        ed()->saveButtonClicked();
        QCOMPARE(ed()->termNumber, 1);
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("B"));
        // The last term of a lesson file emptied: the file keeps it.
        for (const auto &pane : ed()->panes)
            type(pane.text, QString());
        QVERIFY(!ed()->saveLesson());
        QCOMPARE(apptest::linesOfFile(f), QStringList{term("B")});
    }

    void fieldsAreWrittenAtOneSize()
    {
        // Typed into a new lesson, and edited after being shown at the
        // fields' own sizes (11, 12, 24, 10): always the translation's size.
        auto sizes = [this] {
            const QString line = plainLine(ed()->lessonText, 0);
            QList<double> out;
            for (const char *tag : {"<OR=", "<PI=", "<CH=", "<NO="})
                out << charAt(ed()->lessonText, int(line.indexOf(QLatin1String(tag))) + 4).sizePoints;
            return out;
        };
        edit(QString());
        for (const auto &pane : ed()->panes)
            type(pane.text, QStringLiteral("x"));
        ed()->newButtonClicked();
        QCOMPARE(sizes(), (QList<double>{11, 11, 11, 11}));
        ed()->previousButtonClicked();
        ed()->panes[korvana::Pane::Translation].view->setFocus();
        QTest::keyClicks(ed()->panes[korvana::Pane::Translation].view, QStringLiteral("y"));
        ed()->newButtonClicked();
        QCOMPARE(plainLine(ed()->lessonText, 0), QStringLiteral("<OR=yx><PI=x><CH=x><NO=x><TY=w><ST=u>"));
        QCOMPARE(sizes(), (QList<double>{11, 11, 11, 11}));
    }

    void dialogsStartInTheLessonsFolderOrTheWorkingFolder()
    {
        const QString f = writeLesson(path("dirs/a.kvl"), {term("A")});
        edit(f);
        dialogs()->openAnswers = {{path("dirs/s.wav")}, {path("dirs/p.jpg")}};
        ed()->browseSoundButtonClicked();
        ed()->browsePictureButtonClicked();
        ed()->newLinkLabelClicked();
        QCOMPARE(dialogs()->fileRequests.size(), size_t(3));
        QCOMPARE(dialogs()->fileRequests.at(0).filter, QStringLiteral("Sound Files|*.mp3;*.wav|All Files|*.*"));
        QCOMPARE(dialogs()->fileRequests.at(1).filter,
                 QStringLiteral("Picture Files|*.jpg;*.jpeg;*.bmp|All Files|*.*"));
        QCOMPARE(ed()->soundEdit->text() + '|' + ed()->pictureEdit->text(),
                 path("dirs/s.wav") + '|' + path("dirs/p.jpg"));
        for (const FileDialogRequest &r : dialogs()->fileRequests)
            QCOMPARE(r.initialDir, QFileInfo(f).absolutePath() + QLatin1Char('/'));
        edit(QString());
        ed()->browseSoundButtonClicked();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("new"));
        ed()->saveButtonClicked();
        QCOMPARE(dialogs()->fileRequests.size(), size_t(5));
        QCOMPARE(dialogs()->fileRequests.at(3).initialDir, fx->settings.workingDirectory);
        QCOMPARE(dialogs()->fileRequests.at(4).initialDir, fx->settings.workingDirectory);
    }

    void goToNumberJumpsOnlyToExistingTermsAndKeepsEdits()
    {
        const QString f = writeLesson(path("go/a.kvl"), {term("A"), term("B"), term("C")});
        edit(f);
        for (const char *bad : {"0", "-1", "4", "abc", ""}) {
            ed()->termNumberEdit->setText(QString::fromLatin1(bad));
            ed()->goLabelClicked();
            QCOMPARE(ed()->termNumber, 1);
            QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("A"));
        }
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("A2"));
        ed()->termNumberEdit->setText(QStringLiteral(" 3"));
        emit ed()->termNumberEdit->returnPressed();
        QCOMPARE(ed()->termNumber, 3);
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("C"));
        // The term left keeps its edit; the term jumped to is untouched.
        QCOMPARE(plainLine(ed()->lessonText, 0), QStringLiteral("<OR=A2><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
        QCOMPARE(plainLine(ed()->lessonText, 2), term("C"));
        // A term emptied and left is taken out: the number jumped to was
        // counted with it.
        ed()->termNumberEdit->setText(QStringLiteral("1"));
        ed()->goLabelClicked();
        for (const auto &pane : ed()->panes)
            type(pane.text, QString());
        ed()->termNumberEdit->setText(QStringLiteral("3"));
        ed()->goLabelClicked();
        QCOMPARE(ed()->termNumber, 2);
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("C"));
    }

    void newTermKeepsTypeAndStateAndBecomesTheLastLine()
    {
        const QString f = writeLesson(path("new/a.kvl"),
                                      {term("A", "p", "<ST=d><SN=a.wav><GR=a.jpg><NR=5>"), term("B", "p", "<ST=d>")});
        edit(f);
        ed()->newButtonClicked();
        QCOMPARE(ed()->termNumber, 3);
        QCOMPARE(ed()->termNumberEdit->text(), QStringLiteral("3"));
        QVERIFY(ed()->panes[korvana::Pane::Translation].text->text().isEmpty());
        QCOMPARE(ed()->soundEdit->text() + ed()->pictureEdit->text(), QString());
        QVERIFY(ed()->phraseOption->isChecked());
        QVERIFY(ed()->difficultOption->isChecked());
        QVERIFY(!ed()->nextButton->isEnabled());
        QVERIFY(ed()->previousButton->isEnabled());
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("C"));
        ed()->previousButtonClicked();
        QCOMPARE(ed()->lessonText->lineCount(), 3);
        QCOMPARE(plainLine(ed()->lessonText, 2), QStringLiteral("<OR=C><PI=><CH=><NO=><TY=p><ST=d>"));
        QCOMPARE(ed()->termNumber, 2);
        ed()->nextButtonClicked();
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("C"));
    }

    void deletingAsksAndNeverEmptiesTheLesson()
    {
        const QString f = writeLesson(path("del/a.kvl"), {term("A"), term("B")});
        edit(f);
        ed()->nextButtonClicked();
        ed()->lessonModified = false;
        dialogs()->messageAnswers.push_back(MsgResult::No);
        ed()->deleteButtonClicked();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Delete term?"));
        QCOMPARE(ed()->lessonText->lineCount(), 2);
        QVERIFY(!ed()->lessonModified);

        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->deleteButtonClicked();
        QCOMPARE(ed()->lessonText->lineCount(), 1);
        QCOMPARE(ed()->termNumber, 1);
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("A"));
        QVERIFY(ed()->lessonModified);
        QVERIFY(!ed()->deleteButton->isEnabled());
        QVERIFY(!ed()->nextButton->isEnabled());

        // A started term is dropped without touching the lesson's lines.
        ed()->newButtonClicked();
        QVERIFY(ed()->deleteButton->isEnabled());
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->deleteButtonClicked();
        QCOMPARE(ed()->lessonText->lineCount(), 1);
        QCOMPARE(ed()->termNumber, 1);
        // Term A was only shown after the first deletion: it is not rewritten.
        QCOMPARE(plainLine(ed()->lessonText, 0), term("A"));
    }

    void builtLineHasTagsInOrderWithColouredPieces()
    {
        edit(QString());
        ed()->wordOption->setChecked(true);
        ed()->unlearnedOption->setChecked(true);
        ed()->soundEdit->setText(QStringLiteral(" s.wav"));
        ed()->pictureEdit->setText(QStringLiteral(" p.jpg "));
        ed()->buildTermLine();
        const QString line = QStringLiteral("<OR=><PI=><CH=><NO=><TY=w><ST=u><SN=s.wav><GR=p.jpg>");
        QCOMPARE(plainLine(ed()->termLineText, 0), line);
        QCOMPARE(ed()->termLineText->lineCount(), 1);
        QList<QColor> colours; // of "<", "OR", "=", type, state, sound, picture
        for (int at : {0, 1, 3, 21, 27, 33, 43})
            colours << charAt(ed()->termLineText, at).color;
        const QColor black(0, 0, 0), grey(128, 128, 128);
        QCOMPARE(colours,
                 (QList<QColor>{black, QColor(255, 0, 0), black, QColor(0, 0, 255), QColor(0, 128, 0), grey, grey}));
        QCOMPARE(charAt(ed()->termLineText, 1).fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(charAt(ed()->termLineText, 1).sizePoints, 11.0);

        // With no state button checked no state is written.
        for (QRadioButton *b : {ed()->learnedOption, ed()->unlearnedOption, ed()->difficultOption}) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
        ed()->phraseOption->setChecked(true);
        ed()->soundEdit->clear();
        ed()->pictureEdit->setText(QStringLiteral("   "));
        ed()->buildTermLine();
        QCOMPARE(plainLine(ed()->termLineText, 0), QStringLiteral("<OR=><PI=><CH=><NO=><TY=p>"));

        // A field is one line: Return typed into it adds no line end, and
        // a field that holds two lines all the same is written on one.
        ed()->panes[korvana::Pane::Notes].view->setFocus();
        QTest::keyClicks(ed()->panes[korvana::Pane::Notes].view, QStringLiteral("ab"));
        QTest::keyClick(ed()->panes[korvana::Pane::Notes].view, Qt::Key_Return);
        QTest::keyClicks(ed()->panes[korvana::Pane::Notes].view, QStringLiteral("c"));
        QCOMPARE(ed()->panes[korvana::Pane::Notes].text->lineCount(), 1);
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("x\n\ny"));
        ed()->buildTermLine();
        QCOMPARE(ed()->termLineText->lineCount(), 1);
        QVERIFY(plainLine(ed()->termLineText, 0).startsWith(QStringLiteral("<OR=x y><PI=><CH=><NO=abc><TY=p>")));
    }

    void formattingSurvivesAndCharactersAreStoredAtTranslationSize()
    {
        edit(QString());
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("redblue"));
        ed()->panes[korvana::Pane::Translation].text->setSel(0, 3);
        ed()->panes[korvana::Pane::Translation].text->setSelColor(QColor(255, 0, 0));
        ed()->panes[korvana::Pane::Translation].text->setSel(3, 7);
        ed()->panes[korvana::Pane::Translation].text->setSelColor(QColor(0, 0, 255));
        ed()->panes[korvana::Pane::Translation].text->setSelFontName(QStringLiteral("Courier New"));
        type(ed()->panes[korvana::Pane::Characters].text, QStringLiteral("你好"));
        ed()->panes[korvana::Pane::Characters].text->setSel(0, -1);
        ed()->panes[korvana::Pane::Characters].text->setSelSize(24);
        ed()->storeTerm();
        QCOMPARE(plainLine(ed()->lessonText, 0), QStringLiteral("<OR=redblue><PI=><CH=你好><NO=><TY=w><ST=u>"));
        const int ch = plainLine(ed()->lessonText, 0).indexOf(QStringLiteral("你"));
        QCOMPARE(charAt(ed()->lessonText, ch).sizePoints, 11.0);
        // The field itself is back at the characters' size.
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Characters].text, 0).sizePoints, 24.0);

        ed()->newButtonClicked();
        ed()->previousButtonClicked();
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("redblue"));
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Translation].text, 0).color, QColor(255, 0, 0));
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Translation].text, 4).color, QColor(0, 0, 255));
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Translation].text, 4).fontName, QStringLiteral("Courier New"));
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Translation].text, 4).sizePoints, 11.0);
        QCOMPARE(charAt(ed()->panes[korvana::Pane::Characters].text, 1).sizePoints, 24.0);
    }

    void newLessonIsSavedThroughTheDialog()
    {
        edit(QString());
        QCOMPARE(ed()->lessonText->lineCount(), 0);
        QCOMPARE(ed()->termNumber, 1);
        QVERIFY(ed()->wordOption->isChecked());
        QVERIFY(ed()->unlearnedOption->isChecked());
        QVERIFY(!ed()->previousButton->isEnabled());
        QVERIFY(!ed()->nextButton->isEnabled());
        QVERIFY(!ed()->deleteButton->isEnabled());
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("hello"));

        // Cancelled: nothing written, still a new lesson.
        QVERIFY(!ed()->saveLesson());
        QCOMPARE(dialogs()->fileRequests.back().filter, QStringLiteral("Korvana Files|*.kvl|All Files|*.*"));
        QCOMPARE(dialogs()->fileRequests.back().defaultExt, QStringLiteral("kvl"));
        QCOMPARE(ed()->windowTitle(), QStringLiteral("New Lesson"));
        QVERIFY(ed()->fileName.isEmpty());
        QVERIFY(ed()->lessonModified);

        const QString target = path("saved/new");
        QDir().mkpath(QFileInfo(target).absolutePath());
        dialogs()->saveAnswers.push_back(target);
        ed()->saveButtonClicked();
        QCOMPARE(ed()->fileName, target + QStringLiteral(".kvl"));
        QCOMPARE(ed()->windowTitle(), ed()->fileName);
        QVERIFY(!ed()->lessonModified);
        QVERIFY(!ed()->termModified);
        QCOMPARE(apptest::linesOfFile(ed()->fileName),
                 QStringList{QStringLiteral("<OR=hello><PI=><CH=><NO=><TY=w><ST=u>")});
        QVERIFY(readFile(ed()->fileName).startsWith("{\\rtf"));

        // A lesson with a name is written without asking.
        const size_t asked = dialogs()->fileRequests.size();
        ed()->saveButtonClicked();
        QCOMPARE(dialogs()->fileRequests.size(), asked);
    }

    void linksAreEditedAndWrittenAfterTheTerms()
    {
        const QString f = writeLesson(path("links/a.kvl"), {"<PAR FILE=\"a.rtf\" DESCRIPTION=\"A\">", term("A"),
                                                            "<PAR FILE=\"b.rtf\" DESCRIPTION=\"B\">"});
        edit(f);
        // "New": the open dialog cancelled shows no link dialog.
        ed()->newLinkLabel->click();
        QCOMPARE(dialogs()->fileRequests.back().filter, QStringLiteral("RTF Files|*.rtf|All Files|*.*"));
        QVERIFY(dialogs()->modalsShown.empty());

        // The link dialog cancelled changes nothing.
        dialogs()->openAnswers.push_back({path("links/c.rtf")});
        dialogs()->onModal = [this](QDialog *) {
            linkedFileDialog->descriptionEdit->setText(QStringLiteral("ignored"));
        };
        ed()->newLinkLabelClicked();
        QCOMPARE(dialogs()->modalsShown.back(), QStringLiteral("linkedFileDialog"));
        QCOMPARE(ed()->linkedFilesList->count(), 2);
        QVERIFY(!ed()->lessonModified);

        // A description the lesson would read back cut, and an empty file
        // name, are refused with a message and the dialog shown again.
        dialogs()->openAnswers.push_back({path("links/c.rtf")});
        dialogs()->modalAnswers = {1, 1, 1};
        int shown = 0;
        dialogs()->onModal = [&](QDialog *) {
            ++shown;
            if (shown == 1) {
                QCOMPARE(linkedFileDialog->fileNameEdit->text(), path("links/c.rtf"));
                QVERIFY(linkedFileDialog->descriptionEdit->text().isEmpty());
                linkedFileDialog->descriptionEdit->setText(QStringLiteral("Say \"hi\" now"));
            } else if (shown == 2) {
                QCOMPARE(linkedFileDialog->descriptionEdit->text(),
                         QStringLiteral("Say \"hi\" now")); // kept to correct
                linkedFileDialog->descriptionEdit->setText(QStringLiteral("Say \"hi\""));
                linkedFileDialog->fileNameEdit->setText(QStringLiteral("  "));
            } else {
                linkedFileDialog->fileNameEdit->setText(path("links/c.rtf"));
            }
        };
        ed()->newLinkLabelClicked();
        QCOMPARE(shown, 3);
        QCOMPARE(dialogs()->messages.size(), size_t(2));
        QVERIFY(dialogs()->messages.at(0).text.startsWith(QStringLiteral("The description cannot be stored")));
        QCOMPARE(dialogs()->messages.at(1).text, QStringLiteral("Enter the name of the file to link"));
        QCOMPARE(ed()->linkedFiles.last(), path("links/c.rtf"));
        QCOMPARE(ed()->linkedFilesList->item(2)->text(), QStringLiteral("Say \"hi\""));
        QVERIFY(ed()->lessonModified);

        // Edit and Delete need a selected link.
        ed()->linkedFilesList->clearSelection();
        ed()->editLinkLabelClicked();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("No file selected"));
        ed()->deleteLinkLabelClicked();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("No file selected"));

        ed()->linkedFilesList->setCurrentRow(0);
        ed()->lessonModified = false;
        dialogs()->modalAnswers.push_back(1);
        dialogs()->onModal = [this](QDialog *) {
            QCOMPARE(linkedFileDialog->fileNameEdit->text(), QStringLiteral("a.rtf"));
            QCOMPARE(linkedFileDialog->descriptionEdit->text(), QStringLiteral("A"));
            linkedFileDialog->descriptionEdit->clear();
            linkedFileDialog->fileNameEdit->setText(QStringLiteral("a2.rtf"));
        };
        ed()->editLinkLabelClicked();
        QCOMPARE(ed()->linkedFiles.first(), QStringLiteral("a2.rtf"));
        QVERIFY(ed()->linkedFilesList->item(0)->text().isEmpty());
        QVERIFY(ed()->lessonModified);

        ed()->lessonModified = false;
        ed()->linkedFilesList->setCurrentRow(1);
        dialogs()->messageAnswers.push_back(MsgResult::No);
        ed()->deleteLinkLabelClicked();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Delete Link B?"));
        QCOMPARE(ed()->linkedFilesList->count(), 3);
        QVERIFY(!ed()->lessonModified);
        ed()->linkedFilesList->setCurrentRow(0);
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->deleteLinkLabelClicked();
        QVERIFY(ed()->lessonModified);
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Delete Link ?"));
        QCOMPARE(ed()->linkedFiles, (QStringList{"b.rtf", path("links/c.rtf")}));
        QCOMPARE(ed()->linkedFilesList->count(), 2);

        QVERIFY(ed()->saveLesson());
        const QStringList lines = apptest::linesOfFile(f);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1), QStringLiteral("<PAR FILE=\"b.rtf\" DESCRIPTION=\"B\">"));
        QCOMPARE(lines.at(2),
                 QStringLiteral("<PAR FILE=\"%1\" DESCRIPTION=\"Say \"\"hi\"\"\">").arg(path("links/c.rtf")));

        // Loaded again, every link reads back as it was typed.
        edit(f);
        QCOMPARE(ed()->linkedFilesList->count(), 2);
        QCOMPARE(ed()->linkedFilesList->item(1)->text(), QStringLiteral("Say \"hi\""));
        QCOMPARE(ed()->lessonText->lineCount(), 1);
        // Another program changing only a link is never written over either.
        writeLesson(f, {term("A"), "<PAR FILE=\"b.rtf\" DESCRIPTION=\"theirs\">"});
        dialogs()->messageAnswers.push_back(MsgResult::No);
        QVERIFY(!ed()->saveLesson());
        QVERIFY(dialogs()->lastMessage().startsWith("The lesson file was changed by another program"));
    }

    void linkDialogEndsWithItsButtonsAndEscape()
    {
        LinkedFileDialog *d = linkedFileDialog;
        d->open();
        QTest::keyClick(d, Qt::Key_Escape);
        QCOMPARE(d->result(), 2);
        QVERIFY(!d->isVisible());
        // OK on a link that could not be read back stays in the dialog.
        d->fileNameEdit->clear();
        d->open();
        d->okButton->click();
        QVERIFY(d->isVisible());
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Enter the name of the file to link"));
        d->fileNameEdit->setText(QStringLiteral(" a.rtf"));
        d->okButton->click();
        QVERIFY(d->isVisible());
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("The file name cannot be stored as typed: it may not begin "
                                                          "with a blank, nor hold a double quote followed by a blank "
                                                          "or \">\""));
        d->fileNameEdit->setText(QStringLiteral("a.rtf"));
        d->descriptionEdit->setText(QStringLiteral("\" quoted"));
        d->okButton->click();
        QVERIFY(d->isVisible());
        d->descriptionEdit->setText(QStringLiteral("fine"));
        d->okButton->click();
        QCOMPARE(d->result(), 1);
        d->open();
        d->cancelButton->click();
        QCOMPARE(d->result(), 2);
    }

    void aFailedWriteKeepsTheEditorOpenAndSaysSo()
    {
        const QString blocker = writeLesson(path("fail/blocker"), {"x"});
        const QString f = writeLesson(path("fail/a.kvl"), {term("A")});
        edit(f);
        ed()->fileName = blocker + QStringLiteral("/a.kvl"); // a folder that cannot exist
        ed()->show();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("changed"));
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->closeButtonClicked();
        QVERIFY(ed()->isVisible());
        QVERIFY(ed()->lessonModified);
        QVERIFY(dialogs()->lastMessage().contains(QStringLiteral("not saved")));
        QCOMPARE(readFile(blocker), QByteArray("x"));
    }

    void aWriteFailingPartWayKeepsTheOldLessonAndSaysSo()
    {
        const QString f = writeLesson(path("full/a.kvl"), {term("A"), term("B")});
        const QByteArray before = readFile(f);
        edit(f);
        const QString said = QString::fromUtf8(childtest::withFileSizeLimit(4096, [this] {
            type(ed()->panes[korvana::Pane::Translation].text, QString(20000, QLatin1Char('x')));
            ed()->saveButtonClicked();
            return (dialogs()->lastMessage() + (ed()->lessonModified ? "|modified" : "|clear")).toUtf8();
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
        QVERIFY(editorLoadPending());
        QVERIFY(!ed()->isVisible());
        QCOMPARE(ed()->lessonText->lineCount(), 0);
        QCOMPARE(ed()->linkedFilesList->count(), 0);
    }
};

// The editor with the main window of the whole program: the lessons it
// reopens, one lesson open in both windows, and the commands that open it.
class TestEditorInTheProgram : public EditorCases {
    Q_OBJECT

    std::unique_ptr<apptest::FreshProgram> m_program;
    ScriptedDialogs *dialogs() override { return &m_program->dialogs(); }
    bool editorLoadPending() override { return mainWindow->editorLoadPending(); }
    void setEditorLoadPending() override { mainWindow->setEditorLoadPending(true); }

    // The lessons opened in the practice window, the first one then opened
    // with "Edit lesson".
    void editInBothWindows(const QStringList &lessons)
    {
        apptest::store().openLessons = lessons;
        mainWindow->openLessonFiles(OpenMode::SessionFiles);
        apptest::store().currentLesson = lessons.first();
        mainWindow->editLessonCommand();
        ed()->onActivate();
    }
    void markDifficult(int row)
    {
        apptest::store().currentIndex = row + 1;
        mainWindow->markDifficultButtonClicked();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        LessonEditorWindow::buildWhenShown = true;
        m_program = std::make_unique<apptest::FreshProgram>(false);
        LessonEditorWindow::buildWhenShown = false;
        m_editor = lessonEditorWindow;
        m_editor->show();
        m_editor->hide();
        useFieldSizesAndWorkingFolder(apptest::settings());
    }
    void cleanupTestCase() { m_program.reset(); }

    void init() { m_program->resetDialogs(); }
    void cleanup() { ed()->hide(); }

    void closingSavesAsAskedAndReopensTheLessons()
    {
        const QString f = writeLesson(path("close/a.kvl"), {term("A"), term("B")});
        apptest::store().openLessons = QStringList{f};
        mainWindow->openLessonFiles(OpenMode::SessionFiles);
        edit(f);
        ed()->show();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("A!"));
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->closeButtonClicked();
        QVERIFY(!ed()->isVisible());
        QVERIFY(editorLoadPending());
        QCOMPARE(apptest::linesOfFile(f).first(), QStringLiteral("<OR=A!><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
        // The main window shows the edited lesson.
        QCOMPARE(apptest::store().lessonText.line(0), QStringLiteral("<OR=A!><PI=pA><CH=cA><NO=nA><TY=w>"));

        // No: nothing is saved, the window still closes.
        edit(f);
        ed()->show();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("lost"));
        dialogs()->messageAnswers.push_back(MsgResult::No);
        ed()->closeButtonClicked();
        QVERIFY(!ed()->isVisible());
        QCOMPARE(apptest::linesOfFile(f).first(), QStringLiteral("<OR=A!><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));

        // Yes, then the save dialog of a new lesson cancelled: the edits stay.
        edit(QString());
        ed()->show();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("unsaved"));
        dialogs()->messageAnswers.push_back(MsgResult::Yes);
        ed()->closeButtonClicked();
        QVERIFY(ed()->isVisible());
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QStringLiteral("unsaved"));

        // The title bar takes the same road: it asks, Cancel keeps the
        // editor open, Yes saves and the main window shows the lesson.
        edit(f);
        ed()->show();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("kept too"));
        dialogs()->messageAnswers = {MsgResult::Cancel, MsgResult::Yes};
        QVERIFY(!ed()->close());
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Lesson was modified, save?"));
        QVERIFY(ed()->isVisible());
        QVERIFY(ed()->close());
        QVERIFY(!ed()->isVisible());
        QVERIFY(editorLoadPending());
        QCOMPARE(apptest::linesOfFile(f).first(), QStringLiteral("<OR=kept too><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
        QCOMPARE(apptest::store().lessonText.line(0), QStringLiteral("<OR=kept too><PI=pA><CH=cA><NO=nA><TY=w>"));
    }

    void marksMadeWhileTheEditorIsOpenSurviveItsClosing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("save");
        QTest::newRow("no edit") << QString() << false;
        QTest::newRow("edit not saved") << "lost" << false;
        QTest::newRow("edit saved") << "B!" << true;
    }

    void marksMadeWhileTheEditorIsOpenSurviveItsClosing()
    {
        QFETCH(QString, typed);
        QFETCH(bool, save);
        const QString l = writeLesson(path("marks/l.kvl"), {term("A"), term("B")});
        const QString m = writeLesson(path("marks/m.kvl"), {term("M")});
        editInBothWindows({l, m});
        markDifficult(0);
        markDifficult(2);
        // Meanwhile the editor alone writes l.
        mainWindow->saveLessonsCommand();
        QCOMPARE(dialogs()->lastMessage(), "Some lessons couldn't be saved:\n\n" + l + " (open in the lesson editor)");
        if (!typed.isEmpty()) {
            ed()->nextButtonClicked();
            type(ed()->panes[korvana::Pane::Translation].text, typed);
            dialogs()->messageAnswers.push_back(save ? MsgResult::Yes : MsgResult::No);
        }
        ed()->closeButtonClicked();
        mainWindow->saveLessonsCommand();
        const QString b = save ? QStringLiteral("<OR=B!><PI=pB><CH=cB><NO=nB><TY=w>") : term("B");
        QCOMPARE(apptest::linesOfFile(l), (QStringList{"<ST=d>" + term("A"), "<ST=u>" + b}));
        QCOMPARE(apptest::linesOfFile(m), QStringList{"<ST=d>" + term("M")});
    }

    void theEditorTakesInAddedTermsAndNeverWritesOverOtherChanges()
    {
        const QString l = writeLesson(path("outside/l.kvl"), {term("A"), term("B")});
        editInBothWindows({l, writeLesson(path("outside/m.kvl"), {term("X")})});
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("A!"));
        // Another program adds a line after l's terms; the terms manager
        // puts X in front of them.
        QFile f(l);
        QVERIFY(f.open(QIODevice::Append) && f.write(("\n" + term("Z")).toUtf8()) > 0);
        f.close();
        dialogs()->onModal = [&](QDialog *) {
            termsManagerWindow->show();
            QTreeWidget *list = termsManagerWindow->termList;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                list->topLevelItem(i)->setSelected(list->topLevelItem(i)->text(1) == "X");
            termsManagerWindow->exportCombo->setCurrentText(QStringLiteral("Append to a lesson"));
            dialogs()->openAnswers.push_back({l});
            termsManagerWindow->exportButtonClicked();
        };
        mainWindow->chrome().termsManagerCommand();
        ed()->saveButtonClicked();
        QCOMPARE(apptest::linesOfFile(l),
                 (QStringList{"<ST=u>" + term("X"), "<OR=A!><PI=pA><CH=cA><NO=nA><TY=w><ST=u>", term("B"), term("Z")}));
        QCOMPARE(ed()->termNumber, 2);
        // Terms added only in front are taken in as well.
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("A+"));
        mainWindow->chrome().termsManagerCommand();
        ed()->saveButtonClicked();
        // (both X rows of the terms manager now, the lesson's own included)
        QCOMPARE(apptest::linesOfFile(l),
                 (QStringList{"<ST=u>" + term("X"), "<ST=u>" + term("X"), "<ST=u>" + term("X"),
                              "<OR=A+><PI=pA><CH=cA><NO=nA><TY=w><ST=u>", term("B"), term("Z")}));

        // Any other change is never written over: No keeps the edit in the
        // editor, also when closing; Yes saves it as another lesson.
        writeLesson(l, {"<ST=d>" + term("X"), "<ST=u><OR=A!>", "<ST=u>" + term("B")});
        const QByteArray theirs = readFile(l);
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("A?"));
        dialogs()->messageAnswers = {MsgResult::No, MsgResult::Yes, MsgResult::No};
        ed()->saveButtonClicked();
        QVERIFY(dialogs()->lastMessage().startsWith("The lesson file was changed by another program"));
        ed()->closeButtonClicked();
        QVERIFY(ed()->isVisible() && ed()->lessonModified);
        dialogs()->saveAnswers.push_back(path("outside/mine.kvl"));
        ed()->saveButtonClicked();
        QCOMPARE(readFile(l), theirs);
        QCOMPARE(apptest::linesOfFile(path("outside/mine.kvl")).at(3),
                 QStringLiteral("<OR=A?><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
    }

    void aLessonSavedAgainUnchangedKeepsItsBytes()
    {
        const QString l = writeLesson(path("bytes/l.kvl"), {});
        edit(QString());
        for (const QString &t : {"A", "B"}) {
            type(ed()->panes[korvana::Pane::Translation].text, t);
            ed()->newButtonClicked();
        }
        dialogs()->saveAnswers.push_back(l);
        ed()->saveButtonClicked();
        const QByteArray written = readFile(l);
        editInBothWindows({l});
        ed()->closeButtonClicked();
        mainWindow->saveLessonsCommand();
        QCOMPARE(readFile(l), written);

        // With a mark: the state tag in the size of its line, no paragraph
        // added.
        markDifficult(1);
        mainWindow->saveLessonsCommand();
        RichEdit doc;
        doc.loadFromFile(l);
        QCOMPARE(doc.document()->blockCount(), 2);
        const int at = doc.toSelectionPos(doc.lineIndex(1));
        QCOMPARE(charAt(&doc, at).sizePoints, charAt(&doc, at + 6).sizePoints);
    }

    void mainWindowCommandsOpenTheEditor()
    {
        apptest::store().currentLesson.clear();
        mainWindow->editLessonCommand();
        QCOMPARE(dialogs()->lastMessage(),
                 QStringLiteral("No open lesson to edit. Either open a lesson or use Create new lesson"));
        QVERIFY(!ed()->isVisible());

        const QString f = writeLesson(path("cmd/a.kvl"), {term("A")});
        apptest::store().openLessons = QStringList{f};
        mainWindow->openLessonFiles(OpenMode::SessionFiles);
        QCOMPARE(apptest::store().currentLesson, f);
        QFile::remove(MainWindow::tempSessionFile());
        mainWindow->editLessonCommand();
        QVERIFY(QFile::exists(MainWindow::tempSessionFile()));
        QVERIFY(ed()->isVisible());
        QCOMPARE(ed()->fileName, f);
        QCOMPARE(ed()->windowTitle(), f);

        // Already open: said, and no session is written.
        QFile::remove(MainWindow::tempSessionFile());
        mainWindow->editLessonCommand();
        QCOMPARE(dialogs()->lastMessage(), QStringLiteral("Editor is already open"));
        QVERIFY(!QFile::exists(MainWindow::tempSessionFile()));
        mainWindow->createLessonCommand();
        QCOMPARE(ed()->fileName, f);

        ed()->hide();
        ed()->lessonText->setText(term("stale"));
        mainWindow->createLessonCommand();
        QVERIFY(ed()->isVisible());
        QVERIFY(ed()->fileName.isEmpty());
        QCOMPARE(ed()->windowTitle(), QStringLiteral("New Lesson"));
        QCOMPARE(ed()->lessonText->lineCount(), 0);
    }

    // Last: it ends the run of the windows.
    void closingTheProgramAsksAboutTheEditorsEditsFirst()
    {
        const QString f = writeLesson(path("quit/a.kvl"), {term("A"), term("B")});
        apptest::store().openLessons = QStringList{f};
        mainWindow->openLessonFiles(OpenMode::SessionFiles);
        mainWindow->show();
        edit(f);
        ed()->show();
        type(ed()->panes[korvana::Pane::Translation].text, QStringLiteral("A!"));
        dialogs()->messageAnswers = {MsgResult::Cancel};
        QVERIFY(!mainWindow->close());
        QVERIFY(mainWindow->isVisible() && ed()->isVisible());
        dialogs()->messageAnswers = {MsgResult::Yes};
        QVERIFY(mainWindow->close());
        QVERIFY(!ed()->isVisible());
        QCOMPARE(apptest::linesOfFile(f).first(), QStringLiteral("<OR=A!><PI=pA><CH=cA><NO=nA><TY=w><ST=u>"));
    }
};

KORVANA_WINDOW_TEST_MAIN(TestEditor, TestEditorInTheProgram)
#include "tst_editor.moc"
