#pragma once

namespace zozuz {

// The operating system's file calls, gathered in one object so that a test can make any of them fail
// at the moment it chooses. Each system defines the class on its own side (posix/FileSystem.h); code
// above this layer only passes a reference to it along.
class FileSystem;

// The real file system. It holds no state, so one shared instance serves everyone.
FileSystem& systemFiles();

}  // namespace zozuz
