#include "reference/DictionaryWindow.h"

#include "platform/speech/SpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Integers.h"
#include "settings/MainSettings.h"
#include "settings/ProgramPaths.h"

#include <algorithm>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace korvana {

namespace {

// a..z as A..Z: the list sorts as if every letter were upper case.
inline char16_t sortUnit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - (u'a' - u'A')) : u;
}

// The rows kept made: a few screens' worth, so that drawing and scrolling
// do not make the rows in view again and again, while a long listing scrolled
// through end to end holds no more than this.
constexpr qsizetype MadeRowsKept = 1024;

const QColor GridColour(0xC0, 0xC0, 0xC0);

} // namespace

int compareDictionaryText(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = sortUnit(a[i]), y = sortUnit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void CloseUpComboBox::hidePopup()
{
    QComboBox::hidePopup();
    emit closedUp();
}

DictionaryResultModel::DictionaryResultModel(DictionaryHost &host, QObject *parent)
    : QAbstractTableModel(parent),
      m_toneMarks([&host](const QString &pinyin) { return host.pinyinNumbersIntoToneMarks(pinyin); })
{
}

void DictionaryResultModel::showEntries(const QStringList &entries)
{
    beginResetModel();
    m_matches = DictionaryMatches();
    m_entries = entries;
    m_order = {};
    m_made.clear();
    endResetModel();
}

void DictionaryResultModel::showMatches(DictionaryMatches matches)
{
    beginResetModel();
    m_entries = QStringList();
    m_matches = std::move(matches);
    m_order = {};
    m_made.clear();
    endResetModel();
}

void DictionaryResultModel::clear()
{
    showEntries(QStringList());
    m_made.squeeze();
}

qsizetype DictionaryResultModel::entryCount() const
{
    return m_entries.isEmpty() ? m_matches.size() : m_entries.size();
}

QStringView DictionaryResultModel::entry(qsizetype i) const
{
    if (!m_entries.isEmpty())
        return m_entries.at(i);
    const auto &span = m_matches.spans[size_t(i)];
    return QStringView(m_matches.text).mid(span.first, span.second);
}

QString DictionaryResultModel::columnText(qsizetype entryIndex, int column) const
{
    // A row's Chinese is the entry up to its first " [", trimmed, and its
    // pinyin is read up to the "] " after that: neither needs the rest of the
    // row (the translation costs the most).
    QStringView through = entry(entryIndex);
    const qsizetype open = through.indexOf(u" [");
    if (column == 0)
        return open < 0 ? QString() : trimControls(through.left(open + 1)).toString();
    if (column == 1) {
        const qsizetype close = through.indexOf(u"] ", open < 0 ? 0 : open + 1);
        if (close >= 0)
            through = through.left(close + 2);
    }
    DictionaryRow r = dictionaryRow(through, column == 1 ? m_toneMarks : std::function<QString(const QString &)>());
    return std::move(column == 1 ? r.pinyin : r.translation);
}

const DictionaryRow &DictionaryResultModel::row(qsizetype entryIndex) const
{
    auto it = m_made.constFind(entryIndex);
    if (it != m_made.constEnd())
        return *it;
    if (m_made.size() >= MadeRowsKept)
        m_made.clear();
    return *m_made.insert(entryIndex, dictionaryRow(entry(entryIndex), m_toneMarks));
}

QString DictionaryResultModel::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column > 2)
        return QString();
    const qsizetype e = m_order.empty() ? row : m_order[size_t(row)];
    // Typing in the list looks for the Chinese row after row: only a row
    // drawn is made whole and kept.
    if (column == 0 && !m_made.contains(e))
        return columnText(e, 0);
    const DictionaryRow &r = this->row(e);
    return column == 0 ? r.chinese : column == 1 ? r.pinyin : r.translation;
}

int DictionaryResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(entryCount());
}

int DictionaryResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant DictionaryResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return text(index.row(), index.column());
}

QVariant DictionaryResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const captions[] = {"Chinese", "Pinyin", "Translation"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 2)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(captions[section]);
}

void DictionaryResultModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column > 2)
        return;
    const qsizetype n = entryCount();
    std::vector<qsizetype> sorted(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i)
        sorted[size_t(i)] = m_order.empty() ? i : m_order[size_t(i)];
    {
        // The column's text of every entry, only while sorting: a listing
        // would otherwise make each of them once per comparison.
        std::vector<QString> keys(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            keys[size_t(i)] = columnText(i, column);
        const auto before = [&keys, order](qsizetype a, qsizetype b) {
            const int c = compareDictionaryText(keys[size_t(a)], keys[size_t(b)]);
            return order == Qt::AscendingOrder ? c < 0 : c > 0;
        };
        std::stable_sort(sorted.begin(), sorted.end(), before);
    }

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Where each entry stands now, for the current row and the selection.
    std::vector<int> placeOf(static_cast<size_t>(n));
    for (qsizetype place = 0; place < n; ++place)
        placeOf[size_t(sorted[size_t(place)])] = int(place);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &i : from) {
        const qsizetype e = m_order.empty() ? i.row() : m_order[size_t(i.row())];
        to.append(index(placeOf[size_t(e)], i.column()));
    }
    changePersistentIndexList(from, to);
    m_order = std::move(sorted);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

DictionaryListView::DictionaryListView(QWidget *parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
}

QColor DictionaryListView::rowBackground(int index)
{
    return (index % 2) ? QColor(0xEB, 0xEB, 0xEB) : QColor(0xFF, 0xFF, 0xFF);
}

void DictionaryListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->fillRect(option.rect, rowBackground(index.row()));
    QTreeView::drawRow(painter, option, index);
    // Grid lines: under the row and after each column.
    painter->save();
    painter->setPen(GridColour);
    const QRect r = option.rect;
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    for (int c = 0; c < header()->count(); ++c) {
        const int x = header()->sectionViewportPosition(c) + header()->sectionSize(c) - 1;
        painter->drawLine(x, r.top(), x, r.bottom());
    }
    painter->restore();
}

void DictionaryListView::resizeEvent(QResizeEvent *e)
{
    QTreeView::resizeEvent(e);
    emit resized();
}

} // namespace korvana

namespace {

// The speed buttons' colour, the hints' colour and the list's cream.
const char *const ButtonStyle = "background: #8080FF;";
const char *const HintStyle = "background: #BBBBFF; border: 1px solid #8080C0; border-radius: 8px; padding: 4px;";
const QColor Cream(0xFF, 0xFB, 0xF0);

QToolButton *speedButton(const QString &text, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setAutoRaise(true);
    b->setStyleSheet(QString::fromLatin1(ButtonStyle));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

QLabel *hintLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setStyleSheet(QString::fromLatin1(HintStyle));
    return l;
}

// The window's cursor is the hourglass while a search runs.
class BusyCursor {
public:
    explicit BusyCursor(QWidget *w) : m_w(w) { m_w->setCursor(Qt::WaitCursor); }
    ~BusyCursor() { m_w->unsetCursor(); }

private:
    QWidget *m_w;
};

} // namespace

DictionaryWindow::DictionaryWindow(korvana::DictionaryHost &host, korvana::MainSettings &settings, QWidget *mainWidget,
                                   QWidget *parent)
    : QWidget(parent), m_host(host), m_settings(settings), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("dictionaryWindow"));
    setWindowTitle(QStringLiteral("Dictionary"));
    resize(657, 469);
    if (buildWhenShown) {
        m_controlsPending = true;
        return;
    }
    buildControls();
    onCreate();
}

bool DictionaryWindow::buildWhenShown = false;

void DictionaryWindow::setVisible(bool visible)
{
    if (visible && m_controlsPending) {
        m_controlsPending = false;
        buildControls();
        onCreate();
    }
    QWidget::setVisible(visible);
}

DictionaryWindow::~DictionaryWindow()
{
    // QWidget's destructor deletes the controls after this one has run: their
    // last events (focus out, hide) and signals must not reach the filters
    // and handlers of a window that is no longer a DictionaryWindow.
    for (QObject *child : findChildren<QObject *>()) {
        child->removeEventFilter(this);
        QObject::disconnect(child, nullptr, this, nullptr);
    }
}

