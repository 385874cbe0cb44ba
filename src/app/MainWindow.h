#pragma once
// The main window. It works on the program's shared state (the settings, the
// lesson store, the speech voice, ...: see ProgramState), which it reaches by
// reference. It shows the current term and runs the practice itself
// (MainWindowPractice*.cpp); each other part of the window is a class of its
// own that the window makes with its controls (LessonFileCommands,
// WindowChrome, WindowSkin, TermMedia, FlashRunner, ...).
#include "app/MainWindowControls.h"
#include "lessons/LessonStore.h"
#include "platform/speech/SpeechVoice.h"
#include "practice/PracticeEngine.h"
#include "practice/StepGate.h"
#include "reference/ReferenceData.h"
#include "settings/MainSettings.h"

#include <QWidget>
#include <functional>
#include <memory>

enum class OpenMode;
class CharacterHover;
class DictionaryLoader;
class FlashRunner;
class HiddenPanes;
class LessonEditorCommands;
class LessonFileCommands;
class NumbersDrillRunner;
class OptionsRoundTrip;
class PaneCommands;
class PinyinTones;
class ProgramWindows;
class StatusLine;
class TermMedia;
class WindowChrome;
class WindowSkin;
namespace korvana {
class DictionaryData;
struct OptionsHost;
} // namespace korvana

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

    // The lesson text's terms into the term table, each row's lesson being
    // lessonFile (see LessonStore::loadIntoTermTable).
    void loadIntoTermTable(const QString &lessonFile);

    // --- the window's parts with a class of their own --------------------------------
    WindowChrome &chrome() { return *m_chrome; }
    WindowSkin &skin() { return *m_skin; }
    const WindowSkin &skin() const { return *m_skin; }
    StatusLine &statusLine() { return *m_statusLine; }
    LessonFileCommands &lessonFiles() { return *m_lessonFiles; }
    DictionaryLoader &dictionaryLoader() { return *m_dictionaryLoader; }
    OptionsRoundTrip &options() { return *m_options; }
    TermMedia &media() { return *m_media; }
    HiddenPanes &hiddenPanes() { return *m_hiddenPanes; }
    FlashRunner &flash() { return *m_flash; }
    NumbersDrillRunner &numbers() { return *m_numbers; }
    CharacterHover &hover() { return *m_hover; }
    PinyinTones &tones() { return *m_tones; }

    // --- menus, status line ------------------------------------------------------------
    void hideAllMenus();
    void showStatus(const QString &text);
    // Menu commands the window runs itself (the chrome runs the others).
    void editLessonCommand();
    void createLessonCommand();
    void editInWordProcessorCommand();
    void preferencesCommand();
    void screenBackgroundCommand();
    void toolBarCommand();
    void helpCommand();

    // --- opening and saving lessons, linked files, sessions ------------------------------
    // On the window for its menus and the callers that reach them there; each
    // runs lessonFiles()'s.
    void openLessonFiles(OpenMode mode);
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

    // --- term display, practice engine, modes, marks, keys (MainWindowPractice*.cpp) ---
    // The practice area's controls, made by buildPracticeControls(), which
    // buildControls() calls.
    void buildPracticeControls();

    // Term display.
    bool showTerm(int n);
    // Size, and with "Set Kanji Font" the font, boldness and colour, of the
    // characters in edit (all of its text).
    void applyCharactersLook(korvana::RichEdit *edit);
    // Fills a pane from the current term's line; a hidden pane stays empty
    // unless force.
    void showPane(korvana::Pane pane, bool force);
    QString tagValue(const QString &name);
    // The file a term's sound or picture name stands for (see
    // resolveLinkedFile): the current lesson's folder first.
    QString termFileName(const QString &name) const;
    QChar termType();

    // Practice engine (nextButtonClicked and countTerms are declared with the
    // lesson commands).
    void nextTerm(korvana::StepDirection direction);
    void previousButtonClicked();
    bool canPractise();
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
    void paneSwitchClicked(korvana::Pane pane);
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
    void onKeyDown(int key, Qt::KeyboardModifiers shift);
    // Whether the character typed by the key is dropped.
    bool onKeyPress(int key, const QString &text);
    void onWheelDown();
    void onWheelUp();

    void showHelpContents();

    // --- character database (MainWindowReference.cpp) ----------------------------------
    // "ni3 hao3" -> tone-marked pinyin.
    QString pinyinNumbersIntoToneMarks(const QString &s) const;

    // What the automatic timer's next tick does.
    enum class AutoTimerHandler { None, StartTimer, Next };
    AutoTimerHandler autoTimerHandler() const { return m_autoTimerHandler; }
    // Whether a step (Next, Previous, First, Last) is under way.
    bool stepRunning() const { return m_stepGate.running(); }
    // What the program's other parts read of the window.
    bool editorLoadPending() const { return m_editorLoadPending; }
    void setEditorLoadPending(bool pending) { m_editorLoadPending = pending; }
    // Whether the next activation is the first, which shows the reminder,
    // lists the voices and starts the flash; false skips that work.
    bool firstActivation() const { return m_firstActivation; }
    void setFirstActivation(bool first) { m_firstActivation = first; }

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;

