// Sounds, pictures and reading aloud in the main window: the term's sound
// with its switch and the Space key, the picture window with its placement,
// its switch and the G key, the Read button, its switch, the wait for the
// sound, the highlight of the spoken word and the end of speech.
#include "app/TermMedia.h"
#include "app/WindowSkin.h"
#include "platform/media/QtMediaPlayer.h"
#include "practice/PictureWindow.h"
#include "settings/SettingsFile.h"
#include "support/FakeMediaPlayer.h"
#include "support/ProgramTestCase.h"

#include <QApplication>
#include <QCheckBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>
#include <zlib.h>

using namespace korvana;
using apptest::status;

namespace {
QString fixture(const char *name)
{
    return QStringLiteral(KORVANA_TEST_DATA "/media/") + QLatin1String(name);
}
} // namespace

class TestMainWindowMedia : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true}; }
    MainWindow *f = nullptr;
    FakeMediaPlayer *player = nullptr;
    FakeSpeechVoice *voice = nullptr;

    void load(const QStringList &lines) { apptest::loadLines(f, lines); }
    static QString term(const QString &orig, const QString &extra = {}, const QString &chars = {})
    {
        return QStringLiteral("<OR=%1><CH=%2><TY=w><ST=u>%3")
            .arg(orig, chars.isNull() ? QStringLiteral("字") + orig : chars, extra);
    }
    static QString withSound(const QString &file) { return QStringLiteral("<SN=%1>").arg(file); }
    static QString withPicture(const QString &file) { return QStringLiteral("<GR=%1>").arg(file); }
    QString writeFile(const QString &name, const QByteArray &data) { return apptest::writeFile(homePath(name), data); }

    void beforeProgram() override
    {
        TermMedia::setMediaPlayerFactory([] { return std::unique_ptr<MediaPlayer>(new FakeMediaPlayer); });
    }
    void programStarted() override
    {
        f = mainWindow;
        // The built-in look shows pictures on its buttons; these tests read
        // the Read button's caption, as a skin with button labels shows it.
        f->skin().fields().showButtonLabels = true;
        player = qobject_cast<FakeMediaPlayer *>(apptest::control<korvana::MediaPlayer>("soundPlayer"));
        QVERIFY(player);
        voice = new FakeSpeechVoice;
        apptest::state().voice.reset(voice);
        apptest::settings().showReadingProgress = false;
        apptest::settings().soundExcludesSynthesis = false;
        pictureWindow->setScreenSize(QSize(800, 600));
    }

