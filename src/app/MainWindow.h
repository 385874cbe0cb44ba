#pragma once
// The main window. It works on the program's shared state (the settings, the
// lesson store, the speech voice, ...: see ProgramState), which it reaches by
// reference, and drives the plain classes that do the work. Its handlers live in one file per
// subsystem: MainWindowStartup.cpp, MainWindowLessons.cpp, MainWindowStatus.cpp, ...
#include "lessons/LessonStore.h"
#include "reference/ReferenceData.h"
#include "settings/MainSettings.h"
#include "practice/PracticeControls.h"
#include "practice/PracticeEngine.h"
#include "practice/FlashTiming.h"
#include "practice/StepGate.h"

#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>

class HoverLabel;
class ProgramWindows;
namespace korvana {
class DictionaryData;
}
class QAbstractButton;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

#include "platform/speech/SpeechVoice.h"
#include "platform/media/MediaPlayer.h"
#include <QIcon>
#include <QPointer>


class MainWindow : public QWidget {
    Q_OBJECT
public:
    // windows holds the program's other windows, made after this one: each
    // is null until it is made.
    explicit MainWindow(ProgramWindows &windows, QWidget *parent = nullptr);
    ~MainWindow() override;

    ProgramWindows &windows;

    // --- start-up and activation --------------------------------------------
    void onCreate();
    // Says what start-up found (settings, character database, dictionary,
    // skins) on the "korvana.startup" log, when that is switched on.
    void reportStartup();
    // Set by the program before the main window is created: the character
    // database and the dictionary, which the empty first window does not
    // show, load right after its first paint, not inside its creation,
    // and the first activation's work (reminder, voices, flash) waits for
    // that paint too.
    static bool loadDataAfterFirstPaint;
    // Loads what creation left for later, if anything; whatever reads the
    // dictionary or the character database calls it first.
    void loadPendingData();
    void onShow();
    void onActivate();
    void onClose();
    void changeVoice();
    void activateFlash();

    // Makes the speech voice. Tests replace it with one that returns a test
    // double; a factory that throws means no speech engine could be started.
    using VoiceFactory = std::function<std::unique_ptr<korvana::SpeechVoice>()>;
    static VoiceFactory voiceFactory;

    // --- lesson store ----------------------------------------------------------
    QString tagContent(const QString &Line, const QString &Tag) const;
    QString valueAt(int StartPos, const QString &Tag);
    void removeNumberTags();
    void loadIntoTermTable(const QString &LessonFile);

    // --- menus and window chrome (MainWindowMenus.cpp) -----------------------------------
    void arrangeMenus();
    void hideAllMenus();
    void updateLessonSessionLabels();
    void enableButton(QAbstractButton *Button);
    void disableButton(QAbstractButton *Button);
    void exitButtonClicked();
    void minimizeButtonClicked();
    void openLessonsCommand();
    // Commands of tools that later windows provide; each does nothing until
    // its window exists.
    void numbersCommand();
    void saveAsVocabularyCommand();
    void dictionaryCommand();
    void readerCommand();
    void editLessonCommand();
    void createLessonCommand();
    void editInWordProcessorCommand();
    void termsManagerCommand();
    void changeSkinCommand();
    void preferencesCommand();
    void screenBackgroundCommand();
    void toolBarCommand();
    void helpCommand();
    void keyboardReferenceCommand();
    void aboutCommand();

    struct Menu {
        HoverLabel *label = nullptr; // on the menu bar
        QFrame *panel = nullptr;     // its drop-down panel
    };
    Menu menus[5];
    HoverLabel *practiseMenuLabel = nullptr, *modulesMenuLabel = nullptr, *toolsMenuLabel = nullptr,
               *optionsMenuLabel = nullptr, *helpMenuLabel = nullptr;
    QFrame *practiseMenu = nullptr, *modulesMenu = nullptr, *toolsMenu = nullptr, *optionsMenu = nullptr,
           *helpMenu = nullptr;
    QList<HoverLabel *> menuItems; // every item of every panel, in table order
    QLabel *titleLabel = nullptr;     // the title
    QPushButton *exitButton = nullptr; // exit
    QPushButton *minimizeButton = nullptr; // minimise
    HoverLabel *lessonLabel = nullptr;
    HoverLabel *sessionLabel = nullptr;
    QWidget *statusPanel = nullptr;
    int dragX = 0;
    int dragY = 0;

