#pragma once

#include <string>

namespace zozuz {

// The reason given when a name the program loads or saves turns out to be no regular file (a FIFO,
// a device, a socket): "notes.txt: not a regular file".
inline std::string notARegularFile(const std::string& name) { return name + ": not a regular file"; }

}  // namespace zozuz
