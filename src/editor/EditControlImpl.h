#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <list>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "base/Assert.h"
#include "base/LeadByteSet.h"
#include "editor/EditControl.h"
#include "editor/GapBuffer.h"
#include "editor/LineStarts.h"
#include "editor/LineWrapper.h"
#include "editor/UndoHistory.h"

namespace zozuz {

// The state of an EditControl and the steps that change its storage: the bytes, the index of editor
// lines, the display lines of word wrap, the selection, the undo history and the listeners. The
// control's public requests (EditControl.cpp) are built on these steps.
struct EditControl::Impl {
    Impl(LeadByteSet leadBytes, Pos capacity, int indexChunkLines)
        : lead(leadBytes), capacity(capacity), chunkLines(indexChunkLines), lines(indexChunkLines),
          displayLines(indexChunkLines) {}

    LeadByteSet lead;
    Pos capacity;
    int chunkLines;  // lines to a chunk of both line indexes
    GapBuffer<char> text;  // never longer than `capacity`
    // Editor lines: one starts at 0 and one right after every CR LF pair of the text, and no other.
    LineStarts lines;

    // Display lines, kept only while word wrap is on. Editor lines are divided lazily, from the first
    // one on: the editor lines before `wrappedLines` are divided as the wrapper divides them at
    // `wrapWidth`, the wrapper's own width, and every later one is still a single display line that
    // starts where it starts. Dividing more lines changes no answer about the text, only how far the
    // division has got, so the queries that need a line divide it on demand, const or not.
    std::optional<LineWrapper> wrapper;
    LineStarts displayLines;
    Pos wrappedLines = 0;  // 0 <= wrappedLines <= lines.count()
    int wrapWidth = 0;
    std::vector<std::int32_t> wrapScratch;

    // The selection lies in the text: 0 <= anchor, caret <= length().
    Pos anchor = 0;
    Pos caret = 0;
    bool readOnly = false;
    Pos typingLimit = 0;
    UndoHistory history;
    // Counts every change of the text and of the division into display lines; what was read of the
    // lines under one count holds until it moves.
    std::uint64_t layoutVersion = 0;

    struct Listener {
        ListenerId id;
        ChangeListener call;
        bool removed = false;  // removed while changes were being told; erased once they are
    };
    // A list, so that a listener added while others are told moves none of them.
    std::list<Listener> listeners;
    ListenerId lastListenerId = 0;
    int telling = 0;  // how many notifications are under way, one inside another

    // Reused between edits so that rewriting line after line allocates nothing.
    std::vector<std::int32_t> newLineStarts;
    std::vector<std::int32_t> newDisplayStarts;

    Pos length() const { return text.size(); }
    bool wrapping() const { return wrapper.has_value(); }
    Pos clampPosition(Pos position) const { return std::clamp<Pos>(position, 0, length()); }

    bool fits(Pos removed, std::size_t inserted) const {
        // Unsigned arithmetic: `inserted` may be anything a caller hands over.
        const std::uint64_t kept = static_cast<std::uint64_t>(length() - removed);
        return inserted <= static_cast<std::uint64_t>(capacity) - kept;
    }

    bool isBreakBefore(Pos position) const {
        return position >= 2 && text.at(position - 2) == '\r' && text.at(position - 1) == '\n';
    }

    // End of an editor line's bytes, before its break.
    Pos editorLineEnd(Pos line) const {
        return line + 1 < lines.count() ? lines.start(line + 1) - 2 : length();
    }

