#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/LeadByteSet.h"
#include "platform/host/CodePageCodec.h"

namespace zozuz {

// Divides the bytes of a line into the characters the editor shows, each one caret stop: a valid
// character of the code page (one byte, or a lead byte with a trail byte that forms a character), a
// tab, or a byte that is no character at all. Such a byte (a lone lead byte, a lead byte whose trail
// byte forms nothing, zero, 0x80, 0xFF, control bytes, a lone CR or LF) is shown as a box with its
// hex value, so what the user sees is what the file holds.
//
// Validity is asked of the codec once per byte and once per byte pair, then remembered.
class CharacterKinds {
public:
    enum class Kind : std::uint8_t { Text, Tab, Box };

    struct Character {
        int length;  // 1 or 2 bytes
        Kind kind;
    };

    CharacterKinds(LeadByteSet leadBytes, const CodePageCodec& codec);

    // The character that begins with `first`; `second` is the byte after it inside the same line, or
    // -1 when `first` ends its line.
    Character at(std::uint8_t first, int second) const;

    bool isLead(std::uint8_t byte) const { return leadBytes_.contains(byte); }
    const LeadByteSet& leadBytes() const { return leadBytes_; }

private:
    bool singleIsText(std::uint8_t byte) const;
    bool pairIsText(std::uint8_t lead, std::uint8_t trail) const;

    LeadByteSet leadBytes_;
    const CodePageCodec& codec_;
    // Remembered answers: -1 not asked yet, 0 no character, 1 a character.
    mutable std::array<std::int8_t, 256> single_;
    mutable std::vector<std::int8_t> pairs_;
};

}  // namespace zozuz
