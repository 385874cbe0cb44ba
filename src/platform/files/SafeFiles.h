#pragma once
// The program's one way to write a file and one way to read a file that a
// lesson, a session, a skin or the settings name.
//
// Writing: the new bytes go to a temporary file in the same folder, are
// flushed and synced to the disk, and only then renamed over the old file.
// Every step is checked, so a full disk, a size limit or an I/O error leaves
// the old file byte for byte as it was and is reported; a kill at any instant
// leaves either the old or the new file, never a mix. (QSaveFile is not used:
// Qt 6.4's commit() reports success after a failed flush of its buffer and
// renames the short file over the old one.)
//
// Reading: files named by other people's lessons can be named pipes, devices
// or huge; they are opened without blocking, taken only when they are regular
// files (after following symbolic links), and read only up to a bound.
#include <QByteArray>
#include <QString>

namespace korvana::files {

// Replaces the file at path with data, atomically. A symbolic link is
// followed: its target is replaced and the link stays. A file this process
// may not write (read-only) is not replaced. An existing file's
// permissions are kept; a new file gets 0666 less the umask. Returns true on
// success; on failure returns false, leaves the old file untouched, removes
// the temporary file and, when reason is given, sets it to a short phrase
// ("disk full", "permission denied", ...).
bool writeFileAtomically(const QString &path, const QByteArray &data, QString *reason = nullptr);

// What readRegularFile found.
enum class ReadStatus {
    Ok,
    Missing,     // no such file (or a dangling link)
    NotRegular,  // a folder, named pipe, device or socket
    TooLarge,    // larger than the bound
    Unreadable,  // exists but cannot be opened or read
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    QByteArray data;      // the whole file when status is Ok
    QString reason;       // a short phrase when status is not Ok
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
