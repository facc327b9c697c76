#include "ui/toolkit/controls/TStatusBar.h"

#include "platform/gfx/Image.h"
#include "platform/gfx/Raster.h"
#include "ui/toolkit/controls/Bevel.h"
#include "ui/toolkit/controls/TColor.h"

namespace zozuz {

namespace {

// The text sits this far in from the sunken frame's left edge.
constexpr int kTextIndent = 3;

}  // namespace

TStatusBar::TStatusBar(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 185, 19);
    SetOpaque(true);
}

void TStatusBar::SetSimplePanel(bool simple) {
    if (simple == simplePanel_) return;
    simplePanel_ = simple;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    if (text == simpleText_) return;
    simpleText_ = text;
    Invalidate();
}

void TStatusBar::ShowHintText(const std::string& text) {
    // Without divided panels the simple panel's text is where a hint goes, whichever way the
    // switch stands.
    SetSimpleText(text);
}

void TStatusBar::Paint() {
    TextRenderer* renderer = Renderer();
    if (!renderer) return;
    Image picture(Width(), Height());
    raster::fillRect(picture, picture.bounds(), colorToRgb(Color()));
    const Rect frame{0, 2, Width(), Height()};
    drawBevelFrame(picture, frame, false);
    if (!simpleText_.empty()) {
        const Font& font = GetFont();
        const Rect inside{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
        const int height = renderer->measure(font, simpleText_).height;
        const int y = inside.top + (inside.bottom - inside.top - height) / 2;
        renderer->draw(picture, inside.left + kTextIndent, y, inside, font, simpleText_, font.rgb);
    }
    DrawImage(picture);
}

bool TStatusBar::readStoredValue(const StoredValue& value) {
    const bool* flag = value.as<bool>();
    if (value.property == "AutoHint" && flag) {
        SetAutoHint(*flag);
    } else if (value.property == "SimplePanel" && flag) {
        SetSimplePanel(*flag);
    } else {
        return TGraphicControl::readStoredValue(value);
    }
    return true;
}

}  // namespace zozuz
