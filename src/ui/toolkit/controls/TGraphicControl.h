#pragma once

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/Surface.h"
#include "platform/host/TextRenderer.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TControl.h"

namespace zozuz {

// The base of controls without a window of their own: they paint onto their parent window's surface
// within their bounds. A derived class draws its picture in Paint, which runs only while a paint is
// under way, so the drawing helpers below always have a surface to reach.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner = nullptr);

    // An opaque control covers every pixel of its bounds, so the parent need not erase the
    // background beneath it before painting it.
    bool Opaque() const { return opaque_; }

    // The parent's ordinary, deferred paint: draws the control onto `surface` (the client area of
    // the window it sits on) at the control's place there, clipped to `clip` (window coordinates)
    // and to the bounds. A hidden control draws nothing.
    void PaintTo(Surface& surface, const Rect& clip);
    void PaintTo(Surface& surface);

    // Paints at once, before returning, when the control is visible and its parent's window exists
    // and shows; then the parent paints again the controls stacked above this one. In any other
    // case it draws nothing; the next ordinary paint shows the current state.
    void Repaint();

protected:
    // Draws the control's whole picture. The default draws nothing.
    virtual void Paint() {}

    void SetOpaque(bool opaque) { opaque_ = opaque; }

    // Inside Paint: copies `image` onto the surface with its top-left corner at `at` (control
    // coordinates), clipped to the area being painted.
    void DrawImage(const Image& image, Point at = {});
    // Inside Paint: the surface's text measuring and drawing; null outside a paint.
    TextRenderer* Renderer() const;

private:
    Surface* target_ = nullptr;
    Rect clip_;
    bool opaque_ = false;
};

}  // namespace zozuz
