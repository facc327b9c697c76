#include "base/Utf8Cut.h"

namespace zozuz {

std::size_t utf8CharLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

std::string_view cutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Back up over the continuation bytes of a character that the limit would split; at most three.
    std::size_t back = 0;
    while (end > 0 && back < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
        ++back;
    }
    // A run of stray continuation bytes is not a character: cut where the limit says.
    if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) end = maxBytes;
    return text.substr(0, end);
}

}  // namespace zozuz
