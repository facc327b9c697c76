#include "editor/CharacterKinds.h"

#include <string>

namespace zozuz {

CharacterKinds::CharacterKinds(LeadByteSet leadBytes, const CodePageCodec& codec)
    : leadBytes_(leadBytes), codec_(codec) {
    single_.fill(-1);
}

bool CharacterKinds::singleIsText(std::uint8_t byte) const {
    std::int8_t& known = single_[byte];
    if (known < 0) {
        // Control bytes are shown as boxes even where the code page maps them. 0x80 is the euro sign
        // in code page 936 as Windows and the C library hold it, and shows, copies and pastes as one.
        const bool control = byte < 0x20 || byte == 0x7F;
        const char c = static_cast<char>(byte);
        known = !control && !leadBytes_.contains(byte) && codec_.decode(std::string_view(&c, 1)).has_value();
    }
    return known != 0;
}

bool CharacterKinds::pairIsText(std::uint8_t lead, std::uint8_t trail) const {
    if (pairs_.empty()) pairs_.assign(65536, -1);
    std::int8_t& known = pairs_[static_cast<std::size_t>(lead) << 8 | trail];
    if (known < 0) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        known = codec_.decode(std::string_view(pair, 2)).has_value();
    }
    return known != 0;
}

CharacterKinds::Character CharacterKinds::at(std::uint8_t first, int second) const {
    if (first == '\t') return {1, Kind::Tab};
    if (leadBytes_.contains(first)) {
        if (second >= 0 && pairIsText(first, static_cast<std::uint8_t>(second))) return {2, Kind::Text};
        return {1, Kind::Box};
    }
    return {1, singleIsText(first) ? Kind::Text : Kind::Box};
}

}  // namespace zozuz
