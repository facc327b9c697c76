// The cipher when the editor cannot take a line back. This file replaces the global allocation
// functions so that one chosen allocation fails; it is a test program of its own for that reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "base/Exception.h"
#include "document/LineCipher.h"
#include "document/TMemoStrings.h"

#if defined(__GNUC__) && !defined(__clang__)
// The replacements below pair malloc with free; the compiler cannot see that new calls malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

int failNextAllocations = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (failNextAllocations > 0) {
        --failNextAllocations;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace zozuz {
namespace {

TEST(LineCipherMemory, ALineTheEditorCannotTakeBackEndsTheRunWithAnError) {
    EditControl editor;
    TMemoStrings document(editor);
    // The second line's form feed and tab shift into CR LF, so writing it back needs room for a new
    // line start: that allocation is the one that fails.
    document.setText("x\r\na\x0C\x09\r\nz");
    int calls = 0;
    try {
        LineCipher(CipherDirection::Encrypt).run(document, [&calls](int) {
            if (++calls == 1) failNextAllocations = 1;
        });
        FAIL() << "no error";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.message(), "Text exceeds memo capacity");
    }
    failNextAllocations = 0;
    // The first line stays shifted, the failed one and the rest as they were; the update is over.
    EXPECT_EQ(document.text(), "y\r\na\x0C\x09\r\nz");
    EXPECT_EQ(document.updateDepth(), 0);
}

TEST(LineCipherMemory, ASinkThatEmptiesTheDocumentEndsTheRun) {
    EditControl editor;
    TMemoStrings document(editor);
    document.setText("a\r\nb\r\nc");
    std::vector<int> progress;
    LineCipher(CipherDirection::Encrypt).run(document, [&](int value) {
        progress.push_back(value);
        document.clear();
    });
    EXPECT_EQ(progress, std::vector<int>{2});
    EXPECT_EQ(document.text(), "");
}

}  // namespace
}  // namespace zozuz
