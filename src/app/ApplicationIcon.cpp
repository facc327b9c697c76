#include "app/ApplicationIcon.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "app/ProgramPictures.h"

namespace zozuz {

Image applicationIcon(int size) {
    if (size == 32) return programPicture("icon-32").image;
    if (size == 64) return aboutPicture();
    Image icon(size, size);
    // Bright colours of the 16-colour palette, from the outside in.
    static constexpr std::array<std::uint32_t, 6> kFrames{0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF};
    const int frameWidth = std::max(1, size / 16);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // The distance to the nearest edge decides which frame a pixel belongs to.
            const int ring = std::min({x, y, size - 1 - x, size - 1 - y}) / frameWidth;
            const bool centre = ring >= static_cast<int>(kFrames.size());
            icon.setPixel(x, y, centre ? 0xFF0000 : kFrames[static_cast<std::size_t>(ring)]);
        }
    }
    return icon;
}

}  // namespace zozuz
