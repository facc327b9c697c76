// Random operations on the edit control (range replacements, line rewrites, new texts, the user's
// typing and deleting, undo, redo, word wrap on and off at small widths), each checked against a
// plain string whose lines are worked out the obvious way. Any difference aborts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../../tests/editor/EditControlModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the capacity: mostly the real one, sometimes a small one so that
    // refusals happen often. It also picks the lines to a chunk of the line indexes: mostly a few,
    // so that edits cross chunk borders.
    const zozuz::EditControl::Pos capacity = data[0] < 192 ? zozuz::EditControl::kCapacity : data[0] - 192;
    const int chunkLines = data[0] % 4 == 3 ? zozuz::LineStarts::kChunkLines : 2 + data[0] % 4;
    zozuz::model::Checker checker(
        capacity,
        [](const std::string& what) {
            std::fprintf(stderr, "edit control differs from the model: %s\n", what.c_str());
            std::abort();
        },
        chunkLines);
    zozuz::model::ByteStream in(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    checker.run(in, 4096);
    return 0;
}
