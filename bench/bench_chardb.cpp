// Loading the character database compiled into the program, its memory, and
// record lookups of random characters. Prints its figures.
#include "reference/CharacterDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

using korvana::CharacterDatabase;

namespace {

// Resident memory of the process in kB, from /proc (0 where there is none).
long residentKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    // Load: several runs, each into a fresh database.
    const long rssBefore = residentKb();
    std::vector<double> loadMs;
    long rssLoaded = 0;
    for (int run = 0; run < 7; ++run) {
        CharacterDatabase db;
        QElapsedTimer t;
        t.start();
        const bool ok = db.readDatabases();
        loadMs.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!ok) {
            std::printf("readDatabases failed: %s\n", qPrintable(db.lastError()));
            return 1;
        }
        if (run == 0)
            rssLoaded = residentKb();
    }
    std::printf("readDatabases (full data): min %.1f ms, median %.1f ms over %zu runs (goal < 60 ms)\n",
                *std::min_element(loadMs.begin(), loadMs.end()), median(loadMs), loadMs.size());

    CharacterDatabase db;
    db.readDatabases();
    const qsizetype unihanChars = db.unihanText().size();
    const qsizetype records = db.unihanText().count(QLatin1String("\r\n"));
    std::printf("Unihan text: %lld records, %lld UTF-16 units (%.1f MB); radicals text %lld units\n",
                (long long)records, (long long)unihanChars, unihanChars * 2 / 1e6, (long long)db.radicalsText().size());
    std::printf("index: about %.2f MB (8 bytes a record)\n", records * 8 / 1e6);
    std::printf("resident memory: %ld kB before, %ld kB after the first load (+%ld kB)\n", rssBefore, rssLoaded,
                rssLoaded - rssBefore);

    // Lookups of random characters, as the mouse would bring them: mostly
    // ideographs that have records, some that do not.
    QRandomGenerator random(12345);
    std::vector<char32_t> chars(10000);
    for (char32_t &c : chars)
        c = 0x3000 + random.bounded(0x2FA20 - 0x3000);
    int found = 0;
    qsizetype checksum = 0;
    std::vector<double> perLookupNs;
    for (int run = 0; run < 5; ++run) {
        found = 0;
        QElapsedTimer t;
        t.start();
        for (char32_t c : chars) {
            const QStringView r = db.unihanRecord(c);
            found += r.isEmpty() ? 0 : 1;
            checksum += r.size();
        }
        perLookupNs.push_back(double(t.nsecsElapsed()) / double(chars.size()));
    }
    std::printf("lookup of %zu random characters (%d with a record): median %.0f ns a lookup "
                "(goal < 1000 ns)\n",
                chars.size(), found, median(perLookupNs));

    // For comparison: the plain search of the text that the index replaces.
    QElapsedTimer t;
    t.start();
    const int searches = 200;
    for (int i = 0; i < searches; ++i) {
        const QString key = QStringLiteral("@%1;").arg(uint(chars[size_t(i)]), 0, 16).toUpper();
        checksum += db.unihanText().indexOf(key);
    }
    std::printf("plain text search, for comparison: %.0f ns a lookup\n", double(t.nsecsElapsed()) / searches);
    std::printf("(checksum %lld)\n", (long long)checksum);
    return 0;
}