    // --- opening and saving lessons, linked files, sessions (MainWindowLessons.cpp) ---
    // [lessons-begin]
    // Opening lessons: Mode "lesson" (the open dialog), "tempsession" (the
    // open lessons again, after the editor) or "session-files" (a session).
    void openLessonFiles(const QString &Mode);
    // Takes the linked-file lines out of the opener's linkedFileLinesText into the linked-file lists,
    // as coming from loadingLesson.
    void readLinkedFileLines();
    QString linkedFileAttribute(const QString &Line, const QString &Name) const;
    void saveLessons();
    void saveLessonsCommand();
    bool saveSession(const QString &FileName);
    void saveSessionCommand();
    void saveSessionAsCommand();
    void openSessionCommand();
    void linkedFilesListDoubleClicked();
    void linkedFilesListMouseMoved(const QPoint &Pos);
    void drawLinkedFileItem(class QPainter *Canvas, int Index, const QRect &Rect, bool Selected) const;
    // The practice engine's Next command and counts (MainWindowPracticeEngine.cpp),
    // which opening lessons ends with.
    void nextButtonClicked();
    void countTerms();
    // The temporary session written when the lesson editor opens.
    static QString tempSessionFile();
    // The full name of linked file j (against its lesson's folder, then the
    // current folder).
    QString linkedFileFullName(int j) const;
    void buildLessonControls();

    // The opener and the saver with their scratch documents (linkedFileLinesText,
    // outputText, pieceText) and the digests of the lessons that loaded.
    struct LessonFiles;
    // Notes the term states the open lessons' files hold, as just read.
    void noteFileStates();
    // The states of the terms marked since their lesson was read or saved,
    // each under its lesson, line and place among equal lines.
    QHash<QString, QString> unsavedMarks();
    // Gives the terms of reopened lessons the marks they had.
    void applyMarks(const QHash<QString, QString> &marks);
    // Empties the panes and what goes with the term they showed.
    void clearTermDisplay();
    // The lesson the editor has open, which it alone writes meanwhile.
    QStringList lessonsHeldByEditor() const;
    std::shared_ptr<LessonFiles> lessonFiles;
    LessonFiles &files();
    QString loadErrors;
    class QListWidget *linkedFilesList = nullptr;
    QLabel *openLinkedFileLabel = nullptr;
    class QLineEdit *termNumberEdit = nullptr;
    // [lessons-end]

