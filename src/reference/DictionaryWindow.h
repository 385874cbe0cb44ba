#pragma once
// The dictionary window: a search box with find all and exact find, one page
// of results in a three-column list that sorts by a header click, copy
// buttons for one column of the current row, speech on double click, and a
// small menu for the dictionary's header and for loading another dictionary.
//
// The searches run over the program's dictionary text (DictionaryHost::dictionaryFindAll
// and dictionaryExactFind); this window keeps the page state and shows the rows.
// One instance lives for the whole run: closing only hides it, so
// the results, the search term, the page and the sort column survive.
#include "reference/Dictionary.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QHash>
#include <QTreeView>
#include <QWidget>

#include <vector>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace korvana {

struct MainSettings;
class SpeechVoice;

// What the dictionary window asks of the main window, which holds the
// dictionary text, its searches and the voice.
class DictionaryHost {
public:
    virtual ~DictionaryHost() = default;
    // Loads what start-up left for later, the dictionary among it.
    virtual void loadPendingData() = 0;
    // The dictionary loaded, header line first.
    virtual const QString &dictionaryText() = 0;
    // Loads another dictionary file in place of the one in use; false, the
    // one in use staying, when it cannot be loaded.
    virtual bool loadDictionary(const QString &fileName) = 0;
    // Exact find, and one page of find all (results firstResult..lastResult;
    // pageFull tells whether a next page may follow).
    virtual DictionaryMatches dictionaryExactFind(const QString &term, bool caseSensitive) = 0;
    virtual QStringList dictionaryFindAll(const QString &term, bool caseSensitive, int firstResult, int lastResult,
                                          bool *pageFull) = 0;
    // "ni3 hao3" -> tone-marked pinyin.
    virtual QString pinyinNumbersIntoToneMarks(const QString &pinyin) = 0;
    // The speed buttons' enabled and disabled looks.
    virtual void enableButton(QAbstractButton *button) = 0;
    virtual void disableButton(QAbstractButton *button) = 0;
    // The shared voice; null when there is none.
    virtual SpeechVoice *voice() = 0;
};

// Orders two result texts: the letters a to z count as A to Z, every other
// UTF-16 unit by its code. Negative, zero or positive as a sorts before, with
// or after b.
int compareDictionaryText(QStringView a, QStringView b);

// The result count box: its choice is taken only when its list closes, so a
// count picked with the arrow keys without opening the list is not used.
class CloseUpComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void hidePopup() override;
signals:
    void closedUp();
};

// The rows of the result list: the entries of one search (a page of find
// all, or an exact find's places in the text), in search order or in the
// order of the last sort. A row's three columns are made from its entry only
// when they are asked for, mostly as the row is drawn, so a listing of tens
// of thousands of entries costs no more to show than the few rows in view.
class DictionaryResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DictionaryResultModel(DictionaryHost &host, QObject *parent = nullptr);

    // Puts the results of a search in place of the rows shown, in search order.
    void showEntries(const QStringList &entries);
    void showMatches(DictionaryMatches matches);
    // No rows; what the rows held is let go.
    void clear();

    // Column 0 Chinese, 1 pinyin (tone-marked), 2 translation of a row.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Orders the rows by one column's text with compareDictionaryText (the
    // window always asks for ascending); rows whose texts compare equal keep
    // their order. The current row and the selection stay with their entries.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    qsizetype entryCount() const;
    QStringView entry(qsizetype i) const;
    // One column of an entry's row, made without the others.
    QString columnText(qsizetype entryIndex, int column) const;
    const DictionaryRow &row(qsizetype entryIndex) const;

    std::function<QString(const QString &)> m_toneMarks; // the host's tone-mark converter
    QStringList m_entries;                               // find all's page
    DictionaryMatches m_matches;                         // or an exact find's entries
    // Place in the list -> entry, after a sort; empty while in search order.
    std::vector<qsizetype> m_order;
    // The rows made lately, by entry: the rows in view, drawn again and again.
    mutable QHash<qsizetype, DictionaryRow> m_made;
};

