#include "platform/ini/IniFile.h"
#include "platform/ui/Errors.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using korvana::IniEntry;
using korvana::IniFile;

namespace {

using testfiles::readFile;
using testfiles::writeFile;

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void readsNamesIgnoringCaseFirstMatchWins();
    void keepsValuesVerbatim();
    void keepsLongValuesWhole();
    void readsNumbersByTheProgramsRule();
    void writeUpdatesInPlaceAndKeepsEverythingElse();
    void writeAppendsKeyToItsSection();
    void writeKeepsValueOnOneLine();
    void decodesLineByLineAndKeepsUnchangedLines();
    void eachWriteRereadsTheFile();
    void readsSeeChangesByOthers();
    void sectionListsKeepFileOrder();
    void replaceSectionKeepsPlaceAndOtherSections();
    void failedWriteThrowsAndKeepsOldFile();
};

void TestIniFile::readsNamesIgnoringCaseFirstMatchWins()
{
    const QString p = path("case.ini");
    writeFile(p, "orphan=before any section\n"
                 "[Options]\n"
                 "Skin=first\n"
                 "SKIN=second\n"
                 "[other]\n"
                 "Skin=elsewhere\n"
                 "[OPTIONS]\n"
                 "Skin=third\n"
                 "Extra=only in the second Options\n");
    IniFile ini(p);
    QCOMPARE(ini.readString("options", "skin", "def"), QString("first"));
    QCOMPARE(ini.readString("Other", "sKiN", "def"), QString("elsewhere"));
    // Only the first section of a name is looked at.
    QCOMPARE(ini.readString("Options", "Extra", "def"), QString("def"));
    QCOMPARE(ini.readString("", "orphan", "def"), QString("def"));
    QVERIFY(ini.sectionExists("oPtIoNs"));
    QVERIFY(!ini.sectionExists("Opt"));
    QCOMPARE(ini.readSections(), QStringList({"Options", "other"}));
}

void TestIniFile::keepsValuesVerbatim()
{
    const QString p = path("verbatim.ini");
    writeFile(p, "[Options]\n"
                 "Working Directory=C:\\Lessons\\\n"
                 "Next=still here\n"
                 "List = a, b ; c # d  \n"
                 "Quoted=\"x\"\n"
                 "Escapes=%20\\n\\t\n"
                 "Empty=\n"
                 "Equals=a=b=c\n"
                 "; Comment=not a key\n"
                 "no equals sign here\n");
    IniFile ini(p);
    // A trailing backslash does not join the next line.
    QCOMPARE(ini.readString("Options", "Working Directory", ""), QString("C:\\Lessons\\"));
    QCOMPARE(ini.readString("Options", "Next", ""), QString("still here"));
    QCOMPARE(ini.readString("Options", "List", ""), QString("a, b ; c # d"));
    QCOMPARE(ini.readString("Options", "Quoted", ""), QString("\"x\""));
    QCOMPARE(ini.readString("Options", "Escapes", ""), QString("%20\\n\\t"));
    QCOMPARE(ini.readString("Options", "Equals", ""), QString("a=b=c"));
    // Present but empty is empty, not the default.
    QCOMPARE(ini.readString("Options", "Empty", "def"), QString());
    QVERIFY(ini.valueExists("Options", "Empty"));
    QVERIFY(!ini.valueExists("Options", "; Comment"));
    QCOMPARE(ini.readSection("Options"),
             QStringList({"Working Directory", "Next", "List", "Quoted", "Escapes", "Empty", "Equals"}));
}

void TestIniFile::keepsLongValuesWhole()
{
    // Paths reach 4,096 characters; a value read and written back stays whole.
    const QString p = path("long.ini");
    const QByteArray longValue = "/" + QByteArray(2999, 'x');
    writeFile(p, "[S]\nLong=" + longValue + "\n");
    IniFile ini(p);
    QCOMPARE(ini.readString("S", "Long", "").toLatin1(), longValue);
    ini.writeString("S", "Other", "1");
    ini.writeString("S", "Long", ini.readString("S", "Long", ""));
    QCOMPARE(readFile(p), "[S]\nLong=" + longValue + "\nOther=1\n");
}

