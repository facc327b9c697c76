#pragma once

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/host/Surface.h"
#include "ui/toolkit/TColor.h"

namespace zozuz {

class TGraphicControl;

// What a window-less control needs of the window it sits on: the window's surface to draw on, the
// font and colour it follows by default, and the stacking of its sibling window-less controls.
class ControlParent {
public:
    virtual ~ControlParent() = default;

    // The surface of the parent's native window, or null while that window does not exist.
    virtual Surface* surface() = 0;
    // Whether the parent's native window exists and is showing.
    virtual bool showing() const = 0;

    virtual const Font& font() const = 0;
    virtual TColor color() const = 0;

    // Paints again, bottom to top, the visible window-less siblings that lie above `control` in
    // stacking order and overlap `area` (parent client coordinates).
    virtual void paintControlsAbove(const TGraphicControl& control, const Rect& area) = 0;

    // Marks an area for a deferred repaint, without erasing the background beneath it.
    virtual void invalidate(const Rect& area) = 0;
};

}  // namespace zozuz
