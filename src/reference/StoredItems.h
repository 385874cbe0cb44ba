#pragma once
// Stored items: named files kept inside the program in compressed form, and
// the wide-string-list rule by which text items are read.
//
// A stored item (all integers 32-bit little-endian):
//   N, the number of bytes of the zlib stream that follows; the zlib stream.
// Inflated, the stream holds S, the size of the file, then the file's S bytes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

namespace korvana {

enum class StoredCompression { None, Fastest, Default, Max };

struct StoredItem {
    QString name;
    QString fileName;
    QByteArray data; // the stored form while compressed, the file once inflated
    StoredCompression compression = StoredCompression::Default;
};

// The inflated file of one stored item. Throws korvana::Error when the item
// is truncated, its stream is not zlib data, or a size does not match.
QByteArray inflateStoredItem(QByteArrayView stored);

// The stored form of a file, compressed with zlib at the given level (0-9).
QByteArray deflateStoredItem(QByteArrayView file, int level);

class StoredItems {
public:
    // The four items compiled into the program: "Unihan", "Radicals",
    // "Numbers", "Pinyin". Their bytes are not copied.
    static StoredItems embedded();

    void append(const QString &name, const QString &fileName, const QByteArray &stored,
                StoredCompression compression = StoredCompression::Default);

    int count() const { return int(m_items.size()); }
    // Throws korvana::Error for an index out of range.
    const StoredItem &item(int index) const;

    // Switches item `index` to no compression: inflates it in place (once) and
    // returns the file's bytes. Throws korvana::Error on corrupt data, leaving
    // the item as it was.
    QByteArray uncompressed(int index);

private:
    std::vector<StoredItem> m_items;
};

// Text of a stream of bytes as a wide string list reads it: FF FE starts
// UTF-16 little-endian, FE FF UTF-16 big-endian; anything else is 8-bit text,
// read as UTF-8 (or, when it is not valid UTF-8, as Windows-1252). The text
// ends at its first NUL.
QString decodeWideStringListBytes(QByteArrayView bytes);

// The lines of a stream by the wide string list's rule: breaks at LF, VT, FF,
// CR, U+2028 and U+2029, CR LF being one break; a break at the very end adds
// no empty line; every line is put into Unicode normalisation form C.
QStringList loadWideStringList(QByteArrayView bytes);

// The same lines joined with CR LF between them and none after the last;
// built without an intermediate list.
QString loadWideStringListText(QByteArrayView bytes);

} // namespace korvana
