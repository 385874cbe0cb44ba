#include "platform/files/SafeFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace korvana::files {

namespace {

// Closes a descriptor on every path.
struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    explicit Descriptor(int f) : fd(f) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
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

bool writeAllAt(int fd, const QByteArray &data, int *err)
{
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        *err = errno;
        return false;
    }
    return writeAll(fd, data.constData(), data.size(), err);
}

bool readAllFrom(int fd, QByteArray *out, int *err)
{
    out->clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *err = errno;
            return false;
        }
        if (n == 0)
            return true;
        out->append(buffer, n);
    }
}

void syncFolder(const QByteArray &folder)
{
    // Makes a rename or a new name durable; a failure here cannot undo it.
    Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0)
        ::fsync(dir.fd);
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// ---- Extended attributes (ACLs are the system.posix_acl_* ones) ----------

using Attributes = std::map<QByteArray, QByteArray>;

// All extended attributes of the file named path, or of fd when path is
// null. A file system without them has none.
bool attributesOf(const char *path, int fd, Attributes *out)
{
    auto list = [&](char *buf, size_t size) {
        return path ? ::listxattr(path, buf, size) : ::flistxattr(fd, buf, size);
    };
    auto get = [&](const char *name, void *buf, size_t size) {
        return path ? ::getxattr(path, name, buf, size) : ::fgetxattr(fd, name, buf, size);
    };
    // The attributes can change between asking for a size and reading:
    // then ask again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        out->clear();
        ssize_t n = list(nullptr, 0);
        if (n < 0)
            return errno == ENOTSUP;
        QByteArray names(n, '\0');
        n = list(names.data(), size_t(names.size()));
        if (n < 0) {
            if (errno == ERANGE)
                continue;
            return errno == ENOTSUP;
        }
        names.truncate(n);
        bool changed = false;
        for (const QByteArray &name : names.split('\0')) {
            if (name.isEmpty())
                continue;
            ssize_t size = get(name.constData(), nullptr, 0);
            QByteArray value;
            if (size > 0) {
                value.resize(size);
                size = get(name.constData(), value.data(), size_t(value.size()));
            }
            if (size < 0) {
                if (errno == ENODATA || errno == ERANGE) {
                    changed = true;
                    break;
                }
                return false;
            }
            value.truncate(size);
            (*out)[name] = value;
        }
        if (!changed)
            return true;
    }
    return false;
}

