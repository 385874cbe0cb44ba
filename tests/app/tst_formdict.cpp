// The dictionary window: searches and pages through its buttons, the result
// count box, sorting, row colours, column widths, speech, copying, keys, the
// caption, dictionary info and the change of dictionary.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/speech/FakeSpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "reference/TFormDict.h"
#include "settings/ProgramPaths.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

namespace {

// Writes a dictionary file as UTF-16 with a byte-order mark, lines joined by CR LF.
void writeDictionary(const QString &path, const QStringList &lines)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QString text = lines.join(QStringLiteral("\r\n"));
    f.write("\xFF\xFE");
    f.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QStringList column(int c)
{
    QStringList out;
    for (int i = 0; i < FormDict->lvTerms->topLevelItemCount(); ++i)
        out << FormDict->lvTerms->topLevelItem(i)->text(c);
    return out;
}

// A dictionary with n entries whose sense is "cat", numbered in file order.
QString numberedCats(int n)
{
    QStringList lines{QStringLiteral("# numbered")};
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("C%1 [mao1] /cat/").arg(i);
    return lines.join(QStringLiteral("\r\n"));
}

void search(const QString &term)
{
    FormDict->eSearchTerm->setText(term);
    QTest::keyClick(FormDict->eSearchTerm, Qt::Key_Return);
}

} // namespace

