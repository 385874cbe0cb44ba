#pragma once
// A save that fails part-way, as on a full disk: the work runs in a child
// process whose files may not grow past a limit (SIGXFSZ ignored), so a write
// past it fails with EFBIG after the file was opened and partly written. The
// child hands back the text the work returns (say, the message shown).
#include <QByteArray>
#include <QString>

#include <csignal>
#include <exception>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace apptest {

inline QString runWithFileSizeLimit(rlim_t limit, const std::function<QString()> &work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("pipe failed");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        QByteArray out;
        try {
            out = work().toUtf8();
        } catch (const std::exception &e) {
            out = QByteArray("exception: ") + e.what();
        } catch (...) {
            out = "exception";
        }
        if (out.isEmpty())
            out = "(nothing)";
        (void)!::write(fds[1], out.constData(), size_t(out.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray got;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        got.append(buffer, qsizetype(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return got.isEmpty() ? QStringLiteral("child said nothing") : QString::fromUtf8(got);
}

} // namespace apptest
