#include "platform/ini/IniFile.h"
#include "platform/ui/Errors.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "support/ChildProcess.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace korvana;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_programFolder;
    QString dirPath(const QString &name) const { return m_dir->filePath(name); }
    QString defaultDictionary() const { return m_programFolder + "dict/cedict_gb.uni"; }

    // Reads the settings file the way the main window does at its creation.
    void load(MainSettings &s, TextDirections &d) { SettingsFile::load(s, d); }

private slots:
    void init();
    void cleanup();

    void settingsFileLivesInConfigFolder();
    void firstCloseWritesEveryKey();
    void roundTripOfEveryKeyType();
    void eachPaneHasKeysOfItsOwn();
    void badValuesTakeDefaults_data();
    void badValuesTakeDefaults();
    void existingDictionaryIsKept();
    void windowsStyleFile();
    void reminderWriteSurvivesClosingWrite();
    void unwritableFileIsReported();
    void workingFolderDefaultsToOneTheUserMayWrite();
    void oversizedFileIsRefusedAndKept();
};

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_programFolder = dirPath("bin") + "/";
    QDir().mkpath(m_programFolder);
    ProgramPaths::setProgramFolder(m_programFolder);
    qputenv("XDG_CONFIG_HOME", dirPath("config").toUtf8());
    qputenv("XDG_DATA_HOME", dirPath("data").toUtf8());
}

void TestSettingsFile::cleanup()
{
    ProgramPaths::setProgramFolder(QString());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    m_dir.reset();
}

void TestSettingsFile::settingsFileLivesInConfigFolder()
{
    QCOMPARE(SettingsFile::path(), dirPath("config") + "/korvana/korvana.ini");
}

void TestSettingsFile::firstCloseWritesEveryKey()
{
    // No settings file: every field takes its default, which the file
    // written at closing shows key by key.
    MainSettings s;
    TextDirections d{false, false, false, false};
    load(s, d);
    QCOMPARE(d, TextDirections());
    QCOMPARE(SettingsFile::showReminder(), true);
    QVERIFY(!QFile::exists(SettingsFile::path())); // reading creates nothing
    ScopedScriptedDialogs dialogs;
    QVERIFY(SettingsFile::save(s, d));
    QVERIFY(dialogs.dialogs.messages.empty());
    const QByteArray expected = "[Options]\n"
                                "Auto save lessons on exit=0\n"
                                "Working Directory="
                                + m_programFolder.toUtf8()
                                + "\n"
                                  "Dictionary="
                                + defaultDictionary().toUtf8()
                                + "\n"
                                  "Skin=*standard*\n"
                                  "Fontsize-Translation=11\n"
                                  "Fontsize-Pinyin=11\n"
                                  "Show Pinyin tones in color=0\n"
                                  "Fontsize-Kanji=24\n"
                                  "Fontsize-Notes=11\n"
                                  "Show reading progress=1\n"
                                  "Sound file excludes synthesis=1\n"
                                  "Set Kanji Font=0\n"
                                  "Kanji Font=SimSun\n"
                                  "Bold Kanji=0\n"
                                  "Rotate Kanji=0\n"
                                  "Set Kanji Color=0\n"
                                  "Kanji Color=clBlack\n"
                                  "Set Kanji Background Color=0\n"
                                  "Kanji Background Color=clCream\n"
                                  "Display Screen Background=0\n"
                                  "Display ToolBar=0\n"
                                  "External Editor=\n"
                                  "Edit in Word=1\n"
                                  "Show Hanzi Info=1\n"
                                  "Show Hidden Content On Mouse Hover=1\n"
                                  "Screen Background Color=$00404000\n"
                                  "\n"
                                  "[Text Direction]\n"
                                  "Hanzi Left to Right=1\n"
                                  "Translation Left to Right=1\n"
                                  "Pronounciation Left to Right=1\n"
                                  "Notes Left to Right=1\n";
    QCOMPARE(readBytes(SettingsFile::path()), expected);
}

