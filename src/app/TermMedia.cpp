// Sounds, pictures and reading aloud in the main window: the term's sound
// player, the picture window, the Read button with its switch, and the
// voice's word and end-of-stream events.
#include "app/TermMedia.h"
#include "app/MainWindowControls.h"
#include "app/ProgramWindows.h"
#include "app/WindowSkin.h"
#include "platform/media/QtMediaPlayer.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MessagePump.h"
#include "practice/NumbersDrill.h"
#include "practice/PictureWindow.h"
#include "reference/ReaderWindow.h"
#include "settings/Skin.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

using korvana::Pane;

TermMedia::MediaPlayerFactory TermMedia::mediaPlayerFactory = [] {
    return std::unique_ptr<korvana::MediaPlayer>(new korvana::QtMediaPlayer);
};

TermMedia::TermMedia(QWidget &window, MainWindowControls &controls, ProgramWindows &windows, Term term,
                     const WindowSkin &skin, std::function<void(const QString &)> showStatus)
    : m_window(window), m_controls(controls), m_windows(windows), m_settings(windows.state.settings),
      m_voice(windows.state.voice), m_term(term), m_skin(skin), m_showStatus(std::move(showStatus))
{
    controls.soundPlayer = mediaPlayerFactory().release();
    controls.soundPlayer->setParent(&window);
    controls.soundPlayer->setObjectName(QStringLiteral("soundPlayer"));
    // A sound that opened but could not be played says so like one that
    // could not be opened.
    connect(controls.soundPlayer, &korvana::MediaPlayer::failed, this, [this] {
        this->m_showStatus(QStringLiteral("Error playing file ") + this->m_controls.soundPlayer->fileName());
    });

    controls.readSwitch = new QCheckBox(&window);
    controls.readSwitch->setObjectName(QStringLiteral("readSwitch"));
    connect(controls.readSwitch, &QCheckBox::toggled, this, [this] { readSwitchClicked(); });
    controls.readAloudLabel = new korvana::ClickLabel(QStringLiteral("Read aloud"), &window);
    controls.readAloudLabel->setObjectName(QStringLiteral("readAloudLabel"));
    connect(controls.readAloudLabel, &korvana::ClickLabel::clicked, this, [this] { readAloudLabelClicked(); });

    controls.readButton = new QPushButton(QStringLiteral("Read"), &window);
    controls.readButton->setObjectName(QStringLiteral("readButton"));
    controls.readButton->setToolTip(QStringLiteral("Read out"));
    connect(controls.readButton, &QPushButton::clicked, this, [this] { readButtonClicked(); });
    // Hidden for a run without a Mandarin voice; the row keeps its height.
    korvana::keepRoomWhenHidden(controls.readButton);

    if (controls.bottomRow) {
        controls.bottomRow->addWidget(controls.readSwitch);
        controls.bottomRow->addWidget(controls.readAloudLabel);
        controls.bottomRow->addSpacing(6);
        controls.bottomRow->addWidget(controls.readButton);
    }
}

// --- sounds ------------------------------------------------------------------

void TermMedia::playSound()
{
    try {
        m_controls.soundPlayer->setFileName(m_term.soundFile);
        m_controls.soundPlayer->open();
        m_controls.soundPlayer->play();
    } catch (const std::exception &) {
        m_showStatus(QStringLiteral("Error playing file ") + m_term.soundFile);
    }
}

bool TermMedia::soundPlaying()
{
    return m_controls.soundPlayer && m_controls.soundPlayer->playing();
}

void TermMedia::stopSound()
{
    if (m_controls.soundPlayer)
        m_controls.soundPlayer->stop();
}

void TermMedia::toggleSound()
{
    if (soundPlaying()) {
        stopSound();
        return;
    }
    // The key works with no term's sound too; no file named, nothing to play.
    if (!m_term.soundFile.isEmpty())
        playSound();
}

int TermMedia::soundWaitBoundMs() const
{
    // The sound plays from its start, so its length bounds the wait; the
    // margin covers a device that starts late.
    const qint64 length = m_controls.soundPlayer ? m_controls.soundPlayer->duration() : -1;
    if (length < 0)
        return korvana::MessagePump::DefaultBoundMs;
    return int(qMin<qint64>(length + 5000, korvana::MessagePump::DefaultBoundMs));
}

// --- pictures ----------------------------------------------------------------

