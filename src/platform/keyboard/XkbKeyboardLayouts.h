#pragma once
// Keyboard layouts under X11/XKB.
//
// Linux has no per-window input language: the XKB layout set belongs to the
// whole X display, and Chinese text is usually typed through an input method
// (IBus, Fcitx) rather than a layout. So this backend:
//  - lists the layouts of `setxkbmap -query` ("layout:" and "variant:" lines);
//    when that cannot run (no display, no program) the XKBLAYOUT/XKBVARIANT of
//    the system keyboard file (/etc/default/keyboard); when neither gives
//    anything, one layout guessed from the locale's territory (C locale: "us");
//  - names each with a three-letter language abbreviation from a table of
//    layout codes ("us" ENU, "de" DEU, "cn" CHS, ...), other codes upper-cased;
//  - switches only when allowed (KORVANA_XKB_SWITCH=1 for the program's own
//    instance): it then reruns setxkbmap with the chosen layout moved to the
//    front of the current list, which makes it the active group for the whole
//    display. Otherwise activate() records the choice and returns false.
// The list is read once, on first use, so handles (1-based indexes into it)
// stay valid for the run.
#include "platform/keyboard/KeyboardLayouts.h"

#include <QLocale>
#include <QStringList>

#include <functional>
#include <optional>

namespace korvana {

struct XkbLayout {
    QString layout;  // "us", "de", "cn"
    QString variant; // may be empty
    bool operator==(const XkbLayout &o) const = default;
};

class XkbKeyboardLayouts : public KeyboardLayouts {
public:
    // Runs setxkbmap with the arguments; its standard output, or nullopt when
    // it could not run or failed.
    using Runner = std::function<std::optional<QString>(const QStringList &args)>;

    struct Options {
        Runner runner;                                                        // none: setxkbmap is not used
        QString keyboardConfigFile = QStringLiteral("/etc/default/keyboard"); // empty: not read
        QLocale locale = QLocale::system();
        bool allowSwitch = false;
    };

    explicit XkbKeyboardLayouts(Options options);

    // The real runner: setxkbmap found on PATH, run with bounded waits.
    static Runner setxkbmapRunner();

    QList<LayoutHandle> layoutList(int maxCount) override;
    QString abbreviatedName(LayoutHandle handle) override;
    bool activate(LayoutHandle handle) override;
    bool canSwitch() const override;
    LayoutHandle activeLayout() const override { return m_active; }
    // The first layout found: the group the keyboard starts in.
    LayoutHandle userLayout() override;

    // Where the layouts were found: "setxkbmap", "config", "locale".
    QString source();

    static QString abbreviationFor(const QString &layout);
    static QList<XkbLayout> parseQuery(const QString &output);
    static QList<XkbLayout> parseKeyboardConfig(const QString &text);
    static XkbLayout layoutForLocale(const QLocale &locale);

private:
    void discover();
    std::optional<XkbLayout> layoutOf(LayoutHandle handle);

    Options m_options;
    QList<XkbLayout> m_layouts;
    QString m_source;
    bool m_discovered = false;
    LayoutHandle m_active = 0;
};

} // namespace korvana
