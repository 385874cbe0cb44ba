// Figures of a whole Next step in the main window on a lesson text of 100,000
// terms: counting, checking, choosing the row and showing it in the four
// panes (the line copied out of the lesson text as rich text).
#include "app/KorvanaApplication.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ProgramState.h"
#include "support/ProgramWindowsForTests.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    korvana::KorvanaApplication app(argc, argv);
    createWindows();

    const int terms = 100000;
    QStringList lines;
    lines.reserve(terms);
    for (int i = 0; i < terms; ++i)
        lines << QStringLiteral("<OR=term %1><PI=ni3 hao3><CH=\u4f60\u597d%2><NO=note><TY=%3>")
                     .arg(i)
                     .arg(QChar(0x4e00 + i % 2000))
                     .arg(i % 3 ? QLatin1Char('w') : QLatin1Char('p'));
    QElapsedTimer t;
    t.start();
    programState->store.lessonText.setText(lines.join(QStringLiteral("\r\n")));
    mainWindow->loadIntoTermTable(QStringLiteral("/lessons/big.kvl"));
    programState->store.termTable.setRowCount(programState->store.termTable.rowCount() - 1);
    programState->store.currentLesson = QStringLiteral("/lessons/big.kvl");
    mainWindow->termTableChanged();
    const double fill = t.nsecsElapsed() / 1e6;

    const int reps = 300;
    t.start();
    for (int i = 0; i < reps; ++i)
        mainWindow->nextButtonClicked();
    const double inOrder = t.nsecsElapsed() / double(reps) / 1e6;

    mainWindow->findChild<QCheckBox *>(QStringLiteral("randomSwitch"))->setChecked(true);
    t.start();
    for (int i = 0; i < reps; ++i)
        mainWindow->nextButtonClicked();
    const double random = t.nsecsElapsed() / double(reps) / 1e6;

    t.start();
    for (int i = 0; i < reps; ++i)
        mainWindow->countTerms();
    const double count = t.nsecsElapsed() / double(reps) / 1e6;

    std::printf("main window, %d terms (store filled in %.0f ms)\n", terms, fill);
    std::printf("  Next in order   %.3f ms (goal < 2 ms)\n", inOrder);
    std::printf("  Next at random  %.3f ms (goal < 0.9 ms)\n", random);
    std::printf("  countTerms      %.4f ms\n", count);
    destroyWindows();
    return 0;
}
