#include "platform/keyboard/Fcitx5Controller.h"

#include <QDBusArgument>
#include <QHash>

namespace korvana {

namespace {
const QString service = QStringLiteral("org.fcitx.Fcitx5");
const QString path = QStringLiteral("/controller");
const QString interface = QStringLiteral("org.fcitx.Fcitx.Controller1");
} // namespace

Fcitx5Controller::Fcitx5Controller(QDBusConnection bus, int timeoutMs) : m_bus(std::move(bus)), m_timeoutMs(timeoutMs)
{
}

std::unique_ptr<Fcitx5Controller> Fcitx5Controller::detect(QDBusConnection bus)
{
    if (!bus.isConnected())
        return nullptr;
    QDBusMessage ask =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << service;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().value(0).toBool() != true)
        return nullptr;
    return std::make_unique<Fcitx5Controller>(bus);
}

std::optional<QDBusMessage> Fcitx5Controller::call(const QString &method, const QVariantList &args)
{
    QDBusMessage m = QDBusMessage::createMethodCall(service, path, interface, method);
    m.setArguments(args);
    // The bus could start Fcitx on demand; the user chose not to run it.
    m.setAutoStartService(false);
    QDBusMessage reply = m_bus.call(m, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return std::nullopt;
    return reply;
}

std::optional<QString> Fcitx5Controller::currentEngine()
{
    const std::optional<QDBusMessage> r = call(QStringLiteral("CurrentInputMethod"));
    if (!r || r->arguments().isEmpty())
        return std::nullopt;
    return r->arguments().first().toString();
}

InputMethodController::Switch Fcitx5Controller::switchTo(const QString &engine)
{
    if (!call(QStringLiteral("SetCurrentIM"), {engine}))
        return Switch::Unreachable;
    const std::optional<QString> now = currentEngine();
    if (!now)
        return Switch::Unreachable;
    return *now == engine ? Switch::Done : Switch::Refused;
}

std::optional<QList<InputMethodEngine>> Fcitx5Controller::configuredEngines()
{
    const std::optional<QDBusMessage> group = call(QStringLiteral("CurrentInputMethodGroup"));
    if (!group || group->arguments().isEmpty())
        return std::nullopt;
    const std::optional<QDBusMessage> info =
        call(QStringLiteral("InputMethodGroupInfo"), {group->arguments().first().toString()});
    if (!info || info->arguments().size() < 2)
        return std::nullopt;
    QList<InputMethodEngine> engines;
    {
        const QDBusArgument items = info->arguments().at(1).value<QDBusArgument>();
        items.beginArray();
        while (!items.atEnd()) {
            QString name, layout;
            items.beginStructure();
            items >> name >> layout;
            items.endStructure();
            engines.append({name, QString()});
        }
        items.endArray();
    }
    // The languages are a nicety: without them keyboard engines still get
    // their layout's name.
    if (const std::optional<QDBusMessage> all = call(QStringLiteral("AvailableInputMethods"));
        all && !all->arguments().isEmpty()) {
        QHash<QString, QString> languages;
        const QDBusArgument list = all->arguments().first().value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString unique, name, native, icon, label, language;
            bool configurable = false;
            list.beginStructure();
            list >> unique >> name >> native >> icon >> label >> language >> configurable;
            list.endStructure();
            languages.insert(unique, language);
        }
        list.endArray();
        for (InputMethodEngine &e : engines)
            e.language = languages.value(e.name);
    }
    return engines;
}

} // namespace korvana
