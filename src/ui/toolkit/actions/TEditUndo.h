#pragma once

#include "app/CommandTarget.h"
#include "ui/toolkit/actions/TEditAction.h"
#include "ui/toolkit/components/TComponent.h"

namespace zozuz {

// Undoes the focused editor's last change; usable while there is one to undo.
class TEditUndo : public TEditAction {
public:
    explicit TEditUndo(TComponent* owner = nullptr) : TEditAction(owner) {}

    void UpdateTarget(CommandTarget& target) override;
    void ExecuteTarget(CommandTarget& target) override;
};

}  // namespace zozuz
