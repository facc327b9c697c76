// The safe save on Windows: the new bytes go to a file of their own in the target's folder, opened
// for nobody else; commit flushes it and puts it in the target's place with one replacing,
// write-through move, so the target holds either its old bytes or all of the new ones.
#include "platform/files/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>

#include <windows.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"
#include "platform/files/win32/WidePath.h"

namespace zozuz {

namespace {

// The most bytes one write request hands to the system.
constexpr std::size_t kPiece = 8 << 20;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The folder part of a path, with its separator ("" for a bare name, which lies in the current folder).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string fileName, FileSystem& fileSystem, Flush flush)
    : fs_(fileSystem), fileName_(std::move(fileName)), target_(fileName_), flush_(flush) {
    if (fileName_.empty() || isSeparator(fileName_.back())) failCreate();
    const std::wstring target = widePath(target_);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) failCreate();
    if (exists || GetLastError() != ERROR_FILE_NOT_FOUND) {
        // An existing file must be writable by us alone right now: one that another program holds
        // open, or that we may not write, is refused before anything is written. A device (NUL,
        // CON) is written directly; it cannot be replaced.
        fd_ = fs_.open(target_.c_str(), O_WRONLY, 0);
        if (fd_ < 0) failCreate();
        struct stat status {};
        if (fs_.fstat(fd_, &status) == 0 && !S_ISREG(status.st_mode)) return;
        fs_.close(fd_);
        fd_ = -1;
    }

    const std::string stem = folderOf(target_) + "~" + nameOf(target_) + ".zozuz-" +
                             std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = stem + std::to_string(attempt);
        fd_ = fs_.open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        temporary_.clear();
        failCreate();
    }
}

SafeFileWriter::~SafeFileWriter() {
    if (!committed_) abandon();
}

void SafeFileWriter::write(std::string_view bytes) {
    if (fd_ < 0) failWrite();
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = fs_.write(fd_, data, std::min(left, kPiece));
        if (written <= 0) failWrite();
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

void SafeFileWriter::commit() {
    if (fd_ < 0 || committed_) failWrite();
    if (temporary_.empty()) {
        // A device: flushing may not be supported, which is no failure of the write.
        if (flush_ == Flush::ToDisk) fs_.fsync(fd_);
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
