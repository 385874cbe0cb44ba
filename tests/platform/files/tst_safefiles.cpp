// The one way to write and to read named files: a save keeps the file the
// same document whoever saves it, a write that fails part-way leaves the old
// file, a killed save is cleaned up or reported, special files are refused.
#include "platform/files/SafeFiles.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace korvana::files;

namespace {

struct stat statOf(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Every extended attribute of a file (the ACL among them), name=value.
QStringList attributes(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    QByteArray names(4096, '\0');
    const ssize_t n = ::listxattr(name.constData(), names.data(), size_t(names.size()));
    QStringList out;
    for (const QByteArray &a : names.left(std::max<ssize_t>(n, 0)).split('\0')) {
        QByteArray value(4096, '\0');
        const ssize_t v = a.isEmpty() ? -1 : ::getxattr(name.constData(), a.constData(), value.data(), 4096);
        if (v >= 0)
            out << QString::fromLatin1(a + "=" + value.left(v).toHex());
    }
    out.sort();
    return out;
}

// An access ACL in the kernel's form: owner rw-, user 12345 rw-, the owning
// group r--, mask rw-, others ---. The group bits of the mode show the mask.
const QByteArray kAclGivingWrite = QByteArray::fromHex("02000000"
                                                       "01000600ffffffff"
                                                       "0200060039300000"
                                                       "04000400ffffffff"
                                                       "10000600ffffffff"
                                                       "20000000ffffffff");

QStringList entries(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

uid_t uidOf(const char *user)
{
    const passwd *pw = ::getpwnam(user);
    return pw ? pw->pw_uid : 65534;
}

gid_t gidOf(const char *group)
{
    const struct group *gr = ::getgrnam(group);
    return gr ? gr->gr_gid : 65534;
}

} // namespace

class TestSafeFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_cache;      // this process's cache folder
    QTemporaryDir m_otherCache; // the unprivileged child's
    QTemporaryDir m_scratch;    // a small file system of its own when one can be made
    bool m_smallDisk = false;

    // A new empty folder on the scratch file system.
    QString freshFolder()
    {
        QString name = QString::fromLatin1(QTest::currentTestFunction());
        if (QTest::currentDataTag())
            name += u'-' + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
        const QString folder = m_scratch.filePath(name);
        QDir().mkpath(folder);
        return folder;
    }

    // The save as the unprivileged user: "written" or the reason it failed.
    QByteArray saveAsOtherUser(const QString &path, const QByteArray &data)
    {
        return childtest::asUnprivilegedUser([&] {
            qputenv("XDG_CACHE_HOME", QFile::encodeName(m_otherCache.path()));
            QString reason;
            return writeFileAtomically(path, data, &reason) ? QByteArray("written") : reason.toUtf8();
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_cache.isValid() && m_otherCache.isValid() && m_scratch.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
        QVERIFY(childtest::setMode(m_otherCache.path(), 0777));
        const QByteArray scratch = QFile::encodeName(m_scratch.path());
        // Only in a mount namespace of the test's own, so the small file
        // system goes away with the test even when it crashes.
        if (::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0
            && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0)
            m_smallDisk = ::mount("korvana-test", scratch.constData(), "tmpfs", 0, "size=1m,mode=0755") == 0;
        QVERIFY(childtest::setMode(m_scratch.path(), 0755));
    }

    void cleanupTestCase()
    {
        if (m_smallDisk)
            ::umount2(QFile::encodeName(m_scratch.path()).constData(), MNT_DETACH);
    }

    void cleanup()
    {
        for (const QString &name : entries(m_scratch.path()))
            QDir(m_scratch.filePath(name)).removeRecursively();
    }

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
        // A link to a file not made yet: the file it names is made, the link stays.
        const QString dangling = dir.filePath("new-link.kvl");
        QVERIFY(QFile::link(dir.filePath("made.kvl"), dangling));
        QVERIFY(writeFileAtomically(dangling, "made"));
        QVERIFY(QFileInfo(dangling).isSymLink());
        QCOMPARE(readAll(dir.filePath("made.kvl")), QByteArray("made"));
    }

    // Whoever saves, the file stays the same document: its other names show
    // the new content, and its owner, group, mode, ACL and attributes stay;
    // a read-only file is refused.
    void saveKeepsTheDocument_data()
    {
        QTest::addColumn<bool>("byOtherUser");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<QByteArray>("owner");
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<bool>("acl");
        QTest::addColumn<QByteArray>("result");
        // Where a new file can be the same document it is renamed into place
        // (a kill leaves the old or the new file); elsewhere written in place.
        QTest::addColumn<bool>("renamed");
        QTest::newRow("another user's lesson, shared group")
            << true << 0777 << QByteArray("root") << QByteArray("nogroup") << 0660 << false << false
            << QByteArray("written") << false;
        QTest::newRow("folder the saver may not write") << true << 0755 << QByteArray("root") << QByteArray("root")
                                                        << 0666 << false << false << QByteArray("written") << false;
        QTest::newRow("another user's lesson, sticky folder")
            << true << 01777 << QByteArray("root") << QByteArray("root") << 0666 << false << false
            << QByteArray("written") << false;
        QTest::newRow("hard-linked lesson") << true << 0777 << QByteArray("nobody") << QByteArray("nogroup") << 0644
                                            << true << false << QByteArray("written") << false;
        QTest::newRow("ACL and attributes") << true << 0777 << QByteArray("nobody") << QByteArray("nogroup") << 0660
                                            << false << true << QByteArray("written") << true;
        QTest::newRow("root saves a user's lesson") << false << 0755 << QByteArray("nobody") << QByteArray("nogroup")
                                                    << 0640 << false << true << QByteArray("written") << true;
        QTest::newRow("root saves a lesson without ACL")
            << false << 0755 << QByteArray("nobody") << QByteArray("nogroup") << 0640 << false << false
            << QByteArray("written") << true;
        QTest::newRow("read-only lesson") << true << 0777 << QByteArray("nobody") << QByteArray("nogroup") << 0444
                                          << false << false << QByteArray("permission denied") << false;
    }

    void saveKeepsTheDocument()
    {
        QFETCH(bool, byOtherUser);
        QFETCH(int, folderMode);
        QFETCH(QByteArray, owner);
        QFETCH(QByteArray, group);
        QFETCH(int, fileMode);
        QFETCH(bool, linked);
        QFETCH(bool, acl);
        QFETCH(QByteArray, result);
        QFETCH(bool, renamed);
        if (::geteuid() != 0)
            QSKIP("giving files to other users needs root");
        const QString folder = freshFolder();
        const QString lesson = folder + "/lo.kvl";
        const QString link = folder + "/backup.kvl";
        const QByteArray name = QFile::encodeName(lesson);
        QVERIFY(writeFileAtomically(lesson, "old content"));
        QCOMPARE(::chown(name.constData(), uidOf(owner), gidOf(group)), 0);
        QVERIFY(childtest::setMode(lesson, mode_t(fileMode)));
        if (linked)
            QCOMPARE(::link(name.constData(), QFile::encodeName(link).constData()), 0);
        if (acl) {
            if (::setxattr(name.constData(), "system.posix_acl_access", kAclGivingWrite.constData(),
                           size_t(kAclGivingWrite.size()), 0)
                    != 0
                || ::setxattr(name.constData(), "user.teacher", "Li", 2, 0) != 0)
                QSKIP("this file system keeps no ACLs or user attributes");
        }
        // A new file there takes the folder's default ACL; the saved one keeps only its own.
        ::setxattr(QFile::encodeName(folder).constData(), "system.posix_acl_default", kAclGivingWrite.constData(),
                   size_t(kAclGivingWrite.size()), 0);
        QVERIFY(childtest::setMode(folder, mode_t(folderMode)));
        const struct stat before = statOf(lesson);
        const QStringList attributesBefore = attributes(lesson);
        const QStringList namesBefore = entries(folder);

        const QByteArray got = byOtherUser ? saveAsOtherUser(lesson, "new content") : [&] {
            QString reason;
            return writeFileAtomically(lesson, "new content", &reason) ? QByteArray("written") : reason.toUtf8();
        }();
        QCOMPARE(got, result);
        const QByteArray content = result == "written" ? "new content" : "old content";
        QCOMPARE(readAll(lesson), content);
        if (linked) {
            QCOMPARE(readAll(link), content);
            QCOMPARE(statOf(link).st_ino, statOf(lesson).st_ino);
        }
        const struct stat after = statOf(lesson);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
        QCOMPARE(after.st_ino != before.st_ino, renamed);
        QCOMPARE(attributes(lesson), attributesBefore);
        QCOMPARE(entries(folder), namesBefore);
        QVERIFY(!QFileInfo::exists(m_otherCache.filePath("korvana/save-copies"))
                || entries(m_otherCache.filePath("korvana/save-copies")).isEmpty());
        // A new file beside it: the folder's mode alone decides.
        if (byOtherUser)
            QCOMPARE(saveAsOtherUser(folder + "/new.kvl", "x"),
                     QByteArray(folderMode & 02 ? "written" : "permission denied"));
    }

    void longestNameSaves()
    {
        // 85 times 一, three bytes each: the longest name a folder takes.
        const QString folder = freshFolder();
        const QString lesson = folder + u'/' + QString(85, QChar(0x4E00));
        QCOMPARE(QFile::encodeName(QFileInfo(lesson).fileName()).size(), 255);
        QVERIFY(writeFileAtomically(lesson, "first"));
        QVERIFY(writeFileAtomically(lesson, "second"));
        QCOMPARE(readAll(lesson), QByteArray("second"));
        QCOMPARE(entries(folder), QStringList{QFileInfo(lesson).fileName()});
    }

    // A killed save's leftover is named after its file, cut on a character
    // boundary only when the whole name would not fit.
    void killedSaveOfALongName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stem");
        const QString fits = QString(79, QChar(0x4E00)) + "ab"; // "." + 239 bytes + ".korvana~" + 6: 255
        QTest::newRow("fits whole") << fits << "." + fits + ".korvana~";
        QTest::newRow("cut") << QString(85, QChar(0x4E00)) << "." + QString(76, QChar(0x4E00)) + "~";
    }

    void killedSaveOfALongName()
    {
        QFETCH(QString, name);
        QFETCH(QString, stem);
        const QString folder = freshFolder();
        const QString lesson = folder + u'/' + name;
        QVERIFY(writeFileAtomically(lesson, "old"));
        QCOMPARE(childtest::killedAtFileSize(16384,
                                             [&] {
                                                 writeFileAtomically(lesson, QByteArray(100000, 'n'));
                                                 return QByteArray("finished");
                                             }),
                 childtest::kChildFailed);
        QStringList left = entries(folder);
        QVERIFY(left.removeOne(name) && left.size() == 1);
        QVERIFY2(left[0].startsWith(stem) && !left[0].contains(QChar(0xFFFD)), qPrintable(left[0]));
    }

    // A write that fails part-way, replacing the file or writing into it,
    // leaves the old content under every name, nothing beside it and no
    // copy behind.
    void failedWriteLeavesOldFileAndSaysWhy_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<int>("oldSize");
        QTest::addColumn<QString>("reason");
        QTest::newRow("new file, size limit") << false << false << 5000 << "file too large for the disk";
        QTest::newRow("in place, size limit") << true << false << 5000 << "file too large for the disk";
        QTest::newRow("in place, copy past the size limit")
            << true << false << 20000
            << "cannot keep a copy of the old file in " + m_cache.path()
                   + "/korvana/save-copies/: file too large for the disk";
        QTest::newRow("new file, full disk") << false << true << 5000 << "disk full";
        QTest::newRow("in place, full disk") << true << true << 5000 << "disk full";
    }

