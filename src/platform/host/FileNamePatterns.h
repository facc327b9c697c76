#pragma once

#include <string>
#include <string_view>

namespace zozuz {

// Rules of the file dialogs that every host applies alike, so that the program sees the same names
// whichever desktop answers.

// Whether a file name (without folder) matches one of `patterns`, separated by ";". "*" stands for
// any run of characters, "?" for one byte; letters match without case. "*.*" matches every name,
// also one without a dot.
bool fileNameMatches(std::string_view patterns, std::string_view name);

// `path` with "." and `extension` added when its last component has no extension of its own (a
// dot that is not its first character); unchanged when `extension` is empty.
std::string withDefaultExtension(std::string path, std::string_view extension);

}  // namespace zozuz
