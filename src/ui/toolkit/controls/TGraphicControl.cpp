#include "ui/toolkit/controls/TGraphicControl.h"

#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

namespace {

// Points a control at the surface it paints on for the length of one paint, and restores the
// previous target on every way out, also when Paint throws.
class PaintTarget {
public:
    PaintTarget(Surface*& slot, Rect& clipSlot, Surface* surface, const Rect& clip)
        : slot_(slot), clipSlot_(clipSlot), savedSurface_(slot), savedClip_(clipSlot) {
        slot_ = surface;
        clipSlot_ = clip;
    }
    ~PaintTarget() {
        slot_ = savedSurface_;
        clipSlot_ = savedClip_;
    }
    PaintTarget(const PaintTarget&) = delete;
    PaintTarget& operator=(const PaintTarget&) = delete;

private:
    Surface*& slot_;
    Rect& clipSlot_;
    Surface* savedSurface_;
    Rect savedClip_;
};

}  // namespace

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::PaintTo(Surface& surface, const Rect& clip) {
    if (!Visible()) return;
    const Rect area = clip.intersected(WindowRect());
    if (area.empty()) return;
    PaintTarget target(target_, clip_, &surface, area);
    Paint();
}

void TGraphicControl::PaintTo(Surface& surface) { PaintTo(surface, WindowRect()); }

void TGraphicControl::Repaint() {
    TWinControl* parent = Parent();
    if (!Visible() || !parent || !parent->Showing()) return;
    Surface* surface = parent->PaintSurface();
    if (!surface) return;
    // Within the containers' client areas: a control reaching past its container is cut off there.
    Rect area = WindowRect();
    for (const TWinControl* c = parent; c->Parent(); c = c->Parent()) area = area.intersected(c->WindowRect());
    PaintTo(*surface, area);
    parent->PaintControlsAbove(*this, area);
}

void TGraphicControl::DrawImage(const Image& image, Point at) {
    if (!target_) return;
    const Rect place = WindowRect();
    target_->drawImage(Point{place.left + at.x, place.top + at.y}, image, clip_);
}

TextRenderer* TGraphicControl::Renderer() const { return target_ ? &target_->textRenderer() : nullptr; }

}  // namespace zozuz
