#include "document/LineCipher.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "base/Exception.h"
#include "document/TMemoStrings.h"

namespace zozuz {

namespace {

using Pos = EditControl::Pos;

// The size of the blocks of lines that a run reads and writes back at a time.
constexpr Pos kBlockSize = Pos{1} << 20;

}  // namespace

void LineCipher::shiftLine(char* line, std::size_t length) const {
    const std::size_t window = length & 0xFFU;
    // Eight bytes at a time in one 64-bit word: the low seven bits of every byte are added apart
    // from the top bit, so that no carry crosses into the next byte, and the top bit is put back by
    // an exclusive or. Adding 0xFF to every byte is subtracting one.
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    const std::uint64_t add = direction_ == CipherDirection::Encrypt ? 0x0101010101010101ULL : ~std::uint64_t{0};
    const auto delta = static_cast<unsigned char>(add);
    std::size_t i = 0;
#if defined(__GNUC__)
    // Sixteen bytes at a time where the compiler offers byte vectors.
    using Bytes16 = unsigned char __attribute__((vector_size(16)));
    for (; i + 16 <= window; i += 16) {
        Bytes16 bytes;
        std::memcpy(&bytes, line + i, 16);
        bytes += delta;
        std::memcpy(line + i, &bytes, 16);
    }
#endif
    for (; i + 8 <= window; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, line + i, 8);
        word = ((word & ~kHigh) + (add & ~kHigh)) ^ ((word ^ add) & kHigh);
        std::memcpy(line + i, &word, 8);
    }
    auto* bytes = reinterpret_cast<unsigned char*>(line);
    for (; i < window; ++i) bytes[i] = static_cast<unsigned char>(bytes[i] + delta);
}

void LineCipher::run(TMemoStrings& document, const ProgressSink& progress) const {
    // The update is ended on every way out, so an error in the middle of a run never leaves the
    // editor with its redraw switched off.
    TMemoStrings::UpdateScope update(document);
    // Shifting keeps every byte where it is, so the line breaks the text has now stay at their
    // places during the whole run: the lines are found by position once, in the original bytes, and
    // a CR LF pair that a shift forms inside a line never makes it a line of its own for the run.
    // The text is read and written back in blocks of whole lines, which costs the editor one
    // replacement per block instead of one per line.
    const Pos total = document.editor().textLength();
    std::string block;
    Pos position = 0;  // the start of the next line
    Pos want = kBlockSize;
    std::int64_t line = 0;
    while (position < total) {
        const Pos end = std::min(total, position + want);
        document.editorText(position, end, block);
        // The byte before `position` ends a line break, so an LF at the block's start is a byte of
        // its line and every line break lies wholly inside the block.
        std::size_t lineStart = 0;
        std::int64_t lines = 0;
        for (const char* lf = static_cast<const char*>(std::memchr(block.data() + 1, '\n', block.size() > 1 ? block.size() - 1 : 0));
             lf != nullptr;) {
            const auto at = static_cast<std::size_t>(lf - block.data());
            if (block[at - 1] == '\r' && at > lineStart) {
                shiftLine(block.data() + lineStart, at - 1 - lineStart);
                lineStart = at + 1;
                ++lines;
            }
            lf = at + 1 < block.size() ? static_cast<const char*>(std::memchr(block.data() + at + 1, '\n', block.size() - at - 1)) : nullptr;
        }
        // The text's last line ends without a break; an empty one is no line of the document.
        if (end == total && lineStart < block.size()) {
            shiftLine(block.data() + lineStart, block.size() - lineStart);
            lineStart = block.size();
            ++lines;
        }
        if (lines == 0) {
            // A line longer than the block: it is read again, whole, in a larger one.
            want *= 2;
            continue;
        }
        // A block the editor cannot take back (it runs out of memory) must not pass unnoticed; it
        // stays as it was, and the lines before it stay shifted.
        if (!document.replaceEditorText(position, position + static_cast<Pos>(lineStart), std::string_view(block.data(), lineStart))) {
            throw EInvalidOperation(std::string(messages::kTextExceedsCapacity));
        }
        position += static_cast<Pos>(lineStart);
        want = kBlockSize;
        for (std::int64_t k = 0; k < lines; ++k, ++line) {
            if (!progress) continue;
            progress(static_cast<int>(std::min<std::int64_t>(2 * line + 2, INT_MAX)));
            // A progress sink that changes the document leaves nothing this run could go on with.
            if (document.editor().textLength() != total) return;
        }
    }
    // The caret ends where putting the last line back leaves it: just after that line's bytes, before
    // the line break that ends the text, if one does.
    if (total > 0) {
        const bool endsWithBreak = total >= 2 && document.editor().byteAt(total - 2) == '\r' &&
                                   document.editor().byteAt(total - 1) == '\n';
        const Pos end = endsWithBreak ? total - 2 : total;
        document.editor().setSelection(end, end);
    }
}

}  // namespace zozuz