void TestSettingsFile::roundTripOfEveryKeyType()
{
    writeBytes(dirPath("lessons/my.uni"), "dictionary");
    MainSettings s;
    s.autoSaveLessons = true;
    s.workingDirectory = QString::fromUtf8("/home/jan/课程 (2), ;x/");
    s.dictionaryFile = dirPath("lessons/my.uni");
    s.selectedSkin = "Blue Sky";
    s.fontSizes[Pane::Translation] = 9;
    s.fontSizes[Pane::Pinyin] = 4;
    s.fontSizes[Pane::Characters] = 400;
    s.fontSizes[Pane::Notes] = 13;
    s.showReadingProgress = false;
    s.soundExcludesSynthesis = false;
    s.useCharactersFont = true;
    s.charactersFont = "@Noto Sans CJK SC";
    s.showToneColours = true;
    s.useCharactersColor = true;
    s.charactersColor = colors::clWindowText; // a named system colour
    s.useCharactersBackgroundColor = true;
    s.charactersBackgroundColor = 0x80000019; // a system colour without a name
    s.boldCharacters = true;
    s.rotateCharacters = true;
    s.externalEditor = "/usr/bin/gedit";
    s.editInWordProcessor = false;
    s.characterInfoOnHover = true; // unlike the hidden content written beside it
    s.showHiddenOnHover = false;
    s.screenBackgroundColor = 0x00ABCDEF;
    s.displayScreenBackground = true;
    s.displayToolBar = false; // unlike the screen background written beside it
    TextDirections d;
    d.leftToRight[Pane::Pinyin] = false;
    d.leftToRight[Pane::Characters] = false;
    QVERIFY(SettingsFile::save(s, d));

    MainSettings back;
    TextDirections backDirections;
    load(back, backDirections);
    QCOMPARE(back, s);
    QCOMPARE(backDirections, d);
    const IniFile ini(SettingsFile::path());
    QCOMPARE(ini.readString("Options", "Kanji Color", ""), QString("clWindowText"));
    QCOMPARE(ini.readString("Options", "Kanji Background Color", ""), QString("$80000019"));
    QCOMPARE(ini.readString("Options", "Screen Background Color", ""), QString("$00ABCDEF"));
    QCOMPARE(ini.readString("Text Direction", "Hanzi Left to Right", ""), QString("0"));
}

void TestSettingsFile::eachPaneHasKeysOfItsOwn()
{
    // One pane changed at a time: only its own keys change in the file, and
    // it alone reads back changed.
    const struct {
        Pane pane;
        QString size, direction;
    } keys[] = {{Pane::Translation, "Fontsize-Translation", "Translation Left to Right"},
                {Pane::Pinyin, "Fontsize-Pinyin", "Pronounciation Left to Right"},
                {Pane::Characters, "Fontsize-Kanji", "Hanzi Left to Right"},
                {Pane::Notes, "Fontsize-Notes", "Notes Left to Right"}};
    for (const auto &changed : keys) {
        QFile::remove(SettingsFile::path());
        MainSettings s;
        TextDirections d;
        load(s, d);
        s.fontSizes[changed.pane] = 30;
        d.leftToRight[changed.pane] = false;
        QVERIFY(SettingsFile::save(s, d));
        const IniFile ini(SettingsFile::path());
        for (const auto &k : keys) {
            const bool own = k.pane == changed.pane;
            QCOMPARE(ini.readInteger("Options", k.size, 0) == 30, own);
            QCOMPARE(ini.readString("Text Direction", k.direction, ""), QString(own ? "0" : "1"));
        }
        MainSettings back;
        TextDirections backDirections;
        load(back, backDirections);
        QCOMPARE(back, s);
        QCOMPARE(backDirections, d);
    }
}

