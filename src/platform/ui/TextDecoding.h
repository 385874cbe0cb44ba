#pragma once
// 8-bit text as the program reads it from files: UTF-8 when the bytes are
// valid UTF-8, otherwise the Western Windows code page (1252), in which older
// lessons, sessions and settings files are stored.
#include <QByteArrayView>
#include <QString>

namespace korvana {

// Windows-1252: Latin-1 but for 0x80-0x9F; the five bytes that code page
// leaves unassigned map to the control characters of the same number, so
// that every byte reads as a character and no byte is lost.
QString decodeWindows1252(QByteArrayView bytes);

// UTF-8 when valid (a byte-order mark is not removed here), else
// Windows-1252. *wasUtf8, when given, says which one was used.
QString decodeUtf8OrWindows1252(QByteArrayView bytes, bool *wasUtf8 = nullptr);

} // namespace korvana
