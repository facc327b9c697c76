#include "platform/files/InputFile.h"

#include <string_view>

#include <windows.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"
#include "platform/files/NotRegularFile.h"
#include "platform/files/win32/FileSystem.h"

namespace zozuz {

// On Windows the sharing rule does the locking: the file is opened for reading with reading shared
// only, so a file another program holds open for writing cannot be opened, and nobody can open it
// for writing while it is loaded.
InputFile::InputFile(FileSystem& fs, const std::string& fileName, Accept accept)
    : fs_(fs), name_(fileName), owned_(true) {
    handle_ = fs_.open(name_, FileSystem::Open::Read);
    if (handle_ < 0) failOpen(static_cast<int>(fs_.lastError()));
    examine(true, accept);
}

void InputFile::examine(bool, Accept accept) {
    FileFacts facts;
    if (!fs_.facts(handle_, facts)) failOpen(static_cast<int>(fs_.lastError()));
    if (facts.folder) failOpen(ERROR_DIRECTORY);
    if (accept == Accept::RegularFiles && facts.kind != FileFacts::Kind::Disk) failOpen(kNotRegularFile);
    if (facts.kind == FileFacts::Kind::Disk) size_ = facts.size;
    identity_ = facts.identity;
}

void InputFile::failOpen(int error) {
    // The destructor does not run when a constructor throws, so a failure closes the file here.
    release();
    const std::string reason = error == ERROR_SHARING_VIOLATION ? name_ + ": held open for writing by another program"
                               : error == kNotRegularFile       ? notARegularFile(name_)
                                                                : systemReason(name_, static_cast<unsigned long>(error));
    throw EFOpenError(formatMessage(messages::kCannotOpenFile, {std::string_view(name_)}), reason);
}

std::size_t InputFile::readSome(char* buffer, std::size_t size) {
    const long long n = fs_.read(handle_, buffer, size);
    if (n < 0) throw EReadError(std::string(messages::kStreamReadError), systemReason(name_, fs_.lastError()));
    return static_cast<std::size_t>(n);
}

std::size_t InputFile::readSomeAt(std::uint64_t offset, char* buffer, std::size_t size) {
    const long long n = fs_.readAt(handle_, buffer, size, offset);
    if (n < 0) throw EReadError(std::string(messages::kStreamReadError), systemReason(name_, fs_.lastError()));
    return static_cast<std::size_t>(n);
}

void InputFile::release() {
    if (owned_ && handle_ >= 0) fs_.close(handle_);
    handle_ = -1;
}

}  // namespace zozuz
