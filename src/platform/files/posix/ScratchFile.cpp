#include "platform/files/ScratchFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "base/Exception.h"
#include "platform/files/posix/FileSystem.h"
#include "platform/files/posix/SystemError.h"

namespace zozuz {

namespace {

constexpr std::size_t kPiece = 1 << 20;
const std::string kName = "temporary file";

std::string temporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

[[noreturn]] void failWrite(int error) {
    throw EWriteError(std::string(messages::kStreamWriteError), systemReason(kName, error));
}

}  // namespace

ScratchFile::ScratchFile(FileSystem& fs) : fs_(fs) {
    const std::string folder = temporaryFolder();
    handle_ = retryInterrupted([&] { return fs_.open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); });
    if (handle_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // Without nameless files, a named one loses its name at once.
        std::string name = folder + "/.zozuz-XXXXXX";
        handle_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (handle_ >= 0) fs_.unlink(name.c_str());
    }
    if (handle_ < 0) failWrite(errno);
}

ScratchFile::~ScratchFile() { fs_.close(handle_); }

void ScratchFile::append(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = retryInterrupted(
            [&] { return fs_.pwrite(handle_, bytes.data(), bytes.size(), static_cast<off_t>(size_)); });
        if (n < 0) failWrite(errno);
        if (n == 0) failWrite(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
        size_ += static_cast<std::uint64_t>(n);
    }
}

void ScratchFile::drain(std::uint64_t from, const std::function<void(std::string_view)>& sink) {
    const auto buffer = std::make_unique_for_overwrite<char[]>(kPiece);
    while (from < size_) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, size_ - from));
        const ssize_t n = retryInterrupted([&] { return fs_.pread(handle_, buffer.get(), want, static_cast<off_t>(from)); });
        if (n < 0) throw EReadError(std::string(messages::kStreamReadError), systemReason(kName, errno));
        if (n == 0) throw EReadError(std::string(messages::kStreamReadError), kName + ": ended early");
        sink(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
        from += static_cast<std::uint64_t>(n);
    }
    size_ = 0;
    if (retryInterrupted([&] { return fs_.ftruncate(handle_, 0); }) != 0) failWrite(errno);
}

}  // namespace zozuz
