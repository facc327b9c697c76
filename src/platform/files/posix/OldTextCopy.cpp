#include "platform/files/posix/OldTextCopy.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>
#include <utility>

#include "platform/files/posix/PendingTemporaries.h"
#include "platform/files/posix/SystemError.h"

namespace zozuz {

namespace {

constexpr std::size_t kPiece = 1 << 20;
constexpr int kMostAttempts = 100;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool continuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// At most `length` bytes of `text`, its start or its end, never splitting a UTF-8 character.
std::string shortened(std::string_view text, std::size_t length, bool keepEnd) {
    if (text.size() <= length) return std::string(text);
    if (keepEnd) {
        std::size_t from = text.size() - length;
        while (from < text.size() && continuesCharacter(text[from])) ++from;
        return std::string(text.substr(from));
    }
    std::size_t to = length;
    while (to > 0 && continuesCharacter(text[to])) --to;
    return std::string(text.substr(0, to));
}

std::string suffix(int attempt) { return ".zozuz-backup" + (attempt == 0 ? std::string() : "-" + std::to_string(attempt + 1)); }

// Beside the file, the copy is hidden and carries the file's name.
std::string besideName(const std::string& target, int attempt) {
    const std::string end = suffix(attempt);
    return "." + shortened(nameOf(target), NAME_MAX - 1 - end.size(), false) + end;
}

// In the cache folder, the file's whole path tells whose copy it is: "%home%li%notes.txt.zozuz-backup".
std::string spareName(const std::string& target, int attempt) {
    std::string path = target;
    if (char* real = ::realpath(folderOf(target).c_str(), nullptr)) {
        path = std::string(real) + "/" + nameOf(target);
        std::free(real);
    }
    for (char& c : path) {
        if (c == '/') c = '%';
    }
    const std::string end = suffix(attempt);
    return shortened(path, NAME_MAX - end.size(), true) + end;
}

std::string userCacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/zozuz/backups";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.cache/zozuz/backups";
    return {};
}

// Makes the folder and whatever is missing above it, each for the user alone.
bool makeFolder(FileSystem& fs, const std::string& folder, int depth = 0) {
    if (fs.mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return true;
    if (errno != ENOENT || depth == 8 || folderOf(folder) == folder) return false;
    return makeFolder(fs, folderOf(folder), depth + 1) && (fs.mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST);
}

// Copies everything `from` holds to the start of `to`; the bytes copied in `copied`.
bool copyAll(FileSystem& fs, int from, int to, std::uint64_t& copied) {
    const auto buffer = std::make_unique_for_overwrite<char[]>(kPiece);
    copied = 0;
    for (;;) {
        const ssize_t got = retryInterrupted([&] { return fs.pread(from, buffer.get(), kPiece, static_cast<off_t>(copied)); });
        if (got < 0) return false;
        if (got == 0) return true;
        for (ssize_t done = 0; done < got;) {
            const ssize_t n = retryInterrupted([&] {
                return fs.pwrite(to, buffer.get() + done, static_cast<std::size_t>(got - done), static_cast<off_t>(copied));
            });
            if (n < 0) return false;
            if (n == 0) {
                errno = ENOSPC;
                return false;
            }
            done += n;
            copied += static_cast<std::uint64_t>(n);
        }
    }
}

void flushFolder(FileSystem& fs, const std::string& folder) {
    const int fd = retryInterrupted([&] { return fs.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0); });
    if (fd < 0) return;
    fs.fsync(fd);
    fs.close(fd);
}

// Writes the copy into `folder`. It has no name until it is complete and on the disk where the file
// system allows; otherwise an interrupt removes it until then.
std::string writeCopy(FileSystem& fs, int source, const std::string& folder, const std::string& target,
                      std::string (*nameFor)(const std::string&, int)) {
    std::string name;
    bool named = false;
    int slot = -1;
    int fd = retryInterrupted([&] { return fs.open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); });
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < kMostAttempts; ++attempt) {
            name = folder + "/" + nameFor(target, attempt);
            slot = PendingTemporaries::add(name.c_str());
            fd = retryInterrupted([&] {
                return fs.open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
            });
            if (fd >= 0) {
                named = true;
                break;
            }
            const int error = errno;
            PendingTemporaries::remove(std::exchange(slot, -1));
            errno = error;
            if (errno != EEXIST) break;
        }
    }
    if (fd < 0) return {};

    std::uint64_t copied = 0;
    bool done = copyAll(fs, source, fd, copied) && retryInterrupted([&] { return fs.fsync(fd); }) == 0;
    if (done && !named) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0; attempt < kMostAttempts; ++attempt) {
            name = folder + "/" + nameFor(target, attempt);
            if (retryInterrupted([&] { return fs.link(self.c_str(), name.c_str()); }) == 0) break;
            name.clear();
            if (errno != EEXIST) break;
        }
        done = !name.empty();
    }
    const int error = errno;
    fs.close(fd);
    if (!done) {
        if (named) fs.unlink(name.c_str());
        PendingTemporaries::remove(slot);
        errno = error;
        return {};
    }
    PendingTemporaries::remove(slot);
    flushFolder(fs, folder);
    return name;
}

}  // namespace

std::string keepOldText(FileSystem& fs, int fd, const std::string& target, const std::string& spareFolder) {
    // The file is held open for writing only; it is read through a second handle of the same file,
    // whatever has become of its name meanwhile.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const int source = retryInterrupted([&] { return fs.open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY, 0); });
    if (source < 0) return {};
    std::string copy = writeCopy(fs, source, folderOf(target), target, besideName);
    if (copy.empty() && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        // A folder that takes no new files leaves the copy to the user's own folder.
        const std::string spare = spareFolder.empty() ? userCacheFolder() : spareFolder;
        if (spare.empty()) {
            errno = ENOENT;
        } else if (makeFolder(fs, spare)) {
            copy = writeCopy(fs, source, spare, target, spareName);
        }
    }
    const int error = errno;
    fs.close(source);
    errno = error;
    return copy;
}

bool putOldTextBack(FileSystem& fs, const std::string& copy, int fd) {
    const int source = retryInterrupted([&] { return fs.open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY, 0); });
    if (source < 0) return false;
    std::uint64_t copied = 0;
    const bool done = copyAll(fs, source, fd, copied) &&
                      retryInterrupted([&] { return fs.ftruncate(fd, static_cast<off_t>(copied)); }) == 0 &&
                      retryInterrupted([&] { return fs.fsync(fd); }) == 0;
    const int error = errno;
    fs.close(source);
    errno = error;
    return done;
}

}  // namespace zozuz
