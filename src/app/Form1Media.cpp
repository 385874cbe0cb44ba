// Sounds, pictures and reading aloud in the main window: the term's sound
// player, the picture window, the Read button with its switch, and the
// voice's word and end-of-stream events.
#include "app/TForm1.h"
#include "platform/media/QtMediaPlayer.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MessagePump.h"
#include "practice/TformPicture.h"
#include "reference/TFormAsocFile.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

TForm1::MediaPlayerFactory TForm1::mediaPlayerFactory = [] {
    return std::unique_ptr<korvana::MediaPlayer>(new korvana::QtMediaPlayer);
};

void TForm1::buildMediaControls()
{
    MediaPlayer1 = mediaPlayerFactory().release();
    MediaPlayer1->setParent(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    // A sound that opened but could not be played says so like one that
    // could not be opened.
    connect(MediaPlayer1, &korvana::MediaPlayer::failed, this,
            [this] { Status(QStringLiteral("Error playing file ") + MediaPlayer1->fileName()); });

    chbRead = new QCheckBox(this);
    chbRead->setObjectName(QStringLiteral("chbRead"));
    connect(chbRead, &QCheckBox::toggled, this, [this] { chbReadClick(); });
    lblReadAloud = new korvana::ClickLabel(QStringLiteral("Read aloud"), this);
    lblReadAloud->setObjectName(QStringLiteral("lblReadAloud"));
    connect(lblReadAloud, &korvana::ClickLabel::clicked, this, [this] { lblReadAloudClick(); });

    jbRead = new QPushButton(QStringLiteral("Read"), this);
    jbRead->setObjectName(QStringLiteral("jbRead"));
    jbRead->setToolTip(QStringLiteral("Read out"));
    connect(jbRead, &QPushButton::clicked, this, [this] { jbReadclick(); });

    if (bottomRow) {
        bottomRow->addWidget(chbRead);
        bottomRow->addWidget(lblReadAloud);
        bottomRow->addSpacing(6);
        bottomRow->addWidget(jbRead);
    }
}

// --- sounds ------------------------------------------------------------------

void TForm1::PlaySound()
{
    try {
        MediaPlayer1->setFileName(FSoundFile);
        MediaPlayer1->open();
        MediaPlayer1->play();
    } catch (const std::exception &) {
        Status(QStringLiteral("Error playing file ") + FSoundFile);
    }
}

bool TForm1::SoundPlaying()
{
    return MediaPlayer1 && MediaPlayer1->playing();
}

void TForm1::StopSound()
{
    if (MediaPlayer1)
        MediaPlayer1->stop();
}

void TForm1::imgSoundClick()
{
    if (SoundPlaying()) {
        StopSound();
        return;
    }
    // The key works with no term's sound too; no file named, nothing to play.
    if (!FSoundFile.isEmpty())
        PlaySound();
}

int TForm1::soundWaitBoundMs() const
{
    // The sound plays from its start, so its length bounds the wait; the
    // margin covers a device that starts late.
    const qint64 length = MediaPlayer1 ? MediaPlayer1->duration() : -1;
    if (length < 0)
        return korvana::MessagePump::DefaultBoundMs;
    return int(qMin<qint64>(length + 5000, korvana::MessagePump::DefaultBoundMs));
}

// --- pictures ----------------------------------------------------------------

void TForm1::DisplayPicture()
{
    if (!formPicture)
        return;
    try {
        formPicture->showPicture(FPictureFile);
    } catch (const std::exception &) {
        korvana::Dialogs::instance().message(this, QStringLiteral("Error reading file ") + FPictureFile,
                                             korvana::MsgButtons::Ok, korvana::MsgIcon::Error);
    }
}

void TForm1::imgPictureClick()
{
    if (formPicture && formPicture->isVisible()) {
        formPicture->close();
        return;
    }
    if (!FPictureFile.isEmpty())
        DisplayPicture();
}

// --- reading aloud -------------------------------------------------------------

void TForm1::chbReadClick()
{
    Status(QStringLiteral("Auto read ") + (chbRead->isChecked() ? QStringLiteral("ON") : QStringLiteral("OFF")));
}

void TForm1::lblReadAloudClick()
{
    // A switch turned off for the run (no Chinese voice) stays off.
    if (chbRead->isEnabled())
        chbRead->toggle();
}

void TForm1::setReadLook(bool speaking)
{
    jbRead->setIcon(speaking ? imgSkinBStop : imgSkinBRead);
    if (FShowButtonLabels)
        jbRead->setText(speaking ? QStringLiteral("Stop") : QStringLiteral("Read"));
}

void TForm1::connectVoice()
{
    if (!SpVoice || m_connectedVoice == SpVoice.get())
        return;
    m_connectedVoice = SpVoice.get();
    m_readStream = 0; // stream numbers are the voice's own
    connect(SpVoice.get(), &korvana::SpeechVoice::word, this,
            [this](int stream, int pos, int length) { SpVoiceWord(stream, pos, length); });
    connect(SpVoice.get(), &korvana::SpeechVoice::endStream, this,
            [this](int stream) { SpVoiceEndStream(stream); });
}

void TForm1::jbReadclick()
{
    // Without a Mandarin voice reading aloud is off for the run: the Enter
    // key must not make another language's voice read the characters.
    if (!chbRead->isEnabled())
        return;
    // Speech never overlaps the term's sound.
    if (SoundPlaying())
        korvana::MessagePump::waitUntil([this] { return !SoundPlaying(); }, soundWaitBoundMs());
    if (FCurrentIndex == 0 && !FNumbersMode)
        return;
    connectVoice();

    if (FSpeaking) {
        setReadLook(false);
        FSpeaking = false;
        if (SpVoice)
            SpVoice->skip(); // its end-of-stream still follows
        return;
    }
    // Nothing to read gives no end of speech, so the window must not start
    // waiting for one.
    const QString text = RichEdit2->text();
    if (text.isEmpty() || !SpVoice)
        return;
    setReadLook(true);
    FSpeaking = true;
    m_readStream = SpVoice->speak(text, 1);
}

void TForm1::SpVoiceWord(int Stream, int CharPosition, int Length)
{
    // Only the window's own text: the reader's positions count another text.
    if (FShowReadingProgress && Stream == m_readStream)
        SetTextHilite(CharPosition, Length);
}

void TForm1::SetTextHilite(int Start, int Length)
{
    const int end = reChin->textLength();
    const int start = qBound(0, Start, end);
    reChin->setSelStart(start);
    reChin->setSelLength(qBound(0, Length, end - start));
}

void TForm1::SpVoiceEndStream(int Stream)
{
    // One voice serves both windows: any end of speech resets the reader.
    if (FormAsocFile)
        FormAsocFile->speechEnded(Stream);
    // An older speech cut short ends after the window has started a new
    // one: that end is not the new speech's.
    if (Stream < m_readStream)
        return;
    FSpeaking = false;
    setReadLook(false);
    SetTextHilite(0, 0);
}
