// Opening ten lessons of 1,000 terms each and saving them back.
// Goal: open under 0.5 s, save under 0.3 s. Prints the best of five runs.
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace korvana;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;

    constexpr int Lessons = 10, Terms = 1000, Rounds = 5;
    QStringList files;
    for (int l = 0; l < Lessons; ++l) {
        QString text;
        for (int t = 0; t < Terms; ++t) {
            text += QStringLiteral("<ST=%1><OR=translation %2 of lesson %3><PI=n\u01d0 h\u01ceo><CH=\u4f60\u597d>"
                                   "<NO=a note><TY=%4>\n")
                        .arg(t % 7 == 0 ? "d" : "u")
                        .arg(t)
                        .arg(l)
                        .arg(t % 3 == 0 ? "p" : "w");
        }
        text += QStringLiteral("<PAR FILE=\"reading%1.txt\" DESCRIPTION=\"Reading %1\">\n").arg(l);
        const QString name = dir.filePath(QStringLiteral("lesson%1.kvl").arg(l, 2, 10, QLatin1Char('0')));
        QFile f(name);
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
        files << name;
    }

    LessonStore store;
    LoadedLessons loaded;
    LessonOpener opener(store, loaded);
    LessonSaver saver(store, loaded);
    // Once through, so the lessons are rich text as the program saves them.
    store.openLessons = files;
    if (!opener.openAll().isEmpty() || !saver.saveAll().isEmpty()) {
        std::fprintf(stderr, "setup failed\n");
        return 1;
    }

    qint64 bestOpen = -1, bestSave = -1;
    for (int r = 0; r < Rounds; ++r) {
        QElapsedTimer t;
        store.openLessons = files;
        t.start();
        const QStringList failedOpen = opener.openAll();
        const qint64 open = t.nsecsElapsed();
        t.restart();
        const QStringList failedSave = saver.saveAll();
        const qint64 save = t.nsecsElapsed();
        if (!failedOpen.isEmpty() || !failedSave.isEmpty() || store.termCount() != Lessons * Terms) {
            std::fprintf(stderr, "round %d failed\n", r);
            return 1;
        }
        if (bestOpen < 0 || open < bestOpen)
            bestOpen = open;
        if (bestSave < 0 || save < bestSave)
            bestSave = save;
    }
    std::printf("open  %d lessons x %d terms: %.3f s (goal < 0.5 s)\n", Lessons, Terms, bestOpen / 1e9);
    std::printf("save  %d lessons x %d terms: %.3f s (goal < 0.3 s)\n", Lessons, Terms, bestSave / 1e9);
    return 0;
}
