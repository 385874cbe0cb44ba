#pragma once
// The base of a test class on the whole program: a FreshProgram made for the
// class or afresh for each case, shown and exposed when asked, freed after;
// the program's own folder a temporary one when asked, while a program lives.
// A class adds its own set-up in the hooks, never in initTestCase(), init(),
// cleanup() or cleanupTestCase(): a slot of the same name would hide this
// one's, and the program would not be made.
#include "support/AppTestSupport.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace apptest {

class ProgramTestCase : public QObject {
    Q_OBJECT

public:
    struct Start {
        bool eachCase = false;           // a fresh program for each case, else one for the class
        bool firstActivationDone = true; // else the first activation (the reminder) is still to come
        bool shown = false;              // the main window shown and exposed
        bool programFolder = false;      // the program's own folder a temporary one, else where the test runs
    };

protected:
    explicit ProgramTestCase(Start start) : m_start(start) {}

    // Before each program is made: the seams it reads while it is made.
    virtual void beforeProgram() {}
    // Each program once made (and shown).
    virtual void programStarted() {}
    virtual void caseStarting() {}
    virtual void caseEnded() {}
    // After each program is freed: the seams put back.
    virtual void afterProgram() {}

    korvana::ScriptedDialogs &dialogs() { return m_program->dialogs(); }
    // The path of name in the program's temporary home.
    QString homePath(const QString &name) const { return m_program->home.filePath(name); }
    // The path of name in the temporary program folder.
    QString programFolderPath(const QString &name) const { return m_programFolder.filePath(name); }

    std::unique_ptr<FreshProgram> m_program;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

private:
    void startProgram();
    void endProgram();

    Start m_start;
    QTemporaryDir m_programFolder;
};

} // namespace apptest
