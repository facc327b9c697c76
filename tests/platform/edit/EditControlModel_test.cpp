#include <gtest/gtest.h>

#include <random>
#include <string>

#include "EditControlModel.h"

namespace zozuz {
namespace {

// Long random runs of edits, undo, redo and word-wrap changes, each checked against a plain string
// with its lines worked out the obvious way. A failure names the seed that reproduces it.
void runSeeds(EditControl::Pos capacity, unsigned firstSeed, unsigned seeds) {
    for (unsigned seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        std::mt19937 random(seed);
        std::string bytes(6000, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        bool failed = false;
        model::Checker checker(capacity, [&](const std::string& what) {
            if (!failed) ADD_FAILURE() << "seed " << seed << ": " << what;
            failed = true;
        });
        model::ByteStream in(bytes);
        checker.run(in, 400);
        if (failed) return;
    }
}

TEST(EditControlModel, RandomEditsKeepLinesAndDisplayLinesExact) { runSeeds(EditControl::kCapacity, 1, 60); }

TEST(EditControlModel, RandomEditsNearASmallCapacityAreRefusedWhole) { runSeeds(30, 1000, 60); }

}  // namespace
}  // namespace zozuz
