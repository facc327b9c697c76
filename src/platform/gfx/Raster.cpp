#include "platform/gfx/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zozuz::raster {

namespace {

// Products of doubled coordinates need up to about 66 bits; a 128-bit integer keeps every
// comparison exact, which keeps the shapes symmetric.
__extension__ typedef __int128 Wide;

constexpr std::int64_t kMaxBoxSpan = std::int64_t{1} << 30;

std::int64_t floorDiv2(std::int64_t a) { return a >= 0 ? a / 2 : -((-a + 1) / 2); }
std::int64_t ceilDiv2(std::int64_t a) { return -floorDiv2(-a); }

int clampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// A run of pixels [from, to) on one row.
struct Span {
    int from = 0;
    int to = 0;
    bool contains(int x) const { return x >= from && x < to; }
};

// The rows of the ellipse inscribed in a box. Everything is computed in doubled coordinates, where
// pixel centres and the box's centre are whole numbers: a pixel belongs to the ellipse when
// dx^2 * h^2 + dy^2 * w^2 <= w^2 * h^2 for the doubled offsets dx, dy of its centre.
class EllipseRows {
public:
    explicit EllipseRows(const Rect& box)
        : w_(std::int64_t{box.right} - box.left), h_(std::int64_t{box.bottom} - box.top),
          cx2_(std::int64_t{box.left} + box.right), cy2_(std::int64_t{box.top} + box.bottom) {}

    bool drawable() const { return w_ > 0 && h_ > 0 && w_ <= kMaxBoxSpan && h_ <= kMaxBoxSpan; }

    Span row(int y) const {
        const std::int64_t dy = 2 * std::int64_t{y} + 1 - cy2_;
        if (dy <= -h_ || dy >= h_) return {};
        const Wide hh = Wide{h_} * h_;
        const Wide limit = (hh - Wide{dy} * dy) * (Wide{w_} * w_);
        // The widest doubled offset k with k^2 * h^2 <= limit, from a floating estimate made exact.
        auto k = static_cast<std::int64_t>(static_cast<long double>(w_) *
                                           std::sqrt(static_cast<long double>(hh - Wide{dy} * dy)) /
                                           static_cast<long double>(h_));
        while (k > 0 && Wide{k} * k * hh > limit) --k;
        while (Wide{k + 1} * (k + 1) * hh <= limit) ++k;
        // Pixel x has the doubled offset 2x + 1 - cx2; keep those within [-k, k].
        return Span{clampToInt(ceilDiv2(cx2_ - 1 - k)), clampToInt(floorDiv2(cx2_ - 1 + k) + 1)};
    }

private:
    std::int64_t w_;
    std::int64_t h_;
    std::int64_t cx2_;
    std::int64_t cy2_;
};

// The angle of a pie sector, tested on pixel centres. Vectors are doubled offsets from the box's
// centre with y pointing up, so that counter-clockwise on screen is counter-clockwise here too.
class Sector {
public:
    Sector(const Rect& box, Point start, Point end)
        : cx2_(std::int64_t{box.left} + box.right), cy2_(std::int64_t{box.top} + box.bottom),
          sx_(2 * std::int64_t{start.x} - cx2_), sy_(cy2_ - 2 * std::int64_t{start.y}),
          ex_(2 * std::int64_t{end.x} - cx2_), ey_(cy2_ - 2 * std::int64_t{end.y}) {
        const Wide turn = cross(sx_, sy_, ex_, ey_);
        const Wide dot = Wide{sx_} * ex_ + Wide{sy_} * ey_;
        if ((sx_ == 0 && sy_ == 0) || (ex_ == 0 && ey_ == 0) || (turn == 0 && dot > 0))
            kind_ = Kind::Whole;
        else if (turn == 0)
            kind_ = Kind::Half;
        else
            kind_ = turn > 0 ? Kind::Narrow : Kind::Wide;
    }

    bool whole() const { return kind_ == Kind::Whole; }

    bool contains(int x, int y) const {
        const std::int64_t px = 2 * std::int64_t{x} + 1 - cx2_;
        const std::int64_t py = cy2_ - (2 * std::int64_t{y} + 1);
        const bool afterStart = cross(sx_, sy_, px, py) >= 0;
        const bool beforeEnd = cross(px, py, ex_, ey_) >= 0;
        switch (kind_) {
            case Kind::Whole: return true;
            case Kind::Half: return afterStart;
            case Kind::Narrow: return afterStart && beforeEnd;
            case Kind::Wide: return afterStart || beforeEnd;
        }
        return false;
    }

private:
    // Whole: the full ellipse. Half: rays in opposite directions. Narrow: the angle from start to
    // end is below half a turn. Wide: above half a turn.
    enum class Kind { Whole, Half, Narrow, Wide };

