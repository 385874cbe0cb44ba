#pragma once
// The encoding of a plain-text file opened in the reader. Chinese text files
// come in many encodings and say nothing about theirs: a byte-order mark is
// believed first, then UTF-16 without a mark when the text holds NULs (in
// the byte order that reads as text), then UTF-8 valid to its last byte,
// then Japanese or Korean that libuchardet is sure of, then a clean reading
// as Chinese (GB18030, Big5-HKSCS or short UTF-16), then libuchardet's
// guess, and Windows-1252 for short Western notes and when nothing else
// fits.
#include <QByteArray>
#include <QString>

namespace korvana {

struct DecodedText {
    QString text;
    QString encoding; // the name of the encoding used ("UTF-8", "GB18030", ...)
};

DecodedText decodePlainText(const QByteArray &bytes);

} // namespace korvana
