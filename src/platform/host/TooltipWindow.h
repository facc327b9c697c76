#pragma once

#include <string>

#include "platform/gfx/Geometry.h"

namespace zozuz {

// The desktop's tooltip window, one per program: a small frameless window in the desktop's tooltip
// colours that takes no focus and no input. The program decides when it shows and what it says;
// the host only places and draws it. On Windows it is the common controls' tooltip window.
class TooltipWindow {
public:
    virtual ~TooltipWindow() = default;

    // Shows `text` (UTF-8) just below the pointer's shape for a pointer at `pointer` (screen
    // coordinates), moved back onto the screen where it would leave it and never wider than the
    // screen (a longer text wraps). Replaces whatever showed before.
    virtual void show(const std::string& text, Point pointer) = 0;
    // Hides the window; nothing happens when it is hidden already.
    virtual void hide() = 0;
};

}  // namespace zozuz
