#include "platform/files/FileExists.h"

#include <windows.h>

#include "platform/files/win32/FileSystem.h"

namespace zozuz {

bool fileExists(const std::string& path, FileSystem& fs) {
    unsigned long attributes = 0;
    return fs.attributes(path, attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace zozuz
