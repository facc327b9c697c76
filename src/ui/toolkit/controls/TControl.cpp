#include "ui/toolkit/controls/TControl.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Exception.h"
#include "ui/text/HintText.h"
#include "ui/text/ShortCutText.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/controls/ControlGeometry.h"
#include "ui/toolkit/controls/TControlActionLink.h"
#include "ui/toolkit/controls/TWinControl.h"
#include "ui/toolkit/menus/TPopupMenu.h"

namespace zozuz {

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    // Leaves the parent's list while the parent can still tell its window (focus, capture, mouse
    // tracking) that the control is gone.
    if (parent_) parent_->removeControl(*this);
    SetPopupMenu(nullptr);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const Rect next{left, top, left + width, top + height};
    if (next == bounds_) return;
    Invalidate();
    bounds_ = next;
    Invalidate();
}

Rect TControl::WindowRect() const {
    if (!parent_) return bounds_;
    return offsetRect(bounds_, parent_->WindowOrigin());
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    // Hiding also needs the area repainted, so that what lies beneath shows again.
    if (parent_) parent_->InvalidateRect(bounds_);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent) {
        const auto* self = dynamic_cast<const TWinControl*>(this);
        if (self && self->ContainsControl(parent))
            throw EInvalidOperation("A control cannot be a parent of itself or of a control that holds it");
    }
    Invalidate();
    if (parent_) parent_->removeControl(*this);
    if (parent) parent->insertControl(*this);
    Invalidate();
}

TWinControl* TControl::TopWindow() { return const_cast<TWinControl*>(std::as_const(*this).TopWindow()); }

const TWinControl* TControl::TopWindow() const {
    const TControl* top = this;
    while (top->parent_) top = top->parent_;
    return dynamic_cast<const TWinControl*>(top);
}

const Font& TControl::GetFont() const {
    if (parentFont_ && parent_) return parent_->GetFont();
    return font_;
}

void TControl::SetFont(const Font& font) {
    const bool changed = !(GetFont() == font);
    parentFont_ = false;
    font_ = font;
    if (changed) FontChanged();
}

void TControl::SetParentFont(bool follow) {
    if (follow == parentFont_) return;
    if (!follow && parent_) font_ = parent_->GetFont();
    parentFont_ = follow;
    FontChanged();
}

TColor TControl::Color() const {
    if (parentColor_ && parent_) return parent_->Color();
    return color_;
}

void TControl::SetColor(TColor color) {
    const TColor before = Color();
    parentColor_ = false;
    color_ = color;
    if (before != color) ColorChanged();
}

void TControl::SetParentColor(bool follow) {
    if (follow == parentColor_) return;
    if (!follow && parent_) color_ = parent_->Color();
    parentColor_ = follow;
    ColorChanged();
}

void TControl::ParentFontChanged() {
    if (parentFont_) FontChanged();
}

void TControl::ParentColorChanged() {
    if (parentColor_) ColorChanged();
}

void TControl::Invalidate() {
    if (parent_ && visible_ && !bounds_.empty()) parent_->InvalidateRect(bounds_);
}

void TControl::MouseInput(const MouseEvent& event) {
    if (OnMouse) OnMouse(*this, event);
}

const std::string& TControl::HintInUse() const {
    const TControl* control = this;
    while (control->hint_.empty() && control->parent_) control = control->parent_;
    return control->hint_;
}

bool TControl::ShowHint() const {
    if (parentShowHint_ && parent_) return parent_->ShowHint();
    return showHint_;
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    parentShowHint_ = false;
}

std::string TControl::ApplicationHint() const { return std::string(longHintOf(HintInUse())); }

const MouseTarget* TControl::TooltipControl() const {
    const TControl* control = this;
    while (control && !control->ShowHint()) control = control->parent_;
    return control;
}

std::string TControl::TooltipText() const {
    const std::string_view text = shortHintOf(HintInUse());
    if (const std::optional<std::string> shortCut = CommandShortCutText()) return tooltipWithShortCut(text, *shortCut);
    return std::string(text);
}

std::optional<std::string> TControl::CommandShortCutText() const {
    const TAction* action = Action();
    if (!action || action->ShortCut() == 0) return std::nullopt;
    return ShortCutToText(action->ShortCut());
}

TAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TControl::SetAction(TAction* action) {
    if (!action) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = CreateActionLink();
    actionLink_->SetAction(action);
    ActionChange(*action, Loading());
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_) std::erase(popupMenu_->users_, this);
    popupMenu_ = menu;
    if (popupMenu_) popupMenu_->users_.push_back(this);
}

void TControl::ReferenceDestroyed(TComponent& component) {
    if (popupMenu_ && &component == popupMenu_) SetPopupMenu(nullptr);
    TComponent::ReferenceDestroyed(component);
}

void TControl::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (TAction* action = Action()) ActionChange(*action, true);
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() { return std::make_unique<TControlActionLink>(*this); }

void TControl::ActionChange(const TAction& action, bool checkDefaults) {
    if (!checkDefaults || Enabled()) SetEnabled(action.Enabled());
    if (!checkDefaults || hint_.empty()) SetHint(action.Hint());
    if (!checkDefaults || Visible()) SetVisible(action.Visible());
}

bool TControl::readStoredValue(const StoredValue& value) {
    const std::string& property = value.property;
    const bool* flag = value.as<bool>();
    const int* number = value.as<int>();
    const std::string* text = value.as<std::string>();
    const Font* font = value.as<Font>();
    if (property == "Hint" && text) {
        SetHint(*text);
    } else if (property == "Enabled" && flag) {
        SetEnabled(*flag);
    } else if (property == "Visible" && flag) {
        SetVisible(*flag);
    } else if ((property == "Left" || property == "Top" || property == "Width" || property == "Height") && number) {
        const int left = property == "Left" ? *number : Left();
        const int top = property == "Top" ? *number : Top();
        const int width = property == "Width" ? *number : Width();
        const int height = property == "Height" ? *number : Height();
        SetBounds(left, top, width, height);
    } else if (property == "Font" && font) {
        SetFont(*font);
    } else if (property == "ParentFont" && flag) {
        SetParentFont(*flag);
    } else if (property == "Color" && number) {
        SetColor(static_cast<TColor>(*number));
    } else if (property == "Cursor" && text && *text == "crHandPoint") {
        SetCursor(TCursor::crHandPoint);
    } else if (property == "ShowHint" && flag) {
        SetShowHint(*flag);
    } else {
        return TComponent::readStoredValue(value);
    }
    return true;
}

bool TControl::readStoredReference(const std::string& property, TComponent& target) {
    if (property != "Action") return TComponent::readStoredReference(property, target);
    SetAction(dynamic_cast<TAction*>(&target));
    return true;
}

void TControl::placeStored(TComponent* parent, TComponent& window) {
    // A control without a stored parent sits on the window itself.
    TComponent& place = parent ? *parent : window;
    auto* container = dynamic_cast<TWinControl*>(&place);
    if (!container) throw EStoredLayout("cannot sit in " + place.Name() + ", which holds no controls");
    SetParent(container);
}

}  // namespace zozuz
