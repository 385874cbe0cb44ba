#include "platform/shell/WordProcessor.h"
#include "platform/shell/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace korvana {

bool WordProcessor::open(const QString &fileName)
{
    // A word processor handed a missing file opens an empty document, which
    // would look like success: the file must be there first.
    if (!QFileInfo(fileName).isFile())
        return false;
    Shell &shell = Shell::instance();
    const QString writer = shell.findProgram(QStringLiteral("soffice"));
    if (!writer.isEmpty() && officeCanShowWindows(writer)
        && shell.startProgram(writer, QStringList{QStringLiteral("--writer"), fileName}))
        return true;
    return shell.openDocument(fileName);
}

bool WordProcessor::officeCanShowWindows(const QString &soffice)
{
    // LibreOffice draws its windows through plug-ins (X11, GTK, Qt, KDE)
    // beside its program; the "nogui" build has none, starts without a
    // window and leaves the user waiting for nothing.
    const QFileInfo program(QFileInfo(soffice).canonicalFilePath());
    if (!program.exists())
        return false;
    return !program.dir().entryList({QStringLiteral("libvclplug_*")}, QDir::Files).isEmpty();
}

} // namespace korvana
