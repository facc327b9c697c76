#include "ui/toolkit/actions/TEditAction.h"

#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

bool TEditAction::HandlesTarget(CommandTarget& target) {
    auto* windowed = dynamic_cast<TWinControl*>(&target);
    return windowed && dynamic_cast<EditActionTarget*>(&target) && windowed->Focused();
}

EditActionTarget& TEditAction::EditorOf(CommandTarget& target) { return dynamic_cast<EditActionTarget&>(target); }

}  // namespace zozuz
