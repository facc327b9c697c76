#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gfx/Image.h"

namespace zozuz {

// Writes an image as a PNG file of 8-bit RGB pixels. The picture data goes into stored (not
// compressed) deflate blocks: the icons are small, the package compresses them anyway, and the
// writer stays short enough to check by eye.
class PngEncoder {
public:
    static std::string encode(const Image& image);

    // The checksums PNG and zlib use, exposed for their tests.
    static std::uint32_t crc32(std::string_view bytes);
    static std::uint32_t adler32(std::string_view bytes);

    // The largest block of stored deflate data.
    static constexpr std::size_t kStoredBlockLimit = 65535;
};

}  // namespace zozuz
