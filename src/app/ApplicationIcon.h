#pragma once

#include "platform/gfx/Image.h"

namespace zozuz {

// The program's icon picture at `size` x `size` pixels: concentric square frames in bright, solid
// colours of the 16-colour palette, red outermost, with a small red square in the middle.
Image applicationIcon(int size = 32);

}  // namespace zozuz