// Gives the new file (fd) the owner, group, mode, ACLs and extended
// attributes of the old one; false when any of them cannot be given, so
// that the new file would not be the same document.
bool giveIdentity(int fd, const char *oldName, const struct stat &old)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid)
        && ::fchown(fd, now.st_uid != old.st_uid ? old.st_uid : uid_t(-1),
                    now.st_gid != old.st_gid ? old.st_gid : gid_t(-1))
               != 0)
        return false;
    Attributes wanted, have;
    if (!attributesOf(oldName, -1, &wanted) || !attributesOf(nullptr, fd, &have))
        return false;
    // The new file may have taken the folder's default ACL.
    for (const auto &[name, value] : have) {
        if (!wanted.count(name) && ::fremovexattr(fd, name.constData()) != 0)
            return false;
    }
    for (const auto &[name, value] : wanted) {
        const auto it = have.find(name);
        if ((it == have.end() || it->second != value)
            && ::fsetxattr(fd, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return false;
    }
    // With an ACL the group bits are its mask: the old mode sets the same.
    if (::fchmod(fd, old.st_mode & 07777) != 0 || ::fstat(fd, &now) != 0)
        return false;
    // The kernel may drop what it does not let this process give (set-id
    // bits, a label): compare what the new file really has.
    return now.st_uid == old.st_uid && now.st_gid == old.st_gid && (now.st_mode & 07777) == (old.st_mode & 07777)
           && attributesOf(nullptr, fd, &have) && have == wanted;
}

// ---- Temporary files beside the target ----------------------------------

constexpr int kRandomChars = 6;
// A temporary file no process holds is removed at once; one whose lock
// cannot be asked (another user's file, a file system without locks) only
// after this long.
constexpr time_t kLeftoverAge = 5 * 60;

bool isRandomChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The temporary names of a target are its stem and six random letters or
// digits: "." + name + ".korvana~" when that fits the folder's longest name,
// else a shortened name with a hash of the whole one, so any valid name has
// room. The program's own mark in the stem keeps the user's ".name.backup"
// from ever being taken for a leftover.
QByteArray tempStem(const QByteArray &folder, const QByteArray &name)
{
    long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (longest <= 0)
        longest = 255;
    const QByteArray whole = "." + name + ".korvana~";
    if (whole.size() + kRandomChars <= longest)
        return whole;
    quint32 hash = 2166136261u; // FNV-1a: the same in every run
    for (const char c : name)
        hash = (hash ^ quint8(c)) * 16777619u;
    const QByteArray tail = "~" + QByteArray::number(hash, 16).rightJustified(8, '0') + ".korvana~";
    qsizetype keep = std::max<qsizetype>(0, longest - kRandomChars - 1 - tail.size());
    // Never cut a UTF-8 character in two.
    while (keep > 0 && keep < name.size() && (quint8(name[keep]) & 0xC0) == 0x80)
        --keep;
    return "." + name.left(keep) + tail;
}

// A temporary file of this writer: created new, locked for as long as it is
// written, removed unless it was renamed into place.
struct TempFile {
    QByteArray path;
    Descriptor file;
    Descriptor lock; // holds the lock until the rename is done
    bool renamed = false;

    ~TempFile()
    {
        if (!path.isEmpty() && !renamed)
            ::unlink(path.constData());
    }

    bool create(const QByteArray &folder, const QByteArray &stem, mode_t mode)
    {
        static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray name = folder + "/" + stem;
            for (int i = 0; i < kRandomChars; ++i)
                name += alphabet[QRandomGenerator::system()->bounded(int(sizeof alphabet) - 1)];
            const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                return false;
            }
            Descriptor made(fd);
            // A cleaner that found the file before the lock was taken has
            // removed it: then take another name.
            struct stat mine {
            }, named{};
            if ((::flock(fd, LOCK_EX) != 0 && errno != ENOLCK && errno != EOPNOTSUPP) || ::fstat(fd, &mine) != 0) {
                const int err = errno;
                ::unlink(name.constData());
                errno = err;
                return false;
            }
            if (::stat(name.constData(), &named) != 0 || !sameFile(mine, named))
                continue;
            lock.fd = ::dup(fd);
            if (lock.fd < 0) {
                const int err = errno;
                ::unlink(name.constData());
                errno = err;
                return false;
            }
            file.fd = made.fd;
            made.fd = -1;
            path = name;
            return true;
        }
        errno = EEXIST;
        return false;
    }
};

// Removes the temporary files that killed saves of the target left in
// folder: names of its stem and six random letters or digits, which no
// process holds locked (or, when that cannot be asked, that are old).
void removeLeftovers(const QByteArray &folder, const QByteArray &stem)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() != stem.size() + kRandomChars || !name.startsWith(stem)
            || !std::all_of(name.cbegin() + stem.size(), name.cend(), isRandomChar))
            continue;
        const QByteArray path = folder + "/" + name;
        struct stat named {};
        if (::lstat(path.constData(), &named) != 0 || !S_ISREG(named.st_mode))
            continue;
        const bool old = now - named.st_mtime > kLeftoverAge;
        Descriptor file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (file.fd < 0) {
            if (old)
                ::unlink(path.constData());
            continue;
        }
        if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && old)
                ::unlink(path.constData());
            continue;
        }
        struct stat opened {};
        if (::fstat(file.fd, &opened) == 0 && sameFile(opened, named))
            ::unlink(path.constData());
    }
    ::closedir(dir);
}

