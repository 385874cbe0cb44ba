// The dictionary window: searches and pages through its buttons, the result
// count box, sorting, row colours, column widths, speech, copying, keys, the
// caption, dictionary info and the change of dictionary.
#include "app/WindowChrome.h"
#include "reference/DictionaryData.h"
#include "reference/DictionaryWindow.h"
#include "settings/ProgramPaths.h"
#include "support/ProgramTestCase.h"
#include "support/WindowTestFixture.h"

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

// The window the cases act on.
DictionaryWindow *dw = nullptr;

const QStringList firstDictionaryLines{QStringLiteral("# Header line"), QStringLiteral("好 [hao3] /good/well/"),
                                       QStringLiteral("房子 [fang2 zi5] /house/building/"),
                                       QStringLiteral("家 [jia1] /House/home/"),
                                       QStringLiteral("房屋 [fang2 wu1] /houses/")};

// Writes a dictionary file as UTF-16 with a byte-order mark, lines joined by CR LF.
void writeDictionary(const QString &path, const QStringList &lines)
{
    const QString text = lines.join(QStringLiteral("\r\n"));
    apptest::writeFile(path, "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
}

// The list's row at a place, as the view reaches it.
QModelIndex listRow(int i)
{
    return dw->resultList->model()->index(i, 0);
}

// Column c of every row, as the view shows it.
QStringList column(int c)
{
    const QAbstractItemModel *model = dw->resultList->model();
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
    dw->searchEdit->setText(term);
    QTest::keyClick(dw->searchEdit, Qt::Key_Return);
}

} // namespace

// The window alone, on the fixture's dictionary and voice.
class TestDictionaryWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<windowtest::Fixture> f;
    std::unique_ptr<DictionaryWindow> m_window;
    FakeSpeechVoice *m_voice = nullptr;

    void buildWindow()
    {
        m_window = std::make_unique<DictionaryWindow>(f->dictionaryHost, f->settings, &f->mainWidget);
        dw = m_window.get();
    }

