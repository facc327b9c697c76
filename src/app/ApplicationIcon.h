#pragma once

#include "platform/gfx/Image.h"

namespace zozuz {

// The program's 32 x 32 icon picture (pictures/icon-32.txt, drawn by pictures/draw_pictures.py):
// concentric square frames in bright, solid colours, red outermost, with a small red square in the
// middle.
Image applicationIcon();

}  // namespace zozuz
