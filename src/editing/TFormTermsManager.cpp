#include "editing/TFormTermsManager.h"

#include "app/TForm1.h"
#include "editing/TermsManager.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHash>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

TFormTermsManager *FormTermsManager = nullptr;

using korvana::TermsChoice;

namespace {

const QStringList kChoices = {QStringLiteral("All"),       QStringLiteral("Words"),
                              QStringLiteral("Phrases"),   QStringLiteral("Unlearned"),
                              QStringLiteral("Learned"),   QStringLiteral("Difficult")};

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

TFormTermsManager::TFormTermsManager(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormTermsManager"));
    setWindowTitle(QStringLiteral("Terms Manager"));
    setSizeGripEnabled(true);
    buildControls();
    resize(640, 520);
}

void TFormTermsManager::buildControls()
{
    auto *main = new QVBoxLayout(this);

    lvTerms = new QTreeWidget(this);
    lvTerms->setObjectName(QStringLiteral("lvTerms"));
    lvTerms->setColumnCount(4);
    lvTerms->setHeaderLabels({QStringLiteral("Chinese"), QStringLiteral("Translation"), QStringLiteral("Pinyin"),
                              QStringLiteral("Notes")});
    lvTerms->setRootIsDecorated(false);
    lvTerms->setItemsExpandable(false);
    lvTerms->setUniformRowHeights(true);
    lvTerms->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvTerms->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvTerms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvTerms->setSortingEnabled(false); // the list sorts itself on header clicks
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(11);
    lvTerms->setFont(listFont);
    QPalette pal = lvTerms->palette();
    pal.setColor(QPalette::Base, Qt::white);
    // The selection stays visible when the focus is on the buttons.
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    lvTerms->setPalette(pal);
    lvTerms->setColumnWidth(0, 183);
    lvTerms->setColumnWidth(1, 150);
    lvTerms->setColumnWidth(2, 60);
    lvTerms->setColumnWidth(3, 91);
    lvTerms->header()->setSectionsClickable(true);
    lvTerms->header()->setSortIndicatorShown(false);
    connect(lvTerms->header(), &QHeaderView::sectionClicked, this, &TFormTermsManager::lvTermsColumnClick);
    connect(lvTerms, &QTreeWidget::itemSelectionChanged, this, &TFormTermsManager::CountSelected);
    main->addWidget(lvTerms, 1);

    auto *notes = new QHBoxLayout;
    notes->addWidget(new QLabel(QStringLiteral("To select multiple items, hold Ctrl or Shift when clicking")));
    notes->addStretch();
    notes->addWidget(new QLabel(QStringLiteral("Click on a column header to sort it")));
    main->addLayout(notes);

    auto *counts = new QHBoxLayout;
    counts->addWidget(new QLabel(QStringLiteral("Selected:")));
    lSelectedCount = new QLabel(QStringLiteral("0/0"));
    lSelectedCount->setObjectName(QStringLiteral("lSelectedCount"));
    QFont bold = lSelectedCount->font();
    bold.setBold(true);
    lSelectedCount->setFont(bold);
    counts->addWidget(lSelectedCount);
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
    selectLayout->addLayout(actionRow(QStringLiteral("Select"), cbSelect, kChoices, bOKselect));
    selectLayout->addLayout(actionRow(QStringLiteral("Deselect"), cbDeselect, kChoices, bOKdeselect));
    main->addWidget(selectGroup);

    auto *actionGroup =
        new QGroupBox(QStringLiteral("After selecting terms chose an action that should be performed on them"));
    auto *actionLayout = new QVBoxLayout(actionGroup);
    actionLayout->addLayout(actionRow(QStringLiteral("Mark As"), cbMarkAs,
                                      {QStringLiteral("Unlearned"), QStringLiteral("Learned"),
                                       QStringLiteral("Difficult")},
                                      bOKmarkas));
    actionLayout->addLayout(actionRow(QStringLiteral("Export"), cbExport,
                                      {QStringLiteral("As a new lesson"), QStringLiteral("Append to a lesson")},
                                      bOKexport));
    main->addWidget(actionGroup);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bClose = new QPushButton(QStringLiteral("close"));
    bottom->addWidget(bClose);
    main->addLayout(bottom);

    for (QPushButton *b : {bOKselect, bOKdeselect, bOKmarkas, bOKexport, bClose})
        b->setAutoDefault(false);
    connect(bOKselect, &QPushButton::clicked, this, &TFormTermsManager::bOKselectClick);
    connect(bOKdeselect, &QPushButton::clicked, this, &TFormTermsManager::bOKdeselectClick);
    connect(bOKmarkas, &QPushButton::clicked, this, &TFormTermsManager::bOKmarkasClick);
    connect(bOKexport, &QPushButton::clicked, this, &TFormTermsManager::bOKexportClick);
    connect(bClose, &QPushButton::clicked, this, &TFormTermsManager::bCloseClick);
}

int TFormTermsManager::rowOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, RowRole).toInt() : -1;
}

