// The one way to write and to read named files: a write that fails part-way
// leaves the old file, special files are refused at once.
#include "platform/files/SafeFiles.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

using namespace korvana::files;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// The write in a child process whose files may not grow past limit bytes,
// as on a full disk: writes past it fail with EFBIG. The child's verdict and
// the reason it gave.
std::pair<bool, QString> writeWithSizeLimit(const QString &path, const QByteArray &data,
                                            rlim_t limit)
{
    const QByteArray out = childtest::withFileSizeLimit(limit, [&] {
        QString reason;
        const bool ok = writeFileAtomically(path, data, &reason);
        return (ok ? "1" : "0") + reason.toUtf8();
    });
    return {out.startsWith('1'), QString::fromUtf8(out.mid(1))};
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
        // A new file gets the usual mode, not the temporary file's 0600.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        struct stat fresh {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &fresh), 0);
        QCOMPARE(fresh.st_mode & 0777, mode_t(0666 & ~mask));
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
        QVERIFY(!writeFileAtomically(target + "/x.kvl", "x", &why));
        QCOMPARE(why, QStringLiteral("a folder in the path is a file"));
    }

    void fullDiskSaysDiskFull()
    {
        // A small file system of its own, in a mount namespace of the child:
        // the write runs out of room (ENOSPC, not the size limit's EFBIG).
        QTemporaryDir dir;
        const QString target = dir.filePath("lesson.kvl");
        const QByteArray out = childtest::runInChild({}, [&]() -> QByteArray {
            if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                || ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=64k") != 0)
                return "no mount";
            QString reason;
            if (!writeFileAtomically(target, "old", &reason))
                return "first write: " + reason.toUtf8();
            const bool ok = writeFileAtomically(target, QByteArray(200000, 'n'), &reason);
            QByteArray out = (ok ? "written " : "") + reason.toUtf8() + ' ' + readAll(target) + ' '
                             + QByteArray::number(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size());
            // The same file system made read-only.
            if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) != 0)
                return out + " no read-only remount";
            return out + (writeFileAtomically(target, "x", &reason) ? QByteArray(", written") : ", " + reason.toUtf8());
        });
        if (out == "no mount")
            QSKIP("no tmpfs can be mounted here (needs root)");
        QCOMPARE(out, QByteArray("disk full old 1, read-only file system"));
    }

    void protectedFileOrFolderIsNotReplaced()
    {
        // As a user without root's rights: a rename would replace a
        // read-only file in a writable folder; it must be refused like a
        // write into it, and a read-only folder takes no new file.
        QTemporaryDir dir;
        QVERIFY(childtest::setMode(dir.path(), 0755));
        QVERIFY(QDir(dir.path()).mkdir("open") && QDir(dir.path()).mkdir("locked"));
        const QString readOnly = dir.filePath("open/lesson.kvl");
        const QString inLocked = dir.filePath("locked/lesson.kvl");
        QVERIFY(writeFileAtomically(readOnly, "old") && writeFileAtomically(inLocked, "old"));
        QVERIFY(childtest::setMode(dir.filePath("open"), 0777) && childtest::setMode(readOnly, 0444));
        QVERIFY(childtest::setMode(inLocked, 0666) && childtest::setMode(dir.filePath("locked"), 0555));
        for (const QString &target : {readOnly, inLocked}) {
            QCOMPARE(childtest::asUnprivilegedUser([&] {
                         QString reason;
                         return writeFileAtomically(target, "new", &reason) ? QByteArray("written")
                                                                            : reason.toUtf8();
                     }),
                     QByteArray("permission denied"));
            QCOMPARE(readAll(target), QByteArray("old"));
        }
        QCOMPARE(QDir(dir.filePath("open")).entryList(QDir::Files | QDir::Hidden), QStringList{"lesson.kvl"});
        childtest::setMode(dir.filePath("locked"), 0755);
    }

    void readRefusesSpecialAndOversizedFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("picture.jpg");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(readRegularFile(fifo, 1000).status, ReadStatus::NotRegular);
        QVERIFY(!isRegularFile(fifo));
        // Nor is one replaced by a write.
        QVERIFY(!writeFileAtomically(fifo, "x"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        QCOMPARE(readRegularFile("/dev/zero", 1000).status, ReadStatus::NotRegular);
        QCOMPARE(readRegularFile(dir.path(), 1000).status, ReadStatus::NotRegular);
        QCOMPARE(readRegularFile(dir.path(), 1000).reason, QStringLiteral("is a folder"));
        QCOMPARE(readRegularFile(fifo, 1000).reason, QStringLiteral("not a regular file"));
        QCOMPARE(readRegularFile(dir.filePath("gone"), 1000).status, ReadStatus::Missing);
        QCOMPARE(readRegularFile(QString(), 1000).status, ReadStatus::Missing);
        QCOMPARE(readRegularFile(QString(), 1000).reason, QStringLiteral("no such file or folder"));
        QCOMPARE(readRegularFile(dir.filePath("picture.jpg/x"), 1000).status, ReadStatus::Missing);
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
