#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/CharacterKinds.h"
#include "platform/gfx/Font.h"
#include "platform/host/CodePageTextMeasure.h"

namespace zozuz {

// How wide the editor draws each character in one font: a character of the code page as the font
// measures it, a tab up to the next tab stop, and a byte that is no character as a box. Each width
// is asked of the measure once and then read from a table of bytes or of byte pairs, so that walking
// a line costs a table look-up per character and no call to the host; lines of a gigabyte are
// walked this way. x counts pixels from a line's start in 64 bits: such a line is wider than an int.
class CharacterWidths {
public:
    // The kinds and the measure must outlive the widths.
    CharacterWidths(const CharacterKinds& kinds, CodePageTextMeasure& measure);
    CharacterWidths(const CharacterWidths&) = delete;
    CharacterWidths& operator=(const CharacterWidths&) = delete;

    // Forgets every width learnt: a new font, tab stop or box. The tab stop is at least 1.
    void reset(const Font& font, int tabStop, int boxWidth);
    int tabStop() const { return tabStop_; }
    int boxWidth() const { return boxWidth_; }

    struct Character {
        int length;  // 1 or 2 bytes
        CharacterKinds::Kind kind;
        int width;
    };
    // The character that starts with `first` at x; `second` is the byte after it inside the same
    // line, or -1 when `first` ends its line.
    Character at(std::uint8_t first, int second, std::int64_t x);
    // What the font measures for one character of the code page (one byte, or a lead byte with
    // `second`), never negative: for text that is shown as it is, such as the input method's.
    int advance(std::uint8_t first, int second);

    struct Walk {
        std::size_t offset = 0;   // a character boundary in the bytes walked
        std::int64_t x = 0;       // the x there
        bool stoppedByX = false;  // the character at `offset` ends past the x limit
        bool sawTab = false;      // a tab was walked over
    };
    // Walks over the characters of `bytes`, which begin at a character boundary at `x`, and stops at
    // the first boundary at or after `limit`, or before the first character that would end past
    // `xLimit` (the largest int64 for none). The bytes must hold the byte after `limit` unless the
    // line ends sooner: a lead byte that ends `bytes` stands alone, as one that ends its line does.
    Walk walk(std::string_view bytes, std::size_t limit, std::int64_t x, std::int64_t xLimit);

private:
    // Entries of the single-byte table, besides a width: the byte is a tab, a lead byte (look at the
    // pair), or not measured yet. Entries of the pair table: the lead byte stands alone as a box
    // because the two form no character, or not measured yet.
    static constexpr std::int32_t kTab = -1;
    static constexpr std::int32_t kLead = -2;
    static constexpr std::int32_t kNoPair = -2;
    static constexpr std::int32_t kUnknown = -3;

    std::int32_t learnSingle(std::uint8_t byte);
    std::int32_t learnPair(std::uint8_t lead, std::uint8_t trail);
    int measured(std::string_view character);
    template <bool kStopAtX>
    Walk walkOver(const std::uint8_t* bytes, std::size_t size, std::size_t limit, std::int64_t x, std::int64_t xLimit);
    int tabWidth(std::int64_t x) const { return tabStop_ - static_cast<int>(x % tabStop_); }

    const CharacterKinds& kinds_;
    CodePageTextMeasure& measure_;
    Font font_;
    int tabStop_ = 1;
    int boxWidth_ = 0;
    // A width (never negative) or one of the markers above; the pair table is indexed by the lead
    // byte times 256 plus the trail byte, and is allocated at the first lead byte.
    std::array<std::int32_t, 256> single_{};
    std::array<CharacterKinds::Kind, 256> singleKind_{};
    std::vector<std::int32_t> pair_;
};

}  // namespace zozuz
