#include "lessons/Sessions.h"
#include "platform/files/SafeFiles.h"
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
    s.lessons = ini.readValues(kLessons);
    s.position = ini.readInteger(kSession, kPosition, 1);
    return s;
}

bool openSessionFile(const QString &fileName, SessionContents *contents, QString *problem)
{
    const QString name = QDir::toNativeSeparators(fileName);
    // Only a regular file of a sane size: a named pipe picked in the dialog
    // must not hang the program.
    files::ReadResult read = files::readRegularFile(fileName, MaxSessionBytes);
    if (!read.ok()) {
        *problem = name + QStringLiteral(" cannot be read (") + read.reason + QLatin1Char(')');
        return false;
    }
    // The ini reader reads the file itself: the bytes read here need not
    // stay while it does.
    read = files::ReadResult();
    if (IniFile(fileName).sectionExists(kLessons)) {
        *contents = readSession(fileName);
        return true;
    }
    *problem = name + QStringLiteral(" is not a session file");
    return false;
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
