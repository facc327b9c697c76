#pragma once

#include <cstddef>
#include <sys/stat.h>
#include <sys/types.h>

#include "platform/files/FileSystem.h"

namespace zozuz {

// The POSIX calls through which files are read and written. Each forwards to the system call of the
// same name and reports failure the same way (-1 and errno); a test overrides one of them to make a
// disk fill up or a rename fail at the moment it chooses. Retrying after EINTR is the callers'
// business, so that a test can interrupt any call.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int open(const char* path, int flags, mode_t mode);
    virtual int fstat(int fd, struct stat* status);
    virtual int stat(const char* path, struct stat* status);
    virtual int lstat(const char* path, struct stat* status);
    virtual ssize_t readlink(const char* path, char* buffer, std::size_t size);
    virtual ssize_t read(int fd, void* buffer, std::size_t size);
    virtual ssize_t pread(int fd, void* buffer, std::size_t size, off_t offset);
    virtual ssize_t write(int fd, const void* buffer, std::size_t size);
    virtual ssize_t pwrite(int fd, const void* buffer, std::size_t size, off_t offset);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual int link(const char* from, const char* to);
    virtual int mkdir(const char* path, mode_t mode);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fallocate(int fd, int mode, off_t offset, off_t length);
    virtual int ftruncate(int fd, off_t length);
    virtual int flock(int fd, int operation);
    virtual int dup(int fd);
    virtual ssize_t flistxattr(int fd, char* names, std::size_t size);

    static FileSystem& posix();
};

}  // namespace zozuz
