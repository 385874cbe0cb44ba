// Files from other people, made to hang the program or flood its memory:
// each is read (or refused) in a child process bound in processor time and
// memory, so a reader that regresses to quadratic time or to gigabytes is
// killed there and fails its row. The bounds are gross on purpose: several
// times what the readers need, a fraction of what the faults took.
#include "lessons/Sessions.h"
#include "platform/ini/IniFile.h"
#include "reference/Dictionary.h"
#include "settings/SettingsFile.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace korvana;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr rlim_t MiB = 1024 * 1024;

QByteArray repeated(const QByteArray &unit, qsizetype bytes)
{
    QByteArray out;
    out.reserve(bytes + unit.size());
    while (out.size() < bytes)
        out += unit;
    return out;
}

const QByteArray kDictionaryHead = "CC-CEDICT\n中 [zhong1] /middle/\n";

using Make = std::function<QByteArray()>;
using Read = std::function<QByteArray(const QString &path)>;

QByteArray dictionary(const QString &path)
{
    try {
        const QString text = loadDictionaryText(path);
        return "loaded " + QByteArray::number(text.size());
    } catch (const std::exception &e) {
        return QByteArray("refused: ") + e.what();
    }
}

QByteArray settings(const QString &path)
{
    const IniFile ini(path);
    MainSettings s;
    TextDirections d;
    readSettings(ini, s, d);
    return "font " + QByteArray::number(s.fontSizes[Pane::Characters]) + ", " + ini.readProblem().toUtf8();
}

QByteArray session(const QString &path)
{
    SessionContents contents;
    QString problem;
    if (!openSessionFile(path, &contents, &problem))
        return problem.mid(path.size()).toUtf8();
    return QByteArray::number(contents.lessons.size()) + " lessons";
}

} // namespace

Q_DECLARE_METATYPE(Make)
Q_DECLARE_METATYPE(Read)

class TestHostileFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void readInBoundedTimeAndMemory_data();
    void readInBoundedTimeAndMemory();
};

void TestHostileFiles::readInBoundedTimeAndMemory_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<Read>("read");
    QTest::addColumn<int>("cpuSeconds");
    QTest::addColumn<int>("memoryMiB");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("dictionary line of 1 MB: e and a combining acute")
        << Make([] { return kDictionaryHead + repeated("e\xCC\x81", 1 << 20); }) << Read(dictionary) << 10 << 200
        << QByteArray("loaded 349558"); // 32 characters of head, 349,526 of é
    QTest::newRow("dictionary line of 3 MB: marks of two classes in turn")
        << Make([] { return kDictionaryHead + repeated("\xCC\x81\xCC\x96", 3 << 20); }) << Read(dictionary) << 10 << 300
        << QByteArray("loaded 1572896"); // the marks kept as they are
    QTest::newRow("dictionary of 200 MB without a line break")
        << Make([] { return QByteArray(200 << 20, 'x'); }) << Read(dictionary) << 10 << 600
        << QByteArray("refused: no line break");
    QTest::newRow("dictionary of 6 MB of lines without a sense")
        << Make([] { return "CC-CEDICT\n" + repeated("a [b]\n", 6 << 20); }) << Read(dictionary) << 10 << 300
        << QByteArray("refused: no dictionary entry");
    QTest::newRow("settings of 16 MB of blank lines") << Make([] { return QByteArray(16 << 20, '\n'); })
                                                      << Read(settings) << 5 << 100 << QByteArray("font 24, too large");
    QTest::newRow("settings of 4 MiB of blank lines")
        << Make([] { return "[Options]\nFontsize-Kanji=30\n" + QByteArray((4 << 20) - 40, '\n'); }) << Read(settings)
        << 10 << 300 << QByteArray("font 30, ");
    QTest::newRow("settings of 4 MiB of k=v lines")
        << Make([] { return "[Options]\n" + repeated("k=v\n", (4 << 20) - 40) + "Fontsize-Kanji=30\n"; })
        << Read(settings) << 20 << 300 << QByteArray("font 30, ");
    QTest::newRow("session of 4 MiB of blank lines") << Make([] { return QByteArray(4 << 20, '\n'); }) << Read(session)
                                                     << 10 << 300 << QByteArray(" is not a session file");
    QTest::newRow("session of 4 MiB of lessons")
        << Make([] { return "[Lessons]\n" + repeated("0=a\n", (4 << 20) - 16); }) << Read(session) << 10 << 300
        << QByteArray("1048572 lessons");
    QTest::newRow("session of 40,000 sections") << Make([] {
        QByteArray b = "[Lessons]\n0=a.kvl\n";
        for (int i = 0; i < 40000; ++i)
            b += "[s" + QByteArray::number(i) + "]\nk=v\n";
        return b;
    }) << Read([](const QString &path) {
        const IniFile ini(path);
        qsizetype entries = 0;
        for (const QString &s : ini.readSections())
            entries += ini.readEntries(s).size();
        return QByteArray::number(entries) + " entries, " + session(path);
    }) << 10 << 300 << QByteArray("40001 entries, 1 lessons");
    QTest::newRow("session of 16,000 lessons saved over 617,000 line breaks") << Make([] {
        return "[Lessons]\n0=a.kvl\n" + QByteArray(617000, '\n') + "[Other]\nkept=1\n";
    }) << Read([](const QString &path) {
        QStringList lessons;
        for (int i = 0; i < 16000; ++i)
            lessons.append(QStringLiteral("/lessons/lesson %1.kvl").arg(i));
        writeSession(path, lessons, 7);
        return session(path) + ", kept " + IniFile(path).readString("Other", "kept", {}).toUtf8();
    }) << 10 << 300 << QByteArray("16000 lessons, kept 1");
}

void TestHostileFiles::readInBoundedTimeAndMemory()
{
    QFETCH(Make, make);
    QFETCH(Read, read);
    QFETCH(int, cpuSeconds);
    QFETCH(int, memoryMiB);
    QFETCH(QByteArray, expected);

    const QString path = m_dir.filePath(QStringLiteral("hostile"));
    {
        QFile f(path);
        const QByteArray bytes = make();
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    childtest::ChildLimits limits;
    // The sanitizers run the same code several times slower, in an address
    // space they reserve by terabytes.
    limits.cpuSeconds = rlim_t(kSanitized ? cpuSeconds * 5 : cpuSeconds);
    limits.extraMemoryBytes = kSanitized ? 0 : rlim_t(memoryMiB) * MiB;
    const QByteArray got = childtest::runInChild(limits, [&] { return read(path); });
    QFile::remove(path);
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostile_files.moc"
