#pragma once
// The lesson editor: one lesson file edited term by term.
//
// The whole lesson lives in the hidden rich text lessonText, one term line per
// text line (linked-file lines and blank lines are taken out on loading);
// term n is line n-1. The current term is copied with its formatting into
// termLineText, and its tag values into the four field edits. storeTerm builds the
// line back from the fields and puts it in place of the term's line;
// saveLesson writes lessonText plus the linked-file lines to the lesson file.
//
// A term just started with "new" (or the only term of an empty lesson) has no
// line in lessonText until it is put back: it is term lineCount()+1. termCount()
// counts it, so navigation and the buttons treat it as a term, and a lesson
// never gains an empty line for a term the user left untouched.
//
// Only the user's edits count as changes: what the editor puts into the
// fields itself (showing, clearing) marks nothing, so browsing rewrites no
// line. A line the editor does write keeps whatever it holds besides the
// fields the editor edits (restOfLineText), and the type the practice window reads.
#include "lessons/LinkedFiles.h"
#include "lessons/Pane.h"
#include "platform/richtext/RichEdit.h"

#include <QStringList>
#include <QWidget>
#include <optional>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QComboBox;
class QTextEdit;
class QTimer;
class LinkedFileDialog;
class OptionsDialog;

namespace korvana {
class ClickLabel;
class ToneImage;
struct KeyboardLayoutItem;
struct MainSettings;

// What the lesson editor asks of the main window beside it.
class LessonEditorHost {
public:
    virtual ~LessonEditorHost() = default;
    // Whether the editor loads its lesson afresh at its next activation.
    virtual bool editorLoadPending() const = 0;
    virtual void setEditorLoadPending(bool pending) = 0;
    // The main window's pane of a field, whose direction and alignment the
    // field copies; null where the main window has none.
    virtual RichEdit *paneText(Pane pane) const = 0;
    virtual QTextEdit *paneView(Pane pane) const = 0;
    // The 24 tone vowels in the legacy pinyin font, loaded first when
    // loading was left for later.
    virtual RichEdit &toneVowelsText() = 0;
    // Shows a button as the main window shows its usable and unusable ones.
    virtual void enableButton(QAbstractButton *button) = 0;
    virtual void disableButton(QAbstractButton *button) = 0;
    // The link dialog the editor shows for a new or changed linked file.
    virtual LinkedFileDialog &linkedFileDialog() const = 0;
};
} // namespace korvana

class LessonEditorWindow : public QWidget {
    Q_OBJECT
public:
    // mainWidget is the main window: an error met while loading is shown
    // over it, since the editor has hidden itself by then. The options
    // dialog holds the pinyin system the tone panel types in, and opens on
    // its "Editor" page for "editor options".
    LessonEditorWindow(korvana::MainSettings &settings, korvana::LessonEditorHost &host, OptionsDialog &options,
                       QWidget *mainWidget, QWidget *parent = nullptr);
    ~LessonEditorWindow() override;

    // --- fields -----------------------------------------------------------------------
    // One field per pane of the main window: its document, its view and
    // its keyboard-layout list (filled by the pinyin-entry work).
    struct FieldControls {
        korvana::RichEdit *text = nullptr;
        QTextEdit *view = nullptr;
        QComboBox *layouts = nullptr;
    };
    korvana::PaneArray<FieldControls> panes;
    QRadioButton *wordOption = nullptr, *phraseOption = nullptr;
    QRadioButton *learnedOption = nullptr, *unlearnedOption = nullptr, *difficultOption = nullptr;
    QLineEdit *soundEdit = nullptr, *pictureEdit = nullptr;
    QPushButton *browseSoundButton = nullptr, *browsePictureButton = nullptr;
    QLineEdit *termNumberEdit = nullptr;
    korvana::ClickLabel *goLabel = nullptr;
    QPushButton *previousButton = nullptr, *nextButton = nullptr, *newButton = nullptr, *deleteButton = nullptr,
                *saveButton = nullptr, *closeButton = nullptr, *editorOptionsButton = nullptr;
    // Linked files: descriptions shown, file names alongside (linkedFiles).
    QListWidget *linkedFilesList = nullptr;
    korvana::ClickLabel *newLinkLabel = nullptr, *editLinkLabel = nullptr, *deleteLinkLabel = nullptr;
    // Short notes that must not take the focus from the field being typed
    // in; each clears itself after 5 seconds.
    QLabel *statusLine = nullptr;

