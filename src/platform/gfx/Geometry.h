#pragma once

namespace zozuz {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle (left, top, right, bottom) covers the pixels with left <= x < right and
// top <= y < bottom; it is empty when right <= left or bottom <= top.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect intersected(const Rect& o) const {
        Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
               right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
        return r;
    }
    // The rectangle moved, as little as it takes, to lie wholly inside `area`, and shrunk to the
    // area's size only where it is larger.
    Rect movedInto(const Rect& area) const {
        const int w = width() < area.width() ? width() : area.width();
        const int h = height() < area.height() ? height() : area.height();
        const int x = left < area.left ? area.left : (left + w > area.right ? area.right - w : left);
        const int y = top < area.top ? area.top : (top + h > area.bottom ? area.bottom - h : top);
        return Rect{x, y, x + w, y + h};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace zozuz
