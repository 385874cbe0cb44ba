#pragma once
// Set-up shared by the tests that build the program's windows: the settings
// and data folders moved into a temporary home, the fake speech voice, the
// windows created from no settings file, lesson lines put into the main window,
// its status line, and files written (checked) and read back as bytes.
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ProgramState.h"
#include "platform/richtext/RichEdit.h"
#include "settings/SettingsFile.h"
#include "support/FakeSpeechVoice.h"
#include "support/ProgramWindowsForTests.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace apptest {

// The settings (XDG_CONFIG_HOME), data (XDG_DATA_HOME) and cache
// (XDG_CACHE_HOME) folders inside home.
inline void useHomeFolders(const QTemporaryDir &home)
{
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
}

// Every voice the main window makes is a FakeSpeechVoice.
inline void useFakeVoice()
{
    MainWindow::setVoiceFactory([] { return std::unique_ptr<korvana::SpeechVoice>(new korvana::FakeSpeechVoice); });
}

// The program's shared state while the windows exist.
inline ProgramState &state()
{
    if (!programState)
        qFatal("no windows have been created");
    return *programState;
}

inline korvana::LessonStore &store()
{
    return state().store;
}
inline korvana::MainSettings &settings()
{
    return state().settings;
}

// The main window's control of that object name: the one such control of
// that type in the window itself or its popups (a window of its own, such as
// the dictionary's, has controls of the same names).
template <class T>
T *control(const char *name)
{
    T *found = nullptr;
    for (T *c : mainWindow->findChildren<T *>(QString::fromLatin1(name))) {
        if constexpr (std::is_base_of_v<QWidget, T>) {
            bool inOtherWindow = false;
            for (QWidget *p = c->parentWidget(); p && p != mainWindow; p = p->parentWidget())
                inOtherWindow = inOtherWindow || p->isWindow();
            if (inOtherWindow)
                continue;
        }
        if (found)
            qFatal("the main window has two controls named %s", name);
        found = c;
    }
    if (!found)
        qFatal("the main window has no control named %s", name);
    return found;
}

// The windows created afresh, with no settings file left by an earlier test.
inline void createFreshWindows()
{
    QFile::remove(korvana::SettingsFile::path());
    createWindows();
}

// The whole program for a test of the windows' interplay: the folders in a
// temporary home, the fake voice, scripted dialogs and the windows made
// afresh, by default with their first activation's work done; the windows
// freed first.
struct FreshProgram {
    explicit FreshProgram(bool firstActivationDone = true)
    {
        if (!home.isValid())
            qFatal("no temporary home");
        useHomeFolders(home);
        useFakeVoice();
        createFreshWindows();
        if (firstActivationDone)
            mainWindow->setFirstActivation(false);
    }
    ~FreshProgram() { destroyWindows(); }
    korvana::ScriptedDialogs &dialogs() { return scripted->dialogs; }
    // Scripted dialogs afresh, for a program that outlives a case.
    void resetDialogs()
    {
        scripted.reset();
        scripted = std::make_unique<korvana::ScopedScriptedDialogs>();
    }

    QTemporaryDir home;
    std::unique_ptr<korvana::ScopedScriptedDialogs> scripted = std::make_unique<korvana::ScopedScriptedDialogs>();
};

// Lesson lines straight into the main window's lesson store, as opening the
// lesson leaves them, with the first term current.
inline void loadLines(MainWindow *f, const QStringList &lines, const QString &lesson = QStringLiteral("/lessons/a.kvl"))
{
    korvana::LessonStore &store = apptest::store();
    store.lessonText.setText(lines.join(QStringLiteral("\r\n")));
    store.termTable.clear();
    f->loadIntoTermTable(lesson);
    store.termTable.setRowCount(store.termTable.rowCount() - 1); // the spare row goes
    store.currentIndex = 0;
    store.currentLesson = lesson;
}

// The main window's status line.
inline QString status()
{
    return control<QLabel>("statusLabel")->text();
}

using testfiles::readFile;
using testfiles::writeFile;

// Writes the lines joined by separator, UTF-8. Returns the path.
inline QString writeLines(const QString &path, const QStringList &lines, const QString &separator)
{
    return writeFile(path, lines.join(separator).toUtf8());
}

// A plain-text lesson file: the lines joined by CR LF.
inline QString writeLesson(const QString &path, const QStringList &lines)
{
    return writeLines(path, lines, QStringLiteral("\r\n"));
}

// The lines of a lesson file as the program reads them.
inline QStringList linesOfFile(const QString &path)
{
    korvana::RichEdit doc;
    doc.loadFromFile(path);
    QStringList lines;
    for (int i = 0; i < doc.lineCount(); ++i)
        lines << doc.line(i);
    return lines;
}

} // namespace apptest
