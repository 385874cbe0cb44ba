#pragma once
// The main window. It owns the program's shared state (the lesson store, the
// current position, the speech voice, the settings fields) and drives the
// plain classes that do the work. Its handlers live in one file per
// subsystem: Form1Startup.cpp, Form1Lessons.cpp, Form1Status.cpp, ...
#include "lessons/LessonStore.h"
#include "reference/CharacterDatabase.h"
#include "settings/MainSettings.h"
#include "practice/PracticeControls.h"
#include "practice/PracticeEngine.h"
#include "practice/FlashTiming.h"
#include "practice/StepGate.h"

#include <QWidget>
#include <functional>
#include <memory>

class HoverLabel;
namespace korvana {
class DictionaryLineIndex;
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


class TForm1 : public QWidget, public korvana::MainSettings {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // --- start-up and activation --------------------------------------------
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormClose();
    void ChangeEngine();
    void ActivateFlash();

    // Makes the speech voice. Tests replace it with one that returns a test
    // double; a factory that throws means no speech engine could be started.
    using VoiceFactory = std::function<std::unique_ptr<korvana::SpeechVoice>()>;
    static VoiceFactory voiceFactory;

    // --- lesson store ----------------------------------------------------------
    QString GetTagContent(const QString &Line, const QString &Tag) const;
    QString GetValue(int StartPos, const QString &Tag);
    void VymazatCisla();
    void NacistDoStringgridu(const QString &LessonFile);

    // --- menus and window chrome (Form1Menus.cpp) -----------------------------------
    void seraditmenu();
    void HideAllMenus();
    void CheckLessonSessionLabels();
    void Enable(QAbstractButton *Button);
    void Disable(QAbstractButton *Button);
    void imgExitClick();
    void imgMinimizeClick();
    void mlOpenClick();
    // Commands of tools that later windows provide; each does nothing until
    // its window exists.
    void Numbers1Click();
    void SaveAsVocabulary1Click();
    void mlDictionaryClick();
    void mlReaderClick();
    void Edit2Click();
    void Edit1Click();
    void EditinWord1Click();
    void mlTermsManagerClick();
    void ChangeSkin();
    void Preferences1Click();
    void ScreenBackground1Click();
    void oolbar1Click();
    void Help1Click();
    void KeyboardReference1Click();
    void lAboutClick();

    struct Menu {
        HoverLabel *label = nullptr; // on the menu bar
        QFrame *panel = nullptr;     // its drop-down panel
    };
    Menu menus[5];
    HoverLabel *lOpen = nullptr, *lblModules = nullptr, *lblTools = nullptr, *lblOptions = nullptr,
               *lblHelp = nullptr;
    QFrame *MenuPractise = nullptr, *MenuModules = nullptr, *MenuTools = nullptr, *MenuOptions = nullptr,
           *MenuHelp = nullptr;
    QList<HoverLabel *> menuItems; // every item of every panel, in table order
    QLabel *Label10 = nullptr;     // the title
    QPushButton *janColorButton1 = nullptr; // exit
    QPushButton *janColorButton2 = nullptr; // minimise
    HoverLabel *lLesson = nullptr;
    HoverLabel *lSession = nullptr;
    QWidget *PanelStatus = nullptr;
    int FDragX = 0;
    int FDragY = 0;

    // --- opening and saving lessons, linked files, sessions (Form1Lessons.cpp) ---
    // [lessons-begin]
    // Opening lessons: Mode "lesson" (the open dialog), "tempsession" (the
    // open lessons again, after the editor) or "session-files" (a session).
    void OpenFile(const QString &Mode);
    // Takes the linked-file lines out of RichEdit2 into the linked-file lists,
    // as coming from FLoadingFile.
    void ReadParTags();
    QString GetParAttribute(const QString &Line, const QString &Name) const;
    void SaveLessons();
    void mlSaveLessonClick();
    bool SaveSession(const QString &FileName);
    void mlSaveSessionClick();
    void mlSaveSessionAsClick();
    void mlOpenSessionClick();
    void lbSouboryDblClick();
    void lbSouboryMouseMove(const QPoint &Pos);
    void lbSouboryDrawItem(class QPainter *Canvas, int Index, const QRect &Rect, bool Selected) const;
    // The practice engine's Next command and counts (Form1PracticeEngine.cpp),
    // which opening lessons ends with.
    void bNextClick();
    void CountTerms();
    // The temporary session written when the lesson editor opens.
    static QString tempSessionFile();
    // The full name of linked file j (against its lesson's folder, then the
    // current folder).
    QString linkedFileFullName(int j) const;
    void buildLessonControls();

