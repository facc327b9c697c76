#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/files/FileSystem.h"

namespace zozuz {

// A nameless temporary file that holds bytes which do not fit in memory, given back in order. It is
// gone once it is destroyed, and no interruption leaves it behind. Errors are EWriteError "Stream
// write error" and EReadError "Stream read error", with the system's reason.
class ScratchFile {
public:
    explicit ScratchFile(FileSystem& fs);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void append(std::string_view bytes);
    std::uint64_t size() const { return size_; }
    // Hands the bytes from `from` on to `sink` in pieces, then empties the file.
    void drain(std::uint64_t from, const std::function<void(std::string_view)>& sink);

private:
    FileSystem& fs_;
    std::intptr_t handle_;  // the system's handle for the file (a descriptor or a HANDLE)
    std::uint64_t size_ = 0;
};

}  // namespace zozuz
