#include "platform/files/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"
#include "platform/files/NotRegularFile.h"
#include "platform/files/posix/FileSystem.h"
#include "platform/files/posix/SystemError.h"

namespace zozuz {

InputFile::InputFile(FileSystem& fs, const std::string& fileName, Accept accept)
    : fs_(fs), name_(fileName), owned_(true) {
    // Without a writer, opening a FIFO waits for one for good; opened without blocking, it is
    // refused below instead. A regular file reads the same either way.
    const int wait = accept == Accept::RegularFiles ? O_NONBLOCK : 0;
    handle_ = retryInterrupted([&] { return fs_.open(name_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | wait, 0); });
    if (handle_ < 0) failOpen(errno);
    examine(true, accept);
}

void InputFile::examine(bool lock, Accept accept) {
    struct stat status {};
    if (fs_.fstat(handle_, &status) != 0) failOpen(errno);
    if (S_ISDIR(status.st_mode)) failOpen(EISDIR);
    if (accept == Accept::RegularFiles && !S_ISREG(status.st_mode)) failOpen(kNotRegularFile);
    // A program that holds the file locked for writing keeps it from being loaded.
    if (lock && retryInterrupted([&] { return fs_.flock(handle_, LOCK_SH | LOCK_NB); }) != 0 && errno == EWOULDBLOCK) {
        failOpen(EWOULDBLOCK);
    }
    if (S_ISREG(status.st_mode)) size_ = static_cast<std::uint64_t>(status.st_size);
    identity_ = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

void InputFile::failOpen(int error) {
    // The destructor does not run when a constructor throws, so a failure closes the file here.
    release();
    const std::string reason = error == EWOULDBLOCK        ? name_ + ": locked by another program"
                               : error == kNotRegularFile ? notARegularFile(name_)
                                                          : systemReason(name_, error);
    throw EFOpenError(formatMessage(messages::kCannotOpenFile, {std::string_view(name_)}), reason);
}

std::size_t InputFile::readSome(char* buffer, std::size_t size) {
    const ssize_t n = retryInterrupted([&] { return fs_.read(handle_, buffer, size); });
    if (n < 0) throw EReadError(std::string(messages::kStreamReadError), systemReason(name_, errno));
    return static_cast<std::size_t>(n);
}

std::size_t InputFile::readSomeAt(std::uint64_t offset, char* buffer, std::size_t size) {
    const ssize_t n = retryInterrupted([&] { return fs_.pread(handle_, buffer, size, static_cast<off_t>(offset)); });
    if (n < 0) throw EReadError(std::string(messages::kStreamReadError), systemReason(name_, errno));
    return static_cast<std::size_t>(n);
}

void InputFile::release() {
    if (owned_ && handle_ >= 0) fs_.close(handle_);
    handle_ = -1;
}

}  // namespace zozuz