    // --- term display, practice engine, modes, marks, keys (MainWindowPractice*.cpp) ---
    // [practice-begin]
    // The practice area's controls, made by buildPracticeControls(), which
    // buildControls() calls.
    void buildPracticeControls();
    // The four panes (documents with views), the current term's line and its
    // formatted characters (documents only).
    korvana::RichEdit *translationText = nullptr, *pinyinText = nullptr, *charactersText = nullptr,
                      *notesText = nullptr;
    class QTextEdit *translationView = nullptr, *pinyinView = nullptr, *charactersView = nullptr, *notesView = nullptr;
    korvana::RichEdit *termLineText = nullptr;
    korvana::RichEdit *termCharactersText = nullptr;
    QColor termCharactersBackground; // invalid unless the Kanji background is set
    // Mode switches; each box's handler runs on every change of its state,
    // by a click, by its caption label or from code.
    QCheckBox *autoSwitch = nullptr, *randomSwitch = nullptr, *wordsSwitch = nullptr, *phrasesSwitch = nullptr,
              *difficultSwitch = nullptr;
    QCheckBox *translationSwitch = nullptr, *pinyinSwitch = nullptr, *charactersSwitch = nullptr,
              *notesSwitch = nullptr;
    QCheckBox *pictureSwitch = nullptr, *soundSwitch = nullptr, *flashSwitch = nullptr;
    korvana::ClickLabel *autoSwitchLabel = nullptr, *randomSwitchLabel = nullptr, *wordsSwitchLabel = nullptr,
                        *phrasesSwitchLabel = nullptr, *difficultSwitchLabel = nullptr, *soundSwitchLabel = nullptr,
                        *pictureSwitchLabel = nullptr, *flashSwitchLabel = nullptr;
    korvana::ClickLabel *unskipLabel = nullptr, *firstLabel = nullptr, *lastLabel = nullptr, *goLabel = nullptr;
    korvana::ClickLabel *viewPictureLabel = nullptr, *playSoundLabel = nullptr;
    korvana::ClickLabel *autoOptionsLabel = nullptr; // "[Options]" beside the automatic mode
    QLabel *countLabel = nullptr;
    QPushButton *nextButton = nullptr, *previousButton = nullptr, *markLearnedButton = nullptr;
    korvana::LatchButton *markUnlearnedButton = nullptr, *markDifficultButton = nullptr;

    // Term display.
    bool showTerm(int N);
    // Size, and with "Set Kanji Font" the font, boldness and colour, of the
    // characters in Edit (all of its text).
    void applyKanjiLook(korvana::RichEdit *Edit);
    void showTranslation(bool Force);
    void showPinyin(bool Force);
    void showCharacters(bool Force);
    void showNotes(bool Force);
    QString tagValue(const QString &Name);
    // The file a term's sound or picture name stands for (see
    // resolveLinkedFile): the current lesson's folder first.
    QString termFileName(const QString &Name) const;
    QChar termType();

    // Practice engine (nextButtonClicked and countTerms are declared with the
    // lesson commands).
    std::unique_ptr<korvana::PracticeEngine> practice;
    korvana::StepGate stepGate;
    void nextTerm(const QString &Direction);
    void previousButtonClicked();
    bool canPractise();
    int lastLeft(const QString &Kind);
    // The lesson text was rebuilt: the counts are taken afresh. Writes to
    // the term table itself are noticed by the engine on its own.
    void termTableChanged();

    // Modes, marks, navigation, the automatic timer.
    void autoSwitchClicked();
    void randomSwitchClicked();
    void wordsSwitchClicked();
    void phrasesSwitchClicked();
    void difficultSwitchClicked();
    void autoSwitchLabelClicked();
    void randomSwitchLabelClicked();
    void wordsSwitchLabelClicked();
    void phrasesSwitchLabelClicked();
    void difficultSwitchLabelClicked();
    void soundSwitchClicked();
    void pictureSwitchClicked();
    void flashSwitchClicked();
    void translationSwitchClicked();
    void pinyinSwitchClicked();
    void charactersSwitchClicked();
    void notesSwitchClicked();
    void toggleTranslation();
    void togglePinyin();
    void toggleCharacters();
    void toggleNotes();
    void dropPaneRestore();
    void markLearnedButtonClicked();
    void markUnlearnedButtonClicked();
    void markDifficultButtonClicked();
    void unskipLabelClicked();
    void firstLabelClicked();
    void jumpToEnd(korvana::StepDirection direction); // First and Last
    void lastLabelClicked();
    void goLabelClicked();
    void startAutoTimer();
    void autoTimerTimeout();
    enum class AutoTimerHandler { None, StartTimer, Next };
    AutoTimerHandler autoTimerHandler = AutoTimerHandler::None;

    // Keys and wheel: the window sees them before the focused control.
    void onKeyDown(int Key, Qt::KeyboardModifiers Shift);
    // Whether the character typed by the key is dropped.
    bool onKeyPress(int Key, const QString &Text);
    void onWheelDown();
    void onWheelUp();

