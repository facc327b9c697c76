#pragma once

#include "platform/gfx/Image.h"

namespace zozuz {

// The program's icon picture at `size` x `size` pixels: concentric square frames in bright, solid
// colours of the 16-colour palette, each one sixteenth of the size wide (at least one pixel), red
// outermost, with a small red square in the middle.
//
// The 32-pixel window icon and the 64-pixel About picture are the files pictures/icon-32.txt and
// pictures/about-64.txt (drawn by pictures/draw_pictures.py) built into the program; other sizes,
// for the desktop's icon theme, are drawn here by the same rule, which a test holds to the files.
Image applicationIcon(int size = 32);

}  // namespace zozuz
