#include "ui/toolkit/commands/TAction.h"

#include <cstddef>

#include "app/TApplication.h"
#include "ui/toolkit/commands/TActionLink.h"
#include "ui/toolkit/commands/TActionList.h"
#include "ui/toolkit/components/CommandValues.h"

namespace zozuz {

namespace {

// Pushes a new value to every client that still follows the action for it. `linked` asks a link
// whether its client holds the old value; the action stores the new one only afterwards, so that
// every link compares with the same old value.
template <class Linked, class Push>
void propagate(const std::vector<TActionLink*>& clients, Linked linked, Push push) {
    // By index: a client's setter may react, but a link list that changes under us is not followed.
    for (std::size_t i = 0; i < clients.size(); ++i) {
        TActionLink* link = clients[i];
        if ((link->*linked)()) push(*link);
    }
}

}  // namespace

TAction::TAction(TComponent* owner) : TComponent(owner) {}

TAction::~TAction() {
    SetActionList(nullptr);
    for (TActionLink* link : clients_) link->action_ = nullptr;
}

void TAction::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    propagate(clients_, &TActionLink::IsCaptionLinked, [&](TActionLink& l) { l.SetCaption(caption); });
    caption_ = caption;
    changed();
}

void TAction::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    propagate(clients_, &TActionLink::IsHintLinked, [&](TActionLink& l) { l.SetHint(hint); });
    hint_ = hint;
    changed();
}

void TAction::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    propagate(clients_, &TActionLink::IsImageIndexLinked, [&](TActionLink& l) { l.SetImageIndex(index); });
    imageIndex_ = index;
    changed();
}

void TAction::SetShortCut(KeyCode shortCut) {
    if (shortCut == shortCut_) return;
    propagate(clients_, &TActionLink::IsShortCutLinked, [&](TActionLink& l) { l.SetShortCut(shortCut); });
    shortCut_ = shortCut;
    changed();
}

void TAction::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    propagate(clients_, &TActionLink::IsEnabledLinked, [&](TActionLink& l) { l.SetEnabled(enabled); });
    enabled_ = enabled;
    changed();
}

void TAction::SetVisible(bool visible) {
    if (visible == visible_) return;
    propagate(clients_, &TActionLink::IsVisibleLinked, [&](TActionLink& l) { l.SetVisible(visible); });
    visible_ = visible;
    changed();
}

void TAction::SetChecked(bool checked) {
    if (checked == checked_) return;
    propagate(clients_, &TActionLink::IsCheckedLinked, [&](TActionLink& l) { l.SetChecked(checked); });
    checked_ = checked;
    changed();
}

void TAction::SetHelpContext(int context) {
    if (context == helpContext_) return;
    propagate(clients_, &TActionLink::IsHelpContextLinked, [&](TActionLink& l) { l.SetHelpContext(context); });
    helpContext_ = context;
    changed();
}

void TAction::SetOnExecute(const TNotifyEvent& handler) {
    if (handler == onExecute_) return;
    propagate(clients_, &TActionLink::IsOnExecuteLinked, [&](TActionLink& l) { l.SetOnExecute(handler); });
    onExecute_ = handler;
    changed();
}

void TAction::changed() {
    if (OnChange) OnChange(*this);
}

void TAction::SetActionList(TActionList* list) {
    if (list == actionList_) return;
    if (actionList_) actionList_->removeAction(*this);
    actionList_ = list;
    if (actionList_) actionList_->insertAction(*this);
}

bool TAction::Update() {
    bool handled = false;
    if (actionList_ && actionList_->OnUpdate) actionList_->OnUpdate(*this, handled);
    if (!handled && OnUpdate) {
        OnUpdate(*this);
        handled = true;
    }
    if (!handled) handled = searchTarget(false);
    if (!handled) disableIfUnhandled();
    return handled;
}

bool TAction::Execute() {
    Update();
    if (!enabled_) return false;
    bool ran = false;
    if (actionList_ && actionList_->OnExecute) actionList_->OnExecute(*this, ran);
    if (!ran && onExecute_) {
        onExecute_(*this);
        ran = true;
    }
    if (!ran) ran = searchTarget(true);
    if (!ran) disableIfUnhandled();
    return ran;
}

void TAction::disableIfUnhandled() {
    // Only ever disables: an action that lost its target comes back on when a refresh finds one.
    if (enabled_ && disableWhenUnhandled_) SetEnabled(static_cast<bool>(onExecute_));
}

TApplication* TAction::TargetApplication() const { return HomeApplication(); }

bool TAction::searchTarget(bool execute) {
    TApplication* application = TargetApplication();
    if (!application) return false;
    // Small enough to be held inside the search's function object, without an allocation.
    return application->OfferTarget([this, execute](CommandTarget& target) {
        if (!HandlesTarget(target)) return false;
        if (execute)
            ExecuteTarget(target);
        else
            UpdateTarget(target);
        return true;
    });
}

bool TAction::readStoredValue(const StoredValue& value) {
    if (readCommandValue(*this, value)) return true;
    if (const std::string* text = value.as<std::string>(); value.property == "Category" && text) {
        SetCategory(*text);
        return true;
    }
    return TComponent::readStoredValue(value);
}

bool TAction::readStoredEvent(const std::string& property, const TNotifyEvent& handler) {
    if (property != "OnExecute") return TComponent::readStoredEvent(property, handler);
    SetOnExecute(handler);
    return true;
}

bool TAction::servesAsStored(const std::string& property) const {
    return property == "Action" || TComponent::servesAsStored(property);
}

void TAction::placeStored(TComponent* parent, TComponent& /*window*/) {
    if (!parent) return;
    auto* list = dynamic_cast<TActionList*>(parent);
    if (!list) throw EStoredLayout("cannot sit in " + parent->Name() + ", which is no action list");
    SetActionList(list);
}

}  // namespace zozuz