    // Hooks of the pictures, sounds, reading aloud, flash, tone colours,
    // hidden panes, help and the numbers drill; each does nothing until its
    // own work fills it in.
    void displayPicture();
    void playSound();
    bool soundPlaying();
    void stopSound();
    void toggleSound();
    void togglePicture();
    void readButtonClicked();
    void flash(bool Auto);
    void applyLatinFont(korvana::RichEdit *Edit, int FromPos, int ToPos);
    void colorPinyinTones();
    void toggleShowAll();
    void showHelpContents();
    void newNumber();
    // [practice-end]

    // --- character database (MainWindowReference.cpp) ----------------------------------
    // "ni3 hao3" -> tone-marked pinyin.
    QString pinyinNumbersIntoToneMarks(const QString &S) const;
    korvana::RichEdit scratchText;   // scratch rich text (the numbers drill loads its syllables here)

    // --- sounds, pictures, reading aloud (MainWindowMedia.cpp) ---
    // [media-begin]
    // The reading switch with its caption, the Read button and the sound
    // player; buildControls() calls this with the bottom row in place.
    void buildMediaControls();
    // Makes the term sound player. Tests replace it with one that returns a
    // test double.
    using MediaPlayerFactory = std::function<std::unique_ptr<korvana::MediaPlayer>()>;
    static MediaPlayerFactory mediaPlayerFactory;
    korvana::MediaPlayer *soundPlayer = nullptr; // owned by the window
    korvana::ClickLabel *readAloudLabel = nullptr;
    void readSwitchClicked();
    void readAloudLabelClicked();
    // The voice's events. Word positions count characters of the text read.
    void voiceWordReached(int Stream, int CharPosition, int Length);
    void voiceStreamEnded(int Stream);
    void highlightSpokenText(int Start, int Length);
    // Hooks the reading handlers to voice's events; again whenever voice
    // has been replaced since.
    void connectVoice();
    // The skin's "Show Button Labels": when false, the Read button's caption
    // is left alone and only its glyph changes.
    bool showButtonLabels = true;
    // The Read button's glyphs while idle and while speaking (the skin's).
    QIcon readButtonIcon, stopButtonIcon;

private:
    void setReadLook(bool reading);
    int soundWaitBoundMs() const;
    QPointer<korvana::SpeechVoice> m_connectedVoice;
    int m_readStream = 0; // stream number of the main window's last speech

public:
    // [media-end]

    // --- flash mode (MainWindowFlash.cpp) ---
    // [flash-begin]
    // The flash settings live in the options dialog (optionsDialog: flashDelayEdit,
    // flashRepeatEdit, flashIntervalEdit, flashFullScreenSwitch, flashKeepOpenSwitch); the three
    // numbers are texts, read strictly each time a flash needs them.
    // The clock flash periods are timed by; tests put in one of their own.
    std::shared_ptr<korvana::FlashClock> flashClock;
    // The "Flash" label: flashes the current term at once.
    korvana::ClickLabel *flashNowLabel = nullptr;
    void buildFlashControls();
    void flashNowLabelClicked();
    // Height in pixels of one line of Text in Font at the staging copy's
    // selection size, as drawn on Control.
    int measureFlashText(QWidget *Control, const QString &Text, const QFont &Font);
    // Whether a flash is running now (its waits keep the queue running).
    bool flashRunning() const { return m_flash.running; }

private:
    struct FlashState {
        bool running = false;
        bool stop = false;            // a key, a closing or a new request ends it
        std::optional<bool> again;    // a flash asked for while one ran
    } m_flash;
    void flashOnce(bool Auto);
    bool flashStopped() const;
    bool flashWait(int ms);
    void flashWindowClosed();
    class FlashWindow *connectedFlashWindow();
    void copyCharacters(korvana::RichEdit *target);
    void fillFlashCard();

public:
    // [flash-end]

    // --- pinyin tone colouring (MainWindowTones.cpp) ---
    // [tones-begin]
    // Colours the syllable of pinyinText around the character at 1-based position
    // Pos by Tone (1-4); called by the tone colouring of the pinyin pane
    // (colorPinyinTones, a hook of the term display).
    void colorPinyinSyllable(int Tone, int Pos);
    // [tones-end]

