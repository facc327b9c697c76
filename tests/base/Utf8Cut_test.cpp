#include "base/Utf8Cut.h"

#include <gtest/gtest.h>

namespace zozuz {
namespace {

TEST(Utf8Cut, KeepsWholeCharactersAndCutsStrayBytesWhereTheLimitSays) {
    EXPECT_EQ(cutUtf8("abc", 5), "abc");
    EXPECT_EQ(cutUtf8("ab字", 4), "ab");
    EXPECT_EQ(cutUtf8("ab字", 5), "ab字");
    EXPECT_EQ(cutUtf8("a\x80\x80\x80\x80\x80", 4), "a\x80\x80\x80");
    EXPECT_EQ(cutUtf8("", 0), "");
}

}  // namespace
}  // namespace zozuz
