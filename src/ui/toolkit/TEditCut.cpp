#include "ui/toolkit/TEditCut.h"

namespace zozuz {

void TEditCut::UpdateTarget(TControl& target) { SetEnabled(EditorOf(target).SelLength() > 0); }

void TEditCut::ExecuteTarget(TControl& target) { EditorOf(target).CutToClipboard(); }

}  // namespace zozuz
