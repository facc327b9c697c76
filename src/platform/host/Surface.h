#pragma once

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/TextRenderer.h"

namespace zozuz {

// A window's drawing surface. Drawing on it reaches the screen at once, before the call returns,
// without a trip through the event loop: a long computation on the user-interface thread can show
// its progress this way.
class Surface {
public:
    virtual ~Surface() = default;

    // Copies `image` onto the surface with its top-left corner at `at` (client coordinates),
    // replacing every pixel there, clipped to `clip`.
    virtual void drawImage(Point at, const Image& image, const Rect& clip) = 0;

    virtual TextRenderer& textRenderer() = 0;
};

}  // namespace zozuz
