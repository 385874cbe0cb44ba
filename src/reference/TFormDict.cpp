#include "reference/TFormDict.h"

#include "app/TForm1.h"
#include "platform/speech/SpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Integers.h"
#include "settings/ProgramPaths.h"

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

TFormDict *FormDict = nullptr;

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
class DictionaryRowItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return compareDictionaryText(text(column), other.text(column)) < 0;
    }
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

TFormDict::TFormDict(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormDict"));
    setWindowTitle(QStringLiteral("Dictionary"));
    resize(657, 469);
    buildControls();
    FormCreate();
}

TFormDict::~TFormDict()
{
    // QWidget's destructor deletes the controls after this one has run: their
    // last events (focus out, hide) and signals must not reach the filters
    // and handlers of a window that is no longer a TFormDict.
    for (QObject *child : findChildren<QObject *>()) {
        child->removeEventFilter(this);
        QObject::disconnect(child, nullptr, this, nullptr);
    }
}

void TFormDict::buildControls()
{
    auto *layout = new QVBoxLayout(this);

    auto *searchRow = new QHBoxLayout;
    eSearchTerm = new QLineEdit(this);
    eSearchTerm->setObjectName(QStringLiteral("eSearchTerm"));
    QFont searchFont(QStringLiteral("Arial"));
    searchFont.setPixelSize(19);
    eSearchTerm->setFont(searchFont);
    bFindAll = speedButton(QStringLiteral("find all"), this);
    bExactFind = speedButton(QStringLiteral("exact find"), this);
    searchRow->addWidget(eSearchTerm, 1);
    searchRow->addWidget(bFindAll);
    searchRow->addWidget(bExactFind);
    layout->addLayout(searchRow);

    auto *optionsRow = new QHBoxLayout;
    chbCase = new QCheckBox(QStringLiteral("Case sensitive"), this);
    lblMoreOptions = new QLabel(QStringLiteral("More options"), this);
    lblMoreOptions->setStyleSheet(QStringLiteral("color: blue;"));
    lblMoreOptions->setCursor(Qt::PointingHandCursor);
    lblMoreOptions->setMouseTracking(true);
    QFont moreFont = lblMoreOptions->font();
    moreFont.setUnderline(true);
    lblMoreOptions->setFont(moreFont);
    optionsRow->addWidget(chbCase);
    optionsRow->addSpacing(20);
    optionsRow->addWidget(lblMoreOptions);
    optionsRow->addStretch(1);
    layout->addLayout(optionsRow);

    JvLabel1 = hintLabel(QStringLiteral("You can search for Chinese characters, translation or pinyin (i.e. ni3 "
                                        "hao3). To search for pinyin or translation use the Find all button."),
                         this);
    layout->addWidget(JvLabel1);

    auto *pageRow = new QHBoxLayout;
    bPrevious = speedButton(QStringLiteral("< previous"), this);
    bNext = speedButton(QStringLiteral("next >"), this);
    Label3 = new QLabel(QStringLiteral("Results"), this);
    cbPocetTerminu = new korvana::CloseUpComboBox(this);
    cbPocetTerminu->addItems({QStringLiteral("20"), QStringLiteral("50"), QStringLiteral("100")});
    cbPocetTerminu->setCurrentIndex(0);
    pageRow->addWidget(bPrevious);
    pageRow->addWidget(bNext);
    pageRow->addStretch(1);
    pageRow->addWidget(Label3);
    pageRow->addWidget(cbPocetTerminu);
    layout->addLayout(pageRow);

    lvTerms = new korvana::DictionaryListView(this);
    lvTerms->setHeaderLabels({QStringLiteral("Chinese"), QStringLiteral("Pinyin"), QStringLiteral("Translation")});
    lvTerms->setColumnWidth(0, 80);
    lvTerms->setColumnWidth(1, 130);
    lvTerms->setColumnWidth(2, 250);
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(16);
    lvTerms->setFont(listFont);
    QPalette pal = lvTerms->palette();
    pal.setColor(QPalette::Base, Cream);
    lvTerms->setPalette(pal);
    layout->addWidget(lvTerms, 1);

    auto *copyRow = new QHBoxLayout;
    Label2 = new QLabel(QStringLiteral("Copy"), this);
    bCopyChinese = speedButton(QStringLiteral("chinese"), this);
    bCopyPinyin = speedButton(QStringLiteral("pinyin"), this);
    bCopyTranslation = speedButton(QStringLiteral("translation"), this);
    JvLabel2 = hintLabel(QStringLiteral("Double click a term to hear it."), this);
    JvLabel3 = hintLabel(QStringLiteral(" Click the column header to sort the results. "), this);
    bClose = speedButton(QStringLiteral("close"), this);
    bClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    copyRow->addWidget(Label2);
    copyRow->addWidget(bCopyChinese);
    copyRow->addWidget(bCopyPinyin);
    copyRow->addWidget(bCopyTranslation);
    copyRow->addWidget(JvLabel2, 1);
    copyRow->addWidget(JvLabel3, 1);
    copyRow->addWidget(bClose);
    layout->addLayout(copyRow);

    popMoreOptions = new QMenu(this);
    Dictionaryinfo1 = popMoreOptions->addAction(QStringLiteral("Dictionary info"));
    Changedictionary1 = popMoreOptions->addAction(QStringLiteral("Change dictionary"));

    disableButton(bPrevious);
    disableButton(bNext);

    connect(bFindAll, &QToolButton::clicked, this, [this] { bFindAllClick(bFindAll); });
    connect(bExactFind, &QToolButton::clicked, this, [this] { bExactFindClick(); });
    connect(bNext, &QToolButton::clicked, this, [this] { bNextClick(); });
    connect(bPrevious, &QToolButton::clicked, this, [this] { bPreviousClick(); });
    connect(cbPocetTerminu, &korvana::CloseUpComboBox::closedUp, this, [this] { cbPocetTerminuCloseUp(); });
    connect(lvTerms->header(), &QHeaderView::sectionClicked, this, [this](int c) { lvTermsColumnClick(c); });
    connect(lvTerms, &korvana::DictionaryListView::resized, this, [this] { lvTermsResize(); });
    connect(bCopyChinese, &QToolButton::clicked, this, [this] { bCopyChineseClick(); });
    connect(bCopyPinyin, &QToolButton::clicked, this, [this] { bCopyPinyinClick(); });
    connect(bCopyTranslation, &QToolButton::clicked, this, [this] { bCopyTranslationClick(); });
    connect(bClose, &QToolButton::clicked, this, [this] { BitBtn1Click(); });
    connect(Dictionaryinfo1, &QAction::triggered, this, [this] { Dictionaryinfo1Click(); });
    connect(Changedictionary1, &QAction::triggered, this, [this] { Changedictionary1Click(); });

    // The window sees every key before the focused control (Escape closes it
    // from anywhere), and the label and the list's double click are events.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    lvTerms->viewport()->installEventFilter(this);
}

