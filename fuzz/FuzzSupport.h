#pragma once
// What the fuzz targets share: one application for the whole run (rich text
// and the program's folders need it), a scratch folder for the files the
// readers open, and a loud stop when a property of the program breaks.
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void startApplication(char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int appArgc = 1;
    static char *appArgv[] = {(*argv)[0], nullptr};
    static QGuiApplication *app = new QGuiApplication(appArgc, appArgv);
    (void)app;
}

// A file in the run's scratch folder (under TMPDIR), removed with the folder
// at a normal exit; scripts/fuzz.sh points TMPDIR at a folder of its own,
// in memory where the system offers that, since every save syncs its file.
inline QString scratchPath(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

inline QString writeScratch(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchPath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
    return path;
}

inline QByteArray readScratch(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The input broke a property the program promises: say which, then stop so
// that libFuzzer keeps the input.
[[noreturn]] inline void broken(const char *property)
{
    std::fprintf(stderr, "fuzz: broken: %s\n", property);
    std::abort();
}

inline void check(bool holds, const char *property)
{
    if (!holds)
        broken(property);
}

// As check, showing the two values when they differ.
inline void checkEqual(const QStringList &got, const QStringList &expected, const char *property)
{
    if (got == expected)
        return;
    for (qsizetype i = 0; i < qMax(got.size(), expected.size()); ++i) {
        if (got.value(i) != expected.value(i) || i >= got.size() || i >= expected.size()) {
            std::fprintf(stderr, "fuzz: item %lld: got \"%s\", expected \"%s\"\n", (long long)i,
                         got.value(i).toUtf8().toPercentEncoding(" <>=/\\\"").constData(),
                         expected.value(i).toUtf8().toPercentEncoding(" <>=/\\\"").constData());
            break;
        }
    }
    broken(property);
}

inline void checkEqual(const QString &got, const QString &expected, const char *property)
{
    checkEqual(QStringList{got}, QStringList{expected}, property);
}

} // namespace fuzz
