#pragma once
// The program's one way to write a file and one way to read a file that a
// lesson, a session, a skin or the settings name.
//
// Writing: a save gives the file new content and keeps it the same document,
// as a word processor does: its other names (hard links), owner, group,
// permissions, ACLs and extended attributes stay. Where a new file can be
// all of that (one name, an owner and group this process may give it, every
// attribute copied), the bytes go to a temporary file in the same folder,
// are flushed and synced to the disk, and only then renamed over the old
// file: a kill at any instant leaves either the old or the new file. Else
// the file is written in place, after a synced copy of its old content is
// kept in the program's cache folder; a failed write puts the old content
// back, and a kill leaves the copy, which the next start or save of that
// file reports. Every step is checked, so a full disk, a size limit or an
// I/O error leaves the old file byte for byte as it was and is reported.
// (QSaveFile is not used: Qt 6.4's commit() reports success after a failed
// flush of its buffer and renames the short file over the old one.)
//
// Reading: files named by other people's lessons can be named pipes, devices
// or huge; they are opened without blocking, taken only when they are regular
// files (after following symbolic links), and read only up to a bound.
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace korvana::files {

// Gives the file at path the content data, as the header describes. A
// symbolic link is followed: its target gets the content and the link stays.
// A file this process may not write (read-only) is not written. A new file
// gets the folder's default ACL or 0666 less the umask. Returns true on
// success; on failure returns false, leaves the old file as it was, removes
// its own temporary files and, when reason is given, sets it to a short
// phrase ("disk full", "permission denied", ...). A successful save also
// removes the temporary files that killed saves of the same file left
// beside it.
bool writeFileAtomically(const QString &path, const QByteArray &data, QString *reason = nullptr);

// A save into the file itself that was killed before it finished: the file
// it was writing (whose content may be part old, part new) and the copy of
// that file's content from before the save.
struct InterruptedSave {
    QString file;
    QString copy;
};

// The folder that holds the copies of old content while files are written
// in place: $XDG_CACHE_HOME/korvana/save-copies/ (~/.cache by default).
QString saveCopyFolder();

// The interrupted saves the user has not been told of yet. Each is listed
// once: afterwards it counts as told (its copy stays where it is).
QList<InterruptedSave> takeInterruptedSaves();

// Called, during the save, when a save of a file meets an interrupted save
// of the same file that has not been told yet; it then counts as told.
// Without a handler it stays for takeInterruptedSaves. An empty handler
// removes the one set.
void setInterruptedSaveHandler(std::function<void(const InterruptedSave &)> handler);

// What readRegularFile found.
enum class ReadStatus {
    Ok,
    Missing,    // no such file (or a dangling link)
    NotRegular, // a folder, named pipe, device or socket
    TooLarge,   // larger than the bound
    Unreadable, // exists but cannot be opened or read
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    QByteArray data; // the whole file when status is Ok
    QString reason;  // a short phrase when status is not Ok
    bool ok() const { return status == ReadStatus::Ok; }
};

// Reads the whole file at path when it is a regular file of at most maxBytes
// bytes. Never blocks on a named pipe or device.
ReadResult readRegularFile(const QString &path, qint64 maxBytes);

// Whether path is a regular file (after following symbolic links) of at most
// maxBytes bytes (no bound when maxBytes < 0). For files handed by name to a
// library that opens them itself (sounds, pictures): a named pipe would block
// it. Does not open the file.
bool isRegularFile(const QString &path, qint64 maxBytes = -1);

// A short phrase for an errno value, as the write and read failures give it.
QString reasonForErrno(int err);

} // namespace korvana::files
