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
    const Pos line = lineOf(position);
    const Pos start = lineStart(line);
    const Pos end = lineEnd(line);
    // A byte that is not a lead byte ends a character, so the characters after it start fresh.
    Pos p = position;
    while (p > start && kinds_.isLead(static_cast<std::uint8_t>(lines_.byteAt(p - 1)))) --p;
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

EditView::Pos EditView::wordRight(Pos position) {
    const Pos length = edit_.textLength();
    if (position >= length) return length;
    const Pos line = lineOf(position);
    if (position >= lineEnd(line)) return nextStop(position);
    const std::vector<Stop> stops = stopsOfLine(line);
    std::size_t i = 0;
    while (i < stops.size() && stops[i].start < position) ++i;
    if (i < stops.size()) {
        const int cls = characterClass(stops[i].start);
        if (cls != kSpace) {
            while (i < stops.size() && characterClass(stops[i].start) == cls) ++i;
        }
        while (i < stops.size() && characterClass(stops[i].start) == kSpace) ++i;
    }
    return i < stops.size() ? stops[i].start : lineEnd(line);
}

EditView::Pos EditView::wordLeft(Pos position) {
    const Pos previous = previousStop(position);
    if (previous == position) return position;
    if (position - previous == 2 && lines_.byteAt(previous) == '\r' && lines_.byteAt(previous + 1) == '\n') return previous;
    const std::vector<Stop> stops = stopsOfLine(lineOf(previous));
    std::size_t i = 0;
    while (i + 1 < stops.size() && stops[i].start < previous) ++i;
    while (i > 0 && characterClass(stops[i].start) == kSpace) --i;
    const int cls = characterClass(stops[i].start);
    while (i > 0 && characterClass(stops[i - 1].start) == cls) --i;
    return stops[i].start;
}

void EditView::selectWordAt(Pos position) {
    const Pos line = lineOf(position);
    const std::vector<Stop> stops = stopsOfLine(line);
    if (stops.empty()) {
        select(position, position);
        return;
    }
    std::size_t i = 0;
    while (i + 1 < stops.size() && stops[i].end <= position) ++i;
    const int cls = characterClass(stops[i].start);
    std::size_t first = i;
    std::size_t last = i;
    while (first > 0 && characterClass(stops[first - 1].start) == cls) --first;
    while (last + 1 < stops.size() && characterClass(stops[last + 1].start) == cls) ++last;
    select(stops[first].start, stops[last].end);
}

}  // namespace zozuz
