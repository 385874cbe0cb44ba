// The main window's dictionary: loaded at start from the setting or the
// default beside the program, reloaded by loadDictionary, failures in the status
// line only, and the searches over the loaded text.
#include "app/DictionaryLoader.h"
#include "reference/Dictionary.h"
#include "reference/DictionaryData.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "support/AppTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

namespace {

const QString Fixtures = QStringLiteral(KORVANA_TEST_DATA "/dict");

QString sampleText()
{
    return loadDictionaryText(Fixtures + QStringLiteral("/sample.uni"));
}

} // namespace

class TestMainWindowDictionary : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    std::unique_ptr<ScopedScriptedDialogs> m_dialogs;

    QString defaultDictionary() const { return m_program.filePath(QStringLiteral("dict/cedict_gb.uni")); }

    static void writeSettings(const QString &dictionary)
    {
        apptest::writeFile(SettingsFile::path(), "[Options]\r\nDictionary=" + dictionary.toUtf8() + "\r\n");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_program.isValid());
        apptest::useHomeFolders(m_home);
        apptest::useFakeVoice();
        ProgramPaths::setProgramFolder(m_program.path());
    }

    void init()
    {
        m_dialogs = std::make_unique<ScopedScriptedDialogs>();
        QFile::remove(SettingsFile::path());
        QDir(m_program.path()).mkpath(QStringLiteral("dict"));
        QFile::remove(defaultDictionary());
        QVERIFY(QFile::copy(Fixtures + QStringLiteral("/sample.uni"), defaultDictionary()));
    }

    void cleanup()
    {
        destroyWindows();
        m_dialogs.reset();
    }

    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void startLoadsTheDefaultDictionary()
    {
        createWindows();
        QCOMPARE(apptest::settings().dictionaryFile, defaultDictionary());
        QCOMPARE(apptest::state().dictionary.text(), sampleText());
        QVERIFY(apptest::state().dictionary.text().startsWith(QStringLiteral("# Test dictionary")));
        // The last line keeps no line break.
        QVERIFY(apptest::state().dictionary.text().endsWith(QStringLiteral("/high/")));
        // "Loading ..." is cleared once the file is in.
        QCOMPARE(apptest::status(), QString());
    }

    void startLoadsTheDictionaryOfTheSettings()
    {
        writeSettings(Fixtures + QStringLiteral("/other.uni"));
        createWindows();
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("# Another dictionary\r\n猫 [mao1] /cat/"));
    }

    void startWithoutADictionaryGoesOn()
    {
        QVERIFY(QFile::remove(defaultDictionary()));
        createWindows();
        QVERIFY(mainWindow);
        QCOMPARE(apptest::state().dictionary.text(), QString());
        QVERIFY(apptest::status().startsWith(QStringLiteral("Unable to load ") + defaultDictionary() + u':'));
        // An empty dictionary finds nothing and does not fail.
        QVERIFY(apptest::state().dictionary.exactFind(QStringLiteral("猫"), false).isEmpty());
        QVERIFY(apptest::state().dictionary.findAll(QStringLiteral("cat"), false, 0, 20).isEmpty());
        // No message box was shown.
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void failedLoadKeepsTheTextInUse()
    {
        createWindows();
        const QString missing = m_program.filePath(QStringLiteral("dict/missing.uni"));
        QVERIFY(!mainWindow->dictionaryLoader().loadDictionary(missing));
        QCOMPARE(apptest::state().dictionary.text(), sampleText());
        QVERIFY(apptest::status().startsWith(QStringLiteral("Unable to load ") + missing + u':'));
        // A folder is no dictionary either.
        mainWindow->dictionaryLoader().loadDictionary(m_program.path());
        QCOMPARE(apptest::state().dictionary.text(), sampleText());

        QVERIFY(mainWindow->dictionaryLoader().loadDictionary(Fixtures + QStringLiteral("/other.uni")));
        QVERIFY(apptest::state().dictionary.text().endsWith(QStringLiteral("猫 [mao1] /cat/")));
        QCOMPARE(apptest::status(), QString());
    }

    void searchesFollowTheLoadedText()
    {
        createWindows();
        bool full = false;
        const QStringList page = apptest::state().dictionary.findAll(QStringLiteral("house"), false, 0, 2, &full);
        QCOMPARE(page.size(), 2);
        QVERIFY(full);
        QVERIFY(apptest::state().dictionary.findAll(QStringLiteral("house"), false, 3, 4, &full).size() == 1 && !full);

        // After a reload the case-folded search reads the new dictionary.
        QVERIFY(apptest::state().dictionary.exactFind(QStringLiteral("CAT"), false).isEmpty());
        mainWindow->dictionaryLoader().loadDictionary(Fixtures + QStringLiteral("/other.uni"));
        QCOMPARE(apptest::state().dictionary.exactFind(QStringLiteral("CAT"), false),
                 QStringList{QStringLiteral("猫 [mao1] /cat/")});

        // Rows through the main window's tone-mark converter.
        const DictionaryRow row = dictionaryRow(u"中国 [Zhong1 guo2] /China/Middle Kingdom/", [](const QString &p) {
            return mainWindow->pinyinNumbersIntoToneMarks(p);
        });
        QCOMPARE(row.pinyin, QStringLiteral("Zhōng guó"));
    }
};

QTEST_MAIN(TestMainWindowDictionary)
#include "tst_mainwindow_dictionary.moc"
