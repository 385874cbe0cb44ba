#pragma once
// The practice window's keys: which command a key gives, and which typed
// characters the window lets through to the focused control.
#include "lessons/Pane.h"

#include <QString>
#include <Qt>

#include <optional>

namespace korvana {

enum class KeyCommand {
    None,
    Next,              // Right, Down, Page Down
    ReadAloud,         // Enter
    Previous,          // Left, Up, Page Up
    MarkLearned,       // Delete, S
    PlaySound,         // Space, P
    TogglePicture,     // G
    MarkDifficult,     // D
    FlashNow,          // Backspace
    ShowAllPanes,      // Insert
    HelpContents,      // F1
    ToggleTranslation, // F5
    TogglePinyin,      // F6
    ToggleCharacters,  // F7
    ToggleNotes,       // F8
    OpenLessons,       // Ctrl+O
};

// The command of a key; modifiers matter only for O.
KeyCommand keyCommand(int key, Qt::KeyboardModifiers modifiers);

// The pane a toggle command shows or hides; none for other commands.
std::optional<Pane> toggledPane(KeyCommand command);

// Whether the window swallows the character a key types: every character
// but the digits 0 to 9 is dropped (Backspace and Enter included), so only
// digits reach the term number field. Keys that type nothing (arrows,
// Delete, function keys) pass.
bool dropsTypedCharacter(int key, const QString &text);

} // namespace korvana
