#pragma once

// Drives an EditControl with a stream of operations and checks it after each one against a plain
// std::string whose lines, display lines and character boundaries are computed the slow, obvious
// way. Shared by the randomised unit test and the fuzz target, which only differ in where the
// bytes of the stream come from. A mismatch is reported through `fail`, with a description.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/LeadByteSet.h"
#include "editor/EditControl.h"
#include "editor/LineStarts.h"

namespace zozuz::model {

using Pos = EditControl::Pos;

// Reads small numbers and byte strings from a fixed buffer; past its end everything is zero.
class ByteStream {
public:
    explicit ByteStream(std::string_view bytes) : bytes_(bytes) {}
    bool done() const { return next_ >= bytes_.size(); }
    std::uint8_t byte() { return next_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[next_++]) : 0; }
    Pos upTo(Pos limit) { return limit <= 0 ? 0 : static_cast<Pos>((byte() | byte() << 8) % (limit + 1)); }
    // A short string drawn mostly from the bytes that matter to lines and characters.
    std::string text(std::size_t maxLength) {
        static constexpr char kAlphabet[] = {'\r', '\n', ' ', 'a', 'b', '\0', '\xB0', '\xA1', '\r', '\n', ' ', '\x81'};
        const std::size_t length = byte() % (maxLength + 1);
        std::string result;
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint8_t b = byte();
            result.push_back(b < 200 ? kAlphabet[b % sizeof kAlphabet] : static_cast<char>(b));
        }
        return result;
    }

private:
    std::string_view bytes_;
    std::size_t next_ = 0;
};

class Checker {
public:
    using Fail = std::function<void(const std::string&)>;

    // With a few lines to a chunk of the control's line indexes, edits keep crossing chunk borders.
    Checker(Pos capacity, Fail fail, int chunkLines = LineStarts::kChunkLines)
        : lead_(LeadByteSet::codePage936()), edit_(lead_, capacity, chunkLines), capacity_(capacity), fail_(std::move(fail)) {
        history_.push_back(text_);
        joinsBefore_.push_back(false);
    }

    void run(ByteStream& in, std::size_t maxOperations) {
        for (std::size_t i = 0; i < maxOperations && !in.done(); ++i) {
            step(in);
            check();
        }
    }

private:
    // --- The slow, obvious model ---

    bool isBreakAt(Pos p) const {
        return p >= 0 && p + 1 < static_cast<Pos>(text_.size()) && text_[p] == '\r' && text_[p + 1] == '\n';
    }

    std::vector<Pos> editorStarts() const {
        std::vector<Pos> starts{0};
        for (Pos p = 0; p + 1 < static_cast<Pos>(text_.size()); ++p)
            if (isBreakAt(p)) starts.push_back(p + 2);
        return starts;
    }

    Pos editorEnd(const std::vector<Pos>& starts, std::size_t i) const {
        return i + 1 < starts.size() ? starts[i + 1] - 2 : static_cast<Pos>(text_.size());
    }

    // Characters of [start, end): their starts, ending with `end`.
    std::vector<Pos> characters(Pos start, Pos end) const {
        std::vector<Pos> bounds;
        for (Pos p = start; p < end;) {
            bounds.push_back(p);
            p += lead_.contains(text_[p]) && p + 1 < end ? 2 : 1;
        }
        bounds.push_back(end);
        return bounds;
    }

    int widthOf(std::string_view character) const {
        if (!measured_) return static_cast<int>(character.size());
        return static_cast<std::uint8_t>(character[0]) % 3 + (character.size() == 2 ? 3 : 0);
    }

    // Display lines as [start, end) without their breaks.
    std::vector<std::pair<Pos, Pos>> displayLines() const {
        const std::vector<Pos> starts = editorStarts();
        std::vector<std::pair<Pos, Pos>> result;
        for (std::size_t line = 0; line < starts.size(); ++line) {
            const Pos end = editorEnd(starts, line);
            if (!wrap_) {
                result.emplace_back(starts[line], end);
                continue;
            }
            const std::vector<Pos> bounds = characters(starts[line], end);
            const std::size_t count = bounds.size() - 1;
            std::size_t first = 0;
            while (true) {
                long used = 0;
                std::size_t next = first;
                std::size_t afterSpace = 0;
                bool space = false;
                while (next < count) {
                    const auto character = std::string_view(text_).substr(bounds[next], bounds[next + 1] - bounds[next]);
                    const int w = widthOf(character);
                    if (next > first && used + w > width_) break;
                    used += w;
                    ++next;
                    if (character == " ") {
                        afterSpace = next;
                        space = true;
                    }
                }
                if (next >= count) {
                    result.emplace_back(bounds[first], end);
                    break;
                }
                const std::size_t following = space ? afterSpace : next;
                result.emplace_back(bounds[first], bounds[following]);
                first = following;
            }
        }
        return result;
    }

