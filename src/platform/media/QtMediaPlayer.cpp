#include "platform/media/QtMediaPlayer.h"
#include "platform/files/SafeFiles.h"
#include "platform/media/SoundDuration.h"
#include "platform/ui/Errors.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace korvana {

namespace {
bool silentWanted()
{
    if (qEnvironmentVariable("KORVANA_SILENT_AUDIO") == QLatin1String("1"))
        return true;
    return QMediaDevices::audioOutputs().isEmpty();
}
} // namespace

QtMediaPlayer::QtMediaPlayer(Output output, QObject *parent) : MediaPlayer(parent), m_output(output)
{
    m_endTimer.setSingleShot(true);
    connect(&m_endTimer, &QTimer::timeout, this, [this] {
        // The silent sound's time is up, or a device never said it ended.
        if (m_player)
            m_player->stop();
        end();
    });
}

QtMediaPlayer::~QtMediaPlayer()
{
    // No finished() from a player that is going away.
    blockSignals(true);
    stop();
}

void QtMediaPlayer::ensureDevicePlayer()
{
    if (m_player)
        return;
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    m_player->setAudioOutput(m_audio);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        // Paused counts as ended too: nothing here resumes a sound.
        if (state != QMediaPlayer::PlayingState)
            end();
    });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
            end();
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString &text) {
        if (m_mode != Mode::Playing)
            return;
        emit failed(text);
        end();
    });
}

void QtMediaPlayer::open()
{
    close();
    const QString name = fileName();
    const QFileInfo info(name);
    // Only a regular file: the backend would block for good on a named pipe.
    if (name.isEmpty() || !files::isRegularFile(name, MaxFileBytes) || !info.isReadable())
        throw Error(QStringLiteral("Cannot read the sound file \"%1\"").arg(name));
    m_duration = soundFileDurationMs(name);
    m_silent = m_output == Output::Silent || (m_output == Output::Automatic && silentWanted());
    if (m_silent) {
        if (m_duration < 0)
            throw Error(QStringLiteral("\"%1\" is no sound that can be played without an audio device").arg(name));
    } else {
        ensureDevicePlayer();
        m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    }
    m_open = true;
}

void QtMediaPlayer::play()
{
    if (!m_open)
        throw Error(QStringLiteral("No sound is open"));
    stop(); // a sound played again starts from its beginning
    m_mode = Mode::Playing;
    if (m_silent) {
        m_endTimer.start(int(qMin<qint64>(m_duration, MaxUnknownLengthMs)));
        return;
    }
    m_endTimer.start(m_duration >= 0 ? int(qMin<qint64>(m_duration + EndMarginMs, MaxUnknownLengthMs))
                                     : MaxUnknownLengthMs);
    m_player->setPosition(0);
    m_player->play();
}

void QtMediaPlayer::stop()
{
    if (m_mode != Mode::Playing)
        return;
    m_endTimer.stop();
    if (m_player)
        m_player->stop(); // may report the end itself; end() runs once
    end();
}

void QtMediaPlayer::end()
{
    if (m_mode != Mode::Playing)
        return;
    m_mode = Mode::Stopped;
    m_endTimer.stop();
    emit finished();
}

void QtMediaPlayer::close()
{
    stop();
    m_open = false;
    m_duration = -1;
    if (m_player)
        m_player->setSource(QUrl());
}

} // namespace korvana
