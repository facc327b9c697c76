#include "platform/gfx/Raster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

namespace zozuz {
namespace {

constexpr std::uint32_t kFill = 0x00FF00;
constexpr std::uint32_t kEdge = 0xFF0000;

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of an image that are not black.
PixelSet painted(const Image& image) {
    PixelSet out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != 0) out.emplace(x, y);
    return out;
}

PixelSet paintedIn(const Image& image, std::uint32_t rgb) {
    PixelSet out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == rgb) out.emplace(x, y);
    return out;
}

TEST(RasterFill, CoversLeftTopInclusiveRightBottomExclusiveAndClips) {
    Image image(6, 4);
    raster::fillRect(image, Rect{1, 1, 3, 3}, 7);
    EXPECT_EQ(painted(image), (PixelSet{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));

    raster::fillRect(image, Rect{-10, -10, 100, 100}, 9);
    EXPECT_EQ(paintedIn(image, 9).size(), 24u);

    Image untouched(3, 3);
    raster::fillRect(untouched, Rect{2, 2, 2, 5}, 9);   // empty
    raster::fillRect(untouched, Rect{3, 0, 10, 3}, 9);  // beside the image
    EXPECT_TRUE(painted(untouched).empty());
}

TEST(RasterLine, LeavesOutTheEndPoint) {
    Image image(10, 10);
    raster::line(image, Point{1, 2}, Point{6, 2}, 5);
    EXPECT_EQ(painted(image), (PixelSet{{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}));

    Image dot(4, 4);
    raster::line(dot, Point{2, 2}, Point{2, 2}, 5);
    EXPECT_TRUE(painted(dot).empty());
}

TEST(RasterLine, DrawsOnePixelPerStepInEveryDirection) {
    const Point centre{10, 10};
    const Point ends[] = {{17, 12}, {12, 17}, {8, 17}, {3, 12}, {3, 8}, {8, 3}, {12, 3}, {17, 8}, {17, 17}};
    for (Point end : ends) {
        Image image(21, 21);
        raster::line(image, centre, end, 1);
        const PixelSet pixels = painted(image);
        const int steps = std::max(std::abs(end.x - centre.x), std::abs(end.y - centre.y));
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(steps)) << end.x << "," << end.y;
        EXPECT_TRUE(pixels.count({centre.x, centre.y}));
        EXPECT_FALSE(pixels.count({end.x, end.y}));
        // Every pixel stays within half a pixel of the ideal line.
        for (auto [x, y] : pixels) {
            const double cross = double(end.x - centre.x) * (y - centre.y) - double(end.y - centre.y) * (x - centre.x);
            EXPECT_LE(std::abs(cross) / steps, 1.0) << x << "," << y;
        }
    }
}

TEST(RasterLine, ClipsToTheImage) {
    Image image(5, 5);
    raster::line(image, Point{-3, 2}, Point{9, 2}, 1);
    EXPECT_EQ(painted(image).size(), 5u);
    raster::line(image, Point{-100000, -7}, Point{100000, -7}, 2);  // above the image
    EXPECT_TRUE(paintedIn(image, 2).empty());
}

// Checks the shape rules shared by ellipses and sectors on a drawn box.
void expectSymmetricInsideBox(const Image& image, const Rect& box) {
    const PixelSet pixels = painted(image);
    ASSERT_FALSE(pixels.empty());
    for (auto [x, y] : pixels) {
        EXPECT_TRUE(box.contains(Point{x, y})) << x << "," << y;
        const int mx = box.left + box.right - 1 - x;
        const int my = box.top + box.bottom - 1 - y;
        EXPECT_EQ(image.pixel(mx, y), image.pixel(x, y)) << x << "," << y;
        EXPECT_EQ(image.pixel(x, my), image.pixel(x, y)) << x << "," << y;
    }
}

TEST(RasterEllipse, IsSymmetricInsideItsBoxAndTouchesItsSides) {
    const Rect boxes[] = {{2, 3, 23, 14}, {1, 1, 21, 11}, {0, 0, 7, 30}, {4, 4, 5, 5}, {3, 3, 5, 5}, {1, 1, 296, 16}};
    for (const Rect& box : boxes) {
        Image image(300, 40);
        raster::ellipse(image, box, kFill, kEdge);
        expectSymmetricInsideBox(image, box);
        // The middle of each side of the box is part of the outline.
        const int midX = (box.left + box.right - 1) / 2;
        const int midY = (box.top + box.bottom - 1) / 2;
        EXPECT_EQ(image.pixel(box.left, midY), kEdge);
        EXPECT_EQ(image.pixel(box.right - 1, midY), kEdge);
        EXPECT_EQ(image.pixel(midX, box.top), kEdge);
        EXPECT_EQ(image.pixel(midX, box.bottom - 1), kEdge);
    }
}

TEST(RasterEllipse, OutlineEnclosesTheFill) {
    Image image(40, 30);
    raster::ellipse(image, Rect{3, 2, 36, 27}, kFill, kEdge);
    const PixelSet fill = paintedIn(image, kFill);
    ASSERT_FALSE(fill.empty());
    for (auto [x, y] : fill) {
        EXPECT_NE(image.pixel(x - 1, y), 0u);
        EXPECT_NE(image.pixel(x + 1, y), 0u);
        EXPECT_NE(image.pixel(x, y - 1), 0u);
        EXPECT_NE(image.pixel(x, y + 1), 0u);
    }
    // The outline is one pixel thin: every outline pixel touches the outside (8 directions).
    for (auto [x, y] : paintedIn(image, kEdge)) {
        bool touchesOutside = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) touchesOutside |= image.pixel(x + dx, y + dy) == 0;
        EXPECT_TRUE(touchesOutside) << x << "," << y;
    }
}

