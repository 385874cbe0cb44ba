#include "platform/shell/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace korvana {

namespace {
Shell *g_override = nullptr;
}

Shell &Shell::instance()
{
    static DesktopShell desktop;
    return g_override ? *g_override : desktop;
}

void Shell::setInstance(Shell *shell)
{
    g_override = shell;
}

bool Shell::startProgram(const QString &program, const QString &parameters)
{
    return startProgram(program, parameters.isEmpty() ? QStringList() : QStringList{parameters});
}

QUrl Shell::urlFor(const QString &target)
{
    // One letter before the colon is a drive, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch()) {
        const QUrl url(target);
        if (url.isValid())
            return url;
    }
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

bool DesktopShell::openDocument(const QString &target)
{
    if (target.isEmpty())
        return false;
    return QDesktopServices::openUrl(urlFor(target));
}

bool DesktopShell::startProgram(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}

QString DesktopShell::findProgram(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

} // namespace korvana
