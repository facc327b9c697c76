#include "base/ErrorText.h"

#include <gtest/gtest.h>

namespace zozuz {
namespace {

TEST(ErrorText, AddsAPeriodAfterLettersDigitsAndOtherBytesAboveThePeriod) {
    EXPECT_EQ(withFinalPeriod("Cannot open file a.txt"), "Cannot open file a.txt.");
    EXPECT_EQ(withFinalPeriod("Value 7"), "Value 7.");
    EXPECT_EQ(withFinalPeriod("path/"), "path/.");  // '/' is 0x2F, just above '.'
    EXPECT_EQ(withFinalPeriod("x"), "x.");
}

TEST(ErrorText, LeavesMessagesThatEndInPunctuationOrSpaceAlone) {
    for (const char* message : {"Done.", "Oops!", "(see log)", "trailing ", "a-b-", "a,b,"}) {
        EXPECT_EQ(withFinalPeriod(message), message) << message;
    }
    EXPECT_EQ(withFinalPeriod(""), "");
}

TEST(ErrorText, ATrailingChineseCharacterCountsFromItsLeadByte) {
    // "文件" ends in a three-byte character whose continuation bytes are below 0xC0 but whose
    // lead byte is what counts.
    EXPECT_EQ(withFinalPeriod("无法打开文件"), "无法打开文件.");
    EXPECT_EQ(withFinalPeriod("é"), "é.");
    // A lone continuation byte at the start still ends in a byte above '.'.
    EXPECT_EQ(withFinalPeriod("\x80"), "\x80.");
}

}  // namespace
}  // namespace zozuz
