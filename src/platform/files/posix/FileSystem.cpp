#include "platform/files/posix/FileSystem.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace zozuz {

int FileSystem::open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

int FileSystem::fstat(int fd, struct stat* status) { return ::fstat(fd, status); }

int FileSystem::stat(const char* path, struct stat* status) { return ::stat(path, status); }

int FileSystem::lstat(const char* path, struct stat* status) { return ::lstat(path, status); }

ssize_t FileSystem::readlink(const char* path, char* buffer, std::size_t size) { return ::readlink(path, buffer, size); }

ssize_t FileSystem::read(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }

ssize_t FileSystem::pread(int fd, void* buffer, std::size_t size, off_t offset) {
    return ::pread(fd, buffer, size, offset);
}

ssize_t FileSystem::write(int fd, const void* buffer, std::size_t size) { return ::write(fd, buffer, size); }

ssize_t FileSystem::pwrite(int fd, const void* buffer, std::size_t size, off_t offset) {
    return ::pwrite(fd, buffer, size, offset);
}

int FileSystem::fsync(int fd) { return ::fsync(fd); }

int FileSystem::close(int fd) { return ::close(fd); }

int FileSystem::rename(const char* from, const char* to) { return std::rename(from, to); }

int FileSystem::unlink(const char* path) { return ::unlink(path); }

int FileSystem::link(const char* from, const char* to) { return ::linkat(AT_FDCWD, from, AT_FDCWD, to, AT_SYMLINK_FOLLOW); }

int FileSystem::mkdir(const char* path, mode_t mode) { return ::mkdir(path, mode); }

int FileSystem::fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }

int FileSystem::fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }

int FileSystem::fallocate(int fd, int mode, off_t offset, off_t length) { return ::fallocate(fd, mode, offset, length); }

int FileSystem::ftruncate(int fd, off_t length) { return ::ftruncate(fd, length); }

int FileSystem::flock(int fd, int operation) { return ::flock(fd, operation); }

int FileSystem::dup(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }

ssize_t FileSystem::flistxattr(int fd, char* names, std::size_t size) { return ::flistxattr(fd, names, size); }

FileSystem& FileSystem::posix() {
    static FileSystem instance;
    return instance;
}

FileSystem& systemFiles() { return FileSystem::posix(); }

}  // namespace zozuz
