#include "ui/toolkit/controls/TButton.h"

#include <cstdint>

#include "app/AppWindow.h"
#include "base/KeyCode.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Raster.h"
#include "ui/toolkit/controls/Bevel.h"
#include "ui/toolkit/controls/TColor.h"

namespace zozuz {

namespace {

// The desktop's push-button colours.
constexpr std::uint32_t kFace = 0xE1E1E1;
constexpr std::uint32_t kBorder = 0xADADAD;
constexpr std::uint32_t kAccent = 0x0078D7;
constexpr std::uint32_t kDownFace = 0xCCE4F7;
constexpr std::uint32_t kDownBorder = 0x005499;
constexpr std::uint32_t kDisabledFace = 0xCCCCCC;
constexpr std::uint32_t kDisabledBorder = 0xBFBFBF;

Rect inset(const Rect& rect, int by) { return Rect{rect.left + by, rect.top + by, rect.right - by, rect.bottom - by}; }

// A dotted rectangle: every other pixel along the edge, starting at the top-left corner.
void drawFocusRect(Image& image, const Rect& frame, std::uint32_t rgb) {
    if (frame.empty()) return;
    int step = 0;
    auto dot = [&](int x, int y) {
        if (step++ % 2 == 0) image.setPixel(x, y, rgb);
    };
    for (int x = frame.left; x < frame.right - 1; ++x) dot(x, frame.top);
    for (int y = frame.top; y < frame.bottom - 1; ++y) dot(frame.right - 1, y);
    for (int x = frame.right - 1; x > frame.left; --x) dot(x, frame.bottom - 1);
    for (int y = frame.bottom - 1; y > frame.top; --y) dot(frame.left, y);
}

}  // namespace

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Invalidate();
}

void TButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    Invalidate();
}

void TButton::SetEnabled(bool enabled) {
    TWinControl::SetEnabled(enabled);
    if (!enabled) mouseDown_ = spaceDown_ = false;
    Invalidate();
}

void TButton::Click() {
    // The window's modal result is set first, so OnClick may still change it.
    if (auto* window = dynamic_cast<AppWindow*>(TopWindow())) window->SetModalResult(modalResult_);
    if (OnClick) OnClick(*this);
}

void TButton::PaintWindow(Surface& surface, const Rect& area) {
    Image picture(Width(), Height());
    const bool down = Down();
    const bool focused = Focused();
    std::uint32_t face = kFace;
    std::uint32_t border = default_ || focused ? kAccent : kBorder;
    if (!Enabled()) {
        face = kDisabledFace;
        border = kDisabledBorder;
    } else if (down) {
        face = kDownFace;
        border = kDownBorder;
    }
    raster::fillRect(picture, picture.bounds(), face);
    drawFrame(picture, picture.bounds(), border);
    // The focus doubles the accent border, as the default button's single one tells them apart.
    if (focused && Enabled() && !down) drawFrame(picture, inset(picture.bounds(), 1), kAccent);

    TextRenderer& renderer = surface.textRenderer();
    const Font& font = GetFont();
    const Size size = renderer.measure(font, caption_);
    const std::uint32_t ink = Enabled() ? font.rgb : colorToRgb(clGrayText);
    renderer.draw(picture, (Width() - size.width) / 2, (Height() - size.height) / 2, inset(picture.bounds(), 2), font,
                  caption_, ink);
    if (focused) drawFocusRect(picture, inset(picture.bounds(), 3), colorToRgb(clWindowText));

    const Rect place = WindowRect();
    surface.drawImage(Point{place.left, place.top}, picture, area);
    PaintChildren(surface, area);
}

void TButton::KeyDown(const KeyEvent& key) {
    TWinControl::KeyDown(key);
    if (key.virtualKey == vk::Space && !key.ctrl && !key.alt && !spaceDown_) {
        spaceDown_ = true;
        Invalidate();
    }
}

void TButton::KeyUp(const KeyEvent& key) {
    TWinControl::KeyUp(key);
    if (key.virtualKey != vk::Space || !spaceDown_) return;
    spaceDown_ = false;
    Invalidate();
    Click();
}

void TButton::CancelMode() {
    TWinControl::CancelMode();
    if (!mouseDown_) return;
    mouseDown_ = false;
    Invalidate();
}

void TButton::MouseInput(const MouseEvent& event) {
    TWinControl::MouseInput(event);
    const bool over = Rect{0, 0, Width(), Height()}.contains(event.position);
    if (event.button == MouseEvent::Button::Left &&
        (event.kind == MouseEvent::Kind::Down || event.kind == MouseEvent::Kind::DoubleClick)) {
        mouseDown_ = true;
        mouseOver_ = over;
        Invalidate();
    } else if (event.kind == MouseEvent::Kind::Move && mouseDown_) {
        if (over != mouseOver_) {
            mouseOver_ = over;
            Invalidate();
        }
    } else if (event.kind == MouseEvent::Kind::Up && event.button == MouseEvent::Button::Left && mouseDown_) {
        mouseDown_ = false;
        Invalidate();
        if (over) Click();
    }
}

void TButton::FocusChanged(bool focused) {
    // Losing the focus lets go of a Space held down on the button without clicking it.
    if (!focused) spaceDown_ = false;
    Invalidate();
}

bool TButton::readStoredValue(const StoredValue& value) {
    const bool* flag = value.as<bool>();
    const int* number = value.as<int>();
    const std::string* text = value.as<std::string>();
    if (value.property == "Caption" && text) {
        SetCaption(*text);
    } else if (value.property == "Default" && flag) {
        SetDefault(*flag);
    } else if (value.property == "ModalResult" && number) {
        SetModalResult(*number);
    } else {
        return TWinControl::readStoredValue(value);
    }
    return true;
}

bool TButton::readStoredEvent(const std::string& property, const TNotifyEvent& handler) {
    if (property != "OnClick") return TWinControl::readStoredEvent(property, handler);
    OnClick = [handler](TButton& sender) { handler(sender); };
    return true;
}

}  // namespace zozuz
