#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "hosts/headless/BitmapFontRenderer.h"
#include "hosts/headless/ImageSurface.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TGraphicControl.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz::test {

// A window as the gauge sees it: an image surface, a font and colour to follow, and a record of the
// requests the gauge makes of it.
class FakeParent final : public TWinControl {
public:
    explicit FakeParent(Size size = Size{400, 200}) : surface_(size) {
        Font font;
        font.pixelHeight = 12;
        SetFont(font);
        SetColor(clBtnFace);
    }

    Surface* PaintSurface() override {
        if (!hasSurface) return nullptr;
        return replacement ? replacement : &surface_;
    }
    bool Showing() const override { return isShowing; }
    void PaintControlsAbove(const TControl&, const Rect& area) override {
        ++paintAboveCalls;
        paintAboveArea = area;
    }
    void InvalidateRect(const Rect& area) override { invalidated.push_back(area); }

    ImageSurface& imageSurface() { return surface_; }
    const Image& screen() const { return surface_.image(); }
    std::size_t paints() const { return surface_.drawCount(); }

    bool hasSurface = true;
    Surface* replacement = nullptr;  // stands in for the image surface when set
    bool isShowing = true;
    int paintAboveCalls = 0;
    Rect paintAboveArea;
    std::vector<Rect> invalidated;

private:
    ImageSurface surface_;
};

// A gauge on a fake parent at the given bounds.
inline std::unique_ptr<TGauge> makeGauge(FakeParent& parent, Rect bounds) {
    auto gauge = std::make_unique<TGauge>();
    gauge->SetParent(&parent);
    gauge->SetBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
    return gauge;
}

// The gauge's pixels, cut out of the parent's surface.
inline Image gaugePixels(const FakeParent& parent, const TGauge& gauge) {
    Image out(gauge.Width(), gauge.Height());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, parent.screen().pixel(gauge.Left() + x, gauge.Top() + y));
    return out;
}

// Where the bitmap font puts the glyph pixels of `text` with its cell's top-left corner at (x, y),
// clipped to `clip`: non-zero pixels of the returned image.
inline Image textMask(Size size, const Font& font, const char* text, Point at, const Rect& clip) {
    Image mask(size.width, size.height);
    BitmapFontRenderer().draw(mask, at.x, at.y, clip, font, text, 0xFFFFFF);
    return mask;
}

}  // namespace zozuz::test
