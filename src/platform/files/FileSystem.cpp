#include "platform/files/FileSystem.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace zozuz {

int FileSystem::open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

int FileSystem::fstat(int fd, struct stat* status) { return ::fstat(fd, status); }

ssize_t FileSystem::read(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }

ssize_t FileSystem::write(int fd, const void* buffer, std::size_t size) { return ::write(fd, buffer, size); }

int FileSystem::fsync(int fd) { return ::fsync(fd); }

int FileSystem::close(int fd) { return ::close(fd); }

int FileSystem::rename(const char* from, const char* to) { return std::rename(from, to); }

int FileSystem::unlink(const char* path) { return ::unlink(path); }

FileSystem& FileSystem::posix() {
    static FileSystem instance;
    return instance;
}

}  // namespace zozuz