// ---- Copies of old content kept while a file is written in place ---------
//
// Each copy is a folder save-copies/XXXXXX holding the copy under the
// file's own name, and beside it XXXXXX.file naming the file being written.
// The name file is locked before it gets its name and stays locked while
// the save runs; it names the file only once the copy is synced, just
// before the file is touched. So an unlocked name file naming a file is a
// save killed while writing; an unlocked empty one, a save killed before it
// touched the file. Telling the user removes the name file; the copy stays.

// Makes the folder and the missing ones on its way, keeping the reason of a
// failure: a file standing where a folder should be is told as such, not as
// a permission problem.
bool makeFolders(const QByteArray &path, int *err)
{
    for (qsizetype at = path.indexOf('/', 1);; at = path.indexOf('/', at + 1)) {
        const QByteArray part = at < 0 ? path : path.left(at);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) {
            *err = errno;
            return false;
        }
        if (at < 0)
            break;
    }
    struct stat made {};
    if (::stat(path.constData(), &made) != 0) {
        *err = errno;
        return false;
    }
    if (!S_ISDIR(made.st_mode)) {
        *err = ENOTDIR;
        return false;
    }
    return true;
}

constexpr char kNameFileSuffix[] = ".file";
constexpr char kNewNameFileSuffix[] = ".new";

std::function<void(const InterruptedSave &)> &interruptedSaveHandler()
{
    static std::function<void(const InterruptedSave &)> handler;
    return handler;
}

struct SaveCopy {
    QByteArray folder;   // save-copies/XXXXXX
    QByteArray copy;     // folder + "/" + the file's name
    Descriptor nameFile; // locked while the file is written

    bool keep(const QByteArray &file, const QByteArray &fileName, const QByteArray &content, int *err)
    {
        const QString base = saveCopyFolder();
        if (!makeFolders(QFile::encodeName(base), err))
            return false;
        // Copies of other people's files are for this user alone.
        const QByteArray baseName = QFile::encodeName(base);
        ::chmod(baseName.constData(), 0700);
        QByteArray made = baseName + "XXXXXX";
        if (!::mkdtemp(made.data())) {
            *err = errno;
            return false;
        }
        folder = made;
        copy = folder + "/" + fileName;
        const QByteArray fresh = folder + kNewNameFileSuffix;
        nameFile.fd = ::open(fresh.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        bool ok = nameFile.fd >= 0 || ((*err = errno), false);
        if (ok)
            ::flock(nameFile.fd, LOCK_EX);
        ok =
            ok && (::rename(fresh.constData(), (folder + kNameFileSuffix).constData()) == 0 || ((*err = errno), false));
        Descriptor out(ok ? ::open(copy.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600) : -1);
        ok = ok && (out.fd >= 0 || ((*err = errno), false));
        ok = ok && writeAll(out.fd, content.constData(), content.size(), err);
        ok = ok && (::fsync(out.fd) == 0 || ((*err = errno), false));
        ok = ok && (out.release() == 0 || ((*err = errno), false));
        ok = ok && writeAll(nameFile.fd, file.constData(), file.size(), err);
        ok = ok && (::fsync(nameFile.fd) == 0 || ((*err = errno), false));
        if (!ok) {
            ::unlink(fresh.constData());
            discard();
            return false;
        }
        syncFolder(folder);
        syncFolder(baseName);
        return true;
    }

    void discard()
    {
        ::unlink((folder + kNameFileSuffix).constData());
        if (!copy.isEmpty())
            ::unlink(copy.constData());
        ::rmdir(folder.constData());
        folder.clear();
    }
};

// The interrupted saves whose name files no running save holds; with file
// set, only those of that file. Each listed one counts as told. What saves
// killed before they touched their file left is removed on the way.
QList<InterruptedSave> takeInterrupted(const QString &file)
{
    QList<InterruptedSave> found;
    const QDir dir(saveCopyFolder());
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-kLeftoverAge);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            // A folder of a save killed before its name file was named.
            if (!dir.exists(name + QLatin1String(kNameFileSuffix))
                && !dir.exists(name + QLatin1String(kNewNameFileSuffix)) && entry.lastModified() < stale)
                QDir(entry.filePath()).removeRecursively();
            continue;
        }
        if (name.endsWith(QLatin1String(kNewNameFileSuffix))) {
            if (entry.lastModified() < stale) {
                QFile::remove(entry.filePath());
                QDir(entry.filePath().chopped(int(sizeof kNewNameFileSuffix) - 1)).removeRecursively();
            }
            continue;
        }
        if (!name.endsWith(QLatin1String(kNameFileSuffix)))
            continue;
        const QByteArray path = QFile::encodeName(entry.filePath());
        Descriptor named(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (named.fd < 0 || ::flock(named.fd, LOCK_EX | LOCK_NB) != 0)
            continue;
        QByteArray target;
        int err = 0;
        if (!readAllFrom(named.fd, &target, &err))
            continue;
        const QString copyFolder = entry.filePath().chopped(int(sizeof kNameFileSuffix) - 1);
        const QStringList copies = QDir(copyFolder).entryList(QDir::Files | QDir::Hidden);
        if (target.isEmpty() || copies.size() != 1) {
            // Killed before the file was touched: nothing to tell.
            QDir(copyFolder).removeRecursively();
            ::unlink(path.constData());
            continue;
        }
        const QString targetName = QFile::decodeName(target);
        if (!file.isEmpty() && targetName != file)
            continue;
        found.append({targetName, QDir(copyFolder).filePath(copies.first())});
        ::unlink(path.constData());
    }
    return found;
}

