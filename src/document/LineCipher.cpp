#include "document/LineCipher.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

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
    // One add over at most 255 bytes with no branch inside, which the compiler turns into vector code.
    const std::size_t window = length & 0xFFU;
    const unsigned char delta = direction_ == CipherDirection::Encrypt ? 1 : 0xFF;
    auto* bytes = reinterpret_cast<unsigned char*>(line);
    for (std::size_t i = 0; i < window; ++i) bytes[i] = static_cast<unsigned char>(bytes[i] + delta);
}

void LineCipher::run(TMemoStrings& document, const ProgressSink& progress) const {
    // The update is ended on every way out, so an error in the middle of a run never leaves the
    // editor with its redraw switched off.
    TMemoStrings::UpdateScope update(document);
    const std::int64_t lines = document.editorLineCount();
    std::string line;
    std::int64_t index = 0;
    for (std::int64_t i = 0; i < lines; ++i) {
        document.editorLine(index, line);
        // The empty last editor line is not a line of the document and gets no progress step.
        if (i == lines - 1 && line.empty()) break;
        shiftLine(line.data(), line.size());
        document.putEditorLine(index, line);
        index += 1 + countLineBreaks(line);
        if (progress) progress(static_cast<int>(std::min<std::int64_t>(2 * i + 2, INT_MAX)));
    }
}

}  // namespace zozuz