std::vector<int> TFormTermsManager::selectedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < lvTerms->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lvTerms->topLevelItem(i);
        if (item->isSelected())
            rows.push_back(rowOf(item));
    }
    return rows;
}

void TFormTermsManager::FormActivate()
{
    FillTerms();
    CountSelected();
}

// The looks follow the term table: phrases italic, difficult terms red,
// learned ones grey.
void TFormTermsManager::applyLooks(QTreeWidgetItem *item) const
{
    if (!Form1)
        return;
    const int row = rowOf(item);
    const bool phrase = Form1->StringGrid1.type(row) == QLatin1String("p");
    const QString state = Form1->StringGrid1.state(row);
    QColor colour;
    if (state == QLatin1String("d"))
        colour = QColor(0xFF, 0x00, 0x00);
    else if (state == QLatin1String("l"))
        colour = QColor(0x80, 0x80, 0x80);
    for (int c = 0; c < lvTerms->columnCount(); ++c) {
        QFont f = lvTerms->font();
        f.setItalic(phrase);
        item->setFont(c, f);
        if (colour.isValid())
            item->setForeground(c, colour);
    }
}

void TFormTermsManager::FillTerms()
{
    lvTerms->clear();
    if (!Form1)
        return;
    QList<QTreeWidgetItem *> items;
    for (const korvana::TermsListItem &term : korvana::listTerms(Form1->reMain)) {
        auto *item = new QTreeWidgetItem({term.chinese, term.translation, term.pinyin, term.notes});
        item->setData(0, RowRole, term.row);
        applyLooks(item);
        items << item;
    }
    lvTerms->addTopLevelItems(items);
}

void TFormTermsManager::CountSelected()
{
    lSelectedCount->setText(QString::number(lvTerms->selectedItems().size()) + QLatin1Char('/') +
                            QString::number(lvTerms->topLevelItemCount()));
}

void TFormTermsManager::lvTermsColumnClick(int Column)
{
    SortColumn = Column;
    // Items taken out lose their selection: note it and give it back.
    const int n = lvTerms->topLevelItemCount();
    std::vector<std::pair<QTreeWidgetItem *, bool>> items;
    items.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        QTreeWidgetItem *item = lvTerms->topLevelItem(i);
        items.emplace_back(item, item->isSelected());
    }
    std::stable_sort(items.begin(), items.end(), [Column](const auto &a, const auto &b) {
        return korvana::compareTermsText(a.first->text(Column), b.first->text(Column)) < 0;
    });
    const QSignalBlocker blocker(lvTerms);
    while (lvTerms->topLevelItemCount() > 0)
        lvTerms->takeTopLevelItem(0);
    QList<QTreeWidgetItem *> ordered;
    for (const auto &entry : items)
        ordered << entry.first;
    lvTerms->addTopLevelItems(ordered);
    for (const auto &entry : items)
        entry.first->setSelected(entry.second);
    CountSelected();
}

