#pragma once

#include "ui/toolkit/TComponent.h"
#include "ui/toolkit/TControl.h"
#include "ui/toolkit/TEditAction.h"

namespace zozuz {

// Copies the focused editor's selection to the clipboard; usable while text is selected.
class TEditCopy : public TEditAction {
public:
    explicit TEditCopy(TComponent* owner = nullptr) : TEditAction(owner) {}

    void UpdateTarget(TControl& target) override;
    void ExecuteTarget(TControl& target) override;
};

}  // namespace zozuz
