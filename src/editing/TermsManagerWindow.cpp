#include "editing/TermsManagerWindow.h"

#include "editing/TermsManager.h"
#include "lessons/LessonStore.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "settings/MainSettings.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using korvana::TermsChoice;

namespace {

const QStringList kChoices = {QStringLiteral("All"),       QStringLiteral("Words"),   QStringLiteral("Phrases"),
                              QStringLiteral("Unlearned"), QStringLiteral("Learned"), QStringLiteral("Difficult")};

QLabel *legendLabel(const QString &text, const QFont &font, const QColor &colour = QColor())
{
    auto *l = new QLabel(text);
    l->setFont(font);
    if (colour.isValid()) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour);
        l->setPalette(p);
    }
    return l;
}

QHBoxLayout *actionRow(const QString &caption, QComboBox *&combo, const QStringList &items, QPushButton *&ok)
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(caption));
    combo = new QComboBox;
    combo->addItems(items);
    combo->setCurrentIndex(0);
    row->addWidget(combo, 1);
    ok = new QPushButton(QStringLiteral("ok"));
    row->addWidget(ok);
    return row;
}

} // namespace

TermsManagerWindow::TermsManagerWindow(korvana::MainSettings &settings, korvana::LessonStore &store,
                                       QWidget *mainWidget, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_store(store), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("termsManagerWindow"));
    setWindowTitle(QStringLiteral("Terms Manager"));
    setSizeGripEnabled(true);
    if (buildWhenShown)
        m_controlsPending = true;
    else
        buildControls();
    resize(640, 520);
}

bool TermsManagerWindow::buildWhenShown = false;

void TermsManagerWindow::setVisible(bool visible)
{
    if (visible && m_controlsPending) {
        m_controlsPending = false;
        buildControls();
    }
    QDialog::setVisible(visible);
}

