#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace zozuz {

// The lead bytes of a double-byte code page: a byte in this set starts a two-byte character and
// carries the byte after it along, whatever that byte is. The set is a value, handed to whoever needs
// it, so nothing depends on a process-wide code page.
class LeadByteSet {
public:
    // The empty set, for a system without double-byte character support.
    constexpr LeadByteSet() = default;

    // The union of byte ranges as the system reports them: pairs of first and last byte, read in
    // order up to the first pair of two zero bytes; a range whose last byte is below its first is
    // skipped.
    constexpr explicit LeadByteSet(std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> ranges) {
        for (const auto& [first, last] : ranges) {
            if (first == 0 && last == 0) break;
            if (last < first) continue;
            for (unsigned b = first; b <= last; ++b) bits_[b] = true;
        }
    }

    // Code page 936 (GBK): 0x81 to 0xFE.
    static constexpr LeadByteSet codePage936() { return LeadByteSet{{0x81, 0xFE}}; }

    constexpr bool contains(std::uint8_t byte) const { return bits_[byte]; }
    constexpr bool contains(char byte) const { return bits_[static_cast<std::uint8_t>(byte)]; }

private:
    std::array<bool, 256> bits_{};
};

}  // namespace zozuz
