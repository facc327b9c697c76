// The file-system calls on Windows: the same POSIX-shaped interface, answered by the system's own
// file functions, so that files are opened with the sharing rules the program's users know (a file
// being loaded may be read by others but not written; a file being written is open to nobody else).
#include "platform/files/FileSystem.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <io.h>

#include <windows.h>

#include "platform/files/win32/WidePath.h"

namespace zozuz {

namespace {

int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH: return ENOENT;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT: return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA: return EPIPE;
        case ERROR_INVALID_HANDLE:
        case ERROR_INVALID_FUNCTION: return EINVAL;
        default: return EIO;
    }
}

int fail(DWORD error) {
    errno = errnoOf(error);
    return -1;
}

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// One request moves at most this much, well inside the system's 32-bit counts.
constexpr std::size_t kMaxRequest = 1u << 30;

}  // namespace

int FileSystem::open(const char* path, int flags, mode_t) {
    const int access = flags & (O_RDONLY | O_WRONLY | O_RDWR);
    DWORD desired = GENERIC_READ;
    DWORD share = FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    if (access != O_RDONLY) {
        desired = GENERIC_WRITE | (access == O_RDWR ? GENERIC_READ : 0);
        share = 0;
        if (flags & O_CREAT)
            disposition = (flags & O_EXCL) ? CREATE_NEW : ((flags & O_TRUNC) ? CREATE_ALWAYS : OPEN_ALWAYS);
        else
            disposition = (flags & O_TRUNC) ? TRUNCATE_EXISTING : OPEN_EXISTING;
    }
    const std::wstring name = widePath(path ? path : "");
    if (name.empty()) return fail(ERROR_FILE_NOT_FOUND);
    HANDLE handle = CreateFileW(name.c_str(), desired, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return fail(GetLastError());
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_BINARY | (access == O_RDONLY ? _O_RDONLY : 0));
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
        return -1;
    }
    return fd;
}

int FileSystem::fstat(int fd, struct stat* status) {
    HANDLE handle = handleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) return fail(ERROR_INVALID_HANDLE);
    *status = {};
    switch (GetFileType(handle)) {
        case FILE_TYPE_DISK: {
            BY_HANDLE_FILE_INFORMATION info{};
            if (GetFileInformationByHandle(handle, &info)) {
                status->st_mode = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? S_IFDIR : S_IFREG;
                status->st_size = static_cast<decltype(status->st_size)>(
                    (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
                return 0;
            }
            // A handle the program was given (standard input redirected from a file) may not allow
            // reading the file's attributes; its size is enough, and a folder never arrives that way.
            LARGE_INTEGER size{};
            if (!GetFileSizeEx(handle, &size)) return fail(GetLastError());
            status->st_mode = S_IFREG;
            status->st_size = static_cast<decltype(status->st_size)>(size.QuadPart);
            return 0;
        }
        case FILE_TYPE_CHAR: status->st_mode = S_IFCHR; return 0;
        case FILE_TYPE_PIPE: status->st_mode = _S_IFIFO; return 0;
        default: return fail(GetLastError() == NO_ERROR ? ERROR_INVALID_HANDLE : GetLastError());
    }
}

ssize_t FileSystem::read(int fd, void* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(size < kMaxRequest ? size : kMaxRequest);
    if (!ReadFile(handleOf(fd), buffer, want, &got, nullptr)) {
        // The writer of a pipe has finished: that is the end of the input, not a failure.
        if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
        return fail(GetLastError());
    }
    return static_cast<ssize_t>(got);
}

ssize_t FileSystem::write(int fd, const void* buffer, std::size_t size) {
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(size < kMaxRequest ? size : kMaxRequest);
    if (!WriteFile(handleOf(fd), buffer, want, &written, nullptr)) return fail(GetLastError());
    return static_cast<ssize_t>(written);
}

int FileSystem::fsync(int fd) { return FlushFileBuffers(handleOf(fd)) ? 0 : fail(GetLastError()); }

int FileSystem::close(int fd) { return ::_close(fd); }

int FileSystem::rename(const char* from, const char* to) {
    // Replacing the target is one step of the system's, and write-through: it is on the disk when
    // the call returns.
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return fail(GetLastError());
}

int FileSystem::unlink(const char* path) { return DeleteFileW(widePath(path).c_str()) ? 0 : fail(GetLastError()); }

FileSystem& FileSystem::posix() {
    static FileSystem instance;
    return instance;
}

}  // namespace zozuz
