#pragma once

#include <string>
#include <sys/stat.h>

#include "platform/files/FileSystem.h"

namespace zozuz {

// A file opened for loading, closed again on every way out of the operation that opened it. Opening
// fails with EFOpenError "Cannot open file %s" when the file is missing, not readable, a folder, or
// held locked for writing by another program; other programs may go on reading it meanwhile.
class InputFile {
public:
    InputFile(FileSystem& fs, const std::string& fileName);
    // Takes a descriptor that is open already, such as standard input, and leaves it open.
    InputFile(FileSystem& fs, int fd, const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    int fd() const { return fd_; }
    const struct stat& status() const { return status_; }

private:
    void check(const std::string& name, bool lock);

    FileSystem& fs_;
    int fd_;
    bool owned_;
    struct stat status_ {};
};

}  // namespace zozuz
