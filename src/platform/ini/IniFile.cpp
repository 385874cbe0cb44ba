#include "platform/ini/IniFile.h"
#include "platform/files/SafeFiles.h"

#include "platform/ui/Errors.h"
#include "platform/ui/Integers.h"
#include "platform/ui/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>

namespace korvana {

namespace {

// Bumped by every write of any IniFile in the process, so that a cached parse
// never outlives a change made through another object on the same file even
// when size and time stamp happen to stay the same.
std::atomic<quint64> g_writeGeneration{1};

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The form under which names that match ignoring letter case are one.
QString folded(const QString &name)
{
    return name.toCaseFolded();
}

IniFile::Line parseLine(const QString &text)
{
    IniFile::Line line;
    line.text = text;
    const QString t = text.trimmed();
    if (t.startsWith(u'[')) {
        line.kind = IniFile::Line::Section;
        const qsizetype close = t.indexOf(u']');
        line.name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
    } else if (!t.startsWith(u';')) {
        const qsizetype eq = t.indexOf(u'=');
        if (eq >= 0) {
            line.kind = IniFile::Line::Key;
            line.name = t.left(eq).trimmed();
            // A value ends at a NUL, as for every reader that takes the
            // file as C text; what follows it never comes back into a write.
            QStringView value = QStringView(t).mid(eq + 1);
            if (const qsizetype nul = value.indexOf(QChar(0)); nul >= 0)
                value = value.left(nul);
            line.value = value.trimmed().toString();
        }
    }
    return line;
}

// Index of the first header of the section, or -1.
int findSection(const IniFile::Document &doc, const QString &section)
{
    if (doc.sectionIndex) {
        const auto found = doc.sectionIndex->constFind(folded(section));
        return found == doc.sectionIndex->cend() ? -1 : found.value();
    }
    for (int i = 0; i < doc.lines.size(); ++i) {
        const auto &l = doc.lines[i];
        if (l.kind == IniFile::Line::Section && sameName(l.name, section))
            return i;
    }
    return -1;
}

// One past the last line of the section whose header is at index start.
int sectionEnd(const IniFile::Document &doc, int start)
{
    int i = start + 1;
    while (i < doc.lines.size() && doc.lines[i].kind != IniFile::Line::Section)
        ++i;
    return i;
}

const IniFile::Line *findKey(const IniFile::Document &doc, const QString &section, const QString &key)
{
    const int s = findSection(doc, section);
    if (s < 0)
        return nullptr;
    const int end = sectionEnd(doc, s);
    for (int i = s + 1; i < end; ++i) {
        const auto &l = doc.lines[i];
        if (l.kind == IniFile::Line::Key && sameName(l.name, key))
            return &l;
    }
    return nullptr;
}

// A line break inside a value would start a new line of the file, that is a
// new key or even a new section; it is written as a blank instead. A NUL
// would end the value for every reader that takes the file as C text; it is
// left out.
QString oneLine(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value.remove(QChar(0));
    return value;
}

IniFile::Line keyLine(const QString &key, const QString &value)
{
    return parseLine(key + u'=' + oneLine(value));
}

IniFile::Line headerLine(const QString &section)
{
    return parseLine(u'[' + section + u']');
}

bool isBlank(const IniFile::Line &l)
{
    return l.kind == IniFile::Line::Other && l.text.trimmed().isEmpty();
}

// Appends a new section at the end, parted from what precedes it by a blank line.
void appendSection(IniFile::Document &doc, const QString &section, const QList<IniEntry> &entries)
{
    if (!doc.lines.isEmpty() && !isBlank(doc.lines.last()))
        doc.lines.append(parseLine(QString()));
    doc.lines.append(headerLine(section));
    for (const auto &e : entries)
        doc.lines.append(keyLine(e.key, e.value));
}

// Removes every section of the name in one pass over the file; returns where
// the first one stood, or -1.
int removeSection(IniFile::Document &doc, const QString &section)
{
    int first = -1;
    QList<IniFile::Line> kept;
    bool inside = false;
    for (int i = 0; i < doc.lines.size(); ++i) {
        IniFile::Line &l = doc.lines[i];
        if (l.kind == IniFile::Line::Section) {
            inside = sameName(l.name, section);
            if (inside && first < 0) {
                first = i;
                kept.reserve(doc.lines.size());
                for (int k = 0; k < i; ++k)
                    kept.append(std::move(doc.lines[k]));
            }
        }
        if (first >= 0 && !inside)
            kept.append(std::move(l));
    }
    if (first >= 0)
        doc.lines = std::move(kept);
    return first;
}

} // namespace

IniFile::IniFile(const QString &fileName) : m_fileName(fileName)
{
}

IniFile::Document IniFile::parse(const QByteArray &bytes)
{
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    Document doc;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '\n')
            break;
        if (data[i] == '\r') {
            doc.lineBreak = i + 1 < data.size() && data[i + 1] == '\n' ? QStringLiteral("\r\n") : QStringLiteral("\r");
            break;
        }
    }
    // Line by line: a file edited by hand on Windows can hold Windows-1252
    // lines beside the UTF-8 lines the program wrote.
    const QByteArray lineBreakBytes = doc.lineBreak.toLatin1();
    bool previousBlank = false;
    // Room for every line that can be a header or a key, so that a file of a
    // million keys is not copied over and over while its list grows.
    qsizetype candidates = 0;
    bool marked = false;
    for (const char c : data) {
        if (c == '\n' || c == '\r') {
            candidates += marked;
            marked = false;
        } else if (c == '=' || c == '[') {
            marked = true;
        }
    }
    doc.lines.reserve(candidates + marked + 1);
    qsizetype start = 0;
    const qsizetype n = data.size();
    while (start < n) {
        qsizetype i = start;
        while (i < n && data[i] != '\r' && data[i] != '\n')
            ++i;
        const QByteArrayView raw = data.sliced(start, i - start);
        Line *previous = doc.lines.isEmpty() ? nullptr : &doc.lines.last();
        const bool afterOther = previous && previous->kind == Line::Other;
        if (raw.isEmpty() && afterOther && previousBlank) {
            // An empty line after blank ones, the commonest line of a padded
            // file: joined to them without decoding anything.
            if (!previous->raw.isEmpty())
                previous->raw += lineBreakBytes;
            previous->text += doc.lineBreak;
        } else {
            bool utf8 = true;
            Line line = parseLine(decodeUtf8OrWindows1252(raw, &utf8));
            if (!utf8)
                line.raw = raw.toByteArray();
            const bool blank = isBlank(line);
            if (line.kind == Line::Other && afterOther && blank == previousBlank) {
                if (!previous->raw.isEmpty() || !line.raw.isEmpty()) {
                    if (previous->raw.isEmpty())
                        previous->raw = previous->text.toUtf8();
                    previous->raw += lineBreakBytes;
                    previous->raw += line.raw.isEmpty() ? raw.toByteArray() : line.raw;
                }
                previous->text += doc.lineBreak;
                previous->text += line.text;
            } else {
                doc.lines.append(std::move(line));
                previousBlank = blank;
            }
        }
        if (i < n && data[i] == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return doc;
}

QByteArray IniFile::encode(const Document &doc)
{
    const QByteArray lineBreak = doc.lineBreak.toLatin1();
    QByteArray out;
    for (const auto &l : doc.lines) {
        out += l.raw.isEmpty() ? l.text.toUtf8() : l.raw;
        out += lineBreak;
    }
    return out;
}

const IniFile::Document &IniFile::document() const
{
    const QFileInfo info(m_fileName);
    const bool exists = info.exists();
    const qint64 size = exists ? info.size() : -1;
    const QDateTime time = exists ? info.lastModified() : QDateTime();
    const quint64 generation = g_writeGeneration.load();
    if (m_cacheValid && m_cache.sectionIndex == &m_sections && size == m_cacheSize && time == m_cacheTime
        && generation == m_cacheGeneration)
        return m_cache;

    m_cache = Document();
    m_readProblem.clear();
    if (exists) {
        // An unreadable file reads as a missing one: every key takes its
        // default. So does anything but a regular file of sane size (a named
        // pipe would block the read for ever).
        const files::ReadResult read = files::readRegularFile(m_fileName, MaxFileBytes);
        if (read.ok())
            m_cache = parse(read.data);
        else if (read.status != files::ReadStatus::Missing)
            m_readProblem = read.reason;
    }
    m_sections.clear();
    for (int i = 0; i < m_cache.lines.size(); ++i) {
        const Line &l = m_cache.lines[i];
        if (l.kind == Line::Section && !m_sections.contains(folded(l.name)))
            m_sections.insert(folded(l.name), i);
    }
    m_cache.sectionIndex = &m_sections;
    m_cacheValid = true;
    m_cacheSize = size;
    m_cacheTime = time;
    m_cacheGeneration = generation;
    return m_cache;
}

IniFile::Document IniFile::loadForWrite() const
{
    // A file that exists but cannot be read (or is no regular file, or is
    // absurdly large for an ini file) must not be replaced by one that holds
    // only the keys written now.
    const files::ReadResult read = files::readRegularFile(m_fileName, MaxFileBytes);
    if (read.status == files::ReadStatus::Missing)
        return Document();
    if (!read.ok())
        throw IniWriteError(QStringLiteral("Unable to write to %1").arg(QFileInfo(m_fileName).fileName()), read.reason);
    return parse(read.data);
}

void IniFile::store(const Document &doc)
{
    const QString failure = QStringLiteral("Unable to write to %1").arg(QFileInfo(m_fileName).fileName());
    const QFileInfo info(m_fileName);
    if (!QDir().mkpath(info.absolutePath()))
        throw IniWriteError(failure, files::reasonForErrno(errno));
    QString reason;
    if (!files::writeFileAtomically(m_fileName, encode(doc), &reason))
        throw IniWriteError(failure, reason);
    g_writeGeneration.fetch_add(1);
    m_cacheValid = false;
}

template <typename Change>
void IniFile::modify(Change change)
{
    if (m_batching) {
        change(m_batch);
        return;
    }
    Document doc = loadForWrite();
    change(doc);
    store(doc);
}

void IniFile::beginBatch()
{
    m_batch = loadForWrite();
    m_batching = true;
}

void IniFile::commitBatch()
{
    if (!m_batching)
        return;
    m_batching = false;
    const Document doc = std::move(m_batch);
    m_batch = Document();
    store(doc);
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Line *l = findKey(document(), section, key);
    return l ? l->value : def;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    return strToIntDef(readString(section, key, QString()), def);
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

QStringList IniFile::readSections() const
{
    QStringList names;
    QSet<QString> seen;
    for (const auto &l : document().lines) {
        if (l.kind == Line::Section && !seen.contains(folded(l.name))) {
            seen.insert(folded(l.name));
            names.append(l.name);
        }
    }
    return names;
}

QList<IniEntry> IniFile::readEntries(const QString &section) const
{
    QList<IniEntry> entries;
    const Document &doc = document();
    const int s = findSection(doc, section);
    if (s < 0)
        return entries;
    const int end = sectionEnd(doc, s);
    entries.reserve(end - s - 1);
    for (int i = s + 1; i < end; ++i) {
        const auto &l = doc.lines[i];
        if (l.kind == Line::Key)
            entries.append({l.name, l.value});
    }
    return entries;
}

QStringList IniFile::readValues(const QString &section) const
{
    QStringList values;
    const Document &doc = document();
    const int s = findSection(doc, section);
    if (s < 0)
        return values;
    const int end = sectionEnd(doc, s);
    values.reserve(end - s - 1);
    for (int i = s + 1; i < end; ++i) {
        if (doc.lines[i].kind == Line::Key)
            values.append(doc.lines[i].value);
    }
    return values;
}

QStringList IniFile::readSection(const QString &section) const
{
    QStringList keys;
    for (const auto &e : readEntries(section))
        keys.append(e.key);
    return keys;
}

QStringList IniFile::readSectionValues(const QString &section) const
{
    QStringList lines;
    for (const auto &e : readEntries(section))
        lines.append(e.key + u'=' + e.value);
    return lines;
}

QString IniFile::readProblem() const
{
    document();
    return m_readProblem;
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(document(), section) >= 0;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return findKey(document(), section, key) != nullptr;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    modify([&](Document &doc) {
        const int s = findSection(doc, section);
        if (s < 0) {
            appendSection(doc, section, {{key, value}});
            return;
        }
        const int end = sectionEnd(doc, s);
        int insertAt = s + 1;
        for (int i = s + 1; i < end; ++i) {
            Line &l = doc.lines[i];
            if (l.kind != Line::Key)
                continue;
            if (sameName(l.name, key)) {
                l = keyLine(key, value);
                return;
            }
            insertAt = i + 1;
        }
        doc.lines.insert(insertAt, keyLine(key, value));
    });
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section)
{
    modify([&](Document &doc) { removeSection(doc, section); });
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    modify([&](Document &doc) {
        const int s = findSection(doc, section);
        if (s < 0)
            return;
        for (int i = sectionEnd(doc, s) - 1; i > s; --i) {
            const Line &l = doc.lines[i];
            if (l.kind == Line::Key && sameName(l.name, key))
                doc.lines.remove(i);
        }
    });
}

void IniFile::replaceSection(const QString &section, const QList<IniEntry> &entries)
{
    modify([&](Document &doc) {
        const int at = removeSection(doc, section);
        if (at < 0) {
            appendSection(doc, section, entries);
            return;
        }
        QList<Line> lines;
        lines.reserve(doc.lines.size() + entries.size() + 2);
        for (int i = 0; i < at; ++i)
            lines.append(std::move(doc.lines[i]));
        lines.append(headerLine(section));
        for (const auto &e : entries)
            lines.append(keyLine(e.key, e.value));
        // The blank line that parted the old section from the next one went
        // with it; put one back.
        if (at < doc.lines.size() && !isBlank(doc.lines[at]))
            lines.append(parseLine(QString()));
        for (int i = at; i < doc.lines.size(); ++i)
            lines.append(std::move(doc.lines[i]));
        doc.lines = std::move(lines);
    });
}

} // namespace korvana
