#pragma once

#include <cstdint>

namespace zozuz {

// A key as the program's shortcuts name it: the low byte is the platform's virtual key code
// (letters and digits are their upper-case character codes), and the modifier bits are added on
// top. 0 means "no key".
using KeyCode = std::uint16_t;

inline constexpr KeyCode kShiftBit = 0x2000;
inline constexpr KeyCode kCtrlBit = 0x4000;
inline constexpr KeyCode kAltBit = 0x8000;

// The virtual key codes the program names. Hosts translate their own key identifiers into these at
// their edge, so the program's logic never sees a host's key numbering.
namespace vk {
inline constexpr std::uint8_t Back = 8;
inline constexpr std::uint8_t Tab = 9;
inline constexpr std::uint8_t Return = 13;
inline constexpr std::uint8_t Shift = 16;
inline constexpr std::uint8_t Control = 17;
inline constexpr std::uint8_t Menu = 18;  // Alt
inline constexpr std::uint8_t Escape = 27;
inline constexpr std::uint8_t Space = 32;
inline constexpr std::uint8_t Prior = 33;  // Page Up
inline constexpr std::uint8_t Next = 34;   // Page Down
inline constexpr std::uint8_t End = 35;
inline constexpr std::uint8_t Home = 36;
inline constexpr std::uint8_t Left = 37;
inline constexpr std::uint8_t Up = 38;
inline constexpr std::uint8_t Right = 39;
inline constexpr std::uint8_t Down = 40;
inline constexpr std::uint8_t Insert = 45;
inline constexpr std::uint8_t Delete = 46;
inline constexpr std::uint8_t Numpad0 = 96;  // Numpad1 to Numpad9 follow
inline constexpr std::uint8_t F1 = 112;      // F2 to F24 follow, up to 135
inline constexpr std::uint8_t F4 = 115;
inline constexpr std::uint8_t F12 = 123;
inline constexpr std::uint8_t F24 = 135;
}  // namespace vk

// The key code of a virtual key with the given modifiers.
constexpr KeyCode makeKeyCode(std::uint8_t virtualKey, bool shift, bool ctrl, bool alt) {
    return static_cast<KeyCode>(virtualKey | (shift ? kShiftBit : 0) | (ctrl ? kCtrlBit : 0) |
                                (alt ? kAltBit : 0));
}

}  // namespace zozuz
