#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/files/FileIdentity.h"
#include "platform/files/FileSystem.h"
#include "platform/files/StandardStream.h"

namespace zozuz {

// A file opened for loading, closed again on every way out of the operation that opened it. Opening
// fails with EFOpenError "Cannot open file %s" when the file is missing, not readable, a folder, or
// held locked for writing by another program; other programs may go on reading it meanwhile. A
// failing read is EReadError "Stream read error", with the system's reason.
class InputFile {
public:
    // What a named file may be. The program loads regular files only: a FIFO, a terminal or a
    // device is refused at once ("Cannot open file %s"), without waiting for a writer or reading
    // an endless device. The command-line companion reads whatever it is given, as a filter does.
    enum class Accept { RegularFiles, AnyStream };

    InputFile(FileSystem& fs, const std::string& fileName, Accept accept = Accept::RegularFiles);
    // Reads a standard stream, which stays open afterwards.
    InputFile(FileSystem& fs, StandardStream stream, const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The file's size, or nothing for a pipe or a device, which is read until it ends.
    std::optional<std::uint64_t> size() const { return size_; }
    FileIdentity identity() const { return identity_; }

    // One read of at most `size` bytes; 0 only at the end of the file.
    std::size_t readSome(char* buffer, std::size_t size);
    // One read of at most `size` bytes from `offset` on; 0 only at the end of the file.
    std::size_t readSomeAt(std::uint64_t offset, char* buffer, std::size_t size);
    // Reads `size` bytes, or fewer when the file ends first (it may have shrunk since it was opened).
    std::size_t read(char* buffer, std::size_t size);
    // Reads `size` bytes from `offset` on, or fewer when the file ends first, wherever read has got
    // to: loading reads a file's start a second time this way, from the file it has open.
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size);

private:
    [[noreturn]] void failOpen(int error);
    // Reads the open file's facts; refuses a folder, a file locked for writing, and anything but a
    // regular file when only those are accepted.
    void examine(bool lock, Accept accept);
    // The error failOpen reports for a file that is no regular file.
    static constexpr int kNotRegularFile = -2;
    // Closes the file if it is this object's to close (a standard stream stays open), and marks it closed.
    void release();

    FileSystem& fs_;
    std::string name_;  // as the caller gave it, for messages
    std::intptr_t handle_;  // the system's handle for the open file (a descriptor or a HANDLE), negative once closed
    bool owned_;
    std::optional<std::uint64_t> size_;
    FileIdentity identity_;
};

}  // namespace zozuz
