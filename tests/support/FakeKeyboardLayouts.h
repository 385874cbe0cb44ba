#pragma once
// Keyboard layouts for tests: the test decides which layouts are installed and
// reads back every activation asked for.
#include "platform/keyboard/KeyboardLayouts.h"

#include <QPair>

namespace korvana {

class FakeKeyboardLayouts : public KeyboardLayouts {
public:
    // Layouts in the platform's order: handle and abbreviated name.
    void setLayouts(const QList<QPair<LayoutHandle, QString>> &layouts) { m_layouts = layouts; }
    void setUserLayout(LayoutHandle handle) { m_user = handle; }

    QList<LayoutHandle> layoutList(int maxCount) override;
    QString abbreviatedName(LayoutHandle handle) override;
    bool activate(LayoutHandle handle) override;
    bool canSwitch() const override { return true; }
    LayoutHandle activeLayout() const override { return m_active; }
    LayoutHandle userLayout() override { return m_user; }

    // Every handle passed to activate(), in order.
    QList<LayoutHandle> activations() const { return m_activations; }
    // The maxCount of the last layoutList() call.
    int lastMaxCount() const { return m_lastMaxCount; }

private:
    QList<QPair<LayoutHandle, QString>> m_layouts;
    QList<LayoutHandle> m_activations;
    LayoutHandle m_active = 0;
    LayoutHandle m_user = 0;
    int m_lastMaxCount = -1;
};

} // namespace korvana
