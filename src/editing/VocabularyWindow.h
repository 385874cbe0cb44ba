#pragma once
// The vocabulary builder: lays the terms of all open lessons out as a table in
// a rich-text document (one term per paragraph, the chosen fields in the
// chosen order), which the user saves as RTF, prints or copies out. Shown
// modally from the Tools menu; one instance lives for the
// whole run and keeps its check marks, order, separator and last document.
#include "editing/VocabularyBuilder.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace korvana {
class LessonStore;
class MainSettings;
} // namespace korvana

class VocabularyWindow : public QDialog {
    Q_OBJECT
public:
    // The window lays out the lessons of store in the settings' characters font,
    // starts its save dialog in the settings' working folder and shows itself
    // centred on mainWidget.
    VocabularyWindow(korvana::MainSettings &settings, korvana::LessonStore &store, QWidget *mainWidget,
                     QWidget *parent = nullptr);
    ~VocabularyWindow() override;

    // Sets the initial check marks: "Words"; "Translation", "Pin yin", "Chinese".
    void onCreate();
    // "build  vocabulary": lays the open lessons out into vocabularyText.
    void buildButtonClicked();
    // "save": asks for a name and writes vocabularyText as rich text. A name without
    // any "." gets ".rtf". Write errors are left to the caller's error report.
    void saveButtonClicked();
    // "print": prints vocabularyText on the default printer as "Korvana".
    void printButtonClicked();
    // "close".
    void closeButtonClicked();
    // Escape (27) closes the window.
    void onKeyDown(int key);
    // Reordering the display list by dragging one item onto another: only
    // drags that start in the list are accepted; a drop swaps the selected
    // item with the one under the point (list coordinates), texts and check
    // marks together.
    bool displayOrderListDragOver(QObject *source) const;
    void displayOrderListDropped(QObject *source, const QPoint &pos);

    // The choices the window shows, as the builder takes them (the characters
    // settings are filled from the settings by buildButtonClicked).
    korvana::VocabularyOptions options() const;

    QListWidget *includeList = nullptr;
    QListWidget *displayOrderList = nullptr;
    QListWidget *optionsList = nullptr;
    QLineEdit *separatorEdit = nullptr;
    QLabel *instructionsLabel = nullptr;
    QPushButton *buildButton = nullptr;
    korvana::RichEdit *vocabularyText = nullptr;
    QTextEdit *vocabularyView = nullptr;
    QProgressBar *buildProgress = nullptr;
    QLabel *waitLabel = nullptr;
    QPushButton *saveButton = nullptr;
    QPushButton *printButton = nullptr;
    QPushButton *closeButton = nullptr;
    korvana::FileDialogRequest saveFileRequest;
    // The builder with its work areas lineText, restyleText and workTable.
    korvana::VocabularyBuilder builder;

    // Whether the last build stopped at a row with no line in the lesson text.
    bool lastBuildIncomplete() const { return m_incomplete; }

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    korvana::MainSettings &m_settings;
    korvana::LessonStore &m_store;
    QWidget *m_mainWidget;
    bool m_incomplete = false;
};
