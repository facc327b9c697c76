#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/CharacterWidths.h"
#include "editor/EditControl.h"

namespace zozuz {

// The x positions inside the display lines of the editor view. A line longer than the spacing keeps
// a sparse index of checkpoints, each a character boundary with its x, about a spacing apart, so
// that the x of a position, or the position at an x, is found by walking from the checkpoint before
// it: about a screen's worth of bytes, also on a line of a gigabyte. The index is built only as far
// as it is asked for. Boundaries are found by walking from the line's start, never guessed from a
// byte offset: a lead byte carries the next byte along unless the two form no character. A
// checkpoint's x counts from the line's start, so tabs after it stop where they stop in the line.
//
// The index follows the control's edits. Told of an edit inside an indexed line, it keeps the
// checkpoints before the edit, and keeps those after it as candidates, moved with the bytes they
// stood at, whose x is still the old one. The first candidate is confirmed by walking to it from the
// last checkpoint before the edit: if the walk lands on it, the characters after it are the old ones,
// and so are the widths between it and the next candidate, unless a tab stands there (a tab's width
// depends on where it starts). The difference of the x at a confirmed candidate and its old x
// carries over to the next candidate without a tab between them, and once a tab has been passed it
// is a whole number of tab stops and carries over to every later one. A walk that misses a candidate
// records where it landed instead, and a walk to a distant candidate leaves checkpoints on its way. Any other change (word wrap, its width, a whole new text) drops
// every line; a new font is the owner's to report with clear().
class LineXIndex {
public:
    using Pos = EditControl::Pos;
    using Line = EditControl::LineSpan;

    // A character boundary of a line and its x from the line's start.
    struct Point {
        Pos position = 0;
        std::int64_t x = 0;
    };

    static constexpr Pos kDefaultSpacing = 4096;
    // The most lines indexed at once; the one used longest ago makes room for another.
    static constexpr std::size_t kMaxLines = 256;

    // The control and the widths must outlive the index.
    LineXIndex(const EditControl& edit, CharacterWidths& widths);
    LineXIndex(const LineXIndex&) = delete;
    LineXIndex& operator=(const LineXIndex&) = delete;

    // Lines longer than `bytes` (at least 1) are indexed, with checkpoints about `bytes` apart.
    // Drops every line.
    void setSpacing(Pos bytes);
    Pos spacing() const { return spacing_; }
    // Drops every line: the widths changed.
    void clear();
    // Told after every change of the text, as the control's change listeners are.
    void textChanged(Pos position, Pos removed, Pos inserted);

    // The x of the first character boundary at or after `position` in the display line `span`, which
    // must exist: the x of `position` itself when it is a boundary.
    std::int64_t xOf(const Line& span, Pos position);
    // A character boundary at or before `position` (the line's start at the earliest), about a
    // spacing before it at most.
    Point boundaryAtOrBefore(const Line& span, Pos position);
    // The last character boundary whose x is at most `x`: the character after it ends past `x`, or
    // it is the line's end. The line's start when `x` is below 0.
    Point boundaryAtX(const Line& span, std::int64_t x);

    // How many bytes the walks have covered so far: lets tests and benchmarks see what a key, a
    // click or a repaint costs.
    std::uint64_t walkedBytes() const { return walked_; }

private:
    struct Checkpoint {
        Pos position;
        std::int64_t x;
        // A tab stands between the checkpoint before this one and this one.
        bool tabBefore;
        // A candidate that an edit before it separates from the checkpoint before it: its x is
        // confirmed only by walking to it.
        bool walkTo;
    };

    struct Entry {
        Pos line = 0;
        Pos start = 0;
        Pos end = 0;
        // Sorted by strictly growing position, from the line's start at x 0 up to the line's end at
        // most. The first `confirmed` hold for the current text, with x that never decreases; the
        // rest are candidates (see the class comment).
        std::vector<Checkpoint> points;
        std::size_t confirmed = 1;
        // What the last confirmed candidate's x gained over its old x, while the next candidate
        // belongs to the same old text; empty when unknown.
        std::optional<std::int64_t> shift;
        std::uint64_t lastUse = 0;
    };

    // Drops every line when the control's layout changed behind the index's back.
    void sync();
    // The index of a line longer than the spacing, made when missing; nullptr for a shorter line.
    Entry* find(const Line& span);
    // Adjusts a line for an edit at or after its start; false when the line must be dropped.
    bool edited(Entry& entry, Pos position, Pos removed, Pos inserted);
    // Confirms one more checkpoint, or walks to the next one; false once the line's end is confirmed.
    bool extend(Entry& entry, const Line& span);
    // Walks from a boundary up to the first boundary at or after `limit`, or to the line's end, or
    // up to the last boundary whose x is at most `xLimit`.
    Point walk(const Line& span, Point from, Pos limit, std::int64_t xLimit, bool& sawTab);

    const EditControl& edit_;
    CharacterWidths& widths_;
    Pos spacing_ = kDefaultSpacing;
    std::vector<Entry> entries_;
    // The layout version and the line count the entries are for.
    std::uint64_t version_ = 0;
    Pos lineCount_ = 1;
    std::uint64_t uses_ = 0;
    std::uint64_t walked_ = 0;
    // The bytes of a piece being walked that the control's gap parts.
    std::string buffer_;
};

}  // namespace zozuz
