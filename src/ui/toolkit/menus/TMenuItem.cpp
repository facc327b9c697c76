#include "ui/toolkit/menus/TMenuItem.h"

#include <algorithm>

#include "base/Exception.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/components/CommandValues.h"
#include "ui/toolkit/menus/TMenu.h"
#include "ui/toolkit/menus/TMenuActionLink.h"

namespace zozuz {

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(*this);
    for (TMenuItem* child : children_) child->parent_ = nullptr;
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    changed();
}

void TMenuItem::SetShortCut(KeyCode shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    changed();
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    changed();
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    changed();
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    changed();
}

void TMenuItem::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    changed();
}

void TMenuItem::SetHint(const std::string& hint) {
    // The hint shows only when the entry is highlighted, so no view needs to hear of it.
    hint_ = hint;
}

void TMenuItem::SetHelpContext(int context) { helpContext_ = context; }

void TMenuItem::changed() {
    for (TMenuItem* item = this; item; item = item->parent_) {
        if (item->menu_) {
            if (item->menu_->OnChange) item->menu_->OnChange(*this);
            return;
        }
    }
}

void TMenuItem::Add(TMenuItem& item) {
    for (const TMenuItem* above = this; above; above = above->parent_)
        if (above == &item) throw EInvalidOperation("A menu item cannot hold itself or a menu above it");
    if (item.parent_) item.parent_->Remove(item);
    children_.push_back(&item);
    item.parent_ = this;
    changed();
}

void TMenuItem::Remove(TMenuItem& item) {
    auto it = std::find(children_.begin(), children_.end(), &item);
    if (it == children_.end()) return;
    children_.erase(it);
    item.parent_ = nullptr;
    changed();
}

TMenuItem* TMenuItem::FindShortCut(KeyCode code) const {
    if (code == 0) return nullptr;
    for (TMenuItem* child : children_) {
        if (child->shortCut_ == code) return child;
        if (TMenuItem* inner = child->FindShortCut(code)) return inner;
    }
    return nullptr;
}

TAction* TMenuItem::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TMenuItem::SetAction(TAction* action) {
    if (!action) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = std::make_unique<TMenuActionLink>(*this);
    actionLink_->SetAction(action);
    ActionChange(*action, Loading());
}

void TMenuItem::Loaded() {
    TComponent::Loaded();
    // The stored values are all in now; the action fills in only what is still at its default.
    if (TAction* action = Action()) ActionChange(*action, true);
}

void TMenuItem::ActionChange(const TAction& action, bool checkDefaults) {
    if (!checkDefaults || caption_.empty()) SetCaption(action.Caption());
    if (!checkDefaults || enabled_) SetEnabled(action.Enabled());
    if (!checkDefaults || hint_.empty()) SetHint(action.Hint());
    if (!checkDefaults || !checked_) SetChecked(action.Checked());
    if (!checkDefaults || helpContext_ == 0) SetHelpContext(action.HelpContext());
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action.ImageIndex());
    if (!checkDefaults || shortCut_ == 0) SetShortCut(action.ShortCut());
    if (!checkDefaults || visible_) SetVisible(action.Visible());
    if (!checkDefaults || !onClick_) SetOnClick(action.OnExecute());
}

void TMenuItem::Click() {
    if (!enabled_) return;
    const TAction* action = Action();
    if (onClick_ && !(action && onClick_ == action->OnExecute()))
        onClick_(*this);
    else if (actionLink_)
        actionLink_->Execute();
}

void TMenuItem::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void TMenuItem::SubmenuOpening() {
    // By index: a refresh may run handlers, which could add entries; those are refreshed too.
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->InitiateAction();
    // The refresh may have changed captions; the level's keys are made unique again, and a view
    // hears of every caption that changed so that it rebuilds the level before showing it.
    if (TMenu* menu = Menu()) menu->AssignAccessKeys(*this);
}

TMenu* TMenuItem::Menu() const {
    for (const TMenuItem* item = this; item; item = item->parent_)
        if (item->menu_) return item->menu_;
    return nullptr;
}

bool TMenuItem::readStoredValue(const StoredValue& value) {
    return readCommandValue(*this, value) || TComponent::readStoredValue(value);
}

bool TMenuItem::readStoredReference(const std::string& property, TComponent& target) {
    if (property != "Action") return TComponent::readStoredReference(property, target);
    SetAction(dynamic_cast<TAction*>(&target));
    return true;
}

bool TMenuItem::readStoredEvent(const std::string& property, const TNotifyEvent& handler) {
    if (property != "OnClick") return TComponent::readStoredEvent(property, handler);
    SetOnClick(handler);
    return true;
}

void TMenuItem::placeStored(TComponent* parent, TComponent& /*window*/) {
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items().Add(*this);
    else if (auto* parentItem = dynamic_cast<TMenuItem*>(parent))
        parentItem->Add(*this);
    else
        throw EStoredLayout("is a menu entry outside any menu");
}

}  // namespace zozuz
