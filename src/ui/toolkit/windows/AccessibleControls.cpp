#include "ui/toolkit/windows/AccessibleControls.h"

#include <string>
#include <utility>

#include "ui/toolkit/controls/TButton.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TImage.h"
#include "ui/toolkit/controls/TLabel.h"
#include "ui/toolkit/controls/TStatusBar.h"
#include "ui/toolkit/controls/TToolBar.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

namespace {

// A caption as read aloud: "&&" is an ampersand, a single "&" only marks the accelerator.
std::string withoutAccelerator(const std::string& caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') text += '&', ++i;
            continue;
        }
        text += caption[i];
    }
    return text;
}

// The short part of a hint: what the tooltip shows.
std::string shortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

}  // namespace

std::uint32_t AccessibleControls::idOf(const TControl& control) {
    const auto found = ids_.find(&control);
    if (found != ids_.end()) return found->second;
    const std::uint32_t id = nextId_++;
    ids_.emplace(&control, id);
    controls_.emplace(id, const_cast<TControl*>(&control));
    return id;
}

TControl* AccessibleControls::find(std::uint32_t id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void AccessibleControls::forget(const TControl& control) {
    const auto found = ids_.find(&control);
    if (found == ids_.end()) return;
    controls_.erase(found->second);
    ids_.erase(found);
}

std::vector<AccessibleNode> AccessibleControls::describe(TWinControl& window) {
    std::vector<AccessibleNode> nodes;
    describeChildren(window, 0, nodes);
    // The first description is what changes are found against; later ones leave the comparison to
    // announceChanges, so that a reader asking in between does not swallow a notice.
    if (!asked_) last_ = nodes;
    asked_ = true;
    return nodes;
}

void AccessibleControls::describeChildren(const TWinControl& parent, std::uint32_t parentId, std::vector<AccessibleNode>& out) {
    // Window-less controls beneath a sibling's own window cannot be seen (the main window's gauge
    // beneath the editor, until the editor steps aside).
    std::vector<Rect> covered;
    for (const TControl* control : parent.Controls())
        if (const auto* windowed = dynamic_cast<const TWinControl*>(control); windowed && windowed->CoversItsPlace())
            covered.push_back(control->BoundsRect());
    const auto hidden = [&](const TControl& control) {
        if (dynamic_cast<const TWinControl*>(&control)) return false;
        const Rect place = control.BoundsRect();
        for (const Rect& cover : covered)
            if (cover.intersected(place) == place) return true;
        return false;
    };
    for (const TControl* control : parent.Controls()) {
        if (!control->Visible() || hidden(*control)) continue;
        AccessibleNode node;
        bool described = true;
        if (const auto* button = dynamic_cast<const TToolButton*>(control)) {
            described = button->Style() == TToolButtonStyle::tbsButton;
            node.role = AccessibleRole::PushButton;
            node.name = shortHint(button->HintInUse());
            if (node.name.empty()) node.name = withoutAccelerator(button->Caption());
        } else if (const auto* push = dynamic_cast<const TButton*>(control)) {
            node.role = AccessibleRole::PushButton;
            node.name = withoutAccelerator(push->Caption());
        } else if (dynamic_cast<const TToolBar*>(control)) {
            node.role = AccessibleRole::ToolBar;
            node.name = shortHint(control->Hint());
        } else if (const auto* status = dynamic_cast<const TStatusBar*>(control)) {
            node.role = AccessibleRole::StatusBar;
            node.text = status->SimpleText();
            node.name = node.text;
        } else if (const auto* gauge = dynamic_cast<const TGauge*>(control)) {
            node.role = AccessibleRole::ProgressBar;
            node.name = shortHint(control->Hint());
            node.value = gauge->Progress();
            node.minimum = gauge->MinValue();
            node.maximum = gauge->MaxValue();
        } else if (const auto* label = dynamic_cast<const TLabel*>(control)) {
            node.role = AccessibleRole::Label;
            node.name = withoutAccelerator(label->Caption());
        } else if (dynamic_cast<const TImage*>(control)) {
            node.role = AccessibleRole::Image;
            node.name = shortHint(control->Hint());
        } else {
            // Panels, bevels and the editor's own window: their children are described in their place.
            described = false;
        }
        std::uint32_t id = parentId;
        if (described) {
            node.id = id = idOf(*control);
            node.parent = parentId;
            node.bounds = control->WindowRect();
            node.enabled = control->Enabled();
            out.push_back(std::move(node));
        }
        if (const auto* container = dynamic_cast<const TWinControl*>(control)) describeChildren(*container, id, out);
    }
}

void AccessibleControls::announceChanges(TWinControl& window, NativeWindow& native) {
    if (!asked_) return;
    const std::vector<AccessibleNode> before = std::move(last_);
    std::vector<AccessibleNode> now;
    describeChildren(window, 0, now);
    last_ = now;
    bool sameControls = before.size() == now.size();
    for (std::size_t i = 0; sameControls && i < now.size(); ++i)
        sameControls = before[i].id == now[i].id && before[i].parent == now[i].parent;
    if (!sameControls) native.accessibleChanged(AccessibleEvent::Structure, 0);
    // Controls that were there before too are compared by id.
    std::unordered_map<std::uint32_t, const AccessibleNode*> earlier;
    for (const AccessibleNode& node : before) earlier.emplace(node.id, &node);
    for (const AccessibleNode& b : now) {
        const auto found = earlier.find(b.id);
        if (found == earlier.end()) continue;
        const AccessibleNode& a = *found->second;
        if (a.name != b.name) native.accessibleChanged(AccessibleEvent::NameChanged, b.id);
        if (a.enabled != b.enabled) native.accessibleChanged(AccessibleEvent::StateChanged, b.id);
        if (a.text != b.text || a.value != b.value || a.minimum != b.minimum || a.maximum != b.maximum)
            native.accessibleChanged(AccessibleEvent::ValueChanged, b.id);
    }
}

}  // namespace zozuz
