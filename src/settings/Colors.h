#pragma once
// Colour values as the settings file, the skins and the main window hold them:
// 32 bits, 0x00BBGGRR for a plain colour (red in the lowest byte), or
// 0x80000000 plus the index of a system colour, whose actual look comes from
// the desktop's palette.
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <span>

namespace korvana {

namespace colors {
inline constexpr quint32 clBlack = 0x000000;
inline constexpr quint32 clMaroon = 0x000080;
inline constexpr quint32 clGreen = 0x008000;
inline constexpr quint32 clOlive = 0x008080;
inline constexpr quint32 clNavy = 0x800000;
inline constexpr quint32 clPurple = 0x800080;
inline constexpr quint32 clTeal = 0x808000;
inline constexpr quint32 clGray = 0x808080;
inline constexpr quint32 clSilver = 0xC0C0C0;
inline constexpr quint32 clRed = 0x0000FF;
inline constexpr quint32 clLime = 0x00FF00;
inline constexpr quint32 clYellow = 0x00FFFF;
inline constexpr quint32 clBlue = 0xFF0000;
inline constexpr quint32 clFuchsia = 0xFF00FF;
inline constexpr quint32 clAqua = 0xFFFF00;
inline constexpr quint32 clWhite = 0xFFFFFF;
inline constexpr quint32 clMoneyGreen = 0xC0DCC0;
inline constexpr quint32 clSkyBlue = 0xF0CAA6;
inline constexpr quint32 clCream = 0xF0FBFF;
inline constexpr quint32 clMedGray = 0xA4A0A0;
inline constexpr quint32 clNone = 0x1FFFFFFF;
inline constexpr quint32 clDefault = 0x20000000;
inline constexpr quint32 SystemColorFlag = 0x80000000;
inline constexpr quint32 clBtnFace = SystemColorFlag | 15;
inline constexpr quint32 clWindow = SystemColorFlag | 5;
inline constexpr quint32 clWindowText = SystemColorFlag | 8;
} // namespace colors

struct ColorName {
    const char *name;
    quint32 value;
};

// The colour names the settings file reads and writes: the 20 plain colours,
// the system colours, clNone and clDefault.
std::span<const ColorName> colorNames();

// The colour's name when it has one, else "$" and eight upper-case
// hexadecimal digits of the value ("$00404000").
QString colorToString(quint32 color);

// A colour name (any letter case) or a whole number by the program's rule;
// nothing for any other text. "$80000005" reads as the system colour it
// names, so every value colorToString writes reads back.
std::optional<quint32> parseColor(const QString &text);

// As parseColor, but other text fails with "'<text>' is not a valid integer
// value".
quint32 stringToColor(const QString &text);

// A skin colour: "#" and six hexadecimal digits, red first ("#fffff0");
// black for text that does not convert.
quint32 htmlColorToColor(const QString &text);

// The colour to paint with. System colours come from the application's
// palette (fixed classic values when there is no GUI application); clNone is
// transparent and clDefault an invalid colour (the widget keeps its own).
QColor toQColor(quint32 color);

// A plain colour value (alpha dropped).
quint32 fromQColor(const QColor &color);

// Text against its background, measured as the WCAG measures contrast (1 to
// 21 : 1); ordinary text needs at least 4.5 : 1 to read well.
inline constexpr double ReadableContrast = 4.5;
// What a colour that does not read is moved to where it can be: easy
// reading (7 : 1).
inline constexpr double ComfortableContrast = 7.0;
double contrastRatio(const QColor &a, const QColor &b);
// The least contrast of color against any of backgrounds (21 when there are
// none).
double worstContrast(const QColor &color, const QList<QColor> &backgrounds);
// color itself when it reads on every background; else the colour nearest
// to it, on its way to black or to white, that reads comfortably (or as well
// as the far end allows); nothing when no colour reads on all of them (a
// picture both dark and light under the text).
std::optional<QColor> readableColor(const QColor &color, const QList<QColor> &backgrounds);
// The colours of picture within region (clipped to the picture), each the
// mean of a cell of about cell by cell pixels: what text drawn over that
// part of the picture stands on, without single stray pixels.
QList<QColor> pictureColors(const QImage &picture, const QRect &region, int cell = 4);
// The mean of colors (black when there are none).
QColor meanColor(const QList<QColor> &colors);

} // namespace korvana
