// Feeds arbitrary bytes to the dictionary loader as a dictionary file, then
// searches it for a piece of its own text with both searches of the
// dictionary window, and splits every result into its row.
//
// Input: byte 0 and 1 the offset of the search term in the loaded text, byte
// 2 its length, byte 3 bit 0 "Case sensitive"; the rest is the file.
#include "FuzzSupport.h"
#include "reference/Dictionary.h"

#include <cstdint>
#include <exception>

using namespace korvana;

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    fuzz::startApplication(argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 4, qsizetype(size - 4));
    const QString path = fuzz::writeScratch(QStringLiteral("fuzz.uni"), bytes);

    QString text;
    try {
        text = loadDictionaryText(path);
    } catch (const std::exception &) {
        return 0;
    }
    const qsizetype offset = text.isEmpty() ? 0 : (data[0] | data[1] << 8) % text.size();
    const QString term = text.mid(offset, data[2] % 40);
    const bool caseSensitive = data[3] & 1;

    // The checks take a bounded number of results, each a scan of the text,
    // so that the time per input stays linear in its size and a slow input
    // is the program's, not the checks'.
    DictionarySearch search;
    const QStringList exact = search.exactFind(text, term, caseSensitive);
    for (qsizetype i = 0; i < exact.size() && i < 40; ++i) {
        fuzz::check(!exact[i].isEmpty() && text.contains(exact[i]), "an exact find result is a piece of the text");
        (void)dictionaryRow(exact[i], [](const QString &p) { return p.toUpper(); });
    }

    // Two pages of 20 are the first 40 results, in the same order.
    const DictionaryPage both = search.findAll(text, term, caseSensitive, 1, 40);
    const DictionaryPage first = search.findAll(text, term, caseSensitive, 0, 20);
    const DictionaryPage second = search.findAll(text, term, caseSensitive, 21, 40);
    fuzz::check(both.entries == first.entries + second.entries, "pages of find all follow each other");
    fuzz::check(first.full == (first.entries.size() == 20), "a page is full when it holds its last result");
    for (const QString &entry : both.entries) {
        fuzz::check(!entry.isEmpty() && text.contains(entry), "a find all result is a piece of the text");
        (void)dictionaryRow(entry);
    }
    // The folded copy kept between searches must follow a new text.
    search.clearCache();
    (void)search.findAll(text.toUpper(), term, false, 1, 20);
    return 0;
}
