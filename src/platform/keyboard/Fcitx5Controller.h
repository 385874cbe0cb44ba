#pragma once
// Fcitx 5 through its controller on the session bus (service org.fcitx.Fcitx5,
// object /controller, interface org.fcitx.Fcitx.Controller1), every call with
// a timeout:
//  - the configured engines: the items of the current input-method group
//    (CurrentInputMethodGroup, InputMethodGroupInfo), in the group's order;
//  - their languages: AvailableInputMethods (unique name -> language code);
//  - the active engine: CurrentInputMethod; switching: SetCurrentIM, then read
//    back.
#include "platform/keyboard/InputMethodLayouts.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace korvana {

class Fcitx5Controller : public InputMethodController {
public:
    explicit Fcitx5Controller(QDBusConnection bus = QDBusConnection::sessionBus(), int timeoutMs = 3000);

    // A controller when Fcitx 5 owns its name on the bus.
    static std::unique_ptr<Fcitx5Controller> detect(QDBusConnection bus = QDBusConnection::sessionBus());

    QString framework() const override { return QStringLiteral("Fcitx 5"); }
    std::optional<QList<InputMethodEngine>> configuredEngines() override;
    std::optional<QString> currentEngine() override;
    Switch switchTo(const QString &engine) override;

private:
    std::optional<QDBusMessage> call(const QString &method, const QVariantList &args = {});

    QDBusConnection m_bus;
    int m_timeoutMs;
};

} // namespace korvana