void TFormDict::enableButton(QAbstractButton *button)
{
    if (Form1)
        Form1->Enable(button);
    else
        button->setEnabled(true);
}

void TFormDict::disableButton(QAbstractButton *button)
{
    if (Form1)
        Form1->Disable(button);
    else
        button->setEnabled(false);
}

// --- window events ------------------------------------------------------------------

void TFormDict::FormCreate()
{
    paging.DictPageSize = korvana::strToInt(cbPocetTerminu->currentText());
}

void TFormDict::cbPocetTerminuCloseUp()
{
    paging.DictPageSize = korvana::strToInt(cbPocetTerminu->currentText());
}

void TFormDict::FormActivate()
{
    eSearchTerm->setFocus();
    lvTerms->setColumnWidth(2, lvTerms->width() - lvTerms->columnWidth(0) - lvTerms->columnWidth(1));
}

void TFormDict::lvTermsResize()
{
    // 20 pixels are left for the vertical scroll bar.
    lvTerms->setColumnWidth(2, lvTerms->width() - lvTerms->columnWidth(0) - lvTerms->columnWidth(1) - 20);
}

void TFormDict::FormPaint()
{
    const QString caption = QStringLiteral("Dictionary [") + (Form1 ? Form1->FDictFile : QString()) +
                            QStringLiteral("]");
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

bool TFormDict::FormKeyDown(int Key)
{
    if (Key != Qt::Key_Escape)
        return false;
    close();
    return true;
}

bool TFormDict::eSearchTermKeyDown(int Key)
{
    if (Key != Qt::Key_Return && Key != Qt::Key_Enter)
        return false;
    bFindAllClick(bFindAll);
    return true;
}

bool TFormDict::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

bool TFormDict::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto *k = static_cast<QKeyEvent *>(e);
        // Only keys meant for this window (not those of the popup menu).
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || w->window() != this)
            break;
        if (FormKeyDown(k->key()))
            return true;
        if (watched == eSearchTerm && eSearchTermKeyDown(k->key()))
            return true;
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (watched == lvTerms->viewport())
            lvTermsDblClick();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == lblMoreOptions && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton)
            lblMoreOptionsClick();
        break;
    case QEvent::MouseMove:
        if (watched == lblMoreOptions)
            lblMoreOptionsMouseMove();
        break;
    case QEvent::Leave:
        if (watched == lblMoreOptions)
            lblMoreOptionsMouseLeave();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

void TFormDict::keyPressEvent(QKeyEvent *e)
{
    if (!FormKeyDown(e->key()))
        QWidget::keyPressEvent(e);
}

