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

namespace {
SessionContents sessionFrom(const IniFile &ini)
{
    SessionContents s;
    s.lessons = ini.readValues(kLessons);
    s.position = ini.readInteger(kSession, kPosition, 1);
    return s;
}
} // namespace

SessionContents readSession(const QString &fileName)
{
    return sessionFrom(IniFile(fileName));
}

bool openSessionFile(const QString &fileName, SessionContents *contents, QString *problem)
{
    const QString name = QDir::toNativeSeparators(fileName);
    // The ini reader reads only a regular file of a sane size, once: a named
    // pipe picked in the dialog must not hang the program.
    const IniFile ini(fileName);
    QString reason = ini.readProblem();
    if (reason.isEmpty() && !QFileInfo::exists(fileName))
        reason = QStringLiteral("no such file or folder");
    if (!reason.isEmpty()) {
        *problem = name + QStringLiteral(" cannot be read (") + reason + QLatin1Char(')');
        return false;
    }
    if (ini.sectionExists(kLessons)) {
        *contents = sessionFrom(ini);
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
