#include "editor/LineWrapper.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace zozuz {
namespace {

using Pos = LineWrapper::Pos;

std::vector<std::int32_t> wrap(const LineWrapper& wrapper, std::string_view text) {
    std::vector<std::int32_t> starts;
    wrapper.wrap([text](Pos p) { return text[static_cast<std::size_t>(p)]; }, 0, static_cast<Pos>(text.size()), starts);
    return starts;
}

TEST(LineWrapper, LinesBreakAfterTheLastSpaceThatFitsOrElseBeforeWhatDoesNot) {
    LineWrapper wrapper(LeadByteSet::codePage936(), {}, 6);  // every byte one pixel
    EXPECT_EQ(wrap(wrapper, "ab cd efgh"), (std::vector<std::int32_t>{6}));      // "ab cd " | "efgh"
    EXPECT_EQ(wrap(wrapper, "abcdefghij"), (std::vector<std::int32_t>{6}));      // no space: cut
    EXPECT_EQ(wrap(wrapper, "abc\xB0\xA1\xB0\xA1"), (std::vector<std::int32_t>{5}));  // a pair stays whole
    wrapper.setWidth(0);  // narrower than anything: one character a line
    EXPECT_EQ(wrap(wrapper, "a\xB0\xA1" "b"), (std::vector<std::int32_t>{1, 3}));
    wrapper.checkInvariants();
}

TEST(LineWrapper, AdvancesAreMeasuredOnceAndNeverCountBelowNothing) {
    int measured = 0;
    LineWrapper wrapper(LeadByteSet::codePage936(), [&](std::string_view c) {
        ++measured;
        return c == "-" ? -50 : static_cast<int>(c.size()) * 2;
    }, 4);
    // A negative advance counts as nothing, so the dashes cannot make room for more letters.
    EXPECT_EQ(wrap(wrapper, "a--b-c"), (std::vector<std::int32_t>{5}));
    EXPECT_EQ(wrap(wrapper, "\xB0\xA1\xB0\xA1"), (std::vector<std::int32_t>{2}));
    const int first = measured;
    EXPECT_EQ(first, 5);  // a, -, b, c and the pair
    wrap(wrapper, "a--b-c\xB0\xA1");
    EXPECT_EQ(measured, first);
    wrapper.checkInvariants();
}

TEST(LineWrapper, ALeadByteWhoseNextByteFormsNoCharacterStandsAlone) {
    // 0xA1 0x81 forms nothing, 0x81 0x80 does: the characters are A1 | 81 80 | 61, and a line never
    // ends between 0x81 and 0x80, where blind pairing of lead bytes would put its end.
    LineWrapper wrapper(LeadByteSet::codePage936(), {}, 2, [](std::uint8_t lead, std::uint8_t trail) {
        return !(lead == 0xA1 && trail == 0x81);
    });
    EXPECT_EQ(wrap(wrapper, "\xA1\x81\x80\x61"), (std::vector<std::int32_t>{1, 3}));
    wrapper.setWidth(3);
    EXPECT_EQ(wrap(wrapper, "\xA1\x81\x80\x61"), (std::vector<std::int32_t>{3}));
    LineWrapper blind(LeadByteSet::codePage936(), {}, 2);
    EXPECT_EQ(wrap(blind, "\xA1\x81\x80\x61"), (std::vector<std::int32_t>{2}));
    wrapper.checkInvariants();
}

}  // namespace
}  // namespace zozuz
