// Random changes of a line index (whole edits, prepared edits given up, shifts, inserts, removes,
// copies, rebuilds), each checked against a plain array of starts. Any difference aborts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../../tests/editor/LineStartsModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the lines to a chunk: mostly a few, so that changes cross chunk borders.
    const int chunkLines = data[0] % 8 == 7 ? zozuz::LineStarts::kChunkLines : 2 + data[0] % 8;
    zozuz::model::LineStartsChecker checker(chunkLines, [](const std::string& what) {
        std::fprintf(stderr, "line index differs from the model: %s\n", what.c_str());
        std::abort();
    });
    zozuz::model::ByteStream in(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    checker.run(in, 2048);
    return 0;
}
