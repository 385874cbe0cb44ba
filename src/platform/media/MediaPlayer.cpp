#include "platform/media/MediaPlayer.h"

namespace korvana {

void MediaPlayer::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    close();
    m_fileName = fileName;
}

} // namespace korvana
