#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "platform/files/FileSystem.h"

namespace zozuz {

// Writes a file so that a failure never costs the file that was there before. The bytes go to a new
// file beside the target, in the same folder; commit flushes it (see Flush) and then puts it in the
// target's place with one rename, so the target holds either its old bytes or all of the new ones.
// The new file keeps the old one's permission bits, and a symbolic link is followed so that the file
// it points to is replaced, not the link. A writer that is not committed removes its new file.
//
// An existing target that is not a regular file (a terminal, a pipe, /dev/null) cannot be replaced
// by a rename and is written directly.
//
// Errors: EFCreateError "Cannot create file %s" when the target cannot be created or replaced (a
// missing folder, a folder of that name, a file without write permission, no access to the folder);
// EWriteError "Stream write error" when writing or flushing fails, for example on a full disk.
class SafeFileWriter {
public:
    // How far commit pushes the new bytes before the rename. The program's save waits until they are
    // on the disk, so that not even a power failure right after a save costs the text. A
    // command-line run, like other command-line tools, leaves them to the system: the old file still
    // stays whole on every failure the run sees.
    enum class Flush : unsigned char { ToDisk, ToSystem };

    explicit SafeFileWriter(std::string fileName, FileSystem& fileSystem = FileSystem::posix(),
                            Flush flush = Flush::ToDisk);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    [[noreturn]] void failCreate() const;
    [[noreturn]] void failWrite() const;
    void abandon() noexcept;

    FileSystem& fs_;
    std::string fileName_;   // as the caller gave it, for messages
    std::string target_;     // the file that ends up holding the bytes, links followed
    std::string temporary_;  // empty when writing directly
    int fd_ = -1;
    bool committed_ = false;
    Flush flush_;
};

}  // namespace zozuz
