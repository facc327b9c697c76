#include "SvgPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/ApplicationIcon.h"

namespace zozuz {
namespace {

// Paints the rectangles of an SVG document back into an image, counting how often each pixel is
// painted, so that gaps and overlaps both show.
struct Painted {
    Image image;
    std::vector<int> coverage;
    int rectangles = 0;
};

Painted paint(const std::string& svg, int width, int height) {
    Painted painted{Image(width, height), std::vector<int>(static_cast<std::size_t>(width * height), 0)};
    std::istringstream lines(svg);
    std::string line;
    while (std::getline(lines, line)) {
        int x, y, w, h;
        unsigned colour;
        if (std::sscanf(line.c_str(), " <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%6x\"/>", &x, &y, &w, &h,
                        &colour) != 5)
            continue;
        ++painted.rectangles;
        for (int row = y; row < y + h; ++row)
            for (int column = x; column < x + w; ++column) {
                painted.image.setPixel(column, row, colour);
                if (column >= 0 && row >= 0 && column < width && row < height) ++painted.coverage[row * width + column];
            }
    }
    return painted;
}

void expectSamePicture(const Image& image) {
    const std::string svg = SvgPicture::fromImage(image);
    const Painted painted = paint(svg, image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            EXPECT_EQ(painted.coverage[y * image.width() + x], 1) << "at " << x << "," << y;
            EXPECT_EQ(painted.image.pixel(x, y), image.pixel(x, y)) << "at " << x << "," << y;
        }
}

TEST(SvgPictureTest, TheDocumentIsSizedInThePicturesPixels) {
    const std::string svg = SvgPicture::fromImage(Image(16, 16));
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_NE(svg.find("width=\"16\" height=\"16\" viewBox=\"0 0 16 16\""), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(SvgPictureTest, AOneColourPictureIsOneRectangle) {
    Image image(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) image.setPixel(x, y, 0x123456);
    const std::string svg = SvgPicture::fromImage(image);
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"5\" height=\"3\" fill=\"#123456\"/>"), std::string::npos);
    EXPECT_EQ(paint(svg, 5, 3).rectangles, 1);
}

TEST(SvgPictureTest, TheIconComesBackPixelForPixelInFewRectangles) {
    const Image icon = applicationIcon(16);
    expectSamePicture(icon);
    // Each of the six frames is a top and bottom bar and two side pieces, and the centre is one.
    EXPECT_EQ(paint(SvgPicture::fromImage(icon), 16, 16).rectangles, 6 * 4 + 1);
}

TEST(SvgPictureTest, IrregularPicturesComeBackPixelForPixel) {
    Image stripes(7, 5);
    Image checkers(6, 6);
    Image scattered(9, 8);
    std::uint32_t seed = 12345;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 9; ++x) {
            stripes.setPixel(x, y, x < 3 ? 0xFF0000 : (y % 2 ? 0x00FF00 : 0x0000FF));
            checkers.setPixel(x, y, (x + y) % 2 ? 0xFFFFFF : 0x000000);
            seed = seed * 1103515245u + 12345u;
            scattered.setPixel(x, y, (seed >> 16) % 3 * 0x400000);
        }
    expectSamePicture(stripes);
    expectSamePicture(checkers);
    expectSamePicture(scattered);
    expectSamePicture(Image(0, 0));
}

}  // namespace
}  // namespace zozuz