    // --- Operations ---

    void replaceModel(Pos start, Pos removed, const std::string& bytes) {
        text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(removed), bytes);
    }

    bool fits(Pos removed, std::size_t inserted) const {
        return static_cast<Pos>(text_.size()) - removed + static_cast<Pos>(inserted) <= capacity_;
    }

    // How the control groups the user's edits into undo steps: a typed character right after the
    // typing before it, and a Delete or Backspace that goes on from the one before it, join that
    // step; an undo or redo ends the step. Texts alone cannot tell the steps apart, since typing a
    // byte over the same selected byte leaves the text as it was.
    enum class Edit { Other, Typing, DeleteBackward, DeleteForward };

    void recordUndoable(Edit kind = Edit::Other, Pos start = 0, Pos removed = 0, Pos inserted = 0) {
        bool joins = false;
        if (done_ > 0 && !sealed_ && kind == lastKind_) {
            switch (kind) {
                case Edit::Typing: joins = removed == 0 && start == lastEnd_; break;
                case Edit::DeleteBackward: joins = start + removed == lastEnd_; break;
                case Edit::DeleteForward: joins = start == lastEnd_; break;
                case Edit::Other: break;
            }
        }
        history_.resize(done_ + 1);
        joinsBefore_.resize(done_ + 1);
        history_.push_back(text_);
        joinsBefore_.push_back(joins);
        ++done_;
        sealed_ = false;
        lastKind_ = kind;
        lastEnd_ = start + (kind == Edit::Typing ? inserted : 0);
    }

    void forgetHistory() {
        history_.assign(1, text_);
        joinsBefore_.assign(1, false);
        done_ = 0;
        sealed_ = false;
    }

    void expect(bool condition, const char* what) {
        if (!condition) fail_(std::string(what) + " (text length " + std::to_string(text_.size()) + ")");
    }

    void step(ByteStream& in) {
        const Pos length = static_cast<Pos>(text_.size());
        switch (in.byte() % 13) {
            case 0:
            case 1: {  // replace a range, with or without undo
                const Pos a = in.upTo(length);
                const Pos b = in.upTo(length);
                const std::string bytes = in.text(8);
                const bool undoable = in.byte() & 1;
                edit_.setSelection(a, b);
                const Pos start = std::min(a, b);
                const Pos removed = std::max(a, b) - start;
                const bool ok = edit_.replaceSelection(bytes, undoable);
                expect(ok == fits(removed, bytes.size()), "replaceSelection refusal");
                if (!ok) return;
                replaceModel(start, removed, bytes);
                if (!undoable) {
                    forgetHistory();
                } else if (removed != 0 || !bytes.empty()) {
                    recordUndoable();
                }
                expect(edit_.caret() == start + static_cast<Pos>(bytes.size()) && !edit_.hasSelection(),
                       "caret after replaceSelection");
                return;
            }
            case 2:
            case 3: {  // rewrite a line as the document's put line does, often with bytes of its length
                const std::vector<std::pair<Pos, Pos>> lines = displayLines();
                const Pos line = in.upTo(static_cast<Pos>(lines.size()));  // one past the end now and then
                std::string bytes = in.text(8);
                const bool exists = line < static_cast<Pos>(lines.size());
                if (exists && (in.byte() & 1)) {
                    const auto [first, last] = lines[static_cast<std::size_t>(line)];
                    bytes.resize(static_cast<std::size_t>(last - first), 'x');
                }
                if (!exists) {
                    expect(edit_.lineIndex(line) == -1, "start of a missing line");
                    return;
                }
                const auto [start, end] = lines[static_cast<std::size_t>(line)];
                const Pos removed = end - start;
                expect(edit_.lineIndex(line) == start && edit_.lineLength(start) == removed, "line to rewrite");
                edit_.setSelection(start, end);
                const bool ok = edit_.replaceSelection(bytes, false);
                expect(ok == fits(removed, bytes.size()), "line rewrite refusal");
                if (!ok) return;
                replaceModel(start, removed, bytes);
                forgetHistory();
                expect(edit_.caret() == start + static_cast<Pos>(bytes.size()), "caret after a line rewrite");
                return;
            }
            case 4: {
                const std::string bytes = in.text(24);
                bool ok;
                if (in.byte() & 1) {
                    // Handed over in a block of its own, with some room to spare.
                    const std::size_t room = bytes.size() + in.byte() % 4;
                    auto block = std::make_unique<char[]>(room);
                    std::copy(bytes.begin(), bytes.end(), block.get());
                    ok = edit_.adoptText(std::move(block), static_cast<Pos>(bytes.size()), static_cast<Pos>(room));
                } else {
                    ok = edit_.setText(bytes);
                }
                expect(ok == (static_cast<Pos>(bytes.size()) <= capacity_), "setText refusal");
                if (!ok) return;
                text_ = bytes;
                forgetHistory();
                return;
            }
            case 5: {  // undo: back to the text before the last step
                const bool ok = edit_.undo();
                expect(ok == (done_ > 0), "undo possible");
                if (!ok) return;
                while (joinsBefore_[done_]) --done_;
                --done_;
                sealed_ = true;
                text_ = history_[done_];
                expect(edit_.text() == text_, "undo to the text before the step");
                return;
            }
            case 6: {  // redo: forward to the text after the next step
                const bool ok = edit_.redo();
                expect(ok == (done_ + 1 < history_.size()), "redo possible");
                if (!ok) return;
                ++done_;
                while (done_ + 1 < history_.size() && joinsBefore_[done_ + 1]) ++done_;
                sealed_ = true;
                text_ = history_[done_];
                expect(edit_.text() == text_, "redo to the text after the step");
                return;
            }
            case 7: {
                wrap_ = in.byte() % 3 != 0;
                measured_ = in.byte() & 1;
                width_ = static_cast<int>(in.byte() % 9);
                if (wrap_) {
                    edit_.setWordWrap(true, measured_ ? EditControl::WidthFunction([this](std::string_view c) { return widthOf(c); })
                                                      : EditControl::WidthFunction{},
                                      width_);
                } else {
                    edit_.setWordWrap(false);
                }
                return;
            }
            case 12: {
                // Word wrap divides a slice more. While `partial_` holds, the checks leave the rest
                // undivided, so that the edits after it meet a division that is not complete.
                const bool more = edit_.wrapSome(in.upTo(16));
                expect(more == !edit_.wrapComplete(), "wrapSome tells whether lines remain");
                expect(wrap_ || !more, "nothing to divide without word wrap");
                partial_ = in.byte() % 4 != 0;
                return;
            }
            case 8: {
                const int width = static_cast<int>(in.byte() % 9);
                edit_.setWrapWidth(width);
                if (wrap_) width_ = width;
                return;
            }
            case 9: {  // the user types or pastes
                const Pos a = in.upTo(length);
                const Pos b = in.upTo(length);
                const std::string bytes = in.text(3);
                const Pos limit = in.byte() % 4 == 0 ? in.upTo(40) : 0;
                const bool readOnly = in.byte() % 8 == 0;
                edit_.setTypingLimit(limit);
                edit_.setReadOnly(readOnly);
                edit_.setSelection(a, b);
                const Pos start = std::min(a, b);
                const Pos removed = std::max(a, b) - start;
                const Pos newLength = length - removed + static_cast<Pos>(bytes.size());
                const Pos effective = limit == 0 ? capacity_ : std::min(limit, capacity_);
                const bool allowed = !readOnly && (newLength <= effective || newLength <= length);
                const bool ok = edit_.userInsert(bytes);
                edit_.setReadOnly(false);
                expect(ok == allowed, "userInsert refusal");
                if (!ok) return;
                replaceModel(start, removed, bytes);
                const bool typed = !bytes.empty() && bytes.size() <= 2 && bytes.find_first_of("\r\n") == std::string::npos;
                if (removed != 0 || !bytes.empty()) {
                    recordUndoable(typed ? Edit::Typing : Edit::Other, start, removed, static_cast<Pos>(bytes.size()));
                }
                return;
            }
            case 10:
            case 11: {  // Delete or Backspace at a caret or over a selection
                const bool forward = in.byte() & 1;
                const Pos a = in.upTo(length);
                const Pos b = in.byte() % 4 == 0 ? in.upTo(length) : a;
                edit_.setSelection(a, b);
                Pos start = std::min(a, b);
                Pos removed = std::max(a, b) - start;
                if (removed == 0) {
                    if (forward) {
                        if (a < length) removed = isBreakAt(a) ? 2 : (lead_.contains(text_[a]) && a + 1 < length && !isBreakAt(a + 1)) ? 2 : 1;
                    } else if (a > 0) {
                        removed = 1;
                        if (isBreakAt(a - 2)) {
                            removed = 2;
                        } else if (!isBreakAt(a - 1)) {
                            // The character that holds the byte before the caret, parsed from its line's start.
                            const std::vector<Pos> starts = editorStarts();
                            const std::size_t line = static_cast<std::size_t>(
                                std::upper_bound(starts.begin(), starts.end(), a - 1) - starts.begin() - 1);
                            const std::vector<Pos> bounds = characters(starts[line], editorEnd(starts, line));
                            for (std::size_t i = 0; i + 1 < bounds.size(); ++i)
                                if (bounds[i] == a - 2 && bounds[i + 1] == a) removed = 2;
                        }
                        start = a - removed;
                    }
                }
                const bool ok = forward ? edit_.userDeleteForward() : edit_.userDeleteBackward();
                expect(ok == (removed > 0), "delete possible");
                if (!ok) return;
                replaceModel(start, removed, "");
                const bool selected = a != b;
                recordUndoable(selected ? Edit::Other : forward ? Edit::DeleteForward : Edit::DeleteBackward, start, removed);
                return;
            }
        }
    }

    void check() {
        // The control's own invariants first: a broken one names the structure that broke.
        edit_.checkInvariants();
        const std::string text = edit_.text();
        if (text != text_) {
            fail_("text differs: control has " + std::to_string(text.size()) + " bytes, model " +
                  std::to_string(text_.size()));
            return;
        }
        expect(edit_.textLength() == static_cast<Pos>(text_.size()), "text length");
        expect(edit_.canUndo() == (done_ > 0), "canUndo");
        expect(edit_.selectionStart() >= 0 && edit_.selectionEnd() <= edit_.textLength(), "selection in the text");

        const std::vector<Pos> starts = editorStarts();
        expect(edit_.editorLineCount() == static_cast<Pos>(starts.size()), "editor line count");
        for (std::size_t i = 0; i < starts.size() && i < static_cast<std::size_t>(edit_.editorLineCount()); ++i) {
            expect(edit_.editorLineStart(static_cast<Pos>(i)) == starts[i], "editor line start");
            expect(edit_.editorLineLength(static_cast<Pos>(i)) == editorEnd(starts, i) - starts[i], "editor line length");
            expect(edit_.editorLineFromPosition(starts[i]) == static_cast<Pos>(i), "editor line from position");
        }
        expect(edit_.editorLineStart(static_cast<Pos>(starts.size())) == -1, "editor line past the end");

        // The line queries divide what they need, and lineCount() divides everything: while a
        // division is left partial, checkInvariants has compared the part done with a whole new one.
        if (partial_) return;
        const std::vector<std::pair<Pos, Pos>> display = displayLines();
        expect(edit_.lineCount() == static_cast<Pos>(display.size()), "display line count");
        for (std::size_t i = 0; i < display.size() && i < static_cast<std::size_t>(edit_.lineCount()); ++i) {
            const auto [start, end] = display[i];
            expect(edit_.lineIndex(static_cast<Pos>(i)) == start, "display line start");
            expect(edit_.lineLength(start) == end - start, "display line length");
            expect(edit_.lineFromPosition(start) == static_cast<Pos>(i), "display line from position");
            char bytes[16];
            const std::size_t copied = edit_.getLine(static_cast<Pos>(i), bytes, sizeof bytes);
            expect(std::string_view(bytes, copied) == std::string_view(text_).substr(static_cast<std::size_t>(start), std::min<std::size_t>(end - start, sizeof bytes)),
                   "display line bytes");
        }
        expect(edit_.lineIndex(static_cast<Pos>(display.size())) == -1, "display line past the end");
    }

    LeadByteSet lead_;
    EditControl edit_;
    Pos capacity_;
    Fail fail_;
    std::string text_;
    std::vector<std::string> history_;  // texts after each undoable step; [done_] is the current one
    std::vector<bool> joinsBefore_;      // whether step i joined the control's step before it
    std::size_t done_ = 0;
    bool sealed_ = false;                // an undo or redo came last: the next edit joins nothing
    Edit lastKind_ = Edit::Other;
    Pos lastEnd_ = 0;                    // where the last step's typing ended, or its deleting began
    bool wrap_ = false;
    bool partial_ = false;
    bool measured_ = false;
    int width_ = 0;
};

}  // namespace zozuz::model
