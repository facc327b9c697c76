#pragma once

#include "app/CommandTarget.h"
#include "ui/toolkit/actions/TEditAction.h"
#include "ui/toolkit/components/TComponent.h"

namespace zozuz {

// Cuts the focused editor's selection to the clipboard; usable while text is selected.
class TEditCut : public TEditAction {
public:
    explicit TEditCut(TComponent* owner = nullptr) : TEditAction(owner) {}

    void UpdateTarget(CommandTarget& target) override;
    void ExecuteTarget(CommandTarget& target) override;
};

}  // namespace zozuz
