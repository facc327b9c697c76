#pragma once

#include "platform/gfx/Image.h"

namespace zozuz {

// An off-screen image that a control composes a picture in before combining it with another.
class TBltBitmap {
public:
    TBltBitmap() = default;

    // Gives this image the template's width and height; its pixels become black.
    void MakeLike(const Image& templateImage);

    // The image itself, to draw into and to combine with others.
    Image& Pixels() { return image_; }
    const Image& Pixels() const { return image_; }

private:
    Image image_;
};

}  // namespace zozuz
