#include "support/ProgramTestCase.h"
#include "settings/ProgramPaths.h"

#include <QTest>

namespace apptest {

void ProgramTestCase::startProgram()
{
    if (m_start.programFolder) {
        QVERIFY(m_programFolder.isValid());
        korvana::ProgramPaths::setProgramFolder(m_programFolder.path());
    }
    beforeProgram();
    m_program = std::make_unique<FreshProgram>(m_start.firstActivationDone);
    if (m_start.shown) {
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
    }
    programStarted();
}

void ProgramTestCase::endProgram()
{
    if (!m_program)
        return;
    m_program.reset();
    afterProgram();
    if (m_start.programFolder)
        korvana::ProgramPaths::setProgramFolder(QString());
}

void ProgramTestCase::initTestCase()
{
    if (!m_start.eachCase)
        startProgram();
}

void ProgramTestCase::cleanupTestCase() { endProgram(); }

void ProgramTestCase::init()
{
    if (m_start.eachCase)
        startProgram();
    if (!QTest::currentTestFailed())
        caseStarting();
}

void ProgramTestCase::cleanup()
{
    if (m_program)
        caseEnded();
    if (m_start.eachCase)
        endProgram();
}

} // namespace apptest
