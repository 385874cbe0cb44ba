#pragma once
// The lesson editor: one lesson file edited term by term.
//
// The whole lesson lives in the hidden rich text reLes, one term line per
// text line (linked-file lines and blank lines are taken out on loading);
// term n is line n-1. The current term is copied with its formatting into
// reLine, and its tag values into the four field edits. SaveTerm builds the
// line back from the fields and puts it in place of the term's line;
// SaveLesson writes reLes plus the linked-file lines to the lesson file.
//
// A term just started with "new" (or the only term of an empty lesson) has no
// line in reLes until it is put back: it is term lineCount()+1. termCount()
// counts it, so navigation and the buttons treat it as a term, and a lesson
// never gains an empty line for a term the user left untouched.
//
// Only the user's edits count as changes: what the editor puts into the
// fields itself (showing, clearing) marks nothing, so browsing rewrites no
// line. A line the editor does write keeps whatever it holds besides the
// fields the editor edits (reRest), and the type the practice window reads.
#include "platform/richtext/RichEdit.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QComboBox;
class QTextEdit;

namespace korvana {
class ClickLabel;
class ToneImage;
struct KeyboardLayoutItem;
}

class TFormEditor : public QWidget {
    Q_OBJECT
public:
    explicit TFormEditor(QWidget *parent = nullptr);
    ~TFormEditor() override;

    // --- fields -----------------------------------------------------------------------
    korvana::RichEdit *reEdOrig = nullptr, *reEdPin = nullptr, *reEdChin = nullptr, *reEdNote = nullptr;
    QTextEdit *reEdOrigView = nullptr, *reEdPinView = nullptr, *reEdChinView = nullptr, *reEdNoteView = nullptr;
    QRadioButton *rbWord = nullptr, *rbPhrase = nullptr;
    QRadioButton *rbLearned = nullptr, *rbUnlearned = nullptr, *rbDifficult = nullptr;
    QLineEdit *edSound = nullptr, *edPicture = nullptr;
    QPushButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
    QLineEdit *eNr = nullptr;
    korvana::ClickLabel *lblGo = nullptr;
    QPushButton *bPrevious = nullptr, *bNext = nullptr, *bNew = nullptr, *bDelete = nullptr, *bSave = nullptr,
                *bClose = nullptr, *bEditorOptions = nullptr;
    // Keyboard-layout lists of the four fields (filled by the pinyin-entry work).
    QComboBox *cbOrig = nullptr, *cbPin = nullptr, *cbChin = nullptr, *cbNote = nullptr;
    // Linked files: descriptions shown, file names alongside (FLinkFiles).
    QListWidget *lbLink = nullptr;
    korvana::ClickLabel *lblNew = nullptr, *lblEdit = nullptr, *lblDelete = nullptr;

    // --- hidden stores -------------------------------------------------------------------
    korvana::RichEdit *reLes = nullptr;  // the lesson, one term per line
    korvana::RichEdit *reLine = nullptr; // the current term's line
    korvana::RichEdit *reMezi = nullptr; // the file being written
    korvana::RichEdit *reUF = nullptr;   // one coloured piece
    korvana::RichEdit *reRest = nullptr; // the current line without the tags the editor edits

    // --- state ---------------------------------------------------------------------------
    QStringList FLinkFiles;  // FILE of each link, parallel to lbLink
    int FActiveField = 0;    // 0 none yet, 1 translation, 2 pinyin, 3 characters, 4 notes
    int FTermNumber = 0;     // 1-based
    bool FLessonModified = false;
    bool FTermModified = false;
    QString FFileName;       // empty for a lesson never saved
    // The current term's type as the practice window reads it ("<TY=",
    // exact case, a word when missing); empty for a term with no line yet.
    QString FShownType;

    // --- life ------------------------------------------------------------------------------
    void FormCreate();
    void FormActivate();
    void FormClose();
    // Loads FFileName into reLes; throws korvana::RichTextError when it
    // cannot be read.
    void OpenFile();
    void ReadParTags();
    // Whether the link dialog's file and description can be written as they
    // are; says why not when they cannot.

