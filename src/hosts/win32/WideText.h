#pragma once

#include <string>
#include <string_view>

#include "platform/files/win32/WidePath.h"

namespace zozuz {

// The program's strings are UTF-8; the system's wide calls take UTF-16. The host converts its
// captions and texts the way the files layer converts names, so there is one conversion for all of
// the Windows side: a sequence that is not valid UTF-8 (or UTF-16) becomes U+FFFD rather than
// being dropped, so a caption never loses the characters around a bad byte.
inline std::wstring toWide(std::string_view utf8) { return widePath(utf8); }
inline std::string fromWide(std::wstring_view utf16) { return narrowPath(utf16); }

}  // namespace zozuz
