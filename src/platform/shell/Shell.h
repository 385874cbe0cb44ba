#pragma once
// The desktop shell: opening a file or a link with the program the desktop
// has for it, and starting another program. The program reaches it through
// Shell::instance(); DesktopShell does the real work and RecordingShell
// (tests/support/RecordingShell.h) stands in for it in tests.
#include <QString>
#include <QStringList>
#include <QUrl>

namespace korvana {

class Shell {
public:
    virtual ~Shell() = default;

    // Opens a file (a local path) or a link ("https://...", "mailto:...")
    // with the desktop's default program for it. False when the desktop
    // could not hand it to any program.
    virtual bool openDocument(const QString &target) = 0;

    // Starts program on its own, not waiting for it, with the given
    // arguments. False when it could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;

    // The full path of an installed program found by its name in the search
    // path; empty when there is none.
    virtual QString findProgram(const QString &name) = 0;

    // Starts program with a parameter text. The text reaches the program
    // unchanged as one argument (a path with blanks stays one path); an
    // empty text means no argument at all.
    bool startProgram(const QString &program, const QString &parameters);

    static Shell &instance();
    // Installs another implementation (tests); nullptr restores the desktop
    // one. The caller keeps ownership.
    static void setInstance(Shell *shell);

    // The link openDocument hands to the desktop: a text with a scheme of
    // two or more letters ("https:", "mailto:", "file:") is a link as it
    // stands; anything else (including "C:\..." and relative paths) is a
    // local file, made absolute.
    static QUrl urlFor(const QString &target);
};

// The real desktop: QDesktopServices and QProcess::startDetached.
class DesktopShell : public Shell {
public:
    using Shell::startProgram;
    bool openDocument(const QString &target) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    QString findProgram(const QString &name) override;
};

} // namespace korvana
