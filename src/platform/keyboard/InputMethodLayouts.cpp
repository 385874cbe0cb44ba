#include "platform/keyboard/InputMethodLayouts.h"
#include "platform/keyboard/XkbKeyboardLayouts.h"

#include <QCoreApplication>
#include <QHash>

#include <utility>

namespace korvana {

InputMethodController::~InputMethodController() = default;

InputMethodLayouts::InputMethodLayouts(std::unique_ptr<InputMethodController> controller)
    : m_controller(std::move(controller))
{
    // Quitting with the editor in front closes no window on the way out.
    if (QCoreApplication *app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, &m_quitWatch, [this] { restore(); });
}

QString InputMethodLayouts::languageAbbreviation(const QString &code)
{
    // The three-letter names the editor's layout lists show for these
    // languages; a code with its territory is looked up first, then the bare
    // language.
    static const QHash<QString, QString> table = {
        {"zh", "CHS"},    {"zh_cn", "CHS"}, {"zh_sg", "CHS"}, {"zh_tw", "CHT"}, {"zh_hk", "CHT"}, {"zh_mo", "CHT"},
        {"en", "ENU"},    {"en_us", "ENU"}, {"en_gb", "ENG"}, {"en_au", "ENA"}, {"en_ca", "ENC"}, {"en_ie", "ENI"},
        {"en_nz", "ENZ"}, {"de", "DEU"},    {"de_ch", "DES"}, {"de_at", "DEA"}, {"fr", "FRA"},    {"fr_ca", "FRC"},
        {"fr_be", "FRB"}, {"fr_ch", "FRS"}, {"es", "ESP"},    {"es_mx", "ESM"}, {"it", "ITA"},    {"pt", "PTB"},
        {"pt_pt", "PTG"}, {"nl", "NLD"},    {"da", "DAN"},    {"nb", "NOR"},    {"no", "NOR"},    {"sv", "SVE"},
        {"fi", "FIN"},    {"is", "ISL"},    {"pl", "PLK"},    {"cs", "CSY"},    {"sk", "SKY"},    {"hu", "HUN"},
        {"sl", "SLV"},    {"hr", "HRV"},    {"sr", "SRB"},    {"ro", "ROM"},    {"bg", "BGR"},    {"el", "ELL"},
        {"tr", "TRK"},    {"ru", "RUS"},    {"uk", "UKR"},    {"be", "BEL"},    {"lt", "LTH"},    {"lv", "LVI"},
        {"et", "ETI"},    {"he", "HEB"},    {"ar", "ARA"},    {"fa", "FAR"},    {"hi", "HIN"},    {"th", "THA"},
        {"vi", "VIT"},    {"ja", "JPN"},    {"ko", "KOR"},
    };
    QString c = code.trimmed().toLower();
    c.replace(QLatin1Char('-'), QLatin1Char('_'));
    const int encoding = c.indexOf(QLatin1Char('.'));
    if (encoding >= 0)
        c.truncate(encoding);
    if (c.isEmpty())
        return QString();
    if (const auto it = table.constFind(c); it != table.constEnd())
        return *it;
    const QString language = c.section(QLatin1Char('_'), 0, 0);
    return table.value(language, language.toUpper());
}

QString InputMethodLayouts::engineAbbreviation(const InputMethodEngine &engine)
{
    const QString &n = engine.name;
    if (n.startsWith(QLatin1String("xkb:")))
        return XkbKeyboardLayouts::abbreviationFor(n.section(QLatin1Char(':'), 1, 1));
    if (n.startsWith(QLatin1String("keyboard-")))
        return XkbKeyboardLayouts::abbreviationFor(n.mid(9).section(QLatin1Char('-'), 0, 0));
    return languageAbbreviation(engine.language);
}

void InputMethodLayouts::discover()
{
    if (m_discovered)
        return;
    m_discovered = true;
    if (std::optional<QList<InputMethodEngine>> found = m_controller->configuredEngines())
        m_engines = *found;
    else
        m_unreachable = true;
}

QList<InputMethodEngine> InputMethodLayouts::engines()
{
    discover();
    return m_engines;
}

QList<LayoutHandle> InputMethodLayouts::layoutList(int maxCount)
{
    discover();
    QList<LayoutHandle> handles;
    for (int i = 0; i < m_engines.size() && i < maxCount; ++i)
        handles.append(LayoutHandle(i + 1));
    return handles;
}

QString InputMethodLayouts::abbreviatedName(LayoutHandle handle)
{
    discover();
    if (handle < 1 || handle > LayoutHandle(m_engines.size()))
        return QString();
    return engineAbbreviation(m_engines[int(handle - 1)]);
}

bool InputMethodLayouts::activate(LayoutHandle handle)
{
    discover();
    if (handle < 1 || handle > LayoutHandle(m_engines.size()))
        return false;
    m_active = handle;
    const QString engine = m_engines[int(handle - 1)].name;
    if (m_unreachable || m_refused.contains(engine))
        return false;
    if (!m_before) {
        // Taking the input method over: what the user had goes back at restore().
        m_before = m_controller->currentEngine();
        if (!m_before) {
            m_unreachable = true;
            return false;
        }
    }
    switch (m_controller->switchTo(engine)) {
    case InputMethodController::Switch::Done:
        return true;
    case InputMethodController::Switch::Refused:
        m_refused.insert(engine);
        return false;
    case InputMethodController::Switch::Unreachable:
        m_unreachable = true;
        return false;
    }
    return false;
}

LayoutHandle InputMethodLayouts::userLayout()
{
    discover();
    if (m_unreachable)
        return 0;
    std::optional<QString> engine = m_before;
    if (!engine) {
        engine = m_controller->currentEngine();
        if (!engine) {
            m_unreachable = true;
            return 0;
        }
    }
    for (int i = 0; i < m_engines.size(); ++i)
        if (m_engines[i].name == *engine)
            return LayoutHandle(i + 1);
    return 0;
}

void InputMethodLayouts::restore()
{
    const std::optional<QString> before = std::exchange(m_before, std::nullopt);
    if (!before || before->isEmpty() || m_unreachable)
        return;
    if (m_controller->switchTo(*before) == InputMethodController::Switch::Unreachable)
        m_unreachable = true;
}

} // namespace korvana
