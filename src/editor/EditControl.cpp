#include "editor/EditControl.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "base/Assert.h"
#include "editor/GapBuffer.h"
#include "editor/LineStarts.h"
#include "editor/LineWrapper.h"
#include "editor/UndoHistory.h"

namespace zozuz {

namespace {

using Pos = EditControl::Pos;

// Appends to `out` the start of every line that follows a CR LF pair in `bytes`, counting positions
// from `offset`.
void appendBreaksWithin(std::string_view bytes, Pos offset, std::vector<std::int32_t>& out) {
    if (bytes.size() < 2) return;
    const char* const begin = bytes.data();
    const char* const last = begin + bytes.size() - 1;  // a CR here has no LF after it inside
    const char* p = begin;
    while (p < last) {
        p = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(last - p)));
        if (p == nullptr) break;
        if (p[1] == '\n') out.push_back(static_cast<std::int32_t>(offset + (p - begin) + 2));
        ++p;
    }
}

}  // namespace

struct EditControl::Impl {
    Impl(LeadByteSet leadBytes, Pos capacity) : lead(leadBytes), capacity(capacity) {}

    LeadByteSet lead;
    Pos capacity;
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

    bool wrapComplete() const { return !wrapping() || wrappedLines == lines.count(); }
    // The display line that editor line `line`, not divided yet, still is.
    Pos undividedDisplayLine(Pos line) const { return line + displayLines.count() - lines.count(); }

    // Divides the next editor line that is not divided yet. Allocates before it changes anything.
    void wrapNextLine() {
        ZOZUZ_ASSERT(wrapping() && wrappedLines < lines.count());
        const Pos line = wrappedLines;
        const auto byteAt = [this](Pos p) { return text.at(p); };
        wrapScratch.clear();
        wrapper->wrap(byteAt, lines.start(line), editorLineEnd(line), wrapScratch);
        const Pos added = static_cast<Pos>(wrapScratch.size());
        if (added != 0) {
            displayLines.reserveExtra(added);
            displayLines.insert(undividedDisplayLine(line) + 1, wrapScratch.data(), added);
        }
        ++wrappedLines;
    }
    // Divides editor lines in order until `line` is divided.
    void wrapThroughEditorLine(Pos line) {
        if (!wrapping()) return;
        line = std::min(line, lines.count() - 1);
        while (wrappedLines <= line) wrapNextLine();
    }
    // Divides editor lines until display line `line` is final, or every line is divided.
    void wrapThroughDisplayLine(Pos line) {
        if (!wrapping()) return;
        while (wrappedLines < lines.count() && undividedDisplayLine(wrappedLines) <= line) wrapNextLine();
    }
    void wrapThroughPosition(Pos position) { wrapThroughEditorLine(lines.lineFromPosition(position)); }
    // Divides whole editor lines until at least `bytes` bytes more are divided; whether some remain.
    bool wrapSome(Pos bytes) {
        if (!wrapping()) return false;
        const Pos until = wrappedLines < lines.count() ? lines.start(wrappedLines) + std::max<Pos>(bytes, 1) : 0;
        while (wrappedLines < lines.count() && lines.start(wrappedLines) < until) wrapNextLine();
        return !wrapComplete();
    }
    // Starts a new division: every editor line is one display line until it is divided.
    void restartWrapping() {
        LineStarts undivided;
        undivided.assign(currentEditorStarts());
        displayLines = std::move(undivided);
        wrappedLines = 0;
    }

    // Exact answers: they divide the lines they need first.
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
    Pos displayLineEnd(Pos line) const {
        if (!wrapping()) return editorLineEnd(line);
        if (line + 1 >= displayLines.count()) return length();
        // A display line either ends where the next begins, inside the same editor line, or
        // before the break that ends its editor line; a break is CR LF right before the next start.
        const Pos next = displayLines.start(line + 1);
        return isBreakBefore(next) ? next - 2 : next;
    }

    // All display-line starts of a whole text, for switching word wrap on or setting a new text.
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

