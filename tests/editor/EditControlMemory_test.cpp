// The edit control when memory runs out: each operation either completes or refuses and leaves the
// text, its lines and its undo history exactly as they were. Every allocation of this test program
// can be made to fail on demand.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "editor/EditControl.h"

namespace {

// Counts down with every allocation while armed; the allocation that finds it at zero fails.
long gAllocationsBeforeFailure = -1;
bool gAllocationFailed = false;

void* allocate(std::size_t size) {
    if (gAllocationsBeforeFailure == 0) {
        gAllocationFailed = true;
        throw std::bad_alloc();
    }
    if (gAllocationsBeforeFailure > 0) --gAllocationsBeforeFailure;
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace zozuz {
namespace {

using Pos = EditControl::Pos;

struct Snapshot {
    std::string text;
    std::vector<Pos> editorStarts;
    std::vector<std::string> displayLines;
    bool canUndo;
    Pos caret;

    explicit Snapshot(const EditControl& edit)
        : text(edit.text()), canUndo(edit.canUndo()), caret(edit.caret()) {
        for (Pos i = 0; i < edit.editorLineCount(); ++i) editorStarts.push_back(edit.editorLineStart(i));
        for (Pos i = 0; i < edit.lineCount(); ++i) {
            const Pos start = edit.lineIndex(i);
            displayLines.push_back(edit.range(start, start + edit.lineLength(start)));
        }
    }
    bool operator==(const Snapshot&) const = default;
};

// Runs `operation` on fresh controls with the first, second, third ... allocation failing, until
// it gets through; each failed run must report false and change nothing.
void expectAllOrNothing(const std::function<void(EditControl&)>& prepare,
                        const std::function<bool(EditControl&)>& operation) {
    for (long failAt = 0; failAt < 1000; ++failAt) {
        EditControl edit;
        prepare(edit);
        const Snapshot before(edit);
        gAllocationFailed = false;
        gAllocationsBeforeFailure = failAt;
        const bool ok = operation(edit);
        const bool failed = gAllocationFailed;
        gAllocationsBeforeFailure = -1;
        edit.checkInvariants();
        if (!failed) {
            EXPECT_TRUE(ok) << "with no failure at all";
            return;
        }
        EXPECT_FALSE(ok) << "allocation " << failAt << " failed, yet the operation reported success";
        EXPECT_TRUE(Snapshot(edit) == before) << "allocation " << failAt << " failed and the control changed";
    }
    ADD_FAILURE() << "the operation never got through";
}

void wrappedText(EditControl& edit) {
    ASSERT_TRUE(edit.setText("some words\r\nin lines\r\n\xB0\xA1\xB0\xA1 to wrap"));
    edit.setWordWrap(true, {}, 5);
    edit.setSelection(3, 7);
    ASSERT_TRUE(edit.userInsert("typed"));
}

TEST(EditControlMemory, EveryChangeIsAllOrNothing) {
    // The bytes handed over are made before allocations start failing.
    const std::string longText = std::string(5000, 'a') + "\r\n b";
    const std::string longPaste = std::string(3000, 'b') + "\r\n\r\nc d";
    const std::string longLine(700, 'z');
    const std::string typed(900, 'p');
    const auto caretInFirstLine = [](EditControl& edit) {
        wrappedText(edit);
        edit.setSelection(2, 2);
    };

    expectAllOrNothing(wrappedText, [&](EditControl& edit) { return edit.setText(longText); });
    // The block handed over is lost when the control refuses it, but the control is untouched.
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 1000; ++i) {
        blocks.push_back(std::make_unique<char[]>(longText.size()));
        std::memcpy(blocks.back().get(), longText.data(), longText.size());
    }
    expectAllOrNothing(wrappedText, [&](EditControl& edit) {
        auto block = std::move(blocks.back());
        blocks.pop_back();
        return edit.adoptText(std::move(block), static_cast<Pos>(longText.size()), static_cast<Pos>(longText.size()));
    });
    expectAllOrNothing(caretInFirstLine, [&](EditControl& edit) { return edit.replaceSelection(longPaste, true); });
    expectAllOrNothing(wrappedText, [](EditControl& edit) { return edit.replaceSelection("x\r\ny", false); });
    const auto secondLineSelected = [](EditControl& edit) {
        wrappedText(edit);
        edit.setSelection(edit.editorLineStart(1), edit.editorLineStart(1) + edit.editorLineLength(1));
    };
    expectAllOrNothing(secondLineSelected, [&](EditControl& edit) { return edit.replaceSelection(longLine, false); });
    expectAllOrNothing(wrappedText, [&](EditControl& edit) { return edit.userInsert(typed); });
    expectAllOrNothing(wrappedText, [](EditControl& edit) { return edit.userDeleteBackward(); });
    expectAllOrNothing(wrappedText, [](EditControl& edit) { return edit.undo(); });
}

}  // namespace
}  // namespace zozuz
