#include "platform/files/SafeFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana::files {

namespace {

// Closes a descriptor on every path.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // Closes now and reports the close's own error (NFS reports late write
    // errors here).
    int release()
    {
        const int r = ::close(fd);
        fd = -1;
        return r;
    }
};

bool fail(QString *reason, int err)
{
    if (reason)
        *reason = reasonForErrno(err);
    return false;
}

// The file a write to path really replaces: the target of a symbolic link
// (followed to its end), else path itself.
QString writeTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    if (!target.isEmpty())
        return target;
    // A dangling link: create the file it names.
    return info.symLinkTarget().isEmpty() ? path : info.symLinkTarget();
}

bool writeAll(int fd, const char *data, qint64 size, int *err)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *err = errno;
            return false;
        }
        if (n == 0) {
            *err = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

QString reasonForErrno(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("disk full");
    case EFBIG:
        return QStringLiteral("file too large for the disk");
    case EACCES:
    case EPERM:
        return QStringLiteral("permission denied");
    case EROFS:
        return QStringLiteral("read-only file system");
    case ENOENT:
        return QStringLiteral("no such file or folder");
    case ENOTDIR:
        return QStringLiteral("a folder in the path is a file");
    case EISDIR:
        return QStringLiteral("is a folder");
    case EIO:
        return QStringLiteral("input/output error");
    case ENAMETOOLONG:
        return QStringLiteral("name too long");
    default:
        return QString::fromLocal8Bit(::strerror(err));
    }
}

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *reason)
{
    const QString target = writeTarget(path);
    const QFileInfo info(target);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray finalName = QFile::encodeName(info.absoluteFilePath());

    // Keep the permissions of the file being replaced. A folder entry that
    // is not a regular file (a folder, a pipe) is never replaced.
    mode_t mode = 0666;
    bool keepMode = false;
    struct stat old {};
    if (::stat(finalName.constData(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            return fail(reason, S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        mode = old.st_mode & 07777;
        keepMode = true;
        // The rename would replace a file its owner made read-only, since
        // only the folder's permission counts for it: refuse as writing
        // into that file would.
        if (::faccessat(AT_FDCWD, finalName.constData(), W_OK, AT_EACCESS) != 0)
            return fail(reason, errno);
    }

    // A unique temporary name beside the target, so the rename stays on one
    // file system and is atomic.
    QByteArray temp = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    Descriptor out;
    out.fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (out.fd < 0)
        return fail(reason, errno);

    int err = 0;
    bool ok = writeAll(out.fd, data.constData(), data.size(), &err);
    if (ok) {
        // mkostemp creates 0600; give the new file the old one's mode, or
        // the usual mode of a new file (0666 less the umask).
        if (!keepMode) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        // A file we may write but do not own keeps the temporary file's
        // mode if this fails: the content is what matters.
        (void)::fchmod(out.fd, mode);
        if (::fsync(out.fd) != 0) {
            err = errno;
            ok = false;
        }
    }
    if (ok && out.release() != 0) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(temp.constData(), finalName.constData()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return fail(reason, err);
    }
    // Make the rename itself durable; a failure here cannot undo the write.
    Descriptor dir;
    dir.fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0)
        ::fsync(dir.fd);
    return true;
}

ReadResult readRegularFile(const QString &path, qint64 maxBytes)
{
    ReadResult result;
    if (path.isEmpty()) {
        result.reason = reasonForErrno(ENOENT);
        return result;
    }
    Descriptor in;
    // O_NONBLOCK: opening a named pipe with no writer would otherwise wait
    // for one for ever.
    in.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in.fd < 0) {
        const int err = errno;
        result.status = (err == ENOENT || err == ENOTDIR) ? ReadStatus::Missing
                                                         : ReadStatus::Unreadable;
        result.reason = reasonForErrno(err);
        return result;
    }
    struct stat st {};
    if (::fstat(in.fd, &st) != 0) {
        result.status = ReadStatus::Unreadable;
        result.reason = reasonForErrno(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = ReadStatus::NotRegular;
        result.reason = S_ISDIR(st.st_mode) ? QStringLiteral("is a folder")
                                            : QStringLiteral("not a regular file");
        return result;
    }
    if (maxBytes >= 0 && st.st_size > maxBytes) {
        result.status = ReadStatus::TooLarge;
        result.reason = QStringLiteral("too large");
        return result;
    }
    // Regular files ignore O_NONBLOCK; read to the end, but never past the
    // bound even if the file grows meanwhile.
    const qint64 limit = maxBytes >= 0 ? maxBytes : std::numeric_limits<qint64>::max() - 1;
    QByteArray data;
    data.reserve(qsizetype(std::min<qint64>(st.st_size, limit)));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.status = ReadStatus::Unreadable;
            result.reason = reasonForErrno(errno);
            return result;
        }
        if (n == 0)
            break;
        if (data.size() + n > limit) {
            result.status = ReadStatus::TooLarge;
            result.reason = QStringLiteral("too large");
            return result;
        }
        data.append(buffer, n);
    }
    result.status = ReadStatus::Ok;
    result.data = std::move(data);
    return result;
}

bool isRegularFile(const QString &path, qint64 maxBytes)
{
    if (path.isEmpty())
        return false;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return maxBytes < 0 || st.st_size <= maxBytes;
}

} // namespace korvana::files
