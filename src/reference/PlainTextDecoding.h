#pragma once
// The encoding of a plain-text file opened in the reader. Chinese text files
// come in many encodings and say nothing about theirs: a byte-order mark is
// believed first, then valid UTF-8, then UTF-16 without a mark, then
// libuchardet's guess (GB18030, Big5 and the other legacy encodings), and
// Windows-1252 when nothing else fits.
#include <QByteArray>
#include <QString>

namespace korvana {

struct DecodedText {
    QString text;
    QString encoding; // the name of the encoding used ("UTF-8", "GB18030", ...)
};

DecodedText decodePlainText(const QByteArray &bytes);

} // namespace korvana
