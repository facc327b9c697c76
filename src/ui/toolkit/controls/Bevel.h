#pragma once

#include <cstdint>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"

namespace zozuz {

// Draws a one-pixel bevel along the edge of `frame` in the desktop's three-dimensional colours:
// raised, it is lit on the top and left and shaded on the bottom and right; lowered, the other way
// round. Nothing is drawn for an empty frame.
void drawBevelFrame(Image& image, const Rect& frame, bool raised);

// Draws a one-pixel outline along the edge of `frame` in one colour.
void drawFrame(Image& image, const Rect& frame, std::uint32_t rgb);

}  // namespace zozuz
