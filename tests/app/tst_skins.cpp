// Skins on the main window: the skin applied while the window is created,
// the selection dialog, and what each skin value does to the window.
#include "AppTestSupport.h"
#include "app/HoverLabel.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/ui/Dialogs.h"
#include "platform/ini/IniFile.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "settings/Skin.h"
#include "settings/TFormSelect.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

namespace {
const QString data = QStringLiteral(KORVANA_TEST_DATA "/skins/");

QColor textColour(QWidget *w, QPalette::ColorRole role = QPalette::WindowText)
{
    return w->palette().color(role);
}

// The picture a button shows, as one pixel's colour.
QRgb iconPixel(QAbstractButton *b)
{
    const QPixmap pm = b->icon().pixmap(b->iconSize());
    if (pm.isNull())
        return 0;
    return pm.toImage().pixel(pm.width() / 2, pm.height() / 2);
}

bool nearly(QRgb a, QColor b)
{
    return qAbs(qRed(a) - b.red()) < 24 && qAbs(qGreen(a) - b.green()) < 24 && qAbs(qBlue(a) - b.blue()) < 24;
}
} // namespace

class TestSkins : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;

    void makeSkin(const QString &name, const QString &ini, const QStringList &leaveOut = {})
    {
        const QString folder = m_program.filePath(QStringLiteral("skins/") + name);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        for (SkinPicture p : AllSkinPictures) {
            if (leaveOut.contains(skinPictureFile(p)))
                continue;
            // Stop and Skip are blue, the others red, so a test can tell
            // which picture went where.
            const bool blue = p == SkinPicture::Stop || p == SkinPicture::Skip;
            QFile::copy(data + (blue ? QStringLiteral("blue.jpg") : QStringLiteral("red.jpg")),
                        folder + QLatin1Char('/') + skinPictureFile(p));
        }
        if (!ini.isNull()) {
            QFile f(folder + QStringLiteral("/skin.ini"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ini.toUtf8());
        }
    }

    void writeSkinSetting(const QString &skin)
    {
        IniFile ini(SettingsFile::path());
        ini.writeString(QStringLiteral("Options"), QStringLiteral("Skin"), skin);
    }

    void start()
    {
        CreateForms();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_program.isValid());
        apptest::useHomeFolders(m_home);
        ProgramPaths::setProgramFolder(m_program.path() + QLatin1Char('/'));
        apptest::useFakeVoice();
        QFile skinIni(data + QStringLiteral("skin.ini"));
        QVERIFY(skinIni.open(QIODevice::ReadOnly));
        makeSkin(QStringLiteral("Test"), QString::fromUtf8(skinIni.readAll()));
        makeSkin(QStringLiteral("Plain"), QString());
        makeSkin(QStringLiteral("NoStop"), QStringLiteral("[Options]\nLabels Color=#00ff00\n"),
                 {QStringLiteral("buttonstop.jpg")});
    }
    void init()
    {
        m_scripted = std::make_unique<ScopedScriptedDialogs>();
        QFile::remove(SettingsFile::path());
    }
    void cleanup()
    {
        DestroyForms();
        m_scripted.reset();
    }
    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void standardLookAtCreation()
    {
        start();
        QCOMPARE(Form1->FSkin, StandardSkinName);
        QCOMPARE(Form1->FSkinName, QStringLiteral("Default Korvana Skin"));
        QVERIFY(Form1->Image1 && Form1->Image1->pixmap().size() == QSize(550, 350));
        QVERIFY(!Form1->bPrevious->icon().isNull());
        QVERIFY(!Form1->imgSkinBStop.isNull() && !Form1->imgSkinBRead.isNull());
        QCOMPARE(Form1->jbMarkDifficult->iconSize(), QSize(60, 18));
        // Black labels, captions gone from Previous, Next and Read only.
        QCOMPARE(textColour(Form1->lblFirst), QColor(Qt::black));
        QCOMPARE(textColour(Form1->lblRandom), QColor(Qt::black));
        QVERIFY(!Form1->lblFirst->autoFillBackground());
        QCOMPARE(Form1->bPrevious->text(), QString());
        QCOMPARE(Form1->bNext->text(), QString());
        QCOMPARE(Form1->jbRead->text(), QString());
        QCOMPARE(Form1->jbMarkLearned->text(), QStringLiteral("Learned"));
        QVERIFY(!Form1->FShowButtonLabels);
        // Reading aloud then leaves the caption alone.
        QVERIFY(Form1->FShowFramesBorders && !Form1->FShowFramesBackground);
    }

    void skinNamedBySettingsAppliesAtCreation()
    {
        writeSkinSetting(QStringLiteral("Test"));
        start();
        QCOMPARE(Form1->FSkinName, QStringLiteral("Test Skin"));
        QCOMPARE(Form1->FSkinAuthor, QStringLiteral("Korvana tests"));
        QVERIFY(nearly(Form1->Image1->pixmap().toImage().pixel(4, 4), Qt::red));
        QVERIFY(nearly(iconPixel(Form1->bNext), Qt::red));
        QVERIFY(nearly(iconPixel(Form1->jbMarkUnlearned), Qt::blue));
        QVERIFY(nearly(Form1->imgSkinBStop.pixmap(8, 4).toImage().pixel(4, 2), Qt::blue));
        QVERIFY(nearly(iconPixel(Form1->jbRead), Qt::red));
        // Frame labels blue, command labels red on an opaque green.
        QCOMPARE(textColour(Form1->lblWords), QColor(0, 0, 255));
        QCOMPARE(textColour(Form1->lblReadAloud), QColor(0, 0, 255));
        QCOMPARE(textColour(Form1->lblGo), QColor(255, 0, 0));
        QVERIFY(Form1->lblGo->autoFillBackground());
        QVERIFY(Form1->lblOpen->autoFillBackground());
        QCOMPARE(textColour(Form1->lblOpen, QPalette::Window), QColor(0, 255, 0));
        QCOMPARE(textColour(Form1->jbMarkDifficult, QPalette::ButtonText), QColor(0x12, 0x34, 0x56));
        // "Show Button Labels" is 0.
        QCOMPARE(Form1->bPrevious->text(), QString());
    }

    void missingSkinAtCreationKeepsTheDesignedLook()
    {
        writeSkinSetting(QStringLiteral("Gone"));
        start();
        QCOMPARE(Form1->FSkin, QStringLiteral("Gone"));
        QVERIFY(!Form1->Image1);
        QVERIFY(Form1->bPrevious->icon().isNull());
        QCOMPARE(Form1->bPrevious->text(), QStringLiteral("Previous"));
        QCOMPARE(Form1->FSkinName, QString());
    }

    void skinWithoutIniShowsCaptionsAndSolidFrames()
    {
        start();
        // Frames that the window carries take the border and fill.
        auto *frame = new QFrame(Form1);
        frame->setObjectName(QStringLiteral("shMode"));
        TFormSelect::LoadSkin(QStringLiteral("Plain"));
        QCOMPARE(Form1->FSkinName, QString());
        QCOMPARE(Form1->bPrevious->text(), QStringLiteral("<<<"));
        QCOMPARE(Form1->bNext->text(), QStringLiteral(">>>"));
        QCOMPARE(Form1->jbRead->text(), QStringLiteral("Read"));
        QCOMPARE(Form1->jbMarkUnlearned->text(), QStringLiteral("Unearned"));
        QVERIFY(!Form1->lblFirst->autoFillBackground());
        QVERIFY(frame->styleSheet().contains(QStringLiteral("1px solid #000000")));
        QVERIFY(frame->styleSheet().contains(QStringLiteral("background: #000000")));

        TFormSelect::LoadSkin(StandardSkinName);
        QVERIFY(frame->styleSheet().contains(QStringLiteral("1px solid #000000")));
        QVERIFY(frame->styleSheet().contains(QStringLiteral("transparent")));
        TFormSelect::LoadSkin(QStringLiteral("Test"));
        QVERIFY(frame->styleSheet().contains(QStringLiteral("border: none")));
    }

    void brokenSkinKeepsWhatCameBefore()
    {
        start();
        TFormSelect::LoadSkin(QStringLiteral("Test"));
        const QColor before = textColour(Form1->lblGo);
        TFormSelect::LoadSkin(QStringLiteral("NoStop"));
        // Background, Previous and Next changed (to red, as before); the
        // rest, fields included, stayed.
        QCOMPARE(Form1->FSkinName, QStringLiteral("Test Skin"));
        QCOMPARE(textColour(Form1->lblGo), before);
        QVERIFY(m_scripted->dialogs.messages.empty());

        TFormSelect::LoadSkin(StandardSkinName);
        TFormSelect::LoadSkin(QStringLiteral("NoStop"));
        QVERIFY(nearly(iconPixel(Form1->bNext), Qt::red));
        QVERIFY(!nearly(iconPixel(Form1->jbRead), Qt::red));
        QCOMPARE(Form1->FSkinName, QStringLiteral("Default Korvana Skin"));
    }

    void dialogListsAppliesAndCloses()
    {
        start();
        Form1->ChangeSkin();
        QVERIFY(FormSelect->isVisible());
        FormSelect->FormActivate();
        QStringList shown;
        for (int i = 0; i < FormSelect->ListBox1->count(); ++i)
            shown << FormSelect->ListBox1->item(i)->text();
        QCOMPARE(shown, (QStringList{StandardSkinName, QStringLiteral("NoStop"), QStringLiteral("Plain"),
                                     QStringLiteral("Test")}));
        QVERIFY(FormSelect->ListBox1->selectedItems().isEmpty());

        // Nothing selected: apply does nothing.
        FormSelect->bOK->click();
        QCOMPARE(Form1->FSkin, StandardSkinName);

        FormSelect->ListBox1->setCurrentRow(3);
        FormSelect->bOK->click();
        QCOMPARE(Form1->FSkin, QStringLiteral("Test"));
        QCOMPARE(Form1->FSkinName, QStringLiteral("Test Skin"));
        QVERIFY(FormSelect->isVisible());

        // A skin that fails is still the one stored.
        FormSelect->ListBox1->setCurrentRow(1);
        FormSelect->ListBox1DblClick();
        QCOMPARE(Form1->FSkin, QStringLiteral("NoStop"));
        QCOMPARE(Form1->FSkinName, QStringLiteral("Test Skin"));

        // The stored name reaches the settings file when the window closes.
        Form1->FormClose();
        QCOMPARE(IniFile(SettingsFile::path()).readString(QStringLiteral("Options"), QStringLiteral("Skin"), {}),
                 QStringLiteral("NoStop"));

        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(FormSelect, &esc);
        QVERIFY(!FormSelect->isVisible());
    }
};

QTEST_MAIN(TestSkins)
#include "tst_skins.moc"
