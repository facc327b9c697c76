#pragma once

#include <cstddef>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/Surface.h"
#include "platform/host/TextRenderer.h"
#include "hosts/headless/BitmapFontRenderer.h"

namespace zozuz {

// The headless host's drawing surface: an in-memory image standing for a window's client area. It
// counts the images drawn onto it, so tests can see how often something painted at once. Text is
// measured and drawn with the built-in bitmap font.
class ImageSurface final : public Surface {
public:
    explicit ImageSurface(Size size = {});

    // The pixels as they would appear on the screen.
    const Image& image() const { return image_; }
    Image& image() { return image_; }
    Size size() const { return Size{image_.width(), image_.height()}; }

    // Gives the surface a new size; the pixels become black, as in a newly shown window.
    void resize(Size size);

    void drawImage(Point at, const Image& image, const Rect& clip) override;
    TextRenderer& textRenderer() override { return renderer_; }

    // How many times drawImage ran, and the area the last call covered (empty when nothing was).
    std::size_t drawCount() const { return drawCount_; }
    Rect lastDrawn() const { return lastDrawn_; }
    void resetDrawCount() { drawCount_ = 0; }

private:
    Image image_;
    BitmapFontRenderer renderer_;
    std::size_t drawCount_ = 0;
    Rect lastDrawn_;
};

}  // namespace zozuz
