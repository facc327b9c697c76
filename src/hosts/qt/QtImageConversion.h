#pragma once

#include <QImage>

#include "platform/gfx/Image.h"

namespace zozuz {

// The program's images (0x00RRGGBB) and Qt's (0xFFRRGGBB in RGB32) differ only in the top byte,
// which the program keeps zero because it combines pixels by exclusive-or.
QImage toQImage(const Image& image);
// Any QImage, converted to RGB32 first when it is in another format; alpha is dropped.
Image fromQImage(const QImage& image);

}  // namespace zozuz