void TestSettingsFile::badValuesTakeDefaults_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("writtenBack");

    QTest::newRow("boolean as word") << "Bold Kanji"
                                     << "true"
                                     << "0";
    QTest::newRow("boolean 2") << "Bold Kanji"
                               << "2"
                               << "1";
    QTest::newRow("default-true boolean as word") << "Edit in Word"
                                                  << "false"
                                                  << "1";
    QTest::newRow("integer in hex") << "Fontsize-Kanji"
                                    << "0x20"
                                    << "32";
    QTest::newRow("integer as word") << "Fontsize-Kanji"
                                     << "big"
                                     << "24";
    QTest::newRow("integer beyond 32 bits") << "Fontsize-Notes"
                                            << "99999999999"
                                            << "11";
    QTest::newRow("size 0") << "Fontsize-Kanji"
                            << "0"
                            << "4";
    QTest::newRow("size negative") << "Fontsize-Pinyin"
                                   << "-5"
                                   << "4";
    QTest::newRow("size 5000") << "Fontsize-Translation"
                               << "5000"
                               << "400";
    QTest::newRow("size 32-bit maximum") << "Fontsize-Notes"
                                         << "2147483647"
                                         << "400";
    QTest::newRow("colour without name") << "Kanji Color"
                                         << "white"
                                         << "clBlack";
    QTest::newRow("colour name in other case") << "Kanji Color"
                                               << "CLWHITE"
                                               << "clWhite";
    QTest::newRow("colour as number") << "Kanji Color"
                                      << "255"
                                      << "clRed";
    QTest::newRow("system colour as hex") << "Screen Background Color"
                                          << "$80000005"
                                          << "clWindow";
    QTest::newRow("system colour as decimal") << "Screen Background Color"
                                              << "-2147483643"
                                              << "clWindow";
    QTest::newRow("colour empty") << "Kanji Background Color"
                                  << ""
                                  << "clCream";
    QTest::newRow("colour -1") << "Screen Background Color"
                               << "-1"
                               << "$00404000";
    QTest::newRow("last system colour") << "Screen Background Color"
                                        << "$8000001E"
                                        << "clMenuBar";
    QTest::newRow("colour past the system colours") << "Kanji Color"
                                                    << "$8000001F"
                                                    << "clBlack";
    QTest::newRow("colour with a high byte") << "Kanji Color"
                                             << "$01000000"
                                             << "clBlack";
    QTest::newRow("font name with NUL") << "Kanji Font" << QString("Sim") + QChar(0) + "Sun"
                                        << "Sim";
    QTest::newRow("skin leading out") << "Skin"
                                      << "..\\..\\Windows"
                                      << "*standard*";
    QTest::newRow("skin with separator") << "Skin"
                                         << "a/b"
                                         << "*standard*";
    QTest::newRow("skin dot dot") << "Skin"
                                  << ".."
                                  << "*standard*";
    QTest::newRow("skin empty") << "Skin"
                                << ""
                                << "*standard*";
    QTest::newRow("skin in other case") << "Skin"
                                        << "*Standard*"
                                        << "*Standard*";
    QTest::newRow("missing dictionary") << "Dictionary"
                                        << "/nowhere/x.uni"
                                        << "<default>";
    QTest::newRow("working directory") << "Working Directory"
                                       << "D:\\Lessons\\"
                                       << "D:/Lessons/";
}

void TestSettingsFile::badValuesTakeDefaults()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, writtenBack);
    writeBytes(SettingsFile::path(), ("[Options]\n" + key + "=" + value + "\n").toUtf8());
    MainSettings s;
    TextDirections d;
    load(s, d);
    QVERIFY(SettingsFile::save(s, d));
    if (writtenBack == "<default>")
        writtenBack = defaultDictionary();
    QCOMPARE(IniFile(SettingsFile::path()).readString("Options", key, "<missing>"), writtenBack);
    QVERIFY(!readBytes(SettingsFile::path()).contains('\0'));
}

void TestSettingsFile::existingDictionaryIsKept()
{
    // A dictionary stored with Windows separators that exists once they are
    // read as "/".
    const QString dict = dirPath("dicts/handedict.uni");
    writeBytes(dict, "x");
    QString stored = dict;
    stored.replace('/', '\\');
    writeBytes(SettingsFile::path(), ("[Options]\nDictionary=" + stored + "\n").toUtf8());
    MainSettings s;
    TextDirections d;
    load(s, d);
    QCOMPARE(s.dictionaryFile, dict);

    // The default dictionary is found in the installed data folder when the
    // program folder has none.
    writeBytes(dirPath("share/korvana/dict/cedict_gb.uni"), "x");
    writeBytes(SettingsFile::path(), "[Options]\nDictionary=/gone.uni\n");
    load(s, d);
    QCOMPARE(QFileInfo(s.dictionaryFile).canonicalFilePath(),
             QFileInfo(dirPath("share/korvana/dict/cedict_gb.uni")).canonicalFilePath());
}