void TermsManagerWindow::buildControls()
{
    auto *main = new QVBoxLayout(this);

    termList = new QTreeWidget(this);
    termList->setObjectName(QStringLiteral("termList"));
    termList->setColumnCount(4);
    termList->setHeaderLabels(
        {QStringLiteral("Chinese"), QStringLiteral("Translation"), QStringLiteral("Pinyin"), QStringLiteral("Notes")});
    termList->setRootIsDecorated(false);
    termList->setItemsExpandable(false);
    termList->setUniformRowHeights(true);
    termList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    termList->setSelectionBehavior(QAbstractItemView::SelectRows);
    termList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    termList->setSortingEnabled(false); // the list sorts itself on header clicks
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(11);
    termList->setFont(listFont);
    QPalette pal = termList->palette();
    pal.setColor(QPalette::Base, Qt::white);
    // The selection stays visible when the focus is on the buttons.
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    termList->setPalette(pal);
    termList->setColumnWidth(0, 183);
    termList->setColumnWidth(1, 150);
    termList->setColumnWidth(2, 60);
    termList->setColumnWidth(3, 91);
    termList->header()->setSectionsClickable(true);
    termList->header()->setSortIndicatorShown(false);
    connect(termList->header(), &QHeaderView::sectionClicked, this, &TermsManagerWindow::termListColumnClicked);
    connect(termList, &QTreeWidget::itemSelectionChanged, this, &TermsManagerWindow::showSelectedCount);
    main->addWidget(termList, 1);

    auto *notes = new QHBoxLayout;
    notes->addWidget(new QLabel(QStringLiteral("To select multiple items, hold Ctrl or Shift when clicking")));
    notes->addStretch();
    notes->addWidget(new QLabel(QStringLiteral("Click on a column header to sort it")));
    main->addLayout(notes);

    auto *counts = new QHBoxLayout;
    counts->addWidget(new QLabel(QStringLiteral("Selected:")));
    selectedCountLabel = new QLabel(QStringLiteral("0/0"));
    selectedCountLabel->setObjectName(QStringLiteral("selectedCountLabel"));
    QFont bold = selectedCountLabel->font();
    bold.setBold(true);
    selectedCountLabel->setFont(bold);
    counts->addWidget(selectedCountLabel);
    counts->addStretch();

    // The legend of the list's looks.
    QFont arial(QStringLiteral("Arial"));
    QFont arialItalic = arial;
    arialItalic.setItalic(true);
    counts->addWidget(legendLabel(QStringLiteral("Type:"), arial));
    counts->addWidget(legendLabel(QStringLiteral("Words"), arial));
    counts->addWidget(legendLabel(QStringLiteral("Phrases"), arialItalic));
    counts->addSpacing(12);
    counts->addWidget(legendLabel(QStringLiteral("State:"), arial));
    counts->addWidget(legendLabel(QStringLiteral("Unlearned"), arial, palette().color(QPalette::WindowText)));
    counts->addWidget(legendLabel(QStringLiteral("Learned"), arial, QColor(0x80, 0x80, 0x80)));
    counts->addWidget(legendLabel(QStringLiteral("Difficult"), arial, QColor(0xFF, 0x00, 0x00)));
    main->addLayout(counts);

    auto *selectGroup = new QGroupBox(QStringLiteral("First select terms you want to do something with"));
    auto *selectLayout = new QVBoxLayout(selectGroup);
    selectLayout->addLayout(actionRow(QStringLiteral("Select"), selectCombo, kChoices, selectButton));
    selectLayout->addLayout(actionRow(QStringLiteral("Deselect"), deselectCombo, kChoices, deselectButton));
    main->addWidget(selectGroup);

    auto *actionGroup =
        new QGroupBox(QStringLiteral("After selecting terms chose an action that should be performed on them"));
    auto *actionLayout = new QVBoxLayout(actionGroup);
    actionLayout->addLayout(
        actionRow(QStringLiteral("Mark As"), markAsCombo,
                  {QStringLiteral("Unlearned"), QStringLiteral("Learned"), QStringLiteral("Difficult")}, markAsButton));
    actionLayout->addLayout(actionRow(QStringLiteral("Export"), exportCombo,
                                      {QStringLiteral("As a new lesson"), QStringLiteral("Append to a lesson")},
                                      exportButton));
    main->addWidget(actionGroup);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    closeButton = new QPushButton(QStringLiteral("close"));
    bottom->addWidget(closeButton);
    main->addLayout(bottom);

    for (QPushButton *b : {selectButton, deselectButton, markAsButton, exportButton, closeButton})
        b->setAutoDefault(false);
    connect(selectButton, &QPushButton::clicked, this, &TermsManagerWindow::selectButtonClicked);
    connect(deselectButton, &QPushButton::clicked, this, &TermsManagerWindow::deselectButtonClicked);
    connect(markAsButton, &QPushButton::clicked, this, &TermsManagerWindow::markAsButtonClicked);
    connect(exportButton, &QPushButton::clicked, this, &TermsManagerWindow::exportButtonClicked);
    connect(closeButton, &QPushButton::clicked, this, &TermsManagerWindow::closeButtonClicked);
}

int TermsManagerWindow::rowOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, RowRole).toInt() : -1;
}

std::vector<int> TermsManagerWindow::selectedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < termList->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = termList->topLevelItem(i);
        if (item->isSelected())
            rows.push_back(rowOf(item));
    }
    return rows;
}

void TermsManagerWindow::onActivate()
{
    fillTermList();
    showSelectedCount();
}

// The looks follow the term table: phrases italic, difficult terms red,
// learned ones grey.
void TermsManagerWindow::applyLooks(QTreeWidgetItem *item) const
{
    const int row = rowOf(item);
    const bool phrase = m_store.termTable.type(row) == QLatin1String("p");
    const QString state = m_store.termTable.state(row);
    QColor colour;
    if (state == QLatin1String("d"))
        colour = QColor(0xFF, 0x00, 0x00);
    else if (state == QLatin1String("l"))
        colour = QColor(0x80, 0x80, 0x80);
    for (int c = 0; c < termList->columnCount(); ++c) {
        QFont f = termList->font();
        f.setItalic(phrase);
        item->setFont(c, f);
        if (colour.isValid())
            item->setForeground(c, colour);
    }
}