TEST(RasterEllipse, ClippedDrawMatchesTheUnclippedPicture) {
    const Rect box{-5, -3, 25, 17};
    Image whole(40, 40);
    raster::ellipse(whole, Rect{box.left + 10, box.top + 10, box.right + 10, box.bottom + 10}, kFill, kEdge);
    Image clipped(12, 9);
    raster::ellipse(clipped, box, kFill, kEdge);
    for (int y = 0; y < clipped.height(); ++y)
        for (int x = 0; x < clipped.width(); ++x)
            EXPECT_EQ(clipped.pixel(x, y), whole.pixel(x + 10, y + 10)) << x << "," << y;
}

TEST(RasterEllipse, EmptyOrTinyBoxes) {
    Image image(10, 10);
    raster::ellipse(image, Rect{5, 5, 5, 9}, kFill, kEdge);
    raster::ellipse(image, Rect{5, 5, 2, 9}, kFill, kEdge);
    EXPECT_TRUE(painted(image).empty());
    raster::ellipse(image, Rect{4, 4, 5, 5}, kFill, kEdge);
    EXPECT_EQ(painted(image), (PixelSet{{4, 4}}));
    EXPECT_EQ(image.pixel(4, 4), kEdge);
}

TEST(RasterPie, QuartersRunCounterClockwiseFromStartToEnd) {
    const Rect box{0, 0, 20, 20};
    const Point right{20, 10}, top{10, 0}, left{0, 10}, bottom{10, 20};
    Image full(20, 20);
    raster::ellipse(full, box, kFill, kEdge);
    const PixelSet ellipsePixels = painted(full);

    Image quarter(20, 20);
    raster::pie(quarter, box, right, top, kFill, kEdge);
    const PixelSet topRight = painted(quarter);
    PixelSet expected;
    for (auto [x, y] : ellipsePixels)
        if (x >= 10 && y < 10) expected.emplace(x, y);
    EXPECT_EQ(topRight, expected);
    // The radii are outline: the pixels along the centre's row and column.
    EXPECT_EQ(quarter.pixel(10, 9), kEdge);
    EXPECT_EQ(quarter.pixel(15, 9), kEdge);
    EXPECT_EQ(quarter.pixel(10, 4), kEdge);
    EXPECT_EQ(quarter.pixel(13, 6), kFill);

    // From twelve o'clock round the left and the bottom back to three o'clock: the other three quarters.
    Image rest(20, 20);
    raster::pie(rest, box, top, right, kFill, kEdge);
    PixelSet restPixels = painted(rest);
    for (auto p : restPixels) EXPECT_FALSE(topRight.count(p));
    restPixels.insert(topRight.begin(), topRight.end());
    EXPECT_EQ(restPixels, ellipsePixels);

    Image lower(20, 20);
    raster::pie(lower, box, left, right, kFill, kEdge);
    for (auto [x, y] : painted(lower)) EXPECT_GE(y, 10);
    EXPECT_EQ(painted(lower).size(), ellipsePixels.size() / 2);
    (void)bottom;
}