    // --- dictionary (MainWindowDictionary.cpp) ---
    // [dictionary-begin]
    // Loads a dictionary file into the program's dictionary, saying so in
    // the status line. Returns whether the file loaded; on failure the text
    // in use stays and the status line says why.
    bool loadDictionary(const QString &FileName);
    // The program's dictionary (see ProgramState). Whatever reads it calls
    // loadPendingData first.
    korvana::DictionaryData &dictionary;
    // [dictionary-end]

    // --- character information on hover (MainWindowHover.cpp) ---
    // [hover-begin]
    // Sends the mouse moves over the characters pane to charactersViewMouseMoved;
    // buildControls() calls it once the panes exist.
    void buildHoverControls();
    // The character under Pos (viewport coordinates of Sender, a rich-text
    // view) is looked up. For the characters pane (charactersView) the results go
    // to the popup characterInfoWindow; for any other view, such as the reader's text,
    // to the read-only boxes named "characterInfoBox" (one line: the character, its
    // readings and definition) and "dictionaryBox" (dictionary entries) of Sender's
    // window, which may be QPlainTextEdit or QTextEdit.
    void charactersViewMouseMoved(class QTextEdit *Sender, const QPoint &Pos);
    // Blanks the popup's character fields; its codes and entries stay.
    void clearCharacterInfo();
    // Hides the popup and forgets the last character, so that the next one
    // under the mouse is looked up afresh.
    void hideCharacterInfo();
    // [hover-end]

    // --- numbers drill (MainWindowNumbers.cpp) ---
    // [numbers-begin]
    // The range dialog, the stored pinyin of the numerals into scratchText, then
    // a first step (numbersCommand runs this after closing the menus).
    void showNumbersDialog();
    // Fills the panes from number: the digits, the numeral, its pinyin; the
    // notes pane stays empty.
    void showNumber();
    // One pane each. Force shows the content whatever the pane's box says
    // (the hover reveal); showNumberCharacters builds numberText and termCharactersText always,
    // since reading aloud and showNumberPinyin read them.
    void showNumberDigits(bool Force);
    void showNumberCharacters(bool Force);
    void showNumberPinyin(bool Force);
    // Appends line N (1-based) of scratchText, its syllable and blank, to pinyinText.
    void copyNumeralPinyinLine(int N);
    // Appends the syllables of numberText to pinyinText.
    void appendNumeralPinyin();

private:
    void hookNumberPaneBoxes();
    bool m_numberBoxesHooked = false;

public:
    // [numbers-end]

    // --- options round trip (MainWindowOptions.cpp) ---
    // [options-begin]
    // Takes the options dialog's values back into the settings fields and
    // applies them; preferencesCommand runs it after the dialog has closed.
    void takeOptions();
    // The "[Options]" label of the practice area: the dialog on its
    // automatic-mode page.
    void autoOptionsLabelClicked();
    // Colours the screen background window (the options dialog's swatch).
    void applyScreenBackgroundColor(quint32 Color);
    // [options-end]

    // --- lesson editor support (MainWindowEditor.cpp) ---
    // [editor-begin]
    // Says "Editor is already open" and brings the editor forward when it
    // is showing; false when it is not.
    bool editorAlreadyOpen();
    // [editor-end]

