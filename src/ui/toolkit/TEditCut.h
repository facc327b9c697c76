#pragma once

#include "ui/toolkit/TComponent.h"
#include "ui/toolkit/TControl.h"
#include "ui/toolkit/TEditAction.h"

namespace zozuz {

// Cuts the focused editor's selection to the clipboard; usable while text is selected.
class TEditCut : public TEditAction {
public:
    explicit TEditCut(TComponent* owner = nullptr) : TEditAction(owner) {}

    void UpdateTarget(TControl& target) override;
    void ExecuteTarget(TControl& target) override;
};

}  // namespace zozuz