TEST(RasterPie, CoincidingRaysGiveTheWholeEllipse) {
    const Rect box{1, 1, 30, 16};
    Image ellipse(32, 18), samePoint(32, 18), sameRay(32, 18), atCentre(32, 18);
    raster::ellipse(ellipse, box, kFill, kEdge);
    raster::pie(samePoint, box, Point{15, 0}, Point{15, 0}, kFill, kEdge);
    raster::pie(sameRay, box, Point{30, 8}, Point{60, 8}, kFill, kEdge);  // same direction, farther out
    // A start point at the very centre (box {0, 0, 30, 16}) gives no direction at all.
    Image centred(32, 18);
    raster::ellipse(centred, Rect{0, 0, 30, 16}, kFill, kEdge);
    raster::pie(atCentre, Rect{0, 0, 30, 16}, Point{15, 8}, Point{0, 0}, kFill, kEdge);
    for (const Image* image : {&samePoint, &sameRay})
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 32; ++x) ASSERT_EQ(image->pixel(x, y), ellipse.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(painted(atCentre), painted(centred));
}

TEST(RasterImages, ExclusiveOrCombinesOverTheSharedArea) {
    Image target(3, 2), source(2, 3);
    target.setPixel(0, 0, 0xFFFFFF);
    target.setPixel(2, 1, 0x123456);
    source.setPixel(0, 0, 0x0000FF);
    source.setPixel(1, 1, 0xFFFFFF);
    source.setPixel(1, 2, 0xFFFFFF);  // outside the target
    raster::xorImage(target, source);
    EXPECT_EQ(target.pixel(0, 0), 0xFFFF00u);
    EXPECT_EQ(target.pixel(1, 1), 0xFFFFFFu);
    EXPECT_EQ(target.pixel(2, 1), 0x123456u);
    raster::xorImage(target, source);
    EXPECT_EQ(target.pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(target.pixel(1, 1), 0u);
}

TEST(RasterImages, CopyReplacesPixelsWithinTheClip) {
    Image source(4, 4);
    raster::fillRect(source, source.bounds(), 0xABCDEF);
    Image target(10, 10);
    raster::fillRect(target, target.bounds(), 1);
    raster::copyImage(target, Point{-2, 8}, source, Rect{0, 0, 10, 10});
    EXPECT_EQ(paintedIn(target, 0xABCDEF), (PixelSet{{0, 8}, {1, 8}, {0, 9}, {1, 9}}));

    raster::copyImage(target, Point{3, 3}, source, Rect{4, 4, 6, 5});
    EXPECT_EQ(paintedIn(target, 0xABCDEF).size(), 6u);
    EXPECT_EQ(target.pixel(3, 3), 1u);
    EXPECT_EQ(target.pixel(4, 4), 0xABCDEFu);
    EXPECT_EQ(target.pixel(6, 4), 1u);

    raster::copyImage(target, Point{2147483600, 0}, source, target.bounds());  // far off, no overflow
    EXPECT_EQ(paintedIn(target, 0xABCDEF).size(), 6u);
}

}  // namespace
}  // namespace zozuz
