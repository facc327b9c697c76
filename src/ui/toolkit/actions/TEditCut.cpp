#include "ui/toolkit/actions/TEditCut.h"

namespace zozuz {

void TEditCut::UpdateTarget(CommandTarget& target) { SetEnabled(EditorOf(target).SelLength() > 0); }

void TEditCut::ExecuteTarget(CommandTarget& target) { EditorOf(target).CutToClipboard(); }

}  // namespace zozuz
