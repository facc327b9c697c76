#include "ui/toolkit/commands/TActionLink.h"

#include <algorithm>
#include <vector>

#include "ui/toolkit/commands/TAction.h"

namespace zozuz {

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TAction* action) {
    if (action == action_) return;
    if (action_) {
        std::vector<TActionLink*>& clients = action_->clients_;
        clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
    }
    action_ = action;
    if (action_) action_->clients_.push_back(this);
}

bool TActionLink::Update() { return action_ && action_->Update(); }

bool TActionLink::Execute() { return action_ && action_->Execute(); }

}  // namespace zozuz
