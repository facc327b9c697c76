#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/ApplicationIcon.h"
#include "app/PictureData.h"
#include "app/ProgramPictures.h"

namespace zozuz {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;

TEST(ProgramPictures, EveryBuiltInPictureReadsAndTheImageListIsCompleteAtBothSizes) {
    for (const PictureSource& source : pictureSources())
        EXPECT_TRUE(parsePicture(source.text)) << source.name;

    std::set<std::uint32_t> distinct;
    for (int index = 0; index < kImageListCount; ++index) {
        for (const int size : {16, 32}) {
            const Picture picture = imageListPicture(index, size);
            ASSERT_EQ(picture.image.width(), size) << index;
            ASSERT_EQ(picture.image.height(), size) << index;
            int covered = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) covered += picture.coveredAt(x, y);
            // A drawing, not a blank and not a filled square: it shows the toolbar behind it.
            EXPECT_GT(covered, size * size / 10) << index;
            EXPECT_LT(covered, size * size) << index;
        }
    }
    EXPECT_EQ(imageListPicture(kImageListCount, 16).image.width(), 0);
    EXPECT_EQ(imageListPicture(-1, 16).image.width(), 0);
    EXPECT_EQ(imageListPicture(0, 24).image.width(), 0);
    EXPECT_EQ(programPicture("no-such-picture").image.width(), 0);
}

// Concentric square frames, red outermost, a small red square in the middle: walking from the
// edge to the centre along the diagonal meets red, then several other colours, then red again.
void expectFrames(const Image& image, int size) {
    ASSERT_EQ(image.width(), size);
    ASSERT_EQ(image.height(), size);
    EXPECT_EQ(image.pixel(0, 0), kRed);
    EXPECT_EQ(image.pixel(size - 1, size - 1), kRed);
    EXPECT_EQ(image.pixel(size / 2, size / 2), kRed);
    std::set<std::uint32_t> colours;
    for (int i = 0; i < size / 2; ++i) {
        colours.insert(image.pixel(i, i));
        // Square frames: each ring has one colour all the way round.
        EXPECT_EQ(image.pixel(i, size / 2), image.pixel(i, i)) << i;
        EXPECT_EQ(image.pixel(size - 1 - i, size / 2), image.pixel(i, i)) << i;
    }
    EXPECT_GE(colours.size(), 5u);
}

TEST(ProgramPictures, TheWindowIconAndTheAboutPictureAreConcentricFrames) {
    expectFrames(applicationIcon(), 32);
    expectFrames(aboutPicture(), 64);
    // The icon files and the rule that draws the icon at the desktop's other sizes agree, so the
    // icon theme shows the window's picture: the rule at 16 pixels, doubled, is the 32-pixel file.
    const Image small = applicationIcon(16);
    for (const int size : {32, 64}) {
        const Image file = applicationIcon(size);
        const int scale = size / 16;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_EQ(file.pixel(x, y), small.pixel(x / scale, y / scale)) << size << ": " << x << "," << y;
    }
}

}  // namespace
}  // namespace zozuz
