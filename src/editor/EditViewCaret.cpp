#include "editor/EditView.h"

#include <algorithm>

namespace zozuz {

namespace {

// Word motion and double-click selection group characters by these classes.
enum CharacterClass : int { kSpace = 0, kWord = 1, kPunctuation = 2 };

}  // namespace

// --- Caret stops ---

EditView::Pos EditView::stopAtOrBefore(Pos position) {
    position = std::clamp<Pos>(position, 0, edit_.textLength());
    if (position > 0 && position < edit_.textLength() && lines_.byteAt(position - 1) == '\r' &&
        lines_.byteAt(position) == '\n') {
        return position - 1;
    }
    const LineCache::Line span = lines_.lineAt(position);
    const Pos end = span.end;
    // A byte that is not a lead byte ends a character, so the characters after it start fresh. A
    // longer run of lead bytes (a line of Chinese text is one) is left to the index of the line.
    const Pos floor = std::max(span.start, position - index_.spacing());
    Pos p = position;
    while (p > floor && kinds_.isLead(static_cast<std::uint8_t>(lines_.byteAt(p - 1)))) --p;
    if (p > span.start && kinds_.isLead(static_cast<std::uint8_t>(lines_.byteAt(p - 1)))) {
        p = index_.boundaryAtOrBefore(span, position).position;
    }
    while (p < position) {
        const Pos next = p + characterAt(p, end).length;
        if (next > position) return p;
        p = next;
    }
    return p;
}

EditView::Pos EditView::nextStop(Pos position) {
    const Pos length = edit_.textLength();
    if (position >= length) return length;
    position = stopAtOrBefore(position);
    if (lines_.byteAt(position) == '\r' && position + 1 < length && lines_.byteAt(position + 1) == '\n') return position + 2;
    return position + characterAt(position, lineEnd(lineOf(position))).length;
}

EditView::Pos EditView::previousStop(Pos position) {
    position = stopAtOrBefore(position);
    if (position <= 0) return 0;
    if (position >= 2 && lines_.byteAt(position - 2) == '\r' && lines_.byteAt(position - 1) == '\n') return position - 2;
    return stopAtOrBefore(position - 1);
}

EditView::Pos EditView::anchor() const {
    return edit_.caret() == edit_.selectionStart() ? edit_.selectionEnd() : edit_.selectionStart();
}

void EditView::select(Pos anchor, Pos caret) { placeSelection(anchor, caret, false); }

void EditView::placeSelection(Pos anchor, Pos caret, bool atRowEnd) {
    anchor = stopAtOrBefore(anchor);
    caret = stopAtOrBefore(caret);
    edit_.setSelection(anchor, caret);
    caretAtRowEnd_ = atRowEnd;
    ensureCaretVisible();
    invalidateAll();
    if (listener_) listener_->caretMoved();
}

void EditView::moveCaret(Pos position, bool extend, bool atRowEnd) {
    placeSelection(extend ? anchor() : position, position, atRowEnd);
}

bool EditView::isWrappedRowEnd(Pos line, Pos position) const {
    // A display line that ends in a line break ends before the break, where the next one cannot start.
    const LineCache::Line span = lines_.line(line);
    return span.start >= 0 && position == span.end && span.next == position;
}

EditView::Pos EditView::caretLine() const {
    const Pos caret = edit_.caret();
    const Pos line = lineOf(caret);
    if (caretAtRowEnd_ && line > 0 && lineStart(line) == caret && isWrappedRowEnd(line - 1, caret)) return line - 1;
    return line;
}

// --- Words ---

int EditView::characterClass(Pos position) {
    const auto byte = static_cast<std::uint8_t>(lines_.byteAt(position));
    if (byte == ' ' || byte == '\t') return kSpace;
    if (byte >= 0x80 || (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        byte == '_') {
        return kWord;
    }
    return kPunctuation;
}

EditView::Pos EditView::characterBefore(Pos line, Pos position, StepsBack& pieces) {
    const LineCache::Line span = lines_.line(line);
    if (position <= span.start) return position;
    if (pieces.starts.empty() || position <= pieces.starts.front() || position > pieces.to) {
        const Pos end = lineEnd(line);
        pieces.starts.clear();
        pieces.to = position;
        for (Pos p = index_.boundaryAtOrBefore(span, position - 1).position; p < position; p += characterAt(p, end).length) {
            pieces.starts.push_back(p);
        }
    }
    return *(std::lower_bound(pieces.starts.begin(), pieces.starts.end(), position) - 1);
}

EditView::Pos EditView::wordRight(Pos position) {
    const Pos length = edit_.textLength();
    if (position >= length) return length;
    const Pos line = lineOf(position);
    const Pos end = lineEnd(line);
    if (position >= end) return nextStop(position);
    Pos p = stopAtOrBefore(position);
    if (p < position) p += characterAt(p, end).length;
    if (p < end) {
        const int cls = characterClass(p);
        if (cls != kSpace) {
            while (p < end && characterClass(p) == cls) p += characterAt(p, end).length;
        }
        while (p < end && characterClass(p) == kSpace) p += characterAt(p, end).length;
    }
    return p;
}

EditView::Pos EditView::wordLeft(Pos position) {
    const Pos previous = previousStop(position);
    if (previous == position) return position;
    if (position - previous == 2 && lines_.byteAt(previous) == '\r' && lines_.byteAt(previous + 1) == '\n') return previous;
    const Pos line = lineOf(previous);
    const Pos start = lineStart(line);
    const Pos end = lineEnd(line);
    StepsBack pieces;
    Pos p = previous;
    if (p >= end) {
        if (end <= start) return previous;
        p = characterBefore(line, end, pieces);
    }
    while (p > start && characterClass(p) == kSpace) p = characterBefore(line, p, pieces);
    const int cls = characterClass(p);
    while (p > start) {
        const Pos before = characterBefore(line, p, pieces);
        if (characterClass(before) != cls) break;
        p = before;
    }
    return p;
}

void EditView::selectWordAt(Pos position) {
    const Pos line = lineOf(position);
    const Pos start = lineStart(line);
    const Pos end = lineEnd(line);
    if (end <= start) {
        select(position, position);
        return;
    }
    // The character under the position, or the line's last one past its end.
    StepsBack pieces;
    const Pos at = position >= end ? characterBefore(line, end, pieces) : stopAtOrBefore(position);
    const int cls = characterClass(at);
    Pos first = at;
    while (first > start) {
        const Pos before = characterBefore(line, first, pieces);
        if (characterClass(before) != cls) break;
        first = before;
    }
    Pos last = at + characterAt(at, end).length;
    while (last < end && characterClass(last) == cls) last += characterAt(last, end).length;
    select(first, last);
}

}  // namespace zozuz
