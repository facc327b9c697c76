#include "ui/toolkit/TComponent.h"

#include <algorithm>

namespace zozuz {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
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

void TComponent::removeComponent(TComponent* component) {
    auto it = std::find(components_.rbegin(), components_.rend(), component);
    if (it != components_.rend()) components_.erase(std::next(it).base());
}

}  // namespace zozuz
