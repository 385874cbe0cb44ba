#pragma once
// The word processor that edits rich text files outside the program:
// LibreOffice Writer when it is installed and can show a window, else the
// desktop's program for the file. Started through Shell::instance().
#include <QString>

namespace korvana {

class WordProcessor {
public:
    // Opens fileName, which must exist. False when nothing could be started.
    static bool open(const QString &fileName);
    // Whether the LibreOffice at soffice can show a window at all.
    static bool officeCanShowWindows(const QString &soffice);
};

} // namespace korvana
