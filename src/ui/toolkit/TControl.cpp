#include "ui/toolkit/TControl.h"

namespace zozuz {

TControl::TControl(TComponent* owner) : TComponent(owner) {}

void TControl::SetBounds(int left, int top, int width, int height) {
    const Rect next{left, top, left + width, top + height};
    if (next == bounds_) return;
    Invalidate();
    bounds_ = next;
    Invalidate();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    // Hiding also needs the area repainted, so that what lies beneath shows again.
    if (parent_) parent_->invalidate(bounds_);
}

void TControl::SetParent(ControlParent* parent) {
    if (parent == parent_) return;
    Invalidate();
    parent_ = parent;
    Invalidate();
}

const Font& TControl::GetFont() const {
    if (parentFont_ && parent_) return parent_->font();
    return font_;
}

void TControl::SetFont(const Font& font) {
    const bool changed = !(GetFont() == font);
    parentFont_ = false;
    font_ = font;
    if (changed) Invalidate();
}

void TControl::SetParentFont(bool follow) {
    if (follow == parentFont_) return;
    if (!follow && parent_) font_ = parent_->font();
    parentFont_ = follow;
    Invalidate();
}

TColor TControl::Color() const {
    if (parentColor_ && parent_) return parent_->color();
    return color_;
}

void TControl::SetColor(TColor color) {
    const TColor before = Color();
    parentColor_ = false;
    color_ = color;
    if (before != color) Invalidate();
}

void TControl::SetParentColor(bool follow) {
    if (follow == parentColor_) return;
    if (!follow && parent_) color_ = parent_->color();
    parentColor_ = follow;
    Invalidate();
}

void TControl::ParentChanged() {
    if (parentFont_ || parentColor_) Invalidate();
}

void TControl::Invalidate() {
    if (parent_ && visible_ && !bounds_.empty()) parent_->invalidate(bounds_);
}

}  // namespace zozuz
