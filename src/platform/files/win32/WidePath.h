#pragma once

#include <string>
#include <string_view>

namespace zozuz {

// File names are UTF-8 in the program and UTF-16 for the system's wide file calls. A name that is
// not valid UTF-8 gets U+FFFD where the bad bytes were, and so names no existing file.
std::wstring widePath(std::string_view utf8);
std::string narrowPath(std::wstring_view utf16);

}  // namespace zozuz
