#include "editor/LineWrapper.h"

#include <algorithm>
#include <utility>

namespace zozuz {

LineWrapper::LineWrapper(LeadByteSet leadBytes, Measure measure, int width, PairTest pairs)
    : leadBytes_(leadBytes), measure_(std::move(measure)), width_(width), pairs_(std::move(pairs)), byteWidths_(256, -1) {}

int LineWrapper::measure(std::string_view character) const {
    if (!measure_) return static_cast<int>(character.size());
    // A negative advance would let a line grow without end; count it as nothing.
    return std::max(measure_(character), 0);
}

void LineWrapper::checkInvariants() const {
    ZOZUZ_CHECK(byteWidths_.size() == 256);
    ZOZUZ_CHECK(pairWidths_.empty() || pairWidths_.size() == 65536);
    for (const int width : byteWidths_) ZOZUZ_CHECK(width >= -1);
    // The pair table is far larger than the texts the fuzzers check after every step; its entries
    // are asserted where they are written instead, the only place they change.
}

int LineWrapper::measureByte(std::uint8_t byte) const {
    const char character = static_cast<char>(byte);
    byteWidths_[byte] = measure(std::string_view(&character, 1));
    ZOZUZ_ASSERT(byteWidths_[byte] >= 0);
    return byteWidths_[byte];
}

int LineWrapper::measurePair(std::uint8_t lead, std::uint8_t trail) const {
    // Allocated on first use only, as a text without double-byte characters never needs it.
    if (pairWidths_.empty()) pairWidths_.assign(65536, -1);
    const char character[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    int& width = pairWidths_[static_cast<std::size_t>(lead) << 8 | trail];
    if (pairs_ && !pairs_(lead, trail)) {
        width = kNoPair;
        return width;
    }
    width = measure(std::string_view(character, 2));
    ZOZUZ_ASSERT(width >= 0);
    return width;
}

}  // namespace zozuz
