#pragma once
// Files the tests write and read as bytes, around the program's own writer:
// the folders made on the way and every write checked.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace testfiles {

// Writes the bytes, making the folders on the way; a write that fails ends
// the run. Returns the path.
inline QString writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.flush())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace testfiles
