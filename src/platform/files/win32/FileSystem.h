#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files/FileIdentity.h"
#include "platform/files/FileSystem.h"

namespace zozuz {

// What the system tells about an open file.
struct FileFacts {
    enum class Kind : std::uint8_t { Disk, Device, Pipe, Unknown };
    Kind kind = Kind::Unknown;
    bool folder = false;
    std::uint64_t size = 0;
    // Known for files on a disk only; zero otherwise.
    FileIdentity identity;
};

// The Windows calls through which files are read and written. Descriptors are the C runtime's, each
// standing for one system handle, so that standard streams and opened files are treated alike.
// Every call reports failure by its result (-1 or false) and leaves the system's error code for
// lastError(); a test overrides one of them to make a disk fill up or a move fail at the moment it
// chooses. File names are UTF-8.
class FileSystem {
public:
    // The sharing and creation rules a file is opened with.
    enum class Open : std::uint8_t {
        // Reading an existing file; others may read it too, but not write it.
        Read,
        // Writing an existing file or device, shared with nobody.
        WriteExisting,
        // A new file for reading and writing, shared with nobody, that must not exist yet.
        CreateNew,
        // A nameless scratch file in the given folder, gone when it is closed.
        Scratch,
        // An existing file, only to learn about it; open to everyone meanwhile.
        Examine,
    };

    virtual ~FileSystem() = default;

    virtual std::intptr_t open(const std::string& path, Open how);
    virtual long long read(std::intptr_t fd, void* buffer, std::size_t size);
    virtual long long readAt(std::intptr_t fd, void* buffer, std::size_t size, std::uint64_t offset);
    virtual long long write(std::intptr_t fd, const void* buffer, std::size_t size);
    virtual long long writeAt(std::intptr_t fd, const void* buffer, std::size_t size, std::uint64_t offset);
    virtual bool flush(std::intptr_t fd);
    virtual bool truncate(std::intptr_t fd, std::uint64_t length);
    virtual bool close(std::intptr_t fd);
    virtual bool facts(std::intptr_t fd, FileFacts& facts);
    // The attributes of a named file (the system's FILE_ATTRIBUTE_ bits); false when it has none.
    virtual bool attributes(const std::string& path, unsigned long& attributes);
    // Puts `from` in the place of `to` in one step, written through to the disk.
    virtual bool replace(const std::string& from, const std::string& to);
    virtual bool remove(const std::string& path);
    // Marks an open file for removal when it is closed; the file is gone once the process ends.
    virtual bool removeWhenClosed(std::intptr_t fd);

    // The system's error code of the last failed call on this thread.
    virtual unsigned long lastError() const;
};

// The system's reason for a failure, as the command-line tool prints it: "out.txt: There is not
// enough space on the disk."
std::string systemReason(const std::string& name, unsigned long error);

}  // namespace zozuz