void TestIniFile::readsNumbersByTheProgramsRule()
{
    const QString p = path("numbers.ini");
    writeFile(p, "[N]\nHex=0x20\nWord=true\nTwo=2\nZero=0\nEmpty=\nHuge=2147483648\n");
    IniFile ini(p);
    QCOMPARE(ini.readInteger("N", "Hex", 24), 32);
    QCOMPARE(ini.readInteger("N", "Word", 24), 24);
    QCOMPARE(ini.readInteger("N", "Huge", 24), 24);
    QCOMPARE(ini.readInteger("N", "Empty", 24), 24);
    QCOMPARE(ini.readBool("N", "Two", false), true);
    QCOMPARE(ini.readBool("N", "Zero", true), false);
    QCOMPARE(ini.readBool("N", "Word", true), true);
    QCOMPARE(ini.readBool("N", "Word", false), false);
    QCOMPARE(ini.readBool("N", "Missing", true), true);
}

void TestIniFile::writeUpdatesInPlaceAndKeepsEverythingElse()
{
    const QString p = path("inplace.ini");
    writeFile(p, "; written by hand\r\n"
                 "[options]\r\n"
                 "Unknown Key=keep me\r\n"
                 "bold kanji=true\r\n"
                 "  ; a comment inside\r\n"
                 "Skin=Blue\r\n"
                 "\r\n"
                 "[Other]\r\n"
                 "Bold Kanji=untouched\r\n");
    IniFile ini(p);
    ini.writeBool("Options", "Bold Kanji", true);
    QCOMPARE(readFile(p), QByteArray("; written by hand\r\n"
                                     "[options]\r\n"
                                     "Unknown Key=keep me\r\n"
                                     "Bold Kanji=1\r\n"
                                     "  ; a comment inside\r\n"
                                     "Skin=Blue\r\n"
                                     "\r\n"
                                     "[Other]\r\n"
                                     "Bold Kanji=untouched\r\n"));
    // A file of lone carriage returns keeps them.
    writeFile(p, "[options]\rSkin=Blue\r");
    ini.writeBool("Options", "Bold Kanji", false);
    QCOMPARE(readFile(p), QByteArray("[options]\rSkin=Blue\rBold Kanji=0\r"));
}

void TestIniFile::writeAppendsKeyToItsSection()
{
    const QString p = path("append.ini");
    writeFile(p, "[Options]\n"
                 "A=1\n"
                 "; trailing comment\n"
                 "\n"
                 "\n"
                 "[Text Direction]\n"
                 "; no keys yet\n");
    IniFile ini(p);
    ini.writeInteger("Options", "New", -3);
    ini.writeInteger("Text Direction", "C", 4);
    QCOMPARE(readFile(p), QByteArray("[Options]\n"
                                     "A=1\n"
                                     "New=-3\n"
                                     "; trailing comment\n"
                                     "\n"
                                     "\n"
                                     "[Text Direction]\n"
                                     "C=4\n"
                                     "; no keys yet\n"));
}

void TestIniFile::writeKeepsValueOnOneLine()
{
    const QString p = path("oneline.ini");
    IniFile ini(p);
    ini.writeString("S", "Name", "two\nlines\r\n[Injected]\rx");
    QCOMPARE(ini.readSections(), QStringList({"S"}));
    QVERIFY(ini.sectionExists("s"));
    QCOMPARE(ini.readString("S", "Name", ""), QString("two lines [Injected] x"));
}

