#include "platform/LineWrapper.h"

#include <algorithm>
#include <utility>

namespace zozuz {

LineWrapper::LineWrapper(LeadByteSet leadBytes, Measure measure, int width)
    : leadBytes_(leadBytes), measure_(std::move(measure)), width_(width), byteWidths_(256, -1) {}

int LineWrapper::measure(std::string_view character) const {
    if (!measure_) return static_cast<int>(character.size());
    // A negative advance would let a line grow without end; count it as nothing.
    return std::max(measure_(character), 0);
}

int LineWrapper::byteWidth(std::uint8_t byte) const {
    int& width = byteWidths_[byte];
    if (width < 0) {
        const char character = static_cast<char>(byte);
        width = measure(std::string_view(&character, 1));
    }
    return width;
}

int LineWrapper::pairWidth(std::uint8_t lead, std::uint8_t trail) const {
    // Allocated on first use only, as a text without double-byte characters never needs it.
    if (pairWidths_.empty()) pairWidths_.assign(65536, -1);
    int& width = pairWidths_[static_cast<std::size_t>(lead) << 8 | trail];
    if (width < 0) {
        const char character[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        width = measure(std::string_view(character, 2));
    }
    return width;
}

}  // namespace zozuz
