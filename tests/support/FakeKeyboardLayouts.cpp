#include "support/FakeKeyboardLayouts.h"

#include <algorithm>

namespace korvana {

QList<LayoutHandle> FakeKeyboardLayouts::layoutList(int maxCount)
{
    m_lastMaxCount = maxCount;
    QList<LayoutHandle> handles;
    for (const auto &l : m_layouts) {
        if (handles.size() >= maxCount)
            break;
        handles.append(l.first);
    }
    return handles;
}

QString FakeKeyboardLayouts::abbreviatedName(LayoutHandle handle)
{
    for (const auto &l : m_layouts)
        if (l.first == handle)
            return l.second;
    return QString();
}

bool FakeKeyboardLayouts::activate(LayoutHandle handle)
{
    m_activations.append(handle);
    m_active = handle;
    const bool known =
        std::any_of(m_layouts.cbegin(), m_layouts.cend(), [handle](const auto &l) { return l.first == handle; });
    return known;
}

} // namespace korvana
