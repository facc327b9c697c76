#pragma once

#include <string_view>

#include "platform/gfx/Image.h"
#include "platform/gfx/Picture.h"

namespace zozuz {

// The number of pictures in the image list that the menus and the toolbar share.
inline constexpr int kImageListCount = 22;

// One of the pictures built into the program, by the name of its file without the extension
// ("about-64"); an empty picture when there is none of that name.
Picture programPicture(std::string_view name);

// The image list's picture `index` (0 to 21: scissors, two pages, ... cross) at `size` x `size`
// pixels, 16 or 32 (for high-density screens); an empty picture for any other index or size.
Picture imageListPicture(int index, int size);

// The About box's 64 x 64 picture.
Image aboutPicture();

}  // namespace zozuz
