#include <gtest/gtest.h>

#include "ui/text/HintText.h"

namespace zozuz {
namespace {

TEST(HintTextTest, ShortAndLongParts) {
    const char* cut = "Cut|Cuts the selection and puts 简切选定内容并将它放入剪贴板";
    EXPECT_EQ(shortHintOf(cut), "Cut");
    EXPECT_EQ(longHintOf(cut), "Cuts the selection and puts 简切选定内容并将它放入剪贴板");
    // Without "|" a hint is both; only the first "|" divides.
    EXPECT_EQ(shortHintOf("加密"), "加密");
    EXPECT_EQ(longHintOf("加密"), "加密");
    EXPECT_EQ(shortHintOf("a|b|c"), "a");
    EXPECT_EQ(longHintOf("a|b|c"), "b|c");
    EXPECT_EQ(shortHintOf("|long"), "");
    EXPECT_EQ(longHintOf("short|"), "");
    EXPECT_EQ(longHintOf(""), "");
}

TEST(HintTextTest, TooltipWithShortCut) {
    EXPECT_EQ(tooltipWithShortCut("Cut", "Ctrl+X"), "Cut (Ctrl+X)");
    EXPECT_EQ(tooltipWithShortCut("创建新文档", "Ctrl+N"), "创建新文档 (Ctrl+N)");
    // A "%" in the text is taken as it stands.
    EXPECT_EQ(tooltipWithShortCut("100%s", "F1"), "100%s (F1)");
    EXPECT_EQ(tooltipWithShortCut("", "Ctrl+N"), "");
}

}  // namespace
}  // namespace zozuz
