#include "editor/EditView.h"

#include <algorithm>

namespace zozuz {

namespace {

// A run of text is cut into pieces of at most this many pixels, so that a long line scrolled far to
// the side draws only the pieces in view.
constexpr int kMaxRunWidth = 512;

}  // namespace

// --- Layout and painting ---

EditView::LineLayout EditView::layoutLine(Pos line, std::int64_t maxX, std::int64_t minX) {
    LineLayout layout;
    layout.line = line;
    layout.start = lineStart(line);
    layout.end = lineEnd(line);
    const Pos selectionStart = edit_.selectionStart();
    const Pos selectionEnd = edit_.selectionEnd();
    const Pos preeditAt = !preeditBytes_.empty() && caretLine() == line ? edit_.caret() : -1;
    const int preedit = preeditAt >= 0 ? preeditWidth() : 0;
    std::int64_t x = 0;
    Pos p = layout.start;
    if (minX > 0 && layout.start >= 0) {
        // The characters left of minX are skipped; the composed text, when it stands before the
        // first one laid out, still moves it.
        const LineXIndex::Point from = index_.boundaryAtX(lines_.line(line), minX - preedit);
        p = from.position;
        x = from.x + (preeditAt >= 0 && preeditAt < p ? preedit : 0);
    }
    auto addPreedit = [&](Pos at) {
        layout.runs.push_back({at, at, x, preedit, Run::Kind::Preedit, false});
        x += preedit;
    };
    while (p < layout.end && x <= maxX) {
        if (p == preeditAt) addPreedit(p);
        const CharacterWidths::Character c = measuredAt(p, layout.end, x);
        const int width = c.width;
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
    for (Pos line = topLine_; line < last && lineStart(line) >= 0; ++line) {
        lines.push_back(layoutLine(line, xOffset_ + size_.width, xOffset_));
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
    for (Pos row = firstRow; row <= lastRow && lineStart(topLine_ + row) >= 0; ++row) {
        const int y = static_cast<int>(row) * lineHeight_;
        // Only the part of the line under `area` is laid out.
        const LineLayout line = layoutLine(topLine_ + row, xOffset_ + area.right - kMargin, xOffset_ + area.left - kMargin);
        for (const Run& run : line.runs) {
            const std::int64_t left = kMargin + run.x - xOffset_;
            if (left >= area.right) break;
            if (left + run.width <= area.left) continue;
            const int x = static_cast<int>(left);
            const Rect cell{x, y, x + run.width, y + lineHeight_};
            if (run.selected) canvas.fill(cell, palette_.highlight);
            const std::uint32_t colour = run.selected ? palette_.highlightedText : palette_.text;
            switch (run.kind) {
                case Run::Kind::Text:
                    canvas.drawText({x, y}, edit_.range(run.start, run.end), font_, colour);
                    break;
                case Run::Kind::Box:
                    drawBox(canvas, x, y, run.width, static_cast<std::uint8_t>(lines_.byteAt(run.start)), run.selected);
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
    // The composed text stands at the caret, which shows after it.
    const std::int64_t x = xOfCaret() + (preeditBytes_.empty() ? 0 : preeditWidth());
    // A caret scrolled far out of view sideways stays out of view, where an int still holds it.
    constexpr std::int64_t kFar = std::int64_t{1} << 30;
    const int left = static_cast<int>(std::clamp<std::int64_t>(kMargin + x - xOffset_, -kFar, kFar));
    const int top = static_cast<int>(std::clamp<Pos>(line - topLine_, -1, visibleRows() + 1)) * lineHeight_;
    return {left, top, left + 1, top + lineHeight_};
}

}  // namespace zozuz
