#pragma once
// The main window. It works on the program's shared state (the settings, the
// lesson store, the speech voice, ...: see ProgramState), which it reaches by
// reference, and drives the plain classes that do the work. Its handlers live in one file per
// subsystem (MainWindowStartup.cpp, ...) or a class (LessonFileCommands, WindowChrome, WindowSkin, ...).
#include "lessons/LessonStore.h"
#include "reference/ReferenceData.h"
#include "settings/MainSettings.h"
#include "practice/PracticeControls.h"
#include "practice/PracticeEngine.h"
#include "practice/FlashTiming.h"
#include "practice/StepGate.h"
#include "practice/NumbersDrill.h"
#include "app/MainWindowControls.h"

#include <QWidget>
#include <functional>
#include <memory>

class DictionaryLoader;
class HoverLabel;
class LessonEditorCommands;
class LessonFileCommands;
class OptionsRoundTrip;
class ProgramWindows;
class StatusLine;
class WindowChrome;
class WindowSkin;
class HiddenPanes;
class PaneCommands;
class TermMedia;
namespace korvana {
class DictionaryData;
struct OptionsHost;
} // namespace korvana
class QCheckBox;
class QPushButton;
class QTimer;

#include "platform/speech/SpeechVoice.h"
#include "platform/media/MediaPlayer.h"
#include <QPointer>
#include <QIcon>


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
    void activateFlash();

    // Makes the speech voice. Tests replace it with one that returns a test
    // double; a factory that throws means no speech engine could be started.
    using VoiceFactory = std::function<std::unique_ptr<korvana::SpeechVoice>()>;
    static void setVoiceFactory(VoiceFactory factory) { voiceFactory = std::move(factory); }

    // --- lesson store ----------------------------------------------------------
    QString tagContent(const QString &Line, const QString &Tag) const;
    QString valueAt(int StartPos, const QString &Tag);
    void removeNumberTags();
    void loadIntoTermTable(const QString &LessonFile);

    // --- menus and window chrome, skin, status line ---------------------------------------
    // The menu bar, title, lesson and session labels and dragging; the skin
    // the window wears; the status line.
    WindowChrome &chrome() { return *m_chrome; }
    WindowSkin &skin() { return *m_skin; }
    const WindowSkin &skin() const { return *m_skin; }
    StatusLine &statusLine() { return *m_statusLine; }
    void hideAllMenus();
    void showStatus(const QString &Text);
    // Menu commands the window runs itself (the chrome runs the others).
    void editLessonCommand();
    void createLessonCommand();
    void editInWordProcessorCommand();
    void preferencesCommand();
    void screenBackgroundCommand();
    void toolBarCommand();
    void helpCommand();


    // --- opening and saving lessons, linked files, sessions (LessonFileCommands.cpp) ---
    // [lessons-begin]
    LessonFileCommands &lessonFiles() { return *m_lessonFiles; }
    // On the window for its menus and the callers that reach them there; each runs lessonFiles()'s.
    void openLessonFiles(const QString &Mode);
    void saveLessons();
    void saveLessonsCommand();
    void saveSessionCommand();
    void saveSessionAsCommand();
    void openSessionCommand();
    void buildLessonControls();
    static QString tempSessionFile();
    // The practice engine's Next command and counts (MainWindowPracticeEngine.cpp),
    // which opening lessons ends with.
    void nextButtonClicked();
    void countTerms();
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

    // Hooks of the flash, tone colours, help and the numbers drill; each
    // does nothing until its own work fills it in.
    void flash(bool Auto);
    void applyLatinFont(korvana::RichEdit *Edit, int FromPos, int ToPos);
    void colorPinyinTones();
    void showHelpContents();
    void newNumber();
    // [practice-end]

    // --- character database (MainWindowReference.cpp) ----------------------------------
    // "ni3 hao3" -> tone-marked pinyin.
    QString pinyinNumbersIntoToneMarks(const QString &S) const;

    // --- flash mode (MainWindowFlash.cpp) ---
    // [flash-begin]
    // The flash settings live in the options dialog (optionsDialog: flashDelayEdit,
    // flashRepeatEdit, flashIntervalEdit, flashFullScreenSwitch, flashKeepOpenSwitch); the three
    // numbers are texts, read strictly each time a flash needs them.
    void buildFlashControls();
    void flashNowLabelClicked();
    // The clock flash periods are timed by; tests put in one of their own.
    void setFlashClock(std::shared_ptr<korvana::FlashClock> clock) { flashClock = std::move(clock); }
    // Height in pixels of one line of Text in Font at the staging copy's
    // selection size, as drawn on Control.
    int measureFlashText(QWidget *Control, const QString &Text, const QFont &Font);
    // Whether a flash is running now (its waits keep the queue running).
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

    // --- dictionary (DictionaryLoader.cpp) ---
    // [dictionary-begin]
    DictionaryLoader &dictionaryLoader() { return *m_dictionaryLoader; }
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

    // --- options round trip and the panes' reading order (OptionsRoundTrip.cpp) ---
    // [options-begin]
    OptionsRoundTrip &options() { return *m_options; }
    // [options-end]




protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;


public:
    // What the automatic timer's next tick does.
    enum class AutoTimerHandler { None, StartTimer, Next };
    AutoTimerHandler autoTimerHandler() const { return m_autoTimerHandler; }
    // Whether a step (Next, Previous, First, Last) is under way.
    bool stepRunning() const { return stepGate.running(); }
    // What the program's other parts read of the window.
    bool editorLoadPending() const { return m_editorLoadPending; }
    void setEditorLoadPending(bool pending) { m_editorLoadPending = pending; }
    // The character the hover looked up last (0: none, the next is looked up
    // afresh).
    int lastHoverChar() const { return m_lastHoverChar; }
    void setLastHoverChar(int code) { m_lastHoverChar = code; }
    void forgetLastHoverChar() { m_lastHoverChar = 0; }
    korvana::NumbersDrill &numbersDrill() { return m_numbers; }
    TermMedia &media() { return *m_media; }
    HiddenPanes &hiddenPanes() { return *m_hiddenPanes; }
    // Whether the next activation is the first, which shows the reminder,
    // lists the voices and starts the flash; false skips that work.
    bool firstActivation() const { return m_firstActivation; }
    void setFirstActivation(bool first) { m_firstActivation = first; }
    quint32 flashColor() const { return m_flashColor; }
    quint32 flashBackgroundColor() const { return m_flashBackgroundColor; }
    void setFlashBackgroundColor(quint32 color) { m_flashBackgroundColor = color; }

private:
    // The window's own adapters for the other windows, which read its
    // panes and the shared state it holds.
    friend class LessonEditorWindowHost;
    friend class ReaderWindowHost;
    friend class DictionaryWindowHost;
    friend korvana::OptionsHost mainWindowOptionsHost(MainWindow &window);

    static bool loadDataAfterFirstPaint;
    static VoiceFactory voiceFactory;

    ProgramWindows &windows;
    // The program's shared state (see ProgramState) and the parts of the
    // lesson store the handlers use most.
    korvana::MainSettings &settings;
    korvana::LessonStore &store;
    korvana::RichEdit &lessonText = store.lessonText;
    korvana::TermGrid &termTable = store.termTable;
    QStringList &openLessons = store.openLessons;
    QString &currentLesson = store.currentLesson;
    int &currentIndex = store.currentIndex;
    // Whatever reads the dictionary or the character database calls
    // loadPendingData first.
    korvana::DictionaryData &dictionary;
    korvana::ReferenceData &referenceData;
    std::unique_ptr<korvana::SpeechVoice> &voice;

    int shownIndex = 0;
    QChar currentType;
    QString pictureFile;
    QString soundFile;
    bool m_firstActivation = false;
    bool m_editorLoadPending = false;
    QColor termCharactersBackground; // invalid unless the Kanji background is set

    std::unique_ptr<korvana::PracticeEngine> practice;
    korvana::StepGate stepGate;
    AutoTimerHandler m_autoTimerHandler = AutoTimerHandler::None;

    int m_lastHoverChar = 0;

    korvana::NumbersDrill m_numbers;

    // The flash under way.
    std::shared_ptr<korvana::FlashClock> flashClock;
    struct FlashState {
        bool running = false;
        bool stop = false;         // a key, a closing or a new request ends it
        std::optional<bool> again; // a flash asked for while one ran
    } m_flash;
public:
    // Whether a flash is running now (its waits keep the queue running).
    bool flashRunning() const { return m_flash.running; }

private:
    quint32 m_flashColor = 0x0000FF;
    quint32 m_flashBackgroundColor = 0;

    // Lessons and sessions, the editor's commands, dictionary files, options.
    std::unique_ptr<LessonFileCommands> m_lessonFiles;
    std::unique_ptr<LessonEditorCommands> m_editorCommands;
    std::unique_ptr<DictionaryLoader> m_dictionaryLoader;
    std::unique_ptr<OptionsRoundTrip> m_options;
    // The window's chrome, its skin and its status line.
    std::unique_ptr<WindowChrome> m_chrome;
    std::unique_ptr<WindowSkin> m_skin;
    std::unique_ptr<StatusLine> m_statusLine;
    // Sounds, pictures and reading aloud; the hidden panes; their popup.
    std::unique_ptr<TermMedia> m_media;
    std::unique_ptr<HiddenPanes> m_hiddenPanes;
    std::unique_ptr<PaneCommands> m_paneCommands;

    void buildControls();
    bool m_painted = false;           // the window has been painted once
    bool m_activationPending = false; // activated before that first paint
    bool m_activating = false;
    // The voice tokens of the options dialog's voice list, item by item.
    QList<korvana::VoiceToken> m_voices;
};