void DictionaryWindow::buildControls()
{
    auto *layout = new QVBoxLayout(this);

    auto *searchRow = new QHBoxLayout;
    searchEdit = new QLineEdit(this);
    searchEdit->setObjectName(QStringLiteral("searchEdit"));
    QFont searchFont(QStringLiteral("Arial"));
    searchFont.setPixelSize(19);
    searchEdit->setFont(searchFont);
    findAllButton = speedButton(QStringLiteral("find all"), this);
    exactFindButton = speedButton(QStringLiteral("exact find"), this);
    searchRow->addWidget(searchEdit, 1);
    searchRow->addWidget(findAllButton);
    searchRow->addWidget(exactFindButton);
    layout->addLayout(searchRow);

    auto *optionsRow = new QHBoxLayout;
    caseSensitiveSwitch = new QCheckBox(QStringLiteral("Case sensitive"), this);
    moreOptionsLabel = new QLabel(QStringLiteral("More options"), this);
    moreOptionsLabel->setStyleSheet(QStringLiteral("color: blue;"));
    moreOptionsLabel->setCursor(Qt::PointingHandCursor);
    moreOptionsLabel->setMouseTracking(true);
    QFont moreFont = moreOptionsLabel->font();
    moreFont.setUnderline(true);
    moreOptionsLabel->setFont(moreFont);
    optionsRow->addWidget(caseSensitiveSwitch);
    optionsRow->addSpacing(20);
    optionsRow->addWidget(moreOptionsLabel);
    optionsRow->addStretch(1);
    layout->addLayout(optionsRow);

    searchHintLabel = hintLabel(QStringLiteral("You can search for Chinese characters, translation or pinyin (i.e. ni3 "
                                               "hao3). To search for pinyin or translation use the Find all button."),
                                this);
    layout->addWidget(searchHintLabel);

    auto *pageRow = new QHBoxLayout;
    previousButton = speedButton(QStringLiteral("< previous"), this);
    nextButton = speedButton(QStringLiteral("next >"), this);
    pageSizeLabel = new QLabel(QStringLiteral("Results"), this);
    pageSizeCombo = new korvana::CloseUpComboBox(this);
    pageSizeCombo->addItems({QStringLiteral("20"), QStringLiteral("50"), QStringLiteral("100")});
    pageSizeCombo->setCurrentIndex(0);
    pageRow->addWidget(previousButton);
    pageRow->addWidget(nextButton);
    pageRow->addStretch(1);
    pageRow->addWidget(pageSizeLabel);
    pageRow->addWidget(pageSizeCombo);
    layout->addLayout(pageRow);

    resultList = new korvana::DictionaryListView(this);
    resultModel = new korvana::DictionaryResultModel(m_host, resultList);
    resultList->setModel(resultModel);
    resultList->setColumnWidth(0, 80);
    resultList->setColumnWidth(1, 130);
    resultList->setColumnWidth(2, 250);
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(16);
    resultList->setFont(listFont);
    QPalette pal = resultList->palette();
    pal.setColor(QPalette::Base, Cream);
    resultList->setPalette(pal);
    layout->addWidget(resultList, 1);

    auto *copyRow = new QHBoxLayout;
    copyLabel = new QLabel(QStringLiteral("Copy"), this);
    copyChineseButton = speedButton(QStringLiteral("chinese"), this);
    copyPinyinButton = speedButton(QStringLiteral("pinyin"), this);
    copyTranslationButton = speedButton(QStringLiteral("translation"), this);
    doubleClickHintLabel = hintLabel(QStringLiteral("Double click a term to hear it."), this);
    sortHintLabel = hintLabel(QStringLiteral(" Click the column header to sort the results. "), this);
    closeButton = speedButton(QStringLiteral("close"), this);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    copyRow->addWidget(copyLabel);
    copyRow->addWidget(copyChineseButton);
    copyRow->addWidget(copyPinyinButton);
    copyRow->addWidget(copyTranslationButton);
    copyRow->addWidget(doubleClickHintLabel, 1);
    copyRow->addWidget(sortHintLabel, 1);
    copyRow->addWidget(closeButton);
    layout->addLayout(copyRow);

    moreOptionsMenu = new QMenu(this);
    dictionaryInfoAction = moreOptionsMenu->addAction(QStringLiteral("Dictionary info"));
    changeDictionaryAction = moreOptionsMenu->addAction(QStringLiteral("Change dictionary"));

    disableButton(previousButton);
    disableButton(nextButton);

    connect(findAllButton, &QToolButton::clicked, this, [this] { findAllButtonClicked(findAllButton); });
    connect(exactFindButton, &QToolButton::clicked, this, [this] { exactFindButtonClicked(); });
    connect(nextButton, &QToolButton::clicked, this, [this] { nextButtonClicked(); });
    connect(previousButton, &QToolButton::clicked, this, [this] { previousButtonClicked(); });
    connect(pageSizeCombo, &korvana::CloseUpComboBox::closedUp, this, [this] { pageSizeComboClosedUp(); });
    connect(resultList->header(), &QHeaderView::sectionClicked, this, [this](int c) { resultListColumnClicked(c); });
    connect(resultList, &korvana::DictionaryListView::resized, this, [this] { resultListResized(); });
    connect(copyChineseButton, &QToolButton::clicked, this, [this] { copyChineseButtonClicked(); });
    connect(copyPinyinButton, &QToolButton::clicked, this, [this] { copyPinyinButtonClicked(); });
    connect(copyTranslationButton, &QToolButton::clicked, this, [this] { copyTranslationButtonClicked(); });
    connect(closeButton, &QToolButton::clicked, this, [this] { closeButtonClicked(); });
    connect(dictionaryInfoAction, &QAction::triggered, this, [this] { dictionaryInfoCommand(); });
    connect(changeDictionaryAction, &QAction::triggered, this, [this] { changeDictionaryCommand(); });

    // The window sees every key before the focused control (Escape closes it
    // from anywhere), and the label and the list's double click are events.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    resultList->viewport()->installEventFilter(this);
}

