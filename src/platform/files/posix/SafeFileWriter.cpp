#include "platform/files/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"
#include "platform/files/NotRegularFile.h"
#include "platform/files/posix/FileSystem.h"
#include "platform/files/posix/OldTextCopy.h"
#include "platform/files/posix/PendingTemporaries.h"
#include "platform/files/posix/SystemError.h"

namespace zozuz {

struct SafeFileWriter::OldFile {
    uid_t owner;
    gid_t group;
    mode_t mode;
};

namespace {

// The most bytes one write request hands to the system.
constexpr std::size_t kPiece = 8 << 20;
// As many links as the system itself follows before it gives up.
constexpr int kMostLinks = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// The descriptor a name of the form /dev/fd/N or /proc/self/fd/N stands for, or -1. Such a name is
// an open file of this process: reopening it would lose its position and its append mode, and
// replacing it would replace whatever file it happens to be.
int descriptorNamed(const std::string& path) {
    for (const std::string& prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
                                      std::string("/proc/thread-self/fd/"), "/proc/" + std::to_string(::getpid()) + "/fd/"}) {
        if (!startsWith(path, prefix) || path.size() == prefix.size() || path.size() - prefix.size() > 9) continue;
        if (!std::all_of(path.begin() + static_cast<std::ptrdiff_t>(prefix.size()), path.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        return std::stoi(path.substr(prefix.size()));
    }
    return -1;
}

// A name of fixed length for the new file, whatever the target's name is, so that every name the
// file system takes can be saved to.
std::string temporaryName() {
    unsigned char random[4] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != sizeof random) {
        const auto pid = static_cast<unsigned>(::getpid());
        static unsigned counter = 0;
        const unsigned mixed = pid * 2654435761u + ++counter;
        for (int i = 0; i < 4; ++i) random[i] = static_cast<unsigned char>(mixed >> (8 * i));
    }
    char name[16];
    std::snprintf(name, sizeof name, ".zozuz-%02x%02x%02x%02x", random[0], random[1], random[2], random[3]);
    return name;
}

// Whether the file carries extended attributes that a new file would not have: access control
// lists and attributes of the user's, which only writing the file in place keeps. The system's own
// attributes (security labels, a file system's bookkeeping) are left out: a new file in the same
// folder gets its own.
bool hasOwnAttributes(FileSystem& fs, int fd, int& error) {
    error = 0;
    const ssize_t size = fs.flistxattr(fd, nullptr, 0);
    if (size < 0) {
        if (errno != ENOTSUP) error = errno;
        return false;
    }
    std::string names(static_cast<std::size_t>(size), '\0');
    const ssize_t got = size == 0 ? 0 : fs.flistxattr(fd, names.data(), names.size());
    if (got < 0) {
        // The list grew in between; whatever it holds now, the file has attributes.
        if (errno == ERANGE) return true;
        error = errno;
        return false;
    }
    names.resize(static_cast<std::size_t>(got));
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = std::min(names.find('\0', at), names.size());
        const std::string name = names.substr(at, end - at);
        if (startsWith(name, "user.") || startsWith(name, "trusted.") || name == "system.posix_acl_access" ||
            name == "system.nfs4_acl" || name == "system.richacl") {
            return true;
        }
        at = end + 1;
    }
    return false;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return mask;
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string fileName, FileSystem& fileSystem)
    : SafeFileWriter(std::move(fileName), fileSystem, Options{}) {}

SafeFileWriter::SafeFileWriter(std::string fileName, FileSystem& fileSystem, Options options)
    : fs_(fileSystem), fileName_(std::move(fileName)), flush_(options.flush) {
    // The destructor does not run when the constructor throws, so a failure cleans up here.
    try {
        open(options);
    } catch (...) {
        abandon();
        throw;
    }
}

SafeFileWriter::SafeFileWriter(StandardStream stream, std::string name, FileSystem& fileSystem, Flush flush,
                               const FileIdentity* reading)
    : fs_(fileSystem), fileName_(std::move(name)), handle_(stream.number), ownsHandle_(false), flush_(flush) {
    refuseTheFileBeingRead(reading);
}

void SafeFileWriter::refuseTheFileBeingRead(const FileIdentity* reading) const {
    struct stat status {};
    if (reading == nullptr || handle_ < 0 || fs_.fstat(static_cast<int>(handle_), &status) != 0) return;
    // A device or a pipe read and written at once (a terminal) loses nothing.
    if (!S_ISREG(status.st_mode)) return;
    if (*reading == FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)})
        failCreate(fileName_ + ": is the file being read, and cannot be written while it is read");
}

