#include "platform/gfx/PixelScale.h"

#include <algorithm>

#include "base/Assert.h"

namespace zozuz {

namespace {

// Division rounding towards minus infinity, for coordinates left or above the origin.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int clampInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::uint32_t channel(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFFu; }

// Blends two pixels channel by channel, `weight` of 256 going to the second.
std::uint32_t blend(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t v = (channel(a, shift) * (256 - weight) + channel(b, shift) * weight + 128) >> 8;
        out |= v << shift;
    }
    return out;
}

// Where a device coordinate's centre falls in the source, as a source pixel and the 1/256 weight of
// the next one, clamped to the source's extent.
struct Sample {
    int index;
    int next;
    std::uint32_t weight;
};

Sample sampleAt(int device, int dpi, int extent) {
    // The centre of device pixel d lies at (d + 1/2) * 96 / dpi in source pixels; the blend is
    // between the source pixels whose centres lie on either side, counted in 1/256 of a pixel.
    const std::int64_t centre = floorDiv((2 * static_cast<std::int64_t>(device) + 1) * PixelScale::kLogicalDpi * 256,
                                         2 * static_cast<std::int64_t>(dpi)) - 128;
    const std::int64_t last = static_cast<std::int64_t>(extent - 1) * 256;
    const std::int64_t at = std::clamp<std::int64_t>(centre, 0, last);
    const int index = static_cast<int>(at >> 8);
    return Sample{index, std::min(index + 1, extent - 1), static_cast<std::uint32_t>(at & 0xFF)};
}

}  // namespace

int PixelScale::toDevice(int logical) const {
    return clampInt(floorDiv(static_cast<std::int64_t>(logical) * dpi_ + kLogicalDpi / 2, kLogicalDpi));
}

int PixelScale::toLogical(int device) const {
    return clampInt(floorDiv(static_cast<std::int64_t>(device) * kLogicalDpi + dpi_ / 2, dpi_));
}

Rect PixelScale::toDevice(const Rect& r) const {
    return Rect{toDevice(r.left), toDevice(r.top), toDevice(r.right), toDevice(r.bottom)};
}

Rect PixelScale::toLogical(const Rect& r) const {
    return Rect{toLogical(r.left), toLogical(r.top), toLogical(r.right), toLogical(r.bottom)};
}

Rect PixelScale::coveringDevice(const Rect& logical) const {
    const auto down = [&](int v) { return clampInt(floorDiv(static_cast<std::int64_t>(v) * dpi_, kLogicalDpi)); };
    const auto up = [&](int v) {
        return clampInt(-floorDiv(-static_cast<std::int64_t>(v) * dpi_, kLogicalDpi));
    };
    return Rect{down(logical.left), down(logical.top), up(logical.right), up(logical.bottom)};
}

Rect PixelScale::coveringLogical(const Rect& device) const {
    const auto down = [&](int v) { return clampInt(floorDiv(static_cast<std::int64_t>(v) * kLogicalDpi, dpi_)); };
    const auto up = [&](int v) {
        return clampInt(-floorDiv(-static_cast<std::int64_t>(v) * kLogicalDpi, dpi_));
    };
    return Rect{down(device.left), down(device.top), up(device.right), up(device.bottom)};
}

Image scaledRegion(const Image& source, const PixelScale& scale, const Rect& region) {
    Image out(region.width(), region.height());
    if (source.width() == 0 || source.height() == 0 || out.width() == 0 || out.height() == 0) return out;
    const int dpi = scale.dpi();
    if (scale.whole()) {
        // Pixel replication: device pixel d shows source pixel d / factor.
        const int factor = dpi / PixelScale::kLogicalDpi;
        for (int y = 0; y < out.height(); ++y) {
            const int sy = std::clamp(static_cast<int>(floorDiv(region.top + y, factor)), 0, source.height() - 1);
            const std::uint32_t* from = source.row(sy);
            std::uint32_t* to = out.row(y);
            for (int x = 0; x < out.width(); ++x)
                to[x] = from[std::clamp(static_cast<int>(floorDiv(region.left + x, factor)), 0, source.width() - 1)];
        }
        return out;
    }
    std::vector<Sample> columns;
    columns.reserve(static_cast<std::size_t>(out.width()));
    for (int x = 0; x < out.width(); ++x) columns.push_back(sampleAt(region.left + x, dpi, source.width()));
    for (int y = 0; y < out.height(); ++y) {
        const Sample row = sampleAt(region.top + y, dpi, source.height());
        const std::uint32_t* upper = source.row(row.index);
        const std::uint32_t* lower = source.row(row.next);
        std::uint32_t* to = out.row(y);
        for (int x = 0; x < out.width(); ++x) {
            const Sample& c = columns[static_cast<std::size_t>(x)];
            const std::uint32_t top = blend(upper[c.index], upper[c.next], c.weight);
            const std::uint32_t bottom = blend(lower[c.index], lower[c.next], c.weight);
            to[x] = blend(top, bottom, row.weight);
        }
    }
    return out;
}

Image scaledImage(const Image& source, const PixelScale& scale) {
    const Size size = scale.toDevice(Size{source.width(), source.height()});
    return scaledRegion(source, scale, Rect{0, 0, size.width, size.height});
}

}  // namespace zozuz