// The result list: rows drawn white and light grey in turn by their place in
// the list (the first white), whatever order a sort left them in, with grid
// lines between the cells.
class DictionaryListView : public QTreeView {
    Q_OBJECT
public:
    explicit DictionaryListView(QWidget *parent = nullptr);
    // The background of the row at a place in the list (from 0).
    static QColor rowBackground(int index);
signals:
    void resized();

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void resizeEvent(QResizeEvent *e) override;
};

} // namespace korvana

class DictionaryWindow : public QWidget {
    Q_OBJECT
public:
    // settings: the dictionary file's name, shown in the caption and changed
    // with the dictionary; mainWidget: the window this one is centred on.
    DictionaryWindow(korvana::DictionaryHost &host, korvana::MainSettings &settings, QWidget *mainWidget,
                     QWidget *parent = nullptr);
    ~DictionaryWindow() override;

    // Set, the controls are built when the window is first shown rather than
    // with it: nothing outside the window reads them, and start-up does not
    // wait for a window it does not show.
    static bool buildWhenShown;
    void setVisible(bool visible) override;

    // Controls.
    QLineEdit *searchEdit = nullptr;
    QToolButton *findAllButton = nullptr, *exactFindButton = nullptr;
    QCheckBox *caseSensitiveSwitch = nullptr;
    QLabel *moreOptionsLabel = nullptr;
    QLabel *searchHintLabel = nullptr, *doubleClickHintLabel = nullptr, *sortHintLabel = nullptr;
    QToolButton *previousButton = nullptr, *nextButton = nullptr;
    korvana::CloseUpComboBox *pageSizeCombo = nullptr;
    QLabel *copyLabel = nullptr, *pageSizeLabel = nullptr;
    korvana::DictionaryListView *resultList = nullptr;
    korvana::DictionaryResultModel *resultModel = nullptr;
    QToolButton *copyChineseButton = nullptr, *copyPinyinButton = nullptr, *copyTranslationButton = nullptr;
    QToolButton *closeButton = nullptr;
    QMenu *moreOptionsMenu = nullptr;
    QAction *dictionaryInfoAction = nullptr, *changeDictionaryAction = nullptr;

    // The page state of find all (the search term, the page size, the first
    // and last result of the page to show).
    korvana::DictionaryPaging paging;
    // The column the list was sorted by last: 0 Chinese, 1 Pinyin, 2 Translation.
    int lastSortColumn = 0;

    // Handlers, one per control event.
    void onCreate();
    void pageSizeComboClosedUp();
    void onActivate();
    void resultListResized();
    void onPaint();
    // Whether the key was taken (Escape closes the window).
    bool onKeyDown(int key);
    // Enter runs find all as a new search.
    bool searchEditKeyPressed(int key);
    // sender: findAllButton (a new search of the typed term), nextButton or previousButton
    // (another page of the last search).
    void findAllButtonClicked(QObject *sender);
    void exactFindButtonClicked();
    void nextButtonClicked();
    void previousButtonClicked();
    void resultListColumnClicked(int column);
    void resultListDoubleClicked();
    void copyChineseButtonClicked();
    void copyPinyinButtonClicked();
    void copyTranslationButtonClicked();
    void moreOptionsLabelClicked();
    void moreOptionsLabelMouseMoved();
    void moreOptionsLabelMouseLeft();
    void dictionaryInfoCommand();
    void changeDictionaryCommand();
    void closeButtonClicked();

    // Shows one row per entry in place of the rows shown (an exact find's
    // rows take their entries out of the matches as they are shown).
    void showResults(const QStringList &entries);
    void showResults(korvana::DictionaryMatches matches);
    // Empties the list and gives the memory of its rows back.
    void clearResults();

    // Where "More options" pops its menu up, in screen coordinates.
    QPoint moreOptionsPoint() const;

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void buildControls();
    void copyColumn(int column);
    void enableButton(QAbstractButton *button);
    void disableButton(QAbstractButton *button);
    void finishSearch();

    korvana::DictionaryHost &m_host;
    korvana::MainSettings &m_settings;
    QWidget *m_mainWidget;
    bool m_controlsPending = false;
};
