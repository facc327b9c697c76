#include "base/MessageFormat.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "base/Exception.h"
#include "base/LeadByteSet.h"

namespace zozuz {
namespace {

TEST(MessageFormat, FillsStringsAndIntegersInOrder) {
    EXPECT_EQ(formatMessage(messages::kCannotOpenFile, {std::string_view("C:\\a.txt")}),
              "Cannot open file C:\\a.txt");
    EXPECT_EQ(formatMessage(messages::kValueOutOfRange, {std::int64_t{-2147483647}, std::int64_t{99}}),
              "Value must be between -2147483647 and 99");
    EXPECT_EQ(formatMessage("%d%%", {std::int64_t{37}}), "37%");
}

TEST(MessageFormat, CopiesSpecifiersWithoutArgumentsAsTheyStand) {
    EXPECT_EQ(formatMessage("a %s b %d %", {}), "a %s b %d %");
    EXPECT_EQ(formatMessage("%d", {std::string_view("x")}), "%d");
}

TEST(ErrorFamily, ClassNamesAndBasesMatchTheirMeaning) {
    EWriteError write("Stream write error");
    EXPECT_STREQ(write.className(), "EWriteError");
    EXPECT_NE(dynamic_cast<EFilerError*>(&write), nullptr);
    EXPECT_NE(dynamic_cast<EStreamError*>(&write), nullptr);
    EFOpenError open("x");
    EXPECT_NE(dynamic_cast<EStreamError*>(&open), nullptr);
    // EFOpenError is no filer error: the compiler proves it, so the check is on the types.
    EXPECT_FALSE((std::is_base_of_v<EFilerError, EFOpenError>));
    EXPECT_STREQ(EAbort("").className(), "EAbort");
}

TEST(LeadByteSet, CodePage936AndReportedRanges) {
    constexpr auto gbk = LeadByteSet::codePage936();
    EXPECT_FALSE(gbk.contains(std::uint8_t{0x80}));
    EXPECT_TRUE(gbk.contains(std::uint8_t{0x81}));
    EXPECT_TRUE(gbk.contains(std::uint8_t{0xFE}));
    EXPECT_FALSE(gbk.contains(std::uint8_t{0xFF}));
    // Ranges stop at a pair of zeros; a reversed range is skipped.
    LeadByteSet reported{{0xA0, 0xA1}, {0x90, 0x80}, {0, 0}, {0x10, 0x20}};
    EXPECT_TRUE(reported.contains(std::uint8_t{0xA1}));
    EXPECT_FALSE(reported.contains(std::uint8_t{0x85}));
    EXPECT_FALSE(reported.contains(std::uint8_t{0x15}));
    EXPECT_FALSE(LeadByteSet{}.contains(std::uint8_t{0x81}));
}

}  // namespace
}  // namespace zozuz