    // --- hidden stores -------------------------------------------------------------------
    korvana::RichEdit *lessonText = nullptr;     // the lesson, one term per line
    korvana::RichEdit *termLineText = nullptr;   // the current term's line
    korvana::RichEdit *outputText = nullptr;     // the file being written
    korvana::RichEdit *pieceText = nullptr;      // one coloured piece
    korvana::RichEdit *restOfLineText = nullptr; // the current line without the tags the editor edits

    // --- state ---------------------------------------------------------------------------
    QStringList linkedFiles;                  // FILE of each link, parallel to linkedFilesList
    std::optional<korvana::Pane> activeField; // the field typed in last, none yet at first
    int termNumber = 0;                       // 1-based
    bool lessonModified = false;
    bool termModified = false;
    QString fileName; // empty for a lesson never saved
    // The lesson file as the editor last read or wrote it: the digest of its
    // bytes, its term lines (plain text) and its links. A file that no longer
    // has this digest was changed by someone else since.
    QByteArray fileDigest;
    QStringList fileLines;
    QList<korvana::LinkedFile> fileLinks;
    // The current term's type as the practice window reads it ("<TY=",
    // exact case, a word when missing); empty for a term with no line yet.
    QString shownType;

    // --- life ------------------------------------------------------------------------------
    void onCreate();
    // Set by the program before the windows are created: the keyboard
    // layout lists, which ask the input-method services, are filled when
    // the editor is first shown, not at its creation, so that start-up
    // does not wait for those services.
    static bool fillLayoutsWhenShown;
    // Set, the fields and controls are built when the editor is first shown
    // rather than with it (the hidden stores below exist from the start):
    // nothing outside the editor reads them while it is hidden, and laying
    // out the fields' documents matches their fonts, which start-up need
    // not wait for.
    static bool buildWhenShown;
    void setVisible(bool visible) override;
    void onActivate();
    void onClose();
    // Loads fileName into lessonText; throws korvana::RichTextError when it
    // cannot be read.
    void loadLesson();
    void readLinkedFiles();
    // Notes the lesson as its file now holds it, from the file's bytes.
    void noteFileContents(const QByteArray &bytes);
    // Run before the lesson is written over its file. Terms that another
    // window or program added before or after the lesson's terms since the
    // editor read it are taken into the lesson. False for any other change
    // of the file: the file must not be written over.
    bool takeInOutsideChanges();
    // No term and no link: written, the file would be no lesson.
    bool lessonIsEmpty() const;

    // --- terms -------------------------------------------------------------------------------
    // Terms of the lesson, counting a started term not yet put back.
    int termCount() const;
    void showTermNumber();
    void showTerm();
    // Plain value of tag (two letters) in termLineText; empty when missing.
    QString tagValue(const QString &tag);
    void updateNavigationButtons();
    void previousButtonClicked();
    void nextButtonClicked();
    void goToTermNumber();
    void goLabelClicked();
    void newButtonClicked();
    void deleteButtonClicked();
    // Puts the fields back into the lesson. A term whose fields are all
    // empty is not written: a started one is dropped, an existing line with
    // nothing else in it is taken out of the lesson.
    void storeTerm();
    void saveButtonClicked();
    // Closes the window as its title bar does: both ask about unsaved edits.
    void closeButtonClicked();
    void browseSoundButtonClicked();
    void browsePictureButtonClicked();
    void fieldChanged();
    void soundOrPictureEditChanged();
    // Takes ">" and tag text ("<" + two letters + "=") out of a field and
    // says why in the status line: a term line's values cannot hold them and
    // read back the same. No box opens, so the keys typed next still reach
    // the field.
    void refuseTagText(korvana::RichEdit *field);
    void refuseTagText(QLineEdit *edit);
    void typeOptionClicked();
    void editorOptionsButtonClicked();

