#pragma once

#include "ui/toolkit/TComponent.h"
#include "ui/toolkit/TControl.h"
#include "ui/toolkit/TEditAction.h"

namespace zozuz {

// Undoes the focused editor's last change; usable while there is one to undo.
class TEditUndo : public TEditAction {
public:
    explicit TEditUndo(TComponent* owner = nullptr) : TEditAction(owner) {}

    void UpdateTarget(TControl& target) override;
    void ExecuteTarget(TControl& target) override;
};

}  // namespace zozuz