void reportInterruptedSaves(const QString &file)
{
    const auto &handler = interruptedSaveHandler();
    if (!handler || !QFileInfo::exists(saveCopyFolder()))
        return;
    for (const InterruptedSave &save : takeInterrupted(file))
        handler(save);
}

enum class Outcome { Written, Failed, WriteInPlace };

// Writes data to a new file beside the target and renames it into place,
// when the new file can be the same document as the old one (old is null
// for a new file).
Outcome replaceByRename(const QByteArray &folder, const QByteArray &finalName, const QByteArray &stem,
                        const struct stat *old, const QByteArray &data, int *err)
{
    // The file's other names would keep the old content.
    if (old && old->st_nlink > 1)
        return Outcome::WriteInPlace;
    TempFile temp;
    // A new file takes the folder's default ACL or the umask as any new file
    // does; a replacing one stays private until it has the old one's rights.
    if (!temp.create(folder, stem, old ? 0600 : 0666)) {
        *err = errno;
        return old && (*err == EACCES || *err == EPERM) ? Outcome::WriteInPlace : Outcome::Failed;
    }
    if (old && !giveIdentity(temp.file.fd, finalName.constData(), *old))
        return Outcome::WriteInPlace;
    if (!writeAll(temp.file.fd, data.constData(), data.size(), err))
        return Outcome::Failed;
    if (::fsync(temp.file.fd) != 0 || temp.file.release() != 0) {
        *err = errno;
        return Outcome::Failed;
    }
    if (::rename(temp.path.constData(), finalName.constData()) != 0) {
        *err = errno;
        // A sticky folder, a file mounted on its own: the name cannot take
        // another file, the file itself can take the content.
        return old && (*err == EACCES || *err == EPERM || *err == EBUSY) ? Outcome::WriteInPlace : Outcome::Failed;
    }
    temp.renamed = true;
    syncFolder(folder);
    return Outcome::Written;
}

