#include "ui/toolkit/controls/TPanel.h"

#include <algorithm>
#include <cstdint>

#include "platform/gfx/Image.h"
#include "platform/gfx/Raster.h"
#include "ui/toolkit/controls/Bevel.h"
#include "ui/toolkit/controls/ControlGeometry.h"

namespace zozuz {

TPanel::TPanel(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TBevelCut cut) {
    bevelOuter_ = cut;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut cut) {
    bevelInner_ = cut;
    Invalidate();
}

void TPanel::SetBevelWidth(int width) {
    bevelWidth_ = std::max(1, width);
    Invalidate();
}

void TPanel::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Invalidate();
}

void TPanel::PaintWindow(Surface& surface, const Rect& area) {
    // The face, bevels and caption go into one picture of the whole panel, copied in one step;
    // the controls inside then paint over it.
    Image picture(Width(), Height());
    raster::fillRect(picture, picture.bounds(), colorToRgb(Color()));
    Rect inside = picture.bounds();
    for (const TBevelCut cut : {bevelOuter_, bevelInner_}) {
        if (cut == TBevelCut::bvNone) continue;
        for (int i = 0; i < bevelWidth_; ++i) {
            drawBevelFrame(picture, inside, cut == TBevelCut::bvRaised);
            inside = Rect{inside.left + 1, inside.top + 1, inside.right - 1, inside.bottom - 1};
        }
    }
    if (!caption_.empty()) {
        TextRenderer& renderer = surface.textRenderer();
        const Font& font = GetFont();
        const Size size = renderer.measure(font, caption_);
        renderer.draw(picture, (Width() - size.width) / 2, (Height() - size.height) / 2, inside, font, caption_,
                      font.rgb);
    }
    const Rect place = WindowRect();
    surface.drawImage(Point{place.left, place.top}, picture, area);
    PaintChildren(surface, area);
}

namespace {

TBevelCut bevelCutNamed(const std::string& name) {
    return name == "bvLowered" ? TBevelCut::bvLowered : name == "bvRaised" ? TBevelCut::bvRaised : TBevelCut::bvNone;
}

}  // namespace

bool TPanel::readStoredValue(const StoredValue& value) {
    const std::string& property = value.property;
    const int* number = value.as<int>();
    const std::string* text = value.as<std::string>();
    if (property == "Caption" && text) {
        SetCaption(*text);
    } else if (property == "BevelOuter" && text) {
        SetBevelOuter(bevelCutNamed(*text));
    } else if (property == "BevelInner" && text) {
        SetBevelInner(bevelCutNamed(*text));
    } else if (property == "BevelWidth" && number) {
        SetBevelWidth(*number);
    } else {
        return TWinControl::readStoredValue(value);
    }
    return true;
}

}  // namespace zozuz