void TermsManagerWindow::fillTermList()
{
    termList->clear();
    QList<QTreeWidgetItem *> items;
    for (const korvana::TermsListItem &term : korvana::listTerms(m_store.lessonText)) {
        auto *item = new QTreeWidgetItem({term.chinese, term.translation, term.pinyin, term.notes});
        item->setData(0, RowRole, term.row);
        applyLooks(item);
        items << item;
    }
    termList->addTopLevelItems(items);
}

void TermsManagerWindow::showSelectedCount()
{
    selectedCountLabel->setText(QString::number(termList->selectedItems().size()) + QLatin1Char('/')
                                + QString::number(termList->topLevelItemCount()));
}

void TermsManagerWindow::termListColumnClicked(int column)
{
    sortColumn = column;
    // Items taken out lose their selection: note it and give it back.
    const int n = termList->topLevelItemCount();
    std::vector<std::pair<QTreeWidgetItem *, bool>> items;
    items.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        QTreeWidgetItem *item = termList->topLevelItem(i);
        items.emplace_back(item, item->isSelected());
    }
    std::stable_sort(items.begin(), items.end(), [column](const auto &a, const auto &b) {
        return korvana::compareTermsText(a.first->text(column), b.first->text(column)) < 0;
    });
    const QSignalBlocker blocker(termList);
    while (termList->topLevelItemCount() > 0)
        termList->takeTopLevelItem(0);
    QList<QTreeWidgetItem *> ordered;
    for (const auto &entry : items)
        ordered << entry.first;
    termList->addTopLevelItems(ordered);
    for (const auto &entry : items)
        entry.first->setSelected(entry.second);
    showSelectedCount();
}

