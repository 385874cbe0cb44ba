#pragma once
// Session files: the open lessons and the current term, in an ini file.
//   [Session]  Position=<1-based current term>
//   [Lessons]  0=<first lesson>  1=<second lesson> ...
// Saving replaces those two sections and keeps any other section of the file.
#include <QString>
#include <QStringList>

namespace korvana {

struct SessionContents {
    QStringList lessons; // every entry of [Lessons], in file order, whatever its key
    int position = 1;    // [Session] Position; 1 when missing or not a number
};

// Writes the two sections in one replace of the whole file. Throws
// korvana::Error when the file cannot be written (it is then left as it was).
void writeSession(const QString &fileName, const QStringList &lessons, int position);

SessionContents readSession(const QString &fileName);

// Reads a session file the user picked. False, with *problem set to a message
// naming the file, when it cannot be read or holds no [Lessons] section (it
// is then no session file, whatever its name).
bool openSessionFile(const QString &fileName, SessionContents *contents, QString *problem);

// The full name of a session file: a name that is absolute by the platform's
// rule stands as it is, any other is joined to the working folder.
QString sessionPath(const QString &name, const QString &workingDirectory);

// A session name typed without an extension gets ".ses".
QString withSessionExtension(const QString &name);

} // namespace korvana
