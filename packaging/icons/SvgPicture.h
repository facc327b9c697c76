#pragma once

#include <string>

#include "platform/gfx/Image.h"

namespace zozuz {

// Writes a pixel picture as an SVG document whose user units are the picture's pixels, so that it
// scales to any size with the same proportions. Each run of one colour along a row becomes a
// rectangle, and a run repeated on the rows below it grows downwards instead of repeating.
class SvgPicture {
public:
    static std::string fromImage(const Image& image);
};

}  // namespace zozuz
