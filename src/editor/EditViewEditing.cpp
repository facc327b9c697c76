#include "editor/EditView.h"

#include "editor/ClipboardText.h"

namespace zozuz {

// --- Editing ---

bool EditView::replaceAsOneStep(const std::string& bytes) {
    if (edit_.readOnly()) return false;
    const OwnEdit own(ownEdit_);
    if (!edit_.replaceSelection(bytes, true)) return false;
    changed();
    return true;
}

void EditView::invalidateRows(Pos first, Pos last) {
    if (!redraw_ || !listener_) return;
    first = std::max(first, topLine_);
    last = std::min(last, topLine_ + visibleRows());
    if (last < first) return;
    const int top = static_cast<int>(first - topLine_) * lineHeight_;
    const int bottom = static_cast<int>(last - topLine_ + 1) * lineHeight_;
    listener_->invalidate({0, top, size_.width, std::min(bottom, size_.height)});
}

void EditView::changed(bool caretLineOnly) {
    goalX_ = -1;
    // An edit can pair a lead byte it leaves at the caret with the byte after it (a paste ending in a
    // lead byte, an undo): the caret then moves past that whole character.
    const auto onStop = [this](Pos position) {
        const Pos stop = stopAtOrBefore(position);
        return stop == position ? position : nextStop(stop);
    };
    const Pos caret = onStop(edit_.caret());
    const Pos anchor = onStop(this->anchor());
    if (caret != edit_.caret() || anchor != this->anchor()) edit_.setSelection(anchor, caret);
    const Pos top = topLine_;
    const std::int64_t x = xOffset_;
    ensureCaretVisible();
    if (caretLineOnly && top == topLine_ && x == xOffset_ && !edit_.hasSelection()) {
        // Typing and deleting change the caret's line (the control reported the text's own change):
        // the caret's old and new places are what is left to repaint.
        const Pos line = caretLine();
        invalidateRows(line, line);
        invalidateRows(paintedCaretLine_, paintedCaretLine_);
    } else {
        invalidateAll();
    }
    if (listener_) listener_->caretMoved();
}

bool EditView::typeText(std::string_view utf8) {
    if (edit_.readOnly()) return false;
    const OwnEdit own(ownEdit_);
    if (!edit_.userInsert(codec_.encode(utf8))) return false;
    changed(true);
    return true;
}

EditView::Pos EditView::controlCharacterLength(Pos caret, bool forward) const {
    const Pos length = edit_.textLength();
    const auto breakAt = [&](Pos p) { return p >= 0 && p + 1 < length && edit_.byteAt(p) == '\r' && edit_.byteAt(p + 1) == '\n'; };
    if (forward) {
        if (breakAt(caret)) return 2;
        return kinds_.isLead(static_cast<std::uint8_t>(edit_.byteAt(caret))) && caret + 1 < length && !breakAt(caret + 1) ? 2 : 1;
    }
    if (breakAt(caret - 2)) return 2;
    // The control pairs lead bytes by their count from the start of the editor line, whether or
    // not a pair forms a character.
    const Pos lineStartByte = edit_.editorLineStart(edit_.editorLineFromPosition(caret - 1));
    Pos run = 0;
    for (Pos i = caret - 2; i >= lineStartByte && kinds_.isLead(static_cast<std::uint8_t>(edit_.byteAt(i))); --i) ++run;
    return run % 2 == 1 ? 2 : 1;
}

bool EditView::deleteCharacter(bool forward) {
    if (edit_.readOnly()) return false;
    const OwnEdit own(ownEdit_);
    if (edit_.hasSelection()) {
        if (!edit_.userDeleteForward()) return false;
        changed(true);
        return true;
    }
    const Pos caret = edit_.caret();
    const Pos other = forward ? nextStop(caret) : previousStop(caret);
    if (other == caret) return false;
    // The control deletes a lead byte together with whatever follows it, pairing lead bytes by their
    // count; where its character differs from the view's (a lead byte whose trail forms nothing),
    // the view's character is selected first. Otherwise the control's own deletion keeps a run of
    // deletions one undo step.
    const Pos length = forward ? other - caret : caret - other;
    const bool sameAsControl = controlCharacterLength(caret, forward) == length;
    bool done;
    if (sameAsControl) {
        done = forward ? edit_.userDeleteForward() : edit_.userDeleteBackward();
    } else {
        edit_.setSelection(forward ? caret : other, forward ? other : caret);
        done = edit_.userDeleteForward();
        if (!done) edit_.setSelection(caret, caret);
    }
    if (done) changed(true);
    return done;
}

bool EditView::copy() {
    if (!edit_.hasSelection()) return false;
    const std::string bytes = edit_.range(edit_.selectionStart(), edit_.selectionEnd());
    clipboard_.put(clipboard_text::fromBytes(bytes, kinds_, codec_), bytes);
    return true;
}

bool EditView::cut() {
    if (edit_.readOnly() || !edit_.hasSelection()) return false;
    copy();
    const OwnEdit own(ownEdit_);
    if (!edit_.userDeleteForward()) return false;
    changed();
    return true;
}

bool EditView::paste() {
    if (edit_.readOnly()) return false;
    // The exact bytes come first; where they cannot be read, or are not what a copy puts, the text
    // beside them stands in. The selection is replaced only once the paste has its bytes: an owner
    // that offers a format and then fails to deliver it costs the paste, never the selection.
    std::optional<std::string> bytes = clipboard_.bytes();
    if (!bytes || !clipboard_text::isCopiedBytes(*bytes)) {
        const std::optional<std::string> text = clipboard_.text();
        if (!text) return false;
        bytes = clipboard_text::toBytes(*text, kinds_.leadBytes(), codec_);
    }
    return replaceAsOneStep(*bytes);
}

bool EditView::undo() {
    if (edit_.readOnly()) return false;
    const OwnEdit own(ownEdit_);
    if (!edit_.undo()) return false;
    changed();
    return true;
}

bool EditView::redo() {
    if (edit_.readOnly()) return false;
    const OwnEdit own(ownEdit_);
    if (!edit_.redo()) return false;
    changed();
    return true;
}

void EditView::selectAll() { select(0, edit_.textLength()); }

// --- Input method ---

void EditView::setPreedit(std::string_view utf8) {
    preeditBytes_ = utf8.empty() ? std::string() : codec_.encode(utf8);
    ensureCaretVisible();
    invalidateAll();
    if (listener_) listener_->caretMoved();
}

bool EditView::commitText(std::string_view utf8) {
    preeditBytes_.clear();
    if (utf8.empty()) {
        invalidateAll();
        return false;
    }
    return replaceAsOneStep(codec_.encode(utf8));
}

EditView::Surrounding EditView::surroundingText() {
    Surrounding result;
    const Pos caret = edit_.caret();
    const Pos anchor = this->anchor();
    const Pos line = caretLine();
    const LineCache::Line span = lines_.line(line);
    const Pos end = lineEnd(line);
    // The input method reads the words around the caret; the rest of a long line would cost its
    // length at every move.
    const Pos from = std::max(span.start, caret - kSurroundingBytes);
    const Pos until = std::min(end, caret + kSurroundingBytes);
    Pos p = index_.boundaryAtOrBefore(span, from).position;
    while (p < until) {
        const CharacterKinds::Character c = characterAt(p, end);
        if (p >= from) {
            if (p == caret) result.caret = static_cast<int>(result.text.size());
            if (p == anchor) result.anchor = static_cast<int>(result.text.size());
            if (c.kind == CharacterKinds::Kind::Text) {
                result.text.push_back(codec_.decode(edit_.range(p, p + c.length)).value_or(U'\uFFFD'));
            } else if (c.kind == CharacterKinds::Kind::Tab) {
                result.text.push_back(U'\t');
            } else {
                result.text.push_back(U'\uFFFD');
            }
        }
        p += c.length;
    }
    if (caret >= p) result.caret = static_cast<int>(result.text.size());
    if (anchor >= p) result.anchor = static_cast<int>(result.text.size());
    return result;
}

}  // namespace zozuz
