#include "ChineseFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QRawFont>
#include <QSet>

#include <fontconfig/fontconfig.h>

namespace korvana::fonts {

namespace {

// Installed Chinese families, best first, for each style.
const char *const kSerifSc[] = {"Noto Serif CJK SC", "Source Han Serif SC", "Source Han Serif CN", "AR PL UMing CN",
                                "AR PL SungtiL GB"};
const char *const kSansSc[] = {"Noto Sans CJK SC",  "Source Han Sans SC",  "Source Han Sans CN",
                               "WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "Droid Sans Fallback"};
const char *const kSerifTc[] = {"Noto Serif CJK TC", "Source Han Serif TC", "Source Han Serif TW", "AR PL UMing TW",
                                "AR PL Mingti2L Big5"};
const char *const kSansTc[] = {"Noto Sans CJK TC", "Source Han Sans TC", "Source Han Sans TW"};
const char *const kKaiSc[] = {"AR PL UKai CN", "AR PL KaitiM GB"};
const char *const kKaiTc[] = {"AR PL UKai TW", "AR PL KaitiM Big5"};
// Serif Latin families, best first: Liberation Serif and Tinos have the
// metrics of Times New Roman. Only one that holds all 24 pinyin tone vowels
// is used, so that no letter of a syllable comes from another font.
const char *const kToneSerif[] = {"Liberation Serif", "Tinos", "FreeSerif", "Noto Serif", "DejaVu Serif"};
// The same for Arial, the rich-text controls' own font: sans, Arial's metrics first.
const char *const kToneSans[] = {"Liberation Sans", "Arimo", "FreeSans", "Noto Sans", "DejaVu Sans"};

// While the Chinese forms are set up: the installed families, case-folded.
// QFontDatabase::hasFamily() has fontconfig resolve the name's aliases at
// every call (about as long as loading a small font), and the set-up asks
// about some eighty names; one look at the family list answers them all.
const QSet<QString> *installedFamilies = nullptr;

bool hasFamily(const QString &name)
{
    if (!installedFamilies)
        return QFontDatabase::hasFamily(name);
    return installedFamilies->contains(name.toCaseFolded());
}

template <size_t N>
QStringList installed(const char *const (&names)[N])
{
    QStringList out;
    for (const char *n : names) {
        const QString name = QString::fromUtf8(n);
        if (hasFamily(name))
            out << name;
    }
    return out;
}

template <size_t N>
QString xmlFamilies(const char *const (&names)[N])
{
    QString out;
    for (const char *n : names)
        out += QStringLiteral("<string>%1</string>").arg(QString::fromUtf8(n));
    return out;
}

// Appends the simplified-Chinese families, weakly and last, to every font
// request, so that they rank before any other CJK font for Han characters
// while the requested (or aliased) Latin font still comes first.
void addFontconfigFallbacks()
{
    const QString xml =
        QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                       "<match target=\"pattern\"><test name=\"family\" qual=\"any\"><string>serif</string></test>"
                       "<edit name=\"family\" mode=\"append_last\" binding=\"weak\">%1</edit></match>"
                       "<match target=\"pattern\">"
                       "<edit name=\"family\" mode=\"append_last\" binding=\"weak\">%2</edit></match>"
                       "</fontconfig>")
            .arg(xmlFamilies(kSerifSc), xmlFamilies(kSansSc));
    FcInit();
    FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), reinterpret_cast<const FcChar8 *>(xml.toUtf8().constData()),
                                   FcFalse);
}

bool holdsToneVowels(const QString &family)
{
    static const char16_t vowels[] = u"āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜ";
    const QFont font(family);
    if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) != 0)
        return false;
    const QRawFont raw = QRawFont::fromFont(font);
    for (const char16_t *v = vowels; *v; ++v)
        if (!raw.supportsCharacter(QChar(*v)))
            return false;
    return true;
}

void substitute(std::initializer_list<const char *> windowsNames, const QStringList &families)
{
    if (families.isEmpty())
        return;
    for (const char *n : windowsNames) {
        const QString name = QString::fromUtf8(n);
        if (!hasFamily(name)) {
            QFont::insertSubstitutions(name, families);
            // The vertical variant that "Rotate" asks for.
            QFont::insertSubstitutions(QLatin1Char('@') + name, families);
        }
    }
}

template <size_t N>
QString firstWithToneVowels(const char *const (&names)[N])
{
    for (const QString &name : installed(names))
        if (holdsToneVowels(name))
            return name;
    return QString();
}

} // namespace

QString toneVowelSerifFamily()
{
    static const QString family = firstWithToneVowels(kToneSerif);
    return family;
}

