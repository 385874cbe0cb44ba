#pragma once
// Ini profile files (korvana.ini, session files, skin.ini) with the semantics
// that older and hand-edited ini files rely on: section and key names match
// ignoring letter case and the first match wins; values are kept verbatim
// (no escapes, no quoting, no list splitting) and trimmed of the blanks
// around them; a write changes only its own line and keeps every other
// line of the file - unknown keys, comments and order - as it was.
//
// Every write reads the file afresh before changing it, so that two writers of
// one file (the main window's closing write and the reminder's own write) do
// not undo each other, and replaces the file atomically, so that a write that
// fails leaves the old file whole. Each line is read as UTF-8, or as
// Windows-1252 when it is not valid UTF-8, so that one hand-typed accented
// letter does not turn the UTF-8 paths on other lines into mojibake; a line
// the program did not change is written back with its own bytes, a line it
// wrote is UTF-8.
#include "platform/ui/Errors.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace korvana {

struct IniEntry {
    QString key;
    QString value;
    friend bool operator==(const IniEntry &, const IniEntry &) = default;
};

// A write that failed: the message names the file ("Unable to write to
// korvana.ini"), the reason says why ("disk full", "permission denied", ...).
class IniWriteError : public Error {
public:
    IniWriteError(const QString &message, const QString &reason) : Error(message), m_reason(reason) {}
    QString reason() const { return m_reason; }

private:
    QString m_reason;
};

class IniFile {
public:
    // Larger files are not ini files the program reads; they read as missing
    // (and are not written over). The program's own ini files take a few
    // kilobytes; a session of ten thousand lessons about one megabyte.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

    explicit IniFile(const QString &fileName);

    QString fileName() const { return m_fileName; }

    // Missing file, section or key: the default. A key present with an empty
    // value reads as empty text. The value is whole, however long.
    QString readString(const QString &section, const QString &key, const QString &def) const;
    // The program's whole-number rule; the default when the value is missing or
    // is not a whole number.
    int readInteger(const QString &section, const QString &key, int def) const;
    // A whole number, true when not 0; the default when it is not a number.
    bool readBool(const QString &section, const QString &key, bool def) const;

    // Names of the sections, in file order (first spelling of each).
    QStringList readSections() const;
    // Keys of the section, in file order.
    QStringList readSection(const QString &section) const;
    // "key=value" for every key of the section, in file order.
    QStringList readSectionValues(const QString &section) const;
    // The keys of the section with their values, in file order.
    QList<IniEntry> readEntries(const QString &section) const;
    // The values alone, in file order, whatever their keys.
    QStringList readValues(const QString &section) const;
    bool sectionExists(const QString &section) const;
    // Why the file, which exists, was not read ("too large", "not a regular
    // file", "permission denied", ...); empty when it was read or is missing.
    QString readProblem() const;
    bool valueExists(const QString &section, const QString &key) const;

    // Writes fail with korvana::Error ("Unable to write to <file name>") and
    // then leave the file as it was. A write creates the file, its folder, the
    // section and the key as needed.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);
    void deleteKey(const QString &section, const QString &key);
    // Erases the section and writes it anew with the entries, in one write.
    // The section keeps its place in the file when it was there.
    void replaceSection(const QString &section, const QList<IniEntry> &entries);

    // Several writes as one replace of the file: beginBatch reads the file
    // once (and fails as a write would when it cannot), the writes up to
    // commitBatch change only that copy, and commitBatch writes it whole, so
    // a failure or a kill leaves all of the old file or all of the new one.
    // Reads in between still see the file. Destroyed without a commit, the
    // collected writes are dropped.
    void beginBatch();
    void commitBatch();

    // One line of the file as parsed. Public for the parser's own tests.
    // Lines that are neither headers nor keys follow each other in one Line,
    // the blank ones apart from the others, their texts (and bytes) joined by
    // the file's line break: a file of millions of blank lines or comments
    // then takes a few Lines, not one object for each.
    struct Line {
        enum Kind { Other, Section, Key };
        QString text; // the line as it stands in the file, without its line break
        Kind kind = Other;
        QString name;  // section name or key, trimmed
        QString value; // key lines: the value, trimmed
        // The line's bytes when they were not UTF-8 (Windows-1252), so that
        // the line goes back to the file as it came; empty otherwise.
        QByteArray raw;
    };
    struct Document {
        QList<Line> lines;
        QString lineBreak = QStringLiteral("\n");
        // Where the first header of each section stands (by its case-folded
        // name), kept for the parse that reads reuse; null for a copy that
        // a write changes.
        const QHash<QString, int> *sectionIndex = nullptr;
    };
    // The file's bytes, line by line: each line UTF-8 where it is valid,
    // else Windows-1252 (a leading byte-order mark is dropped).
    static Document parse(const QByteArray &bytes);
    // The file's bytes: lines read from the file as they came, the others
    // in UTF-8.
    static QByteArray encode(const Document &doc);

private:
    const Document &document() const;
    Document loadForWrite() const;
    void store(const Document &doc);
    template <typename Change>
    void modify(Change change);

    QString m_fileName;
    bool m_batching = false;
    Document m_batch;

    // The last parse, reused by reads while the file looks unchanged (same
    // size and time stamp, and no write by any IniFile of this process since).
    mutable Document m_cache;
    mutable QHash<QString, int> m_sections;
    mutable QString m_readProblem;
    mutable bool m_cacheValid = false;
    mutable qint64 m_cacheSize = -1;
    mutable QDateTime m_cacheTime;
    mutable quint64 m_cacheGeneration = 0;
};

} // namespace korvana