private slots:
    void init()
    {
        f = std::make_unique<windowtest::Fixture>();
        f->dictionary.setText(firstDictionaryLines.join(QStringLiteral("\r\n")));
        m_voice = f->fakeVoice();
        buildWindow();
        dw->show();
    }

    void cleanup()
    {
        m_window.reset();
        dw = nullptr;
        f.reset();
    }

    void searchesFillTheListWithRows()
    {
        dw->caseSensitiveSwitch->setChecked(false);
        search(QStringLiteral("house"));
        // Whole sense first, then the sense that begins with it, then the rest.
        QCOMPARE(column(0), (QStringList{QStringLiteral("房子"), QStringLiteral("家"), QStringLiteral("房屋")}));
        QCOMPARE(column(1).first(), QStringLiteral("fáng zi"));
        QCOMPARE(column(2).first(), QStringLiteral("house; building"));
        QCOMPARE(dw->resultList->currentIndex(), listRow(0));
        QVERIFY(!dw->nextButton->isEnabled() && !dw->previousButton->isEnabled());

        // Exact find: only whole senses; the case box decides about "House".
        dw->searchEdit->setText(QStringLiteral(" house "));
        dw->exactFindButton->click();
        QCOMPARE(column(0), (QStringList{QStringLiteral("房子"), QStringLiteral("家")}));
        dw->caseSensitiveSwitch->setChecked(true);
        dw->exactFindButton->click();
        QCOMPARE(column(0), QStringList{QStringLiteral("房子")});

        // An empty term changes nothing.
        dw->searchEdit->setText(QStringLiteral("  "));
        dw->exactFindButton->click();
        search(QStringLiteral(""));
        QCOMPARE(column(0), QStringList{QStringLiteral("房子")});
    }

    void pagesMoveThroughTheResults()
    {
        f->dictionary.setText(numberedCats(45));
        search(QStringLiteral("cat"));
        QCOMPARE(column(0).size(), 20);
        QCOMPARE(column(0).first(), QStringLiteral("C1"));
        QVERIFY(dw->nextButton->isEnabled() && !dw->previousButton->isEnabled());

        dw->nextButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
        QCOMPARE(column(0).last(), QStringLiteral("C40"));
        QVERIFY(dw->nextButton->isEnabled() && dw->previousButton->isEnabled());

        dw->nextButton->click();
        QCOMPARE(column(0), (QStringList{QStringLiteral("C41"), QStringLiteral("C42"), QStringLiteral("C43"),
                                         QStringLiteral("C44"), QStringLiteral("C45")}));
        QVERIFY(!dw->nextButton->isEnabled());

        dw->previousButton->click();
        dw->previousButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C1"));
        QCOMPARE(column(0).size(), 20);
        QVERIFY(!dw->previousButton->isEnabled() && dw->nextButton->isEnabled());

        // Pages search the term of the last new search, not the box's text.
        dw->searchEdit->setText(QStringLiteral("dog"));
        dw->nextButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
    }

    void anExactMultipleEndsOnAnEmptyPage()
    {
        f->dictionary.setText(numberedCats(40));
        search(QStringLiteral("cat"));
        dw->nextButton->click();
        QCOMPARE(column(0).last(), QStringLiteral("C40"));
        QVERIFY(dw->nextButton->isEnabled());
        dw->nextButton->click();
        QVERIFY(column(0).isEmpty());
        QVERIFY(!dw->nextButton->isEnabled() && dw->previousButton->isEnabled());
    }

    void theCountIsTakenWhenTheListCloses()
    {
        f->dictionary.setText(numberedCats(120));
        QCOMPARE(dw->paging.dictPageSize, 20);
        // Chosen with the arrow keys, without the list: not taken.
        QTest::keyClick(dw->pageSizeCombo, Qt::Key_Down);
        QCOMPARE(dw->pageSizeCombo->currentText(), QStringLiteral("50"));
        search(QStringLiteral("cat"));
        QCOMPARE(column(0).size(), 20);

        dw->pageSizeCombo->showPopup();
        dw->pageSizeCombo->setCurrentIndex(2);
        dw->pageSizeCombo->hidePopup();
        QCOMPARE(dw->paging.dictPageSize, 100);
        // The page shown stays; the next page move uses the new count.
        QCOMPARE(column(0).size(), 20);
        dw->nextButton->click();
        QCOMPARE(column(0).first(), QStringLiteral("C21"));
        QCOMPARE(column(0).last(), QStringLiteral("C120"));
    }

    void headerClicksSortOnce()
    {
        f->dictionary.setText(QStringLiteral("# h\r\nB [b1] /zeta/\r\nA [a1] /Beta/\r\nC [c1] /alpha/"));
        search(QStringLiteral("1"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));

        QHeaderView *header = dw->resultList->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
        QCOMPARE(dw->lastSortColumn, 2);
        // Case does not count: alpha, Beta, zeta.
        QCOMPARE(column(0), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
        // The same header again sorts the same way, not the other way round.
        dw->resultListColumnClicked(2);
        QCOMPARE(column(0), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
        // A new search lists in search order again.
        search(QStringLiteral("1"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));

        QCOMPARE(compareDictionaryText(u"abc", u"ABC"), 0);
        QVERIFY(compareDictionaryText(u"apple", u"Banana") < 0);
        QVERIFY(compareDictionaryText(u"Ab", u"abc") < 0);
        QVERIFY(compareDictionaryText(u"b", u"A") > 0);
    }

    void sortsByTheShownTextKeepingTiesAndTheCurrentRow()
    {
        f->dictionary.setText(QStringLiteral("# h\r\nb [ma1 zi5] /Cat/\r\nA [ma3 zi5] /dog/\r\n"
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
                dw->searchEdit->setText(QStringLiteral("zi5"));
                if (exact)
                    dw->exactFindButton->click();
                else
                    dw->findAllButton->click();
                QCOMPARE(column(0), inSearchOrder);
                dw->resultList->setCurrentIndex(listRow(1));
                dw->resultListColumnClicked(sort.column);
                QCOMPARE(column(0), sort.chinese);
                const QModelIndex current = dw->resultList->currentIndex();
                QCOMPARE(current.siblingAtColumn(0).data().toString(), QStringLiteral("A"));
                QCOMPARE(dw->resultList->selectionModel()->selectedRows(), QModelIndexList{current.siblingAtColumn(0)});
            }
            // A shorter listing after a sort is in its own search order.
            search(QStringLiteral("dog"));
            QCOMPARE(column(2), QStringList{QStringLiteral("dog")});
        }
        // A page of equal translations stays as it was.
        f->dictionary.setText(numberedCats(20));
        search(QStringLiteral("cat"));
        const QStringList numbered = column(0);
        dw->resultListColumnClicked(2);
        QCOMPARE(column(0), numbered);
    }

    void columnsOfOddEntriesMatchTheDrawnRow()
    {
        const QStringList entries{u"中国 [Zhong1 guo2] /China/"_qs, u"x ] [y1] /z/"_qs, u"no brackets"_qs,
                                  u" 空 [kong1]/empty/"_qs, u"a [b] [c2] /d/"_qs};
        const QStringList chinese{u"中国"_qs, u"x ]"_qs, QString(), u"空"_qs, u"a"_qs};
        for (int sortColumn = 0; sortColumn < 3; ++sortColumn) {
            dw->showResults(entries);
            QCOMPARE(column(0), chinese);
            dw->resultListColumnClicked(sortColumn);
            const QStringList sorted = column(sortColumn);
            for (int i = 1; i < sorted.size(); ++i)
                QVERIFY2(compareDictionaryText(sorted[i - 1], sorted[i]) <= 0, qPrintable(sorted.join(u'|')));
        }
        dw->resultList->keyboardSearch(QStringLiteral("空"));
        QCOMPARE(dw->resultList->currentIndex().siblingAtColumn(2).data().toString(), QStringLiteral("[kong1]; empty"));
    }

    void rowsAlternateFromWhite()
    {
        f->dictionary.setText(numberedCats(3));
        search(QStringLiteral("cat"));
        // A sort must not carry the colours with the rows.
        dw->resultListColumnClicked(0);
        dw->resultList->setCurrentIndex(QModelIndex());
        dw->resultList->clearSelection();
        const QImage image = dw->resultList->viewport()->grab().toImage();
        for (int i = 0; i < 3; ++i) {
            const QRect r = dw->resultList->visualRect(listRow(i));
            const QPoint p(dw->resultList->columnWidth(0) + 2, r.top() + 1);
            QCOMPARE(QColor(image.pixel(p)), i % 2 ? QColor(0xEB, 0xEB, 0xEB) : QColor(Qt::white));
        }
    }

    void translationColumnFollowsTheList()
    {
        QTreeView *list = dw->resultList;
        list->resize(500, list->height());
        QCOMPARE(list->columnWidth(2), 500 - 80 - 130 - 20);
        dw->onActivate();
        QCOMPARE(list->columnWidth(2), 500 - 80 - 130);
        QCOMPARE(dw->focusWidget(), dw->searchEdit);
    }

    void doubleClickSpeaksTheChinese()
    {
        QTreeView *list = dw->resultList;
        // No rows: nothing is spoken.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(m_voice->spokenTexts().isEmpty());

        search(QStringLiteral("good"));
        for (int i = 0; i < 2; ++i)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(listRow(0)).center());
        // Each double click speaks; speech in progress is not cut short.
        QCOMPARE(m_voice->spokenTexts(), (QStringList{QStringLiteral("好"), QStringLiteral("好")}));
        QCOMPARE(m_voice->skipCalls(), 0);

        // Without a speech engine a double click does nothing.
        m_voice = nullptr;
        f->voice.reset();
        dw->resultListDoubleClicked();
    }

    void copyButtonsCopyOneColumn()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));
        dw->copyChineseButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("before"));

        search(QStringLiteral("house"));
        dw->resultList->setCurrentIndex(listRow(1));
        dw->copyChineseButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("家"));
        dw->copyPinyinButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("jiā"));
        dw->copyTranslationButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("House; home"));
        QCOMPARE(dw->focusWidget(), dw->resultList);

        // No current row: nothing is copied.
        dw->resultList->setCurrentIndex(QModelIndex());
        dw->copyChineseButton->click();
        QCOMPARE(clipboard->text(), QStringLiteral("House; home"));
    }

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
        const QStringList atOnce = tabOrder(dw);
        const QSize size = dw->size();
        m_window.reset();
        DictionaryWindow::buildWhenShown = true;
        buildWindow();
        DictionaryWindow::buildWhenShown = false;
        QVERIFY(!dw->searchEdit);
        dw->show();
        QCOMPARE(tabOrder(dw), atOnce);
        QCOMPARE(dw->size(), size);
        QCOMPARE(dw->paging.dictPageSize, 20);
        search(QStringLiteral("good"));
        QCOMPARE(column(0), QStringList{QStringLiteral("好")});
    }
};

