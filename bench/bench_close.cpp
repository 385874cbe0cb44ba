// Closing the main window with open lessons saved on exit: when the window
// leaves the screen and when the writes (settings and every lesson, each
// synced to the disk) are done, beside the anchor of one settings write.
//   bench_close [lessons, default 5] [terms per lesson, default 2000]
#include "app/KorvanaApplication.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/OptionsRoundTrip.h"
#include "app/Program.h"
#include "app/ProgramState.h"
#include "settings/SettingsFile.h"
#include "support/ProgramWindowsForTests.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// The moment the main window is hidden.
class HideWatch : public QObject {
public:
    explicit HideWatch(QElapsedTimer &clock) : m_clock(clock) {}
    qint64 hiddenNs = -1;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Hide && hiddenNs < 0)
            hiddenNs = m_clock.nsecsElapsed();
        return false;
    }

private:
    QElapsedTimer &m_clock;
};
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const int lessons = argc > 1 ? atoi(argv[1]) : 5;
    const int terms = argc > 2 ? atoi(argv[2]) : 2000;
    korvana::KorvanaApplication app(argc, argv);
    korvana::ScopedScriptedDialogs dialogs;
    createWindows();

    QStringList files;
    for (int l = 0; l < lessons; ++l) {
        QStringList lines;
        for (int i = 0; i < terms; ++i)
            lines << QStringLiteral("<OR=term %1><PI=ni3 hao3><CH=\u4f60\u597d><NO=note><TY=w><ST=u>").arg(i);
        const QString name = home.filePath(QStringLiteral("lesson%1.kvl").arg(l));
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(lines.join(QStringLiteral("\r\n")).toUtf8());
        files << name;
    }
    dialogs.dialogs.openAnswers.push_back(files);
    mainWindow->lessonFiles().openLessonFiles(OpenMode::Lesson);
    programState->settings.autoSaveLessons = true;
    mainWindow->show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    korvana::SettingsFile::save(programState->settings, mainWindow->options().textDirections(), mainWindow);
    const double anchor = clock.nsecsElapsed() / 1e6;

    HideWatch watch(clock);
    mainWindow->installEventFilter(&watch);
    clock.start();
    mainWindow->close();
    const double done = clock.nsecsElapsed() / 1e6;
    std::printf("lessons %d x %d terms: window hidden after %.1f ms, writes done after %.1f ms"
                " (anchor: one settings write %.1f ms)\n",
                lessons, terms, watch.hiddenNs / 1e6, done, anchor);
    destroyWindows();
    return 0;
}
