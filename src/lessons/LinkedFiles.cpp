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

namespace {

// The closing double quote of a value that starts at from: the first double
// quote followed by a blank or, when there is none, the first followed by
// ">"; -1 when neither follows.
qsizetype closingQuote(const QString &line, qsizetype from)
{
    for (qsizetype i = from; i + 1 < line.size(); ++i) {
        if (line[i] == u'"' && line[i + 1] == u' ')
            return i;
    }
    for (qsizetype i = from; i + 1 < line.size(); ++i) {
        if (line[i] == u'"' && line[i + 1] == u'>')
            return i;
    }
    return -1;
}

QString unquoted(QString raw)
{
    raw = raw.trimmed();
    if (raw.startsWith(u'"')) {
        // A lone quote (the opening one closed at once) holds nothing.
        if (raw.size() < 2)
            return {};
        raw = raw.mid(1, raw.size() - 2);
        raw.replace(QLatin1String("\"\""), QLatin1String("\""));
    }
    return raw;
}

} // namespace

QString linkedFileAttribute(const QString &line, const QString &name)
{
    // Names are compared ignoring case on the line itself: a lower-cased
    // copy can be longer ("\u0130" lowers to two characters) and its positions
    // would not fit the line. Names standing inside a quoted value (a file
    // called "description=x.txt") are part of that value, not attributes.
    static const QStringList known{QStringLiteral("file="), QStringLiteral("description=")};
    QStringList keys = known;
    const QString wanted = name.toLower() + QLatin1Char('=');
    if (!keys.contains(wanted))
        keys.append(wanted);

    qsizetype pos = 0;
    for (;;) {
        qsizetype at = -1;
        QString key;
        for (const QString &k : std::as_const(keys)) {
            const qsizetype i = line.indexOf(k, pos, Qt::CaseInsensitive);
            if (i >= 0 && (at < 0 || i < at)) {
                at = i;
                key = k;
            }
        }
        if (at < 0)
            return {};
        const qsizetype from = at + key.size();
        const qsizetype close = closingQuote(line, from);
        if (key == wanted)
            return close < 0 ? QString() : unquoted(line.mid(from, close - from + 1));
        if (close < 0)
            return {};
        // Past a quoted value; an unquoted one may hold the next name.
        pos = line.mid(from, close - from + 1).trimmed().startsWith(u'"') ? close + 1 : from;
    }
}

QString parLine(const QString &file, const QString &description)
{
    // Quotes inside a value are doubled, which the reading rule undoes.
    auto quoted = [](QString v) {
        return QLatin1Char('"') + v.replace(u'"', QLatin1String("\"\"")) + QLatin1Char('"');
    };
    return QLatin1String("<PAR FILE=") + quoted(file) + QLatin1String(" DESCRIPTION=") + quoted(description)
           + QLatin1Char('>');
}

bool parLineKeeps(const QString &file, const QString &description)
{
    for (const QString &v : {file, description}) {
        for (QChar c : v) {
            if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator)
                return false;
        }
    }
    const QString line = parLine(file, description);
    return linkedFileAttribute(line, QStringLiteral("file")) == file
           && linkedFileAttribute(line, QStringLiteral("description")) == description;
}

QList<LinkedFile> parseLinkedFiles(RichEdit &doc)
{
    QList<LinkedFile> found;
    // From the last line up, so a deleted line leaves those still to visit
    // where they were.
    for (int i = doc.lineCount() - 1; i >= 0; --i) {
        const QString line = doc.line(i);
        if (!isParLine(line))
            continue;
        const QString file = linkedFileAttribute(line, QStringLiteral("file"));
        doc.deleteLine(i);
        if (!file.isEmpty())
            found.prepend({file, linkedFileAttribute(line, QStringLiteral("description"))});
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
