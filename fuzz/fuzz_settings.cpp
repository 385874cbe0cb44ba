// Feeds arbitrary bytes to the ini reader as a settings file: the parser
// itself, every read the settings make, and one write on top of it. The file
// must parse the same after being written out, a written key must read back,
// and a write must leave every other section as it read before.
#include "FuzzSupport.h"
#include "platform/ini/IniFile.h"
#include "settings/MainSettings.h"
#include "settings/SettingsFile.h"

#include <cstdint>

using korvana::IniFile;

namespace {

bool sameLines(const IniFile::Document &a, const IniFile::Document &b)
{
    if (a.lines.size() != b.lines.size())
        return false;
    for (qsizetype i = 0; i < a.lines.size(); ++i) {
        const auto &x = a.lines[i];
        const auto &y = b.lines[i];
        if (x.text != y.text || x.kind != y.kind || x.name != y.name || x.value != y.value)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    fuzz::startApplication(argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const IniFile::Document doc = IniFile::parse(bytes);
    fuzz::check(sameLines(doc, IniFile::parse(IniFile::encode(doc))),
                "a parsed file parses the same once written out");

    const QString path = fuzz::writeScratch(QStringLiteral("korvana.ini"), bytes);
    IniFile ini(path);
    korvana::MainSettings settings;
    korvana::TextDirections directions;
    korvana::readSettings(ini, settings, directions);

    const QStringList sections = ini.readSections();
    QList<QList<korvana::IniEntry>> before;
    for (const QString &s : sections) {
        before.append(ini.readEntries(s));
        (void)ini.readSectionValues(s);
    }

    // The value written is a piece of the input itself.
    const QString value = QString::fromUtf8(bytes.left(64));
    ini.writeString(QStringLiteral("Options"), QStringLiteral("Kanji Font"), value);
    QString expected = value;
    expected.replace(QLatin1String("\r\n"), QLatin1String(" "));
    expected.replace(u'\r', u' ').replace(u'\n', u' ').remove(QChar(0));
    fuzz::check(IniFile(path).readString(QStringLiteral("Options"), QStringLiteral("Kanji Font"), {})
                    == expected.trimmed(),
                "a written value reads back");
    const IniFile again(path);
    for (qsizetype i = 0; i < sections.size(); ++i) {
        if (sections[i].compare(QLatin1String("Options"), Qt::CaseInsensitive) == 0)
            continue;
        fuzz::check(again.readEntries(sections[i]) == before[i], "a write keeps the other sections");
    }
    return 0;
}
