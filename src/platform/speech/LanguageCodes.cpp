#include "platform/speech/LanguageCodes.h"

#include <QHash>

namespace korvana {

namespace {

const QHash<QString, int> &codes()
{
    // Exact tags first; a tag not listed falls back to its first subtag.
    // Only Mandarin maps to 0x804: the pinyin-reading Mandarin voice, and
    // Cantonese or Hakka, must not be mistaken for the Chinese voice.
    static const QHash<QString, int> table = {
        {"cmn", 0x804},    {"zh-cmn", 0x804}, {"zh-cn", 0x804},   {"zh", 0x804},     {"yue", 0xC04},
        {"zh-yue", 0xC04}, {"zh-hk", 0xC04},  {"zh-tw", 0x404},   {"af", 0x436},     {"am", 0x45E},
        {"ar", 0x401},     {"as", 0x44D},     {"az", 0x42C},      {"ba", 0x46D},     {"be", 0x423},
        {"bg", 0x402},     {"bn", 0x445},     {"bs", 0x141A},     {"ca", 0x403},     {"cs", 0x405},
        {"cy", 0x452},     {"da", 0x406},     {"de", 0x407},      {"el", 0x408},     {"en", 0x409},
        {"en-us", 0x409},  {"en-gb", 0x809},  {"en-029", 0x2409}, {"es", 0xC0A},     {"es-419", 0x580A},
        {"es-mx", 0x80A},  {"et", 0x425},     {"eu", 0x42D},      {"fa", 0x429},     {"fi", 0x40B},
        {"fr", 0x40C},     {"fr-fr", 0x40C},  {"fr-be", 0x80C},   {"fr-ch", 0x100C}, {"ga", 0x83C},
        {"gd", 0x491},     {"gu", 0x447},     {"he", 0x40D},      {"hi", 0x439},     {"hr", 0x41A},
        {"hu", 0x40E},     {"hy", 0x42B},     {"id", 0x421},      {"is", 0x40F},     {"it", 0x410},
        {"ja", 0x411},     {"ka", 0x437},     {"kk", 0x43F},      {"kl", 0x46F},     {"kn", 0x44B},
        {"ko", 0x412},     {"kok", 0x457},    {"ky", 0x440},      {"lb", 0x46E},     {"lt", 0x427},
        {"lv", 0x426},     {"mi", 0x481},     {"mk", 0x42F},      {"ml", 0x44C},     {"mr", 0x44E},
        {"ms", 0x43E},     {"mt", 0x43A},     {"nb", 0x414},      {"no", 0x414},     {"ne", 0x461},
        {"nl", 0x413},     {"om", 0x472},     {"or", 0x448},      {"pa", 0x446},     {"pl", 0x415},
        {"pt", 0x816},     {"pt-pt", 0x816},  {"pt-br", 0x416},   {"quc", 0x486},    {"ro", 0x418},
        {"ru", 0x419},     {"sd", 0x459},     {"si", 0x45B},      {"sk", 0x41B},     {"sl", 0x424},
        {"sq", 0x41C},     {"sr", 0x81A},     {"sv", 0x41D},      {"sw", 0x441},     {"ta", 0x449},
        {"te", 0x44A},     {"th", 0x41E},     {"tk", 0x442},      {"tn", 0x432},     {"tr", 0x41F},
        {"tt", 0x444},     {"ug", 0x480},     {"uk", 0x422},      {"ur", 0x420},     {"uz", 0x443},
        {"vi", 0x42A},
    };
    return table;
}

// Chinese tags not listed are other languages (Min, Hakka) or Mandarin
// voices that read differently (pinyin); a shorter tag must not stand for
// them, or they would pass for the Mandarin voice.
bool keepsOwnCode(const QString &tag)
{
    return tag.startsWith(u"cmn-") || tag.startsWith(u"zh-");
}

} // namespace

QString languageCodeFor(const QString &languageTag)
{
    const QString tag = languageTag.trimmed().toLower();
    if (tag.isEmpty())
        return {};
    // "en-gb-x-rp" is found as "en-gb".
    QString t = tag;
    for (;;) {
        if (const int code = codes().value(t, 0))
            return QString::number(code, 16).toUpper();
        const qsizetype dash = t.lastIndexOf(u'-');
        if (dash < 0 || keepsOwnCode(tag))
            return {};
        t.truncate(dash);
    }
}

} // namespace korvana
