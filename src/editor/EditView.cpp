#include "editor/EditView.h"

#include <algorithm>
#include <utility>

#include "editor/ClipboardText.h"

namespace zozuz {

namespace {

// A run of text is cut into pieces of at most this many pixels, so that a long line scrolled far to
// the side draws only the pieces in view.
constexpr int kMaxRunWidth = 512;

// Word motion and double-click selection group characters by these classes.
enum CharacterClass : int { kSpace = 0, kWord = 1, kPunctuation = 2 };

}  // namespace

EditView::EditView(EditControl& edit, const CodePageCodec& codec, CodePageTextMeasure& measure, Clipboard& clipboard)
    : edit_(edit), codec_(codec), measure_(measure), clipboard_(clipboard),
      kinds_(LeadByteSet::codePage936(), codec) {
    Font font;
    font.pixelHeight = 16;
    setFont(font);
    listenerId_ = edit_.addChangeListener([this](Pos position, Pos removed, Pos inserted) {
        // An edit lets the caret show at the start of a display line again, as every move but End does.
        caretAtRowEnd_ = false;
        // A whole new text starts at the top, as the system's edit control does.
        if (position == 0 && inserted == edit_.textLength() && removed >= 0 && !edit_.canUndo()) {
            topLine_ = 0;
            xOffset_ = 0;
            widest_ = 0;
        }
        const Pos count = edit_.lineCountSoFar();
        const bool sameLines = count == knownLineCount_ && !wordWrap();
        knownLineCount_ = count;
        // A replacement the program makes itself (a line of the document put back, a new text)
        // leaves the caret just after its bytes, and the view follows the caret there, as the
        // system's edit control does at every replacement, also while its redraw is off. While it is
        // off only the wish is kept: the caret is brought into view once, when redraw comes back,
        // which ends where following it at each replacement would, and spares a long run of
        // replacements the measuring of the caret's line at every one. The view's own edits bring
        // the caret into view themselves once they are done (changed()).
        if (!ownEdit_) caretToShow_ = true;
        if (!redraw_) return;
        const Pos top = topLine_;
        const int x = xOffset_;
        if (caretToShow_) {
            ensureCaretVisible();
        } else {
            clampScroll();
        }
        if (top != topLine_ || x != xOffset_) {
            invalidateAll();
        } else {
            // Lines after a change move only when the number of lines changed (or, under word wrap,
            // when the change made its line wrap differently).
            const Pos line = lineOf(position);
            invalidateRows(line, sameLines ? line : topLine_ + visibleRows());
        }
        if (listener_) {
            listener_->scrollBarsChanged();
            if (!ownEdit_) listener_->caretMoved();
        }
    });
}

EditView::~EditView() { edit_.removeChangeListener(listenerId_); }

// --- Appearance ---

void EditView::setFont(const Font& font) {
    font_ = font;
    boxFont_ = font;
    boxFont_.bold = false;
    boxFont_.pixelHeight = std::max(6, font.pixelHeight * 11 / 16);
    lineHeight_ = std::max(1, measure_.lineHeight(font_));
    tabStop_ = std::max(1, 8 * measure_.averageCharWidth(font_));
    int digit = 1;
    for (const char c : std::string_view("0123456789ABCDEF")) digit = std::max(digit, measure_.advance(boxFont_, std::string_view(&c, 1)));
    // Two digits, a pixel of frame and a pixel of space on each side.
    boxWidth_ = 2 * digit + 4;
    byteAdvances_.assign(256, -1);
    pairAdvances_.clear();
    widest_ = 0;
    if (wordWrap()) {
        edit_.setWordWrap(false);
        setWordWrap(true);
    }
    invalidateAll();
}

void EditView::setPalette(const EditPalette& palette) {
    palette_ = palette;
    invalidateAll();
}

void EditView::setViewSize(Size size) {
    if (size == size_) return;
    size_ = size;
    if (wordWrap()) {
        const Pos firstByte = lineStart(topLine_);
        edit_.setWrapWidth(wrapWidth());
        topLine_ = lineOf(firstByte);
    }
    ensureCaretVisible();
    invalidateAll();
}

int EditView::wrapWidth() const { return std::max(1, size_.width - 2 * kMargin); }

// --- Characters and lines ---

EditView::Pos EditView::lineEnd(Pos line) const {
    const Pos start = edit_.lineIndex(line);
    return start < 0 ? edit_.textLength() : start + edit_.lineLength(start);
}

EditView::Pos EditView::lineOf(Pos position) const { return edit_.lineFromPosition(position); }

CharacterKinds::Character EditView::characterAt(Pos position, Pos end) const {
    const auto first = static_cast<std::uint8_t>(edit_.byteAt(position));
    const int second = position + 1 < end ? static_cast<std::uint8_t>(edit_.byteAt(position + 1)) : -1;
    return kinds_.at(first, second);
}

int EditView::advanceOf(std::uint8_t first, int second) const {
    if (second < 0) {
        int& known = byteAdvances_[first];
        if (known < 0) {
            const char c = static_cast<char>(first);
            known = measure_.advance(font_, std::string_view(&c, 1));
        }
        return known;
    }
    if (pairAdvances_.empty()) pairAdvances_.assign(65536, -1);
    int& known = pairAdvances_[static_cast<std::size_t>(first) << 8 | static_cast<std::uint8_t>(second)];
    if (known < 0) {
        const char pair[2] = {static_cast<char>(first), static_cast<char>(second)};
        known = measure_.advance(font_, std::string_view(pair, 2));
    }
    return known;
}

int EditView::widthOf(const CharacterKinds::Character& c, Pos position, int x) const {
    switch (c.kind) {
        case CharacterKinds::Kind::Tab: return tabStop_ - x % tabStop_;
        case CharacterKinds::Kind::Box: return boxWidth_;
        case CharacterKinds::Kind::Text: break;
    }
    const auto first = static_cast<std::uint8_t>(edit_.byteAt(position));
    return advanceOf(first, c.length == 2 ? static_cast<std::uint8_t>(edit_.byteAt(position + 1)) : -1);
}

template <typename Visit>
void EditView::forEachCharacter(Pos start, Pos end, Visit visit) {
    int x = 0;
    for (Pos p = start; p < end;) {
        const CharacterKinds::Character c = characterAt(p, end);
        const int width = widthOf(c, p, x);
        if (!visit(p, c, x, width)) return;
        x += width;
        p += c.length;
    }
}

std::vector<EditView::Stop> EditView::stopsOfLine(Pos line) {
    std::vector<Stop> stops;
    forEachCharacter(lineStart(line), lineEnd(line), [&](Pos p, const CharacterKinds::Character& c, int, int) {
        stops.push_back({p, p + c.length, c.kind});
        return true;
    });
    return stops;
}

int EditView::xOfPosition(Pos position) { return xInLine(lineOf(position), position); }

int EditView::xOfCaret() { return xInLine(caretLine(), edit_.caret()); }

int EditView::xInLine(Pos line, Pos position) {
    int result = 0;
    forEachCharacter(lineStart(line), lineEnd(line), [&](Pos p, const CharacterKinds::Character&, int x, int width) {
        if (p >= position) return false;
        result = x + width;
        return true;
    });
    return result;
}

EditView::Pos EditView::positionAt(Point point) {
    bool pastWrappedRowEnd = false;
    return positionAt(point, pastWrappedRowEnd);
}

EditView::Pos EditView::positionAt(Point point, bool& pastWrappedRowEnd) {
    const int row = point.y >= 0 ? point.y / lineHeight_ : -((-point.y + lineHeight_ - 1) / lineHeight_);
    const Pos line = existingLine(topLine_ + row);
    const int x = point.x - kMargin + xOffset_;
    Pos result = lineEnd(line);
    forEachCharacter(lineStart(line), result, [&](Pos p, const CharacterKinds::Character&, int cx, int width) {
        if (x < cx + width / 2) {
            result = p;
            return false;
        }
        return true;
    });
    pastWrappedRowEnd = isWrappedRowEnd(line, result);
    return result;
}

// --- Caret stops ---

EditView::Pos EditView::stopAtOrBefore(Pos position) {
    position = std::clamp<Pos>(position, 0, edit_.textLength());
    if (position > 0 && position < edit_.textLength() && edit_.byteAt(position - 1) == '\r' &&
        edit_.byteAt(position) == '\n') {
        return position - 1;
    }
    const Pos line = lineOf(position);
    const Pos start = lineStart(line);
    const Pos end = lineEnd(line);
    // A byte that is not a lead byte ends a character, so the characters after it start fresh.
    Pos p = position;
    while (p > start && kinds_.isLead(static_cast<std::uint8_t>(edit_.byteAt(p - 1)))) --p;
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
    if (edit_.byteAt(position) == '\r' && position + 1 < length && edit_.byteAt(position + 1) == '\n') return position + 2;
    return position + characterAt(position, lineEnd(lineOf(position))).length;
}

EditView::Pos EditView::previousStop(Pos position) {
    position = stopAtOrBefore(position);
    if (position <= 0) return 0;
    if (position >= 2 && edit_.byteAt(position - 2) == '\r' && edit_.byteAt(position - 1) == '\n') return position - 2;
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
    return position == lineEnd(line) && edit_.lineIndex(line + 1) == position;
}

EditView::Pos EditView::caretLine() const {
    const Pos caret = edit_.caret();
    const Pos line = lineOf(caret);
    if (caretAtRowEnd_ && line > 0 && lineStart(line) == caret && isWrappedRowEnd(line - 1, caret)) return line - 1;
    return line;
}

// --- Scrolling ---

EditView::Pos EditView::visibleRows() const { return std::max(1, size_.height / lineHeight_); }

EditView::Pos EditView::existingLine(Pos line) const {
    if (line <= 0) return 0;
    // Under word wrap lineIndex divides the lines up to `line` only; a line past the end has had
    // every line divided, and then the count costs nothing.
    return edit_.lineIndex(line) >= 0 ? line : edit_.lineCount() - 1;
}

void EditView::clampScroll() {
    // Under word wrap the lines in view are divided first, so that dividing the rest later, in the
    // idle time, never moves what the view shows; the count so far then covers them.
    topLine_ = std::max<Pos>(0, topLine_);
    edit_.lineIndex(topLine_ + visibleRows());
    const Pos lastTop = std::max<Pos>(0, edit_.lineCountSoFar() - visibleRows());
    topLine_ = std::clamp<Pos>(topLine_, 0, lastTop);
    if (wordWrap()) xOffset_ = 0;
    xOffset_ = std::max(0, xOffset_);
}

void EditView::ensureCaretVisible() {
    caretToShow_ = false;
    const Pos line = caretLine();
    const Pos rows = visibleRows();
    if (line < topLine_) topLine_ = line;
    if (line >= topLine_ + rows) topLine_ = line - rows + 1;
    if (!wordWrap()) {
        int x = xOfCaret();
        if (!preeditBytes_.empty()) {
            int width = 0;
            for (std::size_t i = 0; i < preeditBytes_.size(); ++i) {
                const auto first = static_cast<std::uint8_t>(preeditBytes_[i]);
                const bool pair = kinds_.isLead(first) && i + 1 < preeditBytes_.size();
                width += advanceOf(first, pair ? static_cast<std::uint8_t>(preeditBytes_[++i]) : -1);
            }
            x += width;
        }
        const int visible = std::max(1, size_.width - 2 * kMargin);
        widest_ = std::max(widest_, x + 1);
        if (x < xOffset_) xOffset_ = std::max(0, x - visible / 3);
        if (x >= xOffset_ + visible) xOffset_ = x - visible * 2 / 3;
    }
    clampScroll();
    if (listener_) listener_->scrollBarsChanged();
}

void EditView::scrollToLine(Pos line) {
    topLine_ = line;
    clampScroll();
    invalidateAll();
    if (listener_) {
        listener_->scrollBarsChanged();
        listener_->caretMoved();
    }
}

void EditView::scrollHorizontally(int offset) {
    if (wordWrap()) return;
    xOffset_ = std::max(0, offset);
    invalidateAll();
    if (listener_) {
        listener_->scrollBarsChanged();
        listener_->caretMoved();
    }
}

ScrollBarState EditView::verticalScrollBar() const {
    // Under word wrap the range grows as the lines are divided.
    return {true, edit_.lineCountSoFar() - 1, visibleRows(), topLine_};
}

ScrollBarState EditView::horizontalScrollBar() const {
    if (wordWrap()) return {};
    const int visible = std::max(1, size_.width - 2 * kMargin);
    return {true, std::max(widest_, xOffset_ + visible), visible, xOffset_};
}

// --- Word wrap ---

void EditView::setWordWrap(bool on) {
    if (on == wordWrap()) return;
    const Pos firstByte = lineStart(topLine_);
    if (on) {
        // The wrapper divides lines at the characters the view shows, so that a display line never
        // ends inside one: a lead byte whose next byte forms no character with it is a box of its own.
        edit_.setWordWrap(
            true,
            [this](std::string_view character) {
                const auto first = static_cast<std::uint8_t>(character[0]);
                const int second = character.size() > 1 ? static_cast<std::uint8_t>(character[1]) : -1;
                const CharacterKinds::Character c = kinds_.at(first, second);
                if (c.kind == CharacterKinds::Kind::Tab) return tabStop_;
                if (c.kind == CharacterKinds::Kind::Box) return boxWidth_;
                return advanceOf(first, c.length == 2 ? second : -1);
            },
            wrapWidth(), [this](std::uint8_t lead, std::uint8_t trail) { return kinds_.at(lead, trail).length == 2; });
    } else {
        edit_.setWordWrap(false);
    }
    xOffset_ = 0;
    topLine_ = lineOf(firstByte);
    ensureCaretVisible();
    invalidateAll();
}

bool EditView::continueWrapping() {
    if (edit_.wrapComplete()) return false;
    const bool more = edit_.wrapSome(kWrapSliceBytes);
    if (redraw_ && listener_) listener_->scrollBarsChanged();
    return more;
}

// --- Painting ---

void EditView::setRedraw(bool on) {
    if (on == redraw_) return;
    redraw_ = on;
    if (on) {
        const bool caretToShow = caretToShow_;
        if (caretToShow) {
            ensureCaretVisible();
        } else {
            clampScroll();
        }
        invalidateAll();
        if (listener_) {
            listener_->scrollBarsChanged();
            if (caretToShow) listener_->caretMoved();
        }
    }
}

void EditView::invalidateAll() {
    if (redraw_ && listener_) listener_->invalidate(Rect{0, 0, size_.width, size_.height});
}

EditView::LineLayout EditView::layoutLine(Pos line, int maxX) {
    LineLayout layout;
    layout.line = line;
    layout.start = lineStart(line);
    layout.end = lineEnd(line);
    const Pos selectionStart = edit_.selectionStart();
    const Pos selectionEnd = edit_.selectionEnd();
    const Pos preeditAt = !preeditBytes_.empty() && caretLine() == line ? edit_.caret() : -1;
    int x = 0;
    auto addPreedit = [&](Pos at) {
        int width = 0;
        for (std::size_t i = 0; i < preeditBytes_.size(); ++i) {
            const auto first = static_cast<std::uint8_t>(preeditBytes_[i]);
            const bool pair = kinds_.isLead(first) && i + 1 < preeditBytes_.size();
            width += advanceOf(first, pair ? static_cast<std::uint8_t>(preeditBytes_[++i]) : -1);
        }
        layout.runs.push_back({at, at, x, width, Run::Kind::Preedit, false});
        x += width;
    };
    Pos p = layout.start;
    while (p < layout.end && x <= maxX) {
        if (p == preeditAt) addPreedit(p);
        const CharacterKinds::Character c = characterAt(p, layout.end);
        const int width = widthOf(c, p, x);
        const bool selected = p >= selectionStart && p < selectionEnd;
        const Run::Kind kind = c.kind == CharacterKinds::Kind::Text ? Run::Kind::Text
                               : c.kind == CharacterKinds::Kind::Tab ? Run::Kind::Tab
                                                                     : Run::Kind::Box;
        Run* last = layout.runs.empty() ? nullptr : &layout.runs.back();
        if (kind == Run::Kind::Text && last && last->kind == Run::Kind::Text && last->selected == selected &&
            last->end == p && last->width < kMaxRunWidth) {
            last->end = p + c.length;
            last->width += width;
        } else {
            layout.runs.push_back({p, p + c.length, x, width, kind, selected});
        }
        x += width;
        p += c.length;
    }
    if (p == layout.end && preeditAt == layout.end) addPreedit(p);
    layout.width = x;
    if (!wordWrap()) widest_ = std::max(widest_, x);
    return layout;
}

std::vector<EditView::LineLayout> EditView::visibleLines() {
    std::vector<LineLayout> lines;
    const Pos last = topLine_ + visibleRows() + 1;
    for (Pos line = topLine_; line < last && edit_.lineIndex(line) >= 0; ++line) {
        lines.push_back(layoutLine(line, xOffset_ + size_.width));
    }
    return lines;
}

void EditView::drawBox(CodePageCanvas& canvas, int x, int y, int width, std::uint8_t byte, bool selected) {
    // A filled box with its digits cut out reads at small sizes, and cannot be taken for a glyph.
    const std::uint32_t colour = selected ? palette_.highlightedText : palette_.box;
    const std::uint32_t digitsColour = selected ? palette_.highlight : palette_.window;
    canvas.fill({x + 1, y + 1, x + width - 1, y + lineHeight_ - 1}, colour);
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char digits[2] = {kHex[byte >> 4], kHex[byte & 15]};
    const std::string_view text(digits, 2);
    const int textWidth = measure_.advance(boxFont_, text.substr(0, 1)) + measure_.advance(boxFont_, text.substr(1, 1));
    const int textHeight = measure_.lineHeight(boxFont_);
    canvas.drawText({x + (width - textWidth) / 2, y + (lineHeight_ - textHeight) / 2}, text, boxFont_, digitsColour);
}

void EditView::paint(CodePageCanvas& canvas, const Rect& area) {
    if (!redraw_) return;
    canvas.fill(area, palette_.window);
    paintedCaretLine_ = caretLine();
    const Pos firstRow = std::max(0, area.top) / lineHeight_;
    const Pos lastRow = std::max(0, area.bottom - 1) / lineHeight_;
    for (Pos row = firstRow; row <= lastRow && edit_.lineIndex(topLine_ + row) >= 0; ++row) {
        const int y = static_cast<int>(row) * lineHeight_;
        const LineLayout line = layoutLine(topLine_ + row, xOffset_ + size_.width);
        for (const Run& run : line.runs) {
            const int x = kMargin + run.x - xOffset_;
            if (x >= area.right) break;
            if (x + run.width <= area.left) continue;
            const Rect cell{x, y, x + run.width, y + lineHeight_};
            if (run.selected) canvas.fill(cell, palette_.highlight);
            const std::uint32_t colour = run.selected ? palette_.highlightedText : palette_.text;
            switch (run.kind) {
                case Run::Kind::Text:
                    canvas.drawText({x, y}, edit_.range(run.start, run.end), font_, colour);
                    break;
                case Run::Kind::Box:
                    drawBox(canvas, x, y, run.width, static_cast<std::uint8_t>(edit_.byteAt(run.start)), run.selected);
                    break;
                case Run::Kind::Preedit:
                    canvas.drawText({x, y}, preeditBytes_, font_, palette_.text);
                    canvas.fill({x, y + lineHeight_ - 2, x + run.width, y + lineHeight_ - 1}, palette_.text);
                    break;
                case Run::Kind::Tab: break;
            }
        }
    }
    if (focused_ && caretShown_) {
        const Rect caret = caretRect().intersected(area);
        if (!caret.empty()) canvas.fill(caret, palette_.text);
    }
}

// --- Focus and caret ---

void EditView::setFocused(bool focused) {
    if (focused == focused_) return;
    focused_ = focused;
    if (!focused) dragging_ = false;
    invalidateAll();
}

void EditView::setCaretShown(bool shown) {
    if (shown == caretShown_) return;
    caretShown_ = shown;
    if (redraw_ && focused_ && listener_) listener_->invalidate(caretRect());
}

Rect EditView::caretRect() {
    const Pos line = caretLine();
    int x = xOfCaret();
    if (!preeditBytes_.empty()) {
        for (const Run& run : layoutLine(line, x + size_.width).runs) {
            if (run.kind == Run::Kind::Preedit) x = run.x + run.width;
        }
    }
    const int left = kMargin + x - xOffset_;
    const int top = static_cast<int>(std::clamp<Pos>(line - topLine_, -1, visibleRows() + 1)) * lineHeight_;
    return {left, top, left + 1, top + lineHeight_};
}

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
    const int x = xOffset_;
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
    if (std::optional<std::string> bytes = clipboard_.bytes()) return replaceAsOneStep(*bytes);
    const std::optional<std::string> text = clipboard_.text();
    if (!text) return false;
    return replaceAsOneStep(clipboard_text::toBytes(*text, kinds_.leadBytes(), codec_));
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
    for (const Stop& stop : stopsOfLine(line)) {
        if (stop.start == caret) result.caret = static_cast<int>(result.text.size());
        if (stop.start == anchor) result.anchor = static_cast<int>(result.text.size());
        if (stop.kind == CharacterKinds::Kind::Text) {
            const std::string bytes = edit_.range(stop.start, stop.end);
            result.text.push_back(codec_.decode(bytes).value_or(U'\uFFFD'));
        } else if (stop.kind == CharacterKinds::Kind::Tab) {
            result.text.push_back(U'\t');
        } else {
            result.text.push_back(U'\uFFFD');
        }
    }
    if (caret >= lineEnd(line)) result.caret = static_cast<int>(result.text.size());
    if (anchor >= lineEnd(line)) result.anchor = static_cast<int>(result.text.size());
    return result;
}

