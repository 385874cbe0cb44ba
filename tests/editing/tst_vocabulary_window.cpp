// The vocabulary builder window driven as the user drives it: over lessons
// opened as the program opens them, built, saved under the names users type,
// printed, reordered by dragging, and closed by Escape; and opened from the
// Tools menu of the whole program.
#include "app/HoverLabel.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/WindowChrome.h"
#include "editing/VocabularyPrinter.h"
#include "editing/VocabularyWindow.h"
#include "support/ChildProcess.h"
#include "support/ProgramTestCase.h"
#include "support/WindowTestFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

using namespace korvana;

namespace {

using apptest::writeLesson;

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// Takes print jobs instead of a printer.
class RecordingPrinter : public DocumentPrinter {
public:
    QStringList titles, texts;
    void print(const QTextDocument &document, const QString &title) override
    {
        titles << title;
        texts << document.toPlainText();
    }
};

QStringList displayOrder(const VocabularyWindow *w)
{
    QStringList out;
    for (int i = 0; i < w->displayOrderList->count(); ++i)
        out << w->displayOrderList->item(i)->text()
                   + (w->displayOrderList->item(i)->checkState() == Qt::Checked ? "+" : "-");
    return out;
}

// first.kvl: one (w), hello (p); second.kvl: two (w, learned).
QStringList writeTwoLessons(const QString &folder)
{
    return {writeLesson(folder + "/first.kvl", {"<OR=one><PI=yi1><CH=一><NO=><TY=w><ST=u>",
                                                "<OR=hello><PI=ni3 hao3><CH=你好><NO=><TY=p><ST=u>"}),
            writeLesson(folder + "/second.kvl", {"<OR=two><PI=><CH=二><NO=n><TY=w><ST=l>"})};
}

} // namespace

class TestVocabularyWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<windowtest::Fixture> f;
    RecordingPrinter m_printer;
    std::unique_ptr<VocabularyWindow> w;
    ScriptedDialogs &dialogs() { return f->dialogs(); }

    QString lessonPath(const QString &name) const { return m_home.filePath("lessons/" + name); }

    void open(const QStringList &files) { QCOMPARE(f->openLessons(files), QStringList()); }
    void openTwoLessons() { open(writeTwoLessons(m_home.filePath("lessons"))); }
    QString vocabulary() const { return w->vocabularyText->text(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        DocumentPrinter::setInstance(&m_printer);
    }
    void cleanupTestCase() { DocumentPrinter::setInstance(nullptr); }

    void init()
    {
        f = std::make_unique<windowtest::Fixture>();
        w = std::make_unique<VocabularyWindow>(f->settings, f->store, &f->mainWidget);
        m_printer.titles.clear();
        m_printer.texts.clear();
    }
    void cleanup()
    {
        w.reset();
        f.reset();
    }

    void nothingOpenedYet()
    {
        w->vocabularyText->setText("kept");
        w->buildButtonClicked();
        QCOMPARE(dialogs().lastMessage(), QString("To compile vocabulary you must first open one or more lessons"));
        QCOMPARE(dialogs().messages.back().buttons, MsgButtons::Ok);
        QCOMPARE(vocabulary(), QString("kept"));
    }

    void choicesOfTheWindowReachTheBuild()
    {
        openTwoLessons();
        w->includeList->item(1)->setCheckState(Qt::Checked);
        w->optionsList->item(0)->setCheckState(Qt::Checked); // sorted
        w->optionsList->item(2)->setCheckState(Qt::Checked); // lessons
        w->displayOrderList->item(1)->setCheckState(Qt::Unchecked);
        w->separatorEdit->setText("^t|");
        f->settings.useCharactersFont = true;
        f->settings.charactersFont = "KaiTi";
        w->buildButtonClicked();
        QCOMPARE(vocabulary(),
                 QString("hello\t|你好\t|first.kvl\r\none\t|一\t|first.kvl\r\ntwo\t|二\t|second.kvl\r\n"));
        QTextCursor c(w->vocabularyText->document());
        c.setPosition(int(vocabulary().indexOf("你")) + 1);
        QCOMPARE(c.charFormat().fontFamilies().toStringList().value(0), QString("KaiTi"));
        c.setPosition(int(vocabulary().indexOf("second")) + 1);
        QCOMPARE(c.charFormat().fontFamilies().toStringList().value(0), QString("Arial"));
        QCOMPARE(c.charFormat().fontPointSize(), 9.0);
    }

    void rowWithoutLineKeepsWhatWasBuilt()
    {
        openTwoLessons();
        f->store.termTable.setRowCount(5);
        w->buildButtonClicked();
        QVERIFY(w->lastBuildIncomplete());
        QCOMPARE(vocabulary(), QString("one\tyi1\t一\r\ntwo\t二\r\n"));
        QVERIFY(w->vocabularyView->isEnabled());
        QVERIFY(!w->waitLabel->isVisibleTo(w.get())); // no "Wait please..." left over a build that ended
    }

    void savingUnderTypedNames()
    {
        openTwoLessons();
        w->buildButtonClicked();
        dialogs().fileRequests.clear();
        const QString dir = m_home.filePath("out");
        QDir().mkpath(dir + "/v1.0");
        writeLesson(dir + "/words.rtf", {"old content"});
        // An existing file is replaced only when the user says so; the
        // question names the file with the extension added.
        dialogs().saveAnswers = {dir + "/words", dir + "/words", dir + "/words.txt", dir + "/v1.0/list"};
        dialogs().messageAnswers = {MsgResult::No, MsgResult::Yes};
        w->saveButtonClicked();
        QCOMPARE(dialogs().lastMessage(), dir + "/words.rtf already exists.\nDo you want to replace it?");
        QCOMPARE(dialogs().messages.back().buttons, MsgButtons::YesNo);
        QCOMPARE(readAll(dir + "/words.rtf"), QString("old content"));
        w->saveButtonClicked();
        w->saveButtonClicked();
        w->saveButtonClicked();
        QCOMPARE(dialogs().messages.size(), std::size_t(2)); // only words.rtf was there
        const FileDialogRequest &asked = dialogs().fileRequests.at(0);
        QCOMPARE(asked.filter, QString("RTF|*.rtf|AllFiles|*.*"));
        QCOMPARE(asked.defaultExt, QString());
        QCOMPARE(asked.initialDir, f->settings.workingDirectory);
        // A dot in a folder's name is no extension.
        for (const QString &written : {dir + "/words.rtf", dir + "/words.txt", dir + "/v1.0/list.rtf"}) {
            const QString text = readAll(written);
            QVERIFY2(text.startsWith("{\\rtf"), qPrintable(written));
            RichEdit back;
            back.loadFromFile(written);
            QCOMPARE(back.text(), vocabulary());
        }
        QVERIFY(!QFile::exists(dir + "/v1.0/list"));
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList({"words.rtf", "words.txt"}));

        // Cancel writes nothing; a folder that cannot be written reports an error.
        w->saveButtonClicked();
        QCOMPARE(QDir(dir).entryList(QDir::Files).size(), 2);
        dialogs().saveAnswers = {m_home.filePath("missing/folder/x.rtf")};
        w->saveButtonClicked();
        QVERIFY(dialogs().lastMessage().startsWith("The vocabulary was not saved"));
        QCOMPARE(dialogs().messages.back().icon, MsgIcon::Error);
    }

    void aWriteFailingPartWayKeepsTheOldFileAndSaysSo()
    {
        openTwoLessons();
        w->buildButtonClicked();
        w->vocabularyText->setText(QString(20000, 'v'));
        const QString target = writeLesson(m_home.filePath("full/words.rtf"), {"old"});
        const QString said = QString::fromUtf8(childtest::withFileSizeLimit(4096, [&] {
            dialogs().saveAnswers = {target};
            dialogs().messageAnswers = {MsgResult::Yes};
            w->saveButtonClicked();
            return dialogs().lastMessage().toUtf8();
        }));
        QVERIFY2(said.startsWith("The vocabulary was not saved") && said.contains("too large"), qPrintable(said));
        QCOMPARE(readAll(target), QString("old"));
        QCOMPARE(QDir(m_home.filePath("full")).entryList(QDir::Files | QDir::Hidden), QStringList{"words.rtf"});
    }

    void printingTheDocument()
    {
        openTwoLessons();
        w->buildButtonClicked();
        w->printButtonClicked();
        QCOMPARE(m_printer.titles, QStringList({"Korvana"}));
        QCOMPARE(m_printer.texts.value(0), QString("one\tyi1\t一\ntwo\t二\n"));
    }

    void draggingSwapsItems()
    {
        QListWidget *list = w->displayOrderList;
        w->show();
        QVERIFY(w->displayOrderListDragOver(list));
        QVERIFY(!w->displayOrderListDragOver(w->optionsList));
        QVERIFY(!w->displayOrderListDragOver(nullptr));

        list->setCurrentRow(3);
        w->displayOrderListDropped(list, list->visualItemRect(list->item(0)).center());
        QCOMPARE(displayOrder(w.get()), QStringList({"Notes-", "Pin yin+", "Chinese+", "Translation+"}));
        // Dropped off the items, or coming from elsewhere: nothing changes.
        list->setCurrentRow(1);
        w->displayOrderListDropped(list, QPoint(5, list->viewport()->height() - 2));
        w->displayOrderListDropped(w->optionsList, list->visualItemRect(list->item(2)).center());
        QCOMPARE(displayOrder(w.get()), QStringList({"Notes-", "Pin yin+", "Chinese+", "Translation+"}));

        // The new order is the order of the columns.
        const QString lesson = writeLesson(lessonPath("n.kvl"), {"<OR=one><PI=yi1><CH=一><NO=nn><TY=w>"});
        open({lesson});
        list->item(0)->setCheckState(Qt::Checked);
        w->buildButtonClicked();
        QCOMPARE(vocabulary(), QString("nn\tyi1\t一\tone\r\n"));
    }

    void escapeAndCloseEndTheWindow()
    {
        w->show();
        QVERIFY(w->isVisible());
        QTest::keyClick(w->separatorEdit, Qt::Key_Escape);
        QCOMPARE(w->result(), 2);
        w->show();
        w->closeButton->click();
        QVERIFY(!w->isVisible());
    }
};

