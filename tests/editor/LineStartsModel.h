#pragma once

// Drives a LineStarts index with a stream of changes and checks it after each one against a plain
// array of starts. Shared by the randomised unit test and the fuzz target, which only differ in
// where the bytes of the stream come from. With a few lines to a chunk, the changes keep crossing
// chunk borders, splitting chunks and merging them. A mismatch is reported through `fail`.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "EditControlModel.h"
#include "editor/LineStarts.h"

namespace zozuz::model {

class LineStartsChecker {
public:
    using Fail = std::function<void(const std::string&)>;

    LineStartsChecker(int chunkLines, Fail fail) : chunkLines_(chunkLines), starts_(chunkLines), fail_(std::move(fail)) {}

    void run(ByteStream& in, std::size_t maxOperations) {
        for (std::size_t i = 0; i < maxOperations && !in.done(); ++i) {
            step(in);
            check();
        }
    }

private:
    Pos count() const { return static_cast<Pos>(model_.size()); }
    // The room after line `line` up to the next start, or plenty after the last line.
    Pos roomAfter(Pos line) const { return line + 1 < count() ? model_[line + 1] - model_[line] : 70000; }

    // `n` ascending starts strictly between `low` and `high`, spaced by the stream.
    std::vector<std::int32_t> startsBetween(ByteStream& in, Pos low, Pos high, Pos n) {
        std::vector<std::int32_t> out;
        Pos at = low;
        for (Pos i = 0; i < n; ++i) {
            // Leave one position for each start still to come.
            const Pos spare = high - at - (n - i);
            if (spare < 1) break;
            at += 1 + in.upTo(std::min<Pos>(spare - 1, in.byte() < 40 ? 70000 : 300));
            out.push_back(static_cast<std::int32_t>(at));
        }
        return out;
    }

    void step(ByteStream& in) {
        const std::uint8_t op = in.byte() % 8;
        const Pos line = in.upTo(count() - 1);
        if (op <= 3) {
            // One whole edit: lines after `line` go, the rest move, new lines come in.
            const Pos removed = op == 1 ? 0 : in.upTo(std::min<Pos>(count() - 1 - line, 3 * chunkLines_));
            const Pos next = line + removed + 1;  // the first line that stays after the edit
            const Pos gap = next < count() ? model_[next] - model_[line] : 70000;
            // A shift that keeps the next line after `line`: at least 1 - gap.
            Pos delta = static_cast<Pos>(in.upTo(600)) - 300;
            if (in.byte() < 30) delta = static_cast<Pos>(in.upTo(140000)) - 70000;
            delta = std::max(delta, 1 - gap);
            if (model_.back() + delta > 2'000'000'000) delta = 0;  // positions stay in 32 bits
            const Pos wanted = op == 2 ? in.upTo(4 * chunkLines_) : in.upTo(5);
            const std::vector<std::int32_t> added = startsBetween(in, model_[line], model_[line] + gap + delta, wanted);
            LineStarts::Edit edit = starts_.prepare(line, removed, added.data(), static_cast<Pos>(added.size()), delta);
            if (op == 3 && in.byte() < 60) return;  // prepared, then given up: nothing may change
            starts_.apply(std::move(edit));
            model_.erase(model_.begin() + line + 1, model_.begin() + next);
            for (std::size_t i = static_cast<std::size_t>(line) + 1; i < model_.size(); ++i) model_[i] += delta;
            model_.insert(model_.begin() + line + 1, added.begin(), added.end());
        } else if (op == 4) {
            const Pos delta = std::max<Pos>(static_cast<Pos>(in.upTo(400)) - 200, 1 - roomAfter(line));
            if (model_.back() + delta >= 2'000'000'000) return;
            starts_.shiftAfter(line, delta);
            for (std::size_t i = static_cast<std::size_t>(line) + 1; i < model_.size(); ++i) model_[i] += delta;
        } else if (op == 5) {
            const Pos at = line + 1;
            const std::vector<std::int32_t> added = startsBetween(in, model_[line], model_[line] + roomAfter(line), in.upTo(3));
            starts_.insert(at, added.data(), static_cast<Pos>(added.size()));
            model_.insert(model_.begin() + at, added.begin(), added.end());
        } else if (op == 6) {
            if (count() == 1) return;
            const Pos at = 1 + in.upTo(count() - 2);
            const Pos n = in.upTo(count() - at);
            starts_.remove(at, n);
            model_.erase(model_.begin() + at, model_.begin() + at + n);
        } else if (in.byte() < 128) {
            // A copy is the same index, and on its own from then on.
            LineStarts copy = starts_.copy();
            starts_.reset();
            starts_ = std::move(copy);
        } else {
            std::vector<std::int32_t> all(model_.begin(), model_.end());
            starts_.assign(all);
        }
    }

    void check() {
        starts_.checkInvariants();
        if (starts_.count() != count()) return fail_("count " + std::to_string(starts_.count()) + ", expected " + std::to_string(count()));
        for (Pos line = 0; line < count(); ++line) {
            if (starts_.start(line) != model_[line]) {
                return fail_("start of line " + std::to_string(line) + " is " + std::to_string(starts_.start(line)) + ", expected " +
                             std::to_string(model_[line]));
            }
            for (const Pos position : {model_[line] - 1, model_[line], model_[line] + 1}) {
                const auto found = std::upper_bound(model_.begin(), model_.end(), position);
                const Pos expected = found == model_.begin() ? 0 : static_cast<Pos>(found - model_.begin()) - 1;
                if (starts_.lineFromPosition(position) != expected) {
                    return fail_("line at " + std::to_string(position) + " is " + std::to_string(starts_.lineFromPosition(position)) +
                                 ", expected " + std::to_string(expected));
                }
            }
        }
    }

    int chunkLines_;
    LineStarts starts_;
    std::vector<Pos> model_{0};
    Fail fail_;
};

}  // namespace zozuz::model