    void failedWriteLeavesOldFileAndSaysWhy()
    {
        QFETCH(bool, inPlace);
        QFETCH(bool, fullDisk);
        QFETCH(int, oldSize);
        QFETCH(QString, reason);
        if (fullDisk && !m_smallDisk)
            QSKIP("no small file system could be mounted (needs root)");
        QTemporaryDir own;
        const QString folder = fullDisk ? freshFolder() : own.path();
        const QString target = folder + "/korvana.ini";
        const QString other = folder + "/other-name.ini";
        const QByteArray old(oldSize, 'o');
        QVERIFY(writeFileAtomically(target, old));
        if (inPlace)
            QVERIFY(::link(QFile::encodeName(target).constData(), QFile::encodeName(other).constData()) == 0);
        const QStringList namesBefore = entries(folder);
        // Larger than the limit or the disk: the write fails after the file
        // was opened and some bytes written.
        const QByteArray large(fullDisk ? 2 << 20 : 100000, 'n');
        const QByteArray out = childtest::withFileSizeLimit(fullDisk ? RLIM_INFINITY : 16384, [&]() -> QByteArray {
            QString why;
            const bool ok = writeFileAtomically(target, large, &why);
            return (ok ? "1" : "0") + why.toUtf8();
        });
        QCOMPARE(out, "0" + reason.toUtf8());
        QCOMPARE(readAll(target), old);
        if (inPlace)
            QCOMPARE(readAll(other), old);
        QCOMPARE(entries(folder), namesBefore);
        QVERIFY(entries(m_cache.filePath("korvana/save-copies")).isEmpty());
        // Under the limit the same write succeeds: the limit is what failed.
        QVERIFY(writeFileAtomically(target, QByteArray(1000, 'n')));
        QCOMPARE(readAll(inPlace ? other : target), QByteArray(1000, 'n'));
        // A missing folder is a failure with a reason, never a crash.
        QString why;
        QVERIFY(!writeFileAtomically(own.filePath("no/such/x.kvl"), "x", &why));
        QCOMPARE(why, QStringLiteral("no such file or folder"));
        QVERIFY(!writeFileAtomically(target + "/x.kvl", "x", &why));
        QCOMPARE(why, QStringLiteral("a folder in the path is a file"));
        if (inPlace) { // nowhere to keep the old content: nothing is written
            qputenv("XDG_CACHE_HOME", QFile::encodeName(target));
            QVERIFY(!writeFileAtomically(target, "x", &why));
            qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
            QCOMPARE(why, "cannot keep a copy of the old file in " + target
                              + "/korvana/save-copies/: a folder in the path is a file");
        }
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
            if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
                != 0)
                return out + " no read-only remount";
            return out + (writeFileAtomically(target, "x", &reason) ? QByteArray(", written") : ", " + reason.toUtf8());
        });
        if (out == "no mount")
            QSKIP("no tmpfs can be mounted here (needs root)");
        QCOMPARE(out, QByteArray("disk full old 1, read-only file system"));
    }

    // A save killed while writing a new file leaves it beside the target:
    // the next save removes such files of its own that no writer holds. A
    // save killed while writing into the file leaves its copy of the old
    // content: the next save of that file, or the next start, tells where.
    void killedSaveIsCleanedUpOrReported()
    {
        const QString folder = freshFolder();
        const QString lesson = folder + "/lo.kvl";
        const QByteArray old(5000, 'o');
        QVERIFY(writeFileAtomically(lesson, old));
        auto killedSave = [&](const QString &path) {
            return childtest::killedAtFileSize(16384, [&] {
                writeFileAtomically(path, QByteArray(100000, 'n'));
                return QByteArray("finished");
            });
        };
        QCOMPARE(killedSave(lesson), childtest::kChildFailed);
        QCOMPARE(killedSave(lesson), childtest::kChildFailed);
        QCOMPARE(readAll(lesson), old);
        QStringList leftovers = entries(folder);
        leftovers.removeOne("lo.kvl");
        QCOMPARE(leftovers.size(), 2);
        for (const QString &name : leftovers) // hidden, and marked as the program's own
            QVERIFY2(name.startsWith(".lo.kvl.korvana~"), qPrintable(name));
        // One is still being written by a live save; one is the user's own.
        QFile held(folder + u'/' + leftovers.first());
        QVERIFY(held.open(QIODevice::ReadOnly) && ::flock(held.handle(), LOCK_EX) == 0);
        // The user's own files of nearly the same name, and a pipe of the very pattern, stay.
        QStringList mine{".lo.kvl.backup", ".lo.kvl.korvana~v2", ".lo.kvl.korvana~my-old", ".lo.kvl.korvana~backup2"};
        for (const QString &name : mine)
            QVERIFY(writeFileAtomically(folder + u'/' + name, "mine"));
        const QByteArray pipe = QFile::encodeName(folder + "/.lo.kvl.korvana~pipe00");
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        mine << "lo.kvl";
        mine.sort();
        QVERIFY(writeFileAtomically(lesson, "new"));
        QStringList expected = mine + QStringList{leftovers.first()};
        expected.sort();
        QCOMPARE(entries(folder), expected);
        held.close();
        QVERIFY(writeFileAtomically(lesson, "newer"));
        QCOMPARE(entries(folder), mine);
        QVERIFY(::access(pipe.constData(), F_OK) == 0);

        // Two names make the save write into the file.
        const QString other = folder + "/other-name.kvl";
        QVERIFY(::link(QFile::encodeName(lesson).constData(), QFile::encodeName(other).constData()) == 0);
        QCOMPARE(killedSave(lesson), childtest::kChildFailed);
        QList<InterruptedSave> told;
        setInterruptedSaveHandler([&](const InterruptedSave &save) { told << save; });
        const QString shortcut = folder + "/shortcut.kvl"; // the same file by another way
        QVERIFY(QFile::link(lesson, shortcut) && writeFileAtomically(shortcut, "whole again") && told.size() == 1);
        QVERIFY(writeFileAtomically(lesson, "whole again"));
        QCOMPARE(told.size(), 1);
        QCOMPARE(told[0].file, QFileInfo(lesson).absoluteFilePath());
        QCOMPARE(readAll(told[0].copy), QByteArray("newer"));
        QCOMPARE(readAll(other), QByteArray("whole again"));
        QCOMPARE(killedSave(other), childtest::kChildFailed);
        // Saving another file tells nothing of it.
        QTemporaryDir elsewhere;
        QVERIFY(writeFileAtomically(elsewhere.filePath("x.kvl"), "x"));
        QCOMPARE(told.size(), 1);
        setInterruptedSaveHandler({});
        const QList<InterruptedSave> atStart = takeInterruptedSaves();
        QCOMPARE(atStart.size(), 1);
        QCOMPARE(atStart[0].file, QFileInfo(other).absoluteFilePath());
        QCOMPARE(readAll(atStart[0].copy), QByteArray("whole again"));
        QVERIFY(atStart[0].copy.startsWith(m_cache.filePath("korvana/save-copies/")));
        QCOMPARE(statOf(m_cache.filePath("korvana/save-copies")).st_mode & 0777,
                 mode_t(0700)); // old contents are private
        QVERIFY(takeInterruptedSaves().isEmpty());
        // A copy folder holding more than one file is none of ours: removed, never told.
        const QString copies = m_cache.filePath("korvana/save-copies/");
        QVERIFY(QDir().mkpath(copies + "odd") && writeFileAtomically(copies + "odd.file", QFile::encodeName(lesson)));
        QVERIFY(writeFileAtomically(copies + "odd/a", "a") && writeFileAtomically(copies + "odd/b", "b"));
        // Nor is one whose name file names no file yet: killed before it touched the file.
        QVERIFY(QDir().mkpath(copies + "bare") && writeFileAtomically(copies + "bare.file", "")
                && writeFileAtomically(copies + "bare/lo.kvl", "x"));
        QVERIFY(takeInterruptedSaves().isEmpty());
        QVERIFY(!QFileInfo::exists(copies + "odd") && !QFileInfo::exists(copies + "bare.file"));
        // One killed before it named its file: removed once five minutes old.
        QFile half(copies + "half.new");
        QVERIFY(QDir().mkpath(copies + "half") && half.open(QIODevice::WriteOnly)
                && half.setFileTime(QDateTime::currentDateTime().addSecs(-400), QFileDevice::FileModificationTime));
        half.close();
        QVERIFY(takeInterruptedSaves().isEmpty());
        QVERIFY(!half.exists() && !QFileInfo::exists(copies + "half"));
        // A folder with no name file goes once it is old; one whose save is naming its file stays.
        QVERIFY(QDir().mkpath(copies + "lone") && QDir().mkpath(copies + "young")
                && writeFileAtomically(copies + "young.new", ""));
        const struct timespec past[2] = {{::time(nullptr) - 400, 0}, {::time(nullptr) - 400, 0}};
        for (const char *name : {"lone", "young"})
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(copies + name).constData(), past, 0), 0);
        QVERIFY(takeInterruptedSaves().isEmpty());
        QVERIFY(!QFileInfo::exists(copies + "lone") && QFileInfo::exists(copies + "young/"));
        // A save still running holds its name file locked: told only once it is not.
        QVERIFY(QDir().mkpath(copies + "live") && writeFileAtomically(copies + "live/lo.kvl", "x")
                && writeFileAtomically(copies + "live.file", QFile::encodeName(lesson)));
        QFile live(copies + "live.file");
        QVERIFY(live.open(QIODevice::ReadOnly) && ::flock(live.handle(), LOCK_EX) == 0);
        QVERIFY(takeInterruptedSaves().isEmpty());
        live.close();
        QCOMPARE(takeInterruptedSaves().size(), 1);
        QCOMPARE(entries(folder), mine + QStringList({"other-name.kvl", "shortcut.kvl"}));
    }

    void readRefusesSpecialAndOversizedFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("picture.jpg");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(readRegularFile(fifo, 1000).status, ReadStatus::NotRegular);
        QVERIFY(!isRegularFile(fifo));
        // Nor is one replaced by a write.
        QString why;
        QVERIFY(!writeFileAtomically(fifo, "x", &why));
        QCOMPARE(why, QString::fromLocal8Bit(::strerror(EINVAL)));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        QCOMPARE(readRegularFile("/dev/zero", 1000).status, ReadStatus::NotRegular);
        // A read that fails, and a file that says it is empty yet reads past the bound.
        QCOMPARE(readRegularFile("/proc/self/mem", 1000).reason, QStringLiteral("input/output error"));
        QCOMPARE(readRegularFile("/proc/self/status", 10).status, ReadStatus::TooLarge);
        QCOMPARE(readRegularFile(dir.path(), 1000).status, ReadStatus::NotRegular);
        QCOMPARE(readRegularFile(dir.path(), 1000).reason, QStringLiteral("is a folder"));
        QCOMPARE(readRegularFile(fifo, 1000).reason, QStringLiteral("not a regular file"));
        QCOMPARE(readRegularFile(dir.filePath("gone"), 1000).status, ReadStatus::Missing);
        QCOMPARE(readRegularFile(QString(), 1000).status, ReadStatus::Missing);
        QCOMPARE(readRegularFile(QString(), 1000).reason, QStringLiteral("no such file or folder"));
        QCOMPARE(readRegularFile(dir.filePath("picture.jpg/x"), 1000).status, ReadStatus::Missing);
        // A name no folder can hold is no missing file, and is said so.
        const QString tooLong = dir.filePath(QString(256, u'n'));
        QCOMPARE(readRegularFile(tooLong, 1000).status, ReadStatus::Unreadable);
        QVERIFY(!writeFileAtomically(tooLong, "x", &why));
        QCOMPARE(why, QStringLiteral("name too long"));
        const std::pair<int, const char *> phrases[] = {{ENOSPC, "disk full"},
                                                        {EDQUOT, "disk full"},
                                                        {EFBIG, "file too large for the disk"},
                                                        {EACCES, "permission denied"},
                                                        {EPERM, "permission denied"},
                                                        {EROFS, "read-only file system"},
                                                        {ENOENT, "no such file or folder"},
                                                        {ENOTDIR, "a folder in the path is a file"},
                                                        {EISDIR, "is a folder"},
                                                        {EIO, "input/output error"},
                                                        {ENAMETOOLONG, "name too long"},
                                                        {EAGAIN, "the file changed while it was saved"}};
        for (const auto &[err, phrase] : phrases)
            QCOMPARE(reasonForErrno(err), QString::fromLatin1(phrase));
        QVERIFY(!writeFileAtomically(dir.path(), "x", &why));
        QCOMPARE(why, QStringLiteral("is a folder"));
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