SafeFileWriter::~SafeFileWriter() {
    if (!committed_) abandon();
}

void SafeFileWriter::open(const Options& options) {
    if (fileName_.empty()) failCreate(ENOENT);
    if (fileName_.back() == '/') failCreate(EISDIR);

    // Standard output by a name of the same file is written where it stands, as "-" is.
    struct stat status {};
    struct stat output {};
    if (options.standardOutput.number >= 0 && fs_.fstat(options.standardOutput.number, &output) == 0 &&
        fs_.stat(fileName_.c_str(), &status) == 0 && status.st_dev == output.st_dev && status.st_ino == output.st_ino) {
        refuseUnlessRegular(S_ISREG(status.st_mode), options.accept);
        handle_ = options.standardOutput.number;
        ownsHandle_ = false;
        refuseTheFileBeingRead(options.reading);
        return;
    }

    // Follow the links one by one. A step that cannot be examined is an error: replacing the link
    // itself would leave the file it points to with its old text.
    std::string path = fileName_;
    bool exists = false;
    for (int depth = 0;; ++depth) {
        if (depth == kMostLinks) failCreate(ELOOP);
        if (const int descriptor = descriptorNamed(path); descriptor >= 0) {
            if (fs_.fstat(descriptor, &status) != 0) failCreate(errno);
            refuseUnlessRegular(S_ISREG(status.st_mode), options.accept);
            handle_ = fs_.dup(descriptor);
            if (handle_ < 0) failCreate(errno);
            refuseTheFileBeingRead(options.reading);
            return;
        }
        if (fs_.lstat(path.c_str(), &status) != 0) {
            if (errno != ENOENT) failCreate(errno);
            break;
        }
        exists = true;
        if (!S_ISLNK(status.st_mode)) break;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = fs_.readlink(path.c_str(), link.data(), link.size());
        if (length < 0) failCreate(errno);
        if (length == 0 || static_cast<std::size_t>(length) >= link.size()) failCreate(ENAMETOOLONG);
        link.resize(static_cast<std::size_t>(length));
        path = link.front() == '/' ? link : folderOf(path) + "/" + link;
        exists = false;
    }
    target_ = path;
    folder_ = folderOf(target_);

    if (!exists) {
        if (!openTemporary(nullptr)) failCreate(EACCES);
        return;
    }
    if (S_ISDIR(status.st_mode)) failCreate(EISDIR);
    refuseUnlessRegular(S_ISREG(status.st_mode), options.accept);
    if (!S_ISREG(status.st_mode)) {
        // A device or a pipe cannot be replaced by a rename; it is written where it is.
        handle_ = retryInterrupted([&] { return fs_.open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY, 0); });
        if (handle_ < 0) failCreate(errno);
        return;
    }

    // Opening the old file for writing asks the system whether this user may change it, and holds
    // it for the lock that keeps another program's save and this one apart. Should a FIFO have taken
    // its name meanwhile, the open fails at once instead of waiting for a reader (a regular file
    // writes the same either way).
    const int wait = options.accept == Accept::RegularFiles ? O_NONBLOCK : 0;
    targetHandle_ = retryInterrupted([&] { return fs_.open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | wait, 0); });
    if (targetHandle_ < 0) failCreate(errno);
    if (fs_.fstat(targetHandle_, &status) != 0) failCreate(errno);
    refuseUnlessRegular(S_ISREG(status.st_mode), options.accept);
    // A file nobody may write is read-only, also for an administrator, whom the system would let
    // write it anyway.
    if ((status.st_mode & 0222) == 0) failCreate(EACCES);
    const FileIdentity identity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
    const bool reading = options.reading != nullptr && *options.reading == identity;
    // The file being read holds a shared lock of the reader's own, which only a shared lock here
    // can live with.
    const int lock = (reading ? LOCK_SH : LOCK_EX) | LOCK_NB;
    if (retryInterrupted([&] { return fs_.flock(targetHandle_, lock); }) != 0 && errno == EWOULDBLOCK) {
        failCreate(fileName_ + ": locked by another program");
    }

    int error = 0;
    const bool attributes = hasOwnAttributes(fs_, static_cast<int>(targetHandle_), error);
    if (error != 0) failCreate(error);
    const OldFile old{status.st_uid, status.st_gid, static_cast<mode_t>(status.st_mode & 07777)};
    if (status.st_nlink > 1 || attributes || !openTemporary(&old)) {
        openInPlace(options, reading, static_cast<std::uint64_t>(status.st_size));
    }
}

