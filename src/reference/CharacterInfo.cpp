#include "reference/CharacterInfo.h"

#include "platform/ui/Integers.h"
#include "reference/Dictionary.h"

namespace korvana {

namespace {

// Takes the text up to the next ";" off the front of rest, the ";" with it.
// Without a ";" the field is empty and rest stays as it is.
QString takeField(QStringView &rest)
{
    const qsizetype semi = rest.indexOf(u';');
    if (semi < 0)
        return QString();
    QString field = rest.left(semi).toString();
    rest = rest.mid(semi + 1);
    return field;
}

QStringView withoutLineEnd(QStringView s)
{
    while (!s.isEmpty() && (s.back() == u'\n' || s.back() == u'\r'))
        s.chop(1);
    return s;
}

// The number at the front of s after leading blanks, 0 when no digit.
int leadingNumber(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    int n = 0;
    for (; i < s.size() && s[i].isDigit() && s[i].unicode() < 128; ++i) {
        n = n * 10 + (s[i].unicode() - '0');
        if (n > 100000)
            break; // stroke counts are small; a runaway number only needs to be "not 1"
    }
    return n;
}

QString characterOf(uint code)
{
    const char32_t c = code;
    return QString::fromUcs4(&c, 1);
}

QString applyToneMarks(const ToneMarker &toneMarks, const QString &s)
{
    return toneMarks ? toneMarks(s) : s;
}

} // namespace

QString unihanKey(uint code)
{
    return QLatin1Char('@') + QString::number(code, 16).toUpper() + QLatin1Char(';');
}

QStringView recordFrom(QStringView text, int start, int maxChars)
{
    if (start < 0 || start >= text.size())
        return {};
    const QStringView part = text.mid(start, maxChars);
    const qsizetype lf = part.indexOf(u'\n');
    if (lf < 0)
        return {};
    return part.left(lf + 1);
}

UnihanFields splitUnihanRecord(QStringView record)
{
    UnihanFields f;
    QStringView rest = record;
    // The key goes first, through its ";".
    const qsizetype semi = rest.indexOf(u';');
    if (semi < 0)
        return f;
    rest = rest.mid(semi + 1);
    f.simplified = takeField(rest);
    f.traditional = takeField(rest);
    f.radical = takeField(rest);
    f.readings = takeField(rest);
    f.strokes = takeField(rest);
    f.definition = withoutLineEnd(rest).toString();
    return f;
}

QString variantCharacters(const QString &field)
{
    if (field.isEmpty())
        return QString();
    if (!field.contains(u' '))
        return characterOf(uint(strToInt(QLatin1Char('$') + field)));
    QString out;
    const QString items = field + QLatin1Char(' ');
    qsizetype from = 0;
    for (qsizetype blank = items.indexOf(u' '); blank >= 0; blank = items.indexOf(u' ', from)) {
        QString item = items.mid(from, blank - from);
        from = blank + 1;
        if (item.contains(QLatin1String("U+")))
            item.remove(0, 2);
        out += characterOf(uint(strToInt(QLatin1Char('$') + item)));
    }
    return out;
}

RadicalInfo radicalInfo(const QString &radicalField, QStringView radicalsText)
{
    QString number, extra;
    const qsizetype dot = radicalField.indexOf(u'.');
    if (dot < 0) {
        number = radicalField;
    } else {
        number = radicalField.left(dot);
        extra = radicalField.mid(dot + 1);
    }
    const int strokes = leadingNumber(extra);
    if (number.contains(u'\'')) {
        number.remove(u'\'');
        extra.prepend(QLatin1String(" simp. + "));
    } else {
        extra.prepend(QLatin1String(" + "));
    }
    QString strokesText = number + QLatin1Char(')') + extra + QLatin1String(" stroke");
    if (strokes != 1)
        strokesText += QLatin1Char('s');

    RadicalInfo info;
    QStringView record;
    const qsizetype start = radicalsText.indexOf(QLatin1Char('@') + number + QLatin1Char(';'));
    if (start >= 0) {
        record = recordFrom(radicalsText, int(start), 100);
        // The table's last record has no line end after it; it is still a
        // whole record when the table ends within reach.
        if (record.isEmpty() && radicalsText.size() - start <= 100)
            record = radicalsText.mid(start);
    }
    QStringView rest = record;
    const qsizetype keyEnd = rest.indexOf(u';');
    rest = keyEnd < 0 ? QStringView() : rest.mid(keyEnd + 1);
    // A record without a code field holds only the name.
    if (rest.contains(u';')) {
        const QString code = takeField(rest);
        info.character = characterOf(uint(strToInt(code)));
    }
    info.text = rest.toString().trimmed() + QLatin1String(" (nr. ") + strokesText;
    return info;
}

CharacterInfo characterInfo(uint code, const QString &character, QStringView unihanText, int recordStart,
                            QStringView radicalsText, const ToneMarker &toneMarks)
{
    CharacterInfo info;
    info.character = character;
    info.codeHex = QString::number(code, 16).toUpper();
    info.codeDec = QString::number(code);
    if (recordStart < 0)
        return info;
    const UnihanFields f = splitUnihanRecord(recordFrom(unihanText, recordStart, 1000));
    info.found = true;
    info.definition = f.definition;
    info.strokes = f.strokes;
    info.mandarin = applyToneMarks(toneMarks, f.readings.toLower());
    info.traditional = variantCharacters(f.traditional);
    info.simplified = variantCharacters(f.simplified);
    const RadicalInfo radical = radicalInfo(f.radical, radicalsText);
    info.radicalCharacter = radical.character;
    info.radical = radical.text;
    return info;
}

QString readerSummary(const QString &character, QStringView unihanText, int recordStart, const ToneMarker &toneMarks)
{
    UnihanFields f;
    if (recordStart >= 0)
        f = splitUnihanRecord(recordFrom(unihanText, recordStart, 1000));
    const QString line = character + QLatin1String(" [") + applyToneMarks(toneMarks, f.readings.toLower())
                         + QLatin1String("] ") + f.definition;
    return trimControls(line).toString();
}

HoverNeighbours neighboursAt(QStringView line, int index, const QString &c)
{
    HoverNeighbours n;
    n.c = c;
    const auto isPair = [&](qsizetype i) {
        return i >= 0 && i + 1 < line.size() && line[i].isHighSurrogate() && line[i + 1].isLowSurrogate();
    };
    // The whole character at [start, start + length), or null.
    const auto character = [&](qsizetype start, qsizetype length) {
        if (start < 0 || start + length > line.size())
            return QString();
        const QStringView ch = line.mid(start, length);
        const char32_t code = length == 2 ? QChar::surrogateToUcs4(ch[0], ch[1]) : ch[0].unicode();
        return code < 255 ? QString() : ch.toString();
    };
    // Back from the character: a low surrogate ends a pair.
    qsizetype i = index;
    for (QString *before : {&n.before1, &n.before2}) {
        const qsizetype length = isPair(i - 2) ? 2 : 1;
        i -= length;
        *before = character(i, length);
    }
    i = index + (isPair(index) ? 2 : 1);
    for (QString *after : {&n.after1, &n.after2}) {
        const qsizetype length = isPair(i) ? 2 : 1;
        *after = character(i, length);
        i += length;
    }
    return n;
}

QStringList dictionaryKeys(const HoverNeighbours &n)
{
    const QString &c = n.c, &b2 = n.before2, &b1 = n.before1, &a1 = n.after1, &a2 = n.after2;
    const std::initializer_list<const QString *> orders[] = {
        {&b2, &b1, &c, &a1}, {&b1, &c, &a1, &a2}, {&b2, &b1, &c}, {&b1, &c, &a1},
        {&c, &a1, &a2},      {&b1, &c},           {&c, &a1},      {&c},
    };
    QStringList keys;
    for (const auto &chars : orders) {
        QString key(QLatin1Char('\n'));
        bool complete = true;
        for (const QString *ch : chars) {
            if (ch->isEmpty()) {
                complete = false;
                break;
            }
            key += *ch;
        }
        if (complete)
            keys.append(key + QLatin1Char(' '));
    }
    return keys;
}

QString dictionaryLine(QStringView entryText, const ToneMarker &toneMarks)
{
    QString e = entryText.left(1000).toString();
    const qsizetype lf = e.indexOf(u'\n');
    if (lf >= 0)
        e.truncate(qMax<qsizetype>(0, lf - 2)); // the LF, the CR and the closing "/"
    const qsizetype open = e.indexOf(QLatin1String(" /"));
    if (open >= 0)
        e.remove(open + 1, 1);
    e.replace(QLatin1Char('/'), QLatin1String("; "));
    if (trimControls(e).isEmpty())
        return QString();
    const qsizetype bra = e.indexOf(u'[');
    const qsizetype ket = e.indexOf(u']');
    if (bra >= 0 && ket > bra)
        e = e.left(bra + 1) + applyToneMarks(toneMarks, e.mid(bra + 1, ket - bra - 1)) + e.mid(ket);
    return trimControls(e).toString();
}

void DictionaryLineIndex::update(const QString &text)
{
    if (text.size() == m_source.size() && text.constData() == m_source.constData())
        return;
    m_source = text;
    m_starts.clear();
    const QStringView v(m_source);
    for (qsizetype lf = v.indexOf(u'\n'); lf >= 0 && lf + 1 < v.size(); lf = v.indexOf(u'\n', lf + 1))
        m_starts[v[lf + 1].unicode()].push_back(lf);
}

const std::vector<qsizetype> &DictionaryLineIndex::linesStartingWith(char16_t c) const
{
    static const std::vector<qsizetype> none;
    const auto it = m_starts.constFind(c);
    return it == m_starts.constEnd() ? none : *it;
}

qsizetype DictionaryLineIndex::find(QStringView key) const
{
    if (key.size() < 2 || key.front() != u'\n')
        return QStringView(m_source).indexOf(key);
    const auto it = m_starts.constFind(key[1].unicode());
    if (it == m_starts.constEnd())
        return -1;
    const QStringView text(m_source);
    for (qsizetype lf : *it) {
        if (text.mid(lf).startsWith(key))
            return lf;
    }
    return -1;
}

QStringList dictionaryLines(QStringView dictText, const QStringList &keys, const ToneMarker &toneMarks,
                            const DictionaryLineIndex *index)
{
    QStringList lines;
    for (const QString &key : keys) {
        const qsizetype at = index ? index->find(key) : dictText.indexOf(key);
        if (at < 0)
            continue;
        const QString line = dictionaryLine(dictText.mid(at + 1), toneMarks);
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

} // namespace korvana
