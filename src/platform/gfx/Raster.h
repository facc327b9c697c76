#pragma once

#include <cstdint>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"

// Drawing operations on the program's off-screen images, in plain C++, so that every host draws the
// gauge with the same pixels. Colours are pixel values (0x00RRGGBB). Every operation clips to the
// image; nothing is ever written outside it.
//
// Pixel rules. A pixel (x, y) is the unit square from (x, y) to (x + 1, y + 1), so its centre is
// (x + 0.5, y + 0.5); rectangles and boxes cover l <= x < r and t <= y < b, their right and bottom
// edges being exclusive.
// - The ellipse of a box is the set of pixels whose centres lie inside or on the ellipse inscribed in
//   the box (centre ((l + r) / 2, (t + b) / 2), semi-axes (r - l) / 2 and (b - t) / 2). It is
//   therefore symmetric about both of its axes and never leaves its box. Its outline is every pixel of
//   that set with an edge-neighbour outside the set; the rest is the inside. An empty box draws
//   nothing, and so does a box wider or taller than 2^30 pixels.
// - A pie sector keeps the pixels of the ellipse whose centres lie in the angle that runs
//   counter-clockwise on screen from the ray toward the start point to the ray toward the end point
//   (pixels on either ray included); the start and end points are positions in the plane, not pixel
//   centres. Its outline is again every pixel of the sector with an edge-neighbour outside it, which
//   traces the arc and both radii. Rays in the same direction, or a point at the very centre, give
//   the whole ellipse.
// - A line is a one-pixel Bresenham line from its start point up to, not including, its end point.
namespace zozuz::raster {

void fillRect(Image& image, const Rect& rect, std::uint32_t rgb);

void ellipse(Image& image, const Rect& box, std::uint32_t fill, std::uint32_t outline);

void pie(Image& image, const Rect& box, Point start, Point end, std::uint32_t fill,
         std::uint32_t outline);

void line(Image& image, Point from, Point to, std::uint32_t rgb);

// Combines `source` into `target` by bitwise exclusive-or, both images aligned at their top-left
// corners, over the area they share.
void xorImage(Image& target, const Image& source);

// Copies `source` into `target` with its top-left corner at `at`, replacing the pixels there, limited
// to `clip` (target coordinates).
void copyImage(Image& target, Point at, const Image& source, const Rect& clip);

}  // namespace zozuz::raster