// --- Words ---

int EditView::characterClass(Pos position) {
    const auto byte = static_cast<std::uint8_t>(edit_.byteAt(position));
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
    if (position - previous == 2 && edit_.byteAt(previous) == '\r' && edit_.byteAt(previous + 1) == '\n') return previous;
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

// --- Keys and mouse ---

void EditView::verticalMove(Pos lines, bool extend) {
    if (goalX_ < 0) goalX_ = xOfCaret();
    const int goal = goalX_;
    const Pos line = existingLine(caretLine() + lines);
    // positionAt measures from the top line in view; a line out of view is first scrolled to.
    if (line < topLine_ || line >= topLine_ + visibleRows()) {
        topLine_ = line < topLine_ ? line : line - visibleRows() + 1;
        clampScroll();
    }
    const int row = static_cast<int>(line - topLine_);
    bool pastEnd = false;
    const Pos position = positionAt({goal + kMargin - xOffset_, row * lineHeight_}, pastEnd);
    moveCaret(position, extend, pastEnd);
    goalX_ = goal;
}

bool EditView::key(const KeyEvent& key) {
    if (key.kind != KeyEvent::Kind::Down) return false;
    const bool shift = key.shift;
    const bool ctrl = key.ctrl && !key.alt;
    const Pos caret = edit_.caret();
    const bool vertical = key.virtualKey == vk::Up || key.virtualKey == vk::Down || key.virtualKey == vk::Prior ||
                          key.virtualKey == vk::Next;
    if (!vertical) goalX_ = -1;
    switch (key.virtualKey) {
        case vk::Left:
            if (ctrl) moveCaret(wordLeft(caret), shift);
            else if (edit_.hasSelection() && !shift) moveCaret(edit_.selectionStart(), false);
            else moveCaret(previousStop(caret), shift);
            return true;
        case vk::Right:
            if (ctrl) moveCaret(wordRight(caret), shift);
            else if (edit_.hasSelection() && !shift) moveCaret(edit_.selectionEnd(), false);
            else moveCaret(nextStop(caret), shift);
            return true;
        case vk::Up: verticalMove(-1, shift); return true;
        case vk::Down: verticalMove(1, shift); return true;
        case vk::Prior:
        case vk::Next: {
            const Pos rows = key.virtualKey == vk::Prior ? -visibleRows() : visibleRows();
            topLine_ += rows;
            clampScroll();
            verticalMove(rows, shift);
            return true;
        }
        case vk::Home: moveCaret(ctrl ? 0 : lineStart(caretLine()), shift); return true;
        case vk::End: {
            if (ctrl) {
                moveCaret(edit_.textLength(), shift);
            } else {
                // The caret stays on its display line, at its end, also where the next one starts there.
                const Pos line = caretLine();
                moveCaret(lineEnd(line), shift, isWrappedRowEnd(line, lineEnd(line)));
            }
            return true;
        }
        case vk::Back:
            if (key.alt && !key.ctrl) undo();
            else deleteCharacter(false);
            return true;
        case vk::Delete:
            if (shift && !key.ctrl) cut();
            else deleteCharacter(true);
            return true;
        case vk::Insert:
            if (ctrl && !shift) copy();
            else if (shift && !key.ctrl) paste();
            return true;
        case vk::Return:
            if (key.ctrl || key.alt) return false;
            typeText("\r\n");
            return true;
        case vk::Tab:
            if (key.ctrl || key.alt) return false;
            typeText("\t");
            return true;
        default: break;
    }
    if (ctrl) {
        switch (key.virtualKey) {
            case 'X': cut(); return true;
            case 'C': copy(); return true;
            case 'V': paste(); return true;
            case 'Z': shift ? redo() : undo(); return true;
            case 'Y': redo(); return true;
            case 'A': selectAll(); return true;
            default: return false;
        }
    }
    // Typed text; Ctrl with Alt is AltGr on many keyboards and types as well.
    if ((!key.alt || key.ctrl) && !key.text.empty()) {
        const auto first = static_cast<std::uint8_t>(key.text[0]);
        if (first < 0x20 || first == 0x7F) return false;
        typeText(key.text);
        return true;
    }
    return false;
}

void EditView::mouse(const MouseEvent& event) {
    switch (event.kind) {
        case MouseEvent::Kind::Down: {
            if (event.button != MouseEvent::Button::Left) return;
            if (listener_) listener_->focusWanted();
            goalX_ = -1;
            bool pastEnd = false;
            const Pos position = positionAt(event.position, pastEnd);
            moveCaret(position, event.shift, pastEnd);
            dragging_ = true;
            return;
        }
        case MouseEvent::Kind::DoubleClick:
            if (event.button != MouseEvent::Button::Left) return;
            goalX_ = -1;
            selectWordAt(positionAt(event.position));
            dragging_ = false;
            return;
        case MouseEvent::Kind::Move: {
            if (!dragging_) return;
            // Leaving the view while dragging scrolls towards the pointer.
            if (event.position.y < 0) scrollToLine(topLine_ - 1);
            if (event.position.y >= size_.height) scrollToLine(topLine_ + 1);
            if (!wordWrap() && event.position.x < 0) scrollHorizontally(xOffset_ - lineHeight_);
            if (!wordWrap() && event.position.x >= size_.width) scrollHorizontally(xOffset_ + lineHeight_);
            const Point inside{std::clamp(event.position.x, -xOffset_, size_.width),
                               std::clamp(event.position.y, 0, std::max(0, static_cast<int>(visibleRows()) * lineHeight_ - 1))};
            bool pastEnd = false;
            const Pos position = positionAt(inside, pastEnd);
            moveCaret(position, true, pastEnd);
            return;
        }
        case MouseEvent::Kind::Up:
            if (event.button == MouseEvent::Button::Left) dragging_ = false;
            return;
        case MouseEvent::Kind::Wheel: {
            // Small turns add up until they make a line; turning back drops what the other way left.
            if (event.wheelDelta == 0) return;
            if ((wheelRemainder_ < 0) != (event.wheelDelta < 0)) wheelRemainder_ = 0;
            wheelRemainder_ += event.wheelDelta;
            const std::int64_t lines = wheelRemainder_ / kWheelUnitsPerLine;
            wheelRemainder_ -= lines * kWheelUnitsPerLine;
            if (lines != 0) scrollToLine(topLine_ - lines);
            return;
        }
    }
}

}  // namespace zozuz
