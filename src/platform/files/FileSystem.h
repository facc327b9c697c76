#pragma once

#include <cstddef>
#include <sys/stat.h>
#include <sys/types.h>

namespace zozuz {

// The few file-system calls through which text files are read and written. Each forwards to the
// POSIX call of the same name and reports failure the same way (-1 and errno); a test overrides one
// of them to make a disk fill up or a rename fail at the moment it chooses.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int open(const char* path, int flags, mode_t mode);
    virtual int fstat(int fd, struct stat* status);
    virtual ssize_t read(int fd, void* buffer, std::size_t size);
    virtual ssize_t write(int fd, const void* buffer, std::size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);

    // The real file system. It holds no state, so one shared instance serves everyone.
    static FileSystem& posix();
};

}  // namespace zozuz
