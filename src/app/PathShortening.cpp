#include "app/PathShortening.h"

#include <QFontMetrics>
#include <QStringList>

namespace korvana {

QString shortenPath(const QString &path, const QFont &font, int maxWidth)
{
    const QFontMetrics fm(font);
    if (fm.horizontalAdvance(path) <= maxWidth)
        return path;
    QString native = path;
    native.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parts = native.split(QLatin1Char('/'));
    // parts: [root, folder1, folder2, ..., file]; keep the root (empty for an
    // absolute path) and drop the folders after it from the front.
    const QString root = parts.isEmpty() ? QString() : parts.first();
    QStringList rest = parts.mid(1);
    while (rest.size() > 1) {
        rest.removeFirst();
        const QString candidate = root + QStringLiteral("/.../") + rest.join(QLatin1Char('/'));
        if (fm.horizontalAdvance(candidate) <= maxWidth)
            return candidate;
    }
    const QString last = rest.isEmpty() ? native : rest.last();
    return fm.elidedText(QStringLiteral(".../") + last, Qt::ElideLeft, maxWidth);
}

} // namespace korvana
