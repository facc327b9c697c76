#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Geometry.h"

namespace zozuz {

// An off-screen image of 32-bit pixels laid out as 0x00RRGGBB, the layout hosts can show without a
// conversion. A new image is black: every colour bit zero.
class Image {
public:
    Image() = default;
    Image(int width, int height)
        : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0u) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }

    std::uint32_t pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, std::uint32_t rgb) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[index(x, y)] = rgb;
    }
    std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* data() const { return pixels_.data(); }
    std::uint32_t* data() { return pixels_.data(); }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace zozuz
