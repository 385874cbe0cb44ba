// The dictionary window: searches and pages through its buttons, the result
// count box, sorting, row colours, column widths, speech, copying, keys, the
// caption, dictionary info and the change of dictionary.
#include "support/AppTestSupport.h"
#include "app/WindowChrome.h"
#include "reference/DictionaryData.h"
#include "reference/DictionaryWindow.h"
#include "settings/ProgramPaths.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

namespace {

// Writes a dictionary file as UTF-16 with a byte-order mark, lines joined by CR LF.
void writeDictionary(const QString &path, const QStringList &lines)
{
    const QString text = lines.join(QStringLiteral("\r\n"));
    apptest::writeFile(path, "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
}

// The list's row at a place, as the view reaches it.
QModelIndex listRow(int i)
{
    return dictionaryWindow->resultList->model()->index(i, 0);
}

// Column c of every row, as the view shows it.
QStringList column(int c)
{
    const QAbstractItemModel *model = dictionaryWindow->resultList->model();
    QStringList out;
    for (int i = 0; i < model->rowCount(); ++i)
        out << model->index(i, c).data().toString();
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
    dictionaryWindow->searchEdit->setText(term);
    QTest::keyClick(dictionaryWindow->searchEdit, Qt::Key_Return);
}

} // namespace

class TestDictionaryWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_programFolder;
    std::unique_ptr<apptest::FreshProgram> m_program;
    FakeSpeechVoice *m_voice = nullptr;

    QString dictPath(const QString &name) const { return m_programFolder.filePath(QStringLiteral("dict/") + name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_programFolder.isValid());
        ProgramPaths::setProgramFolder(m_programFolder.path());
        QDir(m_programFolder.path()).mkpath(QStringLiteral("dict"));
        writeDictionary(dictPath(QStringLiteral("cedict_gb.uni")),
                        {QStringLiteral("# Header line"), QStringLiteral("好 [hao3] /good/well/"),
                         QStringLiteral("房子 [fang2 zi5] /house/building/"),
                         QStringLiteral("家 [jia1] /House/home/"),
                         QStringLiteral("房屋 [fang2 wu1] /houses/")});
        writeDictionary(dictPath(QStringLiteral("other.uni")), {QStringLiteral("# Other"), QStringLiteral("猫 [mao1] /cat/")});
    }

    void init()
    {
        m_program = std::make_unique<apptest::FreshProgram>(false);
        auto voice = std::make_unique<FakeSpeechVoice>();
        m_voice = voice.get();
        apptest::state().voice = std::move(voice);
        mainWindow->show();
        dictionaryWindow->show();
    }

    void cleanup() { m_program.reset(); }

    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void searchesFillTheListWithRows()
    {
        dictionaryWindow->caseSensitiveSwitch->setChecked(false);
        search(QStringLiteral("house"));
        // Whole sense first, then the sense that begins with it, then the rest.
        QCOMPARE(column(0), (QStringList{QStringLiteral("房子"), QStringLiteral("家"), QStringLiteral("房屋")}));
        QCOMPARE(column(1).first(), QStringLiteral("fáng zi"));
        QCOMPARE(column(2).first(), QStringLiteral("house; building"));
        QCOMPARE(dictionaryWindow->resultList->currentIndex(), listRow(0));
        QVERIFY(!dictionaryWindow->nextButton->isEnabled() && !dictionaryWindow->previousButton->isEnabled());

        // Exact find: only whole senses; the case box decides about "House".
        dictionaryWindow->searchEdit->setText(QStringLiteral(" house "));
        dictionaryWindow->exactFindButton->click();
        QCOMPARE(column(0), (QStringList{QStringLiteral("房子"), QStringLiteral("家")}));
        dictionaryWindow->caseSensitiveSwitch->setChecked(true);
        dictionaryWindow->exactFindButton->click();
        QCOMPARE(column(0), QStringList{QStringLiteral("房子")});

        // An empty term changes nothing.
        dictionaryWindow->searchEdit->setText(QStringLiteral("  "));
        dictionaryWindow->exactFindButton->click();
        search(QStringLiteral(""));
        QCOMPARE(column(0), QStringList{QStringLiteral("房子")});
    }

