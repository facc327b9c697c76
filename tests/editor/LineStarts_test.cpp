#include "editor/LineStarts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zozuz {
namespace {

using Pos = LineStarts::Pos;

std::vector<Pos> all(const LineStarts& starts) {
    std::vector<Pos> out;
    for (Pos line = 0; line < starts.count(); ++line) out.push_back(starts.start(line));
    return out;
}

TEST(LineStarts, PendingShiftsReadAsIfEveryStartHadMoved) {
    LineStarts starts;
    EXPECT_EQ(all(starts), (std::vector<Pos>{0}));
    starts.assign({0, 10, 20, 30, 40, 50});
    starts.shiftAfter(1, 5);   // an edit in line 1
    starts.shiftAfter(3, -2);  // then one further on: the step moves forward
    EXPECT_EQ(all(starts), (std::vector<Pos>{0, 10, 25, 35, 43, 53}));
    starts.shiftAfter(0, 1);   // then one before both: the step moves back
    EXPECT_EQ(all(starts), (std::vector<Pos>{0, 11, 26, 36, 44, 54}));
    starts.checkInvariants();
    EXPECT_EQ(starts.lineFromPosition(35), 2);
    EXPECT_EQ(starts.lineFromPosition(36), 3);
    EXPECT_EQ(starts.lineFromPosition(-1), 0);
    EXPECT_EQ(starts.lineFromPosition(1000), 5);
    starts.shiftAfter(5, 7);   // nothing lies after the last line
    EXPECT_EQ(starts.start(5), 54);
    starts.checkInvariants();
}

TEST(LineStarts, InsertedAndRemovedLinesKeepTheStepForTheLinesAfterThem) {
    LineStarts starts;
    starts.assign({0, 10, 20, 30});
    starts.shiftAfter(1, 4);  // lines 2 and 3 pending at 24 and 34
    const std::int32_t added[] = {12, 16};
    starts.insert(2, added, 2);
    EXPECT_EQ(all(starts), (std::vector<Pos>{0, 10, 12, 16, 24, 34}));
    starts.checkInvariants();
    starts.remove(1, 3);
    EXPECT_EQ(all(starts), (std::vector<Pos>{0, 24, 34}));
    starts.checkInvariants();
    starts.remove(1, 2);  // down to the first line alone: nothing can be pending any more
    EXPECT_EQ(all(starts), (std::vector<Pos>{0}));
    starts.checkInvariants();
    starts.reset();
    starts.checkInvariants();
}

}  // namespace
}  // namespace zozuz
