#pragma once
// Reading the tags of a lesson line: "<OR=translation><PI=pinyin><CH=chars>
// <NO=notes><TY=w><ST=u>" and optionally "<SN=sound>" and "<GR=picture>".
// A value runs from after "=" to the next ">"; a tag may stand anywhere.
#include <QChar>
#include <QString>

namespace korvana {

// The characters between the first "<" + tag + "=" in line and the next ">";
// empty when the tag is missing or nothing closes it. The tag name is
// matched exactly (upper case).
QString tagContent(const QString &line, const QString &tag);

// The character right after the first "<TY=" (exact case), or 'w' when the
// line has none; the character right after the first "<ST=", or 'u'.
QString termTypeOf(const QString &line);
QString termStateOf(const QString &line);

} // namespace korvana
