#pragma once
// Sounds, pictures and reading aloud in the main window: the term's sound
// player, the picture window, the Read button with its switch, and the
// voice's word and end-of-stream events.
#include "platform/media/MediaPlayer.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QIcon;
class QWidget;
class ProgramWindows;
struct MainWindowControls;
class WindowSkin;
namespace korvana {
struct MainSettings;
struct NumbersDrill;
class SpeechVoice;
} // namespace korvana

// A QObject so that the connections to the voice and the controls end with it.
class TermMedia : public QObject {
public:
    // What the term display found for the current term, and whether the
    // numbers drill stands in for the term.
    struct Term {
        const QString &soundFile;
        const QString &pictureFile;
        const korvana::NumbersDrill &numbers;
    };
    // Makes the reading switch with its caption, the Read button and the
    // sound player in the window's bottom row.
    TermMedia(QWidget &window, MainWindowControls &controls, ProgramWindows &windows, Term term, const WindowSkin &skin,
              std::function<void(const QString &)> showStatus);

    // Makes the term sound player. Tests replace it with one that returns a
    // test double.
    using MediaPlayerFactory = std::function<std::unique_ptr<korvana::MediaPlayer>()>;
    static void setMediaPlayerFactory(MediaPlayerFactory factory) { mediaPlayerFactory = std::move(factory); }

    void displayPicture();
    void togglePicture();
    void playSound();
    bool soundPlaying();
    void stopSound();
    void toggleSound();

    void readSwitchClicked();
    void readAloudLabelClicked();
    void readButtonClicked();
    // The voice's events. Word positions count characters of the text read.
    void voiceWordReached(int stream, int charPosition, int length);
    void voiceStreamEnded(int stream);
    void highlightSpokenText(int start, int length);
    // Hooks the reading handlers to voice's events; again whenever voice
    // has been replaced since.
    void connectVoice();

    // Whether the window's own speech is under way.
    bool speaking() const { return m_speaking; }
    void setSpeaking(bool speaking) { m_speaking = speaking; }

private:
    void setReadLook(bool reading);
    int soundWaitBoundMs() const;

    static MediaPlayerFactory mediaPlayerFactory;

    QWidget &m_window;
    MainWindowControls &m_controls;
    ProgramWindows &m_windows;
    const korvana::MainSettings &m_settings;
    std::unique_ptr<korvana::SpeechVoice> &m_voice;
    Term m_term;
    const WindowSkin &m_skin; // the Read button's glyphs and whether it shows its caption
    std::function<void(const QString &)> m_showStatus;

    QPointer<korvana::SpeechVoice> m_connectedVoice;
    int m_readStream = 0; // stream number of the main window's last speech
    bool m_speaking = false;
};
