#include "support/FakeMediaPlayer.h"
#include "platform/ui/Errors.h"

#include <QFileInfo>
#include <QTimer>

namespace korvana {

void FakeMediaPlayer::open()
{
    close();
    if (!m_openError.isEmpty())
        throw Error(m_openError);
    if (!QFileInfo(fileName()).isFile())
        throw Error(QStringLiteral("Cannot read the sound file \"%1\"").arg(fileName()));
    m_open = true;
}

void FakeMediaPlayer::play()
{
    if (!m_open)
        throw Error(QStringLiteral("No sound is open"));
    if (m_mode == Mode::Playing) {
        m_mode = Mode::Stopped;
        emit finished();
    }
    m_mode = Mode::Playing;
    m_played << fileName();
    const int play = ++m_play;
    if (m_autoFinish)
        QTimer::singleShot(0, this, [this, play] {
            if (play == m_play)
                finishPlaying();
        });
}

void FakeMediaPlayer::stop()
{
    ++m_stopCalls;
    finishPlaying();
}

bool FakeMediaPlayer::finishPlaying()
{
    if (m_mode != Mode::Playing)
        return false;
    m_mode = Mode::Stopped;
    emit finished();
    return true;
}

bool FakeMediaPlayer::failPlaying(const QString &reason)
{
    if (m_mode != Mode::Playing)
        return false;
    emit failed(reason);
    return finishPlaying();
}

void FakeMediaPlayer::close()
{
    if (m_mode == Mode::Playing)
        finishPlaying();
    m_open = false;
}

} // namespace korvana