void TFormDict::showEvent(QShowEvent *e)
{
    // Each showing places the window at the centre of the main window.
    if (!e->spontaneous() && Form1) {
        const QRect main = Form1->frameGeometry();
        move(main.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    QWidget::showEvent(e);
}

void TFormDict::paintEvent(QPaintEvent *e)
{
    FormPaint();
    QWidget::paintEvent(e);
}

void TFormDict::BitBtn1Click()
{
    close();
}

// --- searches -------------------------------------------------------------------------

void TFormDict::InsertResult(const QString &Entry)
{
    const korvana::DictionaryRow row = korvana::dictionaryRow(Entry, [](const QString &pinyin) {
        return Form1 ? Form1->PinyinNumbersIntoToneMarks(pinyin) : pinyin;
    });
    auto *item = new korvana::DictionaryRowItem;
    item->setText(0, row.chinese);
    item->setText(1, row.pinyin);
    item->setText(2, row.translation);
    lvTerms->addTopLevelItem(item);
}

void TFormDict::finishSearch()
{
    if (lvTerms->topLevelItemCount() > 0)
        lvTerms->setCurrentItem(lvTerms->topLevelItem(0));
}

void TFormDict::bFindAllClick(QObject *Sender)
{
    using Request = korvana::DictionaryPaging::Request;
    disableButton(bNext);
    disableButton(bPrevious);

    Request request = Request::NewSearch;
    if (Sender == bNext)
        request = Request::NextPage;
    else if (Sender == bPrevious)
        request = Request::PreviousPage;
    const QString term = paging.move(request, eSearchTerm->text());
    if (paging.previousEnabled())
        enableButton(bPrevious);
    if (term.isEmpty() || !Form1)
        return;

    BusyCursor busy(this);
    lvTerms->clear();
    bool more = false;
    const QStringList entries = Form1->DictFindAll(term, chbCase->isChecked(), paging.DictFirstResult,
                                                   paging.DictLastResult, &more);
    for (const QString &entry : entries)
        InsertResult(entry);
    if (more)
        enableButton(bNext);
    finishSearch();
}

void TFormDict::bExactFindClick()
{
    disableButton(bNext);
    disableButton(bPrevious);
    const QString term = korvana::trimControls(QStringView(eSearchTerm->text())).toString();
    if (term.isEmpty() || !Form1)
        return;
    lvTerms->clear();
    for (const QString &entry : Form1->DictExactFind(term, chbCase->isChecked()))
        InsertResult(entry);
    finishSearch();
}

void TFormDict::bNextClick()
{
    bFindAllClick(bNext);
}

void TFormDict::bPreviousClick()
{
    bFindAllClick(bPrevious);
}

// --- the result list ------------------------------------------------------------------

void TFormDict::lvTermsColumnClick(int Column)
{
    DictSortColumn = Column;
    // Sorted once: rows added later (a new search) stay in search order.
    lvTerms->sortItems(DictSortColumn, Qt::AscendingOrder);
}

void TFormDict::lvTermsDblClick()
{
    QTreeWidgetItem *row = lvTerms->currentItem();
    if (!row || !Form1 || !Form1->SpVoice)
        return;
    // Asynchronous, on the voice the main window chose; speech already
    // running goes on.
    Form1->SpVoice->speak(row->text(0), 1);
}

void TFormDict::copyColumn(int column)
{
    QTreeWidgetItem *row = lvTerms->currentItem();
    if (lvTerms->topLevelItemCount() == 0 || !row)
        return;
    QGuiApplication::clipboard()->setText(row->text(column));
    lvTerms->setFocus();
}

void TFormDict::bCopyChineseClick()
{
    copyColumn(0);
}

void TFormDict::bCopyPinyinClick()
{
    copyColumn(1);
}

void TFormDict::bCopyTranslationClick()
{
    copyColumn(2);
}

// --- more options ---------------------------------------------------------------------

QPoint TFormDict::moreOptionsPoint() const
{
    return QPoint(lblMoreOptions->mapToGlobal(QPoint(0, 0)).x(), JvLabel1->mapToGlobal(QPoint(0, 0)).y() + 20);
}

void TFormDict::lblMoreOptionsClick()
{
    popMoreOptions->popup(moreOptionsPoint());
}

void TFormDict::lblMoreOptionsMouseMove()
{
    QFont f = lblMoreOptions->font();
    if (!f.underline()) {
        f.setUnderline(true);
        lblMoreOptions->setFont(f);
    }
}

void TFormDict::lblMoreOptionsMouseLeave()
{
    QFont f = lblMoreOptions->font();
    f.setUnderline(false);
    lblMoreOptions->setFont(f);
}

void TFormDict::Dictionaryinfo1Click()
{
    if (!Form1)
        return;
    // The header is the first line; a text without a line break shows none.
    const qsizetype lf = Form1->FDictText.indexOf(QLatin1Char('\n'));
    const QString header = lf < 0 ? QString() : Form1->FDictText.left(lf + 1);
    korvana::Dialogs::instance().message(this, Form1->FDictFile + QLatin1Char('\n') + header,
                                         korvana::MsgButtons::Ok);
}

void TFormDict::Changedictionary1Click()
{
    if (!Form1)
        return;
    const QString kept = Form1->FDictFile;
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
    if (Form1->LoadDict(chosen.first()))
        Form1->FDictFile = chosen.first();
    update(); // the caption names the new file from the next paint on
}
