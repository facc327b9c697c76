#include "platform/files/SystemCodePageCodec.h"

#include <cstdint>

namespace zozuz {

std::optional<char32_t> readUtf8(std::string_view utf8, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(utf8[i++]);
    if (lead < 0x80) return lead;
    int more;
    char32_t c;
    char32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, c = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    std::size_t j = i;
    for (int k = 0; k < more; ++k, ++j) {
        if (j >= utf8.size() || (static_cast<std::uint8_t>(utf8[j]) & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (static_cast<std::uint8_t>(utf8[j]) & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i = j;
    return c;
}

std::string SystemCodePageCodec::encode(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> c = readUtf8(utf8, i);
        if (c && *c < 0x80) {
            out.push_back(static_cast<char>(*c));
            continue;
        }
        const std::optional<std::string> bytes = c ? encodeCharacter(*c) : std::nullopt;
        out += bytes ? *bytes : std::string("?");
    }
    return out;
}

}  // namespace zozuz
