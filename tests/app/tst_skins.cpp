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
#include "settings/TFormAbout.h"
#include "settings/TFormSelect.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QtTest>

#include <sys/stat.h>

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

template <typename... W>
QList<QWidget *> widgets(W *...w)
{
    return {static_cast<QWidget *>(w)...};
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
        skinIni.seek(0);
        makeSkin(QStringLiteral("Plain"), QString());
        makeSkin(QStringLiteral("NoStop"), QStringLiteral("[Options]\nLabels Color=#00ff00\n"),
                 {QStringLiteral("buttonstop.jpg")});
        makeSkin(QStringLiteral("Framed"),
                 QStringLiteral("[Options]\nName=Framed\nFrames Labels Color=#0b3d2a\nButtons Labels Color=#ffffff\n"
                                "Show Button Labels=1\nFrames Borders Color=#2e7d5b\nShow Frames Borders=1\n"
                                "Frames Background Color=#d6efe1\nShow Frames Background=1\n"));
        // Skins that fail: a PNG named .jpg, a named pipe for the background.
        const QString png = m_program.filePath(QStringLiteral("skins/PngAsJpg/buttonnext.jpg"));
        makeSkin(QStringLiteral("PngAsJpg"), QString());
        QFile::remove(png);
        QImage green(8, 8, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(png, "PNG"));
        makeSkin(QStringLiteral("Fifo"), QString(), {QStringLiteral("main.jpg")});
        QCOMPARE(::mkfifo(QFile::encodeName(m_program.filePath(QStringLiteral("skins/Fifo/main.jpg"))).constData(),
                          0600),
                 0);
        // Spelled as on Windows.
        makeSkin(QStringLiteral("Windows"), QString::fromUtf8(skinIni.readAll()), {QStringLiteral("main.jpg")});
        QVERIFY(QFile::copy(data + QStringLiteral("red.jpg"), m_program.filePath(QStringLiteral("skins/Windows/Main.jpg"))));
        // Pictures far larger than their elements.
        for (const auto &[name, side] : {std::pair{QStringLiteral("Huge"), 1500}, std::pair{QStringLiteral("Ninety"), 90}}) {
            const QString folder = m_program.filePath(QStringLiteral("skins/") + name + QLatin1Char('/'));
            QDir().mkpath(folder);
            QImage big(side, side, QImage::Format_RGB32);
            big.fill(QColor(0x40, 0x80, 0xC0));
            for (SkinPicture p : AllSkinPictures)
                QVERIFY(big.save(folder + skinPictureFile(p), "JPEG"));
            QFile ini(folder + QStringLiteral("skin.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Options]\nName=" + name.toUtf8() + "\nShow Button Labels=1\n");
        }
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
        QCOMPARE(Form1->jbMarkDifficult->size(), QSize(60, 18));
        QCOMPARE(Form1->bNext->size(), QSize(60, 60));
        // The three frames with their captions.
        QCOMPARE(Form1->skinFrames(), (QList<QFrame *>{Form1->shMode, Form1->shShow, Form1->shAuto}));
        QCOMPARE(Form1->lblMode->text(), QStringLiteral("Mode:"));
        QCOMPARE(Form1->lblShow->text(), QStringLiteral("Show:"));
        QCOMPARE(Form1->lblAuto->text(), QStringLiteral("Auto:"));
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
        QVERIFY(nearly(Form1->imgSkinBStop.pixmap(60, 60).toImage().pixel(30, 30), Qt::blue));
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

    void failedSkinAtCreationGivesTheBuiltInLook()
    {
        // Gone, a PNG named .jpg, a named pipe for a picture: the stored
        // name stays, the window takes the built-in look (never black
        // captions on a black window), and the about window names it.
        for (const QString &skin : {QStringLiteral("Gone"), QStringLiteral("PngAsJpg"), QStringLiteral("Fifo")}) {
            writeSkinSetting(skin);
            start();
            QCOMPARE(Form1->FSkin, skin);
            QCOMPARE(Form1->FSkinName, StandardSkinTitle);
            QVERIFY(Form1->Image1 && nearly(Form1->Image1->pixmap().toImage().pixel(4, 4), QColor(0xFF, 0xF6, 0xE6)));
            QCOMPARE(textColour(Form1->lblFirst), QColor(Qt::black));
            QVERIFY(!Form1->bPrevious->icon().isNull());
            FormAbout->show();
            QCOMPARE(FormAbout->lblSkinName->text(), StandardSkinTitle);
            FormAbout->close();
            DestroyForms();
        }
        // File names are matched ignoring case.
        writeSkinSetting(QStringLiteral("Windows"));
        start();
        QCOMPARE(Form1->FSkinName, QStringLiteral("Test Skin"));
        QVERIFY(m_scripted->dialogs.messages.empty());
    }

    void framesGroupTheSwitchesAndTakeTheSkin()
    {
        start();
        Form1->show();
        QCoreApplication::processEvents();
        const std::pair<QFrame *, QList<QWidget *>> groups[] = {
            {Form1->shMode, widgets(Form1->lblMode, Form1->chbNahodne, Form1->lblRandom, Form1->chbAuto, Form1->lSetAuto)},
            {Form1->shShow, widgets(Form1->lblShow, Form1->chbWords, Form1->lblPhrase, Form1->lblDifficult)},
            {Form1->shAuto, widgets(Form1->lblAuto, Form1->lblDisplPict, Form1->lblPlaySounds, Form1->lblReadAloud,
                                    Form1->lblFlash, Form1->lblFlashNow)}};
        for (const auto &[frame, members] : groups)
            for (QWidget *w : members)
                QVERIFY2(frame->geometry().contains(w->geometry()), qPrintable(w->objectName()));

        // A skin without skin.ini: captions on, solid black borders and fills.
        TFormSelect::LoadSkin(QStringLiteral("Plain"));
        QCOMPARE(Form1->FSkinName, QString());
        QCOMPARE(Form1->bPrevious->text(), QStringLiteral("<<<"));
        QCOMPARE(Form1->bNext->text(), QStringLiteral(">>>"));
        QCOMPARE(Form1->jbRead->text(), QStringLiteral("Read"));
        QCOMPARE(Form1->jbMarkUnlearned->text(), QStringLiteral("Unearned"));
        QVERIFY(!Form1->lblFirst->autoFillBackground());
        const QImage frame = Form1->shShow->grab().toImage();
        QVERIFY(nearly(frame.pixel(0, frame.height() / 2), Qt::black));
        QVERIFY(nearly(frame.pixel(3, 3), Qt::black));

        TFormSelect::LoadSkin(QStringLiteral("Framed"));
        const QImage framed = Form1->shShow->grab().toImage();
        QVERIFY(nearly(framed.pixel(0, framed.height() / 2), QColor(0x2e, 0x7d, 0x5b)));
        QVERIFY(nearly(framed.pixel(3, 3), QColor(0xd6, 0xef, 0xe1)));
        QCOMPARE(textColour(Form1->lblShow), QColor(0x0b, 0x3d, 0x2a));

        TFormSelect::LoadSkin(QStringLiteral("Test")); // no borders, no fill
        const QImage bare = Form1->shShow->grab().toImage();
        QVERIFY(!nearly(bare.pixel(0, bare.height() / 2), QColor(0xab, 0xcd, 0xef)));
    }

    void skinnedButtonsAreTheirPictureWithTheCaptionOverIt()
    {
        start();
        Form1->show();
        TFormSelect::LoadSkin(QStringLiteral("Framed")); // red pictures, white captions
        QCoreApplication::processEvents();
        const QImage next = Form1->bNext->grab().toImage();
        QCOMPARE(next.size(), QSize(60, 60));
        QVERIFY(nearly(next.pixel(1, 1), Qt::red));
        QVERIFY(nearly(next.pixel(58, 58), Qt::red));
        int white = 0;
        for (int y = 0; y < next.height(); ++y)
            for (int x = 0; x < next.width(); ++x)
                white += nearly(next.pixel(x, y), Qt::white) ? 1 : 0;
        QVERIFY(white > 10); // ">>>" in the skin's caption colour
    }

    void oversizedPicturesNeverMoveTheLayout()
    {
        start();
        Form1->show();
        QCoreApplication::processEvents();
        auto layoutNow = [] {
            QList<QRect> rects{QRect(QPoint(), Form1->size())};
            for (QWidget *w : widgets(Form1->bNext, Form1->jbRead, Form1->jbMarkLearned, Form1->lblGo, Form1->chbAuto,
                                      Form1->lblCount))
                rects << w->geometry();
            if (Form1->eLineNr)
                rects << Form1->eLineNr->geometry();
            return rects;
        };
        const QList<QRect> designed = layoutNow();
        for (const QString &skin : {QStringLiteral("Huge"), QStringLiteral("Ninety"), StandardSkinName}) {
            TFormSelect::LoadSkin(skin);
            QCoreApplication::processEvents();
            QCOMPARE(layoutNow(), designed);
        }
        TFormSelect::LoadSkin(QStringLiteral("Huge"));
        QCOMPARE(Form1->FSkinName, QStringLiteral("Huge"));
        QCOMPARE(Form1->bPrevious->iconSize(), QSize(60, 60));
        // A new start with the skin stored has the designed size too.
        writeSkinSetting(QStringLiteral("Huge"));
        DestroyForms();
        start();
        Form1->show();
        QCoreApplication::processEvents();
        QCOMPARE(layoutNow(), designed);
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
        QCOMPARE(shown, (QStringList{StandardSkinName, "Fifo", "Framed", "Huge", "Ninety", "NoStop", "Plain",
                                     "PngAsJpg", "Test", "Windows"}));
        QVERIFY(FormSelect->ListBox1->selectedItems().isEmpty());

        // Nothing selected: apply does nothing.
        FormSelect->bOK->click();
        QCOMPARE(Form1->FSkin, StandardSkinName);

        FormSelect->ListBox1->setCurrentRow(8);
        FormSelect->bOK->click();
        QCOMPARE(Form1->FSkin, QStringLiteral("Test"));
        QCOMPARE(Form1->FSkinName, QStringLiteral("Test Skin"));
        QVERIFY(FormSelect->isVisible());

        // A skin that fails is still the one stored; the built-in look
        // stands in for it.
        FormSelect->ListBox1->setCurrentRow(5);
        FormSelect->ListBox1DblClick();
        QCOMPARE(Form1->FSkin, QStringLiteral("NoStop"));
        QCOMPARE(Form1->FSkinName, StandardSkinTitle);

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
