// The safe save on Windows. The new bytes go to a file of their own in the target's folder, opened
// for nobody else; commit flushes it and puts it in the target's place with one replacing,
// write-through move, so the target holds either its old bytes or all of the new ones. Meanwhile the
// old file is held open for nobody else, so no other program can open the file being written, as
// the program's users know from Windows. The program's save refuses devices (NUL, CON) and named
// pipes; otherwise they and standard output are written where they stand. Windows never writes over
// a file in place: the file being read is held open for reading and so cannot be written at all.
#include "platform/files/SafeFileWriter.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include <windows.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"
#include "platform/files/NotRegularFile.h"
#include "platform/files/win32/FileSystem.h"
#include "platform/files/win32/PendingTemporaries.h"

namespace zozuz {

namespace {

// The most bytes one write request hands to the system.
constexpr std::size_t kPiece = 8 << 20;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The folder part of a path with its separator ("" for a bare name, which lies in the current folder).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Whether the path lies in the system's device namespace (\\.\pipe\NAME, \\.\COM1), where no
// regular file is: a name there is refused before anything is asked of it.
bool namesADevice(const std::string& path) {
    return path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) && path[2] == '.' && isSeparator(path[3]);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string fileName, FileSystem& fileSystem)
    : SafeFileWriter(std::move(fileName), fileSystem, Options{}) {}

SafeFileWriter::SafeFileWriter(std::string fileName, FileSystem& fileSystem, Options options)
    : fs_(fileSystem), fileName_(std::move(fileName)), target_(fileName_), flush_(options.flush) {
    open(options);
}

SafeFileWriter::SafeFileWriter(StandardStream stream, std::string name, FileSystem& fileSystem, Flush flush,
                               const FileIdentity* reading)
    : fs_(fileSystem), fileName_(std::move(name)), handle_(stream.number), ownsHandle_(false), flush_(flush) {
    refuseTheFileBeingRead(reading);
}

void SafeFileWriter::refuseTheFileBeingRead(const FileIdentity*) const {
    // Nothing to do here: the file being read is held open with reading shared only, so a stream
    // redirected to it could not have been opened for writing, and reading it fails instead.
}

void SafeFileWriter::open(const Options& options) {
    if (fileName_.empty() || isSeparator(fileName_.back())) failCreate(ERROR_INVALID_NAME);
    if (options.accept == Accept::RegularFiles && namesADevice(fileName_)) failCreate(notARegularFile(fileName_));
    folder_ = folderOf(target_);
    // Everything opened so far is let go again when the constructor fails.
    const auto release = [this] {
        if (targetHandle_ >= 0) fs_.close(targetHandle_);
        targetHandle_ = -1;
    };

    unsigned long attributes = 0;
    if (fs_.attributes(target_, attributes)) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) failCreate(fileName_ + ": is a folder");
        if (attributes & FILE_ATTRIBUTE_READONLY) failCreate(fileName_ + ": is read-only");
        if (options.reading && *options.reading != FileIdentity{}) {
            // The file being read is held open for reading and cannot be written: said plainly, not
            // as a file another program holds.
            const std::intptr_t look = fs_.open(target_, FileSystem::Open::Examine);
            FileFacts facts;
            const bool same = look >= 0 && fs_.facts(look, facts) && facts.identity == *options.reading;
            if (look >= 0) fs_.close(look);
            if (same) failCreate(fileName_ + ": is the file being read");
        }
        // The old file, open to nobody else until it is replaced: a file another program holds open
        // in any way, or that we may not write, is refused before anything is written.
        targetHandle_ = fs_.open(target_, FileSystem::Open::WriteExisting);
        if (targetHandle_ < 0) failCreate(static_cast<int>(fs_.lastError()));
        FileFacts target;
        if (!fs_.facts(targetHandle_, target)) {
            const auto error = static_cast<int>(fs_.lastError());
            release();
            failCreate(error);
        }
        if (target.kind != FileFacts::Kind::Disk) {
            if (options.accept == Accept::RegularFiles) {
                release();
                failCreate(notARegularFile(fileName_));
            }
            // A device (NUL, CON) or a named pipe cannot be replaced: it is written where it stands.
            handle_ = std::exchange(targetHandle_, -1);
            return;
        }
        FileFacts output;
        if (target.identity != FileIdentity{} && fs_.facts(options.standardOutput.number, output) &&
            output.identity == target.identity) {
            // Standard output under the name of its file is written where it stands.
            release();
            handle_ = options.standardOutput.number;
            ownsHandle_ = false;
            return;
        }
    } else if (fs_.lastError() != ERROR_FILE_NOT_FOUND) {
        failCreate(static_cast<int>(fs_.lastError()));
    }

    const std::string stem = folder_ + "~" + nameOf(target_) + ".zozuz-" + std::to_string(GetCurrentProcessId()) + "-";
    unsigned long error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && handle_ < 0; ++attempt) {
        temporary_ = stem + std::to_string(attempt);
        handle_ = fs_.open(temporary_, FileSystem::Open::CreateNew);
        if (handle_ < 0) error = fs_.lastError();
        if (handle_ < 0 && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    if (handle_ < 0) {
        temporary_.clear();
        release();
        failCreate(static_cast<int>(error));
    }
    pendingSlot_ = PendingTemporaries::add(handle_);
    replace_ = true;
    seekable_ = true;
}

SafeFileWriter::~SafeFileWriter() {
    if (!committed_) abandon();
}

void SafeFileWriter::write(std::string_view bytes) {
    if (handle_ < 0) failWrite(ERROR_INVALID_HANDLE);
    while (!bytes.empty()) {
        const long long n = fs_.write(handle_, bytes.data(), std::min(bytes.size(), kPiece));
        if (n < 0) failWrite(static_cast<int>(fs_.lastError()));
        if (n == 0) failWrite(ERROR_DISK_FULL);
        bytes.remove_prefix(static_cast<std::size_t>(n));
        written_ += static_cast<std::uint64_t>(n);
    }
}

void SafeFileWriter::writeAt(std::uint64_t position, std::string_view bytes) {
    if (handle_ < 0 || !seekable_) failWrite(ERROR_INVALID_FUNCTION);
    while (!bytes.empty()) {
        const long long n = fs_.writeAt(handle_, bytes.data(), std::min(bytes.size(), kPiece), position);
        if (n < 0) failWrite(static_cast<int>(fs_.lastError()));
        if (n == 0) failWrite(ERROR_DISK_FULL);
        bytes.remove_prefix(static_cast<std::size_t>(n));
        position += static_cast<std::uint64_t>(n);
    }
}

void SafeFileWriter::commit() {
    if (handle_ < 0 || committed_) failWrite(ERROR_INVALID_HANDLE);
    if (!replace_) {
        // A device or a stream: flushing may not be supported, which is no failure of the write.
        if (flush_ == Flush::ToDisk) fs_.flush(handle_);
        if (ownsHandle_ && !fs_.close(std::exchange(handle_, -1))) failWrite(static_cast<int>(fs_.lastError()));
        committed_ = true;
        return;
    }
    if (flush_ == Flush::ToDisk && !fs_.flush(handle_)) failWrite(static_cast<int>(fs_.lastError()));
    // Out of the interrupt handler's reach before the descriptor's number can be taken again.
    PendingTemporaries::remove(std::exchange(pendingSlot_, -1));
    if (!fs_.close(std::exchange(handle_, -1))) failWrite(static_cast<int>(fs_.lastError()));
    if (targetHandle_ >= 0) fs_.close(std::exchange(targetHandle_, -1));
    if (!fs_.replace(temporary_, target_)) failCreate(static_cast<int>(fs_.lastError()));
    committed_ = true;
    temporary_.clear();
}

void SafeFileWriter::abandon() noexcept {
    PendingTemporaries::remove(std::exchange(pendingSlot_, -1));
    if (handle_ >= 0 && ownsHandle_) {
        if (!temporary_.empty() && fs_.removeWhenClosed(handle_)) temporary_.clear();
        fs_.close(handle_);
    }
    handle_ = -1;
    if (targetHandle_ >= 0) fs_.close(std::exchange(targetHandle_, -1));
    if (!temporary_.empty()) {
        fs_.remove(temporary_);
        temporary_.clear();
    }
}

void SafeFileWriter::failCreate(int error) const {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        failCreate(fileName_ + ": held open by another program");
    failCreate(systemReason(fileName_, static_cast<unsigned long>(error)));
}

void SafeFileWriter::failCreate(const std::string& reason) const {
    throw EFCreateError(formatMessage(messages::kCannotCreateFile, {std::string_view(fileName_)}), reason);
}

void SafeFileWriter::failWrite(int error) {
    throw EWriteError(std::string(messages::kStreamWriteError), systemReason(fileName_, static_cast<unsigned long>(error)));
}

}  // namespace zozuz
