#pragma once

#include <cstdint>

#include "platform/gfx/Geometry.h"

namespace zozuz {

// One mouse event on a window, in the window's client coordinates.
struct MouseEvent {
    enum class Kind : std::uint8_t { Move, Down, Up, DoubleClick, Wheel };
    enum class Button : std::uint8_t { None, Left, Right, Middle };

    Kind kind = Kind::Move;
    Button button = Button::None;
    Point position;
    // Wheel turns, in steps of 120 per notch; positive away from the user.
    int wheelDelta = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

}  // namespace zozuz
