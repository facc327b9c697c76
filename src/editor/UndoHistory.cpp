#include "editor/UndoHistory.h"

#include <algorithm>
#include <utility>

namespace zozuz {

namespace {

// A single typed character: one byte, or a lead byte with its trail byte, but never a line break,
// so that every line typed becomes a step of its own.
bool isOneTypedCharacter(const std::string& bytes) {
    return !bytes.empty() && bytes.size() <= 2 && bytes.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

void UndoHistory::clear() {
    steps_.clear();
    done_ = 0;
    sealed_ = false;
}

void UndoHistory::reserveOne() {
    // Grow by doubling: reserving exactly one more each time would copy the whole history per edit.
    if (steps_.capacity() < done_ + 1) steps_.reserve(std::max<std::size_t>(16, 2 * steps_.capacity()));
}

bool UndoHistory::joins(const Step& last, const Step& step) const {
    if (last.kind != step.kind) return false;
    switch (step.kind) {
        case Kind::Typing:
            return step.removed.empty() && isOneTypedCharacter(step.inserted) &&
                   step.position == last.position + static_cast<Pos>(last.inserted.size());
        case Kind::DeleteBackward:
            return step.position + static_cast<Pos>(step.removed.size()) == last.position;
        case Kind::DeleteForward:
            return step.position == last.position;
        case Kind::Other:
            break;
    }
    return false;
}

void UndoHistory::checkStep(const Step& step) {
    ZOZUZ_CHECK(!step.removed.empty() || !step.inserted.empty());
    ZOZUZ_CHECK(step.kind != Kind::Typing || !step.inserted.empty());
    ZOZUZ_CHECK((step.kind != Kind::DeleteBackward && step.kind != Kind::DeleteForward) ||
                (!step.removed.empty() && step.inserted.empty()));
    ZOZUZ_CHECK(step.position >= 0 && step.anchorBefore >= 0 && step.caretBefore >= 0);
}

void UndoHistory::checkInvariants() const {
    ZOZUZ_CHECK(done_ <= steps_.size());
    for (const Step& step : steps_) checkStep(step);
}

void UndoHistory::record(Step step) {
    if constexpr (kAssertionsOn) checkStep(step);
    // A new step after some undos makes the undone steps unreachable.
    steps_.resize(done_);
    const bool join = done_ > 0 && !sealed_ && joins(steps_.back(), step);
    sealed_ = false;
    if (join) {
        Step& last = steps_.back();
        switch (step.kind) {
            case Kind::Typing:
                last.inserted += step.inserted;
                break;
            case Kind::DeleteBackward:
                last.removed.insert(0, step.removed);
                last.position = step.position;
                break;
            case Kind::DeleteForward:
                last.removed += step.removed;
                break;
            case Kind::Other:
                break;
        }
    } else {
        steps_.push_back(std::move(step));
        ++done_;
    }
    ZOZUZ_ASSERT(done_ == steps_.size() && done_ > 0);
}

}  // namespace zozuz
