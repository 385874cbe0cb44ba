#pragma once
// The vocabulary builder: lays the terms of all open lessons out as a table in
// a rich-text document (one term per paragraph, the chosen fields in the
// chosen order), which the user saves as RTF, prints or copies out. Shown
// modally from the Tools menu; one instance, FormVocabulary, lives for the
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

class TFormVocabulary : public QDialog {
    Q_OBJECT
public:
    explicit TFormVocabulary(QWidget *parent = nullptr);
    ~TFormVocabulary() override;

    // Sets the initial check marks: "Words"; "Translation", "Pin yin", "Chinese".
    void FormCreate();
    // "build  vocabulary": lays the open lessons out into reVoc.
    void bCreateClick();
    // "save": asks for a name and writes reVoc as rich text. A name without
    // any "." gets ".rtf". Write errors are left to the caller's error report.
    void BitBtn1Click();
    // "print": prints reVoc on the default printer as "Korvana".
    void BitBtn3Click();
    // "close".
    void BitBtn2Click();
    // Escape (27) closes the window.
    void FormKeyDown(int Key);
    // Reordering the display list by dragging one item onto another: only
    // drags that start in the list are accepted; a drop swaps the selected
    // item with the one under the point (list coordinates), texts and check
    // marks together.
    bool chlbDisplayDragOver(QObject *Source) const;
    void chlbDisplayDragDrop(QObject *Source, const QPoint &Pos);

    // The choices the window shows, as the builder takes them (the Kanji
    // settings are filled from the main window by bCreateClick).
    korvana::VocabularyOptions options() const;

    QListWidget *chlbInclude = nullptr;
    QListWidget *chlbDisplay = nullptr;
    QListWidget *chlbOptions = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *JvLabel1 = nullptr;
    QPushButton *bCreate = nullptr;
    korvana::RichEdit *reVoc = nullptr;
    QTextEdit *reVocView = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *lblWait = nullptr;
    QPushButton *BitBtn1 = nullptr; // save
    QPushButton *BitBtn3 = nullptr; // print
    QPushButton *BitBtn2 = nullptr; // close
    korvana::FileDialogRequest SaveDialog1;
    // The builder with its work areas reLine, reMezi and sgr.
    korvana::VocabularyBuilder builder;

    // Whether the last build stopped at a row with no line in the lesson text.
    bool lastBuildIncomplete() const { return m_incomplete; }

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    bool m_incomplete = false;
};

extern TFormVocabulary *FormVocabulary;