    // --- terms -------------------------------------------------------------------------------
    // Terms of the lesson, counting a started term not yet put back.
    int termCount() const;
    void ShowNumbers();
    void ShowTerm();
    void ShowOrig();
    void ShowPin();
    void ShowChin();
    void ShowNotes();
    // Plain value of tag (two letters) in reLine; empty when missing.
    QString GetValue(const QString &Tag);
    void CheckButtons();
    void bPreviousClick();
    void bNextClick();
    void GoToNumber();
    void lblGoClick();
    void bNewClick();
    void bDeleteClick();
    // Puts the fields back into the lesson. A term whose fields are all
    // empty is not written: a started one is dropped, an existing line with
    // nothing else in it is taken out of the lesson.
    void SaveTerm();
    void bSaveClick();
    // Closes the window as its title bar does: both ask about unsaved edits.
    void bCloseClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void reEdOrigChange();
    void edSoundChange();
    // Takes ">" and tag text ("<" + two letters + "=") out of a field and
    // says why: a term line's values cannot hold them and read back the same.
    void refuseTagText(korvana::RichEdit *Field);
    void refuseTagText(QLineEdit *Edit);
    void rbWordClick();
    void bEditorOptionsClick();

    // --- linked files ------------------------------------------------------------------------
    void bOpenLinkClick();
    void lblEditClick();
    void lblDeleteClick();

    // --- writing (EditorWriter.cpp) --------------------------------------------------------------
    // Colour modes: 0 black, 1 red (tag names), 2 blue (type), 3 green (state),
    // 4 grey (sound and picture).
    void AppendColouredText(const QString &Text, int Mode);
    void AppendCurrentTerm();
    // True when the lesson was written, false when the save dialog was
    // cancelled. Throws korvana::Error when the file cannot be written; the
    // file on disk is then left as it was.
    bool SaveLesson();

    // --- pinyin and input-language entry (PinyinEntry.cpp) --------------------------------------
    // The tone panel: 24 images, index 1..24 at toneImages[index - 1].
    QWidget *PanelPinYin = nullptr;
    QList<korvana::ToneImage *> toneImages;
    // Inserts tone vowel Index (1..24) into the field FActiveField, as
    // Unicode or in the legacy pinyin font as the options dialog says.
    void InsertPin2(int Index);
    void InsertUnicodeChar(QChar Character, korvana::RichEdit *Field);
    void FillKeyboardLayouts(QList<korvana::KeyboardLayoutItem> &List);
    void reEdOrigEnter();
    void reEdPinEnter();
    void reEdChinEnter();
    void reEdNoteEnter();
    void cbOrigCloseUp();
    void cbPinCloseUp();
    void cbChinCloseUp();
    void cbNoteCloseUp();
    // A key going down in one of the four fields, before its character goes in.
    void reEdPinKeyDown(korvana::RichEdit *Field);
    void Image1MouseDown(int Index);
    void Image1MouseUp(int Index);

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Set while the editor itself fills or clears the fields.
    bool m_showing = false;
    bool m_refusing = false;
    bool m_closing = false;
    // Asks "Lesson was modified, save?" and saves on Yes; false when the
    // editor must stay open (Cancel, save dialog cancelled, write failed).
    bool mayClose();
    void keepRest();
    QString folderForDialogs() const;
    bool runLinkDialog();
    void buildControls();
    void showField(korvana::RichEdit *field, const QString &tag, double size);
    void copyFieldInto(korvana::RichEdit *field, double size);
    void setDefaultFont(korvana::RichEdit *field, QTextEdit *view, const QString &family, double size);
    QString chooseFile(const QString &filter);
    // Pinyin and input-language entry.
    void buildPinyinPanel();
    void fillLayoutLists();
    korvana::RichEdit *activeFieldEdit() const;
    void enterField(int field, QComboBox *layouts);
    void closeUpList(korvana::RichEdit *field, void (TFormEditor::*enter)());
};

extern TFormEditor *FormEditor;
