#pragma once

#include "platform/gfx/Image.h"

namespace zozuz {

// An off-screen image that a control composes a picture in before combining it with another.
class TBltBitmap {
public:
    TBltBitmap() = default;

    // Gives this image the template's width and height; its pixels become black.
    void MakeLike(const Image& templateImage);

    Image& image() { return image_; }
    const Image& image() const { return image_; }

private:
    Image image_;
};

}  // namespace zozuz
