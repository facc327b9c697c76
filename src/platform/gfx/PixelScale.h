#pragma once

#include <cstdint>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"

namespace zozuz {

// The mapping between the program's logical pixels, of which an inch holds 96 as its layouts are
// stored, and the device pixels of a display with another density. Edges map to the nearest device
// pixel, so that rectangles which touch in logical pixels still touch on the display; an area to be
// painted maps outwards instead, so that every device pixel it touches is covered.
class PixelScale {
public:
    static constexpr int kLogicalDpi = 96;

    PixelScale() = default;
    // A density below one dot per inch is taken as the logical one.
    explicit PixelScale(int dpi) : dpi_(dpi >= 1 ? dpi : kLogicalDpi) {}

    int dpi() const { return dpi_; }
    // Whether logical and device pixels are the same.
    bool identity() const { return dpi_ == kLogicalDpi; }
    // Whether a logical pixel is a whole number of device pixels across.
    bool whole() const { return dpi_ % kLogicalDpi == 0; }

    int toDevice(int logical) const;
    int toLogical(int device) const;
    Point toDevice(Point p) const { return Point{toDevice(p.x), toDevice(p.y)}; }
    Point toLogical(Point p) const { return Point{toLogical(p.x), toLogical(p.y)}; }
    Size toDevice(Size s) const { return Size{toDevice(s.width), toDevice(s.height)}; }
    Size toLogical(Size s) const { return Size{toLogical(s.width), toLogical(s.height)}; }
    Rect toDevice(const Rect& r) const;
    Rect toLogical(const Rect& r) const;

    // The device pixels that any part of a logical area touches.
    Rect coveringDevice(const Rect& logical) const;
    // The logical pixels that any part of a device area touches.
    Rect coveringLogical(const Rect& device) const;

    friend bool operator==(const PixelScale&, const PixelScale&) = default;

private:
    int dpi_ = kLogicalDpi;  // always >= 1
};

// The device pixels `region` of `source` shown at `scale`: at a whole multiple each logical pixel
// becomes a square of equal device pixels, so that edges stay sharp; at any other density each device
// pixel blends the four logical pixels nearest to its centre. Every device pixel depends on the
// source alone, never on the region asked for, so regions painted one by one meet without seams.
// Device pixels beyond the source's scaled size repeat its last row and column.
Image scaledRegion(const Image& source, const PixelScale& scale, const Rect& region);

// The whole image at `scale` (its size mapped as an extent).
Image scaledImage(const Image& source, const PixelScale& scale);

}  // namespace zozuz