void TermMedia::displayPicture()
{
    if (!m_windows.pictureWindow)
        return;
    try {
        m_windows.pictureWindow->showPicture(m_term.pictureFile);
    } catch (const korvana::PictureError &e) {
        korvana::Dialogs::instance().message(
            &m_window, QStringLiteral("Error reading file %1 (%2)").arg(m_term.pictureFile, e.reason()),
            korvana::MsgButtons::Ok, korvana::MsgIcon::Error);
    } catch (const std::exception &) {
        korvana::Dialogs::instance().message(&m_window, QStringLiteral("Error reading file ") + m_term.pictureFile,
                                             korvana::MsgButtons::Ok, korvana::MsgIcon::Error);
    }
}

void TermMedia::togglePicture()
{
    if (m_windows.pictureWindow && m_windows.pictureWindow->isVisible()) {
        m_windows.pictureWindow->close();
        return;
    }
    if (!m_term.pictureFile.isEmpty())
        displayPicture();
}

// --- reading aloud -------------------------------------------------------------

void TermMedia::readSwitchClicked()
{
    m_showStatus(QStringLiteral("Auto read ")
                 + (m_controls.readSwitch->isChecked() ? QStringLiteral("ON") : QStringLiteral("OFF")));
}

void TermMedia::readAloudLabelClicked()
{
    // A switch turned off for the run (no Chinese voice) stays off.
    if (m_controls.readSwitch->isEnabled())
        m_controls.readSwitch->toggle();
}

void TermMedia::setReadLook(bool reading)
{
    m_controls.readButton->setIcon(reading ? m_skin.stopButtonIcon() : m_skin.readButtonIcon());
    if (m_skin.fields().showButtonLabels)
        m_controls.readButton->setText(reading ? QStringLiteral("Stop") : QStringLiteral("Read"));
}

void TermMedia::connectVoice()
{
    if (!m_voice || m_connectedVoice == m_voice.get())
        return;
    m_connectedVoice = m_voice.get();
    m_readStream = 0; // stream numbers are the voice's own
    connect(m_voice.get(), &korvana::SpeechVoice::word, this,
            [this](int stream, int pos, int length) { voiceWordReached(stream, pos, length); });
    connect(m_voice.get(), &korvana::SpeechVoice::endStream, this, [this](int stream) { voiceStreamEnded(stream); });
}

void TermMedia::readButtonClicked()
{
    // Without a Mandarin voice reading aloud is off for the run: the Enter
    // key must not make another language's voice read the characters.
    if (!m_controls.readSwitch->isEnabled())
        return;
    // Speech never overlaps the term's sound.
    if (soundPlaying())
        korvana::MessagePump::waitUntil([this] { return !soundPlaying(); }, soundWaitBoundMs());
    if (m_windows.state.store.currentIndex == 0 && !m_term.numbers.on)
        return;
    connectVoice();

    if (m_speaking) {
        setReadLook(false);
        m_speaking = false;
        if (m_voice)
            m_voice->skip(); // its end-of-stream still follows
        return;
    }
    // Nothing to read gives no end of speech, so the window must not start
    // waiting for one.
    const QString text = m_controls.termCharactersText->text();
    if (text.isEmpty() || !m_voice)
        return;
    setReadLook(true);
    m_speaking = true;
    m_readStream = m_voice->speak(text, 1);
}

void TermMedia::voiceWordReached(int stream, int charPosition, int length)
{
    // Only the window's own text: the reader's positions count another text.
    if (m_settings.showReadingProgress && stream == m_readStream)
        highlightSpokenText(charPosition, length);
}

void TermMedia::highlightSpokenText(int from, int length)
{
    const int end = m_controls.panes[Pane::Characters].text->textLength();
    const int start = qBound(0, from, end);
    m_controls.panes[Pane::Characters].text->setSelStart(start);
    m_controls.panes[Pane::Characters].text->setSelLength(qBound(0, length, end - start));
}

void TermMedia::voiceStreamEnded(int stream)
{
    // One voice serves both windows: any end of speech resets the reader.
    if (m_windows.readerWindow)
        m_windows.readerWindow->speechEnded(stream);
    // An older speech cut short ends after the window has started a new
    // one: that end is not the new speech's.
    if (stream < m_readStream)
        return;
    m_speaking = false;
    setReadLook(false);
    highlightSpokenText(0, 0);
}
