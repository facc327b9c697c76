#include <gtest/gtest.h>

#include <cstdint>

#include "platform/gfx/Font.h"
#include "platform/gfx/Raster.h"
#include "hosts/headless/BitmapFontRenderer.h"
#include "hosts/headless/ImageSurface.h"

namespace zozuz {
namespace {

Font fontOfHeight(int pixelHeight) {
    Font font;
    font.pixelHeight = pixelHeight;
    return font;
}

int countColour(const Image& image, std::uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == rgb;
    return n;
}

TEST(BitmapFont, MeasuresAdvancesAndCellHeight) {
    BitmapFontRenderer renderer;
    EXPECT_EQ(renderer.measure(fontOfHeight(12), "0%"), (Size{12, 12}));
    EXPECT_EQ(renderer.measure(fontOfHeight(13), "100%"), (Size{24, 13}));
    EXPECT_EQ(renderer.measure(fontOfHeight(16), "5%"), (Size{24, 16}));   // dots of 2 x 2 pixels
    EXPECT_EQ(renderer.measure(fontOfHeight(4), "-"), (Size{6, 8}));       // never below one dot
    EXPECT_EQ(renderer.measure(fontOfHeight(-12), ""), (Size{0, 8}));
    // Each UTF-8 character is one glyph, whatever its byte count.
    EXPECT_EQ(renderer.measure(fontOfHeight(12), "加密a"), (Size{18, 12}));
}

TEST(BitmapFont, DrawsTheGlyphDotsCentredInTheCell) {
    BitmapFontRenderer renderer;
    const Font font = fontOfHeight(12);  // cell 12 high, glyph rows start 2 below its top
    Image image(20, 20);
    renderer.draw(image, 3, 4, image.bounds(), font, "1", 0xFFFFFF);
    const std::uint8_t* rows = BitmapFontRenderer::glyph('1');
    for (int row = 0; row < 8; ++row)
        for (int dot = 0; dot < 5; ++dot) {
            const bool ink = rows[row] & (1u << (4 - dot));
            EXPECT_EQ(image.pixel(3 + dot, 6 + row), ink ? 0xFFFFFFu : 0u) << row << "," << dot;
        }
    EXPECT_EQ(countColour(image, 0xFFFFFF), 10);  // the "1" has ten dots, nothing else is drawn
}

TEST(BitmapFont, ScalesDotsAndClipsToTheRectangle) {
    BitmapFontRenderer renderer;
    Image big(30, 30);
    renderer.draw(big, 0, 0, big.bounds(), fontOfHeight(24), "-", 0x00FF00);
    EXPECT_EQ(countColour(big, 0x00FF00), 5 * 9);  // five dots of 3 x 3

    Image clipped(30, 30);
    const Rect clip{2, 0, 6, 30};
    renderer.draw(clipped, 0, 0, clip, fontOfHeight(24), "-", 0x00FF00);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(clipped.pixel(x, y), clip.contains({x, y}) ? big.pixel(x, y) : 0u) << x << "," << y;

    Image outside(10, 10);
    renderer.draw(outside, -100, -100, outside.bounds(), fontOfHeight(12), "WWWW", 1);
    renderer.draw(outside, 2147483600, 0, outside.bounds(), fontOfHeight(12), "WWWW", 1);
    EXPECT_EQ(countColour(outside, 1), 0);
}

TEST(BitmapFont, UnknownCharactersShowAsBoxes) {
    EXPECT_EQ(BitmapFontRenderer::glyph(0x4E2D), BitmapFontRenderer::glyph(0x01));
    EXPECT_NE(BitmapFontRenderer::glyph('A'), BitmapFontRenderer::glyph(0x4E2D));
    BitmapFontRenderer renderer;
    Image image(20, 12);
    renderer.draw(image, 0, 0, image.bounds(), fontOfHeight(8), "\xE4\xB8", 1);  // a cut sequence
    EXPECT_EQ(countColour(image, 1), 20);                                         // one box outline
}

TEST(ImageSurface, CopiesImagesClippedAndCountsThem) {
    ImageSurface surface(Size{8, 6});
    Image picture(4, 4);
    raster::fillRect(picture, picture.bounds(), 0x112233);
    surface.drawImage(Point{2, 1}, picture, Rect{0, 0, 5, 100});
    EXPECT_EQ(surface.drawCount(), 1u);
    EXPECT_EQ(surface.lastDrawn(), (Rect{2, 1, 5, 5}));
    EXPECT_EQ(countColour(surface.image(), 0x112233), 12);

    surface.drawImage(Point{20, 20}, picture, surface.image().bounds());
    EXPECT_EQ(surface.drawCount(), 2u);
    EXPECT_EQ(surface.lastDrawn(), Rect{});

    surface.resize(Size{3, 3});
    EXPECT_EQ(surface.size(), (Size{3, 3}));
    EXPECT_EQ(countColour(surface.image(), 0), 9);
    surface.resetDrawCount();
    EXPECT_EQ(surface.drawCount(), 0u);
    EXPECT_EQ(surface.textRenderer().measure(fontOfHeight(12), "ab").width, 12);
}

}  // namespace
}  // namespace zozuz
