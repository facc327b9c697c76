#pragma once

#include <string>
#include <string_view>

namespace zozuz {

// The longest title the application keeps, in bytes.
inline constexpr std::size_t kMaxTitleBytes = 255;

// The application's title, derived from the full path of its executable file: the file name after
// the last "/" or "\\", cut at its first ".", with every ASCII letter after the first character
// lower-cased. A first character that is a multi-byte UTF-8 character stays whole and unchanged, and
// non-ASCII characters are never changed. The title is at most kMaxTitleBytes long and never ends
// inside a character. "/opt/MyEditor.exe" gives "Myeditor", "MY.TOOL.EXE" gives "My".
std::string titleFromExecutablePath(std::string_view path);

// The executable's file name without its folder: what the fatal error box names as the module.
std::string moduleNameFromPath(std::string_view path);

}  // namespace zozuz
