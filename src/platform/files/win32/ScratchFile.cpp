#include "platform/files/ScratchFile.h"

#include <algorithm>
#include <memory>
#include <string>

#include <windows.h>

#include "base/Exception.h"
#include "platform/files/win32/FileSystem.h"
#include "platform/files/win32/WidePath.h"

namespace zozuz {

namespace {

constexpr std::size_t kPiece = 1 << 20;
const std::string kName = "temporary file";

std::string temporaryFolder() {
    wchar_t folder[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return length > 0 ? narrowPath(std::wstring_view(folder, length)) : std::string(".");
}

}  // namespace

// The system deletes the file when its handle closes, also when the process is killed.
ScratchFile::ScratchFile(FileSystem& fs) : fs_(fs), handle_(fs.open(temporaryFolder(), FileSystem::Open::Scratch)) {
    if (handle_ < 0) throw EWriteError(std::string(messages::kStreamWriteError), systemReason(kName, fs_.lastError()));
}

ScratchFile::~ScratchFile() { fs_.close(handle_); }

void ScratchFile::append(std::string_view bytes) {
    while (!bytes.empty()) {
        const long long n = fs_.writeAt(handle_, bytes.data(), bytes.size(), size_);
        if (n <= 0) {
            throw EWriteError(std::string(messages::kStreamWriteError),
                              systemReason(kName, n < 0 ? fs_.lastError() : ERROR_DISK_FULL));
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        size_ += static_cast<std::uint64_t>(n);
    }
}

void ScratchFile::drain(std::uint64_t from, const std::function<void(std::string_view)>& sink) {
    const auto buffer = std::make_unique_for_overwrite<char[]>(kPiece);
    while (from < size_) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, size_ - from));
        const long long n = fs_.readAt(handle_, buffer.get(), want, from);
        if (n < 0) throw EReadError(std::string(messages::kStreamReadError), systemReason(kName, fs_.lastError()));
        if (n == 0) throw EReadError(std::string(messages::kStreamReadError), kName + ": ended early");
        sink(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
        from += static_cast<std::uint64_t>(n);
    }
    size_ = 0;
    if (!fs_.truncate(handle_, 0))
        throw EWriteError(std::string(messages::kStreamWriteError), systemReason(kName, fs_.lastError()));
}

}  // namespace zozuz
