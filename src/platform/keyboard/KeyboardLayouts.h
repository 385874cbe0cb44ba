#pragma once
// Keyboard layouts: the installed ones, each with a short language name
// ("ENU", "DEU", "CHS"), and making one of them the input language.
//
// The lesson editor lists the layouts beside each of its fields and makes the
// field's layout active whenever the field receives the focus. A layout is
// identified by an opaque handle that stays valid for the whole run.
//
// KeyboardLayouts::instance() is the backend the program uses; tests install
// a FakeKeyboardLayouts with setInstance() before the windows are created.
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace korvana {

using LayoutHandle = quintptr;

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts();

    // The installed layouts in the platform's order, at most maxCount of them.
    virtual QList<LayoutHandle> layoutList(int maxCount) = 0;
    // The abbreviated language name of a layout (three letters as a rule);
    // empty for a handle the backend does not know.
    virtual QString abbreviatedName(LayoutHandle handle) = 0;
    // Makes the layout the input language. False when the layout is unknown
    // or the platform cannot switch; the choice is still remembered and
    // reported by activeLayout().
    virtual bool activate(LayoutHandle handle) = 0;
    // Whether activate() actually changes the keyboard on this platform.
    virtual bool canSwitch() const = 0;
    // The layout last asked for through activate(); 0 before any.
    virtual LayoutHandle activeLayout() const = 0;
    // The layout the user types with outside the editor: the one active now,
    // or, while activate() has taken over, the one restore() gives back.
    // 0 when the platform cannot tell or it is not among layoutList().
    virtual LayoutHandle userLayout() { return 0; }
    // Gives the input language back to what it was before activate() first
    // changed it, where the switch reaches beyond this program (an input
    // method is the whole desktop's); the next activate() takes over again.
    virtual void restore() {}

    // The backend in use, created on first use for this platform.
    static KeyboardLayouts &instance();
    // Replaces the backend (nullptr: back to the platform's own on next use).
    static void setInstance(std::unique_ptr<KeyboardLayouts> backend);
};

} // namespace korvana
