#pragma once
// Input languages through the desktop's input method (IBus, Fcitx 5).
//
// On Linux Chinese is typed through an input method, not a keyboard layout, so
// where one runs the editor's per-field "layouts" are its engines: the ones the
// user configured, in the user's order, each named by its language ("CHS" for
// a zh_CN engine such as libpinyin, "ENU" for xkb:us::eng). The input method
// belongs to the whole desktop, so the engine active before the editor first
// switched is put back by restore() when the editor window loses the focus or
// closes, and when the program quits.
//
// Every call to the input method is bounded. When it stops answering, the
// backend stops calling it for the rest of the run (canSwitch() turns false),
// and an engine it refused to switch to is not asked for again: the editor
// goes on with the choice only recorded.
#include "platform/keyboard/KeyboardLayouts.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>
#include <optional>

namespace korvana {

struct InputMethodEngine {
    QString name;     // "libpinyin", "xkb:us::eng", "keyboard-us"
    QString language; // "zh_CN", "en"; may be empty
    bool operator==(const InputMethodEngine &o) const = default;
};

// One input-method framework, as the backend uses it.
class InputMethodController {
public:
    enum class Switch { Done, Refused, Unreachable };

    virtual ~InputMethodController();
    virtual QString framework() const = 0; // "IBus", "Fcitx 5"
    // The engines the user configured, in order; nullopt when the framework
    // does not answer.
    virtual std::optional<QList<InputMethodEngine>> configuredEngines() = 0;
    // The active engine ("" for none); nullopt when the framework does not answer.
    virtual std::optional<QString> currentEngine() = 0;
    // Makes the engine active and reads the active one back.
    virtual Switch switchTo(const QString &engine) = 0;
};

class InputMethodLayouts : public KeyboardLayouts {
public:
    explicit InputMethodLayouts(std::unique_ptr<InputMethodController> controller);

    QList<LayoutHandle> layoutList(int maxCount) override;
    QString abbreviatedName(LayoutHandle handle) override;
    bool activate(LayoutHandle handle) override;
    bool canSwitch() const override { return !m_unreachable; }
    LayoutHandle activeLayout() const override { return m_active; }
    void restore() override;
    LayoutHandle userLayout() override;

    InputMethodController &controller() { return *m_controller; }
    // The engines listed (handle i + 1 is entry i), read once on first use.
    QList<InputMethodEngine> engines();

    // "zh_CN" -> "CHS", "zh_TW" -> "CHT", "en" -> "ENU", "de_CH" -> "DES"; other
    // codes: the language part upper-cased ("yue" -> "YUE"); "" for "".
    static QString languageAbbreviation(const QString &code);
    // Keyboard engines (IBus "xkb:gb:extd:eng", Fcitx "keyboard-gb-extd") are
    // named after their XKB layout, as the layouts themselves are; the others
    // after their language.
    static QString engineAbbreviation(const InputMethodEngine &engine);

private:
    void discover();

    std::unique_ptr<InputMethodController> m_controller;
    QList<InputMethodEngine> m_engines;
    bool m_discovered = false;
    LayoutHandle m_active = 0;
    bool m_unreachable = false;
    QSet<QString> m_refused;
    std::optional<QString> m_before; // set while the editor has taken the input method over
    QObject m_quitWatch;             // ends the quit connection with this backend
};

} // namespace korvana
