#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/LeadByteSet.h"

namespace zozuz {

// The byte-exact multi-line edit control that holds the document. It keeps the text as bytes of the
// system code page and never converts, normalises or drops any of them: every byte value, zero
// included, can be stored. Only the two-byte sequence CR LF separates editor lines; a lone CR or LF
// is an ordinary byte of its line.
//
// Positions and lengths count bytes. Line numbers are zero-based and refer to editor lines, or to
// display lines while word wrap is on (the control then divides every editor line with the width
// function it was given). The requests mirror what the document needs of a platform edit control:
// a line count that is at least 1, -1 as the start of a line that does not exist, the length of the
// line that holds a position, copying a line into a caller's buffer of bounded size, replacing the
// selection with or without undo, and setting the whole text, refused above the capacity.
// Every change either happens whole or, refused, leaves everything as it was; a change that cannot
// get the memory it needs is refused like one beyond the capacity.
//
// Storage is a gap buffer with an index of line starts, so looking up a line costs O(log n) or
// better and rewriting a line with bytes of the same line structure costs O(length of the line).
class EditControl {
public:
    using Pos = std::int64_t;

    // The most bytes the control holds: 2^31 - 2. A longer text is refused before anything is
    // allocated.
    static constexpr Pos kCapacity = 2147483646;

    // The advance, in pixels, of one character: one byte, or a lead byte with its trail byte.
    using WidthFunction = std::function<int(std::string_view character)>;
    // Whether a lead byte and the byte after it form one character.
    using PairFunction = std::function<bool(std::uint8_t lead, std::uint8_t trail)>;

    // Told after every change of the text: at `position`, `removed` bytes were replaced by `inserted`
    // bytes. The host's view uses it to repaint what changed.
    using ChangeListener = std::function<void(Pos position, Pos removed, Pos inserted)>;
    // Names a listener for its removal; 0 never names one.
    using ListenerId = std::uint64_t;

    explicit EditControl(LeadByteSet leadBytes = LeadByteSet::codePage936());
    // A control that holds at most `capacity` bytes (clamped to 0..kCapacity): a stand-in for a
    // smaller platform control, and a way to reach the refusals without gigabytes of text.
    EditControl(LeadByteSet leadBytes, Pos capacity);
    // A control whose line indexes keep `indexChunkLines` lines (2 or more) to a chunk instead of
    // the usual number: for tests, which reach the borders between chunks with a few lines.
    EditControl(LeadByteSet leadBytes, Pos capacity, int indexChunkLines);
    ~EditControl();
    EditControl(const EditControl&) = delete;
    EditControl& operator=(const EditControl&) = delete;

    // --- Whole text ---
    Pos textLength() const;
    std::string text() const;
    // Copies the bytes of [start, end) into `out`, which must have room for end - start bytes.
    void copyRange(Pos start, Pos end, char* out) const;
    std::string range(Pos start, Pos end) const;
    // Calls `visit` with the one or two runs of stored bytes that hold [start, end), in order,
    // without copying them: saving a large text this way needs no second copy of it. The views are
    // valid only during the call.
    void visitRange(Pos start, Pos end, const std::function<void(std::string_view)>& visit) const;
    char byteAt(Pos position) const;

    // Replaces the whole text with `bytes` exactly as given. Returns false, and changes nothing,
    // when the text is longer than the capacity or the memory for it cannot be had. Afterwards the
    // caret is at the start, nothing is selected and the undo history is empty.
    bool setText(std::string_view bytes);
    // Like setText, but takes over a block the caller has filled instead of copying it: its first
    // `length` bytes are the new text, and `allocated` bytes were allocated (the rest is room to
    // grow). Spares a large file's text a second copy while it is loaded.
    bool adoptText(std::unique_ptr<char[]> block, Pos length, Pos allocated);
    // Whether a text of `length` bytes fits; asked before a large text is even read.
    static bool canHold(std::uint64_t length) { return length <= static_cast<std::uint64_t>(kCapacity); }
    // The most bytes this control holds: kCapacity unless it was made smaller.
    Pos capacity() const;

