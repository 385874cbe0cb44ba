#include "lessons/Sessions.h"
#include "platform/ini/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace korvana {

namespace {
const QString kSession = QStringLiteral("Session");
const QString kLessons = QStringLiteral("Lessons");
const QString kPosition = QStringLiteral("Position");
} // namespace

void writeSession(const QString &fileName, const QStringList &lessons, int position)
{
    // Both sections in one replace of the file: a failure or a kill between
    // them must never leave the new position with the old lesson list.
    IniFile ini(fileName);
    ini.beginBatch();
    ini.replaceSection(kSession, {{kPosition, QString::number(position)}});
    QList<IniEntry> entries;
    entries.reserve(lessons.size());
    for (qsizetype i = 0; i < lessons.size(); ++i)
        entries.append({QString::number(i), lessons[i]});
    ini.replaceSection(kLessons, entries);
    ini.commitBatch();
}

SessionContents readSession(const QString &fileName)
{
    const IniFile ini(fileName);
    SessionContents s;
    for (const IniEntry &e : ini.readEntries(kLessons))
        s.lessons.append(e.value);
    s.position = ini.readInteger(kSession, kPosition, 1);
    return s;
}

QString sessionPath(const QString &name, const QString &workingDirectory)
{
    if (QFileInfo(name).isAbsolute())
        return name;
    return QDir::cleanPath(QDir(workingDirectory).absoluteFilePath(name));
}

QString withSessionExtension(const QString &name)
{
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + QLatin1String(".ses");
}


} // namespace korvana
