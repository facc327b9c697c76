#include "ui/toolkit/commands/TActionList.h"

#include <algorithm>

#include "ui/toolkit/commands/TAction.h"

namespace zozuz {

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList() {
    while (!actions_.empty()) actions_.back()->SetActionList(nullptr);
}

void TActionList::insertAction(TAction& action) { actions_.push_back(&action); }

void TActionList::removeAction(TAction& action) {
    actions_.erase(std::remove(actions_.begin(), actions_.end(), &action), actions_.end());
}

bool TActionList::IsShortCut(KeyCode code) {
    if (code == 0) return false;
    for (TAction* action : actions_)
        if (action->ShortCut() == code) return action->Execute();
    return false;
}

}  // namespace zozuz