    // --- skins (MainWindowSkins.cpp) ---
    // [skins-begin]
    // The current skin (see settings/Skin.h). Kept for the run, never
    // written to the settings file; showButtonLabels and the Read button's
    // glyphs stand with the media controls.
    QString skinName;
    QString skinAuthor;
    quint32 labelsColor = 0;
    quint32 labelsBackgroundColor = 0;
    quint32 frameLabelsColor = 0;
    quint32 buttonLabelsColor = 0;
    quint32 frameBordersColor = 0;
    quint32 framesBackgroundColor = 0;
    bool showLabelsBackground = false;
    bool showFrameBorders = false;
    bool showFramesBackground = false;
    // The background picture behind every control; made by the first skin
    // that brings one, filling the window.
    QLabel *backgroundPicture = nullptr;
    // The built-in look's pictures.
    QImage mainImage, previousButtonImage, nextButtonImage, readButtonImage, stopButtonImage, skipButtonImage;
    // The skin loader working on this window (at start and from the skin
    // dialog).
    void loadSkinIntoWindow(const QString &N);
    // Pushes the skin fields into the labels, buttons and frames.
    void applySkin();
    // Gives every caption of the window a colour that reads on what it
    // stands on (a frame's fill, its own background, the picture beneath
    // it), the nearest to the one the skin or the design gives; where no
    // colour reads on the picture, the caption gets a backing of its own.
    void makeCaptionsReadable();
    // The three frames that group the mode switches, with their captions
    // "Mode:", "Show:" and "Auto:".
    QFrame *modeFrame = nullptr, *panesFrame = nullptr, *autoFrame = nullptr;
    QLabel *modeFrameLabel = nullptr, *panesFrameLabel = nullptr, *autoFrameLabel = nullptr;
    // Makes a frame with its caption; the caller puts the switches into the
    // returned row, which keeps the frame around them.
    class QHBoxLayout *buildSkinFrame(QFrame *&Frame, QLabel *&Caption, const QString &FrameName,
                                      const QString &CaptionName, const QString &Text);
    // The labels and frames a skin colours, as they stand in the window.
    QList<QLabel *> skinFrameLabels() const;
    QList<QLabel *> skinCommandLabels() const; // without openLinkedFileLabel
    QList<QFrame *> skinFrames() const;
    // [skins-end]

    // --- hidden panes and hover reveal (MainWindowHiddenPanes.cpp) ---
    // [hidden-begin]
    // The pane mouse handlers, the boxes' presses, the background's mouse
    // moves and the panes' popup menu; buildControls() calls this once the
    // panes and their boxes exist.
    void buildHiddenPaneControls();
    // The pane clicked last: 1 translation, 2 pinyin, 3 characters, 4 notes
    // (0 before any click). The popup's commands act on it.
    int activePane = 0;
    // The boxes' states saved by the show-all toggle, restored by the next
    // Insert while paneRestorePending holds.
    bool savedTranslationSwitch = false, savedPinyinSwitch = false, savedCharactersSwitch = false,
         savedNotesSwitch = false;
    // The panes' popup menu, made by buildHiddenPaneControls(): "Copy"
    // (copyAction), a separator (paneMenuSeparator) and "Display" (displayAction, checkable: checked
    // when the clicked pane's box is). A right press on a pane pops it up;
    // the commands connect copyAction and displayAction to their handlers. The pane views
    // make no context menu of their own.
    class QMenu *paneMenu = nullptr;
    class QAction *copyAction = nullptr, *paneMenuSeparator = nullptr, *displayAction = nullptr;
    // A press on a pane; Pos in the pane view's viewport.
    void translationViewMousePressed(Qt::MouseButton Button, const QPoint &Pos);
    void pinyinViewMousePressed(Qt::MouseButton Button, const QPoint &Pos);
    void charactersViewMousePressed(Qt::MouseButton Button, const QPoint &Pos);
    void notesViewMousePressed(Qt::MouseButton Button, const QPoint &Pos);
    // A press on any of the four pane boxes: a pending restore is dropped.
    void paneSwitchMousePressed();
    // The hover reveal (the characters pane's is charactersViewMouseMoved).
    void translationViewMouseMoved();
    void pinyinViewMouseMoved();
    void notesViewMouseMoved();
    // The mouse over the window's background: menus closed, every reveal
    // ended.
    void backgroundPictureMouseMoved();

private:
    void paneMousePressed(int Pane, Qt::MouseButton Button, const QPoint &Pos);

public:
    // [hidden-end]

