#include "platform/keyboard/XkbKeyboardLayouts.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace korvana {

namespace {

// Layout code -> the three-letter language name the editor's lists show.
const QHash<QString, QString> &abbreviations()
{
    static const QHash<QString, QString> table = {
        {"us", "ENU"}, {"gb", "ENG"}, {"au", "ENA"}, {"ie", "ENI"}, {"ca", "FRC"},    {"de", "DEU"}, {"ch", "DES"},
        {"at", "DEA"}, {"fr", "FRA"}, {"be", "FRB"}, {"es", "ESP"}, {"latam", "ESM"}, {"it", "ITA"}, {"pt", "PTG"},
        {"br", "PTB"}, {"nl", "NLD"}, {"dk", "DAN"}, {"no", "NOR"}, {"se", "SVE"},    {"fi", "FIN"}, {"is", "ISL"},
        {"pl", "PLK"}, {"cz", "CSY"}, {"sk", "SKY"}, {"hu", "HUN"}, {"si", "SLV"},    {"hr", "HRV"}, {"rs", "SRB"},
        {"ro", "ROM"}, {"bg", "BGR"}, {"gr", "ELL"}, {"tr", "TRK"}, {"ru", "RUS"},    {"ua", "UKR"}, {"by", "BEL"},
        {"lt", "LTH"}, {"lv", "LVI"}, {"ee", "ETI"}, {"il", "HEB"}, {"ara", "ARA"},   {"ir", "FAR"}, {"in", "HIN"},
        {"th", "THA"}, {"vn", "VIT"}, {"jp", "JPN"}, {"kr", "KOR"}, {"cn", "CHS"},    {"tw", "CHT"}, {"hk", "ZHH"},
        {"sg", "ZHI"}, {"mo", "ZHM"},
    };
    return table;
}

QStringList splitList(const QString &value)
{
    QStringList parts = value.split(QLatin1Char(','));
    for (QString &p : parts)
        p = p.trimmed();
    return parts;
}

QList<XkbLayout> combine(const QString &layouts, const QString &variants)
{
    const QStringList l = splitList(layouts);
    const QStringList v = splitList(variants);
    QList<XkbLayout> result;
    for (int i = 0; i < l.size(); ++i)
        if (!l[i].isEmpty())
            result.append({l[i], v.value(i)});
    return result;
}

QString unquote(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

} // namespace

XkbKeyboardLayouts::XkbKeyboardLayouts(Options options) : m_options(std::move(options))
{
}

XkbKeyboardLayouts::Runner XkbKeyboardLayouts::setxkbmapRunner()
{
    return [](const QStringList &args) -> std::optional<QString> {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
        if (program.isEmpty())
            return std::nullopt;
        QProcess p;
        p.start(program, args);
        // A display that does not answer must not hang the editor's creation.
        if (!p.waitForStarted(3000))
            return std::nullopt;
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished(1000);
            return std::nullopt;
        }
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return std::nullopt;
        return QString::fromLocal8Bit(p.readAllStandardOutput());
    };
}

QString XkbKeyboardLayouts::abbreviationFor(const QString &layout)
{
    const QString code = layout.trimmed().toLower();
    return abbreviations().value(code, code.toUpper());
}

QList<XkbLayout> XkbKeyboardLayouts::parseQuery(const QString &output)
{
    QString layouts, variants;
    for (const QString &line : output.split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed();
        if (key == QLatin1String("layout"))
            layouts = line.mid(colon + 1);
        else if (key == QLatin1String("variant"))
            variants = line.mid(colon + 1);
    }
    return combine(layouts, variants);
}

QList<XkbLayout> XkbKeyboardLayouts::parseKeyboardConfig(const QString &text)
{
    QString layouts, variants;
    for (const QString &raw : text.split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key == QLatin1String("XKBLAYOUT"))
            layouts = unquote(line.mid(eq + 1));
        else if (key == QLatin1String("XKBVARIANT"))
            variants = unquote(line.mid(eq + 1));
    }
    return combine(layouts, variants);
}

XkbLayout XkbKeyboardLayouts::layoutForLocale(const QLocale &locale)
{
    // Most XKB layouts are named after the country that uses them.
    const QString name = locale.name(); // "de_DE", "C"
    const int sep = name.indexOf(QLatin1Char('_'));
    if (locale.language() == QLocale::C || sep < 0)
        return {QStringLiteral("us"), QString()};
    return {name.mid(sep + 1).toLower(), QString()};
}

void XkbKeyboardLayouts::discover()
{
    if (m_discovered)
        return;
    m_discovered = true;
    if (m_options.runner) {
        if (const std::optional<QString> out = m_options.runner({QStringLiteral("-query")})) {
            m_layouts = parseQuery(*out);
            if (!m_layouts.isEmpty()) {
                m_source = QStringLiteral("setxkbmap");
                return;
            }
        }
    }
    if (!m_options.keyboardConfigFile.isEmpty()) {
        QFile f(m_options.keyboardConfigFile);
        if (f.open(QIODevice::ReadOnly)) {
            m_layouts = parseKeyboardConfig(QString::fromUtf8(f.readAll()));
            if (!m_layouts.isEmpty()) {
                m_source = QStringLiteral("config");
                return;
            }
        }
    }
    m_layouts = {layoutForLocale(m_options.locale)};
    m_source = QStringLiteral("locale");
}

QString XkbKeyboardLayouts::source()
{
    discover();
    return m_source;
}

std::optional<XkbLayout> XkbKeyboardLayouts::layoutOf(LayoutHandle handle)
{
    discover();
    if (handle < 1 || handle > LayoutHandle(m_layouts.size()))
        return std::nullopt;
    return m_layouts[int(handle - 1)];
}

LayoutHandle XkbKeyboardLayouts::userLayout()
{
    discover();
    return m_layouts.isEmpty() ? 0 : 1;
}

QList<LayoutHandle> XkbKeyboardLayouts::layoutList(int maxCount)
{
    discover();
    QList<LayoutHandle> handles;
    for (int i = 0; i < m_layouts.size() && i < maxCount; ++i)
        handles.append(LayoutHandle(i + 1));
    return handles;
}

QString XkbKeyboardLayouts::abbreviatedName(LayoutHandle handle)
{
    const std::optional<XkbLayout> l = layoutOf(handle);
    return l ? abbreviationFor(l->layout) : QString();
}

bool XkbKeyboardLayouts::canSwitch() const
{
    return m_options.allowSwitch && bool(m_options.runner);
}

bool XkbKeyboardLayouts::activate(LayoutHandle handle)
{
    const std::optional<XkbLayout> chosen = layoutOf(handle);
    if (!chosen)
        return false;
    m_active = handle;
    if (!canSwitch())
        return false;
    // The display's current set, which the user may have changed since the
    // list was read; the chosen layout goes first, the others keep their order.
    // Setting the map always resets the display to its first group, so it is
    // set even when the chosen layout is already first.
    QList<XkbLayout> current;
    if (const std::optional<QString> out = m_options.runner({QStringLiteral("-query")}))
        current = parseQuery(*out);
    if (current.isEmpty())
        current = m_layouts;
    current.removeAll(*chosen);
    current.prepend(*chosen);
    QStringList layouts, variants;
    for (const XkbLayout &l : current) {
        layouts << l.layout;
        variants << l.variant;
    }
    return m_options
        .runner({QStringLiteral("-layout"), layouts.join(QLatin1Char(',')), QStringLiteral("-variant"),
                 variants.join(QLatin1Char(','))})
        .has_value();
}

} // namespace korvana
