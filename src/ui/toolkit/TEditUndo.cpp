#include "ui/toolkit/TEditUndo.h"

namespace zozuz {

void TEditUndo::UpdateTarget(TControl& target) { SetEnabled(EditorOf(target).CanUndo()); }

void TEditUndo::ExecuteTarget(TControl& target) { EditorOf(target).Undo(); }

}  // namespace zozuz
