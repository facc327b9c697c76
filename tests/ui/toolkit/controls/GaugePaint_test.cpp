#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "GaugeFixture.h"
#include "platform/gfx/Raster.h"
#include "ui/toolkit/controls/TGauge.h"

namespace zozuz {
namespace {

using test::FakeParent;
using test::gaugePixels;
using test::makeGauge;
using test::textMask;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kButtonFace = 0xF0F0F0;  // the parent's colour, clBtnFace

// Compares every pixel of the gauge with `expected(x, y)`, reporting the first few differences.
void expectPicture(const Image& actual, const std::function<std::uint32_t(int, int)>& expected) {
    int failures = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected(x, y) && ++failures <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << actual.pixel(x, y)
                              << ", expected " << expected(x, y);
    EXPECT_EQ(failures, 0);
}

bool onFrame(const Image& image, int x, int y) {
    return x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
}

// The bar kind with a single border: frame black, bar up to (not including) x = barEnd in `fore`,
// the rest of the inside in `back`, and the text pixels inverted.
std::function<std::uint32_t(int, int)> barPicture(const Image& image, int barEnd, std::uint32_t fore,
                                                  std::uint32_t back, const Image& text) {
    return [&image, barEnd, fore, back, &text](int x, int y) -> std::uint32_t {
        if (onFrame(image, x, y)) return kBlack;
        return (x < barEnd ? fore : back) ^ text.pixel(x, y);
    };
}

TEST(GaugePaint, NewGaugeShowsAFrameAWhiteInsideAndZeroPercentInBlack) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 100, 100});
    gauge->PaintTo(parent.imageSurface());
    const Image pixels = gaugePixels(parent, *gauge);
    // "0%" is 12 x 12 in the 12-pixel font: x = (99 - 1 + 1 - 12) / 2 = 43, and y likewise.
    const Image text = textMask(Size{100, 100}, parent.GetFont(), "0%", Point{43, 43}, Rect{1, 1, 99, 99});
    expectPicture(pixels, barPicture(pixels, 0, kBlack, kWhite, text));
    EXPECT_EQ(pixels.pixel(43, 47), kBlack);  // the zero's left stroke, in the middle
}

TEST(GaugePaint, MainWindowGaugeBarExtents) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{5, 7, 302, 24});  // 297 x 17
    gauge->SetProgress(50);
    Image pixels = gaugePixels(parent, *gauge);
    // "50%" is 18 wide: x = (296 - 18) / 2 = 139, y = (16 - 12) / 2 = 2.
    Image text = textMask(Size{297, 17}, parent.GetFont(), "50%", Point{139, 2}, Rect{1, 1, 296, 16});
    expectPicture(pixels, barPicture(pixels, 148, kBlack, kWhite, text));  // x = 1 to 147
    // The zero straddles the bar's end: white over the bar, black beyond it.
    EXPECT_EQ(pixels.pixel(145, 5), kWhite);
    EXPECT_EQ(pixels.pixel(149, 5), kBlack);

    gauge->SetProgress(100);
    pixels = gaugePixels(parent, *gauge);
    text = textMask(Size{297, 17}, parent.GetFont(), "100%", Point{136, 2}, Rect{1, 1, 296, 16});
    expectPicture(pixels, barPicture(pixels, 296, kBlack, kWhite, text));  // x = 1 to 295
}

TEST(GaugePaint, TextInvertsTheColoursBeneathIt) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 297, 17});
    gauge->SetForeColor(clRed);    // pixel 0xFF0000
    gauge->SetBackColor(clBlue);   // pixel 0x0000FF
    gauge->SetProgress(50);
    const Image pixels = gaugePixels(parent, *gauge);
    const Image text = textMask(Size{297, 17}, parent.GetFont(), "50%", Point{139, 2}, Rect{1, 1, 296, 16});
    expectPicture(pixels, barPicture(pixels, 148, 0xFF0000, 0x0000FF, text));
    EXPECT_EQ(pixels.pixel(145, 5), 0x00FFFFu);  // inverse of the bar
    EXPECT_EQ(pixels.pixel(149, 5), 0xFFFF00u);  // inverse of the background
}

TEST(GaugePaint, TextIsClippedToThePaintRectangle) {
    FakeParent parent;
    Font tall = parent.GetFont();
    tall.pixelHeight = 24;  // a 24-pixel cell in a gauge 10 high
    parent.SetFont(tall);
    auto gauge = makeGauge(parent, Rect{0, 0, 60, 10});
    gauge->PaintTo(parent.imageSurface());
    const Image pixels = gaugePixels(parent, *gauge);
    // "0%" is 36 x 24: x = (58 + 1 - 36) / 2 = 11, y = (8 + 1 - 24) / 2 = -7.
    const Image text = textMask(Size{60, 10}, parent.GetFont(), "0%", Point{11, -7}, Rect{1, 1, 59, 9});
    expectPicture(pixels, barPicture(pixels, 0, kBlack, kWhite, text));
}