    // The opener and the saver with their scratch documents (RichEdit2,
    // reTemp2) and the digests of the lessons that loaded.
    struct LessonFiles;
    std::shared_ptr<LessonFiles> lessonFiles;
    LessonFiles &files();
    QString FLoadErrors;
    class QListWidget *lbSoubory = nullptr;
    QLabel *lblOpen = nullptr;
    class QLineEdit *eLineNr = nullptr;
    // [lessons-end]

    // --- term display, practice engine, modes, marks, keys (Form1Practice*.cpp) ---
    // [practice-begin]
    // The practice area's controls, made by buildPracticeControls(), which
    // buildControls() calls.
    void buildPracticeControls();
    // The four panes (documents with views), the current term's line and its
    // formatted characters (documents only).
    korvana::RichEdit *reOrig = nullptr, *rePin = nullptr, *reChin = nullptr, *reNotes = nullptr;
    class QTextEdit *reOrigView = nullptr, *rePinView = nullptr, *reChinView = nullptr, *reNotesView = nullptr;
    korvana::RichEdit *reLine = nullptr;
    korvana::RichEdit *RichEdit2 = nullptr;
    QColor RichEdit2Background; // invalid unless the Kanji background is set
    // Mode switches; each box's handler runs on every change of its state,
    // by a click, by its caption label or from code.
    QCheckBox *chbAuto = nullptr, *chbNahodne = nullptr, *chbWords = nullptr, *chbPhrases = nullptr,
              *chbDifficult = nullptr;
    QCheckBox *chbOrig = nullptr, *chbPin = nullptr, *chbChin = nullptr, *chbNotes = nullptr;
    QCheckBox *chbPicture = nullptr, *chbSound = nullptr, *chbFlash = nullptr;
    korvana::ClickLabel *lblModeAuto = nullptr, *lblRandom = nullptr, *lblWords = nullptr, *lblPhrase = nullptr,
                        *lblDifficult = nullptr, *lblPlaySounds = nullptr, *lblDisplPict = nullptr,
                        *lblFlash = nullptr;
    korvana::ClickLabel *lblUnskip = nullptr, *lblFirst = nullptr, *lblLast = nullptr, *lblGo = nullptr;
    korvana::ClickLabel *lblView = nullptr, *lblPlay = nullptr;
    korvana::ClickLabel *lSetAuto = nullptr; // "[Options]" beside the automatic mode
    QLabel *lblCount = nullptr;
    QPushButton *bNext = nullptr, *bPrevious = nullptr, *jbMarkLearned = nullptr;
    korvana::LatchButton *jbMarkUnlearned = nullptr, *jbMarkDifficult = nullptr;

    // Term display.
    bool ShowTerm2(int N);
    // Size, and with "Set Kanji Font" the font, boldness and colour, of the
    // characters in Edit (all of its text).
    void applyKanjiLook(korvana::RichEdit *Edit);
    void ShowOrig2(bool Force);
    void ShowPin2(bool Force);
    void ShowChin2(bool Force);
    void ShowNotes2(bool Force);
    QString GetTagValue(const QString &Name);
    // The file a term's sound or picture name stands for (see
    // resolveLinkedFile): the current lesson's folder first.
    QString termFileName(const QString &Name) const;
    QChar GetTermType();

    // Practice engine (bNextClick and CountTerms are declared with the
    // lesson commands).
    std::unique_ptr<korvana::PracticeEngine> practice;
    korvana::StepGate stepGate;
    void NextTerm(const QString &Direction);
    void bPreviousClick();
    bool Check();
    int LastLeft(const QString &Kind);
    // The lesson text was rebuilt: the counts are taken afresh. Writes to
    // the term table itself are noticed by the engine on its own.
    void TermTableChanged();