// The window as the Tools menu of the whole program opens it.
class TestVocabularyWindowInTheProgram : public apptest::ProgramTestCase {
    Q_OBJECT

    VocabularyWindow *w = nullptr;
    QString vocabulary() const { return w->vocabularyText->text(); }

    // Through the open dialog, as the user does.
    void openTwoLessons()
    {
        const QStringList files = writeTwoLessons(homePath(QStringLiteral("lessons")));
        dialogs().openAnswers.push_back(files);
        mainWindow->openLessonFiles(OpenMode::Lesson);
        QCOMPARE(apptest::store().openLessons, files);
    }

    void programStarted() override { w = vocabularyWindow; }

private slots:
    void menuOpensItModallyAndBuildsOpenLessons()
    {
        openTwoLessons();
        const QString countsBefore = apptest::store().termTable.cell(TermGrid::ShownCount, 0);
        QStringList seen;
        dialogs().onModal = [&](QDialog *d) {
            seen << d->objectName();
            vocabularyWindow->buildButtonClicked();
        };
        mainWindow->chrome().saveAsVocabularyCommand();
        QVERIFY(dialogs().modalsShown == std::vector<QString>{"vocabularyWindow"});
        QCOMPARE(seen, QStringList({"vocabularyWindow"}));
        // The learned term comes out too: the builder lays out every open term.
        QCOMPARE(vocabulary(), QString("one\tyi1\t一\r\ntwo\t二\r\n"));
        QCOMPARE(w->buildProgress->maximum(), 3);
        QCOMPARE(w->buildProgress->value(), 3);
        QVERIFY(!w->buildProgress->isVisibleTo(w));
        QVERIFY(!w->waitLabel->isVisibleTo(w));
        QVERIFY(w->vocabularyView->isEnabled());
        QVERIFY(!w->lastBuildIncomplete());
        // The store is read, never written.
        QCOMPARE(apptest::store().termTable.cell(TermGrid::ShownCount, 0), countsBefore);
        QCOMPARE(apptest::store().termTable.cell(TermGrid::TermKey, 0), QString());
    }
};

KORVANA_WINDOW_TEST_MAIN(TestVocabularyWindow, TestVocabularyWindowInTheProgram)
#include "tst_vocabulary_window.moc"
