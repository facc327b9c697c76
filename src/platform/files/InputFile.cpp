#include "platform/files/InputFile.h"

namespace zozuz {

// The part of the input file that is the same on every system; opening, examining, reading and
// closing the file are each system's own (files/posix, files/win32).

InputFile::InputFile(FileSystem& fs, StandardStream stream, const std::string& name)
    : fs_(fs), name_(name), handle_(stream.number), owned_(false) {
    examine(false, Accept::AnyStream);
}

InputFile::~InputFile() { release(); }

// The system's read may stop short of what was asked (a pipe's at what has arrived so far), so it is
// asked again until the file ends.
std::size_t InputFile::read(char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const std::size_t n = readSome(buffer + got, size - got);
        if (n == 0) break;
        got += n;
    }
    return got;
}

std::size_t InputFile::readAt(std::uint64_t offset, char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const std::size_t n = readSomeAt(offset + got, buffer + got, size - got);
        if (n == 0) break;
        got += n;
    }
    return got;
}

}  // namespace zozuz
