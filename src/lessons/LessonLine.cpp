#include "lessons/LessonLine.h"

namespace korvana {

QString tagContent(const QString &line, const QString &tag)
{
    const QString open = QLatin1Char('<') + tag + QLatin1Char('=');
    const qsizetype start = line.indexOf(open);
    if (start < 0)
        return {};
    const qsizetype from = start + open.size();
    const qsizetype end = line.indexOf(QLatin1Char('>'), from);
    if (end < 0)
        return {};
    return line.mid(from, end - from);
}

namespace {
QString charAfter(const QString &line, QStringView tag, const QString &def)
{
    const qsizetype at = line.indexOf(tag);
    if (at < 0)
        return def;
    const qsizetype pos = at + tag.size();
    // A tag at the very end of the line has no character after it.
    return pos < line.size() ? QString(line[pos]) : QString();
}
} // namespace

QString termTypeOf(const QString &line)
{
    return charAfter(line, u"<TY=", QStringLiteral("w"));
}

QString termStateOf(const QString &line)
{
    return charAfter(line, u"<ST=", QStringLiteral("u"));
}

} // namespace korvana
