#include "editor/LineStarts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "LineStartsModel.h"

namespace zozuz {
namespace {

using Pos = LineStarts::Pos;

std::vector<Pos> all(const LineStarts& starts) {
    std::vector<Pos> out;
    for (Pos line = 0; line < starts.count(); ++line) out.push_back(starts.start(line));
    return out;
}

// With two or three lines to a chunk, every change below crosses chunk borders; with the real chunk
// size it stays inside one chunk.
const int kChunkSizes[] = {2, 3, LineStarts::kChunkLines};

TEST(LineStarts, PendingShiftsReadAsIfEveryStartHadMoved) {
    for (const int chunkLines : kChunkSizes) {
        SCOPED_TRACE(chunkLines);
        LineStarts starts(chunkLines);
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
}

TEST(LineStarts, InsertedAndRemovedLinesKeepTheStepForTheLinesAfterThem) {
    for (const int chunkLines : kChunkSizes) {
        SCOPED_TRACE(chunkLines);
        LineStarts starts(chunkLines);
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
}

TEST(LineStarts, APreparedEditChangesNothingUntilItIsApplied) {
    for (const int chunkLines : kChunkSizes) {
        SCOPED_TRACE(chunkLines);
        LineStarts starts(chunkLines);
        starts.assign({0, 10, 20, 30, 40, 50, 60});
        // Lines 2 to 4 go, the rest move back by 5, and two new lines come in after line 1.
        const std::int32_t added[] = {13, 17};
        {
            LineStarts::Edit dropped = starts.prepare(1, 3, added, 2, -5);
        }
        EXPECT_EQ(all(starts), (std::vector<Pos>{0, 10, 20, 30, 40, 50, 60}));
        LineStarts::Edit edit = starts.prepare(1, 3, added, 2, -5);
        starts.apply(std::move(edit));
        EXPECT_EQ(all(starts), (std::vector<Pos>{0, 10, 13, 17, 45, 55}));
        starts.checkInvariants();
        starts.apply(std::move(edit));  // a spent edit does nothing
        EXPECT_EQ(starts.count(), 6);
    }
}

// Runs of random changes, each checked against a plain array. A failure names the seed.
TEST(LineStarts, RandomChangesMatchAPlainArray) {
    for (const int chunkLines : {2, 3, 5, LineStarts::kChunkLines}) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            std::mt19937 random(seed * 31 + static_cast<unsigned>(chunkLines));
            std::string bytes(8000, '\0');
            for (char& b : bytes) b = static_cast<char>(random());
            bool failed = false;
            model::LineStartsChecker checker(chunkLines, [&](const std::string& what) {
                if (!failed) ADD_FAILURE() << chunkLines << " lines to a chunk, seed " << seed << ": " << what;
                failed = true;
            });
            model::ByteStream in(bytes);
            checker.run(in, 300);
            if (failed) return;
        }
    }
}

// A whole index is built chunk by chunk; the last two chunks share their lines, so that none of
// them holds fewer than half a chunk's worth.
TEST(LineStarts, BuildingFillsChunksAndSharesTheLastLines) {
    const int b = 8;
    for (const int lines : {1, 2, b - 1, b, b + 1, 2 * b - 1, 2 * b, 2 * b + 1, 5 * b + 3}) {
        SCOPED_TRACE(lines);
        std::vector<std::int32_t> expected;
        LineStarts::Builder builder(b);
        expected.push_back(0);
        for (int line = 1; line < lines; ++line) {
            expected.push_back(line * 7 + line % 3);
            builder.append(expected.back());
        }
        const LineStarts starts = builder.finish();
        starts.checkInvariants();
        EXPECT_EQ(all(starts), std::vector<Pos>(expected.begin(), expected.end()));
        EXPECT_EQ(starts.chunkCount(), (lines + b - 1) / b);
    }
}

// Each chunk stores its starts beyond a straight line in as few bytes as its largest residual needs;
// every width reads back exactly, at its borders too.
TEST(LineStarts, StartsReadBackAtEveryWidth) {
    const std::vector<std::vector<std::int32_t>> cases = {
        {0, 2, 4, 6, 8},                       // a straight line: no residuals stored
        {0, 1, 2 + 255},                       // the largest residual that takes one byte
        {0, 1, 2 + 256},                       // the smallest that takes two
        {0, 1, 2 + 65535},                     // the largest in two bytes
        {0, 1, 2 + 65536},                     // and in four
        {0, 1, 2'000'000'000, 2'000'000'001},  // a line of nearly the whole capacity
    };
    for (const auto& expected : cases) {
        LineStarts starts(4);
        starts.assign(expected);
        starts.checkInvariants();
        EXPECT_EQ(all(starts), std::vector<Pos>(expected.begin(), expected.end()));
        for (std::size_t line = 0; line < expected.size(); ++line) {
            EXPECT_EQ(starts.lineFromPosition(expected[line]), static_cast<Pos>(line));
            EXPECT_EQ(starts.lineFromPosition(expected[line] - 1), std::max<Pos>(0, static_cast<Pos>(line) - 1));
        }
    }
}

// The index of a file of nothing but line breaks takes a small part of a byte a line, that of an
// ordinary text a byte or two, and no index more than about four bytes a line.
TEST(LineStarts, TheIndexCostsLittleForShortLinesAndAtMostAboutFourBytesALine) {
    struct Case {
        const char* what;
        int shortest;
        int longest;
        double bytesPerLine;
    };
    const Case cases[] = {
        {"empty lines", 2, 2, 0.15},
        {"lines of 20 to 200 bytes", 20, 200, 2.2},
        {"lines of 1 byte to 100 KiB", 1, 100000, 4.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::mt19937 random(5);
        LineStarts::Builder builder;
        const Pos lines = 1'000'000;
        Pos at = 0;
        for (Pos line = 1; line < lines && at < 2'000'000'000 - c.longest; ++line) {
            at += c.shortest + static_cast<Pos>(random() % static_cast<unsigned>(c.longest - c.shortest + 1));
            builder.append(at);
        }
        const LineStarts starts = builder.finish();
        EXPECT_LT(static_cast<double>(starts.bytesHeld()) / static_cast<double>(starts.count()), c.bytesPerLine);
    }
}

}  // namespace
}  // namespace zozuz