    // --- Word wrap ---
    bool wrapComplete() const { return !wrapping() || wrappedLines == lines.count(); }
    // The display line that editor line `line`, not divided yet, still is.
    Pos undividedDisplayLine(Pos line) const { return line + displayLines.count() - lines.count(); }
    // Divides the editor lines from the first one not divided yet through `last`, in one change of
    // the display lines (a change per line would rewrite the index around each of them): at most a
    // batch of them (kWrapBatch), and none whose display line, while it is undivided, lies after
    // `displayLine`. Allocates before it changes anything.
    static constexpr Pos kWrapBatch = 1024;
    void wrapLines(Pos last, Pos displayLine = std::numeric_limits<Pos>::max());
    // Divides editor lines in order until `line` is divided.
    void wrapThroughEditorLine(Pos line) {
        if (!wrapping()) return;
        line = std::min(line, lines.count() - 1);
        while (wrappedLines <= line) wrapLines(line);
    }
    // Divides editor lines until display line `line` is final, or every line is divided.
    void wrapThroughDisplayLine(Pos line) {
        if (!wrapping()) return;
        while (wrappedLines < lines.count() && undividedDisplayLine(wrappedLines) <= line) wrapLines(lines.count() - 1, line);
    }
    void wrapThroughPosition(Pos position) { wrapThroughEditorLine(lines.lineFromPosition(position)); }
    // Divides whole editor lines until at least `bytes` bytes more are divided; whether some remain.
    bool wrapSome(Pos bytes);
    // Starts a new division: every editor line is one display line until it is divided.
    void restartWrapping();

    // --- Display lines: exact answers, which divide the lines they need first ---
    Pos displayCount() {
        wrapThroughEditorLine(lines.count() - 1);
        return wrapping() ? displayLines.count() : lines.count();
    }
    Pos displayStart(Pos line) const { return wrapping() ? displayLines.start(line) : lines.start(line); }
    Pos displayLineFromPosition(Pos position) {
        if (!wrapping()) return lines.lineFromPosition(position);
        wrapThroughPosition(position);
        return displayLines.lineFromPosition(position);
    }
    Pos displayLineEnd(Pos line) const;

    // All display-line starts of a whole text, for checking the division made line by line.
    template <typename ByteAt>
    std::vector<std::int32_t> wrapAll(const LineWrapper& lineWrapper, const ByteAt& byteAt,
                                      const std::vector<std::int32_t>& editorStarts, Pos textLength) const {
        std::vector<std::int32_t> starts;
        starts.reserve(editorStarts.size());
        for (std::size_t i = 0; i < editorStarts.size(); ++i) {
            const Pos start = editorStarts[i];
            const Pos end = i + 1 < editorStarts.size() ? editorStarts[i + 1] - 2 : textLength;
            starts.push_back(static_cast<std::int32_t>(start));
            lineWrapper.wrap(byteAt, start, end, starts);
        }
        return starts;
    }

    // --- Changing the text ---
    // A control that cannot get the memory for a text refuses it, as it refuses one beyond its
    // capacity; every change is prepared in full before anything is changed, so nothing is lost.
    bool setText(std::string_view bytes);
    bool replaceRange(Pos position, Pos removed, std::string_view bytes);
    // With a `block`, `bytes` lie in it and the block becomes the new text's storage.
    void setTextOrThrow(std::string_view bytes, std::unique_ptr<char[]> block = {}, Pos allocated = 0);
    // Replaces `removed` bytes at `position` with `bytes` and brings both line indexes up to date.
    // The result must fit. Selection, undo and listeners are the caller's business.
    void replaceRangeOrThrow(Pos position, Pos removed, std::string_view bytes);
    // An edit the user made, or an undoable replacement: recorded so that it can be undone.
    bool replaceRecorded(Pos position, Pos removed, std::string_view bytes, UndoHistory::Kind kind);
    // Tells every listener of a change that is complete.
    void notify(Pos position, Pos removed, Pos inserted);

    Pos effectiveTypingLimit() const { return typingLimit == 0 ? capacity : std::min(typingLimit, capacity); }
    // Bytes of the character that ends at `position`: a line break, a lead byte with its trail
    // byte, or one byte.
    Pos characterBefore(Pos position) const;
    Pos characterAfter(Pos position) const;

    // The invariants that cost O(1); a build with assertions checks them after every change.
    void checkCheapInvariants() const;
    void assertCheapInvariants() const {
        if constexpr (kAssertionsOn) checkCheapInvariants();
    }

private:
    struct Splice;
    // The steps of replaceRangeOrThrow: everything is planned and allocated before the first byte
    // changes, and applying the plan allocates nothing.
    void planEditorLines(Splice& s);
    void planDisplayLines(Splice& s);
    Pos firstDisplayLineToRewrap(const Splice& s) const;
    Pos divideEditAnew(const Splice& s);
    void prepare(Splice& s);
    void applySplice(Splice& s);
};

}  // namespace zozuz