    // Modes, marks, navigation, the automatic timer.
    void chbAutoClick();
    void chbNahodneClick();
    void chbWordsClick();
    void chbPhrasesClick();
    void chbDifficultClick();
    void lblModeAutoClick();
    void lblRandomClick();
    void lblWordsClick();
    void lblPhraseClick();
    void lblDifficultClick();
    void chbSoundClick();
    void chbPictureClick();
    void chbFlashClick();
    void chbOrigClick();
    void chbPinClick();
    void chbChinClick();
    void chbNotesClick();
    void OrigSwitch();
    void PinSwitch();
    void ChinSwitch();
    void NoteSwitch();
    void ZrusitRollback();
    void lblNoMoreClick();
    void jbMarkUnlearnedclick();
    void jbMarkDifficultclick();
    void lblUnskipClick();
    void lblFirstClick();
    void jumpToEnd(korvana::StepDirection direction); // First and Last
    void lblLastClick();
    void lblGoClick();
    void SetTimer();
    void Timer1Timer();
    enum class Timer1Handler { None, SetTimer, Next };
    Timer1Handler timer1Handler = Timer1Handler::None;

    // Keys and wheel: the window sees them before the focused control.
    void FormKeyDown(int Key, Qt::KeyboardModifiers Shift);
    // Whether the character typed by the key is dropped.
    bool FormKeyPress(int Key, const QString &Text);
    void FormMouseWheelDown();
    void FormMouseWheelUp();

    // Hooks of the pictures, sounds, reading aloud, flash, tone colours,
    // hidden panes, help and the numbers drill; each does nothing until its
    // own work fills it in.
    void DisplayPicture();
    void PlaySound();
    bool SoundPlaying();
    void StopSound();
    void imgSoundClick();
    void imgPictureClick();
    void jbReadclick();
    void Flash(bool Auto);
    void PrevestJineFontyNaTimes(korvana::RichEdit *Edit, int FromPos, int ToPos);
    void ColorPinyinTones();
    void ToggleShowHide();
    void ShowHelpContents();
    void NewNumber();
    // [practice-end]

    // --- character database (Form1Reference.cpp) ----------------------------------
    void ReadDatabases();
    // "ni3 hao3" -> tone-marked pinyin.
    QString PinyinNumbersIntoToneMarks(const QString &S) const;
    korvana::CharacterDatabase charDatabase; // the tables with their lookup index
    // False for this run when the character tables could not be loaded; the
    // user's "Show Hanzi Info" setting is left as it is.
    bool FHanziInfoAvailable = true;
    korvana::RichEdit rePinyin; // the 24 tone-marked vowels, for the editor's pinyin entry
    korvana::RichEdit reTemp;   // scratch rich text (the numbers drill loads its syllables here)

    // --- sounds, pictures, reading aloud (Form1Media.cpp) ---
    // [media-begin]
    // The reading switch with its caption, the Read button and the sound
    // player; buildControls() calls this with the bottom row in place.
    void buildMediaControls();
    // Makes the term sound player. Tests replace it with one that returns a
    // test double.
    using MediaPlayerFactory = std::function<std::unique_ptr<korvana::MediaPlayer>()>;
    static MediaPlayerFactory mediaPlayerFactory;
    korvana::MediaPlayer *MediaPlayer1 = nullptr; // owned by the window
    korvana::ClickLabel *lblReadAloud = nullptr;
    void chbReadClick();
    void lblReadAloudClick();
    // The voice's events. Word positions count characters of the text read.
    void SpVoiceWord(int Stream, int CharPosition, int Length);
    void SpVoiceEndStream(int Stream);
    void SetTextHilite(int Start, int Length);
    // Hooks the reading handlers to SpVoice's events; again whenever SpVoice
    // has been replaced since.
    void connectVoice();
    // The skin's "Show Button Labels": when false, the Read button's caption
    // is left alone and only its glyph changes.
    bool FShowButtonLabels = true;
    // The Read button's glyphs while idle and while speaking (the skin's).
    QIcon imgSkinBRead, imgSkinBStop;

private:
    void setReadLook(bool speaking);
    int soundWaitBoundMs() const;
    QPointer<korvana::SpeechVoice> m_connectedVoice;
    int m_readStream = 0; // stream number of the main window's last speech

public:
    // [media-end]

