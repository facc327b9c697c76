#include "ui/toolkit/actions/THintAction.h"

#include <utility>

#include "ui/toolkit/controls/TStatusBar.h"

namespace zozuz {

THintAction::THintAction(TApplication& application, std::string hint) : application_(application) {
    SetDisableWhenUnhandled(false);
    SetHint(std::move(hint));
}

bool THintAction::HandlesTarget(CommandTarget& target) {
    auto* statusBar = dynamic_cast<TStatusBar*>(&target);
    return statusBar && statusBar->TakesHints();
}

void THintAction::ExecuteTarget(CommandTarget& target) {
    static_cast<TStatusBar&>(target).ShowHintText(Hint());
}

void THintAction::Broadcast(TApplication& application, const std::string& hint) {
    THintAction action(application, hint);
    action.Execute();
}

}  // namespace zozuz
