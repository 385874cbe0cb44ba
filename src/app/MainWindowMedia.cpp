// Sounds, pictures and reading aloud in the main window: the term's sound
// player, the picture window, the Read button with its switch, and the
// voice's word and end-of-stream events.
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/ProgramWindows.h"
#include "platform/media/QtMediaPlayer.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MessagePump.h"
#include "practice/PictureWindow.h"
#include "reference/ReaderWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

MainWindow::MediaPlayerFactory MainWindow::mediaPlayerFactory = [] {
    return std::unique_ptr<korvana::MediaPlayer>(new korvana::QtMediaPlayer);
};

void MainWindow::buildMediaControls()
{
    soundPlayer = mediaPlayerFactory().release();
    soundPlayer->setParent(this);
    soundPlayer->setObjectName(QStringLiteral("soundPlayer"));
    // A sound that opened but could not be played says so like one that
    // could not be opened.
    connect(soundPlayer, &korvana::MediaPlayer::failed, this,
            [this] { showStatus(QStringLiteral("Error playing file ") + soundPlayer->fileName()); });

    readSwitch = new QCheckBox(this);
    readSwitch->setObjectName(QStringLiteral("readSwitch"));
    connect(readSwitch, &QCheckBox::toggled, this, [this] { readSwitchClicked(); });
    readAloudLabel = new korvana::ClickLabel(QStringLiteral("Read aloud"), this);
    readAloudLabel->setObjectName(QStringLiteral("readAloudLabel"));
    connect(readAloudLabel, &korvana::ClickLabel::clicked, this, [this] { readAloudLabelClicked(); });

    readButton = new QPushButton(QStringLiteral("Read"), this);
    readButton->setObjectName(QStringLiteral("readButton"));
    readButton->setToolTip(QStringLiteral("Read out"));
    connect(readButton, &QPushButton::clicked, this, [this] { readButtonClicked(); });
    // Hidden for a run without a Mandarin voice; the row keeps its height.
    korvana::keepRoomWhenHidden(readButton);

    if (bottomRow) {
        bottomRow->addWidget(readSwitch);
        bottomRow->addWidget(readAloudLabel);
        bottomRow->addSpacing(6);
        bottomRow->addWidget(readButton);
    }
}

// --- sounds ------------------------------------------------------------------

void MainWindow::playSound()
{
    try {
        soundPlayer->setFileName(soundFile);
        soundPlayer->open();
        soundPlayer->play();
    } catch (const std::exception &) {
        showStatus(QStringLiteral("Error playing file ") + soundFile);
    }
}

bool MainWindow::soundPlaying()
{
    return soundPlayer && soundPlayer->playing();
}

void MainWindow::stopSound()
{
    if (soundPlayer)
        soundPlayer->stop();
}

void MainWindow::toggleSound()
{
    if (soundPlaying()) {
        stopSound();
        return;
    }
    // The key works with no term's sound too; no file named, nothing to play.
    if (!soundFile.isEmpty())
        playSound();
}

int MainWindow::soundWaitBoundMs() const
{
    // The sound plays from its start, so its length bounds the wait; the
    // margin covers a device that starts late.
    const qint64 length = soundPlayer ? soundPlayer->duration() : -1;
    if (length < 0)
        return korvana::MessagePump::DefaultBoundMs;
    return int(qMin<qint64>(length + 5000, korvana::MessagePump::DefaultBoundMs));
}

// --- pictures ----------------------------------------------------------------

void MainWindow::displayPicture()
{
    if (!windows.pictureWindow)
        return;
    try {
        windows.pictureWindow->showPicture(pictureFile);
    } catch (const korvana::PictureError &e) {
        korvana::Dialogs::instance().message(
            this, QStringLiteral("Error reading file %1 (%2)").arg(pictureFile, e.reason()),
            korvana::MsgButtons::Ok, korvana::MsgIcon::Error);
    } catch (const std::exception &) {
        korvana::Dialogs::instance().message(this, QStringLiteral("Error reading file ") + pictureFile,
                                             korvana::MsgButtons::Ok, korvana::MsgIcon::Error);
    }
}

void MainWindow::togglePicture()
{
    if (windows.pictureWindow && windows.pictureWindow->isVisible()) {
        windows.pictureWindow->close();
        return;
    }
    if (!pictureFile.isEmpty())
        displayPicture();
}

// --- reading aloud -------------------------------------------------------------

void MainWindow::readSwitchClicked()
{
    showStatus(QStringLiteral("Auto read ") + (readSwitch->isChecked() ? QStringLiteral("ON") : QStringLiteral("OFF")));
}

void MainWindow::readAloudLabelClicked()
{
    // A switch turned off for the run (no Chinese voice) stays off.
    if (readSwitch->isEnabled())
        readSwitch->toggle();
}

void MainWindow::setReadLook(bool reading)
{
    readButton->setIcon(reading ? m_stopButtonIcon : m_readButtonIcon);
    if (m_skin.showButtonLabels)
        readButton->setText(reading ? QStringLiteral("Stop") : QStringLiteral("Read"));
}

void MainWindow::connectVoice()
{
    if (!voice || m_connectedVoice == voice.get())
        return;
    m_connectedVoice = voice.get();
    m_readStream = 0; // stream numbers are the voice's own
    connect(voice.get(), &korvana::SpeechVoice::word, this,
            [this](int stream, int pos, int length) { voiceWordReached(stream, pos, length); });
    connect(voice.get(), &korvana::SpeechVoice::endStream, this,
            [this](int stream) { voiceStreamEnded(stream); });
}

void MainWindow::readButtonClicked()
{
    // Without a Mandarin voice reading aloud is off for the run: the Enter
    // key must not make another language's voice read the characters.
    if (!readSwitch->isEnabled())
        return;
    // Speech never overlaps the term's sound.
    if (soundPlaying())
        korvana::MessagePump::waitUntil([this] { return !soundPlaying(); }, soundWaitBoundMs());
    if (currentIndex == 0 && !m_numbers->drill().on)
        return;
    connectVoice();

    if (m_speaking) {
        setReadLook(false);
        m_speaking = false;
        if (voice)
            voice->skip(); // its end-of-stream still follows
        return;
    }
    // Nothing to read gives no end of speech, so the window must not start
    // waiting for one.
    const QString text = termCharactersText->text();
    if (text.isEmpty() || !voice)
        return;
    setReadLook(true);
    m_speaking = true;
    m_readStream = voice->speak(text, 1);
}

void MainWindow::voiceWordReached(int Stream, int CharPosition, int Length)
{
    // Only the window's own text: the reader's positions count another text.
    if (settings.showReadingProgress && Stream == m_readStream)
        highlightSpokenText(CharPosition, Length);
}

void MainWindow::highlightSpokenText(int Start, int Length)
{
    const int end = charactersText->textLength();
    const int start = qBound(0, Start, end);
    charactersText->setSelStart(start);
    charactersText->setSelLength(qBound(0, Length, end - start));
}

void MainWindow::voiceStreamEnded(int Stream)
{
    // One voice serves both windows: any end of speech resets the reader.
    if (windows.readerWindow)
        windows.readerWindow->speechEnded(Stream);
    // An older speech cut short ends after the window has started a new
    // one: that end is not the new speech's.
    if (Stream < m_readStream)
        return;
    m_speaking = false;
    setReadLook(false);
    highlightSpokenText(0, 0);
}