    // --- flash mode (Form1Flash.cpp) ---
    // [flash-begin]
    // The flash settings live in the options dialog (FormOptions: edDelay,
    // edRepeat, edInterval, chbFlashFullScreen, chbKeepOpen); the three
    // numbers are texts, read strictly each time a flash needs them.
    // The clock flash periods are timed by; tests put in one of their own.
    std::shared_ptr<korvana::FlashClock> flashClock;
    // The "Flash" label: flashes the current term at once.
    korvana::ClickLabel *lblFlashNow = nullptr;
    void buildFlashControls();
    void lblFlashNowClick();
    // Height in pixels of one line of Text in Font at the staging copy's
    // selection size, as drawn on Control.
    int MeasureFlashText(QWidget *Control, const QString &Text, const QFont &Font);
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
    class TFormFlash *flashWindow();
    void copyCharacters(korvana::RichEdit *target);
    void fillFlashCard();

public:
    // [flash-end]

    // --- pinyin tone colouring (Form1Tones.cpp) ---
    // [tones-begin]
    // Colours the syllable of rePin around the character at 1-based position
    // Pos by Tone (1-4); called by the tone colouring of the pinyin pane
    // (ColorPinyinTones, a hook of the term display).
    void ColorPinyinSyllable(int Tone, int Pos);
    // [tones-end]

    // --- dictionary (Form1Dictionary.cpp) ---
    // [dictionary-begin]
    // Loads a dictionary file into FDictText. A file that cannot be read
    // leaves the text loaded before and says so in the status line only.
    // Returns whether the file loaded; on failure the text in use stays and
    // the status line says why.
    bool LoadDict(const QString &FileName);
    // The dictionary window's searches over FDictText (see
    // reference/Dictionary.h): exact find, and one page of find all (results
    // FirstResult..LastResult; PageFull tells whether the page's last result
    // was reached, so that a next page may follow).
    QStringList DictExactFind(const QString &Term, bool CaseSensitive);
    QStringList DictFindAll(const QString &Term, bool CaseSensitive, int FirstResult, int LastResult,
                            bool *PageFull = nullptr);
    // The search helper with its case-folded copy of FDictText.
    struct DictionaryState;
    std::shared_ptr<DictionaryState> dictionaryState;
    DictionaryState &dictionary();
    // The line index of FDictText (indexed afresh when the text was replaced
    // otherwise than by LoadDict).
    korvana::DictionaryLineIndex &dictionaryLineIndex();
    // [dictionary-end]

    // --- character information on hover (Form1Hover.cpp) ---
    // [hover-begin]
    // Sends the mouse moves over the characters pane to reChinMouseMove;
    // buildControls() calls it once the panes exist.
    void buildHoverControls();
    // The character under Pos (viewport coordinates of Sender, a rich-text
    // view) is looked up. For the characters pane (reChinView) the results go
    // to the popup FormHanzi; for any other view, such as the reader's text,
    // to the read-only boxes named "mUnihan" (one line: the character, its
    // readings and definition) and "mDict" (dictionary entries) of Sender's
    // window, which may be QPlainTextEdit or QTextEdit.
    void reChinMouseMove(class QTextEdit *Sender, const QPoint &Pos);
    // Blanks the popup's character fields; its codes and entries stay.
    void ClearHanziInfo();
    // Hides the popup and forgets the last character, so that the next one
    // under the mouse is looked up afresh.
    void hideHanziInfo();
    // [hover-end]

    // --- numbers drill (Form1Numbers.cpp) ---
    // [numbers-begin]
    // The range dialog, the stored pinyin of the numerals into reTemp, then
    // a first step (Numbers1Click runs this after closing the menus).
    void ShowNumbersDialog();
    // Fills the panes from FNumber: the digits, the numeral, its pinyin; the
    // notes pane stays empty.
    void ShowNumber();
    // One pane each. Force shows the content whatever the pane's box says
    // (the hover reveal); ShowChinNr builds FNumberText and RichEdit2 always,
    // since reading aloud and ShowPinNr read them.
    void ShowOrigNr(bool Force);
    void ShowChinNr(bool Force);
    void ShowPinNr(bool Force);
    // Appends line N (1-based) of reTemp, its syllable and blank, to rePin.
    void CopyNumeralPinyinLine(int N);
    // Appends the syllables of FNumberText to rePin.
    void AppendNumeralPinyin();

private:
    void hookNumberPaneBoxes();
    bool m_numberBoxesHooked = false;

public:
    // [numbers-end]

