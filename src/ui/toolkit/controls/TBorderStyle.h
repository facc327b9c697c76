#pragma once

#include <cstdint>

namespace zozuz {

// Whether a control draws a one-pixel frame around its picture.
enum class TBorderStyle : std::uint8_t { bsNone = 0, bsSingle = 1 };

}  // namespace zozuz