void TestSettingsFile::windowsStyleFile()
{
    writeBytes(SettingsFile::path(), readBytes(QStringLiteral(KORVANA_TEST_DATA "/settings/windows.ini")));
    QVERIFY(readBytes(SettingsFile::path()).contains("\r\n[Text Direction]\r\n"));
    MainSettings s;
    TextDirections d;
    load(s, d);
    QCOMPARE(s.autoSaveLessons, true);
    QCOMPARE(s.workingDirectory, QString("C:/Users/Jan/Lessons/"));
    QCOMPARE(s.dictionaryFile, defaultDictionary()); // not on this machine
    QCOMPARE(s.selectedSkin, QString("Blue Sky"));
    QCOMPARE(s.fontSizes[Pane::Characters], 32);
    QCOMPARE(s.fontSizes[Pane::Translation], 11);
    QCOMPARE(s.charactersFont, QString::fromUtf8("Ming Light é"));
    QCOMPARE(s.boldCharacters, false);
    QCOMPARE(s.rotateCharacters, true);
    QCOMPARE(s.charactersColor, colors::clWhite);
    QCOMPARE(s.charactersBackgroundColor, colors::clCream);
    QCOMPARE(s.screenBackgroundColor, quint32(0x80000005));
    QCOMPARE(s.externalEditor, QString("C:/Windows/notepad.exe"));
    TextDirections charactersRightToLeft;
    charactersRightToLeft.leftToRight[Pane::Characters] = false;
    QCOMPARE(d, charactersRightToLeft);
    QCOMPARE(SettingsFile::showReminder(), false);

    QVERIFY(SettingsFile::save(s, d));
    const QByteArray expected = "; Korvana settings, written on Windows\r\n"
                                "[options]\r\n"
                                "Auto save lessons on exit=1\r\n"
                                "Working Directory=C:/Users/Jan/Lessons/\r\n"
                                "Dictionary="
                                + defaultDictionary().toUtf8()
                                + "\r\n"
                                  "Skin=Blue Sky\r\n"
                                  "Window Left=120\r\n"
                                  "Fontsize-Kanji=32\r\n"
                                  "Kanji Font=Ming Light \xC3\xA9\r\n"
                                  "Bold Kanji=0\r\n"
                                  "Rotate Kanji=1\r\n"
                                  "Kanji Color=clWhite\r\n"
                                  "Kanji Background Color=clCream\r\n"
                                  "Screen Background Color=clWindow\r\n"
                                  "External Editor=C:/Windows/notepad.exe\r\n"
                                  "Show Reminder=0\r\n"
                                  "Fontsize-Translation=11\r\n"
                                  "Fontsize-Pinyin=11\r\n"
                                  "Show Pinyin tones in color=0\r\n"
                                  "Fontsize-Notes=11\r\n"
                                  "Show reading progress=1\r\n"
                                  "Sound file excludes synthesis=1\r\n"
                                  "Set Kanji Font=0\r\n"
                                  "Set Kanji Color=0\r\n"
                                  "Set Kanji Background Color=0\r\n"
                                  "Display Screen Background=0\r\n"
                                  "Display ToolBar=0\r\n"
                                  "Edit in Word=1\r\n"
                                  "Show Hanzi Info=1\r\n"
                                  "Show Hidden Content On Mouse Hover=1\r\n"
                                  "\r\n"
                                  "[Text Direction]\r\n"
                                  "Hanzi Left to Right=0\r\n"
                                  "Notes Left to Right=1\r\n"
                                  "Pronounciation Left to Right=1\r\n"
                                  "Translation Left to Right=1\r\n"
                                  "\r\n"
                                  "[Recent]\r\n"
                                  "File1=C:\\Lessons\\hsk1.kvl\r\n";
    QCOMPARE(readBytes(SettingsFile::path()), expected);
}

void TestSettingsFile::reminderWriteSurvivesClosingWrite()
{
    MainSettings s;
    TextDirections d;
    load(s, d); // the main window is created
    // The reminder, shown at the first activation, is switched off for good.
    SettingsFile::setShowReminder(false);
    QCOMPARE(readBytes(SettingsFile::path()), QByteArray("[Options]\nShow Reminder=0\n"));
    // Meanwhile another copy of the program changed a key the closing write
    // does not touch.
    IniFile(SettingsFile::path()).writeString("Options", "Window Left", "5");
    s.selectedSkin = "Mine";
    QVERIFY(SettingsFile::save(s, d)); // the main window closes
    const IniFile ini(SettingsFile::path());
    QCOMPARE(ini.readBool("Options", "Show Reminder", true), false);
    QCOMPARE(ini.readString("Options", "Window Left", ""), QString("5"));
    QCOMPARE(ini.readString("Options", "Skin", ""), QString("Mine"));
    QCOMPARE(SettingsFile::showReminder(), false);
}

