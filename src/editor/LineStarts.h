#pragma once

#include <cstdint>
#include <vector>

#include "base/Assert.h"
#include "editor/GapBuffer.h"

namespace zozuz {

// The ascending start positions of a text's lines; the first line always starts at 0.
//
// An edit moves every start after it by the same amount. Instead of touching all of them at once,
// the index remembers one pending shift, "the step": starts after `stepLine_` are stored without
// it and read with it added. The next edit near the last one only moves the step a few lines, so
// typing and rewriting lines one after another do not cost a pass over the whole index each time.
class LineStarts {
public:
    using Pos = std::int64_t;

    LineStarts();

    // Replaces every start; `starts` must begin with 0 and ascend.
    void assign(const std::vector<std::int32_t>& starts);
    void reset();

    Pos count() const { return starts_.size(); }
    // The start of line `line`, which must exist.
    Pos start(Pos line) const {
        ZOZUZ_ASSERT(0 <= line && line < count());
        const Pos raw = starts_.at(line);
        return line > stepLine_ ? raw + stepLength_ : raw;
    }
    // The last line whose start is at or before `position`; 0 for a negative position.
    Pos lineFromPosition(Pos position) const;

    // Moves the starts of every line after `line` by `delta`.
    void shiftAfter(Pos line, Pos delta);
    // Inserts `count` starts, ascending and already in final positions, to become lines `line` on.
    void insert(Pos line, const std::int32_t* starts, Pos count);
    // Removes the starts of lines [line, line + count); line 0 is never removed.
    void remove(Pos line, Pos count);
    // Makes room for `extra` more starts, so that a following insert does not allocate.
    void reserveExtra(Pos extra) { starts_.reserveExtra(extra); }

    // Aborts, naming the broken one, unless every invariant stated on the members holds. Walks every
    // start: for tests and fuzzers, not for the program.
    void checkInvariants() const;

private:
    // The invariants that cost O(1); a build with assertions checks them after every change.
    void checkCheapInvariants() const;
    void assertCheapInvariants() const;
    // Stores the step into the lines between its old and its new place, so that it applies to the
    // lines after `line` only.
    void moveStepTo(Pos line);
    void addToLines(Pos first, Pos last, Pos delta);

    // At least one start, and the first is 0. Read with the step, the starts ascend strictly: every
    // line starts after the one before it.
    GapBuffer<std::int32_t> starts_;
    // The step applies to the lines after `stepLine_`, which is a line that exists; a step is pending
    // (stepLength_ != 0) only while some line lies after it.
    Pos stepLine_ = 0;
    Pos stepLength_ = 0;
};

}  // namespace zozuz