void TFormTermsManager::selectByChoice(int choice, bool select)
{
    if (!Form1 || choice < 0)
        return;
    QItemSelection selection;
    QAbstractItemModel *model = lvTerms->model();
    const int last = lvTerms->columnCount() - 1;
    for (int i = 0; i < lvTerms->topLevelItemCount(); ++i) {
        if (korvana::termMatches(TermsChoice(choice), Form1->StringGrid1, rowOf(lvTerms->topLevelItem(i))))
            selection.select(model->index(i, 0), model->index(i, last));
    }
    lvTerms->selectionModel()->select(selection, select ? QItemSelectionModel::Select
                                                        : QItemSelectionModel::Deselect);
    lvTerms->setFocus();
}

void TFormTermsManager::bOKselectClick() { selectByChoice(cbSelect->currentIndex(), true); }

void TFormTermsManager::bOKdeselectClick() { selectByChoice(cbDeselect->currentIndex(), false); }

void TFormTermsManager::bOKmarkasClick()
{
    if (!Form1)
        return;
    const QString state = korvana::markStateFor(cbMarkAs->currentIndex());
    const int count = state.isEmpty() ? 0 : korvana::markTerms(Form1->StringGrid1, selectedRows(), state);
    korvana::Dialogs::instance().message(this, korvana::operationMessage(count), korvana::MsgButtons::Ok);
    FillTerms();
    CountSelected();
    lvTerms->setFocus();
}

void TFormTermsManager::bOKexportClick()
{
    if (!Form1)
        return;
    korvana::RichEdit lines;
    // Each line carries its term's state from the term table, so marks such
    // as "difficult" go out with the terms.
    const int count = korvana::collectTermLines(Form1->reMain, selectedRows(), lines, &Form1->StringGrid1);
    if (count == 0) {
        korvana::Dialogs::instance().message(this, korvana::operationMessage(0), korvana::MsgButtons::Ok);
        return;
    }

    const bool append = cbExport->currentIndex() == 1;
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("Korvana Lessons|*.kvl|All Files|*.*");
    request.initialDir = Form1->FWorkingDirectory;
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
        korvana::reportUnhandledError(QStringLiteral("The terms were not exported; the file on disk is unchanged.\n") +
                                      korvana::errorText(e));
        return;
    }
    reloadExportTarget(target, count, append);
    korvana::Dialogs::instance().message(this, korvana::operationMessage(count), korvana::MsgButtons::Ok);
    lvTerms->setFocus();
}

void TFormTermsManager::reloadExportTarget(const QString &target, int exported, bool appended)
{
    const QString canonical = QFileInfo(target).canonicalFilePath();
    const QStringList lessons = Form1->FOpenLessons;
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
    korvana::TermGrid &grid = Form1->StringGrid1;
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
    int start = Form1->FCurrentIndex;
    if (appended && firstRowOfTarget >= 0 && start - 1 >= firstRowOfTarget)
        start += exported;
    Form1->FStartIndex = std::max(start, 1);
    Form1->OpenFile(QStringLiteral("session-files"));

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
    Form1->CountTerms();
    FillTerms();
    CountSelected();
}

void TFormTermsManager::bCloseClick() { reject(); }

void TFormTermsManager::FormKeyDown(int Key)
{
    if (Key == 27)
        bCloseClick();
}

void TFormTermsManager::showEvent(QShowEvent *e)
{
    if (!e->spontaneous()) {
        if (Form1) {
            QRect frame = frameGeometry();
            frame.moveCenter(Form1->frameGeometry().center());
            move(frame.topLeft());
        }
        FormActivate();
    }
    QDialog::showEvent(e);
}

void TFormTermsManager::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        FormKeyDown(27);
        return;
    }
    QDialog::keyPressEvent(e);
}
