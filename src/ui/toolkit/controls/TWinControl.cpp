#include "ui/toolkit/controls/TWinControl.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/KeyCode.h"
#include "platform/gfx/Image.h"
#include "ui/toolkit/controls/ControlGeometry.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TGraphicControl.h"

namespace zozuz {

namespace {

// Whether `inner` is `outer` or lies inside it, found by walking up from `inner`: `outer` itself
// may be half destroyed, but everything above `inner` up to it is still whole.
bool liesInside(const TControl* inner, const TControl& outer) {
    for (const TControl* c = inner; c; c = c->Parent())
        if (c == &outer) return true;
    return false;
}

bool isWindowed(const TControl* control) { return dynamic_cast<const TWinControl*>(control) != nullptr; }

Point topLeftOf(const Rect& rect) { return Point{rect.left, rect.top}; }

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    while (!controls_.empty()) removeControl(*controls_.back());
}

// --- Children ---

bool TWinControl::ContainsControl(const TControl* control) const { return control && liesInside(control, *this); }

void TWinControl::insertControl(TControl& control) {
    controls_.push_back(&control);
    control.parent_ = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(&control)) tabList_.push_back(windowed);
}

void TWinControl::removeControl(TControl& control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
    // Compared by address only: the control may be half destroyed, past the point where it could
    // still be asked what it is.
    tabList_.erase(std::remove_if(tabList_.begin(), tabList_.end(),
                                  [&](TWinControl* w) { return static_cast<TControl*>(w) == &control; }),
                   tabList_.end());
    control.parent_ = nullptr;
    ControlRemoved(control);
}

void TWinControl::ControlRemoved(TControl& control) {
    if (TWinControl* parent = Parent()) {
        parent->ControlRemoved(control);
        return;
    }
    // `control` has left its parent already, so what it held is found from the holder upward.
    if (activeControl_ && liesInside(activeControl_, control)) activeControl_ = nullptr;
    if (mouseCapture_ && liesInside(mouseCapture_, control)) mouseCapture_ = nullptr;
}

TControl* TWinControl::FindControlAt(Point client, bool allowDisabled) {
    auto hit = [&](const TControl* child) { return child->Visible() && child->BoundsRect().contains(client); };
    // Topmost first: the windowed children lie above every window-less one.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        auto* windowed = dynamic_cast<TWinControl*>(*it);
        if (!windowed || !hit(windowed)) continue;
        if (!allowDisabled && !windowed->Enabled()) return this;
        return windowed->FindControlAt(Point{client.x - windowed->Left(), client.y - windowed->Top()}, allowDisabled);
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if (isWindowed(*it) || !hit(*it)) continue;
        return allowDisabled || (*it)->Enabled() ? *it : this;
    }
    return this;
}

TControl* TWinControl::SearchControls(const std::function<bool(TControl&)>& visit) const {
    TControl* found = nullptr;
    searchInside(visit, found);
    return found;
}

bool TWinControl::searchInside(const std::function<bool(TControl&)>& visit, TControl*& found) const {
    // By index: a visitor may add controls, which are then visited too.
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        TControl* child = controls_[i];
        if (!child->Visible()) continue;
        if (visit(*child)) {
            found = child;
            return true;
        }
        auto* windowed = dynamic_cast<const TWinControl*>(child);
        if (windowed && windowed->searchInside(visit, found)) return true;
    }
    return false;
}

// --- Painting ---

Point TWinControl::WindowOrigin() const { return Parent() ? topLeftOf(WindowRect()) : Point{}; }

Surface* TWinControl::PaintSurface() { return Parent() ? Parent()->PaintSurface() : nullptr; }

bool TWinControl::Showing() const { return Visible() && Parent() && Parent()->Showing(); }

void TWinControl::InvalidateRect(const Rect& area) {
    if (!Parent() || !Visible()) return;
    const Rect inside = area.intersected(Rect{0, 0, Width(), Height()});
    if (!inside.empty()) Parent()->InvalidateRect(offsetRect(inside, Point{Left(), Top()}));
}

void TWinControl::PaintControlsAbove(const TControl& control, const Rect& area) {
    Surface* surface = PaintSurface();
    auto at = std::find(controls_.begin(), controls_.end(), &control);
    if (!surface || at == controls_.end()) return;
    const bool windowed = isWindowed(&control);
    if (!windowed) {
        for (auto it = std::next(at); it != controls_.end(); ++it)
            if (!isWindowed(*it)) paintChild(**it, *surface, area);
    }
    // Every windowed child lies above the window-less ones; among themselves, child order.
    for (auto it = windowed ? std::next(at) : controls_.begin(); it != controls_.end(); ++it)
        if (isWindowed(*it)) paintChild(**it, *surface, area);
    if (Parent()) Parent()->PaintControlsAbove(*this, area);
}

void TWinControl::PaintWindow(Surface& surface, const Rect& area) {
    Image background(area.width(), area.height());
    const std::uint32_t rgb = colorToRgb(Color());
    for (int y = 0; y < background.height(); ++y) std::fill_n(background.row(y), background.width(), rgb);
    surface.drawImage(topLeftOf(area), background, area);
    PaintChildren(surface, area);
}

