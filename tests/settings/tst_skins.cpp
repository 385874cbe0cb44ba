// Skins on the main window: the skin applied while the window is created,
// the selection dialog, and what each skin value does to the window.
#include "app/HoverLabel.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/WindowChrome.h"
#include "app/WindowSkin.h"
#include "platform/ini/IniFile.h"
#include "settings/AboutDialog.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "settings/Skin.h"
#include "settings/SkinDialog.h"
#include "support/AppTestSupport.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
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
        if (!ini.isNull())
            apptest::writeFile(folder + QStringLiteral("/skin.ini"), ini.toUtf8());
    }

    // A skin named name with the six pictures of folder from, and skin.ini:
    // from's own ("*"), this text, or none (a null text).
    void copySkin(const QString &from, const QString &name, const QString &ini)
    {
        const QString folder = m_program.filePath(QStringLiteral("skins/") + name + QLatin1Char('/'));
        QDir().mkpath(folder);
        for (SkinPicture p : AllSkinPictures)
            QVERIFY(QFile::copy(from + QLatin1Char('/') + skinPictureFile(p), folder + skinPictureFile(p)));
        if (ini == QLatin1String("*")) {
            QVERIFY(QFile::copy(from + QStringLiteral("/skin.ini"), folder + QStringLiteral("skin.ini")));
        } else if (!ini.isNull()) {
            apptest::writeFile(folder + QStringLiteral("skin.ini"), ini.toUtf8());
        }
    }

    void writeSkinSetting(const QString &skin)
    {
        IniFile ini(SettingsFile::path());
        ini.writeString(QStringLiteral("Options"), QStringLiteral("Skin"), skin);
    }

    void start() { createWindows(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_program.isValid());
        apptest::useHomeFolders(m_home);
        ProgramPaths::setProgramFolder(m_program.path() + QLatin1Char('/'));
        apptest::useFakeVoice();
        QFile skinIni(data + QStringLiteral("skin.ini"));
        QVERIFY(skinIni.open(QIODevice::ReadOnly));
        // Its colours made readable on its red and blue pictures, so that
        // they reach the window as they stand.
        QString testIni = QString::fromUtf8(skinIni.readAll());
        testIni.replace(QStringLiteral("\nLabels Color=#ff0000"), QStringLiteral("\nLabels Color=#400000"))
            .replace(QStringLiteral("Frames Labels Color=#0000FF"), QStringLiteral("Frames Labels Color=#000040"))
            .replace(QStringLiteral("Buttons Labels Color=#123456"), QStringLiteral("Buttons Labels Color=#f0e0d0"));
        makeSkin(QStringLiteral("Test"), testIni);
        skinIni.seek(0);
        makeSkin(QStringLiteral("Plain"), QString());
        makeSkin(QStringLiteral("NoStop"), QStringLiteral("[Options]\nLabels Color=#00ff00\n"),
                 {QStringLiteral("buttonstop.jpg")});
        makeSkin(QStringLiteral("Framed"),
                 QStringLiteral("[Options]\nName=Framed\nFrames Labels Color=#0b3d2a\nButtons Labels Color=#000020\n"
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
        QCOMPARE(
            ::mkfifo(QFile::encodeName(m_program.filePath(QStringLiteral("skins/Fifo/main.jpg"))).constData(), 0600),
            0);
        // Spelled as on Windows.
        makeSkin(QStringLiteral("Windows"), QString::fromUtf8(skinIni.readAll()), {QStringLiteral("main.jpg")});
        QVERIFY(QFile::copy(data + QStringLiteral("red.jpg"),
                            m_program.filePath(QStringLiteral("skins/Windows/Main.jpg"))));
        // The shipped skins; one's pictures without skin.ini, the other's
        // with a skin.ini holding only "Name=".
        const QString shipped = QStringLiteral(KORVANA_SOURCE_DIR "/skins/");
        copySkin(shipped + QStringLiteral("Jade"), QStringLiteral("Jade"), QStringLiteral("*"));
        copySkin(shipped + QStringLiteral("Porcelain"), QStringLiteral("Porcelain"), QStringLiteral("*"));
        copySkin(shipped + QStringLiteral("Jade"), QStringLiteral("JadeBare"), QString());
        copySkin(shipped + QStringLiteral("Porcelain"), QStringLiteral("NameOnly"),
                 QStringLiteral("[Options]\nName=\n"));
        // Dark pictures with light glyphs, bare and with a dark skin.ini that
        // sets every key; pictures of black and white stripes, on which no
        // colour reads.
        const QString dark = m_program.filePath(QStringLiteral("dark/"));
        const QString stripes = m_program.filePath(QStringLiteral("stripes/"));
        QDir().mkpath(dark);
        QDir().mkpath(stripes);
        for (SkinPicture p : AllSkinPictures) {
            QImage picture(skinPictureSize(p), QImage::Format_RGB32);
            picture.fill(QColor(0x1c, 0x22, 0x30));
            if (p != SkinPicture::Main)
                QPainter(&picture).fillRect(picture.rect().adjusted(20, 4, -20, -4), QColor(0xd0, 0xd8, 0xe0));
            QVERIFY(picture.save(dark + skinPictureFile(p), "JPEG", 95));
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    picture.setPixel(x, y, (y / 6) % 2 ? 0xFFFFFFFF : 0xFF000000);
            QVERIFY(picture.save(stripes + skinPictureFile(p), "JPEG", 95));
        }
        copySkin(dark, QStringLiteral("DarkBare"), QString());
        copySkin(stripes, QStringLiteral("Stripes"), QString());
        copySkin(dark, QStringLiteral("Dark"),
                 QStringLiteral("[Options]\nName=Dark\nAuthor=Korvana tests\nLabels Color=#e8e4d8\n"
                                "Labels Background Color=#262b36\nShow Labels Background=0\n"
                                "Frames Labels Color=#f2efe6\nButtons Labels Color=#ffffff\nShow Button Labels=1\n"
                                "Frames Borders Color=#7a8496\nShow Frames Borders=1\n"
                                "Frames Background Color=#2e3440\nShow Frames Background=1\n"));
        // Pictures far larger than their elements.
        for (const auto &[name, side] :
             {std::pair{QStringLiteral("Huge"), 1500}, std::pair{QStringLiteral("Ninety"), 90}}) {
            const QString folder = m_program.filePath(QStringLiteral("skins/") + name + QLatin1Char('/'));
            QDir().mkpath(folder);
            QImage big(side, side, QImage::Format_RGB32);
            big.fill(QColor(0x40, 0x80, 0xC0));
            for (SkinPicture p : AllSkinPictures)
                QVERIFY(big.save(folder + skinPictureFile(p), "JPEG"));
            apptest::writeFile(folder + QStringLiteral("skin.ini"),
                               "[Options]\nName=" + name.toUtf8() + "\nShow Button Labels=1\n");
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
        QCOMPARE(apptest::settings().selectedSkin, StandardSkinName);
        QCOMPARE(mainWindow->skin().fields().skinName, QStringLiteral("Default Korvana Skin"));
        QVERIFY(apptest::control<QLabel>("backgroundPicture")
                && apptest::control<QLabel>("backgroundPicture")->pixmap().size() == QSize(550, 350));
        QVERIFY(!apptest::control<QPushButton>("previousButton")->icon().isNull());
        QVERIFY(!mainWindow->skin().stopButtonIcon().isNull() && !mainWindow->skin().readButtonIcon().isNull());
        QCOMPARE(apptest::control<korvana::LatchButton>("markDifficultButton")->iconSize(), QSize(60, 18));
        QCOMPARE(apptest::control<korvana::LatchButton>("markDifficultButton")->size(), QSize(60, 18));
        QCOMPARE(apptest::control<QPushButton>("nextButton")->size(), QSize(60, 60));
        // The three frames with their captions.
        QCOMPARE(mainWindow->skin().frames(),
                 (QList<QFrame *>{apptest::control<QFrame>("modeFrame"), apptest::control<QFrame>("panesFrame"),
                                  apptest::control<QFrame>("autoFrame")}));
        QCOMPARE(apptest::control<QLabel>("modeFrameLabel")->text(), QStringLiteral("Mode:"));
        QCOMPARE(apptest::control<QLabel>("panesFrameLabel")->text(), QStringLiteral("Show:"));
        QCOMPARE(apptest::control<QLabel>("autoFrameLabel")->text(), QStringLiteral("Auto:"));
        // Black labels, captions gone from Previous, Next and Read only.
        QCOMPARE(textColour(apptest::control<korvana::ClickLabel>("firstLabel")), QColor(Qt::black));
        QCOMPARE(textColour(apptest::control<korvana::ClickLabel>("randomSwitchLabel")), QColor(Qt::black));
        QVERIFY(!apptest::control<korvana::ClickLabel>("firstLabel")->autoFillBackground());
        QCOMPARE(apptest::control<QPushButton>("previousButton")->text(), QString());
        QCOMPARE(apptest::control<QPushButton>("nextButton")->text(), QString());
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QString());
        QCOMPARE(apptest::control<QPushButton>("markLearnedButton")->text(), QStringLiteral("Learned"));
        QVERIFY(!mainWindow->skin().fields().showButtonLabels);
        // Reading aloud then leaves the caption alone.
        QVERIFY(mainWindow->skin().fields().showFrameBorders && !mainWindow->skin().fields().showFramesBackground);
    }

    void skinNamedBySettingsAppliesAtCreation()
    {
        writeSkinSetting(QStringLiteral("Test"));
        start();
        QCOMPARE(mainWindow->skin().fields().skinName, QStringLiteral("Test Skin"));
        QCOMPARE(mainWindow->skin().fields().skinAuthor, QStringLiteral("Korvana tests"));
        QVERIFY(nearly(apptest::control<QLabel>("backgroundPicture")->pixmap().toImage().pixel(4, 4), Qt::red));
        QVERIFY(nearly(iconPixel(apptest::control<QPushButton>("nextButton")), Qt::red));
        QVERIFY(nearly(iconPixel(apptest::control<korvana::LatchButton>("markUnlearnedButton")), Qt::blue));
        QVERIFY(nearly(mainWindow->skin().stopButtonIcon().pixmap(60, 60).toImage().pixel(30, 30), Qt::blue));
        QVERIFY(nearly(iconPixel(apptest::control<QPushButton>("readButton")), Qt::red));
        // Frame labels dark blue, command labels dark red on an opaque green.
        QCOMPARE(textColour(apptest::control<korvana::ClickLabel>("wordsSwitchLabel")), QColor(0, 0, 0x40));
        QCOMPARE(textColour(apptest::control<korvana::ClickLabel>("readAloudLabel")), QColor(0, 0, 0x40));
        QCOMPARE(textColour(apptest::control<korvana::ClickLabel>("goLabel")), QColor(0x40, 0, 0));
        QVERIFY(apptest::control<korvana::ClickLabel>("goLabel")->autoFillBackground());
        QVERIFY(apptest::control<QLabel>("openLinkedFileLabel")->autoFillBackground());
        QCOMPARE(textColour(apptest::control<QLabel>("openLinkedFileLabel"), QPalette::Window), QColor(0, 255, 0));
        QCOMPARE(textColour(apptest::control<korvana::LatchButton>("markDifficultButton"), QPalette::ButtonText),
                 QColor(0xf0, 0xe0, 0xd0));
        // "Show Button Labels" is 0.
        QCOMPARE(apptest::control<QPushButton>("previousButton")->text(), QString());
    }

    void failedSkinAtCreationGivesTheBuiltInLook()
    {
        // Gone, a PNG named .jpg, a named pipe for a picture: the stored
        // name stays, the window takes the built-in look (never black
        // captions on a black window), and the about window names it.
        for (const QString &skin : {QStringLiteral("Gone"), QStringLiteral("PngAsJpg"), QStringLiteral("Fifo")}) {
            writeSkinSetting(skin);
            start();
            QCOMPARE(apptest::settings().selectedSkin, skin);
            QCOMPARE(mainWindow->skin().fields().skinName, StandardSkinTitle);
            QVERIFY(apptest::control<QLabel>("backgroundPicture")
                    && nearly(apptest::control<QLabel>("backgroundPicture")->pixmap().toImage().pixel(4, 4),
                              QColor(0xFF, 0xF6, 0xE6)));
            QCOMPARE(textColour(apptest::control<korvana::ClickLabel>("firstLabel")), QColor(Qt::black));
            QVERIFY(!apptest::control<QPushButton>("previousButton")->icon().isNull());
            aboutDialog->show();
            QCOMPARE(aboutDialog->skinNameLabel->text(), StandardSkinTitle);
            aboutDialog->close();
            destroyWindows();
        }
        // File names are matched ignoring case.
        writeSkinSetting(QStringLiteral("Windows"));
        start();
        QCOMPARE(mainWindow->skin().fields().skinName, QStringLiteral("Test Skin"));
        QVERIFY(m_scripted->dialogs.messages.empty());
    }

    void framesGroupTheSwitchesAndTakeTheSkin()
    {
        start();
        mainWindow->show();
        QCoreApplication::processEvents();
        const std::pair<QFrame *, QList<QWidget *>> groups[] = {
            {apptest::control<QFrame>("modeFrame"),
             widgets(apptest::control<QLabel>("modeFrameLabel"), apptest::control<QCheckBox>("randomSwitch"),
                     apptest::control<korvana::ClickLabel>("randomSwitchLabel"),
                     apptest::control<QCheckBox>("autoSwitch"),
                     apptest::control<korvana::ClickLabel>("autoOptionsLabel"))},
            {apptest::control<QFrame>("panesFrame"),
             widgets(apptest::control<QLabel>("panesFrameLabel"), apptest::control<QCheckBox>("wordsSwitch"),
                     apptest::control<korvana::ClickLabel>("phrasesSwitchLabel"),
                     apptest::control<korvana::ClickLabel>("difficultSwitchLabel"))},
            {apptest::control<QFrame>("autoFrame"), widgets(apptest::control<QLabel>("autoFrameLabel"),
                                                            apptest::control<korvana::ClickLabel>("pictureSwitchLabel"),
                                                            apptest::control<korvana::ClickLabel>("soundSwitchLabel"),
                                                            apptest::control<korvana::ClickLabel>("readAloudLabel"),
                                                            apptest::control<korvana::ClickLabel>("flashSwitchLabel"),
                                                            apptest::control<korvana::ClickLabel>("flashNowLabel"))}};
        for (const auto &[frame, members] : groups)
            for (QWidget *w : members)
                QVERIFY2(frame->geometry().contains(w->geometry()), qPrintable(w->objectName()));

        // A skin without skin.ini: captions on, solid black borders and
        // fills (the captions on them readable: everyCaptionReads).
        mainWindow->skin().load(QStringLiteral("Plain"));
        QCOMPARE(mainWindow->skin().fields().skinName, QString());
        QCOMPARE(apptest::control<QPushButton>("previousButton")->text(), QStringLiteral("<<<"));
        QCOMPARE(apptest::control<QPushButton>("nextButton")->text(), QStringLiteral(">>>"));
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Read"));
        QCOMPARE(apptest::control<korvana::LatchButton>("markUnlearnedButton")->text(), QStringLiteral("Unearned"));
        QVERIFY(!apptest::control<korvana::ClickLabel>("firstLabel")->autoFillBackground());
        const QImage frame = apptest::control<QFrame>("panesFrame")->grab().toImage();
        QVERIFY(nearly(frame.pixel(0, frame.height() / 2), Qt::black));
        QVERIFY(nearly(frame.pixel(3, 3), Qt::black));

        mainWindow->skin().load(QStringLiteral("Framed"));
        const QImage framed = apptest::control<QFrame>("panesFrame")->grab().toImage();
        QVERIFY(nearly(framed.pixel(0, framed.height() / 2), QColor(0x2e, 0x7d, 0x5b)));
        QVERIFY(nearly(framed.pixel(3, 3), QColor(0xd6, 0xef, 0xe1)));
        QCOMPARE(textColour(apptest::control<QLabel>("panesFrameLabel")), QColor(0x0b, 0x3d, 0x2a));

        mainWindow->skin().load(QStringLiteral("Test")); // no borders, no fill
        const QImage bare = apptest::control<QFrame>("panesFrame")->grab().toImage();
        QVERIFY(!nearly(bare.pixel(0, bare.height() / 2), QColor(0xab, 0xcd, 0xef)));
    }

    void everyCaptionReads_data()
    {
        // Skins whose label colour reads as the skin sets it: the pane
        // switches show it unchanged.
        QTest::addColumn<QString>("skin");
        QTest::addColumn<bool>("labelsAsSet");
        for (const char *name : {"*standard*", "Jade", "Porcelain", "JadeBare", "NameOnly", "Dark"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        QTest::newRow("DarkBare") << QStringLiteral("DarkBare") << false;
        QTest::newRow("Stripes") << QStringLiteral("Stripes") << false;
    }

    void everyCaptionReads()
    {
        QFETCH(QString, skin);
        QFETCH(bool, labelsAsSet);
        // Applied while the window is created, as at every start.
        writeSkinSetting(skin);
        start();
        mainWindow->show();
        QCoreApplication::processEvents();
        QCOMPARE(mainWindow->skin().fields().skinName == StandardSkinTitle, skin == StandardSkinName); // no fallback

        // What each caption stands on, from the colours and pictures the
        // window gives: its own background, its frame's fill, or the
        // background picture beneath it.
        const QImage picture = apptest::control<QLabel>("backgroundPicture")
                                   ->pixmap()
                                   .toImage()
                                   .scaled(mainWindow->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QRegularExpression fill(QStringLiteral("background: (#[0-9a-fA-F]{6})"));
        auto standsOn = [&](QWidget *w) -> QList<QColor> {
            if (w->autoFillBackground())
                return {w->palette().color(QPalette::Window)};
            for (QFrame *frame : mainWindow->skin().frames()) {
                const QRegularExpressionMatch m = fill.match(frame->styleSheet());
                if (m.hasMatch() && frame->geometry().contains(w->geometry()))
                    return {QColor(m.captured(1))};
            }
            return pictureColors(picture, w->geometry());
        };
        QList<QWidget *> captions =
            widgets(apptest::control<QCheckBox>("translationSwitch"), apptest::control<QCheckBox>("pinyinSwitch"),
                    apptest::control<QCheckBox>("charactersSwitch"), apptest::control<QCheckBox>("notesSwitch"),
                    apptest::control<QLabel>("openLinkedFileLabel"), apptest::control<QLabel>("countLabel"),
                    apptest::control<QLabel>("titleLabel"));
        for (QLabel *l : mainWindow->skin().frameLabels() + mainWindow->skin().commandLabels())
            captions << l;
        for (QWidget *w : captions) {
            const double contrast = worstContrast(w->palette().color(QPalette::WindowText), standsOn(w));
            QVERIFY2(contrast >= ReadableContrast, qPrintable(w->objectName() + QStringLiteral(" %1").arg(contrast)));
        }
        if (labelsAsSet)
            QCOMPARE(textColour(apptest::control<QCheckBox>("notesSwitch")),
                     toQColor(mainWindow->skin().fields().labelsColor));

        // Button captions on their pictures, or on the backing drawn for them.
        for (QPushButton *b :
             {apptest::control<QPushButton>("previousButton"), apptest::control<QPushButton>("nextButton"),
              apptest::control<QPushButton>("readButton"), apptest::control<QPushButton>("markLearnedButton"),
              static_cast<QPushButton *>(apptest::control<korvana::LatchButton>("markUnlearnedButton")),
              static_cast<QPushButton *>(apptest::control<korvana::LatchButton>("markDifficultButton"))}) {
            if (b->text().isEmpty())
                continue;
            const QColor backing = b->property("captionBacking").value<QColor>();
            QRect text(QPoint(),
                       QSize(QFontMetrics(b->font()).horizontalAdvance(b->text()), QFontMetrics(b->font()).height()));
            text.moveCenter(b->rect().center());
            const QList<QColor> under = backing.isValid()
                                            ? QList<QColor>{backing}
                                            : pictureColors(b->icon().pixmap(b->iconSize()).toImage(), text);
            const double contrast = worstContrast(b->palette().color(QPalette::ButtonText), under);
            QVERIFY2(contrast >= ReadableContrast, qPrintable(b->objectName() + QStringLiteral(" %1").arg(contrast)));
        }
    }

    void skinnedButtonsAreTheirPictureWithTheCaptionOverIt()
    {
        start();
        mainWindow->show();
        mainWindow->skin().load(QStringLiteral("Framed")); // red pictures, dark blue captions
        QCoreApplication::processEvents();
        const QImage next = apptest::control<QPushButton>("nextButton")->grab().toImage();
        QCOMPARE(next.size(), QSize(60, 60));
        QVERIFY(nearly(next.pixel(1, 1), Qt::red));
        QVERIFY(nearly(next.pixel(58, 58), Qt::red));
        int caption = 0;
        for (int y = 0; y < next.height(); ++y)
            for (int x = 0; x < next.width(); ++x)
                caption += nearly(next.pixel(x, y), QColor(0x00, 0x00, 0x20)) ? 1 : 0;
        QVERIFY(caption > 10); // ">>>" in the skin's caption colour
    }

    void oversizedPicturesNeverMoveTheLayout()
    {
        start();
        mainWindow->show();
        QCoreApplication::processEvents();
        auto layoutNow = [] {
            QList<QRect> rects{QRect(QPoint(), mainWindow->size())};
            for (QWidget *w :
                 widgets(apptest::control<QPushButton>("nextButton"), apptest::control<QPushButton>("readButton"),
                         apptest::control<QPushButton>("markLearnedButton"),
                         apptest::control<korvana::ClickLabel>("goLabel"), apptest::control<QCheckBox>("autoSwitch"),
                         apptest::control<QLabel>("countLabel")))
                rects << w->geometry();
            if (apptest::control<QLineEdit>("termNumberEdit"))
                rects << apptest::control<QLineEdit>("termNumberEdit")->geometry();
            return rects;
        };
        const QList<QRect> designed = layoutNow();
        for (const QString &skin : {QStringLiteral("Huge"), QStringLiteral("Ninety"), StandardSkinName}) {
            mainWindow->skin().load(skin);
            QCoreApplication::processEvents();
            QCOMPARE(layoutNow(), designed);
        }
        mainWindow->skin().load(QStringLiteral("Huge"));
        QCOMPARE(mainWindow->skin().fields().skinName, QStringLiteral("Huge"));
        QCOMPARE(apptest::control<QPushButton>("previousButton")->iconSize(), QSize(60, 60));
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
        mainWindow->chrome().changeSkinCommand();
        QVERIFY(skinDialog->isVisible());
        skinDialog->onActivate();
        QStringList shown;
        for (int i = 0; i < skinDialog->skinList->count(); ++i)
            shown << skinDialog->skinList->item(i)->text();
        QCOMPARE(shown, (QStringList{StandardSkinName, "Dark", "DarkBare", "Fifo", "Framed", "Huge", "Jade", "JadeBare",
                                     "NameOnly", "Ninety", "NoStop", "Plain", "PngAsJpg", "Porcelain", "Stripes",
                                     "Test", "Windows"}));
        QVERIFY(skinDialog->skinList->selectedItems().isEmpty());

        // Nothing selected: apply does nothing.
        skinDialog->applyButton->click();
        QCOMPARE(apptest::settings().selectedSkin, StandardSkinName);

        skinDialog->skinList->setCurrentRow(15);
        skinDialog->applyButton->click();
        QCOMPARE(apptest::settings().selectedSkin, QStringLiteral("Test"));
        QCOMPARE(mainWindow->skin().fields().skinName, QStringLiteral("Test Skin"));
        QVERIFY(skinDialog->isVisible());

        // A skin that fails is still the one stored; the built-in look
        // stands in for it.
        skinDialog->skinList->setCurrentRow(10);
        skinDialog->skinListDoubleClicked();
        QCOMPARE(apptest::settings().selectedSkin, QStringLiteral("NoStop"));
        QCOMPARE(mainWindow->skin().fields().skinName, StandardSkinTitle);

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
