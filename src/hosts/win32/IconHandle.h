#pragma once

#include "platform/gfx/Image.h"

struct HICON__;

namespace zozuz {

// A system icon made from one of the program's images, fully opaque. The caller destroys it with
// destroyIcon. Null for an empty image.
HICON__* iconFromImage(const Image& image);
void destroyIcon(HICON__* icon);

// The pixels of a system icon, as the system draws it at its own size on black (for tests and for
// checking the icon resource against the program's picture).
Image imageFromIcon(HICON__* icon);

}  // namespace zozuz
