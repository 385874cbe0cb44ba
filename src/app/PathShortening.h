#pragma once
#include <QFont>
#include <QString>

namespace korvana {

// Shortens a file path to fit maxWidth pixels in font: the leading folders
// give way to an ellipsis one by one ("/home/.../lessons/hsk1.kvl") until the
// text fits; the file name itself is cut only when nothing else is left.
QString shortenPath(const QString &path, const QFont &font, int maxWidth);

} // namespace korvana
