// Skins on the main window: the skin applied while the window is created,
// the selection dialog, and what each skin value does to the window.
#include "AppTestSupport.h"
#include "app/HoverLabel.h"
#include "app/Program.h"
#include "app/MainWindow.h"
#include "platform/ui/Dialogs.h"
#include "platform/ini/IniFile.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "settings/Skin.h"
#include "settings/AboutDialog.h"
#include "settings/SkinDialog.h"

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
        createWindows();
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
        destroyWindows();
        m_scripted.reset();
    }
    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void standardLookAtCreation()
    {
        start();
        QCOMPARE(mainWindow->selectedSkin, StandardSkinName);
        QCOMPARE(mainWindow->skinName, QStringLiteral("Default Korvana Skin"));
        QVERIFY(mainWindow->backgroundPicture && mainWindow->backgroundPicture->pixmap().size() == QSize(550, 350));
        QVERIFY(!mainWindow->previousButton->icon().isNull());
        QVERIFY(!mainWindow->stopButtonIcon.isNull() && !mainWindow->readButtonIcon.isNull());
        QCOMPARE(mainWindow->markDifficultButton->iconSize(), QSize(60, 18));
        QCOMPARE(mainWindow->markDifficultButton->size(), QSize(60, 18));
        QCOMPARE(mainWindow->nextButton->size(), QSize(60, 60));
        // The three frames with their captions.
        QCOMPARE(mainWindow->skinFrames(),
                 (QList<QFrame *>{mainWindow->modeFrame, mainWindow->panesFrame, mainWindow->autoFrame}));
        QCOMPARE(mainWindow->modeFrameLabel->text(), QStringLiteral("Mode:"));
        QCOMPARE(mainWindow->panesFrameLabel->text(), QStringLiteral("Show:"));
        QCOMPARE(mainWindow->autoFrameLabel->text(), QStringLiteral("Auto:"));
        // Black labels, captions gone from Previous, Next and Read only.
        QCOMPARE(textColour(mainWindow->firstLabel), QColor(Qt::black));
        QCOMPARE(textColour(mainWindow->randomSwitchLabel), QColor(Qt::black));
        QVERIFY(!mainWindow->firstLabel->autoFillBackground());
        QCOMPARE(mainWindow->previousButton->text(), QString());
        QCOMPARE(mainWindow->nextButton->text(), QString());
        QCOMPARE(mainWindow->readButton->text(), QString());
        QCOMPARE(mainWindow->markLearnedButton->text(), QStringLiteral("Learned"));
        QVERIFY(!mainWindow->showButtonLabels);
        // Reading aloud then leaves the caption alone.
        QVERIFY(mainWindow->showFrameBorders && !mainWindow->showFramesBackground);
    }

    void skinNamedBySettingsAppliesAtCreation()
    {
        writeSkinSetting(QStringLiteral("Test"));
        start();
        QCOMPARE(mainWindow->skinName, QStringLiteral("Test Skin"));
        QCOMPARE(mainWindow->skinAuthor, QStringLiteral("Korvana tests"));
        QVERIFY(nearly(mainWindow->backgroundPicture->pixmap().toImage().pixel(4, 4), Qt::red));
        QVERIFY(nearly(iconPixel(mainWindow->nextButton), Qt::red));
        QVERIFY(nearly(iconPixel(mainWindow->markUnlearnedButton), Qt::blue));
        QVERIFY(nearly(mainWindow->stopButtonIcon.pixmap(60, 60).toImage().pixel(30, 30), Qt::blue));
        QVERIFY(nearly(iconPixel(mainWindow->readButton), Qt::red));
        // Frame labels blue, command labels red on an opaque green.
        QCOMPARE(textColour(mainWindow->wordsSwitchLabel), QColor(0, 0, 255));
        QCOMPARE(textColour(mainWindow->readAloudLabel), QColor(0, 0, 255));
        QCOMPARE(textColour(mainWindow->goLabel), QColor(255, 0, 0));
        QVERIFY(mainWindow->goLabel->autoFillBackground());
        QVERIFY(mainWindow->openLinkedFileLabel->autoFillBackground());
        QCOMPARE(textColour(mainWindow->openLinkedFileLabel, QPalette::Window), QColor(0, 255, 0));
        QCOMPARE(textColour(mainWindow->markDifficultButton, QPalette::ButtonText), QColor(0x12, 0x34, 0x56));
        // "Show Button Labels" is 0.
        QCOMPARE(mainWindow->previousButton->text(), QString());
    }

    void failedSkinAtCreationGivesTheBuiltInLook()
    {
        // Gone, a PNG named .jpg, a named pipe for a picture: the stored
        // name stays, the window takes the built-in look (never black
        // captions on a black window), and the about window names it.
        for (const QString &skin : {QStringLiteral("Gone"), QStringLiteral("PngAsJpg"), QStringLiteral("Fifo")}) {
            writeSkinSetting(skin);
            start();
            QCOMPARE(mainWindow->selectedSkin, skin);
            QCOMPARE(mainWindow->skinName, StandardSkinTitle);
            QVERIFY(mainWindow->backgroundPicture
                    && nearly(mainWindow->backgroundPicture->pixmap().toImage().pixel(4, 4), QColor(0xFF, 0xF6, 0xE6)));
            QCOMPARE(textColour(mainWindow->firstLabel), QColor(Qt::black));
            QVERIFY(!mainWindow->previousButton->icon().isNull());
            aboutDialog->show();
            QCOMPARE(aboutDialog->skinNameLabel->text(), StandardSkinTitle);
            aboutDialog->close();
            destroyWindows();
        }
        // File names are matched ignoring case.
        writeSkinSetting(QStringLiteral("Windows"));
        start();
        QCOMPARE(mainWindow->skinName, QStringLiteral("Test Skin"));
        QVERIFY(m_scripted->dialogs.messages.empty());
    }

    void framesGroupTheSwitchesAndTakeTheSkin()
    {
        start();
        mainWindow->show();
        QCoreApplication::processEvents();
        const std::pair<QFrame *, QList<QWidget *>> groups[]
            = {{mainWindow->modeFrame,
                widgets(mainWindow->modeFrameLabel, mainWindow->randomSwitch, mainWindow->randomSwitchLabel,
                        mainWindow->autoSwitch, mainWindow->autoOptionsLabel)},
               {mainWindow->panesFrame,
                widgets(mainWindow->panesFrameLabel, mainWindow->wordsSwitch, mainWindow->phrasesSwitchLabel,
                        mainWindow->difficultSwitchLabel)},
               {mainWindow->autoFrame,
                widgets(mainWindow->autoFrameLabel, mainWindow->pictureSwitchLabel, mainWindow->soundSwitchLabel,
                        mainWindow->readAloudLabel, mainWindow->flashSwitchLabel, mainWindow->flashNowLabel)}};
        for (const auto &[frame, members] : groups)
            for (QWidget *w : members)
                QVERIFY2(frame->geometry().contains(w->geometry()), qPrintable(w->objectName()));

        // A skin without skin.ini: captions on, solid black borders and fills.
        SkinDialog::loadSkin(QStringLiteral("Plain"));
        QCOMPARE(mainWindow->skinName, QString());
        QCOMPARE(mainWindow->previousButton->text(), QStringLiteral("<<<"));
        QCOMPARE(mainWindow->nextButton->text(), QStringLiteral(">>>"));
        QCOMPARE(mainWindow->readButton->text(), QStringLiteral("Read"));
        QCOMPARE(mainWindow->markUnlearnedButton->text(), QStringLiteral("Unearned"));
        QVERIFY(!mainWindow->firstLabel->autoFillBackground());
        const QImage frame = mainWindow->panesFrame->grab().toImage();
        QVERIFY(nearly(frame.pixel(0, frame.height() / 2), Qt::black));
        QVERIFY(nearly(frame.pixel(3, 3), Qt::black));

        SkinDialog::loadSkin(QStringLiteral("Framed"));
        const QImage framed = mainWindow->panesFrame->grab().toImage();
        QVERIFY(nearly(framed.pixel(0, framed.height() / 2), QColor(0x2e, 0x7d, 0x5b)));
        QVERIFY(nearly(framed.pixel(3, 3), QColor(0xd6, 0xef, 0xe1)));
        QCOMPARE(textColour(mainWindow->panesFrameLabel), QColor(0x0b, 0x3d, 0x2a));

        SkinDialog::loadSkin(QStringLiteral("Test")); // no borders, no fill
        const QImage bare = mainWindow->panesFrame->grab().toImage();
        QVERIFY(!nearly(bare.pixel(0, bare.height() / 2), QColor(0xab, 0xcd, 0xef)));
    }

    void skinnedButtonsAreTheirPictureWithTheCaptionOverIt()
    {
        start();
        mainWindow->show();
        SkinDialog::loadSkin(QStringLiteral("Framed")); // red pictures, white captions
        QCoreApplication::processEvents();
        const QImage next = mainWindow->nextButton->grab().toImage();
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
        mainWindow->show();
        QCoreApplication::processEvents();
        auto layoutNow = [] {
            QList<QRect> rects{QRect(QPoint(), mainWindow->size())};
            for (QWidget *w : widgets(mainWindow->nextButton, mainWindow->readButton, mainWindow->markLearnedButton,
                                      mainWindow->goLabel, mainWindow->autoSwitch, mainWindow->countLabel))
                rects << w->geometry();
            if (mainWindow->termNumberEdit)
                rects << mainWindow->termNumberEdit->geometry();
            return rects;
        };
        const QList<QRect> designed = layoutNow();
        for (const QString &skin : {QStringLiteral("Huge"), QStringLiteral("Ninety"), StandardSkinName}) {
            SkinDialog::loadSkin(skin);
            QCoreApplication::processEvents();
            QCOMPARE(layoutNow(), designed);
        }
        SkinDialog::loadSkin(QStringLiteral("Huge"));
        QCOMPARE(mainWindow->skinName, QStringLiteral("Huge"));
        QCOMPARE(mainWindow->previousButton->iconSize(), QSize(60, 60));
        // A new start with the skin stored has the designed size too.
        writeSkinSetting(QStringLiteral("Huge"));
        destroyWindows();
        start();
        mainWindow->show();
        QCoreApplication::processEvents();
        QCOMPARE(layoutNow(), designed);
    }

    void dialogListsAppliesAndCloses()
    {
        start();
        mainWindow->changeSkinCommand();
        QVERIFY(skinDialog->isVisible());
        skinDialog->onActivate();
        QStringList shown;
        for (int i = 0; i < skinDialog->skinList->count(); ++i)
            shown << skinDialog->skinList->item(i)->text();
        QCOMPARE(shown, (QStringList{StandardSkinName, "Fifo", "Framed", "Huge", "Ninety", "NoStop", "Plain",
                                     "PngAsJpg", "Test", "Windows"}));
        QVERIFY(skinDialog->skinList->selectedItems().isEmpty());

        // Nothing selected: apply does nothing.
        skinDialog->applyButton->click();
        QCOMPARE(mainWindow->selectedSkin, StandardSkinName);

        skinDialog->skinList->setCurrentRow(8);
        skinDialog->applyButton->click();
        QCOMPARE(mainWindow->selectedSkin, QStringLiteral("Test"));
        QCOMPARE(mainWindow->skinName, QStringLiteral("Test Skin"));
        QVERIFY(skinDialog->isVisible());

        // A skin that fails is still the one stored; the built-in look
        // stands in for it.
        skinDialog->skinList->setCurrentRow(5);
        skinDialog->skinListDoubleClicked();
        QCOMPARE(mainWindow->selectedSkin, QStringLiteral("NoStop"));
        QCOMPARE(mainWindow->skinName, StandardSkinTitle);

        // The stored name reaches the settings file when the window closes.
        mainWindow->onClose();
        QCOMPARE(IniFile(SettingsFile::path()).readString(QStringLiteral("Options"), QStringLiteral("Skin"), {}),
                 QStringLiteral("NoStop"));

        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(skinDialog, &esc);
        QVERIFY(!skinDialog->isVisible());
    }
};

QTEST_MAIN(TestSkins)
#include "tst_skins.moc"
