// Skin loading against a recording target: which pictures arrive in which
// order, the skin file's defaults and fallbacks, and what a broken skin
// leaves behind.
#include "settings/ProgramPaths.h"
#include "settings/Skin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace korvana;

namespace {

struct RecordingTarget : SkinTarget {
    SkinFields fields;
    QList<SkinPicture> pictures; // in the order given
    QList<QSize> sizes;
    int standardCalls = 0;
    int applyCalls = 0;
    QList<SkinFields> appliedWith;

    SkinFields skinFields() const override { return fields; }
    void setSkinFields(const SkinFields &f) override { fields = f; }
    void setSkinPicture(SkinPicture p, const QImage &image) override
    {
        pictures.append(p);
        sizes.append(image.size());
    }
    void setStandardPictures() override
    {
        ++standardCalls;
        for (SkinPicture p : AllSkinPictures)
            setSkinPicture(p, standardSkinPicture(p));
    }
    void applySkin() override
    {
        ++applyCalls;
        appliedWith.append(fields);
    }
};

const QString data = QStringLiteral(KORVANA_TEST_DATA "/skins/");

} // namespace

class TestSkin : public QObject {
    Q_OBJECT

    QTemporaryDir m_program;

    // A skin folder under the test's program folder: the six pictures
    // (except those left out) copied from the test data, and skin.ini when
    // given.
    QString makeSkin(const QString &name, const QString &ini, const QStringList &leaveOut = {})
    {
        const QString folder = m_program.filePath(QStringLiteral("skins/") + name);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        for (SkinPicture p : AllSkinPictures) {
            const QString file = skinPictureFile(p);
            if (leaveOut.contains(file))
                continue;
            const QString source = p == SkinPicture::Skip ? QStringLiteral("blue.jpg") : QStringLiteral("red.jpg");
            QFile::copy(data + source, folder + QLatin1Char('/') + file);
        }
        if (!ini.isNull()) {
            QFile f(folder + QStringLiteral("/skin.ini"));
            if (!f.open(QIODevice::WriteOnly))
                qFatal("cannot write skin.ini");
            f.write(ini.toUtf8());
        }
        return folder;
    }