void DictionaryWindow::enableButton(QAbstractButton *button)
{
    m_host.enableButton(button);
}

void DictionaryWindow::disableButton(QAbstractButton *button)
{
    m_host.disableButton(button);
}

// --- window events ------------------------------------------------------------------

void DictionaryWindow::onCreate()
{
    paging.dictPageSize = korvana::strToInt(pageSizeCombo->currentText());
}

void DictionaryWindow::pageSizeComboClosedUp()
{
    paging.dictPageSize = korvana::strToInt(pageSizeCombo->currentText());
}

void DictionaryWindow::onActivate()
{
    searchEdit->setFocus();
    resultList->setColumnWidth(2, resultList->width() - resultList->columnWidth(0) - resultList->columnWidth(1));
}

void DictionaryWindow::resultListResized()
{
    // 20 pixels are left for the vertical scroll bar.
    resultList->setColumnWidth(2, resultList->width() - resultList->columnWidth(0) - resultList->columnWidth(1) - 20);
}

void DictionaryWindow::onPaint()
{
    const QString caption = QStringLiteral("Dictionary [") + m_settings.dictionaryFile + QStringLiteral("]");
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

bool DictionaryWindow::onKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    close();
    return true;
}

bool DictionaryWindow::searchEditKeyPressed(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    findAllButtonClicked(findAllButton);
    return true;
}

bool DictionaryWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return QWidget::event(e);
}

bool DictionaryWindow::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto *k = static_cast<QKeyEvent *>(e);
        // Only keys meant for this window (not those of the popup menu).
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || w->window() != this)
            break;
        if (onKeyDown(k->key()))
            return true;
        if (watched == searchEdit && searchEditKeyPressed(k->key()))
            return true;
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (watched == resultList->viewport())
            resultListDoubleClicked();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == moreOptionsLabel && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton)
            moreOptionsLabelClicked();
        break;
    case QEvent::MouseMove:
        if (watched == moreOptionsLabel)
            moreOptionsLabelMouseMoved();
        break;
    case QEvent::Leave:
        if (watched == moreOptionsLabel)
            moreOptionsLabelMouseLeft();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

void DictionaryWindow::keyPressEvent(QKeyEvent *e)
{
    if (!onKeyDown(e->key()))
        QWidget::keyPressEvent(e);
}