void TWinControl::PaintChildren(Surface& surface, const Rect& area) {
    for (TControl* child : controls_)
        if (!isWindowed(child)) paintChild(*child, surface, area);
    for (TControl* child : controls_)
        if (isWindowed(child)) paintChild(*child, surface, area);
}

void TWinControl::paintChild(TControl& child, Surface& surface, const Rect& area) {
    if (!child.Visible()) return;
    const Rect overlap = child.WindowRect().intersected(area);
    if (overlap.empty()) return;
    if (auto* windowed = dynamic_cast<TWinControl*>(&child))
        windowed->PaintWindow(surface, overlap);
    else if (auto* graphic = dynamic_cast<TGraphicControl*>(&child))
        graphic->PaintTo(surface, overlap);
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* child : controls_) child->ParentFontChanged();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* child : controls_) child->ParentColorChanged();
}

// --- Keyboard focus ---

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::find(list.begin(), list.end(), this));
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
    if (!Parent()) return false;
    // The window's own state is left out: a hidden window keeps the control that will hold the
    // focus once it shows.
    for (const TControl* c = this; c->Parent(); c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    const TWinControl* window = TopWindow();
    return window->activeControl_ == this && window->WindowActive();
}

bool TWinControl::SetFocus() {
    if (!CanFocus()) return false;
    TopWindow()->setActiveControl(this);
    return true;
}

TWinControl* TWinControl::ActiveControl() const { return TopWindow()->activeControl_; }

void TWinControl::setActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    TWinControl* previous = activeControl_;
    activeControl_ = control;
    if (!WindowActive()) return;
    if (previous) previous->FocusChanged(false);
    if (control && activeControl_ == control) control->FocusChanged(true);
}

void TWinControl::WindowActivationChanged(bool active) {
    if (activeControl_)
        activeControl_->FocusChanged(active);
    else if (active)
        SelectFirst();  // the first activation gives the focus to the first control that takes it
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
    std::vector<TWinControl*> list;
    appendTabOrder(list);
    return list;
}

void TWinControl::appendTabOrder(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : tabList_) {
        list.push_back(child);
        child->appendTabOrder(list);
    }
}

TWinControl* TWinControl::FindNextControl(const TWinControl* current, bool forward) const {
    const std::vector<TWinControl*> list = TabOrderList();
    const int count = static_cast<int>(list.size());
    const auto found = std::find(list.begin(), list.end(), current);
    const int start = found == list.end() ? -1 : static_cast<int>(found - list.begin());
    for (int step = 1; step <= count; ++step) {
        int i = 0;
        if (start < 0)
            i = forward ? step - 1 : count - step;
        else
            i = ((start + (forward ? step : -step)) % count + count) % count;
        // After a whole round the current control itself is the only one left.
        if (list[i]->TabStop() && list[i]->CanFocus()) return list[i];
    }
    return nullptr;
}

void TWinControl::SelectNext(bool forward) {
    TWinControl* window = TopWindow();
    if (TWinControl* next = window->FindNextControl(window->activeControl_, forward)) window->setActiveControl(next);
}

void TWinControl::SelectFirst() {
    TWinControl* window = TopWindow();
    if (TWinControl* first = window->FindNextControl(nullptr, true)) window->setActiveControl(first);
}

// --- Input ---

void TWinControl::DispatchKey(const KeyEvent& key) {
    TWinControl* window = TopWindow();
    TWinControl* active = window->activeControl_;
    TWinControl* target = active && active->CanFocus() ? active : window;
    const bool tab = key.kind == KeyEvent::Kind::Down && key.virtualKey == vk::Tab && !key.ctrl && !key.alt;
    if (tab && !target->WantsTab() && window->FindNextControl(active, !key.shift)) {
        window->SelectNext(!key.shift);
        return;
    }
    if (key.kind == KeyEvent::Kind::Down)
        target->KeyDown(key);
    else
        target->KeyUp(key);
}

void TWinControl::DispatchMouse(const MouseEvent& event) {
    TWinControl* window = TopWindow();
    TControl* target = window->mouseCapture_ ? window->mouseCapture_ : window->FindControlAt(event.position, false);
    MouseEvent local = event;
    if (target != window) {
        const Rect place = target->WindowRect();
        local.position = Point{event.position.x - place.left, event.position.y - place.top};
    }
    const bool press = event.kind == MouseEvent::Kind::Down || event.kind == MouseEvent::Kind::DoubleClick;
    if (press) {
        window->mouseCapture_ = target;
        auto* windowed = dynamic_cast<TWinControl*>(target);
        if (windowed && windowed->TabStop()) windowed->SetFocus();
    } else if (event.kind == MouseEvent::Kind::Up) {
        window->mouseCapture_ = nullptr;
    }
    target->MouseInput(local);
}

void TWinControl::CancelMode() {
    mouseCapture_ = nullptr;
    // A copy: nothing here should change the children, but a control's handler is not trusted with
    // the list being walked.
    const std::vector<TControl*> children = controls_;
    for (TControl* child : children) child->CancelMode();
}

void TWinControl::KeyDown(const KeyEvent& key) {
    if (OnKeyDown) OnKeyDown(key);
}

bool TWinControl::readStoredValue(const StoredValue& value) {
    const int* number = value.as<int>();
    if (value.property == "TabOrder" && number) {
        SetTabOrder(*number);
        return true;
    }
    return TControl::readStoredValue(value);
}

}  // namespace zozuz
