#pragma once
// The player of a term's sound file: name a file, open it, play it, stop it,
// and ask whether it plays. Playing never blocks; the end comes as the
// finished() signal from the message loop, and the mode reads Stopped from
// then on.
#include <QObject>
#include <QString>

namespace korvana {

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    enum class Mode { Stopped, Playing };
    // Larger sound files are not played: a lesson's sounds are words and
    // sentences, and a file named by someone else's lesson may be anything.
    static constexpr qint64 MaxFileBytes = qint64(256) << 20;

    explicit MediaPlayer(QObject *parent = nullptr) : QObject(parent) {}
    ~MediaPlayer() override = default;

    // The file that open() reads. Naming another file closes the open one
    // (a playing sound stops first).
    void setFileName(const QString &fileName);
    QString fileName() const { return m_fileName; }

    // Opens fileName(). The kind of sound is taken from the file itself.
    // Throws korvana::Error when the file cannot be read or is no sound the
    // player knows; the player is then closed.
    virtual void open() = 0;
    // Plays the open sound from its start (a playing one starts again).
    // Throws korvana::Error when nothing is open.
    virtual void play() = 0;
    // Stops at once; finished() follows when it was playing. Does nothing
    // when stopped.
    virtual void stop() = 0;
    virtual Mode mode() const = 0;
    bool playing() const { return mode() == Mode::Playing; }
    // Length of the open sound in milliseconds; -1 when unknown or closed.
    virtual qint64 duration() const = 0;

signals:
    // Playing has ended: the sound reached its end, was stopped, or failed
    // while playing (failed() comes first then). Sent once per play().
    void finished();
    // A sound that opened but could not be played; `reason` is for the log.
    void failed(const QString &reason);

protected:
    // Called by setFileName() before the name changes.
    virtual void close() = 0;

private:
    QString m_fileName;
};

} // namespace korvana
