#include "ui/toolkit/controls/TColor.h"

namespace zozuz {

namespace {

// The standard scheme's values of the system colours the program uses, as 0x00RRGGBB.
std::uint32_t systemColor(std::uint8_t index) {
    switch (index) {
        case 0x05: return 0xFFFFFF;  // window background
        case 0x08: return 0x000000;  // window text
        case 0x0D: return 0x0078D7;  // highlight
        case 0x0E: return 0xFFFFFF;  // highlight text
        case 0x0F: return 0xF0F0F0;  // button face
        case 0x10: return 0xA0A0A0;  // button shadow
        case 0x11: return 0x6D6D6D;  // grey text
        case 0x14: return 0xFFFFFF;  // button highlight
        default: return 0x000000;
    }
}

}  // namespace

std::uint32_t colorToRgb(TColor color) {
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) == 0x80000000u) return systemColor(static_cast<std::uint8_t>(value & 0xFF));
    const std::uint32_t r = value & 0xFF;
    const std::uint32_t g = (value >> 8) & 0xFF;
    const std::uint32_t b = (value >> 16) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

}  // namespace zozuz