void TermsManagerWindow::selectByChoice(int choice, bool select)
{
    if (choice < 0)
        return;
    QItemSelection selection;
    QAbstractItemModel *model = termList->model();
    const int last = termList->columnCount() - 1;
    for (int i = 0; i < termList->topLevelItemCount(); ++i) {
        if (korvana::termMatches(TermsChoice(choice), m_store.termTable, rowOf(termList->topLevelItem(i))))
            selection.select(model->index(i, 0), model->index(i, last));
    }
    termList->selectionModel()->select(selection, select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
    termList->setFocus();
}

void TermsManagerWindow::selectButtonClicked()
{
    selectByChoice(selectCombo->currentIndex(), true);
}

void TermsManagerWindow::deselectButtonClicked()
{
    selectByChoice(deselectCombo->currentIndex(), false);
}

void TermsManagerWindow::markAsButtonClicked()
{
    const QString state = korvana::markStateFor(markAsCombo->currentIndex());
    const int count = state.isEmpty() ? 0 : korvana::markTerms(m_store.termTable, selectedRows(), state);
    korvana::Dialogs::instance().message(this, korvana::operationMessage(count), korvana::MsgButtons::Ok);
    fillTermList();
    showSelectedCount();
    termList->setFocus();
}

void TermsManagerWindow::exportButtonClicked()
{
    korvana::RichEdit lines;
    // Each line carries its term's state from the term table, so marks such
    // as "difficult" go out with the terms.
    const int count = korvana::collectTermLines(m_store.lessonText, selectedRows(), lines, &m_store.termTable);
    if (count == 0) {
        korvana::Dialogs::instance().message(this, korvana::operationMessage(0), korvana::MsgButtons::Ok);
        return;
    }

    const bool append = exportCombo->currentIndex() == 1;
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("Korvana Lessons|*.kvl|All Files|*.*");
    request.initialDir = m_settings.workingDirectory;
    QString target;
    if (append) {
        // An existing lesson is chosen, not a file to replace.
        request.allowMultiple = false;
        request.fileMustExist = true;
        target = korvana::Dialogs::instance().openFiles(this, request).value(0);
        if (target.isEmpty())
            return;
    } else {
        request.defaultExt = QStringLiteral("kvl");
        request.overwritePrompt = true;
        target = korvana::Dialogs::instance().saveFile(this, request);
        if (target.isEmpty())
            return;
        if (QFileInfo(target).suffix().isEmpty())
            target += QStringLiteral(".kvl");
    }

    // Both ways write through a temporary file renamed over the old one, so
    // a failure leaves the file on disk as it was.
    try {
        if (append)
            korvana::exportIntoLesson(lines, target);
        else
            korvana::exportAsNewLesson(lines, target);
    } catch (const std::exception &e) {
        korvana::reportUnhandledError(QStringLiteral("The terms were not exported; the file on disk is unchanged.\n")
                                      + korvana::errorText(e));
        return;
    }
    reloadExportTarget(target, count, append);
    korvana::Dialogs::instance().message(this, korvana::operationMessage(count), korvana::MsgButtons::Ok);
    termList->setFocus();
}

void TermsManagerWindow::reloadExportTarget(const QString &target, int exported, bool appended)
{
    const QString canonical = QFileInfo(target).canonicalFilePath();
    const QStringList lessons = m_store.openLessons;
    qsizetype which = -1;
    for (qsizetype i = 0; i < lessons.size() && which < 0; ++i)
        if (QFileInfo(lessons[i]).canonicalFilePath() == canonical)
            which = i;
    if (which < 0)
        return;

    // The marks live only in the term table until the lessons are saved:
    // note them lesson by lesson. The exported terms stand first in an
    // appended lesson and take their states from their lines; a replaced
    // lesson takes all of them from the file.
    korvana::TermGrid &grid = m_store.termTable;
    QHash<QString, QStringList> marks;
    int firstRowOfTarget = -1;
    for (int r = 0; r < grid.rowCount(); ++r) {
        marks[grid.lesson(r)].append(grid.state(r));
        if (firstRowOfTarget < 0 && grid.lesson(r) == lessons[which])
            firstRowOfTarget = r;
    }
    QStringList &targetMarks = marks[lessons[which]];
    if (appended)
        targetMarks = QStringList(exported, QString()) + targetMarks;
    else
        targetMarks.clear();

    // Practice goes on at the same term, moved down past the terms added
    // in front of it.
    int start = m_store.currentIndex;
    if (appended && firstRowOfTarget >= 0 && start - 1 >= firstRowOfTarget)
        start += exported;
    m_store.startIndex = std::max(start, 1);
    emit reopenLessonsRequested();

    QHash<QString, int> rowsOf;
    for (int r = 0; r < grid.rowCount(); ++r)
        ++rowsOf[grid.lesson(r)];
    QHash<QString, int> seen;
    for (int r = 0; r < grid.rowCount(); ++r) {
        const QString lesson = grid.lesson(r);
        const int k = seen[lesson]++;
        const QStringList &kept = marks[lesson];
        // A lesson that changed on disk in between gets its file's states.
        if (kept.size() != rowsOf[lesson] || kept[k].isEmpty())
            continue;
        grid.setCell(korvana::TermGrid::TermStatus, r, kept[k]);
    }
    emit countTermsRequested();
    fillTermList();
    showSelectedCount();
}

void TermsManagerWindow::closeButtonClicked()
{
    reject();
}

void TermsManagerWindow::onKeyDown(int key)
{
    if (key == 27)
        closeButtonClicked();
}

void TermsManagerWindow::showEvent(QShowEvent *e)
{
    if (!e->spontaneous()) {
        QRect frame = frameGeometry();
        frame.moveCenter(m_mainWidget->frameGeometry().center());
        move(frame.topLeft());
        onActivate();
    }
    QDialog::showEvent(e);
}

void TermsManagerWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        onKeyDown(27);
        return;
    }
    QDialog::keyPressEvent(e);
}
