#include "platform/gfx/Picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace zozuz {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;

TEST(PictureText, ReadsTheTextFormWithItsPaletteAndUncoveredPixels) {
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

TEST(PictureText, RefusesEveryBreakOfTheForm) {
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

}  // namespace
}  // namespace zozuz
