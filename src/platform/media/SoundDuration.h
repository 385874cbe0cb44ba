#pragma once
// How long a sound file plays, read from the file's own headers: WAV (RIFF)
// and MPEG audio (mp3, mp2, with or without ID3 tags). The player uses it to
// time a sound when no audio device is there, and to bound how long it trusts
// a device that never says it has finished.
#include <QByteArray>
#include <QString>

namespace korvana {

// Milliseconds, or -1 when the data is no sound of a known kind.
qint64 soundDurationMs(const QByteArray &data);
// The same for a file; -1 when it cannot be read.
qint64 soundFileDurationMs(const QString &fileName);

} // namespace korvana
