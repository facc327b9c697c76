#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/ApplicationIcon.h"
#include "app/PictureData.h"
#include "app/ProgramPictures.h"

namespace zozuz {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;

TEST(ProgramPictures, ReadsTheTextFormWithItsPaletteAndUncoveredPixels) {
    const std::optional<Picture> picture = parsePicture(
        "zozuz-picture 3 2\n"
        ". none\n"
        "r FF0000\n"
        "b 0000ff\n"
        "-\n"
        "r.b\n"
        "bbr\n");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->image.width(), 3);
    EXPECT_EQ(picture->image.height(), 2);
    EXPECT_EQ(picture->image.pixel(0, 0), kRed);
    EXPECT_FALSE(picture->coveredAt(1, 0));
    EXPECT_TRUE(picture->coveredAt(2, 0));
    EXPECT_EQ(picture->image.pixel(2, 0), 0x0000FFu) << "hex digits in either case";
    EXPECT_EQ(picture->image.pixel(2, 1), kRed);

    const Image over = pictureOver(*picture, 0x123456);
    EXPECT_EQ(over.pixel(1, 0), 0x123456u) << "the background shows through where the picture leaves it";
    EXPECT_EQ(over.pixel(0, 0), kRed);
}

TEST(ProgramPictures, RefusesEveryBreakOfTheForm) {
    const char* const broken[] = {
        "",
        "zozuz-pic 1 1\na 000000\n-\na\n",            // wrong first word
        "zozuz-picture 1\na 000000\n-\na\n",          // one dimension only
        "zozuz-picture 0 1\na 000000\n-\n\n",         // empty picture
        "zozuz-picture 1 x\na 000000\n-\na\n",        // not a number
        "zozuz-picture 99999 1\na 000000\n-\na\n",    // beyond any picture of the program
        "zozuz-picture 1 1\na 00000\n-\na\n",         // short colour
        "zozuz-picture 1 1\na 00000G\n-\na\n",        // not hexadecimal
        "zozuz-picture 1 1\na 000000\na FFFFFF\n-\na\n",  // a key given twice
        "zozuz-picture 1 1\na000000\n-\na\n",         // no space after the key
        "zozuz-picture 1 1\na 000000\n",              // no rows
        "zozuz-picture 1 1\na 000000\n-\nb\n",        // a key not in the palette
        "zozuz-picture 2 1\na 000000\n-\na\n",        // short row
        "zozuz-picture 1 2\na 000000\n-\na\n",        // a row missing
        "zozuz-picture 1 1\na 000000\n-\na\nextra\n",  // text after the rows
    };
    for (const char* text : broken) EXPECT_FALSE(parsePicture(text)) << text;
}

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
