#include "lessons/LinkedFiles.h"
#include "lessons/LessonStore.h"
#include "platform/richtext/RichEdit.h"

#include <QDir>
#include <QFileInfo>

namespace korvana {

bool isParLine(const QString &line)
{
    return trimControls(line).left(4).compare(QLatin1String("<par"), Qt::CaseInsensitive) == 0;
}

QString GetParAttribute(const QString &line, const QString &name)
{
    const QString key = name.toLower() + QLatin1Char('=');
    // One character for one, so that a position found here is the same in
    // the line (QString::toLower turns some characters into two).
    QString lower = line;
    for (QChar &c : lower)
        c = c.toLower();
    const qsizetype at = lower.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype from = at + key.size();

    qsizetype close = -1;
    for (qsizetype i = from; i + 1 < line.size(); ++i) {
        if (line[i] == u'"' && line[i + 1] == u' ') {
            close = i;
            break;
        }
    }
    if (close < 0) {
        for (qsizetype i = from; i + 1 < line.size(); ++i) {
            if (line[i] == u'"' && line[i + 1] == u'>') {
                close = i;
                break;
            }
        }
    }
    if (close < 0)
        return {};

    QString raw = line.mid(from, close - from + 1).trimmed();
    if (raw.startsWith(u'"')) {
        // A lone quote (the opening one closed at once) holds nothing.
        if (raw.size() < 2)
            return {};
        raw = raw.mid(1, raw.size() - 2);
        raw.replace(QLatin1String("\"\""), QLatin1String("\""));
    }
    return raw;
}

QString parLine(const QString &file, const QString &description)
{
    return QLatin1String("<PAR FILE=\"") + file + QLatin1String("\" DESCRIPTION=\"") + description
        + QLatin1String("\">");
}

QList<LinkedFile> ReadParTags(RichEdit &doc)
{
    QList<LinkedFile> found;
    // From the last line up, so a deleted line leaves those still to visit
    // where they were.
    for (int i = doc.lineCount() - 1; i >= 0; --i) {
        const QString line = doc.line(i);
        if (!isParLine(line))
            continue;
        const QString file = GetParAttribute(line, QStringLiteral("file"));
        doc.deleteLine(i);
        if (!file.isEmpty())
            found.prepend({file, GetParAttribute(line, QStringLiteral("description"))});
    }
    return found;
}

QString resolveLinkedFile(const QString &file, const QString &lesson, const QString &currentDir)
{
    QStringList names{file};
    if (file.contains(u'\\') && QDir::separator() != u'\\')
        names.append(QString(file).replace(u'\\', u'/'));

    for (const QString &name : names) {
        if (QFileInfo(name).isAbsolute() && QFileInfo::exists(name))
            return QDir::cleanPath(name);
    }
    if (QFileInfo(file).isAbsolute())
        return QDir::cleanPath(file);

    const QDir lessonDir = QFileInfo(lesson).absoluteDir();
    const QDir current(currentDir);
    for (const QString &name : names) {
        const QString inLesson = QDir::cleanPath(lessonDir.absoluteFilePath(name));
        if (!lesson.isEmpty() && QFileInfo::exists(inLesson))
            return inLesson;
    }
    for (const QString &name : names) {
        const QString inCurrent = QDir::cleanPath(current.absoluteFilePath(name));
        if (QFileInfo::exists(inCurrent))
            return inCurrent;
    }
    // Missing everywhere: the name the user is told about.
    return QDir::cleanPath(current.absoluteFilePath(file));
}

} // namespace korvana