    void pagesMoveThroughTheResults()
    {
        apptest::state().dictionary.setText(numberedCats(45));
        search(QStringLiteral("cat"));
        QCOMPARE(column(0).size(), 20);
        QCOMPARE(column(0).first(), QStringLiteral("C1"));
        QVERIFY(dictionaryWindow->nextButton->isEnabled() && !dictionaryWindow->previousButton->isEnabled());

        dictionaryWindow->nextButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
        QCOMPARE(column(0).last(), QStringLiteral("C40"));
        QVERIFY(dictionaryWindow->nextButton->isEnabled() && dictionaryWindow->previousButton->isEnabled());

        dictionaryWindow->nextButton->click();
        QCOMPARE(column(0), (QStringList{QStringLiteral("C41"), QStringLiteral("C42"), QStringLiteral("C43"),
                                         QStringLiteral("C44"), QStringLiteral("C45")}));
        QVERIFY(!dictionaryWindow->nextButton->isEnabled());

        dictionaryWindow->previousButton->click();
        dictionaryWindow->previousButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C1"));
        QCOMPARE(column(0).size(), 20);
        QVERIFY(!dictionaryWindow->previousButton->isEnabled() && dictionaryWindow->nextButton->isEnabled());

        // Pages search the term of the last new search, not the box's text.
        dictionaryWindow->searchEdit->setText(QStringLiteral("dog"));
        dictionaryWindow->nextButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
    }

    void anExactMultipleEndsOnAnEmptyPage()
    {
        apptest::state().dictionary.setText(numberedCats(40));
        search(QStringLiteral("cat"));
        dictionaryWindow->nextButton->click();
        QCOMPARE(column(0).last(), QStringLiteral("C40"));
        QVERIFY(dictionaryWindow->nextButton->isEnabled());
        dictionaryWindow->nextButton->click();
        QVERIFY(column(0).isEmpty());
        QVERIFY(!dictionaryWindow->nextButton->isEnabled() && dictionaryWindow->previousButton->isEnabled());
    }

    void theCountIsTakenWhenTheListCloses()
    {
        apptest::state().dictionary.setText(numberedCats(120));
        QCOMPARE(dictionaryWindow->paging.dictPageSize, 20);
        // Chosen with the arrow keys, without the list: not taken.
        QTest::keyClick(dictionaryWindow->pageSizeCombo, Qt::Key_Down);
        QCOMPARE(dictionaryWindow->pageSizeCombo->currentText(), QStringLiteral("50"));
        search(QStringLiteral("cat"));
        QCOMPARE(column(0).size(), 20);

        dictionaryWindow->pageSizeCombo->showPopup();
        dictionaryWindow->pageSizeCombo->setCurrentIndex(2);
        dictionaryWindow->pageSizeCombo->hidePopup();
        QCOMPARE(dictionaryWindow->paging.dictPageSize, 100);
        // The page shown stays; the next page move uses the new count.
        QCOMPARE(column(0).size(), 20);
        dictionaryWindow->nextButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
        QCOMPARE(column(0).last(), QStringLiteral("C120"));
    }

