#include "ui/toolkit/controls/TToolButton.h"

#include "app/ProgramPictures.h"
#include "platform/gfx/Raster.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/components/TImageList.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TToolBar.h"
#include "ui/toolkit/controls/TToolButtonActionLink.h"

namespace zozuz {

namespace {

// Whether a picture's pixel is dark enough to show in the disabled, embossed form: by its
// perceived brightness, so that light fills drop out whatever their tint.
bool isDarkForEmboss(std::uint32_t rgb) {
    const unsigned red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return red * 299 + green * 587 + blue * 114 < 192u * 1000u;
}

}  // namespace

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {}

TToolButton::~TToolButton() = default;

void TToolButton::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    changed();
}

void TToolButton::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    changed();
}

void TToolButton::SetDown(bool down) {
    if (down == down_) return;
    down_ = down;
    changed();
}

void TToolButton::SetStyle(TToolButtonStyle style) {
    if (style == style_) return;
    style_ = style;
    changed();
    if (auto* bar = dynamic_cast<TToolBar*>(Parent())) bar->ArrangeButtons();
}

void TToolButton::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    TGraphicControl::SetEnabled(enabled);
    changed();
}

void TToolButton::SetVisible(bool visible) {
    if (visible == Visible()) return;
    TGraphicControl::SetVisible(visible);
    changed();
    if (auto* bar = dynamic_cast<TToolBar*>(Parent())) bar->ArrangeButtons();
}

void TToolButton::Paint() {
    Image face(Width(), Height());
    const TControl* bar = Parent();
    raster::fillRect(face, face.bounds(), colorToRgb(bar ? bar->Color() : Color()));
    const auto* toolBar = dynamic_cast<const TToolBar*>(bar);
    const TImageList* images = toolBar ? toolBar->Images() : nullptr;
    if (style_ == TToolButtonStyle::tbsButton && images) {
        const Picture& picture = images->At(imageIndex_);
        const int left = (Width() - picture.image.width()) / 2;
        const int top = (Height() - picture.image.height()) / 2;
        const std::uint32_t shadow = colorToRgb(clGrayText);
        // A disabled picture is drawn embossed from its dark pixels only: its light areas (a
        // page, an envelope's paper) drop out, so the shape stays readable instead of turning
        // into a grey block.
        const auto inks = [&picture](int x, int y) {
            return picture.coveredAt(x, y) && isDarkForEmboss(picture.image.pixel(x, y));
        };
        for (int y = 0; y < picture.image.height(); ++y)
            for (int x = 0; x < picture.image.width(); ++x) {
                if (Enabled()) {
                    if (picture.coveredAt(x, y)) face.setPixel(left + x, top + y, picture.image.pixel(x, y));
                } else if (inks(x, y)) {
                    face.setPixel(left + x + 1, top + y + 1, 0xFFFFFF);
                }
            }
        if (!Enabled())
            for (int y = 0; y < picture.image.height(); ++y)
                for (int x = 0; x < picture.image.width(); ++x)
                    if (inks(x, y)) face.setPixel(left + x, top + y, shadow);
    }
    if (down_) {
        raster::fillRect(face, Rect{0, 0, Width(), 1}, colorToRgb(clGrayText));
        raster::fillRect(face, Rect{0, 0, 1, Height()}, colorToRgb(clGrayText));
    }
    DrawImage(face);
}

void TToolButton::changed() {
    Invalidate();
    if (auto* bar = dynamic_cast<TToolBar*>(Parent())) bar->ButtonChanged(*this);
}

std::unique_ptr<TControlActionLink> TToolButton::CreateActionLink() {
    return std::make_unique<TToolButtonActionLink>(*this);
}

void TToolButton::ActionChange(const TAction& action, bool checkDefaults) {
    TGraphicControl::ActionChange(action, checkDefaults);
    if (!checkDefaults || caption_.empty() || caption_ == Name()) SetCaption(action.Caption());
    if (!checkDefaults || !onClick_) SetOnClick(action.OnExecute());
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action.ImageIndex());
    if (!checkDefaults || !down_) SetDown(action.Checked());
}

void TToolButton::Click() {
    if (!Enabled() || style_ == TToolButtonStyle::tbsSeparator) return;
    const TAction* action = Action();
    if (onClick_ && !(action && onClick_ == action->OnExecute()))
        onClick_(*this);
    else if (ActionLink())
        ActionLink()->Execute();
}

void TToolButton::MouseInput(const MouseEvent& event) {
    TGraphicControl::MouseInput(event);
    if (event.button != MouseEvent::Button::Left) return;
    if (event.kind == MouseEvent::Kind::Down || event.kind == MouseEvent::Kind::DoubleClick) {
        pressed_ = Enabled();
    } else if (event.kind == MouseEvent::Kind::Up && pressed_) {
        pressed_ = false;
        // Released away from the button, the press is taken back.
        if (Rect{0, 0, Width(), Height()}.contains(event.position)) Click();
    }
}

bool TToolButton::readStoredValue(const StoredValue& value) {
    const std::string& property = value.property;
    const int* number = value.as<int>();
    const std::string* text = value.as<std::string>();
    if (property == "Caption" && text) {
        SetCaption(*text);
    } else if (property == "ImageIndex" && number) {
        SetImageIndex(*number);
    } else if (property == "Style" && text && *text == "tbsSeparator") {
        SetStyle(TToolButtonStyle::tbsSeparator);
    } else {
        return TGraphicControl::readStoredValue(value);
    }
    return true;
}

bool TToolButton::readStoredEvent(const std::string& property, const TNotifyEvent& handler) {
    if (property != "OnClick") return TGraphicControl::readStoredEvent(property, handler);
    SetOnClick(handler);
    return true;
}

}  // namespace zozuz
