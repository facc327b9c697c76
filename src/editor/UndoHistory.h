#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Assert.h"

namespace zozuz {

// The user's edits as steps that can be undone and redone. Each step remembers where it happened,
// the bytes it removed and inserted, and the selection before it, which undoing it brings back.
//
// Typing and repeated deleting arrive one character at a time; a character that continues the step
// before it joins that step, so that one undo takes back a typed word rather than its last letter.
// A line break, a paste or an edit elsewhere starts a new step.
class UndoHistory {
public:
    using Pos = std::int64_t;

    enum class Kind { Other, Typing, DeleteBackward, DeleteForward };

    struct Step {
        Kind kind = Kind::Other;
        Pos position = 0;
        std::string removed;
        std::string inserted;
        Pos anchorBefore = 0;
        Pos caretBefore = 0;
    };

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The step that undo takes back, and the one that redo applies again; only while possible.
    const Step& stepToUndo() const {
        ZOZUZ_ASSERT(canUndo());
        return steps_[done_ - 1];
    }
    const Step& stepToRedo() const {
        ZOZUZ_ASSERT(canRedo());
        return steps_[done_];
    }
    // After an undo or redo the next edit starts a step of its own, even where it would continue
    // the step before.
    void undone() {
        ZOZUZ_ASSERT(canUndo());
        --done_;
        sealed_ = true;
    }
    void redone() {
        ZOZUZ_ASSERT(canRedo());
        ++done_;
        sealed_ = true;
    }

    void clear();
    // Makes sure that recording one step cannot fail for want of memory in the history itself.
    void reserveOne();
    // Records a step after those done, dropping the steps that could have been redone, or joins it
    // to the last step when it continues it. Call reserveOne first.
    void record(Step step);

    // Aborts, naming the broken one, unless every invariant stated on the members holds. Walks every
    // step: for tests and fuzzers, not for the program.
    void checkInvariants() const;

private:
    bool joins(const Step& last, const Step& step) const;
    // The invariants of one step, which cost O(1) but for the lengths of its bytes.
    static void checkStep(const Step& step);

    // Every step changes something: it removed or inserted bytes. Typing inserted bytes; a Delete
    // or Backspace step removed bytes and inserted none. Positions and the selection before a step
    // are never negative.
    std::vector<Step> steps_;
    // The steps before `done_` are done and can be undone, those from it on can be redone:
    // done_ <= steps_.size().
    std::size_t done_ = 0;
    bool sealed_ = false;
};

}  // namespace zozuz
