#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "EditControlModel.h"

namespace zozuz {
namespace {

using namespace std::string_literals;

// Long random runs of edits, undo, redo and word-wrap changes, each checked against a plain string
// with its lines worked out the obvious way. A failure names the seed that reproduces it.
void runSeeds(EditControl::Pos capacity, unsigned firstSeed, unsigned seeds, int chunkLines = LineStarts::kChunkLines) {
    for (unsigned seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        std::mt19937 random(seed);
        std::string bytes(6000, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        bool failed = false;
        model::Checker checker(
            capacity,
            [&](const std::string& what) {
                if (!failed) ADD_FAILURE() << "seed " << seed << ": " << what;
                failed = true;
            },
            chunkLines);
        model::ByteStream in(bytes);
        checker.run(in, 400);
        if (failed) return;
    }
}

TEST(EditControlModel, RandomEditsKeepLinesAndDisplayLinesExact) { runSeeds(EditControl::kCapacity, 1, 60); }

TEST(EditControlModel, RandomEditsNearASmallCapacityAreRefusedWhole) { runSeeds(30, 1000, 60); }

// Three lines to a chunk of the line indexes: edits, undo and word wrap cross chunk borders all the
// time.
TEST(EditControlModel, RandomEditsAcrossChunkBordersOfTheLineIndexes) { runSeeds(EditControl::kCapacity, 2000, 60, 3); }

// Inputs the fuzz target once failed on, kept as they were found (the first byte picks the capacity,
// as there).
TEST(EditControlModel, InputsTheFuzzerFoundStayChecked) {
    const std::vector<std::string> inputs = {
        // A space typed over the selected space, a character typed after it, then one undo: the undo
        // takes back both, as one step, to a text equal to the one in between.
        "\x29\x4c\x4c\x0a\x00\x51\x23\x01\x34\x34\x6d\x32\x7d\xc9\xc9\x7d\x06\x7d\x06\x41\x06\x7d\x06\x7d"s,
    };
    for (const std::string& input : inputs) {
        const auto first = static_cast<std::uint8_t>(input[0]);
        const EditControl::Pos capacity = first < 192 ? EditControl::kCapacity : first - 192;
        model::Checker checker(capacity, [](const std::string& what) { ADD_FAILURE() << what; });
        model::ByteStream in(std::string_view(input).substr(1));
        checker.run(in, 4096);
    }
}

}  // namespace
}  // namespace zozuz
