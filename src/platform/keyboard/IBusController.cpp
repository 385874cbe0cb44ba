#include "platform/keyboard/IBusController.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace korvana {

namespace {
const QString ibus = QStringLiteral("ibus");

bool notConnected(const IBusController::Run &r)
{
    // Messages of the tool when no daemon answers (the last one: the daemon
    // went away while the tool was connecting).
    for (const char *m : {"Can't connect", "Not connected", "IBUS_IS_BUS"})
        if (r.out.contains(QLatin1String(m)) || r.err.contains(QLatin1String(m)))
            return true;
    return false;
}
} // namespace

IBusController::Runner IBusController::processRunner(int timeoutMs)
{
    return [timeoutMs](const QString &program, const QStringList &args) {
        Run r;
        const QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty())
            return r;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        p.setProcessEnvironment(env);
        p.start(path, args);
        // A daemon that hangs must not hang the editor with it.
        if (!p.waitForStarted(timeoutMs))
            return r;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished(1000);
            return r;
        }
        r.finished = p.exitStatus() == QProcess::NormalExit;
        r.exitCode = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    };
}

IBusController::IBusController(Runner runner) : m_run(std::move(runner))
{
}

std::unique_ptr<IBusController> IBusController::detect()
{
    if (QStandardPaths::findExecutable(ibus).isEmpty())
        return nullptr;
    auto c = std::make_unique<IBusController>();
    if (!c->currentEngine())
        return nullptr;
    const std::optional<QList<InputMethodEngine>> engines = c->configuredEngines();
    if (!engines || engines->isEmpty())
        return nullptr;
    return c;
}

std::optional<QString> IBusController::currentEngine()
{
    const Run r = m_run(ibus, {QStringLiteral("engine")});
    if (!r.finished || notConnected(r))
        return std::nullopt;
    if (r.exitCode == 0)
        return r.out.trimmed().section(QLatin1Char('\n'), -1).trimmed();
    if (r.out.contains(QLatin1String("No engine is set")))
        return QString();
    return std::nullopt;
}

InputMethodController::Switch IBusController::switchTo(const QString &engine)
{
    const Run r = m_run(ibus, {QStringLiteral("engine"), engine});
    if (!r.finished || notConnected(r))
        return Switch::Unreachable;
    const std::optional<QString> now = currentEngine();
    if (!now)
        return Switch::Unreachable;
    return *now == engine ? Switch::Done : Switch::Refused;
}

std::optional<QList<InputMethodEngine>> IBusController::configuredEngines()
{
    QStringList names;
    const Run preload =
        m_run(QStringLiteral("gsettings"), {QStringLiteral("get"), QStringLiteral("org.freedesktop.ibus.general"),
                                            QStringLiteral("preload-engines")});
    if (preload.finished && preload.exitCode == 0)
        names = parseEngineList(preload.out);
    if (names.isEmpty()) {
        const std::optional<QString> current = currentEngine();
        if (!current)
            return std::nullopt;
        if (!current->isEmpty())
            names << *current;
    }
    QHash<QString, QString> languages;
    const Run cache = m_run(ibus, {QStringLiteral("read-cache")});
    if (cache.finished && cache.exitCode == 0)
        languages = parseRegistryLanguages(cache.out);
    QList<InputMethodEngine> engines;
    for (const QString &n : names)
        engines.append({n, languages.value(n)});
    return engines;
}

QStringList IBusController::parseEngineList(const QString &gvariant)
{
    QStringList names;
    static const QRegularExpression quoted(QStringLiteral(R"('((?:[^'\\]|\\.)*)')"));
    for (auto it = quoted.globalMatch(gvariant); it.hasNext();) {
        QString n = it.next().captured(1);
        n.replace(QLatin1String("\\'"), QLatin1String("'"));
        if (!n.isEmpty() && !names.contains(n))
            names << n;
    }
    return names;
}

QHash<QString, QString> IBusController::parseRegistryLanguages(const QString &xml)
{
    QHash<QString, QString> languages;
    QXmlStreamReader r(xml);
    QString name, language;
    int depth = 0, engineDepth = -1;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (r.name() == QLatin1String("engine")) {
                engineDepth = depth;
                name.clear();
                language.clear();
            } else if (engineDepth > 0 && depth == engineDepth + 1) {
                if (r.name() == QLatin1String("name"))
                    name = r.readElementText().trimmed(), --depth;
                else if (r.name() == QLatin1String("language"))
                    language = r.readElementText().trimmed(), --depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            if (depth == engineDepth && r.name() == QLatin1String("engine")) {
                if (!name.isEmpty() && !languages.contains(name))
                    languages.insert(name, language);
                engineDepth = -1;
            }
            --depth;
            break;
        default:
            break;
        }
    }
    return languages;
}

} // namespace korvana
