#include "platform/files/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../../../document/TempFolder.h"
#include "OrdinaryUser.h"
#include "base/Exception.h"
#include "platform/files/InterruptCleanup.h"
#include "platform/files/posix/FileSystem.h"

namespace zozuz {
namespace {

// A file system that fails its k-th call (counting from 0) in the way chosen: with an error, with a
// write that takes only half of its bytes, or with an interruption.
class FaultyFileSystem : public FileSystem {
public:
    enum class Fault { Error, ShortWrite, Interrupt };
    Fault fault = Fault::Error;
    int error = EIO;
    int failAt = -1;
    int calls = 0;
    bool tripped = false;
    bool wroteFirst = false;  // some bytes were written before the failure

    int open(const char* path, int flags, mode_t mode) override {
        return trip(true) ? -1 : FileSystem::open(path, flags, mode);
    }
    int fstat(int fd, struct stat* status) override { return trip(false) ? -1 : FileSystem::fstat(fd, status); }
    int stat(const char* path, struct stat* status) override { return trip(false) ? -1 : FileSystem::stat(path, status); }
    int lstat(const char* path, struct stat* status) override { return trip(false) ? -1 : FileSystem::lstat(path, status); }
    ssize_t readlink(const char* path, char* buffer, std::size_t size) override {
        return trip(false) ? -1 : FileSystem::readlink(path, buffer, size);
    }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        return trip(true) ? -1 : FileSystem::read(fd, buffer, size);
    }
    ssize_t pread(int fd, void* buffer, std::size_t size, off_t offset) override {
        return trip(true) ? -1 : FileSystem::pread(fd, buffer, size, offset);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        const std::size_t take = shortens() ? std::max<std::size_t>(1, size / 2) : size;
        if (take == size && trip(true)) return -1;
        wroteFirst = true;
        return FileSystem::write(fd, buffer, take);
    }
    ssize_t pwrite(int fd, const void* buffer, std::size_t size, off_t offset) override {
        const std::size_t take = shortens() ? std::max<std::size_t>(1, size / 2) : size;
        if (take == size && trip(true)) return -1;
        wroteFirst = true;
        return FileSystem::pwrite(fd, buffer, take, offset);
    }
    int fsync(int fd) override { return trip(true) ? -1 : FileSystem::fsync(fd); }
    int close(int fd) override {
        // The system closes the file whatever close reports.
        const bool fails = trip(true);
        const int result = FileSystem::close(fd);
        return fails ? -1 : result;
    }
    int rename(const char* from, const char* to) override { return trip(false) ? -1 : FileSystem::rename(from, to); }
    int unlink(const char* path) override { return trip(false) ? -1 : FileSystem::unlink(path); }
    int link(const char* from, const char* to) override { return trip(false) ? -1 : FileSystem::link(from, to); }
    int fchown(int fd, uid_t owner, gid_t group) override {
        return trip(false) ? -1 : FileSystem::fchown(fd, owner, group);
    }
    int fchmod(int fd, mode_t mode) override { return trip(false) ? -1 : FileSystem::fchmod(fd, mode); }
    int fallocate(int fd, int mode, off_t offset, off_t length) override {
        return trip(true) ? -1 : FileSystem::fallocate(fd, mode, offset, length);
    }
    int ftruncate(int fd, off_t length) override { return trip(true) ? -1 : FileSystem::ftruncate(fd, length); }
    int flock(int fd, int operation) override { return trip(true) ? -1 : FileSystem::flock(fd, operation); }
    int dup(int fd) override { return trip(false) ? -1 : FileSystem::dup(fd); }
    ssize_t flistxattr(int fd, char* names, std::size_t size) override {
        return trip(false) ? -1 : FileSystem::flistxattr(fd, names, size);
    }

private:
    // Counts the call; true when it is the one to fail. Only calls that the system can interrupt
    // are interrupted, and only writes are shortened.
    bool trip(bool interruptible) {
        if (calls++ != failAt) return false;
        if (fault == Fault::ShortWrite || (fault == Fault::Interrupt && !interruptible)) return false;
        tripped = true;
        errno = fault == Fault::Interrupt ? EINTR : error;
        return true;
    }
    // True when this write is the one to take only half of its bytes.
    bool shortens() {
        if (fault != Fault::ShortWrite || calls != failAt) return false;
        ++calls;
        tripped = true;
        return true;
    }
};

std::string errorText(int error) { return std::strerror(error); }

// The names in a folder, hidden ones included.
std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

const std::string kOld = "the old text, which must survive every failure\r\n";

std::string newText() {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "line " + std::to_string(i) + " of the new text\r\n";
    return text;
}

void save(const std::string& name, FileSystem& fs, std::string_view text) {
    SafeFileWriter writer(name, fs);
    // Several writes, so that a failure can fall between them.
    for (std::size_t at = 0; at < text.size(); at += 40000) writer.write(text.substr(at, 40000));
    writer.commit();
}

TEST(SafeFileWriter, EveryFailingCallKeepsTheOldTextOrGivesTheNewOneWhole) {
    const std::string fresh = newText();
    struct Case {
        const char* name;
        FaultyFileSystem::Fault fault;
        int error;
    };
    const Case faults[] = {{"EIO", FaultyFileSystem::Fault::Error, EIO},
                           {"ENOSPC", FaultyFileSystem::Fault::Error, ENOSPC},
                           {"EDQUOT", FaultyFileSystem::Fault::Error, EDQUOT},
                           {"short write", FaultyFileSystem::Fault::ShortWrite, 0},
                           {"EINTR", FaultyFileSystem::Fault::Interrupt, 0}};
    // A link to an existing file (replaced by a rename), a new name, and a file with a second name
    // (written over in place, its old text copied aside first).
    enum class Target { Link, New, HardLinked };
    const std::string notCopied = ": the old text could not be copied aside before writing over it: ";
    const std::string keptIn = ". The old text is kept in ";
    int runs = 0, oldKept = 0, newComplete = 0, oldInItsCopy = 0, lost = 0, temporariesLeft = 0, copiesLeft = 0;
    for (const Target kind : {Target::Link, Target::New, Target::HardLinked}) {
        for (const Case& c : faults) {
            for (int k = 0;; ++k) {
                TempFolder folder;
                const std::string file = folder.path("file.txt");
                std::string name = file;
                if (kind != Target::New) folder.write("file.txt", kOld);
                if (kind == Target::Link) {
                    name = folder.path("link.txt");
                    std::filesystem::create_symlink("file.txt", name);
                }
                if (kind == Target::HardLinked) std::filesystem::create_hard_link(file, folder.path("other.txt"));
                const std::set<std::string> before = namesIn(folder.root());

                FaultyFileSystem fs;
                fs.fault = c.fault;
                fs.error = c.error;
                fs.failAt = k;
                bool failed = false;
                std::string kept;  // the copy of the old text that the error names
                try {
                    save(name, fs, fresh);
                } catch (const EFCreateError& error) {
                    failed = true;
                    EXPECT_EQ(error.message(), "Cannot create file " + name);
                    EXPECT_TRUE(error.reason() == name + ": " + errorText(c.error) ||
                                (kind == Target::HardLinked && error.reason() == name + notCopied + errorText(c.error)))
                        << error.reason() << ", " << c.name << " at call " << k;
                } catch (const EWriteError& error) {
                    failed = true;
                    const std::size_t note = error.message().find(keptIn);
                    if (note != std::string::npos) kept = error.message().substr(note + keptIn.size());
                    EXPECT_EQ(error.message().substr(0, note), "Stream write error");
                    EXPECT_EQ(error.reason(), name + ": " + errorText(c.error)) << c.name << " at call " << k;
                }
                ++runs;
                const bool exists = std::filesystem::exists(file);
                const std::string now = exists ? TempFolder::read(file) : "";
                const bool whole = now == fresh || (exists && now == kOld) || (!exists && kind == Target::New);
                if (now == fresh) {
                    ++newComplete;
                } else if (whole) {
                    ++oldKept;
                } else if (!kept.empty() && TempFolder::read(kept) == kOld) {
                    ++oldInItsCopy;
                } else {
                    ++lost;
                }
                // Besides the file, only a copy of the old text may stay: the one the error names, or
                // one whose removal failed after a save that succeeded.
                std::set<std::string> expected = before;
                if (exists) expected.insert("file.txt");
                const std::string copy = folder.path(".file.txt.zozuz-backup");
                if (!kept.empty()) {
                    EXPECT_EQ(kept, copy) << c.name << " at call " << k;
                }
                if (std::filesystem::exists(copy) && (!kept.empty() || !failed) && TempFolder::read(copy) == kOld) {
                    expected.insert(".file.txt.zozuz-backup");
                    if (kept.empty()) ++copiesLeft;
                }
                if (namesIn(folder.root()) != expected) ++temporariesLeft;
                EXPECT_TRUE(failed || now == fresh) << c.name << " at call " << k << ": success reported";
                if (kind == Target::Link) {
                    EXPECT_TRUE(std::filesystem::is_symlink(name));
                }
                if (kind == Target::HardLinked) {
                    EXPECT_EQ(TempFolder::read(folder.path("other.txt")), now);
                }
                // A short write or an interruption is no failure at all.
                if (c.fault != FaultyFileSystem::Fault::Error) {
                    EXPECT_FALSE(failed) << c.name << " at call " << k;
                }
                if (!fs.tripped) {
                    EXPECT_FALSE(failed);
                    break;  // every call has had its turn
                }
                // Replaced by a rename, the file holds the old text or the new one whole. Written
                // over in place, only a failure after the writing began leaves it partly written,
                // and then the error names the copy that holds the old text.
                EXPECT_TRUE(whole || (kind == Target::HardLinked && fs.wroteFirst && !kept.empty()))
                    << c.name << " at call " << k;
            }
        }
    }
    std::printf("fault injection: %d runs, old text kept %d, new text complete %d, old text in the copy the error "
                "names %d, lost %d, temporary files left %d, copies left after a save that succeeded %d\n",
                runs, oldKept, newComplete, oldInItsCopy, lost, temporariesLeft, copiesLeft);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(temporariesLeft, 0);
}

// A file system that has no nameless files, as some network file systems.
class NamedOnlyFileSystem : public FileSystem {
public:
    int open(const char* path, int flags, mode_t mode) override {
        if ((flags & O_TMPFILE) == O_TMPFILE) {
            errno = EOPNOTSUPP;
            return -1;
        }
        return FileSystem::open(path, flags, mode);
    }
};

TEST(SafeFileWriter, TheNewTextIsNeverReadableByThoseTheOldFileKeptOut) {
    NamedOnlyFileSystem namedOnly;
    // Replaced by a rename, and written over in place (a second name), where the old text's copy
    // must be as private as the file.
    for (const bool inPlace : {false, true}) {
        for (FileSystem* fs : {&systemFiles(), static_cast<FileSystem*>(&namedOnly)}) {
            TempFolder folder;
            const std::string file = folder.write("secret.txt", "old secret");
            ::chmod(file.c_str(), 0600);
            if (inPlace) std::filesystem::create_hard_link(file, folder.path("other.txt"));
            SafeFileWriter writer(file, *fs);
            writer.write("new secret");
            // Halfway through, nothing in the folder can be read by anyone but the owner.
            for (const auto& entry : std::filesystem::directory_iterator(folder.root())) {
                struct stat status {};
                ASSERT_EQ(::lstat(entry.path().c_str(), &status), 0);
                EXPECT_EQ(status.st_mode & 077, 0u) << entry.path();
            }
            if (inPlace) {
                EXPECT_EQ(TempFolder::read(folder.path(".secret.txt.zozuz-backup")), "old secret");
            }
            writer.commit();
            struct stat status {};
            ASSERT_EQ(::stat(file.c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, 0600u);
            EXPECT_EQ(TempFolder::read(file), "new secret");
            EXPECT_EQ(folder.entries(), inPlace ? 2u : 1u);
        }
    }
}

TEST(SafeFileWriter, AnInterruptRemovesTheTemporaryFileAndEndsByItsSignal) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempFolder folder;
        const std::string file = folder.write("out.txt", "old");
        const pid_t child = ::fork();
        if (child == 0) {
            removeTemporaryFilesOnInterrupt();
            NamedOnlyFileSystem fs;  // so that the new file has a name to remove
            SafeFileWriter writer(file, fs);
            writer.write("new");
            ::raise(signal);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(folder.entries(), 1u);
        EXPECT_EQ(TempFolder::read(file), "old");
    }
}

TEST(SafeFileWriter, AFileOfAGroupTheUserIsNotInKeepsItsGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the administrator to give the file away";
    TempFolder folder;
    const std::string file = folder.write("shared.txt", "old");
    // The ordinary user owns the file and the folder, but the file's group is one it is not in.
    ASSERT_EQ(::chown(folder.root().c_str(), kOrdinaryUser, kOrdinaryUser), 0);
    ASSERT_EQ(::chown(file.c_str(), kOrdinaryUser, 0), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    EXPECT_EQ(asOrdinaryUser([&] {
                  SafeFileWriter writer(file);
                  writer.write("new");
                  writer.commit();
                  return true;
              }),
              0);
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_gid, 0u);
    EXPECT_EQ(status.st_uid, kOrdinaryUser);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(TempFolder::read(file), "new");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(SafeFileWriter, AFileWithSeveralNamesKeepsThemAll) {
    // Committed, and given up by its caller halfway (as when the input fails to read), which puts
    // the old text back.
    for (const bool commit : {true, false}) {
        TempFolder folder;
        const std::string file = folder.write("one.txt", "a longer old text");
        const std::string other = folder.path("two.txt");
        std::filesystem::create_hard_link(file, other);
        {
            SafeFileWriter writer(file);
            writer.write("new");
            if (commit) writer.commit();
        }
        const std::string expected = commit ? "new" : "a longer old text";
        EXPECT_EQ(TempFolder::read(file), expected);
        EXPECT_EQ(TempFolder::read(other), expected);
        EXPECT_EQ(std::filesystem::hard_link_count(file), 2u);
        EXPECT_EQ(folder.entries(), 2u);  // no copy of the old text left
    }
}

// A file system on which the target's folder takes no new files, refused with the error chosen.
class ClosedFolder : public FileSystem {
public:
    ClosedFolder(std::string folder, int error) : folder_(std::move(folder)), error_(error) {}
    int open(const char* path, int flags, mode_t mode) override {
        const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
        if (creates && std::string(path).rfind(folder_, 0) == 0) {
            errno = error_;
            return -1;
        }
        return FileSystem::open(path, flags, mode);
    }

private:
    std::string folder_;
    int error_;
};

TEST(SafeFileWriter, AFolderThatTakesNoNewFilesGetsTheFileWrittenInPlaceAndItsCopyElsewhere) {
    // Refused for want of permission, or by a rule of the system (an immutable folder, a folder
    // whose sticky bit keeps out another user's files).
    for (const int error : {EACCES, EPERM}) {
        TempFolder folder;
        TempFolder cache;
        const std::string file = folder.write("notes.txt", "the old notes");
        const auto inode = [&] {
            struct stat status {};
            ::stat(file.c_str(), &status);
            return status.st_ino;
        };
        const auto before = inode();
        ClosedFolder fs(folder.root().string(), error);
        SafeFileWriter::Options options;
        options.backupFolder = cache.path("zozuz/backups");
        SafeFileWriter writer(file, fs, options);
        writer.write("new");
        // The copy of the old text lies in the spare folder, named after the file's whole path.
        std::vector<std::filesystem::path> copies;
        for (const auto& entry : std::filesystem::directory_iterator(options.backupFolder)) copies.push_back(entry.path());
        ASSERT_EQ(copies.size(), 1u) << errorText(error);
        std::string flat = std::filesystem::canonical(folder.root()).string() + "/notes.txt";
        std::replace(flat.begin(), flat.end(), '/', '%');
        EXPECT_EQ(copies[0].filename().string(), flat + ".zozuz-backup");
        EXPECT_EQ(TempFolder::read(copies[0].string()), "the old notes");
        struct stat status {};
        ASSERT_EQ(::stat(copies[0].c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600u);
        ASSERT_EQ(::stat(options.backupFolder.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0700u);
        writer.commit();
        EXPECT_EQ(TempFolder::read(file), "new");
        EXPECT_EQ(inode(), before) << errorText(error);
        EXPECT_EQ(folder.entries(), 1u);
        EXPECT_TRUE(std::filesystem::is_empty(options.backupFolder));
    }
}

TEST(SafeFileWriter, AFileWithAttributesOfItsOwnKeepsThem) {
    TempFolder folder;
    const std::string file = folder.write("noted.txt", "a longer old text");
    if (::setxattr(file.c_str(), "user.note", "kept", 4, 0) != 0) GTEST_SKIP() << "no user attributes here";
    SafeFileWriter writer(file);
    writer.write("new");
    writer.commit();
    EXPECT_EQ(TempFolder::read(file), "new");
    char value[8] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.note", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(SafeFileWriter, InPlaceAFullDiskFailsBeforeAnyByteIsOverwritten) {
    TempFolder folder;
    const std::string mountPoint = folder.path("small");
    std::filesystem::create_directory(mountPoint);
    if (::mount("zozuz-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here";
    }
    const std::string file = mountPoint + "/out.txt";
    std::ofstream(file, std::ios::binary) << "old bytes";
    std::filesystem::create_hard_link(file, mountPoint + "/other.txt");
    SafeFileWriter::Options options;
    options.reserve = 200 * 1024;
    try {
        SafeFileWriter writer(file, systemFiles(), options);
        writer.write(std::string(200 * 1024, 'x'));
        writer.commit();
        ADD_FAILURE() << "a full disk was not reported";
    } catch (const EWriteError& error) {
        EXPECT_EQ(error.reason(), file + ": " + errorText(ENOSPC));
    }
    EXPECT_EQ(TempFolder::read(file), "old bytes");
    ::umount(mountPoint.c_str());
}

TEST(SafeFileWriter, AFileAnotherProgramHoldsLockedIsRefused) {
    TempFolder folder;
    const std::string file = folder.write("busy.txt", "old");
    for (const int lock : {LOCK_EX, LOCK_SH}) {
        const int other = ::open(file.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(other, lock), 0);
        try {
            SafeFileWriter writer(file);
            ADD_FAILURE() << "a locked file was replaced";
        } catch (const EFCreateError& error) {
            EXPECT_EQ(error.message(), "Cannot create file " + file);
            EXPECT_EQ(error.reason(), file + ": locked by another program");
        }
        ::close(other);
        EXPECT_EQ(TempFolder::read(file), "old");
    }
    SafeFileWriter writer(file);
    writer.write("new");
    writer.commit();
    EXPECT_EQ(TempFolder::read(file), "new");
}

TEST(SafeFileWriter, EveryNameTheFileSystemTakesCanBeSavedTo) {
    TempFolder folder;
    std::string chinese;
    for (int i = 0; i < 85; ++i) chinese += "\xE5\x8A\xA0";  // 加, three bytes in UTF-8
    for (const std::string& name : {std::string(255, 'n'), chinese}) {
        const std::string file = folder.write(name, "old");
        SafeFileWriter writer(file);
        writer.write("new");
        writer.commit();
        EXPECT_EQ(TempFolder::read(file), "new");
    }
    EXPECT_EQ(folder.entries(), 2u);
}

// A file system whose examination of a name fails.
class BlindFileSystem : public FileSystem {
public:
    bool failLstat = false;
    int lstat(const char* path, struct stat* status) override {
        if (failLstat) {
            errno = EIO;
            return -1;
        }
        return FileSystem::lstat(path, status);
    }
    ssize_t readlink(const char*, char*, std::size_t) override {
        errno = EIO;
        return -1;
    }
};

TEST(SafeFileWriter, ANameThatCannotBeExaminedIsAnErrorAndNoLinkIsReplaced) {
    TempFolder folder;
    const std::string file = folder.write("file.txt", "old");
    const std::string link = folder.path("link.txt");
    std::filesystem::create_symlink("file.txt", link);
    for (const bool failLstat : {false, true}) {
        BlindFileSystem fs;
        fs.failLstat = failLstat;
        try {
            SafeFileWriter writer(link, fs);
            ADD_FAILURE() << "the name was not examined";
        } catch (const EFCreateError& error) {
            EXPECT_EQ(error.reason(), link + ": " + errorText(EIO));
        }
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(TempFolder::read(file), "old");
        EXPECT_EQ(folder.entries(), 2u);
    }
}

TEST(SafeFileWriter, StandardOutputAndOtherDescriptorsAreWrittenWhereTheyStand) {
    TempFolder folder;
    const std::string log = folder.write("log.txt", "earlier lines\n");
    // Standard output appends to the log, as `>> log.txt` makes it.
    const int output = ::open(log.c_str(), O_WRONLY | O_APPEND);
    SafeFileWriter::Options options;
    options.standardOutput = StandardStream{output};
    for (const std::string& name : {"/dev/fd/" + std::to_string(output), "/proc/self/fd/" + std::to_string(output), log}) {
        SafeFileWriter writer(name, systemFiles(), options);
        EXPECT_FALSE(writer.seekable());
        writer.write("more\n");
        writer.commit();
    }
    // A descriptor other than standard output, reached by its name.
    const int other = ::open(log.c_str(), O_WRONLY | O_APPEND);
    SafeFileWriter writer("/dev/fd/" + std::to_string(other));
    writer.write("last\n");
    writer.commit();
    EXPECT_NE(::fcntl(other, F_GETFD), -1);  // still open
    ::close(other);
    ::close(output);
    EXPECT_EQ(TempFolder::read(log), "earlier lines\nmore\nmore\nmore\nlast\n");
    EXPECT_EQ(folder.entries(), 1u);
}

SafeFileWriter::Options anyStream() {
    SafeFileWriter::Options options;
    options.accept = SafeFileWriter::Accept::AnyStream;
    return options;
}

TEST(SafeFileWriter, APipeIsWrittenInPlace) {
    TempFolder folder;
    const std::string fifo = folder.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    {
        SafeFileWriter writer(fifo, systemFiles(), anyStream());
        writer.write("through");
        writer.commit();
    }
    char buffer[16] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 7);
    ::close(reader);
    struct stat status {};
    ASSERT_EQ(::lstat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST(SafeFileWriter, WritingAgainGoesBackOnlyInAFileOfItsOwn) {
    TempFolder folder;
    const std::string file = folder.path("out.txt");
    SafeFileWriter writer(file);
    ASSERT_TRUE(writer.seekable());
    writer.write("abcdef");
    writer.writeAt(2, "XY");
    writer.commit();
    EXPECT_EQ(TempFolder::read(file), "abXYef");
    SafeFileWriter device("/dev/null", systemFiles(), anyStream());
    EXPECT_FALSE(device.seekable());
    EXPECT_THROW(device.writeAt(0, "x"), EWriteError);
}

// Kills at random moments of a large save over a file with a second name, which is written over in
// place: whatever the moment, the file holds its old text or the new one whole, or the copy of the
// old text is there to take it from. Half of the kills come from outside at any moment of the save;
// the other half fall while the old text is being written over, the riskiest stretch, which is too
// short to hit from outside reliably: there the save kills itself after a random count of bytes.
TEST(SafeFileWriter, AKillDuringAnInPlaceSaveNeverLosesTheOldText) {
    TempFolder folder;
    const std::string file = folder.path("big.txt");
    const std::string copy = folder.path(".big.txt.zozuz-backup");
    std::string old;
    std::string fresh;
    for (int i = 0; old.size() < (24 << 20); ++i) old += "old line " + std::to_string(i) + "\r\n";
    for (int i = 0; fresh.size() < (16 << 20); ++i) fresh += "the new text's line " + std::to_string(i) + "\r\n";
    const auto reset = [&] {
        std::filesystem::remove(copy);
        std::filesystem::remove(folder.path("other.txt"));
        std::filesystem::remove(file);
        folder.write("big.txt", old);
        std::filesystem::create_hard_link(file, folder.path("other.txt"));
    };
    // Starts a save in a child, which kills itself once `killAt` bytes are written, when that is
    // no more than the new text holds.
    const auto start = [&](std::size_t killAt) {
        const pid_t child = ::fork();
        if (child == 0) {
            SafeFileWriter writer(file);
            const std::string_view text(fresh);
            for (std::size_t at = 0; at < text.size(); at += 1 << 20) {
                const std::size_t piece = std::min<std::size_t>(1 << 20, text.size() - at);
                if (killAt >= at && killAt < at + piece) {
                    writer.write(text.substr(at, killAt - at));
                    ::raise(SIGKILL);
                }
                writer.write(text.substr(at, piece));
            }
            if (killAt == text.size()) ::raise(SIGKILL);
            writer.commit();
            ::_exit(0);
        }
        return child;
    };
    using Clock = std::chrono::steady_clock;

    // One save undisturbed, to learn how long it takes.
    reset();
    const auto began = Clock::now();
    pid_t child = start(SIZE_MAX);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - began).count();
    ASSERT_TRUE(TempFolder::read(file) == fresh);
    EXPECT_FALSE(std::filesystem::exists(copy));

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    int oldKept = 0, newComplete = 0, fromTheCopy = 0, lost = 0;
    for (int kill = 0; kill < 20; ++kill) {
        reset();
        if (kill % 2 == 0) {
            const auto delay = std::uniform_int_distribution<long long>(0, whole + whole / 10)(random);
            child = start(SIZE_MAX);
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            ::kill(child, SIGKILL);
        } else {
            child = start(std::uniform_int_distribution<std::size_t>(0, fresh.size())(random));
        }
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::string now = TempFolder::read(file);
        if (now == old) {
            ++oldKept;
        } else if (now == fresh) {
            ++newComplete;
        } else if (std::filesystem::exists(copy) && TempFolder::read(copy) == old) {
            ++fromTheCopy;
        } else {
            ++lost;
            ADD_FAILURE() << "kill " << kill << ", seed " << seed;
        }
        // Nothing else is left behind: no half-made copy, no temporary file.
        std::set<std::string> left = namesIn(folder.root());
        left.erase(".big.txt.zozuz-backup");
        EXPECT_EQ(left, (std::set<std::string>{"big.txt", "other.txt"})) << "kill " << kill;
    }
    std::printf("kills during an in-place save of %zu MiB over %zu MiB (%.1f ms): old text kept %d, new text "
                "complete %d, old text in its copy %d, lost %d\n",
                fresh.size() >> 20, old.size() >> 20, static_cast<double>(whole) / 1000, oldKept, newComplete,
                fromTheCopy, lost);
    EXPECT_EQ(lost, 0);
}

}  // namespace
}  // namespace zozuz
