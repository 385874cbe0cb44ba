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
#include "practice/StepGate.h"
#include "app/MainWindowControls.h"
#include "settings/Skin.h"

#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>

class CharacterHover;
class FlashRunner;
class HoverLabel;
class NumbersDrillRunner;
class PinyinTones;
class ProgramWindows;
namespace korvana {
class DictionaryData;
struct OptionsHost;
} // namespace korvana
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


class MainWindow : public QWidget, private MainWindowControls {
    Q_OBJECT
public:
    // windows holds the program's shared state and its other windows, made
    // after this one: each is null until it is made.
    explicit MainWindow(ProgramWindows &windows, QWidget *parent = nullptr);
    ~MainWindow() override;

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
    static void setLoadDataAfterFirstPaint(bool later) { loadDataAfterFirstPaint = later; }
    // Loads what creation left for later, if anything; whatever reads the
    // dictionary or the character database calls it first.
    void loadPendingData();
    void onShow();
    void onActivate();
    void onClose();
    void changeVoice();

    // Makes the speech voice. Tests replace it with one that returns a test
    // double; a factory that throws means no speech engine could be started.
    using VoiceFactory = std::function<std::unique_ptr<korvana::SpeechVoice>()>;
    static void setVoiceFactory(VoiceFactory factory) { voiceFactory = std::move(factory); }

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
    // [lessons-end]

    // --- term display, practice engine, modes, marks, keys (MainWindowPractice*.cpp) ---
    // [practice-begin]
    // The practice area's controls, made by buildPracticeControls(), which
    // buildControls() calls.
    void buildPracticeControls();

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

    // Keys and wheel: the window sees them before the focused control.
    void onKeyDown(int Key, Qt::KeyboardModifiers Shift);
    // Whether the character typed by the key is dropped.
    bool onKeyPress(int Key, const QString &Text);
    void onWheelDown();
    void onWheelUp();

    // Hooks of the pictures, sounds, reading aloud, hidden panes and help;
    // each does nothing until its own work fills it in.
    void displayPicture();
    void playSound();
    bool soundPlaying();
    void stopSound();
    void toggleSound();
    void togglePicture();
    void readButtonClicked();
    void toggleShowAll();
    void showHelpContents();
    // [practice-end]

    // --- character database (MainWindowReference.cpp) ----------------------------------
    // "ni3 hao3" -> tone-marked pinyin.
    QString pinyinNumbersIntoToneMarks(const QString &S) const;

    // --- sounds, pictures, reading aloud (MainWindowMedia.cpp) ---
    // [media-begin]
    // The reading switch with its caption, the Read button and the sound
    // player; buildControls() calls this with the bottom row in place.
    void buildMediaControls();
    // Makes the term sound player. Tests replace it with one that returns a
    // test double.
    using MediaPlayerFactory = std::function<std::unique_ptr<korvana::MediaPlayer>()>;
    static void setMediaPlayerFactory(MediaPlayerFactory factory) { mediaPlayerFactory = std::move(factory); }
    void readSwitchClicked();
    void readAloudLabelClicked();
    // The voice's events. Word positions count characters of the text read.
    void voiceWordReached(int Stream, int CharPosition, int Length);
    void voiceStreamEnded(int Stream);
    void highlightSpokenText(int Start, int Length);
    // Hooks the reading handlers to voice's events; again whenever voice
    // has been replaced since.
    void connectVoice();

private:
    void setReadLook(bool reading);
    int soundWaitBoundMs() const;
    QPointer<korvana::SpeechVoice> m_connectedVoice;
    int m_readStream = 0; // stream number of the main window's last speech

public:
    // [media-end]

    // --- dictionary (MainWindowDictionary.cpp) ---
    // [dictionary-begin]
    // Loads a dictionary file into the program's dictionary, saying so in
    // the status line. Returns whether the file loaded; on failure the text
    // in use stays and the status line says why.
    bool loadDictionary(const QString &FileName);
    // [dictionary-end]

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


protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;