    // --- commands that open tools, tool bar and background (MainWindowCommands.cpp) ---
    // [commands-begin]
    // Connects the panes' popup commands ("Copy", "Display"); buildControls()
    // calls it once the popup exists.
    void buildCommandControls();
    // "Copy" of the panes' popup: the whole pane given by activePane.
    void copyCommand();
    // "Display" of the panes' popup: the show/hide switch of that pane.
    void displayCommand();
    // Copies all of Pane to the clipboard and leaves nothing selected.
    void copyPaneToClipboard(korvana::RichEdit *Pane);
    // The program that edits lessons outside when "Edit in Word" is set:
    // LibreOffice Writer when it is installed, else the desktop's program
    // for the file. False when nothing could be started.
    bool openLessonInWordProcessor(const QString &FileName);
    // Whether the LibreOffice at Soffice can show a window at all.
    static bool officeCanShowWindows(const QString &Soffice);
    // [commands-end]

    // --- status line --------------------------------------------------------------
    void showStatus(const QString &Text);
    void statusTimerTimeout();

    // --- shared state -----------------------------------------------------------------
    // The user's preferences (see ProgramState).
    korvana::MainSettings &settings;
    // The program's lesson store (see ProgramState) and its parts.
    korvana::LessonStore &store;
    korvana::RichEdit &lessonText = store.lessonText;
    korvana::TermGrid &termTable = store.termTable;
    QStringList &openLessons = store.openLessons;
    QStringList &linkedFiles = store.linkedFiles;
    QStringList &linkedFileLessons = store.linkedFileLessons;
    QString &loadingLesson = store.loadingLesson;
    QString &currentLesson = store.currentLesson;
    int &currentIndex = store.currentIndex;
    int &startIndex = store.startIndex;

    QString sessionFile;
    int shownIndex = 0;
    QChar currentType;
    QString pictureFile;
    QString soundFile;
    bool speaking = false;
    bool numbersMode = false;
    int numberFrom = 0;
    int numberTo = 0;
    int number = 0;
    QString numberText;
    int lastHoverChar = 0;
    bool firstActivation = false;
    bool editorLoadPending = false;
    bool paneRestorePending = false;
    quint32 flashColor = 0x0000FF;
    quint32 flashBackgroundColor = 0;
    // Reading order of the four panes, read with the settings; the panes
    // apply it and it is written back when the window closes.
    korvana::TextDirections textDirections;

    // The program's voice (see ProgramState).
    std::unique_ptr<korvana::SpeechVoice> &voice;
    // The program's character database (see ProgramState).
    korvana::ReferenceData &referenceData;

    // --- controls -------------------------------------------------------------------
    QLabel *statusLabel = nullptr;
    QTimer *statusTimer = nullptr;
    QTimer *autoTimer = nullptr;
    QCheckBox *readSwitch = nullptr;
    QPushButton *readButton = nullptr;

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;

    bool eventFilter(QObject *watched, QEvent *e) override;

    // The window's layout: controls of each subsystem are added to it by
    // their own build function (buildLessonControls, ...).
    class QVBoxLayout *mainLayout = nullptr;
    class QHBoxLayout *bottomRow = nullptr;

private:
    void buildControls();
    bool m_dictionaryPending = false;
    bool m_painted = false;           // the window has been painted once
    bool m_activationPending = false; // activated before that first paint
    void applyTextDirections(); // settings -> panes
    void takeTextDirections();  // panes -> settings
    void buildMenus();
    void menuLabelEntered(int menu);
    void menuLabelLeft(int menu);
    void menuPanelLeft(int menu);
    void startDrag(QWidget *control, QPoint pos);
    void dragTo(QWidget *control, QPoint pos, Qt::MouseButtons buttons);
    void endDrag();
    void makeDraggable(QWidget *control);
    // The window system is moving the window for the drag under way.
    bool m_systemMove = false;
    void dockToolBar();
    bool m_activating = false;
    // The voice tokens of the options dialog's voice list, item by item.
    QList<korvana::VoiceToken> m_voices;
};

