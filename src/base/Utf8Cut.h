#pragma once

#include <cstddef>
#include <string_view>

namespace zozuz {

// The longest prefix of `text` that has at most `maxBytes` bytes and does not end inside a UTF-8
// character. The program's own strings are UTF-8, and the host would show a character cut in half
// as a replacement mark.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

// The length in bytes of the UTF-8 character that starts with `lead` (1 for ASCII and for bytes
// that cannot start a character).
std::size_t utf8CharLength(unsigned char lead);

}  // namespace zozuz
