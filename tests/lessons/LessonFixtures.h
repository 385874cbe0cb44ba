#pragma once
// Helpers shared by the lesson tests: lesson files written into a temporary
// folder, and the lesson store read back as plain lines.
#include "lessons/LessonStore.h"
#include "support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace fixtures {

using testfiles::readFile;
using testfiles::writeFile;

// A plain-text lesson: one line per entry, LF line ends, UTF-8.
inline QString writeLesson(const QString &path, const QStringList &lines)
{
    return writeFile(path, lines.join(QLatin1Char('\n')).toUtf8() + '\n');
}

inline QStringList lines(const korvana::RichEdit &re)
{
    QStringList out;
    for (int i = 0; i < re.lineCount(); ++i)
        out.append(re.line(i));
    return out;
}

// Column col of every row of the table.
inline QStringList column(const korvana::TermGrid &g, int col)
{
    QStringList out;
    for (int r = 0; r < g.rowCount(); ++r)
        out.append(g.cell(col, r));
    return out;
}

inline QString term(const QString &translation, const QString &type = QStringLiteral("w"))
{
    return QStringLiteral("<OR=%1><PI=pin><CH=\u4e2d><NO=><TY=%2>").arg(translation, type);
}

} // namespace fixtures
