#include "platform/ui/Integers.h"
#include "platform/ui/Errors.h"

namespace korvana {

std::optional<int> parseInteger(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c.unicode() - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c.unicode() - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c.unicode() - u'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        // Hexadecimal covers the whole 32-bit pattern ("$80000005" is a
        // negative number, as the program writes system colours).
        const qint64 limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
        if (value > limit)
            return std::nullopt;
    }
    if (base == 16) {
        quint32 bits = quint32(value);
        int v = int(bits);
        return negative ? -v : v;
    }
    return int(negative ? -value : value);
}

int strToInt(const QString &text)
{
    if (auto v = parseInteger(text))
        return *v;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

int strToIntDef(const QString &text, int def)
{
    return parseInteger(text).value_or(def);
}

} // namespace korvana
