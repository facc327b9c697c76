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
    const auto first = static_cast<std::uint8_t>(lines_.byteAt(position));
    return advanceOf(first, c.length == 2 ? static_cast<std::uint8_t>(lines_.byteAt(position + 1)) : -1);
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

}  // namespace zozuz