    // --- Lines (display lines while word wrap is on) ---
    // Under word wrap these answers are exact: each divides the lines it needs first (see wrapSome).
    // The number of lines, at least 1: the empty text is one empty line, and a text ending in CR LF
    // has an empty last line. Under word wrap it divides every line.
    Pos lineCount() const;
    // The number of lines as far as word wrap has divided the text, each line not divided yet
    // counted as one; lineCount() once the division is complete. Divides nothing.
    Pos lineCountSoFar() const;
    // Start position of a line, or -1 when there is no such line.
    Pos lineIndex(Pos line) const;
    // The line that holds a position; a position at or past the end belongs to the last line.
    Pos lineFromPosition(Pos position) const;
    // Length, without its break, of the line that holds a position; a negative position counts as
    // the first line's.
    Pos lineLength(Pos position) const;
    // A display line's number and bytes, without its break: what lineIndex and lineLength tell, in
    // one request. `start` is -1 for a line that does not exist.
    struct LineSpan {
        Pos line = 0;
        Pos start = -1;
        Pos end = -1;
        Pos next = -1;  // the start of the line after it, -1 for the last line
    };
    LineSpan lineSpan(Pos line) const;
    // The span of the line that holds a position, as lineFromPosition finds it.
    LineSpan lineSpanAt(Pos position) const;
    // Moves on every change of the text and of its division into display lines (word wrap switched,
    // a new wrap width). What a caller read of the lines, or laid out from them, holds while it stays.
    std::uint64_t layoutVersion() const;
    // Copies at most `capacity` bytes of a line, without its break, into `buffer` and returns how
    // many were copied; 0 for a line that does not exist.
    std::size_t getLine(Pos line, char* buffer, std::size_t capacity) const;

    // --- Editor lines, whatever the word-wrap setting ---
    Pos editorLineCount() const;
    Pos editorLineStart(Pos line) const;  // -1 when there is no such line
    Pos editorLineLength(Pos line) const; // 0 when there is no such line
    // The editor line that holds a position; a position at or past the end belongs to the last line.
    Pos editorLineFromPosition(Pos position) const;

    // --- Selection and caret ---
    Pos selectionStart() const;
    Pos selectionEnd() const;
    Pos caret() const;  // the active end of the selection
    // Selects [anchor, caret); positions are clamped to the text. The caret may lie before the anchor.
    void setSelection(Pos anchor, Pos caret);
    bool hasSelection() const;
    // Replaces the selection with `bytes` exactly as given; the caret ends just after them. With
    // `undoable` false the change cannot be undone, and the undo history is emptied because its steps
    // no longer fit the text. Returns false, changing nothing, when the result would exceed the
    // capacity.
    bool replaceSelection(std::string_view bytes, bool undoable);

    // --- The user's editing (refused while read-only, bounded by the typing limit) ---
    bool readOnly() const;
    void setReadOnly(bool readOnly);
    // 0 means the largest limit the control supports.
    Pos typingLimit() const;
    void setTypingLimit(Pos limit);
    // Typing, pasting: replaces the selection as one undoable step. Returns false when refused.
    bool userInsert(std::string_view bytes);
    // Cut and the Delete / Backspace keys: delete the selection, or one character after / before the
    // caret (a lead byte and its trail byte count as one character, and so does a line break).
    bool userDeleteForward();
    bool userDeleteBackward();

    // --- Undo (multi-level) ---
    // Undo and redo take back and re-apply the user's edits and undoable replacements, also while
    // the control is read-only; after an undo the selection is the one the edit started from.
    bool canUndo() const;
    bool canRedo() const;
    bool undo();
    bool redo();
    void clearUndo();

    // --- Word wrap ---
    bool wordWrap() const;
    // Switches word wrap. With it on, editor lines are divided (lazily, see wrapSome) into display
    // lines no wider than `width` pixels, as measured by `measure` (every byte one pixel when it is
    // empty); a display line holds at least one character, and a line breaks after its last space
    // that fits when it has one. A display line never divides a character: a lead byte and the byte
    // after it are one character when `pairs` says they form one (always, without `pairs`).
    // Switching on, also when already on, starts the division of the whole text anew. The text,
    // selection and undo history stay as they are.
    void setWordWrap(bool on, WidthFunction measure = {}, int width = 0, PairFunction pairs = {});
    // A new width starts the division of the whole text anew while word wrap is on; the same width
    // does nothing.
    void setWrapWidth(int width);
    int wrapWidth() const;
    // Word wrap divides editor lines lazily, in order from the first: switching it on, a new width or
    // a new text divides nothing yet, the line queries divide the lines they need, and wrapSome
    // divides more in bounded slices (whole editor lines of at least `bytes` bytes together, or the
    // rest). Returns whether lines remain to divide. Without word wrap nothing remains.
    bool wrapSome(Pos bytes);
    bool wrapComplete() const;

    // --- Listeners ---
    // Adds a listener that is told of every change from now on, after the listeners added before it.
    ListenerId addChangeListener(ChangeListener listener);
    // Removes a listener; an id that names none (any more) does nothing. A listener may add and remove
    // listeners while it is told: one removed is not told again, one added hears the next change.
    void removeChangeListener(ListenerId id);

    // Aborts, naming the broken one, unless every invariant of the control and its storage holds:
    // the editor lines start exactly after each CR LF, the display lines are the wrapper's division
    // of them, the selection lies in the text. Walks the whole text: for tests and fuzzers, not for
    // the program.
    void checkInvariants() const;

private:
    LineSpan spanOf(Pos line) const;

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zozuz
