#pragma once

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelScale.h"
#include "platform/host/Surface.h"
#include "platform/host/TextRenderer.h"

struct HWND__;
struct HDC__;

namespace zozuz {

// A window's drawing surface: an image holding exactly what the window's client area shows, in the
// program's logical pixels. On a display of another density the image is shown scaled to the client
// area's device pixels.
// Drawing on it updates the image and copies that area to the window's device context at once, so a
// long computation on the user-interface thread shows its progress without a trip through the
// message loop. While the window paints (WM_PAINT), drawing only updates the image; the paint
// message shows it afterwards.
class Win32Surface final : public Surface {
public:
    Win32Surface(HWND__* window, TextRenderer& renderer);

    void drawImage(Point at, const Image& image, const Rect& clip) override;
    TextRenderer& textRenderer() override { return renderer_; }

    void setWindow(HWND__* window) { window_ = window; }
    // The client area has `device` pixels: the image takes the logical size they make, keeping the
    // pixels the two sizes share; new pixels are black.
    void resize(Size device);
    // The display's density changed: the image keeps the client area's logical size.
    void setScale(const PixelScale& scale);
    const PixelScale& scale() const { return scale_; }
    // The image's size, in logical pixels.
    Size size() const { return Size{backing_.width(), backing_.height()}; }
    const Image& backing() const { return backing_; }

    void setPainting(bool painting) { painting_ = painting; }
    // Copies `area` (logical) of the image to a device context of the window, scaled to the device
    // pixels it covers.
    void show(HDC__* dc, const Rect& area) const;

private:
    // Copies a whole image to a device context, its top-left corner at `at` (device pixels).
    static void showImage(HDC__* dc, const Image& image, Point at);

    HWND__* window_;
    TextRenderer& renderer_;
    Image backing_;
    PixelScale scale_;
    Size device_;  // the client area in device pixels
    bool painting_ = false;
};

}  // namespace zozuz
