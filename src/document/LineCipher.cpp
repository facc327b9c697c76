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

// Counts the CR LF pairs in a line: each makes one more editor line once the line is written back.
std::int64_t countLineBreaks(std::string_view line) {
    std::int64_t count = 0;
    for (std::size_t p = line.find('\n', 1); p != std::string_view::npos; p = line.find('\n', p + 1)) {
        if (line[p - 1] == '\r') ++count;
    }
    return count;
}

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
    const std::int64_t lines = document.editorLineCount();
    std::string line;
    std::int64_t index = 0;
    for (std::int64_t i = 0; i < lines; ++i) {
        // A progress sink that changes the document may take lines away; the run ends with them.
        if (index >= document.editorLineCount()) break;
        document.editorLine(index, line);
        // The empty last editor line is not a line of the document and gets no progress step.
        if (i == lines - 1 && line.empty()) break;
        shiftLine(line.data(), line.size());
        // A line the editor cannot take back (it runs out of memory) must not pass unnoticed: the
        // run would leave it plain among shifted lines.
        if (!document.putEditorLine(index, line)) throw EInvalidOperation(std::string(messages::kTextExceedsCapacity));
        index += 1 + countLineBreaks(line);
        if (progress) progress(static_cast<int>(std::min<std::int64_t>(2 * i + 2, INT_MAX)));
    }
}

}  // namespace zozuz
