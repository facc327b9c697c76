#include "ui/toolkit/controls/Bevel.h"

#include <cstdint>

#include "platform/gfx/Raster.h"
#include "ui/toolkit/controls/TColor.h"

namespace zozuz {

namespace {

constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010u);
constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014u);

void drawEdges(Image& image, const Rect& frame, std::uint32_t topLeft, std::uint32_t bottomRight) {
    if (frame.empty()) return;
    raster::fillRect(image, Rect{frame.left, frame.top, frame.right, frame.top + 1}, topLeft);
    raster::fillRect(image, Rect{frame.left, frame.top, frame.left + 1, frame.bottom}, topLeft);
    // The bottom and right edges own the two corners where the colours meet.
    raster::fillRect(image, Rect{frame.left, frame.bottom - 1, frame.right, frame.bottom}, bottomRight);
    raster::fillRect(image, Rect{frame.right - 1, frame.top, frame.right, frame.bottom}, bottomRight);
}

}  // namespace

void drawBevelFrame(Image& image, const Rect& frame, bool raised) {
    const std::uint32_t light = colorToRgb(clBtnHighlight);
    const std::uint32_t shade = colorToRgb(clBtnShadow);
    if (raised)
        drawEdges(image, frame, light, shade);
    else
        drawEdges(image, frame, shade, light);
}

void drawFrame(Image& image, const Rect& frame, std::uint32_t rgb) { drawEdges(image, frame, rgb, rgb); }

}  // namespace zozuz
