#pragma once
// Runs one piece of a test in a forked child process under conditions the
// test process itself must not take on: a small limit on the size of files
// (a write past it fails with EFBIG, as on a full disk), the rights of an
// unprivileged user (the suite may run as root, which ignores permissions),
// or a bound on processor time and memory (a reader that hangs or floods
// memory on a hostile file kills only the child).
// The child does only the work and ends with _exit, so a child of a Qt GUI
// test never runs the application's destructors; what the work returns comes
// back to the parent through a pipe.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <csignal>
#include <exception>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace childtest {

struct ChildLimits {
    // Largest size a file may grow to; RLIM_INFINITY for none.
    rlim_t fileSizeLimit = RLIM_INFINITY;
    // Run as nobody/nogroup when the test runs as root.
    bool unprivileged = false;
    // A write past fileSizeLimit kills the child (SIGXFSZ, no core file), as
    // a kill in the middle of a write would.
    bool killedAtSizeLimit = false;
    // Processor seconds the child may use before it is killed; 0 for no limit.
    rlim_t cpuSeconds = 0;
    // Bytes of memory the child may take on top of what it has at the fork
    // (its address space, so an allocation past it fails); 0 for no limit.
    rlim_t extraMemoryBytes = 0;
};

// What a child that did not finish its work hands back.
inline const QByteArray kChildFailed = QByteArrayLiteral("<the child process failed>");

namespace detail {

inline bool dropToNobody()
{
    if (::geteuid() != 0)
        return true; // already without the rights that ignore permissions
    const passwd *user = ::getpwnam("nobody");
    const group *grp = ::getgrnam("nogroup");
    const uid_t uid = user ? user->pw_uid : 65534;
    const gid_t gid = grp ? grp->gr_gid : 65534;
    return ::setgroups(0, nullptr) == 0 && ::setresgid(gid, gid, gid) == 0 && ::setresuid(uid, uid, uid) == 0
           && ::geteuid() == uid;
}

// The process's address space in bytes, from /proc/self/statm (pages).
inline rlim_t addressSpaceBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return rlim_t(statm.readLine().split(' ').value(0).toULongLong()) * rlim_t(::sysconf(_SC_PAGESIZE));
}

inline void writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n <= 0)
            return;
        p += n;
        left -= n;
    }
}

} // namespace detail

// Runs work in a child process with the limits and returns what it returned,
// or kChildFailed when the child could not be set up or died.
inline QByteArray runInChild(const ChildLimits &limits, const std::function<QByteArray()> &work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return kChildFailed;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return kChildFailed;
    }
    if (pid == 0) {
        ::close(fds[0]);
        bool ready = true;
        if (limits.fileSizeLimit != RLIM_INFINITY) {
            ::signal(SIGXFSZ, limits.killedAtSizeLimit ? SIG_DFL : SIG_IGN);
            const rlimit noCore{0, 0};
            const rlimit rl{limits.fileSizeLimit, limits.fileSizeLimit};
            ready = ::setrlimit(RLIMIT_CORE, &noCore) == 0 && ::setrlimit(RLIMIT_FSIZE, &rl) == 0;
        }
        if (ready && limits.cpuSeconds > 0) {
            const rlimit rl{limits.cpuSeconds, limits.cpuSeconds};
            ready = ::setrlimit(RLIMIT_CPU, &rl) == 0;
        }
        if (ready && limits.extraMemoryBytes > 0) {
            const rlim_t bound = detail::addressSpaceBytes() + limits.extraMemoryBytes;
            const rlimit rl{bound, bound};
            ready = ::setrlimit(RLIMIT_AS, &rl) == 0;
        }
        if (ready && limits.unprivileged)
            ready = detail::dropToNobody();
        if (ready) {
            QByteArray out;
            try {
                out = work();
            } catch (const std::exception &e) {
                out = QByteArrayLiteral("<exception> ") + e.what();
            }
            detail::writeAll(fds[1], QByteArrayLiteral("1") + out);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray got;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got.append(buffer, n);
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !got.startsWith('1'))
        return kChildFailed;
    return got.mid(1);
}

inline QByteArray withFileSizeLimit(rlim_t limit, const std::function<QByteArray()> &work)
{
    return runInChild({limit, false}, work);
}

// Runs work in a child that is killed when it writes past limit bytes;
// kChildFailed tells that it was.
inline QByteArray killedAtFileSize(rlim_t limit, const std::function<QByteArray()> &work)
{
    return runInChild({limit, false, true}, work);
}

inline QByteArray asUnprivilegedUser(const std::function<QByteArray()> &work)
{
    return runInChild({RLIM_INFINITY, true}, work);
}

// Gives a folder (and a file) the mode exactly, as the unprivileged child
// must find it; the folders above must let it through (a QTemporaryDir is
// made 0700, so its folder is opened to 0755 by the test).
inline bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

} // namespace childtest
