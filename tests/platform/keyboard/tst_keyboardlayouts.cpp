// The XKB keyboard-layout backend: where the layouts come from, the names
// shown for them, and what switching asks of setxkbmap.
#include "platform/keyboard/XkbKeyboardLayouts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvana;

namespace {
// A setxkbmap stand-in: answers -query with `query` (nullopt: cannot run)
// and records every call.
struct ScriptedSetxkbmap {
    std::optional<QString> query;
    bool setSucceeds = true;
    QList<QStringList> calls;

    XkbKeyboardLayouts::Runner runner()
    {
        return [this](const QStringList &args) -> std::optional<QString> {
            calls.append(args);
            if (args.value(0) == QLatin1String("-query"))
                return query;
            return setSucceeds ? std::optional<QString>(QString()) : std::nullopt;
        };
    }
};

const char *twoLayouts = "rules:      evdev\nmodel:      pc105\nlayout:     us,de,cn\n"
                         "variant:    ,nodeadkeys\noptions:    grp:alt_shift_toggle\n";
} // namespace

class TestKeyboardLayouts : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeConfig(const QByteArray &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("keyboard"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        f.write(text);
        return path;
    }

private slots:
    void parsingQueryAndConfig()
    {
        QCOMPARE(XkbKeyboardLayouts::parseQuery(QString::fromLatin1(twoLayouts)),
                 (QList<XkbLayout>{{"us", ""}, {"de", "nodeadkeys"}, {"cn", ""}}));
        QVERIFY(XkbKeyboardLayouts::parseQuery(QStringLiteral("rules: evdev\r\nmodel: pc105\r\n")).isEmpty());
        // Empty entries of the comma list are no layouts.
        QCOMPARE(XkbKeyboardLayouts::parseQuery(QStringLiteral("layout: fr,,ru\r\n")),
                 (QList<XkbLayout>{{"fr", ""}, {"ru", ""}}));

        const QString config = QStringLiteral("# KEYBOARD CONFIGURATION FILE\nXKBMODEL=\"pc105\"\n"
                                              "XKBLAYOUT=\"cz,us\"\nXKBVARIANT='qwerty,'\n#XKBLAYOUT=\"ru\"\n");
        QCOMPARE(XkbKeyboardLayouts::parseKeyboardConfig(config), (QList<XkbLayout>{{"cz", "qwerty"}, {"us", ""}}));
        QCOMPARE(XkbKeyboardLayouts::parseKeyboardConfig(QStringLiteral("XKBLAYOUT=gb")),
                 (QList<XkbLayout>{{"gb", ""}}));
    }

    void namesAndLocaleGuess()
    {
        // layout=name pairs; a layout not in the table shows as its code.
        const QString names =
            "US=ENU xyz=XYZ us=ENU gb=ENG au=ENA ie=ENI ca=FRC de=DEU ch=DES at=DEA fr=FRA be=FRB es=ESP latam=ESM "
            "it=ITA pt=PTG br=PTB nl=NLD dk=DAN no=NOR se=SVE fi=FIN is=ISL pl=PLK cz=CSY sk=SKY hu=HUN si=SLV hr=HRV "
            "rs=SRB ro=ROM bg=BGR gr=ELL tr=TRK ru=RUS ua=UKR by=BEL lt=LTH lv=LVI ee=ETI il=HEB ir=FAR in=HIN th=THA "
            "vn=VIT jp=JPN kr=KOR cn=CHS tw=CHT hk=ZHH sg=ZHI mo=ZHM";
        for (const QString &pair : names.split(u' '))
            QCOMPARE(XkbKeyboardLayouts::abbreviationFor(pair.section(u'=', 0, 0)), pair.section(u'=', 1));

        QCOMPARE(XkbKeyboardLayouts::layoutForLocale(QLocale(QStringLiteral("de_DE"))).layout, QStringLiteral("de"));
        QCOMPARE(XkbKeyboardLayouts::layoutForLocale(QLocale(QStringLiteral("zh_CN"))).layout, QStringLiteral("cn"));
        QCOMPARE(XkbKeyboardLayouts::layoutForLocale(QLocale::c()).layout, QStringLiteral("us"));
    }

    // setxkbmap first, then the system keyboard file, then the locale; the
    // list is read once, so handles keep meaning the same layout.
    void discoveryOrder()
    {
        ScriptedSetxkbmap x;
        x.query = QString::fromLatin1(twoLayouts);
        XkbKeyboardLayouts fromQuery({x.runner(), writeConfig("XKBLAYOUT=ru\n"), QLocale::c(), false});
        QCOMPARE(fromQuery.layoutList(41), (QList<LayoutHandle>{1, 2, 3}));
        QCOMPARE(fromQuery.source(), QStringLiteral("setxkbmap"));
        QCOMPARE(fromQuery.abbreviatedName(2), QStringLiteral("DEU"));
        QCOMPARE(fromQuery.abbreviatedName(3), QStringLiteral("CHS"));
        QVERIFY(fromQuery.abbreviatedName(0).isEmpty());
        QVERIFY(fromQuery.abbreviatedName(4).isEmpty());
        x.query = QStringLiteral("layout: fr\n");
        QCOMPARE(fromQuery.abbreviatedName(1), QStringLiteral("ENU"));
        QCOMPARE(x.calls.size(), 1);
        QCOMPARE(fromQuery.layoutList(2), (QList<LayoutHandle>{1, 2}));

        ScriptedSetxkbmap noDisplay; // setxkbmap cannot reach a display
        XkbKeyboardLayouts fromConfig({noDisplay.runner(), writeConfig("XKBLAYOUT=\"ru,us\"\n"), QLocale::c(), false});
        QCOMPARE(fromConfig.source(), QStringLiteral("config"));
        QCOMPARE(fromConfig.abbreviatedName(1), QStringLiteral("RUS"));
        ScriptedSetxkbmap noLayout; // answers, but names no layout
        noLayout.query = QStringLiteral("rules: evdev\n");
        XkbKeyboardLayouts afterEmptyQuery({noLayout.runner(), writeConfig("XKBLAYOUT=ru\n"), QLocale::c(), false});
        QCOMPARE(afterEmptyQuery.abbreviatedName(1), QStringLiteral("RUS"));

        XkbKeyboardLayouts fromLocale(
            {{}, m_dir.filePath(QStringLiteral("missing")), QLocale(QStringLiteral("zh_CN")), false});
        QCOMPARE(fromLocale.source(), QStringLiteral("locale"));
        QCOMPARE(fromLocale.layoutList(41), (QList<LayoutHandle>{1}));
        QCOMPARE(fromLocale.abbreviatedName(1), QStringLiteral("CHS"));
    }

    void switchingOnlyWhenAllowed()
    {
        ScriptedSetxkbmap x;
        x.query = QString::fromLatin1(twoLayouts);
        XkbKeyboardLayouts recordOnly({x.runner(), QString(), QLocale::c(), false});
        QVERIFY(!recordOnly.canSwitch());
        QVERIFY(!recordOnly.activate(2));
        QCOMPARE(recordOnly.activeLayout(), LayoutHandle(2));
        for (const QStringList &call : x.calls)
            QCOMPARE(call, QStringList{QStringLiteral("-query")});
        QVERIFY(!recordOnly.activate(9)); // unknown: the choice stays
        QCOMPARE(recordOnly.activeLayout(), LayoutHandle(2));

        ScriptedSetxkbmap y;
        y.query = QString::fromLatin1(twoLayouts);
        XkbKeyboardLayouts switching({y.runner(), QString(), QLocale::c(), true});
        QVERIFY(switching.canSwitch());
        // The chosen layout goes to the front of the display's current set,
        // with its variant; the rest keep their order.
        QVERIFY(switching.activate(3));
        QCOMPARE(y.calls.last(), (QStringList{"-layout", "cn,us,de", "-variant", ",,nodeadkeys"}));
        QVERIFY(switching.activate(1));
        QCOMPARE(y.calls.last(), (QStringList{"-layout", "us,de,cn", "-variant", ",nodeadkeys,"}));
        // The display's set as it is now, not as it was at start.
        y.query = QStringLiteral("layout: cn,de,us\nvariant: ,nodeadkeys,\n");
        QVERIFY(switching.activate(2));
        QCOMPARE(y.calls.last(), (QStringList{"-layout", "de,cn,us", "-variant", "nodeadkeys,,"}));
        // A query that fails: the set found at start.
        y.query.reset();
        QVERIFY(switching.activate(3));
        QCOMPARE(y.calls.last(), (QStringList{"-layout", "cn,us,de", "-variant", ",,nodeadkeys"}));
        y.setSucceeds = false;
        QVERIFY(!switching.activate(1));
        QCOMPARE(switching.activeLayout(), LayoutHandle(1));

        XkbKeyboardLayouts noProgram({{}, QString(), QLocale::c(), true});
        QVERIFY(!noProgram.canSwitch());
    }
};

QTEST_GUILESS_MAIN(TestKeyboardLayouts)
#include "tst_keyboardlayouts.moc"
