#include "ui/text/ShortCutText.h"

#include <array>
#include <string_view>

namespace zozuz {

namespace {

// Space to Down (32 to 40), by their place after Space.
constexpr std::array<std::string_view, 9> kNavigationNames{"Space", "PgUp", "PgDn", "End",  "Home",
                                                           "Left",  "Up",   "Right", "Down"};

std::string keyName(std::uint8_t key, const KeyNameLookup& layoutName) {
    switch (key) {
        case vk::Back:
            return "BkSp";
        case vk::Tab:
            return "Tab";
        case vk::Return:
            return "Enter";
        case vk::Escape:
            return "Esc";
        case vk::Insert:
            return "Ins";
        case vk::Delete:
            return "Del";
        default:
            break;
    }
    if (key >= vk::Space && key <= vk::Down) return std::string(kNavigationNames[key - vk::Space]);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) return std::string(1, static_cast<char>('0' + key - vk::Numpad0));
    if (key >= vk::F1 && key <= vk::F24) return "F" + std::to_string(key - vk::F1 + 1);
    return layoutName ? layoutName(key) : std::string();
}

}  // namespace

std::string ShortCutToText(KeyCode code, const KeyNameLookup& layoutName) {
    const std::string name = keyName(static_cast<std::uint8_t>(code & 0xFF), layoutName);
    if (name.empty()) return name;
    std::string text;
    if (code & kShiftBit) text += "Shift+";
    if (code & kCtrlBit) text += "Ctrl+";
    if (code & kAltBit) text += "Alt+";
    return text + name;
}

}  // namespace zozuz
