#pragma once
// A sound player for tests: opens any file that exists, records what it was
// asked, and ends a sound only when the test says so (or by itself from the
// message loop with setAutoFinish(true)), so code that waits for sound can be
// tested without an audio device and without waiting.
#include "platform/media/MediaPlayer.h"

#include <QStringList>

namespace korvana {

class FakeMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit FakeMediaPlayer(QObject *parent = nullptr) : MediaPlayer(parent) {}

    // open() throws korvana::Error with `message` while it is not empty.
    void setOpenError(const QString &message) { m_openError = message; }
    void setAutoFinish(bool on) { m_autoFinish = on; }

    void open() override;
    void play() override;
    void stop() override;
    Mode mode() const override { return m_mode; }
    qint64 duration() const override { return m_open ? Duration : -1; }

    // What the code under test did.
    QStringList playedFiles() const { return m_played; }
    int stopCalls() const { return m_stopCalls; }

    // Ends the playing sound as if it reached its end; false when stopped.
    bool finishPlaying();
    // Ends it with a failure, as a device that gives up would.
    bool failPlaying(const QString &reason);

protected:
    void close() override;

private:
    static constexpr qint64 Duration = 1000; // of every sound opened

    QString m_openError;
    bool m_autoFinish = false;
    bool m_open = false;
    Mode m_mode = Mode::Stopped;
    int m_play = 0; // number of the running play, so a stale auto-finish is ignored
    QStringList m_played;
    int m_stopCalls = 0;
};

} // namespace korvana
