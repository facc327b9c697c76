#pragma once

#include "platform/gfx/PixelScale.h"

struct HWND__;

namespace zozuz {

// The display densities the system reports, as pixel scales. The calls that report a window's own
// density came with later versions of Windows; where they are missing, every window has the
// system's density, which the screen's device context reports. A process that the system does not
// count as aware of densities is told 96 throughout, and the system enlarges its windows itself.

// The message a top-level window sends each of its child windows when it moved to a monitor of
// another density, so that they lay themselves out again (WM_APP + 0x2D: WM_APP and above belong to
// the program).
inline constexpr unsigned kDensityChangedMessage = 0x8000 + 0x2D;

// The density of the monitor `window` is on (the system's when the window is null).
PixelScale windowScale(HWND__* window);
// The density of the main monitor, in which the program's screen coordinates are counted.
PixelScale systemScale();
// The outer size of a window whose client area is `width` x `height` device pixels, with the frame
// metrics of `scale`.
struct FrameSize {
    int width;
    int height;
};
FrameSize frameSizeFor(int width, int height, unsigned long style, unsigned long extendedStyle, bool menu,
                       const PixelScale& scale);

}  // namespace zozuz
