#pragma once

#include "platform/gfx/Geometry.h"

namespace zozuz {

// Moves a rectangle by `by`: from a control's client coordinates into those of the area holding it.
inline Rect offsetRect(const Rect& rect, Point by) {
    return Rect{rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

inline Point offsetPoint(Point point, Point by) { return Point{point.x + by.x, point.y + by.y}; }

}  // namespace zozuz
