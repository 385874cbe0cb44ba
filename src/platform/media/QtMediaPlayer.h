#pragma once
// The sound player on Qt Multimedia (QMediaPlayer with a QAudioOutput).
//
// Without an audio output device the player plays silently: it reads the
// sound's length from the file (SoundDuration.h), reports Playing at play()
// and Stopped, with finished(), when that time has passed on the message
// loop, so practice keeps the same rhythm as with sound. A file whose length
// cannot be read (no WAV or MPEG audio) fails to open in that case. The
// multimedia backend is only touched when a device is there: on machines
// without one some backends crash or never report the end of a sound.
//
// With a device, a sound that the backend never reports ended is stopped a
// little after its length (or after MaxUnknownLengthMs when the length is
// unknown), so nothing waiting for it can wait for ever.
#include "platform/media/MediaPlayer.h"

#include <QTimer>

class QAudioOutput;
class QMediaPlayer;

namespace korvana {

class QtMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    enum class Output {
        Automatic, // the device when there is one (and KORVANA_SILENT_AUDIO is not 1), else silent
        Device,
        Silent,
    };
    static constexpr int EndMarginMs = 3000;
    static constexpr int MaxUnknownLengthMs = 10 * 60 * 1000;

    explicit QtMediaPlayer(Output output = Output::Automatic, QObject *parent = nullptr);
    ~QtMediaPlayer() override;

    void open() override;
    void play() override;
    void stop() override;
    Mode mode() const override { return m_mode; }
    qint64 duration() const override { return m_open ? m_duration : -1; }

    // Whether the open sound plays silently.
    bool silent() const { return m_silent; }

protected:
    void close() override;

private:
    void ensureDevicePlayer();
    void end();

    Output m_output;
    bool m_open = false;
    bool m_silent = false;
    Mode m_mode = Mode::Stopped;
    qint64 m_duration = -1;
    QTimer m_endTimer; // the silent sound's end, or the device's bound
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_audio = nullptr;
};

} // namespace korvana
