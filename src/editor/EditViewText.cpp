#include "editor/EditView.h"

#include <algorithm>

namespace zozuz {

// --- Characters and lines ---

EditView::Pos EditView::lineEnd(Pos line) const {
    const LineCache::Line span = lines_.line(line);
    return span.start < 0 ? edit_.textLength() : span.end;
}

EditView::Pos EditView::lineOf(Pos position) const { return lines_.lineAt(position).line; }

CharacterKinds::Character EditView::characterAt(Pos position, Pos end) const {
    const auto first = static_cast<std::uint8_t>(lines_.byteAt(position));
    const int second = position + 1 < end ? static_cast<std::uint8_t>(lines_.byteAt(position + 1)) : -1;
    return kinds_.at(first, second);
}

CharacterWidths::Character EditView::measuredAt(Pos position, Pos end, std::int64_t x) {
    const auto first = static_cast<std::uint8_t>(lines_.byteAt(position));
    const int second = position + 1 < end ? static_cast<std::uint8_t>(lines_.byteAt(position + 1)) : -1;
    const CharacterWidths::Character c = widths_.at(first, second, x);
    walked_ += static_cast<std::uint64_t>(c.length);
    return c;
}

template <typename Visit>
void EditView::forEachCharacter(Pos start, std::int64_t x, Pos end, Visit visit) {
    for (Pos p = start; p < end;) {
        const CharacterWidths::Character c = measuredAt(p, end, x);
        if (!visit(p, c, x)) return;
        x += c.width;
        p += c.length;
    }
}

int EditView::preeditWidth() {
    int width = 0;
    for (std::size_t i = 0; i < preeditBytes_.size(); ++i) {
        const auto first = static_cast<std::uint8_t>(preeditBytes_[i]);
        const bool pair = kinds_.isLead(first) && i + 1 < preeditBytes_.size();
        width += widths_.advance(first, pair ? static_cast<std::uint8_t>(preeditBytes_[++i]) : -1);
    }
    return width;
}

std::int64_t EditView::xOfPosition(Pos position) { return xInLine(lineOf(position), position); }

std::int64_t EditView::xOfCaret() {
    const Pos caret = edit_.caret();
    const Pos line = caretLine();
    const std::uint64_t version = edit_.layoutVersion();
    if (caretX_.position != caret || caretX_.line != line || caretX_.version != version) {
        caretX_ = {caret, line, version, xInLine(line, caret)};
    }
    return caretX_.x;
}

std::int64_t EditView::xInLine(Pos line, Pos position) {
    const LineCache::Line span = lines_.line(line);
    return span.start < 0 ? 0 : index_.xOf(span, position);
}

EditView::Pos EditView::positionAt(Point point) {
    bool pastWrappedRowEnd = false;
    return positionAt(point, pastWrappedRowEnd);
}

EditView::Pos EditView::positionAt(Point point, bool& pastWrappedRowEnd) {
    const int row = point.y >= 0 ? point.y / lineHeight_ : -((-point.y + lineHeight_ - 1) / lineHeight_);
    const Pos line = existingLine(topLine_ + row);
    return positionInLine(line, std::int64_t{point.x} - kMargin + xOffset_, pastWrappedRowEnd);
}

EditView::Pos EditView::positionInLine(Pos line, std::int64_t x, bool& pastWrappedRowEnd) {
    const LineCache::Line span = lines_.line(line);
    const Pos end = lineEnd(line);
    Pos result = end;
    // The characters before the boundary at x end left of x, so none of them is nearer.
    const LineXIndex::Point from = index_.boundaryAtX(span, x);
    forEachCharacter(from.position, from.x, end, [&](Pos p, const CharacterWidths::Character& c, std::int64_t cx) {
        if (x < cx + c.width / 2) {
            result = p;
            return false;
        }
        return true;
    });
    pastWrappedRowEnd = isWrappedRowEnd(line, result);
    return result;
}

}  // namespace zozuz
