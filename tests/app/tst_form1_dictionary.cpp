// The main window's dictionary: loaded at start from the setting or the
// default beside the program, reloaded by LoadDict, failures in the status
// line only, and the searches over the loaded text.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/ui/Dialogs.h"
#include "reference/Dictionary.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
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

class TestForm1Dictionary : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    ScopedScriptedDialogs *m_dialogs = nullptr;

    QString defaultDictionary() const { return m_program.filePath(QStringLiteral("dict/cedict_gb.uni")); }

    void writeSettings(const QString &dictionary)
    {
        QDir().mkpath(QFileInfo(SettingsFile::path()).path());
        QFile f(SettingsFile::path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Options]\r\nDictionary=" + dictionary.toUtf8() + "\r\n");
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
        m_dialogs = new ScopedScriptedDialogs;
        QFile::remove(SettingsFile::path());
        QDir(m_program.path()).mkpath(QStringLiteral("dict"));
        QFile::remove(defaultDictionary());
        QVERIFY(QFile::copy(Fixtures + QStringLiteral("/sample.uni"), defaultDictionary()));
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void startLoadsTheDefaultDictionary()
    {
        CreateForms();
        QCOMPARE(Form1->FDictFile, defaultDictionary());
        QCOMPARE(Form1->FDictText, sampleText());
        QVERIFY(Form1->FDictText.startsWith(QStringLiteral("# Test dictionary")));
        // The last line keeps no line break.
        QVERIFY(Form1->FDictText.endsWith(QStringLiteral("/high/")));
        // "Loading ..." is cleared once the file is in.
        QCOMPARE(Form1->lStatus->text(), QString());
    }

    void startLoadsTheDictionaryOfTheSettings()
    {
        writeSettings(Fixtures + QStringLiteral("/other.uni"));
        CreateForms();
        QCOMPARE(Form1->FDictText, QStringLiteral("# Another dictionary\r\n猫 [mao1] /cat/"));
    }

    void startWithoutADictionaryGoesOn()
    {
        QVERIFY(QFile::remove(defaultDictionary()));
        CreateForms();
        QVERIFY(Form1);
        QCOMPARE(Form1->FDictText, QString());
        QVERIFY(Form1->lStatus->text().startsWith(QStringLiteral("Unable to load ") + defaultDictionary() + u':'));
        // An empty dictionary finds nothing and does not fail.
        QVERIFY(Form1->DictExactFind(QStringLiteral("猫"), false).isEmpty());
        QVERIFY(Form1->DictFindAll(QStringLiteral("cat"), false, 0, 20).isEmpty());
        // No message box was shown.
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void failedLoadKeepsTheTextInUse()
    {
        CreateForms();
        const QString missing = m_program.filePath(QStringLiteral("dict/missing.uni"));
        QVERIFY(!Form1->LoadDict(missing));
        QCOMPARE(Form1->FDictText, sampleText());
        QVERIFY(Form1->lStatus->text().startsWith(QStringLiteral("Unable to load ") + missing + u':'));
        // A folder is no dictionary either.
        Form1->LoadDict(m_program.path());
        QCOMPARE(Form1->FDictText, sampleText());

        QVERIFY(Form1->LoadDict(Fixtures + QStringLiteral("/other.uni")));
        QVERIFY(Form1->FDictText.endsWith(QStringLiteral("猫 [mao1] /cat/")));
        QCOMPARE(Form1->lStatus->text(), QString());
    }

    void searchesFollowTheLoadedText()
    {
        CreateForms();
        bool full = false;
        const QStringList page = Form1->DictFindAll(QStringLiteral("house"), false, 0, 2, &full);
        QCOMPARE(page.size(), 2);
        QVERIFY(full);
        QVERIFY(Form1->DictFindAll(QStringLiteral("house"), false, 3, 4, &full).size() == 1 && !full);

        // After a reload the case-folded search reads the new dictionary.
        QVERIFY(Form1->DictExactFind(QStringLiteral("CAT"), false).isEmpty());
        Form1->LoadDict(Fixtures + QStringLiteral("/other.uni"));
        QCOMPARE(Form1->DictExactFind(QStringLiteral("CAT"), false), QStringList{QStringLiteral("猫 [mao1] /cat/")});

        // Rows through the main window's tone-mark converter.
        const DictionaryRow row = dictionaryRow(u"中国 [Zhong1 guo2] /China/Middle Kingdom/",
                                                [](const QString &p) { return Form1->PinyinNumbersIntoToneMarks(p); });
        QCOMPARE(row.pinyin, QStringLiteral("Zhōng guó"));
    }
};

QTEST_MAIN(TestForm1Dictionary)
#include "tst_form1_dictionary.moc"