bool SafeFileWriter::openTemporary(const OldFile* old) {
    // A file without a name cannot be read by anyone and is gone if the process dies; it gets a name
    // only once it is complete.
    int fd = retryInterrupted([&] { return fs_.open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); });
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without nameless files gets a named one, readable by its owner alone.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = folder_ + "/" + temporaryName();
            pendingSlot_ = PendingTemporaries::add(name.c_str());
            fd = retryInterrupted([&] {
                return fs_.open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
            });
            if (fd >= 0) {
                temporary_ = name;
                break;
            }
            const int error = errno;
            PendingTemporaries::remove(pendingSlot_);
            pendingSlot_ = -1;
            errno = error;
            if (errno != EEXIST) break;
        }
    }
    if (fd < 0) {
        // A folder that takes no new files leaves writing the old file in place.
        if (old != nullptr && (errno == EACCES || errno == EPERM)) return false;
        failCreate(errno);
    }
    handle_ = fd;
    replace_ = true;
    seekable_ = true;

    // The owner, group and permission bits are the new file's before anyone can reach it by a name.
    const uid_t owner = old != nullptr ? old->owner : static_cast<uid_t>(-1);
    const gid_t group = old != nullptr ? old->group : static_cast<gid_t>(-1);
    const mode_t mode = old != nullptr ? old->mode : (0666 & ~currentUmask());
    if (old != nullptr && fs_.fchown(fd, owner, group) != 0) {
        const int error = errno;
        if (error != EPERM) failCreate(error);
        // The new file could not be given the old one's owner or group: the old file is kept and
        // written over instead.
        fs_.close(handle_);
        handle_ = -1;
        if (!temporary_.empty()) fs_.unlink(temporary_.c_str());
        temporary_.clear();
        PendingTemporaries::remove(pendingSlot_);
        pendingSlot_ = -1;
        replace_ = false;
        seekable_ = false;
        return false;
    }
    if (fs_.fchmod(fd, mode) != 0) failCreate(errno);
    return true;
}

void SafeFileWriter::openInPlace(const Options& options, bool reading, std::uint64_t oldSize) {
    // Overwriting the file that is still being read would feed the output back into the input.
    if (reading) failCreate(fileName_ + ": is the file being read, and cannot be written in place");
    handle_ = targetHandle_;
    targetHandle_ = -1;
    inPlace_ = true;
    seekable_ = true;
    // The old text goes aside first, so that neither a failure nor a kill partway through the
    // overwrite costs it.
    if (oldSize > 0) {
        backup_ = keepOldText(fs_, static_cast<int>(handle_), target_, options.backupFolder);
        if (backup_.empty()) {
            failCreate(fileName_ + ": the old text could not be copied aside before writing over it: " +
                       std::strerror(errno));
        }
    }
    // Room for the whole new text first, so that a full disk fails before any old byte is lost.
    if (options.reserve > 0 && retryInterrupted([&] {
            return fs_.fallocate(handle_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(options.reserve));
        }) != 0 && errno != EOPNOTSUPP && errno != ENOSYS) {
        failWrite(errno);
    }
}

void SafeFileWriter::write(std::string_view bytes) {
    if (handle_ < 0) failWrite(EBADF);
    // Large texts go out in pieces of a bounded size, which every file system takes in one call.
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), kPiece);
        const ssize_t n = retryInterrupted([&] { return fs_.write(handle_, bytes.data(), piece); });
        if (n < 0) failWrite(errno);
        if (n == 0) failWrite(ENOSPC);
        overwriting_ = inPlace_;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        written_ += static_cast<std::uint64_t>(n);
    }
}

void SafeFileWriter::writeAt(std::uint64_t position, std::string_view bytes) {
    if (handle_ < 0 || !seekable_) failWrite(ESPIPE);
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), kPiece);
        const ssize_t n = retryInterrupted(
            [&] { return fs_.pwrite(handle_, bytes.data(), piece, static_cast<off_t>(position)); });
        if (n < 0) failWrite(errno);
        if (n == 0) failWrite(ENOSPC);
        overwriting_ = inPlace_;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        position += static_cast<std::uint64_t>(n);
    }
}