void DictionaryWindow::showEvent(QShowEvent *e)
{
    // Each showing places the window at the centre of the main window.
    if (!e->spontaneous()) {
        const QRect main = m_mainWidget->frameGeometry();
        move(main.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    QWidget::showEvent(e);
}

void DictionaryWindow::paintEvent(QPaintEvent *e)
{
    onPaint();
    QWidget::paintEvent(e);
}

void DictionaryWindow::closeButtonClicked()
{
    close();
}

// --- searches -------------------------------------------------------------------------

void DictionaryWindow::showResults(const QStringList &entries)
{
    resultModel->showEntries(entries);
}

void DictionaryWindow::showResults(korvana::DictionaryMatches matches)
{
    resultModel->showMatches(std::move(matches));
}

void DictionaryWindow::clearResults()
{
    resultModel->clear();
    // A long listing's rows, made while it was scrolled, and its sort were
    // many small blocks; what they held goes back to the system instead of
    // staying with the program.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void DictionaryWindow::finishSearch()
{
    if (resultModel->rowCount() > 0)
        resultList->setCurrentIndex(resultModel->index(0, 0));
}

void DictionaryWindow::findAllButtonClicked(QObject *sender)
{
    using Request = korvana::DictionaryPaging::Request;
    disableButton(nextButton);
    disableButton(previousButton);

    Request request = Request::NewSearch;
    if (sender == nextButton)
        request = Request::NextPage;
    else if (sender == previousButton)
        request = Request::PreviousPage;
    const QString term = paging.move(request, searchEdit->text());
    if (paging.previousEnabled())
        enableButton(previousButton);
    if (term.isEmpty())
        return;

    BusyCursor busy(this);
    clearResults();
    bool more = false;
    showResults(m_host.dictionaryFindAll(term, caseSensitiveSwitch->isChecked(), paging.dictFirstResult,
                                         paging.dictLastResult, &more));
    if (more)
        enableButton(nextButton);
    finishSearch();
}

void DictionaryWindow::exactFindButtonClicked()
{
    disableButton(nextButton);
    disableButton(previousButton);
    const QString term = korvana::trimControls(QStringView(searchEdit->text())).toString();
    if (term.isEmpty())
        return;
    clearResults();
    showResults(m_host.dictionaryExactFind(term, caseSensitiveSwitch->isChecked()));
    finishSearch();
}

void DictionaryWindow::nextButtonClicked()
{
    findAllButtonClicked(nextButton);
}

void DictionaryWindow::previousButtonClicked()
{
    findAllButtonClicked(previousButton);
}

// --- the result list ------------------------------------------------------------------

void DictionaryWindow::resultListColumnClicked(int column)
{
    lastSortColumn = column;
    // Sorted once: rows added later (a new search) stay in search order.
    resultList->sortByColumn(lastSortColumn, Qt::AscendingOrder);
}

void DictionaryWindow::resultListDoubleClicked()
{
    const QModelIndex row = resultList->currentIndex();
    korvana::SpeechVoice *voice = m_host.voice();
    if (!row.isValid() || !voice)
        return;
    // Asynchronous, on the voice the main window chose; speech already
    // running goes on.
    voice->speak(resultModel->text(row.row(), 0), 1);
}

void DictionaryWindow::copyColumn(int column)
{
    const QModelIndex row = resultList->currentIndex();
    if (resultModel->rowCount() == 0 || !row.isValid())
        return;
    QGuiApplication::clipboard()->setText(resultModel->text(row.row(), column));
    resultList->setFocus();
}

void DictionaryWindow::copyChineseButtonClicked()
{
    copyColumn(0);
}

void DictionaryWindow::copyPinyinButtonClicked()
{
    copyColumn(1);
}

void DictionaryWindow::copyTranslationButtonClicked()
{
    copyColumn(2);
}

// --- more options ---------------------------------------------------------------------

QPoint DictionaryWindow::moreOptionsPoint() const
{
    return QPoint(moreOptionsLabel->mapToGlobal(QPoint(0, 0)).x(), searchHintLabel->mapToGlobal(QPoint(0, 0)).y() + 20);
}

void DictionaryWindow::moreOptionsLabelClicked()
{
    moreOptionsMenu->popup(moreOptionsPoint());
}

void DictionaryWindow::moreOptionsLabelMouseMoved()
{
    QFont f = moreOptionsLabel->font();
    if (!f.underline()) {
        f.setUnderline(true);
        moreOptionsLabel->setFont(f);
    }
}

void DictionaryWindow::moreOptionsLabelMouseLeft()
{
    QFont f = moreOptionsLabel->font();
    f.setUnderline(false);
    moreOptionsLabel->setFont(f);
}

void DictionaryWindow::dictionaryInfoCommand()
{
    m_host.loadPendingData();
    // The header is the first line; a text without a line break shows none.
    const QString &text = m_host.dictionaryText();
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    const QString header = lf < 0 ? QString() : text.left(lf + 1);
    korvana::Dialogs::instance().message(this, m_settings.dictionaryFile + QLatin1Char('\n') + header,
                                         korvana::MsgButtons::Ok);
}

void DictionaryWindow::changeDictionaryCommand()
{
    const QString kept = m_settings.dictionaryFile;
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*");
    request.fileName = QString();
    // The folder the default dictionary comes from.
    request.initialDir = korvana::ProgramPaths::dataFile(QStringLiteral("dict"));
    const QStringList chosen = korvana::Dialogs::instance().openFiles(this, request);
    if (chosen.isEmpty())
        return;
    if (chosen.first() == kept)
        return;
    // A file that fails to load is refused: the dictionary in use keeps its
    // name, in the caption and in the setting.
    if (m_host.loadDictionary(chosen.first()))
        m_settings.dictionaryFile = chosen.first();
    update(); // the caption names the new file from the next paint on
}
