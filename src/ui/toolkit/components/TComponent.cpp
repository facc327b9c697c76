#include "ui/toolkit/components/TComponent.h"

#include <algorithm>
#include <cstddef>

namespace zozuz {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (!owner_) return;
    owner_->components_.push_back(this);
    // A component the stored layout creates is read like the rest of it.
    loading_ = owner_->loading_;
}

TComponent::~TComponent() {
    // Owned components go newest first; each one's destructor takes it off the list.
    while (!components_.empty()) delete components_.back();
    if (owner_) owner_->removeComponent(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_)
        if (c->Name() == name) return c;
    return nullptr;
}

void TComponent::BeginLoading() {
    loading_ = true;
    for (TComponent* c : components_) c->BeginLoading();
}

void TComponent::EndLoading() {
    // By index: a component's Loaded may create further components, which then end loading too.
    for (std::size_t i = 0; i < components_.size(); ++i)
        if (components_[i]->Loading()) components_[i]->EndLoading();
    if (!loading_) return;
    loading_ = false;
    Loaded();
}

void TComponent::removeComponent(TComponent* component) {
    auto it = std::find(components_.rbegin(), components_.rend(), component);
    if (it != components_.rend()) components_.erase(std::next(it).base());
}

bool TComponent::readStoredValue(const StoredValue& /*value*/) { return false; }

bool TComponent::readStoredReference(const std::string& /*property*/, TComponent& /*target*/) { return false; }

bool TComponent::readStoredEvent(const std::string& /*property*/, const TNotifyEvent& /*handler*/) { return false; }

bool TComponent::servesAsStored(const std::string& /*property*/) const { return false; }

void TComponent::placeStored(TComponent* parent, TComponent& /*window*/) {
    if (parent) throw EStoredLayout("cannot sit in " + parent->Name());
}

}  // namespace zozuz