    std::vector<std::int32_t> currentEditorStarts() const {
        std::vector<std::int32_t> starts(static_cast<std::size_t>(lines.count()));
        for (Pos i = 0; i < lines.count(); ++i) starts[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(lines.start(i));
        return starts;
    }


    // A control that cannot get the memory for a text refuses it, as it refuses one beyond its
    // capacity; every change is prepared in full before anything is changed, so nothing is lost.
    bool setText(std::string_view bytes) {
        if (!fits(length(), bytes.size())) return false;
        const Pos oldLength = length();
        try {
            setTextOrThrow(bytes);
        } catch (const std::bad_alloc&) {
            return false;
        }
        notify(0, oldLength, length());
        return true;
    }

    bool replaceRange(Pos position, Pos removed, std::string_view bytes) {
        if (!fits(removed, bytes.size())) return false;
        try {
            replaceRangeOrThrow(position, removed, bytes);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    // With a `block`, `bytes` lie in it and the block becomes the new text's storage.
    void setTextOrThrow(std::string_view bytes, std::unique_ptr<char[]> block = {}, Pos allocated = 0) {
        const Pos newLength = static_cast<Pos>(bytes.size());
        // Everything new is built before the old text is let go, so a failure changes nothing.
        std::vector<std::int32_t> editorStarts{0};
        appendBreaksWithin(bytes, 0, editorStarts);
        GapBuffer<char> newText;
        if (block) {
            newText.adopt(std::move(block), newLength, allocated);
        } else {
            newText.assign(bytes.data(), newLength, std::max<Pos>(4096, newLength / 64));
        }
        LineStarts newLines;
        newLines.assign(editorStarts);
        // Under word wrap the new text is divided lazily, like a text whose wrapping was switched on.
        LineStarts newDisplay;
        if (wrapping()) newDisplay.assign(editorStarts);

        text = std::move(newText);
        lines = std::move(newLines);
        displayLines = std::move(newDisplay);
        wrappedLines = 0;
        anchor = caret = 0;
        history.clear();
    }

    // Replaces `removed` bytes at `position` with `bytes` and brings both line indexes up to date.
    // The result must fit. Selection, undo and listeners are the caller's business.
    void replaceRangeOrThrow(Pos position, Pos removed, std::string_view bytes) {
        const Pos oldLength = length();
        const Pos inserted = static_cast<Pos>(bytes.size());
        const Pos delta = inserted - removed;
        const Pos newLength = oldLength + delta;
        const auto newByte = [&](Pos p) -> char {
            if (p < position) return text.at(p);
            if (p < position + inserted) return bytes[static_cast<std::size_t>(p - position)];
            return text.at(p - delta);
        };

        // The editor lines that start inside the edit, or right after a CR LF pair that the edit
        // touches, are taken out; those that start after a pair the new text forms are put in.
        // A pair formed or broken across a border of the edit is found the same way.
        const Pos line0 = lines.lineFromPosition(position);
        Pos removedLines = 0;
        while (line0 + removedLines + 1 < lines.count() &&
               lines.start(line0 + removedLines + 1) <= position + removed + 1) {
            ++removedLines;
        }
        newLineStarts.clear();
        if (position >= 1 && position < newLength && text.at(position - 1) == '\r' && newByte(position) == '\n') {
            newLineStarts.push_back(static_cast<std::int32_t>(position + 1));
        }
        appendBreaksWithin(bytes, position, newLineStarts);
        if (inserted >= 1 && bytes.back() == '\r' && position + inserted < newLength &&
            newByte(position + inserted) == '\n') {
            newLineStarts.push_back(static_cast<std::int32_t>(position + inserted + 1));
        }
        const Pos addedLines = static_cast<Pos>(newLineStarts.size());
        const Pos lastOldLine = line0 + removedLines;
        const Pos oldNextStart = lastOldLine + 1 < lines.count() ? lines.start(lastOldLine + 1) : -1;

        // Under word wrap, the display lines around the edit are divided anew, from the first whose
        // division could depend on the edited bytes to the first one after the edit that starts
        // where an old one started: from there on the bytes, and so the division, are the old ones.
        // Editor lines not divided yet stay single display lines.
        Pos display0 = 0;
        Pos removedDisplayLines = 0;
        const bool dividedEdit = wrapping() && line0 < wrappedLines;
        if (wrapping() && !dividedEdit) {
            display0 = undividedDisplayLine(line0);
            removedDisplayLines = removedLines;
            newDisplayStarts.assign(newLineStarts.begin(), newLineStarts.end());
            displayLines.reserveExtra(addedLines - removedLines);
        }
        if (dividedEdit) {
            // The edit's lines are divided before they are divided anew, so that every old display
            // line the search below meets is final.
            wrapThroughEditorLine(lastOldLine);
            const Pos start0 = lines.start(line0);
            const Pos oldEnd0 = editorLineEnd(line0);
            display0 = displayLines.lineFromPosition(position);
            // A display line whose measuring stopped two bytes before the edit ends where it ended;
            // measuring stops later on every following line, so the search back ends there.
            while (displayLines.start(display0) > start0) {
                const Pos previousStart = displayLines.start(display0 - 1);
                const auto oldByte = [this](Pos p) { return text.at(p); };
                if (wrapper->breakAfter(oldByte, previousStart, oldEnd0).overflow + 2 < position) break;
                --display0;
            }
            newDisplayStarts.clear();
            Pos keptFrom = -1;  // the first old display line that stays as it was
            Pos oldLine = display0 + 1;
            const Pos oldLines = displayLines.count();
            Pos lineStart = displayLines.start(display0);
            const Pos lastEnd = oldNextStart >= 0 ? oldNextStart + delta - 2 : newLength;
            for (std::size_t i = 0; i <= newLineStarts.size() && keptFrom < 0; ++i) {
                const bool lastLine = i == newLineStarts.size();
                const Pos end = lastLine ? lastEnd : newLineStarts[i] - 2;
                for (Pos next = wrapper->breakAfter(newByte, lineStart, end).next; next < end;
                     next = wrapper->breakAfter(newByte, next, end).next) {
                    if (lastLine && next >= position + inserted) {
                        while (oldLine < oldLines && displayLines.start(oldLine) < next - delta) ++oldLine;
                        if (oldLine < oldLines && displayLines.start(oldLine) == next - delta) {
                            keptFrom = oldLine;
                            break;
                        }
                    }
                    newDisplayStarts.push_back(static_cast<std::int32_t>(next));
                }
                if (!lastLine) {
                    newDisplayStarts.push_back(newLineStarts[i]);
                    lineStart = newLineStarts[i];
                }
            }
            if (keptFrom < 0) keptFrom = oldNextStart >= 0 ? displayLines.lineFromPosition(oldNextStart) : oldLines;
            removedDisplayLines = keptFrom - display0 - 1;
            displayLines.reserveExtra(static_cast<Pos>(newDisplayStarts.size()) - removedDisplayLines);
        }
        lines.reserveExtra(addedLines - removedLines);
        if (delta > 0) text.reserveExtra(delta);

        // From here on nothing allocates.
        text.replace(position, removed, bytes.data(), inserted);
        if (removedLines != 0 || addedLines != 0 || delta != 0) {
            lines.remove(line0 + 1, removedLines);
            lines.shiftAfter(line0, delta);
            lines.insert(line0 + 1, newLineStarts.data(), addedLines);
        }
        if (wrapping()) {
            displayLines.remove(display0 + 1, removedDisplayLines);
            displayLines.shiftAfter(display0, delta);
            displayLines.insert(display0 + 1, newDisplayStarts.data(), static_cast<Pos>(newDisplayStarts.size()));
            if (dividedEdit) wrappedLines += addedLines - removedLines;
        }
    }

    // Tells every listener of a change that is complete.
    void notify(Pos position, Pos removed, Pos inserted) {
        assertCheapInvariants();
        if (listeners.empty()) return;
        // Those added during the telling hear only later changes; those removed are erased once no
        // telling is under way, so that none is destroyed while it runs.
        struct Telling {
            Impl& d;
            explicit Telling(Impl& impl) : d(impl) { ++d.telling; }
            ~Telling() {
                if (--d.telling == 0) d.listeners.remove_if([](const Listener& l) { return l.removed; });
            }
        } telling(*this);
        auto next = listeners.begin();
        for (std::size_t n = listeners.size(); n > 0; --n, ++next) {
            if (!next->removed) next->call(position, removed, inserted);
        }
    }

    // The invariants that cost O(1); a build with assertions checks them after every change.
    void checkCheapInvariants() const {
        ZOZUZ_CHECK(length() <= capacity);
        ZOZUZ_CHECK(0 <= anchor && anchor <= length() && 0 <= caret && caret <= length());
        const Pos lastStart = lines.start(lines.count() - 1);
        ZOZUZ_CHECK(lastStart <= length() && (lines.count() == 1 || isBreakBefore(lastStart)));
        if (wrapping()) {
            ZOZUZ_CHECK(wrapper->width() == wrapWidth);
            ZOZUZ_CHECK(0 <= wrappedLines && wrappedLines <= lines.count());
            ZOZUZ_CHECK(displayLines.count() >= lines.count());
            ZOZUZ_CHECK(displayLines.start(displayLines.count() - 1) <= length());
        }
    }
    void assertCheapInvariants() const {
        if constexpr (kAssertionsOn) checkCheapInvariants();
    }

    // An edit the user made, or an undoable replacement: recorded so that it can be undone.
    bool replaceRecorded(Pos position, Pos removed, std::string_view bytes, UndoHistory::Kind kind) {
        if (!fits(removed, bytes.size())) return false;
        // Nothing replaced by nothing changes nothing, and a step that undoes nothing would only
        // make the user's next undo seem to fail.
        if (removed == 0 && bytes.empty()) return true;
        UndoHistory::Step step;
        step.kind = kind;
        step.position = position;
        step.anchorBefore = anchor;
        step.caretBefore = caret;
        try {
            step.removed.resize(static_cast<std::size_t>(removed));
            text.copyOut(position, position + removed, step.removed.data());
            step.inserted.assign(bytes);
            history.reserveOne();
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (!replaceRange(position, removed, bytes)) return false;
        try {
            history.record(std::move(step));
        } catch (const std::bad_alloc&) {
            // A history that lacks this step no longer fits the text.
            history.clear();
        }
        anchor = caret = position + static_cast<Pos>(bytes.size());
        notify(position, removed, static_cast<Pos>(bytes.size()));
        return true;
    }

    Pos effectiveTypingLimit() const { return typingLimit == 0 ? capacity : std::min(typingLimit, capacity); }

    // Bytes of the character that ends at `position`: a line break, a lead byte with its trail
    // byte, or one byte.
    Pos characterBefore(Pos position) const {
        if (isBreakBefore(position)) return 2;
        // Between the CR and LF of a break, the CR stands alone.
        if (text.at(position - 1) == '\r' && position < length() && text.at(position) == '\n') return 1;
        // Any byte that is not a lead byte ends a character, so the lead bytes that follow it pair
        // up from there. An odd run of lead bytes before the last byte means it is a trail byte.
        const Pos lineStart = lines.start(lines.lineFromPosition(position - 1));
        Pos run = 0;
        for (Pos i = position - 2; i >= lineStart && lead.contains(text.at(i)); --i) ++run;
        return run % 2 == 1 ? 2 : 1;
    }

    Pos characterAfter(Pos position) const {
        const auto isBreakAt = [this](Pos p) {
            return p + 1 < length() && text.at(p) == '\r' && text.at(p + 1) == '\n';
        };
        if (isBreakAt(position)) return 2;
        // A lead byte takes the next byte along unless that byte begins the line's break.
        if (lead.contains(text.at(position)) && position + 1 < length() && !isBreakAt(position + 1)) return 2;
        return 1;
    }
};

EditControl::EditControl(LeadByteSet leadBytes) : EditControl(leadBytes, kCapacity) {}

EditControl::EditControl(LeadByteSet leadBytes, Pos capacity)
    : impl_(std::make_unique<Impl>(leadBytes, std::clamp<Pos>(capacity, 0, kCapacity))) {}

EditControl::~EditControl() = default;

EditControl::Pos EditControl::capacity() const { return impl_->capacity; }

EditControl::Pos EditControl::textLength() const { return impl_->length(); }

std::string EditControl::text() const { return range(0, impl_->length()); }

void EditControl::copyRange(Pos start, Pos end, char* out) const {
    start = impl_->clampPosition(start);
    end = impl_->clampPosition(end);
    if (start < end) impl_->text.copyOut(start, end, out);
}

std::string EditControl::range(Pos start, Pos end) const {
    start = impl_->clampPosition(start);
    end = impl_->clampPosition(end);
    if (start >= end) return {};
    std::string bytes(static_cast<std::size_t>(end - start), '\0');
    impl_->text.copyOut(start, end, bytes.data());
    return bytes;
}

void EditControl::visitRange(Pos start, Pos end, const std::function<void(std::string_view)>& visit) const {
    start = impl_->clampPosition(start);
    end = impl_->clampPosition(end);
    if (start >= end) return;
    impl_->text.forEachPiece(start, end, [&visit](const char* bytes, Pos count) {
        visit(std::string_view(bytes, static_cast<std::size_t>(count)));
    });
}

char EditControl::byteAt(Pos position) const {
    if (position < 0 || position >= impl_->length()) return 0;
    return impl_->text.at(position);
}

bool EditControl::setText(std::string_view bytes) { return impl_->setText(bytes); }

bool EditControl::adoptText(std::unique_ptr<char[]> block, Pos length, Pos allocated) {
    Impl& d = *impl_;
    if (!block || length < 0 || allocated < length || !d.fits(d.length(), static_cast<std::size_t>(length))) return false;
    // The view is taken before the block is handed on.
    const std::string_view bytes(block.get(), static_cast<std::size_t>(length));
    const Pos oldLength = d.length();
    try {
        d.setTextOrThrow(bytes, std::move(block), allocated);
    } catch (const std::bad_alloc&) {
        return false;
    }
    d.notify(0, oldLength, d.length());
    return true;
}

// --- Lines (display lines while word wrap is on) ---

EditControl::Pos EditControl::lineCount() const { return impl_->displayCount(); }

EditControl::Pos EditControl::lineCountSoFar() const {
    const Impl& d = *impl_;
    return d.wrapping() ? d.displayLines.count() : d.lines.count();
}

bool EditControl::wrapComplete() const { return impl_->wrapComplete(); }

bool EditControl::wrapSome(Pos bytes) { return impl_->wrapSome(bytes); }

EditControl::Pos EditControl::lineIndex(Pos line) const {
    if (line < 0) return -1;
    impl_->wrapThroughDisplayLine(line);
    if (line >= lineCountSoFar()) return -1;
    return impl_->displayStart(line);
}

EditControl::Pos EditControl::lineFromPosition(Pos position) const {
    return impl_->displayLineFromPosition(position);
}

EditControl::Pos EditControl::lineLength(Pos position) const {
    const Pos line = impl_->displayLineFromPosition(position);
    return impl_->displayLineEnd(line) - impl_->displayStart(line);
}

std::size_t EditControl::getLine(Pos line, char* buffer, std::size_t capacity) const {
    if (line < 0) return 0;
    impl_->wrapThroughDisplayLine(line);
    if (line >= lineCountSoFar()) return 0;
    const Pos start = impl_->displayStart(line);
    const Pos length = impl_->displayLineEnd(line) - start;
    const Pos copied = std::min<Pos>(length, static_cast<Pos>(std::min<std::size_t>(capacity, kCapacity)));
    impl_->text.copyOut(start, start + copied, buffer);
    return static_cast<std::size_t>(copied);
}

// --- Editor lines ---

EditControl::Pos EditControl::editorLineCount() const { return impl_->lines.count(); }

EditControl::Pos EditControl::editorLineStart(Pos line) const {
    if (line < 0 || line >= impl_->lines.count()) return -1;
    return impl_->lines.start(line);
}

EditControl::Pos EditControl::editorLineLength(Pos line) const {
    if (line < 0 || line >= impl_->lines.count()) return 0;
    return impl_->editorLineEnd(line) - impl_->lines.start(line);
}

EditControl::Pos EditControl::editorLineFromPosition(Pos position) const {
    return impl_->lines.lineFromPosition(position);
}

// --- Selection and caret ---

EditControl::Pos EditControl::selectionStart() const { return std::min(impl_->anchor, impl_->caret); }
EditControl::Pos EditControl::selectionEnd() const { return std::max(impl_->anchor, impl_->caret); }
EditControl::Pos EditControl::caret() const { return impl_->caret; }

void EditControl::setSelection(Pos anchor, Pos caret) {
    impl_->anchor = impl_->clampPosition(anchor);
    impl_->caret = impl_->clampPosition(caret);
    impl_->assertCheapInvariants();
}

bool EditControl::hasSelection() const { return impl_->anchor != impl_->caret; }

bool EditControl::replaceSelection(std::string_view bytes, bool undoable) {
    Impl& d = *impl_;
    const Pos start = selectionStart();
    const Pos removed = selectionEnd() - start;
    if (undoable) return d.replaceRecorded(start, removed, bytes, UndoHistory::Kind::Other);
    if (!d.replaceRange(start, removed, bytes)) return false;
    d.history.clear();
    d.anchor = d.caret = start + static_cast<Pos>(bytes.size());
    d.notify(start, removed, static_cast<Pos>(bytes.size()));
    return true;
}

// --- The user's editing ---

bool EditControl::readOnly() const { return impl_->readOnly; }
void EditControl::setReadOnly(bool readOnly) { impl_->readOnly = readOnly; }
EditControl::Pos EditControl::typingLimit() const { return impl_->typingLimit; }
void EditControl::setTypingLimit(Pos limit) { impl_->typingLimit = std::clamp<Pos>(limit, 0, kCapacity); }

bool EditControl::userInsert(std::string_view bytes) {
    Impl& d = *impl_;
    if (d.readOnly) return false;
    const Pos start = selectionStart();
    const Pos removed = selectionEnd() - start;
    // The limit stops the text from growing past it; an edit that does not lengthen the text is
    // allowed even when a program put more text in than the user could have typed.
    if (bytes.size() > static_cast<std::size_t>(removed)) {
        const std::uint64_t newLength = static_cast<std::uint64_t>(d.length() - removed) + bytes.size();
        if (newLength > static_cast<std::uint64_t>(d.effectiveTypingLimit())) return false;
    }
    const bool typed = !bytes.empty() && bytes.size() <= 2 && bytes.find_first_of("\r\n") == std::string_view::npos;
    return d.replaceRecorded(start, removed, bytes,
                             typed ? UndoHistory::Kind::Typing : UndoHistory::Kind::Other);
}

bool EditControl::userDeleteForward() {
    Impl& d = *impl_;
    if (d.readOnly) return false;
    if (hasSelection()) {
        return d.replaceRecorded(selectionStart(), selectionEnd() - selectionStart(), {}, UndoHistory::Kind::Other);
    }
    if (d.caret >= d.length()) return false;
    return d.replaceRecorded(d.caret, d.characterAfter(d.caret), {}, UndoHistory::Kind::DeleteForward);
}

bool EditControl::userDeleteBackward() {
    Impl& d = *impl_;
    if (d.readOnly) return false;
    if (hasSelection()) {
        return d.replaceRecorded(selectionStart(), selectionEnd() - selectionStart(), {}, UndoHistory::Kind::Other);
    }
    if (d.caret <= 0) return false;
    const Pos length = d.characterBefore(d.caret);
    return d.replaceRecorded(d.caret - length, length, {}, UndoHistory::Kind::DeleteBackward);
}

// --- Undo ---

bool EditControl::canUndo() const { return impl_->history.canUndo(); }
bool EditControl::canRedo() const { return impl_->history.canRedo(); }

bool EditControl::undo() {
    Impl& d = *impl_;
    if (!d.history.canUndo()) return false;
    const UndoHistory::Step& step = d.history.stepToUndo();
    const Pos inserted = static_cast<Pos>(step.inserted.size());
    if (!d.replaceRange(step.position, inserted, step.removed)) return false;
    d.history.undone();
    d.anchor = d.clampPosition(step.anchorBefore);
    d.caret = d.clampPosition(step.caretBefore);
    d.notify(step.position, inserted, static_cast<Pos>(step.removed.size()));
    return true;
}

bool EditControl::redo() {
    Impl& d = *impl_;
    if (!d.history.canRedo()) return false;
    const UndoHistory::Step& step = d.history.stepToRedo();
    const Pos removed = static_cast<Pos>(step.removed.size());
    if (!d.replaceRange(step.position, removed, step.inserted)) return false;
    d.history.redone();
    d.anchor = d.caret = step.position + static_cast<Pos>(step.inserted.size());
    d.notify(step.position, removed, static_cast<Pos>(step.inserted.size()));
    return true;
}

void EditControl::clearUndo() { impl_->history.clear(); }

// --- Word wrap ---

bool EditControl::wordWrap() const { return impl_->wrapping(); }

void EditControl::setWordWrap(bool on, WidthFunction measure, int width, PairFunction pairs) {
    Impl& d = *impl_;
    if (!on) {
        d.wrapper.reset();
        d.displayLines.reset();
        d.assertCheapInvariants();
        return;
    }
    // Nothing is divided yet; the lines are divided as they are asked for, or by wrapSome.
    LineWrapper lineWrapper(d.lead, std::move(measure), width, std::move(pairs));
    LineStarts undivided;
    undivided.assign(d.currentEditorStarts());
    d.wrapWidth = width;
    d.wrapper.emplace(std::move(lineWrapper));
    d.displayLines = std::move(undivided);
    d.wrappedLines = 0;
    d.assertCheapInvariants();
}

void EditControl::setWrapWidth(int width) {
    Impl& d = *impl_;
    if (width == d.wrapWidth) return;
    d.wrapWidth = width;
    if (!d.wrapping()) return;
    d.wrapper->setWidth(width);
    d.restartWrapping();
    d.assertCheapInvariants();
}

int EditControl::wrapWidth() const { return impl_->wrapWidth; }

// --- Listeners ---

EditControl::ListenerId EditControl::addChangeListener(ChangeListener listener) {
    Impl& d = *impl_;
    d.listeners.push_back({++d.lastListenerId, std::move(listener)});
    return d.lastListenerId;
}

void EditControl::removeChangeListener(ListenerId id) {
    Impl& d = *impl_;
    const auto found = std::find_if(d.listeners.begin(), d.listeners.end(),
                                    [id](const Impl::Listener& l) { return l.id == id && !l.removed; });
    if (found == d.listeners.end()) return;
    if (d.telling > 0) {
        found->removed = true;  // it may be the one running now
    } else {
        d.listeners.erase(found);
    }
}

// --- Invariants ---

void EditControl::checkInvariants() const {
    const Impl& d = *impl_;
    d.text.checkInvariants();
    d.lines.checkInvariants();
    d.history.checkInvariants();
    d.checkCheapInvariants();
    // Editor lines start at 0 and right after every CR LF pair, and nowhere else.
    std::vector<std::int32_t> starts{0};
    for (Pos p = 0; p + 1 < d.length(); ++p) {
        if (d.text.at(p) == '\r' && d.text.at(p + 1) == '\n') starts.push_back(static_cast<std::int32_t>(p + 2));
    }
    ZOZUZ_CHECK(d.lines.count() == static_cast<Pos>(starts.size()));
    for (Pos line = 0; line < d.lines.count(); ++line) ZOZUZ_CHECK(d.lines.start(line) == starts[static_cast<std::size_t>(line)]);
    if (!d.wrapping()) return;
    // Display lines are the wrapper's division of the editor lines divided so far, as a whole new
    // wrap makes it, followed by the starts of the lines not divided yet.
    d.wrapper->checkInvariants();
    d.displayLines.checkInvariants();
    const auto byteAt = [&d](Pos p) { return d.text.at(p); };
    const std::vector<std::int32_t> dividedStarts(starts.begin(), starts.begin() + d.wrappedLines);
    const Pos dividedEnd = d.wrappedLines < d.lines.count() ? starts[static_cast<std::size_t>(d.wrappedLines)] - 2 : d.length();
    std::vector<std::int32_t> display;
    if (d.wrappedLines > 0) display = d.wrapAll(*d.wrapper, byteAt, dividedStarts, dividedEnd);
    display.insert(display.end(), starts.begin() + d.wrappedLines, starts.end());
    ZOZUZ_CHECK(d.displayLines.count() == static_cast<Pos>(display.size()));
    for (Pos line = 0; line < d.displayLines.count(); ++line) {
        ZOZUZ_CHECK(d.displayLines.start(line) == display[static_cast<std::size_t>(line)]);
    }
}

}  // namespace zozuz
