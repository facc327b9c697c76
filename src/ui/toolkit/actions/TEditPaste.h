#pragma once

#include "app/CommandTarget.h"
#include "ui/toolkit/actions/TEditAction.h"
#include "ui/toolkit/components/TComponent.h"

namespace zozuz {

// Pastes the clipboard's text into the focused editor; usable while the clipboard offers text. The
// length of that text and the editor's read-only flag take no part.
class TEditPaste : public TEditAction {
public:
    explicit TEditPaste(TComponent* owner = nullptr) : TEditAction(owner) {}

    void UpdateTarget(CommandTarget& target) override;
    void ExecuteTarget(CommandTarget& target) override;
};

}  // namespace zozuz
