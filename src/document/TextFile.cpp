#include "document/TextFile.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

#include "base/Exception.h"
#include "platform/files/InputFile.h"
#include "platform/files/SafeFileWriter.h"
#include "document/ConvertedBreaks.h"
#include "document/LineBreaks.h"
#include "document/LoneBreakCount.h"
#include "document/TMemoStrings.h"
#include "editor/EditControl.h"

namespace zozuz {

namespace {

[[noreturn]] void failCapacity() { throw EInvalidOperation(std::string(messages::kTextExceedsCapacity)); }

// A pipe or device has no size to take; it is read until it ends, up to the capacity.
std::string readUnsized(InputFile& file, const TMemoStrings& document) {
    std::string bytes;
    std::size_t got = 0;
    for (;;) {
        if (bytes.size() - got < 65536) bytes.resize(std::max<std::size_t>(bytes.size() * 2, 1 << 20));
        const std::size_t n = file.read(bytes.data() + got, bytes.size() - got);
        got += n;
        if (!document.fits(got)) failCapacity();
        if (n == 0 || got < bytes.size()) break;
    }
    bytes.resize(got);
    return bytes;
}

// Whether an encrypted text's CR LF line breaks were turned into LF by another tool.
bool convertedBreaks(std::string_view text) {
    ConvertedBreaks breaks;
    breaks.feed(text);
    return breaks.converted();
}

// A plain file's text is normalised and ends at its first zero byte; an encrypted file's is taken
// byte for byte, its line breaks restored where another tool converted them.
void hand(TMemoStrings& document, std::string_view bytes, bool plain) {
    if (plain) {
        document.setText(bytes);
    } else if (convertedBreaks(bytes)) {
        document.setRawText(LineBreaks(ConvertedBreaks::restoringLeadBytes()).normalise(bytes).text());
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
    InputFile file(fs_, fileName);

    TMemoStrings::UpdateScope update(document);
    if (!file.size()) {
        hand(document, readUnsized(file, document), plain);
        return;
    }
    // The size is refused before a buffer is allocated, so a huge file costs no memory.
    const std::uint64_t size = *file.size();
    if (!document.fits(size)) failCapacity();
    // The buffer becomes the editor's storage, so it gets the editor's room to grow as well.
    const std::size_t allocated = TMemoStrings::blockSizeFor(static_cast<std::size_t>(size));
    auto buffer = std::make_unique_for_overwrite<char[]>(allocated);
    if (!plain) {
        const std::size_t got = file.read(buffer.get(), static_cast<std::size_t>(size));
        const std::string_view text(buffer.get(), got);
        if (!convertedBreaks(text)) {
            document.adoptText(std::move(buffer), got, allocated, false);
            return;
        }
        const LineBreaks restoring(ConvertedBreaks::restoringLeadBytes());
        const std::size_t length = got + restoring.countLoneBreaks(text);
        if (!document.fits(length)) failCapacity();
        const std::size_t room = TMemoStrings::blockSizeFor(length);
        auto restored = std::make_unique_for_overwrite<char[]>(room);
        const std::size_t written = restoring.normaliseInto(text, restored.get());
        buffer.reset();
        document.adoptText(std::move(restored), written, room, false);
        return;
    }
    // A plain file is counted while it is read, piece by piece: the room its normalised text needs
    // is known once it is read, and a file whose normalised text cannot fit is refused as soon as
    // that shows, before the rest of it is read.
    constexpr std::size_t kPiece = 16 << 20;
    LoneBreakCount count(document.lineBreaks().leadBytes());
    std::size_t got = 0;
    while (got < size) {
        const std::size_t wanted = std::min<std::size_t>(kPiece, static_cast<std::size_t>(size) - got);
        const std::size_t n = file.read(buffer.get() + got, wanted);
        count.feed(buffer.get() + got, n);
        got += n;
        if (!document.fits(count.loadedLength())) failCapacity();
        if (n < wanted) break;  // the file has shrunk since it was opened
    }
    count.finish();
    document.adoptPlainText(std::move(buffer), got, allocated, count,
                            [&file](char* into, std::size_t wanted) { return file.readAt(0, into, wanted); });
}

void TextFile::save(const TMemoStrings& document, const std::string& fileName) const {
    const EditControl& editor = document.editor();
    // The whole length is known, so an in-place save can reserve its room before it overwrites
    // anything. The program has no standard output of its user's to recognise, and replaces regular
    // files only: a FIFO nobody reads would hold the window for good.
    SafeFileWriter::Options options;
    options.reserve = static_cast<std::uint64_t>(editor.textLength());
    options.standardOutput = StandardStream{-1};
    options.accept = SafeFileWriter::Accept::RegularFiles;
    SafeFileWriter out(fileName, fs_, options);
    // The text goes out straight from the editor's storage, so saving never holds a second copy of
    // it.
    editor.visitRange(0, editor.textLength(), [&out](std::string_view bytes) { out.write(bytes); });
    out.commit();
}

}  // namespace zozuz