    static QString readData(const QString &file)
    {
        QFile f(data + file);
        if (!f.open(QIODevice::ReadOnly))
            qFatal("no test data %s", qPrintable(file));
        return QString::fromUtf8(f.readAll());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_program.isValid());
        ProgramPaths::setProgramFolder(m_program.path() + QLatin1Char('/'));
    }
    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void standardSetsBuiltInLookAndKeepsLabelsBackground()
    {
        RecordingTarget t;
        t.fields.skinAuthor = QStringLiteral("someone");
        t.fields.labelsColor = 0x123456;
        t.fields.labelsBackgroundColor = 0x00ABCDEF;
        t.fields.showLabelsBackground = true;
        t.fields.showButtonLabels = true;
        t.fields.showFramesBackground = true;
        t.fields.showFrameBorders = false;
        loadSkin(StandardSkinName, t);
        QCOMPARE(t.standardCalls, 1);
        QCOMPARE(t.applyCalls, 1);
        QCOMPARE(t.fields.skinName, StandardSkinTitle);
        QCOMPARE(t.fields.skinAuthor, QString());
        QCOMPARE(t.fields.labelsColor, 0u);
        QCOMPARE(t.fields.labelsBackgroundColor, 0x00ABCDEFu);
        QVERIFY(!t.fields.showLabelsBackground);
        QVERIFY(!t.fields.showButtonLabels);
        QVERIFY(t.fields.showFrameBorders);
        QVERIFY(!t.fields.showFramesBackground);
        // The built-in pictures have the element sizes.
        QCOMPARE(t.sizes.first(), QSize(550, 350));
        QCOMPARE(t.sizes.last(), QSize(60, 18));
    }

    void skinFolderGivesPicturesInOrderThenFieldsThenApplies()
    {
        makeSkin(QStringLiteral("Full"), readData(QStringLiteral("skin.ini")));
        RecordingTarget t;
        loadSkin(QStringLiteral("Full"), t);
        const QList<SkinPicture> order(std::begin(AllSkinPictures), std::end(AllSkinPictures));
        QCOMPARE(t.pictures, order);
        // The 8 x 8 pictures are fitted to their elements.
        QCOMPARE(t.sizes.first(), QSize(550, 350));
        QCOMPARE(t.sizes[1], QSize(60, 60));
        QCOMPARE(t.sizes.last(), QSize(60, 18));
        QCOMPARE(t.applyCalls, 1);
        const SkinFields &f = t.appliedWith.first();
        QCOMPARE(f.skinName, QStringLiteral("Test Skin"));
        QCOMPARE(f.skinAuthor, QStringLiteral("Korvana tests"));
        QCOMPARE(f.labelsColor, 0x0000FFu); // "#ff0000" is red
        QCOMPARE(f.labelsBackgroundColor, 0x00FF00u);
        QVERIFY(f.showLabelsBackground);
        QCOMPARE(f.frameLabelsColor, 0xFF0000u); // "#0000FF" is blue
        QCOMPARE(f.buttonLabelsColor, 0x563412u);
        QVERIFY(!f.showButtonLabels);
        QCOMPARE(f.frameBordersColor, 0xEFCDABu);
        QVERIFY(!f.showFrameBorders);
        QCOMPARE(f.framesBackgroundColor, 0xBADCFEu);
        QVERIFY(!f.showFramesBackground);
    }

    void skinWithoutIniTakesEveryDefault()
    {
        makeSkin(QStringLiteral("NoIni"), QString());
        RecordingTarget t;
        t.fields.skinName = QStringLiteral("old");
        loadSkin(QStringLiteral("NoIni"), t);
        QCOMPARE(t.pictures.size(), 6);
        QCOMPARE(t.applyCalls, 1);
        SkinFields expected;
        expected.labelsBackgroundColor = 0xF0FFFF; // "#fffff0"
        expected.showButtonLabels = true;
        expected.showFrameBorders = true;
        expected.showFramesBackground = true;
        QCOMPARE(t.fields, expected);
    }

    void framesLabelsFallBackToLabelsColourAndEmptyColoursAreBlack()
    {
        makeSkin(QStringLiteral("Fallback"), QStringLiteral("[Options]\nLabels Color=#00ff00\nFrames Labels Color=\n"
                                                            "Buttons Labels Color=\nFrames Borders Color=#zz0000\n"
                                                            "Labels Background Color=\n"));
        RecordingTarget t;
        loadSkin(QStringLiteral("Fallback"), t);
        QCOMPARE(t.fields.labelsColor, 0x00FF00u);
        QCOMPARE(t.fields.frameLabelsColor, 0x00FF00u);
        QCOMPARE(t.fields.buttonLabelsColor, 0u);
        QCOMPARE(t.fields.frameBordersColor, 0u);
        QCOMPARE(t.fields.labelsBackgroundColor, 0u);

        makeSkin(QStringLiteral("Absent"), QStringLiteral("[Options]\nLabels Color=#0a0b0c\n"));
        RecordingTarget u;
        loadSkin(QStringLiteral("Absent"), u);
        QCOMPARE(u.fields.frameLabelsColor, 0x0C0B0Au);
    }

    void booleanWordsReadAsDefaults()
    {
        const QString folder =
            makeSkin(QStringLiteral("Words"), QStringLiteral("[Options]\nShow Button Labels=false\n"
                                                             "Show Labels Background=true\nShow Frames Borders=0\n"
                                                             "Show Frames Background=2\n"));
        const SkinFields f = readSkinFile(folder + QStringLiteral("/skin.ini"));
        QVERIFY(f.showButtonLabels);      // a word: the default, true
        QVERIFY(!f.showLabelsBackground); // a word: the default, false
        QVERIFY(!f.showFrameBorders);     // 0
        QVERIFY(f.showFramesBackground);  // any number but 0
    }

    void skinThatCannotLoadWholeGivesTheBuiltInLook()
    {
        // A missing picture, a PNG named .jpg, a folder that is gone, a
        // name that climbs out of the skins folder: nothing of the skin
        // arrives, the built-in look does, fields and all.
        makeSkin(QStringLiteral("NoStop"), readData(QStringLiteral("skin.ini")), {QStringLiteral("buttonstop.jpg")});
        const QString png = makeSkin(QStringLiteral("Png"), QString()) + QStringLiteral("/buttonnext.jpg");
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::green);
        QFile::remove(png);
        QVERIFY(image.save(png, "PNG"));
        QVERIFY_THROWS_EXCEPTION(std::exception, decodeSkinJpeg(png));
        makeSkin(QStringLiteral("Outside"), QString());
        QVERIFY(QDir(m_program.path()).rename(QStringLiteral("skins/Outside"), QStringLiteral("Outside")));
        for (const QString &name :
             {QStringLiteral("NoStop"), QStringLiteral("Png"), QStringLiteral("Gone"), QStringLiteral("../Outside"),
              QStringLiteral(".."), QString(), QStringLiteral("*STANDARD*")}) {
            RecordingTarget t;
            t.fields.skinName = QStringLiteral("before");
            t.fields.labelsColor = 0x111111;
            loadSkin(name, t);
            QVERIFY2(t.standardCalls == 1 && t.applyCalls == 1, qPrintable(name));
            QCOMPARE(t.pictures.size(), 6); // the built-in ones only
            QCOMPARE(t.fields.skinName, StandardSkinTitle);
            QCOMPARE(t.fields.labelsColor, 0u);
        }
    }

    void specialFilesFailTheSkinWithoutBlocking()
    {
        // A named pipe never sends an end of file: read, it would hang the
        // start-up for ever.
        for (const char *file : {"main.jpg", "skin.ini"}) {
            const QString folder = makeSkin(QStringLiteral("Fifo"), readData(QStringLiteral("skin.ini")));
            const QString fifo = folder + QLatin1Char('/') + QLatin1String(file);
            QFile::remove(fifo);
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            RecordingTarget t;
            loadSkin(QStringLiteral("Fifo"), t);
            QCOMPARE(t.standardCalls, 1);
            QCOMPARE(t.fields.skinName, StandardSkinTitle);
        }
        QVERIFY_THROWS_EXCEPTION(std::exception, decodeSkinJpeg(QStringLiteral("/dev/zero")));
    }

    void fileNamesMatchIgnoringCase()
    {
        const QString folder = makeSkin(QStringLiteral("Windows"), QString(), {QStringLiteral("main.jpg")});
        QVERIFY(QFile::copy(data + QStringLiteral("red.jpg"), folder + QStringLiteral("/Main.JPG")));
        QFile ini(folder + QStringLiteral("/Skin.INI"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Options]\nName=Made on Windows\n");
        ini.close();
        RecordingTarget t;
        loadSkin(QStringLiteral("Windows"), t);
        QCOMPARE(t.standardCalls, 0);
        QCOMPARE(t.pictures.size(), 6);
        QCOMPARE(t.fields.skinName, QStringLiteral("Made on Windows"));
        QCOMPARE(skinFile(folder + QLatin1Char('/'), QStringLiteral("main.jpg")), folder + QStringLiteral("/Main.JPG"));
    }

    void shippedSkinsLoadWhole()
    {
        // Every skin that comes with the program has its six pictures at
        // the element sizes and a name.
        ProgramPaths::setProgramFolder(QStringLiteral(KORVANA_SOURCE_DIR "/"));
        const QStringList names = skinNames();
        QVERIFY(names.size() > 1);
        for (const QString &name : names) {
            if (name == StandardSkinName)
                continue;
            RecordingTarget t;
            loadSkin(name, t);
            QCOMPARE(t.applyCalls, 1);
            QVERIFY2(!t.fields.skinName.isEmpty(), qPrintable(name));
            for (int i = 0; i < t.pictures.size(); ++i)
                QCOMPARE(t.sizes[i], skinPictureSize(t.pictures[i]));
        }
        ProgramPaths::setProgramFolder(m_program.path() + QLatin1Char('/'));
    }

    void listShowsStandardAndFoldersSorted()
    {
        QTemporaryDir program;
        ProgramPaths::setProgramFolder(program.path() + QLatin1Char('/'));
        QCOMPARE(skinNames(), QStringList{StandardSkinName}); // no skins folder at all
        for (const char *name : {"zeta", "Alpha", "beta"})
            QDir().mkpath(program.filePath(QStringLiteral("skins/") + QLatin1String(name)));
        QFile file(program.filePath(QStringLiteral("skins/notafolder.jpg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(skinNames(), (QStringList{StandardSkinName, QStringLiteral("Alpha"), QStringLiteral("beta"),
                                           QStringLiteral("zeta")}));
        ProgramPaths::setProgramFolder(m_program.path() + QLatin1Char('/'));
    }
};

QTEST_GUILESS_MAIN(TestSkin)
#include "tst_skin.moc"
