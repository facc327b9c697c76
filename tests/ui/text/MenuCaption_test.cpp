#include <gtest/gtest.h>

#include "ui/text/MenuCaption.h"

namespace zozuz {
namespace {

TEST(MenuCaptionTest, AccessKeyIsTheCharacterAfterTheLastSingleAmpersand) {
    EXPECT_EQ(accessKeyOf("新建(&N)"), "N");
    EXPECT_EQ(accessKeyOf("&A&B"), "B");
    EXPECT_EQ(accessKeyOf("&A&&B"), "A");
    EXPECT_EQ(accessKeyOf("打开(&中)"), "中");
    EXPECT_EQ(accessKeyOf("Trailing&"), "");
    EXPECT_EQ(accessKeyOf("&&"), "");
    EXPECT_EQ(accessKeyOf("打开已加密文件"), "");
    // A broken UTF-8 sequence after the mark is one byte, never read past the end.
    EXPECT_EQ(accessKeyOf("&\xE4\xB8"), "\xE4");
    EXPECT_EQ(firstShownCharacterOf("&&Amp"), "&");
    EXPECT_EQ(firstShownCharacterOf("&Open"), "O");
    EXPECT_EQ(firstShownCharacterOf("中文"), "中");
    EXPECT_EQ(firstShownCharacterOf("&"), "");
    EXPECT_TRUE(sameAccessKey("a", "A"));
    EXPECT_FALSE(sameAccessKey("a", "B"));
    EXPECT_FALSE(sameAccessKey("中", "A"));
}

}  // namespace
}  // namespace zozuz
