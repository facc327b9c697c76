#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zozuz {

// One entry of the active menu level, as a typed access key sees it.
struct TypedKeyEntry {
    std::string caption;
    bool enabled = true;
    // Hidden entries and separator lines ("-") are never matched.
    bool visible = true;
};

// What a character typed into an open menu level does.
struct TypedKeyResult {
    enum class Kind {
        // The one enabled match runs, or opens its submenu: `entry`.
        Choose,
        // Several enabled entries match: none runs and the highlight moves to `entry`.
        Highlight,
        // Only disabled entries match: the menu closes.
        Close,
        // Nothing matches: the character is ignored with the desktop's warning sound.
        Beep,
    };
    Kind kind = Kind::Beep;
    // The entry meant, for Choose and Highlight; npos otherwise.
    std::size_t entry = std::string_view::npos;
};

// Resolves a character (one UTF-8 character) typed while a menu level is active; `highlighted` is
// the entry highlighted now, npos for none. Entries whose access key is the character, without
// case, are matched first; if none has it, entries without access key whose caption begins with
// it. Among several enabled matches the highlight moves to the last one after the highlighted entry,
// or to the first one when none follows. When matching by access key, the menu closes only if every
// match is disabled; when matching by first character, the first disabled match closes it at once.
TypedKeyResult resolveTypedAccessKey(const std::vector<TypedKeyEntry>& entries, std::size_t highlighted,
                                     std::string_view character);

}  // namespace zozuz
