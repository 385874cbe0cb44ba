#pragma once
// Test double of the desktop shell: starts and opens nothing, records every
// request and answers as the test set it up.
#include "platform/shell/Shell.h"

#include <QHash>
#include <vector>

namespace korvana {

class RecordingShell : public Shell {
public:
    struct Request {
        enum Kind { Open, Start } kind;
        QString target;        // the document, or the program started
        QStringList arguments; // Start only
    };
    std::vector<Request> requests;
    // The answer to every open and start.
    bool succeed = true;
    // Installed programs by name, for findProgram; a name not listed is
    // not installed.
    QHash<QString, QString> programs;

    using Shell::startProgram;
    bool openDocument(const QString &target) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    QString findProgram(const QString &name) override;
};

// Installs a RecordingShell for the lifetime of the object.
class ScopedRecordingShell {
public:
    ScopedRecordingShell() { Shell::setInstance(&shell); }
    ~ScopedRecordingShell() { Shell::setInstance(nullptr); }
    ScopedRecordingShell(const ScopedRecordingShell &) = delete;
    ScopedRecordingShell &operator=(const ScopedRecordingShell &) = delete;
    RecordingShell shell;
};

} // namespace korvana