void TestIniFile::decodesLineByLineAndKeepsUnchangedLines()
{
    const QString p = path("mixed.ini");
    // A UTF-8 path the program wrote, and a font name typed by hand on
    // Windows: "Café", the euro sign and an en dash in Windows-1252.
    const QByteArray utf8Path = "Working Directory=/home/j\xC3\xBCrgen/\xE6\xB1\x89\xE5\xAD\x97/";
    const QByteArray cp1252Font = "Kanji Font=Caf\xE9 \x80\x96";
    const QByteArray notes = "; by hand\r\n; Caf\xE9\r\n\xA0\r\n \r\n\r\n"; // a no-break space is blank
    writeFile(p, notes + "[Options]\r\n" + utf8Path + "\r\n" + cp1252Font + "\r\nOther=\x91x\r\n");
    IniFile ini(p);
    QCOMPARE(ini.readString("Options", "Working Directory", ""), QString::fromUtf8("/home/jürgen/汉字/"));
    QCOMPARE(ini.readString("Options", "Kanji Font", ""), QString::fromUtf8("Café €–"));
    QCOMPARE(ini.readString("Options", "Other", ""), QString::fromUtf8("‘x"));
    // Lines the program writes are UTF-8; the others keep their bytes.
    ini.writeString("Options", "Skin", QString::fromUtf8("汉字"));
    ini.writeString("Options", "Other", QString::fromUtf8("‘y"));
    QCOMPARE(readFile(p), notes + "[Options]\r\n" + utf8Path + "\r\n" + cp1252Font
                              + "\r\nOther=\xE2\x80\x98y\r\nSkin=\xE6\xB1\x89\xE5\xAD\x97\r\n");
    QCOMPARE(ini.readString("Options", "Working Directory", ""), QString::fromUtf8("/home/jürgen/汉字/"));
    QCOMPARE(ini.readString("Options", "Kanji Font", ""), QString::fromUtf8("Café €–"));
    // A UTF-8 byte-order mark is not part of the first line.
    writeFile(p, "\xEF\xBB\xBF[Options]\nSkin=\xE7\xBA\xA2\n");
    QCOMPARE(ini.readString("Options", "Skin", ""), QString::fromUtf8("红"));
}

void TestIniFile::eachWriteRereadsTheFile()
{
    const QString p = path("twowriters.ini");
    IniFile mainWindow(p);
    mainWindow.writeString("Options", "Skin", "Blue");
    QCOMPARE(mainWindow.readString("Options", "Skin", ""), QString("Blue")); // cached now

    // Another writer changes the file between two writes of the first.
    IniFile reminder(p);
    reminder.writeBool("Options", "Show Reminder", false);
    writeFile(p, readFile(p) + "[Hand]\nEdited=yes\n");

    mainWindow.writeInteger("Options", "Fontsize-Kanji", 30);
    IniFile fresh(p);
    QCOMPARE(fresh.readBool("Options", "Show Reminder", true), false);
    QCOMPARE(fresh.readString("Hand", "Edited", ""), QString("yes"));
    QCOMPARE(fresh.readInteger("Options", "Fontsize-Kanji", 0), 30);
    QCOMPARE(fresh.readString("Options", "Skin", ""), QString("Blue"));
}

void TestIniFile::readsSeeChangesByOthers()
{
    const QString p = path("cache.ini");
    writeFile(p, "[S]\nK=1\n");
    IniFile reader(p);
    QCOMPARE(reader.readString("S", "K", ""), QString("1"));
    // A same-size change through another object of this process, even under the old time stamp.
    const QDateTime stamp = QFileInfo(p).lastModified();
    IniFile other(p);
    other.writeString("S", "K", "2");
    QFile same(p);
    QVERIFY(same.open(QIODevice::ReadWrite) && same.setFileTime(stamp, QFileDevice::FileModificationTime));
    QCOMPARE(reader.readString("S", "K", ""), QString("2"));
    // A change from outside the program.
    writeFile(p, "[S]\nK=three\n");
    QCOMPARE(reader.readString("S", "K", ""), QString("three"));
    QFile::remove(p);
    QCOMPARE(reader.readString("S", "K", "gone"), QString("gone"));
}

