#include "support/RecordingShell.h"

namespace korvana {

bool RecordingShell::openDocument(const QString &target)
{
    requests.push_back({Request::Open, target, {}});
    return succeed;
}

bool RecordingShell::startProgram(const QString &program, const QStringList &arguments)
{
    requests.push_back({Request::Start, program, arguments});
    return succeed;
}

QString RecordingShell::findProgram(const QString &name)
{
    return programs.value(name);
}

} // namespace korvana