class TestFormDict : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    FakeSpeechVoice *m_voice = nullptr;

    QString dictPath(const QString &name) const { return m_program.filePath(QStringLiteral("dict/") + name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_program.isValid());
        apptest::useHomeFolders(m_home);
        apptest::useFakeVoice();
        ProgramPaths::setProgramFolder(m_program.path());
        QDir(m_program.path()).mkpath(QStringLiteral("dict"));
        writeDictionary(dictPath(QStringLiteral("cedict_gb.uni")),
                        {QStringLiteral("# Header line"), QStringLiteral("好 [hao3] /good/well/"),
                         QStringLiteral("房子 [fang2 zi5] /house/building/"),
                         QStringLiteral("家 [jia1] /House/home/"),
                         QStringLiteral("房屋 [fang2 wu1] /houses/")});
        writeDictionary(dictPath(QStringLiteral("other.uni")), {QStringLiteral("# Other"), QStringLiteral("猫 [mao1] /cat/")});
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        CreateForms();
        auto voice = std::make_unique<FakeSpeechVoice>();
        m_voice = voice.get();
        Form1->SpVoice = std::move(voice);
        Form1->show();
        FormDict->show();
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void searchesFillTheListWithRows()
    {
        FormDict->chbCase->setChecked(false);
        search(QStringLiteral("house"));
        // Whole sense first, then the sense that begins with it, then the rest.
        QCOMPARE(column(0), (QStringList{QStringLiteral("房子"), QStringLiteral("家"), QStringLiteral("房屋")}));
        QCOMPARE(column(1).first(), QStringLiteral("fáng zi"));
        QCOMPARE(column(2).first(), QStringLiteral("house; building"));
        QCOMPARE(FormDict->lvTerms->currentItem(), FormDict->lvTerms->topLevelItem(0));
        QVERIFY(!FormDict->bNext->isEnabled() && !FormDict->bPrevious->isEnabled());

        // Exact find: only whole senses; the case box decides about "House".
        FormDict->eSearchTerm->setText(QStringLiteral(" house "));
        FormDict->bExactFind->click();
        QCOMPARE(column(0), (QStringList{QStringLiteral("房子"), QStringLiteral("家")}));
        FormDict->chbCase->setChecked(true);
        FormDict->bExactFind->click();
        QCOMPARE(column(0), QStringList{QStringLiteral("房子")});

        // An empty term changes nothing.
        FormDict->eSearchTerm->setText(QStringLiteral("  "));
        FormDict->bExactFind->click();
        search(QStringLiteral(""));
        QCOMPARE(column(0), QStringList{QStringLiteral("房子")});
    }

    void pagesMoveThroughTheResults()
    {
        Form1->FDictText = numberedCats(45);
        search(QStringLiteral("cat"));
        QCOMPARE(column(0).size(), 20);
        QCOMPARE(column(0).first(), QStringLiteral("C1"));
        QVERIFY(FormDict->bNext->isEnabled() && !FormDict->bPrevious->isEnabled());

        FormDict->bNext->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
        QCOMPARE(column(0).last(), QStringLiteral("C40"));
        QVERIFY(FormDict->bNext->isEnabled() && FormDict->bPrevious->isEnabled());

        FormDict->bNext->click();
        QCOMPARE(column(0), (QStringList{QStringLiteral("C41"), QStringLiteral("C42"), QStringLiteral("C43"),
                                         QStringLiteral("C44"), QStringLiteral("C45")}));
        QVERIFY(!FormDict->bNext->isEnabled());

        FormDict->bPrevious->click();
        FormDict->bPrevious->click();
        QCOMPARE(column(0).first(), QStringLiteral("C1"));
        QCOMPARE(column(0).size(), 20);
        QVERIFY(!FormDict->bPrevious->isEnabled() && FormDict->bNext->isEnabled());

        // Pages search the term of the last new search, not the box's text.
        FormDict->eSearchTerm->setText(QStringLiteral("dog"));
        FormDict->bNext->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
    }

    void anExactMultipleEndsOnAnEmptyPage()
    {
        Form1->FDictText = numberedCats(40);
        search(QStringLiteral("cat"));
        FormDict->bNext->click();
        QCOMPARE(column(0).last(), QStringLiteral("C40"));
        QVERIFY(FormDict->bNext->isEnabled());
        FormDict->bNext->click();
        QVERIFY(column(0).isEmpty());
        QVERIFY(!FormDict->bNext->isEnabled() && FormDict->bPrevious->isEnabled());
    }

    void theCountIsTakenWhenTheListCloses()
    {
        Form1->FDictText = numberedCats(120);
        QCOMPARE(FormDict->paging.DictPageSize, 20);
        // Chosen with the arrow keys, without the list: not taken.
        QTest::keyClick(FormDict->cbPocetTerminu, Qt::Key_Down);
        QCOMPARE(FormDict->cbPocetTerminu->currentText(), QStringLiteral("50"));
        search(QStringLiteral("cat"));
        QCOMPARE(column(0).size(), 20);

        FormDict->cbPocetTerminu->showPopup();
        FormDict->cbPocetTerminu->setCurrentIndex(2);
        FormDict->cbPocetTerminu->hidePopup();
        QCOMPARE(FormDict->paging.DictPageSize, 100);
        // The page shown stays; the next page move uses the new count.
        QCOMPARE(column(0).size(), 20);
        FormDict->bNext->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
        QCOMPARE(column(0).last(), QStringLiteral("C120"));
    }

    void headerClicksSortOnce()
    {
        Form1->FDictText = QStringLiteral("# h\r\nB [b1] /zeta/\r\nA [a1] /Beta/\r\nC [c1] /alpha/");
        search(QStringLiteral("1"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));

        QHeaderView *header = FormDict->lvTerms->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
        QCOMPARE(FormDict->DictSortColumn, 2);
        // Case does not count: alpha, Beta, zeta.
        QCOMPARE(column(0), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
        // The same header again sorts the same way, not the other way round.
        FormDict->lvTermsColumnClick(2);
        QCOMPARE(column(0), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
        // A new search lists in search order again.
        search(QStringLiteral("1"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));

        QCOMPARE(compareDictionaryText(u"abc", u"ABC"), 0);
        QVERIFY(compareDictionaryText(u"apple", u"Banana") < 0);
        QVERIFY(compareDictionaryText(u"Ab", u"abc") < 0);
        QVERIFY(compareDictionaryText(u"b", u"A") > 0);
    }

    void rowsAlternateFromWhite()
    {
        Form1->FDictText = numberedCats(3);
        search(QStringLiteral("cat"));
        // A sort must not carry the colours with the rows.
        FormDict->lvTermsColumnClick(0);
        FormDict->lvTerms->setCurrentItem(nullptr);
        FormDict->lvTerms->clearSelection();
        const QImage image = FormDict->lvTerms->viewport()->grab().toImage();
        for (int i = 0; i < 3; ++i) {
            const QRect r = FormDict->lvTerms->visualItemRect(FormDict->lvTerms->topLevelItem(i));
            const QPoint p(FormDict->lvTerms->columnWidth(0) + 2, r.top() + 1);
            QCOMPARE(QColor(image.pixel(p)), i % 2 ? QColor(0xEB, 0xEB, 0xEB) : QColor(Qt::white));
        }
    }

    void translationColumnFollowsTheList()
    {
        QTreeWidget *list = FormDict->lvTerms;
        list->resize(500, list->height());
        QCOMPARE(list->columnWidth(2), 500 - 80 - 130 - 20);
        FormDict->FormActivate();
        QCOMPARE(list->columnWidth(2), 500 - 80 - 130);
        QCOMPARE(FormDict->focusWidget(), FormDict->eSearchTerm);
    }

    void doubleClickSpeaksTheChinese()
    {
        QTreeWidget *list = FormDict->lvTerms;
        // No rows: nothing is spoken.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(m_voice->spokenTexts().isEmpty());

        search(QStringLiteral("good"));
        for (int i = 0; i < 2; ++i)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->visualItemRect(list->topLevelItem(0)).center());
        // Each double click speaks; speech in progress is not cut short.
        QCOMPARE(m_voice->spokenTexts(), (QStringList{QStringLiteral("好"), QStringLiteral("好")}));
        QCOMPARE(m_voice->skipCalls(), 0);

        // Without a speech engine a double click does nothing.
        m_voice = nullptr;
        Form1->SpVoice.reset();
        FormDict->lvTermsDblClick();
    }

    void copyButtonsCopyOneColumn()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));
        FormDict->bCopyChinese->click();
        QCOMPARE(clipboard->text(), QStringLiteral("before"));

        search(QStringLiteral("house"));
        FormDict->lvTerms->setCurrentItem(FormDict->lvTerms->topLevelItem(1));
        FormDict->bCopyChinese->click();
        QCOMPARE(clipboard->text(), QStringLiteral("家"));
        FormDict->bCopyPinyin->click();
        QCOMPARE(clipboard->text(), QStringLiteral("jiā"));
        FormDict->bCopyTranslation->click();
        QCOMPARE(clipboard->text(), QStringLiteral("House; home"));
        QCOMPARE(FormDict->focusWidget(), FormDict->lvTerms);

        // No current row: nothing is copied.
        FormDict->lvTerms->setCurrentItem(nullptr);
        FormDict->bCopyChinese->click();
        QCOMPARE(clipboard->text(), QStringLiteral("House; home"));
    }

    void keysOfTheWindow()
    {
        search(QStringLiteral("good"));
        QCOMPARE(column(0), QStringList{QStringLiteral("好")});
        QTest::keyClick(FormDict->eSearchTerm, Qt::Key_Escape);
        QVERIFY(!FormDict->isVisible());

        // Reopened by the menu command, with its results kept, at the main
        // window's centre.
        Form1->mlDictionaryClick();
        QVERIFY(FormDict->isVisible());
        QCOMPARE(column(0), QStringList{QStringLiteral("好")});
        QCOMPARE(FormDict->eSearchTerm->text(), QStringLiteral("good"));
        QVERIFY(qAbs(FormDict->frameGeometry().center().x() - Form1->frameGeometry().center().x()) <= 1);
        QVERIFY(qAbs(FormDict->frameGeometry().center().y() - Form1->frameGeometry().center().y()) <= 1);

        QTest::keyClick(FormDict->lvTerms, Qt::Key_Escape);
        QVERIFY(!FormDict->isVisible());
        FormDict->show();
        FormDict->bClose->click();
        QVERIFY(!FormDict->isVisible());
    }

    void captionNamesTheDictionary()
    {
        DestroyForms();
        CreateForms();
        QCOMPARE(FormDict->windowTitle(), QStringLiteral("Dictionary"));
        FormDict->show();
        QVERIFY(QTest::qWaitForWindowExposed(FormDict));
        FormDict->repaint();
        QCOMPARE(FormDict->windowTitle(), QStringLiteral("Dictionary [") + dictPath(QStringLiteral("cedict_gb.uni")) +
                                              QStringLiteral("]"));
    }

    void changeDictionary()
    {
        const QString first = Form1->FDictFile;
        const QString other = dictPath(QStringLiteral("other.uni"));
        // Cancelled: nothing changes.
        FormDict->Changedictionary1->trigger();
        QCOMPARE(Form1->FDictFile, first);
        QCOMPARE(m_dialogs->dialogs.fileRequests.size(), size_t(1));
        const FileDialogRequest &request = m_dialogs->dialogs.fileRequests.back();
        QCOMPARE(request.filter, QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*"));
        QCOMPARE(QDir(request.initialDir).canonicalPath(), QDir(m_program.filePath(QStringLiteral("dict"))).canonicalPath());
        QVERIFY(request.fileName.isEmpty());

        m_dialogs->dialogs.openAnswers.push_back({other});
        FormDict->Changedictionary1->trigger();
        QCOMPARE(Form1->FDictFile, other);
        QCOMPARE(Form1->FDictText, QStringLiteral("# Other\r\n猫 [mao1] /cat/"));
        QVERIFY(QTest::qWaitForWindowExposed(FormDict));
        FormDict->repaint();
        QCOMPARE(FormDict->windowTitle(), QStringLiteral("Dictionary [") + other + QStringLiteral("]"));

        // The same file again is not reloaded.
        Form1->FDictText = QStringLiteral("# kept");
        m_dialogs->dialogs.openAnswers.push_back({other});
        FormDict->Changedictionary1->trigger();
        QCOMPARE(Form1->FDictText, QStringLiteral("# kept"));

        // A file that fails is refused: the dictionary in use keeps its text,
        // its name in the caption and the setting; the status line says why.
        const QString missing = dictPath(QStringLiteral("missing.uni"));
        m_dialogs->dialogs.openAnswers.push_back({missing});
        FormDict->Changedictionary1->trigger();
        QCOMPARE(Form1->FDictFile, other);
        QCOMPARE(Form1->FDictText, QStringLiteral("# kept"));
        QVERIFY2(Form1->lStatus->text().startsWith(QStringLiteral("Unable to load ") + missing + QStringLiteral(": ")),
                 qPrintable(Form1->lStatus->text()));
        const QString oneLine = dictPath(QStringLiteral("oneline.uni"));
        writeDictionary(oneLine, {QStringLiteral("no line break")});
        m_dialogs->dialogs.openAnswers.push_back({oneLine});
        FormDict->Changedictionary1->trigger();
        QCOMPARE(Form1->FDictFile, other);
        QCOMPARE(Form1->lStatus->text(), QStringLiteral("Unable to load ") + oneLine + QStringLiteral(": no line break"));
        FormDict->repaint();
        QCOMPARE(FormDict->windowTitle(), QStringLiteral("Dictionary [") + other + QStringLiteral("]"));
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void dictionaryInfoShowsTheHeader()
    {
        FormDict->Dictionaryinfo1->trigger();
        QCOMPARE(m_dialogs->dialogs.lastMessage(),
                 Form1->FDictFile + QStringLiteral("\n# Header line\r\n"));
        QCOMPARE(m_dialogs->dialogs.messages.back().buttons, MsgButtons::Ok);
        Form1->FDictText = QStringLiteral("# only a header");
        FormDict->Dictionaryinfo1->trigger();
        QCOMPARE(m_dialogs->dialogs.lastMessage(), Form1->FDictFile + QStringLiteral("\n"));
    }
};

QTEST_MAIN(TestFormDict)
#include "tst_formdict.moc"
