#include "platform/files/InputFile.h"

#include <fcntl.h>
#include <string_view>

#include "base/Exception.h"
#include "base/MessageFormat.h"

namespace zozuz {

// On Windows the sharing rule does the locking: the file is opened for reading with reading shared
// only, so a file another program holds open for writing cannot be opened, and nobody can open it
// for writing while it is loaded.
InputFile::InputFile(FileSystem& fs, const std::string& fileName)
    : fs_(fs), fd_(fs.open(fileName.c_str(), O_RDONLY, 0)), owned_(true) {
    check(fileName, true);
}

InputFile::InputFile(FileSystem& fs, int fd, const std::string& name) : fs_(fs), fd_(fd), owned_(false) {
    check(name, false);
}

InputFile::~InputFile() {
    if (owned_ && fd_ >= 0) fs_.close(fd_);
}

void InputFile::check(const std::string& name, bool) {
    const auto fail = [&name] {
        throw EFOpenError(formatMessage(messages::kCannotOpenFile, {std::string_view(name)}));
    };
    if (fd_ < 0) fail();
    if (fs_.fstat(fd_, &status_) != 0 || S_ISDIR(status_.st_mode)) {
        // The destructor does not run when the constructor throws, so a failure closes the file here.
        if (owned_) fs_.close(fd_);
        fd_ = -1;
        fail();
    }
}

}  // namespace zozuz
