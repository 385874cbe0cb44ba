#include "settings/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace korvana {

namespace {

QString g_programFolder;

QString withSlash(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace

QString ProgramPaths::programFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(QDir::currentPath());
}

void ProgramPaths::setProgramFolder(const QString &folder)
{
    g_programFolder = folder.isEmpty() ? QString() : withSlash(normalizeStoredPath(folder));
}

QString ProgramPaths::defaultWorkingFolder()
{
    // An installed program (its data in <prefix>/share/korvana) never keeps
    // the user's files beside itself, even where root could write there.
    const QString program = programFolder();
    if (!QFileInfo(installedDataFolder()).isDir() && ::access(QFile::encodeName(program).constData(), W_OK) == 0)
        return program;
    return withSlash(QDir::homePath());
}

QString ProgramPaths::installedDataFolder()
{
    return withSlash(QDir::cleanPath(programFolder() + QStringLiteral("../share/korvana")));
}

QString ProgramPaths::dataFile(const QString &relative)
{
    const QString inProgramFolder = programFolder() + relative;
    if (QFileInfo::exists(inProgramFolder))
        return inProgramFolder;
    const QString installed = installedDataFolder() + relative;
    if (QFileInfo::exists(installed))
        return installed;
    return inProgramFolder;
}

QString ProgramPaths::defaultDictionary()
{
    return dataFile(QStringLiteral("dict/cedict_gb.uni"));
}

QString ProgramPaths::configFolder()
{
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
           + QStringLiteral("korvana/");
}

QString ProgramPaths::userDataFolder()
{
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
           + QStringLiteral("korvana/");
}

QString ProgramPaths::normalizeStoredPath(const QString &path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    return p;
}

bool ProgramPaths::isSafeFolderName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QString ProgramPaths::skinsFolder()
{
    return withSlash(dataFile(QStringLiteral("skins")));
}

QString ProgramPaths::skinFolder(const QString &skinName)
{
    if (!isSafeFolderName(skinName))
        return QString();
    return withSlash(dataFile(QStringLiteral("skins/") + skinName));
}

} // namespace korvana
