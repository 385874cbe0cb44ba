#pragma once
// The stored items compiled into the program (library korvana_data, generated
// at build time by tools/gen_chardb.py from the Unicode Han database).

namespace korvana::embedded {

struct EmbeddedStoredItem {
    const char *name;     // "Unihan", "Radicals", "Numbers", "Pinyin"
    const char *fileName; // the file the item was made from
    const char *data;     // the stored item: length, then a zlib stream
    long size;            // bytes of data
};

extern const EmbeddedStoredItem storedItems[];
extern const int storedItemCount;

} // namespace korvana::embedded
