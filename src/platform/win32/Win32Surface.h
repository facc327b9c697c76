#pragma once

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/Surface.h"
#include "platform/host/TextRenderer.h"

struct HWND__;
struct HDC__;

namespace zozuz {

// A window's drawing surface: an image holding exactly what the window's client area shows.
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
    // Gives the image a new size, keeping the pixels the two sizes share; new pixels are black.
    void resize(Size size);
    Size size() const { return Size{backing_.width(), backing_.height()}; }
    const Image& backing() const { return backing_; }

    void setPainting(bool painting) { painting_ = painting; }
    // Copies `area` of the image to a device context of the window.
    void show(HDC__* dc, const Rect& area) const;

private:
    HWND__* window_;
    TextRenderer& renderer_;
    Image backing_;
    bool painting_ = false;
};

}  // namespace zozuz