    // --- options round trip (Form1Options.cpp) ---
    // [options-begin]
    // Takes the options dialog's values back into the settings fields and
    // applies them; Preferences1Click runs it after the dialog has closed.
    void SetOptions();
    // Points the options dialog at this window: its settings, the flash
    // colours, the characters pane and the screen background window.
    void connectOptions();
    // The "[Options]" label of the practice area: the dialog on its
    // automatic-mode page.
    void lSetAutoClick();
    // Colours the screen background window (the options dialog's swatch).
    void applyScreenBackgroundColor(quint32 Color);
    // [options-end]

    // --- lesson editor support (Form1Editor.cpp) ---
    // [editor-begin]
    // Says "Editor is already open" and brings the editor forward when it
    // is showing; false when it is not.
    bool editorAlreadyOpen();
    // [editor-end]

    // --- skins (Form1Skins.cpp) ---
    // [skins-begin]
    // The current skin (see settings/Skin.h). Kept for the run, never
    // written to the settings file; FShowButtonLabels and the Read button's
    // glyphs stand with the media controls.
    QString FSkinName;
    QString FSkinAuthor;
    quint32 FLabelsColor = 0;
    quint32 FLabelsBackgroundColor = 0;
    quint32 FFramesLabelsColor = 0;
    quint32 FButtonsLabelsColor = 0;
    quint32 FFramesBordersColor = 0;
    quint32 FFramesBackgroundColor = 0;
    bool FShowLabelsBackground = false;
    bool FShowFramesBorders = false;
    bool FShowFramesBackground = false;
    // The background picture behind every control; made by the first skin
    // that brings one, filling the window.
    QLabel *Image1 = nullptr;
    // The built-in look's pictures.
    QImage ImgMain, imgButtonPrevious, imgButtonNext, imgButtonRead, imgButtonStop, imgButtonSkip;
    // The skin loader working on this window (TFormSelect::LoadSkin).
    void loadSkinIntoWindow(const QString &N);
    // Pushes the skin fields into the labels, buttons and frames.
    void ApplySkin();
    // The three frames that group the mode switches, with their captions
    // "Mode:", "Show:" and "Auto:".
    QFrame *shMode = nullptr, *shShow = nullptr, *shAuto = nullptr;
    QLabel *lblMode = nullptr, *lblShow = nullptr, *lblAuto = nullptr;
    // Makes a frame with its caption; the caller puts the switches into the
    // returned row, which keeps the frame around them.
    class QHBoxLayout *buildSkinFrame(QFrame *&Frame, QLabel *&Caption, const QString &FrameName,
                                      const QString &CaptionName, const QString &Text);
    // The labels and frames a skin colours, as they stand in the window.
    QList<QLabel *> skinFrameLabels() const;
    QList<QLabel *> skinCommandLabels() const; // without lblOpen
    QList<QFrame *> skinFrames() const;
    // [skins-end]

    // --- hidden panes and hover reveal (Form1HiddenPanes.cpp) ---
    // [hidden-begin]
    // The pane mouse handlers, the boxes' presses, the background's mouse
    // moves and the panes' popup menu; buildControls() calls this once the
    // panes and their boxes exist.
    void buildHiddenPaneControls();
    // The pane clicked last: 1 translation, 2 pinyin, 3 characters, 4 notes
    // (0 before any click). The popup's commands act on it.
    int FActivePane = 0;
    // The boxes' states saved by the show-all toggle, restored by the next
    // Insert while FRollbackPending holds.
    bool FSavedOrig = false, FSavedPin = false, FSavedChin = false, FSavedNotes = false;
    // The panes' popup menu, made by buildHiddenPaneControls(): "Copy"
    // (Copy1), a separator (N1) and "Display" (Hide1, checkable: checked
    // when the clicked pane's box is). A right press on a pane pops it up;
    // the commands connect Copy1 and Hide1 to their handlers. The pane views
    // make no context menu of their own.
    class QMenu *popCopy = nullptr;
    class QAction *Copy1 = nullptr, *N1 = nullptr, *Hide1 = nullptr;
    // A press on a pane; Pos in the pane view's viewport.
    void reOrigMouseDown(Qt::MouseButton Button, const QPoint &Pos);
    void rePinMouseDown(Qt::MouseButton Button, const QPoint &Pos);
    void reChinMouseDown(Qt::MouseButton Button, const QPoint &Pos);
    void reNotesMouseDown(Qt::MouseButton Button, const QPoint &Pos);
    // A press on any of the four pane boxes: a pending restore is dropped.
    void chbOrigMouseDown();
    // The hover reveal (the characters pane's is reChinMouseMove).
    void reOrigMouseMove();
    void rePinMouseMove();
    void reNotesMouseMove();
    // The mouse over the window's background: menus closed, every reveal
    // ended.
    void Image1MouseMove();

private:
    void paneMouseDown(int Pane, Qt::MouseButton Button, const QPoint &Pos);

public:
    // [hidden-end]