void SafeFileWriter::commit() {
    if (handle_ < 0 || committed_) failWrite(EBADF);
    if (!ownsHandle_) {
        // A standard stream stays open for whoever writes to it next.
        handle_ = -1;
        committed_ = true;
        return;
    }
    if (!replace_) {
        // Cutting the file short writes over its old text too.
        overwriting_ = overwriting_ || inPlace_;
        if (inPlace_ && retryInterrupted([&] { return fs_.ftruncate(handle_, static_cast<off_t>(written_)); }) != 0) {
            failWrite(errno);
        }
        // A device or pipe may not be flushable, which is no failure of the write. The copy of an
        // old text is given up only once the new one is on the disk, whatever the caller asked.
        const bool flush = flush_ == Flush::ToDisk || !backup_.empty();
        if (flush && retryInterrupted([&] { return fs_.fsync(handle_); }) != 0 &&
            (inPlace_ || (errno != EINVAL && errno != EROFS && errno != ENOTSUP))) {
            failWrite(errno);
        }
        const int fd = handle_;
        handle_ = -1;
        // Linux closes the file even when close is interrupted, so that is no failure.
        if (fs_.close(fd) != 0 && errno != EINTR) failWrite(errno);
        committed_ = true;
        if (!backup_.empty()) fs_.unlink(backup_.c_str());
        backup_.clear();
        return;
    }

    if (flush_ == Flush::ToDisk && retryInterrupted([&] { return fs_.fsync(handle_); }) != 0) failWrite(errno);
    if (temporary_.empty()) {
        // The complete file gets a short name of its own, which an interrupt from here on removes.
        const std::string self = "/proc/self/fd/" + std::to_string(handle_);
        for (int attempt = 0; attempt < 100 && temporary_.empty(); ++attempt) {
            const std::string name = folder_ + "/" + temporaryName();
            pendingSlot_ = PendingTemporaries::add(name.c_str());
            if (retryInterrupted([&] { return fs_.link(self.c_str(), name.c_str()); }) == 0) {
                temporary_ = name;
                break;
            }
            const int error = errno;
            PendingTemporaries::remove(pendingSlot_);
            pendingSlot_ = -1;
            if (error != EEXIST) failCreate(error);
        }
        if (temporary_.empty()) failCreate(EEXIST);
    }
    const int fd = handle_;
    handle_ = -1;
    if (fs_.close(fd) != 0 && errno != EINTR) failWrite(errno);
    if (fs_.rename(temporary_.c_str(), target_.c_str()) != 0) failCreate(errno);
    PendingTemporaries::remove(pendingSlot_);
    pendingSlot_ = -1;
    temporary_.clear();
    committed_ = true;
    if (targetHandle_ >= 0) {
        fs_.close(targetHandle_);
        targetHandle_ = -1;
    }
    // Make the rename itself durable; a folder that cannot be flushed is no reason to fail.
    if (flush_ != Flush::ToDisk) return;
    const int folder = retryInterrupted([&] { return fs_.open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0); });
    if (folder >= 0) {
        fs_.fsync(folder);
        fs_.close(folder);
    }
}

void SafeFileWriter::abandon() noexcept {
    if (inPlace_) {
        // A file left partly written over by a failure of the caller's own gets its old text back;
        // after a failure of the writing, which the error reports with the copy's name, the disk is
        // left alone.
        const bool restored = handle_ >= 0 && overwriting_ && !backupNamed_ && !backup_.empty() &&
                              putOldTextBack(fs_, backup_, static_cast<int>(handle_));
        // Give back the room reserved beyond the file's end: cutting a file to its own length frees it.
        struct stat status {};
        if (handle_ >= 0 && !restored && fs_.fstat(handle_, &status) == 0) fs_.ftruncate(handle_, status.st_size);
        // The copy goes once the file holds its old text again; otherwise it is the only one left.
        if (!backup_.empty() && (restored || !overwriting_)) fs_.unlink(backup_.c_str());
        backup_.clear();
    }
    if (handle_ >= 0 && ownsHandle_) fs_.close(handle_);
    handle_ = -1;
    if (!temporary_.empty()) {
        fs_.unlink(temporary_.c_str());
        temporary_.clear();
    }
    PendingTemporaries::remove(pendingSlot_);
    pendingSlot_ = -1;
    if (targetHandle_ >= 0) {
        fs_.close(targetHandle_);
        targetHandle_ = -1;
    }
}

void SafeFileWriter::failCreate(int error) const { failCreate(systemReason(fileName_, error)); }

void SafeFileWriter::failCreate(const std::string& reason) const {
    throw EFCreateError(formatMessage(messages::kCannotCreateFile, {std::string_view(fileName_)}), reason);
}

void SafeFileWriter::refuseUnlessRegular(bool regular, Accept accept) const {
    if (!regular && accept == Accept::RegularFiles) failCreate(notARegularFile(fileName_));
}

void SafeFileWriter::failWrite(int error) {
    std::string message(messages::kStreamWriteError);
    if (overwriting_ && !backup_.empty()) {
        message += ". The old text is kept in " + backup_;
        backupNamed_ = true;
    }
    throw EWriteError(message, systemReason(fileName_, error));
}

}  // namespace zozuz
