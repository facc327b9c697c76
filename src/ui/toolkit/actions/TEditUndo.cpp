#include "ui/toolkit/actions/TEditUndo.h"

namespace zozuz {

void TEditUndo::UpdateTarget(CommandTarget& target) { SetEnabled(EditorOf(target).CanUndo()); }

void TEditUndo::ExecuteTarget(CommandTarget& target) { EditorOf(target).Undo(); }

}  // namespace zozuz