private slots:
    // --- sounds -------------------------------------------------------------

    void soundPlaysWithItsSwitchAndSpaceToggles()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav)), term("two")});
        f->nextButtonClicked(); // switch off: offered, not played
        QVERIFY(!apptest::control<korvana::ClickLabel>("playSoundLabel")->isHidden());
        QVERIFY(player->playedFiles().isEmpty());
        QTest::keyClick(f, Qt::Key_Space);
        QCOMPARE(player->playedFiles(), QStringList{wav});
        QVERIFY(f->media().soundPlaying());
        QTest::keyClick(f, Qt::Key_Space); // stops
        QVERIFY(!f->media().soundPlaying());
        apptest::control<korvana::ClickLabel>("playSoundLabel")->click(); // and plays again from the start
        QCOMPARE(player->playedFiles().size(), 2);

        // A manual step stops the sound before it moves on.
        const int stops = player->stopCalls();
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 2);
        QVERIFY(player->stopCalls() > stops);
        QVERIFY(!f->media().soundPlaying());
        QVERIFY(apptest::control<korvana::ClickLabel>("playSoundLabel")->isHidden());
        QTest::keyClick(f, Qt::Key_Space); // a term without sound: nothing to play
        QCOMPARE(player->playedFiles().size(), 2);

        apptest::control<QCheckBox>("soundSwitch")->setChecked(true);
        f->nextButtonClicked();
        QCOMPARE(player->playedFiles().size(), 3);
    }

    void unplayableSoundIsReportedAndPracticeGoesOn()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav)), term("two", withSound(wav))});
        apptest::control<QCheckBox>("soundSwitch")->setChecked(true);
        player->setOpenError(QStringLiteral("no codec"));
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 1);
        QCOMPARE(status(), QStringLiteral("Error playing file ") + wav);
        QVERIFY(!f->media().soundPlaying());
        player->setOpenError(QString());
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 2);
        QVERIFY(f->media().soundPlaying());
        // A sound that gives up while playing says the same and ends.
        QVERIFY(player->failPlaying(QStringLiteral("device lost")));
        QCOMPARE(status(), QStringLiteral("Error playing file ") + wav);
        QVERIFY(!f->media().soundPlaying());
    }

    void automaticStepWaitsForTheSound()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav)), term("two")});
        apptest::control<QCheckBox>("soundSwitch")->setChecked(true);
        f->nextButtonClicked();
        apptest::control<QCheckBox>("autoSwitch")->setChecked(true);
        int indexWhilePlaying = -1;
        QTimer::singleShot(0, f, [&] {
            indexWhilePlaying = apptest::store().currentIndex;
            player->finishPlaying();
        });
        const int stops = player->stopCalls();
        f->nextButtonClicked();
        QCOMPARE(indexWhilePlaying, 1);
        QCOMPARE(player->stopCalls(), stops); // let run to its end
        QCOMPARE(apptest::store().currentIndex, 2);
        apptest::control<QCheckBox>("autoSwitch")->setChecked(false);
    }

    // --- reading aloud ----------------------------------------------------------

    void readingWaitsForTheTermsSound()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav))});
        apptest::control<QCheckBox>("soundSwitch")->setChecked(true);
        apptest::control<QCheckBox>("readSwitch")->setChecked(true);
        QStringList spokenWhilePlaying{QStringLiteral("not run")};
        QTimer::singleShot(0, f, [&] {
            spokenWhilePlaying = voice->spokenTexts();
            player->finishPlaying();
        });
        f->nextButtonClicked();
        QCOMPARE(spokenWhilePlaying, QStringList());
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("字one")});
        QVERIFY(f->media().speaking());
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Stop"));
    }

    void readButtonTogglesSpeechAndTheEndResetsIt()
    {
        load({term("one"), term("two")});
        f->media().readButtonClicked(); // no term shown yet
        QVERIFY(voice->spokenTexts().isEmpty());
        f->nextButtonClicked();
        apptest::control<QPushButton>("readButton")->click();
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("字one")});
        QVERIFY(f->media().speaking());
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Stop"));
        QTest::keyClick(f, Qt::Key_Return); // Enter stops it
        QCOMPARE(voice->skipCalls(), 1);
        QVERIFY(!f->media().speaking());
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Read"));
        QCoreApplication::processEvents(); // the skipped speech's end
        QVERIFY(voice->pendingStreams().isEmpty());
        QVERIFY(!f->media().speaking());

        // Speech that runs to its end resets the button by its end event.
        f->media().readButtonClicked();
        QVERIFY(f->media().speaking());
        QVERIFY(voice->finishSpeaking());
        QVERIFY(!f->media().speaking());
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Read"));
    }

    void anOldEndDoesNotEndNewSpeech()
    {
        load({term("one")});
        f->nextButtonClicked();
        f->media().readButtonClicked();
        f->media().readButtonClicked(); // stop: its end is still on its way
        f->media().readButtonClicked(); // read again at once
        QCOMPARE(voice->spokenTexts().size(), 2);
        QCoreApplication::processEvents();
        QVERIFY(f->media().speaking());
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Stop"));
        QVERIFY(voice->finishSpeaking());
        QVERIFY(!f->media().speaking());
    }

    void emptyCharactersLeaveNoSpeakingState()
    {
        load({term("one", {}, QStringLiteral("")), term("two")});
        f->nextButtonClicked();
        QCOMPARE(apptest::control<korvana::RichEdit>("termCharactersText")->text(), QString());
        f->media().readButtonClicked();
        QVERIFY(!f->media().speaking());
        QVERIFY(voice->spokenTexts().isEmpty());
        QVERIFY(apptest::control<QPushButton>("readButton")->text() != QStringLiteral("Stop"));
        QVERIFY(apptest::control<QPushButton>("readButton")->icon().cacheKey() != f->skin().stopButtonIcon().cacheKey()
                || f->skin().stopButtonIcon().isNull());
        // Reading on for every term: an automatic step is not held up.
        apptest::control<QCheckBox>("readSwitch")->setChecked(true);
        apptest::control<QCheckBox>("autoSwitch")->setChecked(true);
        f->previousButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 2);
        QVERIFY(f->media().speaking()); // "two" has characters
        apptest::control<QCheckBox>("autoSwitch")->setChecked(false);
    }

    void buttonLabelsOffChangeOnlyTheGlyph()
    {
        QPixmap readPix(4, 4), stopPix(4, 4);
        readPix.fill(Qt::green);
        stopPix.fill(Qt::red);
        f->skin().setReadButtonIcons(QIcon(readPix), QIcon(stopPix));
        f->skin().fields().showButtonLabels = false;
        apptest::control<QPushButton>("readButton")->setText(QStringLiteral("Custom"));
        load({term("one")});
        f->nextButtonClicked();
        f->media().readButtonClicked();
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Custom"));
        QCOMPARE(apptest::control<QPushButton>("readButton")->icon().cacheKey(), f->skin().stopButtonIcon().cacheKey());
        voice->finishSpeaking();
        QCOMPARE(apptest::control<QPushButton>("readButton")->text(), QStringLiteral("Custom"));
        QCOMPARE(apptest::control<QPushButton>("readButton")->icon().cacheKey(), f->skin().readButtonIcon().cacheKey());
    }

    void spokenWordIsHighlightedWhenAsked()
    {
        load({term("one", {}, QStringLiteral("你好朋友"))});
        f->nextButtonClicked();
        apptest::settings().showReadingProgress = true;
        f->media().readButtonClicked();
        QVERIFY(voice->speakWord(2, 2));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selStart(), 2);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selText(), QStringLiteral("朋友"));
        // A word past the text is held inside it.
        QVERIFY(voice->speakWord(3, 9));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selStart(), 3);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selLength(), 1);
        QVERIFY(voice->finishSpeaking());
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selLength(), 0);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selStart(), 0);

        // Other speech on the same voice (the reader's) moves no highlight,
        // but its end still resets the Read button.
        f->media().readButtonClicked();
        const int other = voice->speak(QStringLiteral("another text"));
        QVERIFY(other > 0);
        QVERIFY(voice->finishSpeaking()); // the window's own
        QVERIFY(voice->speakWord(0, 3));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selLength(), 0);

        // Without the setting nothing is selected.
        apptest::settings().showReadingProgress = false;
        QVERIFY(voice->finishSpeaking());
        f->media().readButtonClicked();
        QVERIFY(voice->speakWord(0, 2));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->selLength(), 0);
    }

    void readSwitchAndItsCaption()
    {
        apptest::control<korvana::ClickLabel>("readAloudLabel")->click();
        QVERIFY(apptest::control<QCheckBox>("readSwitch")->isChecked());
        QCOMPARE(status(), QStringLiteral("Auto read ON"));
        apptest::control<QCheckBox>("readSwitch")->setChecked(false); // from code: the same handler
        QCOMPARE(status(), QStringLiteral("Auto read OFF"));
        apptest::control<QCheckBox>("readSwitch")->setEnabled(false); // no Chinese voice this run
        apptest::control<korvana::ClickLabel>("readAloudLabel")->click();
        QVERIFY(!apptest::control<QCheckBox>("readSwitch")->isChecked());
    }

    void voiceMadeAtActivationIsHeard()
    {
        // The voice the first activation makes gets its events handled.
        apptest::state().voice.reset();
        FakeSpeechVoice *made = nullptr;
        MainWindow::setVoiceFactory([&made] {
            made = new FakeSpeechVoice;
            made->setVoices({FakeSpeechVoice::makeVoice("zh", "Chinese", "804")});
            return std::unique_ptr<SpeechVoice>(made);
        });
        f->setFirstActivation(true);
        SettingsFile::setShowReminder(false);
        f->onActivate();
        apptest::useFakeVoice();
        QVERIFY(made);
        load({term("one")});
        f->nextButtonClicked();
        f->media().setSpeaking(false);
        made->speak(QStringLiteral("said elsewhere"));
        f->media().setSpeaking(true);
        QVERIFY(made->finishSpeaking());
        QVERIFY(!f->media().speaking());
    }

    void soundsAndPicturesAreFoundBesideTheLesson()
    {
        // The lesson's folder, not the current one, holds its media; stored
        // names may use "\\" as separator.
        QDir lessonDir(homePath(QStringLiteral("lessons")));
        QVERIFY(lessonDir.mkpath(QStringLiteral("snd")));
        QVERIFY(QFile::copy(fixture("short.wav"), lessonDir.filePath(QStringLiteral("snd/short.wav"))));
        QVERIFY(QFile::copy(fixture("tiny.jpg"), lessonDir.filePath(QStringLiteral("tiny.jpg"))));
        const QString media = withSound(QStringLiteral("snd\\short.wav")) + withPicture(QStringLiteral("tiny.jpg"));
        apptest::loadLines(f, {term("one", media)}, lessonDir.filePath(QStringLiteral("a.kvl")));
        QVERIFY(QDir::current() != lessonDir);
        apptest::control<QCheckBox>("soundSwitch")->setChecked(true);
        f->nextButtonClicked();
        QVERIFY(!apptest::control<korvana::ClickLabel>("playSoundLabel")->isHidden()
                && !apptest::control<korvana::ClickLabel>("viewPictureLabel")->isHidden());
        QCOMPARE(player->playedFiles(), QStringList{lessonDir.filePath(QStringLiteral("snd/short.wav"))});
        QTest::keyClick(f, Qt::Key_G);
        QVERIFY(pictureWindow->isVisible());
        QCOMPARE(pictureWindow->termPicture->pixmap().size(), QSize(12, 8));
    }

    void specialFilesNamedByALessonCannotHangIt()
    {
        // A hang must fail this test, not the suite: the work runs in a child.
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KORVANA_MEDIA_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("specialFilesChild")});
        const bool done = child.waitForFinished(30000);
        if (!done)
            child.kill();
        const QByteArray out = child.readAll();
        QVERIFY2(done, "showing or playing a special file hung");
        QVERIFY2(child.exitCode() == 0, out.constData());
    }

    void specialFilesChild()
    {
        if (qEnvironmentVariable("KORVANA_MEDIA_CHILD") != QLatin1String("1"))
            QSKIP("runs inside specialFilesNamedByALessonCannotHangIt");
        TermMedia::setMediaPlayerFactory([] { return std::unique_ptr<MediaPlayer>(new QtMediaPlayer); });
        destroyWindows();
        apptest::createFreshWindows();
        f = mainWindow;
        f->setFirstActivation(false);
        const QString fifo = homePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QFile big(homePath(QStringLiteral("big.jpg")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(PictureWindow::MaxFileBytes + 1));
        QFile huge(homePath(QStringLiteral("huge.wav")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(MediaPlayer::MaxFileBytes + 1));
        const QStringList special{fifo, QStringLiteral("/dev/zero"), QStringLiteral("/dev/urandom")};
        QStringList lines;
        for (const QString &name : special)
            lines << term(name, withSound(name) + withPicture(name));
        lines << term("big", withSound(huge.fileName()) + withPicture(big.fileName()));
        load(lines);
        apptest::control<QCheckBox>("soundSwitch")->setChecked(true);
        apptest::control<QCheckBox>("pictureSwitch")->setChecked(true);
        for (int i = 1; i <= lines.size(); ++i) {
            f->nextButtonClicked();
            QCOMPARE(apptest::store().currentIndex, i);
            // Treated as missing: nothing offered, shown or played.
            QVERIFY(apptest::control<korvana::ClickLabel>("playSoundLabel")->isHidden()
                    && apptest::control<korvana::ClickLabel>("viewPictureLabel")->isHidden());
            QVERIFY(!pictureWindow->isVisible() && !f->media().soundPlaying());
            QTest::keyClick(f, Qt::Key_Space);
            QVERIFY(!f->media().soundPlaying());
        }
        QVERIFY(dialogs().messages.empty());
    }

    // --- pictures ---------------------------------------------------------------

    void placementFollowsThePictureAndTheScreen()
    {
        const QSize screen(800, 600);
        auto p = PictureWindow::placementFor(QSize(200, 100), screen);
        QVERIFY(p.borderless);
        QCOMPARE(p.clientSize, QSize(200, 100));
        // Larger pictures are scaled down to fit, keeping their proportions.
        p = PictureWindow::placementFor(QSize(1600, 900), screen);
        QVERIFY(!p.borderless);
        QCOMPARE(p.clientSize, QSize(800, 450));
        p = PictureWindow::placementFor(QSize(300, 1200), screen); // higher only
        QCOMPARE(p.clientSize, QSize(150, 600));
        p = PictureWindow::placementFor(QSize(800, 100), screen); // as wide as the screen
        QVERIFY(!p.borderless);
        QCOMPARE(p.clientSize, QSize(800, 100));
    }

    void pictureLeavesTheKeysToThePracticeAndFitsTheScreen()
    {
        // A large picture, then a small one, in the real windows.
        QImage large(1600, 1200, QImage::Format_RGB32);
        large.fill(Qt::blue);
        const QString big = homePath(QStringLiteral("big.png"));
        QVERIFY(large.save(big));
        load({term("one", withPicture(big)), term("two", withPicture(fixture("tiny.jpg"))), term("three")});
        f->show();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        apptest::control<QCheckBox>("pictureSwitch")->setChecked(true);
        f->nextButtonClicked();
        QVERIFY(pictureWindow->isVisible());
        QCOMPARE(pictureWindow->size(), QSize(800, 600));
        QVERIFY(!(pictureWindow->windowState() & Qt::WindowMaximized));
        QCOMPARE(QApplication::activeWindow(), f);
        // The practice keys still work: Right steps, G hides the picture.
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : f, Qt::Key_Right);
        QCOMPARE(apptest::store().currentIndex, 2);
        QCOMPARE(pictureWindow->size(), QSize(12, 8));
        QCOMPARE(pictureWindow->pos(), QPoint(0, 0));
        QVERIFY(pictureWindow->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(QApplication::activeWindow(), f);
        // Keys that reach the picture window go on to the practice.
        QTest::keyClick(pictureWindow, Qt::Key_G);
        QVERIFY(!pictureWindow->isVisible());
    }

    void pictureShowsWithItsSwitchAndClosesByClickAndG()
    {
        const QString jpg = fixture("tiny.jpg");
        load({term("one", withPicture(jpg)), term("two")});
        f->nextButtonClicked(); // switch off: offered only
        QVERIFY(!apptest::control<korvana::ClickLabel>("viewPictureLabel")->isHidden());
        QVERIFY(!pictureWindow->isVisible());
        QTest::keyClick(f, Qt::Key_G);
        QVERIFY(pictureWindow->isVisible());
        QCOMPARE(pictureWindow->windowTitle(), QStringLiteral("Picture [%1]").arg(jpg));
        QCOMPARE(pictureWindow->termPicture->pixmap().size(), QSize(12, 8));
        QCOMPARE(pictureWindow->size(), QSize(12, 8));
        QCOMPARE(pictureWindow->pos(), QPoint(0, 0));
        QVERIFY(pictureWindow->windowFlags() & Qt::FramelessWindowHint);
        QTest::keyClick(f, Qt::Key_G);
        QVERIFY(!pictureWindow->isVisible());

        apptest::control<korvana::ClickLabel>("pictureSwitchLabel")->click();
        f->nextButtonClicked();
        f->nextButtonClicked(); // back to the picture's term: shown at once
        QVERIFY(pictureWindow->isVisible());
        QTest::mouseClick(pictureWindow->termPicture, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!pictureWindow->isVisible());
        f->nextButtonClicked(); // the next term closes nothing that is not open
        QVERIFY(!pictureWindow->isVisible());
        QTest::keyClick(f, Qt::Key_G); // a term without picture: nothing to show
        QVERIFY(!pictureWindow->isVisible());
        QVERIFY(dialogs().messages.empty());
    }

    void bitmapsAndMisnamedPicturesAreReadByContent()
    {
        load({term("bmp", withPicture(fixture("tiny.bmp")))});
        QVERIFY(f->showTerm(1));
        f->media().displayPicture();
        QCOMPARE(pictureWindow->termPicture->pixmap().size(), QSize(5, 4));
        QFile jpeg(fixture("tiny.jpg"));
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        load({term("misnamed", withPicture(writeFile(QStringLiteral("really-a-jpeg.bmp"), jpeg.readAll())))});
        QVERIFY(f->showTerm(1));
        f->media().displayPicture();
        QCOMPARE(pictureWindow->termPicture->pixmap().size(), QSize(12, 8));
        QVERIFY(dialogs().messages.empty());
    }

    void unreadablePictureIsReportedWithItsReason_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty: a folder of that name
        QTest::addColumn<QString>("reason");   // empty: the image reader's own words
        // A PNG that claims 30000 by 30000 pixels: gigabytes once decoded.
        const auto be32 = [](quint32 v) {
            QByteArray out;
            for (int shift = 24; shift >= 0; shift -= 8)
                out.append(char(v >> shift));
            return out;
        };
        const auto chunk = [&](const QByteArray &type, const QByteArray &data) {
            const QByteArray body = type + data;
            return be32(quint32(data.size())) + body
                   + be32(quint32(::crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))));
        };
        const QByteArray bomb = QByteArray("\x89PNG\r\n\x1a\n", 8)
                                + chunk("IHDR", be32(30000) + be32(30000) + QByteArray("\x08\x02\x00\x00\x00", 5))
                                + chunk("IDAT", qCompress(QByteArray(1, '\0')).mid(4)) + chunk("IEND", {});
        QTest::newRow("decompression bomb") << "bomb.png" << bomb << "too large";
        QTest::newRow("folder") << "folder.jpg" << QByteArray() << "is a folder";
        QTest::newRow("name of 4096 bytes") << QString(4096, u'p') << QByteArray() << "name too long";
        QTest::newRow("not a picture") << "broken.jpg" << QByteArray("not a picture at all") << QString();
    }

    void unreadablePictureIsReportedWithItsReason()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString bad = homePath(name);
        if (name.size() <= 255 && bytes.isEmpty()) // a longer name no file can have
            QVERIFY(QDir().mkpath(bad));
        else if (name.size() <= 255)
            bad = writeFile(name, bytes);
        load({term("one", withPicture(bad)), term("two")});
        apptest::control<QCheckBox>("pictureSwitch")->setChecked(false);
        f->nextButtonClicked();
        dialogs().messages.clear();
        QTest::keyClick(f, Qt::Key_G); // also what is no regular file: the key asks for it by name
        QCOMPARE(dialogs().messages.size(), size_t(1));
        const QString message = dialogs().lastMessage();
        QVERIFY2(message.startsWith(QStringLiteral("Error reading file ") + bad + " ("), qPrintable(message));
        if (!reason.isEmpty())
            QCOMPARE(message, QStringLiteral("Error reading file %1 (%2)").arg(bad, reason));
        else
            QVERIFY2(message.size() > QStringLiteral("Error reading file  ()").size() + bad.size(),
                     qPrintable(message));
        QVERIFY(!pictureWindow->isVisible());
        QVERIFY(pictureWindow->termPicture->pixmap().isNull()); // no picture of an earlier term left
        f->nextButtonClicked();
        QCOMPARE(apptest::store().currentIndex, 2); // practice goes on
    }
};

QTEST_MAIN(TestMainWindowMedia)
#include "tst_mainwindow_media.moc"
