#include "platform/files/win32/FileSystem.h"

#include <cstdint>
#include <fcntl.h>
#include <io.h>

#include <windows.h>

#include "platform/files/win32/WidePath.h"

namespace zozuz {

namespace {

HANDLE handleOf(std::intptr_t fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(static_cast<int>(fd))); }

// One request moves at most this much, well inside the system's 32-bit counts.
constexpr std::size_t kMaxRequest = 1u << 30;

DWORD requestSize(std::size_t size) { return static_cast<DWORD>(size < kMaxRequest ? size : kMaxRequest); }

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

}  // namespace

std::intptr_t FileSystem::open(const std::string& path, Open how) {
    const std::wstring name = widePath(path);
    if (name.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return -1;
    }
    DWORD access = GENERIC_READ;
    DWORD share = FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    std::wstring file = name;
    switch (how) {
        case Open::Read: break;
        case Open::Examine: access = 0; share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE; break;
        case Open::WriteExisting: access = GENERIC_WRITE; share = 0; break;
        case Open::CreateNew: access = GENERIC_READ | GENERIC_WRITE | DELETE; share = 0; disposition = CREATE_NEW; break;
        case Open::Scratch: {
            wchar_t unique[MAX_PATH + 1] = {};
            if (!GetTempFileNameW(name.c_str(), L"zoz", 0, unique)) return -1;
            file = unique;
            access = GENERIC_READ | GENERIC_WRITE | DELETE;
            share = 0;
            disposition = CREATE_ALWAYS;
            flags = FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE;
            break;
        }
    }
    HANDLE handle = CreateFileW(file.c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // GetTempFileName made the name as an empty file; it must not stay behind.
        if (how == Open::Scratch) DeleteFileW(file.c_str());
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_BINARY | (how == Open::Read ? _O_RDONLY : 0));
    if (fd < 0) {
        CloseHandle(handle);
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    }
    return fd;
}

long long FileSystem::read(std::intptr_t fd, void* buffer, std::size_t size) {
    DWORD got = 0;
    if (ReadFile(handleOf(fd), buffer, requestSize(size), &got, nullptr)) return got;
    // The writer of a pipe has finished: that is the end of the input, not a failure.
    if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
    return -1;
}

long long FileSystem::readAt(std::intptr_t fd, void* buffer, std::size_t size, std::uint64_t offset) {
    DWORD got = 0;
    OVERLAPPED where = at(offset);
    if (ReadFile(handleOf(fd), buffer, requestSize(size), &got, &where)) return got;
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    return -1;
}

long long FileSystem::write(std::intptr_t fd, const void* buffer, std::size_t size) {
    DWORD written = 0;
    return WriteFile(handleOf(fd), buffer, requestSize(size), &written, nullptr) ? static_cast<long long>(written) : -1;
}

long long FileSystem::writeAt(std::intptr_t fd, const void* buffer, std::size_t size, std::uint64_t offset) {
    DWORD written = 0;
    OVERLAPPED where = at(offset);
    return WriteFile(handleOf(fd), buffer, requestSize(size), &written, &where) ? static_cast<long long>(written) : -1;
}

bool FileSystem::flush(std::intptr_t fd) { return FlushFileBuffers(handleOf(fd)) != FALSE; }

bool FileSystem::truncate(std::intptr_t fd, std::uint64_t length) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(handleOf(fd), position, nullptr, FILE_BEGIN) && SetEndOfFile(handleOf(fd));
}

bool FileSystem::close(std::intptr_t fd) { return ::_close(static_cast<int>(fd)) == 0; }

bool FileSystem::facts(std::intptr_t fd, FileFacts& facts) {
    HANDLE handle = handleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    facts = {};
    switch (GetFileType(handle)) {
        case FILE_TYPE_DISK: {
            facts.kind = FileFacts::Kind::Disk;
            BY_HANDLE_FILE_INFORMATION info{};
            if (GetFileInformationByHandle(handle, &info)) {
                facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                facts.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
                facts.identity = {info.dwVolumeSerialNumber,
                                  (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
                return true;
            }
            // A handle the program was given (standard input redirected from a file) may not allow
            // reading the file's attributes; its size is enough, and a folder never arrives that way.
            LARGE_INTEGER size{};
            if (!GetFileSizeEx(handle, &size)) return false;
            facts.size = static_cast<std::uint64_t>(size.QuadPart);
            return true;
        }
        case FILE_TYPE_CHAR: facts.kind = FileFacts::Kind::Device; return true;
        case FILE_TYPE_PIPE: facts.kind = FileFacts::Kind::Pipe; return true;
        default: return GetLastError() == NO_ERROR;
    }
}

bool FileSystem::attributes(const std::string& path, unsigned long& attributes) {
    attributes = GetFileAttributesW(widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
}

bool FileSystem::replace(const std::string& from, const std::string& to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
}

bool FileSystem::remove(const std::string& path) { return DeleteFileW(widePath(path).c_str()) != FALSE; }

bool FileSystem::removeWhenClosed(std::intptr_t fd) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(handleOf(fd), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

unsigned long FileSystem::lastError() const { return GetLastError(); }

FileSystem& systemFiles() {
    static FileSystem instance;
    return instance;
}

std::string systemReason(const std::string& name, unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                        reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring reason = length > 0 && text ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    if (text) LocalFree(text);
    // The system's texts end with a line break.
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return name + ": " + narrowPath(reason);
}

}  // namespace zozuz