    bool eventFilter(QObject *watched, QEvent *e) override;


public:
    // What the automatic timer's next tick does.
    enum class AutoTimerHandler { None, StartTimer, Next };
    AutoTimerHandler autoTimerHandler() const { return m_autoTimerHandler; }
    // Whether a step (Next, Previous, First, Last) is under way.
    bool stepRunning() const { return stepGate.running(); }
    // The boxes' states saved by the show-all toggle, restored by the next
    // Insert while pending holds.
    struct PaneRestore {
        bool pending = false;
        bool translation = false, pinyin = false, characters = false, notes = false;
    };
    const PaneRestore &paneRestore() const { return m_paneRestore; }
    // What the program's other parts read of the window.
    // The session file in use; empty when none is.
    const QString &sessionFile() const { return m_sessionFile; }
    void setSessionFile(const QString &file) { m_sessionFile = file; }
    bool editorLoadPending() const { return m_editorLoadPending; }
    void setEditorLoadPending(bool pending) { m_editorLoadPending = pending; }
    // The current skin's values; applySkin() shows a change.
    korvana::SkinFields &skin() { return m_skin; }
    QString skinName() const { return m_skin.skinName; }
    QString skinAuthor() const { return m_skin.skinAuthor; }
    // Whether the window's own speech is under way.
    bool speaking() const { return m_speaking; }
    void setSpeaking(bool speaking) { m_speaking = speaking; }
    // Whether the next activation is the first, which shows the reminder,
    // lists the voices and starts the flash; false skips that work.
    bool firstActivation() const { return m_firstActivation; }
    void setFirstActivation(bool first) { m_firstActivation = first; }
    // The pane clicked last: 1 translation, 2 pinyin, 3 characters, 4 notes
    // (0 before any click). The popup's commands act on it.
    int activePane() const { return m_activePane; }
    void setActivePane(int pane) { m_activePane = pane; }
    // The Read button's glyphs while idle and while speaking.
    const QIcon &readButtonIcon() const { return m_readButtonIcon; }
    const QIcon &stopButtonIcon() const { return m_stopButtonIcon; }
    void setReadButtonIcons(const QIcon &read, const QIcon &stop)
    {
        m_readButtonIcon = read;
        m_stopButtonIcon = stop;
    }
    const korvana::TextDirections &textDirections() const { return m_textDirections; }
    // The window's parts with a class of their own.
    FlashRunner &flash() { return *m_flash; }
    NumbersDrillRunner &numbers() { return *m_numbers; }
    CharacterHover &hover() { return *m_hover; }
    PinyinTones &tones() { return *m_tones; }

private:
    // The window's own adapters for the other windows, which read its
    // panes and the shared state it holds.
    friend class LessonEditorWindowHost;
    friend class ReaderWindowHost;
    friend class DictionaryWindowHost;
    friend class MainWindowSkinTarget;
    friend korvana::OptionsHost mainWindowOptionsHost(MainWindow &window);

    static bool loadDataAfterFirstPaint;
    static VoiceFactory voiceFactory;
    static MediaPlayerFactory mediaPlayerFactory;

    ProgramWindows &windows;
    // The program's shared state (see ProgramState) and the parts of the
    // lesson store the handlers use most.
    korvana::MainSettings &settings;
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
    // Whatever reads the dictionary or the character database calls
    // loadPendingData first.
    korvana::DictionaryData &dictionary;
    korvana::ReferenceData &referenceData;
    std::unique_ptr<korvana::SpeechVoice> &voice;

    // The opener and the saver with their scratch documents and the digests
    // of the lessons that loaded; what the last opening could not read.
    std::shared_ptr<LessonFiles> lessonFiles;
    LessonFiles &files();
    QString loadErrors;
    QString m_sessionFile;
    int shownIndex = 0;
    QChar currentType;
    QString pictureFile;
    QString soundFile;
    bool m_speaking = false;
    bool m_firstActivation = false;
    bool m_editorLoadPending = false;
    // The reading order of the four panes, read with the settings; the panes
    // apply it and it is written back when the window closes.
    korvana::TextDirections m_textDirections;
    QColor termCharactersBackground; // invalid unless the Kanji background is set

    std::unique_ptr<korvana::PracticeEngine> practice;
    korvana::StepGate stepGate;
    AutoTimerHandler m_autoTimerHandler = AutoTimerHandler::None;

    // Hidden panes: the pane clicked last and the boxes' states the show-all
    // toggle saved.
    int m_activePane = 0;
    PaneRestore m_paneRestore;

    // The current skin (see settings/Skin.h), kept for the run and never
    // written to the settings file; the Read button's glyphs while idle and
    // while speaking; the built-in look's pictures.
    korvana::SkinFields m_skin{.showButtonLabels = true};
    QIcon m_readButtonIcon, m_stopButtonIcon;
    QImage mainImage, previousButtonImage, nextButtonImage, readButtonImage, stopButtonImage, skipButtonImage;

    // Flash mode: the "Flash" label, the flash under way and its colours.
    std::unique_ptr<FlashRunner> m_flash;
    // The numbers drill: its state and its display in the panes.
    std::unique_ptr<NumbersDrillRunner> m_numbers;
    // The character information on hover over the characters pane and the reader.
    std::unique_ptr<CharacterHover> m_hover;
    // The Latin font of the panes' pinyin and its tone colours.
    std::unique_ptr<PinyinTones> m_tones;

    int dragX = 0;
    int dragY = 0;

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

