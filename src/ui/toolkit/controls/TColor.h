#pragma once

#include <cstdint>

namespace zozuz {

// A colour as the program's components store it. With a zero top byte it is an RGB colour laid out
// as 0x00BBGGRR (red in the low byte); with 0x80 in the top byte it names the system colour whose
// index is in the low byte.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
inline constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x8000000Eu);
inline constexpr TColor clGrayText = static_cast<TColor>(0x80000011u);

// The value of a colour as a pixel of the program's images (0x00RRGGBB). System colours take the
// values of the desktop's standard scheme.
std::uint32_t colorToRgb(TColor color);

}  // namespace zozuz
