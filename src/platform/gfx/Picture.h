#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gfx/Image.h"

namespace zozuz {

// A picture: its pixels and which of them it covers. The pixels it leaves uncovered are black in
// `image` and show whatever lies beneath when the picture is drawn over something.
struct Picture {
    Image image;
    // One flag per pixel, row by row: whether the picture covers it.
    std::vector<std::uint8_t> covered;

    bool coveredAt(int x, int y) const {
        return covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width()) + x] != 0;
    }
};

// Reads a picture in the text form the tree keeps them in: a line "zozuz-picture WIDTH HEIGHT",
// palette lines "KEY RRGGBB" or "KEY none" (an uncovered pixel), a line "-", then HEIGHT rows of
// WIDTH keys. Nothing, for a text that breaks the form anywhere.
std::optional<Picture> parsePicture(std::string_view text);

// The picture drawn over a solid background colour (0x00RRGGBB).
Image pictureOver(const Picture& picture, std::uint32_t background);

}  // namespace zozuz