// The window in the whole program: the menu command, the caption and the
// dictionary info from the settings, and loading another dictionary.
class TestDictionaryWindowInTheProgram : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override
    {
        return {.eachCase = true, .firstActivationDone = false, .shown = true, .programFolder = true};
    }
    QString dictPath(const QString &name) const { return programFolderPath(QStringLiteral("dict/") + name); }

    void beforeProgram() override
    {
        writeDictionary(dictPath(QStringLiteral("cedict_gb.uni")), firstDictionaryLines);
        writeDictionary(dictPath(QStringLiteral("other.uni")),
                        {QStringLiteral("# Other"), QStringLiteral("猫 [mao1] /cat/")});
    }
    void programStarted() override
    {
        dictionaryWindow->show();
        dw = dictionaryWindow;
    }
    void caseEnded() override { dw = nullptr; }

private slots:
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
        QCOMPARE(dialogs().fileRequests.size(), size_t(1));
        const FileDialogRequest &request = dialogs().fileRequests.back();
        QCOMPARE(request.filter, QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*"));
        QCOMPARE(QDir(request.initialDir).canonicalPath(),
                 QDir(programFolderPath(QStringLiteral("dict"))).canonicalPath());
        QVERIFY(request.fileName.isEmpty());

        dialogs().openAnswers.push_back({other});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::settings().dictionaryFile, other);
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("# Other\r\n猫 [mao1] /cat/"));
        QVERIFY(QTest::qWaitForWindowExposed(dictionaryWindow));
        dictionaryWindow->repaint();
        QCOMPARE(dictionaryWindow->windowTitle(), QStringLiteral("Dictionary [") + other + QStringLiteral("]"));

        // The same file again is not reloaded.
        apptest::state().dictionary.setText(QStringLiteral("# kept"));
        dialogs().openAnswers.push_back({other});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("# kept"));

        // A file that fails is refused: the dictionary in use keeps its text,
        // its name in the caption and the setting; the status line says why.
        const QString missing = dictPath(QStringLiteral("missing.uni"));
        dialogs().openAnswers.push_back({missing});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::settings().dictionaryFile, other);
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("# kept"));
        QVERIFY2(apptest::status().startsWith(QStringLiteral("Unable to load ") + missing + QStringLiteral(": ")),
                 qPrintable(apptest::status()));
        const QString oneLine = dictPath(QStringLiteral("oneline.uni"));
        writeDictionary(oneLine, {QStringLiteral("no line break")});
        dialogs().openAnswers.push_back({oneLine});
        dictionaryWindow->changeDictionaryAction->trigger();
        QCOMPARE(apptest::settings().dictionaryFile, other);
        QCOMPARE(apptest::status(), QStringLiteral("Unable to load ") + oneLine + QStringLiteral(": no line break"));
        dictionaryWindow->repaint();
        QCOMPARE(dictionaryWindow->windowTitle(), QStringLiteral("Dictionary [") + other + QStringLiteral("]"));
        QVERIFY(dialogs().messages.empty());
    }

    void dictionaryInfoShowsTheHeader()
    {
        dictionaryWindow->dictionaryInfoAction->trigger();
        QCOMPARE(dialogs().lastMessage(), apptest::settings().dictionaryFile + QStringLiteral("\n# Header line\r\n"));
        QCOMPARE(dialogs().messages.back().buttons, MsgButtons::Ok);
        apptest::state().dictionary.setText(QStringLiteral("# only a header"));
        dictionaryWindow->dictionaryInfoAction->trigger();
        QCOMPARE(dialogs().lastMessage(), apptest::settings().dictionaryFile + QStringLiteral("\n"));
    }
};

KORVANA_WINDOW_TEST_MAIN(TestDictionaryWindow, TestDictionaryWindowInTheProgram)
#include "tst_dictionary_window.moc"
