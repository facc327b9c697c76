#pragma once

#include <cstdint>
#include <string>

namespace zozuz {

// A font as the program names it: a face name, the character height in pixels, the character set
// and a colour. Hosts map it onto a real font at their edge.
struct Font {
    enum class Charset : std::uint8_t { Default = 1, GB2312 = 134 };

    std::string family = "宋体";  // UTF-8, like every string of the program's own
    int pixelHeight = 13;          // character height, without internal leading
    Charset charset = Charset::GB2312;
    std::uint32_t rgb = 0x000000;  // 0xRRGGBB
    bool bold = false;

    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace zozuz
