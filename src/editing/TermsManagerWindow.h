#pragma once
// The terms manager: every term of the open lessons in one list, chosen by
// hand or by type and state, marked unlearned, learned or difficult in the
// term table, or exported as a lesson file. Shown modally from the main
// window; it reads the lesson text and writes only the state column of the
// term table, which reaches the lesson files when the lessons are saved.
#include <QDialog>

namespace korvana {
class LessonStore;
class MainSettings;
} // namespace korvana

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TermsManagerWindow : public QDialog {
    Q_OBJECT
public:
    // The window reads and marks the terms of store, starts its file dialogs
    // in the settings' working folder and shows itself centred on mainWidget.
    TermsManagerWindow(korvana::MainSettings &settings, korvana::LessonStore &store, QWidget *mainWidget,
                       QWidget *parent = nullptr);

    // Set, the controls are built when the window is first shown rather than
    // with it: nothing outside the window reads them.
    static bool buildWhenShown;
    void setVisible(bool visible) override;

    QTreeWidget *termList = nullptr;
    QComboBox *selectCombo = nullptr, *deselectCombo = nullptr, *markAsCombo = nullptr, *exportCombo = nullptr;
    QPushButton *selectButton = nullptr, *deselectButton = nullptr, *markAsButton = nullptr, *exportButton = nullptr,
                *closeButton = nullptr;
    QLabel *selectedCountLabel = nullptr;

    // The column clicked last (0 Chinese, 1 Translation, 2 Pinyin, 3 Notes).
    int sortColumn = 0;

    // Item data role holding the term's row in the term table.
    static constexpr int RowRole = Qt::UserRole + 1;

    // Each showing: the list rebuilt from the lesson text, nothing selected.
    void onActivate();
    void fillTermList();
    void showSelectedCount();
    void termListColumnClicked(int column);
    void selectButtonClicked();
    void deselectButtonClicked();
    void markAsButtonClicked();
    void exportButtonClicked();
    void closeButtonClicked();
    void onKeyDown(int key);

    // The term-table row of an item.
    static int rowOf(const QTreeWidgetItem *item);
    // Rows of the selected items, in the list's current order.
    std::vector<int> selectedRows() const;

signals:
    // The open lessons are to be opened again as a session, from the store's
    // start index (after an export into one of them).
    void reopenLessonsRequested();
    // The term states changed: the practice counts are to be shown anew.
    void countTermsRequested();

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void buildControls();
    void applyLooks(QTreeWidgetItem *item) const;
    // After an export into target: when target is an open lesson, the
    // lessons are opened again, so that the store holds the exported terms,
    // and every lesson gets back the marks made since it was opened.
    void reloadExportTarget(const QString &target, int exported, bool appended);
    void selectByChoice(int choice, bool select);

    korvana::MainSettings &m_settings;
    korvana::LessonStore &m_store;
    QWidget *m_mainWidget;
    bool m_controlsPending = false;
};
