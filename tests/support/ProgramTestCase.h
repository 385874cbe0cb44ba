#pragma once
// The base of a test class on the whole program: a FreshProgram made for the
// class or afresh for each case, its main window shown and exposed and the
// program's own folder a temporary one when start() asks, freed after. A class
// adds its own set-up in the hooks and declares no initTestCase(), init(),
// cleanup() or cleanupTestCase(): those would hide these, and no program would
// be made.
#include "settings/ProgramPaths.h"
#include "support/AppTestSupport.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace apptest {

class ProgramTestCase : public QObject {
    Q_OBJECT

protected:
    struct Start {
        bool eachCase = false;           // a fresh program for each case, else one for the class
        bool firstActivationDone = true; // else the first activation (the reminder) is still to come
        bool shown = false;
        bool programFolder = false;
    };
    virtual Start start() const { return {}; }
    // Before each program is made: the seams it reads while it is made.
    virtual void beforeProgram() {}
    virtual void programStarted() {}
    virtual void caseStarting() {}
    virtual void caseEnded() {}
    // After each program is freed.
    virtual void afterProgram() {}

    korvana::ScriptedDialogs &dialogs() { return m_program->dialogs(); }
    QString homePath(const QString &name) const { return m_program->home.filePath(name); }
    QString programFolderPath(const QString &name) const { return m_programFolder.filePath(name); }

    std::unique_ptr<FreshProgram> m_program;

private slots:
    void initTestCase()
    {
        if (!start().eachCase)
            startProgram();
    }
    void cleanupTestCase() { endProgram(); }
    void init()
    {
        if (start().eachCase)
            startProgram();
        if (m_program && !QTest::currentTestFailed())
            caseStarting();
    }
    void cleanup()
    {
        if (m_program)
            caseEnded();
        if (start().eachCase)
            endProgram();
    }

private:
    void startProgram()
    {
        if (start().programFolder) {
            QVERIFY(m_programFolder.isValid());
            korvana::ProgramPaths::setProgramFolder(m_programFolder.path());
        }
        beforeProgram();
        m_program = std::make_unique<FreshProgram>(start().firstActivationDone);
        if (start().shown) {
            mainWindow->show();
            QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
        }
        programStarted();
    }
    void endProgram()
    {
        if (!m_program)
            return;
        m_program.reset();
        afterProgram();
        if (start().programFolder)
            korvana::ProgramPaths::setProgramFolder(QString());
    }

    QTemporaryDir m_programFolder;
};

} // namespace apptest
