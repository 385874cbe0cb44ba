#include "reference/CharacterDatabase.h"

#include "platform/ui/Errors.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace korvana {

namespace {

int digitValue(char16_t c, int base)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    // Keys are written in upper case; "@4e2d;" is not the key of U+4E2D.
    if (base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// At most this many digits make a key; 8 hexadecimal digits already exceed
// every code point.
constexpr int MaxKeyDigits = 8;

} // namespace

bool CharacterDatabase::readDatabases()
{
    return readDatabases(StoredItems::embedded());
}

bool CharacterDatabase::readDatabases(StoredItems items)
{
    m_items = std::move(items);
    m_lastError.clear();
    auto noteError = [this](const std::exception &e) {
        if (m_lastError.isEmpty())
            m_lastError = errorText(e);
    };
    // The inflated bytes are only needed until the text is built, so the
    // items are inflated into temporaries and keep their stored form.
    auto itemText = [this](int index) { return loadWideStringListText(inflateStoredItem(m_items.item(index).data)); };

    // A table with its lookup index, or neither when its item does not unpack.
    auto loadTable = [&](int item, int base, QString &text, Index &index, bool &loaded) {
        text.clear();
        index.clear();
        loaded = false;
        try {
            text = itemText(item);
            index = buildIndex(text, base);
            loaded = true;
        } catch (const std::exception &e) {
            text.clear();
            index.clear();
            noteError(e);
        }
    };
    loadTable(UnihanItem, 16, m_unihanText, m_unihanIndex, m_unihanLoaded);
    loadTable(RadicalsItem, 10, m_radicalsText, m_radicalsIndex, m_radicalsLoaded);

    m_pinyinRtf.clear();
    m_pinyinLoaded = false;
    try {
        m_pinyinRtf = inflateStoredItem(m_items.item(PinyinItem).data);
        m_pinyinLoaded = true;
    } catch (const std::exception &e) {
        noteError(e);
    }

    return tablesLoaded();
}

QByteArray CharacterDatabase::numbersRtf() const
{
    try {
        return inflateStoredItem(m_items.item(NumbersItem).data);
    } catch (const std::exception &) {
        return {};
    }
}

CharacterDatabase::Index CharacterDatabase::buildIndex(const QString &text, int base)
{
    // Every "@" followed by a key as a lookup writes it (digits without
    // leading zeros, then ";") is indexed, wherever it stands, so the index
    // answers exactly what a search of the text for the first such key would.
    Index index;
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    for (qsizetype at = text.indexOf(u'@'); at >= 0; at = text.indexOf(u'@', at + 1)) {
        qsizetype i = at + 1;
        quint32 key = 0;
        int digits = 0;
        int d;
        while (i < n && digits <= MaxKeyDigits && (d = digitValue(p[i].unicode(), base)) >= 0) {
            key = key * quint32(base) + quint32(d);
            ++digits;
            ++i;
        }
        if (digits == 0 || digits > MaxKeyDigits || i >= n || p[i] != u';')
            continue;
        if (digits > 1 && p[at + 1] == u'0')
            continue;
        if (at > std::numeric_limits<int>::max())
            break;
        index.emplace_back(key, int(at));
    }
    // The tables are stored in key order, so this is normally a no-op; the
    // stable sort keeps the first occurrence of a repeated key in front.
    auto byKey = [](const auto &a, const auto &b) { return a.first < b.first; };
    if (!std::is_sorted(index.begin(), index.end(), byKey))
        std::stable_sort(index.begin(), index.end(), byKey);
    index.erase(
        std::unique(index.begin(), index.end(), [](const auto &a, const auto &b) { return a.first == b.first; }),
        index.end());
    index.shrink_to_fit();
    return index;
}

int CharacterDatabase::find(const Index &index, quint32 key)
{
    auto it =
        std::lower_bound(index.begin(), index.end(), key, [](const auto &entry, quint32 k) { return entry.first < k; });
    return (it != index.end() && it->first == key) ? it->second : -1;
}

QStringView CharacterDatabase::lineAt(const QString &text, int start)
{
    if (start < 0)
        return {};
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0)
        end = text.size();
    if (end > start && text.at(end - 1) == u'\r')
        --end;
    return QStringView(text).sliced(start, end - start);
}

int CharacterDatabase::unihanRecordStart(char32_t codePoint) const
{
    return find(m_unihanIndex, quint32(codePoint));
}

QStringView CharacterDatabase::unihanRecord(char32_t codePoint) const
{
    return lineAt(m_unihanText, unihanRecordStart(codePoint));
}

int CharacterDatabase::radicalRecordStart(int number) const
{
    return number < 0 ? -1 : find(m_radicalsIndex, quint32(number));
}

int CharacterDatabase::radicalRecordStart(QStringView number) const
{
    bool canonical =
        !number.isEmpty() && number.size() <= MaxKeyDigits && !(number.size() > 1 && number.front() == u'0');
    quint32 value = 0;
    for (QChar c : number) {
        const int d = digitValue(c.unicode(), 10);
        if (d < 0) {
            canonical = false;
            break;
        }
        value = value * 10 + quint32(d);
    }
    if (canonical)
        return find(m_radicalsIndex, value);
    if (m_radicalsText.isEmpty())
        return -1;
    const QString key = QLatin1Char('@') + number.toString() + QLatin1Char(';');
    return int(m_radicalsText.indexOf(key));
}

QStringView CharacterDatabase::radicalRecord(int number) const
{
    return lineAt(m_radicalsText, radicalRecordStart(number));
}

} // namespace korvana
