#include "platform/gfx/PixelScale.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zozuz {
namespace {

// The main window's stored bounds at the densities displays ship with: the window grows by the
// display's factor, and rectangles that touch keep touching.
TEST(PixelScale, MapsLayoutsToEveryDensityAndBack) {
    struct Row {
        int dpi;
        Rect device;
    };
    const Rect window{193, 135, 193 + 570, 135 + 385};
    for (const Row& row : {Row{96, window}, Row{120, Rect{241, 169, 954, 650}}, Row{144, Rect{290, 203, 1145, 780}},
                           Row{192, Rect{386, 270, 1526, 1040}}, Row{72, Rect{145, 101, 572, 390}}}) {
        SCOPED_TRACE(row.dpi);
        const PixelScale scale(row.dpi);
        EXPECT_EQ(scale.toDevice(window), row.device);
        EXPECT_EQ(scale.toLogical(row.device), window);
        // Left of the origin (a monitor left of the main one) maps back just as well.
        EXPECT_EQ(scale.toLogical(scale.toDevice(-window.left)), -window.left);
        // An area to paint covers every device pixel it touches, and a device area every
        // logical pixel.
        const Rect cover = scale.coveringDevice(Rect{3, -3, 4, 4});
        EXPECT_LE(cover.left, scale.toDevice(3));
        EXPECT_GE(cover.right, scale.toDevice(4));
        EXPECT_LE(cover.top, scale.toDevice(-3));
        const Rect back = scale.coveringLogical(cover);
        EXPECT_TRUE(back.left <= 3 && back.top <= -3 && back.right >= 4 && back.bottom >= 4);
    }
    EXPECT_EQ(PixelScale(0), PixelScale());
    EXPECT_EQ(PixelScale(-5).dpi(), 96);
}

Image checkerboard(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFu : 0x000000u);
    return image;
}

TEST(PixelScale, WholeMultiplesReplicatePixelsOthersBlendWithoutSeams) {
    const Image source = checkerboard(5, 4);
    const Image doubled = scaledImage(source, PixelScale(192));
    ASSERT_EQ(doubled.width(), 10);
    ASSERT_EQ(doubled.height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(doubled.pixel(x, y), source.pixel(x / 2, y / 2)) << x << "," << y;

    // One and a half: a flat area stays exactly its colour, an edge gets a blended pixel.
    Image flat(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) flat.setPixel(x, y, x < 2 ? 0x204080u : 0xFFFFFFu);
    const Image half = scaledImage(flat, PixelScale(144));
    ASSERT_EQ(half.width(), 6);
    EXPECT_EQ(half.pixel(0, 0), 0x204080u);
    EXPECT_EQ(half.pixel(5, 5), 0xFFFFFFu);
    const std::uint32_t edge = half.pixel(3, 2);
    EXPECT_NE(edge, 0x204080u);
    EXPECT_NE(edge, 0xFFFFFFu);

    // Regions painted one by one give the pixels of the whole.
    for (const int dpi : {120, 144, 168}) {
        const PixelScale scale(dpi);
        const Image whole = scaledImage(source, scale);
        const Rect part{3, 1, 5, 4};
        const Image piece = scaledRegion(source, scale, part);
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 0; x < piece.width(); ++x)
                ASSERT_EQ(piece.pixel(x, y), whole.pixel(part.left + x, part.top + y)) << dpi;
    }
    // Past the source's edge the last pixels repeat; an empty source gives black.
    EXPECT_EQ(scaledRegion(source, PixelScale(144), Rect{20, 0, 21, 1}).pixel(0, 0), source.pixel(4, 0));
    EXPECT_EQ(scaledRegion(Image(), PixelScale(144), Rect{0, 0, 2, 2}).pixel(1, 1), 0u);
}

}  // namespace
}  // namespace zozuz