void TestIniFile::sectionListsKeepFileOrder()
{
    const QString p = path("order.ini");
    writeFile(p, "[Lessons]\n2=c:\\b.kvl\n0=/a.kvl\nx=odd key\n; note\n1=/with=equals.kvl\n[Session]\nPosition=5\n");
    IniFile ini(p);
    QCOMPARE(ini.readSection("lessons"), QStringList({"2", "0", "x", "1"}));
    QCOMPARE(ini.readSectionValues("Lessons"),
             QStringList({"2=c:\\b.kvl", "0=/a.kvl", "x=odd key", "1=/with=equals.kvl"}));
    QCOMPARE(ini.readEntries("Lessons"),
             QList<IniEntry>({{"2", "c:\\b.kvl"}, {"0", "/a.kvl"}, {"x", "odd key"}, {"1", "/with=equals.kvl"}}));
    QCOMPARE(ini.readValues("LESSONS"), QStringList({"c:\\b.kvl", "/a.kvl", "odd key", "/with=equals.kvl"}));
    QVERIFY(ini.readSection("Nothing").isEmpty());
    QVERIFY(ini.readValues("Nothing").isEmpty());
}

void TestIniFile::replaceSectionKeepsPlaceAndOtherSections()
{
    const QString p = path("replace.ini");
    writeFile(p, "[Session]\nPosition=3\n\n[Lessons]\n0=/old.kvl\n9=/stale.kvl\n\n[Mine]\nkeep=yes\n");
    IniFile ini(p);
    ini.replaceSection("Lessons", {{"0", "/a.kvl"}, {"1", "/b.kvl"}});
    ini.replaceSection("Session", {{"Position", "5"}});
    QCOMPARE(readFile(p), QByteArray("[Session]\nPosition=5\n\n[Lessons]\n0=/a.kvl\n1=/b.kvl\n\n"
                                     "[Mine]\nkeep=yes\n"));
    ini.replaceSection("New", {});
    QCOMPARE(ini.readSections(), QStringList({"Session", "Lessons", "Mine", "New"}));
    ini.deleteKey("mine", "KEEP");
    ini.eraseSection("lessons");
    QCOMPARE(readFile(p), QByteArray("[Session]\nPosition=5\n\n[Mine]\n\n[New]\n"));
    // A section written twice is replaced once, where it first stood.
    writeFile(p, "[Lessons]\n0=/x.kvl\n\n[Mine]\nkeep=yes\n\n[lessons]\n1=/y.kvl\n");
    ini.replaceSection("Lessons", {{"0", "/a.kvl"}});
    QCOMPARE(readFile(p), QByteArray("[Lessons]\n0=/a.kvl\n\n[Mine]\nkeep=yes\n\n"));
}

void TestIniFile::failedWriteThrowsAndKeepsOldFile()
{
    auto failure = [](const QString &file) -> QString {
        try {
            IniFile(file).writeString("Options", "Skin", "x");
        } catch (const korvana::IniWriteError &e) {
            return e.message() + " (" + e.reason() + ")";
        }
        return "written";
    };
    // A folder in the way of the file's own folder: the write cannot be done,
    // whoever runs the test.
    writeFile(path("blocker"), "not a folder");
    QVERIFY(failure(path("blocker/korvana.ini")).startsWith("Unable to write to korvana.ini ("));
    // A name that is a folder cannot be read, so it must not be replaced.
    QVERIFY(QDir(m_dir.path()).mkpath("folder.ini/inside"));
    QCOMPARE(failure(path("folder.ini")), QString("Unable to write to folder.ini (is a folder)"));
    QVERIFY(QFileInfo(path("folder.ini/inside")).isDir());
    // A link to a file in a missing folder reads as missing; its write says why it failed.
    QVERIFY(QFile::link(path("gone/korvana.ini"), path("link.ini")));
    QCOMPARE(failure(path("link.ini")), QString("Unable to write to link.ini (no such file or folder)"));

    // A missing folder is made; no temporary file is left beside the file.
    IniFile fresh(path("new/deeper/korvana.ini"));
    fresh.writeBool("Options", "Show Reminder", false);
    QCOMPARE(readFile(path("new/deeper/korvana.ini")), QByteArray("[Options]\nShow Reminder=0\n"));
    QCOMPARE(QDir(path("new/deeper")).entryList(QDir::Files), QStringList({"korvana.ini"}));
    // A commit with no batch begun writes nothing.
    fresh.commitBatch();
    QCOMPARE(readFile(path("new/deeper/korvana.ini")), QByteArray("[Options]\nShow Reminder=0\n"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
