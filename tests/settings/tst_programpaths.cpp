#include "settings/ProgramPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using korvana::ProgramPaths;

class TestProgramPaths : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    void touch(const QString &relative)
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

private slots:
    void cleanup();
    void programFolderIsTheExecutablesFolder();
    void dataFilesPreferTheProgramFolder();
    void userFoldersFollowXdg();
    void skinNamesStayInsideTheSkinsFolder_data();
    void skinNamesStayInsideTheSkinsFolder();
};

void TestProgramPaths::cleanup()
{
    ProgramPaths::setProgramFolder(QString());
}

void TestProgramPaths::programFolderIsTheExecutablesFolder()
{
    QCOMPARE(ProgramPaths::programFolder(), QCoreApplication::applicationDirPath() + "/");
    ProgramPaths::setProgramFolder("C:\\Korvana");
    QCOMPARE(ProgramPaths::programFolder(), QString("C:/Korvana/"));
    ProgramPaths::setProgramFolder(QString());
    QCOMPARE(ProgramPaths::programFolder(), QCoreApplication::applicationDirPath() + "/");
}

void TestProgramPaths::dataFilesPreferTheProgramFolder()
{
    const QString bin = m_dir.filePath("prefix/bin") + "/";
    ProgramPaths::setProgramFolder(bin);
    QCOMPARE(ProgramPaths::installedDataFolder(), m_dir.filePath("prefix/share/korvana") + "/");

    // Nowhere: the program folder's path, for the message that names it.
    QCOMPARE(ProgramPaths::defaultDictionary(), bin + "dict/cedict_gb.uni");
    // Only installed.
    touch("prefix/share/korvana/dict/cedict_gb.uni");
    QCOMPARE(ProgramPaths::defaultDictionary(), m_dir.filePath("prefix/share/korvana/dict/cedict_gb.uni"));
    // Beside the program as well: that copy wins.
    touch("prefix/bin/dict/cedict_gb.uni");
    QCOMPARE(ProgramPaths::defaultDictionary(), bin + "dict/cedict_gb.uni");

    // Folders are found the same way.
    touch("prefix/share/korvana/skins/Blue/skin.ini");
    QCOMPARE(ProgramPaths::skinsFolder(), m_dir.filePath("prefix/share/korvana/skins") + "/");
    QCOMPARE(ProgramPaths::skinFolder("Blue"), m_dir.filePath("prefix/share/korvana/skins/Blue") + "/");
}

void TestProgramPaths::userFoldersFollowXdg()
{
    qputenv("XDG_CONFIG_HOME", m_dir.filePath("cfg").toUtf8());
    qputenv("XDG_DATA_HOME", m_dir.filePath("data").toUtf8());
    QCOMPARE(ProgramPaths::configFolder(), m_dir.filePath("cfg/korvana") + "/");
    QCOMPARE(ProgramPaths::userDataFolder(), m_dir.filePath("data/korvana") + "/");
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
}

void TestProgramPaths::skinNamesStayInsideTheSkinsFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << "Blue Sky" << true;
    QTest::newRow("dots inside") << "v1..2" << true;
    QTest::newRow("parent") << ".." << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("slash") << "../etc" << false;
    QTest::newRow("backslash") << "..\\Windows" << false;
    QTest::newRow("line break") << "a\nb" << false;
}

void TestProgramPaths::skinNamesStayInsideTheSkinsFolder()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    ProgramPaths::setProgramFolder(m_dir.path());
    QCOMPARE(ProgramPaths::isSafeFolderName(name), safe);
    QCOMPARE(ProgramPaths::skinFolder(name).isEmpty(), !safe);
    if (safe)
        QCOMPARE(ProgramPaths::skinFolder(name), m_dir.path() + "/skins/" + name + "/");
}

QTEST_GUILESS_MAIN(TestProgramPaths)
#include "tst_programpaths.moc"
