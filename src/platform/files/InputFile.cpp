#include "platform/files/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"

namespace zozuz {

InputFile::InputFile(FileSystem& fs, const std::string& fileName)
    : fs_(fs), fd_(fs.open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY, 0)), owned_(true) {
    check(fileName, true);
}

InputFile::InputFile(FileSystem& fs, int fd, const std::string& name) : fs_(fs), fd_(fd), owned_(false) {
    check(name, false);
}

InputFile::~InputFile() {
    if (owned_ && fd_ >= 0) fs_.close(fd_);
}

void InputFile::check(const std::string& name, bool lock) {
    const auto fail = [&name] {
        throw EFOpenError(formatMessage(messages::kCannotOpenFile, {std::string_view(name)}));
    };
    if (fd_ < 0) fail();
    // The destructor does not run when the constructor throws, so a failure closes the file here.
    const auto closeAndFail = [&] {
        if (owned_) fs_.close(fd_);
        fd_ = -1;
        fail();
    };
    if (fs_.fstat(fd_, &status_) != 0 || S_ISDIR(status_.st_mode)) closeAndFail();
    // A program that holds the file locked for writing keeps it from being loaded.
    if (lock && ::flock(fd_, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) closeAndFail();
}

}  // namespace zozuz