TEST(GaugePaint, BarLengthsFollowTheExtendedHundredth) {
    FakeParent parent;
    // w = right - left + 1 = 10 at 10 %: the proportional length is 0, so no bar at all.
    auto ten = makeGauge(parent, Rect{0, 0, 11, 8});
    ten->SetShowText(false);
    ten->SetProgress(10);
    Image pixels = gaugePixels(parent, *ten);
    const Image noText(11, 8);
    expectPicture(pixels, barPicture(pixels, 0, kBlack, kWhite, noText));

    // w = 25 at 20 %: f = 4, a bar over x = 1 to 3.
    auto twentyFive = makeGauge(parent, Rect{0, 50, 26, 58});
    twentyFive->SetShowText(false);
    twentyFive->SetProgress(20);
    pixels = gaugePixels(parent, *twentyFive);
    const Image noText26(26, 8);
    expectPicture(pixels, barPicture(pixels, 4, kBlack, kWhite, noText26));
}

TEST(GaugePaint, BarsWithoutABorder) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 30, 12});
    gauge->SetShowText(false);
    gauge->SetBorderStyle(TBorderStyle::bsNone);
    gauge->SetForeColor(clRed);
    gauge->SetProgress(100);
    // Horizontal: w = W + 1, so the bar fills the whole image.
    expectPicture(gaugePixels(parent, *gauge), [](int, int) { return 0xFF0000u; });

    // Vertical: h = H + 1 and f = H, so the bar starts at y = 1; the top row keeps the background.
    gauge->SetKind(TGaugeKind::gkVerticalBar);
    expectPicture(gaugePixels(parent, *gauge), [](int, int y) { return y == 0 ? kWhite : 0xFF0000u; });
}

TEST(GaugePaint, VerticalBarGrowsUpwardAndStopsBelowTheTop) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 12, 22});  // paint rectangle (1, 1, 11, 21), h = 21
    gauge->SetShowText(false);
    gauge->SetKind(TGaugeKind::gkVerticalBar);
    gauge->SetProgress(50);  // f = 10: rows 11 to 20
    Image pixels = gaugePixels(parent, *gauge);
    expectPicture(pixels, [&](int x, int y) {
        if (onFrame(pixels, x, y)) return kBlack;
        return y >= 11 ? kBlack : kWhite;
    });
    gauge->SetProgress(100);  // f = 21 is capped at 20: the whole inside
    pixels = gaugePixels(parent, *gauge);
    expectPicture(pixels, [](int, int) { return kBlack; });
}

TEST(GaugePaint, TextKindIsAPlainAreaWithOptionalText) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 40, 16});
    gauge->SetKind(TGaugeKind::gkText);
    gauge->SetShowText(false);
    gauge->SetBackColor(clBlue);
    gauge->SetProgress(80);
    Image pixels = gaugePixels(parent, *gauge);
    const Image noText(40, 16);
    expectPicture(pixels, barPicture(pixels, 0, 0, 0x0000FF, noText));

    gauge->SetShowText(true);
    pixels = gaugePixels(parent, *gauge);
    // "80%" is 18 wide: x = (39 - 1 + 1 - 18) / 2 = 10, y = (15 - 12) / 2 = 1.
    const Image text = textMask(Size{40, 16}, parent.GetFont(), "80%", Point{10, 1}, Rect{1, 1, 39, 15});
    expectPicture(pixels, barPicture(pixels, 0, 0, 0x0000FF, text));
}

TEST(GaugePaint, UnknownKindDrawsOnlyTheText) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 40, 16});
    gauge->SetKind(static_cast<TGaugeKind>(9));
    const Image pixels = gaugePixels(parent, *gauge);
    const Image text = textMask(Size{40, 16}, parent.GetFont(), "0%", Point{13, 1}, Rect{1, 1, 39, 15});
    expectPicture(pixels, [&](int x, int y) { return text.pixel(x, y); });
}

// The pie and the needle drawn straight onto an image of the gauge's size, as the gauge must.
Image expectedDial(int width, int height, const std::function<void(Image&)>& draw) {
    Image image(width, height);
    raster::fillRect(image, Rect{1, 1, width - 1, height - 1}, kButtonFace);
    draw(image);
    return image;
}