void TestSettingsFile::unwritableFileIsReported()
{
    // The configuration folder is a file: nothing can be written below it.
    writeBytes(dirPath("blocked"), "a file");
    qputenv("XDG_CONFIG_HOME", dirPath("blocked").toUtf8());
    MainSettings s;
    TextDirections d;
    load(s, d);
    ScopedScriptedDialogs dialogs;
    QVERIFY(!SettingsFile::save(s, d));
    QCOMPARE(dialogs.dialogs.messages.size(), size_t(1));
    QCOMPARE(
        dialogs.dialogs.messages[0].text,
        QString("Unable to open file korvana.ini, current settings were not saved (a folder in the path is a file)"));
    QVERIFY(dialogs.dialogs.messages[0].buttons == MsgButtons::Ok);
    QCOMPARE(readBytes(dirPath("blocked")), QByteArray("a file"));

    try {
        SettingsFile::setShowReminder(false);
        QFAIL("the reminder's write should have failed");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QString("Unable to write to korvana.ini"));
    }

    // A settings file this user may write but not read is not replaced by
    // one that holds only what was saved now.
    qputenv("XDG_CONFIG_HOME", dirPath("config").toUtf8());
    const QString ini = SettingsFile::path();
    writeBytes(ini, "[Options]\nSkin=Mine\n");
    QVERIFY(childtest::setMode(m_dir->path(), 0755) && childtest::setMode(dirPath("config"), 0755));
    QVERIFY(childtest::setMode(dirPath("config/korvana"), 0777) && childtest::setMode(ini, 0622));
    QCOMPARE(
        childtest::asUnprivilegedUser([&] {
            ScopedScriptedDialogs child;
            const bool saved = SettingsFile::save(s, d);
            return QByteArray(saved ? "saved" : "refused: ")
                   + (child.dialogs.messages.empty() ? QString() : child.dialogs.messages[0].text).toUtf8();
        }),
        QByteArray("refused: Unable to open file korvana.ini, current settings were not saved (permission denied)"));
    QCOMPARE(readBytes(ini), QByteArray("[Options]\nSkin=Mine\n"));
}

void TestSettingsFile::workingFolderDefaultsToOneTheUserMayWrite()
{
    // An installed program's folder: the user cannot write there.
    QVERIFY(childtest::setMode(m_dir->path(), 0755) && childtest::setMode(m_programFolder, 0555));
    writeBytes(dirPath("kept.ini"), "[Options]\nWorking Directory=/kept/\n");
    auto workingFolder = [](const QString &ini) {
        MainSettings s;
        TextDirections d;
        readSettings(IniFile(ini), s, d);
        return s.workingDirectory.toUtf8();
    };
    QCOMPARE(childtest::asUnprivilegedUser([&] {
                 qputenv("HOME", "/home/learner");
                 return workingFolder(dirPath("none.ini")) + "|" + workingFolder(dirPath("kept.ini"));
             }),
             QByteArray("/home/learner/|/kept/"));
    QCOMPARE(workingFolder(dirPath("none.ini")), m_programFolder.toUtf8()); // root may write there
    // Installed (its data in <prefix>/share/korvana): never beside the program, even for root.
    QVERIFY(QDir().mkpath(ProgramPaths::installedDataFolder()));
    QCOMPARE(workingFolder(dirPath("none.ini")), (QDir::homePath() + u'/').toUtf8());
}

void TestSettingsFile::oversizedFileIsRefusedAndKept()
{
    // Over the bound of ini files: read as missing, said so at start, and
    // not replaced by the defaults at closing.
    const QByteArray big = "[Options]\nFontsize-Kanji=30\n" + QByteArray(IniFile::MaxFileBytes, '\n');
    writeBytes(SettingsFile::path(), big);
    ScopedScriptedDialogs dialogs;
    MainSettings s;
    TextDirections d;
    load(s, d);
    QCOMPARE(s.fontSizes[Pane::Characters], 24);
    QCOMPARE(dialogs.dialogs.messages.size(), size_t(1));
    QCOMPARE(dialogs.dialogs.lastMessage(),
             QString("korvana.ini was not read (too large); the default settings are used"));
    QVERIFY(!SettingsFile::save(s, d));
    QCOMPARE(dialogs.dialogs.lastMessage(),
             QString("Unable to open file korvana.ini, current settings were not saved (too large)"));
    QCOMPARE(readBytes(SettingsFile::path()).size(), big.size());
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
