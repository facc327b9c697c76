#include "editor/EditKeyMap.h"

#include <iterator>

#include "base/KeyCode.h"

namespace zozuz {

namespace {

// A modifier a row asks for: held, not held, or either.
enum class Need : std::uint8_t { Any, On, Off };

struct Row {
    std::uint8_t virtualKey;
    Need ctrl;
    Need shift;
    Need alt;    // Alt as the key reports it
    EditCommand command;
};

constexpr Need A = Need::Any;
constexpr Need Y = Need::On;
constexpr Need N = Need::Off;

// The rows of one key are tried in order, the most specific first. A shortcut with Ctrl asks for Alt
// not held: Ctrl with Alt is AltGr on many keyboards, and types.
constexpr Row kRows[] = {
    {vk::Left, Y, A, N, EditCommand::WordLeft},
    {vk::Left, A, A, A, EditCommand::CharacterLeft},
    {vk::Right, Y, A, N, EditCommand::WordRight},
    {vk::Right, A, A, A, EditCommand::CharacterRight},
    {vk::Up, A, A, A, EditCommand::LineUp},
    {vk::Down, A, A, A, EditCommand::LineDown},
    {vk::Prior, A, A, A, EditCommand::PageUp},
    {vk::Next, A, A, A, EditCommand::PageDown},
    {vk::Home, Y, A, N, EditCommand::DocumentStart},
    {vk::Home, A, A, A, EditCommand::LineStart},
    {vk::End, Y, A, N, EditCommand::DocumentEnd},
    {vk::End, A, A, A, EditCommand::LineEnd},
    // Alt+Backspace is the old undo key; Ctrl+Alt+Backspace deletes.
    {vk::Back, N, A, Y, EditCommand::Undo},
    {vk::Back, A, A, A, EditCommand::DeleteBackward},
    {vk::Delete, N, Y, A, EditCommand::Cut},
    {vk::Delete, A, A, A, EditCommand::DeleteForward},
    {vk::Insert, Y, N, N, EditCommand::Copy},
    {vk::Insert, N, Y, A, EditCommand::Paste},
    {vk::Insert, A, A, A, EditCommand::Nothing},
    {vk::Return, N, A, N, EditCommand::TypeBreak},
    {vk::Return, A, A, A, EditCommand::NotHandled},
    // Tab types nothing: it goes to the window, which moves the focus with it. Tab bytes come from
    // files and the clipboard only.
    {vk::Tab, A, A, A, EditCommand::NotHandled},
    {'X', Y, A, N, EditCommand::Cut},
    {'C', Y, A, N, EditCommand::Copy},
    {'V', Y, A, N, EditCommand::Paste},
    {'Z', Y, Y, N, EditCommand::Redo},
    {'Z', Y, A, N, EditCommand::Undo},
    {'Y', Y, A, N, EditCommand::Redo},
    {'A', Y, A, N, EditCommand::SelectAll},
};

bool meets(Need need, bool held) { return need == Need::Any || (need == Need::On) == held; }

}  // namespace

std::optional<EditCommand> EditKeyMap::find(const KeyEvent& key) {
    for (const Row& row : kRows) {
        if (row.virtualKey != key.virtualKey) continue;
        if (meets(row.ctrl, key.ctrl) && meets(row.shift, key.shift) && meets(row.alt, key.alt)) return row.command;
    }
    return std::nullopt;
}

bool EditKeyMap::isVertical(EditCommand command) {
    return command == EditCommand::LineUp || command == EditCommand::LineDown || command == EditCommand::PageUp ||
           command == EditCommand::PageDown;
}

}  // namespace zozuz
