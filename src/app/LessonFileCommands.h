#pragma once
// Opening and saving lessons and sessions on the main window: the open
// dialog, the opener and the saver with their scratch documents, the session
// file in use, and the list of the open lessons' linked reading files with
// the term number box beneath it.
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// How openLessonFiles finds the lessons: Lesson asks for them with the open
// dialog; TempSession opens the open lessons again, after the editor;
// SessionFiles opens the lessons a session has just listed.
enum class OpenMode { Lesson, TempSession, SessionFiles };

struct MainWindowControls;
class ProgramWindows;
class QPainter;
class QPoint;
class QRect;
class QWidget;
namespace korvana {
class LessonStore;
struct MainSettings;
struct NumbersDrill;
} // namespace korvana

class LessonFileCommands {
public:
    // What opening lessons asks of the window it works on.
    struct WindowCalls {
        std::function<void()> hideAllMenus;
        std::function<void(const QString &)> showStatus;
        // Forgets the term that was shown (its picture, sound and number)
        // once the panes are empty.
        std::function<void()> forgetShownTerm;
        // The practice engine's Next command and counts, which opening
        // lessons ends with.
        std::function<void()> nextButtonClicked;
        std::function<void()> countTerms;
        std::function<void()> updateLessonSessionLabels;
    };

    // window is the main window, which owns the controls made here and is
    // the parent of the dialogs.
    LessonFileCommands(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                       korvana::NumbersDrill &numbers, WindowCalls calls);
    ~LessonFileCommands();
    LessonFileCommands(const LessonFileCommands &) = delete;
    LessonFileCommands &operator=(const LessonFileCommands &) = delete;

    // The linked-file list, its Open label and the term number box.
    void buildLessonControls();

    void openLessonFiles(OpenMode mode);
    void saveLessons();
    void saveLessonsCommand();
    bool saveSession(const QString &fileName);
    void saveSessionCommand();
    void saveSessionAsCommand();
    void openSessionCommand();
    void linkedFilesListDoubleClicked();
    void linkedFilesListMouseMoved(const QPoint &pos);
    void drawLinkedFileItem(QPainter *canvas, int index, const QRect &rect, bool selected) const;
    // The temporary session written when the lesson editor opens.
    static QString tempSessionFile();
    // The full name of linked file j (against its lesson's folder, then the
    // current folder).
    QString linkedFileFullName(int j) const;

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

    // The session file in use; empty when none is.
    const QString &sessionFile() const { return m_sessionFile; }
    void setSessionFile(const QString &file) { m_sessionFile = file; }

private:
    // The opener and the saver with their scratch documents (outputText,
    // pieceText) and the digests of the lessons that loaded.
    struct LessonFiles;
    LessonFiles &files();

    QWidget &m_window;
    MainWindowControls &m_controls;
    ProgramWindows &m_windows;
    korvana::MainSettings &m_settings;
    korvana::LessonStore &m_store;
    korvana::NumbersDrill &m_numbers;
    WindowCalls m_calls;

    std::unique_ptr<LessonFiles> m_files;
    // What the last opening could not read.
    QString m_loadErrors;
    QString m_sessionFile;
};
