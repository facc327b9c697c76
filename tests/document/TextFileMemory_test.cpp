// The memory that loading a plain file takes at its peak, whatever its line breaks: the file's text,
// normalised, with its line index, and never the file's bytes and their normalised copy while the
// normalised copy is the larger. This file replaces the global allocation functions to count the
// bytes in use; it is a test program of its own for that reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "TempFolder.h"
#include "document/LineBreaks.h"
#include "document/TMemoStrings.h"
#include "document/TextFile.h"

#if defined(__GNUC__) && !defined(__clang__)
// The replacements below pair malloc with free; the compiler cannot see that new calls malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

// Each block carries its size in front of it, so that freeing it can count it off.
constexpr std::size_t kHeader = alignof(std::max_align_t);
std::size_t inUse = 0;
std::size_t peak = 0;

void* allocate(std::size_t size) {
    auto* block = static_cast<char*>(std::malloc(size + kHeader));
    if (block == nullptr) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    inUse += size;
    peak = std::max(peak, inUse);
    return block + kHeader;
}

void release(void* p) noexcept {
    if (p == nullptr) return;
    char* block = static_cast<char*>(p) - kHeader;
    inUse -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

namespace zozuz {
namespace {

// Lines of `shortest` to `longest` bytes before their break, each ending in `lineBreak`.
std::string linesOf(std::size_t size, std::size_t shortest, std::size_t longest, const std::string& lineBreak) {
    std::string text;
    text.reserve(size);
    std::uint32_t state = 7;
    while (text.size() < size) {
        state = state * 1103515245 + 12345;
        const std::size_t length = shortest + (state >> 8) % (longest - shortest + 1);
        text.append(length, 'x');
        text += lineBreak;
    }
    text.resize(size);
    return text;
}

TEST(TextFileMemory, LoadingTakesTheNormalisedTextAndItsIndexAtMost) {
    struct Case {
        const char* what;
        std::string file;
        double peakPerFileByte;
    };
    const std::size_t size = 8 << 20;
    const Case cases[] = {
        // Doubled by normalisation: read again into the end of the normalised text's own block
        // after the first block is let go.
        {"nothing but LF", std::string(size, '\n'), 2.5},
        // Grown by a fortieth, more than the block's room: normalised into a block of its own next
        // to the first.
        {"LF lines of 20 to 60 bytes", linesOf(size, 20, 60, "\n"), 2.3},
        // Grown by less than the block's room: normalised in the block.
        {"LF lines of 200 to 300 bytes", linesOf(size, 200, 300, "\n"), 1.1},
        {"CR LF lines of 20 to 60 bytes", linesOf(size, 20, 60, "\r\n"), 1.2},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = folder.write("in.txt", c.file);
        EditControl editor;
        TMemoStrings document(editor);
        const std::size_t before = inUse;
        peak = inUse;
        TextFile().load(document, file);
        const double taken = static_cast<double>(peak - before) / static_cast<double>(size);
        EXPECT_LT(taken, c.peakPerFileByte);
        EXPECT_EQ(document.text(), LineBreaks().normalise(c.file).text());
    }
}

}  // namespace
}  // namespace zozuz
