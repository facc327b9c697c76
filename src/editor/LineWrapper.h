#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "base/Assert.h"
#include "base/LeadByteSet.h"

namespace zozuz {

// Divides editor lines into display lines no wider than a width in pixels. Characters are one byte,
// or a lead byte with the byte after it when the two form a character; a lead byte that ends its line,
// or whose next byte forms no character with it, stands alone. A display line never divides a
// character, so the characters of a display line are those its editor line has there. A display line
// ends after the last space that fits; with no such space it ends before the first character that
// does not fit, and it holds at least one character however narrow the width.
//
// The width of each character is asked of the measuring function once and then remembered, so
// wrapping a long text costs a table look-up per character.
class LineWrapper {
public:
    using Pos = std::int64_t;
    using Measure = std::function<int(std::string_view character)>;
    // Whether a lead byte and the byte after it form one character.
    using PairTest = std::function<bool(std::uint8_t lead, std::uint8_t trail)>;

    // Without a measuring function every byte is one pixel wide; without a pair test every lead byte
    // takes the next byte of its line along.
    LineWrapper(LeadByteSet leadBytes, Measure measure, int width, PairTest pairs = {});

    int width() const { return width_; }
    void setWidth(int width) { width_ = width; }

    // Where the display line that starts at `start` ends, in the editor line that ends at `end`.
    struct Break {
        Pos next;      // the start of the following display line, or `end` when the rest fits
        Pos overflow;  // the first character that did not fit, or `end`; no byte after it was read
    };

    // A display line that starts before `end` holds at least one character: next > start.
    template <typename ByteAt>
    Break breakAfter(const ByteAt& byteAt, Pos start, Pos end) const {
        ZOZUZ_ASSERT(start <= end);
        std::int64_t used = 0;
        Pos next = start;
        Pos afterSpace = -1;
        while (next < end) {
            const auto first = static_cast<std::uint8_t>(byteAt(next));
            int advance;
            Pos length = 1;
            advance = -1;
            if (leadBytes_.contains(first) && next + 1 < end) {
                advance = pairWidth(first, static_cast<std::uint8_t>(byteAt(next + 1)));
                if (advance >= 0) length = 2;
            }
            if (advance < 0) advance = byteWidth(first);
            if (used + advance > width_ && next > start) {
                const Break at{afterSpace > start ? afterSpace : next, next};
                ZOZUZ_ASSERT(start < at.next && at.next <= at.overflow && at.overflow < end);
                return at;
            }
            used += advance;
            next += length;
            if (length == 1 && first == ' ') afterSpace = next;
        }
        return {end, end};
    }

    // Appends to `out` the starts of the display lines of the editor line [start, end) after its
    // first one. `byteAt(position)` reads the text.
    template <typename ByteAt>
    void wrap(const ByteAt& byteAt, Pos start, Pos end, std::vector<std::int32_t>& out) const {
        for (Pos next = breakAfter(byteAt, start, end).next; next < end; next = breakAfter(byteAt, next, end).next) {
            out.push_back(static_cast<std::int32_t>(next));
        }
    }

    // Aborts, naming the broken one, unless the invariants stated on the members hold. Walks the
    // byte table: for tests and fuzzers, not for the program.
    void checkInvariants() const;

private:
    // The remembered advance, measured on first use; kNoPair for a lead byte and a byte that form no
    // character.
    int byteWidth(std::uint8_t byte) const {
        const int width = byteWidths_[byte];
        return width >= 0 ? width : measureByte(byte);
    }
    int pairWidth(std::uint8_t lead, std::uint8_t trail) const {
        const std::size_t index = static_cast<std::size_t>(lead) << 8 | trail;
        if (!pairWidths_.empty() && pairWidths_[index] != -1) return pairWidths_[index];
        return measurePair(lead, trail);
    }
    int measureByte(std::uint8_t byte) const;
    int measurePair(std::uint8_t lead, std::uint8_t trail) const;
    int measure(std::string_view character) const;

    static constexpr int kNoPair = -2;

    LeadByteSet leadBytes_;
    Measure measure_;
    int width_;
    PairTest pairs_;
    // Remembered advances, -1 while not yet measured and never negative once measured: a negative
    // advance would let a line grow without end. One per byte (256), and one per lead and trail byte
    // pair (65536) or none before the first pair is measured; a pair that forms no character holds
    // kNoPair instead, and only with a pair test.
    mutable std::vector<int> byteWidths_;
    mutable std::vector<int> pairWidths_;
};

}  // namespace zozuz
