#include "editor/EditControl.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "base/Assert.h"
#include "editor/EditControlImpl.h"

namespace zozuz {

EditControl::EditControl(LeadByteSet leadBytes) : EditControl(leadBytes, kCapacity) {}

EditControl::EditControl(LeadByteSet leadBytes, Pos capacity) : EditControl(leadBytes, capacity, LineStarts::kChunkLines) {}

EditControl::EditControl(LeadByteSet leadBytes, Pos capacity, int indexChunkLines)
    : impl_(std::make_unique<Impl>(leadBytes, std::clamp<Pos>(capacity, 0, kCapacity), indexChunkLines)) {}

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

EditControl::LineSpan EditControl::lineSpan(Pos line) const {
    if (line < 0) return {line, -1, -1, -1};
    impl_->wrapThroughDisplayLine(line);
    if (line >= lineCountSoFar()) return {line, -1, -1, -1};
    return spanOf(line);
}

EditControl::LineSpan EditControl::lineSpanAt(Pos position) const {
    return spanOf(impl_->displayLineFromPosition(position));
}

// The line must exist and be divided: the start of the line after it is then final too, as the start
// of a display line of the same editor line or of the next editor line.
EditControl::LineSpan EditControl::spanOf(Pos line) const {
    const Pos next = line + 1 < lineCountSoFar() ? impl_->displayStart(line + 1) : -1;
    return {line, impl_->displayStart(line), impl_->displayLineEnd(line), next};
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
    ++d.layoutVersion;
    if (!on) {
        d.wrapper.reset();
        d.displayLines.reset();
        d.assertCheapInvariants();
        return;
    }
    // Nothing is divided yet; the lines are divided as they are asked for, or by wrapSome.
    LineWrapper lineWrapper(d.lead, std::move(measure), width, std::move(pairs));
    LineStarts undivided = d.lines.copy();
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

std::uint64_t EditControl::layoutVersion() const { return impl_->layoutVersion; }

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
