#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/EditControl.h"

namespace zozuz {

// The display lines the editor view read last, each with its bytes, so that what a key asks about the
// caret's line (its span, its characters, the line a position is on) costs one request to the control
// instead of one per byte. An entry holds while the control's layout version stays what it was when
// the entry was read; every change of the text, of word wrap and of the wrap width moves the version,
// so no entry outlives the line it describes. Every request checks the version first.
class LineCache {
public:
    using Pos = EditControl::Pos;
    using Line = EditControl::LineSpan;

    // At most this many bytes of a line are kept; bytes past them are read from the control one by
    // one, so a line of any length costs no more memory than this.
    static constexpr Pos kMaxBytes = Pos{1} << 16;

    explicit LineCache(const EditControl& edit) : edit_(edit) {}
    LineCache(const LineCache&) = delete;
    LineCache& operator=(const LineCache&) = delete;

    // Display line `line` (start -1 when there is none), as EditControl::lineSpan tells it.
    Line line(Pos line);
    // The display line that holds a position, as EditControl::lineSpanAt tells it.
    Line lineAt(Pos position);
    // A byte of the text (0 outside it), as EditControl::byteAt tells it.
    char byteAt(Pos position);

private:
    struct Entry {
        Line span;
        // The bytes of [span.start, span.start + bytes.size()): the line and its break, or their
        // first kMaxBytes bytes. Empty for a line that does not exist.
        std::string bytes;
        bool valid = false;
    };

    // Drops every entry when the control's lines changed since they were read.
    void checkVersion();
    Entry& fill(const Line& span);

    const EditControl& edit_;
    // The two lines read last; `newest_` names the one read or used most recently, and a new line
    // replaces the other one.
    std::array<Entry, 2> entries_;
    std::size_t newest_ = 0;
    std::uint64_t version_ = 0;
};

}  // namespace zozuz
