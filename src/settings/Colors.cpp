#include "settings/Colors.h"

#include "platform/ui/Errors.h"
#include "platform/ui/Integers.h"

#include <QGuiApplication>
#include <QPalette>

#include <QSet>

#include <array>
#include <cmath>

namespace korvana {

namespace {

using colors::SystemColorFlag;

constexpr std::array<ColorName, 52> kColorNames{{
    {"clBlack", colors::clBlack},
    {"clMaroon", colors::clMaroon},
    {"clGreen", colors::clGreen},
    {"clOlive", colors::clOlive},
    {"clNavy", colors::clNavy},
    {"clPurple", colors::clPurple},
    {"clTeal", colors::clTeal},
    {"clGray", colors::clGray},
    {"clSilver", colors::clSilver},
    {"clRed", colors::clRed},
    {"clLime", colors::clLime},
    {"clYellow", colors::clYellow},
    {"clBlue", colors::clBlue},
    {"clFuchsia", colors::clFuchsia},
    {"clAqua", colors::clAqua},
    {"clWhite", colors::clWhite},
    {"clMoneyGreen", colors::clMoneyGreen},
    {"clSkyBlue", colors::clSkyBlue},
    {"clCream", colors::clCream},
    {"clMedGray", colors::clMedGray},
    {"clScrollBar", SystemColorFlag | 0},
    {"clBackground", SystemColorFlag | 1},
    {"clActiveCaption", SystemColorFlag | 2},
    {"clInactiveCaption", SystemColorFlag | 3},
    {"clMenu", SystemColorFlag | 4},
    {"clWindow", SystemColorFlag | 5},
    {"clWindowFrame", SystemColorFlag | 6},
    {"clMenuText", SystemColorFlag | 7},
    {"clWindowText", SystemColorFlag | 8},
    {"clCaptionText", SystemColorFlag | 9},
    {"clActiveBorder", SystemColorFlag | 10},
    {"clInactiveBorder", SystemColorFlag | 11},
    {"clAppWorkSpace", SystemColorFlag | 12},
    {"clHighlight", SystemColorFlag | 13},
    {"clHighlightText", SystemColorFlag | 14},
    {"clBtnFace", SystemColorFlag | 15},
    {"clBtnShadow", SystemColorFlag | 16},
    {"clGrayText", SystemColorFlag | 17},
    {"clBtnText", SystemColorFlag | 18},
    {"clInactiveCaptionText", SystemColorFlag | 19},
    {"clBtnHighlight", SystemColorFlag | 20},
    {"cl3DDkShadow", SystemColorFlag | 21},
    {"cl3DLight", SystemColorFlag | 22},
    {"clInfoText", SystemColorFlag | 23},
    {"clInfoBk", SystemColorFlag | 24},
    // Index 25 has no name.
    {"clHotLight", SystemColorFlag | 26},
    {"clGradientActiveCaption", SystemColorFlag | 27},
    {"clGradientInactiveCaption", SystemColorFlag | 28},
    {"clMenuHighlight", SystemColorFlag | 29},
    {"clMenuBar", SystemColorFlag | 30},
    {"clNone", colors::clNone},
    {"clDefault", colors::clDefault},
}};

// How each system colour is painted: the palette role that plays its part in
// Qt, and the classic desktop value used when there is no GUI application.
struct SystemLook {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QRgb classic;
};

constexpr QPalette::ColorGroup A = QPalette::Active;
constexpr QPalette::ColorGroup I = QPalette::Inactive;
constexpr QPalette::ColorGroup D = QPalette::Disabled;

const SystemLook kSystemLooks[31] = {
    {A, QPalette::Button, qRgb(212, 208, 200)},          // scroll bar
    {A, QPalette::Dark, qRgb(58, 110, 165)},             // desktop
    {A, QPalette::Highlight, qRgb(10, 36, 106)},         // active caption
    {I, QPalette::Highlight, qRgb(128, 128, 128)},       // inactive caption
    {A, QPalette::Window, qRgb(212, 208, 200)},          // menu
    {A, QPalette::Base, qRgb(255, 255, 255)},            // window
    {A, QPalette::Shadow, qRgb(0, 0, 0)},                // window frame
    {A, QPalette::WindowText, qRgb(0, 0, 0)},            // menu text
    {A, QPalette::Text, qRgb(0, 0, 0)},                  // window text
    {A, QPalette::HighlightedText, qRgb(255, 255, 255)}, // caption text
    {A, QPalette::Window, qRgb(212, 208, 200)},          // active border
    {I, QPalette::Window, qRgb(212, 208, 200)},          // inactive border
    {A, QPalette::Mid, qRgb(128, 128, 128)},             // application work space
    {A, QPalette::Highlight, qRgb(10, 36, 106)},         // highlight
    {A, QPalette::HighlightedText, qRgb(255, 255, 255)}, // highlighted text
    {A, QPalette::Button, qRgb(212, 208, 200)},          // button face
    {A, QPalette::Dark, qRgb(128, 128, 128)},            // button shadow
    {D, QPalette::Text, qRgb(128, 128, 128)},            // grey text
    {A, QPalette::ButtonText, qRgb(0, 0, 0)},            // button text
    {I, QPalette::HighlightedText, qRgb(212, 208, 200)}, // inactive caption text
    {A, QPalette::Light, qRgb(255, 255, 255)},           // button highlight
    {A, QPalette::Shadow, qRgb(64, 64, 64)},             // 3D dark shadow
    {A, QPalette::Midlight, qRgb(212, 208, 200)},        // 3D light
    {A, QPalette::ToolTipText, qRgb(0, 0, 0)},           // info text
    {A, QPalette::ToolTipBase, qRgb(255, 255, 225)},     // info background
    {A, QPalette::Window, qRgb(212, 208, 200)},          // (no name)
    {A, QPalette::Link, qRgb(0, 0, 128)},                // hot light
    {A, QPalette::Highlight, qRgb(166, 202, 240)},       // gradient active caption
    {I, QPalette::Highlight, qRgb(192, 192, 192)},       // gradient inactive caption
    {A, QPalette::Highlight, qRgb(49, 106, 197)},        // menu highlight
    {A, QPalette::Window, qRgb(212, 208, 200)},          // menu bar
};

} // namespace

std::span<const ColorName> colorNames()
{
    return kColorNames;
}

QString colorToString(quint32 color)
{
    for (const auto &row : kColorNames) {
        if (row.value == color)
            return QString::fromLatin1(row.name);
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<quint32> parseColor(const QString &text)
{
    for (const auto &row : kColorNames) {
        if (text.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            return row.value;
    }
    if (const auto v = parseInteger(text))
        return quint32(*v);
    return std::nullopt;
}

quint32 stringToColor(const QString &text)
{
    if (const auto c = parseColor(text))
        return *c;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

quint32 htmlColorToColor(const QString &text)
{
    // "#RRGGBB" becomes "$00BBGGRR"; missing characters contribute nothing.
    const QString hex = QStringLiteral("$00") + text.mid(5, 2) + text.mid(3, 2) + text.mid(1, 2);
    return quint32(parseInteger(hex).value_or(0));
}

QColor toQColor(quint32 color)
{
    if (color == colors::clNone)
        return QColor(Qt::transparent);
    if (color == colors::clDefault)
        return QColor();
    if (color & SystemColorFlag) {
        const quint32 index = color & 0xFF;
        if (index > 30)
            return QColor(Qt::black);
        const SystemLook &look = kSystemLooks[index];
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return QGuiApplication::palette().color(look.group, look.role);
        return QColor::fromRgb(look.classic);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

quint32 fromQColor(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16);
}

namespace {

double channelLuminance(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double relativeLuminance(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * channelLuminance(rgb.red()) + 0.7152 * channelLuminance(rgb.green())
           + 0.0722 * channelLuminance(rgb.blue());
}

QColor mixed(const QColor &from, const QColor &to, double t)
{
    const QColor a = from.toRgb(), b = to.toRgb();
    auto channel = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double worstContrast(const QColor &color, const QList<QColor> &backgrounds)
{
    double worst = 21.0;
    for (const QColor &b : backgrounds)
        worst = std::min(worst, contrastRatio(color, b));
    return worst;
}

std::optional<QColor> readableColor(const QColor &color, const QList<QColor> &backgrounds)
{
    if (worstContrast(color, backgrounds) >= ReadableContrast)
        return color.toRgb();
    // Towards whichever end reads better on the backgrounds; on that way
    // the contrast only grows once the colour has passed the backgrounds'
    // lightness, so the first step that reads is the nearest colour.
    const QColor black(Qt::black), white(Qt::white);
    const QColor end = worstContrast(black, backgrounds) >= worstContrast(white, backgrounds) ? black : white;
    const double best = worstContrast(end, backgrounds);
    if (best < ReadableContrast)
        return std::nullopt;
    // A colour that failed goes well past the least contrast when it can
    // (7 : 1), so that black captions on a black fill do not turn a dim
    // grey that barely reads.
    const double target = std::min(best, ComfortableContrast);
    constexpr int steps = 64;
    for (int i = 1; i < steps; ++i) {
        const QColor c = mixed(color, end, double(i) / steps);
        if (worstContrast(c, backgrounds) >= target)
            return c;
    }
    return end;
}

QList<QColor> pictureColors(const QImage &picture, const QRect &region, int cell)
{
    const QRect r = region & picture.rect();
    if (r.isEmpty() || cell < 1)
        return {};
    const QSize cells((r.width() + cell - 1) / cell, (r.height() + cell - 1) / cell);
    const QImage reduced = picture.copy(r)
                               .convertToFormat(QImage::Format_RGB32)
                               .scaled(cells, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QSet<QRgb> seen;
    QList<QColor> out;
    for (int y = 0; y < reduced.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(reduced.constScanLine(y));
        for (int x = 0; x < reduced.width(); ++x) {
            const QRgb px = line[x] | 0xFF000000u;
            if (!seen.contains(px)) {
                seen.insert(px);
                out.append(QColor(px));
            }
        }
    }
    return out;
}

QColor meanColor(const QList<QColor> &colors)
{
    if (colors.isEmpty())
        return QColor(Qt::black);
    double r = 0, g = 0, b = 0;
    for (const QColor &c : colors) {
        const QColor rgb = c.toRgb();
        r += rgb.red();
        g += rgb.green();
        b += rgb.blue();
    }
    const double n = colors.size();
    return QColor(qRound(r / n), qRound(g / n), qRound(b / n));
}

} // namespace korvana
