#pragma once
// The four fields of a term as the windows show them, each in a pane of its
// own, in the order they stand on screen.
#include <QString>

#include <array>
#include <cstddef>

namespace korvana {

enum class Pane { Translation, Pinyin, Characters, Notes };

inline constexpr std::array<Pane, 4> allPanes{Pane::Translation, Pane::Pinyin, Pane::Characters, Pane::Notes};

constexpr std::size_t paneIndex(Pane pane)
{
    return static_cast<std::size_t>(pane);
}

// One value for each pane, reached by the pane: what every pane has once of
// its own (a font size, a reading direction). Brace-initialised in the
// panes' order.
template <typename T>
struct PaneArray {
    std::array<T, allPanes.size()> values{};

    T &operator[](Pane pane) { return values[paneIndex(pane)]; }
    const T &operator[](Pane pane) const { return values[paneIndex(pane)]; }
    auto begin() { return values.begin(); }
    auto end() { return values.end(); }
    auto begin() const { return values.begin(); }
    auto end() const { return values.end(); }
    static constexpr std::size_t size() { return allPanes.size(); }

    friend bool operator==(const PaneArray &, const PaneArray &) = default;
};

// The name the pane's controls are known by ("translation", "pinyin",
// "characters", "notes"), followed by what each is: "pinyinText",
// "pinyinView", ...
inline QString paneName(Pane pane)
{
    switch (pane) {
    case Pane::Translation:
        return QStringLiteral("translation");
    case Pane::Pinyin:
        return QStringLiteral("pinyin");
    case Pane::Characters:
        return QStringLiteral("characters");
    case Pane::Notes:
        return QStringLiteral("notes");
    }
    return {};
}

// The tag of the pane's field in a lesson line ("<OR=...>", "<PI=...>",
// "<CH=...>", "<NO=...>").
inline QString paneTag(Pane pane)
{
    switch (pane) {
    case Pane::Translation:
        return QStringLiteral("OR");
    case Pane::Pinyin:
        return QStringLiteral("PI");
    case Pane::Characters:
        return QStringLiteral("CH");
    case Pane::Notes:
        return QStringLiteral("NO");
    }
    return {};
}

} // namespace korvana
