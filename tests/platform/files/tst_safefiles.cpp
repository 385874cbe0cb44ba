// The one way to write and to read named files: a write that fails part-way
// leaves the old file, special files are refused at once.
#include "platform/files/SafeFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvana::files;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Runs the write in a child process whose files may not grow past limit
// bytes, as on a full disk: writes past it fail with EFBIG. Returns the
// child's verdict and the reason it gave.
std::pair<bool, QString> writeWithSizeLimit(const QString &path, const QByteArray &data,
                                            rlim_t limit)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {true, QStringLiteral("pipe failed")};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        QString reason;
        const bool ok = writeFileAtomically(path, data, &reason);
        const QByteArray out = (ok ? "1" : "0") + reason.toUtf8();
        (void)!::write(pipeFds[1], out.constData(), size_t(out.size()));
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    char buffer[256];
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (n <= 0)
        return {true, QStringLiteral("child said nothing")};
    return {buffer[0] == '1', QString::fromUtf8(buffer + 1, int(n - 1))};
}

} // namespace

class TestSafeFiles : public QObject {
    Q_OBJECT
private slots:
    void writeReplacesWholeAndKeepsModeAndLinks()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("lesson.kvl");
        QVERIFY(writeFileAtomically(target, "old"));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        const QString link = dir.filePath("link.kvl");
        QVERIFY(QFile::link(target, link));
        QVERIFY(writeFileAtomically(link, "new contents"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(target), QByteArray("new contents"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void failedWriteLeavesOldFileAndSaysWhy()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("korvana.ini");
        const QByteArray old(5000, 'o');
        QVERIFY(writeFileAtomically(target, old));
        // Larger than the limit: the write fails part-way, after the file
        // was opened and some bytes written.
        const auto [ok, reason] = writeWithSizeLimit(target, QByteArray(100000, 'n'), 16384);
        QVERIFY(!ok);
        QCOMPARE(reason, QStringLiteral("file too large for the disk"));
        QCOMPARE(readAll(target), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        // Under the limit the same child succeeds: the limit is what failed.
        QVERIFY(writeWithSizeLimit(target, QByteArray(1000, 'n'), 16384).first);
        QCOMPARE(readAll(target), QByteArray(1000, 'n'));
        // A missing folder is a failure with a reason, never a crash.
        QString why;
        QVERIFY(!writeFileAtomically(dir.filePath("no/such/x.kvl"), "x", &why));
        QCOMPARE(why, QStringLiteral("no such file or folder"));
    }

    void readRefusesSpecialAndOversizedFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("picture.jpg");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(readRegularFile(fifo, 1000).status, ReadStatus::NotRegular);
        QVERIFY(!isRegularFile(fifo));
        QCOMPARE(readRegularFile("/dev/zero", 1000).status, ReadStatus::NotRegular);
        QCOMPARE(readRegularFile(dir.path(), 1000).status, ReadStatus::NotRegular);
        QCOMPARE(readRegularFile(dir.filePath("gone"), 1000).status, ReadStatus::Missing);
        const QString big = dir.filePath("big.wav");
        QVERIFY(writeFileAtomically(big, QByteArray(2000, 'x')));
        QCOMPARE(readRegularFile(big, 1999).status, ReadStatus::TooLarge);
        QVERIFY(!isRegularFile(big, 1999));
        const ReadResult whole = readRegularFile(big, 2000);
        QVERIFY(whole.ok());
        QCOMPARE(whole.data.size(), 2000);
        const QString link = dir.filePath("link");
        QVERIFY(QFile::link(big, link));
        QVERIFY(isRegularFile(link, 2000));
    }
};

QTEST_GUILESS_MAIN(TestSafeFiles)
#include "tst_safefiles.moc"
