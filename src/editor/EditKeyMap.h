#pragma once

#include <cstdint>
#include <optional>

#include "platform/host/KeyEvent.h"

namespace zozuz {

// What a key asks of the editor.
enum class EditCommand : std::uint8_t {
    CharacterLeft,   // collapses a selection to its start unless extending
    CharacterRight,  // collapses a selection to its end unless extending
    WordLeft,
    WordRight,
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    LineStart,
    LineEnd,
    DocumentStart,
    DocumentEnd,
    DeleteBackward,
    DeleteForward,
    Cut,
    Copy,
    Paste,
    Undo,
    Redo,
    SelectAll,
    TypeBreak,
    Nothing,     // the key is the editor's, and does nothing with these modifiers
    NotHandled,  // the key is left to the window (a shortcut of its own, a dialog's default button)
};

// The editor's keys: a table from a key with its modifiers to an editing command; the first row that
// matches wins. Keys not in the table type their text, or are left to the window.
class EditKeyMap {
public:
    static std::optional<EditCommand> find(const KeyEvent& key);
    // Whether a command moves the caret by lines, aiming for the x it had before (see EditView).
    static bool isVertical(EditCommand command);
};

}  // namespace zozuz
