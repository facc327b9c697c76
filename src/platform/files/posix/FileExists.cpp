#include "platform/files/FileExists.h"

#include <sys/stat.h>

#include "platform/files/posix/FileSystem.h"

namespace zozuz {

bool fileExists(const std::string& path, FileSystem& fs) {
    struct stat status {};
    // stat follows a link, so a link to a file counts as the file it names.
    return fs.stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

}  // namespace zozuz
