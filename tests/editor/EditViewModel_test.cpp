#include <gtest/gtest.h>

#include <random>
#include <string>

#include "EditViewModel.h"

namespace zozuz {
namespace {

// Long random runs of typing, keys, mouse, clipboard, input-method events, word wrap and read-only
// changes through the view, each checked against a plain byte string. A failure names its seed.
TEST(EditViewModel, RandomEditingKeepsEveryByteAndTheCaretOnStops) {
    for (unsigned seed = 1; seed <= 80; ++seed) {
        std::mt19937 random(seed);
        std::string bytes(4000, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        bool failed = false;
        view_model::Checker checker([&](const std::string& what) {
            ADD_FAILURE() << "seed " << seed << ": " << what;
            failed = true;
        });
        model::ByteStream in(bytes);
        checker.run(in, 600);
        if (failed) return;
    }
}

}  // namespace
}  // namespace zozuz