QString chineseFamily(bool traditional, bool serif)
{
    const QStringList found = traditional ? (serif ? installed(kSerifTc) : installed(kSansTc))
                                          : (serif ? installed(kSerifSc) : installed(kSansSc));
    if (!found.isEmpty())
        return found.first();
    // The other style of the same forms before nothing at all.
    const QStringList other = traditional ? (serif ? installed(kSansTc) : installed(kSerifTc))
                                          : (serif ? installed(kSansSc) : installed(kSerifSc));
    return other.value(0);
}

void useChineseGlyphForms()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    addFontconfigFallbacks();
    QSet<QString> families;
    for (QString family : QFontDatabase::families()) {
        // A family two foundries make is listed once for each: "Name [foundry]".
        const qsizetype foundry = family.indexOf(QLatin1String(" ["));
        if (foundry > 0)
            family.truncate(foundry);
        families.insert(family.toCaseFolded());
    }
    installedFamilies = &families;
    struct Forget {
        ~Forget() { installedFamilies = nullptr; }
    } forget;

    const QStringList serifSc = installed(kSerifSc) + installed(kSansSc);
    const QStringList sansSc = installed(kSansSc) + installed(kSerifSc);
    const QStringList serifTc = installed(kSerifTc) + installed(kSansTc);
    const QStringList sansTc = installed(kSansTc) + installed(kSerifTc);
    // Song (Ming) style: serif; Hei: sans; Kai: a Kai font when there is one.
    substitute({"SimSun", "宋体", "NSimSun", "新宋体", "SimSun-ExtB", "STSong", "华文宋体", "FangSong", "仿宋",
                "FangSong_GB2312", "仿宋_GB2312", "STFangsong", "华文仿宋"},
               serifSc);
    substitute({"KaiTi", "楷体", "KaiTi_GB2312", "楷体_GB2312", "STKaiti", "华文楷体"}, installed(kKaiSc) + serifSc);
    substitute({"SimHei", "黑体", "Microsoft YaHei", "微软雅黑", "Microsoft YaHei UI", "DengXian", "等线", "STHeiti",
                "华文黑体", "STXihei", "华文细黑"},
               sansSc);
    substitute(
        {"MingLiU", "細明體", "PMingLiU", "新細明體", "MingLiU-ExtB", "PMingLiU-ExtB", "MingLiU_HKSCS", "細明體_HKSCS"},
        serifTc);
    substitute({"DFKai-SB", "標楷體"}, installed(kKaiTc) + serifTc);
    substitute({"Microsoft JhengHei", "微軟正黑體", "Microsoft JhengHei UI"}, sansTc);

    // The Windows serif names of lessons and panes (and Liberation Serif,
    // which lessons name too) go to a serif face with every tone vowel:
    // the nearest match fontconfig finds may lack the caron third tones
    // (Nimbus Roman has no ǎ ǐ ǒ ǔ ǚ ǜ), which would then come from another
    // font in the middle of a word.
    const QString toneSerif = toneVowelSerifFamily();
    if (!toneSerif.isEmpty())
        substitute({"Times New Roman", "Times", "Liberation Serif", "Tinos"}, {toneSerif});
    const QString toneSans = firstWithToneVowels(kToneSans);
    if (!toneSans.isEmpty())
        substitute({"Arial", "Helvetica", "Liberation Sans", "Arimo"}, {toneSans});
}

static QStringList big5Families(const QString &family)
{
    const QString tc = chineseFamily(true, true);
    if (tc.isEmpty() || family == tc)
        return {family};
    // The matcher takes the next family of the list in place of a missing
    // font, so the Latin letters would take the traditional font too; keep
    // the font it would draw them in.
    if (!family.isEmpty()) {
        QString latin = QFontInfo(QFont(family)).family();
        const qsizetype foundry = latin.indexOf(QLatin1String(" ["));
        if (foundry > 0)
            latin.truncate(foundry); // "Nimbus Roman [urw]"
        if (!latin.isEmpty() && latin.compare(family, Qt::CaseInsensitive) != 0
            && !latin.contains(QLatin1String("CJK"), Qt::CaseInsensitive))
            return {family, latin, tc};
    }
    return {family, tc};
}

QStringList familiesForRun(const QString &family, int charset)
{
    if (charset != 136)
        return {family};
    // Fonts do not come and go while the program runs; a Big5 lesson has
    // a run per line.
    static QHash<QString, QStringList> known;
    if (known.size() > 256)
        known.clear(); // names read from damaged files
    auto it = known.constFind(family);
    if (it != known.constEnd())
        return *it;
    QStringList &families = known[family];
    families = big5Families(family);
    return families;
}

} // namespace korvana::fonts