// Writes data into the file itself, keeping a synced copy of its old content
// in the cache folder meanwhile; a failed write puts the old content back.
bool writeInPlace(const QByteArray &finalName, const QString &file, const struct stat &old, const QByteArray &data,
                  QString *reason)
{
    Descriptor target(::open(finalName.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (target.fd < 0)
        return fail(reason, errno);
    struct stat opened {};
    if (::fstat(target.fd, &opened) != 0)
        return fail(reason, errno);
    if (!sameFile(opened, old) || !S_ISREG(opened.st_mode))
        return fail(reason, EAGAIN);
    QByteArray oldData;
    int err = 0;
    if (!readAllFrom(target.fd, &oldData, &err))
        return fail(reason, err);

    SaveCopy copy;
    if (!copy.keep(QFile::encodeName(file), QFile::encodeName(QFileInfo(file).fileName()), oldData, &err)) {
        if (reason)
            *reason = QStringLiteral("cannot keep a copy of the old file in %1: %2")
                          .arg(QDir::toNativeSeparators(saveCopyFolder()), reasonForErrno(err));
        return false;
    }
    // Ask for the room first, so a full disk is found before the file is
    // touched (where the file system can tell).
    if (data.size() > oldData.size() && ::fallocate(target.fd, FALLOC_FL_KEEP_SIZE, 0, data.size()) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS) {
        err = errno;
        copy.discard();
        return fail(reason, err);
    }
    bool ok = writeAllAt(target.fd, data, &err);
    ok = ok && (::ftruncate(target.fd, data.size()) == 0 || ((err = errno), false));
    ok = ok && (::fsync(target.fd) == 0 || ((err = errno), false));
    // Read back what the file now holds: a file system that lost part of
    // the write without an error is caught here, while the copy is kept.
    QByteArray written;
    ok = ok && (::lseek(target.fd, 0, SEEK_SET) == 0 || ((err = errno), false))
         && readAllFrom(target.fd, &written, &err);
    if (ok && written != data) {
        err = EIO;
        ok = false;
    }
    if (ok) {
        copy.discard();
        return true;
    }
    int ignored = 0;
    const bool restored = err != EIO && writeAllAt(target.fd, oldData, &ignored)
                          && ::ftruncate(target.fd, oldData.size()) == 0 && ::fsync(target.fd) == 0;
    if (restored) {
        copy.discard();
        return fail(reason, err);
    }
    if (reason)
        *reason = QStringLiteral("%1; the old content is kept in %2")
                      .arg(reasonForErrno(err), QDir::toNativeSeparators(QFile::decodeName(copy.copy)));
    return false;
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
    case EAGAIN:
        return QStringLiteral("the file changed while it was saved");
    default:
        return QString::fromLocal8Bit(::strerror(err));
    }
}

QString saveCopyFolder()
{
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.endsWith(u'/'))
        cache += u'/';
    return cache + QStringLiteral("korvana/save-copies/");
}

QList<InterruptedSave> takeInterruptedSaves()
{
    return takeInterrupted(QString());
}

void setInterruptedSaveHandler(std::function<void(const InterruptedSave &)> handler)
{
    interruptedSaveHandler() = std::move(handler);
}

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *reason)
{
    const QString target = writeTarget(path);
    const QFileInfo info(target);
    const QString file = info.absoluteFilePath();
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray finalName = QFile::encodeName(file);

    reportInterruptedSaves(file);

    // A folder entry that is not a regular file (a folder, a pipe) is never
    // replaced.
    struct stat old {};
    const bool exists = ::stat(finalName.constData(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return fail(reason, S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        // A rename would replace a file its owner made read-only, since only
        // the folder's permission counts for it: refuse as writing into that
        // file would.
        if (::faccessat(AT_FDCWD, finalName.constData(), W_OK, AT_EACCESS) != 0)
            return fail(reason, errno);
    }

    const QByteArray stem = tempStem(folder, QFile::encodeName(info.fileName()));
    int err = 0;
    switch (replaceByRename(folder, finalName, stem, exists ? &old : nullptr, data, &err)) {
    case Outcome::Failed:
        return fail(reason, err);
    case Outcome::WriteInPlace:
        if (!writeInPlace(finalName, file, old, data, reason))
            return false;
        break;
    case Outcome::Written:
        break;
    }
    removeLeftovers(folder, stem);
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
        result.status = (err == ENOENT || err == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Unreadable;
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
        result.reason = S_ISDIR(st.st_mode) ? QStringLiteral("is a folder") : QStringLiteral("not a regular file");
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