    static Wide cross(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
        return Wide{ax} * by - Wide{ay} * bx;
    }

    std::int64_t cx2_;
    std::int64_t cy2_;
    std::int64_t sx_;
    std::int64_t sy_;
    std::int64_t ex_;
    std::int64_t ey_;
    Kind kind_ = Kind::Whole;
};

// Paints the part of a box's ellipse that lies in `sector`: its outline pixels (those with an
// edge-neighbour outside the part) in `outline`, the others in `fill`.
void paintEllipsePart(Image& image, const Rect& box, const Sector& sector, std::uint32_t fill,
                      std::uint32_t outline) {
    const EllipseRows rows(box);
    if (!rows.drawable()) return;
    const Rect area = box.intersected(image.bounds());
    if (area.empty()) return;
    const bool whole = sector.whole();
    auto inPart = [&](const Span& span, int x, int y) {
        return span.contains(x) && (whole || sector.contains(x, y));
    };
    Span above = rows.row(area.top - 1);
    Span current = rows.row(area.top);
    for (int y = area.top; y < area.bottom; ++y) {
        const Span below = rows.row(y + 1);
        std::uint32_t* out = image.row(y);
        const int from = std::max(current.from, area.left);
        const int to = std::min(current.to, area.right);
        for (int x = from; x < to; ++x) {
            if (!whole && !sector.contains(x, y)) continue;
            const bool edge = !inPart(current, x - 1, y) || !inPart(current, x + 1, y) ||
                              !inPart(above, x, y - 1) || !inPart(below, x, y + 1);
            out[x] = edge ? outline : fill;
        }
        above = current;
        current = below;
    }
}

}  // namespace

void fillRect(Image& image, const Rect& rect, std::uint32_t rgb) {
    const Rect area = rect.intersected(image.bounds());
    if (area.empty()) return;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* out = image.row(y);
        std::fill(out + area.left, out + area.right, rgb);
    }
}

void ellipse(Image& image, const Rect& box, std::uint32_t fill, std::uint32_t outline) {
    paintEllipsePart(image, box, Sector(box, Point{}, Point{}), fill, outline);
}

void pie(Image& image, const Rect& box, Point start, Point end, std::uint32_t fill,
         std::uint32_t outline) {
    paintEllipsePart(image, box, Sector(box, start, end), fill, outline);
}

void line(Image& image, Point from, Point to, std::uint32_t rgb) {
    // A line that cannot meet the image draws nothing; this also bounds the work for wild points.
    const Rect span{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x),
                    std::max(from.y, to.y)};
    const Rect bounds = image.bounds();
    if (span.right < 0 || span.bottom < 0 || span.left >= bounds.right || span.top >= bounds.bottom)
        return;
    std::int64_t x = from.x;
    std::int64_t y = from.y;
    const std::int64_t dx = std::llabs(std::int64_t{to.x} - from.x);
    const std::int64_t dy = -std::llabs(std::int64_t{to.y} - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    std::int64_t error = dx + dy;
    while (x != to.x || y != to.y) {
        image.setPixel(static_cast<int>(x), static_cast<int>(y), rgb);
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void xorImage(Image& target, const Image& source) {
    const int width = std::min(target.width(), source.width());
    const int height = std::min(target.height(), source.height());
    for (int y = 0; y < height; ++y) {
        std::uint32_t* out = target.row(y);
        const std::uint32_t* in = source.row(y);
        for (int x = 0; x < width; ++x) out[x] ^= in[x];
    }
}

void copyImage(Image& target, Point at, const Image& source, const Rect& clip) {
    const std::int64_t right = std::int64_t{at.x} + source.width();
    const std::int64_t bottom = std::int64_t{at.y} + source.height();
    const Rect placed{at.x, at.y, clampToInt(right), clampToInt(bottom)};
    const Rect area = placed.intersected(clip).intersected(target.bounds());
    if (area.empty()) return;
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* in = source.row(y - at.y) + (area.left - at.x);
        std::copy(in, in + area.width(), target.row(y) + area.left);
    }
}

}  // namespace zozuz::raster
