#pragma once

#include <string>
#include <string_view>

namespace zozuz {

// The program's strings are UTF-8; the system's wide calls take UTF-16. Conversion happens only here,
// at the host's edge. A sequence that is not valid UTF-8 (or UTF-16) becomes U+FFFD rather than
// being dropped, so a caption never loses the characters around a bad byte.
std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view utf16);

}  // namespace zozuz
