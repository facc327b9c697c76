#include "platform/files/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"

namespace zozuz {

namespace {

// The most bytes one write request hands to the system.
constexpr std::size_t kPiece = 8 << 20;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file they finally name, which need not exist yet. Gives up after as
// many links as the system itself follows.
std::string followLinks(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length <= 0) return path;
        link.resize(static_cast<std::size_t>(length));
        path = link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    return path;
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string fileName, FileSystem& fileSystem, Flush flush)
    : fs_(fileSystem), fileName_(std::move(fileName)), flush_(flush) {
    if (fileName_.empty() || fileName_.back() == '/') failCreate();
    target_ = followLinks(fileName_);

    struct stat status {};
    const bool exists = ::stat(target_.c_str(), &status) == 0;
    if (!exists && errno != ENOENT) failCreate();
    if (exists && S_ISDIR(status.st_mode)) failCreate();
    if (exists && !S_ISREG(status.st_mode)) {
        fd_ = fs_.open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0);
        if (fd_ < 0) failCreate();
        return;
    }
    // A file nobody may write is read-only, also for an administrator, whom the system would let
    // write it anyway; the rename below would otherwise replace it without asking.
    if (exists && (::access(target_.c_str(), W_OK) != 0 || (status.st_mode & 0222) == 0)) failCreate();

    const std::string stem = folderOf(target_) + "/." + nameOf(target_) + ".zozuz-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = stem + std::to_string(attempt);
        fd_ = fs_.open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        temporary_.clear();
        failCreate();
    }
    if (exists) {
        // Keep the old file's owner and permission bits; an owner change needs privileges and is
        // only attempted.
        [[maybe_unused]] const int owned = ::fchown(fd_, status.st_uid, status.st_gid);
        [[maybe_unused]] const int moded = ::fchmod(fd_, status.st_mode & 07777);
    }
}

SafeFileWriter::~SafeFileWriter() {
    if (!committed_) abandon();
}

void SafeFileWriter::write(std::string_view bytes) {
    if (fd_ < 0) failWrite();
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    // Large texts go out in pieces of a bounded size, which every file system takes in one call.
    while (left > 0) {
        const ssize_t written = fs_.write(fd_, data, std::min(left, kPiece));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) failWrite();
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

void SafeFileWriter::commit() {
    if (fd_ < 0 || committed_) failWrite();
    if (temporary_.empty()) {
        // A device or pipe: flushing may not be supported, which is no failure of the write.
        if (flush_ == Flush::ToDisk && fs_.fsync(fd_) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) {
            failWrite();
        }
        const int fd = fd_;
        fd_ = -1;
        if (fs_.close(fd) != 0) failWrite();
        committed_ = true;
        return;
    }
    if (flush_ == Flush::ToDisk && fs_.fsync(fd_) != 0) failWrite();
    const int fd = fd_;
    fd_ = -1;
    if (fs_.close(fd) != 0) failWrite();
    if (fs_.rename(temporary_.c_str(), target_.c_str()) != 0) failCreate();
    committed_ = true;
    temporary_.clear();
    // Make the rename itself durable; a folder that cannot be flushed is no reason to fail.
    if (flush_ != Flush::ToDisk) return;
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void SafeFileWriter::abandon() noexcept {
    if (fd_ >= 0) {
        fs_.close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        fs_.unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void SafeFileWriter::failCreate() const {
    throw EFCreateError(formatMessage(messages::kCannotCreateFile, {std::string_view(fileName_)}));
}

void SafeFileWriter::failWrite() const { throw EWriteError(std::string(messages::kStreamWriteError)); }

}  // namespace zozuz
