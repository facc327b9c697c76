#pragma once

#include "app/CommandTarget.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/EditActionTarget.h"

namespace zozuz {

// The base of the edit commands: they have no handler of their own and act on whichever editor
// control holds the keyboard focus when they refresh or run. With no such control they find no
// target, and the unhandled rule disables them.
class TEditAction : public TAction {
public:
    explicit TEditAction(TComponent* owner = nullptr) : TAction(owner) {}

    // An editor control (one that offers EditActionTarget) that has the keyboard focus now.
    bool HandlesTarget(CommandTarget& target) override;

protected:
    // The editor behind a control the action accepted.
    static EditActionTarget& EditorOf(CommandTarget& target);
};

}  // namespace zozuz
