#pragma once

#include <string>

#include "platform/gfx/Geometry.h"

namespace zozuz {

// The tooltip window as the tooltip timing drives it. The window places itself just below the
// pointer's shape, no wider than the screen, in the desktop's tooltip colours.
class TooltipView {
public:
    virtual ~TooltipView() = default;

    // Shows `text` for the pointer at `pointer` (screen coordinates), replacing what showed before.
    virtual void ShowTooltip(const std::string& text, Point pointer) = 0;
    virtual void HideTooltip() = 0;
};

}  // namespace zozuz
