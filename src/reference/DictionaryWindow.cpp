#include "reference/DictionaryWindow.h"

#include "platform/speech/SpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Integers.h"
#include "settings/MainSettings.h"
#include "settings/ProgramPaths.h"

#include <array>
#include <memory>

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

// a..z as A..Z: the order the list has always sorted in, upper case being
// what the comparison was made of.
inline char16_t sortUnit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - (u'a' - u'A')) : u;
}

// A result row that sorts by the list's sort column with compareDictionaryText.
// It keeps its dictionary entry and makes its three columns from it the
// first time one is asked for, mostly when the row is drawn: a listing of
// tens of thousands of entries fills at once and holds little more than the
// entries.
class DictionaryRowItem : public QTreeWidgetItem {
public:
    DictionaryRowItem(const QString &entry, DictionaryHost &host) : m_entry(entry), m_host(host) {}
    // An exact find's row: its entry is taken out of the matches only when
    // the row is first shown.
    DictionaryRowItem(std::shared_ptr<const DictionaryMatches> matches, qsizetype index, DictionaryHost &host)
        : m_matches(std::move(matches)), m_index(index), m_host(host)
    {
    }
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return compareDictionaryText(text(column), other.text(column)) < 0;
    }
    QVariant data(int column, int role) const override
    {
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && column >= 0 && column < 3) {
            if (!m_made) {
                if (m_matches) {
                    m_entry = m_matches->at(m_index);
                    m_matches.reset();
                }
                const DictionaryRow row = dictionaryRow(m_entry, [this](const QString &pinyin) {
                    return m_host.pinyinNumbersIntoToneMarks(pinyin);
                });
                m_columns = {row.chinese, row.pinyin, row.translation};
                m_made = true;
            }
            return m_columns[size_t(column)];
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    mutable QString m_entry;
    mutable std::shared_ptr<const DictionaryMatches> m_matches;
    qsizetype m_index = 0;
    DictionaryHost &m_host;
    mutable std::array<QString, 3> m_columns;
    mutable bool m_made = false;
};

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

DictionaryListView::DictionaryListView(QWidget *parent) : QTreeWidget(parent)
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

void DictionaryListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    painter->fillRect(option.rect, rowBackground(index.row()));
    QTreeWidget::drawRow(painter, option, index);
    // Grid lines: under the row and after each column.
    painter->save();
    painter->setPen(GridColour);
    const QRect r = option.rect;
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    for (int c = 0; c < columnCount(); ++c) {
        const int x = header()->sectionViewportPosition(c) + header()->sectionSize(c) - 1;
        painter->drawLine(x, r.top(), x, r.bottom());
    }
    painter->restore();
}

void DictionaryListView::resizeEvent(QResizeEvent *e)
{
    QTreeWidget::resizeEvent(e);
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

DictionaryWindow::DictionaryWindow(korvana::DictionaryHost &host, korvana::MainSettings &settings,
                                   QWidget *mainWidget, QWidget *parent)
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
    resultList->setHeaderLabels({QStringLiteral("Chinese"), QStringLiteral("Pinyin"), QStringLiteral("Translation")});
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
    paging.DictPageSize = korvana::strToInt(pageSizeCombo->currentText());
}

void DictionaryWindow::pageSizeComboClosedUp()
{
    paging.DictPageSize = korvana::strToInt(pageSizeCombo->currentText());
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

bool DictionaryWindow::onKeyDown(int Key)
{
    if (Key != Qt::Key_Escape)
        return false;
    close();
    return true;
}

bool DictionaryWindow::searchEditKeyPressed(int Key)
{
    if (Key != Qt::Key_Return && Key != Qt::Key_Enter)
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

namespace {
QTreeWidgetItem *resultRowItem(const QString &Entry, korvana::DictionaryHost &host)
{
    return new korvana::DictionaryRowItem(Entry, host);
}
} // namespace

void DictionaryWindow::showResults(const QStringList &Entries)
{
    // One insertion for all rows: the list lays itself out once, not once
    // per row.
    QList<QTreeWidgetItem *> items;
    items.reserve(Entries.size());
    for (const QString &entry : Entries)
        items.append(resultRowItem(entry, m_host));
    resultList->addTopLevelItems(items);
}

void DictionaryWindow::showResults(korvana::DictionaryMatches Matches)
{
    const auto matches = std::make_shared<const korvana::DictionaryMatches>(std::move(Matches));
    QList<QTreeWidgetItem *> items;
    items.reserve(matches->size());
    for (qsizetype i = 0; i < matches->size(); ++i)
        items.append(new korvana::DictionaryRowItem(matches, i, m_host));
    resultList->addTopLevelItems(items);
}

void DictionaryWindow::clearResults()
{
    resultList->clear();
    // The rows of a long listing are many small blocks; what they held goes
    // back to the system instead of staying with the program.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void DictionaryWindow::finishSearch()
{
    if (resultList->topLevelItemCount() > 0)
        resultList->setCurrentItem(resultList->topLevelItem(0));
}

void DictionaryWindow::findAllButtonClicked(QObject *Sender)
{
    using Request = korvana::DictionaryPaging::Request;
    disableButton(nextButton);
    disableButton(previousButton);

    Request request = Request::NewSearch;
    if (Sender == nextButton)
        request = Request::NextPage;
    else if (Sender == previousButton)
        request = Request::PreviousPage;
    const QString term = paging.move(request, searchEdit->text());
    if (paging.previousEnabled())
        enableButton(previousButton);
    if (term.isEmpty())
        return;

    BusyCursor busy(this);
    clearResults();
    bool more = false;
    showResults(m_host.dictionaryFindAll(term, caseSensitiveSwitch->isChecked(), paging.DictFirstResult,
                                         paging.DictLastResult, &more));
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

void DictionaryWindow::resultListColumnClicked(int Column)
{
    lastSortColumn = Column;
    // Sorted once: rows added later (a new search) stay in search order.
    resultList->sortItems(lastSortColumn, Qt::AscendingOrder);
}

void DictionaryWindow::resultListDoubleClicked()
{
    QTreeWidgetItem *row = resultList->currentItem();
    korvana::SpeechVoice *voice = m_host.voice();
    if (!row || !voice)
        return;
    // Asynchronous, on the voice the main window chose; speech already
    // running goes on.
    voice->speak(row->text(0), 1);
}

void DictionaryWindow::copyColumn(int column)
{
    QTreeWidgetItem *row = resultList->currentItem();
    if (resultList->topLevelItemCount() == 0 || !row)
        return;
    QGuiApplication::clipboard()->setText(row->text(column));
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