private:
    // The window's own adapters for the other windows, which read its
    // panes and the shared state it holds.
    friend class LessonEditorWindowHost;
    friend class ReaderWindowHost;
    friend class DictionaryWindowHost;
    friend korvana::OptionsHost mainWindowOptionsHost(MainWindow &window);

    static bool loadDataAfterFirstPaint;
    static VoiceFactory voiceFactory;

    ProgramWindows &m_windows;
    // The program's shared state (see ProgramState) and the parts of the
    // lesson store the handlers use most.
    korvana::MainSettings &m_settings;
    korvana::LessonStore &m_store;
    korvana::RichEdit &m_lessonText = m_store.lessonText;
    korvana::TermGrid &m_termTable = m_store.termTable;
    QStringList &m_openLessons = m_store.openLessons;
    QString &m_currentLesson = m_store.currentLesson;
    int &m_currentIndex = m_store.currentIndex;
    // Whatever reads the dictionary or the character database calls
    // loadPendingData first.
    korvana::DictionaryData &m_dictionary;
    korvana::ReferenceData &m_referenceData;
    std::unique_ptr<korvana::SpeechVoice> &m_voice;

    int m_shownIndex = 0;
    QChar m_currentType;
    QString m_pictureFile;
    QString m_soundFile;
    bool m_firstActivation = false;
    bool m_editorLoadPending = false;
    QColor m_termCharactersBackground; // invalid unless the characters background is set

    std::unique_ptr<korvana::PracticeEngine> m_practice;
    korvana::StepGate m_stepGate;
    AutoTimerHandler m_autoTimerHandler = AutoTimerHandler::None;

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
    // Flash mode: the "Flash" label, the flash under way and its colours.
    std::unique_ptr<FlashRunner> m_flash;
    // The numbers drill: its state and its display in the panes.
    std::unique_ptr<NumbersDrillRunner> m_numbers;
    // The character information on hover over the characters pane and the reader.
    std::unique_ptr<CharacterHover> m_hover;
    // The Latin font of the panes' pinyin and its tone colours.
    std::unique_ptr<PinyinTones> m_tones;

    void buildControls();
    // The characters pane, and the term's formatted characters beside it,
    // which reading aloud, flashing and the automatic interval read even
    // while the pane is hidden.
    void showTermCharacters(bool force);
    // Fills a pane whatever its box says, as the hover reveal does: from the
    // numbers drill's number while the drill runs, else from the term.
    void revealPane(korvana::Pane pane);
    bool m_painted = false;           // the window has been painted once
    bool m_activationPending = false; // activated before that first paint
    bool m_activating = false;
    // The voice tokens of the options dialog's voice list, item by item.
    QList<korvana::VoiceToken> m_voices;
};