    // --- linked files ------------------------------------------------------------------------
    void newLinkLabelClicked();
    void editLinkLabelClicked();
    void deleteLinkLabelClicked();

    // --- writing (EditorWriter.cpp) --------------------------------------------------------------
    // Colour modes: 0 black, 1 red (tag names), 2 blue (type), 3 green (state),
    // 4 grey (sound and picture).
    void appendColouredText(const QString &text, int mode);
    void buildTermLine();
    // True when the lesson was written (or had nothing to write), false
    // when it was not: the save dialog cancelled, or the file changed by
    // someone else and the user keeping the lesson in the editor. Throws
    // korvana::Error when the file cannot be written; the file on disk is
    // then left as it was.
    bool saveLesson();

    // --- pinyin and input-language entry (PinyinEntry.cpp) --------------------------------------
    // The tone panel: 24 images, index 1..24 at toneImages[index - 1].
    QWidget *pinyinPanel = nullptr;
    QList<korvana::ToneImage *> toneImages;
    // Inserts tone vowel index (1..24) into the field activeField, as
    // Unicode or in the legacy pinyin font as the options dialog says.
    void insertToneVowel(int index);
    void insertUnicodeChar(QChar character, korvana::RichEdit *field);
    void readInstalledLayouts(QList<korvana::KeyboardLayoutItem> &list);
    // A field took the focus: its layout list's choice becomes the active
    // keyboard layout.
    void fieldEntered(korvana::Pane field);
    // A layout was chosen in a field's list: the field takes the focus back.
    void layoutListClosed(korvana::Pane field);
    // A key going down in one of the four fields, before its character goes in.
    void fieldKeyPressed(korvana::RichEdit *field);
    void toneImageMousePressed(int index);
    void toneImageMouseReleased(int index);

signals:
    // The editor has closed: the main window opens its lessons again from
    // their files, so that it shows what the editor saved.
    void reopenLessonsRequested();
    // "editor options": the options dialog, already on its "Editor" page.
    void preferencesRequested();

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    korvana::MainSettings &m_settings;
    korvana::LessonEditorHost &m_host;
    OptionsDialog &m_options;
    QWidget *m_mainWidget;
    bool m_layoutsPending = false;
    bool m_controlsPending = false;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Set while the editor itself fills or clears the fields.
    bool m_showing = false;
    bool m_refusing = false;
    bool m_closing = false;
    QTimer *m_statusTimer = nullptr;
    void showStatus(const QString &text);
    // Asks "Lesson was modified, save?" and saves on Yes; false when the
    // editor must stay open (Cancel, save dialog cancelled, write failed).
    bool mayClose();
    void keepRest();
    QString folderForDialogs() const;
    bool runLinkDialog();
    void buildControls();
    void showField(korvana::Pane field);
    void copyFieldInto(korvana::RichEdit *field, double size);
    void setDefaultFont(korvana::RichEdit *field, QTextEdit *view, const QString &family, double size);
    // The family a field's text starts in when a term is loaded; empty keeps
    // the field's own.
    QString fieldFontFamily(korvana::Pane pane) const;
    QString chooseFile(const QString &filter);
    // Pinyin and input-language entry.
    void buildPinyinPanel();
    void fillLayoutLists();
    // Starts the translation, pinyin and notes lists on the layout the user
    // types with, once, at the editor's first opening.
    void followUserLayout();
    bool m_followedUserLayout = false;
    korvana::RichEdit *activeFieldEdit() const;
};
