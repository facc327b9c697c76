#include "editor/LineStarts.h"

#include <algorithm>

namespace zozuz {

LineStarts::LineStarts() { reset(); }

void LineStarts::reset() {
    const std::int32_t zero = 0;
    starts_.assign(&zero, 1, 255);
    stepLine_ = 0;
    stepLength_ = 0;
    assertCheapInvariants();
}

void LineStarts::assign(const std::vector<std::int32_t>& starts) {
    // Leave a little room so that the first few edits that add lines do not copy the index.
    const Pos size = static_cast<Pos>(starts.size());
    starts_.assign(starts.data(), size, std::max<Pos>(255, size / 64));
    stepLine_ = 0;
    stepLength_ = 0;
    assertCheapInvariants();
}

void LineStarts::checkCheapInvariants() const {
    ZOZUZ_CHECK(count() >= 1);
    ZOZUZ_CHECK(starts_.at(0) == 0);
    ZOZUZ_CHECK(0 <= stepLine_ && stepLine_ < count());
    ZOZUZ_CHECK(stepLength_ == 0 || stepLine_ < count() - 1);
}

void LineStarts::assertCheapInvariants() const {
    if constexpr (kAssertionsOn) checkCheapInvariants();
}

void LineStarts::checkInvariants() const {
    starts_.checkInvariants();
    checkCheapInvariants();
    for (Pos line = 1; line < count(); ++line) ZOZUZ_CHECK(start(line - 1) < start(line));
}

LineStarts::Pos LineStarts::lineFromPosition(Pos position) const {
    Pos low = 0;
    Pos high = count() - 1;
    while (low < high) {
        const Pos middle = low + (high - low + 1) / 2;
        if (start(middle) <= position) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

void LineStarts::addToLines(Pos first, Pos last, Pos delta) {
    if (first > last || delta == 0) return;
    starts_.forEachPiece(first, last + 1, [delta](std::int32_t* values, Pos n) {
        const auto d = static_cast<std::int32_t>(delta);
        for (Pos i = 0; i < n; ++i) values[i] += d;
    });
}

void LineStarts::moveStepTo(Pos line) {
    if (stepLength_ == 0) {
        stepLine_ = line;
        return;
    }
    const Pos last = count() - 1;
    if (line > stepLine_) {
        // Lines (stepLine_, line] become fully stored.
        addToLines(stepLine_ + 1, std::min(line, last), stepLength_);
        stepLine_ = line;
    } else if (line < stepLine_) {
        // Either take the step back out of (line, stepLine_], or store it into every line after
        // stepLine_ and start a fresh step; whichever touches fewer lines.
        if (stepLine_ - line <= last - stepLine_) {
            addToLines(line + 1, stepLine_, -stepLength_);
            stepLine_ = line;
        } else {
            addToLines(stepLine_ + 1, last, stepLength_);
            stepLine_ = line;
            stepLength_ = 0;
        }
    }
    if (stepLine_ >= last) {
        // No line lies after the step any more; nothing is pending.
        stepLine_ = last < 0 ? 0 : last;
        stepLength_ = 0;
    }
}

void LineStarts::shiftAfter(Pos line, Pos delta) {
    ZOZUZ_ASSERT(0 <= line && line < count());
    if (delta == 0) return;
    moveStepTo(line);
    if (line < count() - 1) {  // else no line after it
        stepLine_ = line;
        stepLength_ += delta;
    }
    assertCheapInvariants();
    // The first line that moved still starts after the line before it.
    ZOZUZ_ASSERT(line + 1 >= count() || start(line) < start(line + 1));
}

void LineStarts::insert(Pos line, const std::int32_t* starts, Pos count) {
    ZOZUZ_ASSERT(1 <= line && line <= this->count());
    if (count <= 0) return;
    moveStepTo(line - 1);
    starts_.insert(line, starts, count);
    // The inserted starts are stored complete; the pending step still belongs to the lines that
    // followed them.
    if (stepLength_ != 0) stepLine_ += count;
    assertCheapInvariants();
    // The new starts fit between their neighbours; those in between ascend as the caller gave them.
    ZOZUZ_ASSERT(start(line - 1) < start(line));
    ZOZUZ_ASSERT(line + count >= this->count() || start(line + count - 1) < start(line + count));
}

void LineStarts::remove(Pos line, Pos count) {
    ZOZUZ_ASSERT(1 <= line && 0 <= count && line + count <= this->count());
    if (count <= 0) return;
    moveStepTo(line - 1);
    starts_.erase(line, count);
    if (stepLine_ >= this->count() - 1) {
        stepLine_ = this->count() - 1;
        stepLength_ = 0;
    }
    assertCheapInvariants();
}

}  // namespace zozuz