    void headerClicksSortOnce()
    {
        apptest::state().dictionary.setText(QStringLiteral("# h\r\nB [b1] /zeta/\r\nA [a1] /Beta/\r\nC [c1] /alpha/"));
        search(QStringLiteral("1"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));

        QHeaderView *header = dictionaryWindow->resultList->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
        QCOMPARE(dictionaryWindow->lastSortColumn, 2);
        // Case does not count: alpha, Beta, zeta.
        QCOMPARE(column(0), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
        // The same header again sorts the same way, not the other way round.
        dictionaryWindow->resultListColumnClicked(2);
        QCOMPARE(column(0), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
        // A new search lists in search order again.
        search(QStringLiteral("1"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));

        QCOMPARE(compareDictionaryText(u"abc", u"ABC"), 0);
        QVERIFY(compareDictionaryText(u"apple", u"Banana") < 0);
        QVERIFY(compareDictionaryText(u"Ab", u"abc") < 0);
        QVERIFY(compareDictionaryText(u"b", u"A") > 0);
    }

    // Each column sorts by the text it shows (tone-marked pinyin, not the
    // digits), ties keep their order, and the current row stays on its
    // entry; alike for exact find's listing and find all's page.
    void sortsByTheShownTextKeepingTiesAndTheCurrentRow()
    {
        apptest::state().dictionary.setText(QStringLiteral("# h\r\nb [ma1 zi5] /Cat/\r\nA [ma3 zi5] /dog/\r\n"
                                                      "B [ma1 zi5] /cat/\r\na [ma2 zi5] /Ant/\r\nc [ba1 zi5] /cat/"));
        const QStringList inSearchOrder{u"b"_qs, u"A"_qs, u"B"_qs, u"a"_qs, u"c"_qs};
        const struct {
            int column;
            QStringList chinese;
        } sorts[] = {
            {0, {u"A"_qs, u"a"_qs, u"b"_qs, u"B"_qs, u"c"_qs}},
            {1, {u"c"_qs, u"a"_qs, u"b"_qs, u"B"_qs, u"A"_qs}}, // bā, má, mā, mā, mǎ
            {2, {u"a"_qs, u"b"_qs, u"B"_qs, u"c"_qs, u"A"_qs}},
        };
        for (const bool exact : {true, false}) {
            for (const auto &sort : sorts) {
                dictionaryWindow->searchEdit->setText(QStringLiteral("zi5"));
                if (exact)
                    dictionaryWindow->exactFindButton->click();
                else
                    dictionaryWindow->findAllButton->click();
                QCOMPARE(column(0), inSearchOrder);
                dictionaryWindow->resultList->setCurrentIndex(listRow(1));
                dictionaryWindow->resultListColumnClicked(sort.column);
                QCOMPARE(column(0), sort.chinese);
                const QModelIndex current = dictionaryWindow->resultList->currentIndex();
                QCOMPARE(current.siblingAtColumn(0).data().toString(), QStringLiteral("A"));
                QCOMPARE(dictionaryWindow->resultList->selectionModel()->selectedRows(),
                         QModelIndexList{current.siblingAtColumn(0)});
            }
            // A shorter listing after a sort is in its own search order.
            search(QStringLiteral("dog"));
            QCOMPARE(column(2), QStringList{QStringLiteral("dog")});
        }
        // A page of equal translations stays as it was.
        apptest::state().dictionary.setText(numberedCats(20));
        search(QStringLiteral("cat"));
        const QStringList numbered = column(0);
        dictionaryWindow->resultListColumnClicked(2);
        QCOMPARE(column(0), numbered);
    }

    // Rows not yet drawn give their Chinese (typing in the list, a sort)
    // as the drawn row shows it, whatever the entry's brackets.
    void columnsOfOddEntriesMatchTheDrawnRow()
    {
        const QStringList entries{u"中国 [Zhong1 guo2] /China/"_qs, u"x ] [y1] /z/"_qs, u"no brackets"_qs,
                                  u" 空 [kong1]/empty/"_qs, u"a [b] [c2] /d/"_qs};
        const QStringList chinese{u"中国"_qs, u"x ]"_qs, QString(), u"空"_qs, u"a"_qs};
        for (int sortColumn = 0; sortColumn < 3; ++sortColumn) {
            dictionaryWindow->showResults(entries);
            QCOMPARE(column(0), chinese);
            dictionaryWindow->resultListColumnClicked(sortColumn);
            const QStringList sorted = column(sortColumn);
            for (int i = 1; i < sorted.size(); ++i)
                QVERIFY2(compareDictionaryText(sorted[i - 1], sorted[i]) <= 0, qPrintable(sorted.join(u'|')));
        }
        dictionaryWindow->resultList->keyboardSearch(QStringLiteral("空"));
        QCOMPARE(dictionaryWindow->resultList->currentIndex().siblingAtColumn(2).data().toString(),
                 QStringLiteral("[kong1]; empty"));
    }

    void rowsAlternateFromWhite()
    {
        apptest::state().dictionary.setText(numberedCats(3));
        search(QStringLiteral("cat"));
        // A sort must not carry the colours with the rows.
        dictionaryWindow->resultListColumnClicked(0);
        dictionaryWindow->resultList->setCurrentIndex(QModelIndex());
        dictionaryWindow->resultList->clearSelection();
        const QImage image = dictionaryWindow->resultList->viewport()->grab().toImage();
        for (int i = 0; i < 3; ++i) {
            const QRect r = dictionaryWindow->resultList->visualRect(listRow(i));
            const QPoint p(dictionaryWindow->resultList->columnWidth(0) + 2, r.top() + 1);
            QCOMPARE(QColor(image.pixel(p)), i % 2 ? QColor(0xEB, 0xEB, 0xEB) : QColor(Qt::white));
        }
    }

    void translationColumnFollowsTheList()
    {
        QTreeView *list = dictionaryWindow->resultList;
        list->resize(500, list->height());
        QCOMPARE(list->columnWidth(2), 500 - 80 - 130 - 20);
        dictionaryWindow->onActivate();
        QCOMPARE(list->columnWidth(2), 500 - 80 - 130);
        QCOMPARE(dictionaryWindow->focusWidget(), dictionaryWindow->searchEdit);
    }

    void doubleClickSpeaksTheChinese()
    {
        QTreeView *list = dictionaryWindow->resultList;
        // No rows: nothing is spoken.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(m_voice->spokenTexts().isEmpty());

        search(QStringLiteral("good"));
        for (int i = 0; i < 2; ++i)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->visualRect(listRow(0)).center());
        // Each double click speaks; speech in progress is not cut short.
        QCOMPARE(m_voice->spokenTexts(), (QStringList{QStringLiteral("好"), QStringLiteral("好")}));
        QCOMPARE(m_voice->skipCalls(), 0);

        // Without a speech engine a double click does nothing.
        m_voice = nullptr;
        apptest::state().voice.reset();
        dictionaryWindow->resultListDoubleClicked();
    }

    void copyButtonsCopyOneColumn()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));
        dictionaryWindow->copyChineseButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("before"));

        search(QStringLiteral("house"));
        dictionaryWindow->resultList->setCurrentIndex(listRow(1));
        dictionaryWindow->copyChineseButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("家"));
        dictionaryWindow->copyPinyinButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("jiā"));
        dictionaryWindow->copyTranslationButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("House; home"));
        QCOMPARE(dictionaryWindow->focusWidget(), dictionaryWindow->resultList);

        // No current row: nothing is copied.
        dictionaryWindow->resultList->setCurrentIndex(QModelIndex());
        dictionaryWindow->copyChineseButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("House; home"));
    }

    void keysOfTheWindow()
    {
        search(QStringLiteral("good"));
        QCOMPARE(column(0), QStringList{QStringLiteral("好")});
        QTest::keyClick(dictionaryWindow->searchEdit, Qt::Key_Escape);
        QVERIFY(!dictionaryWindow->isVisible());

        // Reopened by the menu command, with its results kept, at the main
        // window's centre.
        mainWindow->chrome().dictionaryCommand();
        QVERIFY(dictionaryWindow->isVisible());
        QCOMPARE(column(0), QStringList{QStringLiteral("好")});
        QCOMPARE(dictionaryWindow->searchEdit->text(), QStringLiteral("good"));
        QVERIFY(qAbs(dictionaryWindow->frameGeometry().center().x() - mainWindow->frameGeometry().center().x()) <= 1);
        QVERIFY(qAbs(dictionaryWindow->frameGeometry().center().y() - mainWindow->frameGeometry().center().y()) <= 1);

        QTest::keyClick(dictionaryWindow->resultList, Qt::Key_Escape);
        QVERIFY(!dictionaryWindow->isVisible());
        dictionaryWindow->show();
        dictionaryWindow->closeButton->click();
        QVERIFY(!dictionaryWindow->isVisible());
    }

    void captionNamesTheDictionary()
    {
        destroyWindows();
        createWindows();
        QCOMPARE(dictionaryWindow->windowTitle(), QStringLiteral("Dictionary"));
        dictionaryWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(dictionaryWindow));
        dictionaryWindow->repaint();
        QCOMPARE(dictionaryWindow->windowTitle(),
                 QStringLiteral("Dictionary [") + dictPath(QStringLiteral("cedict_gb.uni")) + QStringLiteral("]"));
    }

    void changeDictionary()
    {
        const QString first = apptest::settings().dictionaryFile;
        const QString other = dictPath(QStringLiteral("other.uni"));
        // Cancelled: nothing changes.
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::settings().dictionaryFile, first);
        QCOMPARE(m_program->dialogs().fileRequests.size(), size_t(1));
        const FileDialogRequest &request = m_program->dialogs().fileRequests.back();
        QCOMPARE(request.filter, QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*"));
        QCOMPARE(QDir(request.initialDir).canonicalPath(), QDir(m_programFolder.filePath(QStringLiteral("dict"))).canonicalPath());
        QVERIFY(request.fileName.isEmpty());

        m_program->dialogs().openAnswers.push_back({other});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::settings().dictionaryFile, other);
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("# Other\r\n猫 [mao1] /cat/"));
        QVERIFY(QTest::qWaitForWindowExposed(dictionaryWindow));
        dictionaryWindow->repaint();
        QCOMPARE(dictionaryWindow->windowTitle(), QStringLiteral("Dictionary [") + other + QStringLiteral("]"));

        // The same file again is not reloaded.
        apptest::state().dictionary.setText(QStringLiteral("# kept"));
        m_program->dialogs().openAnswers.push_back({other});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("# kept"));

        // A file that fails is refused: the dictionary in use keeps its text,
        // its name in the caption and the setting; the status line says why.
        const QString missing = dictPath(QStringLiteral("missing.uni"));
        m_program->dialogs().openAnswers.push_back({missing});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::settings().dictionaryFile, other);
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("# kept"));
        QVERIFY2(apptest::status().startsWith(QStringLiteral("Unable to load ") + missing + QStringLiteral(": ")),
                 qPrintable(apptest::status()));
        const QString oneLine = dictPath(QStringLiteral("oneline.uni"));
        writeDictionary(oneLine, {QStringLiteral("no line break")});
        m_program->dialogs().openAnswers.push_back({oneLine});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::settings().dictionaryFile, other);
        QCOMPARE(apptest::status(),
                 QStringLiteral("Unable to load ") + oneLine + QStringLiteral(": no line break"));
        dictionaryWindow->repaint();
        QCOMPARE(dictionaryWindow->windowTitle(), QStringLiteral("Dictionary [") + other + QStringLiteral("]"));
        QVERIFY(m_program->dialogs().messages.empty());
    }

    void dictionaryInfoShowsTheHeader()
    {
        dictionaryWindow->dictionaryInfoAction->trigger();
        QCOMPARE(m_program->dialogs().lastMessage(),
                 apptest::settings().dictionaryFile + QStringLiteral("\n# Header line\r\n"));
        QCOMPARE(m_program->dialogs().messages.back().buttons, MsgButtons::Ok);
        apptest::state().dictionary.setText(QStringLiteral("# only a header"));
        dictionaryWindow->dictionaryInfoAction->trigger();
        QCOMPARE(m_program->dialogs().lastMessage(), apptest::settings().dictionaryFile + QStringLiteral("\n"));
    }

    // Built when first shown, the window has the same controls in the same
    // tab order, at the same size, and searches as one built at once.
    void controlsBuiltWhenShownMatchTheOnesBuiltAtOnce()
    {
        const auto tabOrder = [](QWidget *w) {
            QStringList out;
            for (QWidget *c = w->nextInFocusChain(); c != w; c = c->nextInFocusChain()) {
                const auto *b = qobject_cast<QAbstractButton *>(c);
                out << QString::fromLatin1(c->metaObject()->className()) + u' ' + (b ? b->text() : QString());
            }
            return out;
        };
        const QStringList atOnce = tabOrder(dictionaryWindow);
        const QSize size = dictionaryWindow->size();
        destroyWindows();
        DictionaryWindow::buildWhenShown = true;
        createWindows();
        DictionaryWindow::buildWhenShown = false;
        QVERIFY(!dictionaryWindow->searchEdit);
        mainWindow->show();
        dictionaryWindow->show();
        QCOMPARE(tabOrder(dictionaryWindow), atOnce);
        QCOMPARE(dictionaryWindow->size(), size);
        QCOMPARE(dictionaryWindow->paging.dictPageSize, 20);
        search(QStringLiteral("good"));
        QCOMPARE(column(0), QStringList{QStringLiteral("好")});
    }
};

QTEST_MAIN(TestDictionaryWindow)
#include "tst_dictionary_window.moc"
