#pragma once

#include <string>

#include "platform/files/FileSystem.h"

namespace zozuz {

// Whether `path` (UTF-8) names an existing file, as a question asked before overwriting it. A folder
// of that name is no file; a name the system cannot look up (no access to its folder, an invalid
// name) counts as no file, and the write that follows reports the real trouble.
bool fileExists(const std::string& path, FileSystem& fs = systemFiles());

}  // namespace zozuz