    // --- commands that open tools, tool bar and background (Form1Commands.cpp) ---
    // [commands-begin]
    // Connects the panes' popup commands ("Copy", "Display"); buildControls()
    // calls it once the popup exists.
    void buildCommandControls();
    // "Copy" of the panes' popup: the whole pane given by FActivePane.
    void Copy1Click();
    // "Display" of the panes' popup: the show/hide switch of that pane.
    void Hide1Click();
    // Copies all of Pane to the clipboard and leaves nothing selected.
    void CopyPaneToClipboard(korvana::RichEdit *Pane);
    // The program that edits lessons outside when "Edit in Word" is set:
    // LibreOffice Writer when it is installed, else the desktop's program
    // for the file. False when nothing could be started.
    bool openLessonInWordProcessor(const QString &FileName);
    // Whether the LibreOffice at Soffice can show a window at all.
    static bool officeCanShowWindows(const QString &Soffice);
    // [commands-end]

    // --- status line --------------------------------------------------------------
    void Status(const QString &Text);
    void TimerStatusTimer();

    // --- shared state -----------------------------------------------------------------
    korvana::LessonStore store;
    korvana::RichEdit &reMain = store.reMain;
    korvana::TermGrid &StringGrid1 = store.StringGrid1;
    QStringList &FOpenLessons = store.FOpenLessons;
    QStringList &FParFiles = store.FParFiles;
    QStringList &FParLessons = store.FParLessons;
    QString &FLoadingFile = store.FLoadingFile;
    QString &FCurrentLesson = store.FCurrentLesson;
    int &FCurrentIndex = store.FCurrentIndex;
    int &FStartIndex = store.FStartIndex;

    QString FSessionFile;
    int FShownIndex = 0;
    QChar FCurrentType;
    QString FPictureFile;
    QString FSoundFile;
    bool FSpeaking = false;
    bool FNumbersMode = false;
    int FNumberFrom = 0;
    int FNumberTo = 0;
    int FNumber = 0;
    QString FNumberText;
    int FLastHoverChar = 0;
    QString FDictText;
    QString FUnihanText;
    QString FRadicalsText;
    bool FFirstActivation = false;
    bool FEditorLoadPending = false;
    bool FRollbackPending = false;
    quint32 FFlashColor = 0x0000FF;
    quint32 FFlashBackgroundColor = 0;
    // Reading order of the four panes, read with the settings; the panes
    // apply it and it is written back when the window closes.
    korvana::TextDirections FTextDirections;

    std::unique_ptr<korvana::SpeechVoice> SpVoice;

    // --- controls -------------------------------------------------------------------
    QLabel *lStatus = nullptr;
    QTimer *TimerStatus = nullptr;
    QTimer *Timer1 = nullptr;
    QCheckBox *chbRead = nullptr;
    QPushButton *jbRead = nullptr;

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
    void applyTextDirections(); // settings -> panes
    void takeTextDirections();  // panes -> settings
    void buildMenus();
    void menuLabelEntered(int menu);
    void menuLabelLeft(int menu);
    void menuPanelLeft(int menu);
    void ZacinaDrag(QWidget *control, QPoint pos);
    void BeziDrag(QWidget *control, QPoint pos, Qt::MouseButtons buttons);
    void KonciDrag();
    void makeDraggable(QWidget *control);
    // The window system is moving the window for the drag under way.
    bool m_systemMove = false;
    void dockToolBar();
    bool m_activating = false;
    // The voice tokens of the options dialog's voice list, item by item.
    QList<korvana::VoiceToken> m_voices;
};

extern TForm1 *Form1;
