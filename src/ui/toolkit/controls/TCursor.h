#pragma once

#include <cstdint>

#include "platform/host/PointerShape.h"

namespace zozuz {

// The pointer a control shows while the mouse rests over it.
enum class TCursor : std::uint8_t { crDefault, crHandPoint };

// The desktop's pointer for a control's cursor.
inline PointerShape pointerShapeOf(TCursor cursor) {
    return cursor == TCursor::crHandPoint ? PointerShape::Hand : PointerShape::Arrow;
}

}  // namespace zozuz
