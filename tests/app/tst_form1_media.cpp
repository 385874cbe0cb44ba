// Sounds, pictures and reading aloud in the main window: the term's sound
// with its switch and the Space key, the picture window with its placement,
// its switch and the G key, the Read button, its switch, the wait for the
// sound, the highlight of the spoken word and the end of speech.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/media/FakeMediaPlayer.h"
#include "platform/media/QtMediaPlayer.h"
#include "platform/speech/FakeSpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "practice/TformPicture.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

using namespace korvana;

namespace {
QString fixture(const char *name)
{
    return QStringLiteral(KORVANA_TEST_DATA "/media/") + QLatin1String(name);
}
} // namespace

class TestForm1Media : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    TForm1 *f = nullptr;
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
    QString status() const { return f->lStatus->text(); }
    QString writeFile(const QString &name, const QByteArray &data)
    {
        const QString path = m_home.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(data);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        apptest::useFakeVoice();
        TForm1::mediaPlayerFactory = [] { return std::unique_ptr<MediaPlayer>(new FakeMediaPlayer); };
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        apptest::createFreshForms();
        f = Form1;
        f->FFirstActivation = false;
        // The built-in look shows pictures on its buttons; these tests read
        // the Read button's caption, as a skin with button labels shows it.
        f->FShowButtonLabels = true;
        player = qobject_cast<FakeMediaPlayer *>(f->MediaPlayer1);
        QVERIFY(player);
        voice = new FakeSpeechVoice;
        f->SpVoice.reset(voice);
        f->FShowReadingProgress = false;
        f->FSoundExcludesSynthesis = false;
        formPicture->setScreenSize(QSize(800, 600));
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    // --- sounds -------------------------------------------------------------

    void soundPlaysWithItsSwitchAndSpaceToggles()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav)), term("two")});
        f->bNextClick(); // switch off: offered, not played
        QVERIFY(!f->lblPlay->isHidden());
        QVERIFY(player->playedFiles().isEmpty());
        QTest::keyClick(f, Qt::Key_Space);
        QCOMPARE(player->playedFiles(), QStringList{wav});
        QVERIFY(f->SoundPlaying());
        QTest::keyClick(f, Qt::Key_Space); // stops
        QVERIFY(!f->SoundPlaying());
        f->lblPlay->click(); // and plays again from the start
        QCOMPARE(player->playedFiles().size(), 2);

        // A manual step stops the sound before it moves on.
        const int stops = player->stopCalls();
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 2);
        QVERIFY(player->stopCalls() > stops);
        QVERIFY(!f->SoundPlaying());
        QVERIFY(f->lblPlay->isHidden());
        QTest::keyClick(f, Qt::Key_Space); // a term without sound: nothing to play
        QCOMPARE(player->playedFiles().size(), 2);

        f->chbSound->setChecked(true);
        f->bNextClick();
        QCOMPARE(player->playedFiles().size(), 3);
    }

    void unplayableSoundIsReportedAndPracticeGoesOn()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav)), term("two", withSound(wav))});
        f->chbSound->setChecked(true);
        player->setOpenError(QStringLiteral("no codec"));
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 1);
        QCOMPARE(status(), QStringLiteral("Error playing file ") + wav);
        QVERIFY(!f->SoundPlaying());
        player->setOpenError(QString());
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 2);
        QVERIFY(f->SoundPlaying());
        // A sound that gives up while playing says the same and ends.
        QVERIFY(player->failPlaying(QStringLiteral("device lost")));
        QCOMPARE(status(), QStringLiteral("Error playing file ") + wav);
        QVERIFY(!f->SoundPlaying());
    }

    void automaticStepWaitsForTheSound()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav)), term("two")});
        f->chbSound->setChecked(true);
        f->bNextClick();
        f->chbAuto->setChecked(true);
        int indexWhilePlaying = -1;
        QTimer::singleShot(0, f, [&] {
            indexWhilePlaying = f->FCurrentIndex;
            player->finishPlaying();
        });
        const int stops = player->stopCalls();
        f->bNextClick();
        QCOMPARE(indexWhilePlaying, 1);
        QCOMPARE(player->stopCalls(), stops); // let run to its end
        QCOMPARE(f->FCurrentIndex, 2);
        f->chbAuto->setChecked(false);
    }

    // --- reading aloud ----------------------------------------------------------

    void readingWaitsForTheTermsSound()
    {
        const QString wav = fixture("short.wav");
        load({term("one", withSound(wav))});
        f->chbSound->setChecked(true);
        f->chbRead->setChecked(true);
        QStringList spokenWhilePlaying{QStringLiteral("not run")};
        QTimer::singleShot(0, f, [&] {
            spokenWhilePlaying = voice->spokenTexts();
            player->finishPlaying();
        });
        f->bNextClick();
        QCOMPARE(spokenWhilePlaying, QStringList());
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("字one")});
        QVERIFY(f->FSpeaking);
        QCOMPARE(f->jbRead->text(), QStringLiteral("Stop"));
    }

    void readButtonTogglesSpeechAndTheEndResetsIt()
    {
        load({term("one"), term("two")});
        f->jbReadclick(); // no term shown yet
        QVERIFY(voice->spokenTexts().isEmpty());
        f->bNextClick();
        f->jbRead->click();
        QCOMPARE(voice->spokenTexts(), QStringList{QStringLiteral("字one")});
        QVERIFY(f->FSpeaking);
        QCOMPARE(f->jbRead->text(), QStringLiteral("Stop"));
        QTest::keyClick(f, Qt::Key_Return); // Enter stops it
        QCOMPARE(voice->skipCalls(), 1);
        QVERIFY(!f->FSpeaking);
        QCOMPARE(f->jbRead->text(), QStringLiteral("Read"));
        QCoreApplication::processEvents(); // the skipped speech's end
        QVERIFY(voice->pendingStreams().isEmpty());
        QVERIFY(!f->FSpeaking);

        // Speech that runs to its end resets the button by its end event.
        f->jbReadclick();
        QVERIFY(f->FSpeaking);
        QVERIFY(voice->finishSpeaking());
        QVERIFY(!f->FSpeaking);
        QCOMPARE(f->jbRead->text(), QStringLiteral("Read"));
    }

    void anOldEndDoesNotEndNewSpeech()
    {
        load({term("one")});
        f->bNextClick();
        f->jbReadclick();
        f->jbReadclick(); // stop: its end is still on its way
        f->jbReadclick(); // read again at once
        QCOMPARE(voice->spokenTexts().size(), 2);
        QCoreApplication::processEvents();
        QVERIFY(f->FSpeaking);
        QCOMPARE(f->jbRead->text(), QStringLiteral("Stop"));
        QVERIFY(voice->finishSpeaking());
        QVERIFY(!f->FSpeaking);
    }

    void emptyCharactersLeaveNoSpeakingState()
    {
        load({term("one", {}, QStringLiteral("")), term("two")});
        f->bNextClick();
        QCOMPARE(f->RichEdit2->text(), QString());
        f->jbReadclick();
        QVERIFY(!f->FSpeaking);
        QVERIFY(voice->spokenTexts().isEmpty());
        QVERIFY(f->jbRead->text() != QStringLiteral("Stop"));
        QVERIFY(f->jbRead->icon().cacheKey() != f->imgSkinBStop.cacheKey() || f->imgSkinBStop.isNull());
        // Reading on for every term: an automatic step is not held up.
        f->chbRead->setChecked(true);
        f->chbAuto->setChecked(true);
        f->bPreviousClick();
        QCOMPARE(f->FCurrentIndex, 2);
        QVERIFY(f->FSpeaking); // "two" has characters
        f->chbAuto->setChecked(false);
    }

    void buttonLabelsOffChangeOnlyTheGlyph()
    {
        QPixmap readPix(4, 4), stopPix(4, 4);
        readPix.fill(Qt::green);
        stopPix.fill(Qt::red);
        f->imgSkinBRead = QIcon(readPix);
        f->imgSkinBStop = QIcon(stopPix);
        f->FShowButtonLabels = false;
        f->jbRead->setText(QStringLiteral("Custom"));
        load({term("one")});
        f->bNextClick();
        f->jbReadclick();
        QCOMPARE(f->jbRead->text(), QStringLiteral("Custom"));
        QCOMPARE(f->jbRead->icon().cacheKey(), f->imgSkinBStop.cacheKey());
        voice->finishSpeaking();
        QCOMPARE(f->jbRead->text(), QStringLiteral("Custom"));
        QCOMPARE(f->jbRead->icon().cacheKey(), f->imgSkinBRead.cacheKey());
    }

    void spokenWordIsHighlightedWhenAsked()
    {
        load({term("one", {}, QStringLiteral("你好朋友"))});
        f->bNextClick();
        f->FShowReadingProgress = true;
        f->jbReadclick();
        QVERIFY(voice->speakWord(2, 2));
        QCOMPARE(f->reChin->selStart(), 2);
        QCOMPARE(f->reChin->selText(), QStringLiteral("朋友"));
        // A word past the text is held inside it.
        QVERIFY(voice->speakWord(3, 9));
        QCOMPARE(f->reChin->selStart(), 3);
        QCOMPARE(f->reChin->selLength(), 1);
        QVERIFY(voice->finishSpeaking());
        QCOMPARE(f->reChin->selLength(), 0);
        QCOMPARE(f->reChin->selStart(), 0);

        // Other speech on the same voice (the reader's) moves no highlight,
        // but its end still resets the Read button.
        f->jbReadclick();
        const int other = voice->speak(QStringLiteral("another text"));
        QVERIFY(other > 0);
        QVERIFY(voice->finishSpeaking()); // the window's own
        QVERIFY(voice->speakWord(0, 3));
        QCOMPARE(f->reChin->selLength(), 0);

        // Without the setting nothing is selected.
        f->FShowReadingProgress = false;
        QVERIFY(voice->finishSpeaking());
        f->jbReadclick();
        QVERIFY(voice->speakWord(0, 2));
        QCOMPARE(f->reChin->selLength(), 0);
    }

    void readSwitchAndItsCaption()
    {
        f->lblReadAloud->click();
        QVERIFY(f->chbRead->isChecked());
        QCOMPARE(status(), QStringLiteral("Auto read ON"));
        f->chbRead->setChecked(false); // from code: the same handler
        QCOMPARE(status(), QStringLiteral("Auto read OFF"));
        f->chbRead->setEnabled(false); // no Chinese voice this run
        f->lblReadAloud->click();
        QVERIFY(!f->chbRead->isChecked());
    }

    void voiceMadeAtActivationIsHeard()
    {
        // The voice the first activation makes gets its events handled.
        f->SpVoice.reset();
        FakeSpeechVoice *made = nullptr;
        TForm1::voiceFactory = [&made] {
            made = new FakeSpeechVoice;
            made->setVoices({FakeSpeechVoice::makeVoice("zh", "Chinese", "804")});
            return std::unique_ptr<SpeechVoice>(made);
        };
        f->FFirstActivation = true;
        SettingsFile::setShowReminder(false);
        f->FormActivate();
        apptest::useFakeVoice();
        QVERIFY(made);
        load({term("one")});
        f->bNextClick();
        f->FSpeaking = false;
        made->speak(QStringLiteral("said elsewhere"));
        f->FSpeaking = true;
        QVERIFY(made->finishSpeaking());
        QVERIFY(!f->FSpeaking);
    }

    void soundsAndPicturesAreFoundBesideTheLesson()
    {
        // The lesson's folder, not the current one, holds its media; stored
        // names may use "\\" as separator.
        QDir lessonDir(m_home.filePath(QStringLiteral("lessons")));
        QVERIFY(lessonDir.mkpath(QStringLiteral("snd")));
        QVERIFY(QFile::copy(fixture("short.wav"), lessonDir.filePath(QStringLiteral("snd/short.wav"))));
        QVERIFY(QFile::copy(fixture("tiny.jpg"), lessonDir.filePath(QStringLiteral("tiny.jpg"))));
        f->reMain.setText(term("one", withSound(QStringLiteral("snd\\short.wav")) + withPicture(QStringLiteral("tiny.jpg"))));
        f->StringGrid1.clear();
        f->NacistDoStringgridu(lessonDir.filePath(QStringLiteral("a.kvl")));
        f->StringGrid1.setRowCount(1);
        f->FCurrentLesson = lessonDir.filePath(QStringLiteral("a.kvl"));
        QVERIFY(QDir::current() != lessonDir);
        f->chbSound->setChecked(true);
        f->bNextClick();
        QVERIFY(!f->lblPlay->isHidden() && !f->lblView->isHidden());
        QCOMPARE(player->playedFiles(), QStringList{lessonDir.filePath(QStringLiteral("snd/short.wav"))});
        QTest::keyClick(f, Qt::Key_G);
        QVERIFY(formPicture->isVisible());
        QCOMPARE(formPicture->Image1->pixmap().size(), QSize(12, 8));
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
        TForm1::mediaPlayerFactory = [] { return std::unique_ptr<MediaPlayer>(new QtMediaPlayer); };
        DestroyForms();
        apptest::createFreshForms();
        f = Form1;
        f->FFirstActivation = false;
        const QString fifo = m_home.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QFile big(m_home.filePath(QStringLiteral("big.jpg")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(TformPicture::MaxFileBytes + 1));
        QFile huge(m_home.filePath(QStringLiteral("huge.wav")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(MediaPlayer::MaxFileBytes + 1));
        const QStringList special{fifo, QStringLiteral("/dev/zero"), QStringLiteral("/dev/urandom")};
        QStringList lines;
        for (const QString &name : special)
            lines << term(name, withSound(name) + withPicture(name));
        lines << term("big", withSound(huge.fileName()) + withPicture(big.fileName()));
        load(lines);
        f->chbSound->setChecked(true);
        f->chbPicture->setChecked(true);
        for (int i = 1; i <= lines.size(); ++i) {
            f->bNextClick();
            QCOMPARE(f->FCurrentIndex, i);
            // Treated as missing: nothing offered, shown or played.
            QVERIFY(f->lblPlay->isHidden() && f->lblView->isHidden());
            QVERIFY(!formPicture->isVisible() && !f->SoundPlaying());
            QTest::keyClick(f, Qt::Key_Space);
            QVERIFY(!f->SoundPlaying());
        }
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    // --- pictures ---------------------------------------------------------------

    void placementFollowsThePictureAndTheScreen()
    {
        const QSize screen(800, 600);
        auto p = TformPicture::placementFor(QSize(200, 100), screen);
        QVERIFY(p.borderless);
        QCOMPARE(p.clientSize, QSize(200, 100));
        // Larger pictures are scaled down to fit, keeping their proportions.
        p = TformPicture::placementFor(QSize(1600, 900), screen);
        QVERIFY(!p.borderless);
        QCOMPARE(p.clientSize, QSize(800, 450));
        p = TformPicture::placementFor(QSize(300, 1200), screen); // higher only
        QCOMPARE(p.clientSize, QSize(150, 600));
        p = TformPicture::placementFor(QSize(800, 100), screen); // as wide as the screen
        QVERIFY(!p.borderless);
        QCOMPARE(p.clientSize, QSize(800, 100));
    }

    void pictureLeavesTheKeysToThePracticeAndFitsTheScreen()
    {
        // A large picture, then a small one, in the real windows.
        QImage large(1600, 1200, QImage::Format_RGB32);
        large.fill(Qt::blue);
        const QString big = m_home.filePath(QStringLiteral("big.png"));
        QVERIFY(large.save(big));
        load({term("one", withPicture(big)), term("two", withPicture(fixture("tiny.jpg"))), term("three")});
        f->show();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->chbPicture->setChecked(true);
        f->bNextClick();
        QVERIFY(formPicture->isVisible());
        QCOMPARE(formPicture->size(), QSize(800, 600));
        QVERIFY(!(formPicture->windowState() & Qt::WindowMaximized));
        QCOMPARE(QApplication::activeWindow(), f);
        // The practice keys still work: Right steps, G hides the picture.
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : f, Qt::Key_Right);
        QCOMPARE(f->FCurrentIndex, 2);
        QCOMPARE(formPicture->size(), QSize(12, 8));
        QCOMPARE(formPicture->pos(), QPoint(0, 0));
        QVERIFY(formPicture->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(QApplication::activeWindow(), f);
        // Keys that reach the picture window go on to the practice.
        QTest::keyClick(formPicture, Qt::Key_G);
        QVERIFY(!formPicture->isVisible());
    }

    void pictureShowsWithItsSwitchAndClosesByClickAndG()
    {
        const QString jpg = fixture("tiny.jpg");
        load({term("one", withPicture(jpg)), term("two")});
        f->bNextClick(); // switch off: offered only
        QVERIFY(!f->lblView->isHidden());
        QVERIFY(!formPicture->isVisible());
        QTest::keyClick(f, Qt::Key_G);
        QVERIFY(formPicture->isVisible());
        QCOMPARE(formPicture->windowTitle(), QStringLiteral("Picture [%1]").arg(jpg));
        QCOMPARE(formPicture->Image1->pixmap().size(), QSize(12, 8));
        QCOMPARE(formPicture->size(), QSize(12, 8));
        QCOMPARE(formPicture->pos(), QPoint(0, 0));
        QVERIFY(formPicture->windowFlags() & Qt::FramelessWindowHint);
        QTest::keyClick(f, Qt::Key_G);
        QVERIFY(!formPicture->isVisible());

        f->lblDisplPict->click();
        f->bNextClick();
        f->bNextClick(); // back to the picture's term: shown at once
        QVERIFY(formPicture->isVisible());
        QTest::mouseClick(formPicture->Image1, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!formPicture->isVisible());
        f->bNextClick(); // the next term closes nothing that is not open
        QVERIFY(!formPicture->isVisible());
        QTest::keyClick(f, Qt::Key_G); // a term without picture: nothing to show
        QVERIFY(!formPicture->isVisible());
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void bitmapsAndMisnamedPicturesAreReadByContent()
    {
        f->FPictureFile = fixture("tiny.bmp");
        f->DisplayPicture();
        QCOMPARE(formPicture->Image1->pixmap().size(), QSize(5, 4));
        QFile jpeg(fixture("tiny.jpg"));
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        f->FPictureFile = writeFile(QStringLiteral("really-a-jpeg.bmp"), jpeg.readAll());
        f->DisplayPicture();
        QCOMPARE(formPicture->Image1->pixmap().size(), QSize(12, 8));
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void unreadablePictureIsReportedAndNotShown()
    {
        const QString bad = writeFile(QStringLiteral("broken.jpg"), "not a picture at all");
        load({term("one", withPicture(bad)), term("two")});
        f->chbPicture->setChecked(true);
        f->bNextClick();
        QCOMPARE(m_dialogs->dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs->dialogs.lastMessage(), QStringLiteral("Error reading file ") + bad);
        QVERIFY(!formPicture->isVisible());
        QVERIFY(formPicture->Image1->pixmap().isNull()); // no picture of an earlier term left
        f->bNextClick();
        QCOMPARE(f->FCurrentIndex, 2); // practice goes on
    }
};

QTEST_MAIN(TestForm1Media)
#include "tst_form1_media.moc"