TEST(GaugePaint, PieShowsTheEllipseEmptyAtZeroAndFullAtAHundred) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 40, 30});
    gauge->SetKind(TGaugeKind::gkPie);
    gauge->SetShowText(false);
    const Rect box{1, 1, 39, 29};
    gauge->SetForeColor(clRed);
    Image expected = expectedDial(40, 30, [&](Image& image) { raster::ellipse(image, box, kWhite, 0xFF0000); });
    expectPicture(gaugePixels(parent, *gauge), [&](int x, int y) { return expected.pixel(x, y); });

    gauge->SetProgress(100);
    expected = expectedDial(40, 30, [&](Image& image) { raster::ellipse(image, box, 0xFF0000, 0xFF0000); });
    expectPicture(gaugePixels(parent, *gauge), [&](int x, int y) { return expected.pixel(x, y); });

    // A quarter runs clockwise from twelve o'clock to three.
    gauge->SetProgress(25);
    const Image quarter = gaugePixels(parent, *gauge);
    EXPECT_EQ(quarter.pixel(27, 8), 0xFF0000u);  // upper right
    EXPECT_EQ(quarter.pixel(12, 8), kWhite);     // upper left
    EXPECT_EQ(quarter.pixel(27, 21), kWhite);    // lower right
    EXPECT_EQ(quarter.pixel(1, 1), kButtonFace);  // the corner outside the ellipse shows Color
    EXPECT_EQ(quarter.pixel(0, 0), kBlack);
}

TEST(GaugePaint, PieFollowsTheParentColourAroundTheEllipse) {
    FakeParent parent;
    parent.SetColor(clRed);
    auto gauge = makeGauge(parent, Rect{0, 0, 40, 30});
    gauge->SetKind(TGaugeKind::gkPie);
    EXPECT_EQ(gaugePixels(parent, *gauge).pixel(1, 1), 0xFF0000u);
    gauge->SetColor(clBlue);
    gauge->PaintTo(parent.imageSurface());
    EXPECT_EQ(gaugePixels(parent, *gauge).pixel(1, 1), 0x0000FFu);
}

TEST(GaugePaint, NeedleShowsTheHalfDialItsBaseAndThePercentage) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 297, 17});
    gauge->SetShowText(false);
    gauge->SetForeColor(clRed);
    gauge->SetKind(TGaugeKind::gkNeedle);
    // At 0 %: the half-dial of the box (1, 1, 296, 31), its base on the frame's bottom row, no needle.
    const Image dial = expectedDial(297, 17, [](Image& image) {
        raster::pie(image, Rect{1, 1, 296, 31}, Point{297, 15}, Point{1, 15}, kWhite, 0xFF0000);
        raster::line(image, Point{1, 16}, Point{297, 16}, 0xFF0000);
    });
    Image pixels = gaugePixels(parent, *gauge);
    expectPicture(pixels, [&](int x, int y) { return dial.pixel(x, y); });
    EXPECT_EQ(pixels.pixel(0, 16), kBlack);
    EXPECT_EQ(pixels.pixel(1, 16), 0xFF0000u);
    EXPECT_EQ(pixels.pixel(296, 16), 0xFF0000u);
    EXPECT_EQ(pixels.pixel(148, 8), kWhite);  // inside the dial

    // At 50 % the needle stands straight up from (148, 15) to (148, 0), its end left out.
    gauge->SetProgress(50);
    pixels = gaugePixels(parent, *gauge);
    expectPicture(pixels, [&](int x, int y) { return x == 148 && y >= 1 && y <= 15 ? 0xFF0000u : dial.pixel(x, y); });

    // At 100 % it lies flat to the right, along row 15 up to x = 295.
    gauge->SetProgress(100);
    pixels = gaugePixels(parent, *gauge);
    expectPicture(pixels, [&](int x, int y) { return y == 15 && x >= 148 && x <= 295 ? 0xFF0000u : dial.pixel(x, y); });
}

}  // namespace
}  // namespace zozuz

namespace zozuz {
namespace {

// Tiny and degenerate sizes have empty paint rectangles and boxes; every kind must still paint
// something sensible, inside its bounds, without touching memory it does not own.
TEST(GaugePaint, EveryKindCopesWithTinySizes) {
    for (int kind = 0; kind <= 4; ++kind)
        for (TBorderStyle border : {TBorderStyle::bsNone, TBorderStyle::bsSingle})
            for (int size : {0, 1, 2, 3}) {
                test::FakeParent parent(Size{8, 8});
                auto gauge = test::makeGauge(parent, Rect{2, 2, 2 + size, 2 + size});
                gauge->SetKind(static_cast<TGaugeKind>(kind));
                gauge->SetBorderStyle(border);
                for (int progress : {0, 50, 100}) gauge->SetProgress(progress);
                gauge->PaintTo(parent.imageSurface());
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        if (!gauge->BoundsRect().contains(Point{x, y})) {
                            EXPECT_EQ(parent.screen().pixel(x, y), 0u);
                        }
            }
}

}  // namespace
}  // namespace zozuz
