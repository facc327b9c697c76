#pragma once

#include <cstdint>

#include "platform/gfx/Image.h"

struct HBITMAP__;

namespace zozuz {

// A menu entry's picture as a disabled entry shows it: embossed from its dark pixels, in `shadow`
// with a `highlight` copy one pixel below and to the right, the way disabled toolbar buttons show
// theirs, so that its light areas drop out and the shape stays readable. Everything else is
// kMenuPictureBackground (transparent). The system draws a menu's bitmaps as they are, disabled
// or not, so the menus grey their pictures themselves.
Image greyedMenuPicture(const Image& picture, std::uint32_t shadow, std::uint32_t highlight);

// The bitmap a menu item shows for `picture` (MIIM_BITMAP): a top-down 32-bit DIB section whose
// alpha is 255 where the picture is opaque and 0 where it is kMenuPictureBackground. Those pixels
// take `clear` (0x00RRGGBB): black where the menus blend the bitmap as premultiplied alpha, the menu
// colour where they copy it as it is. The caller deletes the bitmap with DeleteObject once no item
// shows it. Null for an empty picture.
HBITMAP__* createMenuBitmap(const Image& picture, std::uint32_t clear);

}  // namespace zozuz
