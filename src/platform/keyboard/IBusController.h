#pragma once
// IBus through its own command-line tools, each run with bounded waits:
//  - the active engine: `ibus engine`; switching: `ibus engine NAME`, then
//    read back (the tool's exit code is not reliable: it fails when it cannot
//    reset the X keymap although the engine did change);
//  - the configured engines: `gsettings get org.freedesktop.ibus.general
//    preload-engines`; when that lists none (GNOME keeps its own sources), the
//    active engine alone;
//  - each engine's language: the <engine> entries of `ibus read-cache`.
// The tools run in the C locale, whose messages are the ones recognised here.
#include "platform/keyboard/InputMethodLayouts.h"

#include <QHash>

#include <functional>

namespace korvana {

class IBusController : public InputMethodController {
public:
    struct Run {
        bool finished = false; // started and ended within the time allowed
        int exitCode = -1;
        QString out, err;
    };
    using Runner = std::function<Run(const QString &program, const QStringList &args)>;

    // Runs the program found on PATH, killed after timeoutMs.
    static Runner processRunner(int timeoutMs);

    explicit IBusController(Runner runner = processRunner(4000));

    // An IBus controller when the daemon answers and has engines to offer.
    static std::unique_ptr<IBusController> detect();

    QString framework() const override { return QStringLiteral("IBus"); }
    std::optional<QList<InputMethodEngine>> configuredEngines() override;
    std::optional<QString> currentEngine() override;
    Switch switchTo(const QString &engine) override;

    // `gsettings get` output ("['xkb:us::eng', 'libpinyin']", "@as []").
    static QStringList parseEngineList(const QString &gvariant);
    // Engine name -> language from the registry XML of `ibus read-cache`.
    static QHash<QString, QString> parseRegistryLanguages(const QString &xml);

private:
    Runner m_run;
};

} // namespace korvana
