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

TEST(LineCipherMemory, LinesTheEditorCannotTakeBackEndTheRunWithAnError) {
    EditControl editor;
    TMemoStrings document(editor);
    // The first line fills the first block the run writes back. The second line's form feed and tab
    // shift into CR LF, so writing it back needs room for one more line start than before: that
    // allocation is the one that fails.
    const std::string first((1 << 20) - 16, 'x');
    const std::string rest = "a\x0C\x09" + std::string(40, 'q') + "\r\nz";
    document.setText(first + "\r\n" + rest);
    std::vector<int> progress;
    try {
        LineCipher(CipherDirection::Encrypt).run(document, [&progress](int value) {
            progress.push_back(value);
            failNextAllocations = 1;
        });
        FAIL() << "no error";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.message(), "Text exceeds memo capacity");
    }
    failNextAllocations = 0;
    // The first line stays shifted, the rest as it was; the update is over.
    EXPECT_EQ(progress, std::vector<int>{2});
    std::string shifted = first;
    LineCipher(CipherDirection::Encrypt).shiftLine(shifted.data(), shifted.size());
    EXPECT_TRUE(document.text() == shifted + "\r\n" + rest);
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
