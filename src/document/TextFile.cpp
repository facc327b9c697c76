#include "document/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <string_view>
#include <sys/stat.h>

#include "base/Exception.h"
#include "platform/files/InputFile.h"
#include "platform/files/SafeFileWriter.h"
#include "document/TMemoStrings.h"
#include "platform/edit/EditControl.h"

namespace zozuz {

namespace {

[[noreturn]] void failRead() { throw EReadError(std::string(messages::kStreamReadError)); }

[[noreturn]] void failCapacity() { throw EInvalidOperation(std::string(messages::kTextExceedsCapacity)); }

// Reads up to `size` bytes; fewer only when the file ends early, for instance because it shrank
// since its size was taken.
std::size_t readFully(FileSystem& fs, int fd, char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = fs.read(fd, buffer + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failRead();
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

// A pipe or device has no size to take; it is read until it ends, up to the capacity.
std::string readUnsized(FileSystem& fs, int fd, const TMemoStrings& document) {
    std::string bytes;
    std::size_t got = 0;
    for (;;) {
        if (bytes.size() - got < 65536) bytes.resize(std::max<std::size_t>(bytes.size() * 2, 1 << 20));
        const std::size_t n = readFully(fs, fd, bytes.data() + got, bytes.size() - got);
        got += n;
        if (!document.fits(got)) failCapacity();
        if (n == 0 || got < bytes.size()) break;
    }
    bytes.resize(got);
    return bytes;
}

// A plain file's text is normalised and ends at its first zero byte; an encrypted file's is taken
// byte for byte.
void hand(TMemoStrings& document, std::string_view bytes, bool plain) {
    if (plain) {
        document.setText(bytes);
    } else {
        document.setRawText(bytes);
    }
}

}  // namespace

void TextFile::load(TMemoStrings& document, const std::string& fileName) const { loadInto(document, fileName, true); }

void TextFile::loadEncrypted(TMemoStrings& document, const std::string& fileName) const {
    loadInto(document, fileName, false);
}

void TextFile::loadInto(TMemoStrings& document, const std::string& fileName, bool plain) const {
    const InputFile file(fs_, fileName);
    const struct stat& status = file.status();

    TMemoStrings::UpdateScope update(document);
    if (!S_ISREG(status.st_mode)) {
        hand(document, readUnsized(fs_, file.fd(), document), plain);
        return;
    }
    // The size is refused before a buffer is allocated, so a huge file costs no memory.
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (!document.fits(size)) failCapacity();
    // The buffer becomes the editor's storage, so it gets the editor's room to grow as well.
    const auto allocated = static_cast<std::size_t>(size + std::max<std::uint64_t>(4096, size / 64));
    auto buffer = std::make_unique_for_overwrite<char[]>(allocated);
    const std::size_t got = readFully(fs_, file.fd(), buffer.get(), static_cast<std::size_t>(size));
    document.adoptText(std::move(buffer), got, allocated, plain);
}

void TextFile::save(const TMemoStrings& document, const std::string& fileName) const {
    SafeFileWriter out(fileName, fs_);
    // The text goes out straight from the editor's storage, so saving never holds a second copy of
    // it.
    const EditControl& editor = document.editor();
    editor.visitRange(0, editor.textLength(), [&out](std::string_view bytes) { out.write(bytes); });
    out.commit();
}

}  // namespace zozuz
